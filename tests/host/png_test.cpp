// PNG files of pictures, read back with stb_image, and the picture of a map:
// its size, its colours where the hexagons are, roads, marks and rings.

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "map/HexGrid.h"
#include "picture/MapPicture.h"
#include "picture/Png.h"
#include "support/PngReading.h"
#include "support/TempFolder.h"

namespace {

Image TestPicture(int width, int height, bool withAlpha) {
  Image image(width, height);
  std::uint32_t state = 7;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      state = state * 1103515245u + 12345u;
      const auto noise = static_cast<std::uint8_t>(state >> 16);
      Rgba p = x < width / 2 ? Opaque(200, 100, 50) : Opaque(noise, static_cast<std::uint8_t>(y * 5), 90);
      if (withAlpha) p.a = static_cast<std::uint8_t>((x * 7 + y) & 0xFF);
      image.At(x, y) = p;
    }
  }
  return image;
}

TEST(Png, RoundTripsOpaquePicturesWithoutAlpha) {
  const Image image = TestPicture(61, 37, false);
  const Bytes png = EncodePng(image);
  ASSERT_GE(png.size(), 8u);
  EXPECT_EQ(Bytes(png.begin(), png.begin() + 8), (Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}));
  const DecodedPng decoded = DecodePng(png);
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.channels, 3);
  ASSERT_EQ(decoded.image.width, 61);
  ASSERT_EQ(decoded.image.height, 37);
  EXPECT_TRUE(decoded.image.pixels == image.pixels);
}

TEST(Png, KeepsAlphaWhenThePictureHasIt) {
  const Image image = TestPicture(40, 20, true);
  const DecodedPng decoded = DecodePng(EncodePng(image));
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.channels, 4);
  EXPECT_TRUE(decoded.image.pixels == image.pixels);
}

// No empty file may pass for a picture: what the encoder cannot take is an error.
TEST(Png, RefusesPicturesItCannotEncode) {
  Image mismatched(4, 4);
  mismatched.pixels.pop_back();
  Image huge;
  huge.width = huge.height = 1 << 15;  // 4 GiB of samples, beyond the encoder's int
  for (const Image& image : {Image(), Image(0, 5), mismatched, huge}) {
    try {
      EncodePng(image);
      ADD_FAILURE() << image.width << " x " << image.height;
    } catch (const std::runtime_error& error) {
      EXPECT_EQ(std::string(error.what()), "PNG ファイルの中身を作れません");
    }
  }
}

// ---- the picture of a map ----

MapImage MapOf(TerrainCode fill) {
  MapImage image;
  image.fill(fill);
  return image;
}

Rgba PixelAt(const Image& picture, PicturePoint point) { return picture.At(point.x, point.y); }

TEST(MapPicture, IsTwoScalesWidePerColumnAndOneScaleHighPerHalfRow) {
  EXPECT_EQ(MapPictureSizeAt(4).width, 2816);
  EXPECT_EQ(MapPictureSizeAt(4).height, 608);
  const Image picture = DrawMapPicture(MapOf(terrain::Sea), 1);
  EXPECT_EQ(picture.width, 704);
  EXPECT_EQ(picture.height, 152);
}

TEST(MapPicture, HexagonCentresLieInTheirColumnsAtTheirHeights) {
  EXPECT_EQ(HexCentreAt(0, 4).x, 4);  // column 1, height 0
  EXPECT_EQ(HexCentreAt(0, 4).y, 4);
  EXPECT_EQ(HexCentreAt(1, 4).x, 12);  // column 2, height 1
  EXPECT_EQ(HexCentreAt(1, 4).y, 8);
  EXPECT_EQ(HexCentreAt(MapSize - 1, 4).x, 2804);  // column 351, height 150
  EXPECT_EQ(HexCentreAt(MapSize - 1, 4).y, 604);
}

