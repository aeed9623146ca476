#include "Main1.h"

#include <windowsx.h>
#include <uxtheme.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "About1.h"
#include "map/TextEncoding.h"
#include "platform/Text.h"
#include "resources/Resources.h"
#include "ui/Accessibility.h"
#include "ui/Dpi.h"
#include "ui/Fonts.h"
#include "ui/Handles.h"
#include "ui/Layout.h"
#include "operations/MapOperations.h"
#include "patch/TextPatch.h"
#include "ui/PatchPreviewDialog.h"
#include "ui/PromptDialog.h"

const wchar_t DefaultGameFolder[] = L"C:\\Program Files\\Corvane\\Valtea\\";

namespace {

constexpr wchar_t ClassName[] = L"TMainForm1";
constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

constexpr std::string_view GoToCaption = "マスへ移動";
constexpr std::string_view PatchPreviewCaption = "パッチの確認 - ";
constexpr std::string_view ComparisonCaption = "地図の比較 - ";
constexpr std::string_view CodeFieldName = "コード";
constexpr std::string_view HexOffsetFieldName = "16進オフセット";
constexpr std::string_view DecimalOffsetFieldName = "10進オフセット";
constexpr std::string_view RoadChooserName = "道路の形";

// Shift-JIS into UTF-8 as valtea-map on Windows converts it.
ToUtf8 PlatformUtf8() {
  return [](std::string_view text) { return Utf8FromUtf16(PathFromWide(Widen(text)), LoneSurrogates::Replace); };
}

std::vector<std::wstring> WideLines(const std::vector<std::string>& lines) {
  std::vector<std::wstring> wide;
  wide.reserve(lines.size());
  for (const std::string& line : lines) wide.push_back(Widen(line));
  return wide;
}

}  // namespace

TMainForm1::TMainForm1(std::wstring gameFolder)
    : gameFolder_(std::move(gameFolder)), model_(files_, *this) {
  SetErrorBoxCaption(Widen(ApplicationTitle));
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  RegisterFormClassOnce(ClassName);
  commands_ = MakeCommands();
}

void TMainForm1::CreateWindowAndControls() {
  icon_ = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM));
  const std::wstring title = Widen(ApplicationTitle);
  application_.CreateWindowWithTitle(title.c_str(), icon_);

  CreateMenuBar();
  RECT frame{0, 0, Scale(Layout::MainClientWidth), Scale(Layout::MainClientHeight)};
  AdjustWindowRectEx(&frame, Style, TRUE, 0);
  WindowArgs args;
  args.className = ClassName;
  args.caption = title;
  args.style = Style;
  args.x = Scale(Layout::MainLeft);
  args.y = Scale(Layout::MainTop);
  args.width = frame.right - frame.left;
  args.height = frame.bottom - frame.top;
  args.parent = application_.Window();
  args.menuOrId = menuBar_.get();
  Create(args);
  MainMenu1 = menuBar_.release();  // the window owns it now
  application_.SetMainWindow(Window());
  if (icon_ != nullptr) {
    SendMessageW(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  }
  SendMessageW(Window(), WM_SETFONT, reinterpret_cast<WPARAM>(SharedFont(Fonts::Window, Dpi())), FALSE);
  DragAcceptFiles(Window(), TRUE);
  toolWindows_.SetOwner(Window());
  toolWindows_.Add(ProblemsForm1, [this] { ShowPicture(); });  // without its rings
  toolWindows_.Add(PictureForm1);
  toolWindows_.Add(DistancesForm1);

  StringGrid1.Create(ArgsOf(IdStringGrid1, Layout::StringGrid1));
  CreateToolBar();
  CreateSidePanel();
  ConnectEvents();
  ShowViewState();
  FormCreate();
}

void TMainForm1::Show(int showCommand) {
  application_.Show();
  ShowWindow(Window(), showCommand);
  UpdateWindow(Window());
}

