#include "model/EditorModel.h"

#include <cstdio>

const std::string_view ApplicationTitle = "ヴァルテア 街道エディタ";
const std::string_view NotReadMessage = "ファイル %s は読み込まれていません";

namespace {

constexpr std::string_view CaptionAfterRead = "ヴァルテア 街道エディタ - %s";

std::string PositionTextOf(int column, int row) {
  return std::to_string(column) + " : " + std::to_string(row);
}

std::string HexText(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%X", static_cast<unsigned>(value));
  return buffer;
}

}  // namespace

EditorModel::EditorModel(FileSystem& files, EditorView& view)
    : files_(files),
      view_(view),
      caption_{std::string(ApplicationTitle), {}},
      positionText_(PositionTextOf(1, 1)) {}

void EditorModel::OpenMap(const MapPath& path) {
  if (!IsMapFileName(path)) return;
  fileName_ = path;
  LoadMapFile();
}

void EditorModel::LoadMapFile() {
  view_.FinishPendingRepaints();
  mapLoaded_ = true;
  ReadMapImage(files_, fileName_, image_, [this](int offset, TerrainCode code) {
    const GridCell cell = OffsetToCell(offset);
    view_.SetCellText(cell.column, cell.row, ReadCellText(offset, code));
  });
  // The image now holds what was just read; a failed read above keeps the history.
  history_.Clear();
  imageSource_ = fileName_;
  caption_ = PathText{std::string(CaptionAfterRead), fileName_};
  const GridCell current = view_.CurrentCell();
  SelectCell(current.column, current.row);
}

void EditorModel::SelectCell(int column, int row) {
  positionText_ = PositionTextOf(column, row);
  currentOffset_ = CellToOffset(column, row);
  if (currentOffset_ == NoMapOffset) {
    // A placeholder cell holds no byte: nothing to show, nothing to change.
    codeText_.clear();
    hexOffsetText_.clear();
    decimalOffsetText_.clear();
    roadChooserEnabled_ = false;
    roadChooserIndex_ = NoRoadChoice;
    return;
  }
  const TerrainCode code = image_[currentOffset_];
  ShowCode(code);
  hexOffsetText_ = HexText(currentOffset_);
  decimalOffsetText_ = std::to_string(currentOffset_);
  roadChooserEnabled_ = IsEditable(code);
  roadChooserIndex_ = ChooserIndexOf(code);
}

void EditorModel::ChooseRoad(int index) {
  const bool validChoice = index >= 0 && index < RoadChoiceCount;
  if (!validChoice || currentOffset_ == NoMapOffset || !IsEditable(image_[currentOffset_])) return;
  // The cell of the changed byte, which is the grid's current cell.
  const GridCell cell = OffsetToCell(currentOffset_);
  const CellState before{image_[currentOffset_], view_.CellText(cell.column, cell.row)};
  const TerrainCode code = CodeOfChooserIndex(index);
  const CellState after{code, EditCellText(code)};
  image_[currentOffset_] = after.code;
  ShowCode(after.code);
  roadChooserIndex_ = index;
  view_.SetCellText(cell.column, cell.row, after.text);
  // The entry already shown only shortens the text: no byte to take back.
  if (after.code != before.code) history_.Record({currentOffset_, before, after});
}

// The image goes back to the file it was read from, the one the caption
// names. After a failed read of another file that is still the earlier map,
// so the user's edits can be saved; the file that failed is never written,
// since the image holds nothing of it.
void EditorModel::SaveMapFile() {
  if (!imageSource_) throw MapFileError(PathText{std::string(NotReadMessage), fileName_});
  WriteMapImage(files_, *imageSource_, image_);
}

void EditorModel::Undo() {
  if (!history_.CanUndo()) return;
  const RoadChange& change = history_.StepBack();
  PutBack(change.offset, change.before);
}

void EditorModel::Redo() {
  if (!history_.CanRedo()) return;
  const RoadChange& change = history_.StepForward();
  PutBack(change.offset, change.after);
}

// The byte and its cell as a change left them, shown as after a click on the cell.
void EditorModel::PutBack(int offset, const CellState& state) {
  image_[offset] = state.code;
  const GridCell cell = OffsetToCell(offset);
  view_.SetCellText(cell.column, cell.row, state.text);
  view_.SetCurrentCell(cell.column, cell.row);
  SelectCell(cell.column, cell.row);
}

void EditorModel::ShowCode(TerrainCode code) {
  codeText_ = std::string(GlyphOf(code)) + " : " + std::to_string(code);
}
