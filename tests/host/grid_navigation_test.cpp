// The grid view's navigation rules at every edge: keys, pages, wheel, scroll
// bars, hit-testing, mouse tracking with its timer, and when a click is due.

#include "ui/GridNavigation.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

void PrintTo(const GridCell& cell, std::ostream* out) { *out << "(" << cell.column << ", " << cell.row << ")"; }

namespace {

// The grid's client area in the main window at 96 DPI: 40 columns and 26 rows
// fully visible (700 = 17 + 40 * 17 + 3 pixels, 459 = 17 + 26 * 17).
constexpr int ClientWidth = 700;
constexpr int ClientHeight = 459;
constexpr int Pitch = 17;
constexpr int VisibleColumns = 40;
constexpr int VisibleRows = 26;
constexpr int LastFirstColumn = LastGridColumn - VisibleColumns + 1;  // 313
constexpr int LastFirstRow = LastGridRow - VisibleRows + 1;           // 51

GridNavigation StandardGrid() {
  GridNavigation grid;
  grid.SetClientSize(ClientWidth, ClientHeight);
  return grid;
}

// A pixel in the middle of a cell, as the view stands.
PixelPoint MiddleOf(const GridNavigation& grid, int column, int row) {
  return {grid.Columns().Start(column) + 8, grid.Rows().Start(row) + 8};
}

// Puts the current cell somewhere by keys, then scrolls the view to `view`.
void Place(GridNavigation& grid, GridCell current, GridCell view) {
  grid.PressKey(GridKey::Home, true);
  for (int column = 1; column < current.column; ++column) grid.PressKey(GridKey::Right, false);
  for (int row = 1; row < current.row; ++row) grid.PressKey(GridKey::Down, false);
  grid.ScrollColumns(ScrollRequest::ToPosition, view.column);
  grid.ScrollRows(ScrollRequest::ToPosition, view.row);
  ASSERT_EQ(grid.CurrentCell(), current);
  ASSERT_EQ(grid.ViewPosition(), view);
}

TEST(GridNavigationLayout, StartsAtTheFirstCellWithTheStandardClientSize) {
  const GridNavigation grid = StandardGrid();
  EXPECT_EQ(grid.CurrentCell(), (GridCell{1, 1}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, 1}));
  EXPECT_EQ(grid.LastFullyVisibleCell(), (GridCell{VisibleColumns, VisibleRows}));
  EXPECT_EQ(grid.LastViewPosition(), (GridCell{LastFirstColumn, LastFirstRow}));
  EXPECT_EQ(grid.Columns().Page(), VisibleColumns - 1);
  EXPECT_EQ(grid.Rows().Page(), VisibleRows - 1);
}

TEST(GridNavigationLayout, ACellCountsAsFullyVisibleWhenItsSixteenPixelsFitEvenWithoutItsLine) {
  GridNavigation grid;
  // Column 40 spans 680..695, its line is pixel 696.
  grid.SetClientSize(696, 459);
  EXPECT_EQ(grid.LastFullyVisibleCell().column, 40);
  grid.SetClientSize(695, 459);
  EXPECT_EQ(grid.LastFullyVisibleCell().column, 39);
  EXPECT_EQ(grid.LastViewPosition().column, LastGridColumn - 39 + 1);
}

TEST(GridNavigationLayout, ATinyClientStillHasOneCellAndAPageOfOne) {
  GridNavigation grid;
  grid.SetClientSize(0, 20);
  EXPECT_EQ(grid.LastFullyVisibleCell(), (GridCell{1, 1}));
  EXPECT_EQ(grid.LastViewPosition(), (GridCell{LastGridColumn, LastGridRow}));
  EXPECT_EQ(grid.Columns().Page(), 1);
  EXPECT_TRUE(grid.PressKey(GridKey::PageDown, false));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{1, 2}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, 2}));
  EXPECT_TRUE(grid.PressKey(GridKey::Right, true));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{2, 2}));
}

TEST(GridNavigationLayout, AClientLargerThanTheGridNeverScrolls) {
  GridNavigation grid;
  grid.SetClientSize(10000, 2000);
  EXPECT_EQ(grid.LastFullyVisibleCell(), (GridCell{LastGridColumn, LastGridRow}));
  EXPECT_EQ(grid.LastViewPosition(), (GridCell{1, 1}));
  grid.ScrollColumns(ScrollRequest::LineForward);
  grid.ScrollRows(ScrollRequest::ToEnd);
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, 1}));
  EXPECT_TRUE(grid.PressKey(GridKey::End, true));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, 1}));
  EXPECT_EQ(grid.Columns().Page(), LastGridColumn - 1);
}

