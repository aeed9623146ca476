#include "picture/MapPicture.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>

#include "map/HexGrid.h"
#include "map/RoadNetwork.h"
#include "map/TerrainTraits.h"

namespace {

using namespace terrain;

constexpr Rgba RoadColour = Opaque(110, 50, 20);
constexpr Rgba BridgeColour = Opaque(40, 40, 40);
constexpr Rgba MarkEdge = Opaque(255, 255, 255);
constexpr Rgba RingColour = Opaque(255, 0, 0);
constexpr Rgba CodeBitSet = Opaque(0, 0, 0);
constexpr Rgba CodeBitClear = Opaque(200, 200, 200);

Rgba ColourOf(TerrainCode code) {
  const TerrainColour colour = TraitsOf(code).colour;
  return Opaque(colour.r, colour.g, colour.b);
}

void Plot(Image& picture, int x, int y, Rgba colour) {
  if (x >= 0 && y >= 0 && x < picture.width && y < picture.height) picture.At(x, y) = colour;
}

void FillSquare(Image& picture, int left, int top, int size, Rgba colour) {
  for (int y = top; y < top + size; ++y)
    for (int x = left; x < left + size; ++x) Plot(picture, x, y, colour);
}

// Every pixel takes the colour of the hexagon whose centre is nearest. Each
// column is shifted half a hexagon against its neighbours, so the nearest
// centre lies in the pixel's column or the one on either side, at the
// nearest height of that column's parity.
class HexFiller {
 public:
  HexFiller(const MapImage& image, int scale) : scale_(scale) {
    for (int offset = 0; offset < MapSize; ++offset) colours_[offset] = ColourOf(image[offset]);
  }

  void Fill(Image& picture) const {
    std::vector<int> offsets(LastGridColumn);
    for (int y = 0; y < picture.height; ++y) {
      const std::array<Nearest, 2> rows = {NearestHeight(y, 0), NearestHeight(y, 1)};
      for (int index = 0; index < LastGridColumn; ++index)  // column index + 1 odd: even heights
        offsets[index] = OffsetAt({index + 1, rows[index % 2].halfRow});
      for (int x = 0; x < picture.width; ++x) picture.At(x, y) = colours_[offsets[NearestColumn(x, rows)]];
    }
  }

 private:
  struct Nearest {
    int halfRow;
    int distance;  // in half pixels, down from the centre
  };

  // Pixel centres and hexagon centres in half pixels.
  int CentreX(int columnIndex) const { return 2 * HexCentreOf({columnIndex + 1, 0}, scale_).x; }
  int CentreY(int halfRow) const { return 2 * HexCentreOf({1, halfRow}, scale_).y; }

  Nearest NearestHeight(int y, int parity) const {
    const int centre = 2 * y + 1;
    int halfRow = std::clamp((centre - CentreY(0)) / (2 * HalfRowSpacing(scale_)), 0, MapLineLength - 1);
    if (halfRow % 2 != parity) halfRow = halfRow == 0 ? 1 : halfRow - 1;
    const int next = std::min(halfRow + 2, MapLineLength - 1 - (MapLineLength - 1 - parity) % 2);
    if (std::abs(centre - CentreY(next)) < std::abs(centre - CentreY(halfRow))) halfRow = next;
    return {halfRow, centre - CentreY(halfRow)};
  }

  // The column index of the nearest centre.
  int NearestColumn(int x, const std::array<Nearest, 2>& rows) const {
    const int centre = 2 * x + 1;
    const int here = x / ColumnSpacing(scale_);
    int best = -1;
    long bestDistance = 0;
    for (int index = std::max(here - 1, 0); index <= std::min(here + 1, LastGridColumn - 1); ++index) {
      const long dx = centre - CentreX(index), dy = rows[index % 2].distance;
      const long distance = dx * dx + dy * dy;
      if (best >= 0 && distance >= bestDistance) continue;
      best = index;
      bestDistance = distance;
    }
    return best;
  }

