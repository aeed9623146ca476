// valtea-map as a user runs it: the real program on real files, natively and
// (the same tests in the Windows tree) as valtea-map.exe under Wine. Its
// output is UTF-8 whether it goes to a terminal or a file, so the expected
// texts are UTF-8 literals.

#include <gtest/gtest.h>

#include <array>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include "cli/ShiftJisToUtf8.h"
#endif
#include "map/HexGrid.h"
#include "map/MapFile.h"
#include "map/TextEncoding.h"
#include "map/RoadWay.h"
#include "model/EditorModel.h"
#include "support/FakeEditorView.h"
#include "support/MemoryFileSystem.h"
#include "support/PngReading.h"
#include "support/RandomLand.h"
#include "support/ProgramRun.h"
#include "support/TempFolder.h"
#include "support/TiledLayers.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr int Success = 0, Findings = 1, Error = 2;

std::string Utf8(const MapPath& path) { return fs::path(path).u8string(); }

class ValteaMap : public ::testing::Test {
 protected:
  TempFolder folder;
  MapPath map = folder.File(u"MAPDATA.VLT");

  static ProgramRun Run(const std::vector<MapPath>& arguments) {
    const std::string program = VALTEA_MAP_PROGRAM;
    return RunProgram(MapPath(program.begin(), program.end()), arguments);
  }

  // A whole map of one code, with some cells set: COLUMN, ROW, CODE.
  static Bytes MapOf(TerrainCode fill, std::initializer_list<std::array<int, 3>> cells = {}) {
    Bytes bytes(MapSize, fill);
    for (const auto& [column, row, code] : cells) bytes.at(CellToOffset(column, row)) = static_cast<std::uint8_t>(code);
    return bytes;
  }

  ProgramRun Check(const Bytes& bytes) {
    WriteBytes(map, bytes);
    return Run({u"check", map});
  }

  // A failure: status 2, the message on stderr, nothing written anywhere.
  void ExpectRefused(const ProgramRun& run, const std::string& message) {
    EXPECT_EQ(run.status, Error);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, u8"valtea-map: " + message + "\n");
  }
  static std::string Utf8Text(const MapPath& path) {
    const Bytes bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
  }

  // The command lines of examples in a text, without "valtea-map": after
  // "例: " in the help, "$ " in the README and "> " or blanks in the guide.
  // Lines with placeholders in capitals other than the map's name, or with a
  // redirection, are descriptions, not examples.
  static std::vector<std::vector<std::string>> ExamplesIn(const std::string& text) {
    std::vector<std::vector<std::string>> examples;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const auto start = line.find("valtea-map ");
      if (start == std::string::npos) continue;
      const std::string before = line.substr(0, start);
      const bool blanksOnly = before.find_first_not_of(' ') == std::string::npos;
      const bool prompt = before == u8"      例: " || before == "$ " || before.find_first_not_of(' ') == before.find("> ");
      if (!blanksOnly && !prompt) continue;
      std::istringstream words(line.substr(start + 11));
      std::vector<std::string> example;
      for (std::string word; words >> word && word != "#";) example.push_back(word);
      const bool placeholder = std::any_of(example.begin(), example.end(), [](const std::string& word) {
        return word == "MAP" || word.find("OUT") != std::string::npos || word.rfind("IN.", 0) == 0 || word == "CELL" ||
               word == "..." || word == ">" || word[0] == '"' || word == "|";
      });
      if (!example.empty() && example[0].rfind("--", 0) != 0 && !placeholder) examples.push_back(example);
    }
    return examples;
  }

  std::size_t FilesInFolder() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()));
  }
};

constexpr TerrainCode Plain = 4, Castle = 31;

// What follows a refusal on lines of their own.
const std::string NotFound = u8"\nvaltea-map: 理由: そのファイルかフォルダがありません";
std::string WrongCount(const std::string& usage) {
  return u8"引数の数が違います\nvaltea-map: 使い方: valtea-map " + usage;
}

// ---- version, help, arguments ----

TEST_F(ValteaMap, TellsItsVersionAndExplainsEveryCommandWithAnExample) {
  EXPECT_EQ(Run({u"--version"}).out, "valtea-map 0.1\n");
  const ProgramRun help = Run({u"--help"});
  EXPECT_EQ(help.status, Success);
  for (const char* command :
       {"info", "check", "network", "render", "diff", "export", "import", "get", "set", "shape", "road"}) {
    EXPECT_NE(help.out.find(std::string("valtea-map ") + command + " "), std::string::npos) << command;
    EXPECT_NE(help.out.find(std::string(u8"例: valtea-map ") + command + " "), std::string::npos) << command;
  }
}

TEST_F(ValteaMap, RefusesBadArgumentsWithStatusTwo) {
  WriteBytes(map, MapOf(Plain));
  ExpectRefused(Run({}), u8"コマンドがありません (valtea-map --help)");
  ExpectRefused(Run({u"frobnicate", map}), u8"コマンド frobnicate はありません (valtea-map --help)");
  ExpectRefused(Run({u"info"}), WrongCount("info MAP"));
  ExpectRefused(Run({u"diff", map}), WrongCount("diff OLD NEW [--patch OUT]"));
  ExpectRefused(Run({u"check", map, u"--force"}), u8"オプション --force はこのコマンドにはありません");
  ExpectRefused(Run({u"render", map, folder.File(u"m.png"), u"--scale"}), u8"オプション --scale の値がありません");
  const MapPath missing = folder.File(u"NONE.VLT");
  ExpectRefused(Run({u"info", missing}), u8"ファイル " + Utf8(missing) + u8" は開けません" + NotFound);
  EXPECT_EQ(FilesInFolder(), 1u);
}

// Help for one command, from either spelling, in lines a terminal of 80
// columns shows whole (a Japanese character takes two).
TEST_F(ValteaMap, HelpOfOneCommandFitsEightyColumns) {
  const ProgramRun whole = Run({u"--help"});
  for (const char16_t* command : {u"info", u"render", u"patch", u"road"}) {
    const ProgramRun help = Run({u"help", command});
    EXPECT_EQ(help.status, Success);
    EXPECT_EQ(help.out, Run({command, u"--help"}).out);
    EXPECT_EQ(help.out.rfind("valtea-map " + Utf8(command) + " ", 0), 0u) << help.out;
    EXPECT_NE(whole.out.find(help.out), std::string::npos) << help.out;
  }
  ExpectRefused(Run({u"help", u"frobnicate"}), u8"コマンド frobnicate はありません (valtea-map --help)");
  std::size_t columns = 0;
  for (std::size_t i = 0; i < whole.out.size(); ++i) {
    const auto byte = static_cast<unsigned char>(whole.out[i]);
    if (byte == '\n') columns = 0;
    else if (byte < 0x80) ++columns;
    else if (byte >= 0xC0) columns += 2;  // the first byte of a character beyond ASCII
    EXPECT_LE(columns, 80u) << whole.out.substr(whole.out.rfind('\n', i) + 1, i - whole.out.rfind('\n', i));
  }
}

// Every example of the help, the README and the player's guide, in the
// order each gives them, on a copy of the sample map: none is refused, and
// those of set and road change the map.
TEST_F(ValteaMap, EveryExampleWorksOnTheSampleMap) {
  const MapPath source = VALTEA_SOURCE_FOLDER_U16;
  const std::string help = Run({u"--help"}).out;
  const std::string readme = Utf8Text(source + u"/README.md");
  const std::string guide = Utf8Text(source + u"/docs/release/valtea-map.ja.txt");
  const Bytes sample = ReadBytes(source + u"/samples/MAPDATA.VLT");
  for (const std::string* text : {&help, &readme, &guide}) {
    WriteBytes(map, sample);
    WriteBytes(folder.File(u"MAPDATA.VLT.bak"), sample);
    const std::vector<std::vector<std::string>> examples = ExamplesIn(*text);
    EXPECT_GE(examples.size(), 8u);
    for (const std::vector<std::string>& example : examples) {
      std::vector<MapPath> arguments;
      std::string shown;
      for (const std::string& word : example) {
        shown += word + " ";
        const bool isFile = word.find('.') != std::string::npos && word[0] != '-' && word.find(':') == std::string::npos;
        arguments.push_back(isFile ? folder.File(Utf16FromUtf8(word)) : Utf16FromUtf8(word));
      }
      const ProgramRun run = Run(arguments);
      EXPECT_NE(run.status, Error) << shown << run.err;
      if (example[0] == "set" || example[0] == "road") {
        EXPECT_EQ(run.out.find(u8"変わりません"), std::string::npos) << shown;
      }
    }
  }
}

TEST_F(ValteaMap, OptionsTakeTheirValueAfterAnEqualsSignToo) {
  WriteBytes(map, MapOf(Plain));
  const MapPath png = folder.File(u"map.png");
  EXPECT_EQ(Run({u"render", map, png, u"--scale=2"}).status, Success);
  EXPECT_EQ(DecodePng(ReadBytes(png)).image.width, 1408);
  ExpectRefused(Run({u"render", map, png, u"--scale=0"}), u8"--scale 0 は 1..16 の数ではありません");
  ExpectRefused(Run({u"render", map, png, u"--size=2"}), u8"オプション --size はこのコマンドにはありません");
}

// ---- info, get ----