TEST(GridNavigationLayout, ResizingClampsTheViewToItsNewLimit) {
  GridNavigation grid = StandardGrid();
  grid.PressKey(GridKey::End, true);
  EXPECT_EQ(grid.ViewPosition(), (GridCell{LastFirstColumn, LastFirstRow}));
  grid.SetClientSize(ClientWidth + 10 * Pitch, ClientHeight + 5 * Pitch);
  EXPECT_EQ(grid.ViewPosition(), (GridCell{LastFirstColumn - 10, LastFirstRow - 5}));
  EXPECT_EQ(grid.LastFullyVisibleCell(), (GridCell{LastGridColumn, LastGridRow}));
}

TEST(GridNavigationLayout, CellPixelsFollowTheViewAndTheHeaderStaysPut) {
  GridNavigation grid = StandardGrid();
  grid.ScrollColumns(ScrollRequest::ToPosition, 100);
  EXPECT_EQ(grid.Columns().Start(0), 0);
  EXPECT_EQ(grid.Columns().Start(100), Pitch);
  EXPECT_EQ(grid.Columns().Start(101), 2 * Pitch);
  EXPECT_LT(grid.Columns().Start(99), Pitch);
  EXPECT_FALSE(grid.IsCellInView(99, 1));
  EXPECT_TRUE(grid.IsCellInView(100, 1));
  EXPECT_TRUE(grid.IsCellInView(0, 0));
  EXPECT_TRUE(grid.IsCellInView(140, 26));   // partly: starts at pixel 697 of 700
  EXPECT_FALSE(grid.IsCellInView(140, 27));  // row 27 starts at pixel 459 of 459
  EXPECT_FALSE(grid.IsCellInView(141, 1));
}

TEST(GridNavigationLayout, RowPartlyInViewOnlyWhenItsFirstPixelIsInside) {
  GridNavigation grid;
  grid.SetClientSize(ClientWidth, ClientHeight + 1);
  EXPECT_TRUE(grid.IsCellInView(1, 27));  // starts at pixel 459
  grid.SetClientSize(ClientWidth, ClientHeight);
  EXPECT_FALSE(grid.IsCellInView(1, 27));
}

TEST(GridNavigationLayout, EndIsAfterTheLastCellsLine) {
  GridNavigation grid = StandardGrid();
  grid.PressKey(GridKey::End, true);
  EXPECT_EQ(grid.Columns().End(), Pitch * (VisibleColumns + 1));  // 697: three pixels are left over
  EXPECT_EQ(grid.Rows().End(), Pitch * (VisibleRows + 1));
}

TEST(GridNavigationLayout, IndicesMeetingARangeIncludeTheHeaderAndPartlyVisibleCells) {
  GridNavigation grid = StandardGrid();
  grid.ScrollColumns(ScrollRequest::ToPosition, 10);
  EXPECT_EQ(grid.Columns().IndicesMeeting(0, 17), (std::vector<int>{0}));
  EXPECT_EQ(grid.Columns().IndicesMeeting(16, 18), (std::vector<int>{0, 10}));
  EXPECT_EQ(grid.Columns().IndicesMeeting(17, 34), (std::vector<int>{10}));
  EXPECT_EQ(grid.Columns().IndicesMeeting(33, 35), (std::vector<int>{10, 11}));
  EXPECT_EQ(grid.Columns().IndicesMeeting(20, 20), (std::vector<int>{}));
  const std::vector<int> all = grid.Columns().IndicesMeeting(0, ClientWidth);
  ASSERT_EQ(all.size(), 1u + VisibleColumns + 1);  // header, 40 full, one partly
  EXPECT_EQ(all[1], 10);
  EXPECT_EQ(all.back(), 10 + VisibleColumns);
  // Nothing past the client area or past the last cell.
  EXPECT_EQ(grid.Columns().IndicesMeeting(0, 5000).size(), all.size());
  grid.ScrollColumns(ScrollRequest::ToEnd);
  EXPECT_EQ(grid.Columns().IndicesMeeting(680, ClientWidth), (std::vector<int>{LastGridColumn}));
  EXPECT_EQ(grid.Columns().IndicesMeeting(697, ClientWidth), (std::vector<int>{}));
}

