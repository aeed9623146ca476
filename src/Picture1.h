#pragma once
// The map as a picture, beside the grid: every hexagon as `render` draws it,
// with the grid's current cell outlined and, while the problem window is
// open, the problems ringed, and while a patch is previewed, the cells it
// would change. The window only wires its messages to the parts that do the
// work: the view (what part of the picture shows, at which scale), the tools
// (Select, the road brush, the eraser, with Tiled's keys S, B, E), and the
// back buffer, which render's painter draws into as the map changes and
// which is blitted when exposed.
//
// A stroke shows as it grows and goes to the main window, which owns the
// map, at the release as one change; Esc while the button is held takes it
// back. While the button is held with the pointer outside the picture, the
// picture scrolls toward it, as the grid does. The status line names the
// hexagon under the pointer and, during a stroke, its length and why the
// road cannot go where the pointer is.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "map/HexGrid.h"
#include "map/MapFile.h"
#include "map/RoadStroke.h"
#include "model/PictureTools.h"
#include "picture/MapPicture.h"
#include "picture/PictureView.h"
#include "ui/BackBuffer.h"
#include "ui/Commands.h"
#include "ui/Controls.h"
#include "ui/ToolWindow.h"

// What the picture keeps from one opening to the next in a run.
struct PictureMemory {
  int scale = DefaultMapPictureScale;
  PictureToolKind tool = PictureToolKind::Select;
  TerrainCode land = DefaultEraserLand;
  bool networks = false;  // the road networks told apart by colour
};

class TPictureForm1 : public ToolWindow {
 public:
  using Tool = PictureToolKind;
  struct Events {
    std::function<void(GridCell cell)> cellClicked;
    // A stroke ended with the map `drawn`.
    std::function<void(const MapImage& drawn)> strokeEnded;
    // What the status line says of a hexagon ("5 : 10 平地 4").
    std::function<std::wstring(GridCell cell)> cellName;
  };
  static constexpr UINT_PTR StrokeScrollTimerId = 1;

  // Opens as large as the picture where there is room for it, at the scale
  // and with the tool it had when it last closed.
  TPictureForm1(ToolWindowPlace place, Events events, PictureMemory* memory = nullptr);

  // What to show, with each road's colour (NetworkLook; none: every road
  // its own). Only the hexagons that differ from what it shows are drawn
  // again; the current cell is kept in view as the grid keeps it.
  void ShowMap(const MapImage& image, GridCell current, const std::vector<MapRing>& rings,
               const std::vector<std::uint8_t>& roadColours = {});
  // A line the status line keeps after what it says of the pointer, until
  // another replaces it: what the last change did to the roads.
  void ShowNote(const std::wstring& note);

  int Scale() const { return view_.Scale(); }
  // The picture's pixel at the top left corner of the part that shows it.
  PicturePoint Origin() const { return view_.Origin(); }
  // Where that part begins in the client area, below the band of tools.
  int PictureTop() const;
  Tool CurrentTool() const { return memory_->tool; }
  bool Stroking() const { return stroking_; }
  HWND Tools() const { return tools_.Window(); }
  HWND Lands() const { return lands_.Window(); }
  HWND Status() const { return status_.Window(); }

  // Esc during a stroke takes the stroke back; otherwise it closes the window.
  bool PreTranslateMessage(const MSG& message) override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void RecoverFromEscapedError() noexcept override;

 private:
  // Messages.
  void OnPaint();
  void PaintPart(HDC dc, const RECT& exposed);
  void OnSize(int width, int height);
  void OnScroll(int bar, int request);
  void OnMouseWheel(WPARAM wParam, LPARAM lParam);
  void OnKeyDown(WPARAM key);
  void OnLeftButtonDown(POINT client);
  void OnLeftButtonUp();
  void OnMouseMove(POINT client);
  void OnStrokeScrollTimer();
  void OnPanStart(POINT client);
  void OnPanMove(POINT client);
  bool OnSetCursor();

  // The tools.
  CommandTable MakeCommands();
  void CreateBand();
  void SelectTool(Tool tool);
  TerrainCode EraserLand() const;
  void ShowStroke(const ToolOutcome& outcome);
  void EndStroke();
  void CancelStroke();
  void StopStroke();
  void ShowStatus(std::wstring text);

  // The view, in client pixels.
  PicturePoint InPart(POINT client) const;
  RECT ToClient(const PixelRect& rect) const;
  RECT PictureArea() const;
  void ScrollTo(PicturePoint origin);
  void ViewChanged();
  void UpdateScrollBars();

  // Drawing into the back buffer, and asking the window to blit.
  void Show(const MapImage& image);
  void Repaint(const std::vector<PixelRect>& rects);
  void DrawIntoBuffer(const std::vector<PixelRect>& rects);
  int OutlineReach() const;
  void DrawOutline(HDC dc) const;

  Events events_;
  PictureMemory fallbackMemory_;
  PictureMemory* memory_;
  CommandTable commands_;
  ToolBar tools_;
  ComboBox lands_;
  Label status_;
  std::unique_ptr<PictureTool> tool_;
  bool stroking_ = false;
  POINT pointer_{0, 0};  // during a stroke, in client pixels
  PictureView view_;
  BackBuffer buffer_;
  MapImage shown_{};
  bool showing_ = false;
  GridCell current_;
  std::vector<MapRing> rings_;
  std::vector<std::uint8_t> roadColours_;
  std::wstring note_, statusText_;
  bool panning_ = false;
  POINT panFrom_{0, 0};
};
