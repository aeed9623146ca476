// Go to and the cell arguments of valtea-map read a cell the way players
// write it; the dialog says why it takes no other text.

#include <gtest/gtest.h>

#include <string>

#include "map/CellNames.h"
#include "model/EditorModel.h"

namespace {

struct GoToExample {
  const char* typed;  // Shift-JIS, as the field gives it
  int column;         // 0: refused; -1: the cell of map offset `row`
  int row;
  const char* refusal;
};

const GoToExample GoToExamples[] = {
    {"19:30", 19, 30, ""},
    {"19 : 30", 19, 30, ""},
    {"  19 :30 ", 19, 30, ""},
    {"１９：３０", 19, 30, ""},             // what a Japanese input method types
    {"１９　：　３０", 19, 30, ""},         // with full-width spaces
    {"1:1", 1, 1, ""},
    {"352:76", 352, 76, ""},
    {"2:1", 2, 1, ""},                      // a placeholder is a cell like any other
    {"@0", 1, 1, ""},
    {"@302", -1, 302, ""},
    {"@0x12E", -1, 302, ""},
    {"@0X12e", -1, 302, ""},
    {"＠３０２", -1, 302, ""},
    {"@ 302", -1, 302, ""},
    {"@26575", -1, 26575, ""},
    {"0:5", 0, 0, "そのマスは地図の外です。列は 1-352、行は 1-76 です"},
    {"353:5", 0, 0, "そのマスは地図の外です。列は 1-352、行は 1-76 です"},
    {"5:77", 0, 0, "そのマスは地図の外です。列は 1-352、行は 1-76 です"},
    {"99999999999999:1", 0, 0, "そのマスは地図の外です。列は 1-352、行は 1-76 です"},
    {"@26576", 0, 0, "そのオフセットは地図の外です。オフセットは 0-26575 です"},
    {"@0x7FFFFFFFFFFF", 0, 0, "そのオフセットは地図の外です。オフセットは 0-26575 です"},
    {"", 0, 0, "マスの位置 (列 : 行) か、@ とオフセットを入れてください"},
    {"19", 0, 0, "マスの位置 (列 : 行) か、@ とオフセットを入れてください"},
    {"19:", 0, 0, "マスの位置 (列 : 行) か、@ とオフセットを入れてください"},
    {"0x13:30", 0, 0, "マスの位置 (列 : 行) か、@ とオフセットを入れてください"},
    {"-1:5", 0, 0, "マスの位置 (列 : 行) か、@ とオフセットを入れてください"},
    {"@", 0, 0, "マスの位置 (列 : 行) か、@ とオフセットを入れてください"},
    {"@-3", 0, 0, "マスの位置 (列 : 行) か、@ とオフセットを入れてください"},
    {"平地", 0, 0, "マスの位置 (列 : 行) か、@ とオフセットを入れてください"},
    {"19:30:1", 0, 0, "マスの位置 (列 : 行) か、@ とオフセットを入れてください"},
    {"\x82", 0, 0, "マスの位置 (列 : 行) か、@ とオフセットを入れてください"},  // a lone lead byte
};

TEST(GoTo, ReadsACellAsPlayersWriteItOrSaysWhyNot) {
  for (const GoToExample& example : GoToExamples) {
    SCOPED_TRACE(example.typed);
    const GoToAnswer answer = ReadGoToText(example.typed);
    EXPECT_EQ(answer.refusal, example.refusal);
    if (example.column == -1) {
      ASSERT_TRUE(answer.cell);
      EXPECT_EQ(CellToOffset(answer.cell->column, answer.cell->row), example.row);
      continue;
    }
    if (example.column == 0) {
      EXPECT_FALSE(answer.cell);
    } else {
      ASSERT_TRUE(answer.cell);
      EXPECT_EQ(*answer.cell, (GridCell{example.column, example.row}));
    }
  }
}

// The dialog's own line names both ways and the ranges.
TEST(GoTo, TheRuleNamesBothWaysAndTheirRanges) {
  const std::string rule = GoToRule();
  for (const char* part : {"19 : 30", "1-352", "1-76", "@302", "@0x12E", "0-26575"})
    EXPECT_NE(rule.find(part), std::string::npos) << part;
}

}  // namespace
