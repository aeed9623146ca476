#pragma once
// The whole map as a picture: every hexagon in the colour of its terrain, in
// the game's staggered columns, roads and bridges drawn as lines along their
// joins, castles and cities marked, and rings where the road network has a
// problem.

#include <vector>

#include "map/MapFile.h"
#include "picture/HexGeometry.h"
#include "picture/Image.h"

// Pixels per half row; a column is two of them wide.
constexpr int DefaultMapPictureScale = 4;
constexpr int MaxMapPictureScale = 16;

struct MapPictureSize {
  int width;
  int height;
};
MapPictureSize MapPictureSizeAt(int scale);

// scale must be 1..MaxMapPictureScale. `ringed` are map offsets.
Image DrawMapPicture(const MapImage& image, int scale, const std::vector<int>& ringed = {});
// The same picture as palette indices, a byte a pixel: a quarter of the
// memory, and what a palette PNG holds.
IndexedImage DrawIndexedMapPicture(const MapImage& image, int scale, const std::vector<int>& ringed = {});

// One hexagon alone, drawn as on the map (colour, road or bridge along its
// joins, mark) on a transparent picture of the hexagon's size (HexSizeAt);
// bytes of no terrain also show their bits. Tiles like these put side by side
// in the map's staggered columns cover it without gaps or overlaps. scale
// must be a multiple of 4, 4..MaxMapPictureScale.
Image DrawTerrainTile(TerrainCode code, int scale);
