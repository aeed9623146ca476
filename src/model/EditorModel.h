#pragma once
// Everything the main window does apart from drawing: the map image, the open
// file's path and the selected offset; the user operations, with the history
// of road changes behind Undo and Redo; and every text and enabled state the
// window shows, which it reads after each one.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/FileFormats.h"
#include "formats/PatchReading.h"
#include "map/FileSystem.h"
#include "map/HexGrid.h"
#include "map/MapFile.h"
#include "map/PathText.h"
#include "map/RoadNetwork.h"
#include "model/EditHistory.h"
#include "operations/SideBySide.h"
#include "picture/MapPicture.h"

// The program's name: the window caption before a map is read, the taskbar
// button and the caption of every error box.
extern const std::string_view ApplicationTitle;

// The message when Save is asked before any read succeeded ("%s": path).
extern const std::string_view NotReadMessage;

// What the model needs from the window.
class EditorView {
 public:
  virtual ~EditorView() = default;
  // Paints whatever is waiting to be painted, before a long grid fill.
  virtual void FinishPendingRepaints() = 0;
  virtual void SetCellText(int column, int row, std::string text) = 0;
  // What a cell shows, so that Undo can give a cell back its exact text.
  virtual const std::string& CellText(int column, int row) const = 0;
  // The grid's current cell, which the user moves.
  virtual GridCell CurrentCell() const = 0;
  // Makes a cell the current one and scrolls it into view, without a click.
  virtual void SetCurrentCell(int column, int row) = 0;
};

// Go to: the line that says what the dialog takes, and what a text typed
// there names, a placeholder cell too, or why it names no cell (Shift-JIS).
std::string GoToRule();
// What a drop of files on the window does, and with which of them.
struct Drop {
  enum class Kind { Nothing, Open, Import, Patch };
  Kind kind = Kind::Nothing;
  MapPath path;
  std::vector<MapPath> patches;  // a patch's preview: every patch dropped, in the drop's order
};

struct GoToAnswer {
  std::optional<GridCell> cell;
  std::string refusal;  // empty when there is a cell
};
GoToAnswer ReadGoToText(std::string_view shiftJis);

class EditorModel {
 public:
  EditorModel(FileSystem& files, EditorView& view);

  // Files dropped on the window open as File > Open with the first named
  // MAPDATA.VLT. Without one, and with a map open, a Tiled map or the text
  // form first is imported, and a patch first opens the preview of every
  // patch dropped with it; anything
  // else opens, as File > Open with it would.
  Drop WhatDropDoes(const std::vector<MapPath>& paths) const;
  // The user chose `path` in the open dialog. A name other than MAPDATA.VLT
  // is ignored without a word; otherwise the file is read.
  void OpenMap(const MapPath& path);
  // The grid's current cell was set: column 1..352, row 1..76.
  void SelectCell(int column, int row);
  // The user picked entry `index` (0..16) of the road chooser.
  void ChooseRoad(int index);
  // Writes the image over the file it was last read from.
  void SaveMapFile();
  // Writes the image as it is now to another file, in the same safe way;
  // the map's file, its name and the history stay. Refuses the map's own
  // file (Save is for that) and a folder.
  void SaveCopy(const MapPath& path);
  // Where the save dialog proposes a copy: beside the map, under a name
  // that is not the map's own ("MAPDATA - コピー.VLT").
  MapPath CopyPathSuggestion() const;
  // Writes what changed since the last accepted Open as a patch of the
  // format its name ends in, as `valtea-map diff OPENED NOW --patch` writes
  // it; `utf8` converts texts as the platform does. Throws
  // std::runtime_error (Shift-JIS) for a name of no patch format and when
  // nothing changed, and then writes nothing.
  void SaveChangesAsPatch(const MapPath& path, const ToUtf8& utf8);
  // Writes the image now in the map exchange or picture format its name
  // ends in, as valtea-map export and render write it, never over the
  // open map file. Throws MapFileError, and writes nothing then.
  void ExportMap(const MapPath& path, const ToUtf8& utf8);
  // Reads a map exchange file whole, as valtea-map import checks it; the
  // image takes it as one step of the history. Throws MapFileError with
  // import's reason, and changes nothing then.
  void ImportMap(const MapPath& path);
  // Patches read from their files, then read in this order against the
  // image now, for their preview: what they would do. Throws MapFileError
  // with patch's reason for a damaged patch, for a BPS patch that does not
  // fit the map the ones above leave (by name) and where nothing would change.
  std::vector<PatchFile> ReadPatchFiles(const std::vector<MapPath>& paths);
  PatchChain PatchChainOf(const std::vector<PatchFile>& patches) const;
  // What the preview showed, the conflicts whose entry in `theirs` is true
  // taking their patch's new code and the others staying: one step of the
  // history, none when nothing changes.
  void ApplyPatches(const PatchChain& chain, const std::vector<bool>& theirs);
  // Another map to compare with, of any map format; throws MapFileError
  // with the format's reason.
  ::MapImage ReadComparedMap(const MapPath& path);
  // The cells of `other` at `taken` true among the differences from the
  // image now: one step of the history, none when none is taken.
  void TakeFromMap(const ::MapImage& other, const std::vector<bool>& taken);
  // Take back the last step, or apply the last one taken back again: every
  // cell of it gets its code and text back, and one cell of it becomes the
  // current one. With nothing to do they do nothing.
  void Undo();
  void Redo();