TEST(GridNavigationLayout, OtherGeometriesScaleEveryRule) {
  GridNavigation grid(GridGeometry{24, 2});
  grid.SetClientSize(26 + 10 * 26 + 24, 26 + 5 * 26 + 23);
  EXPECT_EQ(grid.LastFullyVisibleCell(), (GridCell{11, 5}));
  EXPECT_EQ(grid.HitTest({25, 30}).kind, HitKind::HeaderCell);
  EXPECT_EQ(grid.HitTest({26, 51}).cell, (GridCell{1, 1}));
  EXPECT_EQ(grid.HitTest({52, 52}).cell, (GridCell{2, 2}));
  EXPECT_EQ(grid.Columns().Start(3), 78);
}

TEST(GridNavigationHitTest, LinesBelongToTheCellBeforeThem) {
  const GridNavigation grid = StandardGrid();
  EXPECT_EQ(grid.HitTest({0, 0}).kind, HitKind::HeaderCell);
  EXPECT_EQ(grid.HitTest({16, 40}).kind, HitKind::HeaderCell);  // the header column's line
  EXPECT_EQ(grid.HitTest({40, 16}).kind, HitKind::HeaderCell);
  const GridHit first = grid.HitTest({17, 17});
  EXPECT_EQ(first.kind, HitKind::Cell);
  EXPECT_EQ(first.cell, (GridCell{1, 1}));
  EXPECT_EQ(grid.HitTest({33, 33}).cell, (GridCell{1, 1}));
  EXPECT_EQ(grid.HitTest({34, 34}).cell, (GridCell{2, 2}));
  EXPECT_EQ(grid.HitTest({699, 458}).cell, (GridCell{41, 26}));
}

TEST(GridNavigationHitTest, OutsideTheClientAndBeyondTheLastCell) {
  GridNavigation grid = StandardGrid();
  EXPECT_EQ(grid.HitTest({-1, 20}).kind, HitKind::OutsideClient);
  EXPECT_EQ(grid.HitTest({20, -1}).kind, HitKind::OutsideClient);
  EXPECT_EQ(grid.HitTest({ClientWidth, 20}).kind, HitKind::OutsideClient);
  EXPECT_EQ(grid.HitTest({20, ClientHeight}).kind, HitKind::OutsideClient);
  grid.PressKey(GridKey::End, true);
  EXPECT_EQ(grid.HitTest({696, 40}).cell, (GridCell{LastGridColumn, LastFirstRow + 1}));
  EXPECT_EQ(grid.HitTest({697, 40}).kind, HitKind::BeyondLastCell);
  EXPECT_EQ(grid.HitTest({697, 5}).kind, HitKind::BeyondLastCell);  // right of the header row
}

struct KeyCase {
  GridCell start;
  GridKey key;
  bool control;
  GridCell expectedCell;
  bool expectedEvent;
};

void PrintTo(const KeyCase& c, std::ostream* out) {
  *out << "key " << static_cast<int>(c.key) << (c.control ? " with Ctrl" : "") << " at (" << c.start.column << ", "
       << c.start.row << ")";
}

class GridNavigationKeysAtCorners : public testing::TestWithParam<KeyCase> {};

// The view starts where the current cell puts it when approached by keys.
TEST_P(GridNavigationKeysAtCorners, ClampsAtTheEdgeAndRaisesAnEventOnlyWhenTheCellMoves) {
  const KeyCase& c = GetParam();
  GridNavigation grid = StandardGrid();
  grid.PressKey(GridKey::Home, true);
  if (c.start.column == LastGridColumn) grid.PressKey(GridKey::End, false);
  if (c.start.row == LastGridRow) {
    while (grid.PressKey(GridKey::Down, false)) {
    }
  }
  ASSERT_EQ(grid.CurrentCell(), c.start);
  EXPECT_EQ(grid.PressKey(c.key, c.control), c.expectedEvent);
  EXPECT_EQ(grid.CurrentCell(), c.expectedCell);
  // A moved cell is always brought into view (Ctrl+Down may scroll an unmoved one away).
  const GridCell current = grid.CurrentCell();
  if (c.expectedEvent) {
    EXPECT_TRUE(grid.IsCellInView(current.column, current.row));
  }
}

constexpr GridCell TopLeft{1, 1};
constexpr GridCell TopRight{LastGridColumn, 1};
constexpr GridCell BottomLeft{1, LastGridRow};
constexpr GridCell BottomRight{LastGridColumn, LastGridRow};

