// Road works on small hand-made maps: the piece for a set of sides, the
// repair of road pieces that do not join up, the way of a new road and the
// pieces it lays; and new roads on random land, which must always join up.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "map/RoadRepair.h"
#include "map/RoadStroke.h"
#include "map/RoadWay.h"
#include "operations/MapOperations.h"
#include "support/RandomLand.h"

namespace {

constexpr TerrainCode Lake = 1, Mountains = 2, Hills = 3, Plain = 4, Marsh = 5, Beach = 6, HorseLand = 15,
                      RiverMouth = 17, Slash = 18, Backslash = 19, Lambda = 20, Enter = 24, Chi = 28,
                      BridgeBackslash = 29, BridgeSlash = 30, Castle = 31;

using Cells = std::initializer_list<std::array<int, 3>>;  // COLUMN, ROW, CODE
using Names = std::vector<std::string>;

int At(int column, int row) { return CellToOffset(column, row); }

std::string NameOf(int offset) {
  const GridCell cell = OffsetToCell(offset);
  return std::to_string(cell.column) + ":" + std::to_string(cell.row);
}

Names NamesOf(const std::vector<int>& offsets) {
  Names names;
  for (int offset : offsets) names.push_back(NameOf(offset));
  return names;
}

MapImage MapOf(TerrainCode fill, Cells cells = {}) {
  MapImage image;
  image.fill(fill);
  for (const auto& [column, row, code] : cells) image[At(column, row)] = static_cast<TerrainCode>(code);
  return image;
}

// Plain, with column 103 all water (a river one hexagon wide from the top of
// the map to the bottom), and then the cells given.
MapImage RiverMap(TerrainCode water, Cells cells) {
  MapImage image = MapOf(Plain);
  for (int row = 1; row <= 76; ++row) image[At(103, row)] = water;
  for (const auto& [column, row, code] : cells) image[At(column, row)] = static_cast<TerrainCode>(code);
  return image;
}

// The cells whose code differs, as COLUMN:ROW=CODE, column by column.
Names Changes(const MapImage& before, const MapImage& after) {
  Names changes;
  for (int column = 1; column < GridColumnCount; ++column)
    for (int row = 1; row < GridRowCount; ++row)
      if (const int offset = CellToOffset(column, row); offset != NoMapOffset && before[offset] != after[offset])
        changes.push_back(NameOf(offset) + "=" + std::to_string(after[offset]));
  return changes;
}

MapImage Shaped(MapImage image) {
  ShapeRoads(image);
  return image;
}

// A straight ／ road between castles: 101:30, 102:30, 103:29, 104:29, 105:28.
constexpr std::array<int, 3> SlashRoad[] = {{101, 30, Castle}, {102, 30, Slash}, {103, 29, Slash}, {104, 29, Slash},
                                            {105, 28, Castle}};

TEST(RoadPieces, OneJoinsEachSetOfTwoToFourSlantedSidesAndBridgesOnlyStraight) {
  const SideSet NE = SideBit(Side::NorthEast), SE = SideBit(Side::SouthEast), SW = SideBit(Side::SouthWest),
                NW = SideBit(Side::NorthWest);
  EXPECT_EQ(RoadPieceJoining(SW | SE), Lambda);
  EXPECT_EQ(RoadPieceJoining(NW | SE | SW), Enter);
  EXPECT_EQ(RoadPieceJoining(NE | SE | SW | NW), Chi);
  int pieces = 0;
  for (int sides = 0; sides < 64; ++sides) {
    if (const auto code = RoadPieceJoining(static_cast<SideSet>(sides))) {
      EXPECT_EQ(JoinedSides(*code), sides);
      ++pieces;
    }
  }
  EXPECT_EQ(pieces, 11) << "6 pairs, 4 triples and the crossing";
  EXPECT_EQ(RoadPieceJoining(NE), std::nullopt);
  EXPECT_EQ(BridgeJoining(NW | SE), BridgeBackslash);
  EXPECT_EQ(BridgeJoining(NE | SW), BridgeSlash);
  EXPECT_EQ(BridgeJoining(NE | SE), std::nullopt) << "a bridge cannot turn";

  EXPECT_EQ(SlantedSideToward(At(102, 30), At(101, 30)), Side::SouthWest);
  EXPECT_EQ(SlantedSideToward(At(102, 30), At(103, 30)), Side::SouthEast);
  EXPECT_EQ(SlantedSideToward(At(102, 30), At(102, 29)), std::nullopt) << "straight up is no road's way";
  EXPECT_EQ(SlantedSideToward(0, NoMapOffset), std::nullopt);
}

// ---- shape ----

TEST(ShapeRoads, RepairsEachKindOfProblemThatCheckFinds) {
  struct Case {
    const char* what;
    MapImage before;
    Names changes;
    std::size_t problemsLeft;
  };
  const Case cases[] = {
      {"a loose end: ／ with a castle north-east and north-west becomes ∨",
       MapOf(Plain, {{101, 30, Slash}, {102, 30, Castle}, {100, 30, Castle}}), {"101:30=21"}, 0},
      {"joins off the map: Χ on column 1 becomes ＜", MapOf(Plain, {{1, 30, Chi}, {2, 30, Castle}, {2, 31, Castle}}),
       {"1:30=22"}, 0},
      {"not joined back: ＼ in the middle of a ／ road",
       MapOf(Plain, {SlashRoad[0], SlashRoad[1], {103, 29, Backslash}, SlashRoad[3], SlashRoad[4]}), {"103:29=18"}, 0},
      {"a branch leads into a piece that has no problem of its own: ／ becomes 人",
       MapOf(Plain, {SlashRoad[0], SlashRoad[1], SlashRoad[2], SlashRoad[3], SlashRoad[4], {104, 30, Backslash},
                     {105, 30, Castle}}),
       {"103:29=27"}, 0},
      {"a second pass: 入 waits for its south-east neighbour to become ∨, then becomes Λ",
       MapOf(Plain, {{101, 30, Castle}, {102, 30, Slash}, {103, 29, Enter}, {104, 30, Slash}, {105, 29, Castle}}),
       {"103:29=20", "104:30=21"}, 0},
      {"a ＼ bridge in a ／ road turns",
       MapOf(Plain, {SlashRoad[0], SlashRoad[1], {103, 29, BridgeBackslash}, SlashRoad[3], SlashRoad[4]}),
       {"103:29=30"}, 0},
      {"a bridge with a castle on a third side stays",
       MapOf(Plain, {SlashRoad[0], SlashRoad[1], {103, 29, BridgeBackslash}, SlashRoad[3], SlashRoad[4],
                     {104, 30, Castle}}),
       {}, 3},
      {"a piece that one side alone leads to stays", MapOf(Plain, {{101, 30, Castle}, {102, 30, Lambda}}), {}, 1},
      {"a clean map stays", MapOf(Castle, {{101, 30, Chi}, {201, 30, Backslash}, {202, 30, Backslash}}), {}, 0},
  };
  for (const Case& test : cases) {
    const MapImage after = Shaped(test.before);
    EXPECT_EQ(Changes(test.before, after), test.changes) << test.what;
    EXPECT_EQ(FindRoadProblems(after).size(), test.problemsLeft) << test.what;
  }
  ASSERT_LT(At(103, 29), At(104, 30)) << "the second pass needs 入 first";
}

// ---- the way of a new road ----

TEST(RoadWay, LaysThePieceThatJoinsTheOldJoinsAndTheWaysSides) {
  struct Case {
    const char* what;
    MapImage before;
    std::array<int, 4> fromTo;  // COLUMN, ROW of each end
    std::size_t steps;
    Names changes;
  };
  const Case cases[] = {
      {"straight north-east", MapOf(Plain, {{101, 30, Castle}, {105, 28, Castle}}), {101, 30, 105, 28}, 4,
       {"102:30=18", "103:29=18", "104:29=18"}},
      {"straight south-east", MapOf(Plain, {{101, 28, Castle}, {105, 30, Castle}}), {101, 28, 105, 30}, 4,
       {"102:29=19", "103:29=19", "104:30=19"}},
      {"a bend where the ground is plain, hills all around",
       MapOf(Hills, {{101, 30, Castle}, {105, 30, Castle}, {102, 30, Plain}, {103, 29, Plain}, {104, 30, Plain}}),
       {101, 30, 105, 30}, 4, {"102:30=18", "103:29=20", "104:30=19"}},
      {"the fewest steps, over marsh with plain all around",
       MapOf(Plain, {{101, 30, Castle}, {105, 28, Castle}, {102, 30, Marsh}, {103, 29, Marsh}, {104, 29, Marsh}}),
       {101, 30, 105, 28}, 4, {"102:30=18", "103:29=18", "104:29=18"}},
      {"joining a road with a three-way piece", MapOf(Plain, {SlashRoad[0], SlashRoad[1], SlashRoad[2], SlashRoad[3],
                                                              SlashRoad[4], {106, 30, Castle}}),
       {106, 30, 104, 29}, 2, {"104:29=27", "105:29=19"}},
      {"crossing a road", MapOf(Plain, {SlashRoad[0], SlashRoad[1], SlashRoad[2], SlashRoad[3], SlashRoad[4],
                                        {101, 28, Castle}, {105, 30, Castle}}),
       {101, 28, 105, 30}, 4, {"102:29=19", "103:29=28", "104:30=19"}},
      {"a lake bridged north-east", RiverMap(Lake, {{101, 30, Castle}, {105, 28, Castle}}), {101, 30, 105, 28}, 4,
       {"102:30=18", "103:29=30", "104:29=18"}},
      {"a river mouth bridged south-east", RiverMap(RiverMouth, {{101, 40, Castle}, {105, 42, Castle}}),
       {101, 40, 105, 42}, 4, {"102:41=19", "103:41=29", "104:42=19"}},
      {"straight over a bridge along its line", RiverMap(Lake, {{100, 31, Castle}, {102, 30, Slash},
                                                                 {103, 29, BridgeSlash}, {104, 29, Slash}, SlashRoad[4]}),
       {100, 31, 105, 28}, 5, {"101:30=18"}},
      {"from a road piece, which gets a join more", MapOf(Castle, {{103, 29, Slash}, {104, 30, Plain}}),
       {103, 29, 105, 30}, 2, {"103:29=27", "104:30=19"}},
  };
  for (const Case& test : cases) {
    MapImage image = test.before;
    const std::vector<int> way = LayRoad(image, At(test.fromTo[0], test.fromTo[1]), At(test.fromTo[2], test.fromTo[3]));
    EXPECT_EQ(Changes(test.before, image), test.changes) << test.what;
    EXPECT_EQ(way.size(), test.steps + 1) << test.what;
    EXPECT_TRUE(FindRoadProblems(image).empty()) << test.what;
  }
}

TEST(RoadWay, TiesGoToTheCheaperGround) {
  // From 101:30 to 105:30 over the bend up (102:30, 103:29, 104:30) or the
  // bend down (102:31, 103:31, 104:31); everything else mountains.
  auto wayOver = [](TerrainCode up, TerrainCode down) {
    const MapImage image = MapOf(Mountains, {{101, 30, Castle}, {105, 30, Castle}, {102, 30, up}, {103, 29, up},
                                             {104, 30, up}, {102, 31, down}, {103, 31, down}, {104, 31, down}});
    return NameOf(FindRoadWay(image, At(101, 30), At(105, 30)).at(2));
  };
  EXPECT_EQ(wayOver(Slash, Plain), "103:29") << "roads first";
  EXPECT_EQ(wayOver(Plain, Slash), "103:31");
  EXPECT_EQ(wayOver(Plain, HorseLand), "103:29");
  EXPECT_EQ(wayOver(Beach, Plain), "103:31");
  EXPECT_EQ(wayOver(Beach, Hills), "103:29");
  EXPECT_EQ(wayOver(Marsh, Hills), "103:31");
  EXPECT_EQ(wayOver(HorseLand, Marsh), "103:29");
}

TEST(RoadWay, CrossesWaterOnlyStraightAndOnlyOneHexagonOfIt) {
  // Castles level with each other across the river: four steps still do,
  // going up or down over the water.
  const MapImage level = RiverMap(Lake, {{101, 30, Castle}, {105, 30, Castle}});
  const std::vector<int> way = FindRoadWay(level, At(101, 30), At(105, 30));
  ASSERT_EQ(way.size(), 5u);
  EXPECT_EQ(SlantedSideToward(way[2], way[1]), Opposite(*SlantedSideToward(way[2], way[3]))) << NamesOf(way)[2];

  // A river two hexagons wide has no crossing, until land at 104:40 leaves
  // one hexagon to bridge, far to the south: 19 steps down, 23 up.
  MapImage wide = RiverMap(Lake, {{101, 30, Castle}, {105, 28, Castle}});
  for (int row = 2; row <= 76; ++row) wide[At(104, row)] = Lake;  // row 1 of an even column holds no byte
  EXPECT_TRUE(FindRoadWay(wide, At(101, 30), At(105, 28)).empty());
  wide[At(104, 40)] = Plain;
  const std::vector<int> ford = LayRoad(wide, At(101, 30), At(105, 28));
  EXPECT_EQ(ford.size(), 43u);
  EXPECT_EQ(std::count(ford.begin(), ford.end(), At(104, 40)), 1);
  EXPECT_EQ(std::count(wide.begin(), wide.end(), BridgeBackslash), 1);
  EXPECT_TRUE(FindRoadProblems(wide).empty());

  // A bridge is never turned: across a ／ road's bridge the new road
  // bridges the river beside it.
  MapImage bridged = RiverMap(Lake, {SlashRoad[0], SlashRoad[1], {103, 29, BridgeSlash}, SlashRoad[3], SlashRoad[4],
                                     {101, 28, Castle}, {105, 30, Castle}});
  const std::vector<int> beside = LayRoad(bridged, At(101, 28), At(105, 30));
  EXPECT_EQ(bridged[At(103, 29)], BridgeSlash);
  EXPECT_EQ(std::count(beside.begin(), beside.end(), At(103, 29)), 0);
  EXPECT_TRUE(FindRoadProblems(bridged).empty());
}

RoadRefusalKind RefusalOf(MapImage& image, int from, int to, std::string& where) {
  try {
    LayRoad(image, from, to);
  } catch (const RoadRefusal& refusal) {
    where = NameOf(refusal.Offset());
    return refusal.Kind();
  }
  ADD_FAILURE() << "laid from " << NameOf(from) << " to " << NameOf(to);
  return RoadRefusalKind::NoPiece;
}

TEST(RoadWay, IsRefusedWithTheMapUntouched) {
  MapImage image = MapOf(Plain, {{101, 30, Castle}, {105, 28, Castle}, {110, 30, Mountains}});
  std::string where;
  EXPECT_EQ(RefusalOf(image, At(101, 30), At(101, 30), where), RoadRefusalKind::SameCell);
  EXPECT_EQ(where, "101:30");
  EXPECT_EQ(RefusalOf(image, At(103, 30), At(105, 28), where), RoadRefusalKind::NotAnEnd);
  EXPECT_EQ(where, "103:30") << "open land";
  EXPECT_EQ(RefusalOf(image, At(101, 30), At(110, 30), where), RoadRefusalKind::NotAnEnd);
  EXPECT_EQ(where, "110:30");
  // Mountains, castles, towns, harbours and the palace all around the end.
  for (TerrainCode wall : {Mountains, Castle, TerrainCode{7}, TerrainCode{16}, TerrainCode{32}, TerrainCode{34}}) {
    for (Side side : SlantedSides) image[NeighbourOffset(At(105, 28), side)] = wall;
    const MapImage walled = image;
    EXPECT_EQ(RefusalOf(image, At(101, 30), At(105, 28), where), RoadRefusalKind::NoWay) << int(wall);
    EXPECT_EQ(where, "101:30");
    EXPECT_EQ(image, walled);
  }
  // A way given that would turn a bridge.
  MapImage bridge = MapOf(Plain, {{101, 30, Castle}, {102, 30, BridgeBackslash}, {103, 30, Castle}});
  const MapImage before = bridge;
  try {
    LayRoadAlong(bridge, {At(101, 30), At(102, 30), At(103, 30)});
    ADD_FAILURE() << "a bridge turned";
  } catch (const RoadRefusal& refusal) {
    EXPECT_EQ(refusal.Kind(), RoadRefusalKind::NoPiece);
    EXPECT_EQ(NameOf(refusal.Offset()), "102:30");
  }
  EXPECT_EQ(bridge, before);
  // Ways that no search gives: empty, leaving the map, a jump, a straight step.
  const struct {
    std::vector<int> way;
    int refused;
  } notWays[] = {{{}, NoMapOffset},
                 {{At(101, 30), MapSize}, NoMapOffset},
                 {{-1, At(101, 30)}, NoMapOffset},
                 {{At(101, 30), At(105, 30)}, At(105, 30)},
                 {{At(101, 30), At(101, 31)}, At(101, 31)}};
  for (const auto& notWay : notWays) {
    try {
      LayRoadAlong(bridge, notWay.way);
      ADD_FAILURE() << "laid along " << notWay.way.size() << " cells";
    } catch (const RoadRefusal& refusal) {
      EXPECT_EQ(refusal.Kind(), RoadRefusalKind::NotAWay);
      EXPECT_EQ(refusal.Offset(), notWay.refused);
    }
    EXPECT_EQ(bridge, before);
  }
}

// ---- on random land ----

// Twelve maps, a dozen roads on each between random places, each road laid on
// the roads before it: every road joins up and touches nothing off its way.
// Then damage to the roads: shape never leaves more problems than it found.
TEST(RoadWay, OnRandomLandEveryRoadJoinsUpAndTouchesOnlyItsWay) {
  RandomNumbers random(20240613);
  int laid = 0;
  for (int map = 0; map < 12; ++map) {
    MapImage image = RandomLand(random);
    const std::vector<int> places = PlacesOf(image);
    for (int road = 0; road < 12; ++road) {
      const int from = places[random.Below(static_cast<int>(places.size()))];
      const int to = places[random.Below(static_cast<int>(places.size()))];
      SCOPED_TRACE("map " + std::to_string(map) + ", road " + NameOf(from) + " to " + NameOf(to));
      const MapImage before = image;
      std::vector<int> way;
      try {
        way = LayRoad(image, from, to);
      } catch (const RoadRefusal& refusal) {
        EXPECT_NE(refusal.Kind(), RoadRefusalKind::NoPiece);
        ASSERT_EQ(image, before);
        continue;
      }
      ++laid;
      ASSERT_EQ(way.front(), from);
      ASSERT_EQ(way.back(), to);
      for (std::size_t i = 1; i < way.size(); ++i) ASSERT_TRUE(SlantedSideToward(way[i - 1], way[i])) << i;
      for (const RoadProblem& problem : FindRoadProblems(image)) ADD_FAILURE() << "problem at " << NameOf(problem.offset);
      int bridges = 0;
      for (int offset = 0; offset < MapSize; ++offset) {
        if (image[offset] == before[offset]) continue;
        EXPECT_NE(std::find(way.begin(), way.end(), offset), way.end()) << NameOf(offset) << " is off the way";
        EXPECT_TRUE(IsRoadPiece(image[offset]));
        bridges += IsBridge(image[offset]) && !IsRoadPiece(before[offset]);
      }
      EXPECT_LE(bridges, 1);
      EXPECT_EQ(image[from], before[from]) << "places keep their code";
      EXPECT_EQ(image[to], before[to]);
    }
    for (int damage = 0; damage < 30; ++damage) {
      const int offset = random.Below(MapSize);
      if (IsRoadPiece(image[offset])) image[offset] = static_cast<TerrainCode>(Slash + random.Below(13));
    }
    const MapImage shaped = Shaped(image);
    EXPECT_LE(FindRoadProblems(shaped).size(), FindRoadProblems(image).size());
    EXPECT_EQ(Shaped(shaped), shaped) << "nothing more to do";
  }
  EXPECT_GT(laid, 100);
}

}  // namespace

