#include "model/PictureTools.h"

#include <algorithm>
#include <cstdlib>

#include "map/RoadStroke.h"
#include "operations/MapOperations.h"

namespace {

class SelectTool : public PictureTool {
 public:
  ToolOutcome Press(const MapImage&, const PictureView& view, PicturePoint point) override {
    ToolOutcome outcome;
    outcome.picked = view.CellAt(point);
    return outcome;
  }
};

// A drag over the hexagons, each new one handed on once in a row. The
// pointer's last point is kept in the picture's pixels, which stay where
// they are while the part scrolls.
class StrokeTool : public PictureTool {
 public:
  ToolOutcome Press(const MapImage& land, const PictureView& view, PicturePoint point) final {
    const std::optional<int> hexagon = view.HexagonAt(point);
    if (!hexagon) return {};
    land_ = land;
    stroking_ = true;
    last_ = NoMapOffset;
    from_ = {view.Origin().x + point.x, view.Origin().y + point.y};
    Begin();
    Take(*hexagon);
    return Now();
  }

  ToolOutcome Move(const PictureView& view, PicturePoint point) final {
    if (!stroking_) return {};
    const PicturePoint origin = view.Origin();
    const PicturePoint to{origin.x + std::clamp(point.x, 0, std::max(0, view.Width() - 1)),
                          origin.y + std::clamp(point.y, 0, std::max(0, view.Height() - 1))};
    const int steps = Steps(std::max(std::abs(to.x - from_.x), std::abs(to.y - from_.y)), view.Scale());
    for (int step = 1; step <= steps; ++step) {
      const PicturePoint between{from_.x + (to.x - from_.x) * step / steps - origin.x,
                                 from_.y + (to.y - from_.y) * step / steps - origin.y};
      if (const auto hexagon = view.HexagonAt(between)) Take(*hexagon);
    }
    from_ = to;
    return Now();
  }

  ToolOutcome Release() final {
    ToolOutcome outcome = stroking_ ? Now() : ToolOutcome{};
    outcome.stroking = stroking_ = false;
    return outcome;
  }

  ToolOutcome Cancel() final {
    ToolOutcome outcome;
    outcome.map = land_;
    stroking_ = false;
    return outcome;
  }

 protected:
  virtual void Begin() = 0;
  virtual std::string Reach(int hexagon) = 0;  // why not, where it cannot
  virtual MapImage Drawn() const = 0;
  virtual std::size_t Length() const = 0;
  // Into how many steps a move of `pixels` is cut: every hexagon passed, or its end alone.
  virtual int Steps(int pixels, int scale) const = 0;

  MapImage land_{};

 private:
  void Take(int hexagon) {
    if (hexagon != last_) refusal_ = Reach(last_ = hexagon);
  }

  ToolOutcome Now() const {
    ToolOutcome outcome;
    outcome.stroking = stroking_;
    outcome.map = Drawn();
    outcome.changed = outcome.map != land_;
    outcome.length = Length();
    outcome.refusal = refusal_;
    return outcome;
  }

  bool stroking_ = false;
  int last_ = NoMapOffset;
  PicturePoint from_{0, 0};
  std::string refusal_;
};

// The road's way between two hexagons is the road search's: only the end of a move counts.
class BrushTool : public StrokeTool {
  void Begin() override { stroke_.emplace(land_); }
  std::string Reach(int hexagon) override { return ReachInStroke(*stroke_, hexagon); }
  MapImage Drawn() const override { return stroke_->Drawn(); }
  std::size_t Length() const override { return stroke_->Way().size(); }
  int Steps(int, int) const override { return 1; }

  std::optional<RoadStroke> stroke_;
};

// Every hexagon the pointer passed, also in a fast move.
class EraserTool : public StrokeTool {
 public:
  explicit EraserTool(std::function<TerrainCode()> land) : landCode_(std::move(land)) {}

 private:
  void Begin() override { erased_.clear(); }
  std::string Reach(int hexagon) override {
    if (std::find(erased_.begin(), erased_.end(), hexagon) == erased_.end()) erased_.push_back(hexagon);
    return {};
  }
  MapImage Drawn() const override {
    return ErasedRoads(land_, erased_, landCode_ ? landCode_() : DefaultEraserLand).image;
  }
  std::size_t Length() const override { return erased_.size(); }
  int Steps(int pixels, int scale) const override { return std::max(1, pixels / std::max(1, scale / 2)); }

  std::function<TerrainCode()> landCode_;
  std::vector<int> erased_;
};

}  // namespace

std::unique_ptr<PictureTool> MakePictureTool(PictureToolKind kind, std::function<TerrainCode()> eraserLand) {
  if (kind == PictureToolKind::Brush) return std::make_unique<BrushTool>();
  if (kind == PictureToolKind::Eraser) return std::make_unique<EraserTool>(std::move(eraserLand));
  return std::make_unique<SelectTool>();
}
