#pragma once
// One C++ object per window: the object is saved at WM_NCCREATE and every
// later message goes to its HandleMessage. Exceptions stop at this boundary
// and are shown to the user; Windows' own code between must never see one.

#include <windows.h>

class BaseWindow {
 public:
  BaseWindow() = default;
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;
  virtual ~BaseWindow();

  HWND Window() const { return window_; }

 protected:
  // Registers the class once per process; procedure is WindowProcedure.
  static void RegisterClassOnce(WNDCLASSEXW windowClass);
  // A form's class: arrow cursor, the button face as background.
  static void RegisterFormClassOnce(const wchar_t* className);
  HWND Create(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle, int x,
              int y, int width, int height, HWND parent, HMENU menuOrId);

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);
  // Shows an error that escaped a message handler; the program goes on.
  virtual void ShowEscapedError(const wchar_t* message);

  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  HWND window_ = nullptr;
};
