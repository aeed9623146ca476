// The map picture's platform-free parts: the view (scale, origin, the
// hexagon under a point, zoom, keeping a cell in view, the pull of a
// pointer outside) and the tools a window hands its pointer to, against the
// real road stroke and eraser.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/PictureTools.h"
#include "operations/MapOperations.h"
#include "picture/MapPicture.h"
#include "picture/PictureView.h"

namespace {

int At(int column, int row) { return CellToOffset(column, row); }

// The point of the part over a hexagon's centre.
PicturePoint Over(const PictureView& view, int offset) {
  const PicturePoint centre = HexCentreAt(offset, view.Scale());
  return {centre.x - view.Origin().x, centre.y - view.Origin().y};
}

PictureView ViewOf(int scale, int width, int height, PicturePoint origin = {0, 0}) {
  PictureView view(scale);
  view.Resize(width, height);
  view.ScrollTo(origin);
  return view;
}

TEST(PictureView, FindsTheHexagonUnderAPointAtEveryScaleAndOrigin) {
  for (int scale = MinMapPictureScale; scale <= MaxMapPictureScale; ++scale) {
    const PictureView view = ViewOf(scale, 400, 300, {HexCentreAt(At(150, 40), scale).x - 200, 100});
    for (const int offset : {At(150, 40), At(151, 40), At(149, 41)}) {
      const PicturePoint point = Over(view, offset);
      ASSERT_EQ(view.HexagonAt(point), offset) << "scale " << scale;
    }
  }
}

TEST(PictureView, KeepsTheOriginWithinThePicture) {
  const MapPictureSize picture = MapPictureSizeAt(4);
  struct Row {
    PicturePoint asked, kept;
  };
  for (const Row& row : {Row{{-50, -1}, {0, 0}},
                         Row{{picture.width, picture.height}, {picture.width - 300, picture.height - 200}},
                         Row{{120, 80}, {120, 80}}}) {
    PictureView view = ViewOf(4, 300, 200);
    view.ScrollTo(row.asked);
    EXPECT_EQ(view.Origin().x, row.kept.x);
    EXPECT_EQ(view.Origin().y, row.kept.y);
  }
  // A part larger than the picture shows it from its corner.
  PictureView wide = ViewOf(1, 5000, 5000, {40, 40});
  EXPECT_EQ(wide.Origin().x, 0);
  EXPECT_EQ(wide.PictureRect(), (PixelRect{0, 0, MapPictureSizeAt(1).width, MapPictureSizeAt(1).height}));
}

TEST(PictureView, ZoomKeepsThePointUnderTheAnchorAndStopsAtItsScales) {
  PictureView view = ViewOf(4, 1500, 700, {800, 300});
  const PicturePoint anchor{250, 170};
  const int offset = *view.HexagonAt(anchor);
  ASSERT_TRUE(view.ZoomStep(1, anchor));
  EXPECT_EQ(view.HexagonAt(anchor), offset);
  EXPECT_TRUE(view.ZoomAt(MaxMapPictureScale + 5, anchor));
  EXPECT_EQ(view.Scale(), MaxMapPictureScale);
  EXPECT_FALSE(view.ZoomStep(1, anchor));
  EXPECT_TRUE(view.ZoomAt(MinMapPictureScale, anchor));
  EXPECT_EQ(view.Scale(), view.SmallestScale()) << "never smaller than fills the part";
  EXPECT_GT(view.SmallestScale(), MinMapPictureScale);
}

TEST(PictureView, ShowsACellWholeByTheLeastScroll) {
  const PictureView view = ViewOf(8, 300, 200, {1000, 400});
  struct Row {
    int offset;
    bool moves;
  };
  for (const Row& row : {Row{*view.HexagonAt({150, 100}), false}, Row{At(10, 10), true}, Row{At(300, 70), true}}) {
    PictureView moved = view;
    moved.ScrollTo(view.OriginShowing(row.offset));
    const PixelRect whole = moved.DrawnRect(row.offset, 2 * 8);
    EXPECT_EQ(whole.right - whole.left, 4 * 8 + 1) << "whole in view";
    EXPECT_EQ(moved.Origin().x != view.Origin().x || moved.Origin().y != view.Origin().y, row.moves);
    // One pixel less and the hexagon would be cut.
    if (row.moves) {
      EXPECT_TRUE(whole.left == 0 || whole.right == 300 || whole.top == 0 || whole.bottom == 200);
    }
  }
}

// A code as far as a code reaches, a ring that came or went as far as a
// ring does, a hexagon with both once, and nothing out of view.
TEST(PictureView, DrawsAgainWhatAChangeReaches) {
  const PictureView view = ViewOf(8, 400, 300);
  const int inView = *view.HexagonAt({200, 150}), outOfView = At(300, 70);
  MapImage shown{};
  shown.fill(4);
  struct Row {
    int changed;  // the hexagon whose code changes, or none
    std::vector<MapRing> rings;
    std::vector<PixelRect> drawn;
    std::uint8_t roadColour = OwnRoadColour;  // of the hexagon in view, after
  };
  const Row rows[] = {
      {inView, {}, {view.DrawnRect(inView, HexagonReach(8))}},
      {NoMapOffset, {{inView, RingKind::Problem}}, {view.DrawnRect(inView, RingReach(8))}},
      {inView, {{inView, RingKind::Change}}, {view.DrawnRect(inView, RingReach(8))}},
      {outOfView, {{outOfView, RingKind::Conflict}}, {}},
      {NoMapOffset, {}, {view.DrawnRect(inView, HexagonReach(8))}, WarningRoadColour},
  };
  for (const Row& row : rows) {
    MapImage image = shown;
    if (row.changed != NoMapOffset) image[row.changed] = 3;
    std::vector<std::uint8_t> colours(MapSize, OwnRoadColour);
    colours[inView] = row.roadColour;
    EXPECT_EQ(view.ChangedRects({shown, {}, {}}, {image, row.rings, colours}), row.drawn);
  }
}

// A road's neighbouring hexagons are drawn as the one rectangle round them;
// two hexagons far apart stay two.
TEST(PictureView, GathersRectanglesOnlyWhereTheyFillWhatIsRoundThem) {
  const PixelRect a{0, 0, 10, 10}, beside{10, 0, 20, 10}, below{0, 10, 10, 20}, far{500, 300, 510, 310};
  struct Row {
    std::vector<PixelRect> rects, drawn;
  };
  const Row rows[] = {
      {{a}, {a}},
      {{a, beside}, {{0, 0, 20, 10}}},
      {{a, beside, below}, {{0, 0, 20, 20}}},
      {{a, far}, {a, far}},
  };
  for (const Row& row : rows) EXPECT_EQ(PictureView::Gathered(row.rects), row.drawn);
}

// Two networks of two castles side by side in colours of their own, a road
// of none in the warning colour ringed at its first hexagon, a castle no
// road reaches ringed.
TEST(NetworkLook, NeighbouringNetworksDifferAndWhatJoinsNothingWarns) {
  MapImage image{};
  image.fill(4);
  const auto line = [&](int column, int row) {  // castle, two ／, castle
    int offset = At(column, row);
    image[offset] = 31;
    for (int step = 0; step < 3; ++step) image[offset = NeighbourOffset(offset, Side::NorthEast)] = 18;
    image[offset] = 31;
    return NeighbourOffset(At(column, row), Side::NorthEast);
  };
  const int first = line(101, 40), second = line(101, 41);
  image[NeighbourOffset(At(101, 41), Side::NorthEast)] = 18;
  const int loose = At(201, 30), alone = At(250, 30);
  image[loose] = image[NeighbourOffset(loose, Side::NorthEast)] = 18;
  image[alone] = 31;
  const NetworkLook look = LookOfNetworks(image);
  EXPECT_NE(look.roadColours[first], OwnRoadColour);
  EXPECT_NE(look.roadColours[second], OwnRoadColour);
  EXPECT_NE(look.roadColours[first], look.roadColours[second]);
  EXPECT_EQ(look.roadColours[loose], WarningRoadColour);
  EXPECT_EQ(look.rings, (std::vector<MapRing>{{std::min(loose, NeighbourOffset(loose, Side::NorthEast)), RingKind::Warning},
                                              {alone, RingKind::Warning}}));
}

TEST(PictureView, APointerOutsidePullsTowardItAtMostAStep) {
  const PictureView view = ViewOf(4, 300, 200);
  struct Row {
    PicturePoint pointer, pull;
  };
  for (const Row& row : {Row{{150, 100}, {0, 0}}, Row{{-3, 100}, {-3, 0}}, Row{{-90, -90}, {-16, -16}},
                         Row{{300, 199}, {1, 0}}, Row{{500, 260}, {16, 16}}}) {
    const PicturePoint pull = view.PullToward(row.pointer, 16);
    EXPECT_EQ(pull.x, row.pull.x) << row.pointer.x << "," << row.pointer.y;
    EXPECT_EQ(pull.y, row.pull.y) << row.pointer.x << "," << row.pointer.y;
  }
}

// ---- the tools -------------------------------------------------------

MapImage Plain() {
  MapImage land{};
  land.fill(4);
  return land;
}

TEST(PictureTools, SelectPicksTheCellPressedAndNeverStrokes) {
  const PictureView view = ViewOf(4, 600, 400);
  const auto tool = MakePictureTool(PictureToolKind::Select);
  const ToolOutcome outcome = tool->Press(Plain(), view, Over(view, At(20, 12)));
  EXPECT_EQ(outcome.picked, (GridCell{20, 12}));
  EXPECT_FALSE(outcome.stroking);
  EXPECT_FALSE(tool->Move(view, Over(view, At(24, 12))).stroking);
}

TEST(PictureTools, TheBrushDrawsWhatDrawDrawsAndCancelGivesTheLandBack) {
  const PictureView view = ViewOf(8, 2400, 900);
  MapImage land = Plain();
  land[At(125, 34)] = 2;  // mountains, where no road ends
  const std::vector<int> cells = {At(120, 30), At(121, 30), At(122, 29), At(126, 27)};  // a jump at the end
  const auto brush = MakePictureTool(PictureToolKind::Brush);
  EXPECT_TRUE(brush->Press(land, view, Over(view, cells[0])).stroking);
  for (std::size_t index = 1; index < cells.size(); ++index) brush->Move(view, Over(view, cells[index]));
  const ToolOutcome released = brush->Release();
  EXPECT_FALSE(released.stroking);
  EXPECT_TRUE(released.changed);
  EXPECT_EQ(released.map, DrawnRoad(land, cells).image);

  brush->Press(land, view, Over(view, cells[0]));
  const ToolOutcome refused = brush->Move(view, Over(view, At(125, 34)));
  EXPECT_EQ(refused.length, 1u);
  EXPECT_NE(refused.refusal.find("125:34"), std::string::npos) << refused.refusal;
  const ToolOutcome cancelled = brush->Cancel();
  EXPECT_FALSE(cancelled.stroking);
  EXPECT_EQ(cancelled.map, land);
}

// A fast move across a road takes every hexagon passed, the road's among
// them, into the land the eraser is given.
TEST(PictureTools, TheEraserTakesEveryHexagonPassedIntoItsLand) {
  const PictureView view = ViewOf(8, 800, 600);
  MapImage road = Plain();
  road[At(15, 10)] = 18;  // a road piece ／
  const auto eraser = MakePictureTool(PictureToolKind::Eraser, [] { return TerrainCode{3}; });
  eraser->Press(road, view, Over(view, At(10, 10)));
  const ToolOutcome outcome = eraser->Move(view, Over(view, At(20, 10)));
  EXPECT_GE(outcome.length, 11u) << "a hexagon of each column at least";
  EXPECT_EQ(outcome.map[At(15, 10)], 3) << "the road crossed is hills now";
  EXPECT_TRUE(eraser->Release().changed);
}

// The pointer beyond the part's edge counts as at the edge: the stroke goes
// on only through hexagons in view.
TEST(PictureTools, AStrokeStopsAtThePartsEdge) {
  const PictureView view = ViewOf(8, 200, 600);
  const auto brush = MakePictureTool(PictureToolKind::Brush);
  brush->Press(Plain(), view, Over(view, At(3, 10)));
  const ToolOutcome outcome = brush->Move(view, {1000, Over(view, At(3, 10)).y});
  ASSERT_GT(outcome.length, 1u);
  for (int offset = 0; offset < MapSize; ++offset)
    if (outcome.map[offset] != 4) {
      EXPECT_FALSE(view.DrawnRect(offset, 8).Empty()) << "drawn out of sight";
    }
}

}  // namespace
