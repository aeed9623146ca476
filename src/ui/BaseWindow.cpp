#include "ui/BaseWindow.h"

#include <exception>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/Text.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Dpi.h"
#include "ui/WindowMap.h"

namespace {

// Messages that carry what a user asked for; an error there is shown at once,
// as the answer to it. All others are Windows' own doing.
bool IsUserRequest(UINT message) {
  switch (message) {
    case WM_COMMAND:
    case WM_SYSCOMMAND:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CLOSE:
    case WM_DROPFILES:
    case WM_VKEYTOITEM:
    case WM_DPICHANGED: return true;
    default: return false;
  }
}

// One user interface thread: plain statics.
int systemWorkDepth = 0;
std::optional<std::wstring> waitingError;  // posted, not shown yet
HWND waitingWindow = nullptr;              // where it was posted
std::wstring lastErrorShownLater;
bool showingLater = false;

class SystemWorkScope {
 public:
  explicit SystemWorkScope(UINT message) : counts_(!IsUserRequest(message)) {
    if (counts_) ++systemWorkDepth;
  }
  ~SystemWorkScope() {
    if (counts_) --systemWorkDepth;
  }
  SystemWorkScope(const SystemWorkScope&) = delete;
  SystemWorkScope& operator=(const SystemWorkScope&) = delete;

 private:
  bool counts_;
};

void ShowLater(HWND window, std::wstring text) {
  if (waitingError && !IsWindow(waitingWindow)) {
    // Its window went before the message came: the waiting one goes here.
    if (PostMessageW(window, EscapedErrors::ShowWaitingMessage(), 0, 0)) waitingWindow = window;
    return;
  }
  // While one waits or is on screen, others are most likely its echoes.
  if (waitingError || showingLater || text == lastErrorShownLater) return;
  if (!PostMessageW(window, EscapedErrors::ShowWaitingMessage(), 0, 0)) return;
  waitingError = std::move(text);
  waitingWindow = window;
}

void ShowWaitingError() {
  if (!waitingError || showingLater) return;
  lastErrorShownLater = std::move(*waitingError);
  waitingError.reset();
  showingLater = true;
  struct Done {
    ~Done() { showingLater = false; }
  } done;
  ShowError(lastErrorShownLater);
}

}  // namespace

UINT EscapedErrors::ShowWaitingMessage() {
  static const UINT message = RegisterWindowMessageW(L"ValteaShowEscapedError");
  return message;
}

bool EscapedErrors::InsideSystemWork() { return systemWorkDepth > 0; }

// The window's messages no longer reach its object.
void BaseWindow::Detach(HWND window) {
  if (WindowEntry* entry = EntryOf(window)) entry->window = nullptr;
  ForgetEmptyEntry(window);
}

void ThrowWindowNotCreated() { throw std::runtime_error("ウィンドウを作成できません"); }

BaseWindow::~BaseWindow() {
  if (window_ != nullptr) {
    Detach(window_);
    DestroyWindow(window_);
  }
}

void BaseWindow::RegisterClassOnce(WNDCLASSEXW windowClass) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(windowClass.hInstance, windowClass.lpszClassName, &existing)) return;
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProcedure;
  if (RegisterClassExW(&windowClass) == 0) ThrowWindowNotCreated();
}

void BaseWindow::RegisterFormClassOnce(const wchar_t* className) {
  WNDCLASSEXW windowClass{};
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = className;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  RegisterClassOnce(windowClass);
}

int BaseWindow::Scaled(int pixelsAt96) const { return Scale(pixelsAt96, dpi_); }

void BaseWindow::Destroy() {
  if (window_ != nullptr) DestroyWindow(window_);
}

HWND BaseWindow::Create(const WindowArgs& args) {
  HWND window = CreateWindowExW(args.exStyle, args.className, args.caption.c_str(), args.style, args.x, args.y,
                                args.width, args.height, args.parent, args.menuOrId, GetModuleHandleW(nullptr), this);
  if (window == nullptr) ThrowWindowNotCreated();
  return window;
}

LRESULT BaseWindow::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK BaseWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const WindowEntry* entry = EntryOf(window);
  BaseWindow* self = entry != nullptr ? entry->window : nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<BaseWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    self->dpi_ = WindowDpi(window);
    EntryFor(window).window = self;
  }
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == EscapedErrors::ShowWaitingMessage()) {
    try {
      ShowWaitingError();
    } catch (...) {
      // Nothing more can be done for it; the program goes on.
    }
    return 0;
  }

  LRESULT result = 0;
  {
    const SystemWorkScope scope(message);
    try {
      result = self->Dispatch(message, wParam, lParam);
    } catch (...) {
      result = self->ContainEscapedError(message);
    }
  }
  if (message == WM_NCDESTROY) {
    Detach(window);
    self->window_ = nullptr;
  }
  return result;
}

// A child's notification is its control's to deal with; what it leaves goes
// on to the window, as does everything else.
LRESULT BaseWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (::Control* control = ::Control::Of(reinterpret_cast<HWND>(lParam)))
        if (control->OnCommand(HIWORD(wParam))) return 0;
      break;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (::Control* control = ::Control::Of(header.hwndFrom))
        if (const auto result = control->OnNotify(header)) return *result;
      break;
    }
    case WM_VKEYTOITEM:
      if (::Control* control = ::Control::Of(reinterpret_cast<HWND>(lParam)))
        if (const auto result = control->OnKeyToItem(LOWORD(wParam))) return *result;
      break;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      if (::Control* control = ::Control::Of(reinterpret_cast<HWND>(lParam)))
        if (const auto brush = control->OnColour(reinterpret_cast<HDC>(wParam))) return reinterpret_cast<LRESULT>(*brush);
      break;
    case WM_DPICHANGED:
      TakeDpi(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    default: break;
  }
  return HandleMessage(message, wParam, lParam);
}

// Fonts, places and sizes follow the new DPI; then the window takes the
// rectangle the system suggests and lays itself out there.
void BaseWindow::TakeDpi(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    if (const WindowEntry* entry = EntryOf(child)) {
      if (entry->control != nullptr) entry->control->SetDpi(dpi);
      else if (entry->window != nullptr) entry->window->FollowParentDpi(dpi);
    }
  OnDpiChanged();
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client{};
  GetClientRect(window_, &client);
  SendMessageW(window_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  InvalidateRect(window_, nullptr, TRUE);
}

// Called inside the catch: the error is the current exception.
LRESULT BaseWindow::ContainEscapedError(UINT message) noexcept {
  // A failed paint would otherwise be asked for again and again.
  if (message == WM_PAINT) ValidateRect(window_, nullptr);
  RecoverFromEscapedError();
  try {
    std::wstring text = ErrorMessageOf(std::current_exception());
    if (EscapedErrors::InsideSystemWork()) {
      ShowLater(window_, std::move(text));
    } else {
      ShowError(text);
    }
  } catch (...) {
    // Not even the message could be made or shown; the program goes on.
  }
  return 0;
}
