#pragma once
// What each terrain is to roads and pictures, in one table: water a road
// crosses on a bridge, open land a new road may be laid on, the places where
// roads end, what a new road prefers between ways of the same length, and
// the colour of its hexagons in pictures of the map.

#include <cstdint>

#include "map/TerrainCodes.h"

struct TerrainColour {
  std::uint8_t r, g, b;
};

struct TerrainTraits {
  bool water;           // sea, lake, river mouth: a road crosses it on a bridge
  bool openLand;        // no road yet, but a new road piece may go there
  bool roadEnd;         // a place a road leads to: harbours, the palace, castles, cities
  int routeCost;        // what a new road pays to pass; 0 where it cannot
  TerrainColour colour;
};

// Every byte has traits: those of 35 and more are of no terrain of the game,
// no road goes there and they are drawn white.
const TerrainTraits& TraitsOf(TerrainCode code);
