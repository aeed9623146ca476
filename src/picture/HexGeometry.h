#pragma once
// Where the hexagons lie in a picture of the map, at a scale of pixels per
// half row: a column is two scales wide and every column is shifted half a
// hexagon against its neighbours, as in the game. Each hexagon is flat at the
// top and bottom, 2.5 scales wide and 2 high, its top and bottom sides 1.5
// scales long; so the hexagons of neighbouring columns interlock without
// gaps. The map picture, the tiles of a Tiled tileset and the generator of
// the sample map all place hexagons by this.

#include <array>
#include <optional>

#include "map/HexGrid.h"

struct PicturePoint {
  int x;
  int y;
};

// A rectangle of pixels, right and bottom outside.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return left >= right || top >= bottom; }
  friend bool operator==(const PixelRect& a, const PixelRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
};

// The centre of a hexagon, with a margin of one scale above and left.
PicturePoint HexCentreOf(HexPosition position, int scale);
PicturePoint HexCentreAt(int offset, int scale);

// The middle of a slanted side, where a road leaves the hexagon.
PicturePoint SideMiddle(PicturePoint centre, Side side, int scale);

// The centre of the neighbouring hexagon across a side.
PicturePoint NeighbourCentre(PicturePoint centre, Side side, int scale);

// How far apart the centres stand: from column to column, and from half row
// to half row down a column.
int ColumnSpacing(int scale);
int HalfRowSpacing(int scale);

// The corners, clockwise from the east one. Whole pixels when the scale is a
// multiple of four.
std::array<PicturePoint, 6> HexCorners(PicturePoint centre, int scale);

// The size of the whole map's picture.
struct MapPictureSize {
  int width;
  int height;
};
MapPictureSize MapPictureSizeAt(int scale);

// The cell whose hexagon a point of the picture lies in, by the nearest
// centre as the picture is filled; none outside the picture and where the
// placeholder above an even column's first hexagon would stand.
std::optional<GridCell> CellAtPoint(PicturePoint point, int scale);

// The hexagon's width and height, and the length of its top side.
struct HexSize {
  int width;
  int height;
  int sideLength;
};
HexSize HexSizeAt(int scale);
