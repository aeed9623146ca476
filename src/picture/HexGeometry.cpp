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

std::array<PicturePoint, 6> HexCorners(PicturePoint centre, int scale) {
  const int far = 5 * scale / 4, near = 3 * scale / 4;
  return {{{centre.x + far, centre.y},
           {centre.x + near, centre.y + scale},
           {centre.x - near, centre.y + scale},
           {centre.x - far, centre.y},
           {centre.x - near, centre.y - scale},
           {centre.x + near, centre.y - scale}}};
}

MapPictureSize MapPictureSizeAt(int scale) {
  return {LastGridColumn * ColumnSpacing(scale), (MapLineLength + 1) * HalfRowSpacing(scale)};
}

std::optional<GridCell> CellAtPoint(PicturePoint point, int scale) {
  const MapPictureSize size = MapPictureSizeAt(scale);
  if (point.x < 0 || point.y < 0 || point.x >= size.width || point.y >= size.height) return std::nullopt;
  // In half pixels, from the pixel's centre; among the columns of the
  // pixel's strip and its neighbours, and the heights near it, placeholders'
  // (half row -1 of even columns) included.
  const long px = 2L * point.x + 1, py = 2L * point.y + 1;
  const int here = point.x / ColumnSpacing(scale), near = point.y / HalfRowSpacing(scale);
  std::optional<HexPosition> best;
  long bestDistance = 0;
  for (int column = std::max(here, 1); column <= std::min(here + 2, LastGridColumn); ++column) {
    for (int halfRow = near - 3; halfRow <= near + 2; ++halfRow) {
      const bool placeholder = column % 2 == 0 && halfRow == -1;
      if (!placeholder && OffsetAt({column, halfRow}) == NoMapOffset) continue;
      const PicturePoint centre = HexCentreOf({column, halfRow}, scale);
      const long dx = px - 2L * centre.x, dy = py - 2L * centre.y;
      if (best && dx * dx + dy * dy >= bestDistance) continue;
      best = HexPosition{column, halfRow};
      bestDistance = dx * dx + dy * dy;
    }
  }
  if (!best || best->halfRow < 0) return std::nullopt;
  return OffsetToCell(OffsetAt(*best));
}

HexSize HexSizeAt(int scale) { return {5 * scale / 2, 2 * scale, 3 * scale / 2}; }
