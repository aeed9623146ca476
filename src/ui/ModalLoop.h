#pragma once
// What every modal window of the program does while it is up: the thread's
// other windows take no input, a drag elsewhere ends first, and the window
// that was active before is active again afterwards.

#include <windows.h>

#include <vector>

#include "ui/BaseWindow.h"

class ModalScope {
 public:
  // `window` is the modal one; `owner` is disabled even when hidden.
  ModalScope(HWND window, HWND owner);
  // Enables the others again while `window` still stands, so that hiding it
  // hands the activation back; then hides it and activates the one before.
  ~ModalScope();
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

 private:
  static BOOL CALLBACK Collect(HWND window, LPARAM self);
  bool Contains(HWND window) const;

  HWND window_;
  HWND activeBefore_;
  std::vector<HWND> disabled_;
};

// A fixed dialog's window over the middle of its owner, as the system's
// dialogs open: a client area of `clientWidth` x `clientHeight` pixels at 96
// dots per inch, at the owner's DPI.
WindowArgs ModalDialogArgs(HWND owner, const wchar_t* className, std::wstring caption, int clientWidth,
                           int clientHeight);

// Handles input until `result` is other than 0, and returns it; when
// `window` has gone or the program quits (the quit is posted again for the
// main loop), returns `cancelled`. Enter, Esc and Tab act as in any dialog.
int RunModalLoop(const BaseWindow& window, const int& result, int cancelled);

// A modal dialog's window: it is up while its result is 0; OK is its
// default button, and its frame's close box cancels it, as in any dialog.
class DialogWindow : public BaseWindow {
 public:
  static constexpr int Accepted = 1;
  static constexpr int Cancelled = 2;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) final;
  // What the dialog handles of its own.
  virtual LRESULT HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam);
  int RunModalLoop() { return ::RunModalLoop(*this, result_, Cancelled); }

  int result_ = 0;
};
