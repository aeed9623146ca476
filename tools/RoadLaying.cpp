#include "RoadLaying.h"

#include <algorithm>
#include <array>
#include <functional>
#include <stdexcept>
#include <optional>
#include <tuple>

#include "Noise.h"
#include "map/RouteSearch.h"

namespace {

using namespace terrain;

// Ways are searched over the four slanted sides, numbered 0..3 in the order
// of SlantedSides, so that a way's state can say by which side it arrived.
constexpr int SlantCount = static_cast<int>(SlantedSides.size());
Side SlantSide(int slant) { return SlantedSides[slant]; }
int OppositeSlant(int slant) { return (slant + 2) % SlantCount; }
SideSet SlantBit(int slant) { return SideBit(SlantSide(slant)); }

// ---- which places to join ----

constexpr int AnySlant = -1;

struct Link {
  int from, to;  // indices into the places
  std::int64_t length;
  // A way that starts at a crossroads leaves it by this side, one that ends
  // there comes in by it; so the roads of a crossroads come from all sides.
  int fromSide = AnySlant;
  int toSide = AnySlant;
  bool operator<(const Link& other) const {
    return std::tie(length, from, to) < std::tie(other.length, other.from, other.to);
  }
  bool operator==(const Link& other) const { return from == other.from && to == other.to; }
};

Link MakeLink(const std::vector<Place>& places, int a, int b) {
  return Link{std::min(a, b), std::max(a, b), PlaneDistanceSquared(places[a].offset, places[b].offset)};
}

// Whether `other` lies in the quarter of the plane that a side faces.
bool OnSide(int centre, int slant, int other) {
  const Side side = SlantSide(slant);
  const int east = side == Side::NorthEast || side == Side::SouthEast ? 1 : -1;
  const int south = side == Side::SouthEast || side == Side::SouthWest ? 1 : -1;
  const PlanePoint from = PlaneOf(centre), to = PlaneOf(other);
  return (to.u - from.u) * east > 0 && (to.v - from.v) * south > 0;
}

// The nearest place on each of a crossroads' four slanted sides.
void JoinCrossroads(const std::vector<Place>& places, int crossroads, const std::function<bool(int, int)>& sameIsland,
                    std::vector<Link>& links) {
  int count = static_cast<int>(places.size());
  for (int s = 0; s < SlantCount; ++s) {
    int best = -1;
    for (int b = 0; b < count; ++b) {
      if (b == crossroads || !sameIsland(crossroads, b) || !OnSide(places[crossroads].offset, s, places[b].offset)) continue;
      if (best < 0 || MakeLink(places, crossroads, b) < MakeLink(places, crossroads, best)) best = b;
    }
    if (best < 0) continue;
    Link link = MakeLink(places, crossroads, best);
    (link.from == crossroads ? link.fromSide : link.toSide) = s;
    links.erase(std::remove(links.begin(), links.end(), link), links.end());
    links.push_back(link);
  }
}

// A spanning tree (so each island's places are connected) and every place's
// two nearest neighbours (so the network has the loops real roads have).
std::vector<Link> PlanLinks(const Landscape& land, const std::vector<Place>& places) {
  int count = static_cast<int>(places.size());
  std::function<bool(int, int)> sameIsland = [&](int a, int b) {
    return land.landmass[places[a].offset] == land.landmass[places[b].offset];
  };
  std::vector<Link> links;
  for (int a = 0; a < count; ++a) {
    std::vector<Link> nearest;
    for (int b = 0; b < count; ++b)
      if (b != a && sameIsland(a, b)) nearest.push_back(MakeLink(places, a, b));
    std::sort(nearest.begin(), nearest.end());
    for (std::size_t i = 0; i < nearest.size() && i < 2; ++i) links.push_back(nearest[i]);
  }
  // Kruskal over all pairs of an island.
  std::vector<Link> pairs;
  for (int a = 0; a < count; ++a)
    for (int b = a + 1; b < count; ++b)
      if (sameIsland(a, b)) pairs.push_back(MakeLink(places, a, b));
  std::sort(pairs.begin(), pairs.end());
  std::vector<int> group(count);
  for (int i = 0; i < count; ++i) group[i] = i;
  std::function<int(int)> root = [&](int i) { return group[i] == i ? i : group[i] = root(group[i]); };
  for (const Link& pair : pairs) {
    if (root(pair.from) == root(pair.to)) continue;
    group[root(pair.from)] = root(pair.to);
    links.push_back(pair);
  }
  std::sort(links.begin(), links.end());
  links.erase(std::unique(links.begin(), links.end()), links.end());
  for (int a = 0; a < count; ++a)
    if (places[a].crossroads) JoinCrossroads(places, a, sameIsland, links);
  std::sort(links.begin(), links.end());
  return links;
}

// ---- the way of one road ----

// Cost of a step onto a hexagon, by what lies there. Following an existing
// road is cheap, so roads share their ways and meet at forks.
constexpr int RoadStepCost = 6;
constexpr int BridgeExtraCost = 30;

int KindCost(TerrainCode code) {
  switch (code) {
    case Plain: return 10;
    case HorseLand: return 11;
    case Beach: return 13;
    case Hills: return 19;
    case Marsh: return 28;
    case Mountains: return 42;
    default: return -1;  // water, river mouths, towns: no road goes there
  }
}

// A little unevenness of the ground, so that roads wind a bit instead of
// running dead straight across whole provinces.
int GroundCost(TerrainCode code, int offset) {
  int cost = KindCost(code);
  return cost < 0 ? cost : cost + static_cast<int>(Hash(83, offset, 0) % 7);
}

class Router {
 public:
  Router(const Landscape& land, const HexMap<TerrainCode>& codes, HexMap<SideSet>& roads)
      : land_(land), codes_(codes), roads_(roads) {}

