#include "cli/ValteaMap.h"

#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "Version.h"
#include "cli/Arguments.h"
#include "cli/MapReports.h"
#include "map/MapFile.h"
#include "map/MapText.h"
#include "map/TextEncoding.h"
#include "map/RoadNetwork.h"
#include "map/RoadRepair.h"
#include "map/RoadWay.h"
#include "patch/Bps.h"
#include "patch/Ips.h"
#include "patch/TextPatch.h"
#include "picture/MapPicture.h"
#include "picture/Png.h"
#include "tiled/TiledMap.h"

namespace {

constexpr std::string_view VersionLine = "valtea-map " VALTEA_VERSION;

constexpr std::string_view Help =
    "valtea-map: ヴァルテアの地図ファイル MAPDATA.VLT を調べ、絵にし、比べ、テキストで読み書きします。\n"
    "\n"
    "  valtea-map info   MAP\n"
    "      地形ごとの数 (コード、字、名前)、道路、橋、町、城、35 以上のバイトとそのオフセット、\n"
    "      26576 バイトでなければファイルの大きさ。\n"
    "      例: valtea-map info MAPDATA.VLT\n"
    "  valtea-map check  MAP\n"
    "      道路網の検査。つながらない道を 1 件 1 行で、最後に件数。\n"
    "      例: valtea-map check MAPDATA.VLT\n"
    "  valtea-map render MAP OUT.png [--scale N] [--problems]\n"
    "      地図全体の絵。N は半行あたりの点の数 (1..16、既定 4)。--problems で検査の問題を赤い輪で囲みます。\n"
    "      例: valtea-map render MAPDATA.VLT map.png --problems\n"
    "  valtea-map diff   OLD NEW [--patch OUT]\n"
    "      違うバイトを 1 バイト 1 行で (列:行、オフセット、前の字とコード -> 後の字とコード)、最後に件数。\n"
    "      --patch では OUT にパッチも書きます: OUT.txt はこの表示そのもの (UTF-8)、OUT.bps は BPS、OUT.ips は IPS。\n"
    "      例: valtea-map diff MAPDATA.VLT.bak MAPDATA.VLT --patch mod.txt\n"
    "  valtea-map patch  MAP PATCH [--dry-run]\n"
    "      テキスト、BPS か IPS のパッチを MAP に当てます (種類は中身で見分けます)。テキストのパッチはマスごとに、\n"
    "      地図が前のコードなら後のコードにし、もう後のコードなら何もしません。どちらでもないマスは衝突として\n"
    "      全部示し、何も書かずに終了コード 1。BPS は元の地図の CRC-32 が合わなければ同じく 1。\n"
    "      IPS は前の値もチェックサムも持たないので、作られたのと違う地図にも黙って当たります:\n"
    "      テキストのパッチか BPS を使ってください。\n"
    "      例: valtea-map patch MAPDATA.VLT mod.txt --dry-run\n"
    "  valtea-map export MAP [OUT.csv | OUT.tmj]\n"
    "      テキスト形式で書き出します (OUT がなければ標準出力へ)。OUT.tmj か OUT.json なら Tiled の地図\n"
    "      (六角形、352×76 タイル、Tiled の列 x、行 y はエディタの x+1:y+1) と、そのタイルセットの絵\n"
    "      valtea-terrain.png を同じフォルダに書きます。\n"
    "      例: valtea-map export MAPDATA.VLT map.csv   valtea-map export MAPDATA.VLT map.tmj\n"
    "  valtea-map import IN.csv MAP | IN.tmj MAP\n"
    "      テキスト形式か Tiled の地図 (.tmj、.json) を全部確かめてから MAP に書きます。\n"
    "      Tiled の道路の形は直さないので、そのあと shape と check を。\n"
    "      例: valtea-map import map.tmj MAPDATA.VLT\n"
    "  valtea-map get    MAP CELL\n"
    "      1 マスのコード、字、名前、オフセット。\n"
    "      例: valtea-map get MAPDATA.VLT 5:10\n"
    "  valtea-map set    MAP CELL CODE [--force]\n"
    "      エディタと同じ規則で 1 マスを変えます: 道路、橋と丘陵、平地、湿地、砂浜のマスだけを、\n"
    "      道路の選択肢にあるコードにだけ。--force ではどのマスにも 0..255 のどのコードでも書きます。\n"
    "      例: valtea-map set MAPDATA.VLT 5:10 18\n"
    "  valtea-map shape  MAP [--dry-run]\n"
    "      検査で問題の見つかった道路を、つながる隣に合う形に直します。橋は向きが合うときだけ\n"
    "      もう一方の橋に変えます。変えたマスを diff と同じ形で、そのあと残った問題を check と同じ形で。\n"
    "      例: valtea-map shape MAPDATA.VLT --dry-run\n"
    "  valtea-map road   MAP FROM TO [--dry-run]\n"
    "      FROM から TO へ新しい道を敷きます。斜めの歩みだけで、歩数の最も少ない道です。平地、丘陵、\n"
    "      湿地、砂浜、馬産地と道路を通り、水 (海、湖、河口) は 1 マスだけまっすぐ新しい橋で渡ります。\n"
    "      FROM と TO は港湾、御所、城、町か道路のマス (CELL と同じ書き方)。変えたマスを diff と同じ形で。\n"
    "      例: valtea-map road MAPDATA.VLT 19:30 31:36\n"
    "  valtea-map --help | --version\n"
    "\n"
    "CELL はエディタの位置表示と同じ 列:行 (5:10)、または @オフセット (@302、@0x12E)。\n"
    "テキスト形式: 地図の行 0 から 175 まで 1 行ずつ、その行の 151 個のコードを 10 進数でコンマ区切り。\n"
    "# で始まる行は注釈です。改行は LF でも CR LF でもよく、数の前後の空白は読み飛ばします。\n"
    "保存はエディタと同じく新しいファイルを隣に書いてから置き換えるので、失敗しても元のファイルは残ります。\n"
    "--dry-run では何も書かずに、変わるマスだけを示します。\n"
    "終了コード: 0 成功、1 違いまたは問題あり (diff、check、shape)、パッチが合わない (patch)、\n"
    "2 エラー (何も書きません)。\n";

constexpr std::string_view WrittenMessage = "書き込みました: %s\n";
constexpr std::string_view DryRunMessage = "--dry-run なので書き込みません";

void ReportError(Console& console, PathText text) {
  text.format = "valtea-map: " + text.format + "\n";
  console.Error(text);
}

// One line of the program's own text.
void Say(Console& console, std::string line) { console.Out(PathText{std::move(line) + "\n", {}}); }

struct LoadedMap {
  MapImage image{};
  std::uint64_t fileSize = 0;
};

// By the editor's rules: a short file leaves the rest of the image as sea,
// bytes beyond the map are ignored.
LoadedMap LoadMap(FileSystem& files, const MapPath& path) {
  LoadedMap map;
  const MapContent content = ReadMapContent(files, path);
  map.fileSize = content.fileSize;
  StoreMapContent(content, map.image, [](int, TerrainCode) {});
  return map;
}

constexpr std::string_view MisfitMessage = "合わないので書き込みません";

enum class PatchKind { Text, Bps, Ips };

// A file name's ending in lower case: ".csv".
std::string EndingOf(const MapPath& name) {
  const auto dot = name.rfind(u'.');
  std::string ending = dot == MapPath::npos ? std::string() : AsciiOf(name.substr(dot));
  for (char& c : ending) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return ending;
}

// By the name's ending, as --patch takes it.
PatchKind PatchKindOfName(const MapPath& name) {
  const std::string ending = EndingOf(name);
  if (ending == ".txt") return PatchKind::Text;
  if (ending == ".bps") return PatchKind::Bps;
  if (ending == ".ips") return PatchKind::Ips;
  throw ArgumentError(PathText{"パッチ %s の名前は .txt、.bps か .ips で終わりません", name});
}

enum class MapForm { Text, Tiled };

// By the name's ending, as export and import take it.
MapForm MapFormOfName(const MapPath& name) {
  const std::string ending = EndingOf(name);
  if (ending == ".csv") return MapForm::Text;
  if (ending == ".tmj" || ending == ".json") return MapForm::Tiled;
  throw ArgumentError(PathText{"%s の名前は .csv、.tmj か .json で終わりません", name});
}

// Where the tileset picture of a Tiled map goes: into the map's folder.
MapPath TilesetPicturePath(const MapPath& mapPath) {
  const auto slash = mapPath.find_last_of(u"/\\");
  const MapPath folder = slash == MapPath::npos ? MapPath() : mapPath.substr(0, slash + 1);
  return folder + MapPath(TilesetPictureName.begin(), TilesetPictureName.end());
}

MapImage ReadTiledMapFile(const MapPath& path, const std::vector<std::uint8_t>& content) {
  try {
    return ReadTiledMap(std::string_view(reinterpret_cast<const char*>(content.data()), content.size()));
  } catch (const TiledMapError& error) {
    const std::string where =
        error.Line() > 0 ? ":" + std::to_string(error.Line()) + ":" + std::to_string(error.Column()) : "";
    throw ArgumentError(PathText{"%s" + where + ": " + error.what(), path, error.Detail()});
  }
}

// By the content, as `patch` takes it.
PatchKind PatchKindOfContent(const std::vector<std::uint8_t>& bytes) {
  auto startsWith = [&](std::string_view magic) {
    return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
  };
  if (startsWith("BPS1")) return PatchKind::Bps;
  if (startsWith("PATCH")) return PatchKind::Ips;
  return PatchKind::Text;
}

std::string PatchSummary(std::size_t changed, std::size_t already, std::size_t conflicts) {
  return "変えたマス: " + std::to_string(changed) + "  当て済みのマス: " + std::to_string(already) +
         "  衝突: " + std::to_string(conflicts);
}

// What a patch does to a map: the map it gives, or why it does not fit.
struct PatchOutcome {
  MapImage image{};
  std::size_t alreadyApplied = 0;
  std::vector<PatchConflict> conflicts;
  bool appliedBefore = false;         // a BPS patch whose target the map is already
  std::optional<std::string> misfit;  // why a BPS patch is not for this map ("%s": the patch)
};

PatchOutcome BpsOutcome(const std::vector<std::uint8_t>& patch, const MapImage& map) {
  const BpsPatch header = ReadBps(patch);
  PatchOutcome outcome;
  outcome.image = map;
  switch (FitOf(header, map)) {
    case BpsFit::Fits:
      outcome.image = ApplyBps(patch, header, map);
      break;
    case BpsFit::AlreadyApplied:
      outcome.appliedBefore = true;
      break;
    case BpsFit::DoesNotFit:
      outcome.misfit = "BPS パッチ %s はこの地図のためのものではありません (元の地図の CRC-32 が違います)";
      break;
  }
  return outcome;
}

// A text file as players' tools save it (TextEncoding.h), or the error that
// names the file.
std::string DecodedText(const MapPath& path, const std::vector<std::uint8_t>& content) {
  try {
    return TextWithoutByteOrderMark(content);
  } catch (const std::runtime_error& error) {
    throw ArgumentError(PathText{std::string("%s: ") + error.what(), path});
  }
}

PatchOutcome PatchOutcomeOf(const MapPath& patchPath, const std::vector<std::uint8_t>& patch, const MapImage& map) {
  try {
    switch (PatchKindOfContent(patch)) {
      case PatchKind::Bps:
        return BpsOutcome(patch, map);
      case PatchKind::Ips: {
        PatchOutcome outcome;
        outcome.image = ApplyIps(patch, map);
        return outcome;
      }
      case PatchKind::Text:
        break;
    }
    ThreeWayResult result = ApplyThreeWay(ParseTextPatch(DecodedText(patchPath, patch)), map);
    PatchOutcome outcome;
    outcome.image = result.image;
    outcome.alreadyApplied = result.alreadyApplied;
    outcome.conflicts = std::move(result.conflicts);
    return outcome;
  } catch (const PatchError& error) {
    const std::string where = error.Line() > 0 ? ":" + std::to_string(error.Line()) : "";
    throw ArgumentError(PathText{"%s" + where + ": " + error.what(), patchPath});
  }
}

class Commands {
 public:
  Commands(FileSystem& files, Console& console) : files_(files), console_(console) {}

