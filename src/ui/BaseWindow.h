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
  // Throws when the window cannot be created.
  HWND Create(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle, int x,
              int y, int width, int height, HWND parent, HMENU menuOrId);

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);
  // An error escaped a message: puts the window back into a state where the
  // next message finds it sound (a drag ended, say). Must not throw.
  virtual void RecoverFromEscapedError() noexcept {}

  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT ContainEscapedError(UINT message) noexcept;

  HWND window_ = nullptr;
};

// Errors that escape a message handler reach the user in the error box. Those
// raised while painting, in timers, during mouse tracking or in any other
// message that Windows sends on its own, and in whatever those messages
// cause, would open the box in the middle of that work; its modal loop would
// paint or tick again, fail again and stack boxes. So those wait for the
// message loop, and the same such error is shown once only.
namespace EscapedErrors {
// The message that shows a waiting error, posted to the window that failed.
UINT ShowWaitingMessage();
// True while a message that Windows sent on its own is being handled.
bool InsideSystemWork();
}  // namespace EscapedErrors

// Throws the error the user sees when a window cannot be created.
[[noreturn]] void ThrowWindowNotCreated();
