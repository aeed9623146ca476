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

// What a search knows of each stand, kept from search to search: a short
// search (a brush's next hexagon) then costs what it visits, not the whole
// map. An entry counts only when its search number is the current one's.
class StandTable {
 public:
  StandTable() : cost_(StandCount), previous_(StandCount), search_(StandCount, 0) {}
  void NewSearch() {
    if (++current_ == 0) {  // wrapped: every old number could match again
      std::fill(search_.begin(), search_.end(), 0);
      current_ = 1;
    }
  }
  RouteCost Cost(int index) const { return search_[index] == current_ ? cost_[index] : -1; }
  int Previous(int index) const { return previous_[index]; }
  void Set(int index, RouteCost cost, int previous) {
    search_[index] = current_;
    cost_[index] = cost;
    previous_[index] = previous;
  }

 private:
  std::vector<RouteCost> cost_;
  std::vector<int> previous_;
  std::vector<unsigned> search_;
  unsigned current_ = 0;
};

}  // namespace

std::vector<int> FindRoute(int from, int to, const RoutePolicy& policy) {
  thread_local StandTable stands;
  stands.NewSearch();
  // Cheapest estimate first; among equal ones the cheaper way so far, then
  // the lower stand: a fixed order, so that the result never depends on the
  // queue's implementation.
  using Entry = std::tuple<RouteCost, RouteCost, int>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
  auto reach = [&](const RouteStand& stand, RouteCost spent, int from) {
    const int index = IndexOf(stand);
    const RouteCost known = stands.Cost(index);
    if (known >= 0 && known <= spent) return;
    stands.Set(index, spent, from);
    open.emplace(spent + policy.Estimate(stand.offset), spent, index);
  };

  reach(RouteStand{from, NoHeading, false}, 0, -1);
  while (!open.empty()) {
    const auto [estimate, spent, index] = open.top();
    open.pop();
    if (spent != stands.Cost(index)) continue;  // reached more cheaply since
    const RouteStand stand = StandAt(index);
    if (stand.offset == to) {
      std::vector<int> way;
      for (int at = index; at >= 0; at = stands.Previous(at)) way.push_back(StandAt(at).offset);
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
