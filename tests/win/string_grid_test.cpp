// The map grid view as a real window under Wine: mouse, keyboard, wheel and
// scroll bar messages sent to it, the click events its parent receives, and
// what it paints, read back from a bitmap.

#include "ui/StringGrid.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>
#include <stdexcept>
#include <vector>

#include "support/WindowTesting.h"
#include "ui/Dpi.h"

void PrintTo(const GridCell& cell, std::ostream* out) { *out << "(" << cell.column << ", " << cell.row << ")"; }

namespace {

constexpr int GridId = 101;
constexpr int ButtonId = 102;
constexpr wchar_t ParentClass[] = L"StringGridTestParent";

// The click events, each with the current cell at the time.
std::vector<GridCell> clicks;

LRESULT CALLBACK ParentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

int Pitch() { return Scale(Layout::GridCellPitch); }
int CellSize() { return Scale(Layout::GridCellSize); }

COLORREF SystemColor(int index) { return GetSysColor(index); }

// The control's client area in a bitmap: rendered afresh through
// WM_PRINTCLIENT, or copied from what is on the screen.
enum class Source { Rendered, Screen };

class Picture {
 public:
  explicit Picture(HWND window, Source source = Source::Rendered) {
    RECT client{};
    GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    // Fill with a colour the grid never uses, so that unpainted pixels show.
    const RECT all{0, 0, width_, height_};
    HBRUSH marker = CreateSolidBrush(RGB(1, 2, 3));
    FillRect(memory, &all, marker);
    DeleteObject(marker);
    if (source == Source::Rendered) {
      SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    } else {
      HDC windowDc = GetDC(window);
      BitBlt(memory, 0, 0, width_, height_, windowDc, 0, 0, SRCCOPY);
      ReleaseDC(window, windowDc);
    }
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    pixels_.assign(pixels, pixels + static_cast<std::size_t>(width_) * height_);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
  }

  COLORREF At(int x, int y) const {
    const DWORD pixel = pixels_.at(static_cast<std::size_t>(y) * width_ + x);
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
  }
  // How many pixels of the rectangle have the colour.
  int Count(const RECT& area, COLORREF colour) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) count += At(x, y) == colour ? 1 : 0;
    return count;
  }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<DWORD> pixels_;
};

class StringGridTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = ParentProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = ParentClass;
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    RegisterClassExW(&windowClass);
    // Keep the real pointer far from the grid: a window appearing under it
    // would get a mouse move of its own in the middle of a test's drag.
    SetCursorPos(1270, 1010);
    // One shown parent for the whole program, left to the process's end:
    // without a window manager Wine waits two seconds for each shown
    // top-level window that is destroyed.
    parent_ = CreateWindowExW(0, ParentClass, L"grid test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                              Scale(880), Scale(600), nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(parent_, SW_SHOW);
  }

  void SetUp() override {
    ASSERT_NE(parent_, nullptr);
    grid_.Create({parent_, GridId, Layout::StringGrid1});
    grid_.onClick = [this] { clicks.push_back(grid_.CurrentCell()); };
    button_ = CreateWindowExW(0, L"BUTTON", L"next", WS_CHILD | WS_VISIBLE | WS_TABSTOP, Scale(740), Scale(80),
                              Scale(80), Scale(24), parent_, reinterpret_cast<HMENU>(ButtonId),
                              GetModuleHandleW(nullptr), nullptr);
    UpdateWindow(parent_);
    clicks.clear();
    PumpMessages();
  }

  void TearDown() override {
    DestroyWindow(button_);
    DestroyWindow(grid_.Window());
  }

  HWND Grid() const { return grid_.Window(); }

  void Enable() {
    grid_.SetEnabled(true);
    SetFocus(button_);
  }

  // The middle of a cell in client pixels, as the view stands.
  POINT PointOf(int column, int row) const {
    const GridCell view = grid_.ViewPosition();
    return {Pitch() * (column - view.column + 1) + CellSize() / 2, Pitch() * (row - view.row + 1) + CellSize() / 2};
  }

  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageW(Grid(), message, wParam, lParam);
  }
  // The real pointer goes to the same place first: a grid that holds the
  // capture also hears of real pointer moves, and those must agree.
  void Mouse(UINT message, POINT point, WPARAM buttons = 0) {
    POINT screen = point;
    ClientToScreen(Grid(), &screen);
    SetCursorPos(screen.x, screen.y);
    Send(message, buttons, MAKELPARAM(point.x, point.y));
  }
  void Press(POINT point) { Mouse(WM_LBUTTONDOWN, point, MK_LBUTTON); }
  void Release(POINT point) { Mouse(WM_LBUTTONUP, point); }
  void Click(int column, int row) {
    Press(PointOf(column, row));
    Release(PointOf(column, row));
  }
  void Key(WPARAM key) { Send(WM_KEYDOWN, key, 1); }
  void CtrlKey(WPARAM key) {
    HeldKeys control{VK_CONTROL};
    Key(key);
  }
  void Wheel(int delta) { Send(WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(100, 100)); }

  // One tick of the tracking timer, as the message loop would deliver it.
  void Tick() { Send(WM_TIMER, StringGrid::TrackingTimerId); }

  int LastFullyVisibleColumn() const {
    RECT client{};
    GetClientRect(Grid(), &client);
    return (client.right - Pitch() - CellSize()) / Pitch() + 1;
  }

  // Presses the last fully visible column at `row` and moves the pointer
  // right of the grid, holding the button; returns where it is.
  POINT HoldRightOfTheGrid(int row) {
    Press(PointOf(LastFullyVisibleColumn(), row));
    RECT client{};
    GetClientRect(Grid(), &client);
    const POINT outside{client.right + 40, PointOf(LastFullyVisibleColumn(), row).y};
    Mouse(WM_MOUSEMOVE, outside, MK_LBUTTON);
    return outside;
  }

  RECT CellRect(int column, int row) const {
    const GridCell view = grid_.ViewPosition();
    const int left = column == 0 ? 0 : Pitch() * (column - view.column + 1);
    const int top = row == 0 ? 0 : Pitch() * (row - view.row + 1);
    return {left, top, left + CellSize(), top + CellSize()};
  }

  static HWND parent_;
  HWND button_ = nullptr;
  StringGrid grid_;
};

HWND StringGridTest::parent_ = nullptr;

TEST_F(StringGridTest, StartsDisabledWithEmptyTextsAndTheFirstCellCurrent) {
  EXPECT_FALSE(IsWindowEnabled(Grid()));
  const LONG_PTR style = GetWindowLongPtrW(Grid(), GWL_STYLE);
  EXPECT_TRUE(style & WS_TABSTOP);
  EXPECT_TRUE(style & WS_HSCROLL);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_TRUE(GetWindowLongPtrW(Grid(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  RECT frame{};
  GetWindowRect(Grid(), &frame);
  MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&frame), 2);
  EXPECT_EQ(frame.left, Scale(8));
  EXPECT_EQ(frame.top, Scale(40));
  EXPECT_EQ(frame.right - frame.left, Scale(721));
  EXPECT_EQ(frame.bottom - frame.top, Scale(480));
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{1, 1}));
  EXPECT_EQ(grid_.ViewPosition(), (GridCell{1, 1}));
  EXPECT_EQ(grid_.CellText(0, 0), "");
  EXPECT_EQ(grid_.CellText(LastGridColumn, LastGridRow), "");
  EXPECT_THROW(grid_.CellText(GridColumnCount, 0), std::out_of_range);
  try {
    grid_.SetCellText(0, -1, "x");
    ADD_FAILURE() << "a cell outside the grid took a text";
  } catch (...) {
    EXPECT_EQ(ErrorMessageOf(std::current_exception()), L"マス 0:-1 は表の外です") << "as the error box shows it";
  }
}