// Every command of the window, once: the menu bar, the shortcuts, the
// toolbar and WM_COMMAND are all made from these rows.
CommandTable TMainForm1::MakeCommands() {
  const auto loaded = [this] { return model_.RoadToolsEnabled(); };
  const auto saving = [this] { return model_.SaveEnabled(); };
  // An open chooser list is in the middle of a choice: the history waits.
  const auto choosing = [this] { return RoadComboBox1.Window() != nullptr && RoadComboBox1.DroppedDown(); };
  std::vector<Command> rows = {
      MenuCommand(IdOpen1, "開く(&O)...", ShortcutCtrl + 'O', [this] { Open1Click(); }),
      MenuCommand(IdSave1, "上書き保存(&S)", ShortcutCtrl + 'S', [this] { Save1Click(); }, saving),
      MenuCommand(IdSaveCopy1, "コピーを保存(&A)...", 0, [this] { SaveCopy1Click(); }, saving),
      MenuCommand(IdApplyPatch1, "パッチを当てる(&P)...", 0, [this] { ApplyPatch1Click(); }, saving),
      MenuCommand(IdSavePatch1, "変更をパッチとして保存(&D)...", 0, [this] { SavePatch1Click(); }, saving),
      MenuCommand(IdCompare1, "地図と比べる(&C)...", 0, [this] { Compare1Click(); }, saving),
      MenuCommand(IdExport1, "エクスポート(&E)...", 0, [this] { Export1Click(); }, saving),
      MenuCommand(IdImport1, "インポート(&I)...", 0, [this] { Import1Click(); }, saving),
      MenuCommand(IdExit1, "終了(&X)", 0, [this] { Exit1Click(); }),
      MenuCommand(IdUndo1, "元に戻す(&U)", ShortcutCtrl + 'Z', [this] { Undo1Click(); },
                  [this, choosing] { return model_.UndoEnabled() && !choosing(); }),
      MenuCommand(IdRedo1, "やり直し(&R)", ShortcutCtrl + 'Y', [this] { Redo1Click(); },
                  [this, choosing] { return model_.RedoEnabled() && !choosing(); }),
      MenuCommand(IdGoToCell1, "マスへ移動(&G)...", ShortcutCtrl + 'G', [this] { GoToCell1Click(); }, loaded),
      MenuCommand(IdMapPicture1, "地図の絵(&M)", ShortcutCtrl + 'M', [this] { MapPicture1Click(); }, loaded),
      MenuCommand(IdNetworkColours1, "道路網を色分けする(&N)", 0, [this] { NetworkColours1Click(); }),
      MenuCommand(IdProblems1, "道路網の問題(&P)...", 0, [this] { Problems1Click(); }, loaded),
      MenuCommand(IdNextProblem1, "次の問題へ(&N)", VK_F8, [this] { NextProblem1Click(); }, loaded),
      MenuCommand(IdPreviousProblem1, "前の問題へ(&B)", ShortcutShift + VK_F8, [this] { PreviousProblem1Click(); },
                  loaded),
      MenuCommand(IdDistances1, "道のり(&D)...", 0, [this] { Distances1Click(); }, loaded),
      MenuCommand(IdShapeRoads1, "道路の形を直す(&S)", 0, [this] { ShapeRoads1Click(); }, loaded),
      MenuCommand(IdSetRoadStart1, "ここを始点にする(&T)", ShortcutCtrl + 'B', [this] { SetRoadStart1Click(); }, loaded),
      MenuCommand(IdLayRoad1, "", ShortcutCtrl + 'L', [this] { LayRoad1Click(); }, loaded),
      MenuCommand(IdContents1, "目次(&C)...", VK_F1, nullptr),  // no help file yet
      MenuCommand(IdAbout1, "バージョン情報(&A)...", 0, [this] { About1Click(); }),
      ButtonCommand(IdOpenToolButton1, IdOpen1, IDB_OPEN, [this] { OpenToolButton1Click(); }),
      ButtonCommand(IdSaveToolButton2, IdSave1, IDB_SAVE, [this] { SaveToolButton2Click(); }),
  };
  for (Command& row : rows) {
    if (row.id == IdRedo1) row.otherKeys = ShortcutCtrl + ShortcutShift + 'Z';
    if (row.id == IdLayRoad1) row.captionNow = [this] { return model_.LayRoadCaption(); };
    if (row.id == IdNetworkColours1) row.checked = [this] { return pictureMemory_.networks; };
  }
  return CommandTable(std::move(rows));
}

void TMainForm1::CreateMenuBar() {
  menuBar_ = commands_.CreateMenuBar({
      {"ファイル(&F)",
       {IdOpen1, IdSave1, IdSaveCopy1, 0, IdApplyPatch1, IdSavePatch1, IdCompare1, 0, IdImport1, IdExport1, 0,
        IdExit1}},
      {"編集(&E)", {IdUndo1, IdRedo1, 0, IdGoToCell1}},
      {"表示(&V)", {IdMapPicture1, IdNetworkColours1}},
      {"道路(&R)", {IdProblems1, IdNextProblem1, IdPreviousProblem1, IdDistances1, 0, IdShapeRoads1, 0, IdSetRoadStart1,
                   IdLayRoad1}},
      {"ヘルプ(&H)", {IdContents1, 0, IdAbout1}},
  });
  accelerators_ = commands_.CreateShortcuts();
}