TEST(MapPicture, EveryHexagonShowsItsTerrainAllTheWayAroundItsCentre) {
  MapImage image = MapOf(terrain::Sea);
  const int plain = CellToOffset(101, 30), mountain = CellToOffset(102, 30), lake = CellToOffset(101, 31);
  image[plain] = terrain::Plain;
  image[mountain] = terrain::Mountains;
  image[lake] = terrain::Lake;
  const int scale = 4;
  const Image picture = DrawMapPicture(image, scale);
  const Rgba sea = PixelAt(picture, HexCentreAt(0, scale));
  for (int offset : {plain, mountain, lake}) {
    const PicturePoint centre = HexCentreAt(offset, scale);
    const Rgba colour = PixelAt(picture, centre);
    EXPECT_NE(colour, sea) << offset;
    // The hexagon reaches most of the way to its neighbours' centres.
    for (auto [dx, dy] : {std::pair{-scale + 1, 0}, {scale - 1, 0}, {0, -scale + 1}, {0, scale - 1}})
      EXPECT_EQ(PixelAt(picture, {centre.x + dx, centre.y + dy}), colour) << offset << " " << dx << "," << dy;
  }
  EXPECT_NE(PixelAt(picture, HexCentreAt(plain, scale)), PixelAt(picture, HexCentreAt(mountain, scale)));
  EXPECT_NE(PixelAt(picture, HexCentreAt(plain, scale)), PixelAt(picture, HexCentreAt(lake, scale)));
  EXPECT_EQ(PixelAt(picture, {picture.width - 1, picture.height - 1}), sea);
}

TEST(MapPicture, RoadsAreLinesTowardsTheSidesTheyJoin) {
  MapImage image = MapOf(terrain::Plain);
  const int road = CellToOffset(101, 30);
  image[road] = 18;  // ／: north-east and south-west
  const int scale = 8;
  const Image picture = DrawMapPicture(image, scale);
  const PicturePoint centre = HexCentreAt(road, scale);
  const Rgba line = PixelAt(picture, centre);
  EXPECT_EQ(PixelAt(picture, {centre.x + 6, centre.y - 3}), line) << "towards the north-east";
  EXPECT_EQ(PixelAt(picture, {centre.x - 6, centre.y + 3}), line) << "towards the south-west";
  EXPECT_NE(PixelAt(picture, {centre.x + 6, centre.y + 3}), line) << "not towards the south-east";
  EXPECT_NE(PixelAt(picture, {centre.x - 6, centre.y - 3}), line) << "not towards the north-west";
}

TEST(MapPicture, CastlesAndCitiesAreMarkedAndProblemsRinged) {
  MapImage image = MapOf(terrain::Plain);
  const int castle = CellToOffset(101, 30), kyoto = CellToOffset(151, 30), ringed = CellToOffset(201, 30);
  image[castle] = terrain::Castle;
  image[kyoto] = terrain::Kyoto;
  const int scale = 4;
  const Image plain = DrawMapPicture(image, scale);
  const Image withRing = DrawMapPicture(image, scale, {ringed});
  const Rgba land = PixelAt(plain, HexCentreAt(ringed, scale));
  EXPECT_EQ(PixelAt(plain, HexCentreAt(castle, scale)), Opaque(0, 0, 0));
  EXPECT_NE(PixelAt(plain, HexCentreAt(kyoto, scale)), land);
  // A ring passes three scales from the centre and leaves the middle alone.
  const PicturePoint centre = HexCentreAt(ringed, scale);
  EXPECT_EQ(PixelAt(withRing, centre), land);
  EXPECT_EQ(PixelAt(withRing, {centre.x + 3 * scale, centre.y}), Opaque(255, 0, 0));
  EXPECT_EQ(PixelAt(withRing, {centre.x, centre.y - 3 * scale}), Opaque(255, 0, 0));
  EXPECT_EQ(PixelAt(plain, {centre.x + 3 * scale, centre.y}), land);
}

}  // namespace

