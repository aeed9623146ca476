// Errors that escape a window's message handlers: where they are shown, that
// one fault gives one box, and that the program goes on working.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "support/WindowTesting.h"
#include "ui/BaseWindow.h"
#include "ui/StringGrid.h"

namespace {

constexpr wchar_t FaultyClass[] = L"ErrorBoundaryTestWindow";
constexpr UINT_PTR FaultyTimer = 7;
constexpr WORD FaultyCommand = 40;
constexpr WORD CommandFromPaint = 41;

// A window that fails where it is told to.
class FaultyWindow : public BaseWindow {
 public:
  bool failPaint = false;
  bool failTimer = false;
  bool failCommand = false;
  bool failNcDestroy = false;
  bool commandFromPaint = false;  // its paint runs a command, which fails
  int paints = 0;
  int answered = 0;

  FaultyWindow() {
    WNDCLASSEXW windowClass{};
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = FaultyClass;
    windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    RegisterClassOnce(windowClass);
    WindowArgs args;
    args.className = FaultyClass;
    args.caption = L"faulty";
    args.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    args.x = 10;
    args.y = 10;
    args.width = 300;
    args.height = 200;
    Create(args);
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT: {
        ++paints;
        if (failPaint) throw std::runtime_error("paint failed");  // before BeginPaint validates
        PAINTSTRUCT paint{};
        BeginPaint(Window(), &paint);
        EndPaint(Window(), &paint);
        if (commandFromPaint) SendMessageW(Window(), WM_COMMAND, CommandFromPaint, 0);
        return 0;
      }
      case WM_TIMER:
        if (failTimer && wParam == FaultyTimer) throw std::runtime_error("tick failed");
        return 0;
      case WM_COMMAND:
        if (LOWORD(wParam) == CommandFromPaint) throw std::runtime_error("command inside paint failed");
        if (failCommand) throw std::runtime_error("command failed");
        ++answered;
        return 0;
      case WM_NCDESTROY:
        if (failNcDestroy) throw std::runtime_error("last message failed");
        return DefaultHandling(message, wParam, lParam);
      default:
        return DefaultHandling(message, wParam, lParam);
    }
  }
};

class ErrorBoundary : public ::testing::Test {
 protected:
  void SetUp() override { PumpMessages(); }
  void TearDown() override { PumpMessages(); }

  bool Responds() {
    const int before = window.answered;
    window.failCommand = false;
    SendMessageW(window.Window(), WM_COMMAND, FaultyCommand, 0);
    return window.answered == before + 1;
  }
  bool NeedsPaint() {
    RECT dirty{};
    return GetUpdateRect(window.Window(), &dirty, FALSE) != FALSE;
  }

  ScriptedDialogs dialogs;
  FaultyWindow window;
};

TEST_F(ErrorBoundary, ACommandsErrorIsShownAtOnceAsItsAnswer) {
  window.failCommand = true;
  SendMessageW(window.Window(), WM_COMMAND, FaultyCommand, 0);
  ASSERT_EQ(dialogs.errorBoxes, (std::vector<std::wstring>{L"command failed."}));
  EXPECT_TRUE(Responds());
}

TEST_F(ErrorBoundary, AFailedPaintIsValidatedAndShownOnceFromTheMessageLoop) {
  const int paintsBefore = window.paints;
  window.failPaint = true;
  InvalidateRect(window.Window(), nullptr, FALSE);
  UpdateWindow(window.Window());
  EXPECT_TRUE(dialogs.errorBoxes.empty()) << "not inside the paint";
  EXPECT_FALSE(NeedsPaint()) << "a failed paint is not asked for again";
  PumpMessages();
  EXPECT_EQ(dialogs.errorBoxes, (std::vector<std::wstring>{L"paint failed."}));

  // The same fault again is the same news.
  for (int again = 0; again < 3; ++again) {
    InvalidateRect(window.Window(), nullptr, FALSE);
    UpdateWindow(window.Window());
    PumpMessages();
  }
  EXPECT_EQ(window.paints, paintsBefore + 4);
  EXPECT_EQ(dialogs.errorBoxes.size(), 1u);
  EXPECT_TRUE(Responds());
}

TEST_F(ErrorBoundary, ATimersErrorWaitsForTheMessageLoop) {
  window.failTimer = true;
  SendMessageW(window.Window(), WM_TIMER, FaultyTimer, 0);
  SendMessageW(window.Window(), WM_TIMER, FaultyTimer, 0);
  EXPECT_TRUE(dialogs.errorBoxes.empty());
  PumpMessages();
  EXPECT_EQ(dialogs.errorBoxes, (std::vector<std::wstring>{L"tick failed."}));
  EXPECT_TRUE(Responds());
}

TEST_F(ErrorBoundary, ACommandThatFailsInsideAPaintWaitsToo) {
  window.commandFromPaint = true;
  InvalidateRect(window.Window(), nullptr, FALSE);
  UpdateWindow(window.Window());
  EXPECT_TRUE(dialogs.errorBoxes.empty());
  PumpMessages();
  EXPECT_EQ(dialogs.errorBoxes, (std::vector<std::wstring>{L"command inside paint failed."}));
}