  int Run(const std::string& name, const std::vector<MapPath>& words) {
    const int status = RunCommand(name, words);
    for (const PathText& notice : notices_) ReportError(console_, notice);
    return status;
  }

 private:
  int RunCommand(const std::string& name, const std::vector<MapPath>& words) {
    if (name == "info") return Info(Words(words, 1, 1));
    if (name == "check") return Check(Words(words, 1, 1));
    if (name == "render") return Render(Words(words, 2, 2, {"--problems"}, {"--scale"}));
    if (name == "diff") return Diff(Words(words, 2, 2, {}, {"--patch"}));
    if (name == "patch") return Patch(Words(words, 2, 2, {"--dry-run"}));
    if (name == "export") return Export(Words(words, 1, 2));
    if (name == "import") return Import(Words(words, 2, 2));
    if (name == "get") return Get(Words(words, 2, 2));
    if (name == "set") return Set(Words(words, 3, 3, {"--force"}));
    if (name == "shape") return Shape(Words(words, 1, 1, {"--dry-run"}));
    if (name == "road") return Road(Words(words, 3, 3, {"--dry-run"}));
    throw ArgumentError(PathText{"コマンド %s はありません (valtea-map --help)", ToPath(name)});
  }

  // Every file is written through here. A save that could not remove the old
  // file from beside the new one is still a save: the command goes on, and
  // where the old file is is said at its end.
  void Write(const MapPath& path, const std::vector<std::uint8_t>& content) {
    try {
      WriteWholeFile(files_, path, content);
    } catch (const OldFileLeftError& notice) {
      notices_.push_back(notice.Text());
    }
  }
  void Write(const MapPath& path, const MapImage& image) {
    Write(path, std::vector<std::uint8_t>(image.begin(), image.end()));
  }