INSTANTIATE_TEST_SUITE_P(
    EveryKey, GridNavigationKeysAtCorners,
    testing::Values(
        // Top left.
        KeyCase{TopLeft, GridKey::Left, false, TopLeft, false}, KeyCase{TopLeft, GridKey::Up, false, TopLeft, false},
        KeyCase{TopLeft, GridKey::Right, false, {2, 1}, true}, KeyCase{TopLeft, GridKey::Down, false, {1, 2}, true},
        KeyCase{TopLeft, GridKey::PageUp, false, TopLeft, false},
        KeyCase{TopLeft, GridKey::PageDown, false, {1, 26}, true},
        KeyCase{TopLeft, GridKey::Home, false, TopLeft, false},
        KeyCase{TopLeft, GridKey::End, false, TopRight, true},
        KeyCase{TopLeft, GridKey::Home, true, TopLeft, false},
        KeyCase{TopLeft, GridKey::End, true, BottomRight, true},
        KeyCase{TopLeft, GridKey::PageUp, true, TopLeft, false},
        KeyCase{TopLeft, GridKey::PageDown, true, {1, 26}, true},
        KeyCase{TopLeft, GridKey::Left, true, TopLeft, false},
        KeyCase{TopLeft, GridKey::Right, true, {40, 1}, true},
        KeyCase{TopLeft, GridKey::Up, true, TopLeft, false}, KeyCase{TopLeft, GridKey::Down, true, TopLeft, false},
        // Top right.
        KeyCase{TopRight, GridKey::Right, false, TopRight, false},
        KeyCase{TopRight, GridKey::Up, false, TopRight, false},
        KeyCase{TopRight, GridKey::Left, false, {351, 1}, true},
        KeyCase{TopRight, GridKey::End, false, TopRight, false},
        KeyCase{TopRight, GridKey::Home, false, TopLeft, true},
        KeyCase{TopRight, GridKey::Right, true, TopRight, false},
        KeyCase{TopRight, GridKey::Left, true, {LastGridColumn - 39, 1}, true},
        KeyCase{TopRight, GridKey::End, true, BottomRight, true},
        // Bottom left.
        KeyCase{BottomLeft, GridKey::Down, false, BottomLeft, false},
        KeyCase{BottomLeft, GridKey::Left, false, BottomLeft, false},
        KeyCase{BottomLeft, GridKey::Up, false, {1, 75}, true},
        KeyCase{BottomLeft, GridKey::PageDown, false, BottomLeft, false},
        KeyCase{BottomLeft, GridKey::PageUp, false, {1, 51}, true},
        KeyCase{BottomLeft, GridKey::PageDown, true, BottomLeft, false},
        KeyCase{BottomLeft, GridKey::PageUp, true, {1, LastFirstRow}, true},
        KeyCase{BottomLeft, GridKey::Down, true, BottomLeft, false},
        KeyCase{BottomLeft, GridKey::Home, true, TopLeft, true},
        // Bottom right.
        KeyCase{BottomRight, GridKey::Right, false, BottomRight, false},
        KeyCase{BottomRight, GridKey::Down, false, BottomRight, false},
        KeyCase{BottomRight, GridKey::PageDown, false, BottomRight, false},
        KeyCase{BottomRight, GridKey::End, false, BottomRight, false},
        KeyCase{BottomRight, GridKey::End, true, BottomRight, false},
        KeyCase{BottomRight, GridKey::Right, true, BottomRight, false},
        KeyCase{BottomRight, GridKey::PageDown, true, BottomRight, false},
        KeyCase{BottomRight, GridKey::Home, false, BottomLeft, true},
        KeyCase{BottomRight, GridKey::Home, true, TopLeft, true}));

TEST(GridNavigationKeys, ArrowsScrollTheViewByTheLeastAmount) {
  GridNavigation grid = StandardGrid();
  Place(grid, {40, 26}, {1, 1});
  EXPECT_TRUE(grid.PressKey(GridKey::Right, false));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{2, 1}));
  EXPECT_TRUE(grid.PressKey(GridKey::Down, false));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{2, 2}));
  // Back inside the view: no scrolling until the first column is passed.
  grid.PressKey(GridKey::Left, false);
  EXPECT_EQ(grid.ViewPosition(), (GridCell{2, 2}));
  Place(grid, {2, 2}, {2, 2});
  EXPECT_TRUE(grid.PressKey(GridKey::Left, false));
  EXPECT_TRUE(grid.PressKey(GridKey::Up, false));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, 1}));
}

