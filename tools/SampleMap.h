#pragma once
// The sample map shipped with the project (samples/MAPDATA.VLT): an invented
// land of long islands, made from a fixed seed in integer arithmetic, so it is
// the same byte for byte on every machine.

#include <vector>

#include "map/TerrainCodes.h"
#include "picture/Png.h"

// The map image, indexed by map offset: 26,576 codes, all in 0..34.
std::vector<TerrainCode> GenerateSampleMap();

// The file's bytes (the map image itself: the file has no header).
Bytes SampleMapFile();
