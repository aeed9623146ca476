#include "tiled/TiledMap.h"

#include <zlib.h>

#include <boost/archive/iterators/binary_from_base64.hpp>
#include <boost/archive/iterators/transform_width.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <utility>

#include "map/HexGrid.h"
#include "map/TerrainCodes.h"
#include "map/TextEncoding.h"
#include "picture/HexGeometry.h"
#include "picture/MapPicture.h"

const std::string_view TilesetName = "valtea-terrain";
const std::string_view TilesetPictureName = "valtea-terrain.png";

namespace {

using Json = nlohmann::json;

// 40 x 32 pixels with sides of 24: even height and an even difference of
// width and side, which Tiled needs to lay hexagons without gaps.
constexpr int TileScale = 16;
constexpr int TileCount = 256;
constexpr int TilesetColumns = 16;
constexpr int TiledCellCount = TiledMapWidth * TiledMapHeight;

// Tiled keeps flips and rotations in the top bits of a tile's number.
constexpr std::uint32_t TransformBits = 0xF0000000u;

// In the editor's grid: Tiled's column and row plus one.
int OffsetOfTiledCell(int index) { return CellToOffset(index % TiledMapWidth + 1, index / TiledMapWidth + 1); }

std::string TiledCellName(int index) {
  const int x = index % TiledMapWidth, y = index / TiledMapWidth;
  return std::to_string(x + 1) + ":" + std::to_string(y + 1) + " (Tiled では " + std::to_string(x) + "," +
         std::to_string(y) + ")";
}

// ---- writing ----

Json TileProperties(TerrainCode code, const Utf8Converter& utf8Of) {
  return {{"id", code},
          {"properties",
           {{{"name", "code"}, {"type", "int"}, {"value", code}},
            {{"name", "name"}, {"type", "string"}, {"value", utf8Of(FullNameOf(code))}}}}};
}

Json Tileset(const Utf8Converter& utf8Of) {
  const HexSize tile = HexSizeAt(TileScale);
  Json tiles = Json::array();
  for (int code = 0; code < TileCount; ++code) tiles.push_back(TileProperties(static_cast<TerrainCode>(code), utf8Of));
  return {{"columns", TilesetColumns},
          {"firstgid", 1},
          {"image", TilesetPictureName},
          {"imagewidth", tile.width * TilesetColumns},
          {"imageheight", tile.height * (TileCount / TilesetColumns)},
          {"margin", 0},
          {"name", TilesetName},
          {"spacing", 0},
          {"tilecount", TileCount},
          {"tilewidth", tile.width},
          {"tileheight", tile.height},
          {"tiles", std::move(tiles)}};
}

// The tile numbers a row of Tiled's to a line, so that the file reads like the map.
std::string TileRows(const MapImage& image) {
  std::string rows = "[\n";
  for (int index = 0; index < TiledCellCount; ++index) {
    const int offset = OffsetOfTiledCell(index);
    rows += std::to_string(offset == NoMapOffset ? 0 : image[offset] + 1);
    if (index + 1 < TiledCellCount) rows += ',';
    if ((index + 1) % TiledMapWidth == 0) rows += '\n';
  }
  return rows + "]";
}

// ---- reading ----

[[noreturn]] void Refuse(std::string message, MapPath detail = {}) {
  throw TiledMapError(std::move(message), std::move(detail));
}

std::string TextOf(const Json& object, const char* key) {
  const auto found = object.find(key);
  return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

long long NumberOf(const Json& object, const char* key, long long otherwise) {
  const auto found = object.find(key);
  return found != object.end() && found->is_number_integer() ? found->get<long long>() : otherwise;
}

// JSON strings are UTF-8; names from the file reach messages as UTF-16.
MapPath Quoted(const std::string& utf8) { return u"\"" + Utf16FromUtf8(utf8) + u"\""; }

// Far deeper than groups of layers in groups go; a text nested deeper is
// refused as it is read, so that it costs no more than a real map.
constexpr int MostNesting = 200;
// Far more values than a map of ours holds (its layer has 26,752, its
// tileset a few thousand), so that the tree stays a few times the size of
// the largest text read.
constexpr long MostValues = 250000;

// nlohmann's own tree builder, with a count of the open arrays and objects.
// (Its callback parser would do the counting too, but walks the parent array
// at the end of every object, which makes `[{},{},...]` quadratic.)
class ShallowTreeBuilder {
 public:
  using Tree = nlohmann::detail::json_sax_dom_parser<Json>;
  explicit ShallowTreeBuilder(Json& result) : tree_(result) {}

  bool null() { return Counted() && tree_.null(); }
  bool boolean(bool value) { return Counted() && tree_.boolean(value); }
  bool number_integer(Json::number_integer_t value) { return Counted() && tree_.number_integer(value); }
  bool number_unsigned(Json::number_unsigned_t value) { return Counted() && tree_.number_unsigned(value); }
  bool number_float(Json::number_float_t value, const Json::string_t& text) {
    return Counted() && tree_.number_float(value, text);
  }
  bool string(Json::string_t& value) { return Counted() && tree_.string(value); }
  bool binary(Json::binary_t& value) { return Counted() && tree_.binary(value); }
  bool key(Json::string_t& value) { return tree_.key(value); }
  bool start_object(std::size_t count) { return Deeper() && tree_.start_object(count); }
  bool end_object() { return --depth_, tree_.end_object(); }
  bool start_array(std::size_t count) { return Deeper() && tree_.start_array(count); }
  bool end_array() { return --depth_, tree_.end_array(); }
  // A template, as the tree's own: it throws the error as its own type.
  template <typename Error>
  bool parse_error(std::size_t position, const std::string& last, const Error& error) {
    return tree_.parse_error(position, last, error);
  }

 private:
  bool Deeper() {
    if (++depth_ > MostNesting) Refuse("入れ子が " + std::to_string(MostNesting) + " 段より深いので Tiled の地図ではありません");
    return Counted();
  }
  // Each value costs some 80 bytes in the tree, whatever its few bytes of text.
  bool Counted() {
    if (++values_ > MostValues) Refuse("値が " + std::to_string(MostValues) + " より多いので Tiled の地図ではありません");
    return true;
  }

  Tree tree_;
  int depth_ = 0;
  long values_ = 0;
};

Json Parsed(std::string_view text) {
  try {
    Json result;
    ShallowTreeBuilder builder(result);
    Json::sax_parse(text.begin(), text.end(), &builder);
    return result;
  } catch (const Json::parse_error& error) {
    const std::size_t at = std::min<std::size_t>(error.byte > 0 ? error.byte - 1 : 0, text.size());
    const std::string_view before = text.substr(0, at);
    const std::size_t lineStart = before.rfind('\n') == std::string_view::npos ? 0 : before.rfind('\n') + 1;
    const auto line = std::count(before.begin(), before.end(), '\n') + 1;
    throw TiledMapError("JSON として読めません", {}, static_cast<int>(line), static_cast<int>(at - lineStart + 1));
  }
}

void CheckGrid(const Json& map) {
  if (!map.is_object() || !map.contains("layers") || !map["layers"].is_array() ||
      (map.contains("type") && TextOf(map, "type") != "map"))
    Refuse("Tiled の地図ではありません");
  if (map.contains("infinite") && map["infinite"] == true)
    Refuse("無限の地図です。Tiled の Map > Map Properties で Infinite (無限) を外してください");
  const std::string orientation = TextOf(map, "orientation");
  if (orientation != "hexagonal")
    Refuse("六角形の地図 (orientation \"hexagonal\") ではありません: %s", Quoted(orientation));
  const std::string axis = TextOf(map, "staggeraxis"), index = TextOf(map, "staggerindex");
  if (axis != "x" || index != "even")
    Refuse("列のずらし方は staggeraxis \"x\"、staggerindex \"even\" でなければなりません: %s",
           Quoted(axis) + u", " + Quoted(index));
  const long long width = NumberOf(map, "width", -1), height = NumberOf(map, "height", -1);
  if (width != TiledMapWidth || height != TiledMapHeight)
    Refuse("地図の大きさは 352×76 でなければなりません: " + std::to_string(width) + "×" + std::to_string(height));
}

// In file order, groups included (as deep as Parsed lets them be).
void CollectTileLayers(const Json& layers, std::vector<const Json*>& found) {
  for (const Json& layer : layers) {
    if (!layer.is_object()) continue;
    const std::string type = TextOf(layer, "type");
    if (type == "tilelayer") found.push_back(&layer);
    if (type == "group" && layer.contains("layers") && layer["layers"].is_array())
      CollectTileLayers(layer["layers"], found);
  }
}

const Json& TheTileLayer(const Json& map) {
  std::vector<const Json*> layers;
  CollectTileLayers(map["layers"], layers);
  if (layers.empty()) Refuse("タイルレイヤーがありません");
  if (layers.size() > 1) {
    MapPath names;
    for (const Json* layer : layers) names += (names.empty() ? u"" : u", ") + Quoted(TextOf(*layer, "name"));
    Refuse("タイルレイヤーが " + std::to_string(layers.size()) + " つあります: %s (1 つにまとめてください)", names);
  }
  return *layers.front();
}

// The first tile number of the terrain tileset, in the map or referred to
// by its own file.
std::uint32_t FirstNumberOfTerrainTiles(const Json& map) {
  const auto tilesets = map.find("tilesets");
  if (tilesets != map.end() && tilesets->is_array()) {
    for (const Json& tileset : *tilesets) {
      if (!tileset.is_object()) continue;
      const std::string source = TextOf(tileset, "source");
      const std::string file = source.substr(NameStartOf(source));
      const std::string stem = file.substr(0, file.rfind('.'));
      const long long first = NumberOf(tileset, "firstgid", 0);
      if ((TextOf(tileset, "name") == TilesetName || stem == TilesetName) && first > 0 && first < TransformBits)
        return static_cast<std::uint32_t>(first);
    }
  }
  Refuse("地形のタイルセット \"" + std::string(TilesetName) + "\" がありません");
}

std::vector<std::uint8_t> Base64Bytes(const std::string& text) {
  using Decoder = boost::archive::iterators::transform_width<
      boost::archive::iterators::binary_from_base64<std::string::const_iterator>, 8, 6>;
  // Padding only at the end, and no more than two.
  const std::size_t padding = text.size() - std::min(text.find_last_not_of('=') + 1, text.size());
  const std::size_t firstPad = text.find('=');
  const bool padded = padding <= 2 && (firstPad == std::string::npos || firstPad == text.size() - padding);
  if (text.size() % 4 != 0 || !padded) Refuse("タイルレイヤーの base64 が壊れています");
  try {
    std::vector<std::uint8_t> bytes(Decoder(text.begin()), Decoder(text.end()));
    bytes.resize(text.size() / 4 * 3 - padding);
    return bytes;
  } catch (const std::exception&) {
    Refuse("タイルレイヤーの base64 が壊れています");
  }
}

// zlib and gzip alike: inflate tells them apart by their header. At most one
// byte more than a whole layer is unpacked, however much the data claims.
std::vector<std::uint8_t> Inflated(const std::vector<std::uint8_t>& packed) {
  std::vector<std::uint8_t> bytes(4 * TiledCellCount + 1);
  z_stream stream{};
  if (inflateInit2(&stream, 15 + 32) != Z_OK) Refuse("タイルレイヤーを展開できません");
  stream.next_in = const_cast<Bytef*>(packed.data());
  stream.avail_in = static_cast<uInt>(packed.size());
  stream.next_out = bytes.data();
  stream.avail_out = static_cast<uInt>(bytes.size());
  const int result = inflate(&stream, Z_FINISH);
  bytes.resize(bytes.size() - stream.avail_out);
  inflateEnd(&stream);
  if (result != Z_STREAM_END && bytes.size() <= 4 * TiledCellCount)
    Refuse("タイルレイヤーの圧縮データが壊れています");
  return bytes;
}

std::vector<std::uint32_t> NumbersOfBytes(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() % 4 != 0) Refuse("タイルレイヤーのデータが 4 バイトずつになっていません");
  std::vector<std::uint32_t> numbers(bytes.size() / 4);
  for (std::size_t i = 0; i < numbers.size(); ++i)
    numbers[i] = bytes[4 * i] | bytes[4 * i + 1] << 8 | bytes[4 * i + 2] << 16 | std::uint32_t{bytes[4 * i + 3]} << 24;
  return numbers;
}

std::vector<std::uint32_t> NumbersOfArray(const Json& data) {
  std::vector<std::uint32_t> numbers;
  numbers.reserve(data.size());
  for (const Json& value : data) {
    if (!value.is_number_unsigned() || value.get<std::uint64_t>() > 0xFFFFFFFFu)
      Refuse("タイルレイヤーのデータに、タイルの番号でないものがあります");
    numbers.push_back(value.get<std::uint32_t>());
  }
  return numbers;
}

std::vector<std::uint32_t> TileNumbers(const Json& layer) {
  const std::string encoding = TextOf(layer, "encoding"), compression = TextOf(layer, "compression");
  const auto data = layer.find("data");
  if (data == layer.end()) Refuse("タイルレイヤーにデータがありません");
  std::vector<std::uint32_t> numbers;
  if ((encoding.empty() || encoding == "csv") && data->is_array()) {
    numbers = NumbersOfArray(*data);
  } else if (encoding == "base64" && data->is_string()) {
    if (compression == "zstd")
      Refuse("タイルレイヤーが zstd で圧縮されています。Tiled の Map > Map Properties で"
             " Tile Layer Format (タイルレイヤーの形式) を CSV か Base64 (zlib) にして保存し直してください");
    if (!compression.empty() && compression != "zlib" && compression != "gzip")
      Refuse("タイルレイヤーの圧縮 %s は読めません", Quoted(compression));
    std::vector<std::uint8_t> bytes = Base64Bytes(data->get<std::string>());
    numbers = NumbersOfBytes(compression.empty() ? bytes : Inflated(bytes));
  } else {
    Refuse("タイルレイヤーの形式 %s は読めません", Quoted(encoding));
  }
  if (numbers.size() != static_cast<std::size_t>(TiledCellCount))
    Refuse("タイルレイヤーのタイルの数は 26752 (352×76) でなければなりません: " + std::to_string(numbers.size()));
  return numbers;
}

MapImage TerrainOf(const Json& map) {
  CheckGrid(map);
  const std::vector<std::uint32_t> numbers = TileNumbers(TheTileLayer(map));
  const std::uint32_t first = FirstNumberOfTerrainTiles(map);
  MapImage image{};
  for (int index = 0; index < TiledCellCount; ++index) {
    const std::uint32_t number = numbers[index];
    const int offset = OffsetOfTiledCell(index);
    if (number & TransformBits) Refuse("マス " + TiledCellName(index) + " のタイルは裏返すか回してあります");
    if (offset == NoMapOffset) {
      if (number != 0) Refuse("マス " + TiledCellName(index) + " は地図の外なので、空でなければなりません");
      continue;
    }
    if (number == 0) Refuse("マス " + TiledCellName(index) + " が空です");
    if (number < first || number - first >= TileCount)
      Refuse("マス " + TiledCellName(index) + " のタイルは地形のタイルセットのものではありません");
    image[offset] = static_cast<TerrainCode>(number - first);
  }
  return image;
}

}  // namespace