// ---- the road brush and the eraser ----

// A stroke ends as the brush's rules say: open land takes the piece that
// carries the road on, a loose end is continued, a place keeps its code.
TEST(RoadStroke, EndsOnOpenLandCarryTheRoadOnAndALaterStrokeContinuesThem) {
  const MapImage land = MapOf(Plain);
  RoadStroke first(land);
  first.Start(At(101, 30));
  first.Reach(At(105, 28));
  EXPECT_EQ(Changes(land, first.Drawn()), (Names{"101:30=18", "102:30=18", "103:29=18", "104:29=18", "105:28=18"}));
  EXPECT_EQ(FindRoadProblems(first.Drawn()).size(), 2u) << "two loose ends";

  // From the loose end at 105:28 on to the north: it now joins the old road
  // and the new one (leaving by its north-west), and is no longer a loose end.
  RoadStroke second(first.Drawn());
  second.Start(At(105, 28));
  second.Reach(At(109, 24));
  std::vector<RoadProblem> atJoint;
  FindRoadProblemsAt(second.Drawn(), At(105, 28), atJoint);
  EXPECT_TRUE(atJoint.empty());
  EXPECT_EQ(FindRoadProblems(second.Drawn()).size(), 2u) << "the ends at 101:30 and 109:24";
  EXPECT_EQ(JoinedSides(second.Drawn()[At(105, 28)]), SideBit(Side::SouthWest) | SideBit(Side::NorthWest));
}

