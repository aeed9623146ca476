#pragma once
// Where a tool window opens: beside the main window wherever the work area
// has room for it, to the right or below, so that it hides nothing of the
// grid; only where there is no such room over the main window, and then over
// the least of it. Platform-free: rectangles are screen pixels.

#include <vector>

#include "picture/HexGeometry.h"

using ScreenRect = PixelRect;

struct ToolWindowRoom {
  ScreenRect work;                // the work area of the main window's monitor
  ScreenRect main;                // the main window's frame
  std::vector<ScreenRect> others;  // the tool windows open already, which it should not cover either
};

// The frame of a window that wants `width` x `height` and takes no less than
// `leastWidth` x `leastHeight` beside the main window.
ScreenRect PlaceToolWindow(const ToolWindowRoom& room, int width, int height, int leastWidth, int leastHeight);