TEST_F(StringGridTest, StoresTextsAndMarksOnlyTheCellInView) {
  grid_.SetEnabled(true);
  UpdateWindow(Grid());
  grid_.SetCellText(5, 6, "平 \r\n302 : 4");
  EXPECT_EQ(grid_.CellText(5, 6), "平 \r\n302 : 4");
  RECT dirty{};
  ASSERT_TRUE(GetUpdateRect(Grid(), &dirty, FALSE));
  const RECT cell = CellRect(5, 6);
  EXPECT_TRUE(EqualRect(&dirty, &cell));
  ValidateRect(Grid(), nullptr);
  grid_.SetCellText(300, 70, "x");  // out of view: stored, nothing to repaint
  EXPECT_EQ(grid_.CellText(300, 70), "x");
  EXPECT_FALSE(GetUpdateRect(Grid(), &dirty, FALSE));
}

TEST_F(StringGridTest, ARepaintAfterSettingTextsRedrawsThoseCellsAndNoOthers) {
  grid_.SetEnabled(true);
  UpdateWindow(Grid());
  // Marks put straight on the screen, in cells whose texts stay the same.
  const std::vector<GridCell> marked{{6, 6}, {5, 3}, {2, 3}};
  const COLORREF red = RGB(255, 0, 0);
  HDC dc = GetDC(Grid());
  HBRUSH brush = CreateSolidBrush(red);
  for (const GridCell& cell : marked) {
    const RECT rect = CellRect(cell.column, cell.row);
    FillRect(dc, &rect, brush);
  }
  DeleteObject(brush);
  ReleaseDC(Grid(), dc);
  const std::vector<GridCell> changed{{3, 3}, {4, 3}, {6, 7}, {5, 6}, {7, 6}, {6, 5}, {30, 20}};
  for (const GridCell& cell : changed) grid_.SetCellText(cell.column, cell.row, "■");
  grid_.SetCellText(200, 6, "■");  // out of view
  UpdateWindow(Grid());
  const Picture screen(Grid(), Source::Screen);
  for (const GridCell& cell : marked) {
    EXPECT_EQ(screen.Count(CellRect(cell.column, cell.row), red), CellSize() * CellSize())
        << cell.column << ", " << cell.row;
  }
  for (const GridCell& cell : changed) {
    EXPECT_GT(screen.Count(CellRect(cell.column, cell.row), SystemColor(COLOR_WINDOWTEXT)), 20)
        << cell.column << ", " << cell.row;
  }
  RECT dirty{};
  EXPECT_FALSE(GetUpdateRect(Grid(), &dirty, FALSE));
}

TEST_F(StringGridTest, TheFontIsTheShiftJisGothicUntilTheParentSetsOne) {
  LOGFONTW font{};
  ASSERT_NE(GetObjectW(reinterpret_cast<HFONT>(Send(WM_GETFONT)), sizeof(font), &font), 0);
  EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(font.lfHeight, -Scale(12));
  EXPECT_STREQ(font.lfFaceName, L"ＭＳ Ｐゴシック");
  HFONT other = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(other), TRUE);
  EXPECT_EQ(reinterpret_cast<HFONT>(Send(WM_GETFONT)), other);
}

TEST_F(StringGridTest, DisabledItTakesNoMouseKeyOrWheelAndNoFocus) {
  SetFocus(button_);
  Press(PointOf(3, 3));
  Mouse(WM_MOUSEMOVE, PointOf(4, 4), MK_LBUTTON);
  Release(PointOf(4, 4));
  Key(VK_DOWN);
  Wheel(-WHEEL_DELTA);
  Send(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{1, 1}));
  EXPECT_EQ(grid_.ViewPosition(), (GridCell{1, 1}));
  EXPECT_TRUE(clicks.empty());
  EXPECT_EQ(GetFocus(), button_);
  EXPECT_EQ(GetCapture(), nullptr);
  // Tab from the other control passes the grid by.
  EXPECT_EQ(GetNextDlgTabItem(parent_, button_, FALSE), button_);
}

