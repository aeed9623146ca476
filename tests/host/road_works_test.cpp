// Road works on small hand-made maps: the piece for a set of sides, the
// repair of road pieces that do not join up, the way of a new road and the
// pieces it lays; and new roads on random land, which must always join up.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "map/RoadRepair.h"
#include "map/RoadWay.h"
#include "support/RandomLand.h"

namespace {

constexpr TerrainCode Sea = 0, Lake = 1, Mountains = 2, Hills = 3, Plain = 4, Marsh = 5, Beach = 6, Harbour = 7,
                      HorseLand = 15, RiverMouth = 17, Slash = 18, Backslash = 19, Lambda = 20, Vee = 21, Less = 22,
                      Greater = 23, Enter = 24, Person = 27, Chi = 28, BridgeBackslash = 29, BridgeSlash = 30,
                      Castle = 31;

int At(int column, int row) { return CellToOffset(column, row); }

std::string NameOf(int offset) {
  const GridCell cell = OffsetToCell(offset);
  return std::to_string(cell.column) + ":" + std::to_string(cell.row);
}

std::vector<std::string> NamesOf(const std::vector<int>& offsets) {
  std::vector<std::string> names;
  for (int offset : offsets) names.push_back(NameOf(offset));
  return names;
}

// A whole map of one code, with some cells set: COLUMN, ROW, CODE.
MapImage MapOf(TerrainCode fill, std::initializer_list<std::array<int, 3>> cells = {}) {
  MapImage image;
  image.fill(fill);
  for (const auto& [column, row, code] : cells) image[At(column, row)] = static_cast<TerrainCode>(code);
  return image;
}

// The cells whose code differs, as COLUMN:ROW=CODE, column by column.
std::vector<std::string> Changes(const MapImage& before, const MapImage& after) {
  std::vector<std::string> changes;
  for (int column = 1; column < GridColumnCount; ++column) {
    for (int row = 1; row < GridRowCount; ++row) {
      const int offset = CellToOffset(column, row);
      if (offset != NoMapOffset && before[offset] != after[offset])
        changes.push_back(NameOf(offset) + "=" + std::to_string(after[offset]));
    }
  }
  return changes;
}

using Names = std::vector<std::string>;

// ---- which piece joins which sides ----

TEST(RoadPieces, OneJoinsEachSetOfTwoToFourSlantedSides) {
  const SideSet NE = SideBit(Side::NorthEast), SE = SideBit(Side::SouthEast), SW = SideBit(Side::SouthWest),
                NW = SideBit(Side::NorthWest);
  EXPECT_EQ(RoadPieceJoining(NE | SW), Slash);
  EXPECT_EQ(RoadPieceJoining(SW | SE), Lambda);
  EXPECT_EQ(RoadPieceJoining(NW | SE | SW), Enter);
  EXPECT_EQ(RoadPieceJoining(NE | SE | SW | NW), Chi);
  int pieces = 0;
  for (int sides = 0; sides < 64; ++sides) {
    const auto code = RoadPieceJoining(static_cast<SideSet>(sides));
    if (!code) continue;
    ++pieces;
    EXPECT_EQ(JoinedSides(*code), sides);
  }
  EXPECT_EQ(pieces, 11) << "6 pairs, 4 triples and the crossing";
  EXPECT_EQ(RoadPieceJoining(NE), std::nullopt);
  EXPECT_EQ(RoadPieceJoining(0), std::nullopt);
  EXPECT_EQ(RoadPieceJoining(SideBit(Side::North) | SideBit(Side::South)), std::nullopt);

  EXPECT_EQ(BridgeJoining(NW | SE), BridgeBackslash);
  EXPECT_EQ(BridgeJoining(NE | SW), BridgeSlash);
  EXPECT_EQ(BridgeJoining(NE | SE), std::nullopt) << "a bridge cannot turn";
  EXPECT_EQ(BridgeJoining(NE | SW | SE), std::nullopt);
}

TEST(RoadPieces, TheSideTowardASlantedNeighbour) {
  EXPECT_EQ(SlantedSideToward(At(101, 30), At(102, 30)), Side::NorthEast);
  EXPECT_EQ(SlantedSideToward(At(102, 30), At(101, 30)), Side::SouthWest);
  EXPECT_EQ(SlantedSideToward(At(102, 30), At(103, 30)), Side::SouthEast);
  EXPECT_EQ(SlantedSideToward(At(102, 30), At(102, 29)), std::nullopt) << "straight up is no road's way";
  EXPECT_EQ(SlantedSideToward(At(102, 30), At(104, 30)), std::nullopt);
  EXPECT_EQ(SlantedSideToward(0, NoMapOffset), std::nullopt) << "off the map is no neighbour";
}

// ---- shape ----

MapImage Shaped(MapImage image) {
  ShapeRoads(image);
  return image;
}

TEST(ShapeRoads, ALooseEndTurnsTowardThePlaceBeside) {
  // ／ joins a castle to the north-east and runs loose to the south-west; a
  // castle to the north-west makes it ∨.
  const MapImage before = MapOf(Plain, {{101, 30, Slash}, {102, 30, Castle}, {100, 30, Castle}});
  EXPECT_EQ(Changes(before, Shaped(before)), (Names{"101:30=21"}));
}

TEST(ShapeRoads, AJoinOffTheMapIsDropped) {
  const MapImage before = MapOf(Plain, {{1, 30, Chi}, {2, 30, Castle}, {2, 31, Castle}});
  EXPECT_EQ(Changes(before, Shaped(before)), (Names{"1:30=22"}));
}

TEST(ShapeRoads, APieceThatDoesNotJoinBackGetsTheShapeOfItsRoad) {
  // castle, ／, ＼ where ／ belongs, ／, castle.
  const MapImage before = MapOf(Plain, {{101, 30, Castle}, {102, 30, Slash}, {103, 29, Backslash}, {104, 29, Slash},
                                        {105, 28, Castle}});
  const MapImage after = Shaped(before);
  EXPECT_EQ(Changes(before, after), (Names{"103:29=18"}));
  EXPECT_TRUE(FindRoadProblems(after).empty());
}

TEST(ShapeRoads, APieceThatABranchLeadsIntoJoinsIt) {
  // A straight ／ with a ＼ branching off its middle to the south-east: the
  // middle has no problem of its own, but the branch names it.
  const MapImage before = MapOf(Plain, {{101, 30, Castle}, {102, 30, Slash}, {103, 29, Slash}, {104, 29, Slash},
                                        {105, 28, Castle}, {104, 30, Backslash}, {105, 30, Castle}});
  const MapImage after = Shaped(before);
  EXPECT_EQ(Changes(before, after), (Names{"103:29=27"}));
  EXPECT_TRUE(FindRoadProblems(after).empty());
}

TEST(ShapeRoads, GoesOverTheMapAgainUntilOneRepairHasSettledTheOthers) {
  // 入 at 103:29 comes before its south-east neighbour: with only its
  // south-west joined back it has one side and waits; the neighbour becomes ∨
  // toward it and a castle, and on the next pass 入 becomes Λ.
  const MapImage before = MapOf(Plain, {{101, 30, Castle}, {102, 30, Slash}, {103, 29, Enter}, {104, 30, Slash},
                                        {105, 29, Castle}});
  ASSERT_LT(At(103, 29), At(104, 30));
  const MapImage after = Shaped(before);
  EXPECT_EQ(Changes(before, after), (Names{"103:29=20", "104:30=21"}));
  EXPECT_TRUE(FindRoadProblems(after).empty());
}

TEST(ShapeRoads, ABridgeOnlyTurnsIntoTheOtherBridge) {
  // A ＼ bridge between the ends of a ／ road turns; one with a third road
  // beside it stays, and so does a road piece that one side alone leads to.
  const MapImage turned = MapOf(Plain, {{101, 30, Castle}, {102, 30, Slash}, {103, 29, BridgeBackslash},
                                        {104, 29, Slash}, {105, 28, Castle}});
  EXPECT_EQ(Changes(turned, Shaped(turned)), (Names{"103:29=30"}));

  const MapImage kept = MapOf(Plain, {{101, 30, Castle}, {102, 30, Slash}, {103, 29, BridgeBackslash},
                                      {104, 29, Slash}, {105, 28, Castle}, {104, 30, Castle}});
  EXPECT_EQ(Shaped(kept), kept);
  EXPECT_EQ(FindRoadProblems(Shaped(kept)).size(), 3u) << "the bridge's loose end, both roads toward it";

  const MapImage deadEnd = MapOf(Plain, {{101, 30, Castle}, {102, 30, Lambda}});
  EXPECT_EQ(Shaped(deadEnd), deadEnd);
}

TEST(ShapeRoads, LeavesACleanMapAsItIs) {
  const MapImage crossing = MapOf(Castle, {{101, 30, Chi}, {201, 30, Backslash}, {202, 30, Backslash}});
  EXPECT_EQ(Shaped(crossing), crossing);
}

// ---- the way of a new road ----

TEST(RoadWay, RunsStraightAlongEitherDiagonal) {
  const MapImage before = MapOf(Plain, {{101, 30, Castle}, {105, 28, Castle}, {101, 28, Castle}, {105, 30, Castle}});
  MapImage image = before;
  EXPECT_EQ(NamesOf(LayRoad(image, At(101, 30), At(105, 28))), (Names{"101:30", "102:30", "103:29", "104:29", "105:28"}));
  EXPECT_EQ(Changes(before, image), (Names{"102:30=18", "103:29=18", "104:29=18"}));

  image = before;
  EXPECT_EQ(NamesOf(LayRoad(image, At(101, 28), At(105, 30))), (Names{"101:28", "102:29", "103:29", "104:30", "105:30"}));
  EXPECT_EQ(Changes(before, image), (Names{"102:29=19", "103:29=19", "104:30=19"}));
}

TEST(RoadWay, BendsWhereTheGroundIsEasiest) {
  // Four steps from 101:30 to 105:30 go up and down in any order; hills
  // everywhere but along one bend, so the bend it is.
  MapImage image = MapOf(Hills, {{101, 30, Castle}, {105, 30, Castle}, {102, 30, Plain}, {103, 29, Plain},
                                 {104, 30, Plain}});
  const MapImage before = image;
  LayRoad(image, At(101, 30), At(105, 30));
  EXPECT_EQ(Changes(before, image), (Names{"102:30=18", "103:29=20", "104:30=19"}));
}

TEST(RoadWay, TiesGoToTheCheaperGround) {
  // The bend up (over 102:30, 103:29, 104:30) against the bend down (over
  // 102:31, 103:31, 104:31), everything else mountains.
  auto wayOver = [](TerrainCode up, TerrainCode down) {
    MapImage image = MapOf(Mountains, {{101, 30, Castle}, {105, 30, Castle}, {102, 30, up}, {103, 29, up},
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

TEST(RoadWay, TakesTheFewestStepsOverAnyGround) {
  // Straight over marsh, although plain lies all around.
  MapImage image = MapOf(Plain, {{101, 30, Castle}, {105, 28, Castle}, {102, 30, Marsh}, {103, 29, Marsh},
                                 {104, 29, Marsh}});
  EXPECT_EQ(NamesOf(FindRoadWay(image, At(101, 30), At(105, 28))), (Names{"101:30", "102:30", "103:29", "104:29", "105:28"}));
}

TEST(RoadWay, JoinsAnExistingRoadWithAThreeWayPiece) {
  MapImage image = MapOf(Plain, {{101, 30, Castle}, {102, 30, Slash}, {103, 29, Slash}, {104, 29, Slash},
                                 {105, 28, Castle}, {106, 30, Castle}});
  const MapImage before = image;
  EXPECT_EQ(NamesOf(LayRoad(image, At(106, 30), At(104, 29))), (Names{"106:30", "105:29", "104:29"}));
  EXPECT_EQ(Changes(before, image), (Names{"104:29=27", "105:29=19"}));
  EXPECT_TRUE(FindRoadProblems(image).empty());
}

TEST(RoadWay, CrossesAnExistingRoadWithAChi) {
  MapImage image = MapOf(Plain, {{101, 30, Castle}, {102, 30, Slash}, {103, 29, Slash}, {104, 29, Slash},
                                 {105, 28, Castle}, {101, 28, Castle}, {105, 30, Castle}});
  const MapImage before = image;
  LayRoad(image, At(101, 28), At(105, 30));
  EXPECT_EQ(Changes(before, image), (Names{"102:29=19", "103:29=28", "104:30=19"}));
  EXPECT_TRUE(FindRoadProblems(image).empty());
}

// Column 103 all water, but for the cells given: a river one hexagon wide
// from the top of the map to the bottom.
MapImage RiverMap(TerrainCode water, std::initializer_list<std::array<int, 3>> cells) {
  MapImage image = MapOf(Plain);
  for (int row = 1; row <= 76; ++row) image[At(103, row)] = water;
  for (const auto& [column, row, code] : cells) image[At(column, row)] = static_cast<TerrainCode>(code);
  return image;
}

TEST(RoadWay, BridgesAOneHexagonRiverAlongEitherDiagonal) {
  MapImage image = RiverMap(Lake, {{101, 30, Castle}, {105, 28, Castle}, {101, 40, Castle}, {105, 42, Castle}});
  const MapImage before = image;
  LayRoad(image, At(101, 30), At(105, 28));
  LayRoad(image, At(101, 40), At(105, 42));
  EXPECT_EQ(Changes(before, image), (Names{"102:30=18", "102:41=19", "103:29=30", "103:41=29", "104:29=18",
                                           "104:42=19"}));
  EXPECT_TRUE(FindRoadProblems(image).empty());

  MapImage mouth = RiverMap(RiverMouth, {{101, 30, Castle}, {105, 28, Castle}});
  LayRoad(mouth, At(101, 30), At(105, 28));
  EXPECT_EQ(mouth[At(103, 29)], BridgeSlash);
}

TEST(RoadWay, CrossesARiverOnlyStraight) {
  // Castles level with each other across the river: four steps still do,
  // going up or down over the water and turning on land.
  MapImage image = RiverMap(Sea, {{101, 30, Castle}, {105, 30, Castle}});
  const std::vector<int> way = FindRoadWay(image, At(101, 30), At(105, 30));
  ASSERT_EQ(way.size(), 5u);
  const std::array<Side, 2> sides = {*SlantedSideToward(way[2], way[1]), *SlantedSideToward(way[2], way[3])};
  EXPECT_EQ(sides[0], Opposite(sides[1])) << NamesOf(way)[2];
}

TEST(RoadWay, FordsARiverTwoHexagonsWideWhereItCanOrNotAtAll) {
  MapImage image = RiverMap(Lake, {{101, 30, Castle}, {105, 28, Castle}});
  for (int row = 2; row <= 76; ++row) image[At(104, row)] = Lake;  // row 1 of an even column holds no byte
  const MapImage before = image;
  EXPECT_TRUE(FindRoadWay(image, At(101, 30), At(105, 28)).empty());
  try {
    LayRoad(image, At(101, 30), At(105, 28));
    FAIL() << "no way";
  } catch (const RoadRefusal& refusal) {
    EXPECT_EQ(refusal.Kind(), RoadRefusalKind::NoWay);
    EXPECT_EQ(refusal.Offset(), At(101, 30));
  }
  EXPECT_EQ(image, before);

  // Land at 104:40: one hexagon of water is left to bridge, far to the south.
  image[At(104, 40)] = Plain;
  const std::vector<int> way = LayRoad(image, At(101, 30), At(105, 28));
  EXPECT_EQ(way.size(), 43u) << "19 steps down to 104:40, 23 up to the castle";
  EXPECT_NE(std::find(way.begin(), way.end(), At(104, 40)), way.end());
  EXPECT_EQ(std::count(image.begin(), image.end(), BridgeBackslash), 1);
  EXPECT_TRUE(FindRoadProblems(image).empty());
}

TEST(RoadWay, GoesStraightOverABridgeAndNeverTurnsOnOne) {
  // A ／ road with a bridge in the middle, and castles to the north-west and
  // south-east of the bridge: the new road cannot turn on the bridge, so it
  // crosses the river on a new bridge beside it.
  MapImage image = RiverMap(Lake, {{101, 30, Castle}, {102, 30, Slash}, {103, 29, BridgeSlash}, {104, 29, Slash},
                                   {105, 28, Castle}, {101, 28, Castle}, {105, 30, Castle}});
  const MapImage before = image;
  const std::vector<int> way = LayRoad(image, At(101, 28), At(105, 30));
  EXPECT_EQ(image[At(103, 29)], BridgeSlash);
  EXPECT_EQ(std::count(way.begin(), way.end(), At(103, 29)), 0);
  EXPECT_TRUE(FindRoadProblems(image).empty());

  // Along its line the bridge takes the road and stays as it is.
  MapImage along = before;
  along[At(101, 30)] = Plain;
  along[At(100, 31)] = Castle;
  const std::vector<int> straight = LayRoad(along, At(100, 31), At(105, 28));
  EXPECT_EQ(NamesOf(straight), (Names{"100:31", "101:30", "102:30", "103:29", "104:29", "105:28"}));
  EXPECT_EQ(Changes(before, along), (Names{"100:31=31", "101:30=18"}));
}

TEST(RoadWay, IsRefusedWhereMountainsBlockTheWay) {
  MapImage image = MapOf(Plain, {{101, 30, Castle}, {105, 28, Castle}});
  for (Side side : SlantedSides) image[NeighbourOffset(At(105, 28), side)] = Mountains;
  EXPECT_TRUE(FindRoadWay(image, At(101, 30), At(105, 28)).empty());
  // Castles, towns, harbours and the palace block as well.
  for (TerrainCode code : {Harbour, TerrainCode{16}, Castle, TerrainCode{32}, TerrainCode{34}}) {
    for (Side side : SlantedSides) image[NeighbourOffset(At(105, 28), side)] = code;
    EXPECT_TRUE(FindRoadWay(image, At(101, 30), At(105, 28)).empty()) << int(code);
  }
}

TEST(RoadWay, RefusesEndsThatAreNoPlaceNorRoadAndASingleCell) {
  MapImage image = MapOf(Plain, {{101, 30, Castle}, {105, 28, Castle}, {110, 30, Mountains}});
  const MapImage before = image;
  auto refusal = [&](int from, int to) {
    try {
      LayRoad(image, from, to);
    } catch (const RoadRefusal& refused) {
      return std::make_pair(refused.Kind(), NameOf(refused.Offset()));
    }
    return std::make_pair(RoadRefusalKind::NoPiece, std::string("laid"));
  };
  EXPECT_EQ(refusal(At(101, 30), At(101, 30)), std::make_pair(RoadRefusalKind::SameCell, std::string("101:30")));
  EXPECT_EQ(refusal(At(103, 30), At(105, 28)), std::make_pair(RoadRefusalKind::NotAnEnd, std::string("103:30")));
  EXPECT_EQ(refusal(At(101, 30), At(110, 30)), std::make_pair(RoadRefusalKind::NotAnEnd, std::string("110:30")));
  EXPECT_EQ(image, before);
  EXPECT_EQ(FindRoadWay(image, At(101, 30), At(101, 30)), (std::vector<int>{At(101, 30)}));
}

TEST(RoadWay, EndsOnARoadPieceByAddingAJoinToIt) {
  // From a ／ to a castle south-east of it: the piece becomes 人.
  MapImage image = MapOf(Castle, {{103, 29, Slash}, {104, 30, Plain}});
  LayRoad(image, At(103, 29), At(105, 30));
  EXPECT_EQ(image[At(103, 29)], Person);
  EXPECT_EQ(image[At(104, 30)], Backslash);
}

TEST(RoadWay, IsRefusedWhereABridgeWouldHaveToTurn) {
  MapImage image = MapOf(Plain, {{101, 30, Castle}, {102, 30, BridgeBackslash}, {103, 30, Castle}});
  const MapImage before = image;
  try {
    LayRoadAlong(image, {At(101, 30), At(102, 30), At(103, 30)});
    FAIL() << "a bridge that turns";
  } catch (const RoadRefusal& refusal) {
    EXPECT_EQ(refusal.Kind(), RoadRefusalKind::NoPiece);
    EXPECT_EQ(NameOf(refusal.Offset()), "102:30");
  }
  EXPECT_EQ(image, before);
}

// ---- on random land ----

// Twelve maps, a dozen roads on each between random places, each road laid on
// the roads before it: every road joins up, and touches nothing off its way.
TEST(RoadWay, OnRandomLandEveryRoadJoinsUpAndTouchesOnlyItsWay) {
  RandomNumbers random(20240613);
  int laid = 0, refused = 0;
  for (int map = 0; map < 12; ++map) {
    MapImage image = RandomLand(random);
    const std::vector<int> places = PlacesOf(image);
    ASSERT_GT(places.size(), 500u);
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
        ++refused;
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
        if (IsBridge(image[offset]) && !IsRoadPiece(before[offset])) ++bridges;
      }
      EXPECT_LE(bridges, 1);
      EXPECT_EQ(image[from], before[from]) << "places keep their code";
      EXPECT_EQ(image[to], before[to]);
    }
    // Damaged roads: shape never leaves more problems than it found, and a
    // second time it finds nothing more to do.
    for (int damage = 0; damage < 30; ++damage) {
      const int offset = random.Below(MapSize);
      if (IsRoadPiece(image[offset])) image[offset] = static_cast<TerrainCode>(Slash + random.Below(13));
    }
    const std::size_t problems = FindRoadProblems(image).size();
    const MapImage shaped = Shaped(image);
    EXPECT_LE(FindRoadProblems(shaped).size(), problems);
    EXPECT_EQ(Shaped(shaped), shaped);
  }
  EXPECT_GT(laid, 100) << "refused " << refused;
}

}  // namespace
