#include "cli/ValteaMap.h"

#include <cstdio>
#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "Version.h"
#include "cli/Arguments.h"
#include "cli/CommandHelp.h"
#include "cli/MapReports.h"
#include "formats/FileFormats.h"
#include "formats/PatchReading.h"
#include "map/MapFile.h"
#include "map/MapText.h"
#include "map/TextEncoding.h"
#include "map/RoadNetwork.h"
#include "map/RoadRepair.h"
#include "map/RoadStroke.h"
#include "map/RoadWay.h"
#include "patch/Bps.h"
#include "patch/Ips.h"
#include "patch/TextPatch.h"
#include "picture/MapPicture.h"
#include "picture/Png.h"
#include "tiled/TiledMap.h"

namespace {

constexpr std::string_view VersionLine = "valtea-map " VALTEA_VERSION;

constexpr std::string_view WrittenMessage = "書き込みました: %s\n";
constexpr std::string_view UnchangedMessage = "変わりません: %s\n";
constexpr std::string_view DryRunMessage = "--dry-run なので書き込みません";

void ReportError(Console& console, PathText text) {
  text.format = "valtea-map: " + text.format + "\n";
  console.Error(text);
}

// A file error, then why, on a line of its own, where the system said.
void ReportFileError(Console& console, const MapFileError& error) {
  ReportError(console, error.Text());
  const std::string reason = FailureReason(error.Reason());
  if (!reason.empty()) ReportError(console, PathText{"理由: " + reason, {}});
}

// A usage error: what is wrong, then how the command is used.
class UsageError : public ArgumentError {
 public:
  UsageError(PathText text, const CommandHelp& command) : ArgumentError(std::move(text)), command_(command) {}
  const CommandHelp& Command() const { return command_; }

 private:
  const CommandHelp& command_;
};

// One line of the program's own text.
void Say(Console& console, std::string line) { console.Out(PathText{std::move(line) + "\n", {}}); }

constexpr std::string_view MisfitMessage = "合わないので書き込みません";

// The format of a name that a command's argument must have, or its refusal.
const FileFormat& FormatOrRefusal(const MapPath& name, FormatContent content, const std::string& refusal) {
  const FileFormat* format = FormatOfName(name, content);
  if (format == nullptr) throw ArgumentError(PathText{refusal, name});
  return *format;
}

// By the name's ending, as --patch takes it.
const FileFormat& PatchFormatOfName(const MapPath& name) {
  return FormatOrRefusal(name, FormatContent::Patch,
                         "パッチ %s の名前は " + EndingsText({FormatContent::Patch}) + " で終わりません");
}

// By the name's ending, as export and import take it.
const FileFormat& MapFormatOfName(const MapPath& name) {
  return FormatOrRefusal(name, FormatContent::Map, "%s の名前は " + EndingsText({FormatContent::Map}) + " で終わりません");
}


PatchOutcome PatchOutcomeOf(const MapPath& patchPath, const std::vector<std::uint8_t>& patch, const MapImage& map) {
  try {
    return ReadPatchOutcome(patchPath, patch, map);
  } catch (const FormatFault& fault) {
    throw ArgumentError(fault.Text());
  }
}

// `patch MAP PATCH` with the two swapped: a map file where the patch should
// be, or a patch where the map should be.
bool LooksLikeAMap(const MapPath& path, const std::vector<std::uint8_t>& content) {
  const FileFormat* format = FormatOfName(path, FormatContent::Map, true);
  return (format != nullptr && format->gameMap) ||
         (content.size() == static_cast<std::size_t>(MapSize) && PatchKindOfContent(content) == PatchKind::Text &&
          std::any_of(content.begin(), content.end(), [](std::uint8_t byte) { return byte < '\t'; }));
}
bool LooksLikeAPatch(const MapPath& path, const std::vector<std::uint8_t>& content) {
  return FormatOfName(path, FormatContent::Patch) != nullptr || PatchKindOfContent(content) != PatchKind::Text;
}

constexpr std::string_view UnknownCommand = "コマンド %s はありません (valtea-map --help)";

class Commands {
 public:
  Commands(FileSystem& files, Console& console) : files_(files), console_(console) {}

