#include "formats/FileFormats.h"

#include <algorithm>

#include "map/CellNames.h"
#include "map/MapText.h"
#include "map/TextEncoding.h"
#include "patch/Bps.h"
#include "patch/Ips.h"
#include "patch/TextPatch.h"
#include "picture/MapPicture.h"
#include "picture/Png.h"
#include "tiled/TiledMap.h"

namespace {

std::vector<std::uint8_t> BytesOf(const std::string& text) { return std::vector<std::uint8_t>(text.begin(), text.end()); }

MapImage ReadMapText(const MapPath& path, const std::vector<std::uint8_t>& bytes) {
  const std::string text = DecodedText(path, bytes);
  MapImage image{};
  try {
    ParseMapText(text, image);
  } catch (const MapTextError& error) {
    const std::string where = ":" + std::to_string(error.Line()) + ":" + std::to_string(error.Column()) + ": ";
    throw FormatFault(PathText{"%s" + where + error.what(), path});
  }
  return image;
}

MapImage ReadTiled(const MapPath& path, const std::vector<std::uint8_t>& bytes) {
  try {
    return ReadTiledMap(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  } catch (const TiledMapError& error) {
    const std::string where =
        error.Line() > 0 ? ":" + std::to_string(error.Line()) + ":" + std::to_string(error.Column()) : "";
    throw FormatFault(PathText{"%s" + where + ": " + error.what(), path, error.Detail()});
  }
}

// The picture first, so that Tiled never finds the map without its tiles.
std::vector<FormatFile> WriteTiled(const MapImage& image, const MapPath& path, const ToUtf8& utf8) {
  return {{TilesetPicturePath(path), EncodePng(TilesetPicture())},
          {path, BytesOf(TiledMapJson(image, [&](std::string_view text) { return utf8(text); }))}};
}

// The text patch is exactly what diff prints, in UTF-8.
std::vector<std::uint8_t> WriteTextPatch(const MapImage&, const MapImage&, const std::vector<CellChange>& changes,
                                         const ToUtf8& utf8) {
  std::string text;
  for (const CellChange& change : changes) text += ChangeLine(change) + "\n";
  text += ChangeSummary(changes.size()) + "\n";
  return BytesOf(utf8(text));
}

FileFormat Described(std::string_view name, std::vector<std::string_view> endings, FormatContent content,
                     bool gameMap = false) {
  FileFormat format;
  format.name = name;
  format.endings = std::move(endings);
  format.content = content;
  format.gameMapFormat = gameMap;
  return format;
}

std::vector<FileFormat> MakeFormats() {
  std::vector<FileFormat> formats;
  FileFormat map = Described("地図ファイル", {".vlt"}, FormatContent::Map, true);
  map.readMap = [](const MapPath&, const std::vector<std::uint8_t>& bytes) {
    MapImage image{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
    return image;
  };
  map.writeMap = [](const MapImage& image, const MapPath& path, const ToUtf8&) {
    return std::vector<FormatFile>{{path, std::vector<std::uint8_t>(image.begin(), image.end())}};
  };
  formats.push_back(std::move(map));

  FileFormat text = Described("テキスト形式", {".csv"}, FormatContent::Map);
  text.readMap = ReadMapText;
  text.writeMap = [](const MapImage& image, const MapPath& path, const ToUtf8&) {
    return std::vector<FormatFile>{{path, BytesOf(MapToText(image))}};
  };
  formats.push_back(std::move(text));

  FileFormat tiled = Described("Tiled の地図", {".tmj", ".json"}, FormatContent::Map);
  tiled.readMap = ReadTiled;
  tiled.writeMap = WriteTiled;
  tiled.filesFor = [](const MapPath& path) { return std::vector<MapPath>{TilesetPicturePath(path), path}; };
  formats.push_back(std::move(tiled));

  FileFormat textPatch = Described("テキストのパッチ", {".txt"}, FormatContent::Patch);
  textPatch.writePatch = WriteTextPatch;
  formats.push_back(std::move(textPatch));

  FileFormat bps = Described("BPS パッチ", {".bps"}, FormatContent::Patch);
  bps.writePatch = [](const MapImage& before, const MapImage& after, const std::vector<CellChange>&, const ToUtf8&) {
    return MakeBps(before, after);
  };
  formats.push_back(std::move(bps));

  FileFormat ips = Described("IPS パッチ", {".ips"}, FormatContent::Patch);
  ips.writePatch = [](const MapImage& before, const MapImage& after, const std::vector<CellChange>&, const ToUtf8&) {
    return MakeIps(before, after);
  };
  formats.push_back(std::move(ips));

  FileFormat png = Described("PNG の絵", {".png"}, FormatContent::Picture);
  png.writePicture = [](const MapImage& image, int scale, const std::vector<int>& ringed, bool networks) {
    return EncodePalettePng(DrawIndexedMapPicture(image, scale, ringed, networks));
  };
  formats.push_back(std::move(png));
  return formats;
}

bool Listed(const FileFormat& format, FormatContent content, bool gameMapToo) {
  return format.content == content && (gameMapToo || !format.gameMapFormat);
}

}  // namespace

FormatFault::FormatFault(PathText text) : std::runtime_error(text.Approximate()), text_(std::move(text)) {}

const std::vector<FileFormat>& FileFormats() {
  static const std::vector<FileFormat> formats = MakeFormats();
  return formats;
}

const FileFormat* FormatOfName(const MapPath& name, FormatContent content, bool gameMapToo) {
  const std::string ending = EndingOf(name);
  for (const FileFormat& format : FileFormats())
    if (Listed(format, content, gameMapToo) &&
        std::find(format.endings.begin(), format.endings.end(), ending) != format.endings.end())
      return &format;
  return nullptr;
}

std::string EndingsText(std::initializer_list<FormatContent> contents, bool gameMapToo) {
  std::vector<std::string_view> endings;
  for (const FileFormat& format : FileFormats())
    if (std::any_of(contents.begin(), contents.end(),
                    [&](FormatContent content) { return Listed(format, content, gameMapToo); }))
      endings.insert(endings.end(), format.endings.begin(), format.endings.end());
  std::string text;
  for (std::size_t index = 0; index < endings.size(); ++index) {
    if (index > 0) text += index + 1 == endings.size() ? " か " : "、";
    text += endings[index];
  }
  return text;
}

std::string DialogFilter(std::initializer_list<FormatContent> contents, bool gameMapToo) {
  std::string filter;
  for (const FileFormat& format : FileFormats()) {
    if (std::none_of(contents.begin(), contents.end(),
                     [&](FormatContent content) { return Listed(format, content, gameMapToo); }))
      continue;
    std::string patterns;
    for (const std::string_view ending : format.endings)
      patterns += (patterns.empty() ? "*" : ";*") + std::string(ending);
    filter += (filter.empty() ? "" : "|") + std::string(format.name) + " (" + patterns + ")|" + patterns;
  }
  return filter;
}

std::string EndingOf(const MapPath& name) {
  const auto dot = name.rfind(u'.');
  std::string ending = dot == MapPath::npos ? std::string() : PathText{"%s", name.substr(dot)}.Approximate();
  for (char& c : ending) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return ending;
}

MapPath TilesetPicturePath(const MapPath& mapPath) {
  return FolderOf(mapPath) + MapPath(TilesetPictureName.begin(), TilesetPictureName.end());
}

std::string DecodedText(const MapPath& path, const std::vector<std::uint8_t>& content) {
  try {
    return TextWithoutByteOrderMark(content);
  } catch (const std::runtime_error& error) {
    throw FormatFault(PathText{std::string("%s: ") + error.what(), path});
  }
}
