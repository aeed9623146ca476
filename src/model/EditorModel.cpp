#include "model/EditorModel.h"

#include "Version.h"

#include <cstdio>
#include <stdexcept>

#include "map/CellChange.h"
#include "map/CellNames.h"
#include "map/RoadTexts.h"
#include "operations/MapOperations.h"

const std::string_view ApplicationTitle = VALTEA_PRODUCT_NAME;
const std::string_view NotReadMessage = "ファイル %s は読み込まれていません";

namespace {

constexpr std::string_view DistancesCaption = "道のり";
constexpr std::string_view OverwriteQuestionText =
    "ファイル %s は読み込んだ後でほかのプログラムに書き換えられています。上書きしますか?";
constexpr std::string_view ReadAgainQuestionText =
    "ファイル %s は読み込んだ後でほかのプログラムに書き換えられています。読み込み直しますか?";
constexpr std::string_view EditsLostText = "\n読み込み直すと、保存していない変更は失われます。";
constexpr std::string_view CaptionAfterRead = VALTEA_PRODUCT_NAME " - %s";
constexpr std::string_view LayCaption = "始点からここまで道路を敷く(&L)";
constexpr std::string_view NoStartMessage = "道路の始点がありません。始点のマスで「ここを始点にする」(Ctrl+B) を選んでください";
constexpr std::string_view NoCellMessage = "このマスには地図のバイトがありません";

constexpr std::string_view CopyOfOwnFileMessage = "%s は開いている地図のファイルです。上書きするには「上書き保存」を使ってください";
constexpr std::string_view NoChangesMessage = "開いたときから変わったマスはありません。パッチは書きません";
constexpr std::string_view CopyOntoFolderMessage = "%s はフォルダです。ファイルの名前を選んでください";

std::string Range(int first, int last) { return std::to_string(first) + "-" + std::to_string(last); }

}  // namespace

std::string GoToRule() {
  return "マスの位置 (例 19 : 30、列 " + Range(1, LastGridColumn) + "、行 " + Range(1, LastGridRow) +
         ") か、@ とオフセット (例 @302 や @0x12E、" + Range(0, MapSize - 1) + ")";
}

GoToAnswer ReadGoToText(std::string_view shiftJis) {
  const CellReading reading = ReadCellName(shiftJis);
  switch (reading.result) {
    case CellReading::Result::Cell:
      return {reading.cell, {}};
    case CellReading::Result::CellOutside:
      return {std::nullopt, "そのマスは地図の外です。列は " + Range(1, LastGridColumn) + "、行は " +
                                Range(1, LastGridRow) + " です"};
    case CellReading::Result::OffsetOutside:
      return {std::nullopt, "そのオフセットは地図の外です。オフセットは " + Range(0, MapSize - 1) + " です"};
    case CellReading::Result::Unreadable: break;
  }
  return {std::nullopt, "マスの位置 (列 : 行) か、@ とオフセットを入れてください"};
}

EditorModel::EditorModel(FileSystem& files, EditorView& view)
    : files_(files),
      view_(view),
      caption_{std::string(ApplicationTitle), {}},
      positionText_(::PositionText({1, 1})) {}

Drop EditorModel::WhatDropDoes(const std::vector<MapPath>& paths) const {
  if (paths.empty()) return {};
  for (const MapPath& path : paths)
    if (IsGameMapFileName(path)) return {Drop::Kind::Open, path, {}};
  if (mapLoaded_ && FormatOfName(paths.front(), FormatContent::Map)) return {Drop::Kind::Import, paths.front(), {}};
  if (mapLoaded_ && FormatOfName(paths.front(), FormatContent::Patch)) {
    Drop drop{Drop::Kind::Patch, paths.front(), {}};
    for (const MapPath& path : paths)
      if (FormatOfName(path, FormatContent::Patch)) drop.patches.push_back(path);
    return drop;
  }
  return {Drop::Kind::Open, paths.front(), {}};
}

void EditorModel::OpenMap(const MapPath& path) {
  if (!IsGameMapFileName(path)) return;
  fileName_ = path;
  LoadMapFile();
}