ControlArgs TMainForm1::ArgsOf(MainControl id, const Layout::Box& box, DWORD style, DWORD exStyle) const {
  return ControlArgs{Window(), id, box, &Fonts::Window, style, exStyle, L"", Dpi()};
}

void TMainForm1::CreateToolBar() {
  ToolBar::Args args;
  static_cast<ControlArgs&>(args) = ArgsOf(IdToolBar1, Layout::ToolBar1);
  args.buttons = commands_.ToolButtons({IdOpenToolButton1, IdSaveToolButton2});
  args.firstButton = Layout::OpenToolButton1;
  args.imageSize = Layout::ToolImageSize;
  args.maskColour = TOOLBAR_MASK_COLOUR;
  ToolBar1.Create(args);
}

void TMainForm1::CreateSidePanel() {
  ComboBox::Args chooser;
  static_cast<ControlArgs&>(chooser) =
      ArgsOf(IdRoadComboBox1, Layout::RoadComboBox1, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | WS_DISABLED);
  for (std::string_view choice : RoadChoices) chooser.items.push_back(Widen(choice));
  chooser.visibleItems = Layout::RoadComboBoxVisibleEntries;
  RoadComboBox1.Create(chooser);

  const DWORD editStyle = ES_READONLY | ES_AUTOHSCROLL;
  Edit1.Create(ArgsOf(IdEdit1, Layout::Edit1, editStyle, WS_EX_CLIENTEDGE));
  ControlArgs offset = ArgsOf(IdEdit2, Layout::Edit2, editStyle, WS_EX_CLIENTEDGE);
  offset.font = &Fonts::Fixed;
  Edit2.Create(offset);
  offset.id = IdEdit3;
  offset.box = Layout::Edit3;
  Edit3.Create(offset);

  Label1.Create(ArgsOf(IdLabel1, Layout::Label1, SS_LEFT | SS_NOPREFIX));
  // The read-only info fields sit on the scroll bar colour, the label on the window's.
  for (EditField* field : {&Edit1, &Edit2, &Edit3}) field->SetBackground(COLOR_SCROLLBAR);
  Label1.SetBackground(COLOR_BTNFACE);
}

void TMainForm1::OnDpiChanged() {
  SendMessageW(Window(), WM_SETFONT, reinterpret_cast<WPARAM>(SharedFont(Fonts::Window, Dpi())), FALSE);
}

// What each control tells is handed to its handler; the focus, to the
// memory of where it was.
void TMainForm1::ConnectEvents() {
  StringGrid1.onClick = [this] { StringGrid1Click(); };
  RoadComboBox1.onSelectionChanged = [this] { RoadComboBox1Change(); };
  // Undo and Redo wait while the list is open, and come back with it closed.
  RoadComboBox1.onClosedUp = [this] { commands_.ShowStates(MainMenu1, &ToolBar1); };
  for (::Control* control : std::initializer_list<::Control*>{&ToolBar1, &RoadComboBox1, &Edit1, &Edit2, &Edit3, &Label1})
    control->onFocus = [this, control] { RememberFocusedControl(control->Window()); };
  StringGrid1.onFocus = [this] { RememberFocusedControl(StringGrid1.Window()); };
  StringGrid1.cellName = [this](GridCell cell) { return Widen(model_.SpokenCellName(cell.column, cell.row)); };
  // No caption on the screen names these; screen readers are told.
  Edit1.SetAccessibleName(Widen(CodeFieldName));
  Edit2.SetAccessibleName(Widen(HexOffsetFieldName));
  Edit3.SetAccessibleName(Widen(DecimalOffsetFieldName));
  RoadComboBox1.SetAccessibleName(Widen(RoadChooserName));
}

HWND TMainForm1::Control(MainControl id) const { return GetDlgItem(Window(), id); }

// Handlers.

