#pragma once
// The tools of the map picture, each behind the one interface a window hands
// its pointer to, as Tiled hands a scene's events to its current tool:
// Select, where a press on a hexagon picks its cell; the road brush, whose
// drag draws a road hexagon by hexagon (RoadStroke); the eraser, whose drag
// takes road pieces away into a land. A stroke proposes a map at each event;
// its release keeps the map drawn, its cancel gives back the land it started on.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "map/HexGrid.h"
#include "map/MapFile.h"
#include "picture/PictureView.h"

enum class PictureToolKind { Select, Brush, Eraser };

// What a tool says after an event.
struct ToolOutcome {
  std::optional<GridCell> picked;  // Select: the cell pressed
  bool stroking = false;           // a stroke goes on
  MapImage map{};                  // the map as the stroke leaves it
  bool changed = false;            // the map differs from the land the stroke started on
  std::size_t length = 0;          // hexagons of the stroke
  std::string refusal;             // why the road does not reach the pointer's hexagon (Shift-JIS)
};

class PictureTool {
 public:
  virtual ~PictureTool() = default;
  // The button went down at a point of the part that `view` shows, over `land`.
  virtual ToolOutcome Press(const MapImage& land, const PictureView& view, PicturePoint point) = 0;
  // The pointer moved there with the button held; a point outside the part
  // counts as the nearest point inside, so that a stroke goes on only
  // through hexagons that can be seen.
  virtual ToolOutcome Move(const PictureView&, PicturePoint) { return {}; }
  // The button went up: the map drawn. Cancel: the land again.
  virtual ToolOutcome Release() { return {}; }
  virtual ToolOutcome Cancel() { return {}; }
};

// `eraserLand` is asked for the eraser's land as the stroke shows.
std::unique_ptr<PictureTool> MakePictureTool(PictureToolKind kind, std::function<TerrainCode()> eraserLand = {});