void EditorModel::LoadMapFile() {
  view_.FinishPendingRepaints();
  mapLoaded_ = true;
  int reached = 0;
  ReadMapImage(files_, fileName_, image_, [this, &reached](int offset, TerrainCode code) {
    const GridCell cell = OffsetToCell(offset);
    view_.SetCellText(cell.column, cell.row, ReadCellText(offset, code));
    reached = offset + 1;
  });
  // A first read that stops short leaves cells that never showed anything
  // while the image holds zeros there, which a save writes: they show them.
  if (!imageSource_)
    for (int offset = reached; offset < MapSize; ++offset) {
      const GridCell cell = OffsetToCell(offset);
      view_.SetCellText(cell.column, cell.row, ReadCellText(offset, image_[offset]));
    }
  // The image now holds what was just read; a failed read above keeps the history.
  history_.Clear();
  lastStep_.clear();
  roadStart_.reset();
  MapChanged();
  imageSource_ = fileName_;
  opened_ = savedImage_ = image_;
  fileMark_ = MarkOfMapFile();
  askedMark_.reset();
  caption_ = PathText{std::string(CaptionAfterRead), fileName_};
  const GridCell current = view_.CurrentCell();
  SelectCell(current.column, current.row);
}

void EditorModel::SelectCell(int column, int row) {
  positionText_ = ::PositionText({column, row});
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
  hexOffsetText_ = HexNumberText(currentOffset_);
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
  if (after.code == before.code) return;
  history_.Record({{{currentOffset_, before, after}}, currentOffset_});
  NoteStep({{currentOffset_, before, after}});
  MapChanged();
}

// The image goes back to the file it was read from, the one the caption
// names. After a failed read of another file that is still the earlier map,
// so the user's edits can be saved; the file that failed is never written,
// since the image holds nothing of it.
void EditorModel::SaveMapFile() {
  if (!imageSource_) throw MapFileError(PathText{std::string(NotReadMessage), fileName_});
  WriteMapImage(files_, *imageSource_, image_);
  savedImage_ = image_;
  fileMark_ = MarkOfMapFile();
  askedMark_.reset();
}

void EditorModel::SaveCopy(const MapPath& path) {
  if (!imageSource_) throw MapFileError(PathText{std::string(NotReadMessage), fileName_});
  if (files_.SameFile(path, *imageSource_)) throw MapFileError(PathText{std::string(CopyOfOwnFileMessage), path});
  if (files_.IsFolder(path)) throw MapFileError(PathText{std::string(CopyOntoFolderMessage), path});
  WriteMapImage(files_, path, image_);
}

void EditorModel::SaveChangesAsPatch(const MapPath& path, const ToUtf8& utf8) {
  if (!imageSource_) throw MapFileError(PathText{std::string(NotReadMessage), fileName_});
  const FileFormat& format = FormatOfNameOrRefuse(path, {FormatContent::Patch});
  const std::vector<CellChange> changes = ChangesBetween(opened_, image_);
  if (changes.empty()) throw std::runtime_error(std::string(NoChangesMessage));
  WriteWholeFile(files_, path, format.writePatch(opened_, image_, changes, utf8));
}

void EditorModel::ExportMap(const MapPath& path, const ToUtf8& utf8) {
  if (!imageSource_) throw MapFileError(PathText{std::string(NotReadMessage), fileName_});
  const FileFormat& format = FormatOfNameOrRefuse(path, {FormatContent::Map, FormatContent::Picture});
  for (const MapPath& target : ExportTargets(format, path))
    RefuseToOverwrite(files_, target, *imageSource_, OverOpenMapRefusal);
  for (const FormatFile& file : ExportFiles(format, image_, path, utf8)) WriteWholeFile(files_, file.path, file.bytes);
}

void EditorModel::ImportMap(const MapPath& path) {
  if (!mapLoaded_) return;
  TakeImage(ImportedMap(files_, FormatOfNameOrRefuse(path, {FormatContent::Map}), path));
}

std::vector<PatchFile> EditorModel::ReadPatchFiles(const std::vector<MapPath>& paths) {
  return ::ReadPatchFiles(files_, paths);
}

PatchChain EditorModel::PatchChainOf(const std::vector<PatchFile>& patches) const {
  PatchChain chain = ReadPatchChain(patches, image_);
  RefuseMisfitOrEmpty(chain);
  return chain;
}

void EditorModel::ApplyPatches(const PatchChain& chain, const std::vector<bool>& theirs) {
  if (mapLoaded_ && chain.start == image_) TakeImage(chain.WithSides(theirs));
}

::MapImage EditorModel::ReadComparedMap(const MapPath& path) { return ComparedMap(files_, path); }

void EditorModel::TakeFromMap(const ::MapImage& other, const std::vector<bool>& taken) {
  if (mapLoaded_) TakeImage(WithTaken(image_, ChangesBetween(image_, other), taken));
}

