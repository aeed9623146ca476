#pragma once
// The roads of the sample map: which places are joined, the way each road
// takes over the land, and the sides each hexagon's roads use. Which piece
// joins which sides is the map's own knowledge (map/RoadNetwork.h).

#include <vector>

#include "Landscape.h"
#include "map/RoadNetwork.h"

// A town, or a crossroads: a road hexagon where roads from several places
// meet because they are routed there, not because they happen to touch.
struct Place {
  int offset = 0;
  bool crossroads = false;
};

// Joins the places of each island: every place to its nearest neighbours, and
// enough further roads that each island's places are all connected. `codes`
// must show the towns and crossroads already, as obstacles. Returns the road
// pieces by hexagon, crossroads included; towns get no piece.
HexMap<SideSet> LayRoads(const Landscape& land, const HexMap<TerrainCode>& codes, const std::vector<Place>& places);
