#pragma once
// The one search for the way of a road over the hexagons, in slanted steps:
// A* over stands, where a stand is a hexagon, the slanted side the way came
// in by (or none) and one mark of the caller's (a new road: water crossed
// already). What a step may do and what it costs is the caller's policy: a
// new road of `valtea-map road`, or a road of the sample map's generator.

#include <cstdint>
#include <optional>
#include <vector>

#include "map/HexGrid.h"

using RouteCost = std::int64_t;

// A heading: an index into SlantedSides, or none.
constexpr int NoHeading = static_cast<int>(SlantedSides.size());

struct RouteStand {
  int offset;
  int heading;
  bool marked;
};

class RoutePolicy {
 public:
  virtual ~RoutePolicy() = default;
  // A step from `stand` by the slanted side `slant` (an index into
  // SlantedSides) onto `next`, a hexagon of the map: none when the way cannot
  // go so; otherwise its cost, with `onto` telling how the way stands there.
  virtual std::optional<RouteCost> Step(const RouteStand& stand, int slant, int next, RouteStand& onto) const = 0;
  // Never more than the cheapest rest of the way from `offset` costs.
  virtual RouteCost Estimate(int offset) const = 0;
};

// The hexagons of a cheapest way from `from` to `to`, both included; empty
// when there is none. Among ways of the same cost the one found first wins,
// the same on every machine.
std::vector<int> FindRoute(int from, int to, const RoutePolicy& policy);
