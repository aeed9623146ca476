#include "map/RoadNetwork.h"

#include <array>

#include "map/TerrainTraits.h"

namespace {

constexpr SideSet NE = SideBit(Side::NorthEast), SE = SideBit(Side::SouthEast), SW = SideBit(Side::SouthWest),
                  NW = SideBit(Side::NorthWest);

// Codes 18..30 in order.
constexpr std::array<SideSet, terrain::BridgeSlash - terrain::FirstRoad + 1> JoinTable = {
    NE | SW,            // 18 ／
    NW | SE,            // 19 ＼
    SW | SE,            // 20 Λ
    NW | NE,            // 21 ∨
    NE | SE,            // 22 ＜
    NW | SW,            // 23 ＞
    NW | SE | SW,       // 24 入
    NE | SW | NW,       // 25 У
    NW | SE | NE,       // 26 Υ
    NE | SW | SE,       // 27 人
    NE | SE | SW | NW,  // 28 Χ
    NW | SE,            // 29 bridge like ＼
    NE | SW,            // 30 bridge like ／
};

// Why a join that is not met fails.
RoadProblemKind JudgeJoin(const MapImage& image, int neighbour) {
  if (neighbour == NoMapOffset) return RoadProblemKind::OffTheMap;
  return IsRoadPiece(image[neighbour]) ? RoadProblemKind::NotJoinedBack : RoadProblemKind::LooseEnd;
}

bool JoinIsMet(const MapImage& image, int neighbour, Side side) {
  if (neighbour == NoMapOffset) return false;
  const TerrainCode code = image[neighbour];
  return IsRoadEnd(code) || Joins(code, Opposite(side));
}

}  // namespace

SideSet JoinedSides(TerrainCode code) { return IsRoadPiece(code) ? JoinTable[code - terrain::FirstRoad] : 0; }

namespace {

std::optional<TerrainCode> CodeJoining(SideSet sides, TerrainCode first, TerrainCode last) {
  for (int code = first; code <= last; ++code)
    if (JoinTable[code - terrain::FirstRoad] == sides) return static_cast<TerrainCode>(code);
  return std::nullopt;
}

}  // namespace

std::optional<TerrainCode> RoadPieceJoining(SideSet sides) {
  return CodeJoining(sides, terrain::FirstRoad, terrain::LastRoad);
}

std::optional<TerrainCode> BridgeJoining(SideSet sides) {
  return CodeJoining(sides, terrain::BridgeBackslash, terrain::BridgeSlash);
}

bool IsJoinMet(const MapImage& image, int offset, Side side) {
  return JoinIsMet(image, NeighbourOffset(offset, side), side);
}

bool IsRoadEnd(TerrainCode code) { return TraitsOf(code).roadEnd; }

std::vector<RoadProblem> FindRoadProblems(const MapImage& image) {
  std::vector<RoadProblem> problems;
  for (int offset = 0; offset < MapSize; ++offset) FindRoadProblemsAt(image, offset, problems);
  return problems;
}

void FindRoadProblemsAt(const MapImage& image, int offset, std::vector<RoadProblem>& problems) {
  const SideSet joined = JoinedSides(image[offset]);
  if (joined == 0) return;
  for (Side side : SlantedSides) {
    if ((joined & SideBit(side)) == 0) continue;
    const int neighbour = NeighbourOffset(offset, side);
    if (JoinIsMet(image, neighbour, side)) continue;
    problems.push_back(RoadProblem{offset, side, JudgeJoin(image, neighbour), neighbour});
  }
}
