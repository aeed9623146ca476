#include "ui/StringGrid.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "map/CellNames.h"
#include "platform/Text.h"
#include "ui/Dpi.h"
#include "ui/Fonts.h"
#include "ui/Handles.h"

namespace {

constexpr wchar_t ClassName[] = L"TStringGrid";
constexpr UINT TrackingInterval = 60;  // milliseconds: one cell per tick while dragging outside
constexpr COLORREF Silver = RGB(192, 192, 192);
// Posted to itself after a scroll: the bars are drawn once the input waiting is handled.
constexpr UINT DrawScrollBarsMessage = WM_APP + 1;
constexpr DWORD Style =
    WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL | WS_CLIPSIBLINGS;

PixelPoint PointOf(LPARAM lParam) {
  // Signed: with the capture held the pointer may be left of or above the window.
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

std::optional<GridKey> GridKeyOf(UINT key) {
  switch (key) {
    case VK_UP: return GridKey::Up;
    case VK_DOWN: return GridKey::Down;
    case VK_LEFT: return GridKey::Left;
    case VK_RIGHT: return GridKey::Right;
    case VK_PRIOR: return GridKey::PageUp;
    case VK_NEXT: return GridKey::PageDown;
    case VK_HOME: return GridKey::Home;
    case VK_END: return GridKey::End;
    default: return std::nullopt;
  }
}

// The thumb's SB_THUMBTRACK is left out on purpose: the view moves when the thumb is released.
std::optional<ScrollRequest> ScrollRequestOf(int request) {
  switch (request) {
    case SB_LINEUP: return ScrollRequest::LineBack;
    case SB_LINEDOWN: return ScrollRequest::LineForward;
    case SB_PAGEUP: return ScrollRequest::PageBack;
    case SB_PAGEDOWN: return ScrollRequest::PageForward;
    case SB_THUMBPOSITION: return ScrollRequest::ToPosition;
    case SB_TOP: return ScrollRequest::ToStart;
    case SB_BOTTOM: return ScrollRequest::ToEnd;
    default: return std::nullopt;
  }
}

bool IsControlDown() { return GetKeyState(VK_CONTROL) < 0; }

void FillSpan(HDC dc, int left, int top, int right, int bottom, HBRUSH brush) {
  if (left >= right || top >= bottom) return;
  const RECT span{left, top, right, bottom};
  FillRect(dc, &span, brush);
}

// Lines between ordinary cells are silver, unless the cells themselves are.
HBRUSH LineBrush() {
  return static_cast<HBRUSH>(GetStockObject(GetSysColor(COLOR_WINDOW) == Silver ? GRAY_BRUSH : LTGRAY_BRUSH));
}

HBRUSH FixedLineBrush() { return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)); }

}  // namespace

StringGrid::StringGrid()
    : navigation_(GeometryAt(SystemDpi())),
      texts_(static_cast<std::size_t>(GridColumnCount) * GridRowCount),
      wideTexts_(texts_.size()),
      wideReady_(texts_.size(), true),
      changedTexts_(texts_.size(), false) {
  WNDCLASSEXW windowClass{};
  windowClass.style = CS_DBLCLKS;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = ClassName;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  RegisterClassOnce(windowClass);
}

// The window goes while the whole grid stands, so its last messages find it sound.
StringGrid::~StringGrid() { BaseWindow::Destroy(); }

GridGeometry StringGrid::GeometryAt(int dpi) {
  return GridGeometry{Scale(Layout::GridCellSize, dpi), Scale(Layout::GridLineWidth, dpi)};
}

void StringGrid::Create(const ControlArgs& args) {
  const int dpi = args.dpi > 0 ? args.dpi : WindowDpi(args.parent);
  navigation_.SetGeometry(GeometryAt(dpi));
  WindowArgs window;
  window.className = ClassName;
  window.style = Style;
  window.exStyle = WS_EX_CLIENTEDGE;
  window.x = Scale(args.box.left, dpi);
  window.y = Scale(args.box.top, dpi);
  window.width = Scale(args.box.width, dpi);
  window.height = Scale(args.box.height, dpi);
  window.parent = args.parent;
  window.menuOrId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id));
  box_ = args.box;
  if (args.font != nullptr) fontKind_ = args.font;
  BaseWindow::Create(window);
  FollowParentDpi(dpi);
}