namespace {

// The sample map with three slips, so that rings are drawn too.
MapImage SlippedSample() {
  const Bytes bytes = ReadBytes(VALTEA_SOURCE_FOLDER_U16 u"/samples/MAPDATA.VLT");
  MapImage image{};
  std::copy(bytes.begin(), bytes.end(), image.begin());
  image[CellToOffset(23, 32)] = 18;
  image[CellToOffset(34, 26)] = 20;
  image[CellToOffset(200, 40)] = 31;
  return image;
}

std::uint32_t PixelSum(const Image& picture) {
  return static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(picture.pixels.data()),
                                           static_cast<uInt>(picture.pixels.size() * sizeof(Rgba))));
}

}  // namespace

// The painter draws at every scale exactly the pictures it drew before it
// learnt to fill hexagons by spans: their checksums were taken then.
TEST(MapPicture, EveryScaleDrawsThePictureItAlwaysDrew) {
  const MapImage map = SlippedSample();
  const std::vector<int> ringed = {CellToOffset(23, 32), CellToOffset(34, 26), CellToOffset(1, 1), CellToOffset(352, 76)};
  constexpr std::uint32_t Before[MaxMapPictureScale] = {
      0xA03114D6, 0x33D2C415, 0x6E0F8369, 0xE4B24B70, 0x77D50708, 0x89E9585B, 0x911141BE, 0x35913699,
      0x50E40D72, 0x122BF1C1, 0xB8B16D85, 0x8F5EF677, 0x19F000DA, 0xA58646E3, 0x2D856E2E, 0xD8FB48E4};
  for (int scale = 1; scale <= MaxMapPictureScale; ++scale)
    EXPECT_EQ(PixelSum(DrawMapPicture(map, scale, ringed)), Before[scale - 1]) << "scale " << scale;
}

// The palette PNG of the map picture decodes, with stb_image, to exactly
// the colours of the picture.
TEST(MapPicture, ThePalettePngHoldsThePictureItself) {
  const MapImage map = SlippedSample();
  const IndexedImage indexed = DrawIndexedMapPicture(map, 3, {CellToOffset(23, 32)});
  const DecodedPng decoded = DecodePng(EncodePalettePng(indexed));
  ASSERT_TRUE(decoded.ok);
  EXPECT_TRUE(decoded.image.pixels == DrawMapPicture(map, 3, {CellToOffset(23, 32)}).pixels);
  EXPECT_THROW(EncodePalettePng(IndexedImage(4, 0)), std::runtime_error);
}

// A part drawn alone is that part of the whole picture, at its edges too:
// roads, marks and rings of hexagons beside it reach into it as they do.
TEST(MapPicture, APartDrawnAloneIsThatPartOfTheWholePicture) {
  const MapImage map = SlippedSample();
  const std::vector<int> ringed = {CellToOffset(23, 32)};
  const struct {
    int scale;
    MapPicturePart part;
  } parts[] = {{4, {0, 0, 2816, 608}}, {4, {37, 11, 300, 97}}, {7, {1000, 300, 1, 513}},
               {16, {440, 960, 250, 170}}, {3, {2100, 400, 12, 56}}};
  for (const auto& [scale, part] : parts) {
    const IndexedImage whole = DrawIndexedMapPicture(map, scale, ringed);
    const int stride = part.width + 5;
    std::vector<std::uint8_t> bits(static_cast<std::size_t>(stride) * part.height, 0xEE);
    DrawMapPicturePart(map, scale, ringed, part, bits.data(), stride);
    int differing = 0;
    for (int y = 0; y < part.height; ++y)
      for (int x = 0; x < part.width; ++x)
        differing += bits[static_cast<std::size_t>(y) * stride + x] != whole.Row(part.top + y)[part.left + x];
    EXPECT_EQ(differing, 0) << "scale " << scale << " at " << part.left << "," << part.top;
    EXPECT_EQ(bits[static_cast<std::size_t>(stride) - 1], 0xEE) << "nothing beyond the part's width";
  }
}

