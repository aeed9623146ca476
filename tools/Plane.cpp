#include "Plane.h"

#include <algorithm>
#include <cstdlib>

#include "picture/HexGeometry.h"

PlanePoint PlaneOf(int offset) {
  constexpr int Scale = 1;
  const PicturePoint centre = HexCentreAt(offset, Scale);
  return {centre.x - Scale, centre.y - Scale};
}

std::int64_t PlaneDistanceSquared(int offsetA, int offsetB) {
  const PlanePoint a = PlaneOf(offsetA), b = PlaneOf(offsetB);
  const std::int64_t du = a.u - b.u, dv = a.v - b.v;
  return du * du + dv * dv;
}

int OffsetNear(int u, int v) {
  const int column = std::clamp((u + 1) / 2, 0, LastGridColumn - 1) + 1;
  int halfRow = std::clamp(v, 0, MapLineLength - 1);
  if (OffsetAt({column, halfRow}) == NoMapOffset) halfRow += halfRow + 1 < MapLineLength ? 1 : -1;
  return OffsetAt({column, halfRow});
}

std::vector<int> NeighbourOffsets(int offset) {
  std::vector<int> result;
  for (Side side : AllSides) {
    const int next = NeighbourOffset(offset, side);
    if (next != NoMapOffset) result.push_back(next);
  }
  return result;
}