MapPath EditorModel::CopyPathSuggestion() const {
  const MapPath& map = imageSource_ ? *imageSource_ : fileName_;
  const std::size_t nameStart = NameStartOf(map);
  const std::size_t dot = map.find_last_of(u'.');
  const std::size_t stemEnd = dot != MapPath::npos && dot >= nameStart ? dot : map.size();
  MapPath name = map.substr(nameStart, stemEnd - nameStart);
  if (name.empty()) name = u"MAPDATA";
  const MapPath extension = stemEnd < map.size() ? map.substr(stemEnd) : MapPath(u".VLT");
  return map.substr(0, nameStart) + name + u" - コピー" + extension;
}

void EditorModel::Undo() {
  if (history_.CanUndo()) PutBack(history_.StepBack(), false);
}

void EditorModel::Redo() {
  if (history_.CanRedo()) PutBack(history_.StepForward(), true);
}

// The bytes and cells as a step left them, its cell shown as after a click.
void EditorModel::PutBack(const EditStep& step, bool after) {
  for (const CellEdit& edit : step.cells) {
    const CellState& state = after ? edit.after : edit.before;
    image_[edit.offset] = state.code;
    const GridCell cell = OffsetToCell(edit.offset);
    view_.SetCellText(cell.column, cell.row, state.text);
  }
  NoteStep(step.cells, after);
  MapChanged();
  ShowAsClicked(step.shownOffset);
}

void EditorModel::ShowAsClicked(int offset) {
  const GridCell cell = OffsetToCell(offset);
  view_.SetCurrentCell(cell.column, cell.row);
  SelectCell(cell.column, cell.row);
}

void EditorModel::ShapeRoads() {
  if (mapLoaded_) TakeImage(ShapedRoads(image_).image);
}

// A whole new image, shown at the first cell it changes.
void EditorModel::TakeImage(const ::MapImage& changed) {
  const std::vector<CellChange> changes = ChangesBetween(image_, changed);
  if (!changes.empty()) ApplyChanges(changed, changes.front().offset);
}

void EditorModel::ApplyDrawing(const ::MapImage& drawn) {
  if (!mapLoaded_ || drawn == image_) return;
  ApplyChanges(drawn, currentOffset_ != NoMapOffset ? currentOffset_ : ChangesBetween(image_, drawn).front().offset);
}

void EditorModel::SetRoadStart() {
  if (mapLoaded_ && currentOffset_ != NoMapOffset) roadStart_ = currentOffset_;
}

void EditorModel::LayRoad() {
  if (!mapLoaded_) return;
  if (!roadStart_) throw std::runtime_error(std::string(NoStartMessage));
  if (currentOffset_ == NoMapOffset) throw std::runtime_error(std::string(NoCellMessage));
  const ::MapImage laid = LaidRoad(image_, *roadStart_, currentOffset_).image;
  if (laid != image_) ApplyChanges(laid, currentOffset_);
}

void EditorModel::ApplyChanges(const ::MapImage& changed, int shownOffset) {
  EditStep step{{}, shownOffset};
  for (const CellChange& change : ChangesBetween(image_, changed)) {
    const GridCell cell = OffsetToCell(change.offset);
    CellState before{change.before, view_.CellText(cell.column, cell.row)};
    step.cells.push_back({change.offset, std::move(before), {change.after, EditCellText(change.after)}});
  }
  history_.Record(step);
  PutBack(step, true);
}

std::string EditorModel::SpokenCellName(int column, int row) const {
  std::string name = ::PositionText({column, row});
  const int offset = CellToOffset(column, row);
  if (!imageSource_ || offset == NoMapOffset) return name;
  const TerrainCode code = image_[offset];
  name += " " + FullNameOf(code);
  if (code < TerrainCodeCount) name += " " + std::to_string(code);
  return name;
}

std::string EditorModel::LayRoadCaption() const {
  if (!roadStart_) return std::string(LayCaption);
  return "始点 " + CellName(*roadStart_) + " からここまで道路を敷く(&L)";
}

void EditorModel::MapChanged() {
  ++mapRevision_;
  problemCursor_ = -1;
}

void EditorModel::FindProblems() {
  if (problemsRevision_ == mapRevision_) return;
  problems_ = FindRoadProblems(image_);
  problemLines_.clear();
  for (const RoadProblem& problem : problems_) problemLines_.push_back(ProblemLine(image_, problem));
  problemSummary_ = ProblemSummary(problems_.size());
  problemsRevision_ = mapRevision_;
}

const std::vector<std::string>& EditorModel::ProblemLines() {
  FindProblems();
  return problemLines_;
}

std::vector<int> EditorModel::ProblemOffsets() {
  FindProblems();
  std::vector<int> offsets;
  for (const RoadProblem& problem : problems_) offsets.push_back(problem.offset);
  return offsets;
}

const std::string& EditorModel::ProblemSummaryText() {
  FindProblems();
  return problemSummary_;
}

