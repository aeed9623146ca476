#pragma once
// The map as a map of Tiled, the map editor of the field, in its JSON format:
// a hexagonal map of 352 x 76 tiles whose columns stagger like the game's, one
// tile layer, and a tileset of 256 tiles whose id is the byte. Tiled's column
// x and row y are the editor's column x+1 and row y+1; the placeholder cells
// of the editor's grid are empty tiles.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "map/MapFile.h"
#include "map/PathText.h"
#include "picture/Image.h"

constexpr int TiledMapWidth = 352;
constexpr int TiledMapHeight = 76;

// The tileset's name, and the name of its picture, written beside the map.
extern const std::string_view TilesetName;
extern const std::string_view TilesetPictureName;

// Turns a text of the program (Shift-JIS) into UTF-8, as JSON wants it.
using Utf8Converter = std::function<std::string(std::string_view shiftJis)>;

// The map file in UTF-8, with its tileset inside it: every tile carries the
// properties "code" and "name" (the terrain's name, through utf8Of).
std::string TiledMapJson(const MapImage& image, const Utf8Converter& utf8Of);

// The picture TiledMapJson's tileset refers to: the 256 tiles, 16 a row.
Image TilesetPicture();

// Why a Tiled map cannot become a map. what() is the message (Shift-JIS);
// a "%s" in it stands for Detail() (names from the file, in UTF-16). Text
// that is no JSON also has the line and column (1-based, bytes) where the
// parser stopped; otherwise they are 0.
class TiledMapError : public std::runtime_error {
 public:
  explicit TiledMapError(std::string message, MapPath detail = {}, int line = 0, int column = 0);
  const MapPath& Detail() const { return detail_; }
  int Line() const { return line_; }
  int Column() const { return column_; }

 private:
  MapPath detail_;
  int line_;
  int column_;
};

// The map in a Tiled map file as Tiled 1.8 and later save it: tile layer
// data as a JSON array or in base64, plain, zlib or gzip. Everything is
// checked before a byte is given back; other layers and properties are
// ignored. Throws TiledMapError.
MapImage ReadTiledMap(std::string_view json);