void TMainForm1::FormCreate() {
  const DWORD attributes = GetFileAttributesW(gameFolder_.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  OpenDialog1_.initialFolder = gameFolder_;
  OpenDialog1_.fileName = gameFolder_ + L"MAPDATA.VLT";
}

void TMainForm1::Open1Click() { OpenCommand(); }

void TMainForm1::OpenToolButton1Click() { OpenCommand(); }

void TMainForm1::Save1Click() { SaveCommand(); }

void TMainForm1::SaveToolButton2Click() { SaveCommand(); }

// A file another program changed since it was read or written is written
// over only when the player says so, each time.
void TMainForm1::SaveCommand() {
  if (model_.MapFileChanged()) {
    model_.MapFileChangeAsked();
    if (!Dialogs().AskYesNo(Window(), Widen(model_.OverwriteQuestion()))) return;
  }
  RunModelOperation([this] { model_.SaveMapFile(); });
}

// Back in the window, once the messages waiting are handled: a change of
// the map's file by another program is asked about once, and an Open of
// the same file reads it again.
void TMainForm1::CheckMapFile() {
  checkPending_ = false;
  if (!model_.MapSource() || !model_.MapFileChangeUnasked()) return;
  model_.MapFileChangeAsked();
  if (Dialogs().AskYesNo(Window(), Widen(model_.ReadAgainQuestion()))) OpenPath(WideFromPath(*model_.MapSource()));
}

UINT TMainForm1::CheckFileMessage() {
  static const UINT message = RegisterWindowMessageW(L"ValteaCheckTheMapFile");
  return message;
}

// A copy of the image as it is now, elsewhere; the map's own file, its name
// and the history stay as they are.
void TMainForm1::SaveCopy1Click() {
  SaveDialogSettings settings;
  settings.fileName = WideFromPath(model_.CopyPathSuggestion());
  settings.initialFolder = MapFolder();
  const std::optional<std::wstring> path = Dialogs().AskSavePath(Window(), settings);
  if (path) RunModelOperation([&] { model_.SaveCopy(PathFromWide(*path)); });
}

// What changed since the last accepted Open, as a patch to share: the same
// file as valtea-map diff --patch writes.
void TMainForm1::SavePatch1Click() {
  SaveDialogSettings settings;
  settings.initialFolder = MapFolder();
  settings.filter = Widen(DialogFilter({FormatContent::Patch}));
  settings.defaultExtension = L"txt";
  const std::optional<std::wstring> path = Dialogs().AskSavePath(Window(), settings);
  if (path) RunModelOperation([&] { model_.SaveChangesAsPatch(PathFromWide(*path), PlatformUtf8()); });
}

// Mods from a forum, seen before they change anything.
void TMainForm1::ApplyPatch1Click() {
  OpenDialogSettings settings;
  settings.initialFolder = MapFolder();
  settings.filter = Widen(DialogFilter({FormatContent::Patch}) + "|" + std::string(AllFilesFilter));
  std::vector<MapPath> paths;
  for (const std::wstring& path : Dialogs().AskOpenPaths(Window(), settings)) paths.push_back(PathFromWide(path));
  if (!paths.empty()) RunModelOperation([&] { ApplyPatchFiles(std::move(paths)); });
}

// While a modal question is up, the picture rings what it is about.
template <typename Ask>
auto TMainForm1::AskOverPicture(std::vector<MapRing> rings, Ask&& ask) {
  patchRings_ = std::move(rings);
  struct Forget {
    TMainForm1& form;
    ~Forget() { form.patchRings_.clear(); }
  } forget{*this};
  ShowPicture();
  return ask();
}

void TMainForm1::ShowRings(std::vector<MapRing> rings) {
  patchRings_ = std::move(rings);
  ShowPicture();
}

// What the patches are and would do, in patch's words.
PatchPreview TMainForm1::PreviewOf(const PatchChain& chain) const {
  const MapImage patched = chain.WithSides({});
  PatchPreview preview;
  preview.summary = Widen(chain.Summary(patched));
  for (const PathText& line : chain.ConflictLines()) preview.conflicts.push_back(Widen(line));
  preview.changes = WideLines(ChangeLines(model_.MapImage(), patched));
  preview.ours = Widen(PatchSideText(false));
  preview.theirs = Widen(PatchSideText(true));
  return preview;
}

// The patches in the order of their names, which the preview can change;
// the player chooses the side of each conflict and applies them all as one step.
void TMainForm1::ApplyPatchFiles(std::vector<MapPath> paths) {
  std::stable_sort(paths.begin(), paths.end(),
                   [](const MapPath& a, const MapPath& b) { return FileNameOf(a) < FileNameOf(b); });
  const std::vector<PatchFile> files = model_.ReadPatchFiles(paths);
  const auto ordered = [&](const std::vector<std::size_t>& order) {
    std::vector<PatchFile> chosen;
    for (const std::size_t index : order) chosen.push_back(files.at(index));
    return chosen;
  };
  const PatchChain chain = model_.PatchChainOf(files);
  PatchPreview preview = PreviewOf(chain);
  preview.caption = Widen(PatchPreviewCaption);
  for (const MapPath& path : paths) {
    preview.patches.push_back(WideFromPath(FileNameOf(path)));
    preview.caption += (path == paths.front() ? L"" : L"、") + preview.patches.back();
  }
  // Nothing thrown reaches the dialog: a misfit in the new order is said in it.
  preview.reorder = [&](const std::vector<std::size_t>& order) {
    try {
      const PatchChain again = model_.PatchChainOf(ordered(order));
      ShowRings(again.Rings());
      return PreviewOf(again);
    } catch (...) {
      ShowRings({});
      PatchPreview refused;
      refused.summary = ErrorMessageOf(std::current_exception());
      refused.refused = true;
      return refused;
    }
  };
  const std::optional<PreviewAnswer> answer =
      AskOverPicture(chain.Rings(), [&] { return Dialogs().AskPatchSides(Window(), preview); });
  if (answer) model_.ApplyPatches(model_.PatchChainOf(ordered(answer->order)), answer->theirs);
}

// Any map beside this one, each difference taken from it or not.
void TMainForm1::Compare1Click() {
  OpenDialogSettings settings;
  settings.initialFolder = MapFolder();
  settings.filter = Widen(DialogFilter({FormatContent::Map}, true) + "|" + std::string(AllFilesFilter));
  const std::optional<std::wstring> path = Dialogs().AskOpenPath(Window(), settings);
  if (path) RunModelOperation([&] { CompareWith(PathFromWide(*path)); });
}

void TMainForm1::CompareWith(const MapPath& path) {
  const MapImage other = model_.ReadComparedMap(path);
  const std::vector<CellChange> differences = ChangesBetween(model_.MapImage(), other);
  PatchPreview preview;
  preview.kind = PreviewKind::Comparison;
  preview.caption = Widen(ComparisonCaption) + WideFromPath(FileNameOf(path));
  preview.summary = Widen(ChangeSummary(differences.size()));
  for (const CellChange& difference : differences) preview.conflicts.push_back(Widen(ChangeLine(difference)));
  preview.ours = Widen(ComparisonSideText(false));
  preview.theirs = Widen(ComparisonSideText(true));
  preview.onSelect = [&](std::size_t line) {  // as Go to: current, and scrolled into view
    if (line >= differences.size()) return;
    StringGrid1.SetCurrentCell(OffsetToCell(differences[line].offset));
    StringGrid1Click();
  };
  preview.onSides = [&](const std::vector<bool>& taken) { ShowRings(ComparisonRings(differences, taken)); };
  const std::optional<PreviewAnswer> answer = AskOverPicture(
      ComparisonRings(differences, {}), [&] { return Dialogs().AskPatchSides(Window(), preview); });
  if (answer) model_.TakeFromMap(other, answer->theirs);
}

// The map as Tiled, a spreadsheet or a picture takes it.
void TMainForm1::Export1Click() {
  SaveDialogSettings settings;
  settings.initialFolder = MapFolder();
  settings.filter = Widen(DialogFilter({FormatContent::Map, FormatContent::Picture}));
  settings.defaultExtension = L"tmj";
  const std::optional<std::wstring> path = Dialogs().AskSavePath(Window(), settings);
  if (path) RunModelOperation([&] { model_.ExportMap(PathFromWide(*path), PlatformUtf8()); });
}

// A map from Tiled or a spreadsheet, checked whole: one step of the history.
void TMainForm1::Import1Click() {
  OpenDialogSettings settings;
  settings.initialFolder = MapFolder();
  settings.filter = Widen(DialogFilter({FormatContent::Map}));
  const std::optional<std::wstring> path = Dialogs().AskOpenPath(Window(), settings);
  if (path) RunModelOperation([&] { model_.ImportMap(PathFromWide(*path)); });
}

// The folder of the map on screen, where the file dialogs start.
std::wstring TMainForm1::MapFolder() const { return WideFromPath(FolderOf(model_.CopyPathSuggestion())); }

// As a click on the cell named: it becomes current, scrolled into view.
void TMainForm1::GoToCell1Click() {
  TextPrompt prompt;
  prompt.caption = Widen(GoToCaption);
  prompt.prompt = Widen(GoToRule());
  prompt.text = Widen(model_.PositionText());
  prompt.refusal = [](const std::wstring& text) { return Widen(ReadGoToText(Narrow(text)).refusal); };
  const std::optional<std::wstring> text = Dialogs().AskText(Window(), prompt);
  if (!text) return;
  const GoToAnswer answer = ReadGoToText(Narrow(*text));
  if (!answer.cell) return;
  StringGrid1.SetCurrentCell(*answer.cell);
  StringGrid1Click();
}

void TMainForm1::Exit1Click() { PostMessageW(Window(), WM_CLOSE, 0, 0); }

void TMainForm1::About1Click() {
  // A fresh box each time, released when it has closed, also after a failure.
  auto AboutForm1 = MakeWindow<TAboutForm1>(Window());
  AboutForm1->ShowModal();
}

void TMainForm1::StringGrid1Click() {
  const GridCell cell = StringGrid1.CurrentCell();
  RunModelOperation([&] { model_.SelectCell(cell.column, cell.row); });
}

void TMainForm1::RoadComboBox1Change() {
  const int index = RoadComboBox1.Selection();
  RunModelOperation([&] { model_.ChooseRoad(index); });
}

void TMainForm1::Undo1Click() {
  RunModelOperation([this] { model_.Undo(); });
}

void TMainForm1::Redo1Click() {
  RunModelOperation([this] { model_.Redo(); });
}

void TMainForm1::Problems1Click() {
  if (!ProblemsForm1) {
    toolWindows_.Open(ProblemsForm1, [this](int index) { ProblemsForm1GoTo(index); });
    problemsShown_ = model_.MapRevision() - 1;  // anything but what it shows: nothing yet
    ShowProblems();
    ShowPicture();  // with the rings
  }
  ProblemsForm1->BringToFront();
}

// The roads of each network in a colour of their own, in the picture.
void TMainForm1::NetworkColours1Click() {
  pictureMemory_.networks = !pictureMemory_.networks;
  commands_.ShowStates(MainMenu1, &ToolBar1);
  ShowPicture();
}

void TMainForm1::Distances1Click() {
  if (!DistancesForm1) {
    toolWindows_.Open(DistancesForm1, [this](int index) { DistancesForm1GoTo(index); });
    ShowDistances();
  }
  DistancesForm1->BringToFront();
}

void TMainForm1::DistancesForm1GoTo(int index) {
  RunModelOperation([&] { model_.GoToDistance(static_cast<std::size_t>(index)); });
}

void TMainForm1::MapPicture1Click() {
  if (!PictureForm1) {
    TPictureForm1::Events events;
    events.cellClicked = [this](GridCell cell) { PictureForm1CellClicked(cell); };
    events.strokeEnded = [this](const MapImage& drawn) { PictureForm1StrokeEnded(drawn); };
    events.cellName = [this](GridCell cell) { return Widen(model_.SpokenCellName(cell.column, cell.row)); };
    toolWindows_.Open(PictureForm1, std::move(events), &pictureMemory_);
    ShowPicture();
  }
  PictureForm1->BringToFront();
}

// A click on a hexagon of the picture is a click on its cell in the grid.
void TMainForm1::PictureForm1CellClicked(GridCell cell) {
  StringGrid1.SetCurrentCell(cell);
  StringGrid1Click();
}

// A stroke of the brush or the eraser is one step of the history.
void TMainForm1::PictureForm1StrokeEnded(const MapImage& drawn) {
  RunModelOperation([&] { model_.ApplyDrawing(drawn); });
}

void TMainForm1::NextProblem1Click() {
  RunModelOperation([this] { model_.NextProblem(); });
}

void TMainForm1::PreviousProblem1Click() {
  RunModelOperation([this] { model_.PreviousProblem(); });
}

void TMainForm1::ShapeRoads1Click() {
  RunModelOperation([this] { model_.ShapeRoads(); });
}

void TMainForm1::SetRoadStart1Click() {
  RunModelOperation([this] { model_.SetRoadStart(); });
}

void TMainForm1::LayRoad1Click() {
  RunModelOperation([this] { model_.LayRoad(); });
}

void TMainForm1::ProblemsForm1GoTo(int index) {
  RunModelOperation([&] { model_.GoToProblem(static_cast<std::size_t>(index)); });
}

void TMainForm1::FormDropFiles(HDROP drop) {
  std::vector<std::wstring> paths(DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0));
  for (UINT index = 0; index < paths.size(); ++index) {
    paths[index].resize(DragQueryFileW(drop, index, nullptr, 0) + 1);
    paths[index].resize(DragQueryFileW(drop, index, paths[index].data(), static_cast<UINT>(paths[index].size())));
  }
  DragFinish(drop);
  std::vector<MapPath> dropped;
  for (const std::wstring& path : paths) dropped.push_back(PathFromWide(path));
  const Drop what = model_.WhatDropDoes(dropped);
  switch (what.kind) {
    case Drop::Kind::Nothing: return;
    case Drop::Kind::Open: return OpenPath(WideFromPath(what.path));
    case Drop::Kind::Import: return RunModelOperation([&] { model_.ImportMap(what.path); });
    case Drop::Kind::Patch: return RunModelOperation([&] { ApplyPatchFiles(what.patches); });
  }
}