  static MapPath ToPath(const std::string& ascii) { return MapPath(ascii.begin(), ascii.end()); }

  CommandWords Words(const std::vector<MapPath>& words, std::size_t least, std::size_t most,
                     const std::vector<std::string>& flags = {}, const std::vector<std::string>& valued = {}) {
    CommandWords result(words, flags, valued);
    const std::size_t count = result.Plain().size();
    if (count < least || count > most)
      throw ArgumentError(PathText{"引数の数が違います (valtea-map --help)", {}});
    return result;
  }

  int Info(const CommandWords& words) {
    const LoadedMap map = LoadMap(files_, words.Plain()[0]);
    for (const std::string& line : InfoLines(map.image, map.fileSize)) Say(console_, line);
    return ExitSuccess;
  }

  int Check(const CommandWords& words) {
    const LoadedMap map = LoadMap(files_, words.Plain()[0]);
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
    int scale = DefaultMapPictureScale;
    if (const auto value = words.Value("--scale")) {
      const auto parsed = WholeNumberOf(*value, MaxMapPictureScale);
      if (!parsed || *parsed < 1 || *parsed > MaxMapPictureScale)
        throw ArgumentError(PathText{"--scale %s は 1..16 の数ではありません", *value});
      scale = static_cast<int>(*parsed);
    }
    const LoadedMap map = LoadMap(files_, words.Plain()[0]);
    std::vector<int> ringed;
    if (words.Has("--problems"))
      for (const RoadProblem& problem : FindRoadProblems(map.image)) ringed.push_back(problem.offset);
    Write(words.Plain()[1], EncodePng(DrawMapPicture(map.image, scale, ringed)));
    console_.Out(PathText{std::string(WrittenMessage), words.Plain()[1]});
    return ExitSuccess;
  }

