#include "map/PlaceNetworks.h"

#include <algorithm>
#include <numeric>

#include "map/RoadNetwork.h"

namespace {

// Joined hexagons in one set, each set named by one of its offsets.
class JoinedSets {
 public:
  JoinedSets() : parent_(MapSize) { std::iota(parent_.begin(), parent_.end(), 0); }
  int Root(int offset) {
    while (parent_[offset] != offset) offset = parent_[offset] = parent_[parent_[offset]];
    return offset;
  }
  void Join(int a, int b) {
    a = Root(a), b = Root(b);
    if (a != b) parent_[std::max(a, b)] = std::min(a, b);
  }

 private:
  std::vector<int> parent_;
};

// A hexagon that can be joined to anything: a road piece, a bridge or a place.
bool CanJoin(TerrainCode code) { return IsRoadPiece(code) || IsPlace(code); }

bool IsLarger(const PlaceNetwork& a, const PlaceNetwork& b) {
  if (a.places.size() != b.places.size()) return a.places.size() > b.places.size();
  if (a.roadPieces + a.bridges != b.roadPieces + b.bridges) return a.roadPieces + a.bridges > b.roadPieces + b.bridges;
  return a.firstOffset < b.firstOffset;
}

// The places of the network that holds each place asked about, itself
// included, by offset; each network is walked once.
class PlaceGroups {
 public:
  explicit PlaceGroups(const MapImage& image) : image_(image), group_(MapSize, -1) {}
  const std::vector<int>& Of(int place) {
    if (group_[place] < 0) Walk(place);
    return groups_[group_[place]];
  }

 private:
  void Walk(int start) {
    const int group = static_cast<int>(groups_.size());
    groups_.emplace_back();
    std::vector<int> queue{start};
    group_[start] = group;
    for (std::size_t next = 0; next < queue.size(); ++next) {
      const int offset = queue[next];
      if (IsPlace(image_[offset])) groups_.back().push_back(offset);
      for (const Side side : SlantedSides) {
        const int neighbour = NeighbourOffset(offset, side);
        if (neighbour == NoMapOffset || group_[neighbour] >= 0 || !AreJoined(image_, offset, side)) continue;
        group_[neighbour] = group;
        queue.push_back(neighbour);
      }
    }
    std::sort(groups_.back().begin(), groups_.back().end());
  }

  const MapImage& image_;
  std::vector<int> group_;
  std::vector<std::vector<int>> groups_;
};

std::vector<int> Without(const std::vector<int>& all, const std::vector<int>& gone) {
  std::vector<int> left;
  std::set_difference(all.begin(), all.end(), gone.begin(), gone.end(), std::back_inserter(left));
  return left;
}

// The places whose network may differ between the maps: those of the
// networks, in either map, that hold a changed hexagon or its neighbours.
std::vector<int> PlacesNear(const MapImage& before, const MapImage& after, const std::vector<int>& changed) {
  std::vector<int> places;
  for (const MapImage* image : {&before, &after}) {
    PlaceGroups groups(*image);
    for (const int offset : changed) {
      for (const int near : {offset, NeighbourOffset(offset, Side::NorthEast), NeighbourOffset(offset, Side::SouthEast),
                             NeighbourOffset(offset, Side::SouthWest), NeighbourOffset(offset, Side::NorthWest)})
        if (near != NoMapOffset && CanJoin((*image)[near])) {
          const std::vector<int>& group = groups.Of(near);
          places.insert(places.end(), group.begin(), group.end());
        }
    }
  }
  std::sort(places.begin(), places.end());
  places.erase(std::unique(places.begin(), places.end()), places.end());
  return places;
}

}  // namespace

bool IsPlace(TerrainCode code) { return IsRoadEnd(code); }

bool AreJoined(const MapImage& image, int offset, Side side) {
  const int neighbour = NeighbourOffset(offset, side);
  if (neighbour == NoMapOffset) return false;
  const TerrainCode here = image[offset], there = image[neighbour];
  const bool outward = Joins(here, side), inward = Joins(there, Opposite(side));
  return (outward && (inward || IsPlace(there))) || (inward && IsPlace(here));
}

