// The operations both programs share, where the editor reaches them and
// valtea-map's own tests do not: the refusal of a name for each set of
// formats, and what a patch's preview says, rings and refuses.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "operations/MapOperations.h"
#include "operations/SideBySide.h"
#include "patch/Bps.h"
#include "patch/Ips.h"
#include "map/MapText.h"
#include "patch/TextPatch.h"
#include "support/MemoryFileSystem.h"

namespace {

TEST(MapOperations, ANameOfNoFormatIsRefusedWithTheEndingsTaken) {
  struct Row {
    std::initializer_list<FormatContent> contents;
    std::string refusal;
  };
  const Row rows[] = {
      {{FormatContent::Patch}, "パッチ %s の名前は .txt、.bps か .ips で終わりません"},
      {{FormatContent::Map}, "%s の名前は .csv、.tmj か .json で終わりません"},
      {{FormatContent::Map, FormatContent::Picture}, "%s の名前は .csv、.tmj、.json か .png で終わりません"},
      {{FormatContent::Picture}, "絵 %s の名前は .png で終わりません (絵は PNG だけです)"},
  };
  for (const Row& row : rows) {
    try {
      FormatOfNameOrRefuse(u"C:\\mods\\map.zip", row.contents);
      ADD_FAILURE() << row.refusal;
    } catch (const MapFileError& error) {
      EXPECT_EQ(error.Text().format, row.refusal);
      EXPECT_EQ(error.Text().path, u"C:\\mods\\map.zip");
    }
  }
  EXPECT_EQ(FormatOfNameOrRefuse(u"map.PNG", {FormatContent::Map, FormatContent::Picture}).content,
            FormatContent::Picture);
}

// Each kind of patch against a map where one cell conflicts: its preview's
// summary, its rings, and the refusal of one that would change nothing.
TEST(MapOperations, APatchPreviewSaysWhatItIsRingsItsCellsAndRefusesNothingToDo) {
  MapImage map{};
  map.fill(4);
  MapImage after = map;
  after[100] = after[200] = 3;
  MapImage changedThere = map;
  changedThere[200] = 5;  // the player's map holds marsh where the patch wants plain → hills
  const std::string text = ChangeLine({100, 4, 3}) + "\n" + ChangeLine({200, 4, 3}) + "\n" + ChangeSummary(2) + "\n";
  struct Row {
    std::vector<std::uint8_t> patch;
    const MapImage& against;
    std::string summary;  // empty: refused with this text instead
    std::string refusal;
  };
  const Row rows[] = {
      {std::vector<std::uint8_t>(text.begin(), text.end()), changedThere, PatchSummary(1, 0, 1), ""},
      {MakeBps(map, after), map, "BPS パッチ: この地図のために作られたもので、そのまま当たります", ""},
      {MakeIps(map, after), map, std::string(IpsUncheckedText), ""},
      {MakeBps(map, after), after, "", "このパッチはもう当ててあります"},
      {std::vector<std::uint8_t>(text.begin(), text.end()), after, "", "このパッチはもう当ててあります"},
      {MakeIps(map, map), map, "", "このパッチで変わるマスはありません"},
  };
  for (const Row& row : rows) {
    const PatchChain chain = ReadPatchChain({{u"mod", row.patch}}, row.against);
    try {
      RefuseMisfitOrEmpty(chain);
      EXPECT_EQ(chain.Summary(chain.WithSides({})), row.summary);
      EXPECT_TRUE(row.refusal.empty());
    } catch (const MapFileError& error) {
      EXPECT_EQ(error.Text().format, row.refusal);
    }
  }
  const PatchChain conflicted = ReadPatchChain({{u"mod", rows[0].patch}}, changedThere);
  EXPECT_EQ(conflicted.Rings(), (std::vector<MapRing>{{200, RingKind::Conflict}, {100, RingKind::Change}}));
  EXPECT_EQ(conflicted.WithSides({true})[200], 3);
  EXPECT_EQ(conflicted.WithSides({false})[200], 5);
}

// Any map to compare with: the game's file under any name, the text form
// and Tiled by their reasons; a file of another size is no map. The cells
// taken from it are those chosen, ringed in the conflict colour.
TEST(MapOperations, AComparedMapIsReadInAnyFormatAndItsCellsTakenAsChosen) {
  MapImage other{};
  other[7] = 20;
  const std::string text = MapToText(other);
  MemoryFileSystem files;
  files.files[u"C:\\friend\\MAPDATA.BAK"] = {other.begin(), other.end()};
  files.files[u"C:\\friend\\map.csv"] = {text.begin(), text.end()};
  files.files[u"C:\\friend\\short.vlt"] = {other.begin(), other.end() - 1};
  files.files[u"C:\\friend\\broken.csv"] = {'1', ',', '2', '\n'};
  struct Row {
    const char16_t* name;
    std::string refusal;  // empty: read as `other`
  };
  const Row rows[] = {
      {u"MAPDATA.BAK", ""},
      {u"map.csv", ""},
      {u"short.vlt", "%s は地図ではありません: 地図ファイルは 26576 バイトですが、このファイルは 26575 バイトです"},
      {u"broken.csv", "%s:1:"},
  };
  for (const Row& row : rows) {
    const MapPath path = MapPath(u"C:\\friend\\") + row.name;
    try {
      EXPECT_EQ(ComparedMap(files, path), other);
      EXPECT_EQ(row.refusal, "");
    } catch (const MapFileError& error) {
      EXPECT_EQ(error.Text().format.substr(0, row.refusal.size()), row.refusal);
      EXPECT_EQ(error.Text().path, path);
    }
  }
  MapImage mine{};
  mine[9] = 2;
  const std::vector<CellChange> differences = ChangesBetween(mine, other);
  const MapImage taken = WithTaken(mine, differences, {false, true});
  EXPECT_EQ(ChangesBetween(mine, taken).size(), 1u);
  EXPECT_EQ(taken[9], 0) << "the other map's code, there only";
  EXPECT_EQ(ComparisonRings(differences, {true}), (std::vector<MapRing>{{7, RingKind::Conflict}, {9, RingKind::Change}}));
}

}  // namespace