// One painter draws many parts as the whole picture shows them, each row's
// work kept between them: a window's changed hexagons, tile by tile.
TEST(MapPicture, OnePainterDrawsManyPartsAsTheWhole) {
  const MapImage map = SlippedSample();
  const std::vector<MapRing> rings = {{CellToOffset(23, 32), RingKind::Problem}};
  for (const int scale : {1, 4, 9}) {
    const IndexedImage whole = DrawIndexedMapPicture(map, scale, {rings[0].offset});
    const MapPicturePainter painter(map, scale, rings);
    std::vector<std::uint8_t> drawn(whole.pixels.size(), 0xEE);
    // Odd tiles, so that rows and strips are cut everywhere, the last ones short.
    for (int top = 0; top < whole.height; top += 29)
      for (int left = 0; left < whole.width; left += 37) {
        const MapPicturePart part{left, top, std::min(37, whole.width - left), std::min(29, whole.height - top)};
        painter.DrawPart(part, drawn.data() + static_cast<std::size_t>(top) * whole.width + left, whole.width);
      }
    EXPECT_TRUE(drawn == whole.pixels) << "scale " << scale;
  }
}

// A change of one code changes no pixel further from its centre than
// HexagonReach, whatever the code and its neighbours: the window draws
// again no more than that.
TEST(MapPicture, ACodeReachesNoFurtherThanHexagonReach) {
  MapImage map = SlippedSample();
  const int offset = CellToOffset(23, 32);
  for (const int scale : {1, 4, 16}) {
    const PicturePoint centre = HexCentreAt(offset, scale);
    const int margin = 2 * RingReach(scale);
    const MapPicturePart part{centre.x - margin, centre.y - margin, 2 * margin + 1, 2 * margin + 1};
    const auto draw = [&](TerrainCode code) {
      map[offset] = code;
      std::vector<std::uint8_t> bits(static_cast<std::size_t>(part.width) * part.height);
      DrawMapPicturePart(map, scale, {}, part, bits.data(), part.width);
      return bits;
    };
    const std::vector<std::uint8_t> plain = draw(4);
    for (int code = 0; code <= TerrainCodeCount; ++code) {
      const std::vector<std::uint8_t> other = draw(static_cast<TerrainCode>(code));
      int furthest = 0;
      for (int y = 0; y < part.height; ++y)
        for (int x = 0; x < part.width; ++x)
          if (other[static_cast<std::size_t>(y) * part.width + x] != plain[static_cast<std::size_t>(y) * part.width + x])
            furthest = std::max({furthest, std::abs(x - margin), std::abs(y - margin)});
      EXPECT_LE(furthest, HexagonReach(scale)) << "code " << code << " at scale " << scale;
    }
  }
}

// A point of the picture belongs to the hexagon whose colour it has, by the
// same nearest centre; the placeholder's place and the outside to none. The
// codes 0..6 by offset give every two neighbours other colours.
TEST(MapPicture, APointBelongsToTheCellThatColoursIt) {
  MapImage map{};
  for (int offset = 0; offset < MapSize; ++offset) map[offset] = static_cast<TerrainCode>(offset % 7);
  const int scale = 5;
  const IndexedImage picture = DrawIndexedMapPicture(map, scale);
  for (int y = 0; y < picture.height; y += 3)
    for (int x = 0; x < picture.width; x += 7) {
      const std::optional<GridCell> cell = CellAtPoint({x, y}, scale);
      if (!cell) continue;
      const int offset = CellToOffset(cell->column, cell->row);
      const PicturePoint centre = HexCentreAt(offset, scale);
      ASSERT_EQ(picture.Row(y)[x], picture.Row(centre.y)[centre.x]) << x << "," << y;
    }
  EXPECT_EQ(CellAtPoint({3 * scale, 0}, scale), std::nullopt) << "above column 2's first hexagon";
  EXPECT_EQ(CellAtPoint({scale, scale}, scale), (GridCell{1, 1}));
  EXPECT_EQ(CellAtPoint({-1, 10}, scale), std::nullopt);
  EXPECT_EQ(CellAtPoint({picture.width, 10}, scale), std::nullopt);
}
