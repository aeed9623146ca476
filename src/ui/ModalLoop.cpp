#include "ui/ModalLoop.h"

#include "ui/Dpi.h"

namespace {

// A drag in progress elsewhere (the grid's, with its scrolling timer) ends
// before the modal window takes over the input.
void CancelMouseCapture() {
  if (HWND captured = GetCapture()) {
    SendMessageW(captured, WM_CANCELMODE, 0, 0);
    ReleaseCapture();
  }
}

}  // namespace

ModalScope::ModalScope(HWND window, HWND owner) : window_(window), activeBefore_(GetActiveWindow()) {
  CancelMouseCapture();
  EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(this));
  if (owner != nullptr && IsWindowEnabled(owner) && !Contains(owner)) disabled_.push_back(owner);
  for (HWND disabled : disabled_) EnableWindow(disabled, FALSE);
}

ModalScope::~ModalScope() {
  // Only windows that were enabled are enabled again.
  for (HWND disabled : disabled_)
    if (IsWindow(disabled)) EnableWindow(disabled, TRUE);
  if (IsWindow(window_)) ShowWindow(window_, SW_HIDE);
  if (IsWindow(activeBefore_) && IsWindowVisible(activeBefore_) && IsWindowEnabled(activeBefore_))
    SetActiveWindow(activeBefore_);
}

BOOL CALLBACK ModalScope::Collect(HWND window, LPARAM self) {
  auto* scope = reinterpret_cast<ModalScope*>(self);
  if (window != scope->window_ && IsWindowVisible(window) && IsWindowEnabled(window))
    scope->disabled_.push_back(window);
  return TRUE;
}

bool ModalScope::Contains(HWND window) const {
  for (HWND disabled : disabled_)
    if (disabled == window) return true;
  return false;
}

WindowArgs ModalDialogArgs(HWND owner, const wchar_t* className, std::wstring caption, int clientWidth,
                           int clientHeight) {
  constexpr DWORD Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  constexpr DWORD ExStyle = WS_EX_DLGMODALFRAME;
  const int dpi = owner != nullptr ? WindowDpi(owner) : SystemDpi();
  RECT frame{0, 0, Scale(clientWidth, dpi), Scale(clientHeight, dpi)};
  AdjustWindowRectEx(&frame, Style, FALSE, ExStyle);
  RECT ownerFrame{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner != nullptr) GetWindowRect(owner, &ownerFrame);
  WindowArgs args;
  args.className = className;
  args.caption = std::move(caption);
  args.style = Style;
  args.exStyle = ExStyle;
  args.width = frame.right - frame.left;
  args.height = frame.bottom - frame.top;
  args.x = (ownerFrame.left + ownerFrame.right - args.width) / 2;
  args.y = (ownerFrame.top + ownerFrame.bottom - args.height) / 2;
  args.parent = owner;
  return args;
}

int RunModalLoop(const BaseWindow& window, const int& result, int cancelled) {
  MSG message;
  while (result == 0) {
    if (window.Window() == nullptr) return cancelled;  // destroyed with its owner
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      return cancelled;
    }
    if (IsDialogMessageW(window.Window(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return result;
}

LRESULT DialogWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case DM_GETDEFID: return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_CLOSE:
      result_ = Cancelled;
      return 0;
    default: return HandleDialogMessage(message, wParam, lParam);
  }
}

LRESULT DialogWindow::HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultHandling(message, wParam, lParam);
}
