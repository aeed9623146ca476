#pragma once
// The map as the generator of the sample map thinks about it: every hexagon
// a point of a plane where a grid column is as wide as a row is high: the
// centres of the map picture at a scale of one, without its margin
// (picture/HexGeometry.h), so u = 2 x (column - 1) and v = height in half
// rows are square units for distances, noise and the outlines of the land.

#include <cstdint>
#include <vector>

#include "map/HexGrid.h"

struct PlanePoint {
  int u = 0;
  int v = 0;
};

PlanePoint PlaneOf(int offset);

// Squared distance in plane units, for "nearest" questions.
std::int64_t PlaneDistanceSquared(int offsetA, int offsetB);

// The hexagon nearest to a point of the plane.
int OffsetNear(int u, int v);

// All neighbours on the map, clockwise from the north.
std::vector<int> NeighbourOffsets(int offset);

// A value for every hexagon, indexed by map offset.
template <typename T>
using HexMap = std::vector<T>;