  int Diff(const CommandWords& words) {
    const std::optional<MapPath> patchPath = words.Value("--patch");
    const std::optional<PatchKind> kind = patchPath ? std::optional(PatchKindOfName(*patchPath)) : std::nullopt;
    const LoadedMap before = LoadMap(files_, words.Plain()[0]);
    const LoadedMap after = LoadMap(files_, words.Plain()[1]);
    const std::vector<CellChange> changes = ChangesBetween(before.image, after.image);
    // Written before anything is said, so that a failed write leaves only its error.
    if (kind) Write(*patchPath, PatchFile(*kind, before.image, after.image, changes));
    for (const CellChange& change : changes) Say(console_, ChangeLine(change));
    Say(console_, ChangeSummary(changes.size()));
    if (kind) console_.Out(PathText{std::string(WrittenMessage), *patchPath});
    return changes.empty() ? ExitSuccess : ExitFindings;
  }

  // The text patch is exactly what diff prints, in UTF-8.
  std::vector<std::uint8_t> PatchFile(PatchKind kind, const MapImage& before, const MapImage& after,
                                      const std::vector<CellChange>& changes) {
    if (kind == PatchKind::Bps) return MakeBps(before, after);
    if (kind == PatchKind::Ips) return MakeIps(before, after);
    std::string text;
    for (const CellChange& change : changes) text += ChangeLine(change) + "\n";
    text += ChangeSummary(changes.size()) + "\n";
    const std::string utf8 = console_.Utf8Of(PathText{text, {}});
    return std::vector<std::uint8_t>(utf8.begin(), utf8.end());
  }

