// The map as a Tiled map and back: where the cells sit in Tiled's grid, every
// byte value, the tileset, and every refusal. What Tiled itself makes of
// these files, in each layer format it saves, is in valtea_map_test.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "map/HexGrid.h"
#include "picture/MapPicture.h"
#include "support/TiledLayers.h"
#include "tiled/TiledMap.h"

namespace {

using Json = nlohmann::json;

// JSON wants UTF-8, which only the platforms convert to; the tests see each
// Shift-JIS byte as "%XX" instead.
std::string Escaped(std::string_view shiftJis) {
  std::string text;
  for (unsigned char c : shiftJis) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    text += c < 0x80 ? std::string(1, static_cast<char>(c)) : std::string{'%', Digits[c >> 4], Digits[c & 15]};
  }
  return text;
}

MapImage EveryByteValue() {
  MapImage image{};
  for (int offset = 0; offset < MapSize; ++offset) image[offset] = static_cast<TerrainCode>(offset % 256);
  return image;
}

Json Exported(const MapImage& image = EveryByteValue()) { return Json::parse(TiledMapJson(image, Escaped)); }

Json& Data(Json& map) { return map["layers"][0]["data"]; }

TEST(TiledMap, EveryByteComesBackAndEachCellSitsOneColumnAndRowBeforeTheEditors) {
  const MapImage image = EveryByteValue();
  const std::string json = TiledMapJson(image, Escaped);
  EXPECT_EQ(ReadTiledMap(json), image);

  Json map = Json::parse(json);
  EXPECT_EQ(map["layers"][0]["name"], Escaped("地形"));
  const Json& data = Data(map);
  ASSERT_EQ(data.size(), 352u * 76u);
  // Tiled's x,y -> the editor's x+1:y+1 -> tile number = byte + 1.
  EXPECT_EQ(data[0], 0 + 1) << "1:1 is byte 0";
  EXPECT_EQ(data[1], 0) << "2:1 is a placeholder";
  EXPECT_EQ(data[351], 0) << "352:1 too";
  EXPECT_EQ(data[352 + 1], 1 + 1) << "2:2 is byte 1";
  EXPECT_EQ(data[352 * 75 + 350], 26575 % 256 + 1) << "351:76 is the last byte";
  EXPECT_EQ(data[352 * 75 + 351], 26574 % 256 + 1) << "352:76 is the one before";
  EXPECT_EQ(data[352 * 9 + 4], 320 % 256 + 1) << "5:10 is byte 320";
}

TEST(TiledMap, EveryTileTellsItsCodeAndNameAndIsAHexagonOfItsOwn) {
  const Json tileset = Exported()["tilesets"][0];
  EXPECT_EQ(tileset["tilecount"], 256);
  EXPECT_EQ(tileset["image"], "valtea-terrain.png");
  const Json& tiles = tileset["tiles"];
  ASSERT_EQ(tiles.size(), 256u);
  EXPECT_EQ(tiles[2]["properties"][0]["value"], 2);
  EXPECT_EQ(tiles[2]["properties"][1]["value"], Escaped("山岳"));
  EXPECT_EQ(tiles[40]["properties"][0]["type"], "int");
  EXPECT_EQ(tiles[40]["properties"][1]["value"], Escaped("不明なコード 40"));

  const Image picture = TilesetPicture();
  ASSERT_EQ(picture.width, 640);
  ASSERT_EQ(picture.height, 512);
  std::set<std::vector<std::uint8_t>> known, unknown;
  for (int code = 0; code < 256; ++code) {
    const int left = code % 16 * 40, top = code / 16 * 32;
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 40; ++x) {
        const Rgba pixel = picture.At(left + x, top + y);
        pixels.insert(pixels.end(), {pixel.r, pixel.g, pixel.b, pixel.a});
      }
    (code < TerrainCodeCount ? known : unknown).insert(pixels);
    // The corners of the box lie outside a hexagon 40 wide whose top side is 24.
    EXPECT_EQ(picture.At(left + 4, top).a, 0) << code;
    EXPECT_EQ(picture.At(left + 35, top + 31).a, 0) << code;
    EXPECT_EQ(picture.At(left + 8, top).a, 255) << code;
    EXPECT_EQ(picture.At(left, top + 16).a, 255) << code;
  }
  // Each byte of no terrain has a tile of its own, unlike any other.
  EXPECT_EQ(unknown.size(), 256u - 35u);
  for (const auto& pixels : unknown) EXPECT_EQ(known.count(pixels), 0u);
}

