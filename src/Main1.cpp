#include "Main1.h"

#include <windowsx.h>
#include <uxtheme.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "About1.h"
#include "platform/Text.h"
#include "resources/Resources.h"
#include "ui/Accessibility.h"
#include "ui/Dpi.h"
#include "ui/Fonts.h"
#include "ui/Handles.h"
#include "ui/Layout.h"
#include "ui/Menus.h"

const wchar_t DefaultGameFolder[] = L"C:\\Program Files\\Corvane\\Valtea\\";

namespace {

constexpr wchar_t ClassName[] = L"TMainForm1";
constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// Posted by the problem window as it goes, so that it is released once its
// last message is over.
constexpr UINT ReleaseClosedWindowsMessage = WM_APP + 1;

constexpr std::string_view OpenHint = "開く(Ctrl+O)";
constexpr std::string_view SaveHint = "上書き保存(Ctrl+S)";
constexpr std::string_view LayShortcut = "\tCtrl+L";
constexpr std::string_view CodeFieldName = "コード";
constexpr std::string_view HexOffsetFieldName = "16進オフセット";
constexpr std::string_view DecimalOffsetFieldName = "10進オフセット";
constexpr std::string_view RoadChooserName = "道路の形";

void SetTextIfChanged(HWND window, const std::wstring& text) {
  const int length = GetWindowTextLengthW(window);
  std::wstring current(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(window, current.data(), length + 1);
  current.resize(static_cast<std::size_t>(length));
  if (current != text) SetWindowTextW(window, text.c_str());
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
  commands_ = {
      {IdOpen1, [this] { Open1Click(); }},
      {IdOpenToolButton1, [this] { OpenToolButton1Click(); }},
      {IdSave1, [this] { Save1Click(); }},
      {IdSaveToolButton2, [this] { SaveToolButton2Click(); }},
      {IdExit1, [this] { Exit1Click(); }},
      {IdAbout1, [this] { About1Click(); }},
      {IdUndo1, [this] { Undo1Click(); }},
      {IdRedo1, [this] { Redo1Click(); }},
      {IdProblems1, [this] { Problems1Click(); }},
      {IdMapPicture1, [this] { MapPicture1Click(); }},
      {IdNextProblem1, [this] { NextProblem1Click(); }},
      {IdPreviousProblem1, [this] { PreviousProblem1Click(); }},
      {IdShapeRoads1, [this] { ShapeRoads1Click(); }},
      {IdSetRoadStart1, [this] { SetRoadStart1Click(); }},
      {IdLayRoad1, [this] { LayRoad1Click(); }},
  };
}

void TMainForm1::CreateWindowAndControls() {
  icon_ = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM));
  const std::wstring title = Widen(ApplicationTitle);
  application_.CreateWindowWithTitle(title.c_str(), icon_);

