#include "map/RoadWay.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>
#include <queue>
#include <string>
#include <utility>

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
using WayCost = std::int64_t;
constexpr WayCost StepCost = WayCost{1} << 24;
static_assert(StepCost > 8 * WayCost{MapSize}, "ground must not outweigh a step");

WayCost StepsBetween(int from, int to) { return SlantDistance(from, to); }

constexpr int SlantCount = static_cast<int>(SlantedSides.size());

// Where a way stands: a hexagon, whether it has crossed water, and on a bridge
// or water the slanted side it must go on by; elsewhere it may turn.
constexpr int AnyHeading = SlantCount;
constexpr int HeadingCount = SlantCount + 1;

struct Stand {
  int offset;
  bool bridged;
  int heading;
  int Index() const { return (offset * 2 + (bridged ? 1 : 0)) * HeadingCount + heading; }
  static Stand At(int index) {
    return Stand{index / HeadingCount / 2, (index / HeadingCount) % 2 != 0, index % HeadingCount};
  }
};
constexpr int StandCount = MapSize * 2 * HeadingCount;

// A* over stands: the heuristic counts the steps still needed on an open map,
// which no way beats, so the first time `to` comes out of the queue the way
// is a cheapest one.
class WaySearch {
 public:
  WaySearch(const MapImage& image, int from, int to)
      : image_(image), from_(from), to_(to), cost_(StandCount, -1), previous_(StandCount, -1) {}

  std::vector<int> Run() {
    Reach(Stand{from_, false, AnyHeading}, 0, -1);
    while (!open_.empty()) {
      const auto [estimate, index] = open_.top();
      open_.pop();
      const Stand stand = Stand::At(index);
      if (estimate != cost_[index] + StepsBetween(stand.offset, to_) * StepCost) continue;  // reached cheaper since
      if (stand.offset == to_) return TraceBack(index);
      for (int slant = 0; slant < SlantCount; ++slant)
        if (stand.heading == AnyHeading || stand.heading == slant) Step(stand, slant);
    }
    return {};
  }

 private:
  void Step(const Stand& stand, int slant) {
    const Side side = SlantedSides[slant];
    if (stand.offset == from_ && IsBridge(image_[from_]) && !Joins(image_[from_], side)) return;
    const int next = NeighbourOffset(stand.offset, side);
    if (next == NoMapOffset || next == from_) return;
    const WayCost spent = cost_[stand.Index()] + StepCost;
    if (next == to_) {
      if (!IsBridge(image_[to_]) || Joins(image_[to_], Opposite(side)))
        Reach(Stand{next, stand.bridged, AnyHeading}, spent, stand.Index());
      return;
    }
    const TerrainCode code = image_[next];
    switch (GroundOf(code)) {
      case Ground::Open:
      case Ground::Road:
        Reach(Stand{next, stand.bridged, AnyHeading}, spent + GroundCost(code), stand.Index());
        break;
      case Ground::Bridge:
        if (Joins(code, side)) Reach(Stand{next, stand.bridged, slant}, spent + GroundCost(code), stand.Index());
        break;
      case Ground::Water:
        if (!stand.bridged) Reach(Stand{next, true, slant}, spent + GroundCost(code), stand.Index());
        break;
      case Ground::Blocked:
        break;
    }
  }

  void Reach(const Stand& stand, WayCost cost, int from) {
    const int index = stand.Index();
    if (cost_[index] >= 0 && cost_[index] <= cost) return;
    cost_[index] = cost;
    previous_[index] = from;
    open_.emplace(cost + StepsBetween(stand.offset, to_) * StepCost, index);
  }

  std::vector<int> TraceBack(int index) const {
    std::vector<int> way;
    for (; index >= 0; index = previous_[index]) way.push_back(Stand::At(index).offset);
    return std::vector<int>(way.rbegin(), way.rend());
  }

  const MapImage& image_;
  int from_;
  int to_;
  std::vector<WayCost> cost_;
  std::vector<int> previous_;
  using Entry = std::pair<WayCost, int>;  // estimate of the whole way, stand
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open_;
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
  return WaySearch(image, from, to).Run();
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