void TMainForm1::OpenCommand() {
  const std::optional<std::wstring> path = Dialogs().AskMapPath(Window(), OpenDialog1_);
  if (path) OpenPath(*path);
}

void TMainForm1::OpenPath(const std::wstring& path) {
  OpenDialog1_.fileName = path;
  RunModelOperation([&] { model_.OpenMap(PathFromWide(path)); });
}

// What an operation changed before it failed stays changed, so the view state
// is shown also when it throws; the error then goes on to the error box.
template <typename Operation>
void TMainForm1::RunModelOperation(Operation&& operation) {
  try {
    operation();
  } catch (...) {
    ShowViewState();
    throw;
  }
  ShowViewState();
}

void TMainForm1::ShowViewState() {
  SetWindowTextIfChanged(Window(), Widen(model_.Caption()));
  if (Label1.SetText(Widen(model_.PositionText()))) Label1.SizeToText();
  Edit1.SetText(Widen(model_.CodeText()));
  Edit2.SetText(Widen(model_.HexOffsetText()));
  Edit3.SetText(Widen(model_.DecimalOffsetText()));

  StringGrid1.SetEnabled(model_.GridEnabled());
  // A disabled chooser cannot keep the focus; the grid, beside it, takes it
  // rather than nobody.
  if (!model_.RoadChooserEnabled() && GetFocus() == RoadComboBox1.Window() && model_.GridEnabled())
    SetFocus(StringGrid1.Window());
  // Setting the selection from here raises no change event: only users do.
  RoadComboBox1.SetEnabled(model_.RoadChooserEnabled());
  RoadComboBox1.SetSelection(model_.RoadChooserIndex());
  commands_.ShowStates(MainMenu1, &ToolBar1);
  ShowPicture();
  FollowAtIdle();
}

