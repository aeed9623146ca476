// The editor model driven the way the main window drives it: open, select,
// choose a road, save, and read back every text and enabled state.

#include "map/CellNames.h"
#include "map/RoadStroke.h"
#include "map/RoadTexts.h"
#include "operations/MapOperations.h"
#include "patch/Bps.h"
#include "model/EditorModel.h"

#include <cctype>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <stdexcept>
#include <cstdint>
#include <string>
#include <vector>

#include "support/FakeEditorView.h"
#include "map/StdFileSystem.h"
#include "support/MemoryFileSystem.h"
#include "support/TempFolder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const MapPath MapA = u"C:\\Games\\Valtea\\MAPDATA.VLT";
const MapPath MapB = u"D:\\Backup\\MAPDATA.VLT";

// Every code 0..34 occurs, and the maps of two seeds differ at every offset.
Bytes VariedMap(int seed) {
  Bytes bytes(MapSize);
  for (int offset = 0; offset < MapSize; ++offset) bytes[offset] = static_cast<std::uint8_t>((offset * 7 + seed) % 35);
  return bytes;
}

// The text format of a cell is tested on its own (hex_grid_test); here it
// matters that each cell gets the text of its own byte.
std::string ReadTimeText(int offset, TerrainCode code) { return ReadCellText(offset, code); }

// The number that ends a code text or a read-time cell text ("... : 17").
int TrailingNumber(const std::string& text) {
  const auto separator = text.rfind(" : ");
  return separator == std::string::npos ? -1 : std::stoi(text.substr(separator + 3));
}

// Everything the window shows and the model keeps, apart from the image and
// the cell texts, which are compared on their own.
struct Snapshot {
  PathText caption;
  MapPath fileName;
  int currentOffset;
  bool mapLoaded;
  std::string positionText, codeText, hexOffsetText, decimalOffsetText;
  bool chooserEnabled;
  int chooserIndex;
  bool gridEnabled, saveEnabled;

  bool operator==(const Snapshot& o) const {
    return caption == o.caption && fileName == o.fileName && currentOffset == o.currentOffset &&
           mapLoaded == o.mapLoaded && positionText == o.positionText && codeText == o.codeText &&
           hexOffsetText == o.hexOffsetText && decimalOffsetText == o.decimalOffsetText &&
           chooserEnabled == o.chooserEnabled && chooserIndex == o.chooserIndex && gridEnabled == o.gridEnabled &&
           saveEnabled == o.saveEnabled;
  }
};

void PrintTo(const Snapshot& s, std::ostream* out) {
  *out << "{caption " << s.caption.Approximate() << ", offset " << s.currentOffset << ", loaded " << s.mapLoaded
       << ", position " << s.positionText << ", hex " << s.hexOffsetText << ", decimal " << s.decimalOffsetText
       << ", chooser " << s.chooserEnabled << "/" << s.chooserIndex << ", grid " << s.gridEnabled << ", save "
       << s.saveEnabled << "}";
}

Snapshot SnapshotOf(const EditorModel& model) {
  return {model.Caption(),          model.MapFileName(),        model.CurrentOffset(),     model.MapLoaded(),
          model.PositionText(),     model.CodeText(),           model.HexOffsetText(),     model.DecimalOffsetText(),
          model.RoadChooserEnabled(), model.RoadChooserIndex(), model.GridEnabled(),       model.SaveEnabled()};
}

// Records the order in which cell texts are set.
class RecordingView : public FakeEditorView {
 public:
  void SetCellText(int column, int row, std::string text) override {
    written.push_back({column, row});
    FakeEditorView::SetCellText(column, row, std::move(text));
  }
  std::vector<GridCell> written;
};

class EditorModelTest : public testing::Test {
 protected:
  MemoryFileSystem files;
  RecordingView view;
  EditorModel model{files, view};

  void Open(const MapPath& path, const Bytes& content) {
    files.files[path] = content;
    model.OpenMap(path);
  }
  // Opens MapA with road code 20 at offset 681 (cell 10, 40) and selects that cell.
  Bytes OpenWithRoadSelected() {
    Bytes content = VariedMap(0);
    content[681] = 20;
    Open(MapA, content);
    Click(10, 40);
    return content;
  }

  // What the grid does when the user clicks a cell.
  void Click(int column, int row) {
    view.current = {column, row};
    model.SelectCell(column, row);
  }
  void ExpectEveryMapCellReads(const Bytes& content) {
    for (int offset = 0; offset < MapSize; ++offset) {
      const GridCell cell = OffsetToCell(offset);
      ASSERT_EQ(view.CellText(cell.column, cell.row), ReadTimeText(offset, content[offset])) << "offset " << offset;
    }
  }
};

// --- Start state ----------------------------------------------------------

TEST_F(EditorModelTest, StartsEmptyAndDisabledWithTheTitleAsCaption) {
  EXPECT_EQ(ApplicationTitle, "ヴァルテア 街道エディタ");
  EXPECT_EQ(model.Caption(), (PathText{"ヴァルテア 街道エディタ", u""}));
  EXPECT_EQ(model.PositionText(), "1 : 1");
  EXPECT_EQ(model.CodeText(), "");
  EXPECT_EQ(model.HexOffsetText(), "");
  EXPECT_EQ(model.DecimalOffsetText(), "");
  EXPECT_FALSE(model.RoadChooserEnabled());
  EXPECT_EQ(model.RoadChooserIndex(), -1);
  EXPECT_FALSE(model.GridEnabled());
  EXPECT_FALSE(model.SaveEnabled());
  EXPECT_FALSE(model.MapLoaded());
  EXPECT_EQ(model.MapFileName(), u"");
  EXPECT_EQ(model.CurrentOffset(), 0);
  EXPECT_EQ(model.MapImage(), MapImage{});
  EXPECT_EQ(view.textsSet, 0);
  EXPECT_EQ(view.repaints, 0);
}

// --- Opening a map ----------------------------------------------------------

// A drop: the first MAPDATA.VLT of it opens; without one, and with a map
// open, the first file is imported or previewed as its ending says.
TEST_F(EditorModelTest, ADropDoesWhatItsFilesAskInTheirOrder) {
  const MapPath tiled = u"C:\\mods\\map.tmj", patch = u"C:\\mods\\roads.bps", other = u"C:\\mods\\notes.doc";
  struct Row {
    bool loaded;
    std::vector<MapPath> paths;
    Drop::Kind kind;
    MapPath path;
  };
  const Row rows[] = {
      {false, {}, Drop::Kind::Nothing, {}},
      {false, {tiled, MapA}, Drop::Kind::Open, MapA},
      {false, {tiled}, Drop::Kind::Open, tiled},
      {true, {tiled, MapA}, Drop::Kind::Open, MapA},
      {true, {tiled, patch}, Drop::Kind::Import, tiled},
      {true, {patch, tiled}, Drop::Kind::Patch, patch},
      {true, {other, tiled}, Drop::Kind::Open, other},
  };
  for (const Row& row : rows) {
    if (row.loaded && !model.MapLoaded()) Open(MapA, VariedMap(0));
    const Drop drop = model.WhatDropDoes(row.paths);
    EXPECT_EQ(drop.kind, row.kind) << row.paths.size() << " loaded " << row.loaded;
    EXPECT_EQ(drop.path, row.path);
  }
  const MapPath text = u"C:\\mods\\b.txt";
  EXPECT_EQ(model.WhatDropDoes({patch, tiled, text}).patches, (std::vector<MapPath>{patch, text})) << "all patches";
}

