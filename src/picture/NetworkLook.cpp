#include <algorithm>
#include <array>
#include <cstdint>

#include "map/PlaceNetworks.h"
#include "picture/MapPicture.h"

namespace {

bool JoinsPlaces(const RoadNetworks& found, int network) {
  return network >= 0 && found.networks[network].places.size() >= 2;
}

// The networks that join places and lie within two hexagons of each
// other's roads: near enough that the same colour would read as one
// network. Each road stamps its network on its neighbours; a hexagon that
// two networks stamp, or that is a road of one and stamped by the other,
// makes them near. A hexagon keeps two stamps, which misses a pair only
// where four networks meet.
std::vector<std::vector<int>> NearNetworks(const MapImage& image, const RoadNetworks& found) {
  std::vector<std::vector<int>> near(found.networks.size());
  const auto meet = [&](int a, int b) {
    if (a == b || a < 0 || b < 0) return;
    near[a].push_back(b);
    near[b].push_back(a);
  };
  std::vector<std::array<std::int16_t, 2>> stamps(MapSize, {RoadNetworks::NoNetwork, RoadNetworks::NoNetwork});
  std::vector<int> roads;
  for (int offset = 0; offset < MapSize; ++offset)
    if (IsRoadPiece(image[offset]) && JoinsPlaces(found, found.networkOf[offset])) {
      stamps[offset][0] = found.networkOf[offset];
      roads.push_back(offset);
    }
  for (const int road : roads) {
    const int network = found.networkOf[road];
    for (const Side side : AllSides) {
      const int beside = NeighbourOffset(road, side);
      if (beside == NoMapOffset) continue;
      std::array<std::int16_t, 2>& stamp = stamps[beside];
      meet(network, stamp[0]);
      meet(network, stamp[1]);
      if (stamp[0] == RoadNetworks::NoNetwork) stamp[0] = static_cast<std::int16_t>(network);
      else if (stamp[0] != network && stamp[1] == RoadNetworks::NoNetwork) stamp[1] = static_cast<std::int16_t>(network);
    }
  }
  for (std::vector<int>& networks : near) {
    std::sort(networks.begin(), networks.end());
    networks.erase(std::unique(networks.begin(), networks.end()), networks.end());
  }
  return near;
}

// Largest network first, each in the first colour from the one its first
// place prefers that no near network has yet: an edit of one network seldom
// changes another's colour.
std::vector<std::uint8_t> NetworkColoursOf(const MapImage& image, const RoadNetworks& found) {
  const std::vector<std::vector<int>> near = NearNetworks(image, found);
  std::vector<std::uint8_t> colours(found.networks.size(), OwnRoadColour);
  for (std::size_t network = 0; network < found.networks.size(); ++network) {
    if (found.networks[network].places.size() < 2) continue;
    const int preferred = found.networks[network].places.front() % NetworkColourCount;
    colours[network] = static_cast<std::uint8_t>(preferred + 1);
    for (int step = 0; step < NetworkColourCount; ++step) {
      const auto colour = static_cast<std::uint8_t>((preferred + step) % NetworkColourCount + 1);
      if (std::none_of(near[network].begin(), near[network].end(), [&](int other) { return colours[other] == colour; })) {
        colours[network] = colour;
        break;
      }
    }
  }
  return colours;
}

}  // namespace

NetworkLook LookOfNetworks(const MapImage& image) {
  const RoadNetworks found = FindRoadNetworks(image);
  const std::vector<std::uint8_t> colours = NetworkColoursOf(image, found);
  NetworkLook look;
  look.roadColours.assign(MapSize, OwnRoadColour);
  // A road that reaches no place is ringed once, at its first hexagon.
  std::vector<int> firsts;
  for (const PlaceNetwork& road : found.placeless) firsts.push_back(road.firstOffset);
  for (int offset = 0; offset < MapSize; ++offset) {
    if (found.networkOf[offset] == RoadNetworks::Placeless) {
      look.roadColours[offset] = WarningRoadColour;
      if (std::binary_search(firsts.begin(), firsts.end(), offset)) look.rings.push_back({offset, RingKind::Warning});
    } else if (found.networkOf[offset] >= 0) {
      if (IsRoadPiece(image[offset])) look.roadColours[offset] = colours[found.networkOf[offset]];
    } else if (IsPlace(image[offset])) {
      look.rings.push_back({offset, RingKind::Warning});  // a place no road reaches
    }
  }
  return look;
}
