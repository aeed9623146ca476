// The About box as a real window under Wine, owned by a plain window that
// stands in for the main window: its layout, its placement beside the owner,
// and the modal loop, driven by messages posted before or during it.

#include "About1.h"
#include "Version.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "resources/Resources.h"
#include "support/WindowTesting.h"
#include "ui/Dpi.h"
#include "ui/Layout.h"

namespace {

constexpr wchar_t OwnerClass[] = L"AboutBoxTestOwner";
constexpr UINT RunDuringLoop = WM_APP + 1;
constexpr UINT_PTR WatchdogMilliseconds = 5000;

// What the owner does when RunDuringLoop reaches it, that is, inside the box's modal loop.
std::function<void()> duringLoop;

LRESULT CALLBACK OwnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == RunDuringLoop && duringLoop) {
    duringLoop();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateTopLevelWindow(int left, int top) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = OwnerProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = OwnerClass;
  RegisterClassExW(&windowClass);  // fails harmlessly once registered
  HWND window = CreateWindowExW(0, OwnerClass, L"Owner", WS_OVERLAPPEDWINDOW, left, top, 400, 300, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(window, SW_SHOW);
  return window;
}

// A modal loop that a faulty box never ends must not hang the test program.
HWND watchedBox = nullptr;
void CALLBACK Watchdog(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  ADD_FAILURE() << "the modal loop did not end";
  PostMessageW(watchedBox, WM_CLOSE, 0, 0);
}

int ShowModalWatched(TAboutForm1& box) {
  watchedBox = box.Window();
  const UINT_PTR timer = SetTimer(nullptr, 0, WatchdogMilliseconds, Watchdog);
  const int result = box.ShowModal();
  KillTimer(nullptr, timer);
  return result;
}

RECT FrameOf(HWND window) {
  RECT frame{};
  GetWindowRect(window, &frame);
  return frame;
}

LOGFONTW FontOf(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
  return font;
}

// The size of the control's text in its font, measured line by line.
SIZE MeasuredText(HWND control) {
  std::vector<std::wstring> lines;
  std::wstring text = TextOf(control);
  for (std::size_t end; (end = text.find(L"\r\n")) != std::wstring::npos; text.erase(0, end + 2))
    lines.push_back(text.substr(0, end));
  lines.push_back(text);

  HDC dc = GetDC(control);
  const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
  const HGDIOBJ previous = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SIZE size{0, metrics.tmHeight * static_cast<LONG>(lines.size())};
  for (const std::wstring& line : lines) {
    SIZE extent{};
    GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &extent);
    size.cx = std::max(size.cx, extent.cx);
  }
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return size;
}

void ExpectPlacedAt(HWND control, const Layout::Box& box) {
  const RECT rect = RectInParent(control);
  EXPECT_EQ(rect.left, Scale(box.left));
  EXPECT_EQ(rect.top, Scale(box.top));
}

void ExpectBox(HWND control, const Layout::Box& box) {
  ExpectPlacedAt(control, box);
  const RECT rect = RectInParent(control);
  EXPECT_EQ(rect.right - rect.left, Scale(box.width));
  EXPECT_EQ(rect.bottom - rect.top, Scale(box.height));
}

void ExpectSizedToItsText(HWND label) {
  const RECT rect = RectInParent(label);
  const SIZE text = MeasuredText(label);
  EXPECT_GT(text.cx, 0);
  EXPECT_EQ(rect.right - rect.left, text.cx);
  EXPECT_EQ(rect.bottom - rect.top, text.cy);
}

void ExpectFont(HWND control, int pixelsHigh, LONG weight) {
  const LOGFONTW font = FontOf(control);
  EXPECT_STREQ(font.lfFaceName, L"ＭＳ Ｐゴシック");
  EXPECT_EQ(font.lfHeight, -Scale(pixelsHigh));
  EXPECT_EQ(font.lfWeight, weight);
  EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
}

LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }

class AboutBox : public ::testing::Test {
 protected:
  void SetUp() override {
    owner_ = CreateTopLevelWindow(50, 50);
    ASSERT_NE(owner_, nullptr);
    PumpMessages();
  }
  void TearDown() override {
    duringLoop = nullptr;
    if (IsWindow(owner_)) DestroyWindow(owner_);
    PumpMessages();
  }

  // Runs `action` inside the modal loop of the box shown next.
  void DuringModalLoop(std::function<void()> action) {
    duringLoop = std::move(action);
    PostMessageW(owner_, RunDuringLoop, 0, 0);
  }

  HWND owner_ = nullptr;
};

