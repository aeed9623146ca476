#pragma once
// The distances window: the places that the place at the current cell
// reaches by road, nearest first, with their steps, in network --from's
// words. Enter or a double click on an entry makes that place current.

#include "ui/ListWindow.h"

class TDistancesForm1 : public ListWindow {
 public:
  // `goTo` is asked for entry `index`.
  TDistancesForm1(ToolWindowPlace place, std::function<void(int index)> goTo)
      : ListWindow(std::move(place), L"TDistancesForm1", std::move(goTo)) {}
};