TEST_F(StringGridTest, PressMovesAtOnceDragFollowsAndReleaseRaisesOneEventForTheCellUnderThePointer) {
  Enable();
  Press(PointOf(3, 4));
  EXPECT_EQ(GetFocus(), Grid());
  EXPECT_EQ(GetCapture(), Grid());
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{3, 4}));
  Mouse(WM_MOUSEMOVE, PointOf(6, 9), MK_LBUTTON);
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{6, 9}));
  EXPECT_TRUE(clicks.empty());
  Release(PointOf(8, 2));
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0], (GridCell{8, 2}));
  EXPECT_EQ(GetCapture(), nullptr);
  // After the release the pointer moves freely.
  Mouse(WM_MOUSEMOVE, PointOf(10, 10));
  Release(PointOf(10, 10));
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{8, 2}));
  EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(StringGridTest, ClickingTheCurrentCellAgainRaisesTheEventAgain) {
  Enable();
  Click(1, 1);
  Click(1, 1);
  EXPECT_EQ(clicks, (std::vector<GridCell>{{1, 1}, {1, 1}}));
}

TEST_F(StringGridTest, ADoubleClickRaisesTheEventOnceForTheFirstClick) {
  Enable();
  Press(PointOf(4, 5));
  Release(PointOf(4, 5));
  Mouse(WM_LBUTTONDBLCLK, PointOf(4, 5), MK_LBUTTON);
  Release(PointOf(4, 5));
  EXPECT_EQ(clicks, (std::vector<GridCell>{{4, 5}}));
  // The second press does not move the cell, wherever it lands.
  Mouse(WM_LBUTTONDBLCLK, PointOf(7, 7), MK_LBUTTON);
  Release(PointOf(7, 7));
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{4, 5}));
  EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(StringGridTest, HeaderPressesAndOtherButtonsOnlyTakeTheFocus) {
  Enable();
  Press({CellSize() / 2, PointOf(5, 5).y});
  Release(PointOf(5, 5));
  EXPECT_EQ(GetFocus(), Grid());
  SetFocus(button_);
  Press({PointOf(5, 5).x, CellSize() / 2});
  Release(PointOf(5, 5));
  EXPECT_EQ(GetFocus(), Grid());
  SetFocus(button_);
  Mouse(WM_RBUTTONDOWN, PointOf(6, 6), MK_RBUTTON);
  Mouse(WM_RBUTTONUP, PointOf(6, 6));
  EXPECT_EQ(GetFocus(), Grid());
  Mouse(WM_MBUTTONDOWN, PointOf(6, 6), MK_MBUTTON);
  Mouse(WM_MBUTTONUP, PointOf(6, 6));
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{1, 1}));
  EXPECT_TRUE(clicks.empty());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(StringGridTest, HoldingTheButtonRightOfTheGridScrollsOneColumnPerTimerTick) {
  Enable();
  const int lastFull = LastFullyVisibleColumn();
  const POINT outside = HoldRightOfTheGrid(3);
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{lastFull, 3}));
  for (int tick = 1; tick <= 5; ++tick) {
    Tick();
    EXPECT_EQ(grid_.CurrentCell(), (GridCell{lastFull + tick, 3}));
    EXPECT_EQ(grid_.ViewPosition().column, 1 + tick) << "the view follows";
  }
  EXPECT_TRUE(clicks.empty());
  Release(outside);
  EXPECT_EQ(clicks, (std::vector<GridCell>{{lastFull + 5, 3}}));
  EXPECT_FALSE(KillTimer(Grid(), StringGrid::TrackingTimerId)) << "the release ends the timer";
  Tick();  // one still queued changes nothing
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{lastFull + 5, 3}));
}

TEST_F(StringGridTest, HoldingTheButtonAboveAndLeftMovesBothWaysPerTickAndStopsAtTheEdge) {
  Enable();
  Press(PointOf(3, 2));
  const POINT aboveLeft{-30, -30};
  Mouse(WM_MOUSEMOVE, aboveLeft, MK_LBUTTON);
  Tick();
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{2, 1}));
  Tick();
  Tick();
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{1, 1}));
  Release(aboveLeft);
  EXPECT_EQ(clicks, (std::vector<GridCell>{{1, 1}}));
}