void EditorModel::NextProblem() {
  FindProblems();
  if (problems_.empty()) return;
  GoToProblem((problemCursor_ + 1) % static_cast<int>(problems_.size()));
}

void EditorModel::PreviousProblem() {
  FindProblems();
  if (problems_.empty()) return;
  GoToProblem(problemCursor_ <= 0 ? problems_.size() - 1 : static_cast<std::size_t>(problemCursor_ - 1));
}

void EditorModel::GoToProblem(std::size_t index) {
  FindProblems();
  if (index >= problems_.size()) return;
  problemCursor_ = static_cast<int>(index);
  ShowAsClicked(problems_[index].offset);
}

void EditorModel::ShowCode(TerrainCode code) {
  codeText_ = std::string(GlyphOf(code)) + " : " + std::to_string(code);
}

void EditorModel::NoteStep(const std::vector<CellEdit>& cells, bool forward) {
  lastStep_ = cells;
  lastStepForward_ = forward;
}

// The image before the last step is this one with the step's cells as they were.
const std::string& EditorModel::JoinChangeText() {
  if (joinChangeRevision_ == mapRevision_) return joinChange_;
  joinChangeRevision_ = mapRevision_;
  ::MapImage before = image_;
  std::vector<int> changed;
  for (const CellEdit& edit : lastStep_) {
    before[edit.offset] = (lastStepForward_ ? edit.before : edit.after).code;
    changed.push_back(edit.offset);
  }
  const std::optional<JoinChange> change = FindJoinChange(before, image_, changed);
  joinChange_ = change ? JoinChangeLine(image_, *change) : std::string();
  return joinChange_;
}

const EditorModel::Distances& EditorModel::DistancesHere() {
  if (distancesRevision_ == mapRevision_ && distancesOffset_ == currentOffset_) return distances_;
  distancesRevision_ = mapRevision_;
  distancesOffset_ = currentOffset_;
  distances_ = {std::string(DistancesCaption), {}, {}, {}};
  if (!mapLoaded_ || currentOffset_ == NoMapOffset) return distances_;
  if (!IsPlace(image_[currentOffset_])) {
    distances_.heading = NotAPlaceLine(image_, currentOffset_);
    return distances_;
  }
  const std::string name = FullNameOf(image_[currentOffset_]);
  distances_.caption += " - " + name;
  distances_.heading = name + " (" + CellName(currentOffset_) + ")";
  for (const PlaceSteps& place : PlacesReachedFrom(image_, currentOffset_)) {
    distances_.lines.push_back(PlaceStepsLine(image_, place));
    distances_.offsets.push_back(place.offset);
  }
  if (distances_.lines.empty()) distances_.heading += ": " + NoPlaceReachedLine();
  return distances_;
}

void EditorModel::GoToDistance(std::size_t index) {
  const std::vector<int> offsets = DistancesHere().offsets;
  if (index < offsets.size()) ShowAsClicked(offsets[index]);
}

const NetworkLook& EditorModel::NetworksNow() {
  if (networksRevision_ != mapRevision_) networks_ = LookOfNetworks(image_);
  networksRevision_ = mapRevision_;
  return networks_;
}

std::optional<EditorModel::FileMark> EditorModel::MarkOfMapFile() const {
  if (!imageSource_) return std::nullopt;
  std::vector<std::uint8_t> content;
  std::uint64_t size = 0;
  if (files_.ReadStart(*imageSource_, MapSize, content, size) != FileSystem::ReadResult::Read) return std::nullopt;
  const std::string_view bytes(reinterpret_cast<const char*>(content.data()), content.size());
  return FileMark{size, files_.LastWriteTime(*imageSource_), std::hash<std::string_view>{}(bytes)};
}

// The file is read once for each question.
std::optional<EditorModel::FileMark> EditorModel::ChangedMark() const {
  const std::optional<FileMark> now = MarkOfMapFile();
  return fileMark_ && now && *now != *fileMark_ ? now : std::nullopt;
}

bool EditorModel::MapFileChanged() { return ChangedMark().has_value(); }

bool EditorModel::MapFileChangeUnasked() {
  const std::optional<FileMark> now = ChangedMark();
  return now && now != askedMark_;
}

void EditorModel::MapFileChangeAsked() { askedMark_ = MarkOfMapFile(); }

PathText EditorModel::OverwriteQuestion() const {
  return PathText{std::string(OverwriteQuestionText), imageSource_.value_or(fileName_)};
}

PathText EditorModel::ReadAgainQuestion() const {
  return PathText{std::string(ReadAgainQuestionText) + (HasUnsavedEdits() ? std::string(EditsLostText) : ""),
                  imageSource_.value_or(fileName_)};
}