// Where it cannot go the stroke stays at its last hexagon, with the reason.
TEST(RoadStroke, StaysWhereItCannotGoAndGoesBackOverItself) {
  MapImage land = RiverMap(Lake, {{101, 30, Castle}, {99, 30, Mountains}, {98, 20, Castle}});
  for (int row = 2; row <= 76; ++row) land[At(104, row)] = Lake;  // a river two hexagons wide
  const struct {
    const char* name;
    std::vector<std::array<int, 2>> reached;  // after 101:30
    RoadRefusalKind refusal;
  } cases[] = {
      {"onto a mountain", {{99, 30}}, RoadRefusalKind::NoGround},
      {"onto water", {{103, 29}}, RoadRefusalKind::NoGround},
      {"over two waters", {{105, 28}}, RoadRefusalKind::NoWay},
      {"through a town", {{98, 20}, {96, 14}}, RoadRefusalKind::NoWay},
  };
  for (const auto& example : cases) {
    SCOPED_TRACE(example.name);
    RoadStroke stroke(land);
    stroke.Start(At(101, 30));
    for (std::size_t index = 0; index + 1 < example.reached.size(); ++index)
      stroke.Reach(At(example.reached[index][0], example.reached[index][1]));
    const std::vector<int> way = stroke.Way();
    const MapImage drawn = stroke.Drawn();
    try {
      stroke.Reach(At(example.reached.back()[0], example.reached.back()[1]));
      ADD_FAILURE() << "reached";
    } catch (const RoadRefusal& refusal) {
      EXPECT_EQ(refusal.Kind(), example.refusal);
    }
    EXPECT_EQ(stroke.Way(), way);
    EXPECT_EQ(stroke.Drawn(), drawn);
  }

  // Back over its own hexagons: they leave the stroke again.
  RoadStroke stroke(land);
  stroke.Start(At(101, 30));
  stroke.Reach(At(101, 40));
  const std::vector<int> prefix(stroke.Way().begin(), stroke.Way().begin() + 5);
  stroke.Reach(At(95, 43));
  stroke.Reach(prefix.back());
  EXPECT_EQ(stroke.Way(), prefix);
  EXPECT_EQ(stroke.Drawn(), DrawnRoad(land, prefix).image);
}

