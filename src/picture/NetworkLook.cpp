#include <algorithm>

#include "map/PlaceNetworks.h"
#include "picture/MapPicture.h"

namespace {

bool JoinsPlaces(const RoadNetworks& found, int network) {
  return network != RoadNetworks::NoNetwork && found.networks[network].places.size() >= 2;
}

// The networks that join places and lie within two hexagons of each one's
// roads: near enough that the same colour would read as one network.
std::vector<std::vector<int>> NearNetworks(const MapImage& image, const RoadNetworks& found) {
  std::vector<std::vector<int>> near(found.networks.size());
  for (int offset = 0; offset < MapSize; ++offset) {
    const int network = found.networkOf[offset];
    if (!IsRoadPiece(image[offset]) || !JoinsPlaces(found, network)) continue;
    for (const Side side : AllSides) {
      const int beside = NeighbourOffset(offset, side);
      if (beside == NoMapOffset) continue;
      for (const Side further : AllSides) {
        for (const int other : {beside, NeighbourOffset(beside, further)})
          if (other != NoMapOffset && found.networkOf[other] != network && JoinsPlaces(found, found.networkOf[other]))
            near[network].push_back(found.networkOf[other]);
      }
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
  for (int offset = 0; offset < MapSize; ++offset) {
    if (found.reachesNoPlace[offset]) {
      look.roadColours[offset] = WarningRoadColour;
      look.rings.push_back({offset, RingKind::Warning});
    } else if (found.networkOf[offset] != RoadNetworks::NoNetwork && IsRoadPiece(image[offset])) {
      look.roadColours[offset] = colours[found.networkOf[offset]];
    } else if (IsPlace(image[offset])) {
      look.rings.push_back({offset, RingKind::Warning});  // a place no road reaches
    }
  }
  return look;
}