TEST(GridNavigationKeys, AMovedCellScrollsBackIntoViewWhenTheScrollBarsHadMovedTheViewAway) {
  GridNavigation grid = StandardGrid();
  Place(grid, {5, 5}, {200, 40});
  EXPECT_TRUE(grid.PressKey(GridKey::Right, false));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{6, 5}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{6, 5}));
  Place(grid, {1, 5}, {200, 40});
  // A key that leaves the cell where it is moves nothing, the view included.
  EXPECT_FALSE(grid.PressKey(GridKey::Left, false));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{200, 40}));
}

// Set from outside (Undo and Redo): unlike a key, the cell scrolls into view
// also when it was current already, and no click is due.
TEST(GridNavigationSetCurrentCell, ScrollsTheCellFullyIntoViewByTheLeastAmount) {
  GridNavigation grid = StandardGrid();
  grid.SetCurrentCell({300, 70});
  EXPECT_EQ(grid.CurrentCell(), (GridCell{300, 70}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{261, 45}));  // the last fully visible cell
  grid.SetCurrentCell({5, 6});
  EXPECT_EQ(grid.ViewPosition(), (GridCell{5, 6}));
  grid.SetCurrentCell({44, 31});  // in view: nothing scrolls
  EXPECT_EQ(grid.ViewPosition(), (GridCell{5, 6}));

  grid.ScrollColumns(ScrollRequest::ToPosition, 200);
  grid.ScrollRows(ScrollRequest::ToPosition, 40);
  grid.SetCurrentCell({44, 31});
  EXPECT_EQ(grid.ViewPosition(), (GridCell{44, 31}));

  grid.SetCurrentCell({0, 999});
  EXPECT_EQ(grid.CurrentCell(), (GridCell{1, LastGridRow}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, LastFirstRow}));
}

TEST(GridNavigationKeys, PageDownMovesCellAndViewByTheSamePage) {
  GridNavigation grid = StandardGrid();
  Place(grid, {3, 10}, {1, 1});
  EXPECT_TRUE(grid.PressKey(GridKey::PageDown, false));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{3, 35}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, 26}));
  EXPECT_TRUE(grid.PressKey(GridKey::PageDown, false));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{3, 60}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, LastFirstRow}));  // 51, not 51 + 25
  EXPECT_TRUE(grid.PressKey(GridKey::PageDown, false));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{3, LastGridRow}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, LastFirstRow}));
  EXPECT_FALSE(grid.PressKey(GridKey::PageDown, false));
}

TEST(GridNavigationKeys, PageUpMovesCellAndViewByTheSamePage) {
  GridNavigation grid = StandardGrid();
  Place(grid, {3, 70}, {1, LastFirstRow});
  EXPECT_TRUE(grid.PressKey(GridKey::PageUp, false));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{3, 45}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, 26}));
  EXPECT_TRUE(grid.PressKey(GridKey::PageUp, false));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{3, 20}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, 1}));
  EXPECT_TRUE(grid.PressKey(GridKey::PageUp, false));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{3, 1}));
  EXPECT_FALSE(grid.PressKey(GridKey::PageUp, false));
}

TEST(GridNavigationKeys, PageWithTheViewAtItsLimitsStillMovesTheCell) {
  GridNavigation grid = StandardGrid();
  // The view is already at the bottom: only the cell moves.
  Place(grid, {3, 55}, {1, LastFirstRow});
  EXPECT_TRUE(grid.PressKey(GridKey::PageDown, false));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{3, LastGridRow}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, LastFirstRow}));
  // At the top, the page is counted from the view, not from the cell.
  Place(grid, {3, 2}, {1, 1});
  EXPECT_TRUE(grid.PressKey(GridKey::PageUp, false));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{3, 1}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, 1}));
}

TEST(GridNavigationKeys, CtrlLeftAndRightTurnPagesOfColumns) {
  GridNavigation grid = StandardGrid();
  Place(grid, {5, 3}, {1, 1});
  EXPECT_TRUE(grid.PressKey(GridKey::Right, true));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{44, 3}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{40, 1}));
  for (int page = 0; page < 7; ++page) grid.PressKey(GridKey::Right, true);
  EXPECT_EQ(grid.CurrentCell(), (GridCell{317, 3}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{LastFirstColumn, 1}));
  EXPECT_TRUE(grid.PressKey(GridKey::Right, true));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{LastGridColumn, 3}));
  EXPECT_FALSE(grid.PressKey(GridKey::Right, true));
  EXPECT_TRUE(grid.PressKey(GridKey::Left, true));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{LastGridColumn - 39, 3}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{LastFirstColumn - 39, 1}));
}

