// The operations both programs share, where the editor reaches them and
// valtea-map's own tests do not: the refusal of a name for each set of
// formats, and what a patch's preview says, rings and refuses.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "operations/MapOperations.h"
#include "patch/Bps.h"
#include "patch/Ips.h"
#include "patch/TextPatch.h"

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
    const PatchOutcome outcome = ReadPatchOutcome(u"mod", row.patch, row.against);
    try {
      RefuseEmptyPatch(outcome, row.against);
      EXPECT_EQ(PatchPreviewSummary(outcome, ChangesBetween(row.against, outcome.image).size()), row.summary);
      EXPECT_TRUE(row.refusal.empty());
    } catch (const MapFileError& error) {
      EXPECT_EQ(error.Text().format, row.refusal);
    }
  }
  const PatchOutcome conflicted = ReadPatchOutcome(u"mod", rows[0].patch, changedThere);
  const std::vector<MapRing> rings = PatchRings(conflicted, changedThere);
  EXPECT_EQ(rings, (std::vector<MapRing>{{200, RingKind::Conflict}, {100, RingKind::Change}}));
  EXPECT_EQ(WithSides(conflicted, {true})[200], 3);
  EXPECT_EQ(WithSides(conflicted, {false})[200], 5);
}

}  // namespace