  // On an error, whatever files the command created are removed again, so
  // that a failed command leaves nothing behind.
  int Run(const std::string& name, const std::vector<MapPath>& words) {
    int status = ExitError;
    try {
      status = RunCommand(name, words);
    } catch (...) {
      for (const MapPath& path : created_) files_.Remove(path);
      throw;
    }
    for (const PathText& notice : notices_) ReportError(console_, notice);
    return status;
  }

 private:
  int RunCommand(const std::string& name, const std::vector<MapPath>& words) {
    const CommandHelp* help = HelpOf(name);
    if (!help) throw ArgumentError(PathText{std::string(UnknownCommand), ToPath(name)});
    if (std::find(words.begin(), words.end(), u"--help") != words.end()) {
      console_.Out(PathText{HelpText(*help), {}});
      return ExitSuccess;
    }
    if (name == "info") return Info(Words(*help, words, 1, 1));
    if (name == "check") return Check(Words(*help, words, 1, 1));
    if (name == "render") return Render(Words(*help, words, 2, 2, {"--problems"}, {"--scale"}));
    if (name == "diff") return Diff(Words(*help, words, 2, 2, {}, {"--patch"}));
    if (name == "patch") return Patch(Words(*help, words, 2, 2, {"--dry-run", "--ours", "--theirs"}));
    if (name == "export") return Export(Words(*help, words, 1, 2));
    if (name == "import") return Import(Words(*help, words, 2, 2));
    if (name == "get") return Get(Words(*help, words, 2, 2));
    if (name == "set") return Set(Words(*help, words, 3, 3, {"--force"}));
    if (name == "shape") return Shape(Words(*help, words, 1, 1, {"--dry-run"}));
    if (name == "draw") return Draw(Words(*help, words, 3, MapSize, {"--dry-run"}));
    if (name == "erase") return Erase(Words(*help, words, 2, MapSize, {"--dry-run"}, {"--land"}));
    return Road(Words(*help, words, 3, 3, {"--dry-run"}));
  }

  enum class Saved { Written, DryRun, Unchanged };

  // Every file is written through here. A file that holds these bytes
  // already is left alone. A save that could not remove the old file from
  // beside the new one is still a save: the command goes on, and where the
  // old file is is said at its end.
  Saved Write(const MapPath& path, const std::vector<std::uint8_t>& content) {
    std::vector<std::uint8_t> existing;
    std::uint64_t size = 0;
    const bool read = files_.ReadStart(path, content.size(), existing, size) == FileSystem::ReadResult::Read;
    if (read && size == content.size() && existing == content) return Saved::Unchanged;
    const bool existed = read || files_.LastFailure().kind != FileFailure::Kind::NotFound;
    try {
      WriteWholeFile(files_, path, content);
    } catch (const OldFileLeftError& notice) {
      notices_.push_back(notice.Text());
    }
    if (!existed) created_.push_back(path);
    return Saved::Written;
  }
  Saved Write(const MapPath& path, const MapImage& image) {
    return Write(path, std::vector<std::uint8_t>(image.begin(), image.end()));
  }

  void SaySaved(Saved saved, const MapPath& path) {
    if (saved == Saved::Written) console_.Out(PathText{std::string(WrittenMessage), path});
    if (saved == Saved::Unchanged) console_.Out(PathText{std::string(UnchangedMessage), path});
    if (saved == Saved::DryRun) Say(console_, std::string(DryRunMessage));
  }

  // An output that is one of the command's inputs would be lost: refused by
  // the files' identity, however their names are spelt.
  void RefuseToOverwrite(const MapPath& output, std::initializer_list<MapPath> inputs) {
    for (const MapPath& input : inputs)
      if (files_.SameFile(output, input))
        throw ArgumentError(PathText{"%s は読むファイル %s と同じファイルなので、書き込みません", output, input});
  }

