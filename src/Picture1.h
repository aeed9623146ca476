#pragma once
// The map as a picture, beside the grid: every hexagon as `render` draws it,
// with the grid's current cell outlined and, while the problem window is
// open, the problems ringed, and while a patch is previewed, the cells it
// would change. It is drawn by render's painter into a device
// independent bitmap of the window's size as the map changes, and blitted
// when exposed; scrolling blits what stays in view.
//
// Three tools act on it, each with Tiled's key: Select (S), where a click on
// a hexagon asks for its cell; the road brush (B), whose drag draws a road
// hexagon by hexagon (RoadStroke); the eraser (E), whose drag takes road
// pieces away into the land of the list beside it. A stroke shows as it
// grows and goes to the main window, which owns the map, at the release as
// one change; Esc while the button is held takes it back. The status line
// names the hexagon under the pointer and, during a stroke, its length and
// why the road cannot go where the pointer is.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "map/HexGrid.h"
#include "map/MapFile.h"
#include "map/RoadStroke.h"
#include "picture/HexGeometry.h"
#include "picture/MapPicture.h"
#include "ui/Commands.h"
#include "ui/Controls.h"
#include "ui/Handles.h"
#include "ui/ToolWindow.h"

class TPictureForm1 : public ToolWindow {
 public:
  enum class Tool { Select, Brush, Eraser };
  struct Events {
    std::function<void(GridCell cell)> cellClicked;
    // A stroke ended with the map `drawn`.
    std::function<void(const MapImage& drawn)> strokeEnded;
    // What the status line says of a hexagon ("5 : 10 平地 4").
    std::function<std::wstring(GridCell cell)> cellName;
  };
  // Opens as large as the picture where there is room for it, at the scale
  // it had when it last closed.
  TPictureForm1(ToolWindowPlace place, Events events);

  // What to show. Only the hexagons that differ from what it shows are
  // drawn again; the current cell is kept in view as the grid keeps it.
  void ShowMap(const MapImage& image, GridCell current, const std::vector<MapRing>& rings);

  int Scale() const { return scale_; }
  // The picture's pixel at the top left corner of the part that shows it.
  PicturePoint Origin() const { return origin_; }
  // Where that part begins in the client area, below the band of tools.
  int PictureTop() const;
  Tool CurrentTool() const { return tool_; }
  bool Stroking() const { return stroking_; }
  HWND Tools() const { return tools_.Window(); }
  HWND Lands() const { return lands_.Window(); }
  HWND Status() const { return status_.Window(); }

  // Esc during a stroke takes the stroke back; otherwise it closes the window.
  bool PreTranslateMessage(const MSG& message) override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnPaint();
  void PaintPart(HDC dc, const RECT& exposed);
  void OnSize(int width, int height);
  void OnScroll(int bar, int request);
  void OnMouseWheel(WPARAM wParam, LPARAM lParam);
  void OnKeyDown(WPARAM key);
  void OnLeftButtonDown(POINT point);
  void OnLeftButtonUp();
  void OnMouseMove(POINT point);
  void OnPanStart(POINT point);
  void OnPanMove(POINT point);
  bool OnSetCursor();

  // The tools.
  CommandTable MakeCommands();
  void CreateBand();
  void SelectTool(Tool tool);
  std::optional<int> HexagonAt(POINT inPicture) const;
  void StartStroke(int offset, POINT inPicture);
  void ExtendStroke(int offset);
  void ShowStroke();
  void EndStroke();
  void CancelStroke();
  void ShowStatus(std::wstring text);
  TerrainCode EraserLand() const;
  // A client point in the part that shows the picture, and back.
  POINT InPicture(POINT client) const;
  RECT PictureArea() const;  // in client pixels
  void Show(const MapImage& image);

  void ZoomAt(int scale, POINT anchor);
  void ZoomStep(int direction, POINT anchor);
  int SmallestScale() const;
  void ScrollTo(PicturePoint origin);
  void KeepInView(GridCell cell);
  PicturePoint Clamped(PicturePoint origin) const;
  void UpdateScrollBars();
  RECT HexagonRect(int offset, int reach) const;  // in the picture part's pixels
  // Draw into the bitmap and ask the window to show it.
  std::vector<RECT> ChangedHexagons(const MapImage& image) const;
  void AddDrawnRect(int offset, int reach, std::vector<RECT>& rects) const;
  void Repaint(const std::vector<RECT>& rects);  // in client pixels
  void RepaintAll();
  void DrawIntoBitmap(const std::vector<RECT>& rects);
  void ShiftBitmap(int dx, int dy);
  bool DrawnRect(int offset, int reach, RECT& rect) const;
  int OutlineReach() const;
  void DrawOutline(HDC dc) const;
  void ForgetBitmap();
  void MakeBitmap(int width, int height);
  SIZE Client() const;

  Events events_;
  CommandTable commands_;
  ToolBar tools_;
  ComboBox lands_;
  Label status_;
  Tool tool_ = Tool::Select;
  // A stroke: the map before it, the brush's road or the hexagons erased.
  bool stroking_ = false;
  Tool strokeTool_ = Tool::Select;
  MapImage land_{};
  std::optional<RoadStroke> stroke_;
  std::vector<int> erased_;
  int lastHexagon_ = NoMapOffset;
  POINT lastPoint_{0, 0};
  std::wstring refusal_;
  MapImage shown_{};
  bool showing_ = false;
  GridCell current_;
  std::vector<MapRing> rings_;
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