TEST_F(ValteaMap, InfoCountsTerrainsAndNamesTheSizeAndTheUnknownBytesOfAShortFile) {
  Bytes bytes(100, Plain);
  bytes[7] = 200;
  bytes[99] = 35;
  WriteBytes(map, bytes);
  const ProgramRun run = Run({u"info", map});
  EXPECT_EQ(run.status, Success);
  for (const char* line : {u8"ファイルの大きさ: 100 バイト (地図は 26576 バイト)\n", u8"0 　  海: 26476\n",
                           u8"4 平 平地: 98\n", u8"31 ■ 本城: 0\n", u8"35 以上のバイト: 2\n  2:5 0x7 7: 200\n  2:51 0x63 99: 35\n"})
    EXPECT_NE(run.out.find(line), std::string::npos) << line << run.out;
}

// A huge file (sparse, so it takes no room) costs what a map costs: only
// the bytes that matter are read, by every command.
TEST_F(ValteaMap, AHugeFileIsReadOnlyAsFarAsItMatters) {
  constexpr std::uintmax_t Huge = 3ull << 30;
  WriteBytes(map, MapOf(Plain));
  fs::resize_file(fs::path(map), Huge);
  const ProgramRun info = Run({u"info", map});
  EXPECT_EQ(info.status, Success);
  EXPECT_NE(info.out.find(u8"ファイルの大きさ: 3221225472 バイト (地図は 26576 バイト)\n"), std::string::npos);
  EXPECT_NE(info.out.find(u8"4 平 平地: 26576\n"), std::string::npos) << info.out;
  const MapPath csv = folder.File(u"map.csv");
  WriteBytes(csv, {'#'});
  fs::resize_file(fs::path(csv), Huge);
  ExpectRefused(Run({u"import", csv, map}), u8"ファイル " + Utf8(csv) + u8" は大きすぎます");
  EXPECT_EQ(fs::file_size(fs::path(map)), Huge) << "the map was written";
}

TEST_F(ValteaMap, InfoOfTheSampleMap) {
  const ProgramRun run = Run({u"info", MapPath(u"" VALTEA_SOURCE_FOLDER_U16 u"/samples/MAPDATA.VLT")});
  EXPECT_EQ(run.status, Success);
  EXPECT_EQ(run.out.find(u8"ファイルの大きさ"), std::string::npos);
  EXPECT_NE(run.out.find(u8"29 \\\\ 橋　　\\\\: 8\n30 // 橋　　//: 7\n31 ■ 本城: 35\n32 京 京都: 1\n"), std::string::npos);
  EXPECT_NE(run.out.find(u8"道路: 830  橋: 15  町: 3  城: 35\n35 以上のバイト: 0\n"), std::string::npos);
}

TEST_F(ValteaMap, GetNamesOneCellByColumnAndRowOrByOffset) {
  WriteBytes(map, MapOf(Plain));
  for (const MapPath& cell : {MapPath(u"5:10"), MapPath(u"@320"), MapPath(u"@0x140")})
    EXPECT_EQ(Run({u"get", map, cell}).out, u8"5:10 0x140 320: 平 (4) 平地\n");
  EXPECT_EQ(Run({u"get", map, u"@26575"}).out, u8"351:76 0x67CF 26575: 平 (4) 平地\n");
  ExpectRefused(Run({u"get", map, u"4:1"}), u8"マス 4:1 は偶数列の 1 行目で、地図のバイトがありません");
  ExpectRefused(Run({u"get", map, u"353:1"}), u8"マス 353:1 は地図の外です (列 1..352、行 1..76)");
  ExpectRefused(Run({u"get", map, u"0:5"}), u8"マス 0:5 は地図の外です (列 1..352、行 1..76)");
  ExpectRefused(Run({u"get", map, u"@26576"}), u8"オフセット @26576 は地図の外です (0..26575)");
  ExpectRefused(Run({u"get", map, u"5-10"}), u8"マス 5-10 が読めません (列:行 か @オフセット、例 5:10 や @302)");
}

// ---- set ----

TEST_F(ValteaMap, SetChangesOneByteByTheEditorsRules) {
  WriteBytes(map, MapOf(Plain, {{5, 10, 2}}));
  ExpectRefused(Run({u"set", map, u"5:10", u"18"}), u8"5:10 の 山 (2) はエディタでは変えられません (--force で書けます)");
  ExpectRefused(Run({u"set", map, u"5:12", u"31"}), u8"コード 31 は道路の選択肢にありません (--force で書けます)");
  ExpectRefused(Run({u"set", map, u"5:12", u"256", u"--force"}), u8"コード 256 は 0..255 の外です");
  ExpectRefused(Run({u"set", map, u"5:12", u"x1"}), u8"コード x1 が数ではありません");
  ExpectRefused(Run({u"set", map, u"2:1", u"18"}), u8"マス 2:1 は偶数列の 1 行目で、地図のバイトがありません");
  EXPECT_EQ(ReadBytes(map), MapOf(Plain, {{5, 10, 2}}));

  const ProgramRun road = Run({u"set", map, u"5:12", u"0x12"});
  EXPECT_EQ(road.status, Success);
  EXPECT_EQ(road.out, u8"5:12 0x144 324: 平 (4) -> ／ (18)\n書き込みました: " + Utf8(map) + "\n");
  EXPECT_EQ(Run({u"set", map, u"5:10", u"200", u"--force"}).status, Success);
  EXPECT_EQ(ReadBytes(map), MapOf(Plain, {{5, 10, 200}, {5, 12, 18}}));
  EXPECT_EQ(FilesInFolder(), 1u) << "the new file took the old one's place";
}

// ---- check ----

TEST_F(ValteaMap, CheckFindsALooseEndAndAcceptsEveryPlaceWhereRoadsEnd) {
  // ／ joins north-east and south-west, ＼ north-west and south-east.
  const ProgramRun run = Check(MapOf(Plain, {{101, 30, 18}, {102, 30, 7}, {100, 31, 16},     // harbour, palace
                                             {151, 30, 19}, {150, 30, 32}, {152, 31, 33},    // Kyoto, Sakai
                                             {201, 30, 18}, {202, 30, 34}, {200, 31, 17},    // Hakata, river mouth
                                             {251, 30, 18}, {252, 30, 31}, {250, 31, 4}}));  // castle, plain
  EXPECT_EQ(run.status, Findings);
  EXPECT_EQ(run.out, u8"201:30 ／ (18) 南西: 道が 200:31 河 (17) で途切れています\n"
                     u8"251:30 ／ (18) 南西: 道が 250:31 平 (4) で途切れています\n"
                     u8"道路網の問題: 2 件\n");
}

TEST_F(ValteaMap, CheckFindsAPieceThatDoesNotJoinBackOnce) {
  // Castles all around, so that only the two pieces can fail.
  const ProgramRun run = Check(MapOf(Castle, {{101, 30, 18}, {102, 30, 19}}));
  EXPECT_EQ(run.status, Findings);
  EXPECT_EQ(run.out, u8"101:30 ／ (18) 北東: 102:30 ＼ (19) がこちらへつながっていません\n道路網の問題: 1 件\n");
}

TEST_F(ValteaMap, CheckFindsRoadsOffTheMapAtEveryEdge) {
  const ProgramRun run = Check(MapOf(Castle, {{1, 30, 18}, {3, 1, 21}, {352, 76, 28}}));
  EXPECT_EQ(run.status, Findings);
  EXPECT_EQ(run.out, u8"1:30 ／ (18) 南西: 道が地図の外へ出ています\n"
                     u8"3:1 ∨ (21) 北東: 道が地図の外へ出ています\n"
                     u8"3:1 ∨ (21) 北西: 道が地図の外へ出ています\n"
                     u8"352:76 Χ (28) 北東: 道が地図の外へ出ています\n"
                     u8"352:76 Χ (28) 南東: 道が地図の外へ出ています\n"
                     u8"道路網の問題: 5 件\n");
}

TEST_F(ValteaMap, CheckAcceptsACleanCrossroadsAndPiecesSideBySide) {
  // Χ with a road and a bridge on each diagonal, each arm ending at a castle;
  // and two ＼ side by side and a ／ below, which join nothing of each other.
  const ProgramRun run = Check(MapOf(Plain, {{101, 30, 28}, {102, 30, 18}, {103, 29, 31}, {102, 31, 19},
                                             {103, 31, 31}, {100, 31, 30}, {99, 31, 31}, {100, 30, 29},
                                             {99, 29, 31}}));
  EXPECT_EQ(run.out, u8"道路網に問題はありません\n");
  EXPECT_EQ(run.status, Success);
  EXPECT_EQ(Check(MapOf(Castle, {{201, 30, 19}, {202, 30, 19}, {201, 31, 18}})).status, Success);
}

TEST_F(ValteaMap, TheSampleMapIsClean) {
  const ProgramRun run = Run({u"check", MapPath(u"" VALTEA_SOURCE_FOLDER_U16 u"/samples/MAPDATA.VLT")});
  EXPECT_EQ(run.out, u8"道路網に問題はありません\n");
  EXPECT_EQ(run.status, Success);
}

// ---- diff ----

TEST_F(ValteaMap, DiffListsEveryDifferentByte) {
  const MapPath other = folder.File(u"NEW.VLT");
  WriteBytes(map, MapOf(Plain));
  WriteBytes(other, MapOf(Plain));
  const ProgramRun same = Run({u"diff", map, other});
  EXPECT_EQ(same.out, u8"違いはありません\n");
  EXPECT_EQ(same.status, Success);
  Bytes changed = MapOf(Plain);
  changed[302] = 18;
  changed[26575] = 200;
  WriteBytes(other, changed);
  const ProgramRun run = Run({u"diff", map, other});
  EXPECT_EQ(run.out, u8"5:1 0x12E 302: 平 (4) -> ／ (18)\n351:76 0x67CF 26575: 平 (4) -> ？ (200)\n違うバイト: 2\n");
  EXPECT_EQ(run.status, Findings);
}

