#include "map/RouteSearch.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <tuple>

namespace {

constexpr int HeadingCount = NoHeading + 1;
constexpr int StandCount = MapSize * 2 * HeadingCount;

int IndexOf(const RouteStand& stand) { return (stand.offset * 2 + (stand.marked ? 1 : 0)) * HeadingCount + stand.heading; }

RouteStand StandAt(int index) {
  return {index / HeadingCount / 2, index % HeadingCount, (index / HeadingCount) % 2 != 0};
}

}  // namespace

std::vector<int> FindRoute(int from, int to, const RoutePolicy& policy) {
  std::vector<RouteCost> cost(StandCount, -1);
  std::vector<int> previous(StandCount, -1);
  // Cheapest estimate first; among equal ones the cheaper way so far, then
  // the lower stand: a fixed order, so that the result never depends on the
  // queue's implementation.
  using Entry = std::tuple<RouteCost, RouteCost, int>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
  auto reach = [&](const RouteStand& stand, RouteCost spent, int from) {
    const int index = IndexOf(stand);
    if (cost[index] >= 0 && cost[index] <= spent) return;
    cost[index] = spent;
    previous[index] = from;
    open.emplace(spent + policy.Estimate(stand.offset), spent, index);
  };

  reach(RouteStand{from, NoHeading, false}, 0, -1);
  while (!open.empty()) {
    const auto [estimate, spent, index] = open.top();
    open.pop();
    if (spent != cost[index]) continue;  // reached more cheaply since
    const RouteStand stand = StandAt(index);
    if (stand.offset == to) {
      std::vector<int> way;
      for (int at = index; at >= 0; at = previous[at]) way.push_back(StandAt(at).offset);
      std::reverse(way.begin(), way.end());
      return way;
    }
    for (int slant = 0; slant < NoHeading; ++slant) {
      const int next = NeighbourOffset(stand.offset, SlantedSides[slant]);
      if (next == NoMapOffset) continue;
      RouteStand onto{next, NoHeading, stand.marked};
      if (const std::optional<RouteCost> step = policy.Step(stand, slant, next, onto)) reach(onto, spent + *step, index);
    }
  }
  return {};
}
