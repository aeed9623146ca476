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
constexpr Rgba ChangeRingColour = Opaque(0, 90, 255);
constexpr Rgba ConflictRingColour = Opaque(230, 0, 230);
constexpr Rgba WarningColour = Opaque(255, 80, 0);
// Dark enough to stand out on the light colours of road and bridge
// hexagons, and far from each other, from the road's own brown and from
// the warning.
constexpr std::array<Rgba, NetworkColourCount> NetworkColours = {
    Opaque(170, 0, 40), Opaque(20, 40, 190),  Opaque(0, 120, 40),  Opaque(120, 30, 160),
    Opaque(0, 115, 130), Opaque(90, 90, 0), Opaque(200, 0, 140)};
constexpr Rgba CodeBitSet = Opaque(0, 0, 0);
constexpr Rgba CodeBitClear = Opaque(200, 200, 200);

Rgba ColourOf(TerrainCode code) {
  const TerrainColour colour = TraitsOf(code).colour;
  return Opaque(colour.r, colour.g, colour.b);
}

// A colour as both kinds of picture take it: itself, and its palette index.
struct Ink {
  Rgba colour;
  std::uint8_t index = 0;
};

// The palette of a map picture: every colour the painter may use, each once.
class Palette {
 public:
  Ink InkOf(Rgba colour) {
    for (std::size_t index = 0; index < colours_.size(); ++index)
      if (colours_[index] == colour) return {colour, static_cast<std::uint8_t>(index)};
    colours_.push_back(colour);
    return {colour, static_cast<std::uint8_t>(colours_.size() - 1)};
  }
  const std::vector<Rgba>& Colours() const { return colours_; }

 private:
  std::vector<Rgba> colours_;
};

// The two kinds of picture the painter draws on, by rows of pixels, each
// with the window of the map picture it holds: the whole picture, or a part.
struct RgbaSurface {
  Image& picture;
  int Left() const { return 0; }
  int Top() const { return 0; }
  int Right() const { return picture.width; }
  int Bottom() const { return picture.height; }
  void FillSpan(int y, int from, int to, const Ink& ink) {
    std::fill(&picture.At(from, y), &picture.At(from, y) + (to - from), ink.colour);
  }
};

struct IndexedSurface {
  MapPicturePart part;
  std::uint8_t* bits;  // the part's top left pixel
  int stride;
  int Left() const { return part.left; }
  int Top() const { return part.top; }
  int Right() const { return part.left + part.width; }
  int Bottom() const { return part.top + part.height; }
  void FillSpan(int y, int from, int to, const Ink& ink) {
    std::uint8_t* row = bits + static_cast<std::ptrdiff_t>(y - part.top) * stride - part.left;
    std::fill(row + from, row + to, ink.index);
  }
};

// The one palette of every map picture: the colours of all codes and of
// roads, bridges, marks and problem rings, each once. The other rings and
// the networks come last, so that the files' palette stays what it was
// without them.
Palette& MapColours() {
  static Palette palette = [] {
    Palette colours;
    for (int code = 0; code < 256; ++code) colours.InkOf(ColourOf(static_cast<TerrainCode>(code)));
    for (Rgba colour : {RoadColour, BridgeColour, MarkEdge, RingColour, ChangeRingColour, ConflictRingColour})
      colours.InkOf(colour);
    for (Rgba colour : NetworkColours) colours.InkOf(colour);
    colours.InkOf(WarningColour);
    return colours;
  }();
  return palette;
}
constexpr std::size_t OtherRingColours = 2 + NetworkColourCount + 1;

// The part of the square inside the surface, row by row.
template <typename Surface>
void FillSquare(Surface& surface, int left, int top, int size, const Ink& ink) {
  const int from = std::max(left, surface.Left()), to = std::min(left + size, surface.Right());
  if (from >= to) return;
  for (int y = std::max(top, surface.Top()); y < std::min(top + size, surface.Bottom()); ++y)
    surface.FillSpan(y, from, to, ink);
}