TEST_F(StringGridTest, TheRealTimerTicksWhileTheButtonIsHeldOutside) {
  Enable();
  const int lastFull = LastFullyVisibleColumn();
  const POINT outside = HoldRightOfTheGrid(3);
  // However busy the machine, a tick comes; how soon is not this test's business.
  while (grid_.CurrentCell().column == lastFull) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
    PumpMessages();
  }
  EXPECT_GT(grid_.CurrentCell().column, lastFull);
  EXPECT_EQ(grid_.CurrentCell().row, 3);
  Release(outside);
  EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(StringGridTest, TheWheelMovesOneRowPerNotchAndNothingAtTheEnds) {
  Enable();
  Wheel(-WHEEL_DELTA);  // without the focus
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{1, 1}));
  SetFocus(Grid());
  Wheel(WHEEL_DELTA);
  EXPECT_TRUE(clicks.empty());
  Wheel(-3 * WHEEL_DELTA);
  EXPECT_EQ(clicks, (std::vector<GridCell>{{1, 2}, {1, 3}, {1, 4}}));
  Wheel(-WHEEL_DELTA / 2);
  Wheel(-WHEEL_DELTA / 2);
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{1, 5}));
  CtrlKey(VK_END);
  clicks.clear();
  Wheel(-WHEEL_DELTA);
  EXPECT_TRUE(clicks.empty());
  Wheel(WHEEL_DELTA);
  EXPECT_EQ(clicks, (std::vector<GridCell>{{LastGridColumn, LastGridRow - 1}}));
}

TEST_F(StringGridTest, KeysMoveTheCellAndRaiseAnEventOnlyWhenItMoved) {
  Enable();
  SetFocus(Grid());
  Key(VK_LEFT);
  Key(VK_UP);
  EXPECT_TRUE(clicks.empty());
  Key(VK_DOWN);
  {
    HeldKeys shift{VK_SHIFT};
    Key(VK_DOWN);  // Shift makes no difference
  }
  Key(VK_RIGHT);
  EXPECT_EQ(clicks, (std::vector<GridCell>{{1, 2}, {1, 3}, {2, 3}}));
  clicks.clear();
  CtrlKey(VK_END);
  EXPECT_EQ(clicks, (std::vector<GridCell>{{LastGridColumn, LastGridRow}}));
  Key(VK_RIGHT);
  Key(VK_DOWN);
  Key(VK_NEXT);
  Key(VK_END);
  EXPECT_EQ(clicks.size(), 1u);
  CtrlKey(VK_HOME);
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{1, 1}));
  EXPECT_EQ(grid_.ViewPosition(), (GridCell{1, 1}));
  clicks.clear();
  CtrlKey(VK_DOWN);
  EXPECT_EQ(grid_.ViewPosition(), (GridCell{1, 2}));
  EXPECT_TRUE(clicks.empty());
  Key(VK_RETURN);
  Key(VK_F2);
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{1, 1}));
  EXPECT_TRUE(clicks.empty());
}

TEST_F(StringGridTest, ScrollBarsMoveOnlyTheViewAndTheThumbActsOnRelease) {
  Enable();
  Click(3, 3);
  clicks.clear();
  Send(WM_VSCROLL, SB_LINEDOWN);
  Send(WM_HSCROLL, SB_LINEDOWN);
  EXPECT_EQ(grid_.ViewPosition(), (GridCell{2, 2}));
  EXPECT_EQ(GetScrollPos(Grid(), SB_VERT), 2);
  Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 100));
  EXPECT_EQ(grid_.ViewPosition().column, 2);
  Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 100));
  EXPECT_EQ(grid_.ViewPosition().column, 100);
  EXPECT_EQ(GetScrollPos(Grid(), SB_HORZ), 100);
  Send(WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_GT(grid_.ViewPosition().row, 20);
  Send(WM_HSCROLL, SB_BOTTOM);
  Send(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(grid_.ViewPosition(), (GridCell{GetScrollPos(Grid(), SB_HORZ), GetScrollPos(Grid(), SB_VERT)}));
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(Grid(), SB_HORZ, &info);
  EXPECT_EQ(info.nPos + static_cast<int>(info.nPage) - 1, LastGridColumn);
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{3, 3}));
  EXPECT_TRUE(clicks.empty());
}