TEST(GridNavigationKeys, CtrlPageUpAndDownGoToTheEdgesOfTheViewWithoutScrolling) {
  GridNavigation grid = StandardGrid();
  Place(grid, {7, 30}, {5, 20});
  EXPECT_TRUE(grid.PressKey(GridKey::PageDown, true));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{7, 45}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{5, 20}));
  EXPECT_FALSE(grid.PressKey(GridKey::PageDown, true));
  EXPECT_TRUE(grid.PressKey(GridKey::PageUp, true));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{7, 20}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{5, 20}));
  EXPECT_FALSE(grid.PressKey(GridKey::PageUp, true));
}

TEST(GridNavigationKeys, CtrlUpAndDownScrollTheViewOnly) {
  GridNavigation grid = StandardGrid();
  Place(grid, {4, 4}, {1, 1});
  EXPECT_FALSE(grid.PressKey(GridKey::Down, true));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, 2}));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{4, 4}));
  for (int step = 0; step < 100; ++step) EXPECT_FALSE(grid.PressKey(GridKey::Down, true));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, LastFirstRow}));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{4, 4}));  // now out of view, as asked
  EXPECT_FALSE(grid.PressKey(GridKey::Up, true));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, LastFirstRow - 1}));
}

TEST(GridNavigationKeys, HomeAndEndKeepTheRowAndScrollTheColumns) {
  GridNavigation grid = StandardGrid();
  Place(grid, {100, 60}, {80, LastFirstRow});
  EXPECT_TRUE(grid.PressKey(GridKey::End, false));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{LastGridColumn, 60}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{LastFirstColumn, LastFirstRow}));
  EXPECT_TRUE(grid.PressKey(GridKey::Home, false));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{1, 60}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, LastFirstRow}));
  EXPECT_TRUE(grid.PressKey(GridKey::End, true));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{LastFirstColumn, LastFirstRow}));
  EXPECT_TRUE(grid.PressKey(GridKey::Home, true));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, 1}));
}

TEST(GridNavigationWheel, OneRowPerNotchAndNothingAtTheEnds) {
  GridNavigation grid = StandardGrid();
  Place(grid, {9, 1}, {1, 1});
  EXPECT_FALSE(grid.TurnWheelNotch(false));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{9, 1}));
  EXPECT_TRUE(grid.TurnWheelNotch(true));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{9, 2}));
  int events = 0;
  while (grid.TurnWheelNotch(true)) ++events;
  EXPECT_EQ(events, LastGridRow - 2);
  EXPECT_EQ(grid.CurrentCell(), (GridCell{9, LastGridRow}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, LastFirstRow}));
  EXPECT_TRUE(grid.TurnWheelNotch(false));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{9, LastGridRow - 1}));
}

TEST(GridNavigationWheel, PartialDeltasAddUpToWholeNotches) {
  GridNavigation grid;
  EXPECT_EQ(grid.TakeWheelNotches(120), 1);
  EXPECT_EQ(grid.TakeWheelNotches(-360), -3);
  EXPECT_EQ(grid.TakeWheelNotches(60), 0);
  EXPECT_EQ(grid.TakeWheelNotches(60), 1);
  EXPECT_EQ(grid.TakeWheelNotches(-40), 0);
  EXPECT_EQ(grid.TakeWheelNotches(-40), 0);
  EXPECT_EQ(grid.TakeWheelNotches(-40), -1);
  EXPECT_EQ(grid.TakeWheelNotches(-100), 0);
  EXPECT_EQ(grid.TakeWheelNotches(100), 0);
  EXPECT_EQ(grid.TakeWheelNotches(120), 1);
}

TEST(GridNavigationScrolling, LinesPagesAndThumbMoveOnlyTheView) {
  GridNavigation grid = StandardGrid();
  Place(grid, {3, 3}, {1, 1});
  grid.ScrollColumns(ScrollRequest::LineBack);
  grid.ScrollRows(ScrollRequest::PageBack);
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, 1}));
  grid.ScrollColumns(ScrollRequest::LineForward);
  grid.ScrollRows(ScrollRequest::LineForward);
  EXPECT_EQ(grid.ViewPosition(), (GridCell{2, 2}));
  grid.ScrollColumns(ScrollRequest::PageForward);
  grid.ScrollRows(ScrollRequest::PageForward);
  EXPECT_EQ(grid.ViewPosition(), (GridCell{41, 27}));
  grid.ScrollRows(ScrollRequest::PageForward);
  EXPECT_EQ(grid.ViewPosition().row, LastFirstRow);
  grid.ScrollColumns(ScrollRequest::PageBack);
  EXPECT_EQ(grid.ViewPosition().column, 2);
  grid.ScrollColumns(ScrollRequest::ToPosition, 5000);
  grid.ScrollRows(ScrollRequest::ToPosition, -3);
  EXPECT_EQ(grid.ViewPosition(), (GridCell{LastFirstColumn, 1}));
  grid.ScrollColumns(ScrollRequest::ToStart);
  grid.ScrollRows(ScrollRequest::ToEnd);
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, LastFirstRow}));
  grid.ScrollRows(ScrollRequest::LineForward);
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, LastFirstRow}));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{3, 3}));
}