  // By the editor's rules: a short file leaves the rest of the image as sea,
  // bytes beyond the map are ignored. Said once for each such file; an empty
  // file is refused, since it is no map at all.
  struct LoadedMap {
    MapImage image{};
    std::uint64_t fileSize = 0;
  };
  LoadedMap LoadMap(const MapPath& path) {
    LoadedMap map;
    const MapContent content = ReadMapContent(files_, path);
    map.fileSize = content.fileSize;
    if (content.fileSize == 0) throw ArgumentError(PathText{"地図 %s は空です (0 バイト)", path});
    if (content.fileSize != static_cast<std::uint64_t>(MapSize)) SaySize(path, content.fileSize);
    StoreMapContent(content, map.image, [](int, TerrainCode) {});
    return map;
  }

  void SaySize(const MapPath& path, std::uint64_t size) {
    if (std::find(sized_.begin(), sized_.end(), path) != sized_.end()) return;
    sized_.push_back(path);
    const std::string bytes = std::to_string(size) + " バイトで、";
    const std::string mapSize = std::to_string(MapSize);
    if (size < static_cast<std::uint64_t>(MapSize)) {
      ReportError(console_, PathText{"注意: 地図 %s は " + bytes + mapSize + " バイトに足りません。足りない " +
                                         std::to_string(MapSize - size) + " バイトは海 (0) とみなします",
                                     path});
    } else {
      ReportError(console_, PathText{"注意: 地図 %s は " + bytes +
                                         mapSize + " バイトより長いので、その先は読みません。書き込むと " +
                                         mapSize + " バイトになります",
                                     path});
    }
  }

  static MapPath ToPath(const std::string& ascii) { return MapPath(ascii.begin(), ascii.end()); }

  CommandWords Words(const CommandHelp& help, const std::vector<MapPath>& words, std::size_t least, std::size_t most,
                     const std::vector<std::string>& flags = {}, const std::vector<std::string>& valued = {}) {
    CommandWords result(words, flags, valued);
    const std::size_t count = result.Plain().size();
    if (count < least || count > most) throw UsageError(PathText{"引数の数が違います", {}}, help);
    return result;
  }

  int Info(const CommandWords& words) {
    const LoadedMap map = LoadMap(words.Plain()[0]);
    for (const std::string& line : InfoLines(map.image, map.fileSize)) Say(console_, line);
    return ExitSuccess;
  }

  int Check(const CommandWords& words) {
    const LoadedMap map = LoadMap(words.Plain()[0]);
    return SayProblems(map.image) == 0 ? ExitSuccess : ExitFindings;
  }

  // One line per problem of the road network, then a summary.
  std::size_t SayProblems(const MapImage& image) {
    const std::vector<RoadProblem> problems = FindRoadProblems(image);
    for (const RoadProblem& problem : problems) Say(console_, ProblemLine(image, problem));
    Say(console_, ProblemSummary(problems.size()));
    return problems.size();
  }

  int Render(const CommandWords& words) {
    const MapPath& mapPath = words.Plain()[0];
    const MapPath& picturePath = words.Plain()[1];
    const FileFormat& format = FormatOrRefusal(
        picturePath, FormatContent::Picture,
        "絵 %s の名前は " + EndingsText({FormatContent::Picture}) + " で終わりません (絵は PNG だけです)");
    RefuseToOverwrite(picturePath, {mapPath});
    int scale = DefaultMapPictureScale;
    if (const auto value = words.Value("--scale")) {
      const auto parsed = WholeNumberOf(*value, MaxMapPictureScale);
      if (!parsed || *parsed < 1 || *parsed > MaxMapPictureScale)
        throw ArgumentError(PathText{"--scale %s は 1..16 の数ではありません", *value});
      scale = static_cast<int>(*parsed);
    }
    const LoadedMap map = LoadMap(mapPath);
    std::vector<int> ringed;
    if (words.Has("--problems"))
      for (const RoadProblem& problem : FindRoadProblems(map.image)) ringed.push_back(problem.offset);
    SaySaved(Write(picturePath, format.writePicture(map.image, scale, ringed)), picturePath);
    return ExitSuccess;
  }

