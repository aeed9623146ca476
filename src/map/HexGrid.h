#pragma once
// Where each map byte sits on the rectangular grid of the editor. The game's
// hexagons stand in staggered columns: map line L fills the odd grid column
// 2L+1 (even positions, from row 1) and the even column 2L+2 (odd positions,
// from row 2), so row 1 of every even column holds no byte: a placeholder.

#include <array>
#include <optional>
#include <string>

#include "map/MapFile.h"

constexpr int GridColumnCount = 353;  // column 0 is the header
constexpr int GridRowCount = 77;      // row 0 is the header
constexpr int LastGridColumn = GridColumnCount - 1;
constexpr int LastGridRow = GridRowCount - 1;
constexpr int NoMapOffset = -1;

struct GridCell {
  int column = 1;
  int row = 1;
  bool operator==(const GridCell& other) const { return column == other.column && row == other.row; }
  bool operator!=(const GridCell& other) const { return !(*this == other); }
};

// offset must be 0..MapSize-1.
GridCell OffsetToCell(int offset);

// The map offset shown in a cell, or NoMapOffset for header, placeholder and
// out-of-range cells, which hold no byte.
int CellToOffset(int column, int row);

bool IsPlaceholderCell(int column, int row);

// The text a cell gets when its byte is read: glyph, space, CR LF, offset,
// " : ", code. Only the glyph is visible; the rest travels with the cell.
std::string ReadCellText(int offset, TerrainCode code);

// The text a cell gets when the user changes its byte: glyph and a space.
std::string EditCellText(TerrainCode code);

// The six sides of a hexagon, clockwise from the top. Each grid column stands
// half a hexagon higher or lower than the next, so a hexagon has a neighbour
// straight above and below in its own column and four slanted ones in the
// columns to its left and right.
enum class Side { North, NorthEast, SouthEast, South, SouthWest, NorthWest };
constexpr int SideCount = 6;
constexpr std::array<Side, SideCount> AllSides = {Side::North, Side::NorthEast, Side::SouthEast,
                                                  Side::South, Side::SouthWest, Side::NorthWest};
// The sides roads use: a road never runs straight up or down a column.
constexpr std::array<Side, 4> SlantedSides = {Side::NorthEast, Side::SouthEast, Side::SouthWest, Side::NorthWest};
constexpr Side Opposite(Side side) { return static_cast<Side>((static_cast<int>(side) + 3) % SideCount); }

// The cell beside a cell on one side; it may lie outside the map cells.
GridCell NeighbourCell(GridCell cell, Side side);
// The map offset beside an offset, or NoMapOffset where the map ends.
int NeighbourOffset(int offset, Side side);
// The slanted side of `offset` on which `neighbour` lies; none when it is not
// a slanted neighbour.
std::optional<Side> SlantedSideToward(int offset, int neighbour);

// Where a hexagon lies in a picture of the map: its grid column, and its
// height in half rows from the top (0..150), which is its position in its map
// line. Odd columns hold the even heights, even columns the odd ones.
struct HexPosition {
  int column = 1;
  int halfRow = 0;
};
HexPosition PositionOf(int offset);
// The fewest slanted steps between two hexagons on an open map: each step
// moves one column and one half row.
int SlantDistance(int offsetA, int offsetB);
// The offset of the hexagon at a position, or NoMapOffset where none lies.
int OffsetAt(HexPosition position);
