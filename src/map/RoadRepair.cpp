#include "map/RoadRepair.h"

#include <algorithm>

namespace {

// The code a faulty piece becomes, if it can become one that joins `wanted`.
std::optional<TerrainCode> RepairedCode(TerrainCode code, SideSet wanted) {
  if (IsBridge(code)) return BridgeJoining(wanted);
  return RoadPieceJoining(wanted);
}

// Whether the road network check names the piece at `offset`: for a join of
// its own that is not met, or as the neighbour that does not join back.
bool CheckNames(const MapImage& image, int offset, std::vector<RoadProblem>& found) {
  found.clear();
  FindRoadProblemsAt(image, offset, found);
  for (Side side : SlantedSides) {
    const int neighbour = NeighbourOffset(offset, side);
    if (neighbour != NoMapOffset) FindRoadProblemsAt(image, neighbour, found);
  }
  return std::any_of(found.begin(), found.end(), [offset](const RoadProblem& problem) {
    return problem.offset == offset || problem.neighbour == offset;
  });
}

// One pass in offset order; each repair sees the ones made before it.
bool RepairPass(MapImage& image) {
  bool changed = false;
  std::vector<RoadProblem> found;
  for (int offset = 0; offset < MapSize; ++offset) {
    if (!IsRoadPiece(image[offset]) || !CheckNames(image, offset, found)) continue;
    const auto code = RepairedCode(image[offset], SidesToJoin(image, offset));
    if (!code || *code == image[offset]) continue;
    image[offset] = *code;
    changed = true;
  }
  return changed;
}

}  // namespace

SideSet SidesToJoin(const MapImage& image, int offset) {
  SideSet sides = 0;
  for (Side side : SlantedSides)
    if (IsJoinMet(image, offset, side)) sides |= SideBit(side);
  return sides;
}

void ShapeRoads(MapImage& image) {
  while (RepairPass(image)) {
  }
}