  // The road tools, from the first accepted Open on. Shape repairs the
  // pieces the road network check finds at fault; Lay lays a new road from
  // the remembered start to the current cell. Each is one step of the
  // history; one that changes nothing records none. Lay throws
  // std::runtime_error (Shift-JIS) when there is no start or no road can be
  // laid, and changes nothing then.
  void ShapeRoads();
  void SetRoadStart();
  void LayRoad();
  // A stroke of the picture's brush or eraser ended with the map `drawn`:
  // one step of the history, none when it changes nothing. The current cell
  // stays, so the grid does not jump while the player draws elsewhere; a
  // placeholder cell gives way to the first cell changed.
  void ApplyDrawing(const ::MapImage& drawn);

  // The problems of the road network check, in its order and words, built
  // again after every change of the map. Next and Previous make the next or
  // previous problem's cell current, wrapping at the ends; after a change
  // Next starts at the first again. GoToProblem makes problem `index` current.
  const std::vector<std::string>& ProblemLines();
  // The offsets of the problems, in the same order.
  std::vector<int> ProblemOffsets();
  const std::string& ProblemSummaryText();
  void NextProblem();
  void PreviousProblem();
  void GoToProblem(std::size_t index);
  // What the roads join, for the place at the current cell: the tool
  // window's caption and heading ("京都 (182:26)"), and one line per place it
  // reaches in network --from's order and words; on a cell that is no place,
  // the heading says so and there are no lines. GoToDistance makes place
  // `index` of them current.
  struct Distances {
    std::string caption, heading;
    std::vector<std::string> lines;
    std::vector<int> offsets;
  };
  const Distances& DistancesHere();
  void GoToDistance(std::size_t index);
  // The roads of the map told apart by network, for the picture.
  const NetworkLook& NetworksNow();
  // What the last step of the history, or its undoing, changed in which
  // places are joined ("堺 (172:35) が京都 (182:26) の道路網につながりました");
  // empty when it changed nothing there. Worked out when first asked.
  const std::string& JoinChangeText();
  // The file Save writes, as this program last read or wrote it: whether
  // another program has changed it since (a file that has gone has not);
  // whether that change was already asked about; and that it was asked about
  // now. The questions, in their words, name the file.
  bool MapFileChanged();
  bool MapFileChangeUnasked();
  void MapFileChangeAsked();
  PathText OverwriteQuestion() const;
  PathText ReadAgainQuestion() const;
  // Whether the image differs from what was last read or written.
  bool HasUnsavedEdits() const { return image_ != savedImage_; }
  const std::optional<MapPath>& MapSource() const { return imageSource_; }
  // Grows by one with every change of the map image.
  unsigned long MapRevision() const { return mapRevision_; }

  // State.
  const ::MapImage& MapImage() const { return image_; }
  const MapPath& MapFileName() const { return fileName_; }
  int CurrentOffset() const { return currentOffset_; }  // NoMapOffset on a placeholder cell
  bool MapLoaded() const { return mapLoaded_; }