TEST_F(EditorModelTest, FirstOpenShowsTheMapAndDescribesColumnOneRowOne) {
  Bytes content = VariedMap(0);
  ASSERT_EQ(content[0], 0);
  Open(MapA, content);

  EXPECT_EQ(model.MapFileName(), MapA);
  EXPECT_EQ(model.Caption(), (PathText{"ヴァルテア 街道エディタ - %s", MapA}));
  EXPECT_TRUE(model.MapLoaded());
  EXPECT_TRUE(model.GridEnabled());
  EXPECT_TRUE(model.SaveEnabled());
  EXPECT_EQ(model.PositionText(), "1 : 1");
  EXPECT_EQ(model.CurrentOffset(), 0);
  EXPECT_EQ(model.HexOffsetText(), "0");
  EXPECT_EQ(model.DecimalOffsetText(), "0");
  // The sea's glyph is an ideographic space and a space, then " : 0".
  EXPECT_EQ(model.CodeText(), "\x81\x40\x20\x20\x3A\x20\x30");
  EXPECT_FALSE(model.RoadChooserEnabled());
  EXPECT_EQ(model.RoadChooserIndex(), -1);
  EXPECT_TRUE(std::equal(content.begin(), content.end(), model.MapImage().begin()));
}

TEST_F(EditorModelTest, FirstOpenOnAnEditableByteEnablesTheChooser) {
  Bytes content(MapSize, 2);
  content[0] = 4;
  Open(MapA, content);

  EXPECT_EQ(model.CodeText(), "平 : 4");
  EXPECT_TRUE(model.RoadChooserEnabled());
  EXPECT_EQ(model.RoadChooserIndex(), 14);
}

TEST_F(EditorModelTest, NamesOtherThanTheMapFileNameChangeNothingAtAll) {
  const MapPath wrongNames[] = {u"C:\\Games\\Valtea\\mapdata.vlt", u"C:\\Games\\Valtea\\MAPDATA.VLT.bak",
                                u"C:\\Games\\Valtea\\MAPDATA.VLT ", u"C:\\Games\\Valtea\\Mapdata.vlt"};
  for (const MapPath& name : wrongNames) files.files[name] = VariedMap(3);

  // Before any map, and again with a map loaded and a cell selected.
  for (int round = 0; round < 2; ++round) {
    const Snapshot before = SnapshotOf(model);
    const MapImage imageBefore = model.MapImage();
    const int reads = files.reads, repaints = view.repaints;
    const long texts = view.textsSet;
    for (const MapPath& name : wrongNames) {
      model.OpenMap(name);
      EXPECT_EQ(SnapshotOf(model), before) << "round " << round;
      EXPECT_EQ(model.MapImage(), imageBefore);
      EXPECT_EQ(files.reads, reads) << "no file is read";
      EXPECT_EQ(view.repaints, repaints);
      EXPECT_EQ(view.textsSet, texts);
    }
    Open(MapA, VariedMap(0));
    Click(7, 30);
  }
}

TEST_F(EditorModelTest, ReadFinishesRepaintsThenSetsOneTextPerByteInOffsetOrder) {
  Open(MapA, VariedMap(0));

  EXPECT_EQ(view.repaints, 1);
  EXPECT_EQ(view.textsSetBeforeLastRepaint, 0) << "repaint must come before the first cell text";
  ASSERT_EQ(view.written.size(), static_cast<std::size_t>(MapSize));
  for (int offset = 0; offset < MapSize; ++offset) {
    const GridCell cell = view.written[offset];
    ASSERT_EQ(CellToOffset(cell.column, cell.row), offset) << "text #" << offset << " went to " << cell.column
                                                           << "," << cell.row;
  }
  EXPECT_EQ(view.textsOutsideGrid, 0);
}

TEST_F(EditorModelTest, ReadSetsEveryMapCellAndLeavesHeadersAndPlaceholdersEmpty) {
  const Bytes content = VariedMap(0);
  Open(MapA, content);

  ExpectEveryMapCellReads(content);
  for (int column = 0; column <= LastGridColumn; ++column) {
    EXPECT_EQ(view.CellText(column, 0), "") << "header, column " << column;
    if (column % 2 == 0 && column > 0) {
      EXPECT_EQ(view.CellText(column, 1), "") << "placeholder, column " << column;
    }
  }
  for (int row = 0; row <= LastGridRow; ++row) EXPECT_EQ(view.CellText(0, row), "") << "header, row " << row;
}

TEST_F(EditorModelTest, ShortFileSetsOnlyTheCellsItReaches) {
  const Bytes first = VariedMap(0);
  Open(MapA, first);
  view.written.clear();

  const Bytes shortFile(100, 4);
  Open(MapB, shortFile);

  EXPECT_EQ(view.written.size(), 100u);
  for (int offset = 0; offset < MapSize; ++offset) {
    const GridCell cell = OffsetToCell(offset);
    const TerrainCode expected = offset < 100 ? 4 : first[offset];
    ASSERT_EQ(model.MapImage()[offset], expected) << "offset " << offset;
    ASSERT_EQ(view.CellText(cell.column, cell.row), ReadTimeText(offset, expected)) << "offset " << offset;
  }
  EXPECT_EQ(model.Caption(), (PathText{"ヴァルテア 街道エディタ - %s", MapB}));
}

// The first map read is short: the cells it does not reach show the zeros
// the image holds there, which Save writes, rather than nothing.
TEST_F(EditorModelTest, AShortFirstReadShowsTheZerosBeyondIt) {
  Open(MapA, Bytes(100, 4));
  for (const int offset : {0, 99, 100, MapSize - 1}) {
    const GridCell cell = OffsetToCell(offset);
    const TerrainCode expected = offset < 100 ? 4 : 0;
    EXPECT_EQ(model.MapImage()[offset], expected) << "offset " << offset;
    EXPECT_EQ(view.CellText(cell.column, cell.row), ReadTimeText(offset, expected)) << "offset " << offset;
  }
}

TEST_F(EditorModelTest, SecondOpenKeepsTheCurrentCellAndRewritesEveryMapCell) {
  Open(MapA, VariedMap(0));
  Click(3, 5);  // offset 159
  const TerrainCode road = 20;
  files.files[MapA][159] = road;  // not in the image yet
  Bytes second = VariedMap(1);
  second[159] = road;
  second[681] = 9;
  Open(MapB, second);  // the current cell 3,5 is now a road
  model.ChooseRoad(13);
  ASSERT_EQ(view.CellText(3, 5), "丘 ");

  Click(10, 40);  // offset 681
  view.written.clear();
  const Bytes third = VariedMap(2);
  Open(MapA, third);

  EXPECT_EQ(model.PositionText(), "10 : 40");
  EXPECT_EQ(model.CurrentOffset(), 681);
  EXPECT_EQ(model.DecimalOffsetText(), "681");
  EXPECT_EQ(model.HexOffsetText(), "2A9");
  ASSERT_EQ(third[681], 9);
  EXPECT_EQ(model.CodeText(), "湾 : 9");
  EXPECT_EQ(view.written.size(), static_cast<std::size_t>(MapSize));
  ExpectEveryMapCellReads(third);  // the edited cell 3,5 included
}

// --- Selecting cells ----------------------------------------------------------

TEST_F(EditorModelTest, LastOffsetShowsUpperCaseHexadecimal) {
  Open(MapA, VariedMap(0));
  Click(351, 76);
  EXPECT_EQ(model.PositionText(), "351 : 76");
  EXPECT_EQ(model.CurrentOffset(), 26575);
  EXPECT_EQ(model.HexOffsetText(), "67CF");
  EXPECT_EQ(model.DecimalOffsetText(), "26575");

  Click(1, 6);  // offset 10: one digit, no leading zeros
  EXPECT_EQ(model.HexOffsetText(), "A");
  EXPECT_EQ(model.DecimalOffsetText(), "10");
}

