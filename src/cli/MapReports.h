#pragma once
// The lines valtea-map prints about a map, in the editor's words and glyphs
// (Shift-JIS). Positions are COLUMN:ROW as the editor's position label shows
// them, so that each can be found in the editor.

#include <cstddef>
#include <string>
#include <vector>

#include "map/CellNames.h"
#include "map/MapFile.h"
#include "map/RoadNetwork.h"
#include "map/RoadTexts.h"
#include "map/RoadWay.h"

// Counts per terrain, road pieces, bridges, towns, castles, bytes of 35 or
// more with their offsets, and the file size when it is not a map's.
std::vector<std::string> InfoLines(const MapImage& image, std::uint64_t fileSize);

std::string CellLine(int offset, TerrainCode code);

// Why a file could not be read or written, in a player's words; empty when
// the file system did not say.
std::string FailureReason(const FileFailure& failure);