  int Diff(const CommandWords& words) {
    const std::optional<MapPath> patchPath = words.Value("--patch");
    const FileFormat* format = patchPath ? &PatchFormatOfName(*patchPath) : nullptr;
    if (patchPath) RefuseToOverwrite(*patchPath, {words.Plain()[0], words.Plain()[1]});
    const LoadedMap before = LoadMap(words.Plain()[0]);
    const LoadedMap after = LoadMap(words.Plain()[1]);
    const std::vector<CellChange> changes = ChangesBetween(before.image, after.image);
    // Written before anything is said, so that a failed write leaves only its error.
    const Saved saved =
        format ? Write(*patchPath, format->writePatch(before.image, after.image, changes, Utf8Converter()))
               : Saved::DryRun;
    for (const CellChange& change : changes) Say(console_, ChangeLine(change));
    Say(console_, ChangeSummary(changes.size()));
    if (format) SaySaved(saved, *patchPath);
    return changes.empty() ? ExitSuccess : ExitFindings;
  }

  // Shift-JIS into UTF-8 as this platform's console converts it.
  ToUtf8 Utf8Converter() {
    return [this](std::string_view text) { return console_.Utf8Of(PathText{std::string(text), {}}); };
  }

  int Patch(const CommandWords& words) {
    const MapPath& path = words.Plain()[0];
    const MapPath& patchPath = words.Plain()[1];
    const bool ours = words.Has("--ours"), theirs = words.Has("--theirs");
    if (ours && theirs) throw ArgumentError(PathText{"--ours と --theirs は一緒には使えません", {}});
    RefuseToOverwrite(path, {patchPath});
    const std::vector<std::uint8_t> patch = ReadSmallFile(files_, patchPath);
    if (LooksLikeAMap(patchPath, patch) || LooksLikeAPatch(path, ReadMapContent(files_, path).bytes))
      throw ArgumentError(PathText{"%s と %s の順が逆のようです: 地図が先、パッチが後です "
                                   "(valtea-map patch MAP PATCH)",
                                   path, patchPath});
    const LoadedMap map = LoadMap(path);
    PatchOutcome outcome = PatchOutcomeOf(patchPath, patch, map.image);
    if (outcome.misfit) return SayMisfit(patchPath);
    if (!outcome.conflicts.empty() && !ours && !theirs) {
      for (const PatchConflict& conflict : outcome.conflicts) Say(console_, ConflictLine(conflict));
      Say(console_, PatchSummary(0, outcome.alreadyApplied, outcome.conflicts.size()));
      Say(console_, std::string(MisfitMessage));
      return ExitFindings;
    }
    if (outcome.unchecked)
      ReportError(console_, PathText{"注意: " + std::string(IpsUncheckedText), {}});
    for (const PatchConflict& conflict : outcome.conflicts) {
      if (theirs) outcome.image[conflict.change.offset] = conflict.change.after;
      Say(console_, ConflictLine(conflict) + (theirs ? "  → パッチの後のコードにします" : "  → 地図のまま"));
    }
    const Saved saved = SaveIfChanged(words, path, map.image, outcome.image);
    const std::vector<CellChange> changes = ChangesBetween(map.image, outcome.image);
    for (const CellChange& change : changes) Say(console_, ChangeLine(change));
    if (outcome.appliedBefore) Say(console_, "このパッチはもう当ててあります");
    Say(console_, PatchSummary(changes.size(), outcome.alreadyApplied, outcome.conflicts.size()));
    SaySaved(saved, path);
    return ExitSuccess;
  }

  int SayMisfit(const MapPath& patchPath) {
    console_.Out(PathText{std::string(BpsMisfitText) + "\n", patchPath});
    Say(console_, std::string(MisfitMessage));
    return ExitFindings;
  }

  // One line per differing byte, by increasing offset.
  void SayDifferences(const MapImage& before, const MapImage& after) {
    for (const CellChange& change : ChangesBetween(before, after)) Say(console_, ChangeLine(change));
  }

  int Export(const CommandWords& words) {
    const MapPath& mapPath = words.Plain()[0];
    if (words.Plain().size() == 1) {
      console_.OutUtf8(MapToText(LoadMap(mapPath).image));
      return ExitSuccess;
    }
    const MapPath& path = words.Plain()[1];
    const FileFormat& format = MapFormatOfName(path);
    for (const MapPath& file : format.filesFor(path)) RefuseToOverwrite(file, {mapPath});
    const LoadedMap map = LoadMap(mapPath);
    // Every file written before anything is said.
    std::vector<std::pair<Saved, MapPath>> saved;
    for (FormatFile& file : format.writeMap(map.image, path, Utf8Converter()))
      saved.emplace_back(Write(file.path, file.bytes), file.path);
    for (const auto& [status, file] : saved) SaySaved(status, file);
    return ExitSuccess;
  }

