// What the window layer decides without a window: how a command's shortcut
// reads in its menu item and tooltip, and where a tool window opens.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "ui/CommandTexts.h"
#include "ui/ToolPlacement.h"

void PrintTo(const ScreenRect& rect, std::ostream* out) {
  *out << "{" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << "}";
}

namespace {

constexpr int F1 = 0x70, F8 = 0x77, F12 = 0x7B, Escape = 0x1B;

TEST(CommandTexts, TheShortcutIsWrittenOnceAndReadInTheMenuAndTheTooltip) {
  const struct {
    const char* caption;
    int keys;
    const char* menu;
    const char* tooltip;
  } commands[] = {
      {"開く(&O)...", ShortcutCtrl + 'O', "開く(&O)...\tCtrl+O", "開く(Ctrl+O)"},
      {"上書き保存(&S)", ShortcutCtrl + 'S', "上書き保存(&S)\tCtrl+S", "上書き保存(Ctrl+S)"},
      {"前の問題へ(&B)", ShortcutShift + F8, "前の問題へ(&B)\tShift+F8", "前の問題へ(Shift+F8)"},
      {"やり直し(&R)", ShortcutCtrl + ShortcutShift + 'Z', "やり直し(&R)\tCtrl+Shift+Z", "やり直し(Ctrl+Shift+Z)"},
      {"目次(&C)...", F1, "目次(&C)...\tF1", "目次(F1)"},
      {"何か", F12, "何か\tF12", "何か(F12)"},
      {"マスへ移動(&G)...", ShortcutCtrl + 'G', "マスへ移動(&G)...\tCtrl+G", "マスへ移動(Ctrl+G)"},
      {"コピーを保存(&A)...", 0, "コピーを保存(&A)...", "コピーを保存"},
      {"終了(&X)", 0, "終了(&X)", "終了"},
      // A key without a name shows no shortcut rather than a wrong one.
      {"閉じる", Escape, "閉じる", "閉じる"},
      // Brackets that are no access key stay.
      {"地図 (絵)", 0, "地図 (絵)", "地図 (絵)"},
  };
  for (const auto& command : commands) {
    EXPECT_EQ(MenuItemText(command.caption, command.keys), command.menu);
    EXPECT_EQ(ToolTipText(command.caption, command.keys), command.tooltip);
  }
}

// A screen of 1280 x 1024 with a task bar of 40 pixels, and the main window
// as it opens at (50, 50).
const ScreenRect Work{0, 0, 1280, 984};
const ScreenRect Main{50, 50, 920, 640};

TEST(ToolPlacement, OpensBesideTheMainWindowWhereverThereIsRoom) {
  const struct {
    const char* name;
    ToolWindowRoom room;
    int width, height;
    ScreenRect expected;
  } cases[] = {
      {"right, at the main window's top", {Work, Main, {}}, 340, 300, {920, 50, 1260, 350}},
      {"below, where there is more room than right", {Work, Main, {}}, 600, 300, {50, 640, 650, 940}},
      {"right, narrowed to the room there", {Work, Main, {}}, 400, 600, {920, 50, 1280, 650}},
      {"below, where the right is too narrow",
       {{0, 0, 1100, 984}, Main, {}}, 600, 300, {50, 640, 650, 940}},
      {"below, shortened to the room there",
       {{0, 0, 1100, 984}, Main, {}}, 600, 500, {50, 640, 650, 984}},
      {"right, under a tool window already there",
       {Work, Main, {{920, 50, 1260, 350}}}, 340, 300, {920, 350, 1260, 650}},
      {"below, once the right is full",
       {Work, Main, {{920, 0, 1280, 984}}}, 340, 300, {50, 640, 390, 940}},
      {"a main window off to the right leaves room on no side but below",
       {Work, {400, 50, 1280, 640}, {}}, 340, 300, {400, 640, 740, 940}},
      {"taller than the work area: as tall as it",
       {Work, Main, {}}, 340, 5000, {920, 0, 1260, 984}},
      {"no room beside it: in the corner that hides least of the main window",
       {{0, 0, 1000, 700}, {0, 0, 900, 650}, {}}, 400, 300, {600, 400, 1000, 700}},
  };
  for (const auto& example : cases) {
    SCOPED_TRACE(example.name);
    EXPECT_EQ(PlaceToolWindow(example.room, example.width, example.height, 320, 240), example.expected);
  }
}

// On a second monitor left of the first, in negative coordinates.
TEST(ToolPlacement, StaysOnTheMainWindowsMonitor) {
  const ToolWindowRoom room{{-1920, 0, 0, 1040}, {-1900, 100, -1000, 700}, {}};
  const ScreenRect frame = PlaceToolWindow(room, 500, 400, 320, 240);
  EXPECT_EQ(frame, (ScreenRect{-1000, 100, -500, 500}));
}

}  // namespace