TEST(GridNavigationMouse, PressMakesTheCellCurrentAtOnceAndReleaseRaisesOneEvent) {
  GridNavigation grid = StandardGrid();
  grid.PressLeftButton(MiddleOf(grid, 5, 7));
  EXPECT_TRUE(grid.IsTracking());
  EXPECT_EQ(grid.CurrentCell(), (GridCell{5, 7}));
  grid.MovePointer(MiddleOf(grid, 6, 9));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{6, 9}));
  EXPECT_TRUE(grid.ReleaseLeftButton(MiddleOf(grid, 8, 2)));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{8, 2}));
  EXPECT_FALSE(grid.IsTracking());
  EXPECT_FALSE(grid.ReleaseLeftButton(MiddleOf(grid, 9, 2)));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{8, 2}));
  grid.MovePointer(MiddleOf(grid, 10, 10));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{8, 2}));
}

TEST(GridNavigationMouse, ClickingTheCurrentCellStillRaisesTheEvent) {
  GridNavigation grid = StandardGrid();
  grid.PressLeftButton(MiddleOf(grid, 1, 1));
  EXPECT_TRUE(grid.ReleaseLeftButton(MiddleOf(grid, 1, 1)));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{1, 1}));
}

TEST(GridNavigationMouse, HeaderAndEmptyAreaPressesMoveNothingAndRaiseNothing) {
  GridNavigation grid = StandardGrid();
  Place(grid, {4, 4}, {LastFirstColumn, 1});
  for (PixelPoint point : {PixelPoint{5, 5}, PixelPoint{5, 100}, PixelPoint{100, 5}, PixelPoint{698, 100},
                           PixelPoint{698, 5}}) {
    grid.PressLeftButton(point);
    EXPECT_FALSE(grid.IsTracking());
    EXPECT_FALSE(grid.ReleaseLeftButton(MiddleOf(grid, 320, 3)));
    EXPECT_EQ(grid.CurrentCell(), (GridCell{4, 4}));
    EXPECT_EQ(grid.ViewPosition(), (GridCell{LastFirstColumn, 1}));
  }
}

TEST(GridNavigationMouse, APartlyVisibleCellScrollsFullyIntoView) {
  GridNavigation grid = StandardGrid();
  grid.PressLeftButton({698, 458});  // column 41, row 26: three pixels of the column show
  EXPECT_EQ(grid.CurrentCell(), (GridCell{41, 26}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{2, 1}));
  // While tracking the pointer meets the next partly visible column.
  grid.MovePointer({698, 100});
  EXPECT_EQ(grid.CurrentCell(), (GridCell{42, 5}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{3, 1}));
  EXPECT_TRUE(grid.ReleaseLeftButton({698, 100}));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{43, 5}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{4, 1}));
}

TEST(GridNavigationMouse, TrackingIgnoresThePointerOutsideTheCellsUntilTheTimerTicks) {
  GridNavigation grid = StandardGrid();
  grid.PressLeftButton(MiddleOf(grid, 3, 3));
  grid.MovePointer({ClientWidth + 50, -30});
  grid.MovePointer({8, 8});
  EXPECT_EQ(grid.CurrentCell(), (GridCell{3, 3}));
  EXPECT_TRUE(grid.ReleaseLeftButton({ClientWidth + 50, 40}));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{3, 3}));
}

