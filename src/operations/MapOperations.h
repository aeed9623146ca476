#pragma once
// The operations on a map that the editor and valtea-map both offer, each
// written once, as Tiled's editor and its command-line tools share libtiled:
// given the map image and the files, an operation refuses with its one text
// (a MapFileError, which both programs show as it is) or returns the new
// image and the lines that describe it. The editor keeps the state of its
// run and shows the image; valtea-map reads words, writes and prints lines.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/FileFormats.h"
#include "map/FileSystem.h"
#include "map/MapFile.h"
#include "map/RoadStroke.h"
#include "picture/MapPicture.h"

// A new image and what is said of it, in the order said (Shift-JIS).
struct MapOutcome {
  MapImage image{};
  std::vector<std::string> lines;
  std::size_t findings = 0;  // problems left, which make a command's status 1
};

// The format among `contents` that a file of this name is, or the refusal
// that lists the endings taken ("パッチ %s の名前は .txt、.bps か .ips で終わりません").
const FileFormat& FormatOfNameOrRefuse(const MapPath& name, std::initializer_list<FormatContent> contents);

// An output that is one of the files read would be lost: refused by the
// files' identity, however their names are spelt. The refusal names the
// output, then the file read.
extern const std::string_view OverReadFileRefusal;  // valtea-map's inputs
extern const std::string_view OverOpenMapRefusal;   // the editor's open map
void RefuseToOverwrite(FileSystem& files, const MapPath& output, const MapPath& read, std::string_view refusal);

// Export into a map exchange or picture format: the files it writes for
// `path`, known before the map is, and their bytes.
std::vector<MapPath> ExportTargets(const FileFormat& format, const MapPath& path);
std::vector<FormatFile> ExportFiles(const FileFormat& format, const MapImage& image, const MapPath& path,
                                    const ToUtf8& utf8);

// A map exchange file read whole and checked, with the format's reason.
MapImage ImportedMap(FileSystem& files, const FileFormat& format, const MapPath& path);

// The problems of the road network, a line each, then the summary.
MapOutcome CheckedRoads(const MapImage& image);

// What the roads join: a block per network that joins two or more places,
// largest first (its heading, then its places), then the places that reach
// no other place under their heading, then the summary.
MapOutcome NetworkBlocks(const MapImage& image);
// The places that the place at `from` reaches, nearest first, a line each
// with its steps; refused when `from` is no place.
MapOutcome StepsFrom(const MapImage& image, int from);

// The road tools. Each refuses in `road`'s words, and describes its result
// as the differences by offset, then what the tool adds.
MapOutcome ShapedRoads(const MapImage& image);             // then the problems left, as check says them
MapOutcome LaidRoad(const MapImage& image, int from, int to);  // then the road's length
MapOutcome DrawnRoad(const MapImage& image, const std::vector<int>& cells);  // likewise
MapOutcome ErasedRoads(const MapImage& image, const std::vector<int>& cells, TerrainCode land);
// The stroke joins `offset` as the brush joins it; why not, where it cannot
// (empty when it did).
std::string ReachInStroke(RoadStroke& stroke, int offset);
// The eraser's land from its code, refused unless it is one of EraserLands.
TerrainCode EraserLandOrRefuse(TerrainCode land, const MapPath& spelt);

// One line per differing byte, by offset, as diff says them.
std::vector<std::string> ChangeLines(const MapImage& before, const MapImage& after);