  int Import(const CommandWords& words) {
    const MapPath& textPath = words.Plain()[0];
    const MapPath& path = words.Plain()[1];
    const FileFormat& format = MapFormatOfName(textPath);
    RefuseToOverwrite(path, {textPath});
    MapImage image{};
    try {
      image = format.readMap(textPath, ReadSmallFile(files_, textPath));
    } catch (const FormatFault& fault) {
      throw ArgumentError(fault.Text());
    }
    SaySaved(Write(path, image), path);
    return ExitSuccess;
  }

  int Get(const CommandWords& words) {
    const LoadedMap map = LoadMap(words.Plain()[0]);
    const int offset = ParseCell(words.Plain()[1]);
    Say(console_, CellLine(offset, map.image[offset]));
    return ExitSuccess;
  }

  int Set(const CommandWords& words) {
    const MapPath& path = words.Plain()[0];
    const LoadedMap map = LoadMap(path);
    const int offset = ParseCell(words.Plain()[1]);
    const TerrainCode code = ParseCode(words.Plain()[2]);
    const TerrainCode old = map.image[offset];
    if (!words.Has("--force")) RefuseWhatTheEditorRefuses(offset, old, code);
    MapImage changed = map.image;
    changed[offset] = code;
    const Saved saved = SaveIfChanged(words, path, map.image, changed);
    Say(console_, saved == Saved::Unchanged ? CellLine(offset, old) : ChangeLine({offset, old, code}));
    SaySaved(saved, path);
    return ExitSuccess;
  }

  int Shape(const CommandWords& words) {
    const MapPath& path = words.Plain()[0];
    const LoadedMap map = LoadMap(path);
    MapImage shaped = map.image;
    ShapeRoads(shaped);
    const Saved saved = SaveIfChanged(words, path, map.image, shaped);
    SayDifferences(map.image, shaped);
    const std::size_t problems = SayProblems(shaped);
    SaySaved(saved, path);
    return problems == 0 ? ExitSuccess : ExitFindings;
  }

  int Road(const CommandWords& words) {
    const MapPath& path = words.Plain()[0];
    const LoadedMap map = LoadMap(path);
    const int from = ParseCell(words.Plain()[1]);
    const int to = ParseCell(words.Plain()[2]);
    MapImage laid = map.image;
    std::vector<int> way;
    try {
      way = LayRoad(laid, from, to);
    } catch (const RoadRefusal& refusal) {
      throw ArgumentError(PathText{RoadRefusalLine(map.image, refusal, from, to), {}});
    }
    const Saved saved = SaveIfChanged(words, path, map.image, laid);
    SayDifferences(map.image, laid);
    Say(console_, RoadLengthLine(way.size() - 1));
    SaySaved(saved, path);
    return ExitSuccess;
  }

  // A road through the cells, each leg as the picture's brush joins two
  // hexagons; the first leg that cannot be drawn refuses the whole road.
  int Draw(const CommandWords& words) {
    const MapPath& path = words.Plain()[0];
    const LoadedMap map = LoadMap(path);
    std::vector<int> cells;
    for (std::size_t index = 1; index < words.Plain().size(); ++index) cells.push_back(ParseCell(words.Plain()[index]));
    RoadStroke stroke(map.image);
    int from = cells.front(), to = cells.front();
    try {
      stroke.Start(from);
      for (std::size_t index = 1; index < cells.size(); ++index) {
        from = stroke.Way().back();
        to = cells[index];
        stroke.Reach(to);
      }
      if (stroke.Way().size() < 2) throw RoadRefusal(RoadRefusalKind::SameCell, cells.front());
    } catch (const RoadRefusal& refusal) {
      throw ArgumentError(PathText{RoadRefusalLine(map.image, refusal, from, to), {}});
    }
    const Saved saved = SaveIfChanged(words, path, map.image, stroke.Drawn());
    SayDifferences(map.image, stroke.Drawn());
    Say(console_, RoadLengthLine(stroke.Way().size() - 1));
    SaySaved(saved, path);
    return ExitSuccess;
  }

