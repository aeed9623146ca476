#pragma once
// One C++ object per window: the object is saved at WM_NCCREATE and every
// later message goes to its HandleMessage. What a child control tells its
// parent (WM_COMMAND, WM_NOTIFY, WM_VKEYTOITEM, WM_CTLCOLOR*) goes to the
// control's own object first, and WM_DPICHANGED rescales the window and its
// controls. Exceptions stop at this boundary and are shown to the user;
// Windows' own code between must never see one.

#include <windows.h>

#include <memory>
#include <string>
#include <utility>

// What a window is made from. Places and sizes are screen pixels.
struct WindowArgs {
  const wchar_t* className = nullptr;
  std::wstring caption;
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = CW_USEDEFAULT;
  int y = CW_USEDEFAULT;
  int width = CW_USEDEFAULT;
  int height = CW_USEDEFAULT;
  HWND parent = nullptr;      // the parent of a child, the owner of a top-level window
  HMENU menuOrId = nullptr;  // a top-level window's menu bar, a child's identifier
};

class BaseWindow {
 public:
  BaseWindow() = default;
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;
  virtual ~BaseWindow();

  HWND Window() const { return window_; }
  // The DPI the window is laid out for.
  int Dpi() const { return dpi_; }
  // A layout size at 96 dots per inch, in this window's pixels.
  int Scaled(int pixelsAt96) const;
  // Destroys the window, its children and the windows it owns while this
  // object still stands whole, so that their last messages find it sound.
  void Destroy();

 protected:
  // Registers the class once per process; procedure is WindowProcedure.
  static void RegisterClassOnce(WNDCLASSEXW windowClass);
  // A form's class: arrow cursor, the button face as background.
  static void RegisterFormClassOnce(const wchar_t* className);
  // Throws when the window cannot be created.
  HWND Create(const WindowArgs& args);

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);
  // An error escaped a message: puts the window back into a state where the
  // next message finds it sound (a drag ended, say). Must not throw.
  virtual void RecoverFromEscapedError() noexcept {}
  // The window moved to a monitor of another DPI: its controls have been
  // rescaled; what else depends on the DPI is done here, before the window
  // takes the rectangle the system suggests.
  virtual void OnDpiChanged() {}
  // A control that is a window of its own: its parent moved to `dpi`, and
  // it lays itself out anew there.
  virtual void FollowParentDpi(int dpi) { dpi_ = dpi; }

  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static void Detach(HWND window);
  LRESULT ContainEscapedError(UINT message) noexcept;
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void TakeDpi(int dpi, const RECT& suggested);

  HWND window_ = nullptr;
  int dpi_ = 96;
};

// Windows are released through this: the window goes first, while the whole
// object stands, then the object. (The base class's destructor would come
// after the members, fonts and pictures the window still uses.)
struct WindowDeleter {
  void operator()(BaseWindow* window) const {
    window->Destroy();
    delete window;
  }
};
template <typename Window>
using WindowPtr = std::unique_ptr<Window, WindowDeleter>;

template <typename Window, typename... Arguments>
WindowPtr<Window> MakeWindow(Arguments&&... arguments) {
  return WindowPtr<Window>(new Window(std::forward<Arguments>(arguments)...));
}

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
