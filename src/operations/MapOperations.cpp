#include "operations/MapOperations.h"

#include <algorithm>

#include "map/RoadNetwork.h"
#include "map/RoadRepair.h"
#include "map/RoadTexts.h"
#include "map/TerrainCodes.h"
#include "patch/TextPatch.h"
#include "picture/MapPicture.h"

const std::string_view OverReadFileRefusal = "%s は読むファイル %s と同じファイルなので、書き込みません";
const std::string_view OverOpenMapRefusal = "%s は開いている地図のファイル %s と同じファイルなので、書き込みません";

namespace {

[[noreturn]] void Refuse(std::string text, MapPath path = {}) { throw MapFileError(PathText{std::move(text), std::move(path)}); }

// What a name of each kind of file is called in a refusal, and what is
// added: a picture is PNG alone.
std::string RefusalOfName(std::initializer_list<FormatContent> contents) {
  const bool patch = contents.size() == 1 && *contents.begin() == FormatContent::Patch;
  const bool picture = contents.size() == 1 && *contents.begin() == FormatContent::Picture;
  return std::string(patch ? "パッチ " : picture ? "絵 " : "") + "%s の名前は " + EndingsText(contents) +
         " で終わりません" + (picture ? " (絵は PNG だけです)" : "");
}

// The lines of a road tool: the differences, then the road's length.
MapOutcome RoadOutcome(const MapImage& before, const MapImage& after, std::size_t steps) {
  MapOutcome outcome{after, ChangeLines(before, after)};
  outcome.lines.push_back(RoadLengthLine(steps));
  return outcome;
}

}  // namespace

const FileFormat& FormatOfNameOrRefuse(const MapPath& name, std::initializer_list<FormatContent> contents) {
  for (const FormatContent content : contents)
    if (const FileFormat* format = FormatOfName(name, content)) return *format;
  Refuse(RefusalOfName(contents), name);
}

void RefuseToOverwrite(FileSystem& files, const MapPath& output, const MapPath& read, std::string_view refusal) {
  if (files.SameFile(output, read)) throw MapFileError(PathText{std::string(refusal), output, read});
}

std::vector<MapPath> ExportTargets(const FileFormat& format, const MapPath& path) {
  return format.content == FormatContent::Picture ? std::vector<MapPath>{path} : format.filesFor(path);
}

std::vector<FormatFile> ExportFiles(const FileFormat& format, const MapImage& image, const MapPath& path,
                                    const ToUtf8& utf8) {
  if (format.content == FormatContent::Picture) return {{path, format.writePicture(image, DefaultMapPictureScale, {}, false)}};
  return format.writeMap(image, path, utf8);
}

MapImage ImportedMap(FileSystem& files, const FileFormat& format, const MapPath& path) {
  const std::vector<std::uint8_t> bytes = ReadSmallFile(files, path);
  try {
    return format.readMap(path, bytes);
  } catch (const FormatFault& fault) {
    throw MapFileError(fault.Text());
  }
}

MapOutcome CheckedRoads(const MapImage& image) {
  MapOutcome outcome{image, {}};
  const std::vector<RoadProblem> problems = FindRoadProblems(image);
  for (const RoadProblem& problem : problems) outcome.lines.push_back(ProblemLine(image, problem));
  outcome.lines.push_back(ProblemSummary(problems.size()));
  outcome.findings = problems.size();
  return outcome;
}

MapOutcome NetworkBlocks(const MapImage& image) {
  MapOutcome outcome{image, {}};
  const RoadNetworks found = FindRoadNetworks(image);
  std::vector<int> lone = found.unreached;
  std::size_t number = 0;
  for (const PlaceNetwork& network : found.networks) {
    if (network.places.size() < 2) {
      lone.push_back(network.places.front());
      continue;
    }
    outcome.lines.push_back(NetworkHeading(++number, network, image));
    for (const int place : network.places) outcome.lines.push_back(PlaceLine(image, place));
  }
  std::sort(lone.begin(), lone.end());
  outcome.lines.push_back(LonePlacesHeading(lone.size()));
  for (const int place : lone) outcome.lines.push_back(PlaceLine(image, place));
  outcome.lines.push_back(NetworkSummary(found));
  return outcome;
}

MapOutcome StepsFrom(const MapImage& image, int from) {
  if (!IsPlace(image[from])) Refuse(NotAPlaceLine(image, from));
  MapOutcome outcome{image, {}};
  for (const PlaceSteps& place : PlacesReachedFrom(image, from)) outcome.lines.push_back(PlaceStepsLine(image, place));
  if (outcome.lines.empty()) outcome.lines.push_back(NoPlaceReachedLine());
  return outcome;
}

MapOutcome ShapedRoads(const MapImage& image) {
  MapImage shaped = image;
  ShapeRoads(shaped);
  MapOutcome outcome = CheckedRoads(shaped);
  const std::vector<std::string> changes = ChangeLines(image, shaped);
  outcome.lines.insert(outcome.lines.begin(), changes.begin(), changes.end());
  return outcome;
}

MapOutcome LaidRoad(const MapImage& image, int from, int to) {
  MapImage laid = image;
  try {
    const std::vector<int> way = LayRoad(laid, from, to);
    return RoadOutcome(image, laid, way.size() - 1);
  } catch (const RoadRefusal& refusal) {
    Refuse(RoadRefusalLine(image, refusal, from, to));
  }
}

std::string ReachInStroke(RoadStroke& stroke, int offset) {
  const int from = stroke.Started() ? stroke.Way().back() : offset;
  try {
    stroke.Reach(offset);
    return {};
  } catch (const RoadRefusal& refusal) {
    return RoadRefusalLine(stroke.Land(), refusal, from, offset);
  }
}

MapOutcome DrawnRoad(const MapImage& image, const std::vector<int>& cells) {
  RoadStroke stroke(image);
  for (const int cell : cells)
    if (std::string refusal = ReachInStroke(stroke, cell); !refusal.empty()) Refuse(std::move(refusal));
  const int first = cells.empty() ? NoMapOffset : cells.front();
  if (stroke.Way().size() < 2) Refuse(RoadRefusalLine(image, RoadRefusal(RoadRefusalKind::SameCell, first), first, first));
  return RoadOutcome(image, stroke.Drawn(), stroke.Way().size() - 1);
}

MapOutcome ErasedRoads(const MapImage& image, const std::vector<int>& cells, TerrainCode land) {
  MapImage erased = image;
  EraseRoads(erased, cells, land);
  return {erased, ChangeLines(image, erased)};
}

TerrainCode EraserLandOrRefuse(TerrainCode land, const MapPath& spelt) {
  if (IsEraserLand(land)) return land;
  std::string lands;
  for (const TerrainCode each : EraserLands)
    lands += (lands.empty() ? "" : "、") + std::to_string(each) + " (" + std::string(TerrainNames[each]) + ")";
  Refuse("--land %s は " + lands + " のどれかです", spelt);
}

std::vector<std::string> ChangeLines(const MapImage& before, const MapImage& after) {
  std::vector<std::string> lines;
  for (const CellChange& change : ChangesBetween(before, after)) lines.push_back(ChangeLine(change));
  return lines;
}