// The window that failed is gone before the message loop comes to its error:
// the error waits on in the next window that fails.
TEST_F(ErrorBoundary, AWaitingErrorOutlivesItsWindow) {
  {
    FaultyWindow gone;
    gone.failTimer = true;
    SendMessageW(gone.Window(), WM_TIMER, FaultyTimer, 0);
  }
  PumpMessages();
  EXPECT_TRUE(dialogs.errorBoxes.empty());
  window.failPaint = true;
  InvalidateRect(window.Window(), nullptr, FALSE);
  UpdateWindow(window.Window());
  PumpMessages();
  EXPECT_EQ(dialogs.errorBoxes, (std::vector<std::wstring>{L"tick failed."}));
  window.failTimer = true;
  SendMessageW(window.Window(), WM_TIMER, FaultyTimer, 0);
  PumpMessages();
  EXPECT_EQ(dialogs.errorBoxes.size(), 1u) << "the same error again";
}

// The error box itself failing must not take the program down.
class FailingDialogs : public ScriptedDialogs {
 public:
  void ShowErrorBox(const std::wstring&) override { throw std::runtime_error("no box"); }
};

TEST(ErrorBoundaryLastResort, AnErrorBoxThatFailsIsSwallowed) {
  FailingDialogs dialogs;
  FaultyWindow window;
  window.failCommand = true;
  SendMessageW(window.Window(), WM_COMMAND, FaultyCommand, 0);
  window.failTimer = true;
  SendMessageW(window.Window(), WM_TIMER, FaultyTimer, 0);
  PumpMessages();
  window.failCommand = false;
  const int before = window.answered;
  SendMessageW(window.Window(), WM_COMMAND, FaultyCommand, 0);
  EXPECT_EQ(window.answered, before + 1);
}

TEST(ErrorBoundaryLastResort, AFailingLastMessageStillLetsGoOfTheWindow) {
  ScriptedDialogs dialogs;
  FaultyWindow window;
  HWND handle = window.Window();
  window.failNcDestroy = true;
  DestroyWindow(handle);
  EXPECT_FALSE(IsWindow(handle));
  EXPECT_EQ(window.Window(), nullptr) << "the object no longer names the destroyed window";
  PumpMessages();
}

// The real error box: its own modal loop repaints the failing window, which
// fails again while the box is open; still only one box comes.
TEST(ErrorBoundarySystemBox, APaintThatKeepsFailingOpensOneBox) {
  SystemErrorBoxes dialogs;
  FaultyWindow window;
  window.failPaint = true;
  HWND failing = window.Window();
  ModalAnswerer answerer(L"#32770", L"ヴァルテア 街道エディタ", [&](HWND box) {
    // Painting goes on behind the box.
    RedrawWindow(failing, nullptr, nullptr, RDW_INVALIDATE);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  InvalidateRect(failing, nullptr, FALSE);
  UpdateWindow(failing);
  PumpMessages();  // the box, answered from the other thread
  ASSERT_TRUE(answerer.Join());
  for (int again = 0; again < 3; ++again) {
    InvalidateRect(failing, nullptr, FALSE);
    PumpMessages();
  }
  EXPECT_EQ(dialogs.errorBoxes.size(), 1u);
  EXPECT_GE(window.paints, 2);
  window.failPaint = false;
  window.failCommand = false;
  SendMessageW(failing, WM_COMMAND, FaultyCommand, 0);
  EXPECT_EQ(window.answered, 1);
}

// A grid whose timer tick fails in the middle of a drag.
class GridWithFailingTick : public StringGrid {
 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_TIMER && failTicks) throw std::runtime_error("tick failed");
    return StringGrid::HandleMessage(message, wParam, lParam);
  }

 public:
  bool failTicks = true;
};

TEST_F(ErrorBoundary, AGridWhoseTickFailsEndsTheDragAndStillWorks) {
  GridWithFailingTick grid;
  grid.Create({window.Window(), 5, Layout::Box{0, 0, 200, 150}});
  grid.SetEnabled(true);
  const LPARAM cell = MAKELPARAM(2 * Layout::GridCellPitch + 8, 2 * Layout::GridCellPitch + 8);
  SendMessageW(grid.Window(), WM_LBUTTONDOWN, MK_LBUTTON, cell);
  ASSERT_EQ(GetCapture(), grid.Window());
  SendMessageW(grid.Window(), WM_TIMER, StringGrid::TrackingTimerId, 0);
  EXPECT_EQ(GetCapture(), nullptr) << "the drag ended";
  EXPECT_FALSE(KillTimer(grid.Window(), StringGrid::TrackingTimerId)) << "and its timer with it";
  PumpMessages();
  EXPECT_EQ(dialogs.errorBoxes, (std::vector<std::wstring>{L"tick failed."}));

  grid.failTicks = false;
  const LPARAM other = MAKELPARAM(4 * Layout::GridCellPitch + 8, 3 * Layout::GridCellPitch + 8);
  SendMessageW(grid.Window(), WM_LBUTTONDOWN, MK_LBUTTON, other);
  SendMessageW(grid.Window(), WM_LBUTTONUP, 0, other);
  EXPECT_EQ(grid.CurrentCell(), (GridCell{4, 3}));
}

}  // namespace