  int Patch(const CommandWords& words) {
    const MapPath& path = words.Plain()[0];
    const MapPath& patchPath = words.Plain()[1];
    const LoadedMap map = LoadMap(files_, path);
    const PatchOutcome outcome = PatchOutcomeOf(patchPath, ReadSmallFile(files_, patchPath), map.image);
    if (outcome.misfit || !outcome.conflicts.empty()) {
      for (const PatchConflict& conflict : outcome.conflicts) Say(console_, ConflictLine(conflict));
      if (outcome.misfit) console_.Out(PathText{*outcome.misfit + "\n", patchPath});
      Say(console_, PatchSummary(0, outcome.alreadyApplied, outcome.conflicts.size()));
      Say(console_, std::string(MisfitMessage));
      return ExitFindings;
    }
    const Saved saved = SaveIfChanged(words, path, map.image, outcome.image);
    const std::vector<CellChange> changes = ChangesBetween(map.image, outcome.image);
    for (const CellChange& change : changes) Say(console_, ChangeLine(change));
    if (outcome.appliedBefore) Say(console_, "このパッチはもう当ててあります");
    Say(console_, PatchSummary(changes.size(), outcome.alreadyApplied, 0));
    SaySaved(saved, path);
    return ExitSuccess;
  }

  // One line per differing byte, by increasing offset.
  void SayDifferences(const MapImage& before, const MapImage& after) {
    for (const CellChange& change : ChangesBetween(before, after)) Say(console_, ChangeLine(change));
  }

  int Export(const CommandWords& words) {
    const MapForm form = words.Plain().size() == 1 ? MapForm::Text : MapFormOfName(words.Plain()[1]);
    const LoadedMap map = LoadMap(files_, words.Plain()[0]);
    if (form == MapForm::Tiled) return ExportTiled(map.image, words.Plain()[1]);
    const std::string text = MapToText(map.image);
    if (words.Plain().size() == 1) {
      console_.OutUtf8(text);
      return ExitSuccess;
    }
    Write(words.Plain()[1], std::vector<std::uint8_t>(text.begin(), text.end()));
    console_.Out(PathText{std::string(WrittenMessage), words.Plain()[1]});
    return ExitSuccess;
  }

  // The picture first, so that Tiled never finds the map without its tiles.
  int ExportTiled(const MapImage& image, const MapPath& path) {
    const MapPath picturePath = TilesetPicturePath(path);
    Write(picturePath, EncodePng(TilesetPicture()));
    const std::string json =
        TiledMapJson(image, [this](std::string_view text) { return console_.Utf8Of(PathText{std::string(text), {}}); });
    Write(path, std::vector<std::uint8_t>(json.begin(), json.end()));
    console_.Out(PathText{std::string(WrittenMessage), picturePath});
    console_.Out(PathText{std::string(WrittenMessage), path});
    return ExitSuccess;
  }