// The windows that follow the map, apart from the grid and the picture of it,
// bring themselves up to date once the messages waiting now are handled:
// once however many changes came, after the grid and the picture show them.
void TMainForm1::FollowAtIdle() {
  if (!followPending_) followPending_ = PostMessageW(Window(), FollowMessage(), 0, 0) != FALSE;
}

UINT TMainForm1::FollowMessage() {
  static const UINT message = RegisterWindowMessageW(L"ValteaFollowTheMap");
  return message;
}

void TMainForm1::OnFollow() {
  followPending_ = false;
  UpdateWindow(StringGrid1.Window());
  if (PictureForm1 && PictureForm1->Window() != nullptr) UpdateWindow(PictureForm1->Window());
  ShowProblems();
  ShowDistances();
  if (PictureForm1 && PictureForm1->Window() != nullptr) PictureForm1->ShowNote(Widen(model_.JoinChangeText()));
}

// The picture follows every change of the map and of the current cell; it
// rings the problems while their window is open.
void TMainForm1::ShowPicture() {
  if (!PictureForm1 || PictureForm1->Window() == nullptr || !model_.MapLoaded()) return;
  const bool problemsOpen = ProblemsForm1 && ProblemsForm1->Window() != nullptr;
  std::vector<MapRing> rings = patchRings_;
  if (problemsOpen)
    for (const int offset : model_.ProblemOffsets()) rings.push_back({offset, RingKind::Problem});
  static const std::vector<std::uint8_t> ownColours;
  const NetworkLook* networks = pictureMemory_.networks ? &model_.NetworksNow() : nullptr;
  if (networks) rings.insert(rings.end(), networks->rings.begin(), networks->rings.end());
  PictureForm1->ShowMap(model_.MapImage(), StringGrid1.CurrentCell(), rings, networks ? networks->roadColours : ownColours);
}