// ---- patches ----

// A mod: the road at 19:30 becomes plain, 5:10 a bridge, the last cell a
// byte of 35 or more.
class ValteaMapPatch : public ValteaMap {
 protected:
  const Bytes original = MapOf(Plain, {{19, 30, 19}, {5, 10, 28}});
  const Bytes modded = MapOf(Plain, {{19, 30, 4}, {5, 10, 29}, {352, 76, 200}});
  const std::string lines = u8"5:10 0x140 320: Χ (28) -> \\\\ (29)\n19:30 0x589 1417: ＼ (19) -> 平 (4)\n"
                            u8"352:76 0x67CE 26574: 平 (4) -> ？ (200)\n";
  const MapPath before = folder.File(u"ORIGINAL.VLT");
  const MapPath after = folder.File(u"MODDED.VLT");

  MapPath MakePatch(const std::u16string& name) {
    WriteBytes(before, original);
    WriteBytes(after, modded);
    const MapPath patch = folder.File(name);
    const ProgramRun run = Run({u"diff", before, after, u"--patch", patch});
    EXPECT_EQ(run.status, Findings);
    EXPECT_EQ(run.out, lines + u8"違うバイト: 3\n書き込みました: " + Utf8(patch) + "\n");
    return patch;
  }
};

// Each format onto the map it was made from, a dry run first, then again:
// the second time there is nothing left to do.
TEST_F(ValteaMapPatch, EveryFormatAppliesOnceAndThenFindsNothingToDo) {
  const std::string unchecked = u8"valtea-map: 注意: IPS パッチは元の地図を確かめられないので、どの地図にもそのまま当たります。"
                                u8"作られた地図と違うかどうかは分かりません\n";
  const struct {
    const char16_t* name;
    std::string again;
    std::string warning;
  } formats[] = {{u"mod.txt", u8"変えたマス: 0  当て済みのマス: 3  衝突: 0\n", ""},
                 {u"mod.bps", u8"このパッチはもう当ててあります\n変えたマス: 0  当て済みのマス: 0  衝突: 0\n", ""},
                 {u"mod.ips", u8"変えたマス: 0  当て済みのマス: 0  衝突: 0\n", unchecked}};
  for (const auto& format : formats) {
    SCOPED_TRACE(Utf8(format.name));
    const MapPath patch = MakePatch(format.name);
    WriteBytes(map, original);
    const std::string summary = u8"変えたマス: 3  当て済みのマス: 0  衝突: 0\n";
    const ProgramRun dry = Run({u"patch", map, patch, u"--dry-run"});
    EXPECT_EQ(dry.out, lines + summary + u8"--dry-run なので書き込みません\n");
    EXPECT_EQ(ReadBytes(map), original);
    const ProgramRun run = Run({u"patch", map, patch});
    EXPECT_EQ(run.status, Success);
    EXPECT_EQ(run.out, lines + summary + u8"書き込みました: " + Utf8(map) + "\n");
    EXPECT_EQ(run.err, format.warning);
    EXPECT_EQ(ReadBytes(map), modded);
    const ProgramRun twice = Run({u"patch", map, patch});
    EXPECT_EQ(twice.status, Success);
    EXPECT_EQ(twice.out, format.again + u8"変わりません: " + Utf8(map) + "\n");
    EXPECT_EQ(ReadBytes(map), modded);
  }
  ExpectRefused(Run({u"diff", before, after, u"--patch", folder.File(u"mod.zip")}),
                u8"パッチ " + Utf8(folder.File(u"mod.zip")) + u8" の名前は .txt、.bps か .ips で終わりません");
}

// Two mods made from the same original: the second lands beside the first,
// except where both change one cell differently.
TEST_F(ValteaMapPatch, ASecondModMergesAndACellBothChangeIsAConflict) {
  const MapPath first = MakePatch(u"first.txt");
  WriteBytes(after, MapOf(Plain, {{19, 30, 18}, {5, 10, 28}, {352, 76, 200}, {100, 30, 31}}));
  const MapPath second = folder.File(u"second.txt");
  Run({u"diff", before, after, u"--patch", second});
  WriteBytes(map, original);
  ASSERT_EQ(Run({u"patch", map, first}).status, Success);

  const ProgramRun run = Run({u"patch", map, second});
  EXPECT_EQ(run.status, Findings);
  EXPECT_EQ(run.out, u8"19:30 0x589 1417: 地図は 平 (4)、パッチは ＼ (19) -> ／ (18)\n"
                     u8"変えたマス: 0  当て済みのマス: 1  衝突: 1\n合わないので書き込みません\n");
  EXPECT_EQ(ReadBytes(map), modded) << "nothing written";
  // Unless the player says which side each conflicting cell keeps.
  const struct {
    const char16_t* option;
    std::string kept;
    TerrainCode code;
  } sides[] = {{u"--ours", u8"  → 地図のまま", Plain}, {u"--theirs", u8"  → パッチの後のコードにします", 18}};
  for (const auto& side : sides) {
    WriteBytes(map, modded);
    const ProgramRun resolved = Run({u"patch", map, second, side.option});
    EXPECT_EQ(resolved.status, Success);
    EXPECT_EQ(resolved.out.substr(0, resolved.out.find('\n')),
              u8"19:30 0x589 1417: 地図は 平 (4)、パッチは ＼ (19) -> ／ (18)" + side.kept);
    EXPECT_EQ(ReadBytes(map), MapOf(Plain, {{19, 30, side.code}, {5, 10, 29}, {352, 76, 200}, {100, 30, 31}}));
  }
  ExpectRefused(Run({u"patch", map, second, u"--ours", u"--theirs"}), u8"--ours と --theirs は一緒には使えません");
  // The same misfit in BPS: made for another map, it does not fit this one.
  const MapPath bps = MakePatch(u"mod.bps");
  WriteBytes(map, MapOf(Castle));
  const ProgramRun misfit = Run({u"patch", map, bps});
  EXPECT_EQ(misfit.status, Findings);
  EXPECT_EQ(misfit.out, u8"BPS パッチ " + Utf8(bps) + u8" はこの地図には当たりません。BPS は作られたときの地図そのもの\n"
                        u8"(CRC-32 で確かめます) にしか当たらず、この地図はそれと違います。\n"
                        u8"地図の自分の編集を残して当てるには、テキストのパッチ (.txt) を使ってください。\n"
                        u8"合わないので書き込みません\n");
  EXPECT_EQ(ReadBytes(map), MapOf(Castle));
}

// Several mods in one go, each onto the map the ones before it left: where
// the second wants a cell the first changed otherwise, its conflict names the
// first; a BPS that no longer fits after the ones before it writes nothing.
TEST_F(ValteaMapPatch, SeveralModsApplyInOrderAndAConflictNamesThePatchBefore) {
  const MapPath bps = MakePatch(u"first.bps");
  const MapPath first = MakePatch(u"first.txt");
  WriteBytes(after, MapOf(Plain, {{19, 30, 18}, {5, 10, 28}, {352, 76, 200}, {100, 30, 31}}));
  const MapPath second = folder.File(u"second.txt");
  Run({u"diff", before, after, u"--patch", second});
  const std::string conflict =
      u8"second.txt: 19:30 0x589 1417: 地図は (first.txt の後) 平 (4)、パッチは ＼ (19) -> ／ (18)";
  struct Row {
    std::vector<MapPath> patches;
    int status;
    std::string firstLine;
    Bytes written;
  };
  const Row rows[] = {
      {{first, second}, Findings, conflict, original},
      {{first, second, u"--theirs"}, Success, conflict + u8"  → パッチの後のコードにします",
       MapOf(Plain, {{19, 30, 18}, {5, 10, 29}, {352, 76, 200}, {100, 30, 31}})},
      {{second, bps, u"--theirs"}, Findings, u8"BPS パッチ " + Utf8(bps) + u8" はこの地図には当たりません。BPS は作られたときの地図そのもの",
       original},
  };
  for (const Row& row : rows) {
    WriteBytes(map, original);
    std::vector<MapPath> words{u"patch", map};
    words.insert(words.end(), row.patches.begin(), row.patches.end());
    const ProgramRun run = Run(words);
    EXPECT_EQ(run.status, row.status) << row.firstLine;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), row.firstLine);
    EXPECT_EQ(ReadBytes(map), row.written) << row.firstLine;
  }
}

