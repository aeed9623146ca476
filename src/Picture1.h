#pragma once
// The map as a picture, beside the grid: every hexagon as `render` draws it,
// with the grid's current cell outlined and, while the problem window is
// open, the problems ringed. It is drawn by render's painter into a device
// independent bitmap of the window's size, part by part as parts are exposed,
// and blitted; scrolling blits what stays in view. A click on a hexagon asks
// for its cell; the main window, which owns it, does the rest.

#include <functional>
#include <vector>

#include "map/HexGrid.h"
#include "map/MapFile.h"
#include "picture/HexGeometry.h"
#include "ui/Handles.h"
#include "ui/ToolWindow.h"

class TPictureForm1 : public ToolWindow {
 public:
  struct Events {
    std::function<void(GridCell cell)> cellClicked;
  };
  // Opens as large as the picture where there is room for it, at the scale
  // it had when it last closed.
  TPictureForm1(ToolWindowPlace place, Events events);

  // What to show. Only the hexagons that differ from what it shows are
  // drawn again; the current cell is kept in view as the grid keeps it.
  void ShowMap(const MapImage& image, GridCell current, const std::vector<int>& ringed);

  int Scale() const { return scale_; }
  // The picture's pixel at the window's top left corner.
  PicturePoint Origin() const { return origin_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnPaint();
  void OnSize(int width, int height);
  void OnScroll(int bar, int request);
  void OnMouseWheel(WPARAM wParam, LPARAM lParam);
  void OnKeyDown(WPARAM key);
  void OnLeftButtonDown(POINT point);
  void OnPanStart(POINT point);
  void OnPanMove(POINT point);

  void ZoomAt(int scale, POINT anchor);
  void ZoomStep(int direction, POINT anchor);
  int SmallestScale() const;
  void ScrollTo(PicturePoint origin);
  void KeepInView(GridCell cell);
  PicturePoint Clamped(PicturePoint origin) const;
  void UpdateScrollBars();
  RECT HexagonRect(int offset, int reach) const;  // in client pixels
  void InvalidateHexagon(int offset);
  void DrawOutline(HDC dc) const;
  void ForgetBitmap();
  void MakeBitmap(int width, int height);
  SIZE Client() const;

  Events events_;
  MapImage shown_{};
  bool showing_ = false;
  GridCell current_;
  std::vector<int> ringed_;
  int scale_;
  PicturePoint origin_{0, 0};
  // The bitmap the painter draws into: the client area's size, palette indices.
  BitmapHandle bitmap_;
  MemoryDcHandle bitmapDc_;
  HGDIOBJ bitmapDcDefault_ = nullptr;
  std::uint8_t* bits_ = nullptr;
  int stride_ = 0;
  SIZE bitmapSize_{0, 0};
  bool panning_ = false;
  POINT panFrom_{0, 0};
};