// The problem window follows every change of the map while it is open.
void TMainForm1::ShowProblems() {
  if (!ProblemsForm1 || ProblemsForm1->Window() == nullptr || problemsShown_ == model_.MapRevision()) return;
  ProblemsForm1->ShowProblems(WideLines(model_.ProblemLines()), Widen(model_.ProblemSummaryText()));
  problemsShown_ = model_.MapRevision();
}

// The distances window follows the map and the current cell while it is open.
void TMainForm1::ShowDistances() {
  if (!DistancesForm1 || DistancesForm1->Window() == nullptr) return;
  const EditorModel::Distances& distances = model_.DistancesHere();
  DistancesForm1->ShowLines(Widen(distances.caption), Widen(distances.heading), WideLines(distances.lines));
}

// Messages.

bool TMainForm1::PreTranslateMessage(MSG& message) {
  if (Window() == nullptr) return false;
  if (toolWindows_.PreTranslateMessage(message)) return true;
  // A shortcut of a disabled menu item is swallowed here and does nothing.
  if (TranslateAcceleratorW(Window(), accelerators_.get(), &message)) return true;
  const bool tab = message.message == WM_KEYDOWN && message.wParam == VK_TAB;
  if (!tab || (message.hwnd != Window() && !IsChild(Window(), message.hwnd))) return false;
  HWND next = NextTabStop(GetKeyState(VK_SHIFT) < 0);
  if (next != nullptr) SetFocus(next);
  return true;
}