// What players' tools write: Notepad's Shift-JIS with CR LF and a modder's
// comment, UTF-8 with a byte order mark, and Windows PowerShell's UTF-16LE.
TEST_F(ValteaMapPatch, TextPatchesInEveryEncodingOfPlayersTools) {
  const char shiftJis[] = "# 街道を直す mod\r\n19:30 0x589 1417: ＼ (19) -> 平 (4)\r\n違うバイト: 1\r\n";
  const std::string utf8 = u8"\xEF\xBB\xBF# 街道を直す mod\n19:30 0x589 1417: ＼ (19) -> 平 (4)\n違うバイト: 1\n";
  // Copied from a chat, with blanks and tabs at the line ends.
  const std::string copied = u8"19:30 0x589 1417: ＼ (19) -> 平 (4) \t\n違うバイト: 1  \n";
  const std::u16string utf16 = u"\uFEFF# 街道を直す mod\r\n19:30 0x589 1417: ＼ (19) -> 平 (4)\r\n違うバイト: 1\r\n";
  Bytes utf16Le, utf16Be;
  for (char16_t unit : utf16) {
    utf16Le.insert(utf16Le.end(), {static_cast<std::uint8_t>(unit), static_cast<std::uint8_t>(unit >> 8)});
    utf16Be.insert(utf16Be.end(), {static_cast<std::uint8_t>(unit >> 8), static_cast<std::uint8_t>(unit)});
  }
  const MapPath patch = folder.File(u"mod.txt");
  for (const Bytes& text : {Bytes(shiftJis, shiftJis + sizeof shiftJis - 1), Bytes(utf8.begin(), utf8.end()), utf16Le,
                            utf16Be, Bytes(copied.begin(), copied.end())}) {
    WriteBytes(map, original);
    WriteBytes(patch, text);
    const ProgramRun run = Run({u"patch", map, patch});
    EXPECT_EQ(run.status, Success) << run.err;
    EXPECT_EQ(ReadBytes(map), MapOf(Plain, {{19, 30, 4}, {5, 10, 28}}));
  }
}

// A damaged patch is refused whole, with where and why, and nothing written.
TEST_F(ValteaMapPatch, RefusesDamagedPatchesAndWritesNothing) {
  const MapPath patch = folder.File(u"mod.txt");
  const std::string line = u8"19:30 0x589 1417: ＼ (19) -> 平 (4)\n";
  const struct {
    std::string text;
    std::string error;
  } damaged[] = {
      {line, u8":2: 最後の集計の行 (違うバイト: 数) がありません。パッチが途中で切れています"},
      {line + u8"違うバイト: 2\n", u8":2: 集計は 2 件ですが、変わるマスは 1 行です"},
      {u8"19:31 0x589 1417: ＼ (19) -> 平 (4)\n違うバイト: 1\n", u8":1: オフセット 1417 のマスは 19:30 です"},
      {u8"19:30 0x588 1417: ＼ (19) -> 平 (4)\n違うバイト: 1\n", u8":1: 16 進と 10 進のオフセットが違います"},
      {u8"19:30 0x589 1417: ＼ (19) -> 平 (256)\n違うバイト: 1\n", u8":1: 256 は 0..255 の外です"},
      {u8"19:30 0x589 1417: ＼ 19 -> 平 (4)\n違うバイト: 1\n", u8":1: コードが (数) の形で書かれていません"},
      {line + line + u8"違うバイト: 2\n", u8":2: マス 19:30 が二度あります"},
      {line + u8"違うバイト: 1\n" + line, u8":3: 集計の行の後に行があります"},
      {u8"mod を当ててください\n", u8":1: 変わるマスの行でも集計の行でもありません"},
      {"\xFF\xFE\x31", u8": UTF-16 の文字が欠けています"},
      {"BPS1", u8": BPS パッチが壊れています: 短すぎます"},
      {"PATCH\x00\x00", u8": IPS パッチが途中で切れています (EOF がありません)"},
  };
  for (const auto& [text, error] : damaged) {
    WriteBytes(map, original);
    WriteBytes(patch, Bytes(text.begin(), text.end()));
    ExpectRefused(Run({u"patch", map, patch}), Utf8(patch) + error);
    EXPECT_EQ(ReadBytes(map), original);
  }
}

// Patches another implementation made (the npm package bps; see
// tests/interop), each with the map it makes from the sample map.
// `patch PATCH MAP` instead of `patch MAP PATCH`: said as such, whichever
// of the two gives it away.
TEST_F(ValteaMapPatch, SwappedArgumentsAreSaidAsSuch) {
  const MapPath text = MakePatch(u"mod.txt"), bps = MakePatch(u"mod.bps");
  const MapPath renamed = folder.File(u"mod.dat");
  WriteBytes(renamed, ReadBytes(bps));
  WriteBytes(map, original);
  for (const auto& [first, second] : {std::pair{text, map}, std::pair{renamed, map}, std::pair{map, before}}) {
    ExpectRefused(Run({u"patch", first, second}), Utf8(first) + u8" と " + Utf8(second) +
                                                   u8" の順が逆のようです: 地図が先、パッチが後です (valtea-map patch MAP PATCH)");
  }
  EXPECT_EQ(ReadBytes(map), original);
}

TEST_F(ValteaMap, AppliesBpsPatchesThatAnotherImplementationMade) {
  const MapPath fixtures = MapPath(u"" VALTEA_SOURCE_FOLDER_U16 u"/tests/fixtures/patches/");
  const Bytes sample = ReadBytes(MapPath(u"" VALTEA_SOURCE_FOLDER_U16 u"/samples/MAPDATA.VLT"));
  for (const std::u16string name : {u"roads", u"actions"}) {
    SCOPED_TRACE(Utf8(name));
    WriteBytes(map, sample);
    const ProgramRun run = Run({u"patch", map, fixtures + name + u".bps"});
    EXPECT_EQ(run.status, Success) << run.err;
    EXPECT_EQ(ReadBytes(map), ReadBytes(fixtures + name + u".target"));
  }
}

#ifndef _WIN32
// And the other way round: bps applies the patches we make.
TEST_F(ValteaMapPatch, AnotherImplementationAppliesOurBpsPatches) {
  const std::string tools = VALTEA_INTEROP_FOLDER;
  if (!fs::exists(fs::path(tools) / "node_modules" / "bps"))
    GTEST_SKIP() << "bps is not installed in " << tools << " (scripts/test.sh installs it)";
  const MapPath patch = MakePatch(u"mod.bps");
  const MapPath made = folder.File(u"MADE.VLT");
  const std::string node = VALTEA_NODE_PROGRAM;
  const ProgramRun run = RunProgram(MapPath(node.begin(), node.end()),
                                    {fs::path(tools + "/bps-apply.mjs").u16string(), patch, before, made});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadBytes(made), modded);
}
#endif

// ---- render ----

TEST_F(ValteaMap, RenderDrawsTheMapAndRingsItsProblems) {
  WriteBytes(map, MapOf(Plain, {{101, 30, 18}}));
  const MapPath png = folder.File(u"map.png");
  const ProgramRun run = Run({u"render", map, png, u"--problems", u"--scale", u"2"});
  EXPECT_EQ(run.status, Success);
  EXPECT_EQ(run.out, u8"書き込みました: " + Utf8(png) + "\n");
  const DecodedPng picture = DecodePng(ReadBytes(png));
  ASSERT_TRUE(picture.ok);
  ASSERT_EQ(picture.image.width, 1408);
  ASSERT_EQ(picture.image.height, 304);
  // Column 101 is the 101st pair of scales; row 30 of an odd column is half row 58.
  EXPECT_EQ(picture.image.At(100 * 4 + 2 + 6, 58 * 2 + 2), Opaque(255, 0, 0)) << "the ring";
  EXPECT_EQ(picture.image.At(2, 2), Opaque(150, 206, 110)) << "plain";

  EXPECT_EQ(Run({u"render", map, png}).status, Success);
  EXPECT_EQ(DecodePng(ReadBytes(png)).image.width, 2816) << "scale 4 unless told otherwise";
}

// A castle and Kyoto joined by a ／ and a bridge like it (north-east of each
// other), a harbour no road reaches and a ／ that reaches no place.
TEST_F(ValteaMap, NetworkSaysWhatTheRoadsJoinAndHowFarApart) {
  WriteBytes(map, MapOf(Plain, {{101, 30, 31}, {102, 30, 18}, {103, 29, 30}, {104, 29, 32}, {200, 30, 7}, {250, 30, 18}}));
  const auto line = [](int column, int row, const std::string& rest) {
    char offset[32];
    std::snprintf(offset, sizeof offset, " 0x%X %d: ", CellToOffset(column, row), CellToOffset(column, row));
    return std::to_string(column) + ":" + std::to_string(row) + offset + rest + "\n";
  };
  struct Row {
    std::vector<MapPath> words;
    int status;
    std::string out, err;
  };
  const Row rows[] = {
      {{u"network", map}, Success,
       u8"道路網 1: 城 1、町 1、道路 1、橋 1\n" + line(101, 30, u8"本城") + line(104, 29, u8"京都") +
           u8"ほかの場所へ道がつながっていない場所: 1\n" + line(200, 30, u8"港湾") +
           u8"2 つ以上の場所をつなぐ道路網: 1、ほかの場所へつながっていない場所: 1、場所に届かない道路: 1\n",
       ""},
      {{u"network", map, u"--from", u"101:30"}, Success, line(104, 29, u8"京都 3 歩"), ""},
      {{u"network", map, u"--from", u"102:30"}, Error, "",
       u8"valtea-map: 102:30 の ／ (18) は場所ではありません (道のりは港湾、御所、城と町の間で測ります)\n"},
  };
  for (const Row& row : rows) {
    const ProgramRun run = Run(row.words);
    EXPECT_EQ(run.status, row.status);
    EXPECT_EQ(run.out, row.out);
    EXPECT_EQ(run.err, row.err);
  }
  // No road in the road's own colour once the networks are told apart.
  const MapPath png = folder.File(u"networks.png");
  ASSERT_EQ(Run({u"render", map, png, u"--networks", u"--scale", u"2"}).status, Success);
  const std::vector<Rgba>& pixels = DecodePng(ReadBytes(png)).image.pixels;
  EXPECT_EQ(std::count(pixels.begin(), pixels.end(), Opaque(110, 50, 20)), 0);
}

