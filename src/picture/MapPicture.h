#pragma once
// A picture of a map image for judging the sample map by eye: every hexagon a
// coloured block in the editor's staggered columns, roads drawn as lines.

#include <vector>

#include "HexField.h"
#include "Image.h"

Image RenderMapPreview(const std::vector<TerrainCode>& map);
