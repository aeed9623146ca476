#pragma once
// One changed byte of the map, and the changes between two images.

#include <vector>

#include "map/MapFile.h"

struct CellChange {
  int offset;
  TerrainCode before;
  TerrainCode after;
  bool operator==(const CellChange& other) const {
    return offset == other.offset && before == other.before && after == other.after;
  }
};

// Every differing byte, by increasing offset.
std::vector<CellChange> ChangesBetween(const MapImage& before, const MapImage& after);