// Every pixel takes the colour of the hexagon whose centre is nearest, the
// leftmost of equally near ones. Each column is shifted half a hexagon
// against its neighbours, so the nearest centre lies in the pixel's column
// strip or the one on either side, at the nearest height of that column's
// parity. Within a row, which of the three wins depends only on where in its
// strip a pixel lies and on the strip's parity: so a row is worked out for
// one strip of each parity and then filled strip by strip, run by run. A
// row's runs are kept, for the many small parts of one painting.
class HexFiller {
 public:
  HexFiller(const MapImage& image, int scale, const std::array<Ink, 256>& inks)
      : image_(image), scale_(scale), inks_(inks), rows_(static_cast<std::size_t>(MapPictureSizeAt(scale).height)) {}

  template <typename Surface>
  void Fill(Surface& surface) const {
    const int strip = ColumnSpacing(scale_);
    const int firstStrip = surface.Left() / strip, lastStrip = std::min((surface.Right() - 1) / strip, LastGridColumn - 1);
    std::vector<int>& offsets = offsets_;  // each row sets those it uses
    for (int y = surface.Top(); y < surface.Bottom(); ++y) {
      const Row& row = RowAt(y);
      for (int index = std::max(firstStrip - 1, 0); index <= std::min(lastStrip + 1, LastGridColumn - 1); ++index)
        offsets[index] = OffsetAt({index + 1, row.nearest[index % 2].halfRow});  // column index + 1 odd: even heights
      for (int here = firstStrip; here <= lastStrip; ++here) {
        const int left = here * strip;
        // The strips at the edges have a neighbour on one side only.
        const std::vector<Run>& own = here == 0                  ? row.firstStrip
                                      : here == LastGridColumn - 1 ? row.lastStrip
                                                                   : row.inner[here % 2];
        for (const Run& run : own) {
          const int from = std::max(left + run.from, surface.Left()), to = std::min(left + run.to, surface.Right());
          if (from < to) surface.FillSpan(y, from, to, inks_[image_[offsets[here + run.neighbour]]]);
        }
      }
    }
  }

 private:
  struct Nearest {
    int halfRow;
    int distance;  // in half pixels, down from the centre
  };
  struct Run {
    int from, to;   // within the strip
    int neighbour;  // -1, 0 or +1: the strip whose hexagon colours the run
  };
  // A row of pixels: the nearest heights of each parity of column, and the
  // runs of an inner strip of each parity (strips 2 and 1 stand for them)
  // and of the edge strips.
  struct Row {
    bool ready = false;
    std::array<Nearest, 2> nearest;
    std::array<std::vector<Run>, 2> inner;
    std::vector<Run> firstStrip, lastStrip;
  };

  const Row& RowAt(int y) const {
    // A part may reach beyond the picture: such rows are worked out each time.
    const bool kept = y >= 0 && static_cast<std::size_t>(y) < rows_.size();
    Row& row = kept ? rows_[static_cast<std::size_t>(y)] : beyond_;
    if (kept && row.ready) return row;
    row.nearest = {NearestHeight(y, 0), NearestHeight(y, 1)};
    RunsOf(2, row.nearest, row.inner[0]);
    RunsOf(1, row.nearest, row.inner[1]);
    RunsOf(0, row.nearest, row.firstStrip);
    RunsOf(LastGridColumn - 1, row.nearest, row.lastStrip);
    row.ready = true;
    return row;
  }

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

  // The column index of the nearest centre to pixel x; the lowest on a tie.
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

  // The runs of a strip in a row, worked out pixel by pixel.
  void RunsOf(int here, const std::array<Nearest, 2>& rows, std::vector<Run>& runs) const {
    const int strip = ColumnSpacing(scale_), left = here * strip;
    runs.clear();
    for (int x = 0; x < strip; ++x) {
      const int neighbour = NearestColumn(left + x, rows) - here;
      if (!runs.empty() && runs.back().neighbour == neighbour) {
        runs.back().to = x + 1;
      } else {
        runs.push_back({x, x + 1, neighbour});
      }
    }
  }

  const MapImage& image_;
  int scale_;
  const std::array<Ink, 256>& inks_;
  mutable std::vector<Row> rows_;
  mutable std::vector<int> offsets_ = std::vector<int>(LastGridColumn);
  mutable Row beyond_;
};

// A line of width `width` from one point to another.
template <typename Surface>
void DrawLine(Surface& surface, PicturePoint from, PicturePoint to, int width, const Ink& ink) {
  const int steps = 2 * std::max({std::abs(to.x - from.x), std::abs(to.y - from.y), 1});
  for (int step = 0; step <= steps; ++step) {
    const int x = from.x + (to.x - from.x) * step / steps;
    const int y = from.y + (to.y - from.y) * step / steps;
    FillSquare(surface, x - width / 2, y - width / 2, width, ink);
  }
}

