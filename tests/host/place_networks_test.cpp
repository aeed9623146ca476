// What the roads join, on small hand-made maps: which neighbours are joined
// at each kind of place, the steps between places where the shorter way
// runs through a castle, and the change a split or a join makes. The
// networks' blocks are valtea-map's test, their colours the picture's.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "map/CellNames.h"
#include "map/PlaceNetworks.h"
#include "map/RoadTexts.h"
#include "operations/MapOperations.h"

namespace {

constexpr TerrainCode Plain = 4, Harbour = 7, Palace = 16, Slash = 18, Backslash = 19, BridgeSlash = 30,
                      Castle = 31, Kyoto = 32, Sakai = 33;

int Step(int offset, Side side, int count = 1) {
  for (int step = 0; step < count; ++step) offset = NeighbourOffset(offset, side);
  return offset;
}

MapImage PlainMap() {
  MapImage image;
  image.fill(Plain);
  return image;
}

// A castle at A, two ／ north-east of it, a castle X, two more ／ and Sakai
// at B: six steps from A to B, through X.
struct CastleLine {
  int a = CellToOffset(101, 40);
  int x = Step(a, Side::NorthEast, 3);
  int b = Step(a, Side::NorthEast, 6);
  MapImage image = PlainMap();
  CastleLine() {
    image[a] = image[x] = Castle;
    image[b] = Sakai;
    for (const int between : {1, 2, 4, 5}) image[Step(a, Side::NorthEast, between)] = Slash;
  }
};

TEST(PlaceNetworks, NeighboursAreJoinedWhereTheRoadCheckMeetsTheJoin) {
  struct Row {
    const char* what;
    TerrainCode here, there;  // `there` lies north-east of `here`
    bool joined;
  };
  const Row rows[] = {
      {"a road that joins a road joining back", Slash, Slash, true},
      {"a road that joins a road not joining back", Slash, Backslash, false},
      {"a bridge that joins a road joining back", BridgeSlash, Slash, true},
      {"a road that joins a harbour", Slash, Harbour, true},
      {"a road that joins the palace", Slash, Palace, true},
      {"a road that joins a castle", Slash, Castle, true},
      {"a road that joins a city", Slash, Kyoto, true},
      {"a castle that a road joins", Castle, Slash, true},
      {"a road beside a castle it does not join", Backslash, Castle, false},
      {"a castle beside a road that does not join it", Castle, Backslash, false},
      {"two places side by side", Castle, Kyoto, false},
      {"a road that joins open land", Slash, Plain, false},
  };
  const int here = CellToOffset(101, 40);
  for (const Row& row : rows) {
    MapImage image = PlainMap();
    image[here] = row.here;
    image[NeighbourOffset(here, Side::NorthEast)] = row.there;
    EXPECT_EQ(AreJoined(image, here, Side::NorthEast), row.joined) << row.what;
    EXPECT_EQ(AreJoined(image, NeighbourOffset(here, Side::NorthEast), Side::SouthWest), row.joined) << row.what;
  }
}

// A detour from A to B round castle X is longer than the road through it.
TEST(PlaceNetworks, StepsTakeTheShorterWayThroughACastle) {
  CastleLine line;
  const int aside = Step(Step(line.a, Side::SouthEast, 3), Side::NorthEast, 3);
  const MapOutcome detour = DrawnRoad(line.image, {line.a, aside, line.b});
  const std::vector<PlaceSteps> reached = PlacesReachedFrom(detour.image, line.a);
  ASSERT_EQ(reached.size(), 2u);
  EXPECT_EQ(reached[0].offset, line.x);
  EXPECT_EQ(reached[0].steps, 3);
  EXPECT_EQ(reached[1].offset, line.b);
  EXPECT_EQ(reached[1].steps, 6);
  EXPECT_EQ(detour.lines.back(), RoadLengthLine(12)) << "the detour is the longer way";
}

TEST(PlaceNetworks, ASplitAndAJoinNameThePlaceThatLeftOrCame) {
  const CastleLine line;
  MapImage split = line.image;
  const int cut = Step(line.a, Side::NorthEast, 5);
  split[cut] = Plain;
  struct Row {
    const MapImage& before;
    const MapImage& after;
    bool joined;
  };
  for (const Row& row : {Row{line.image, split, false}, Row{split, line.image, true}}) {
    const std::optional<JoinChange> change = FindJoinChange(row.before, row.after, {cut});
    ASSERT_TRUE(change);
    EXPECT_EQ(change->joined, row.joined);
    EXPECT_EQ(change->place, line.b);
    EXPECT_EQ(change->other, line.a);
    EXPECT_EQ(change->moreChanges, 0);
  }
  EXPECT_FALSE(FindJoinChange(line.image, line.image, {cut}));
  EXPECT_EQ(JoinChangeLine(line.image, *FindJoinChange(split, line.image, {cut})),
            "堺 (" + CellName(line.b) + ") が本城 (" + CellName(line.a) + ") の道路網につながりました");
}

}  // namespace