TEST_F(EditorModelTest, HarbourShowsItsCodeWithADisabledEmptyChooser) {
  Bytes content(MapSize, 4);
  content[302] = 9;  // line 2, position 0: column 5, row 1
  Open(MapA, content);
  Click(5, 1);
  EXPECT_EQ(model.CodeText(), "湾 : 9");
  EXPECT_FALSE(model.RoadChooserEnabled());
  EXPECT_EQ(model.RoadChooserIndex(), -1);
}

TEST_F(EditorModelTest, EveryMapCellDescribesTheByteWhoseTextItHolds) {
  const Bytes content = VariedMap(5);
  Open(MapA, content);
  for (int column = 1; column <= LastGridColumn; ++column) {
    for (int row = 1; row <= LastGridRow; ++row) {
      if (column % 2 == 0 && row == 1) continue;
      Click(column, row);
      const int offset = std::stoi(model.DecimalOffsetText());
      ASSERT_EQ(OffsetToCell(offset), (GridCell{column, row}));
      ASSERT_EQ(view.CellText(column, row), ReadTimeText(offset, content[offset])) << column << "," << row;
      // The code text names the same byte: its glyph first, its code last.
      ASSERT_EQ(model.CodeText().rfind(GlyphOf(content[offset]), 0), 0u) << column << "," << row;
      ASSERT_EQ(TrailingNumber(model.CodeText()), content[offset]) << column << "," << row;
    }
  }
}

// Row 1 of every even column holds no byte. The formula for even columns
// would point there at offset -1 (column 2) or at the last byte of the
// previous line (column 4: offset 150), which must stay untouched.
TEST_F(EditorModelTest, PlaceholderCellsShowOnlyTheirPositionAndCannotBeEdited) {
  Bytes content(MapSize, 20);
  Open(MapA, content);
  for (const GridCell placeholder : {GridCell{2, 1}, GridCell{4, 1}, GridCell{352, 1}}) {
    Click(1, 2);  // a road first, so the chooser is enabled
    ASSERT_TRUE(model.RoadChooserEnabled());
    Click(placeholder.column, placeholder.row);

    EXPECT_EQ(model.PositionText(), std::to_string(placeholder.column) + " : 1");
    EXPECT_EQ(model.CodeText(), "");
    EXPECT_EQ(model.HexOffsetText(), "");
    EXPECT_EQ(model.DecimalOffsetText(), "");
    EXPECT_FALSE(model.RoadChooserEnabled());
    EXPECT_EQ(model.RoadChooserIndex(), -1);

    const long texts = view.textsSet;
    model.ChooseRoad(13);
    EXPECT_EQ(view.textsSet, texts) << "no cell changes";
    EXPECT_TRUE(std::equal(content.begin(), content.end(), model.MapImage().begin())) << "no byte changes";
    EXPECT_EQ(view.CellText(placeholder.column, 1), "");
  }
}

TEST_F(EditorModelTest, OpenWhileOnAPlaceholderKeepsItSelected) {
  Open(MapA, VariedMap(0));
  Click(4, 1);
  Open(MapB, VariedMap(1));
  EXPECT_EQ(model.PositionText(), "4 : 1");
  EXPECT_EQ(model.CodeText(), "");
  EXPECT_FALSE(model.RoadChooserEnabled());
  EXPECT_EQ(view.CellText(4, 1), "");
}

// --- Choosing a road ----------------------------------------------------------

TEST_F(EditorModelTest, ChoosingARoadShapeChangesTheByteCodeTextAndCellOnly) {
  Bytes content = OpenWithRoadSelected();
  ASSERT_EQ(model.CodeText(), "Λ : 20");
  ASSERT_TRUE(model.RoadChooserEnabled());
  ASSERT_EQ(model.RoadChooserIndex(), 2);

  view.written.clear();
  model.ChooseRoad(13);

  EXPECT_EQ(model.MapImage()[681], 3);
  EXPECT_EQ(model.CodeText(), "丘 : 3");
  EXPECT_EQ(view.CellText(10, 40), "丘 ");
  EXPECT_TRUE(model.RoadChooserEnabled());
  EXPECT_EQ(model.RoadChooserIndex(), 13);
  EXPECT_EQ(model.PositionText(), "10 : 40");
  EXPECT_EQ(model.HexOffsetText(), "2A9");
  EXPECT_EQ(model.DecimalOffsetText(), "681");
  ASSERT_EQ(view.written.size(), 1u) << "no other cell changes";
  content[681] = 3;
  EXPECT_TRUE(std::equal(content.begin(), content.end(), model.MapImage().begin())) << "no other byte changes";
  EXPECT_EQ(files.files[MapA][681], 20) << "nothing is saved";
}

TEST_F(EditorModelTest, ChoosingTheShownEntryShortensTheCellText) {
  Bytes content(MapSize, 4);
  content[681] = 20;
  Open(MapA, content);
  Click(10, 40);
  model.ChooseRoad(2);
  EXPECT_EQ(model.MapImage()[681], 20);
  EXPECT_EQ(model.CodeText(), "Λ : 20");
  EXPECT_EQ(view.CellText(10, 40), "Λ ");
  EXPECT_EQ(model.RoadChooserIndex(), 2);
}

TEST_F(EditorModelTest, BridgesAndOpenTerrainAreChosenByTheirEntries) {
  Bytes content(MapSize, 4);
  Open(MapA, content);
  Click(1, 1);
  model.ChooseRoad(11);
  EXPECT_EQ(model.CodeText(), "\\\\ : 29");
  EXPECT_EQ(view.CellText(1, 1), "\\\\ ");
  model.ChooseRoad(12);
  EXPECT_EQ(model.CodeText(), "// : 30");
  model.ChooseRoad(0);
  EXPECT_EQ(model.CodeText(), "／ : 18");
  model.ChooseRoad(16);
  EXPECT_EQ(model.CodeText(), "砂 : 6");
  EXPECT_EQ(model.MapImage()[0], 6);
  EXPECT_EQ(view.CellText(1, 1), "砂 ");
}

// --- Unknown bytes ----------------------------------------------------------

TEST_F(EditorModelTest, BytesBeyondTheTableShowTheStandInAndStayAsTheyAre) {
  Bytes content(MapSize, 4);
  content[0] = 35;
  content[1] = 200;
  content[26575] = 255;
  Open(MapA, content);

  EXPECT_EQ(view.CellText(1, 1), std::string(UnknownTerrainGlyph) + " \r\n0 : 35");
  EXPECT_EQ(view.CellText(2, 2), std::string(UnknownTerrainGlyph) + " \r\n1 : 200");
  EXPECT_EQ(view.CellText(351, 76), std::string(UnknownTerrainGlyph) + " \r\n26575 : 255");
  const std::pair<GridCell, const char*> unknown[] = {
      {{1, 1}, "\x81\x48 : 35"}, {{2, 2}, "\x81\x48 : 200"}, {{351, 76}, "\x81\x48 : 255"}};
  for (const auto& [cell, codeText] : unknown) {
    Click(cell.column, cell.row);
    EXPECT_EQ(model.CodeText(), codeText);
    EXPECT_FALSE(model.RoadChooserEnabled());
    EXPECT_EQ(model.RoadChooserIndex(), -1);
    const long texts = view.textsSet;
    model.ChooseRoad(0);
    EXPECT_EQ(view.textsSet, texts);
    EXPECT_EQ(model.CodeText(), codeText);
  }
  model.SaveMapFile();
  EXPECT_EQ(files.files[MapA], content);
}

// --- Saving ----------------------------------------------------------

TEST_F(EditorModelTest, SaveWritesTheEditedImageAndChangesNothingOnScreen) {
  Bytes content = OpenWithRoadSelected();
  model.ChooseRoad(13);
  const Snapshot before = SnapshotOf(model);
  const long texts = view.textsSet;

  model.SaveMapFile();

  content[681] = 3;
  EXPECT_EQ(files.files[MapA], content);
  EXPECT_EQ(SnapshotOf(model), before);
  EXPECT_EQ(view.textsSet, texts);
}