void StringGrid::FollowParentDpi(int dpi) {
  navigation_.SetGeometry(GeometryAt(dpi));
  BaseWindow::FollowParentDpi(dpi);
  SetWindowPos(Window(), nullptr, Scaled(box_.left), Scaled(box_.top), Scaled(box_.width), Scaled(box_.height),
               SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(Window(), WM_SETFONT, reinterpret_cast<WPARAM>(SharedFont(*fontKind_, dpi)), TRUE);
  RECT client{};
  GetClientRect(Window(), &client);
  OnSize(client.right, client.bottom);
}

void StringGrid::SetEnabled(bool enabled) {
  if ((IsWindowEnabled(Window()) != FALSE) != enabled) EnableWindow(Window(), enabled);
}

void StringGrid::SetCellText(int column, int row, std::string shiftJisText) {
  const std::size_t index = IndexOf(column, row);
  // Made ready to draw when first drawn, once: an open sets all 26,576
  // texts and shows only a few hundred of them.
  wideReady_[index] = false;
  texts_[index] = std::move(shiftJisText);
  if (GridCell{column, row} == navigation_.CurrentCell() && Window() != nullptr)
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, Window(), OBJID_CLIENT, ChildOf({column, row}));
  if (Window() != nullptr) MarkTextChanged({column, row});
}

const std::string& StringGrid::CellText(int column, int row) const { return texts_[IndexOf(column, row)]; }

GridCell StringGrid::CurrentCell() const { return navigation_.CurrentCell(); }

void StringGrid::SetCurrentCell(GridCell cell) {
  const Placement before = CurrentPlacement();
  navigation_.SetCurrentCell(cell);
  ShowChanges(before);
}

GridCell StringGrid::ViewPosition() const { return navigation_.ViewPosition(); }

bool StringGrid::IsCellInView(int column, int row) const { return navigation_.IsCellInView(column, row); }

