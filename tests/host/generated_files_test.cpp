// The committed pictures and the sample map are exactly what the generators
// in tools/ make (nobody edits them by hand or forgets to regenerate them:
// see tools/README.md), and they are what the program needs: a 32 x 32
// 256-colour icon and two 16 x 16 bitmaps with transparent corners, and a
// complete, sensible map.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Pictures.h"
#include "SampleMap.h"
#include "map/HexGrid.h"
#include "map/MapFile.h"
#include "resources/Resources.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes CommittedFile(const std::string& relativePath) {
  std::ifstream file(std::string(VALTEA_SOURCE_FOLDER) + "/" + relativePath, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

const Bytes& SampleMap() {
  static const Bytes map = SampleMapFile();  // generating takes a moment
  return map;
}

std::uint32_t LittleEndian(const Bytes& data, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | data.at(at + i);
  return value;
}

// ---- the generators reproduce the committed files ----
// These run in the native tree and under Wine: two compilers and two C
// libraries make the same bytes, so the generators are deterministic.

TEST(GeneratedFiles, TheCommittedPicturesAreWhatTheGeneratorMakes) {
  EXPECT_TRUE(CommittedFile("src/resources/Valtea.ico") == ProgramIconFile()) << "run the regenerate_art target";
  EXPECT_TRUE(CommittedFile("src/resources/Open.bmp") == OpenBitmapFile()) << "run the regenerate_art target";
  EXPECT_TRUE(CommittedFile("src/resources/Save.bmp") == SaveBitmapFile()) << "run the regenerate_art target";
  EXPECT_TRUE(CommittedFile("src/resources/Select.bmp") == SelectBitmapFile()) << "run the regenerate_art target";
  EXPECT_TRUE(CommittedFile("src/resources/Brush.bmp") == BrushBitmapFile()) << "run the regenerate_art target";
  EXPECT_TRUE(CommittedFile("src/resources/Eraser.bmp") == EraserBitmapFile()) << "run the regenerate_art target";
}

TEST(GeneratedFiles, TheCommittedSampleMapIsWhatTheGeneratorMakes) {
  EXPECT_TRUE(CommittedFile("samples/MAPDATA.VLT") == SampleMap()) << "run the regenerate_art target";
}

// ---- the icon ----

struct IconPixel {
  bool transparent;
  std::uint8_t r, g, b;
};

// Reads pixel (x, y), y from the top, of the one 8-bit image of an icon file.
class IconImage {
 public:
  explicit IconImage(const Bytes& file) : file_(file), image_(LittleEndian(file, 18, 4)) {}
  IconPixel At(int x, int y) const {
    std::size_t palette = image_ + 40, colours = palette + 256 * 4, mask = colours + 32 * 32;
    int storedRow = 31 - y;  // bottom row first
    int index = file_.at(colours + storedRow * 32 + x);
    bool transparent = (file_.at(mask + storedRow * 4 + x / 8) >> (7 - x % 8)) & 1;
    std::size_t entry = palette + 4 * index;
    return IconPixel{transparent, file_.at(entry + 2), file_.at(entry + 1), file_.at(entry)};
  }

 private:
  const Bytes& file_;
  std::size_t image_;
};

TEST(ProgramIcon, IsOne32By32ImageOf256ColoursWithAMask) {
  const Bytes icon = CommittedFile("src/resources/Valtea.ico");
  ASSERT_EQ(icon.size(), 6u + 16u + 40u + 256u * 4u + 32u * 32u + 4u * 32u);
  EXPECT_EQ(LittleEndian(icon, 0, 2), 0u);
  EXPECT_EQ(LittleEndian(icon, 2, 2), 1u) << "an icon, not a cursor";
  EXPECT_EQ(LittleEndian(icon, 4, 2), 1u) << "one image";
  EXPECT_EQ(icon[6], 32);
  EXPECT_EQ(icon[7], 32);
  EXPECT_EQ(icon[8], 0) << "256 colours";
  EXPECT_EQ(LittleEndian(icon, 12, 2), 8u) << "bits per pixel";
  EXPECT_EQ(LittleEndian(icon, 14, 4), icon.size() - 22);
  EXPECT_EQ(LittleEndian(icon, 18, 4), 22u);
  EXPECT_EQ(LittleEndian(icon, 22, 4), 40u) << "BITMAPINFOHEADER";
  EXPECT_EQ(LittleEndian(icon, 26, 4), 32u);
  EXPECT_EQ(LittleEndian(icon, 30, 4), 64u) << "colour part and mask";
  EXPECT_EQ(LittleEndian(icon, 36, 2), 8u);
  EXPECT_EQ(LittleEndian(icon, 38, 4), 0u) << "uncompressed";
}

TEST(ProgramIcon, CornersAreTransparentAndBlack) {
  const Bytes icon = CommittedFile("src/resources/Valtea.ico");
  ASSERT_GE(icon.size(), 2238u);
  IconImage image(icon);
  for (auto [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}, {3, 3}, {28, 28}}) {
    IconPixel pixel = image.At(x, y);
    EXPECT_TRUE(pixel.transparent) << x << ", " << y;
    // The screen shows through only where the colour part is black.
    EXPECT_EQ(pixel.r | pixel.g | pixel.b, 0) << x << ", " << y;
  }
}