TEST(GridNavigationTimer, TicksMoveOneCellInBothDirectionsAtOnce) {
  GridNavigation grid = StandardGrid();
  grid.PressLeftButton(MiddleOf(grid, 40, 26));
  const PixelPoint belowRight{ClientWidth + 20, ClientHeight + 20};
  grid.TimerTick(belowRight);
  EXPECT_EQ(grid.CurrentCell(), (GridCell{41, 27}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{2, 2}));
  for (int tick = 0; tick < 400; ++tick) grid.TimerTick(belowRight);
  EXPECT_EQ(grid.CurrentCell(), (GridCell{LastGridColumn, LastGridRow}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{LastFirstColumn, LastFirstRow}));
  const PixelPoint aboveLeft{-5, -5};
  grid.TimerTick(aboveLeft);
  EXPECT_EQ(grid.CurrentCell(), (GridCell{LastGridColumn - 1, LastGridRow - 1}));
  for (int tick = 0; tick < 400; ++tick) grid.TimerTick(aboveLeft);
  EXPECT_EQ(grid.CurrentCell(), (GridCell{1, 1}));
  EXPECT_EQ(grid.ViewPosition(), (GridCell{1, 1}));
  EXPECT_TRUE(grid.ReleaseLeftButton(aboveLeft));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{1, 1}));
}

TEST(GridNavigationTimer, EachAxisDecidesOnItsOwnWhereThePointerIs) {
  GridNavigation grid = StandardGrid();
  grid.PressLeftButton(MiddleOf(grid, 10, 10));
  // Over the header column (left of its end), inside the rows: left only.
  grid.TimerTick({16, 100});
  EXPECT_EQ(grid.CurrentCell(), (GridCell{9, 10}));
  // Over the header row: up only.
  grid.TimerTick({100, 16});
  EXPECT_EQ(grid.CurrentCell(), (GridCell{9, 9}));
  // Over cells: nothing.
  grid.TimerTick({17, 17});
  grid.TimerTick({696, 458});
  EXPECT_EQ(grid.CurrentCell(), (GridCell{9, 9}));
  // Past the last fully visible column's line (over the partly visible one): right.
  grid.TimerTick({697, 100});
  EXPECT_EQ(grid.CurrentCell(), (GridCell{10, 9}));
  // Past the last fully visible row, which ends at the client's bottom: down.
  grid.TimerTick({100, 459});
  EXPECT_EQ(grid.CurrentCell(), (GridCell{10, 10}));
}

TEST(GridNavigationTimer, TicksWithoutTrackingDoNothing) {
  GridNavigation grid = StandardGrid();
  grid.TimerTick({ClientWidth + 20, ClientHeight + 20});
  EXPECT_EQ(grid.CurrentCell(), (GridCell{1, 1}));
  grid.PressLeftButton({5, 5});  // header: no tracking
  grid.TimerTick({ClientWidth + 20, ClientHeight + 20});
  EXPECT_EQ(grid.CurrentCell(), (GridCell{1, 1}));
}

TEST(GridNavigationTimer, AbandonedTrackingOwesOneEvent) {
  GridNavigation grid = StandardGrid();
  EXPECT_FALSE(grid.AbandonTracking());
  grid.PressLeftButton(MiddleOf(grid, 4, 4));
  EXPECT_TRUE(grid.AbandonTracking());
  EXPECT_FALSE(grid.IsTracking());
  EXPECT_FALSE(grid.ReleaseLeftButton(MiddleOf(grid, 5, 5)));
  EXPECT_EQ(grid.CurrentCell(), (GridCell{4, 4}));
}

}  // namespace

// A new DPI gives the cells another size: the current cell and the view stay
// where they were, the view clamped to what the client shows at that size.
TEST(GridNavigationLayout, NewCellSizesKeepTheCurrentCellAndTheView) {
  GridNavigation grid = StandardGrid();
  Place(grid, {200, 60}, {180, 45});
  const struct {
    GridGeometry geometry;
    int width, height;
    GridCell view;
    int columnStart;  // where column 200 begins
  } steps[] = {
      // At 144 dpi: 24-pixel cells, 2-pixel lines, a client 1.5 times as large.
      {{24, 2}, 1050, 689, {180, 45}, 26 + 20 * 26},
      // A client that shows more rows than are left below row 45 moves the view up.
      {{24, 2}, 1050, 1300, {180, 28}, 26 + 20 * 26},
      {{16, 1}, ClientWidth, ClientHeight, {180, 28}, Pitch + 20 * Pitch},
  };
  for (const auto& step : steps) {
    grid.SetGeometry(step.geometry);
    grid.SetClientSize(step.width, step.height);
    EXPECT_EQ(grid.CurrentCell(), (GridCell{200, 60}));
    EXPECT_EQ(grid.ViewPosition(), step.view);
    EXPECT_EQ(grid.Columns().Start(200), step.columnStart);
  }
}
