#pragma once
// The main window: the map grid, the toolbar, the side panel with the road
// chooser and the info fields, and the menu. It owns the one editor model.

#include "ui/BaseWindow.h"

class TMainForm1 : public BaseWindow {
 public:
  TMainForm1();
  // Creates the window (hidden) at its place with its controls.
  void CreateWindowAndControls();
  void Show(int showCommand);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnDestroy();
};