TEST_F(StringGridTest, SetCurrentCellScrollsItFullyIntoViewRepaintsAndRaisesNoEvent) {
  Enable();
  UpdateWindow(Grid());
  grid_.SetCurrentCell({5, 6});
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{5, 6}));
  EXPECT_EQ(grid_.ViewPosition(), (GridCell{1, 1}));
  // The old and the new current cell wait for painting, no other.
  HRGN dirty = CreateRectRgn(0, 0, 0, 0);
  GetUpdateRgn(Grid(), dirty, FALSE);
  auto waits = [&](int column, int row) {
    const POINT middle = PointOf(column, row);
    return PtInRegion(dirty, middle.x, middle.y) != FALSE;
  };
  EXPECT_TRUE(waits(1, 1));
  EXPECT_TRUE(waits(5, 6));
  EXPECT_FALSE(waits(3, 3));
  DeleteObject(dirty);

  grid_.SetCurrentCell({300, 70});
  RECT client{};
  GetClientRect(Grid(), &client);
  const RECT cell = CellRect(300, 70);
  const RECT next = CellRect(301, 71);
  EXPECT_GT(cell.left, CellSize());
  EXPECT_LE(cell.right, client.right);
  EXPECT_LE(cell.bottom, client.bottom);
  EXPECT_GT(next.right, client.right) << "scrolled by the least amount";
  EXPECT_GT(next.bottom, client.bottom);
  const GridCell view = grid_.ViewPosition();
  EXPECT_EQ(GetScrollPos(Grid(), SB_HORZ), view.column);
  EXPECT_EQ(GetScrollPos(Grid(), SB_VERT), view.row);

  // Current already, but the scroll bars had moved the view away.
  Send(WM_HSCROLL, SB_TOP);
  Send(WM_VSCROLL, SB_TOP);
  ASSERT_EQ(grid_.ViewPosition(), (GridCell{1, 1}));
  grid_.SetCurrentCell({300, 70});
  EXPECT_EQ(grid_.ViewPosition(), view);

  grid_.SetCurrentCell({5, 6});
  EXPECT_EQ(grid_.ViewPosition(), (GridCell{5, 6}));
  EXPECT_EQ(GetScrollPos(Grid(), SB_HORZ), 5);
  EXPECT_EQ(GetScrollPos(Grid(), SB_VERT), 6);
  EXPECT_TRUE(clicks.empty());
}

TEST_F(StringGridTest, PressingAScrollBarGivesTheGridTheFocus) {
  Enable();
  RECT frame{};
  GetWindowRect(Grid(), &frame);
  const POINT onArrow{frame.right - 4, frame.top + 6};
  // The scroll bar's own loop runs until the release; it is already waiting.
  PostMessageW(Grid(), WM_LBUTTONUP, 0, 0);
  Send(WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(onArrow.x, onArrow.y));
  EXPECT_EQ(GetFocus(), Grid());
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{1, 1}));
  EXPECT_TRUE(clicks.empty());
}

TEST_F(StringGridTest, TabLeavesTheGridAndArrowsStayWithIt) {
  Enable();
  SetFocus(Grid());
  EXPECT_EQ(Send(WM_GETDLGCODE), DLGC_WANTARROWS);
  // Under a dialog manager: Tab moves on, an arrow reaches the grid.
  MSG down{Grid(), WM_KEYDOWN, VK_DOWN, 1, 0, {}};
  EXPECT_TRUE(IsDialogMessageW(parent_, &down));
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{1, 2}));
  MSG tab{Grid(), WM_KEYDOWN, VK_TAB, 1, 0, {}};
  EXPECT_TRUE(IsDialogMessageW(parent_, &tab));
  EXPECT_EQ(GetFocus(), button_);
  // Without one the grid passes the focus on itself, in both directions.
  SetFocus(Grid());
  Key(VK_TAB);
  EXPECT_EQ(GetFocus(), button_);
  SetFocus(Grid());
  {
    HeldKeys shift{VK_SHIFT};
    Key(VK_TAB);
  }
  EXPECT_EQ(GetFocus(), button_);
  EXPECT_EQ(grid_.CurrentCell(), (GridCell{1, 2}));
}