  // The hexagons from one place to the other, both included; empty when there
  // is no way. A way may have to leave `from` by a given side and come into
  // `to` by a given side.
  std::vector<int> FindWay(int from, int to, int leavingSide, int arrivingSide) {
    return FindRoute(from, to, Policy(*this, to, leavingSide, arrivingSide));
  }

 private:
  // The generator's own preferences: ground costs with a little noise, so
  // that roads wind; existing roads cheap, so that roads share their ways;
  // mountains passable, water only on bridges over rivers, straight over.
  class Policy : public RoutePolicy {
   public:
    Policy(const Router& router, int to, int leavingSide, int arrivingSide)
        : router_(router), to_(to), leavingSide_(leavingSide), arrivingSide_(arrivingSide) {}

    std::optional<RouteCost> Step(const RouteStand& stand, int slant, int next, RouteStand& onto) const override {
      if (stand.heading != NoHeading && router_.land_.river[stand.offset] && slant != stand.heading)
        return std::nullopt;  // straight over bridges
      if (stand.heading == NoHeading && leavingSide_ != AnySlant && slant != leavingSide_) return std::nullopt;
      if (next == to_ && arrivingSide_ != AnySlant && OppositeSlant(slant) != arrivingSide_) return std::nullopt;
      const int step = router_.StepCost(stand.offset, next, slant, to_);
      if (step < 0) return std::nullopt;
      onto.heading = slant;
      return step;
    }
    RouteCost Estimate(int offset) const override { return SlantDistance(offset, to_) * RoadStepCost; }

   private:
    const Router& router_;
    int to_, leavingSide_, arrivingSide_;
  };

  int StepCost(int fromOffset, int offset, int slant, int target) const {
    if (offset == target) return RoadStepCost;
    int ground = GroundCost(codes_[offset], offset);
    if (ground < 0) return -1;
    if (!land_.river[offset]) return roads_[offset] != 0 ? RoadStepCost : ground;
    // A bridge: reached from dry land, and a bridge that stands already is
    // only used along its own line.
    SideSet line = SlantBit(slant) | SlantBit(OppositeSlant(slant));
    if (land_.river[fromOffset]) return -1;
    if (roads_[offset] != 0) return roads_[offset] == line ? RoadStepCost : -1;
    return ground + BridgeExtraCost;
  }

  const Landscape& land_;
  const HexMap<TerrainCode>& codes_;
  HexMap<SideSet>& roads_;
};

// The hexagons of a way are slanted neighbours.
SideSet Towards(const std::vector<int>& way, std::size_t from, std::size_t to) {
  return SideBit(*SlantedSideToward(way[from], way[to]));
}

// The ends of a way are places; a crossroads end becomes road too.
void Pave(const std::vector<int>& way, bool startsAtCrossroads, bool endsAtCrossroads, HexMap<SideSet>& roads) {
  if (way.size() < 2) return;
  for (std::size_t i = 1; i + 1 < way.size(); ++i) roads[way[i]] |= Towards(way, i, i - 1) | Towards(way, i, i + 1);
  if (startsAtCrossroads) roads[way.front()] |= Towards(way, 0, 1);
  if (endsAtCrossroads) roads[way.back()] |= Towards(way, way.size() - 1, way.size() - 2);
}

}  // namespace

HexMap<SideSet> LayRoads(const Landscape& land, const HexMap<TerrainCode>& codes, const std::vector<Place>& places) {
  HexMap<SideSet> roads(MapSize, 0);
  Router router(land, codes, roads);
  for (const Link& link : PlanLinks(land, places)) {
    const Place& from = places[link.from];
    const Place& to = places[link.to];
    std::vector<int> way = router.FindWay(from.offset, to.offset, link.fromSide, link.toSide);
    if (way.empty()) throw std::logic_error("two places of an island without a way between them");
    Pave(way, from.crossroads, to.crossroads, roads);
  }
  return roads;
}