TEST_F(AboutBox, IsAHiddenFixedDialogWithItsCaptionAndClientSize) {
  TAboutForm1 box(owner_);
  HWND window = box.Window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(TextOf(window), L"ヴァルテア 街道エディタのバージョン情報");
  EXPECT_EQ(GetWindow(window, GW_OWNER), owner_);
  EXPECT_FALSE(IsWindowVisible(window));

  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, Scale(428));
  EXPECT_EQ(client.bottom, Scale(95));

  const LONG_PTR style = StyleOf(window);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);

  HMENU systemMenu = GetSystemMenu(window, FALSE);
  EXPECT_NE(GetMenuState(systemMenu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_NE(GetMenuState(systemMenu, SC_MOVE, MF_BYCOMMAND), static_cast<UINT>(-1));
  for (UINT command : {SC_RESTORE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE})
    EXPECT_EQ(GetMenuState(systemMenu, command, MF_BYCOMMAND), static_cast<UINT>(-1)) << command;

  const auto background = reinterpret_cast<HBRUSH>(GetClassLongPtrW(window, GCLP_HBRBACKGROUND));
  EXPECT_EQ(background, GetSysColorBrush(COLOR_BTNFACE));
}

TEST_F(AboutBox, ControlsShowTheirTextsInTheirFontsAtTheirPlaces) {
  TAboutForm1 box(owner_);
  for (HWND control : {box.Image1(), box.Label1(), box.VerLabel(), box.CopyLabel(), box.OkButton1()}) {
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(GetParent(control), box.Window());
    EXPECT_TRUE(StyleOf(control) & WS_VISIBLE);  // shown with the box
  }

  ExpectBox(box.Image1(), Layout::AboutImage1);
  ExpectBox(box.OkButton1(), Layout::AboutOkButton1);
  ExpectPlacedAt(box.Label1(), Layout::AboutLabel1);
  ExpectPlacedAt(box.VerLabel(), Layout::AboutVerLabel);
  ExpectPlacedAt(box.CopyLabel(), Layout::AboutCopyLabel);

  EXPECT_EQ(TextOf(box.Label1()), L"ヴァルテア 街道エディタ");
  EXPECT_EQ(TextOf(box.VerLabel()), L"Ver " + Widen(VALTEA_VERSION));
  EXPECT_EQ(TextOf(box.OkButton1()), L"OK");

  ExpectFont(box.Label1(), 16, FW_BOLD);
  ExpectFont(box.VerLabel(), 12, FW_BOLD);
  ExpectFont(box.CopyLabel(), 12, FW_NORMAL);
  ExpectFont(box.OkButton1(), 12, FW_NORMAL);
}

TEST_F(AboutBox, CopyLabelHoldsTwoLinesAndEveryLabelIsSizedToItsText) {
  TAboutForm1 box(owner_);
  const std::wstring copy = TextOf(box.CopyLabel());
  const std::size_t lineBreak = copy.find(L"\r\n");
  ASSERT_NE(lineBreak, std::wstring::npos);
  EXPECT_EQ(copy.find(L"\r\n", lineBreak + 2), std::wstring::npos);
  EXPECT_EQ(copy.find_first_of(L"\r\n"), lineBreak);
  EXPECT_GT(lineBreak, 0u);
  EXPECT_EQ(copy.compare(lineBreak + 2, 8, L"https://"), 0) << "the second line is the web page";
  // The credit is in Japanese, like every other text: no ASCII letters but the (C).
  const std::wstring credit = copy.substr(0, lineBreak);
  ASSERT_EQ(credit.compare(0, 3, L"(C)"), 0);
  EXPECT_EQ(std::count_if(credit.begin() + 3, credit.end(), [](wchar_t c) { return c < 0x80 && std::iswalpha(c); }), 0)
      << "credit line: " << Narrow(credit);
  EXPECT_GT(std::count_if(credit.begin(), credit.end(), [](wchar_t c) { return c >= 0x3000; }), 4);

  // Two lines, one below the other: twice the height of one.
  const RECT copyRect = RectInParent(box.CopyLabel());
  const RECT verRect = RectInParent(box.VerLabel());  // one line in a font of the same height
  EXPECT_EQ(copyRect.bottom - copyRect.top, 2 * MeasuredText(box.VerLabel()).cy);
  EXPECT_EQ(verRect.bottom - verRect.top, MeasuredText(box.VerLabel()).cy);

  // Both lines end before the button that stands beside them.
  EXPECT_LT(copyRect.right, RectInParent(box.OkButton1()).left);

  for (HWND label : {box.Label1(), box.VerLabel(), box.CopyLabel()}) {
    SCOPED_TRACE(TextOf(label));
    ExpectSizedToItsText(label);
    // Lines must not wrap, nor "&" turn into an underline.
    EXPECT_EQ(StyleOf(label) & SS_TYPEMASK, SS_LEFTNOWORDWRAP);
    EXPECT_TRUE(StyleOf(label) & SS_NOPREFIX);
  }
}

TEST_F(AboutBox, Image1ShowsTheProgramIcon) {
  ASSERT_NE(FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM), RT_GROUP_ICON), nullptr)
      << "the program icon is not among the resources";
  TAboutForm1 box(owner_);
  EXPECT_EQ(StyleOf(box.Image1()) & SS_TYPEMASK, SS_ICON);
  auto icon = reinterpret_cast<HICON>(SendMessageW(box.Image1(), STM_GETIMAGE, IMAGE_ICON, 0));
  ASSERT_NE(icon, nullptr);

  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP mask{};
  GetObjectW(info.hbmMask, sizeof(mask), &mask);
  EXPECT_EQ(mask.bmWidth, Scale(32));
  DeleteObject(info.hbmMask);
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
}

