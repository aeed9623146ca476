#pragma once
// A tool window of one list beside the main window, which owns it: a line
// above the list, and the list. Enter or a double click on an entry asks
// for it; Esc or the close button closes the window. It takes no part in
// what the map holds: the main window gives it the lines to show.

#include <functional>
#include <string>
#include <vector>

#include "ui/Controls.h"
#include "ui/ToolWindow.h"

class ListWindow : public ToolWindow {
 public:
  // `activate` is asked for entry `index`.
  ListWindow(ToolWindowPlace place, const wchar_t* className, std::function<void(int index)> activate);

  void ShowLines(const std::wstring& caption, const std::wstring& heading, const std::vector<std::wstring>& lines);

  ListBox& List() { return List1; }
  HWND Summary() const { return Summary1.Window(); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  HWND KeyboardTarget() const override { return List1.Window(); }

 private:
  void OnSize(int width, int height);

  Label Summary1;
  ListBox List1;
};