// The colours of roads, bridges, marks and rings, as the picture takes them.
struct Inks {
  explicit Inks(Palette& palette)
      : road(palette.InkOf(RoadColour)), bridge(palette.InkOf(BridgeColour)), markEdge(palette.InkOf(MarkEdge)),
        rings{palette.InkOf(RingColour), palette.InkOf(ChangeRingColour), palette.InkOf(ConflictRingColour),
              palette.InkOf(WarningColour)} {
    for (int code = 0; code < 256; ++code) terrain[code] = palette.InkOf(ColourOf(static_cast<TerrainCode>(code)));
    for (int network = 0; network < NetworkColourCount; ++network)
      roads[network + 1] = palette.InkOf(NetworkColours[network]);
    roads[WarningRoadColour] = rings[static_cast<int>(RingKind::Warning)];
  }
  // The ink of a road piece or bridge in a road colour of NetworkLook.
  const Ink& RoadInk(TerrainCode code, std::uint8_t colour) const {
    if (colour != OwnRoadColour && colour < roads.size()) return roads[colour];
    return IsBridge(code) ? bridge : road;
  }
  Ink road, bridge, markEdge;
  std::array<Ink, 4> rings;  // by RingKind
  std::array<Ink, 256> terrain;
  std::array<Ink, WarningRoadColour + 1> roads;
};

// From the centre to the middle of each side the piece joins.
template <typename Surface>
void DrawRoad(Surface& surface, PicturePoint centre, TerrainCode code, int scale, const Ink& ink) {
  const int width = std::max(1, scale / 2);
  for (Side side : SlantedSides)
    if (Joins(code, side)) DrawLine(surface, centre, SideMiddle(centre, side, scale), width, ink);
}

bool IsMarked(TerrainCode code) { return code == Castle || IsCity(code); }

// A square in the place's colour with a white edge.
template <typename Surface>
void DrawMark(Surface& surface, PicturePoint centre, TerrainCode code, int scale, const Inks& inks) {
  const int size = IsCity(code) ? 2 * scale + 1 : scale + 1;
  const int edge = std::max(1, scale / 4);
  FillSquare(surface, centre.x - size / 2 - edge, centre.y - size / 2 - edge, size + 2 * edge, inks.markEdge);
  FillSquare(surface, centre.x - size / 2, centre.y - size / 2, size, inks.terrain[code]);
}