TEST_F(AboutBox, OkButton1IsTheDefaultButtonAndTheOnlyTabStop) {
  TAboutForm1 box(owner_);
  HWND ok = box.OkButton1();
  EXPECT_EQ(GetDlgCtrlID(ok), IDOK);
  EXPECT_EQ(StyleOf(ok) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_TRUE(StyleOf(ok) & WS_TABSTOP);
  EXPECT_EQ(GetNextDlgTabItem(box.Window(), nullptr, FALSE), ok);
  EXPECT_EQ(GetNextDlgTabItem(box.Window(), ok, FALSE), ok);
  EXPECT_EQ(SendMessageW(box.Window(), DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
}

TEST_F(AboutBox, EachBoxIsFreshAndPlacedBesideTheOwnerWhereItIsNow) {
  auto first = MakeWindow<TAboutForm1>(owner_);
  HWND firstWindow = first->Window();
  RECT frame = FrameOf(firstWindow);
  EXPECT_EQ(frame.left, 50 + Scale(200));
  EXPECT_EQ(frame.top, 50 + Scale(150));
  PostMessageW(first->OkButton1(), BM_CLICK, 0, 0);
  EXPECT_EQ(ShowModalWatched(*first), TAboutForm1::ModalResultOk);
  first.reset();
  EXPECT_FALSE(IsWindow(firstWindow));

  SetWindowPos(owner_, nullptr, 300, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  auto second = MakeWindow<TAboutForm1>(owner_);
  EXPECT_NE(second->Window(), firstWindow);
  frame = FrameOf(second->Window());
  EXPECT_EQ(frame.left, 300 + Scale(200));
  EXPECT_EQ(frame.top, 120 + Scale(150));
  // The box's size stays its own, wherever it goes.
  RECT client{};
  GetClientRect(second->Window(), &client);
  EXPECT_EQ(client.right, Scale(428));
  EXPECT_EQ(client.bottom, Scale(95));
}

TEST_F(AboutBox, EnterEscAndTheButtonCloseWithOk) {
  struct Case {
    const char* name;
    WPARAM key;
    bool toButton;
  };
  const Case cases[] = {{"Esc on the button", VK_ESCAPE, true},
                        {"Enter on the button", VK_RETURN, true},
                        {"Esc on the box", VK_ESCAPE, false},
                        {"Enter on the box", VK_RETURN, false}};
  for (const Case& keyCase : cases) {
    SCOPED_TRACE(keyCase.name);
    TAboutForm1 box(owner_);
    PostKey(keyCase.toButton ? box.OkButton1() : box.Window(), keyCase.key);
    EXPECT_EQ(ShowModalWatched(box), TAboutForm1::ModalResultOk);
    EXPECT_FALSE(IsWindowVisible(box.Window()));
  }

  TAboutForm1 clicked(owner_);
  PostMessageW(clicked.OkButton1(), BM_CLICK, 0, 0);
  EXPECT_EQ(ShowModalWatched(clicked), TAboutForm1::ModalResultOk);
}

TEST_F(AboutBox, TabKeepsTheBoxOpenWithTheFocusOnOkButton1) {
  TAboutForm1 box(owner_);
  PostKey(box.OkButton1(), VK_TAB);
  DuringModalLoop([&] {
    EXPECT_TRUE(IsWindowVisible(box.Window()));
    EXPECT_EQ(GetFocus(), box.OkButton1());
    PostKey(GetFocus(), VK_ESCAPE);
  });
  EXPECT_EQ(ShowModalWatched(box), TAboutForm1::ModalResultOk);
}

TEST_F(AboutBox, TheTitleBarCloseGivesCancel) {
  {
    TAboutForm1 box(owner_);
    PostMessageW(box.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(ShowModalWatched(box), TAboutForm1::ModalResultCancel);
    EXPECT_FALSE(IsWindowVisible(box.Window()));
  }
  {
    TAboutForm1 box(owner_);
    PostMessageW(box.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(ShowModalWatched(box), TAboutForm1::ModalResultCancel);
  }
}

TEST_F(AboutBox, OtherWindowsTakeNoInputWhileItIsOpenAndTheOwnerIsActiveAfter) {
  HWND other = CreateTopLevelWindow(500, 400);
  HWND disabledBefore = CreateTopLevelWindow(600, 500);
  EnableWindow(disabledBefore, FALSE);
  SetActiveWindow(owner_);
  PumpMessages();
  ASSERT_EQ(GetActiveWindow(), owner_);

  TAboutForm1 box(owner_);
  bool ranDuringLoop = false;
  DuringModalLoop([&] {
    ranDuringLoop = true;
    EXPECT_FALSE(IsWindowEnabled(owner_));
    EXPECT_FALSE(IsWindowEnabled(other));
    EXPECT_FALSE(IsWindowEnabled(disabledBefore));
    EXPECT_TRUE(IsWindowEnabled(box.Window()));
    EXPECT_TRUE(IsWindowVisible(box.Window()));
    EXPECT_EQ(GetActiveWindow(), box.Window());
    EXPECT_EQ(GetFocus(), box.OkButton1());
    PostKey(box.OkButton1(), VK_RETURN);
  });
  EXPECT_EQ(ShowModalWatched(box), TAboutForm1::ModalResultOk);
  EXPECT_TRUE(ranDuringLoop);

  EXPECT_TRUE(IsWindowEnabled(owner_));
  EXPECT_TRUE(IsWindowEnabled(other));
  EXPECT_FALSE(IsWindowEnabled(disabledBefore)) << "it was disabled before the box opened";
  EXPECT_FALSE(IsWindowVisible(box.Window()));
  EXPECT_EQ(GetActiveWindow(), owner_);
  DestroyWindow(other);
  DestroyWindow(disabledBefore);
}

TEST_F(AboutBox, AQuitDuringTheLoopEndsItAndStaysForTheMainLoop) {
  TAboutForm1 box(owner_);
  PostQuitMessage(7);
  EXPECT_EQ(ShowModalWatched(box), TAboutForm1::ModalResultCancel);
  EXPECT_TRUE(IsWindowEnabled(owner_));
  EXPECT_FALSE(IsWindowVisible(box.Window()));

  MSG message{};
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

TEST_F(AboutBox, ReleasingDestroysTheWindowShownOrNot) {
  auto neverShown = MakeWindow<TAboutForm1>(owner_);
  HWND neverShownWindow = neverShown->Window();
  ASSERT_TRUE(IsWindow(neverShownWindow));
  neverShown.reset();
  EXPECT_FALSE(IsWindow(neverShownWindow));

  auto shown = MakeWindow<TAboutForm1>(owner_);
  HWND shownWindow = shown->Window();
  HWND button = shown->OkButton1();
  PostKey(button, VK_ESCAPE);
  EXPECT_EQ(ShowModalWatched(*shown), TAboutForm1::ModalResultOk);
  shown.reset();
  EXPECT_FALSE(IsWindow(shownWindow));
  EXPECT_FALSE(IsWindow(button));
  PumpMessages();  // messages still queued for it go nowhere
  EXPECT_TRUE(IsWindowEnabled(owner_));
}

TEST_F(AboutBox, GoesWithItsOwner) {
  // Destroyed before the box is released: the release must not touch it again.
  auto box = MakeWindow<TAboutForm1>(owner_);
  HWND window = box->Window();
  DestroyWindow(owner_);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(box->Window(), nullptr);
  box.reset();

  // Destroyed while the box is open: the modal loop ends instead of waiting forever.
  owner_ = CreateTopLevelWindow(50, 50);
  TAboutForm1 open(owner_);
  DuringModalLoop([&] { DestroyWindow(owner_); });
  EXPECT_EQ(ShowModalWatched(open), TAboutForm1::ModalResultCancel);
  EXPECT_EQ(open.Window(), nullptr);
}

}  // namespace
