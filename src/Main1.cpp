#include "Main1.h"

#include "model/EditorModel.h"
#include "ui/Dpi.h"
#include "ui/Text.h"

namespace {
constexpr wchar_t ClassName[] = L"TMainForm1";
constexpr int Left = 50;
constexpr int Top = 50;
constexpr int ClientWidth = 864;
constexpr int ClientHeight = 534;
constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
}  // namespace

TMainForm1::TMainForm1() {
  WNDCLASSEXW windowClass{};
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = ClassName;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  RegisterClassOnce(windowClass);
}

void TMainForm1::CreateWindowAndControls() {
  RECT frame{0, 0, Scale(ClientWidth), Scale(ClientHeight)};
  AdjustWindowRectEx(&frame, Style, FALSE, 0);
  Create(ClassName, Widen(ApplicationTitle).c_str(), Style, 0, Scale(Left), Scale(Top),
         frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr);
}

void TMainForm1::Show(int showCommand) {
  ShowWindow(Window(), showCommand);
  UpdateWindow(Window());
}

LRESULT TMainForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

void TMainForm1::OnDestroy() { PostQuitMessage(0); }