  CreateFonts();
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
  SendMessageW(Window(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  DragAcceptFiles(Window(), TRUE);

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

void TMainForm1::CreateFonts() {
  font_.reset(CreateShiftJisFont(WindowFontName, Layout::FontHeight, FW_NORMAL, VARIABLE_PITCH | FF_SWISS));
  fixedFont_.reset(CreateShiftJisFont(FixedFontName, Layout::FontHeight, FW_NORMAL, FIXED_PITCH | FF_MODERN));
}

void TMainForm1::CreateMenuBar() {
  menuBar_ = ::CreateMenuBar({
      {"ファイル(&F)",
       {{IdOpen1, "開く(&O)...\tCtrl+O"}, {IdSave1, "上書き保存(&S)\tCtrl+S", false}, {}, {IdExit1, "終了(&X)"}}},
      {"編集(&E)", {{IdUndo1, "元に戻す(&U)\tCtrl+Z", false}, {IdRedo1, "やり直し(&R)\tCtrl+Y", false}}},
      {"表示(&V)", {{IdMapPicture1, "地図の絵(&M)\tCtrl+M", false}}},
      {"道路(&R)",
       {{IdProblems1, "道路網の問題(&P)...", false},
        {IdNextProblem1, "次の問題へ(&N)\tF8", false},
        {IdPreviousProblem1, "前の問題へ(&B)\tShift+F8", false},
        {},
        {IdShapeRoads1, "道路の形を直す(&S)", false},
        {},
        {IdSetRoadStart1, "ここを始点にする(&T)\tCtrl+B", false},
        {IdLayRoad1, "始点からここまで道路を敷く(&L)\tCtrl+L", false}}},
      {"ヘルプ(&H)", {{IdContents1, "目次(&C)...\tF1", false}, {}, {IdAbout1, "バージョン情報(&A)..."}}},
  });
  accelerators_ = CreateShortcuts({
      {ShortcutCtrl + 'O', IdOpen1},
      {ShortcutCtrl + 'S', IdSave1},
      {VK_F1, IdContents1},
      {ShortcutCtrl + 'Z', IdUndo1},
      {ShortcutCtrl + 'Y', IdRedo1},
      {ShortcutCtrl + ShortcutShift + 'Z', IdRedo1},
      {ShortcutCtrl + 'M', IdMapPicture1},
      {VK_F8, IdNextProblem1},
      {ShortcutShift + VK_F8, IdPreviousProblem1},
      {ShortcutCtrl + 'B', IdSetRoadStart1},
      {ShortcutCtrl + 'L', IdLayRoad1},
  });
}

ControlArgs TMainForm1::ArgsOf(MainCommand id, const Layout::Box& box, DWORD style, DWORD exStyle) const {
  return ControlArgs{Window(), id, box, font_.get(), style, exStyle, L""};
}

void TMainForm1::CreateToolBar() {
  ToolBar::Args args;
  static_cast<ControlArgs&>(args) = ArgsOf(IdToolBar1, Layout::ToolBar1);
  args.buttons = {{IdOpenToolButton1, IDB_OPEN, Widen(OpenHint), true},
                  {IdSaveToolButton2, IDB_SAVE, Widen(SaveHint), false}};
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
  offset.font = fixedFont_.get();
  Edit2.Create(offset);
  offset.id = IdEdit3;
  offset.box = Layout::Edit3;
  Edit3.Create(offset);

  Label1.Create(ArgsOf(IdLabel1, Layout::Label1, SS_LEFT | SS_NOPREFIX));
}

// What each control tells is handed to its handler; the focus, to the
// memory of where it was.
void TMainForm1::ConnectEvents() {
  StringGrid1.onClick = [this] { StringGrid1Click(); };
  RoadComboBox1.onSelectionChanged = [this] { RoadComboBox1Change(); };
  for (::Control* control : std::initializer_list<::Control*>{&ToolBar1, &RoadComboBox1, &Edit1, &Edit2, &Edit3, &Label1}) {
    controlEvents_.Add(*control);
    control->onFocus = [this, control] { RememberFocusedControl(control->Window()); };
  }
  StringGrid1.onFocus = [this] { RememberFocusedControl(StringGrid1.Window()); };
  StringGrid1.cellName = [this](GridCell cell) { return Widen(model_.SpokenCellName(cell.column, cell.row)); };
  // No caption on the screen names these; screen readers are told.
  SetAccessibleName(Edit1.Window(), Widen(CodeFieldName));
  SetAccessibleName(Edit2.Window(), Widen(HexOffsetFieldName));
  SetAccessibleName(Edit3.Window(), Widen(DecimalOffsetFieldName));
  SetAccessibleName(RoadComboBox1.Window(), Widen(RoadChooserName));
}

HWND TMainForm1::Control(MainCommand id) const {
  switch (id) {
    case IdStringGrid1:
      return StringGrid1.Window();
    case IdToolBar1:
      return ToolBar1.Window();
    case IdRoadComboBox1:
      return RoadComboBox1.Window();
    case IdEdit1:
      return Edit1.Window();
    case IdEdit2:
      return Edit2.Window();
    case IdEdit3:
      return Edit3.Window();
    case IdLabel1:
      return Label1.Window();
    default:
      return nullptr;
  }
}

// Handlers.

void TMainForm1::FormCreate() {
  const DWORD attributes = GetFileAttributesW(gameFolder_.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  OpenDialog1_.initialFolder = gameFolder_;
  OpenDialog1_.fileName = gameFolder_ + L"MAPDATA.VLT";
}

void TMainForm1::Open1Click() { OpenCommand(); }

void TMainForm1::OpenToolButton1Click() { OpenCommand(); }

void TMainForm1::Save1Click() {
  RunModelOperation([this] { model_.SaveMapFile(); });
}

void TMainForm1::SaveToolButton2Click() {
  RunModelOperation([this] { model_.SaveMapFile(); });
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
    ProblemsForm1 = MakeWindow<TProblemsForm1>(
        Window(), [this](int index) { ProblemsForm1GoTo(index); },
        [this] { PostMessageW(Window(), ReleaseClosedWindowsMessage, 0, 0); });
    problemsShown_ = model_.MapRevision() - 1;  // anything but what it shows: nothing yet
    ShowProblems();
    ShowPicture();  // with the rings
  }
  ProblemsForm1->BringToFront();
}

void TMainForm1::MapPicture1Click() {
  if (!PictureForm1) {
    TPictureForm1::Events events;
    events.cellClicked = [this](GridCell cell) { PictureForm1CellClicked(cell); };
    events.closed = [this] { PostMessageW(Window(), ReleaseClosedWindowsMessage, 0, 0); };
    PictureForm1 = MakeWindow<TPictureForm1>(Window(), std::move(events));
    ShowPicture();
  }
  PictureForm1->BringToFront();
}

// A click on a hexagon of the picture is a click on its cell in the grid.
void TMainForm1::PictureForm1CellClicked(GridCell cell) {
  StringGrid1.SetCurrentCell(cell);
  StringGrid1Click();
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

// A file dropped on the window opens as File > Open with its path: of
// several, the first named MAPDATA.VLT.
void TMainForm1::FormDropFiles(HDROP drop) {
  std::vector<std::wstring> paths(DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0));
  for (UINT index = 0; index < paths.size(); ++index) {
    paths[index].resize(DragQueryFileW(drop, index, nullptr, 0) + 1);
    paths[index].resize(DragQueryFileW(drop, index, paths[index].data(), static_cast<UINT>(paths[index].size())));
  }
  DragFinish(drop);
  if (paths.empty()) return;
  const auto map = std::find_if(paths.begin(), paths.end(),
                                [](const std::wstring& path) { return IsMapFileName(PathFromWide(path)); });
  OpenPath(map != paths.end() ? *map : paths.front());
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
  SetTextIfChanged(Window(), Widen(model_.Caption()));
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
  ToolBar1.SetButtonEnabled(IdSaveToolButton2, model_.SaveEnabled());
  ShowMenuState();
  ShowProblems();
  ShowPicture();
}

// The picture follows every change of the map and of the current cell; it
// rings the problems while their window is open.
void TMainForm1::ShowPicture() {
  if (!PictureForm1 || PictureForm1->Window() == nullptr || !model_.MapLoaded()) return;
  const bool problemsOpen = ProblemsForm1 && ProblemsForm1->Window() != nullptr;
  PictureForm1->ShowMap(model_.MapImage(), StringGrid1.CurrentCell(),
                        problemsOpen ? model_.ProblemOffsets() : std::vector<int>{});
}

void TMainForm1::ShowMenuState() {
  SetMenuItemEnabled(MainMenu1, IdSave1, model_.SaveEnabled());
  SetMenuItemEnabled(MainMenu1, IdUndo1, model_.UndoEnabled());
  SetMenuItemEnabled(MainMenu1, IdRedo1, model_.RedoEnabled());
  for (WORD id : {IdMapPicture1, IdProblems1, IdNextProblem1, IdPreviousProblem1, IdShapeRoads1, IdSetRoadStart1,
                  IdLayRoad1})
    SetMenuItemEnabled(MainMenu1, id, model_.RoadToolsEnabled());
  const std::string layCaption = model_.LayRoadCaption() + std::string(LayShortcut);
  if (layCaption != layCaption_) SetMenuItemCaption(MainMenu1, IdLayRoad1, layCaption_ = layCaption);
}

// The problem window follows every change of the map while it is open.
void TMainForm1::ShowProblems() {
  if (!ProblemsForm1 || ProblemsForm1->Window() == nullptr || problemsShown_ == model_.MapRevision()) return;
  ProblemsForm1->ShowProblems(WideLines(model_.ProblemLines()), Widen(model_.ProblemSummaryText()));
  problemsShown_ = model_.MapRevision();
}

bool TMainForm1::IsCommandEnabled(WORD id) const {
  // An open chooser list is in the middle of a choice: the history waits.
  if ((id == IdUndo1 || id == IdRedo1) && RoadComboBox1.DroppedDown()) return false;
  if (id == IdOpenToolButton1 || id == IdSaveToolButton2) return ToolBar1.ButtonEnabled(id);
  return MenuItemEnabled(MainMenu1, id);
}

// Messages.

bool TMainForm1::PreTranslateMessage(MSG& message) {
  if (Window() == nullptr) return false;
  if (ProblemsForm1 && ProblemsForm1->PreTranslateMessage(message)) return true;
  if (PictureForm1 && PictureForm1->PreTranslateMessage(message)) return true;
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
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_NOTIFY:
      return controlEvents_.Notify(*reinterpret_cast<const NMHDR*>(lParam)).value_or(0);
    case WM_CTLCOLORSTATIC:
      return OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DROPFILES:
      FormDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case ReleaseClosedWindowsMessage:
      if (ProblemsForm1 && ProblemsForm1->Window() == nullptr) {
        ProblemsForm1.reset();
        ShowPicture();  // without its rings
      }
      if (PictureForm1 && PictureForm1->Window() == nullptr) PictureForm1.reset();
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
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

// A control's notification goes to the control; menu items, shortcuts and
// toolbar buttons each to the handler of their identifier, when enabled.
void TMainForm1::OnCommand(WORD id, WORD code, HWND control) {
  if (control != nullptr && controlEvents_.Command(control, code)) return;
  if (control != nullptr && control != ToolBar1.Window()) return;
  const auto command = commands_.find(id);
  if (command == commands_.end() || !IsCommandEnabled(id)) return;  // Contents1 has no handler
  command->second();
}

LRESULT TMainForm1::OnControlColor(HDC dc, HWND control) {
  // The read-only info fields sit on the scroll bar colour, the label on the window's.
  const int colour = control == Label1.Window() ? COLOR_BTNFACE : COLOR_SCROLLBAR;
  SetBkColor(dc, GetSysColor(colour));
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(colour));
}

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
