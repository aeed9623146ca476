#pragma once
// The map as a field of hexagons, the way the generator of the sample map
// thinks about it. Map line L fills grid columns 2L+1 and 2L+2; its even
// positions lie in the first, its odd positions half a row lower in the
// second. So a hexagon is addressed here by x = grid column - 1 (0..351) and
// y = position within the line (0..150, in half rows); x and y are both even
// or both odd. Moving one column left or right always moves half a row up or
// down; moving straight up or down moves a whole row (y by 2).
//
// On screen a column is as wide as a row is high, so x counts twice as much
// as y for distances: the "plane" coordinates u = 2x, v = y are square.

#include <array>
#include <cstdint>
#include <vector>

using TerrainCode = std::uint8_t;

namespace terrain {
constexpr TerrainCode Sea = 0, Lake = 1, Mountains = 2, Hills = 3, Plain = 4, Marsh = 5, Beach = 6;
constexpr TerrainCode FirstHarbour = 7, LastHarbour = 14;
constexpr TerrainCode HorseLand = 15, Palace = 16, RiverMouth = 17;
constexpr TerrainCode FirstRoad = 18, LastRoad = 28, BridgeBackslash = 29, BridgeSlash = 30;
constexpr TerrainCode Castle = 31, Kyoto = 32, Sakai = 33, Hakata = 34;
}  // namespace terrain

constexpr int FieldWidth = 352;   // x: 0..351
constexpr int FieldHeight = 151;  // y: 0..150
constexpr int HexCount = 176 * 151;  // one per map byte

struct Hex {
  int x = 0;
  int y = 0;
  bool operator==(const Hex& other) const { return x == other.x && y == other.y; }
  bool operator!=(const Hex& other) const { return !(*this == other); }
};

bool IsOnField(Hex hex);
int OffsetOf(Hex hex);  // the map offset; hex must be on the field
Hex HexAt(int offset);

// Roads run only along the four slanted sides: the road pieces of the game
// join those four neighbours and never the ones straight above or below.
enum Slant { NorthEast = 0, SouthEast = 1, SouthWest = 2, NorthWest = 3 };
constexpr int SlantCount = 4;
constexpr Slant Opposite(Slant s) { return static_cast<Slant>((s + 2) % 4); }
Hex Step(Hex hex, Slant direction);

// All six neighbours on the field (for water, land and rivers).
std::vector<Hex> Neighbours(Hex hex);

// Fewest slanted steps between two hexagons.
int SlantDistance(Hex a, Hex b);

// Squared distance in plane units, for "nearest" questions.
std::int64_t PlaneDistanceSquared(Hex a, Hex b);

// The hexagon nearest to a point of the plane (u = 2x, v = y).
Hex HexNear(int u, int v);

// A value for every hexagon, indexed by map offset.
template <typename T>
using HexMap = std::vector<T>;