TEST(TiledMap, RefusesWhatIsNotAWholeMapOfOurs) {
  using Change = std::function<void(Json&)>;
  const struct {
    const char* what;
    Change change;
    std::string message;
    MapPath detail = {};
  } cases[] = {
      {"not a map", [](Json& map) { map = Json::array(); }, "Tiled の地図ではありません"},
      {"a tileset", [](Json& map) { map["type"] = "tileset"; }, "Tiled の地図ではありません"},
      {"infinite", [](Json& map) { map["infinite"] = true; },
       "無限の地図です。Tiled の Map > Map Properties で Infinite (無限) を外してください"},
      {"square", [](Json& map) { map["orientation"] = "orthogonal"; },
       "六角形の地図 (orientation \"hexagonal\") ではありません: %s", u"\"orthogonal\""},
      {"stagger", [](Json& map) { map["staggerindex"] = "odd"; },
       "列のずらし方は staggeraxis \"x\"、staggerindex \"even\" でなければなりません: %s", u"\"x\", \"odd\""},
      {"size", [](Json& map) { map["width"] = 351; }, "地図の大きさは 352×76 でなければなりません: 351×76"},
      {"no tile layer", [](Json& map) { map["layers"][0]["type"] = "objectgroup"; }, "タイルレイヤーがありません"},
      {"two tile layers",
       [](Json& map) {
         map["layers"][0]["name"] = u8"地形";
         Json second = map["layers"][0];
         second["name"] = u8"道";
         map["layers"].push_back({{"type", "group"}, {"layers", {second}}});
       },
       "タイルレイヤーが 2 つあります: %s (1 つにまとめてください)", u"\"地形\", \"道\""},
      {"short layer", [](Json& map) { Data(map).erase(Data(map).end() - 1); },
       "タイルレイヤーのタイルの数は 26752 (352×76) でなければなりません: 26751"},
      {"not a number", [](Json& map) { Data(map)[7] = -1; },
       "タイルレイヤーのデータに、タイルの番号でないものがあります"},
      {"zstd",
       [](Json& map) {
         map["layers"][0]["encoding"] = "base64";
         map["layers"][0]["compression"] = "zstd";
         Data(map) = "KLUv/QBY";
       },
       "タイルレイヤーが zstd で圧縮されています。Tiled の Map > Map Properties で"
       " Tile Layer Format (タイルレイヤーの形式) を CSV か Base64 (zlib) にして保存し直してください"},
      {"bad base64",
       [](Json& map) {
         map["layers"][0]["encoding"] = "base64";
         Data(map) = "AAA=AAAA";
       },
       "タイルレイヤーの base64 が壊れています"},
      {"bad zlib",
       [](Json& map) {
         UseBase64(map["layers"][0], "zlib");
         Data(map) = Data(map).get<std::string>().substr(0, 100);  // cut short
       },
       "タイルレイヤーの圧縮データが壊れています"},
      {"no tileset", [](Json& map) { map["tilesets"][0]["name"] = "other"; },
       "地形のタイルセット \"valtea-terrain\" がありません"},
      {"empty byte", [](Json& map) { Data(map)[352 * 9 + 4] = 0; }, "マス 5:10 (Tiled では 4,9) が空です"},
      {"placeholder", [](Json& map) { Data(map)[1] = 5; },
       "マス 2:1 (Tiled では 1,0) は地図の外なので、空でなければなりません"},
      {"flipped", [](Json& map) { Data(map)[352] = 0x80000001u; },
       "マス 1:2 (Tiled では 0,1) のタイルは裏返すか回してあります"},
      {"other tileset", [](Json& map) { Data(map)[352] = 257; },
       "マス 1:2 (Tiled では 0,1) のタイルは地形のタイルセットのものではありません"},
  };
  const Json exported = Exported();
  for (const auto& refused : cases) {
    Json map = exported;
    refused.change(map);
    try {
      ReadTiledMap(map.dump());
      ADD_FAILURE() << refused.what << ": read";
    } catch (const TiledMapError& error) {
      EXPECT_EQ(error.what(), refused.message) << refused.what;
      EXPECT_EQ(error.Detail(), refused.detail) << refused.what;
    }
  }
}

TEST(TiledMap, TextThatIsNoJsonIsRefusedWhereTheParserStopped) {
  const struct {
    std::string text;
    int line, column;
  } cases[] = {{"", 1, 1}, {"{\n  \"width\": 352,\n  oops", 3, 3}, {"[1, 2", 1, 6}};
  // Nesting deeper than any map is refused as soon as it is seen.
  const std::string deep = std::string(201, '[') + std::string(201, ']');
  EXPECT_THROW(ReadTiledMap(deep), TiledMapError);
  // So are more values than any map has, before they fill the memory.
  std::string many = "[";
  for (int value = 0; value < 250000; ++value) many += "0,";
  auto refusal = [](const std::string& text) {
    try {
      ReadTiledMap(text);
    } catch (const TiledMapError& error) {
      return std::string(error.what());
    }
    return std::string();
  };
  EXPECT_EQ(refusal(many + "0]"), "値が 250000 より多いので Tiled の地図ではありません");
  EXPECT_EQ(refusal("[" + many.substr(5) + "0]"), "Tiled の地図ではありません") << "250000 values are read";
  for (const auto& text : cases) {
    try {
      ReadTiledMap(text.text);
      ADD_FAILURE() << text.text;
    } catch (const TiledMapError& error) {
      EXPECT_EQ(error.what(), std::string("JSON として読めません"));
      EXPECT_EQ(error.Line(), text.line) << text.text;
      EXPECT_EQ(error.Column(), text.column) << text.text;
    }
  }
}

}  // namespace