TEST_F(ValteaMap, RenderRefusesBadScalesAndWritesNothing) {
  WriteBytes(map, MapOf(Plain));
  const MapPath png = folder.File(u"map.png");
  for (const MapPath& scale : {MapPath(u"0"), MapPath(u"17"), MapPath(u"x")})
    ExpectRefused(Run({u"render", map, png, u"--scale", scale}), "--scale " + Utf8(scale) + u8" は 1..16 の数ではありません");
  const MapPath nowhere = folder.File(u"none/map.png");
  ExpectRefused(Run({u"render", map, nowhere}), u8"ファイル " + Utf8(nowhere) + u8" を作成できません" + NotFound);
  EXPECT_EQ(FilesInFolder(), 1u);
}

// ---- shape ----

TEST_F(ValteaMap, ShapeRepairsWhatCheckFindsAndReportsWhatIsLeft) {
  // castle, ／, ＼ where ／ belongs, ／, castle; and a ／ that ends nowhere.
  const Bytes broken = MapOf(Plain, {{101, 30, Castle}, {102, 30, 18}, {103, 29, 19}, {104, 29, 18}, {105, 28, Castle},
                                     {201, 30, 18}, {202, 30, Castle}});
  WriteBytes(map, broken);
  const std::string repaired = u8"103:29 0x1E4D 7757: ＼ (19) -> ／ (18)\n";
  const std::string left = u8"201:30 ／ (18) 南西: 道が 200:31 平 (4) で途切れています\n道路網の問題: 1 件\n";
  const ProgramRun dry = Run({u"shape", map, u"--dry-run"});
  EXPECT_EQ(dry.out, repaired + left + u8"--dry-run なので書き込みません\n");
  EXPECT_EQ(dry.status, Findings);
  EXPECT_EQ(ReadBytes(map), broken);

  const ProgramRun run = Run({u"shape", map});
  EXPECT_EQ(run.out, repaired + left + u8"書き込みました: " + Utf8(map) + "\n");
  EXPECT_EQ(run.status, Findings);
  Bytes expected = broken;
  expected[CellToOffset(103, 29)] = 18;
  EXPECT_EQ(ReadBytes(map), expected);
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(ValteaMap, ShapeTurnsABridgeAndEndsCleanWithStatusZero) {
  WriteBytes(map, MapOf(Plain, {{101, 30, Castle}, {102, 30, 18}, {103, 29, 29}, {104, 29, 18}, {105, 28, Castle}}));
  const ProgramRun run = Run({u"shape", map});
  EXPECT_EQ(run.out, u8"103:29 0x1E4D 7757: \\\\ (29) -> // (30)\n道路網に問題はありません\n書き込みました: " + Utf8(map) + "\n");
  EXPECT_EQ(run.status, Success);

  const ProgramRun again = Run({u"shape", map});
  EXPECT_EQ(again.out, u8"道路網に問題はありません\n変わりません: " + Utf8(map) + "\n");
  EXPECT_EQ(again.status, Success);
}

// ---- road ----

TEST_F(ValteaMap, RoadLaysTheWayAndPrintsTheChangedCellsAsDiffDoes) {
  // A river down column 103, bridged on the way.
  Bytes bytes = MapOf(Plain, {{101, 30, Castle}, {105, 28, Castle}});
  for (int row = 1; row <= 76; ++row) bytes[CellToOffset(103, row)] = 1;
  WriteBytes(map, bytes);
  const std::string laid = u8"102:30 0x1DB7 7607: 平 (4) -> ／ (18)\n"
                           u8"104:29 0x1E4C 7756: 平 (4) -> ／ (18)\n"
                           u8"103:29 0x1E4D 7757: 湖 (1) -> // (30)\n";
  const ProgramRun dry = Run({u"road", map, u"101:30", u"@0x1EE2", u"--dry-run"});
  EXPECT_EQ(dry.out, laid + u8"道の長さ: 4 歩\n--dry-run なので書き込みません\n");
  EXPECT_EQ(dry.status, Success);
  EXPECT_EQ(ReadBytes(map), bytes);

  const ProgramRun run = Run({u"road", map, u"101:30", u"105:28"});
  EXPECT_EQ(run.out, laid + u8"道の長さ: 4 歩\n書き込みました: " + Utf8(map) + "\n");
  EXPECT_EQ(run.status, Success);
  const MapPath old = folder.File(u"OLD.VLT");
  WriteBytes(old, bytes);
  EXPECT_EQ(Run({u"diff", old, map}).out, laid + u8"違うバイト: 3\n");
  EXPECT_EQ(Run({u"check", map}).status, Success);

  const ProgramRun again = Run({u"road", map, u"101:30", u"105:28"});
  EXPECT_EQ(again.out, u8"道の長さ: 4 歩\n変わりません: " + Utf8(map) + "\n") << "along the road there is";
}

TEST_F(ValteaMap, RoadRefusesAndWritesNothing) {
  const Bytes bytes = MapOf(Plain, {{101, 30, Castle}, {105, 28, Castle}, {201, 30, Castle}, {200, 30, 2},
                                    {200, 31, 2}, {202, 30, 2}, {202, 31, 2}});
  WriteBytes(map, bytes);
  ExpectRefused(Run({u"road", map, u"101:30", u"101:30"}), u8"FROM と TO が同じマス 101:30 です");
  ExpectRefused(Run({u"road", map, u"103:30", u"105:28"}),
                u8"103:30 の 平 (4) では道が終われません (道の端は港湾、御所、城、町か道路のマス)");
  ExpectRefused(Run({u"road", map, u"101:30", u"201:30"}),
                u8"101:30 から 201:30 への道がありません (山、港湾、御所、城と町は道路の端でしか通れず、"
                u8"水は 1 本の道路で 1 マスしか渡れません)");
  ExpectRefused(Run({u"road", map, u"101:30", u"2:1"}), u8"マス 2:1 は偶数列の 1 行目で、地図のバイトがありません");
  ExpectRefused(Run({u"road", map, u"101:30"}), WrongCount("road MAP FROM TO [--dry-run]"));
  EXPECT_EQ(ReadBytes(map), bytes);
  EXPECT_EQ(FilesInFolder(), 1u);
}

// draw joins its cells as the picture's brush does: between two places it
// writes what road writes; through waypoints and onto open land it ends in
// a piece that carries the road on; a leg that cannot be drawn refuses all.
TEST_F(ValteaMap, DrawDrawsThroughItsCellsAndRefusesALegThatCannotBeDrawn) {
  Bytes bytes = MapOf(Plain, {{101, 30, Castle}, {105, 28, Castle}, {110, 30, 2}});
  for (int row = 1; row <= 76; ++row) bytes[CellToOffset(103, row)] = 1;
  WriteBytes(map, bytes);
  const ProgramRun road = Run({u"road", map, u"101:30", u"105:28", u"--dry-run"});
  const ProgramRun drawn = Run({u"draw", map, u"101:30", u"105:28", u"--dry-run"});
  EXPECT_EQ(drawn.out, road.out);
  EXPECT_EQ(ReadBytes(map), bytes);

  // Round the stroke's own 106:28 rather than over it, to a loose end at 107:29.
  const ProgramRun open = Run({u"draw", map, u"105:28", u"107:27", u"107:29"});
  EXPECT_EQ(open.out, u8"106:28 0x1EE1 7905: 平 (4) -> ／ (18)\n"
                      u8"106:29 0x1EE3 7907: 平 (4) -> ＜ (22)\n"
                      u8"107:27 0x1F77 8055: 平 (4) -> Λ (20)\n"
                      u8"108:28 0x1F78 8056: 平 (4) -> ＞ (23)\n"
                      u8"107:28 0x1F79 8057: 平 (4) -> ／ (18)\n"
                      u8"107:29 0x1F7B 8059: 平 (4) -> ＼ (19)\n"
                      u8"道の長さ: 6 歩\n書き込みました: " + Utf8(map) + "\n");
  EXPECT_EQ(Run({u"check", map}).status, Findings) << "107:29 is a loose end";

  const Bytes before = ReadBytes(map);
  ExpectRefused(Run({u"draw", map, u"101:30", u"110:30"}),
                u8"110:30 の 山 (2) では道が終われません (道の端は平地、丘陵、湿地、砂浜、馬産地、港湾、御所、城、町か道路のマス)");
  ExpectRefused(Run({u"draw", map, u"101:30", u"101:30"}), u8"FROM と TO が同じマス 101:30 です");
  // Back to where it started: the cell named is the start, not the turn.
  ExpectRefused(Run({u"draw", map, u"105:28", u"107:27", u"105:28"}), u8"FROM と TO が同じマス 105:28 です");
  ExpectRefused(Run({u"draw", map, u"101:30", u"105:28", u"112:30"}),
                u8"105:28 から 112:30 への道がありません (山、港湾、御所、城と町は道路の端でしか通れず、"
                u8"水は 1 本の道路で 1 マスしか渡れません)");
  ExpectRefused(Run({u"draw", map, u"101:30"}), WrongCount("draw MAP CELL CELL [CELL...] [--dry-run]"));
  EXPECT_EQ(ReadBytes(map), before);
}

// erase turns road pieces into the land asked for and takes the joins
// toward them from the pieces beside; bridges and other land stay.
TEST_F(ValteaMap, EraseTakesRoadPiecesAwayIntoTheLandAskedFor) {
  const Bytes bytes = MapOf(Plain, {{101, 30, Castle}, {102, 30, 18}, {103, 29, 20}, {104, 29, 19},
                                    {104, 30, 30}});
  WriteBytes(map, bytes);
  const struct {
    std::vector<MapPath> words;
    std::string out;
  } cases[] = {
      {{u"102:30", u"--dry-run"},
       u8"102:30 0x1DB7 7607: ／ (18) -> 平 (4)\n103:29 0x1E4D 7757: Λ (20) -> ＼ (19)\n--dry-run なので書き込みません\n"},
      {{u"102:30", u"--land", u"5", u"--dry-run"},
       u8"102:30 0x1DB7 7607: ／ (18) -> 湿 (5)\n103:29 0x1E4D 7757: Λ (20) -> ＼ (19)\n--dry-run なので書き込みません\n"},
      {{u"101:30", u"104:30", u"--dry-run"}, u8"変わりません: " + Utf8(map) + "\n"},
  };
  for (const auto& example : cases) {
    std::vector<MapPath> arguments{u"erase", map};
    arguments.insert(arguments.end(), example.words.begin(), example.words.end());
    const ProgramRun run = Run(arguments);
    EXPECT_EQ(run.out, example.out);
    EXPECT_EQ(run.status, Success);
  }
  ExpectRefused(Run({u"erase", map, u"102:30", u"--land", u"2"}),
                u8"--land 2 は 3 (丘陵)、4 (平地)、5 (湿地)、6 (砂浜) のどれかです");
  EXPECT_EQ(ReadBytes(map), bytes);
}

// ---- no command damages a map ----

// An output that is one of the command's own inputs, by whatever name, is
// refused before anything is read, and every file stays as it was.
TEST_F(ValteaMap, NoCommandWritesOverItsOwnInput) {
  fs::create_directory(folder.Path() / "sub");
  auto again = [this](const std::u16string& name) { return folder.File(u"sub/../" + name); };
  const MapPath csv = folder.File(u"map.csv"), txt = folder.File(u"mod.txt"), png = folder.File(u"old.png");
  for (const MapPath& file : {map, csv, txt, png}) WriteBytes(file, MapOf(Plain));
  const std::string same = u8" は読むファイル ";
  const struct {
    std::vector<MapPath> arguments;
    std::string message;
  } cases[] = {
      {{u"render", map, map}, u8"絵 " + Utf8(map) + u8" の名前は .png で終わりません (絵は PNG だけです)"},
      {{u"render", map, folder.File(u"s.jpg")}, u8"絵 " + Utf8(folder.File(u"s.jpg")) + u8" の名前は .png で終わりません (絵は PNG だけです)"},
      {{u"render", png, again(u"old.png")}, Utf8(again(u"old.png")) + same + Utf8(png)},
      {{u"export", csv, again(u"map.csv")}, Utf8(again(u"map.csv")) + same + Utf8(csv)},
      {{u"import", csv, again(u"map.csv")}, Utf8(again(u"map.csv")) + same + Utf8(csv)},
      {{u"diff", txt, map, u"--patch", again(u"mod.txt")}, Utf8(again(u"mod.txt")) + same + Utf8(txt)},
      {{u"patch", map, again(u"MAPDATA.VLT")}, Utf8(map) + same + Utf8(again(u"MAPDATA.VLT"))},
#ifdef _WIN32
      {{u"import", csv, folder.File(u"MAP.CSV")}, Utf8(folder.File(u"MAP.CSV")) + same + Utf8(csv)},
#endif
  };
  for (const auto& refused : cases) {
    ExpectRefused(Run(refused.arguments), refused.message + (refused.message.find(same) == std::string::npos ? "" : u8" と同じファイルなので、書き込みません"));
    for (const MapPath& file : {map, csv, txt, png}) EXPECT_EQ(ReadBytes(file), MapOf(Plain)) << Utf8(file);
  }
  EXPECT_EQ(FilesInFolder(), 5u);
}

#ifndef _WIN32
// As on Windows: a save replaces the file a link points at and keeps the
// link, the file keeps its mode, owner and group, and a file its owner may
// not write is read-only, also to root.
TEST_F(ValteaMap, ASaveFollowsItsLinkAndKeepsTheFilesModeAndOwner) {
  fs::create_directory(folder.Path() / "real");
  const MapPath target = folder.File(u"real/MAPDATA.VLT"), link = folder.File(u"LINK.VLT");
  WriteBytes(target, MapOf(Plain));
  fs::create_symlink("real/MAPDATA.VLT", fs::path(link));
  const auto privateMode = fs::perms::owner_read | fs::perms::owner_write;
  fs::permissions(fs::path(target), privateMode);
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(chown(fs::path(target).c_str(), 1, 1), 0);
  }

  EXPECT_EQ(Run({u"set", link, u"5:10", u"18"}).status, Success);
  EXPECT_TRUE(fs::is_symlink(fs::path(link)));
  EXPECT_EQ(ReadBytes(target), MapOf(Plain, {{5, 10, 18}}));
  EXPECT_EQ(fs::status(fs::path(target)).permissions(), privateMode);
  struct stat status {};
  ASSERT_EQ(stat(fs::path(target).c_str(), &status), 0);
  if (root) {
    EXPECT_EQ(std::make_pair(status.st_uid, status.st_gid), std::make_pair(1u, 1u));
  }

  fs::permissions(fs::path(target), fs::perms::owner_read | fs::perms::group_read);
  ExpectRefused(Run({u"set", link, u"5:10", u"4"}),
                u8"ファイル " + Utf8(link) + u8" を作成できません\nvaltea-map: 理由: 読み取り専用です");
  EXPECT_EQ(ReadBytes(target), MapOf(Plain, {{5, 10, 18}}));
  EXPECT_EQ(FilesInFolder(), 2u);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path() / "real"), fs::directory_iterator()), 1);
}
#endif

