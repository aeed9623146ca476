#pragma once
// The window that stands for the program on the taskbar, always under the
// application title, whatever the main window's caption says at the time.
// It has no size of its own: the main window is owned by it (and so has no
// taskbar button of its own), and it hands activation, minimising, restoring
// and closing on to the main window.

#include "ui/BaseWindow.h"

class ApplicationWindow : public BaseWindow {
 public:
  ApplicationWindow();
  void CreateWindowWithTitle(const wchar_t* title, HICON icon);
  void SetMainWindow(HWND mainWindow) { mainWindow_ = mainWindow; }
  void Show();
  // Minimises the program as a whole: the main window hides with its owner.
  void Minimize();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnActivate(WORD state);
  void OnSize(WPARAM kind);
  void OnClose();

  HWND mainWindow_ = nullptr;
  bool mainHidden_ = false;  // by Minimize, until the program is restored
};
