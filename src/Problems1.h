#pragma once
// The problem window: every problem of the road network check, in its order
// and words, in a list beside the main window, which owns it. Enter or a
// double click on an entry asks for that problem's cell; Esc or the close
// button closes it. It takes no part in what the map holds: the main window
// gives it the lines to show after every change.

#include <functional>
#include <string>
#include <vector>

#include "ui/Controls.h"
#include "ui/ToolWindow.h"

class TProblemsForm1 : public ToolWindow {
 public:
  // `goTo` is asked for problem `index`.
  TProblemsForm1(ToolWindowPlace place, std::function<void(int index)> goTo);

  // The lines of the problems and the summary ("道路網の問題: 2 件").
  void ShowProblems(const std::vector<std::wstring>& lines, const std::wstring& summary);

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