LRESULT StringGrid::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_PRINTCLIENT:
      OnPrintClient(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND: return 1;  // painting covers every pixel
    case WM_SIZE:
      OnSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_SETFONT:
      font_ = wParam != 0 ? reinterpret_cast<HFONT>(wParam) : DefaultWindowFont();
      if (LOWORD(lParam) != 0) InvalidateRect(Window(), nullptr, FALSE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      OnFocusChanged(message == WM_SETFOCUS);
      return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;  // Tab stays with the dialog manager
    case WM_KEYDOWN:
      OnKeyDown(static_cast<UINT>(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      OnScroll(message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NCLBUTTONDOWN:
      OnNonClientButtonDown(wParam);
      return DefaultHandling(message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(PointOf(lParam), true, message == WM_LBUTTONDBLCLK);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      OnButtonDown(PointOf(lParam), false, false);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(PointOf(lParam));
      return 0;
    case WM_LBUTTONUP:
      OnLeftButtonUp(PointOf(lParam));
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case DrawScrollBarsMessage:
      DrawScrollBars();
      return 0;
    case WM_GETOBJECT: return OnGetObject(wParam, lParam);
    case WM_NCDESTROY:
      DetachTableAccessible(accessible_);
      accessible_ = nullptr;
      return DefaultHandling(message, wParam, lParam);
    case WM_CAPTURECHANGED:
      OnCaptureChanged();
      return 0;
    default: return DefaultHandling(message, wParam, lParam);
  }
}

void StringGrid::OnPaint() {
  InvalidateChangedTexts();
  const PaintScope paint(Window());
  Paint(paint.Dc(), paint.Area());
}

void StringGrid::OnPrintClient(HDC dc) {
  RECT client{};
  GetClientRect(Window(), &client);
  Paint(dc, client);
}

void StringGrid::OnSize(int width, int height) {
  navigation_.SetClientSize(width, height);
  UpdateScrollBars();
  InvalidateRect(Window(), nullptr, FALSE);
}

// The parent hears of the focus, as of an edit's or a combo box's, so that it
// can give it back after another window had it.
void StringGrid::OnFocusChanged(bool gotFocus) {
  InvalidateCell(navigation_.CurrentCell());
  if (gotFocus) NotifyWinEvent(EVENT_OBJECT_FOCUS, Window(), OBJID_CLIENT, ChildOf(navigation_.CurrentCell()));
  if (gotFocus && onFocus) onFocus();
}

void StringGrid::OnKeyDown(UINT key) {
  if (!IsWindowEnabled(Window())) return;
  if (key == VK_TAB) return MoveFocusToNextControl(GetKeyState(VK_SHIFT) < 0);
  const std::optional<GridKey> gridKey = GridKeyOf(key);
  if (!gridKey) return;
  const Placement before = CurrentPlacement();
  const bool raise = navigation_.PressKey(*gridKey, IsControlDown());
  ShowChanges(before);
  if (raise) RaiseClick();
}

// Only the focused grid turns the wheel into moves, as it does keys.
void StringGrid::OnMouseWheel(int wheelDelta) {
  if (!IsWindowEnabled(Window()) || GetFocus() != Window()) return;
  const int notches = navigation_.TakeWheelNotches(wheelDelta);
  for (int notch = 0; notch < std::abs(notches); ++notch) {
    const Placement before = CurrentPlacement();
    const bool raise = navigation_.TurnWheelNotch(notches < 0);
    ShowChanges(before);
    if (raise) RaiseClick();
  }
}

void StringGrid::OnScroll(int bar, int request, int thumbPosition) {
  if (!IsWindowEnabled(Window())) return;
  const std::optional<ScrollRequest> scroll = ScrollRequestOf(request);
  if (!scroll) return;
  const Placement before = CurrentPlacement();
  if (bar == SB_HORZ) {
    navigation_.ScrollColumns(*scroll, thumbPosition);
  } else {
    navigation_.ScrollRows(*scroll, thumbPosition);
  }
  ShowChanges(before);
  // A thumb released where the view cannot go goes back to where the view is.
  if (CurrentPlacement().view == before.view) UpdateScrollBars();
}

void StringGrid::OnNonClientButtonDown(WPARAM hitTest) {
  if (hitTest == HTHSCROLL || hitTest == HTVSCROLL) TakeFocus();
}

void StringGrid::OnButtonDown(PixelPoint point, bool leftButton, bool secondClick) {
  if (!IsWindowEnabled(Window()) || !TakeFocus()) return;
  if (!leftButton || secondClick || navigation_.IsTracking()) return;
  const Placement before = CurrentPlacement();
  navigation_.PressLeftButton(point);
  ShowChanges(before);
  if (!navigation_.IsTracking()) return;
  pointer_ = point;
  SetCapture(Window());
  SetTimer(Window(), TrackingTimerId, TrackingInterval, nullptr);
}

void StringGrid::OnMouseMove(PixelPoint point) {
  if (!navigation_.IsTracking()) return;
  pointer_ = point;
  const Placement before = CurrentPlacement();
  navigation_.MovePointer(point);
  ShowChanges(before);
}

void StringGrid::OnLeftButtonUp(PixelPoint point) {
  if (!navigation_.IsTracking()) return;
  const Placement before = CurrentPlacement();
  const bool raise = navigation_.ReleaseLeftButton(point);
  ShowChanges(before);
  StopTracking();
  if (raise) RaiseClick();
}

void StringGrid::OnTimer(UINT_PTR timerId) {
  if (timerId != TrackingTimerId) return;
  if (!navigation_.IsTracking()) return StopTracking();
  const Placement before = CurrentPlacement();
  navigation_.TimerTick(pointer_);
  ShowChanges(before);
}

// Another window took the mouse in the middle of a drag. The cell moved at the
// press, so the parent still hears of it, once.
void StringGrid::OnCaptureChanged() {
  if (!navigation_.IsTracking()) return;
  const bool raise = navigation_.AbandonTracking();
  StopTracking();
  if (raise) RaiseClick();
}

bool StringGrid::TakeFocus() {
  if (GetFocus() != Window()) SetFocus(Window());
  return GetFocus() == Window();
}

// Reached only when no dialog manager took the Tab key first.
void StringGrid::MoveFocusToNextControl(bool backwards) {
  HWND next = GetNextDlgTabItem(GetParent(Window()), Window(), backwards ? TRUE : FALSE);
  if (next != nullptr && next != Window()) SetFocus(next);
}

StringGrid::Placement StringGrid::CurrentPlacement() const {
  return {navigation_.CurrentCell(), navigation_.ViewPosition()};
}

void StringGrid::ShowChanges(const Placement& before) {
  const Placement after = CurrentPlacement();
  if (after.view != before.view) {
    ScrollView(before.view, after.view);
    UpdateScrollPositions(before.view, after.view);
  }
  if (after.current != before.current) {
    InvalidateCell(before.current);
    InvalidateCell(after.current);
    RaiseCurrentCellEvents();
  }
}

void StringGrid::RaiseCurrentCellEvents() {
  const long child = ChildOf(navigation_.CurrentCell());
  NotifyWinEvent(EVENT_OBJECT_FOCUS, Window(), OBJID_CLIENT, child);
  NotifyWinEvent(EVENT_OBJECT_SELECTION, Window(), OBJID_CLIENT, child);
}

// Screen readers.

LRESULT StringGrid::OnGetObject(WPARAM wParam, LPARAM lParam) {
  if (static_cast<LONG>(lParam) != OBJID_CLIENT) return DefaultHandling(WM_GETOBJECT, wParam, lParam);
  if (accessible_ == nullptr) accessible_ = CreateTableAccessible(*this);
  return AnswerTableObject(accessible_, wParam);
}

long StringGrid::ChildOf(GridCell cell) { return (cell.row - 1) * LastGridColumn + cell.column; }

GridCell StringGrid::CellOfChild(long child) {
  return {static_cast<int>((child - 1) % LastGridColumn) + 1, static_cast<int>((child - 1) / LastGridColumn) + 1};
}

long StringGrid::ChildCount() const { return static_cast<long>(LastGridColumn) * (GridRowCount - 1); }

std::wstring StringGrid::ChildName(long child) const {
  const GridCell cell = CellOfChild(child);
  if (cellName) return cellName(cell);
  return Widen(PositionText(cell));
}

RECT StringGrid::ChildScreenRect(long child) const {
  const GridCell cell = CellOfChild(child);
  RECT place = CellRect(cell.column, cell.row);
  MapWindowPoints(Window(), nullptr, reinterpret_cast<POINT*>(&place), 2);
  return place;
}

long StringGrid::FocusedChild() const {
  return GetFocus() == Window() ? ChildOf(navigation_.CurrentCell()) : 0;
}

long StringGrid::ChildAt(POINT screen) const {
  ScreenToClient(Window(), &screen);
  const GridHit hit = navigation_.HitTest({screen.x, screen.y});
  return hit.kind == HitKind::Cell ? ChildOf(hit.cell) : CHILDID_SELF;
}

// The cells in view move by blitting; only the strips they uncover are
// painted, at once. The body moves both ways, the header row only sideways,
// the header column only up and down, the corner never.
void StringGrid::ScrollView(GridCell from, GridCell to) {
  RECT client{};
  GetClientRect(Window(), &client);
  const int pitch = navigation_.Geometry().Pitch();
  const int dx = (from.column - to.column) * pitch;
  const int dy = (from.row - to.row) * pitch;
  if (std::abs(dx) >= client.right - pitch || std::abs(dy) >= client.bottom - pitch) {
    InvalidateRect(Window(), nullptr, FALSE);  // nothing in view stays in view
    return;
  }
  // What still waits to be painted was meant for the old view: it moves with
  // the pixels. (Diagonally the headers move otherwise than the body.)
  const RegionHandle waiting(CreateRectRgn(0, 0, 0, 0));
  if (GetUpdateRgn(Window(), waiting.get(), FALSE) != NULLREGION) {
    if (dx != 0 && dy != 0) {
      InvalidateRect(Window(), nullptr, FALSE);
      return;
    }
    OffsetRgn(waiting.get(), dx, dy);
    InvalidateRgn(Window(), waiting.get(), FALSE);
  }
  // Along one axis the header of that axis moves with the body, in one blit.
  const WindowDc dc(Window());
  const RegionHandle uncovered(CreateRectRgn(0, 0, 0, 0));
  const RECT body{dx != 0 ? pitch : 0, dy != 0 ? pitch : 0, client.right, client.bottom};
  Blit(dc.Get(), dx, dy, body, uncovered.get());
  if (dx != 0 && dy != 0) {
    Blit(dc.Get(), dx, 0, {pitch, 0, client.right, pitch}, uncovered.get());
    Blit(dc.Get(), 0, dy, {0, pitch, pitch, client.bottom}, uncovered.get());
  }
  // What the blits uncovered, and what they could not copy because another
  // window hid it, is painted at once, in the same device context.
  RECT area{};
  if (GetRgnBox(uncovered.get(), &area) == NULLREGION) return;
  SelectClipRgn(dc.Get(), uncovered.get());
  Paint(dc.Get(), area);
  SelectClipRgn(dc.Get(), nullptr);
}

// Moves the pixels of `rect` within it and adds what is left to paint to `uncovered`.
void StringGrid::Blit(HDC dc, int dx, int dy, const RECT& rect, HRGN uncovered) {
  const RegionHandle left(CreateRectRgn(0, 0, 0, 0));
  ScrollDC(dc, dx, dy, &rect, &rect, left.get(), nullptr);
  CombineRgn(uncovered, uncovered, left.get(), RGN_OR);
}

// Each invalidation is a round trip to the window system (a slow one under
// Wine), and a map read changes every text in view at once. So the first
// changed cell marks the window for painting and the others are noted here;
// the paint then marks them all in one call before it starts. A cell out of
// view needs nothing: it is painted from its text when it scrolls in.
void StringGrid::MarkTextChanged(GridCell cell) {
  if (!navigation_.IsCellInView(cell.column, cell.row)) return;
  if (!textsChanged_) InvalidateCell(cell);
  textsChanged_ = true;
  changedTexts_[IndexOf(cell.column, cell.row)] = true;
}

void StringGrid::InvalidateChangedTexts() {
  if (!textsChanged_) return;
  RECT client{};
  GetClientRect(Window(), &client);
  // Row by row, left to right, as a region keeps its rectangles. Neighbours in
  // a row go into one rectangle with the line between them, which paints the
  // same again: a read then makes a few dozen rectangles instead of a thousand.
  const std::vector<int> columns = navigation_.Columns().IndicesMeeting(0, client.right);
  std::vector<RECT> runs;
  for (const int row : navigation_.Rows().IndicesMeeting(0, client.bottom)) {
    bool extendsRun = false;
    for (const int column : columns) {
      if (!changedTexts_[IndexOf(column, row)]) {
        extendsRun = false;
        continue;
      }
      const RECT cell = CellRect(column, row);
      if (extendsRun) {
        runs.back().right = cell.right;
      } else {
        runs.push_back(cell);
      }
      extendsRun = true;
    }
  }
  std::fill(changedTexts_.begin(), changedTexts_.end(), false);
  textsChanged_ = false;
  InvalidateRectangles(runs);
}

void StringGrid::InvalidateRectangles(const std::vector<RECT>& rectangles) {
  if (rectangles.empty()) return;
  std::vector<char> buffer(sizeof(RGNDATAHEADER) + rectangles.size() * sizeof(RECT));
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  data->rdh.nCount = static_cast<DWORD>(rectangles.size());
  data->rdh.rcBound = rectangles.front();
  for (const RECT& rectangle : rectangles) UnionRect(&data->rdh.rcBound, &data->rdh.rcBound, &rectangle);
  std::memcpy(data->Buffer, rectangles.data(), rectangles.size() * sizeof(RECT));
  const RegionHandle region(ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data));
  InvalidateRgn(Window(), region.get(), FALSE);
}

void StringGrid::InvalidateCell(GridCell cell) {
  if (!navigation_.IsCellInView(cell.column, cell.row)) return;
  const RECT rect = CellRect(cell.column, cell.row);
  InvalidateRect(Window(), &rect, FALSE);
}

void StringGrid::UpdateScrollBars() {
  for (const int bar : {SB_HORZ, SB_VERT}) {
    const GridAxis& axis = bar == SB_HORZ ? navigation_.Columns() : navigation_.Rows();
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    info.nMin = 1;
    info.nMax = axis.LastIndex();
    info.nPage = static_cast<UINT>(axis.FullyVisibleCount());
    info.nPos = axis.First();
    SetScrollInfo(Window(), bar, &info, TRUE);
  }
}

// A bar's position changes at once, but it is drawn again only once the
// input waiting has been handled: drawing a bar costs twice a repaint of the
// whole client area under Wine's theme, and a held arrow key or a drag moves
// the view many times before anyone can see the bar.
void StringGrid::UpdateScrollPositions(GridCell from, GridCell to) {
  if (from.column != to.column) SetScrollPos(Window(), SB_HORZ, to.column, FALSE);
  if (from.row != to.row) SetScrollPos(Window(), SB_VERT, to.row, FALSE);
  barsToDraw_.horizontal |= from.column != to.column;
  barsToDraw_.vertical |= from.row != to.row;
  if (!barsToDraw_.posted && PostMessageW(Window(), DrawScrollBarsMessage, 0, 0)) barsToDraw_.posted = true;
}

// A bar draws itself when its position changes; set to where it already is,
// it would not.
void StringGrid::DrawScrollBars() {
  for (const auto& [bar, due] : {std::pair{SB_HORZ, barsToDraw_.horizontal}, std::pair{SB_VERT, barsToDraw_.vertical}}) {
    if (!due) continue;
    const int position = GetScrollPos(Window(), bar);
    SetScrollPos(Window(), bar, position > 1 ? position - 1 : position + 1, FALSE);
    SetScrollPos(Window(), bar, position, TRUE);
  }
  barsToDraw_ = {};
}

// A drag whose handling failed ends here: no capture, no timer, no event.
void StringGrid::RecoverFromEscapedError() noexcept {
  navigation_.AbandonTracking();
  StopTracking();
}

void StringGrid::StopTracking() {
  KillTimer(Window(), TrackingTimerId);
  if (GetCapture() == Window()) ReleaseCapture();
}

void StringGrid::RaiseClick() {
  if (onClick) onClick();
}

RECT StringGrid::CellRect(int column, int row) const {
  const int left = navigation_.Columns().Start(column);
  const int top = navigation_.Rows().Start(row);
  const int size = navigation_.Geometry().cellSize;
  return {left, top, left + size, top + size};
}

std::size_t StringGrid::IndexOf(int column, int row) const {
  if (column < 0 || column >= GridColumnCount || row < 0 || row >= GridRowCount) {
    // Shown in the error box like every other error, so in the program's language.
    throw std::out_of_range("マス " + std::to_string(column) + ":" + std::to_string(row) + " は表の外です");
  }
  // Column by column: a read sets the cells in the order of the map's bytes,
  // which run down two neighbouring columns at a time.
  return static_cast<std::size_t>(column) * GridRowCount + static_cast<std::size_t>(row);
}

// Only the cells that meet `area` are drawn, so the cost follows the area, not the grid.
void StringGrid::Paint(HDC dc, const RECT& area) {
  const SelectedObject font(dc, font_);
  const std::vector<int> columns = navigation_.Columns().IndicesMeeting(area.left, area.right);
  const std::vector<int> rows = navigation_.Rows().IndicesMeeting(area.top, area.bottom);
  CellPainter painter(dc);
  for (const int row : rows) {
    for (const int column : columns) PaintCell(painter, column, row);
  }
  PaintLines(dc, area, columns, rows);
  PaintBeyondLastCell(dc);
  PaintFocus(dc, area);
}

// The system colours are read once a paint, and the device context's colours
// are set only where they change, which is at the headers and the current cell.
StringGrid::CellPainter::CellPainter(HDC dc)
    : dc(dc),
      colours{GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_BTNFACE),
              GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHTTEXT)} {}

void StringGrid::CellPainter::Use(COLORREF background, COLORREF text) {
  if (background != this->background) SetBkColor(dc, this->background = background);
  if (text != this->text) SetTextColor(dc, this->text = text);
}

const std::wstring& StringGrid::WideText(std::size_t index) {
  if (!wideReady_[index]) {
    WidenInto(texts_[index], wideTexts_[index]);
    wideReady_[index] = true;
  }
  return wideTexts_[index];
}

void StringGrid::PaintCell(CellPainter& painter, int column, int row) {
  const RECT cell = CellRect(column, row);
  // Scattered changes make a region of a few cells in a wide area: only its cells are drawn.
  if (!RectVisible(painter.dc, &cell)) return;
  const bool fixed = column == 0 || row == 0;
  const bool current = !fixed && GridCell{column, row} == navigation_.CurrentCell();
  const CellPainter::Colours& colours = painter.colours;
  painter.Use(current ? colours.highlight : fixed ? colours.face : colours.window,
              current ? colours.highlightText : colours.windowText);
  // One line: ExtTextOut takes CR and LF as characters, not as line breaks.
  const std::wstring& text = WideText(IndexOf(column, row));
  const int indent = Scaled(Layout::GridTextIndent);
  ExtTextOutW(painter.dc, cell.left + indent, cell.top + indent, ETO_OPAQUE | ETO_CLIPPED, &cell, text.c_str(),
              static_cast<UINT>(text.size()), nullptr);
  if (fixed) {
    RECT edge = cell;
    DrawEdge(painter.dc, &edge, BDR_RAISEDINNER, BF_RECT);
  }
}

// The line right of and below each cell: black for the header cells, silver for the others.
void StringGrid::PaintLines(HDC dc, const RECT& area, const std::vector<int>& columns,
                            const std::vector<int>& rows) {
  const GridGeometry& geometry = navigation_.Geometry();
  const int pitch = geometry.Pitch();
  const int right = std::min<int>(area.right, navigation_.Columns().End());
  const int bottom = std::min<int>(area.bottom, navigation_.Rows().End());
  const HBRUSH fixedBrush = FixedLineBrush();
  const HBRUSH lineBrush = LineBrush();
  for (const int column : columns) {
    const int x = navigation_.Columns().Start(column) + geometry.cellSize;
    const int fixedEnd = column == 0 ? bottom : std::min<int>(bottom, pitch);
    FillSpan(dc, x, area.top, x + geometry.lineWidth, fixedEnd, fixedBrush);
    FillSpan(dc, x, std::max<int>(area.top, fixedEnd), x + geometry.lineWidth, bottom, lineBrush);
  }
  for (const int row : rows) {
    const int y = navigation_.Rows().Start(row) + geometry.cellSize;
    const int fixedEnd = row == 0 ? right : std::min<int>(right, pitch);
    FillSpan(dc, area.left, y, fixedEnd, y + geometry.lineWidth, fixedBrush);
    FillSpan(dc, std::max<int>(area.left, fixedEnd), y, right, y + geometry.lineWidth, lineBrush);
  }
}

void StringGrid::PaintBeyondLastCell(HDC dc) {
  RECT client{};
  GetClientRect(Window(), &client);
  const int right = navigation_.Columns().End();
  const int bottom = navigation_.Rows().End();
  const HBRUSH window = GetSysColorBrush(COLOR_WINDOW);
  FillSpan(dc, right, 0, client.right, client.bottom, window);
  FillSpan(dc, 0, bottom, std::min<int>(right, client.right), client.bottom, window);
}

// Last, so that nothing paints over it; dotted in the DC's text and background colours.
void StringGrid::PaintFocus(HDC dc, const RECT& area) {
  if (GetFocus() != Window()) return;
  const GridCell current = navigation_.CurrentCell();
  if (!navigation_.IsCellInView(current.column, current.row)) return;
  const RECT cell = CellRect(current.column, current.row);
  RECT overlap{};
  if (!IntersectRect(&overlap, &cell, &area)) return;
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  DrawFocusRect(dc, &cell);
}
