#include "map/CellChange.h"

std::vector<CellChange> ChangesBetween(const MapImage& before, const MapImage& after) {
  std::vector<CellChange> changes;
  for (int offset = 0; offset < MapSize; ++offset)
    if (before[offset] != after[offset]) changes.push_back({offset, before[offset], after[offset]});
  return changes;
}