TEST_F(StringGridTest, PaintsSelectionColoursGridLinesAndRaisedHeaders) {
  const Picture picture(Grid());  // disabled: painted as usual
  const RECT current = CellRect(1, 1);
  EXPECT_EQ(picture.Count(current, SystemColor(COLOR_HIGHLIGHT)), CellSize() * CellSize());
  const RECT other = CellRect(2, 2);
  EXPECT_EQ(picture.Count(other, SystemColor(COLOR_WINDOW)), CellSize() * CellSize());
  // Silver between ordinary cells, right of and below each.
  const COLORREF silver = RGB(192, 192, 192);
  EXPECT_EQ(picture.At(other.right, other.top + 3), silver);
  EXPECT_EQ(picture.At(other.left + 3, other.bottom), silver);
  EXPECT_EQ(picture.At(other.right, other.bottom), silver);
  // Black between header cells.
  const COLORREF black = RGB(0, 0, 0);
  const RECT header = CellRect(3, 0);
  EXPECT_EQ(picture.At(header.right, header.top + 5), black);
  EXPECT_EQ(picture.At(header.left + 5, header.bottom), black);
  const RECT rowHeader = CellRect(0, 3);
  EXPECT_EQ(picture.At(rowHeader.right, rowHeader.top + 5), black);
  EXPECT_EQ(picture.At(rowHeader.left + 5, rowHeader.bottom), black);
  // A raised edge: light on the left and top, dark on the right and bottom.
  EXPECT_EQ(picture.At(header.left, header.top + 5), SystemColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(picture.At(header.left + 5, header.top), SystemColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(picture.At(header.right - 1, header.top + 5), SystemColor(COLOR_BTNSHADOW));
  EXPECT_EQ(picture.At(header.left + 5, header.bottom - 1), SystemColor(COLOR_BTNSHADOW));
  EXPECT_EQ(picture.At(header.left + 5, header.top + 5), SystemColor(COLOR_BTNFACE));
  // Every pixel painted.
  const RECT all{0, 0, picture.Width(), picture.Height()};
  EXPECT_EQ(picture.Count(all, RGB(1, 2, 3)), 0);
}

TEST_F(StringGridTest, TextStartsTwoPixelsInAndStaysInsideItsCell) {
  grid_.SetCellText(2, 2, "■■■■■■■■\r\n■■■■");
  grid_.SetCellText(1, 1, "■");
  const Picture picture(Grid());
  const RECT cell = CellRect(2, 2);
  const int indent = Scale(Layout::GridTextIndent);
  const COLORREF window = SystemColor(COLOR_WINDOW);
  const RECT leftMargin{cell.left, cell.top, cell.left + indent, cell.bottom};
  const RECT topMargin{cell.left, cell.top, cell.right, cell.top + indent};
  EXPECT_EQ(picture.Count(leftMargin, window), indent * CellSize());
  EXPECT_EQ(picture.Count(topMargin, window), indent * CellSize());
  const RECT inside{cell.left + indent, cell.top + indent, cell.right, cell.bottom};
  EXPECT_GT(picture.Count(inside, SystemColor(COLOR_WINDOWTEXT)), 20);
  // Nothing spills into the next cell or over the lines.
  const RECT next = CellRect(3, 2);
  EXPECT_EQ(picture.Count(next, window), CellSize() * CellSize());
  const RECT below = CellRect(2, 3);
  EXPECT_EQ(picture.Count(below, window), CellSize() * CellSize());
  EXPECT_EQ(picture.At(cell.right, cell.top + 8), RGB(192, 192, 192));
  // The current cell's text is in the selection text colour.
  const RECT current = CellRect(1, 1);
  EXPECT_GT(picture.Count(current, SystemColor(COLOR_HIGHLIGHTTEXT)), 20);
}

TEST_F(StringGridTest, TheFocusRectangleRunsAlongTheCurrentCellsBorderOnly) {
  Enable();
  Click(4, 4);
  const Picture focused(Grid());
  SetFocus(button_);
  const Picture unfocused(Grid());
  const RECT cell = CellRect(4, 4);
  int bordersChanged = 0;
  for (int y = 0; y < focused.Height(); ++y) {
    for (int x = 0; x < focused.Width(); ++x) {
      if (focused.At(x, y) == unfocused.At(x, y)) continue;
      const bool onBorder = x == cell.left || x == cell.right - 1 || y == cell.top || y == cell.bottom - 1;
      const bool inCell = x >= cell.left && x < cell.right && y >= cell.top && y < cell.bottom;
      ASSERT_TRUE(inCell && onBorder) << "pixel " << x << ", " << y;
      ++bordersChanged;
    }
  }
  EXPECT_GT(bordersChanged, CellSize());  // dotted: about every other pixel of the border
  EXPECT_EQ(unfocused.Count(cell, SystemColor(COLOR_HIGHLIGHT)), CellSize() * CellSize());
}

TEST_F(StringGridTest, TheAreaRightOfTheLastColumnIsWindowColoured) {
  Enable();
  SetFocus(Grid());
  CtrlKey(VK_END);
  const Picture picture(Grid());
  const RECT last = CellRect(LastGridColumn, LastGridRow);
  EXPECT_GT(picture.Count(last, SystemColor(COLOR_HIGHLIGHT)), CellSize() * CellSize() / 2);
  ASSERT_LT(last.right + 1, picture.Width());
  const RECT beyond{last.right + 1, 0, picture.Width(), picture.Height()};
  const int area = (beyond.right - beyond.left) * (beyond.bottom - beyond.top);
  EXPECT_EQ(picture.Count(beyond, SystemColor(COLOR_WINDOW)), area);
  EXPECT_EQ(picture.At(last.right, last.top + 3), RGB(192, 192, 192));
}

TEST_F(StringGridTest, AScrolledViewRepaintsWithTheNewColumns) {
  grid_.SetCellText(50, 1, "■");
  Picture before(Grid());
  Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 50));  // disabled: ignored
  EXPECT_EQ(grid_.ViewPosition().column, 1);
  Enable();
  Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 50));
  ASSERT_EQ(grid_.ViewPosition().column, 50);
  const Picture after(Grid());
  const RECT first = CellRect(50, 1);
  EXPECT_GT(after.Count(first, SystemColor(COLOR_WINDOWTEXT)), 20);
  EXPECT_EQ(before.Count(first, SystemColor(COLOR_WINDOWTEXT)), 0);
}