// A byte of no terrain is white on the map; a tile of one also shows its
// eight bits, high bit first, in two rows of four, so that every such tile
// differs from the others.
void DrawCodeBits(RgbaSurface& surface, PicturePoint centre, TerrainCode code, int scale) {
  const int size = std::max(1, scale / 4), step = size + std::max(1, scale / 8);
  for (int bit = 0; bit < 8; ++bit) {
    const bool set = (code >> (7 - bit) & 1) != 0;
    const int x = centre.x + (bit % 4 - 2) * step + (step - size) / 2;
    const int y = centre.y + (bit / 4 - 1) * step + (step - size) / 2;
    FillSquare(surface, x, y, size, Ink{set ? CodeBitSet : CodeBitClear});
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

// The pixels between two circles round the hexagon's centre, row by row.
template <typename Surface>
void DrawRing(Surface& surface, int offset, int scale, const Ink& ink) {
  const PicturePoint centre = HexCentreAt(offset, scale);
  const int outer = 3 * scale, inner = outer - std::max(2, scale / 2);
  for (int y = std::max(-outer, surface.Top() - centre.y); y <= std::min(outer, surface.Bottom() - 1 - centre.y); ++y) {
    int runStart = 0;
    bool inRun = false;
    for (int x = -outer; x <= outer + 1; ++x) {
      const int distance = x * x + y * y;
      const bool in = x <= outer && distance <= outer * outer && distance > inner * inner;
      if (in && !inRun) runStart = x;
      if (!in && inRun) {
        const int from = std::max(centre.x + runStart, surface.Left()), to = std::min(centre.x + x, surface.Right());
        if (from < to) surface.FillSpan(centre.y + y, from, to, ink);
      }
      inRun = in;
    }
  }
}

// Whether anything drawn about a hexagon (its road, its mark, its ring) can
// reach the surface.
template <typename Surface>
bool Reaches(const Surface& surface, PicturePoint centre, int scale) {
  const int reach = RingReach(scale);
  return centre.x + reach >= surface.Left() && centre.x - reach < surface.Right() && centre.y + reach >= surface.Top() &&
         centre.y - reach < surface.Bottom();
}

// The hexagons whose drawing reaches the surface, by increasing offset. A map
// line holds two grid columns, so a line far from the surface is passed by
// whole: a small part of the picture costs what it shows, not the map.
struct LineColumns {
  int first, last;
};
const std::array<LineColumns, MapLineCount>& ColumnsOfLines() {
  static const std::array<LineColumns, MapLineCount> lines = [] {
    std::array<LineColumns, MapLineCount> columns{};
    for (int line = 0; line < MapLineCount; ++line) {
      const int a = PositionOf(line * MapLineLength).column, b = PositionOf(line * MapLineLength + 1).column;
      columns[line] = {std::min(a, b), std::max(a, b)};
    }
    return columns;
  }();
  return lines;
}

template <typename Surface, typename Each>
void ForEachHexagonReaching(const Surface& surface, int scale, Each&& each) {
  const int reach = RingReach(scale);
  // The lines run from left to right: the first that reaches the surface is
  // searched for, and the walk stops at the first beyond it.
  const std::array<LineColumns, MapLineCount>& lines = ColumnsOfLines();
  const auto firstReaching = std::partition_point(lines.begin(), lines.end(), [&](const LineColumns& columns) {
    return HexCentreOf({columns.last, 0}, scale).x + reach < surface.Left();
  });
  for (int line = static_cast<int>(firstReaching - lines.begin()); line < MapLineCount; ++line) {
    const int first = line * MapLineLength;
    if (HexCentreOf({lines[line].first, 0}, scale).x - reach >= surface.Right()) break;
    // Down a line the centres go down by a half row an offset.
    const int down = HalfRowSpacing(scale), top = HexCentreAt(first, scale).y;
    const int from = std::max(0, (surface.Top() - reach - top) / down - 1);
    const int to = std::min(MapLineLength, (surface.Bottom() + reach - top) / down + 2);
    for (int offset = first + from; offset < first + to; ++offset) {
      const PicturePoint centre = HexCentreAt(offset, scale);
      if (Reaches(surface, centre, scale)) each(offset, centre);
    }
  }
}

// The inks of every map picture, looked up in its palette once.
const Inks& MapInks() {
  static const Inks inks(MapColours());
  return inks;
}

}  // namespace

// Prepared once for a map and scale: its hexagons' inks, so that many small
// parts cost what they show.
struct MapPicturePainter::Prepared {
  Prepared(const MapImage& image, int scale, const std::vector<MapRing>& rings,
           const std::vector<std::uint8_t>& roadColours)
      : image(image), scale(scale), rings(rings), roadColours(roadColours), filler(image, scale, MapInks().terrain) {
    for (std::size_t index = 0; index < rings.size(); ++index) ringsByOffset.emplace_back(rings[index].offset, index);
    std::sort(ringsByOffset.begin(), ringsByOffset.end());
  }
  const MapImage& image;
  int scale;
  const std::vector<MapRing>& rings;
  const std::vector<std::uint8_t> roadColours;  // a copy: a few microseconds, and never left dangling
  // A part looks up the rings of the hexagons reaching it, not every ring.
  std::vector<std::pair<int, std::size_t>> ringsByOffset;
  HexFiller filler;
};

MapPicturePainter::MapPicturePainter(const MapImage& image, int scale, const std::vector<MapRing>& rings,
                                     const std::vector<std::uint8_t>& roadColours)
    : prepared_(std::make_unique<Prepared>(image, scale, rings, roadColours)) {}

MapPicturePainter::~MapPicturePainter() = default;

void MapPicturePainter::DrawPart(const MapPicturePart& part, std::uint8_t* bits, int stride) const {
  IndexedSurface surface{part, bits, stride};
  const MapImage& image = prepared_->image;
  const int scale = prepared_->scale;
  const Inks& inks = MapInks();
  prepared_->filler.Fill(surface);
  // Marks go over roads, rings over marks, each ring in its turn.
  std::vector<std::pair<int, PicturePoint>> marked;
  std::vector<std::size_t> ringed;
  const auto& byOffset = prepared_->ringsByOffset;
  ForEachHexagonReaching(surface, scale, [&](int offset, PicturePoint centre) {
    const std::uint8_t colour = prepared_->roadColours.empty() ? OwnRoadColour : prepared_->roadColours[offset];
    if (IsRoadPiece(image[offset])) DrawRoad(surface, centre, image[offset], scale, inks.RoadInk(image[offset], colour));
    if (IsMarked(image[offset])) marked.emplace_back(offset, centre);
    for (auto ring = std::lower_bound(byOffset.begin(), byOffset.end(), std::pair<int, std::size_t>(offset, 0));
         ring != byOffset.end() && ring->first == offset; ++ring)
      ringed.push_back(ring->second);
  });
  for (const auto& [offset, centre] : marked) DrawMark(surface, centre, image[offset], scale, inks);
  std::sort(ringed.begin(), ringed.end());
  for (const std::size_t index : ringed) {
    const MapRing& ring = prepared_->rings[index];
    DrawRing(surface, ring.offset, scale, inks.rings[static_cast<std::size_t>(ring.kind)]);
  }
}

// A hexagon's colour reaches 5/4 of a scale across and its mark and road a
// quarter more; a ring three scales.
int HexagonReach(int scale) { return 2 * scale + 1; }
int RingReach(int scale) { return 3 * scale + 1; }

const std::vector<Rgba>& MapPictureRingPalette() { return MapColours().Colours(); }

const std::vector<Rgba>& MapPicturePalette() {
  static const std::vector<Rgba> colours(MapPictureRingPalette().begin(), MapPictureRingPalette().end() - OtherRingColours);
  return colours;
}

void DrawMapPicturePart(const MapImage& image, int scale, const std::vector<int>& ringed, const MapPicturePart& part,
                        std::uint8_t* bits, int stride) {
  std::vector<MapRing> rings;
  for (const int offset : ringed) rings.push_back({offset, RingKind::Problem});
  MapPicturePainter(image, scale, rings).DrawPart(part, bits, stride);
}

IndexedImage DrawIndexedMapPicture(const MapImage& image, int scale, const std::vector<int>& ringed, bool networks) {
  const MapPictureSize size = MapPictureSizeAt(scale);
  IndexedImage picture(size.width, size.height);
  if (!networks) {
    DrawMapPicturePart(image, scale, ringed, {0, 0, size.width, size.height}, picture.pixels.data(), size.width);
    picture.palette = MapPicturePalette();
    return picture;
  }
  NetworkLook look = LookOfNetworks(image);
  for (const int offset : ringed) look.rings.push_back({offset, RingKind::Problem});
  std::sort(look.rings.begin(), look.rings.end());
  MapPicturePainter(image, scale, look.rings, look.roadColours)
      .DrawPart({0, 0, size.width, size.height}, picture.pixels.data(), size.width);
  picture.palette = MapPictureRingPalette();
  return picture;
}

Image DrawMapPicture(const MapImage& image, int scale, const std::vector<int>& ringed) {
  const IndexedImage indexed = DrawIndexedMapPicture(image, scale, ringed);
  Image picture(indexed.width, indexed.height);
  std::transform(indexed.pixels.begin(), indexed.pixels.end(), picture.pixels.begin(),
                 [&](std::uint8_t index) { return indexed.palette[index]; });
  return picture;
}

Image DrawTerrainTile(TerrainCode code, int scale) {
  const HexSize size = HexSizeAt(scale);
  Image tile(size.width, size.height, ColourOf(code));
  RgbaSurface surface{tile};
  Palette palette;
  const Inks inks(palette);
  const PicturePoint centre{size.width / 2, size.height / 2};
  if (IsRoadPiece(code)) DrawRoad(surface, centre, code, scale, inks.RoadInk(code, OwnRoadColour));
  if (IsMarked(code)) DrawMark(surface, centre, code, scale, inks);
  if (code >= TerrainCodeCount) DrawCodeBits(surface, centre, code, scale);
  for (int y = 0; y < tile.height; ++y)
    for (int x = 0; x < tile.width; ++x)
      if (!InHexagon(x, y, centre, scale)) tile.At(x, y) = Rgba{};
  return tile;
}
