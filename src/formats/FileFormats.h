#pragma once
// The files the two programs read and write, each described once, as Tiled's
// libtiled describes its map formats: its name in the player's words, its
// endings, what it holds, and its reader and writer. valtea-map's commands
// choose from this one list by a file's ending, and so do the editor's
// dialogs for their filters; nothing else switches over endings.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "map/CellChange.h"
#include "map/MapFile.h"
#include "map/PathText.h"

enum class FormatContent { Map, Patch, Picture };

// A file that cannot be read, in the words the programs show ("%s" the
// file, with the line and column where the format knows them).
class FormatFault : public std::runtime_error {
 public:
  explicit FormatFault(PathText text);
  const PathText& Text() const { return text_; }

 private:
  PathText text_;
};

// A file to write, where a format writes more than one (Tiled's map and its
// tileset picture beside it), in the order to write them.
struct FormatFile {
  MapPath path;
  std::vector<std::uint8_t> bytes;
};

// Shift-JIS into UTF-8, as the platform converts it, for formats in UTF-8.
using ToUtf8 = std::function<std::string(std::string_view shiftJis)>;

struct FileFormat {
  std::string_view name;                  // Shift-JIS: "Tiled の地図"
  std::vector<std::string_view> endings;  // lower case, the first the one to propose: ".tmj"
  FormatContent content = FormatContent::Map;
  // The game's map format, which valtea-map reads and writes as the map in
  // a file of any name with its ending, a backup or a copy too; the editor
  // opens only the game's own name (IsGameMapFileName).
  bool gameMapFormat = false;

  // A map: read from the file's bytes (throws FormatFault), and written as
  // the files to write for `path`.
  std::function<MapImage(const MapPath& path, const std::vector<std::uint8_t>& bytes)> readMap;
  std::function<std::vector<FormatFile>(const MapImage& image, const MapPath& path, const ToUtf8& utf8)> writeMap;
  // The files writeMap writes for `path`, in its order, known before the map is read.
  std::function<std::vector<MapPath>(const MapPath& path)> filesFor = [](const MapPath& path) {
    return std::vector<MapPath>{path};
  };
  // A patch: the difference of two maps. Patches are read by their content.
  std::function<std::vector<std::uint8_t>(const MapImage& before, const MapImage& after,
                                          const std::vector<CellChange>& changes, const ToUtf8& utf8)>
      writePatch;
  // A picture of the map at `scale`, the cells at `ringed` ringed, the road
  // networks told apart where asked.
  std::function<std::vector<std::uint8_t>(const MapImage& image, int scale, const std::vector<int>& ringed,
                                          bool networks)>
      writePicture;
};

// Every format, the game's map file first.
const std::vector<FileFormat>& FileFormats();

// The format of `content` that a file of this name is, or null; the game's
// map file only where `gameMapToo`.
const FileFormat* FormatOfName(const MapPath& name, FormatContent content, bool gameMapToo = false);

// The endings of the formats of `contents` as a message lists them:
// ".txt、.bps か .ips".
std::string EndingsText(std::initializer_list<FormatContent> contents, bool gameMapToo = false);

// The filter of a file dialog for the formats of `content`, as the program
// writes filters ("name|pattern|name|pattern"): "テキストのパッチ (*.txt)|*.txt|...";
// the game's map file only where `gameMapToo`.
std::string DialogFilter(std::initializer_list<FormatContent> contents, bool gameMapToo = false);

// A file name's ending in lower case: ".csv"; empty for none.
std::string EndingOf(const MapPath& name);

// Where Tiled's tileset picture goes for a map at `mapPath`: beside it.
MapPath TilesetPicturePath(const MapPath& mapPath);

// A text file as players' tools save it (TextEncoding.h); throws FormatFault.
std::string DecodedText(const MapPath& path, const std::vector<std::uint8_t>& content);