// A command whose result is already in the file says so and leaves the file
// alone: not even its time changes.
TEST_F(ValteaMap, WhatIsAlreadySoIsNotWritten) {
  WriteBytes(map, MapOf(Plain));
  const MapPath csv = folder.File(u"map.csv"), png = folder.File(u"map.png");
  Run({u"export", map, csv});
  Run({u"render", map, png});
  const struct {
    std::vector<MapPath> arguments;
    MapPath file;
    std::string out;
  } cases[] = {
      {{u"set", map, u"5:10", u"4"}, map, u8"5:10 0x140 320: 平 (4) 平地\n"},
      {{u"import", csv, map}, map, ""},
      {{u"export", map, csv}, csv, ""},
      {{u"render", map, png}, png, ""},
  };
  for (const auto& unchanged : cases) {
    const auto time = fs::last_write_time(fs::path(unchanged.file)) - std::chrono::hours(1);
    fs::last_write_time(fs::path(unchanged.file), time);
    const ProgramRun run = Run(unchanged.arguments);
    EXPECT_EQ(run.status, Success);
    EXPECT_EQ(run.out, unchanged.out + u8"変わりません: " + Utf8(unchanged.file) + "\n");
    EXPECT_EQ(fs::last_write_time(fs::path(unchanged.file)), time) << Utf8(unchanged.file);
  }
}

// An export that fails half-way takes back the tileset picture it wrote.
TEST_F(ValteaMap, AFailedExportLeavesNothingBehind) {
  WriteBytes(map, MapOf(Plain));
  const MapPath tmj = folder.File(u"map.tmj");
  fs::create_directory(fs::path(tmj));
  ExpectRefused(Run({u"export", map, tmj}),
                u8"ファイル " + Utf8(tmj) + u8" を作成できません\nvaltea-map: 理由: ファイルではなくフォルダです");
  EXPECT_EQ(FilesInFolder(), 2u);
}

// An empty file is no map; a map file of another size is read by the
// editor's rules, and said once.
TEST_F(ValteaMap, EmptyMapsAreRefusedAndOddSizesAreSaid) {
  WriteBytes(map, {});
  const std::string empty = u8"地図 " + Utf8(map) + u8" は空です (0 バイト)";
  const MapPath out = folder.File(u"out.png"), patch = folder.File(u"mod.txt");
  WriteBytes(patch, Bytes{'#'});
  for (const std::vector<MapPath>& arguments :
       {std::vector<MapPath>{u"check", map}, {u"info", map}, {u"get", map, u"1:1"}, {u"shape", map},
        {u"render", map, out}, {u"export", map}, {u"diff", map, map}, {u"patch", map, patch}})
    ExpectRefused(Run(arguments), empty);
  EXPECT_EQ(ReadBytes(map), Bytes{});

  WriteBytes(map, Bytes(100, Plain));
  const ProgramRun shortMap = Run({u"diff", map, map});
  EXPECT_EQ(shortMap.status, Success);
  EXPECT_EQ(shortMap.err, u8"valtea-map: 注意: 地図 " + Utf8(map) +
                              u8" は 100 バイトで、26576 バイトに足りません。足りない 26476 バイトは海 (0) とみなします\n");
  WriteBytes(map, Bytes(MapSize + 1, Plain));
  const ProgramRun longMap = Run({u"set", map, u"1:1", u"18"});
  EXPECT_EQ(longMap.err, u8"valtea-map: 注意: 地図 " + Utf8(map) +
                             u8" は 26577 バイトで、26576 バイトより長いので、その先は読みません。書き込むと 26576 バイトになります\n");
  EXPECT_EQ(ReadBytes(map), MapOf(Plain, {{1, 1, 18}}));
}

