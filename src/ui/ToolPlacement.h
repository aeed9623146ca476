#pragma once
// Where a tool window opens: beside the main window wherever the work area
// has room for it, to the right or below, so that it hides nothing of the
// grid; only where there is no such room over the main window, and then over
// the least of it. Platform-free: rectangles are screen pixels.

#include <vector>

struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const ScreenRect& a, const ScreenRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
};

struct ToolWindowRoom {
  ScreenRect work;                // the work area of the main window's monitor
  ScreenRect main;                // the main window's frame
  std::vector<ScreenRect> others;  // the tool windows open already, which it should not cover either
};

// The frame of a window that wants `width` x `height` and takes no less than
// `leastWidth` x `leastHeight` beside the main window.
ScreenRect PlaceToolWindow(const ToolWindowRoom& room, int width, int height, int leastWidth, int leastHeight);
