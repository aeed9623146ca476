// Where each map byte sits on the grid, traced both ways, and the texts its
// cell carries.

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <utility>

#include "map/HexGrid.h"
#include "support/MemoryFileSystem.h"

namespace {

bool IsHeaderCell(int column, int row) { return column == 0 || row == 0; }

std::string CellName(int column, int row) {
  return "column " + std::to_string(column) + ", row " + std::to_string(row);
}

TEST(GridMapping, EveryOffsetHasItsOwnMapCellAndComesBack) {
  std::set<std::pair<int, int>> used;
  for (int offset = 0; offset < MapSize; ++offset) {
    const GridCell cell = OffsetToCell(offset);
    SCOPED_TRACE("offset " + std::to_string(offset) + " at " + CellName(cell.column, cell.row));
    ASSERT_GE(cell.column, 1);
    ASSERT_LE(cell.column, LastGridColumn);
    ASSERT_GE(cell.row, 1);
    ASSERT_LE(cell.row, LastGridRow);
    EXPECT_FALSE(IsPlaceholderCell(cell.column, cell.row));
    EXPECT_EQ(CellToOffset(cell.column, cell.row), offset);
    EXPECT_TRUE(used.insert({cell.column, cell.row}).second) << "cell taken twice";
  }
  EXPECT_EQ(used.size(), static_cast<std::size_t>(MapSize));
}

TEST(GridMapping, EveryMapCellButPlaceholdersHasAnOffsetThatComesBack) {
  int placeholders = 0;
  for (int column = 0; column < GridColumnCount; ++column) {
    for (int row = 0; row < GridRowCount; ++row) {
      SCOPED_TRACE(CellName(column, row));
      const int offset = CellToOffset(column, row);
      if (IsHeaderCell(column, row)) {
        EXPECT_EQ(offset, NoMapOffset);
        EXPECT_FALSE(IsPlaceholderCell(column, row));
      } else if (IsPlaceholderCell(column, row)) {
        EXPECT_EQ(offset, NoMapOffset);
        ++placeholders;
      } else {
        ASSERT_GE(offset, 0);
        ASSERT_LT(offset, MapSize);
        EXPECT_EQ(OffsetToCell(offset), (GridCell{column, row}));
      }
    }
  }
  EXPECT_EQ(placeholders, MapLineCount);
}

TEST(GridMapping, PlaceholdersAreRowOneOfEveryEvenColumn) {
  for (int column = 2; column <= LastGridColumn; column += 2) {
    EXPECT_TRUE(IsPlaceholderCell(column, 1)) << column;
    EXPECT_FALSE(IsPlaceholderCell(column - 1, 1)) << column - 1;
    EXPECT_FALSE(IsPlaceholderCell(column, 2)) << column;
  }
}

TEST(GridMapping, KnownCells) {
  EXPECT_EQ(OffsetToCell(0), (GridCell{1, 1}));
  EXPECT_EQ(OffsetToCell(1), (GridCell{2, 2}));
  EXPECT_EQ(OffsetToCell(2), (GridCell{1, 2}));
  EXPECT_EQ(OffsetToCell(3), (GridCell{2, 3}));
  EXPECT_EQ(OffsetToCell(149), (GridCell{2, 76}));
  EXPECT_EQ(OffsetToCell(150), (GridCell{1, 76}));
  EXPECT_EQ(OffsetToCell(151), (GridCell{3, 1}));
  EXPECT_EQ(OffsetToCell(152), (GridCell{4, 2}));
  EXPECT_EQ(OffsetToCell(26574), (GridCell{352, 76}));
  EXPECT_EQ(OffsetToCell(26575), (GridCell{351, 76}));

  EXPECT_EQ(CellToOffset(1, 1), 0);
  EXPECT_EQ(CellToOffset(2, 2), 1);
  EXPECT_EQ(CellToOffset(1, 76), 150);
  EXPECT_EQ(CellToOffset(3, 1), 151);
  EXPECT_EQ(CellToOffset(351, 76), 26575);
  EXPECT_EQ(CellToOffset(352, 76), 26574);
}

// A placeholder's even-column formula would give -1 or the previous line's
// last byte; neither may be read or written through the cell.
TEST(GridMapping, CellsWithoutAByteHaveNoOffset) {
  EXPECT_EQ(CellToOffset(2, 1), NoMapOffset);
  EXPECT_EQ(CellToOffset(4, 1), NoMapOffset);
  EXPECT_EQ(CellToOffset(352, 1), NoMapOffset);
  EXPECT_EQ(CellToOffset(0, 0), NoMapOffset);
  EXPECT_EQ(CellToOffset(0, 5), NoMapOffset);
  EXPECT_EQ(CellToOffset(5, 0), NoMapOffset);
  EXPECT_EQ(CellToOffset(-1, 5), NoMapOffset);
  EXPECT_EQ(CellToOffset(5, -1), NoMapOffset);
  EXPECT_EQ(CellToOffset(GridColumnCount, 5), NoMapOffset);
  EXPECT_EQ(CellToOffset(GridColumnCount + 1, 5), NoMapOffset);
  EXPECT_EQ(CellToOffset(5, GridRowCount), NoMapOffset);
  EXPECT_EQ(CellToOffset(INT_MIN, INT_MIN), NoMapOffset);
  EXPECT_EQ(CellToOffset(INT_MAX, INT_MAX), NoMapOffset);
  EXPECT_FALSE(IsPlaceholderCell(GridColumnCount + 1, 1));
  EXPECT_FALSE(IsPlaceholderCell(0, 1));
  EXPECT_FALSE(IsPlaceholderCell(-2, 1));
}

TEST(CellText, AfterReadCarriesGlyphOffsetAndCode) {
  EXPECT_EQ(ReadCellText(302, 4), "\x95\xBD \r\n302 : 4");
  EXPECT_EQ(ReadCellText(0, 0), "\x81\x40  \r\n0 : 0");
  EXPECT_EQ(ReadCellText(26575, 29), "\\\\ \r\n26575 : 29");
  EXPECT_EQ(ReadCellText(10, 255), std::string(UnknownTerrainGlyph) + " \r\n10 : 255");
}

// The longest and shortest numbers, glyphs of one, two and three bytes, and
// codes beyond the table, written out byte for byte.
TEST(CellText, AfterReadAtTheEdgesOfOffsetsAndCodes) {
  const std::pair<std::pair<int, int>, const char*> cases[] = {
      {{0, 0}, "\x81\x40  \r\n0 : 0"},                   // the sea: ideographic space and a space
      {{9, 1}, "\x8C\xCE \r\n9 : 1"},                     // lake, one-digit offset
      {{10, 17}, "\x89\xCD \r\n10 : 17"},                 // river mouth
      {{151, 18}, "\x81\x5E \r\n151 : 18"},               // road, the first byte of line 1
      {{9999, 30}, "// \r\n9999 : 30"},                     // bridge: two ASCII characters
      {{10000, 31}, "\x81\xA1 \r\n10000 : 31"},           // castle, five-digit offset
      {{26574, 34}, "\x94\x8E \r\n26574 : 34"},           // Hakata
      {{26575, 35}, "\x81\x48 \r\n26575 : 35"},           // the first code beyond the table
      {{26575, 255}, "\x81\x48 \r\n26575 : 255"},         // the longest text
  };
  for (const auto& [input, expected] : cases) {
    const auto [offset, code] = input;
    EXPECT_EQ(ReadCellText(offset, static_cast<TerrainCode>(code)), expected) << offset << ", " << code;
  }
}

TEST(CellText, AfterEditIsGlyphAndOneSpace) {
  EXPECT_EQ(EditCellText(4), "\x95\xBD ");
  EXPECT_EQ(EditCellText(0), "\x81\x40  ");
  EXPECT_EQ(EditCellText(30), "// ");
  EXPECT_EQ(EditCellText(200), std::string(UnknownTerrainGlyph) + " ");
}

// The read fills one cell per byte as it goes; placeholders and headers
// never get a text.
TEST(CellText, ReadingAMapFillsEveryMapCellAndNothingElse) {
  MemoryFileSystem files;
  files.files[u"MAPDATA.VLT"] = std::vector<std::uint8_t>(MapSize, 4);
  MapImage image{};
  std::vector<std::vector<std::string>> texts(GridColumnCount, std::vector<std::string>(GridRowCount));
  ReadMapImage(files, u"MAPDATA.VLT", image, [&](int offset, TerrainCode code) {
    const GridCell cell = OffsetToCell(offset);
    EXPECT_TRUE(texts[cell.column][cell.row].empty()) << "written twice: offset " << offset;
    texts[cell.column][cell.row] = ReadCellText(offset, code);
  });
  for (int column = 0; column < GridColumnCount; ++column) {
    for (int row = 0; row < GridRowCount; ++row) {
      const bool holdsByte = !IsHeaderCell(column, row) && !IsPlaceholderCell(column, row);
      EXPECT_EQ(texts[column][row].empty(), !holdsByte) << CellName(column, row);
    }
  }
}

// ---- the hexagon around a map byte ----

// Line 50, position 58 (column 101, row 30): its neighbours are the positions
// two above and below in its own line and one above and below in the lines
// on either side.
TEST(Neighbours, OfAnOddColumnCellAreInItsRowAndTheRowBelow) {
  const int offset = 50 * 151 + 58;
  ASSERT_EQ(OffsetToCell(offset), (GridCell{101, 30}));
  const std::pair<Side, int> expected[] = {
      {Side::North, 50 * 151 + 56},     {Side::NorthEast, 50 * 151 + 57}, {Side::SouthEast, 50 * 151 + 59},
      {Side::South, 50 * 151 + 60},     {Side::SouthWest, 49 * 151 + 59}, {Side::NorthWest, 49 * 151 + 57}};
  for (const auto& [side, neighbour] : expected) EXPECT_EQ(NeighbourOffset(offset, side), neighbour);
  EXPECT_EQ(NeighbourCell({101, 30}, Side::NorthEast), (GridCell{102, 30}));
  EXPECT_EQ(NeighbourCell({101, 30}, Side::SouthWest), (GridCell{100, 31}));
}

TEST(Neighbours, OfAnEvenColumnCellAreInItsRowAndTheRowAbove) {
  EXPECT_EQ(NeighbourCell({102, 30}, Side::NorthEast), (GridCell{103, 29}));
  EXPECT_EQ(NeighbourCell({102, 30}, Side::SouthEast), (GridCell{103, 30}));
  EXPECT_EQ(NeighbourCell({102, 30}, Side::SouthWest), (GridCell{101, 30}));
  EXPECT_EQ(NeighbourCell({102, 30}, Side::NorthWest), (GridCell{101, 29}));
  EXPECT_EQ(NeighbourCell({102, 30}, Side::North), (GridCell{102, 29}));
  EXPECT_EQ(NeighbourCell({102, 30}, Side::South), (GridCell{102, 31}));
}

TEST(Neighbours, EndAtTheEdgesAndThePlaceholders) {
  EXPECT_EQ(NeighbourOffset(0, Side::North), NoMapOffset);
  EXPECT_EQ(NeighbourOffset(0, Side::NorthEast), NoMapOffset) << "column 2, row 1 is a placeholder";
  EXPECT_EQ(NeighbourOffset(0, Side::SouthEast), 1);
  EXPECT_EQ(NeighbourOffset(0, Side::NorthWest), NoMapOffset);
  EXPECT_EQ(NeighbourOffset(150, Side::South), NoMapOffset);
  EXPECT_EQ(NeighbourOffset(MapSize - 2, Side::NorthEast), NoMapOffset) << "column 352";
  EXPECT_EQ(NeighbourOffset(MapSize - 2, Side::SouthWest), MapSize - 1);
}

TEST(Neighbours, AreMutualOnEverySide) {
  for (int offset = 0; offset < MapSize; ++offset) {
    for (Side side : AllSides) {
      const int next = NeighbourOffset(offset, side);
      if (next != NoMapOffset) {
        ASSERT_EQ(NeighbourOffset(next, Opposite(side)), offset) << offset;
      }
    }
  }
  EXPECT_EQ(Opposite(Side::NorthEast), Side::SouthWest);
  EXPECT_EQ(Opposite(Side::South), Side::North);
}

TEST(HexPositions, AreTheColumnAndTheHalfRowAndComeBack) {
  EXPECT_EQ(PositionOf(0).column, 1);
  EXPECT_EQ(PositionOf(0).halfRow, 0);
  EXPECT_EQ(PositionOf(1).column, 2);
  EXPECT_EQ(PositionOf(1).halfRow, 1);
  EXPECT_EQ(PositionOf(MapSize - 1).column, 351);
  EXPECT_EQ(PositionOf(MapSize - 1).halfRow, 150);
  for (int offset = 0; offset < MapSize; ++offset) ASSERT_EQ(OffsetAt(PositionOf(offset)), offset);
  EXPECT_EQ(OffsetAt({1, 1}), NoMapOffset) << "odd columns hold even heights";
  EXPECT_EQ(OffsetAt({2, 0}), NoMapOffset);
  EXPECT_EQ(OffsetAt({1, -2}), NoMapOffset);
  EXPECT_EQ(OffsetAt({1, 152}), NoMapOffset);
  EXPECT_EQ(OffsetAt({353, 1}), NoMapOffset);
}

}  // namespace