// ---- the editor's road tools ----

// The editor's Shape and Lay change the map exactly as shape and road change
// the file: on random land with roads laid and then some of their pieces
// turned into wrong shapes.
TEST_F(ValteaMap, TheEditorShapesAndLaysAsTheCommandsDo) {
  RandomNumbers random(23);
  int laidRoads = 0;
  for (int round = 0; round < 3; ++round) {
    MapImage land = RandomLand(random);
    const std::vector<int> places = PlacesOf(land);
    const auto somePlace = [&] { return places[static_cast<std::size_t>(random.Below(static_cast<int>(places.size())))]; };
    for (int road = 0; road < 8; ++road) {
      try {
        LayRoad(land, somePlace(), somePlace());
      } catch (const RoadRefusal&) {
      }
    }
    for (int slip = 0; slip < 400; ++slip) {
      const int offset = random.Below(MapSize);
      if (IsRoadPiece(land[offset]) && !IsBridge(land[offset])) land[offset] = static_cast<TerrainCode>(18 + random.Below(11));
    }
    const Bytes bytes(land.begin(), land.end());
    MemoryFileSystem files;
    FakeEditorView view;
    EditorModel model(files, view);
    files.files[u"MAPDATA.VLT"] = bytes;
    model.OpenMap(u"MAPDATA.VLT");
    auto select = [&](int offset) {
      view.current = OffsetToCell(offset);
      model.SelectCell(view.current.column, view.current.row);
    };

    model.ShapeRoads();
    WriteBytes(map, bytes);
    EXPECT_NE(Run({u"shape", map}).status, Error);
    EXPECT_EQ(ReadBytes(map), Bytes(model.MapImage().begin(), model.MapImage().end()));
    EXPECT_NE(ReadBytes(map), bytes) << "something was repaired";

    for (int road = 0; road < 4; ++road) {
      const Bytes before(model.MapImage().begin(), model.MapImage().end());
      const int from = somePlace(), to = somePlace();
      select(from);
      model.SetRoadStart();
      select(to);
      bool laid = true;
      try {
        model.LayRoad();
      } catch (const std::runtime_error&) {
        laid = false;
      }
      WriteBytes(map, before);
      const ProgramRun run = Run({u"road", map, u"@" + Utf16FromUtf8(std::to_string(from)), u"@" + Utf16FromUtf8(std::to_string(to))});
      EXPECT_EQ(run.status == Success, laid) << run.err;
      laidRoads += laid;
      EXPECT_EQ(ReadBytes(map), Bytes(model.MapImage().begin(), model.MapImage().end()));
    }
  }
  EXPECT_GE(laidRoads, 6) << "most pairs of places are joined";
}

// ---- the text form ----

