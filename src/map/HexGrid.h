#pragma once
// Where each map byte sits on the rectangular grid of the editor. The game's
// hexagons stand in staggered columns: map line L fills the odd grid column
// 2L+1 (even positions, from row 1) and the even column 2L+2 (odd positions,
// from row 2), so row 1 of every even column holds no byte: a placeholder.

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