TEST(ProgramIcon, IsAnOrangeSignWithBlackOnIt) {
  const Bytes icon = CommittedFile("src/resources/Valtea.ico");
  ASSERT_GE(icon.size(), 2238u);
  IconImage image(icon);
  int opaque = 0, orange = 0, black = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      IconPixel p = image.At(x, y);
      if (p.transparent) continue;
      ++opaque;
      if (p.r > 0xE0 && p.g > 0x60 && p.g < 0xB0 && p.b < 0x40) ++orange;
      if (p.r < 0x30 && p.g < 0x30 && p.b < 0x30) ++black;
    }
  }
  // A diamond fills half its square.
  EXPECT_GT(opaque, 32 * 32 * 45 / 100);
  EXPECT_LT(opaque, 32 * 32 * 60 / 100);
  EXPECT_GT(orange, opaque / 3);
  EXPECT_GT(black, opaque / 4);
  EXPECT_FALSE(image.At(16, 16).transparent);
  EXPECT_FALSE(image.At(16, 1).transparent) << "the sign reaches the edges";
  EXPECT_FALSE(image.At(1, 16).transparent);
}

// ---- the toolbar bitmaps ----

struct BitmapPixel {
  std::uint8_t r, g, b;
  bool operator==(const BitmapPixel& other) const { return r == other.r && g == other.g && b == other.b; }
};

constexpr BitmapPixel MaskColour = {TOOLBAR_MASK_COLOUR & 0xFF, (TOOLBAR_MASK_COLOUR >> 8) & 0xFF,
                                    (TOOLBAR_MASK_COLOUR >> 16) & 0xFF};

BitmapPixel BitmapAt(const Bytes& file, int x, int y) {
  std::size_t at = LittleEndian(file, 10, 4) + (15 - y) * 48 + 3 * x;  // bottom row first
  return BitmapPixel{file.at(at + 2), file.at(at + 1), file.at(at)};
}

void ExpectToolbarBitmap(const std::string& name) {
  SCOPED_TRACE(name);
  const Bytes bitmap = CommittedFile("src/resources/" + name);
  ASSERT_EQ(bitmap.size(), 14u + 40u + 16u * 16u * 3u);
  EXPECT_EQ(bitmap[0], 'B');
  EXPECT_EQ(bitmap[1], 'M');
  EXPECT_EQ(LittleEndian(bitmap, 2, 4), bitmap.size());
  EXPECT_EQ(LittleEndian(bitmap, 10, 4), 54u);
  EXPECT_EQ(LittleEndian(bitmap, 14, 4), 40u);
  EXPECT_EQ(LittleEndian(bitmap, 18, 4), 16u);
  EXPECT_EQ(LittleEndian(bitmap, 22, 4), 16u);
  EXPECT_EQ(LittleEndian(bitmap, 28, 2), 24u);
  EXPECT_EQ(LittleEndian(bitmap, 30, 4), 0u);
  for (auto [x, y] : {std::pair{0, 0}, {15, 0}, {0, 15}, {15, 15}})
    EXPECT_TRUE(BitmapAt(bitmap, x, y) == MaskColour) << x << ", " << y;
  int drawn = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) drawn += BitmapAt(bitmap, x, y) == MaskColour ? 0 : 1;
  EXPECT_GT(drawn, 16 * 16 / 2);
}

TEST(ToolbarBitmaps, Are16By16With24BitsAndMaskColourCorners) {
  ExpectToolbarBitmap("Open.bmp");
  ExpectToolbarBitmap("Save.bmp");
}