// Scrolling moves what is on the screen and paints only what it uncovers:
// after moves along each axis, by the scroll bars, the wheel and the keys at
// the edge, with paints still waiting from before, the screen is what a
// fresh painting of the view draws.
TEST_F(StringGridTest, ABlittedScrollLeavesTheScreenAsAFreshPaintingWouldDrawIt) {
  for (int column = 1; column < GridColumnCount; ++column)
    for (int row = 1; row < GridRowCount; row += 7) grid_.SetCellText(column, row, std::to_string(column % 10));
  Enable();
  Click(2, 2);
  auto differingPixels = [this] {
    UpdateWindow(Grid());
    const Picture screen(Grid(), Source::Screen), fresh(Grid());
    int differing = 0;
    for (int y = 0; y < fresh.Height(); ++y)
      for (int x = 0; x < fresh.Width(); ++x) differing += screen.At(x, y) != fresh.At(x, y) ? 1 : 0;
    return differing;
  };
  const struct {
    UINT message;
    WPARAM wParam;
  } moves[] = {{WM_HSCROLL, SB_LINEDOWN}, {WM_VSCROLL, SB_LINEDOWN}, {WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA)},
               {WM_HSCROLL, SB_LINEUP}};
  for (const auto& move : moves) {
    Send(move.message, move.wParam);
    EXPECT_EQ(differingPixels(), 0) << move.message << " " << move.wParam;
  }
  // The current cell at the right edge, moved on by the arrow key: the view
  // goes one column further at each step, the highlight with the cell.
  grid_.SetCurrentCell({grid_.ViewPosition().column + 30, 5});
  UpdateWindow(Grid());
  for (int step = 0; step < 14; ++step) Send(WM_KEYDOWN, VK_RIGHT);
  ASSERT_GT(grid_.ViewPosition().column, 3);
  EXPECT_EQ(differingPixels(), 0);
}

}  // namespace