RoadNetworks FindRoadNetworks(const MapImage& image) {
  JoinedSets sets;
  // Every road piece is in a network, of its own if it is joined to nothing;
  // a place only when a road joins it.
  std::vector<bool> joined(MapSize, false);
  for (int offset = 0; offset < MapSize; ++offset) {
    if (!IsRoadPiece(image[offset])) continue;  // every join has a road piece on one side
    joined[offset] = true;
    for (const Side side : SlantedSides)
      if (AreJoined(image, offset, side)) {
        const int neighbour = NeighbourOffset(offset, side);
        sets.Join(offset, neighbour);
        joined[offset] = joined[neighbour] = true;
      }
  }
  RoadNetworks found;
  std::vector<PlaceNetwork> byRoot(MapSize);
  std::vector<int> roots;
  for (int offset = 0; offset < MapSize; ++offset) {
    const TerrainCode code = image[offset];
    if (!CanJoin(code)) continue;
    if (!joined[offset]) {
      if (IsPlace(code)) found.unreached.push_back(offset);
      continue;
    }
    const int root = sets.Root(offset);
    PlaceNetwork& network = byRoot[root];
    if (root == offset) {
      network.firstOffset = offset;
      roots.push_back(root);
    }
    if (IsPlace(code)) network.places.push_back(offset);
    if (IsBridge(code)) ++network.bridges;
    else if (IsRoadPiece(code)) ++network.roadPieces;
  }
  for (const int root : roots)
    (byRoot[root].places.empty() ? found.placeless : found.networks).push_back(std::move(byRoot[root]));
  std::sort(found.networks.begin(), found.networks.end(), IsLarger);
  found.networkOf.assign(MapSize, RoadNetworks::NoNetwork);
  found.reachesNoPlace.assign(MapSize, false);
  std::vector<int> indexOfRoot(MapSize, RoadNetworks::NoNetwork);
  for (std::size_t index = 0; index < found.networks.size(); ++index)
    indexOfRoot[found.networks[index].firstOffset] = static_cast<int>(index);
  for (int offset = 0; offset < MapSize; ++offset) {
    if (!joined[offset]) continue;
    const int index = indexOfRoot[sets.Root(offset)];
    found.networkOf[offset] = index;
    found.reachesNoPlace[offset] = index == RoadNetworks::NoNetwork;
  }
  return found;
}

// Breadth first from the place: each hexagon is met first by a fewest-moves way.
std::vector<PlaceSteps> PlacesReachedFrom(const MapImage& image, int from) {
  std::vector<int> steps(MapSize, -1);
  std::vector<int> queue{from};
  steps[from] = 0;
  std::vector<PlaceSteps> reached;
  for (std::size_t next = 0; next < queue.size(); ++next) {
    const int offset = queue[next];
    if (offset != from && IsPlace(image[offset])) reached.push_back({offset, steps[offset]});
    for (const Side side : SlantedSides) {
      const int neighbour = NeighbourOffset(offset, side);
      if (neighbour == NoMapOffset || steps[neighbour] >= 0 || !AreJoined(image, offset, side)) continue;
      steps[neighbour] = steps[offset] + 1;
      queue.push_back(neighbour);
    }
  }
  std::sort(reached.begin(), reached.end(), [](const PlaceSteps& a, const PlaceSteps& b) {
    return a.steps != b.steps ? a.steps < b.steps : a.offset < b.offset;
  });
  return reached;
}

// Of the two groups of places that met or parted, the smaller one moves (on
// a tie, the one that starts later), so that undoing a change names the same
// two places the other way round. Only the networks near the changed
// hexagons are walked, and none where no road or place changed.
std::optional<JoinChange> FindJoinChange(const MapImage& before, const MapImage& after, const std::vector<int>& changed) {
  if (std::none_of(changed.begin(), changed.end(),
                   [&](int offset) { return CanJoin(before[offset]) || CanJoin(after[offset]); }))
    return std::nullopt;
  PlaceGroups was(before), is(after);
  std::vector<int> moved;
  for (const int offset : PlacesNear(before, after, changed))
    if (IsPlace(before[offset]) && IsPlace(after[offset]) && was.Of(offset) != is.Of(offset)) moved.push_back(offset);
  if (moved.empty()) return std::nullopt;
  const int place = moved.front();
  const std::vector<int> came = Without(is.Of(place), was.Of(place));
  JoinChange change;
  change.joined = !came.empty();
  const std::vector<int> own = change.joined ? was.Of(place) : is.Of(place);
  const std::vector<int> other = change.joined ? came : Without(was.Of(place), is.Of(place));
  const bool ownMoves = own.size() != other.size() ? own.size() < other.size() : own.front() > other.front();
  change.place = ownMoves ? own.front() : other.front();
  change.other = ownMoves ? other.front() : own.front();
  for (const int offset : moved)
    if (!std::binary_search(own.begin(), own.end(), offset) && !std::binary_search(other.begin(), other.end(), offset))
      ++change.moreChanges;
  return change;
}
