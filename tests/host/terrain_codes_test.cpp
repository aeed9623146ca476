// The terrain code table as the game's files and screens need it: the exact
// Shift-JIS bytes of every name and glyph, and which codes the road chooser
// may turn into which.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>

#include "map/RoadNetwork.h"
#include "map/TerrainCodes.h"
#include "map/TerrainTraits.h"

namespace {

// "8A 43" -> the two bytes 8A 43. Written out in hex so that the expected
// texts do not depend on how the compiler converts literals.
std::string Bytes(const std::string& hex) {
  std::istringstream stream(hex);
  std::string result;
  unsigned int byte = 0;
  while (stream >> std::hex >> byte) result += static_cast<char>(byte);
  return result;
}

struct CodeTexts {
  const char* name;
  const char* glyph;
};

// Code by code: the full name and the glyph in code page 932.
const CodeTexts ExpectedTexts[TerrainCodeCount] = {
    {"8A 43", "81 40 20"},                 // 0 sea: ideographic space and a space
    {"8C CE", "8C CE"},                    // 1 lake
    {"8E 52 8A 78", "8E 52"},              // 2 mountains
    {"8B 75 97 CB", "8B 75"},              // 3 hills
    {"95 BD 92 6E", "95 BD"},              // 4 plain
    {"8E BC 92 6E", "8E BC"},              // 5 marsh
    {"8D BB 95 6C", "8D BB"},              // 6 sandy beach
    {"8D 60 98 70", "98 70"},              // 7 harbour
    {"8D 60 98 70", "98 70"},              // 8
    {"8D 60 98 70", "98 70"},              // 9
    {"8D 60 98 70", "98 70"},              // 10
    {"8D 60 98 70", "98 70"},              // 11
    {"8D 60 98 70", "98 70"},              // 12
    {"8D 60 98 70", "98 70"},              // 13
    {"8D 60 98 70", "98 70"},              // 14
    {"94 6E 8E 59 92 6E", "94 6E"},        // 15 horse-breeding land
    {"8B 9E 93 73 8C E4 8F 8A", "8C E4"},  // 16 imperial palace
    {"89 CD 8C FB", "89 CD"},              // 17 river mouth
    {"8A 58 93 B9 81 40 81 5E", "81 5E"},  // 18 road, fullwidth solidus
    {"8A 58 93 B9 81 40 81 5F", "81 5F"},  // 19 fullwidth reverse solidus
    {"8A 58 93 B9 81 40 83 A9", "83 A9"},  // 20 Greek capital lamda
    {"8A 58 93 B9 81 40 81 C9", "81 C9"},  // 21 logical or
    {"8A 58 93 B9 81 40 81 83", "81 83"},  // 22 fullwidth less-than
    {"8A 58 93 B9 81 40 81 84", "81 84"},  // 23 fullwidth greater-than
    {"8A 58 93 B9 81 40 93 FC", "93 FC"},  // 24 ideograph "enter"
    {"8A 58 93 B9 81 40 84 54", "84 54"},  // 25 Cyrillic capital U
    {"8A 58 93 B9 81 40 83 B2", "83 B2"},  // 26 Greek capital upsilon
    {"8A 58 93 B9 81 40 90 6C", "90 6C"},  // 27 ideograph "person"
    {"8A 58 93 B9 81 40 83 B4", "83 B4"},  // 28 Greek capital chi
    {"8B B4 81 40 81 40 5C 5C", "5C 5C"},  // 29 bridge, two ASCII backslashes
    {"8B B4 81 40 81 40 2F 2F", "2F 2F"},  // 30 bridge, two ASCII slashes
    {"96 7B 8F E9", "81 A1"},              // 31 main castle, black square
    {"8B 9E 93 73", "8B 9E"},              // 32 Kyoto
    {"8D E4", "8D E4"},                    // 33 Sakai
    {"94 8E 91 BD", "94 8E"},              // 34 Hakata
};

bool InRange(int code, int first, int last) { return code >= first && code <= last; }

TEST(TerrainTexts, EveryNameAndGlyphIsItsShiftJisBytes) {
  for (int code = 0; code < TerrainCodeCount; ++code) {
    SCOPED_TRACE("code " + std::to_string(code));
    EXPECT_EQ(TerrainNames[code], Bytes(ExpectedTexts[code].name));
    EXPECT_EQ(TerrainGlyphs[code], Bytes(ExpectedTexts[code].glyph));
    EXPECT_EQ(NameOf(static_cast<TerrainCode>(code)), TerrainNames[code]);
    EXPECT_EQ(GlyphOf(static_cast<TerrainCode>(code)), TerrainGlyphs[code]);
  }
}

TEST(TerrainTexts, SeaGlyphLooksEmptyButIsNot) {
  EXPECT_EQ(GlyphOf(0), Bytes("81 40 20"));
  EXPECT_EQ(GlyphOf(0).size(), 3u);
}

TEST(TerrainTexts, ChooserListsRoadsAndBridgesThenOpenTerrain) {
  const int codes[RoadChoiceCount] = {18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 3, 4, 5, 6};
  for (int index = 0; index < RoadChoiceCount; ++index) {
    SCOPED_TRACE("index " + std::to_string(index));
    EXPECT_EQ(RoadChoices[index], Bytes(ExpectedTexts[codes[index]].name));
  }
  EXPECT_EQ(RoadChoices[13], Bytes("8B 75 97 CB"));  // hills
  EXPECT_EQ(RoadChoices[16], Bytes("8D BB 95 6C"));  // sandy beach
}

// Bytes beyond the table come from damaged or foreign maps; they must show as
// something visible and never be read from past the end of the tables.
TEST(TerrainTexts, BytesBeyondTheTableShowStandIns) {
  EXPECT_EQ(UnknownTerrainGlyph, Bytes("81 48"));  // fullwidth question mark
  EXPECT_EQ(UnknownTerrainName, Bytes("95 73 96 BE"));
  const std::set<std::string_view> tableGlyphs(TerrainGlyphs.begin(), TerrainGlyphs.end());
  EXPECT_EQ(tableGlyphs.count(UnknownTerrainGlyph), 0u) << "must not pass for a real terrain";
  for (int code = TerrainCodeCount; code <= 255; ++code) {
    SCOPED_TRACE("code " + std::to_string(code));
    EXPECT_EQ(GlyphOf(static_cast<TerrainCode>(code)), UnknownTerrainGlyph);
    EXPECT_EQ(NameOf(static_cast<TerrainCode>(code)), UnknownTerrainName);
  }
}

TEST(RoadChooser, OnlyRoadsBridgesAndFourOpenKindsAreEditable) {
  int editable = 0;
  for (int value = 0; value <= 255; ++value) {
    SCOPED_TRACE("code " + std::to_string(value));
    const auto code = static_cast<TerrainCode>(value);
    const bool expected = InRange(value, 3, 6) || InRange(value, 18, 30);
    EXPECT_EQ(IsEditable(code), expected);
    EXPECT_EQ(ChooserIndexOf(code) != NoRoadChoice, expected);
    editable += expected ? 1 : 0;
  }
  EXPECT_EQ(editable, RoadChoiceCount);
}

TEST(RoadChooser, ConversionsAreInverseOverAllByteValues) {
  for (int value = 0; value <= 255; ++value) {
    SCOPED_TRACE("code " + std::to_string(value));
    const auto code = static_cast<TerrainCode>(value);
    const int index = ChooserIndexOf(code);
    if (index == NoRoadChoice) continue;
    ASSERT_GE(index, 0);
    ASSERT_LT(index, RoadChoiceCount);
    EXPECT_EQ(CodeOfChooserIndex(index), code);
    EXPECT_EQ(RoadChoices[index], NameOf(code));
  }
  std::set<int> codes;
  for (int index = 0; index < RoadChoiceCount; ++index) {
    const TerrainCode code = CodeOfChooserIndex(index);
    EXPECT_EQ(ChooserIndexOf(code), index) << "index " << index;
    codes.insert(code);
  }
  EXPECT_EQ(codes.size(), static_cast<std::size_t>(RoadChoiceCount)) << "two entries share a code";
}

TEST(RoadChooser, KnownEntries) {
  EXPECT_EQ(ChooserIndexOf(18), 0);
  EXPECT_EQ(ChooserIndexOf(30), 12);
  EXPECT_EQ(ChooserIndexOf(3), 13);
  EXPECT_EQ(ChooserIndexOf(4), 14);
  EXPECT_EQ(ChooserIndexOf(6), 16);
  EXPECT_EQ(CodeOfChooserIndex(0), 18);
  EXPECT_EQ(CodeOfChooserIndex(12), 30);
  EXPECT_EQ(CodeOfChooserIndex(13), 3);
  EXPECT_EQ(CodeOfChooserIndex(14), 4);
  EXPECT_EQ(CodeOfChooserIndex(16), 6);
  for (int code : {0, 1, 2, 7, 14, 17, 31, 34, 35, 255})
    EXPECT_EQ(ChooserIndexOf(static_cast<TerrainCode>(code)), NoRoadChoice) << "code " << code;
}

// ---- which sides the road pieces join ----

// Which cells a piece at 101:30 leads to, read off each glyph's strokes and
// the map: up-right is 102:30, down-right 102:31, up-left 100:30, down-left
// 100:31 (an odd column's slanted neighbours share its row and the next).
TEST(RoadJoins, LeadToTheCellsTheGlyphsPointAt) {
  const std::map<int, std::string> expected = {
      {18, "100:31 102:30"},                // ／
      {19, "100:30 102:31"},                // ＼
      {20, "100:31 102:31"},                // Λ
      {21, "100:30 102:30"},                // ∨
      {22, "102:30 102:31"},                // ＜
      {23, "100:30 100:31"},                // ＞
      {24, "100:30 100:31 102:31"},         // 入
      {25, "100:30 100:31 102:30"},         // У
      {26, "100:30 102:30 102:31"},         // Υ
      {27, "100:31 102:30 102:31"},         // 人
      {28, "100:30 100:31 102:30 102:31"},  // Χ
      {29, "100:30 102:31"},                // bridge, laid like ＼
      {30, "100:31 102:30"},                // bridge, laid like ／
  };
  for (int code = 0; code < 256; ++code) {
    std::set<std::string> cells;
    for (Side side : AllSides) {
      if (!Joins(static_cast<TerrainCode>(code), side)) continue;
      const GridCell cell = NeighbourCell({101, 30}, side);
      cells.insert(std::to_string(cell.column) + ":" + std::to_string(cell.row));
    }
    std::string joined;
    for (const std::string& cell : cells) joined += (joined.empty() ? "" : " ") + cell;
    const auto entry = expected.find(code);
    EXPECT_EQ(joined, entry == expected.end() ? "" : entry->second) << "code " << code;
  }
}

TEST(RoadJoins, EndAtHarboursThePalaceCastlesAndCities) {
  std::set<int> ends;
  for (int code = 0; code < 256; ++code)
    if (IsRoadEnd(static_cast<TerrainCode>(code))) ends.insert(code);
  EXPECT_EQ(ends, (std::set<int>{7, 8, 9, 10, 11, 12, 13, 14, 16, 31, 32, 33, 34}));
}

// A road meets a river on a bridge, so a river mouth is water like the sea
// and lakes; new roads go on the open land only.
TEST(TerrainTraits, WaterAndOpenLand) {
  std::set<int> water, open;
  for (int code = 0; code < 256; ++code) {
    if (TraitsOf(static_cast<TerrainCode>(code)).water) water.insert(code);
    if (TraitsOf(static_cast<TerrainCode>(code)).openLand) open.insert(code);
  }
  EXPECT_EQ(water, (std::set<int>{0, 1, 17}));
  EXPECT_EQ(open, (std::set<int>{3, 4, 5, 6, 15}));
}

}  // namespace