HWND TMainForm1::NextTabStop(bool backwards) const {
  HWND focus = GetFocus();
  if (focus != nullptr && IsChild(Window(), focus)) return GetNextDlgTabItem(Window(), focus, backwards);
  // From the window itself: Tab goes to the first control, Shift+Tab to the
  // last, the one before the first.
  HWND first = GetNextDlgTabItem(Window(), nullptr, FALSE);
  if (!backwards || first == nullptr) return first;
  return GetNextDlgTabItem(Window(), first, TRUE);
}

LRESULT TMainForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == ToolWindow::ReleaseMessage()) {
    toolWindows_.ReleaseClosed();
    return 0;
  }
  if (message == FollowMessage()) {
    OnFollow();
    return 0;
  }
  if (message == CheckFileMessage()) {
    CheckMapFile();
    return 0;
  }
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_INITMENUPOPUP:
      commands_.ShowStates(MainMenu1, &ToolBar1);
      return 0;
    case WM_DROPFILES:
      FormDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_SYSCOMMAND:
      OnSysCommand(wParam, lParam);
      return 0;
    case WM_ACTIVATE:
      OnActivate(wParam, lParam);
      return 0;
    case WM_SETFOCUS:
      OnSetFocus();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default: return DefaultHandling(message, wParam, lParam);
  }
}

// What the controls did not take: menu items, shortcuts and toolbar buttons,
// each to its command, when it can be done now.
void TMainForm1::OnCommand(WORD id) { commands_.Run(id); }

void TMainForm1::OnSysCommand(WPARAM command, LPARAM lParam) {
  // The program minimises as a whole, through the window on the taskbar.
  if ((command & 0xFFF0) == SC_MINIMIZE) {
    application_.Minimize();
    return;
  }
  DefaultHandling(WM_SYSCOMMAND, command, lParam);
}

// Leaving: the control with the focus is noted, for when the window is active
// again. A modal window may have taken the focus already when it disabled
// this one; then the control last noted stays.
void TMainForm1::OnActivate(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == WA_INACTIVE) RememberFocusedControl(GetFocus());
  else if (!checkPending_) checkPending_ = PostMessageW(Window(), CheckFileMessage(), 0, 0) != FALSE;
  DefaultHandling(WM_ACTIVATE, wParam, lParam);  // gives this window the focus when it is activated
}

void TMainForm1::OnSetFocus() {
  HWND control = focusedControl_;
  if (control != nullptr && IsWindow(control) && IsChild(Window(), control) && IsWindowEnabled(control) &&
      IsWindowVisible(control))
    SetFocus(control);
}

void TMainForm1::RememberFocusedControl(HWND focus) {
  // The window's own child, even when the focus is inside one of its parts.
  while (focus != nullptr && GetParent(focus) != Window()) focus = IsChild(Window(), focus) ? GetParent(focus) : nullptr;
  if (focus != nullptr) focusedControl_ = focus;
}

void TMainForm1::OnDestroy() { PostQuitMessage(0); }

// EditorView.

void TMainForm1::FinishPendingRepaints() {
  RedrawWindow(Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TMainForm1::SetCellText(int column, int row, std::string text) {
  StringGrid1.SetCellText(column, row, std::move(text));
}

const std::string& TMainForm1::CellText(int column, int row) const { return StringGrid1.CellText(column, row); }

GridCell TMainForm1::CurrentCell() const { return StringGrid1.CurrentCell(); }

void TMainForm1::SetCurrentCell(int column, int row) { StringGrid1.SetCurrentCell({column, row}); }
