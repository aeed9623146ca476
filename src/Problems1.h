#pragma once
// The problem window: every problem of the road network check, in its order
// and words, in a list beside the main window, which owns it. Enter or a
// double click on an entry asks for that problem's cell; Esc or the close
// button closes it. It takes no part in what the map holds: the main window
// gives it the lines to show after every change.

#include <functional>
#include <string>
#include <vector>

#include "ui/BaseWindow.h"
#include "ui/Controls.h"

class TProblemsForm1 : public BaseWindow {
 public:
  // `goTo` is asked for problem `index`; `closed` hears that the window is
  // gone, so that its owner releases it.
  TProblemsForm1(HWND owner, std::function<void(int index)> goTo, std::function<void()> closed);

  // The lines of the problems and the summary ("道路網の問題: 2 件").
  void ShowProblems(const std::vector<std::wstring>& lines, const std::wstring& summary);
  // Shows the window, or brings it to the front, with the keyboard on its list.
  void BringToFront();
  // Esc, for the message loop; true when the message was used.
  bool PreTranslateMessage(const MSG& message);

  ListBox& List() { return List1; }
  HWND Summary() const { return Summary1.Window(); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnSize(int width, int height);

  std::function<void()> closed_;
  Label Summary1;
  ListBox List1;
  ControlEvents controlEvents_;
};