TEST(ToolbarBitmaps, OpenIsAYellowFolderAndSaveABlueDisk) {
  auto count = [](const Bytes& bitmap, auto test) {
    int n = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) n += test(BitmapAt(bitmap, x, y)) ? 1 : 0;
    return n;
  };
  const Bytes open = CommittedFile("src/resources/Open.bmp");
  const Bytes save = CommittedFile("src/resources/Save.bmp");
  ASSERT_EQ(open.size(), 822u);
  ASSERT_EQ(save.size(), 822u);
  EXPECT_GT(count(open, [](BitmapPixel p) { return p.r > 0xD0 && p.g > 0xA0 && p.b < 0x80; }), 40) << "yellow";
  EXPECT_GT(count(open, [](BitmapPixel p) { return p.g > p.r + 0x40 && p.g > p.b + 0x40; }), 8) << "green arrow";
  EXPECT_GT(count(save, [](BitmapPixel p) { return p.b > p.r + 0x30 && p.b > p.g + 0x30; }), 40) << "blue disk";
}

// ---- the sample map ----

// The map as the editor lays it out (map/HexGrid.h): odd columns stand half a
// row above even ones, so a hexagon's slanted neighbours are these cells.
enum Side { NorthEast, SouthEast, SouthWest, NorthWest };
constexpr std::array<Side, 4> Sides = {NorthEast, SouthEast, SouthWest, NorthWest};
Side Opposite(Side side) { return static_cast<Side>((side + 2) % 4); }

int NeighbourOffset(int offset, Side side) {
  GridCell cell = OffsetToCell(offset);
  bool odd = cell.column % 2 == 1;
  int column = cell.column + (side == NorthEast || side == SouthEast ? 1 : -1);
  int row = cell.row;
  if (odd && (side == SouthEast || side == SouthWest)) ++row;
  if (!odd && (side == NorthEast || side == NorthWest)) --row;
  return CellToOffset(column, row);
}

std::vector<int> AllNeighbourOffsets(int offset) {
  std::vector<int> result;
  for (Side side : Sides) result.push_back(NeighbourOffset(offset, side));
  GridCell cell = OffsetToCell(offset);
  result.push_back(CellToOffset(cell.column, cell.row - 1));
  result.push_back(CellToOffset(cell.column, cell.row + 1));
  result.erase(std::remove(result.begin(), result.end(), NoMapOffset), result.end());
  return result;
}

// Which sides each road glyph joins: "／" runs north-east to south-west, "Λ"
// joins the two lower sides, "入" is "＼" with a branch to the south-west, and
// so on; the bridges are straight.
const std::map<int, std::set<Side>> RoadSides = {
    {18, {NorthEast, SouthWest}},           {19, {NorthWest, SouthEast}},
    {20, {SouthWest, SouthEast}},           {21, {NorthWest, NorthEast}},
    {22, {NorthEast, SouthEast}},           {23, {NorthWest, SouthWest}},
    {24, {NorthWest, SouthEast, SouthWest}}, {25, {NorthEast, SouthWest, NorthWest}},
    {26, {NorthWest, SouthEast, NorthEast}}, {27, {NorthEast, SouthWest, SouthEast}},
    {28, {NorthEast, SouthEast, SouthWest, NorthWest}},
    {29, {NorthWest, SouthEast}},           {30, {NorthEast, SouthWest}},
};

bool IsRoad(int code) { return code >= 18 && code <= 30; }
bool IsTown(int code) { return (code >= 7 && code <= 14) || code == 31 || code == 32 || code == 33 || code == 34; }
bool IsWater(int code) { return code == 0 || code == 1; }

bool TouchesSea(const Bytes& map, int offset) {
  for (int n : AllNeighbourOffsets(offset))
    if (map[n] == 0) return true;
  return false;
}

int CountOf(const Bytes& map, int code) { return static_cast<int>(std::count(map.begin(), map.end(), code)); }

TEST(SampleMap, IsAWholeMapFileOfValidCodes) {
  ASSERT_EQ(SampleMap().size(), static_cast<std::size_t>(MapSize));
  for (std::size_t offset = 0; offset < SampleMap().size(); ++offset)
    ASSERT_LT(SampleMap()[offset], TerrainCodeCount) << "offset " << offset;
}

TEST(SampleMap, HasEveryKindOfTerrain) {
  const Bytes& map = SampleMap();
  for (int code : {0, 1, 2, 3, 4, 5, 6, 15, 17}) EXPECT_GT(CountOf(map, code), 10) << "code " << code;
  for (int harbour = 7; harbour <= 14; ++harbour) EXPECT_GE(CountOf(map, harbour), 1) << "harbour " << harbour;
  for (int road = 18; road <= 30; ++road) EXPECT_GE(CountOf(map, road), 1) << "road piece " << road;
  EXPECT_GE(CountOf(map, 29) + CountOf(map, 30), 6) << "bridges";
  EXPECT_GE(CountOf(map, 31), 20) << "castles";
  for (int city : {16, 32, 33, 34}) EXPECT_EQ(CountOf(map, city), 1) << "code " << city;
  EXPECT_GT(CountOf(map, 0), MapSize / 3) << "sea around";
  EXPECT_LT(CountOf(map, 0), MapSize * 3 / 4);
}

