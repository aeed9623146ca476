#include "Main1.h"

#include <windowsx.h>
#include <uxtheme.h>

#include <memory>

#include "About1.h"
#include "platform/Text.h"
#include "resources/Resources.h"
#include "ui/Dpi.h"
#include "ui/Fonts.h"
#include "ui/Handles.h"
#include "ui/Layout.h"

const wchar_t DefaultGameFolder[] = L"C:\\Program Files\\Corvane\\Valtea\\";

namespace {

constexpr wchar_t ClassName[] = L"TMainForm1";
constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// Shortcuts are kept as key code plus modifier flags.
constexpr int ShortCutShift = 0x2000;
constexpr int ShortCutCtrl = 0x4000;
constexpr int ShortCutOpen = ShortCutCtrl + 'O';  // 16463
constexpr int ShortCutSave = ShortCutCtrl + 'S';  // 16467
constexpr int ShortCutHelp = VK_F1;               // 112
// Undo and redo have no menu item: keys only.
constexpr int ShortCutUndo = ShortCutCtrl + 'Z';                       // 16474
constexpr int ShortCutRedo = ShortCutCtrl + 'Y';                       // 16473
constexpr int ShortCutShiftRedo = ShortCutCtrl + ShortCutShift + 'Z';  // 24666

ACCEL AcceleratorOf(int shortCut, WORD command) {
  BYTE flags = FVIRTKEY;
  if (shortCut & ShortCutCtrl) flags |= FCONTROL;
  if (shortCut & ShortCutShift) flags |= FSHIFT;
  return ACCEL{flags, static_cast<WORD>(shortCut & 0xFF), command};
}

constexpr std::string_view OpenHint = "開く(Ctrl+O)";
constexpr std::string_view SaveHint = "上書き保存(Ctrl+S)";

void SetTextIfChanged(HWND window, const std::wstring& text) {
  const int length = GetWindowTextLengthW(window);
  std::wstring current(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(window, current.data(), length + 1);
  current.resize(static_cast<std::size_t>(length));
  if (current != text) SetWindowTextW(window, text.c_str());
}

// How much frame a combo box adds around its field differs between systems
// (Wine even reports a field height other than the one it was given), so the
// field is sized by measuring the box.
void SetClosedHeight(HWND comboBox, int height) {
  auto field = SendMessageW(comboBox, CB_GETITEMHEIGHT, WPARAM(-1), 0);
  for (int attempt = 0; attempt < 3; ++attempt) {
    RECT closed{};
    GetWindowRect(comboBox, &closed);
    const int difference = height - (closed.bottom - closed.top);
    if (difference == 0) return;
    field += difference;
    SendMessageW(comboBox, CB_SETITEMHEIGHT, WPARAM(-1), field);
  }
}

void AppendItem(HMENU menu, WORD id, std::string_view caption, bool enabled = true) {
  if (!AppendMenuW(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id, Widen(caption).c_str()))
    ThrowWindowNotCreated();
}

void AppendSeparator(HMENU menu) {
  if (!AppendMenuW(menu, MF_SEPARATOR, 0, nullptr)) ThrowWindowNotCreated();
}

// Once on the bar, the popup belongs to the bar and goes with it.
void AppendPopup(HMENU bar, MenuHandle popup, std::string_view caption) {
  if (!AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()), Widen(caption).c_str()))
    ThrowWindowNotCreated();
  popup.release();
}

MenuHandle CreatePopup() {
  MenuHandle popup(CreatePopupMenu());
  if (!popup) ThrowWindowNotCreated();
  return popup;
}

}  // namespace

TMainForm1::TMainForm1(std::wstring gameFolder)
    : gameFolder_(std::move(gameFolder)), model_(files_, *this) {
  SetErrorBoxCaption(Widen(ApplicationTitle));
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  RegisterFormClassOnce(ClassName);
}

TMainForm1::~TMainForm1() {
  // Now, while the fonts and pictures its controls use still exist.
  if (Window() != nullptr) DestroyWindow(Window());
}

