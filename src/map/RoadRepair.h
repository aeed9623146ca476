#pragma once
// Repairing road pieces that do not join up. A piece that the road network
// check names becomes the piece that joins exactly the neighbours that lead
// to it, where one exists.

#include "map/RoadNetwork.h"

// The sides a piece at `offset` should join: those whose neighbour is a road
// piece or bridge that joins back toward it, and those whose neighbour is a
// place where roads end.
SideSet SidesToJoin(const MapImage& image, int offset);

// Repairs, in place, every road piece and bridge that the road network check
// names, for a join of its own that is not met or as the neighbour that does
// not join back:
// - a road piece gets the piece that joins SidesToJoin, when those are two to
//   four sides;
// - a bridge stays a bridge, and turns into the other bridge only when those
//   are exactly that bridge's two sides;
// - anything else stays as it is.
// One repair can settle its neighbours, so it goes over the map again until a
// pass changes nothing. A repair meets every join of the piece and of its
// neighbours toward it and leaves none unmet, so each one leaves fewer
// problems and the passes come to an end.
void ShapeRoads(MapImage& image);
