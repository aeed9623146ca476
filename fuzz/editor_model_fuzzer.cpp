// Any bytes as an evening of editing: a sequence of the editor model's
// operations (open, select, choose, undo, redo, shape, start and lay,
// strokes and erasures, patches and imports, go to, save) on files in
// memory and a test view. After every operation the view's cell texts show
// the image; the history never holds more than its cap; only the errors the
// model shows the user are thrown. At the end, undoing every step gives back
// the image as last read, and redoing every step the newest one.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "FuzzCheck.h"
#include "formats/FileFormats.h"
#include "map/HexGrid.h"
#include "map/RoadStroke.h"
#include "model/EditorModel.h"
#include "support/FakeEditorView.h"
#include "support/MemoryFileSystem.h"
#include "support/RandomLand.h"

namespace {

// Which invariant failed, for the one who reads the crash.
void CheckThat(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "editor_model_fuzzer: not so: %s\n", what);
  std::abort();
}
#define CHECK(condition) CheckThat(condition, #condition)

const MapPath MapFile = u"C:\\game\\MAPDATA.VLT";

// The input, read a byte or a number at a time; past its end, zeros.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool AtEnd() const { return at_ >= size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  int Number(int below) { return below <= 0 ? 0 : (Byte() << 8 | Byte()) % below; }
  std::vector<std::uint8_t> Bytes(std::size_t most) {
    const std::size_t count = std::min(most, size_ - std::min(at_, size_));
    std::vector<std::uint8_t> bytes(data_ + at_, data_ + at_ + count);
    at_ += count;
    return bytes;
  }
  int Offset() { return Number(MapSize); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

std::string AsUtf8(std::string_view shiftJis) { return std::string(shiftJis); }

class Evening {
 public:
  Evening() : model_(files_, view_) {}

  void Run(Reader& input) {
    while (!input.AtEnd()) {
      Step(input);
      CheckChangedCells();
      // With nothing to redo the image is the newest state; undone steps
      // keep it until a new step replaces them.
      if (!model_.RedoEnabled()) newest_ = model_.MapImage();
    }
    if (read_) CheckHistory();
  }

 private:
  void Step(Reader& input) {
    try {
      Operate(input);
    } catch (const RoadRefusal&) {
    } catch (const MapFileError&) {
    } catch (const std::runtime_error&) {
      // Lay and the patch commands say why they did nothing: the user's errors.
    }
  }

  void Operate(Reader& input) {
    const int operation = input.Byte() % 17;
    if (std::getenv("EDITOR_FUZZ_TRACE") != nullptr)
      std::fprintf(stderr, "operation %d, undo %d redo %d\n", operation, model_.UndoEnabled(), model_.RedoEnabled());
    switch (operation) {
      case 0: return Open(input);
      case 1: return Select(input.Number(GridColumnCount - 1) + 1, input.Number(GridRowCount - 1) + 1);
      case 2: return model_.ChooseRoad(input.Number(RoadChoiceCount + 2) - 1);
      case 3: return model_.Undo();
      case 4: return model_.Redo();
      case 5: return model_.ShapeRoads();
      case 6: return model_.SetRoadStart();
      case 7: return model_.LayRoad();
      case 8: return Stroke(input);
      case 9: return Erase(input);
      case 10: return TextPatch(input);
      case 11: return BytesPatch(input);
      case 12: return Import(input);
      case 13: return GoTo(input);
      case 14: return Save(input);
      case 15: return Compare(input);
      default: return Problems(input);
    }
  }

  // A map of random land (of the input's seed) with the input's bytes
  // strewn over it, short, whole or long; or the input's bytes alone; or a
  // map that is not there, locked, or not named MAPDATA.VLT.
  void Open(Reader& input) {
    const int kind = input.Byte() % 8;
    if (kind == 0) return model_.OpenMap(u"C:\\game\\other.bin");
    files_.locked.clear();
    if (kind == 1) files_.files.erase(MapFile);
    if (kind == 2) files_.locked.insert(MapFile);
    if (kind == 3) files_.files[MapFile] = input.Bytes(input.Number(200));
    if (kind >= 4) {
      RandomNumbers random(input.Byte());
      const MapImage land = RandomLand(random);
      std::vector<std::uint8_t> content(land.begin(), land.end());
      if (kind == 4) content.resize(static_cast<std::size_t>(input.Number(MapSize + 100)));
      const std::vector<std::uint8_t> bytes = input.Bytes(input.Number(32));
      const std::size_t stride = 1 + input.Byte() * 4;
      for (std::size_t index = 0; index < content.size() && !bytes.empty(); index += stride)
        content[index] = bytes[index % bytes.size()];
      files_.files[MapFile] = content;
    }
    // A read that took changes the image's revision; one that failed
    // must leave the image and the history as they were.
    const unsigned long revision = model_.MapRevision();
    const MapImage before = model_.MapImage();
    try {
      model_.OpenMap(MapFile);
    } catch (const MapFileError&) {
      CHECK(model_.MapRevision() == revision && model_.MapImage() == before);
      throw;
    }
    read_ = true;
    lastRead_ = model_.MapImage();
    CHECK(!model_.UndoEnabled() && !model_.RedoEnabled());
  }

  void Select(int column, int row) {
    view_.SetCurrentCell(column, row);
    model_.SelectCell(column, row);
  }

  // A stroke of the brush through the input's hexagons, near each other.
  void Stroke(Reader& input) {
    if (!model_.MapLoaded()) return;
    RoadStroke stroke(model_.MapImage());
    int at = input.Offset();
    for (int count = input.Byte() % 12; count >= 0; --count) {
      try {
        stroke.Reach(at);
      } catch (const RoadRefusal&) {
      }
      at = std::clamp(at + (input.Byte() % 9 - 4) * MapLineLength + input.Byte() % 5 - 2, 0, MapSize - 1);
    }
    model_.ApplyDrawing(stroke.Drawn());
  }

  void Erase(Reader& input) {
    if (!model_.MapLoaded()) return;
    MapImage erased = model_.MapImage();
    std::vector<int> offsets;
    for (int count = input.Byte() % 12; count >= 0; --count) offsets.push_back(input.Offset());
    EraseRoads(erased, offsets, EraserLands[input.Byte() % EraserLands.size()]);
    model_.ApplyDrawing(erased);
  }

  // A patch of some cells of the image, written by one of the patch
  // formats; the map then changes under it, so that some cells conflict.
  void TextPatch(Reader& input) {
    const FileFormat& format = *PatchFormat(input.Byte());
    MapImage after = model_.MapImage();
    for (int count = input.Byte() % 20; count >= 0; --count) after[input.Offset()] = input.Byte() % 40;
    const MapPath path = u"C:\\game\\mod" + std::u16string(format.endings.front().begin(), format.endings.front().end());
    files_.files[path] = format.writePatch(model_.MapImage(), after, ChangesBetween(model_.MapImage(), after), AsUtf8);
    if (input.Byte() % 2 == 0) model_.ChooseRoad(input.Number(RoadChoiceCount));
    ApplyPatchFile(path, input);
  }

  // A patch file of the input's bytes, whatever they are.
  void BytesPatch(Reader& input) {
    const MapPath path = u"C:\\game\\mod.bin";
    files_.files[path] = input.Bytes(input.Number(200));
    ApplyPatchFile(path, input);
  }

  // The patch alone, or twice in one go: the second time over the first.
  void ApplyPatchFile(const MapPath& path, Reader& input) {
    const std::vector<MapPath> paths(1 + input.Byte() % 2, path);
    const PatchChain chain = model_.PatchChainOf(model_.ReadPatchFiles(paths));
    std::vector<bool> theirs;
    for (std::size_t index = 0; index < chain.ConflictCount(); ++index) theirs.push_back(input.Byte() % 2 == 1);
    model_.ApplyPatches(chain, theirs);
  }

  static const FileFormat* PatchFormat(std::uint8_t choice) {
    std::vector<const FileFormat*> patches;
    for (const FileFormat& format : FileFormats())
      if (format.content == FormatContent::Patch) patches.push_back(&format);
    return patches[choice % patches.size()];
  }

  // The image exported as the text form or Tiled, some of its bytes then
  // changed by the input, imported back; or the input's bytes themselves.
  void Import(Reader& input) {
    const bool tiled = input.Byte() % 2 == 0;
    const MapPath path = tiled ? u"C:\\game\\map.tmj" : u"C:\\game\\map.csv";
    if (input.Byte() % 4 == 0) {
      files_.files[path] = input.Bytes(input.Number(300));
    } else {
      model_.ExportMap(path, AsUtf8);
      std::vector<std::uint8_t>& bytes = files_.files[path];
      for (int count = input.Byte() % 4; count > 0 && !bytes.empty(); --count)
        bytes[static_cast<std::size_t>(input.Number(static_cast<int>(bytes.size())))] = input.Byte();
    }
    model_.ImportMap(path);
  }

  // Another map, the image with the input's bytes strewn over it or the
  // bytes alone, and some of its differences taken.
  void Compare(Reader& input) {
    const MapPath path = u"C:\\game\\friend.vlt";
    std::vector<std::uint8_t> other(model_.MapImage().begin(), model_.MapImage().end());
    if (input.Byte() % 4 == 0) other = input.Bytes(input.Number(200));
    for (int strewn = input.Byte() % 16; strewn > 0 && !other.empty(); --strewn)
      other[input.Number(static_cast<int>(other.size()))] = input.Byte();
    files_.files[path] = other;
    const ::MapImage read = model_.ReadComparedMap(path);
    std::vector<bool> taken;
    for (int line = input.Byte() % 16; line > 0; --line) taken.push_back(input.Byte() % 2 == 1);
    model_.TakeFromMap(read, taken);
  }

  void GoTo(Reader& input) {
    const std::vector<std::uint8_t> typed = input.Bytes(input.Byte() % 12);
    const GoToAnswer answer = ReadGoToText(std::string(typed.begin(), typed.end()));
    CHECK(answer.cell.has_value() != !answer.refusal.empty());
    if (answer.cell) Select(answer.cell->column, answer.cell->row);
  }

  // Save, now and then onto a full disk: the file holds the image, or is as it was.
  void Save(Reader& input) {
    const std::vector<std::uint8_t> before = files_.files.count(MapFile) ? files_.files[MapFile] : std::vector<std::uint8_t>{};
    files_.writeLimit = input.Byte() % 4 == 0 ? input.Number(MapSize) : SIZE_MAX;
    bool saved = true;
    try {
      model_.SaveMapFile();
    } catch (const MapFileError&) {
      saved = false;
    }
    files_.writeLimit = SIZE_MAX;
    const std::vector<std::uint8_t> image(model_.MapImage().begin(), model_.MapImage().end());
    if (saved && read_) CHECK(files_.files[MapFile] == image);
    if (!saved && files_.files.count(MapFile)) CHECK(files_.files[MapFile] == before);
  }

  void Problems(Reader& input) {
    if (!model_.MapLoaded()) return;
    switch (input.Byte() % 3) {
      case 0: return model_.NextProblem();
      case 1: return model_.PreviousProblem();
      default:
        if (!model_.ProblemLines().empty())
          model_.GoToProblem(static_cast<std::size_t>(input.Number(static_cast<int>(model_.ProblemLines().size()))));
    }
  }

  // A cell shows its code as a read or an edit shows it.
  void CheckCell(int offset) const {
    const GridCell cell = OffsetToCell(offset);
    const TerrainCode code = model_.MapImage()[offset];
    const std::string& shown = view_.CellText(cell.column, cell.row);
    CHECK(shown == ReadCellText(offset, code) || shown == EditCellText(code));
  }

  // The cells whose text was set or whose byte changed since the last
  // look: every cell once would cost more than the operations.
  void CheckChangedCells() {
    CHECK(model_.HistoryCellsHeld() <= EditHistory::CellCapacity);
    if (read_) {
      for (const int offset : view_.TakeCellsSet()) CheckCell(offset);
      // Block by block: the harness's own loops are traced too, and slow.
      constexpr int Block = 64;
      const TerrainCode* now = model_.MapImage().data();
      for (int block = 0; block < MapSize; block += Block) {
        const int length = std::min(Block, MapSize - block);
        if (std::memcmp(now + block, looked_.data() + block, static_cast<std::size_t>(length)) == 0) continue;
        for (int offset = block; offset < block + length; ++offset)
          if (now[offset] != looked_[offset]) CheckCell(offset);
      }
    }
    view_.TakeCellsSet();
    looked_ = model_.MapImage();
  }

  void CheckView() const {
    for (int offset = 0; offset < MapSize; ++offset) CheckCell(offset);
  }

  void CheckHistory() {
    while (model_.UndoEnabled()) model_.Undo();
    if (model_.HistoryReachesRead()) CHECK(model_.MapImage() == lastRead_);
    CheckView();
    while (model_.RedoEnabled()) model_.Redo();
    CHECK(model_.MapImage() == newest_);
    CheckView();
  }

  // The test view, noting which cells' texts were set.
  class View : public FakeEditorView {
   public:
    void SetCellText(int column, int row, std::string text) override {
      const int offset = CellToOffset(column, row);
      if (offset != NoMapOffset) set_.push_back(offset);
      FakeEditorView::SetCellText(column, row, std::move(text));
    }
    std::vector<int> TakeCellsSet() { return std::exchange(set_, {}); }

   private:
    std::vector<int> set_;
  };

  MemoryFileSystem files_;
  View view_;
  MapImage looked_{};
  EditorModel model_;
  bool read_ = false;
  MapImage lastRead_{};
  MapImage newest_{};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader input(data, size);
  Evening().Run(input);
  return 0;
}
