#include "picture/HexGeometry.h"

PicturePoint HexCentreOf(HexPosition position, int scale) {
  return {(position.column - 1) * 2 * scale + scale, position.halfRow * scale + scale};
}

PicturePoint HexCentreAt(int offset, int scale) { return HexCentreOf(PositionOf(offset), scale); }

PicturePoint SideMiddle(PicturePoint centre, Side side, int scale) {
  switch (side) {
    case Side::North: return {centre.x, centre.y - scale};
    case Side::NorthEast: return {centre.x + scale, centre.y - scale / 2};
    case Side::SouthEast: return {centre.x + scale, centre.y + scale / 2};
    case Side::South: return {centre.x, centre.y + scale};
    case Side::SouthWest: return {centre.x - scale, centre.y + scale / 2};
    case Side::NorthWest: return {centre.x - scale, centre.y - scale / 2};
  }
  return centre;
}

std::array<PicturePoint, 6> HexCorners(PicturePoint centre, int scale) {
  const int far = 5 * scale / 4, near = 3 * scale / 4;
  return {{{centre.x + far, centre.y},
           {centre.x + near, centre.y + scale},
           {centre.x - near, centre.y + scale},
           {centre.x - far, centre.y},
           {centre.x - near, centre.y - scale},
           {centre.x + near, centre.y - scale}}};
}

HexSize HexSizeAt(int scale) { return {5 * scale / 2, 2 * scale, 3 * scale / 2}; }
