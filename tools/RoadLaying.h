#pragma once
// The roads of the sample map: which places are joined, the way each road
// takes over the land, and the road piece each hexagon gets.
//
// A road piece joins some of the four slanted neighbours of its hexagon
// (RoadMask bits, one per Slant). Reading the glyphs that way, the eleven
// road codes are: 18 "／" NE-SW, 19 "＼" NW-SE, 20 "Λ" SW-SE, 21 "∨" NW-NE,
// 22 "＜" NE-SE, 23 "＞" NW-SW, the forks 24 "入" NW-SE-SW, 25 "У" NE-SW-NW,
// 26 "Υ" NW-SE-NE, 27 "人" NE-SW-SE, and the crossing 28 "Χ" of all four. The
// bridges 29 "\\" and 30 "//" are the straight pieces 19 and 18 over a river.

#include <cstdint>
#include <vector>

#include "Landscape.h"

using RoadMask = std::uint8_t;
constexpr RoadMask SlantBit(Slant s) { return static_cast<RoadMask>(1 << s); }

// The road or bridge code of a piece; 0 when the mask has fewer than two
// sides, or is not straight on a river.
TerrainCode RoadCodeOf(RoadMask mask, bool overRiver);
// The sides a road or bridge code joins; 0 for any other code.
RoadMask RoadMaskOf(TerrainCode code);

// A town, or a crossroads: a road hexagon where roads from several places
// meet because they are routed there, not because they happen to touch.
struct Place {
  Hex hex;
  bool crossroads = false;
};

// Joins the places of each island: every place to its nearest neighbours, and
// enough further roads that each island's places are all connected. `codes`
// must show the towns and crossroads already, as obstacles. Returns the road
// pieces by hexagon, crossroads included; towns get no piece.
HexMap<RoadMask> LayRoads(const Landscape& land, const HexMap<TerrainCode>& codes, const std::vector<Place>& places);
