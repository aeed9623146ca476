#pragma once
// The whole map as a picture: every hexagon in the colour of its terrain, in
// the game's staggered columns, roads and bridges drawn as lines along their
// joins, castles and cities marked, and rings where the road network has a
// problem.

#include <memory>
#include <vector>

#include "map/MapFile.h"
#include "picture/HexGeometry.h"
#include "picture/Image.h"

// Pixels per half row; a column is two of them wide.
constexpr int MinMapPictureScale = 1;
constexpr int DefaultMapPictureScale = 4;
constexpr int MaxMapPictureScale = 16;

// A ring round a hexagon, in the colour of what it tells: a problem of the
// road network, a cell that a patch would change, one where the patch and
// the map disagree, or a road or place that the roads join to nothing.
enum class RingKind : std::uint8_t { Problem, Change, Conflict, Warning };
struct MapRing {
  int offset;
  RingKind kind;
  friend bool operator==(const MapRing& a, const MapRing& b) { return a.offset == b.offset && a.kind == b.kind; }
  friend bool operator<(const MapRing& a, const MapRing& b) {
    return a.offset != b.offset ? a.offset < b.offset : a.kind < b.kind;
  }
};

// How far from a hexagon's centre the painter draws for it, in pixels: for
// its code (its colour, road and mark), and for a ring about it.
int HexagonReach(int scale);
int RingReach(int scale);

// The road networks told apart: the roads of each network that joins two or
// more places in a colour of its own, neighbouring networks in different
// colours; roads that reach no place in the warning colour, each ringed at
// its first hexagon, and places that no road reaches ringed in that colour.
constexpr std::uint8_t OwnRoadColour = 0;  // a road as any road is drawn
constexpr int NetworkColourCount = 7;      // colours 1..NetworkColourCount
constexpr std::uint8_t WarningRoadColour = NetworkColourCount + 1;
struct NetworkLook {
  std::vector<std::uint8_t> roadColours;  // for each offset; empty: every road its own colour
  std::vector<MapRing> rings;             // the warnings, by offset
};
NetworkLook LookOfNetworks(const MapImage& image);

// scale must be MinMapPictureScale..MaxMapPictureScale. `ringed` are map offsets.
Image DrawMapPicture(const MapImage& image, int scale, const std::vector<int>& ringed = {});
// The same picture as palette indices (MapPicturePalette), a byte a pixel: a
// quarter of the memory, and what a palette PNG holds. With `networks`, the
// networks told apart, in the palette with every ring's colour.
IndexedImage DrawIndexedMapPicture(const MapImage& image, int scale, const std::vector<int>& ringed = {},
                                   bool networks = false);

// A part of the picture, in its pixels.
struct MapPicturePart {
  int left;
  int top;
  int width;
  int height;
};
// Draws only that part, into palette indices: `bits` is its top left pixel,
// rows `stride` bytes apart. What the picture shows there is drawn exactly as
// the whole picture shows it, roads and marks of hexagons beside the part too.
void DrawMapPicturePart(const MapImage& image, int scale, const std::vector<int>& ringed, const MapPicturePart& part,
                        std::uint8_t* bits, int stride);
// The same, prepared once for many parts of one map at one scale, with rings
// of every kind and the roads' colours (NetworkLook): image and rings must
// outlive it.
class MapPicturePainter {
 public:
  MapPicturePainter(const MapImage& image, int scale, const std::vector<MapRing>& rings,
                    const std::vector<std::uint8_t>& roadColours = {});
  ~MapPicturePainter();
  void DrawPart(const MapPicturePart& part, std::uint8_t* bits, int stride) const;

 private:
  struct Prepared;
  std::unique_ptr<Prepared> prepared_;
};
// The palette of every map picture, whatever the map, with problems ringed.
const std::vector<Rgba>& MapPicturePalette();
// The same, then the colours of the other rings and of the networks: what a
// window's bitmap takes.
const std::vector<Rgba>& MapPictureRingPalette();

// One hexagon alone, drawn as on the map (colour, road or bridge along its
// joins, mark) on a transparent picture of the hexagon's size (HexSizeAt);
// bytes of no terrain also show their bits. Tiles like these put side by side
// in the map's staggered columns cover it without gaps or overlaps. scale
// must be a multiple of 4, 4..MaxMapPictureScale.
Image DrawTerrainTile(TerrainCode code, int scale);
