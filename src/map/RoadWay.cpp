#include "map/RoadWay.h"

#include <algorithm>
#include <optional>
#include <string>

#include "map/RouteSearch.h"
#include "map/TerrainTraits.h"

namespace {

using namespace terrain;

// What a way can do on a hexagon.
enum class Ground {
  Blocked,  // never, but at the ends
  Open,     // a new road piece
  Road,     // the road piece there joins the way's sides too
  Bridge,   // straight over, along the bridge's line
  Water,    // straight over, on a new bridge, once
};

Ground GroundOf(TerrainCode code) {
  if (IsBridge(code)) return Ground::Bridge;
  if (IsRoadPiece(code)) return Ground::Road;
  const TerrainTraits& traits = TraitsOf(code);
  if (traits.openLand) return Ground::Open;
  if (traits.water) return Ground::Water;
  return Ground::Blocked;
}

// What tells ways of the same length apart.
int GroundCost(TerrainCode code) { return TraitsOf(code).routeCost; }

// A way's cost: its steps first, then its ground. No way's ground costs as
// much as one step, since no way is longer than the map has hexagons.
constexpr RouteCost StepCost = RouteCost{1} << 24;
static_assert(StepCost > 8 * RouteCost{MapSize}, "ground must not outweigh a step");

// A new road: on a bridge or water it goes straight on, and it crosses water
// once at most (the stand's mark).
class NewRoadPolicy : public RoutePolicy {
 public:
  NewRoadPolicy(const MapImage& image, int from, int to, int mostSteps)
      : image_(image), from_(from), to_(to), mostSteps_(mostSteps) {}

  std::optional<RouteCost> Step(const RouteStand& stand, int slant, int next, RouteStand& onto) const override {
    if (stand.heading != NoHeading && stand.heading != slant) return std::nullopt;
    // No way through here is short enough.
    if (SlantDistance(from_, next) + SlantDistance(next, to_) > mostSteps_) return std::nullopt;
    const Side side = SlantedSides[slant];
    if (stand.offset == from_ && IsBridge(image_[from_]) && !Joins(image_[from_], side)) return std::nullopt;
    if (next == from_) return std::nullopt;
    if (next == to_) {
      if (IsBridge(image_[to_]) && !Joins(image_[to_], Opposite(side))) return std::nullopt;
      return StepCost;
    }
    const TerrainCode code = image_[next];
    switch (GroundOf(code)) {
      case Ground::Open:
      case Ground::Road: return StepCost + GroundCost(code);
      case Ground::Bridge:
        if (!Joins(code, side)) return std::nullopt;
        onto.heading = slant;
        return StepCost + GroundCost(code);
      case Ground::Water:
        if (stand.marked) return std::nullopt;
        onto.heading = slant;
        onto.marked = true;
        return StepCost + GroundCost(code);
      case Ground::Blocked: break;
    }
    return std::nullopt;
  }

  // The steps still needed on an open map, which no way beats.
  RouteCost Estimate(int offset) const override { return SlantDistance(offset, to_) * StepCost; }

 private:
  const MapImage& image_;
  int from_;
  int to_;
  int mostSteps_;
};

bool IsWater(TerrainCode code) { return TraitsOf(code).water; }

// The code of a cell that a way passes by `sides`.
std::optional<TerrainCode> LaidCode(TerrainCode old, SideSet sides) {
  if (IsRoadEnd(old)) return old;
  if (IsWater(old)) return BridgeJoining(sides);
  const SideSet joined = JoinedSides(old) | sides;
  return IsBridge(old) ? BridgeJoining(joined) : RoadPieceJoining(joined);
}

SideSet SidesOfWayAt(const std::vector<int>& way, std::size_t index) {
  SideSet sides = 0;
  if (index > 0) sides |= SideBit(*SlantedSideToward(way[index], way[index - 1]));
  if (index + 1 < way.size()) sides |= SideBit(*SlantedSideToward(way[index], way[index + 1]));
  return sides;
}

}  // namespace

RoadRefusal::RoadRefusal(RoadRefusalKind kind, int offset)
    : std::runtime_error("road refused at offset " + std::to_string(offset)), kind_(kind), offset_(offset) {}

std::vector<int> FindRoadWay(const MapImage& image, int from, int to) {
  if (from == to) return {from};
  return FindRoute(from, to, NewRoadPolicy(image, from, to, MapSize));
}

std::vector<int> FindNearRoadWay(const MapImage& image, int from, int to) {
  if (from == to) return {from};
  const int distance = SlantDistance(from, to);
  return FindRoute(from, to, NewRoadPolicy(image, from, to, 2 * distance + NearWaySlack));
}

void LayRoadAlong(MapImage& image, const std::vector<int>& way) {
  if (way.empty()) throw RoadRefusal(RoadRefusalKind::NotAWay, NoMapOffset);
  for (std::size_t index = 0; index < way.size(); ++index) {
    if (way[index] < 0 || way[index] >= MapSize) throw RoadRefusal(RoadRefusalKind::NotAWay, NoMapOffset);
    if (index > 0 && !SlantedSideToward(way[index - 1], way[index]))
      throw RoadRefusal(RoadRefusalKind::NotAWay, way[index]);
  }
  std::vector<TerrainCode> codes;
  for (std::size_t index = 0; index < way.size(); ++index) {
    const auto code = LaidCode(image[way[index]], SidesOfWayAt(way, index));
    if (!code) throw RoadRefusal(RoadRefusalKind::NoPiece, way[index]);
    codes.push_back(*code);
  }
  for (std::size_t index = 0; index < way.size(); ++index) image[way[index]] = codes[index];
}

std::vector<int> LayRoad(MapImage& image, int from, int to) {
  if (from == to) throw RoadRefusal(RoadRefusalKind::SameCell, from);
  for (int end : {from, to})
    if (!IsRoadEnd(image[end]) && !IsRoadPiece(image[end])) throw RoadRefusal(RoadRefusalKind::NotAnEnd, end);
  std::vector<int> way = FindRoadWay(image, from, to);
  if (way.empty()) throw RoadRefusal(RoadRefusalKind::NoWay, from);
  LayRoadAlong(image, way);
  return way;
}