  int scale_;
  std::array<Rgba, MapSize> colours_;
};

// A line of width `width` from one point to another.
void DrawLine(Image& picture, PicturePoint from, PicturePoint to, int width, Rgba colour) {
  const int steps = 2 * std::max({std::abs(to.x - from.x), std::abs(to.y - from.y), 1});
  for (int step = 0; step <= steps; ++step) {
    const int x = from.x + (to.x - from.x) * step / steps;
    const int y = from.y + (to.y - from.y) * step / steps;
    FillSquare(picture, x - width / 2, y - width / 2, width, colour);
  }
}

// From the centre to the middle of each side the piece joins.
void DrawRoad(Image& picture, PicturePoint centre, TerrainCode code, int scale) {
  const int width = std::max(1, scale / 2);
  for (Side side : SlantedSides)
    if (Joins(code, side))
      DrawLine(picture, centre, SideMiddle(centre, side, scale), width, IsBridge(code) ? BridgeColour : RoadColour);
}

bool IsMarked(TerrainCode code) { return code == Castle || IsCity(code); }

// A square in the place's colour with a white edge.
void DrawMark(Image& picture, PicturePoint centre, TerrainCode code, int scale) {
  const int size = IsCity(code) ? 2 * scale + 1 : scale + 1;
  const int edge = std::max(1, scale / 4);
  FillSquare(picture, centre.x - size / 2 - edge, centre.y - size / 2 - edge, size + 2 * edge, MarkEdge);
  FillSquare(picture, centre.x - size / 2, centre.y - size / 2, size, ColourOf(code));
}

// A byte of no terrain is white on the map; a tile of one also shows its
// eight bits, high bit first, in two rows of four, so that every such tile
// differs from the others.
void DrawCodeBits(Image& picture, PicturePoint centre, TerrainCode code, int scale) {
  const int size = std::max(1, scale / 4), step = size + std::max(1, scale / 8);
  for (int bit = 0; bit < 8; ++bit) {
    const bool set = (code >> (7 - bit) & 1) != 0;
    const int x = centre.x + (bit % 4 - 2) * step + (step - size) / 2;
    const int y = centre.y + (bit / 4 - 1) * step + (step - size) / 2;
    FillSquare(picture, x, y, size, set ? CodeBitSet : CodeBitClear);
  }
}

// Whether a pixel's centre lies nearer to `centre` than to the centre of any
// of the six neighbouring hexagons: the rule by which the map is filled.
bool InHexagon(int x, int y, PicturePoint centre, int scale) {
  // In half pixels, so that the pixel's centre is a whole number.
  auto distance = [x, y](PicturePoint to) {
    const long dx = 2L * x + 1 - 2L * to.x, dy = 2L * y + 1 - 2L * to.y;
    return dx * dx + dy * dy;
  };
  const long own = distance(centre);
  for (Side side : AllSides)
    if (distance(NeighbourCentre(centre, side, scale)) <= own) return false;
  return true;
}

void DrawRing(Image& picture, int offset, int scale) {
  const PicturePoint centre = HexCentreAt(offset, scale);
  const int outer = 3 * scale, inner = outer - std::max(2, scale / 2);
  for (int y = -outer; y <= outer; ++y) {
    for (int x = -outer; x <= outer; ++x) {
      const int distance = x * x + y * y;
      if (distance <= outer * outer && distance > inner * inner) Plot(picture, centre.x + x, centre.y + y, RingColour);
    }
  }
}

}  // namespace

MapPictureSize MapPictureSizeAt(int scale) { return {LastGridColumn * 2 * scale, (MapLineLength + 1) * scale}; }

Image DrawMapPicture(const MapImage& image, int scale, const std::vector<int>& ringed) {
  const MapPictureSize size = MapPictureSizeAt(scale);
  Image picture(size.width, size.height);
  std::make_unique<HexFiller>(image, scale)->Fill(picture);
  for (int offset = 0; offset < MapSize; ++offset)
    if (IsRoadPiece(image[offset])) DrawRoad(picture, HexCentreAt(offset, scale), image[offset], scale);
  for (int offset = 0; offset < MapSize; ++offset)
    if (IsMarked(image[offset])) DrawMark(picture, HexCentreAt(offset, scale), image[offset], scale);
  for (int offset : ringed) DrawRing(picture, offset, scale);
  return picture;
}

Image DrawTerrainTile(TerrainCode code, int scale) {
  const HexSize size = HexSizeAt(scale);
  Image tile(size.width, size.height, ColourOf(code));
  const PicturePoint centre{size.width / 2, size.height / 2};
  if (IsRoadPiece(code)) DrawRoad(tile, centre, code, scale);
  if (IsMarked(code)) DrawMark(tile, centre, code, scale);
  if (code >= TerrainCodeCount) DrawCodeBits(tile, centre, code, scale);
  for (int y = 0; y < tile.height; ++y)
    for (int x = 0; x < tile.width; ++x)
      if (!InHexagon(x, y, centre, scale)) tile.At(x, y) = Rgba{};
  return tile;
}