std::string TiledMapJson(const MapImage& image, const Utf8Converter& utf8Of) {
  const HexSize tile = HexSizeAt(TileScale);
  constexpr std::string_view DataMark = "\"@data@\"";
  const Json layer = {{"data", DataMark.substr(1, DataMark.size() - 2)},
                      {"height", TiledMapHeight},
                      {"id", 1},
                      {"name", utf8Of("地形")},
                      {"opacity", 1},
                      {"type", "tilelayer"},
                      {"visible", true},
                      {"width", TiledMapWidth},
                      {"x", 0},
                      {"y", 0}};
  const Json map = {{"compressionlevel", -1},
                    {"height", TiledMapHeight},
                    {"hexsidelength", tile.sideLength},
                    {"infinite", false},
                    {"layers", {layer}},
                    {"nextlayerid", 2},
                    {"nextobjectid", 1},
                    {"orientation", "hexagonal"},
                    {"renderorder", "right-down"},
                    {"staggeraxis", "x"},
                    {"staggerindex", "even"},
                    {"tiledversion", "1.8.2"},
                    {"tileheight", tile.height},
                    {"tilesets", {Tileset(utf8Of)}},
                    {"tilewidth", tile.width},
                    {"type", "map"},
                    {"version", "1.8"},
                    {"width", TiledMapWidth}};
  std::string text = map.dump(1, '\t');
  text.replace(text.find(DataMark), DataMark.size(), TileRows(image));
  return text + "\n";
}

Image TilesetPicture() {
  const HexSize tile = HexSizeAt(TileScale);
  Image picture(tile.width * TilesetColumns, tile.height * (TileCount / TilesetColumns));
  for (int code = 0; code < TileCount; ++code) {
    const Image drawn = DrawTerrainTile(static_cast<TerrainCode>(code), TileScale);
    const int left = code % TilesetColumns * tile.width, top = code / TilesetColumns * tile.height;
    for (int y = 0; y < tile.height; ++y)
      std::copy_n(&drawn.At(0, y), tile.width, &picture.At(left, top + y));
  }
  return picture;
}

TiledMapError::TiledMapError(std::string message, MapPath detail, int line, int column)
    : std::runtime_error(std::move(message)), detail_(std::move(detail)), line_(line), column_(column) {}

MapImage ReadTiledMap(std::string_view json) {
  try {
    return TerrainOf(Parsed(json));
  } catch (const Json::exception&) {
    Refuse("Tiled の地図として読めません");
  }
}