TEST_F(EditorModelTest, SaveOfALongerFileWritesExactlyTheMap) {
  Bytes content = VariedMap(0);
  content.resize(MapSize + 10, 7);
  Open(MapA, content);
  model.SaveMapFile();
  content.resize(MapSize);
  EXPECT_EQ(files.files[MapA], content);
}

// A copy holds the image now, unsaved edits too; the map's own file, its
// name, the screen and the history are as before.
TEST_F(EditorModelTest, SaveCopyWritesTheImageElsewhereAndLeavesTheMapAsItWas) {
  const Bytes content = OpenWithRoadSelected();
  model.ChooseRoad(13);
  const Snapshot before = SnapshotOf(model);
  const MapPath copy = u"C:\\Games\\Valtea\\MAPDATA - コピー.VLT";

  model.SaveCopy(copy);

  Bytes edited = content;
  edited[681] = 3;
  EXPECT_EQ(files.files[copy], edited);
  EXPECT_EQ(files.files[MapA], content);
  EXPECT_EQ(SnapshotOf(model), before);
  EXPECT_TRUE(model.UndoEnabled());
  model.SaveMapFile();  // Save still writes the map's own file
  EXPECT_EQ(files.files[MapA], edited);
}

struct CopyRefusal {
  const char* name;
  MapPath target;
  void (*inject)(MemoryFileSystem&);
  std::string_view message;
};

const MapPath Folder = u"C:\\Games\\Valtea\\saves";
const MapPath LockedCopy = u"C:\\Games\\Valtea\\copy.VLT";
const CopyRefusal CopyRefusals[] = {
    {"the map's own file", MapA, [](MemoryFileSystem&) {},
     "%s は開いている地図のファイルです。上書きするには「上書き保存」を使ってください"},
    {"a folder", Folder, [](MemoryFileSystem& fs) { fs.folders.insert(Folder); }, "%s はフォルダです。ファイルの名前を選んでください"},
    {"a file that cannot be replaced", LockedCopy,
     [](MemoryFileSystem& fs) {
       fs.files[LockedCopy] = Bytes(5, 9);
       fs.failReplace = true;
     },
     ""},
};

class SaveCopyRefusalTest : public EditorModelTest, public testing::WithParamInterface<CopyRefusal> {};

// Refused or failed, a copy changes no file: the target keeps what it held.
TEST_P(SaveCopyRefusalTest, ShowsWhyAndChangesNoFile) {
  const Bytes content = OpenWithRoadSelected();
  model.ChooseRoad(13);
  GetParam().inject(files);
  const auto filesBefore = files.files;
  const Snapshot before = SnapshotOf(model);

  try {
    model.SaveCopy(GetParam().target);
    ADD_FAILURE() << "no error";
  } catch (const MapFileError& error) {
    if (!GetParam().message.empty()) {
      EXPECT_EQ(error.Text(), (PathText{std::string(GetParam().message), GetParam().target}));
    }
  }
  files.failReplace = false;
  for (auto& [path, bytes] : filesBefore) EXPECT_EQ(files.files[path], bytes);
  EXPECT_EQ(SnapshotOf(model), before);
}

