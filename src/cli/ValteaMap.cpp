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
#include "operations/MapOperations.h"
#include "operations/SideBySide.h"
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

// `patch MAP PATCH` with the two swapped: a map file where the patch should
// be, or a patch where the map should be.
bool LooksLikeAMap(const MapPath& path, const std::vector<std::uint8_t>& content) {
  const FileFormat* format = FormatOfName(path, FormatContent::Map, true);
  return (format != nullptr && format->gameMapFormat) ||
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
  // Each command once: its words, from the least to the most plain ones,
  // its flags and its options with a value, and what runs it.
  struct Row {
    std::string_view name;
    std::size_t least, most;
    std::vector<std::string> flags, valued;
    int (Commands::*run)(const CommandWords& words);
  };
  static const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        {"info", 1, 1, {}, {}, &Commands::Info},
        {"check", 1, 1, {}, {}, &Commands::Check},
        {"network", 1, 1, {}, {"--from"}, &Commands::Network},
        {"render", 2, 2, {"--problems", "--networks"}, {"--scale"}, &Commands::Render},
        {"diff", 2, 2, {}, {"--patch"}, &Commands::Diff},
        {"patch", 2, MapSize, {"--dry-run", "--ours", "--theirs"}, {}, &Commands::Patch},
        {"export", 1, 2, {}, {}, &Commands::Export},
        {"import", 2, 2, {}, {}, &Commands::Import},
        {"get", 2, 2, {}, {}, &Commands::Get},
        {"set", 3, 3, {"--force"}, {}, &Commands::Set},
        {"shape", 1, 1, {"--dry-run"}, {}, &Commands::Shape},
        {"road", 3, 3, {"--dry-run"}, {}, &Commands::Road},
        {"draw", 3, MapSize, {"--dry-run"}, {}, &Commands::Draw},
        {"erase", 2, MapSize, {"--dry-run"}, {"--land"}, &Commands::Erase},
    };
    return rows;
  }

  int RunCommand(const std::string& name, const std::vector<MapPath>& words) {
    const CommandHelp* help = HelpOf(name);
    const auto row = std::find_if(Rows().begin(), Rows().end(), [&](const Row& each) { return each.name == name; });
    if (!help || row == Rows().end()) throw ArgumentError(PathText{std::string(UnknownCommand), ToPath(name)});
    if (std::find(words.begin(), words.end(), u"--help") != words.end()) {
      console_.Out(PathText{HelpText(*help), {}});
      return ExitSuccess;
    }
    CommandWords result(words, row->flags, row->valued);
    if (result.Plain().size() < row->least || result.Plain().size() > row->most)
      throw UsageError(PathText{"引数の数が違います", {}}, *help);
    return (this->*(row->run))(result);
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

  // An output that is one of the command's inputs would be lost.
  void RefuseToOverwrite(const MapPath& output, std::initializer_list<MapPath> inputs) {
    for (const MapPath& input : inputs) ::RefuseToOverwrite(files_, output, input, OverReadFileRefusal);
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

  int Info(const CommandWords& words) {
    const LoadedMap map = LoadMap(words.Plain()[0]);
    for (const std::string& line : InfoLines(map.image, map.fileSize)) Say(console_, line);
    return ExitSuccess;
  }

  int Check(const CommandWords& words) {
    const MapOutcome checked = CheckedRoads(LoadMap(words.Plain()[0]).image);
    SayLines(checked.lines);
    return checked.findings == 0 ? ExitSuccess : ExitFindings;
  }

  int Network(const CommandWords& words) {
    const MapImage image = LoadMap(words.Plain()[0]).image;
    const std::optional<MapPath> from = words.Value("--from");
    SayLines((from ? StepsFrom(image, ParseCell(*from)) : NetworkBlocks(image)).lines);
    return ExitSuccess;
  }

  int Render(const CommandWords& words) {
    const MapPath& mapPath = words.Plain()[0];
    const MapPath& picturePath = words.Plain()[1];
    const FileFormat& format = FormatOfNameOrRefuse(picturePath, {FormatContent::Picture});
    RefuseToOverwrite(picturePath, {mapPath});
    int scale = DefaultMapPictureScale;
    if (const auto value = words.Value("--scale")) {
      const auto parsed = WholeNumberOf(*value, MaxMapPictureScale);
      if (!parsed || *parsed < MinMapPictureScale || *parsed > MaxMapPictureScale)
        throw ArgumentError(PathText{"--scale %s は " + std::to_string(MinMapPictureScale) + ".." +
                                         std::to_string(MaxMapPictureScale) + " の数ではありません",
                                     *value});
      scale = static_cast<int>(*parsed);
    }
    const LoadedMap map = LoadMap(mapPath);
    std::vector<int> ringed;
    if (words.Has("--problems"))
      for (const RoadProblem& problem : FindRoadProblems(map.image)) ringed.push_back(problem.offset);
    SaySaved(Write(picturePath, format.writePicture(map.image, scale, ringed, words.Has("--networks"))), picturePath);
    return ExitSuccess;
  }

  int Diff(const CommandWords& words) {
    const std::optional<MapPath> patchPath = words.Value("--patch");
    const FileFormat* format = patchPath ? &FormatOfNameOrRefuse(*patchPath, {FormatContent::Patch}) : nullptr;
    if (patchPath) RefuseToOverwrite(*patchPath, {words.Plain()[0], words.Plain()[1]});
    const LoadedMap before = LoadMap(words.Plain()[0]);
    const LoadedMap after = LoadMap(words.Plain()[1]);
    const std::vector<CellChange> changes = ChangesBetween(before.image, after.image);
    // Written before anything is said, so that a failed write leaves only its error.
    const Saved saved =
        format ? Write(*patchPath, format->writePatch(before.image, after.image, changes, PlatformUtf8()))
               : Saved::DryRun;
    SayLines(ChangeLines(before.image, after.image));
    Say(console_, ChangeSummary(changes.size()));
    if (format) SaySaved(saved, *patchPath);
    return changes.empty() ? ExitSuccess : ExitFindings;
  }

  // Shift-JIS into UTF-8 as this platform's console converts it.
  ToUtf8 PlatformUtf8() {
    return [this](std::string_view text) { return console_.Utf8Of(PathText{std::string(text), {}}); };
  }

  // Several patches one after another, each against the map as the ones
  // before it left it; nothing is written when one of them is refused.
  int Patch(const CommandWords& words) {
    const MapPath& path = words.Plain()[0];
    const std::vector<MapPath> patchPaths(words.Plain().begin() + 1, words.Plain().end());
    const bool ours = words.Has("--ours"), theirs = words.Has("--theirs");
    if (ours && theirs) throw ArgumentError(PathText{"--ours と --theirs は一緒には使えません", {}});
    for (const MapPath& patchPath : patchPaths) RefuseToOverwrite(path, {patchPath});
    const std::vector<PatchFile> patches = ReadPatchFiles(files_, patchPaths);
    const bool mapLooksLikeAPatch = LooksLikeAPatch(path, ReadMapContent(files_, path).bytes);
    for (const PatchFile& patch : patches)
      if (mapLooksLikeAPatch || LooksLikeAMap(patch.path, patch.bytes))
        throw ArgumentError(PathText{"%s と %s の順が逆のようです: 地図が先、パッチが後です "
                                     "(valtea-map patch MAP PATCH)",
                                     path, patch.path});
    const LoadedMap map = LoadMap(path);
    const PatchChain chain = ReadPatchChain(patches, map.image);
    if (chain.misfit) return SayMisfit(chain.patches[*chain.misfit].path);
    const std::size_t conflicts = chain.ConflictCount();
    if (conflicts > 0 && !ours && !theirs) {
      SayLines(chain.ConflictLines());
      Say(console_, PatchSummary(0, chain.AlreadyApplied(), conflicts));
      Say(console_, std::string(MisfitMessage));
      return ExitFindings;
    }
    if (std::any_of(chain.patches.begin(), chain.patches.end(), [](const ChainedPatch& patch) { return patch.outcome.unchecked; }))
      ReportError(console_, PathText{"注意: " + std::string(IpsUncheckedText), {}});
    const std::vector<bool> sides(conflicts, theirs);
    const MapImage patched = chain.WithSides(sides);
    SayLines(chain.SideLines(sides));
    const Saved saved = SaveIfChanged(words, path, map.image, patched);
    const std::vector<std::string> changes = ChangeLines(map.image, patched);
    SayLines(changes);
    for (const ChainedPatch& patch : chain.patches)
      if (patch.outcome.appliedBefore)
        console_.Out(PathText{(chain.patches.size() > 1 ? "%s: " : "") + std::string(AppliedBeforeText) + "\n",
                              FileNameOf(patch.path)});
    Say(console_, PatchSummary(changes.size(), chain.AlreadyApplied(), conflicts));
    SaySaved(saved, path);
    return ExitSuccess;
  }

  int SayMisfit(const MapPath& patchPath) {
    console_.Out(PathText{std::string(BpsMisfitText) + "\n", patchPath});
    Say(console_, std::string(MisfitMessage));
    return ExitFindings;
  }

  void SayLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) Say(console_, line);
  }
  void SayLines(const std::vector<PathText>& lines) {
    for (const PathText& line : lines) console_.Out(PathText{line.format + "\n", line.path, line.otherPath});
  }

  int Export(const CommandWords& words) {
    const MapPath& mapPath = words.Plain()[0];
    if (words.Plain().size() == 1) {
      console_.OutUtf8(MapToText(LoadMap(mapPath).image));
      return ExitSuccess;
    }
    const MapPath& path = words.Plain()[1];
    const FileFormat& format = FormatOfNameOrRefuse(path, {FormatContent::Map});
    for (const MapPath& file : ExportTargets(format, path)) RefuseToOverwrite(file, {mapPath});
    const LoadedMap map = LoadMap(mapPath);
    // Every file written before anything is said.
    std::vector<std::pair<Saved, MapPath>> saved;
    for (const FormatFile& file : ExportFiles(format, map.image, path, PlatformUtf8()))
      saved.emplace_back(Write(file.path, file.bytes), file.path);
    for (const auto& [status, file] : saved) SaySaved(status, file);
    return ExitSuccess;
  }

  int Import(const CommandWords& words) {
    const MapPath& textPath = words.Plain()[0];
    const MapPath& path = words.Plain()[1];
    const FileFormat& format = FormatOfNameOrRefuse(textPath, {FormatContent::Map});
    RefuseToOverwrite(path, {textPath});
    SaySaved(Write(path, ImportedMap(files_, format, textPath)), path);
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

  // A tool's outcome is written, then said.
  int SayOutcome(const CommandWords& words, const MapPath& path, const MapImage& before, const MapOutcome& outcome) {
    const Saved saved = SaveIfChanged(words, path, before, outcome.image);
    SayLines(outcome.lines);
    SaySaved(saved, path);
    return outcome.findings == 0 ? ExitSuccess : ExitFindings;
  }

  std::vector<int> CellsOf(const CommandWords& words) {
    std::vector<int> cells;
    for (std::size_t index = 1; index < words.Plain().size(); ++index) cells.push_back(ParseCell(words.Plain()[index]));
    return cells;
  }

  int Shape(const CommandWords& words) {
    const LoadedMap map = LoadMap(words.Plain()[0]);
    return SayOutcome(words, words.Plain()[0], map.image, ShapedRoads(map.image));
  }

  int Road(const CommandWords& words) {
    const LoadedMap map = LoadMap(words.Plain()[0]);
    const int from = ParseCell(words.Plain()[1]);
    const int to = ParseCell(words.Plain()[2]);
    return SayOutcome(words, words.Plain()[0], map.image, LaidRoad(map.image, from, to));
  }

  // A road through the cells, each leg as the picture's brush joins two hexagons.
  int Draw(const CommandWords& words) {
    const LoadedMap map = LoadMap(words.Plain()[0]);
    return SayOutcome(words, words.Plain()[0], map.image, DrawnRoad(map.image, CellsOf(words)));
  }

  // The road pieces of the cells become the land, as the picture's eraser leaves them.
  int Erase(const CommandWords& words) {
    const LoadedMap map = LoadMap(words.Plain()[0]);
    const std::optional<MapPath> value = words.Value("--land");
    const TerrainCode land = value ? EraserLandOrRefuse(ParseCode(*value), *value) : DefaultEraserLand;
    return SayOutcome(words, words.Plain()[0], map.image, ErasedRoads(map.image, CellsOf(words), land));
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