TEST(SampleMap, TheSeaSurroundsTheLand) {
  const Bytes& map = SampleMap();
  for (int offset = 0; offset < MapSize; ++offset) {
    GridCell cell = OffsetToCell(offset);
    bool edge = cell.column <= 2 || cell.column >= LastGridColumn - 1 || cell.row <= 1 || cell.row >= LastGridRow;
    if (edge) {
      EXPECT_EQ(map[offset], 0) << "offset " << offset;
    }
  }
}

TEST(SampleMap, PortsAndRiverMouthsLieOnTheCoastAndThePalaceBesideKyoto) {
  const Bytes& map = SampleMap();
  for (int offset = 0; offset < MapSize; ++offset) {
    int code = map[offset];
    if ((code >= 7 && code <= 14) || code == 17 || code == 33 || code == 34) {
      EXPECT_TRUE(TouchesSea(map, offset)) << "code " << code << " at offset " << offset;
    }
    if (code == 16) {
      std::vector<int> around = AllNeighbourOffsets(offset);
      EXPECT_TRUE(std::any_of(around.begin(), around.end(), [&](int n) { return map[n] == 32; }));
    }
    if (code == 1) {
      EXPECT_FALSE(TouchesSea(map, offset)) << "a lake at offset " << offset;
    }
  }
}

TEST(SampleMap, EveryRoadPieceJoinsRoadsOrTowns) {
  const Bytes& map = SampleMap();
  for (int offset = 0; offset < MapSize; ++offset) {
    if (!IsRoad(map[offset])) continue;
    for (Side side : RoadSides.at(map[offset])) {
      int next = NeighbourOffset(offset, side);
      ASSERT_NE(next, NoMapOffset) << "a road leaves the map at offset " << offset;
      int code = map[next];
      bool joined = IsTown(code) || (IsRoad(code) && RoadSides.at(code).count(Opposite(side)) == 1);
      EXPECT_TRUE(joined) << "road " << int(map[offset]) << " at offset " << offset << " meets code " << code;
    }
  }
}

// Islands by flood fill over land; then every town must be reachable from
// every other town of its island along the roads.
TEST(SampleMap, TheRoadsConnectEveryTownOfAnIsland) {
  const Bytes& map = SampleMap();
  std::vector<int> island(MapSize, -1);
  int islands = 0;
  for (int start = 0; start < MapSize; ++start) {
    if (IsWater(map[start]) || island[start] >= 0) continue;
    std::vector<int> stack = {start};
    island[start] = islands;
    while (!stack.empty()) {
      int offset = stack.back();
      stack.pop_back();
      for (int n : AllNeighbourOffsets(offset))
        if (!IsWater(map[n]) && island[n] < 0) stack.push_back(n), island[n] = islands;
    }
    ++islands;
  }

  std::vector<int> network(MapSize, -1);
  std::map<int, std::set<int>> networksOfIsland;
  int towns = 0;
  for (int start = 0; start < MapSize; ++start) {
    if (!IsTown(map[start]) || network[start] >= 0) continue;
    std::vector<int> stack = {start};
    network[start] = start;
    while (!stack.empty()) {
      int offset = stack.back();
      stack.pop_back();
      for (Side side : Sides) {
        int next = NeighbourOffset(offset, side);
        if (next == NoMapOffset || network[next] >= 0) continue;
        // From a town any road that points at it leads on; from a road only its own sides do.
        bool leaves = IsTown(map[offset]) ? IsRoad(map[next]) && RoadSides.at(map[next]).count(Opposite(side))
                                          : RoadSides.at(map[offset]).count(side) && (IsRoad(map[next]) || IsTown(map[next]));
        if (!leaves) continue;
        network[next] = start;
        stack.push_back(next);
      }
    }
    networksOfIsland[island[start]].insert(start);
  }
  for (int offset = 0; offset < MapSize; ++offset) towns += IsTown(map[offset]) ? 1 : 0;
  EXPECT_GT(towns, 40);
  for (const auto& [which, networks] : networksOfIsland)
    EXPECT_EQ(networks.size(), 1u) << "island " << which << " has towns that no road joins";
  for (int offset = 0; offset < MapSize; ++offset) {
    if (!IsTown(map[offset])) continue;
    bool reached = false;
    for (Side side : Sides) {
      int next = NeighbourOffset(offset, side);
      reached |= next != NoMapOffset && IsRoad(map[next]) && RoadSides.at(map[next]).count(Opposite(side)) == 1;
    }
    EXPECT_TRUE(reached) << "no road to the town at offset " << offset;
  }
}

}  // namespace
