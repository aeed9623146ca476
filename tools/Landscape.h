#pragma once
// The natural land of the sample map: sea, islands with coasts and beaches,
// mountains, hills, plains, marsh, lakes, horse-breeding land, and rivers
// with their mouths. Towns and roads come later (SampleMap, RoadLaying).

#include "Plane.h"
#include "map/TerrainCodes.h"

struct Landscape {
  HexMap<TerrainCode> code;  // only natural codes: 0..6, 15 and 17
  // Rivers have no code of their own: the game draws them under the land.
  // The roads need them, since a road crosses a river on a bridge.
  HexMap<bool> river;
  HexMap<int> seaDistance;  // steps to the open sea; 0 on it, 1 on the coast
  HexMap<int> landmass;     // which island a land or lake hexagon belongs to; -1 at sea
};

Landscape MakeLandscape();

bool IsLand(TerrainCode code);  // everything but water: sea, lake and river mouths