INSTANTIATE_TEST_SUITE_P(Targets, SaveCopyRefusalTest, testing::ValuesIn(CopyRefusals),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

TEST_F(EditorModelTest, SaveCopyBeforeAnyReadIsRefusedAsSaveIs) {
  EXPECT_THROW(model.SaveCopy(MapB), MapFileError);
  EXPECT_TRUE(files.files.empty());
}

// The proposed copy sits beside the map under a name that is not its own.
TEST_F(EditorModelTest, TheCopyIsProposedBesideTheMapUnderAnotherName) {
  const struct {
    MapPath opened;
    MapPath proposed;
  } cases[] = {
      {MapA, u"C:\\Games\\Valtea\\MAPDATA - コピー.VLT"},
      {u"MAPDATA.VLT", u"MAPDATA - コピー.VLT"},
      {u"D:\\a.b\\MAPDATA.VLT", u"D:\\a.b\\MAPDATA - コピー.VLT"},
  };
  for (const auto& example : cases) {
    Open(example.opened, VariedMap(0));
    EXPECT_EQ(model.CopyPathSuggestion(), example.proposed);
  }
}

// A stroke of the picture is one step: undone whole, redone whole, the
// current cell kept; a stroke that changes nothing records none.
TEST_F(EditorModelTest, AStrokeIsOneStepAndKeepsTheCurrentCell) {
  const Bytes content = OpenWithRoadSelected();
  const ::MapImage drawn = DrawnRoad(model.MapImage(), {CellToOffset(120, 30), CellToOffset(126, 27)}).image;
  model.ApplyDrawing(model.MapImage());
  EXPECT_FALSE(model.UndoEnabled()) << "no change, no step";

  model.ApplyDrawing(drawn);
  EXPECT_EQ(model.MapImage(), drawn);
  EXPECT_EQ(model.CurrentOffset(), 681);
  EXPECT_EQ(view.CellText(126, 27), EditCellText(drawn[CellToOffset(126, 27)]));
  model.Undo();
  EXPECT_TRUE(std::equal(content.begin(), content.end(), model.MapImage().begin()));
  EXPECT_FALSE(model.UndoEnabled());
  model.Redo();
  EXPECT_EQ(model.MapImage(), drawn);
}

// The changes since the last accepted Open, as a patch: what diff --patch
// writes for the format of the name; nothing when nothing changed or the
// name is of no patch format.
TEST_F(EditorModelTest, SaveChangesAsPatchWritesTheDifferenceSinceTheOpen) {
  const Bytes content = OpenWithRoadSelected();
  const ToUtf8 asIs = [](std::string_view text) { return std::string(text); };
  const MapPath patch = u"C:\\Games\\roads.txt";
  EXPECT_THROW(model.SaveChangesAsPatch(patch, asIs), std::runtime_error);
  model.ChooseRoad(13);
  model.SaveMapFile();  // a save changes nothing of what the patch measures from
  EXPECT_THROW(model.SaveChangesAsPatch(u"C:\\Games\\roads.dat", asIs), MapFileError);
  EXPECT_EQ(files.files.count(u"C:\\Games\\roads.dat"), 0u);

  model.SaveChangesAsPatch(patch, asIs);
  const Bytes& written = files.files[patch];
  EXPECT_EQ(std::string(written.begin(), written.end()), "10:40 0x2A9 681: Λ (20) -> 丘 (3)\n違うバイト: 1\n");
  model.SaveChangesAsPatch(u"C:\\Games\\roads.bps", asIs);
  EXPECT_EQ(std::string(files.files[u"C:\\Games\\roads.bps"].begin(), files.files[u"C:\\Games\\roads.bps"].begin() + 4), "BPS1");
}

// Export writes what the format of the name writes, Tiled's tileset beside
// its map; import reads a file whole into one step of the history.
TEST_F(EditorModelTest, ExportWritesTheImageNowAndImportTakesAMapAsOneStep) {
  OpenWithRoadSelected();
  model.ChooseRoad(13);
  const ::MapImage now = model.MapImage();
  const ToUtf8 ascii = [](std::string_view text) {
    std::string plain;
    for (char c : text) plain += static_cast<unsigned char>(c) < 0x80 ? c : '?';
    return plain;
  };
  for (const MapPath& name : {MapPath(u"C:\\out\\map.csv"), MapPath(u"C:\\out\\map.tmj")}) {
    model.ExportMap(name, ascii);
    EXPECT_EQ(FormatOfName(name, FormatContent::Map)->readMap(name, files.files[name]), now);
  }
  EXPECT_EQ(files.files.count(u"C:\\out\\valtea-terrain.png"), 1u) << "Tiled's tiles beside its map";
  model.ExportMap(u"C:\\out\\map.png", ascii);
  EXPECT_EQ(std::string(files.files[u"C:\\out\\map.png"].begin() + 1, files.files[u"C:\\out\\map.png"].begin() + 4), "PNG");
  EXPECT_THROW(model.ExportMap(u"C:\\out\\map.txt", ascii), MapFileError);

  // Imported back after an undo: one step, which Ctrl+Z takes back.
  model.Undo();
  ASSERT_NE(model.MapImage(), now);
  model.ImportMap(u"C:\\out\\map.csv");
  EXPECT_EQ(model.MapImage(), now);
  EXPECT_EQ(view.CellText(10, 40), EditCellText(3));
  model.Undo();
  EXPECT_NE(model.MapImage(), now);
  EXPECT_FALSE(model.UndoEnabled());
}

TEST_F(EditorModelTest, AnImportThatCannotBeReadSaysWhereAndChangesNothing) {
  OpenWithRoadSelected();
  const ::MapImage before = model.MapImage();
  files.files[u"C:\\in\\map.csv"] = {'1', ',', 'x', '\n'};
  try {
    model.ImportMap(u"C:\\in\\map.csv");
    ADD_FAILURE() << "imported";
  } catch (const MapFileError& error) {
    EXPECT_EQ(error.Text().path, u"C:\\in\\map.csv");
    EXPECT_EQ(error.Text().format.rfind("%s:1:", 0), 0u) << error.Text().format;
  }
  EXPECT_THROW(model.ImportMap(u"C:\\in\\map.bps"), MapFileError);
  EXPECT_THROW(model.ImportMap(u"C:\\in\\missing.csv"), MapFileError);
  EXPECT_EQ(model.MapImage(), before);
  EXPECT_FALSE(model.UndoEnabled());
}

// A patch read against the map for its preview, then applied with each
// conflict on the side chosen, as patch --ours and --theirs: one step.
TEST_F(EditorModelTest, APatchIsReadForItsPreviewAndAppliedWithTheSidesChosen) {
  const Bytes content = OpenWithRoadSelected();  // 681 holds Λ (20)
  const int conflict = 682;                      // the map has VariedMap's code there, not 4
  const std::string text = "10:40 0x2A9 681: Λ (20) -> 丘 (3)\n" + CellName(conflict) + " " + OffsetText(conflict) +
                           ": 平 (4) -> 丘 (3)\n違うバイト: 2\n";
  files.files[u"C:\\mods\\roads.txt"] = Bytes(text.begin(), text.end());
  ASSERT_NE(content[conflict], 4);
  const PatchChain chain = model.PatchChainOf(model.ReadPatchFiles({u"C:\\mods\\roads.txt"}));
  const PatchOutcome& outcome = chain.patches.at(0).outcome;
  ASSERT_EQ(outcome.conflicts.size(), 1u);
  EXPECT_EQ(outcome.conflicts[0].found, content[conflict]);

  model.ApplyPatches(chain, {false});  // ours
  EXPECT_EQ(model.MapImage()[681], 3);
  EXPECT_EQ(model.MapImage()[conflict], content[conflict]);
  model.Undo();
  EXPECT_EQ(model.MapImage()[681], 20);
  EXPECT_FALSE(model.UndoEnabled()) << "one step";
  model.ApplyPatches(chain, {true});  // theirs
  EXPECT_EQ(model.MapImage()[conflict], 3);

  // A BPS patch made from another map changes nothing and says why.
  ::MapImage other{};
  ::MapImage otherAfter = other;
  otherAfter[0] = 4;
  files.files[u"C:\\mods\\other.bps"] = MakeBps(other, otherAfter);
  const ::MapImage before = model.MapImage();
  try {
    model.PatchChainOf(model.ReadPatchFiles({u"C:\\mods\\other.bps"}));
    ADD_FAILURE() << "read";
  } catch (const MapFileError& error) {
    EXPECT_EQ(error.Text().format, std::string(BpsMisfitText));
  }
  EXPECT_EQ(model.MapImage(), before);
}

// --- Failures ----------------------------------------------------------

struct ReadFault {
  const char* name;
  void (*inject)(MemoryFileSystem&);
  std::string_view message;
  bool namesPath;
};

const ReadFault ReadFaults[] = {
    {"missing", [](MemoryFileSystem& fs) { fs.files.erase(MapB); }, "ファイル %s は開けません", true},
    {"locked", [](MemoryFileSystem& fs) { fs.locked.insert(MapB); }, "ファイル %s は開けません", true},
    {"short", [](MemoryFileSystem& fs) { fs.failShortRead = true; }, "ストリームからの読み込みエラー", false},
};

void PrintTo(const ReadFault& fault, std::ostream* out) { *out << fault.name; }

class FailedReadTest : public EditorModelTest, public testing::WithParamInterface<ReadFault> {};

TEST_P(FailedReadTest, KeepsTheScreenAndImageButNamesTheNewFile) {
  Bytes content = OpenWithRoadSelected();
  model.ChooseRoad(13);
  Click(5, 7);
  const Snapshot before = SnapshotOf(model);
  const MapImage imageBefore = model.MapImage();
  const long texts = view.textsSet;
  files.files[MapB] = VariedMap(1);
  GetParam().inject(files);

  try {
    model.OpenMap(MapB);
    ADD_FAILURE() << "no error";
  } catch (const MapFileError& error) {
    EXPECT_EQ(error.Text(), (PathText{std::string(GetParam().message), GetParam().namesPath ? MapB : u""}));
  }

  Snapshot expected = before;
  expected.fileName = MapB;
  EXPECT_EQ(SnapshotOf(model), expected);
  EXPECT_EQ(model.MapImage(), imageBefore);
  EXPECT_EQ(view.textsSet, texts);
  EXPECT_EQ(view.CellText(10, 40), "丘 ");
}

INSTANTIATE_TEST_SUITE_P(Faults, FailedReadTest, testing::ValuesIn(ReadFaults),
                         [](const testing::TestParamInfo<ReadFault>& info) { return std::string(info.param.name); });

TEST_F(EditorModelTest, FailedFirstReadEnablesGridAndSaveButNothingElse) {
  EXPECT_THROW(model.OpenMap(MapA), MapFileError);  // no such file
  EXPECT_TRUE(model.MapLoaded());
  EXPECT_TRUE(model.GridEnabled());
  EXPECT_TRUE(model.SaveEnabled());
  EXPECT_EQ(model.MapFileName(), MapA);
  EXPECT_EQ(model.Caption(), (PathText{std::string(ApplicationTitle), u""}));
  EXPECT_EQ(model.PositionText(), "1 : 1");
  EXPECT_EQ(model.CodeText(), "");
  EXPECT_EQ(model.MapImage(), MapImage{});
  EXPECT_EQ(view.textsSet, 0);
}

// After a failed read the image still holds the map last read, with the
// user's edit: Save writes it back to that file, the one the caption names,
// and never touches the file that could not be read.
struct FailedOpen {
  const char* name;
  MapPath tried;
  void (*inject)(MemoryFileSystem&);
};

const FailedOpen FailedOpens[] = {
    {"other file missing", MapB, [](MemoryFileSystem& fs) { fs.files.erase(MapB); }},
    {"other file locked", MapB, [](MemoryFileSystem& fs) { fs.locked.insert(MapB); }},
    {"other file short", MapB, [](MemoryFileSystem& fs) { fs.failShortRead = true; }},
    {"same file locked", MapA, [](MemoryFileSystem& fs) { fs.locked.insert(MapA); }},
    {"same file short", MapA, [](MemoryFileSystem& fs) { fs.failShortRead = true; }},
};

TEST_F(EditorModelTest, SaveAfterAFailedReadWritesTheEditsToTheFileTheyCameFrom) {
  for (const FailedOpen& failed : FailedOpens) {
    SCOPED_TRACE(failed.name);
    files = MemoryFileSystem{};
    Bytes content = OpenWithRoadSelected();
    model.ChooseRoad(13);
    files.files[MapB] = VariedMap(1);
    failed.inject(files);
    EXPECT_THROW(model.OpenMap(failed.tried), MapFileError);
    files.locked.clear();
    files.failShortRead = false;
    const bool otherWasThere = files.files.count(MapB) != 0;

    model.SaveMapFile();
    content[681] = 3;
    EXPECT_EQ(files.files[MapA], content);
    EXPECT_EQ(model.Caption(), (PathText{"ヴァルテア 街道エディタ - %s", MapA}));
    EXPECT_EQ(files.files.count(MapB) != 0, otherWasThere) << "the file that failed was written";
    if (otherWasThere) {
      EXPECT_EQ(files.files[MapB], VariedMap(1));
    }
    // Undo goes on across the failed read, and the next save writes it.
    model.Undo();
    model.SaveMapFile();
    content[681] = 20;
    EXPECT_EQ(files.files[MapA], content);
  }
}

TEST_F(EditorModelTest, SaveBeforeAnyReadWritesNothing) {
  EXPECT_THROW(model.OpenMap(MapA), MapFileError);  // no such file
  try {
    model.SaveMapFile();
    ADD_FAILURE() << "no error";
  } catch (const MapFileError& error) {
    EXPECT_EQ(error.Text(), (PathText{"ファイル %s は読み込まれていません", MapA}));
  }
  EXPECT_TRUE(files.files.empty());
}

TEST_F(EditorModelTest, FailedWriteLeavesTheModelAsItWas) {
  Bytes content = OpenWithRoadSelected();
  model.ChooseRoad(13);
  const Snapshot before = SnapshotOf(model);
  const MapImage imageBefore = model.MapImage();
  const long texts = view.textsSet;

  files.failCreate = true;
  try {
    model.SaveMapFile();
    ADD_FAILURE() << "no error";
  } catch (const MapFileError& error) {
    EXPECT_EQ(error.Text(), (PathText{"ファイル %s を作成できません", MapA}));
  }
  EXPECT_EQ(SnapshotOf(model), before);
  EXPECT_EQ(model.MapImage(), imageBefore);
  EXPECT_EQ(view.textsSet, texts);
  EXPECT_EQ(files.files[MapA], content);

  files.failCreate = false;
  model.SaveMapFile();  // the edit is still there to be saved
  EXPECT_EQ(files.files[MapA][681], 3);
}

// --- Undo and redo ----------------------------------------------------------

// Road code 20 at three cells: 681 (10, 40), 159 (3, 5) and 26575 (351, 76).
class HistoryTest : public EditorModelTest {
 protected:
  Bytes OpenWithThreeRoads() {
    Bytes content = VariedMap(0);
    for (const int offset : {681, 159, 26575}) content[offset] = 20;
    Open(MapA, content);
    return content;
  }
  // Three steps: 681 from 20 to 3, then 159 from 20 to 18 and on to 23.
  void ChangeTwoCells() {
    Click(10, 40);
    model.ChooseRoad(13);
    Click(3, 5);
    model.ChooseRoad(0);
    model.ChooseRoad(5);
  }
  // The counts of every call the model makes on the view.
  struct Calls {
    long texts;
    int currentCells;
    bool operator==(const Calls& o) const { return texts == o.texts && currentCells == o.currentCells; }
  };
  Calls ViewCalls() const { return {view.textsSet, view.currentCellsSet}; }
  void ExpectNothingHappens(void (EditorModel::*operation)()) {
    const Snapshot before = SnapshotOf(model);
    const MapImage image = model.MapImage();
    const Calls calls = ViewCalls();
    (model.*operation)();
    EXPECT_EQ(SnapshotOf(model), before);
    EXPECT_EQ(model.MapImage(), image);
    EXPECT_TRUE(ViewCalls() == calls) << "the view was touched";
  }
};

TEST_F(HistoryTest, BeforeAnyMapAndAfterAFailedFirstReadThereIsNothingToDo) {
  ExpectNothingHappens(&EditorModel::Undo);
  ExpectNothingHappens(&EditorModel::Redo);
  EXPECT_THROW(model.OpenMap(MapA), MapFileError);  // no such file
  ExpectNothingHappens(&EditorModel::Undo);
  ExpectNothingHappens(&EditorModel::Redo);
}

TEST_F(HistoryTest, UndoTakesBackEachChangeAndShowsItsCellAsAfterAClick) {
  Bytes content = OpenWithThreeRoads();
  ChangeTwoCells();
  Click(351, 76);
  model.ChooseRoad(1);  // 20 -> 19
  Click(100, 30);       // somewhere else

  model.Undo();
  EXPECT_EQ(model.MapImage()[26575], 20);
  EXPECT_EQ(view.CellText(351, 76), "Λ \r\n26575 : 20");
  EXPECT_EQ(view.current, (GridCell{351, 76}));
  EXPECT_EQ(model.PositionText(), "351 : 76");
  EXPECT_EQ(model.HexOffsetText(), "67CF");

  model.Undo();
  EXPECT_EQ(model.MapImage()[159], 18);
  EXPECT_EQ(view.CellText(3, 5), "／ ") << "the text it had before: already edited";
  EXPECT_EQ(view.current, (GridCell{3, 5}));
  EXPECT_EQ(model.PositionText(), "3 : 5");
  EXPECT_EQ(model.CodeText(), "／ : 18");
  EXPECT_EQ(model.HexOffsetText(), "9F");
  EXPECT_EQ(model.DecimalOffsetText(), "159");
  EXPECT_TRUE(model.RoadChooserEnabled());
  EXPECT_EQ(model.RoadChooserIndex(), 0);

  model.Undo();
  EXPECT_EQ(view.CellText(3, 5), "Λ \r\n159 : 20") << "the read-time text: never edited before";
  model.Undo();
  EXPECT_EQ(view.CellText(10, 40), "Λ \r\n681 : 20");
  EXPECT_EQ(model.PositionText(), "10 : 40");
  EXPECT_EQ(model.CodeText(), "Λ : 20");
  EXPECT_EQ(model.RoadChooserIndex(), 2);
  EXPECT_TRUE(std::equal(content.begin(), content.end(), model.MapImage().begin()));
  EXPECT_EQ(view.currentCellsSet, 4);
  ExpectNothingHappens(&EditorModel::Undo);
}

TEST_F(HistoryTest, RedoAppliesTheChangesAgainInTheirOrder) {
  Bytes content = OpenWithThreeRoads();
  ChangeTwoCells();
  for (int step = 0; step < 3; ++step) model.Undo();
  Click(1, 1);

  model.Redo();
  EXPECT_EQ(model.MapImage()[681], 3);
  EXPECT_EQ(view.CellText(10, 40), "丘 ");
  EXPECT_EQ(view.current, (GridCell{10, 40}));
  EXPECT_EQ(model.CodeText(), "丘 : 3");
  EXPECT_EQ(model.RoadChooserIndex(), 13);
  model.Redo();
  EXPECT_EQ(view.CellText(3, 5), "／ ");
  model.Redo();
  EXPECT_EQ(view.CellText(3, 5), "＞ ");
  EXPECT_EQ(model.PositionText(), "3 : 5");
  EXPECT_EQ(model.CodeText(), "＞ : 23");
  EXPECT_EQ(model.RoadChooserIndex(), 5);
  ExpectNothingHappens(&EditorModel::Redo);

  content[681] = 3;
  content[159] = 23;
  EXPECT_TRUE(std::equal(content.begin(), content.end(), model.MapImage().begin()));
}

TEST_F(HistoryTest, ChoosingTheShownEntryIsNoStepButItsShortTextComesBack) {
  OpenWithThreeRoads();
  Click(10, 40);
  model.ChooseRoad(2);  // 20 again: the text shortens, the byte stays
  ASSERT_EQ(view.CellText(10, 40), "Λ ");
  ExpectNothingHappens(&EditorModel::Undo);

  model.ChooseRoad(13);  // 20 -> 3
  model.ChooseRoad(13);  // 3 again: no step
  model.Undo();
  EXPECT_EQ(model.MapImage()[681], 20);
  EXPECT_EQ(view.CellText(10, 40), "Λ ") << "the text it had, not the read-time one";
  ExpectNothingHappens(&EditorModel::Undo);
}

TEST_F(HistoryTest, ANewChangeAfterUndoDropsWhatCouldHaveBeenRedone) {
  OpenWithThreeRoads();
  Click(10, 40);
  model.ChooseRoad(13);  // 20 -> 3
  Click(3, 5);
  model.ChooseRoad(0);  // 20 -> 18
  model.Undo();
  Click(351, 76);
  model.ChooseRoad(1);  // 20 -> 19, after the undo
  ExpectNothingHappens(&EditorModel::Redo);

  model.Undo();
  EXPECT_EQ(model.MapImage()[26575], 20);
  model.Undo();
  EXPECT_EQ(model.MapImage()[681], 20);
  EXPECT_EQ(model.MapImage()[159], 20) << "the dropped change never comes back";
  EXPECT_EQ(view.CellText(3, 5), "Λ \r\n159 : 20");
  ExpectNothingHappens(&EditorModel::Undo);
  model.Redo();
  model.Redo();
  EXPECT_EQ(model.MapImage()[681], 3);
  EXPECT_EQ(model.MapImage()[26575], 19);
  EXPECT_EQ(model.MapImage()[159], 20);
}

TEST_F(HistoryTest, ASuccessfulReadClearsTheHistoryAndAFailedOneKeepsIt) {
  OpenWithRoadSelected();
  model.ChooseRoad(13);  // 20 -> 3
  Bytes second = VariedMap(1);
  second[681] = 21;
  Open(MapB, second);
  ExpectNothingHappens(&EditorModel::Undo);

  model.ChooseRoad(14);  // the current cell is still 10, 40: 21 -> 4
  model.Undo();
  files.locked.insert(MapA);
  EXPECT_THROW(model.OpenMap(MapA), MapFileError);
  model.Redo();
  EXPECT_EQ(model.MapImage()[681], 4);
  EXPECT_EQ(view.CellText(10, 40), "平 ");
  model.Undo();
  EXPECT_EQ(model.MapImage()[681], 21);
  EXPECT_EQ(view.CellText(10, 40), "∨ \r\n681 : 21");
  EXPECT_TRUE(std::equal(second.begin(), second.end(), model.MapImage().begin()));
}

TEST_F(HistoryTest, SavingKeepsTheHistoryAndTheNextSaveWritesTheUndoneByte) {
  Bytes content = OpenWithRoadSelected();
  model.ChooseRoad(13);  // 20 -> 3
  model.SaveMapFile();
  ASSERT_EQ(files.files[MapA][681], 3);

  model.Undo();
  EXPECT_EQ(files.files[MapA][681], 3) << "nothing is written by Undo";
  model.SaveMapFile();
  EXPECT_EQ(files.files[MapA], content);
  model.Redo();
  model.SaveMapFile();
  EXPECT_EQ(files.files[MapA][681], 3);
}

// The history holds 100,000 cells, here in steps of one. The changes
// alternate between two codes, so a byte of 20 at the end would mean that
// the very first change was taken back too.
TEST_F(HistoryTest, HoldsAHundredThousandCellsAndForgetsTheOldestSteps) {
  constexpr int Steps = 100000;
  OpenWithRoadSelected();
  for (int change = 0; change <= Steps; ++change) model.ChooseRoad(change % 2 == 0 ? 13 : 14);
  ASSERT_EQ(model.MapImage()[681], 3);

  const long texts = view.textsSet;
  for (int step = 0; step <= Steps; ++step) model.Undo();
  EXPECT_EQ(view.textsSet - texts, Steps);
  EXPECT_EQ(model.MapImage()[681], 3);
  EXPECT_EQ(view.CellText(10, 40), "丘 ");

  for (int step = 0; step <= Steps; ++step) model.Redo();
  EXPECT_EQ(view.textsSet - texts, 2 * Steps);
  EXPECT_EQ(model.MapImage()[681], 3);
}

// Another program rewrites the map's file: a change until this program
// writes it again, asked about once until it changes again; a file that has
// gone is no change. The question to read it again says what is lost.
TEST_F(HistoryTest, AChangeOfTheMapsFileByAnotherProgramIsNoticedUntilItIsWritten) {
  const Bytes content = OpenWithThreeRoads();
  ChangeTwoCells();
  const auto losesEdits = [&] { return model.ReadAgainQuestion().format.find("失われます") != std::string::npos; };
  struct Row {
    const char* what;
    std::function<void()> step;
    bool changed, unasked, editsLost;
  };
  const Row rows[] = {
      {"read", [] {}, false, false, true},
      {"rewritten", [&] { files.files[MapA][5] ^= 1; }, true, true, true},
      {"asked", [&] { model.MapFileChangeAsked(); }, true, false, true},
      {"rewritten again", [&] { files.files[MapA][6] ^= 1; }, true, true, true},
      {"saved", [&] { model.SaveMapFile(); }, false, false, false},
      {"gone", [&] { files.files.erase(MapA); }, false, false, false},
  };
  for (const Row& row : rows) {
    row.step();
    EXPECT_EQ(model.MapFileChanged(), row.changed) << row.what;
    EXPECT_EQ(model.MapFileChangeUnasked(), row.unasked) << row.what;
    EXPECT_EQ(losesEdits(), row.editsLost) << row.what;
  }
  EXPECT_NE(Bytes(model.MapImage().begin(), model.MapImage().end()), content);
}

// --- Road tools ------------------------------------------------------------

// Plain land with two castles, 101:30 and 105:28, a road between them with a
// slip at 103:29 (＼ where ／ belongs), and a ／ at 201:30 that ends nowhere.
class RoadToolsTest : public HistoryTest {
 protected:
  static int At(int column, int row) { return CellToOffset(column, row); }
  Bytes OpenRoads(bool slip = true) {
    Bytes content(MapSize, 4);
    for (auto [column, row, code] : {std::array{101, 30, 31}, {102, 30, 18}, {103, 29, slip ? 19 : 18},
                                     {104, 29, 18}, {105, 28, 31}, {201, 30, 18}})
      content[At(column, row)] = static_cast<std::uint8_t>(code);
    Open(MapA, content);
    return content;
  }
  std::string TextOf(int column, int row) const { return view.CellText(column, row); }
  static MapImage ImageOf(const Bytes& bytes) {
    MapImage image{};
    std::copy(bytes.begin(), bytes.end(), image.begin());
    return image;
  }
};

// Shape, then Lay, each one step: every cell takes the text of an edited
// cell, one Undo takes the whole step back to the texts read, Redo applies
// it again, and the step's cell is current after each.
TEST_F(RoadToolsTest, ShapeAndLayAreOneStepEachOfEveryCellTheyChange) {
  const Bytes content = OpenRoads();
  model.ShapeRoads();
  EXPECT_EQ(model.MapImage()[At(103, 29)], 18);
  EXPECT_EQ(TextOf(103, 29), "／ ");
  Click(101, 30);
  model.SetRoadStart();
  Click(201, 30);
  model.LayRoad();
  const MapImage laid = model.MapImage();
  std::vector<int> changed;
  for (int offset = 0; offset < MapSize; ++offset)
    if (laid[offset] != content[offset] && offset != At(103, 29)) changed.push_back(offset);
  ASSERT_GE(changed.size(), 50u);
  for (int offset : changed)
    EXPECT_EQ(view.CellText(OffsetToCell(offset).column, OffsetToCell(offset).row), EditCellText(laid[offset]));

  Click(5, 5);
  model.Undo();
  EXPECT_EQ(view.current, (GridCell{201, 30}));
  EXPECT_EQ(model.PositionText(), "201 : 30");
  for (int offset : changed) {
    EXPECT_EQ(model.MapImage()[offset], content[offset]);
    EXPECT_EQ(view.CellText(OffsetToCell(offset).column, OffsetToCell(offset).row),
              ReadTimeText(offset, content[offset]));
  }
  model.Undo();
  EXPECT_EQ(model.MapImage(), ImageOf(content));
  EXPECT_EQ(view.current, (GridCell{103, 29}));
  EXPECT_FALSE(model.UndoEnabled());
  model.Redo();
  model.Redo();
  EXPECT_EQ(model.MapImage(), laid);
  EXPECT_FALSE(model.RedoEnabled());
}

// Shape mends the slip and joins the castles: the step says so, its Undo
// says it back, a step of open land says nothing. The distances follow the
// current cell and the map.
TEST_F(RoadToolsTest, StepsThatJoinOrSplitPlacesSaySoAndTheDistancesFollow) {
  OpenRoads();
  const std::string joined = "本城 (105:28) が本城 (101:30) の道路網につながりました";
  struct Row {
    std::function<void()> step;
    std::string said;
  };
  const Row rows[] = {
      {[&] { model.ShapeRoads(); }, joined},
      {[&] { model.Undo(); }, "本城 (105:28) が本城 (101:30) の道路網から離れました"},
      {[&] { model.Redo(); }, joined},
      {[&] { Click(50, 50), model.ChooseRoad(13); }, ""},
  };
  for (const Row& row : rows) {
    row.step();
    EXPECT_EQ(model.JoinChangeText(), row.said);
  }
  Click(101, 30);
  const EditorModel::Distances& here = model.DistancesHere();
  EXPECT_EQ(here.caption, "道のり - 本城");
  EXPECT_EQ(here.heading, "本城 (101:30)");
  EXPECT_EQ(here.lines, std::vector<std::string>{PlaceStepsLine(model.MapImage(), {At(105, 28), 4})});
  model.GoToDistance(0);
  EXPECT_EQ(view.current, (GridCell{105, 28}));
  Click(102, 30);
  EXPECT_EQ(model.DistancesHere().heading, NotAPlaceLine(model.MapImage(), At(102, 30)));
  EXPECT_TRUE(model.DistancesHere().lines.empty());
}

// What cannot be laid says why, as valtea-map does, and changes nothing;
// neither does a Shape with nothing to repair.
TEST_F(RoadToolsTest, RefusalsAndRepairsOfNothingRecordNoStep) {
  OpenRoads(false);
  model.ShapeRoads();
  Click(103, 30);
  const auto refusal = [this] {
    try {
      model.LayRoad();
    } catch (const std::runtime_error& error) {
      return std::string(error.what());
    }
    return std::string("laid");
  };
  EXPECT_EQ(refusal(), "道路の始点がありません。始点のマスで「ここを始点にする」(Ctrl+B) を選んでください");
  EXPECT_EQ(model.LayRoadCaption(), "始点からここまで道路を敷く(&L)");
  model.SetRoadStart();
  EXPECT_EQ(model.LayRoadCaption(), "始点 103:30 からここまで道路を敷く(&L)");
  Click(105, 28);
  EXPECT_EQ(refusal(), "103:30 の 平 (4) では道が終われません (道の端は港湾、御所、城、町か道路のマス)");
  EXPECT_FALSE(model.UndoEnabled());
  EXPECT_EQ(model.MapImage()[At(103, 30)], 4);
}

// The list follows every change: an edit, an undo and an open; Next and
// Previous go round it, and after a change Next starts at the first again.
TEST_F(RoadToolsTest, TheProblemListFollowsTheMapAndNextGoesRoundIt) {
  OpenRoads();
  ASSERT_EQ(model.ProblemLines().size(), 6u);
  EXPECT_EQ(model.ProblemLines()[0], "102:30 ／ (18) 北東: 103:29 ＼ (19) がこちらへつながっていません");
  EXPECT_EQ(model.ProblemSummaryText(), "道路網の問題: 6 件");
  std::vector<int> visited;
  for (int step = 0; step < 7; ++step) {
    model.NextProblem();
    visited.push_back(model.CurrentOffset());
  }
  EXPECT_EQ(visited.front(), CellToOffset(102, 30));
  EXPECT_EQ(visited.back(), visited.front()) << "round the six";
  model.PreviousProblem();
  EXPECT_EQ(model.CurrentOffset(), CellToOffset(201, 30)) << "from the first back to the last";

  Click(201, 30);
  model.ChooseRoad(13);  // 丘: its two problems go
  EXPECT_EQ(model.ProblemLines().size(), 4u);
  model.NextProblem();
  EXPECT_EQ(model.CurrentOffset(), visited[0]) << "Next starts at the first again";
  model.Undo();
  EXPECT_EQ(model.ProblemLines().size(), 6u);
  Open(MapB, Bytes(MapSize, 4));
  EXPECT_TRUE(model.ProblemLines().empty());
  EXPECT_EQ(model.ProblemSummaryText(), "道路網に問題はありません");
  model.NextProblem();
  EXPECT_EQ(model.CurrentOffset(), CellToOffset(201, 30)) << "with no problems nothing moves";
}

TEST(EditHistoryCapacity, CountsCellsNotSteps) {
  EditHistory history;
  history.Record({std::vector<CellEdit>(40000), 0});
  history.Record({std::vector<CellEdit>(40000), 1});
  EXPECT_FALSE(history.ForgotSteps());
  history.Record({std::vector<CellEdit>(40000), 2});
  EXPECT_EQ(history.CellsHeld(), 80000u);
  EXPECT_TRUE(history.ForgotSteps()) << "undoing all no longer reaches the read";
  EXPECT_EQ(history.StepsRecorded(), 3u) << "the forgotten one counted too";
  EXPECT_EQ(history.StepBack().shownOffset, 2);
  EXPECT_EQ(history.StepBack().shownOffset, 1);
  EXPECT_FALSE(history.CanUndo());
  history.Clear();
  EXPECT_FALSE(history.ForgotSteps());
}

// --- On a real disk ----------------------------------------------------------

// Map file names end at a backslash or a colon, never at the '/' of host paths, so the
// file is opened by its name alone from inside its folder.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::filesystem::path& folder) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~CurrentFolder() { std::filesystem::current_path(previous_); }

 private:
  std::filesystem::path previous_;
};

TEST(EditorModelOnDiskTest, AnEditFollowedByASaveChangesExactlyOneByteOfTheFile) {
  TempFolder folder;
  const CurrentFolder inFolder(folder.Path());
  const MapPath path = u"MAPDATA.VLT";
  Bytes original = VariedMap(0);
  original[681] = 20;
  WriteBytes(path, original);
  StdFileSystem files;
  FakeEditorView view;
  EditorModel model{files, view};

  model.OpenMap(path);
  view.current = {10, 40};
  model.SelectCell(10, 40);
  model.ChooseRoad(13);
  model.SaveMapFile();

  const Bytes saved = ReadBytes(path);
  ASSERT_EQ(saved.size(), original.size());
  std::vector<int> changed;
  for (int offset = 0; offset < MapSize; ++offset)
    if (saved[offset] != original[offset]) changed.push_back(offset);
  EXPECT_EQ(changed, std::vector<int>{681});
  EXPECT_EQ(saved[681], 3);
}

}  // namespace