  int Import(const CommandWords& words) {
    const MapPath& textPath = words.Plain()[0];
    if (MapFormOfName(textPath) == MapForm::Tiled) {
      Write(words.Plain()[1], ReadTiledMapFile(textPath, ReadSmallFile(files_, textPath)));
      console_.Out(PathText{std::string(WrittenMessage), words.Plain()[1]});
      return ExitSuccess;
    }
    // As spreadsheets save it: Excel's "CSV UTF-8" with a byte order mark,
    // its plain "CSV" in Shift-JIS, PowerShell's UTF-16LE; positions of
    // faults count in the text as UTF-8.
    const std::string text = DecodedText(textPath, ReadSmallFile(files_, textPath));
    MapImage image{};
    try {
      ParseMapText(text, image);
    } catch (const MapTextError& error) {
      const std::string where = ":" + std::to_string(error.Line()) + ":" + std::to_string(error.Column()) + ": ";
      throw ArgumentError(PathText{"%s" + where + error.what(), textPath});
    }
    Write(words.Plain()[1], image);
    console_.Out(PathText{std::string(WrittenMessage), words.Plain()[1]});
    return ExitSuccess;
  }

  int Get(const CommandWords& words) {
    const LoadedMap map = LoadMap(files_, words.Plain()[0]);
    const int offset = ParseCell(words.Plain()[1]);
    Say(console_, CellLine(offset, map.image[offset]));
    return ExitSuccess;
  }

  int Set(const CommandWords& words) {
    const MapPath& path = words.Plain()[0];
    LoadedMap map = LoadMap(files_, path);
    const int offset = ParseCell(words.Plain()[1]);
    const TerrainCode code = ParseCode(words.Plain()[2]);
    const TerrainCode old = map.image[offset];
    if (!words.Has("--force")) RefuseWhatTheEditorRefuses(offset, old, code);
    map.image[offset] = code;
    Write(path, map.image);
    Say(console_, ChangeLine({offset, old, code}));
    console_.Out(PathText{std::string(WrittenMessage), path});
    return ExitSuccess;
  }

  int Shape(const CommandWords& words) {
    const MapPath& path = words.Plain()[0];
    const LoadedMap map = LoadMap(files_, path);
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
    const LoadedMap map = LoadMap(files_, path);
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

  // A changed map is written before anything is said about it, so that a
  // failed write leaves only its error.
  enum class Saved { Written, DryRun, Unchanged };
  Saved SaveIfChanged(const CommandWords& words, const MapPath& path, const MapImage& before, const MapImage& after) {
    if (before == after) return Saved::Unchanged;
    if (words.Has("--dry-run")) return Saved::DryRun;
    Write(path, after);
    return Saved::Written;
  }

  void SaySaved(Saved saved, const MapPath& path) {
    if (saved == Saved::Written) console_.Out(PathText{std::string(WrittenMessage), path});
    if (saved == Saved::DryRun) Say(console_, std::string(DryRunMessage));
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
};

}  // namespace

int RunValteaMap(const std::vector<MapPath>& arguments, FileSystem& files, Console& console) {
  const std::string first = arguments.empty() ? std::string() : AsciiOf(arguments[0]);
  if (first == "--help" || first == "-h") {
    console.Out(PathText{std::string(Help), {}});
    return ExitSuccess;
  }
  if (first == "--version") {
    Say(console, std::string(VersionLine));
    return ExitSuccess;
  }
  try {
    if (arguments.empty()) throw ArgumentError(PathText{"コマンドがありません (valtea-map --help)", {}});
    const std::vector<MapPath> words(arguments.begin() + 1, arguments.end());
    return Commands(files, console).Run(first, words);
  } catch (const ArgumentError& error) {
    ReportError(console, error.Text());
  } catch (const MapFileError& error) {
    ReportError(console, error.Text());
  } catch (const std::exception& error) {
    console.Error(PathText{std::string("valtea-map: ") + error.what() + "\n", {}});
  }
  return ExitError;
}