  // View state.
  const PathText& Caption() const { return caption_; }
  const std::string& PositionText() const { return positionText_; }
  const std::string& CodeText() const { return codeText_; }
  const std::string& HexOffsetText() const { return hexOffsetText_; }
  const std::string& DecimalOffsetText() const { return decimalOffsetText_; }
  bool RoadChooserEnabled() const { return roadChooserEnabled_; }
  int RoadChooserIndex() const { return roadChooserIndex_; }
  bool GridEnabled() const { return mapLoaded_; }
  bool SaveEnabled() const { return mapLoaded_; }
  bool UndoEnabled() const { return history_.CanUndo(); }
  // The history's cells, and whether it still reaches back to the last read.
  std::size_t HistoryCellsHeld() const { return history_.CellsHeld(); }
  bool HistoryReachesRead() const { return !history_.ForgotSteps(); }
  unsigned long StepsRecorded() const { return history_.StepsRecorded(); }
  bool RedoEnabled() const { return history_.CanRedo(); }
  bool RoadToolsEnabled() const { return mapLoaded_; }
  // What a screen reader reads for a cell: its place as the position text
  // shows it, then the terrain's full name and the code ("5 : 10 平地 4",
  // "5 : 10 不明なコード 200"); a placeholder, or any cell before a map is
  // read, by its place alone.
  std::string SpokenCellName(int column, int row) const;
  // The Lay item's caption, which names the remembered start.
  std::string LayRoadCaption() const;

 private:
  void LoadMapFile();
  void ShowCode(TerrainCode code);
  // Records and shows what a command changed: every cell that differs in
  // `changed` gets its new code and the text of an edited cell.
  void ApplyChanges(const ::MapImage& changed, int shownOffset);
  void TakeImage(const ::MapImage& changed);
  void PutBack(const EditStep& step, bool after);
  void MapChanged();
  void ShowAsClicked(int offset);
  void FindProblems();
  void NoteStep(const std::vector<CellEdit>& cells, bool forward = true);
  // What the file is now: its size, when it was written, a hash of its bytes.
  struct FileMark {
    std::uint64_t size = 0;
    std::optional<std::int64_t> written;
    std::size_t hash = 0;
    bool operator==(const FileMark& other) const {
      return size == other.size && written == other.written && hash == other.hash;
    }
    bool operator!=(const FileMark& other) const { return !(*this == other); }
  };
  std::optional<FileMark> MarkOfMapFile() const;
  std::optional<FileMark> ChangedMark() const;  // the mark now, when it differs from fileMark_

  FileSystem& files_;
  EditorView& view_;

  ::MapImage image_{};
  MapPath fileName_;
  int currentOffset_ = 0;
  bool mapLoaded_ = false;
  // The file the image was last read from, which Save writes. After a failed
  // read of another file the image still holds this one's map with the
  // user's edits; saving it over the other file would destroy that file.
  std::optional<MapPath> imageSource_;
  // The map as the last accepted Open read it, which the changes are measured from.
  ::MapImage opened_{};
  // The image as last read or written, and its file then and as last asked about.
  ::MapImage savedImage_{};
  std::optional<FileMark> fileMark_, askedMark_;
  // The steps since the last successful read.
  EditHistory history_;
  std::optional<int> roadStart_;
  unsigned long mapRevision_ = 0;
  // The road network's problems at problemsRevision_, and where Next is.
  unsigned long problemsRevision_ = static_cast<unsigned long>(-1);
  std::vector<RoadProblem> problems_;
  std::vector<std::string> problemLines_;
  std::string problemSummary_;
  int problemCursor_ = -1;
  // The distances at distancesRevision_ from distancesOffset_, the networks at networksRevision_.
  unsigned long distancesRevision_ = static_cast<unsigned long>(-1), networksRevision_ = distancesRevision_;
  int distancesOffset_ = NoMapOffset;
  Distances distances_;
  NetworkLook networks_;
  // The cells of the last step, as it went, and what it did to the joins.
  std::vector<CellEdit> lastStep_;
  bool lastStepForward_ = true;
  unsigned long joinChangeRevision_ = static_cast<unsigned long>(-1);
  std::string joinChange_;

  PathText caption_;
  std::string positionText_;
  std::string codeText_;
  std::string hexOffsetText_;
  std::string decimalOffsetText_;
  bool roadChooserEnabled_ = false;
  int roadChooserIndex_ = NoRoadChoice;
};
