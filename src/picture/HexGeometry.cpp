#include "picture/HexGeometry.h"

PicturePoint HexCentreOf(HexPosition position, int scale) {
  return {(position.column - 1) * ColumnSpacing(scale) + scale, position.halfRow * HalfRowSpacing(scale) + scale};
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

PicturePoint NeighbourCentre(PicturePoint centre, Side side, int scale) {
  const int across = ColumnSpacing(scale), down = HalfRowSpacing(scale);
  switch (side) {
    case Side::North: return {centre.x, centre.y - 2 * down};
    case Side::NorthEast: return {centre.x + across, centre.y - down};
    case Side::SouthEast: return {centre.x + across, centre.y + down};
    case Side::South: return {centre.x, centre.y + 2 * down};
    case Side::SouthWest: return {centre.x - across, centre.y + down};
    case Side::NorthWest: return {centre.x - across, centre.y - down};
  }
  return centre;
}

int ColumnSpacing(int scale) { return 2 * scale; }
int HalfRowSpacing(int scale) { return scale; }

HexSize HexSizeAt(int scale) { return {5 * scale / 2, 2 * scale, 3 * scale / 2}; }