// The pointer as a hand moves it: hexagon by hexagon toward a goal, any of
// the six sides, with a step back now and then.
std::vector<int> PointerPath(RandomNumbers& random, int from, int to) {
  std::vector<int> path{from};
  for (int step = 0; step < 400 && path.back() != to; ++step) {
    const GridCell at = OffsetToCell(path.back()), goal = OffsetToCell(to);
    if (path.size() > 2 && random.Below(10) == 0) {
      path.push_back(path[path.size() - 2]);  // a wobble back
      continue;
    }
    int best = NoMapOffset, bestDistance = 1 << 30;
    for (Side side : AllSides) {
      const int next = NeighbourOffset(path.back(), side);
      if (next == NoMapOffset) continue;
      const GridCell cell = OffsetToCell(next);
      const int distance = std::abs(cell.column - goal.column) * 2 + std::abs(cell.row - goal.row) * 2 + random.Below(3);
      if (distance < bestDistance) best = next, bestDistance = distance;
    }
    (void)at;
    path.push_back(best);
  }
  return path;
}

// Strokes replayed on random land: the same as draw through the hexagons the
// stroke took, connected, without spurs, and from place to place without a
// problem; erased again on plain land, the land as it was.
TEST(RoadStroke, OnRandomLandStrokesEqualDrawJoinUpAndEraseBack) {
  RandomNumbers random(20261209);
  int finished = 0;
  for (int map = 0; map < 10; ++map) {
    const bool plain = map % 2 == 1;
    MapImage land = RandomLand(random);
    if (plain)
      for (TerrainCode& code : land)
        if (code != Castle) code = Plain;
    const std::vector<int> places = PlacesOf(land);
    for (int stroke = 0; stroke < 8; ++stroke) {
      // To a place a hand's move away.
      const int from = places[random.Below(static_cast<int>(places.size()))];
      std::vector<int> near;
      for (const int place : places)
        if (const int distance = SlantDistance(from, place); distance >= 6 && distance <= 30) near.push_back(place);
      if (near.empty()) continue;
      const int to = near[random.Below(static_cast<int>(near.size()))];
      SCOPED_TRACE("map " + std::to_string(map) + ", " + NameOf(from) + " to " + NameOf(to));
      RoadStroke brush(land);
      brush.Start(from);
      std::vector<int> taken{from};
      for (const int hexagon : PointerPath(random, from, to)) {
        try {
          brush.Reach(hexagon);
          taken.push_back(hexagon);
        } catch (const RoadRefusal&) {
        }
      }
      const std::vector<int>& way = brush.Way();
      for (std::size_t index = 1; index < way.size(); ++index)
        ASSERT_TRUE(SlantedSideToward(way[index - 1], way[index])) << NameOf(way[index]);
      for (int offset = 0; offset < MapSize; ++offset) {
        if (brush.Drawn()[offset] == land[offset]) continue;
        EXPECT_NE(std::find(way.begin(), way.end(), offset), way.end()) << NameOf(offset) << " is a spur";
      }
      if (way.size() < 2) continue;
      EXPECT_EQ(DrawnRoad(land, taken).image, brush.Drawn());
      if (way.back() == to) {
        ++finished;
        EXPECT_TRUE(FindRoadProblems(brush.Drawn()).empty());
      }
      if (plain) {
        MapImage erased = brush.Drawn();
        EraseRoads(erased, way, Plain);
        EXPECT_EQ(erased, land);
      }
    }
  }
  EXPECT_GE(finished, 30);
}

// The eraser takes road pieces only, and the pieces beside them lose their
// joins toward them.
TEST(EraseRoads, TakesRoadPiecesAndTheJoinsTowardThem) {
  MapImage image = MapOf(Plain, {{101, 30, Castle}, {102, 30, Slash}, {103, 29, Slash}, {104, 29, Slash},
                                 {105, 28, Castle}});
  const MapImage before = image;
  EraseRoads(image, {At(101, 30), At(103, 29), At(120, 30)}, Hills);
  EXPECT_EQ(Changes(before, image), (Names{"103:29=3"})) << "a castle and plain stay";
  EXPECT_EQ(JoinedSides(image[At(102, 30)]), JoinedSides(Slash)) << "one join left: carried straight on";

  MapImage bridged = MapOf(Plain, {{102, 30, Slash}, {103, 29, BridgeSlash}, {104, 29, Slash}});
  const MapImage bridgedBefore = bridged;
  EraseRoads(bridged, {At(103, 29)}, Plain);
  EXPECT_EQ(bridged, bridgedBefore) << "a bridge stands on water";
  EraseRoads(bridged, {At(102, 30)}, Marsh);
  EXPECT_EQ(Changes(bridgedBefore, bridged), (Names{"102:30=5"}));
}
