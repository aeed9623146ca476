// The toolchain end to end: the real main window under Wine, with its title
// stored as Shift-JIS and shown in UTF-16.

#include <gtest/gtest.h>
#include <windows.h>

#include "Main1.h"
#include "model/EditorModel.h"
#include "platform/Text.h"

namespace {

std::wstring CaptionOf(HWND window) {
  wchar_t caption[256] = {};
  GetWindowTextW(window, caption, 256);
  return caption;
}

TEST(ProgramWindow, CaptionIsTheApplicationTitleAndClosingEndsTheLoop) {
  // The title's bytes are Shift-JIS; code page 932 turns them into the title.
  EXPECT_EQ(static_cast<unsigned char>(ApplicationTitle[0]), 0x83);
  EXPECT_EQ(Widen(ApplicationTitle), L"ヴァルテア 街道エディタ");

  const WindowPtr<TMainForm1> owner = MakeWindow<TMainForm1>();
  TMainForm1& form = *owner;
  form.CreateWindowAndControls();
  HWND window = form.Window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(CaptionOf(window), L"ヴァルテア 街道エディタ");

  PostMessageW(window, WM_CLOSE, 0, 0);
  MSG message;
  bool quit = false;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  quit = message.message == WM_QUIT;
  EXPECT_TRUE(quit);
  EXPECT_FALSE(IsWindow(window));
}

// Wine draws the title bar's buttons as characters of its Marlett font; the
// test and run set-up puts it where Wine finds it. Without it the buttons
// read "0 1 r" on every screenshot.
TEST(ProgramWindow, TheTitleBarButtonsFontIsThere) {
  HFONT marlett = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SYMBOL_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Marlett");
  HDC screen = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(screen, marlett);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(screen, LF_FACESIZE, face);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  DeleteObject(marlett);
  EXPECT_STREQ(face, L"Marlett");
}

}  // namespace
