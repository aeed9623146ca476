#pragma once
// The problem window: every problem of the road network check, in its order
// and words, in a list beside the main window. Enter or a double click on an
// entry asks for that problem's cell.

#include "ui/ListWindow.h"

class TProblemsForm1 : public ListWindow {
 public:
  // `goTo` is asked for problem `index`.
  TProblemsForm1(ToolWindowPlace place, std::function<void(int index)> goTo);

  // The lines of the problems and the summary ("道路網の問題: 2 件").
  void ShowProblems(const std::vector<std::wstring>& lines, const std::wstring& summary);
};
