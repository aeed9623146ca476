#include "map/HexGrid.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

GridCell OffsetToCell(int offset) {
  const int line = offset / MapLineLength;
  const int position = offset % MapLineLength;
  if (position % 2 == 0) return {2 * line + 1, position / 2 + 1};
  return {2 * line + 2, (position - 1) / 2 + 2};
}

bool IsPlaceholderCell(int column, int row) {
  return row == 1 && column % 2 == 0 && column >= 2 && column <= LastGridColumn;
}

int CellToOffset(int column, int row) {
  const bool mapCell = column >= 1 && column <= LastGridColumn && row >= 1 && row <= LastGridRow;
  if (!mapCell || IsPlaceholderCell(column, row)) return NoMapOffset;
  if (column % 2 == 1) return (column - 1) / 2 * MapLineLength + 2 * row - 2;
  return column / 2 * MapLineLength + 2 * row - 154;
}

GridCell NeighbourCell(GridCell cell, Side side) {
  // An odd column stands half a row above the even column on either side of
  // it: its slanted neighbours are in the same row and the row below; those
  // of an even column in the same row and the row above.
  const int slantedRowAbove = cell.column % 2 == 1 ? cell.row : cell.row - 1;
  const int slantedRowBelow = slantedRowAbove + 1;
  switch (side) {
    case Side::North: return {cell.column, cell.row - 1};
    case Side::NorthEast: return {cell.column + 1, slantedRowAbove};
    case Side::SouthEast: return {cell.column + 1, slantedRowBelow};
    case Side::South: return {cell.column, cell.row + 1};
    case Side::SouthWest: return {cell.column - 1, slantedRowBelow};
    case Side::NorthWest: return {cell.column - 1, slantedRowAbove};
  }
  return cell;
}

// Looked up: the walks over road networks ask for tens of thousands of
// neighbours after every change.
int NeighbourOffset(int offset, Side side) {
  using Neighbours = std::array<std::int16_t, SideCount>;
  static const std::vector<Neighbours> table = [] {
    std::vector<Neighbours> neighbours(MapSize);
    for (int each = 0; each < MapSize; ++each)
      for (const Side toward : AllSides) {
        const GridCell next = NeighbourCell(OffsetToCell(each), toward);
        neighbours[each][static_cast<int>(toward)] = static_cast<std::int16_t>(CellToOffset(next.column, next.row));
      }
    return neighbours;
  }();
  return table[offset][static_cast<int>(side)];
}

std::optional<Side> SlantedSideToward(int offset, int neighbour) {
  if (neighbour == NoMapOffset) return std::nullopt;
  for (Side side : SlantedSides)
    if (NeighbourOffset(offset, side) == neighbour) return side;
  return std::nullopt;
}

HexPosition PositionOf(int offset) {
  const GridCell cell = OffsetToCell(offset);
  return {cell.column, offset % MapLineLength};
}

int SlantDistance(int offsetA, int offsetB) {
  const HexPosition a = PositionOf(offsetA), b = PositionOf(offsetB);
  return std::max(std::abs(a.column - b.column), std::abs(a.halfRow - b.halfRow));
}

int OffsetAt(HexPosition position) {
  const bool oddColumn = position.column % 2 != 0;
  const bool evenHeight = position.halfRow % 2 == 0;
  if (position.halfRow < 0 || position.halfRow >= MapLineLength || oddColumn != evenHeight) return NoMapOffset;
  const int row = oddColumn ? position.halfRow / 2 + 1 : (position.halfRow - 1) / 2 + 2;
  return CellToOffset(position.column, row);
}

namespace {

// Appends a non-negative number in decimal; faster than std::to_string and
// without its temporary, since a map read formats 26,576 of these.
char* AppendDecimal(char* out, int value) {
  char digits[10];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (count > 0) *out++ = digits[--count];
  return out;
}

char* AppendText(char* out, std::string_view text) {
  for (char c : text) *out++ = c;
  return out;
}

}  // namespace

std::string ReadCellText(int offset, TerrainCode code) {
  char buffer[32];  // longest: 3-byte glyph, 5 + 3 digits, 6 separators
  char* end = AppendText(buffer, GlyphOf(code));
  end = AppendText(end, " \r\n");
  end = AppendDecimal(end, offset);
  end = AppendText(end, " : ");
  end = AppendDecimal(end, code);
  return std::string(buffer, end);
}

std::string EditCellText(TerrainCode code) {
  std::string text(GlyphOf(code));
  text += ' ';
  return text;
}
