#include "map/PlaceNetworks.h"

#include <algorithm>
#include <array>

#include "map/RoadNetwork.h"

// The trait table's places, in a table of this file's own: a pass over the
// map asks once a hexagon.
bool IsPlace(TerrainCode code) {
  static const std::array<bool, 256> places = [] {
    std::array<bool, 256> table{};
    for (int code = 0; code < 256; ++code) table[code] = IsRoadEnd(static_cast<TerrainCode>(code));
    return table;
  }();
  return places[code];
}

namespace {

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
  bool CanJoinAt(int offset) const { return CanJoin(image_[offset]); }
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
std::vector<int> PlacesNear(PlaceGroups& was, PlaceGroups& is, const std::vector<int>& changed) {
  std::vector<int> places;
  for (PlaceGroups* groups : {&was, &is})
    for (const int offset : changed) {
      std::vector<int> near{offset};
      for (const Side side : SlantedSides) near.push_back(NeighbourOffset(offset, side));
      for (const int hexagon : near)
        if (hexagon != NoMapOffset && groups->CanJoinAt(hexagon)) {
          const std::vector<int>& group = groups->Of(hexagon);
          places.insert(places.end(), group.begin(), group.end());
        }
    }
  std::sort(places.begin(), places.end());
  places.erase(std::unique(places.begin(), places.end()), places.end());
  return places;
}

}  // namespace

bool AreJoined(const MapImage& image, int offset, Side side) {
  const int neighbour = NeighbourOffset(offset, side);
  if (neighbour == NoMapOffset) return false;
  const TerrainCode here = image[offset], there = image[neighbour];
  const bool outward = Joins(here, side), inward = Joins(there, Opposite(side));
  return (outward && (inward || IsPlace(there))) || (inward && IsPlace(here));
}

RoadNetworks FindRoadNetworks(const MapImage& image) {
  RoadNetworks found;
  // While the map is walked, a hexagon's part: each road piece and whatever
  // is joined to it step by step, in the order of the first piece met.
  std::vector<int>& partOf = found.networkOf;
  partOf.assign(MapSize, RoadNetworks::NoNetwork);
  std::vector<PlaceNetwork> parts;
  std::vector<int> queue;
  for (int start = 0; start < MapSize; ++start) {
    if (!IsRoadPiece(image[start]) || partOf[start] != RoadNetworks::NoNetwork) continue;
    const int part = static_cast<int>(parts.size());
    PlaceNetwork& network = parts.emplace_back();
    network.firstOffset = start;
    queue.assign(1, start);
    partOf[start] = part;
    for (std::size_t next = 0; next < queue.size(); ++next) {
      const int offset = queue[next];
      const TerrainCode code = image[offset];
      network.firstOffset = std::min(network.firstOffset, offset);
      if (IsPlace(code)) network.places.push_back(offset);
      if (IsBridge(code)) ++network.bridges;
      else if (IsRoadPiece(code)) ++network.roadPieces;
      for (const Side side : SlantedSides) {
        const int neighbour = NeighbourOffset(offset, side);
        if (neighbour == NoMapOffset || partOf[neighbour] != RoadNetworks::NoNetwork || !AreJoined(image, offset, side))
          continue;
        partOf[neighbour] = part;
        queue.push_back(neighbour);
      }
    }
    std::sort(network.places.begin(), network.places.end());
  }
  std::vector<int> order;  // the parts that hold a place, largest first
  for (std::size_t part = 0; part < parts.size(); ++part)
    if (!parts[part].places.empty()) order.push_back(static_cast<int>(part));
  std::sort(order.begin(), order.end(), [&](int a, int b) { return IsLarger(parts[a], parts[b]); });
  std::vector<int> networkOfPart(parts.size(), RoadNetworks::Placeless);
  for (std::size_t rank = 0; rank < order.size(); ++rank) networkOfPart[order[rank]] = static_cast<int>(rank);
  for (int offset = 0; offset < MapSize; ++offset) {
    const int part = partOf[offset];
    if (part == RoadNetworks::NoNetwork) {
      if (IsPlace(image[offset])) found.unreached.push_back(offset);
      continue;
    }
    partOf[offset] = networkOfPart[part];
  }
  for (PlaceNetwork& part : parts)
    if (part.places.empty()) found.placeless.push_back(std::move(part));
  for (const int part : order) found.networks.push_back(std::move(parts[part]));
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
  for (const int offset : PlacesNear(was, is, changed))
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
