#include "ui/BaseWindow.h"

#include <exception>
#include <string>

#include "ui/Dialogs.h"
#include "ui/Text.h"

BaseWindow::~BaseWindow() {
  if (window_ != nullptr) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

void BaseWindow::RegisterClassOnce(WNDCLASSEXW windowClass) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(windowClass.hInstance, windowClass.lpszClassName, &existing)) return;
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProcedure;
  RegisterClassExW(&windowClass);
}

void BaseWindow::RegisterFormClassOnce(const wchar_t* className) {
  WNDCLASSEXW windowClass{};
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = className;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  RegisterClassOnce(windowClass);
}

HWND BaseWindow::Create(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle,
                        int x, int y, int width, int height, HWND parent, HMENU menuOrId) {
  return CreateWindowExW(exStyle, className, caption, style, x, y, width, height, parent, menuOrId,
                         GetModuleHandleW(nullptr), this);
}

LRESULT BaseWindow::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window_, message, wParam, lParam);
}

void BaseWindow::ShowEscapedError(const wchar_t* message) { ShowError(message); }

LRESULT CALLBACK BaseWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<BaseWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<BaseWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);

  try {
    const LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      self->window_ = nullptr;
    }
    return result;
  } catch (...) {
    self->ShowEscapedError(ErrorMessageOf(std::current_exception()).c_str());
    return 0;
  }
}
