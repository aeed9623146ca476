#include "HexField.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int LineLength = 151;
}

bool IsOnField(Hex hex) {
  return hex.x >= 0 && hex.x < FieldWidth && hex.y >= 0 && hex.y < FieldHeight && (hex.x % 2) == (hex.y % 2);
}

int OffsetOf(Hex hex) { return hex.x / 2 * LineLength + hex.y; }

Hex HexAt(int offset) {
  int line = offset / LineLength, position = offset % LineLength;
  return Hex{2 * line + position % 2, position};
}

Hex Step(Hex hex, Slant direction) {
  switch (direction) {
    case NorthEast: return Hex{hex.x + 1, hex.y - 1};
    case SouthEast: return Hex{hex.x + 1, hex.y + 1};
    case SouthWest: return Hex{hex.x - 1, hex.y + 1};
    case NorthWest: return Hex{hex.x - 1, hex.y - 1};
  }
  return hex;
}

std::vector<Hex> Neighbours(Hex hex) {
  std::vector<Hex> result;
  const Hex candidates[] = {{hex.x, hex.y - 2},     {hex.x + 1, hex.y - 1}, {hex.x + 1, hex.y + 1},
                            {hex.x, hex.y + 2},     {hex.x - 1, hex.y + 1}, {hex.x - 1, hex.y - 1}};
  for (Hex candidate : candidates)
    if (IsOnField(candidate)) result.push_back(candidate);
  return result;
}

int SlantDistance(Hex a, Hex b) { return std::max(std::abs(a.x - b.x), std::abs(a.y - b.y)); }

std::int64_t PlaneDistanceSquared(Hex a, Hex b) {
  std::int64_t du = 2 * (a.x - b.x), dv = a.y - b.y;
  return du * du + dv * dv;
}

Hex HexNear(int u, int v) {
  int x = std::clamp((u + 1) / 2, 0, FieldWidth - 1);
  int y = std::clamp(v, 0, FieldHeight - 1);
  if ((x % 2) != (y % 2)) y += (y + 1 < FieldHeight) ? 1 : -1;
  return Hex{x, y};
}