void TMainForm1::CreateWindowAndControls() {
  icon_ = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM));
  const std::wstring title = Widen(ApplicationTitle);
  application_.CreateWindowWithTitle(title.c_str(), icon_);

  CreateFonts();
  CreateMenuBar();
  RECT frame{0, 0, Scale(Layout::MainClientWidth), Scale(Layout::MainClientHeight)};
  AdjustWindowRectEx(&frame, Style, TRUE, 0);
  Create(ClassName, title.c_str(), Style, 0, Scale(Layout::MainLeft), Scale(Layout::MainTop),
         frame.right - frame.left, frame.bottom - frame.top, application_.Window(), menuBar_.get());
  MainMenu1 = menuBar_.release();  // the window owns it now
  application_.SetMainWindow(Window());
  if (icon_ != nullptr) {
    SendMessageW(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  }
  SendMessageW(Window(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

  StringGrid1.CreateControl(Window(), IdStringGrid1, Layout::StringGrid1);
  SendMessageW(StringGrid1.Window(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  CreateToolBar();
  CreateSidePanel();
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
  MenuHandle File1 = CreatePopup();
  AppendItem(File1.get(), IdOpen1, "開く(&O)...\tCtrl+O");
  AppendItem(File1.get(), IdSave1, "上書き保存(&S)\tCtrl+S", false);
  AppendSeparator(File1.get());  // N1
  AppendItem(File1.get(), IdExit1, "終了(&X)");

  MenuHandle Help1 = CreatePopup();
  AppendItem(Help1.get(), IdContents1, "目次(&C)...\tF1", false);
  AppendSeparator(Help1.get());  // N2
  AppendItem(Help1.get(), IdAbout1, "バージョン情報(&A)...");

  menuBar_.reset(CreateMenu());
  if (!menuBar_) ThrowWindowNotCreated();
  AppendPopup(menuBar_.get(), std::move(File1), "ファイル(&F)");
  AppendPopup(menuBar_.get(), std::move(Help1), "ヘルプ(&H)");

  ACCEL shortcuts[] = {AcceleratorOf(ShortCutOpen, IdOpen1), AcceleratorOf(ShortCutSave, IdSave1),
                       AcceleratorOf(ShortCutHelp, IdContents1), AcceleratorOf(ShortCutUndo, IdUndo),
                       AcceleratorOf(ShortCutRedo, IdRedo), AcceleratorOf(ShortCutShiftRedo, IdRedo)};
  accelerators_.reset(CreateAcceleratorTableW(shortcuts, static_cast<int>(std::size(shortcuts))));
  if (!accelerators_) ThrowWindowNotCreated();
}

HWND TMainForm1::CreateChild(const wchar_t* className, DWORD style, DWORD exStyle, const Layout::Box& box,
                             MainCommand id, const wchar_t* text) {
  HWND child = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, Scale(box.left),
                               Scale(box.top), Scale(box.width), Scale(box.height), Window(),
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleW(nullptr),
                               nullptr);
  if (child == nullptr) ThrowWindowNotCreated();
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  return child;
}

void TMainForm1::CreateToolBar() {
  // Raised buttons (not flat) with pictures only; the etched lines along the
  // top and bottom edges are drawn after the toolbar paints (OnNotify).
  ToolBar1 = CreateChild(TOOLBARCLASSNAMEW,
                         TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN, 0,
                         Layout::ToolBar1, IdToolBar1);
  SendMessageW(ToolBar1, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  // No visual style: its toolbar background and hot look are flat ones.
  SetWindowTheme(ToolBar1, L" ", L" ");

  const int imageSize = Scale(Layout::ToolImageSize);
  imageList_.reset(ImageList_Create(imageSize, imageSize, ILC_COLOR24 | ILC_MASK, 2, 0));
  if (!imageList_) ThrowWindowNotCreated();
  for (int id : {IDB_OPEN, IDB_SAVE}) {
    const BitmapHandle picture(static_cast<HBITMAP>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, imageSize, imageSize, LR_CREATEDIBSECTION)));
    // A button without its picture would be a blank square nobody can tell apart.
    if (!picture || ImageList_AddMasked(imageList_.get(), picture.get(), TOOLBAR_MASK_COLOUR) < 0)
      ThrowWindowNotCreated();
  }
  SendMessageW(ToolBar1, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(imageList_.get()));
  SendMessageW(ToolBar1, TB_SETBITMAPSIZE, 0, MAKELPARAM(imageSize, imageSize));
  SendMessageW(ToolBar1, TB_SETBUTTONSIZE, 0,
               MAKELPARAM(Scale(Layout::OpenToolButton1.width), Scale(Layout::OpenToolButton1.height)));
  SendMessageW(ToolBar1, TB_SETINDENT, Scale(Layout::OpenToolButton1.left), 0);

  TBBUTTON buttons[] = {
      {0, IdOpenToolButton1, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
      {1, IdSaveToolButton2, 0, BTNS_BUTTON, {}, 0, 0},
  };
  SendMessageW(ToolBar1, TB_ADDBUTTONSW, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
}

void TMainForm1::CreateSidePanel() {
  RoadComboBox1 = CreateChild(WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | WS_DISABLED, 0,
                              Layout::RoadComboBox1, IdRoadComboBox1);
  for (std::string_view choice : RoadChoices)
    SendMessageW(RoadComboBox1, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(choice).c_str()));
  // The list shows every entry at once; the closed box is as high as the layout says.
  const int itemHeight = static_cast<int>(SendMessageW(RoadComboBox1, CB_GETITEMHEIGHT, 0, 0));
  const int closedHeight = Scale(Layout::RoadComboBox1.height);
  SendMessageW(RoadComboBox1, CB_SETMINVISIBLE, Layout::RoadComboBoxVisibleEntries, 0);
  SetWindowPos(RoadComboBox1, nullptr, 0, 0, Scale(Layout::RoadComboBox1.width),
               closedHeight + itemHeight * Layout::RoadComboBoxVisibleEntries + 2,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetClosedHeight(RoadComboBox1, closedHeight);

  const DWORD editStyle = ES_READONLY | ES_AUTOHSCROLL;
  Edit1 = CreateChild(WC_EDITW, editStyle, WS_EX_CLIENTEDGE, Layout::Edit1, IdEdit1);
  Edit2 = CreateChild(WC_EDITW, editStyle, WS_EX_CLIENTEDGE, Layout::Edit2, IdEdit2);
  Edit3 = CreateChild(WC_EDITW, editStyle, WS_EX_CLIENTEDGE, Layout::Edit3, IdEdit3);
  SendMessageW(Edit2, WM_SETFONT, reinterpret_cast<WPARAM>(fixedFont_.get()), FALSE);
  SendMessageW(Edit3, WM_SETFONT, reinterpret_cast<WPARAM>(fixedFont_.get()), FALSE);

  Label1 = CreateChild(WC_STATICW, SS_LEFT | SS_NOPREFIX, 0, Layout::Label1, IdLabel1);
}

HWND TMainForm1::Control(MainCommand id) const {
  switch (id) {
    case IdStringGrid1:
      return StringGrid1.Window();
    case IdToolBar1:
      return ToolBar1;
    case IdRoadComboBox1:
      return RoadComboBox1;
    case IdEdit1:
      return Edit1;
    case IdEdit2:
      return Edit2;
    case IdEdit3:
      return Edit3;
    case IdLabel1:
      return Label1;
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
  auto AboutForm1 = std::make_unique<TAboutForm1>(Window());
  AboutForm1->ShowModal();
}

void TMainForm1::StringGrid1Click() {
  const GridCell cell = StringGrid1.CurrentCell();
  RunModelOperation([&] { model_.SelectCell(cell.column, cell.row); });
}

void TMainForm1::RoadComboBox1Change() {
  const int index = static_cast<int>(SendMessageW(RoadComboBox1, CB_GETCURSEL, 0, 0));
  if (index == CB_ERR) return;
  RunModelOperation([&] { model_.ChooseRoad(index); });
}

void TMainForm1::UndoShortcut() {
  RunModelOperation([this] { model_.Undo(); });
}

void TMainForm1::RedoShortcut() {
  RunModelOperation([this] { model_.Redo(); });
}

void TMainForm1::OpenCommand() {
  const std::optional<std::wstring> path = Dialogs().AskMapPath(Window(), OpenDialog1_);
  if (!path) return;
  OpenDialog1_.fileName = *path;
  RunModelOperation([&] { model_.OpenMap(PathFromWide(*path)); });
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
  SetTextIfChanged(Label1, Widen(model_.PositionText()));
  SizeLabel1ToText();
  SetTextIfChanged(Edit1, Widen(model_.CodeText()));
  SetTextIfChanged(Edit2, Widen(model_.HexOffsetText()));
  SetTextIfChanged(Edit3, Widen(model_.DecimalOffsetText()));

  StringGrid1.SetEnabled(model_.GridEnabled());
  // A disabled chooser cannot keep the focus; the grid, beside it, takes it
  // rather than nobody.
  if (!model_.RoadChooserEnabled() && GetFocus() == RoadComboBox1 && model_.GridEnabled())
    SetFocus(StringGrid1.Window());
  // Setting the selection from here raises no change event: only users do.
  EnableWindow(RoadComboBox1, model_.RoadChooserEnabled());
  SendMessageW(RoadComboBox1, CB_SETCURSEL, static_cast<WPARAM>(model_.RoadChooserIndex()), 0);

  EnableMenuItem(MainMenu1, IdSave1, MF_BYCOMMAND | (model_.SaveEnabled() ? MF_ENABLED : MF_GRAYED));
  SendMessageW(ToolBar1, TB_ENABLEBUTTON, IdSaveToolButton2, MAKELPARAM(model_.SaveEnabled(), 0));
}

void TMainForm1::SizeLabel1ToText() {
  const int length = GetWindowTextLengthW(Label1);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(Label1, text.data(), length + 1);
  const WindowDc dc(Label1);
  const SelectedObject font(dc.Get(), font_.get());
  SIZE size{};
  GetTextExtentPoint32W(dc.Get(), text.c_str(), length, &size);
  SetWindowPos(Label1, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TMainForm1::IsCommandEnabled(WORD id) const {
  // An open chooser list is in the middle of a choice: the history waits.
  if (id == IdUndo || id == IdRedo) return !RoadChooserDroppedDown();
  if (id == IdOpenToolButton1 || id == IdSaveToolButton2)
    return SendMessageW(ToolBar1, TB_ISBUTTONENABLED, id, 0) != 0;
  const UINT state = GetMenuState(MainMenu1, id, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

bool TMainForm1::RoadChooserDroppedDown() const {
  return SendMessageW(RoadComboBox1, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

// Messages.

bool TMainForm1::PreTranslateMessage(MSG& message) {
  if (Window() == nullptr) return false;
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
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_CTLCOLORSTATIC:
      return OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
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

void TMainForm1::OnCommand(WORD id, WORD code, HWND control) {
  if (control != nullptr && control != ToolBar1) {
    if (code == (id == IdStringGrid1 ? StringGridSetFocus : id == IdRoadComboBox1 ? CBN_SETFOCUS : EN_SETFOCUS))
      RememberFocusedControl(control);
    if (id == IdStringGrid1 && code == StringGridClick) StringGrid1Click();
    if (id == IdRoadComboBox1 && code == CBN_SELCHANGE) RoadComboBox1Change();
    return;
  }
  if (!IsCommandEnabled(id)) return;
  switch (id) {
    case IdOpen1:
      Open1Click();
      break;
    case IdOpenToolButton1:
      OpenToolButton1Click();
      break;
    case IdSave1:
      Save1Click();
      break;
    case IdSaveToolButton2:
      SaveToolButton2Click();
      break;
    case IdExit1:
      Exit1Click();
      break;
    case IdAbout1:
      About1Click();
      break;
    case IdUndo:
      UndoShortcut();
      break;
    case IdRedo:
      RedoShortcut();
      break;
    default:
      break;  // Contents1 has no handler
  }
}

LRESULT TMainForm1::OnNotify(const NMHDR& header) {
  if (header.code == TTN_GETDISPINFOW) {
    auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
    if (header.idFrom == IdOpenToolButton1) tooltipText_ = Widen(OpenHint);
    if (header.idFrom == IdSaveToolButton2) tooltipText_ = Widen(SaveHint);
    info.lpszText = tooltipText_.data();
    return 0;
  }
  if (header.hwndFrom == ToolBar1 && header.code == NM_CUSTOMDRAW)
    return OnToolBarCustomDraw(reinterpret_cast<const NMCUSTOMDRAW&>(header));
  return 0;
}

// The etched lines along the toolbar's edges, and the buttons' raised edges:
// drawn here because a visual style, Wine's too, draws every button flat.
LRESULT TMainForm1::OnToolBarCustomDraw(const NMCUSTOMDRAW& draw) {
  switch (draw.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYPOSTPAINT | CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      return CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPOSTPAINT: {
      RECT button = draw.rc;
      const bool pressed = (draw.uItemState & CDIS_SELECTED) != 0;
      DrawEdge(draw.hdc, &button, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | (pressed ? 0 : BF_SOFT));
      return CDRF_DODEFAULT;
    }
    case CDDS_POSTPAINT: {
      RECT edges{};
      GetClientRect(ToolBar1, &edges);
      DrawEdge(draw.hdc, &edges, EDGE_ETCHED, BF_TOP | BF_BOTTOM);
      return CDRF_DODEFAULT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

LRESULT TMainForm1::OnControlColor(HDC dc, HWND control) {
  // The read-only info fields sit on the scroll bar colour, the label on the window's.
  const int colour = control == Label1 ? COLOR_BTNFACE : COLOR_SCROLLBAR;
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
