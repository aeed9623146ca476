#include "ui/ApplicationWindow.h"

namespace {
constexpr wchar_t ClassName[] = L"ValteaApplication";
constexpr DWORD Style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX;
}  // namespace

ApplicationWindow::ApplicationWindow() {
  WNDCLASSEXW windowClass{};
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = ClassName;
  RegisterClassOnce(windowClass);
}

void ApplicationWindow::CreateWindowWithTitle(const wchar_t* title, HICON icon) {
  WindowArgs args;
  args.className = ClassName;
  args.caption = title;
  args.style = Style;
  args.x = GetSystemMetrics(SM_CXSCREEN) / 2;
  args.y = GetSystemMetrics(SM_CYSCREEN) / 2;
  args.width = 0;
  args.height = 0;
  Create(args);
  if (icon != nullptr) {
    SendMessageW(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
}

void ApplicationWindow::Show() { ShowWindow(Window(), SW_SHOWNOACTIVATE); }

void ApplicationWindow::Minimize() {
  // The main window goes with it, and comes back when it is restored (OnSize).
  if (mainWindow_ != nullptr && IsWindowVisible(mainWindow_)) {
    ShowWindow(mainWindow_, SW_HIDE);
    mainHidden_ = true;
  }
  ShowWindow(Window(), SW_MINIMIZE);
}

LRESULT ApplicationWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam));
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_SIZE:
      OnSize(wParam);
      return 0;
    default: return DefaultHandling(message, wParam, lParam);
  }
}

void ApplicationWindow::OnActivate(WORD state) {
  // Restored from the taskbar or picked with Alt+Tab: the user means the main window.
  if (state != WA_INACTIVE && mainWindow_ != nullptr && !IsIconic(Window()) && IsWindowEnabled(mainWindow_))
    SetActiveWindow(mainWindow_);
}

void ApplicationWindow::OnSize(WPARAM kind) {
  if (kind != SIZE_RESTORED || !mainHidden_) return;
  mainHidden_ = false;
  ShowWindow(mainWindow_, SW_SHOW);
  SetActiveWindow(mainWindow_);
}

void ApplicationWindow::OnClose() {
  if (mainWindow_ != nullptr) PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
}
