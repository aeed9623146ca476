#pragma once
// What the roads mean for the game: which places they join and how far
// apart. A place is a hexagon where roads end (a harbour, the palace, a
// castle, a city). Two neighbours are joined where a road piece or bridge on
// one joins the side toward the other and the other joins back or is a
// place: the road check's met join. A road network is a set of hexagons
// joined step by step; it may run through a place.

#include <optional>
#include <vector>

#include "map/HexGrid.h"
#include "map/MapFile.h"

bool IsPlace(TerrainCode code);

// Whether the hexagon at `offset` and its neighbour toward `side` are joined.
bool AreJoined(const MapImage& image, int offset, Side side);

struct PlaceNetwork {
  std::vector<int> places;  // offsets, increasing
  int roadPieces = 0;       // bridges not counted
  int bridges = 0;
  int firstOffset = 0;      // the smallest offset of any of its hexagons
};

struct RoadNetworks {
  static constexpr int NoNetwork = -1;
  static constexpr int Placeless = -2;  // a road of `placeless`
  // Every network that holds a place and a road, largest first: by places,
  // then by road pieces and bridges, then by its first offset.
  std::vector<PlaceNetwork> networks;
  // The places that no road reaches, by offset.
  std::vector<int> unreached;
  // Roads that reach no place, by their first offset; their places are empty.
  std::vector<PlaceNetwork> placeless;
  // For each offset the index of its network in `networks`, Placeless, or NoNetwork.
  std::vector<int> networkOf;
};

// One pass over the map.
RoadNetworks FindRoadNetworks(const MapImage& image);

struct PlaceSteps {
  int offset = 0;
  int steps = 0;
};
// Every place the place at `from` reaches, nearest first and then by offset,
// with the fewest moves from hexagon to joined hexagon, through other places
// where that is shorter. The place itself is not listed.
std::vector<PlaceSteps> PlacesReachedFrom(const MapImage& image, int from);

// How the places joined by the roads differ between two maps that differ
// at `changed`: the first place, by offset, that came into another place's
// network or left it.
struct JoinChange {
  bool joined = true;  // false: it left the network
  int place = 0;       // the place that came or left
  int other = 0;       // a place of the network it joined or left
  int moreChanges = 0; // other places that came or left as well
};
std::optional<JoinChange> FindJoinChange(const MapImage& before, const MapImage& after, const std::vector<int>& changed);