std::string TextOf(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// The map as text, a line per map line, with a comment line first.
std::string TextForm(const Bytes& bytes, const std::string& lineEnd = "\n") {
  std::string text = "# a map\n";
  for (int line = 0; line < MapLineCount; ++line) {
    for (int position = 0; position < MapLineLength; ++position)
      text += (position == 0 ? "" : ",") + std::to_string(bytes[line * MapLineLength + position]);
    text += lineEnd;
  }
  return text;
}

TEST_F(ValteaMap, ExportThenImportGivesBackEveryByteValue) {
  Bytes bytes(MapSize);
  for (int offset = 0; offset < MapSize; ++offset) bytes[offset] = static_cast<std::uint8_t>(offset * 7 % 256);
  WriteBytes(map, bytes);
  const ProgramRun out = Run({u"export", map});
  EXPECT_EQ(out.status, Success);
  EXPECT_EQ(out.out.substr(0, out.out.find('\n') + 1),
            u8"# ヴァルテア MAPDATA.VLT の地形コード: 地図の行 0..175 の順に 1 行 151 個\n");
  EXPECT_EQ(out.out.substr(out.out.find('\n') + 1), TextForm(bytes).substr(8));

  const MapPath csv = folder.File(u"map.csv"), copy = folder.File(u"COPY.VLT");
  EXPECT_EQ(Run({u"export", map, csv}).out, u8"書き込みました: " + Utf8(csv) + "\n");
  EXPECT_EQ(TextOf(ReadBytes(csv)), out.out);
  const ProgramRun in = Run({u"import", csv, copy});
  EXPECT_EQ(in.out, u8"書き込みました: " + Utf8(copy) + "\n");
  EXPECT_EQ(ReadBytes(copy), bytes);
}

TEST_F(ValteaMap, ImportTakesCrLfBlanksCommentsAndNoFinalLineEnd) {
  Bytes bytes = MapOf(Plain);
  bytes[0] = 255;
  std::string text = TextForm(bytes, "\r\n");
  text.replace(text.find("255,4"), 5, " 255 ,\t4");
  text.insert(text.find("\r\n") + 2, "# between\r\n");
  text.erase(text.size() - 2);
  const MapPath csv = folder.File(u"map.csv");
  WriteBytes(csv, Bytes(text.begin(), text.end()));
  EXPECT_EQ(Run({u"import", csv, map}).status, Success);
  EXPECT_EQ(ReadBytes(map), bytes);
}

// The text form as spreadsheets save it (tests/fixtures/spreadsheets, made by
// LibreOffice Calc and by its script): each gives back the sample map.
TEST_F(ValteaMap, ImportTakesWhatSpreadsheetsSave) {
  const MapPath fixtures = MapPath(u"" VALTEA_SOURCE_FOLDER_U16 u"/tests/fixtures/spreadsheets/");
  const Bytes sample = ReadBytes(MapPath(u"" VALTEA_SOURCE_FOLDER_U16 u"/samples/MAPDATA.VLT"));
  for (const char16_t* name : {u"calc-utf8.csv", u"calc-shift-jis.csv", u"calc-utf16.csv", u"excel-utf8-bom-crlf.csv",
                               u"excel-shift-jis-crlf.csv", u"powershell-utf16le-crlf.csv"}) {
    SCOPED_TRACE(Utf8(name));
    WriteBytes(map, MapOf(Castle));
    const ProgramRun run = Run({u"import", fixtures + name, map});
    EXPECT_EQ(run.status, Success) << run.err;
    EXPECT_EQ(ReadBytes(map), sample);
  }
}

TEST_F(ValteaMap, ImportRefusesEveryFaultByFileLineAndColumnAndWritesNothing) {
  const Bytes before = MapOf(Castle);
  WriteBytes(map, before);
  const MapPath csv = folder.File(u"map.csv");
  const std::string good = TextForm(MapOf(Plain));
  const std::string line = good.substr(8, 302);  // the first map line: 151 x "4", 150 commas, LF
  auto refuse = [&](const std::string& text, const std::string& where) {
    WriteBytes(csv, Bytes(text.begin(), text.end()));
    ExpectRefused(Run({u"import", csv, map}), Utf8(csv) + where);
    EXPECT_EQ(ReadBytes(map), before);
    EXPECT_EQ(FilesInFolder(), 2u);
  };
  refuse(good.substr(0, good.size() - line.size()), u8":177:1: 地図の行が 175 行しかありません (地図は 176 行)");
  refuse(good + line, u8":178:1: 行が多すぎます (地図は 176 行)");
  refuse("# a map\n" + line.substr(2) + good.substr(8 + 302), u8":2:300: 値が 150 個しかありません (1 行に 151 個)");
  refuse("# a map\n4," + line + good.substr(8 + 302), u8":2:303: 値が多すぎます (1 行に 151 個)");
  refuse("# a map\n" + line + "256" + line.substr(1) + good.substr(8 + 604), u8":3:1: 256 は 0..255 の外です");
  refuse("# a map\n" + line + "4a" + line.substr(1) + good.substr(8 + 604), u8":3:2: 数ではありません");
  refuse("# a map\n" + line + "-4" + line.substr(1) + good.substr(8 + 604), u8":3:1: 数ではありません");
  refuse("# a map\n" + line + "4 4" + line.substr(1) + good.substr(8 + 604), u8":3:3: 数ではありません");
  refuse("# a map\n" + line + ",4" + line.substr(1) + good.substr(8 + 604), u8":3:1: 値がありません");
  refuse("", u8":1:1: 地図の行が 0 行しかありません (地図は 176 行)");
}

// ---- Tiled ----

TEST_F(ValteaMap, ExportsToTiledAndImportsBackInAFolderWhoseNameCodePage932Lacks) {
  const fs::path odd = folder.Path() / fs::path(u"地図 한국");
  fs::create_directory(odd);
  const MapPath tmj = (odd / "map.tmj").u16string(), picture = (odd / "valtea-terrain.png").u16string();
  Bytes bytes(MapSize);
  for (int offset = 0; offset < MapSize; ++offset) bytes[offset] = static_cast<std::uint8_t>(offset * 7 % 256);
  WriteBytes(map, bytes);

  const ProgramRun out = Run({u"export", map, tmj});
  EXPECT_EQ(out.out, u8"書き込みました: " + Utf8(picture) + u8"\n書き込みました: " + Utf8(tmj) + "\n") << out.err;
  EXPECT_EQ(DecodePng(ReadBytes(picture)).image.width, 640);
  const MapPath copy = (odd / "COPY.VLT").u16string();
  EXPECT_EQ(Run({u"import", tmj, copy}).status, Success);
  EXPECT_EQ(ReadBytes(copy), bytes);

  // A fault names the file and the cell, and nothing is written.
  std::string json = TextOf(ReadBytes(tmj));
  json.replace(json.find("\"data\": [\n") + 10, 1, "0");  // 1:1 empty
  WriteBytes(tmj, Bytes(json.begin(), json.end()));
  ExpectRefused(Run({u"import", tmj, copy}), Utf8(tmj) + u8": マス 1:1 (Tiled では 0,0) が空です");
  EXPECT_EQ(ReadBytes(copy), bytes);
  const MapPath xml = folder.File(u"map.xml");
  ExpectRefused(Run({u"export", map, xml}), Utf8(xml) + u8" の名前は .csv、.tmj か .json で終わりません");
  ExpectRefused(Run({u"import", xml, map}), Utf8(xml) + u8" の名前は .csv、.tmj か .json で終わりません");
  EXPECT_FALSE(fs::exists(fs::path(xml)));
}

#ifndef _WIN32
// A map whose every byte is one of the codes drawn without a road or a mark,
// so that a picture of it shows the hexagons alone.
Bytes PlainTerrainPattern() {
  Bytes bytes(MapSize);
  for (int offset = 0; offset < MapSize; ++offset) bytes[offset] = static_cast<std::uint8_t>((offset * 5 + offset / 151) % 16);
  return bytes;
}

// Tiled 1.8 itself, headless, as Debian packages it (scripts/install-deps.sh).
class WithTiled : public ValteaMap {
 protected:
  void SetUp() override {
    if (std::string(VALTEA_TILED_PROGRAM).empty() || std::string(VALTEA_TMXRASTERIZER_PROGRAM).empty())
      GTEST_SKIP() << "tiled is not installed (scripts/install-deps.sh installs it)";
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  static ProgramRun Tiled(const char* program, const std::vector<MapPath>& arguments) {
    const std::string path = program;
    return RunProgram(MapPath(path.begin(), path.end()), arguments);
  }
  MapPath Export(const Bytes& bytes) {
    WriteBytes(map, bytes);
    const MapPath tmj = folder.File(u"map.tmj");
    EXPECT_EQ(Run({u"export", map, tmj}).status, Success);
    return tmj;
  }
};

// Our render at scale 16 and Tiled's picture of the export agree pixel for
// pixel wherever Tiled draws a tile: Tiled puts every tile where render puts
// its hexagon (odd columns of Tiled's half a tile higher), 4 pixels further
// right and 16 further down.
TEST_F(WithTiled, DrawsTheExportAsRenderDrawsTheMap) {
  const MapPath tmj = Export(PlainTerrainPattern());
  const MapPath drawn = folder.File(u"tiled.png"), rendered = folder.File(u"render.png");
  const ProgramRun run = Tiled(VALTEA_TMXRASTERIZER_PROGRAM, {tmj, drawn});
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_EQ(Run({u"render", map, rendered, u"--scale", u"16"}).status, Success);
  const Image tiled = DecodePng(ReadBytes(drawn)).image, ours = DecodePng(ReadBytes(rendered)).image;
  ASSERT_EQ(tiled.width, 351 * 32 + 40);
  ASSERT_EQ(tiled.height, 76 * 32 + 16);
  long drawnPixels = 0, differing = 0;
  for (int y = 0; y < ours.height; ++y)
    for (int x = 0; x < ours.width; ++x) {
      const Rgba pixel = tiled.At(x + 4, y + 16);
      if (pixel.a == 0) continue;
      ++drawnPixels;
      differing += pixel != ours.At(x, y);
    }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(drawnPixels, static_cast<long>(ours.width) * ours.height * 98 / 100);
}

// Tiled reads render's palette PNG (through Qt's PNG reader, not ours): a
// map whose one image layer is the picture draws it pixel for pixel as stb
// decodes it.
TEST_F(WithTiled, ReadsTheRenderedPaletteImage) {
  WriteBytes(map, PlainTerrainPattern());
  const MapPath rendered = folder.File(u"render.png"), layered = folder.File(u"picture.tmj");
  ASSERT_EQ(Run({u"render", map, rendered, u"--scale", u"3", u"--problems"}).status, Success);
  const Image ours = DecodePng(ReadBytes(rendered)).image;
  const std::string json = "{\"type\":\"map\",\"version\":\"1.8\",\"orientation\":\"orthogonal\",\"renderorder\":\"right-down\","
                           "\"width\":1,\"height\":1,\"tilewidth\":" + std::to_string(ours.width) +
                           ",\"tileheight\":" + std::to_string(ours.height) +
                           ",\"infinite\":false,\"tilesets\":[],\"layers\":[{\"type\":\"imagelayer\",\"id\":1,"
                           "\"name\":\"picture\",\"image\":\"render.png\",\"x\":0,\"y\":0,\"opacity\":1,\"visible\":true}]}";
  WriteBytes(layered, Bytes(json.begin(), json.end()));
  const MapPath drawn = folder.File(u"tiled.png");
  const ProgramRun run = Tiled(VALTEA_TMXRASTERIZER_PROGRAM, {layered, drawn});
  ASSERT_EQ(run.status, 0) << run.err;
  const Image tiled = DecodePng(ReadBytes(drawn)).image;
  ASSERT_EQ(tiled.width, ours.width);
  ASSERT_EQ(tiled.height, ours.height);
  EXPECT_TRUE(tiled.pixels == ours.pixels);
}

// The tile number at Tiled's index in the CSV data of a TMX file.
std::string WithTileNumber(std::string tmx, int index, int number) {
  std::size_t at = tmx.find("<data encoding=\"csv\">") + 22;
  for (int i = 0; i < index; ++i) at = tmx.find(',', at) + 1;
  at = tmx.find_first_of("0123456789", at);
  return tmx.replace(at, tmx.find_first_not_of("0123456789", at) - at, std::to_string(number));
}

// Through Tiled's own TMX and JSON, in each layer format Tiled keeps: the
// map comes back byte for byte, and a tile changed in Tiled's data as exactly
// that byte.
TEST_F(WithTiled, WhatTiledSavesImportsByteForByte) {
  const Bytes sample = ReadBytes(MapPath(u"" VALTEA_SOURCE_FOLDER_U16 u"/samples/MAPDATA.VLT"));
  const MapPath tmj = Export(sample), tmx = folder.File(u"tiled.tmx"), json = folder.File(u"tiled.json");
  const Bytes exported = ReadBytes(tmj);
  for (const char* compression : {"csv", "", "zlib", "gzip"}) {
    SCOPED_TRACE(compression);
    nlohmann::json input = nlohmann::json::parse(exported);
    if (std::string(compression) != "csv") UseBase64(input["layers"][0], compression);
    const std::string text = input.dump();
    WriteBytes(tmj, Bytes(text.begin(), text.end()));
    ASSERT_EQ(Tiled(VALTEA_TILED_PROGRAM, {u"--export-map", u"tmx", tmj, tmx}).status, 0);
    Bytes expected = sample;
    if (std::string(compression) == "csv") {
      const std::string edited = WithTileNumber(TextOf(ReadBytes(tmx)), 352 * 9 + 4, 19 + 1);  // 5:10 -> 19
      WriteBytes(tmx, Bytes(edited.begin(), edited.end()));
      expected[CellToOffset(5, 10)] = 19;
    }
    ASSERT_EQ(Tiled(VALTEA_TILED_PROGRAM, {u"--export-map", u"json", tmx, json}).status, 0);
    const nlohmann::json saved = nlohmann::json::parse(ReadBytes(json));
    EXPECT_EQ(saved["layers"][0].value("compression", ""), std::string(compression) == "csv" ? "" : compression);
    EXPECT_EQ(Run({u"import", json, map}).status, Success);
    EXPECT_EQ(ReadBytes(map), expected);
  }
}
#endif

// ---- any path ----

TEST_F(ValteaMap, WorksInAFolderWhoseNameCodePage932Lacks) {
  // Outside the macros, whose text must be Shift-JIS.
  const std::u16string name = u"地図 ☃ ü 😀";
  const std::string nameUtf8 = u8"地図 ☃ ü 😀";
  const fs::path odd = folder.Path() / fs::path(name);
  fs::create_directory(odd);
  const MapPath file = (odd / "MAPDATA.VLT").u16string();
  WriteBytes(file, MapOf(Plain));
  EXPECT_EQ(Run({u"set", file, u"@0", u"19"}).out, u8"1:1 0x0 0: 平 (4) -> ＼ (19)\n書き込みました: " + Utf8(file) + "\n");
  EXPECT_EQ(Run({u"get", file, u"1:1"}).out, u8"1:1 0x0 0: ＼ (19) 街道　＼\n");
  const MapPath missing = (odd / "NONE.VLT").u16string();
  ExpectRefused(Run({u"get", missing, u"1:1"}), u8"ファイル " + Utf8(missing) + u8" は開けません" + NotFound);
  EXPECT_NE(Utf8(missing).find(nameUtf8), std::string::npos);
}

#ifndef _WIN32
// The Linux terminal's UTF-8. Half-width katakana take one byte in Shift-JIS
// and three in UTF-8, more than the room first guessed: all must come through.
TEST(ShiftJisToUtf8, GrowsForTextsThreeTimesTheirSizeAndMarksBadBytes) {
  ShiftJisToUtf8 converter;
  std::string kana;
  for (int i = 0; i < 100; ++i) kana += u8"ｱ";
  EXPECT_EQ(converter.Utf8Of(std::string(100, '\xB1') + "\xFF" + "A\x82"), kana + "?A?");
}
#endif

}  // namespace