  // The road pieces of the cells become the land, as the picture's eraser
  // leaves them; the pieces beside them lose their joins toward them.
  int Erase(const CommandWords& words) {
    const MapPath& path = words.Plain()[0];
    const LoadedMap map = LoadMap(path);
    TerrainCode land = terrain::Plain;
    if (const auto value = words.Value("--land")) {
      land = ParseCode(*value);
      if (!IsEraserLand(land))
        throw ArgumentError(PathText{"--land %s は 3 (丘陵)、4 (平地)、5 (湿地)、6 (砂浜) のどれかです", *value});
    }
    std::vector<int> cells;
    for (std::size_t index = 1; index < words.Plain().size(); ++index) cells.push_back(ParseCell(words.Plain()[index]));
    MapImage erased = map.image;
    EraseRoads(erased, cells, land);
    const Saved saved = SaveIfChanged(words, path, map.image, erased);
    SayDifferences(map.image, erased);
    SaySaved(saved, path);
    return ExitSuccess;
  }

  // A map is written only when it changes, and before anything is said
  // about it, so that a failed write leaves only its error.
  Saved SaveIfChanged(const CommandWords& words, const MapPath& path, const MapImage& before, const MapImage& after) {
    if (before == after) return Saved::Unchanged;
    if (words.Has("--dry-run")) return Saved::DryRun;
    return Write(path, after);
  }

  // The editor changes only cells that its road chooser offers, and only into
  // codes that the chooser lists.
  static void RefuseWhatTheEditorRefuses(int offset, TerrainCode old, TerrainCode code) {
    if (!IsEditable(old))
      throw ArgumentError(PathText{CellName(offset) + " の " + CodeName(old) +
                                       " はエディタでは変えられません (--force で書けます)",
                                   {}});
    if (!IsEditable(code))
      throw ArgumentError(PathText{"コード " + std::to_string(code) +
                                       " は道路の選択肢にありません (--force で書けます)",
                                   {}});
  }

  FileSystem& files_;
  Console& console_;
  std::vector<PathText> notices_;
  std::vector<MapPath> created_;
  std::vector<MapPath> sized_;
};

// `help`, `help CMD`.
int Help(const std::vector<MapPath>& arguments, Console& console) {
  if (arguments.size() < 2) {
    console.Out(PathText{WholeHelp(), {}});
    return ExitSuccess;
  }
  const CommandHelp* help = HelpOf(AsciiOf(arguments[1]));
  if (!help) throw ArgumentError(PathText{std::string(UnknownCommand), arguments[1]});
  console.Out(PathText{HelpText(*help), {}});
  return ExitSuccess;
}

}  // namespace

int RunValteaMap(const std::vector<MapPath>& arguments, FileSystem& files, Console& console) {
  const std::string first = arguments.empty() ? std::string() : AsciiOf(arguments[0]);
  if (first == "--help" || first == "-h") {
    console.Out(PathText{WholeHelp(), {}});
    return ExitSuccess;
  }
  if (first == "--version") {
    Say(console, std::string(VersionLine));
    return ExitSuccess;
  }
  try {
    if (arguments.empty()) throw ArgumentError(PathText{"コマンドがありません (valtea-map --help)", {}});
    if (first == "help") return Help(arguments, console);
    const std::vector<MapPath> words(arguments.begin() + 1, arguments.end());
    return Commands(files, console).Run(first, words);
  } catch (const UsageError& error) {
    ReportError(console, error.Text());
    ReportError(console, PathText{"使い方: " + std::string(error.Command().usage), {}});
  } catch (const ArgumentError& error) {
    ReportError(console, error.Text());
  } catch (const MapFileError& error) {
    ReportFileError(console, error);
  } catch (const std::exception& error) {
    console.Error(PathText{std::string("valtea-map: ") + error.what() + "\n", {}});
  }
  return ExitError;
}
