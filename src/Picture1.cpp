#include "Picture1.h"

#include <windowsx.h>

#include <algorithm>
#include <tuple>

#include "map/TerrainCodes.h"
#include "platform/Text.h"
#include "resources/Resources.h"
#include "ui/Fonts.h"
#include "ui/Layout.h"

namespace {

constexpr wchar_t ClassName[] = L"TPictureForm1";
constexpr DWORD Style = WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL;
constexpr std::string_view Caption = "地図の絵";
constexpr std::string_view StrokeLength = "%d マス";
constexpr UINT StrokeScrollInterval = 60;  // milliseconds, as the grid scrolls while dragging outside

enum ControlId : WORD { IdTools = 201, IdLands, IdStatus, IdSelectTool, IdBrushTool, IdEraserTool };

WORD IdOf(PictureToolKind tool) {
  switch (tool) {
    case PictureToolKind::Brush: return IdBrushTool;
    case PictureToolKind::Eraser: return IdEraserTool;
    case PictureToolKind::Select: break;
  }
  return IdSelectTool;
}

// Each tool's pointer: the arrow to select, the cross hairs to draw, the
// hand to rub out.
const wchar_t* CursorOf(PictureToolKind tool) {
  switch (tool) {
    case PictureToolKind::Brush: return IDC_CROSS;
    case PictureToolKind::Eraser: return IDC_HAND;
    case PictureToolKind::Select: break;
  }
  return IDC_ARROW;
}

std::vector<RGBQUAD> WindowPalette() {
  std::vector<RGBQUAD> palette;
  for (const Rgba& colour : MapPictureRingPalette()) palette.push_back({colour.b, colour.g, colour.r, 0});
  return palette;
}

}  // namespace

TPictureForm1::TPictureForm1(ToolWindowPlace place, Events events, PictureMemory* memory)
    : ToolWindow(std::move(place)),
      events_(std::move(events)),
      memory_(memory != nullptr ? memory : &fallbackMemory_),
      view_(memory_->scale) {
  WNDCLASSEXW windowClass{};
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = ClassName;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = nullptr;  // the painting covers every pixel
  RegisterClassOnce(windowClass);

  commands_ = MakeCommands();
  tool_ = MakePictureTool(memory_->tool, [this] { return EraserLand(); });
  // The picture's pixels are its own, whatever the DPI.
  const MapPictureSize picture = MapPictureSizeAt(view_.Scale());
  const SIZE bands = ScaledForOwner(0, Layout::PictureBandHeight + Layout::PictureStatusHeight);
  WindowArgs args;
  args.className = ClassName;
  args.caption = Widen(Caption);
  args.style = Style;
  CreateToolWindow(args, {picture.width + GetSystemMetrics(SM_CXVSCROLL),
                          picture.height + GetSystemMetrics(SM_CYHSCROLL) + bands.cy});
  CreateBand();
  RECT client{};
  GetClientRect(Window(), &client);
  OnSize(client.right, client.bottom);
}

// The tools, each a row: its button, its tooltip and its key.
CommandTable TPictureForm1::MakeCommands() {
  std::vector<Command> rows = {
      MenuCommand(IdSelectTool, "選択", 'S', [this] { SelectTool(Tool::Select); }),
      MenuCommand(IdBrushTool, "道路を描く", 'B', [this] { SelectTool(Tool::Brush); }),
      MenuCommand(IdEraserTool, "消す", 'E', [this] { SelectTool(Tool::Eraser); }),
  };
  rows[0].bitmap = IDB_SELECT;
  rows[1].bitmap = IDB_BRUSH;
  rows[2].bitmap = IDB_ERASER;
  return CommandTable(std::move(rows));
}

void TPictureForm1::CreateBand() {
  ToolBar::Args tools;
  static_cast<ControlArgs&>(tools) = ControlArgs{Window(), IdTools, Layout::PictureTools, &Fonts::Window, 0, 0, L"", Dpi()};
  tools.buttons = commands_.ToolButtons({IdSelectTool, IdBrushTool, IdEraserTool});
  for (ToolBar::ButtonArgs& button : tools.buttons) {
    button.oneOfGroup = true;
    button.checked = button.id == IdOf(memory_->tool);
  }
  tools.firstButton = Layout::PictureFirstTool;
  tools.imageSize = Layout::ToolImageSize;
  tools.maskColour = TOOLBAR_MASK_COLOUR;
  tools_.Create(tools);

  ComboBox::Args lands;
  static_cast<ControlArgs&>(lands) = ControlArgs{Window(), IdLands, Layout::PictureLandList, &Fonts::Window,
                                                 WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, L"", Dpi()};
  for (const TerrainCode land : EraserLands) lands.items.push_back(Widen(TerrainNames[land]));
  lands.visibleItems = Layout::PictureLandListVisibleEntries;
  lands_.Create(lands);
  lands_.SetSelection(static_cast<int>(std::find(EraserLands.begin(), EraserLands.end(), memory_->land) - EraserLands.begin()));
  lands_.onSelectionChanged = [this] { memory_->land = EraserLand(); };

  status_.Create(ControlArgs{Window(), IdStatus, {0, 0, 0, Layout::PictureStatusHeight}, &Fonts::Window,
                             SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_CENTERIMAGE, 0, L"", Dpi()});
  status_.SetBackground(COLOR_BTNFACE);
}

TerrainCode TPictureForm1::EraserLand() const {
  const int index = lands_.Selection();
  return index >= 0 && index < static_cast<int>(EraserLands.size()) ? EraserLands[static_cast<std::size_t>(index)]
                                                                     : DefaultEraserLand;
}

int TPictureForm1::PictureTop() const { return Scaled(Layout::PictureBandHeight); }

RECT TPictureForm1::PictureArea() const {
  RECT client{};
  GetClientRect(Window(), &client);
  return {0, PictureTop(), client.right, std::max<LONG>(PictureTop(), client.bottom - Scaled(Layout::PictureStatusHeight))};
}

PicturePoint TPictureForm1::InPart(POINT client) const { return {client.x, client.y - PictureTop()}; }

RECT TPictureForm1::ToClient(const PixelRect& rect) const {
  return {rect.left, rect.top + PictureTop(), rect.right, rect.bottom + PictureTop()};
}

void TPictureForm1::SelectTool(Tool tool) {
  if (stroking_) CancelStroke();
  memory_->tool = tool;
  tool_ = MakePictureTool(tool, [this] { return EraserLand(); });
  for (Tool each : {Tool::Select, Tool::Brush, Tool::Eraser}) tools_.SetButtonChecked(IdOf(each), each == tool);
  POINT pointer{};
  GetCursorPos(&pointer);
  if (WindowFromPoint(pointer) == Window()) SetCursor(LoadCursorW(nullptr, CursorOf(tool)));
}

void TPictureForm1::ShowMap(const MapImage& image, GridCell current, const std::vector<MapRing>& rings,
                            const std::vector<std::uint8_t>& roadColours) {
  if (stroking_) CancelStroke();
  if (!showing_) {
    shown_ = image;
    rings_ = rings;
    roadColours_ = roadColours;
    current_ = current;
    showing_ = true;
    view_.Centre(CellToOffset(current.column, current.row));
    ViewChanged();
    return;
  }
  const std::vector<PixelRect> rects = view_.ChangedRects({shown_, rings_, roadColours_}, {image, rings, roadColours});
  shown_ = image;
  rings_ = rings;
  roadColours_ = roadColours;
  Repaint(rects);
  if (current != current_) {
    // The outline is drawn over the picture, not into it: its hexagons are
    // only blitted again.
    for (const GridCell cell : {current_, current}) {
      const int offset = CellToOffset(cell.column, cell.row);
      const PixelRect drawn = offset == NoMapOffset ? PixelRect{} : view_.DrawnRect(offset, OutlineReach());
      const RECT rect = ToClient(drawn);
      if (!drawn.Empty()) InvalidateRect(Window(), &rect, FALSE);
    }
    current_ = current;
    ScrollTo(view_.OriginShowing(CellToOffset(current.column, current.row)));
  }
}

// A stroke's map, with the rings as they are.
void TPictureForm1::Show(const MapImage& image) {
  const std::vector<PixelRect> rects = view_.ChangedRects({shown_, rings_, roadColours_}, {image, rings_, roadColours_});
  shown_ = image;
  Repaint(rects);
}

// The scale or the part's size changed: everything is drawn again.
void TPictureForm1::ViewChanged() {
  UpdateScrollBars();
  DrawIntoBuffer({{0, 0, view_.Width(), view_.Height()}});
  InvalidateRect(Window(), nullptr, FALSE);
}

// The buffer always holds what the picture part shows: a change is drawn
// into it at once, by one painter for all its rectangles, and the window is
// only asked to blit. A few rectangles are asked for as a region; many, as
// the rectangle round them, since a region of a thousand parts costs the
// system more than the blit of everything between them.
void TPictureForm1::Repaint(const std::vector<PixelRect>& changed) {
  if (changed.empty()) return;
  const std::vector<PixelRect> rects = PictureView::Gathered(changed);
  DrawIntoBuffer(rects);
  constexpr std::size_t MostRegionParts = 16;
  if (rects.size() <= MostRegionParts) {
    for (const PixelRect& rect : rects) {
      const RECT client = ToClient(rect);
      InvalidateRect(Window(), &client, FALSE);
    }
    return;
  }
  RECT around = ToClient(rects.front());
  for (const PixelRect& rect : rects) {
    const RECT client = ToClient(rect);
    UnionRect(&around, &around, &client);
  }
  InvalidateRect(Window(), &around, FALSE);
}

void TPictureForm1::DrawIntoBuffer(const std::vector<PixelRect>& rects) {
  if (!showing_ || !buffer_.Ready()) return;
  const MapPicturePainter painter(shown_, view_.Scale(), rings_, roadColours_);
  const PixelRect picture = view_.PictureRect();
  for (const PixelRect& rect : rects) {
    const PixelRect drawn{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, picture.right),
                         std::min(rect.bottom, picture.bottom)};
    if (drawn.Empty()) continue;
    const MapPicturePart part{view_.Origin().x + drawn.left, view_.Origin().y + drawn.top, drawn.right - drawn.left,
                              drawn.bottom - drawn.top};
    painter.DrawPart(part, buffer_.Pixel(drawn.left, drawn.top), buffer_.Stride());
  }
  GdiFlush();
}

LRESULT TPictureForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_COMMAND:
      commands_.Run(LOWORD(wParam));
      return 0;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == Window() && LOWORD(lParam) == HTCLIENT && OnSetCursor()) return TRUE;
      return ToolWindow::HandleMessage(message, wParam, lParam);
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE:
      OnSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      OnScroll(message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      OnMouseWheel(wParam, lParam);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(wParam);
      return 0;
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(point);
      return 0;
    case WM_LBUTTONUP:
      OnLeftButtonUp();
      return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      OnPanStart(point);
      return 0;
    case WM_MOUSEMOVE:
      panning_ ? OnPanMove(point) : OnMouseMove(point);
      return 0;
    case WM_TIMER:
      if (wParam == StrokeScrollTimerId) OnStrokeScrollTimer();
      return 0;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_CAPTURECHANGED:
      if (panning_ && message != WM_CAPTURECHANGED) ReleaseCapture();
      panning_ = false;
      // Another window took the mouse in the middle of a stroke: it is taken back.
      if (message == WM_CAPTURECHANGED && stroking_) CancelStroke();
      return 0;
    case WM_DESTROY:
      memory_->scale = view_.Scale();
      buffer_.Forget();
      return ToolWindow::HandleMessage(message, wParam, lParam);
    default: return ToolWindow::HandleMessage(message, wParam, lParam);
  }
}

// The rectangles waiting to be painted, when there are a few: two hexagons
// far apart are two small blits, not one of everything between them. Many
// are one blit of the rectangle round them, as the system's region of
// them costs more than that.
static std::vector<RECT> FewUpdateRects(HWND window) {
  constexpr DWORD MostRects = 16;
  std::vector<RECT> rects;
  const RegionHandle region(CreateRectRgn(0, 0, 0, 0));
  if (!region || GetUpdateRgn(window, region.get(), FALSE) != COMPLEXREGION) return rects;
  const DWORD size = GetRegionData(region.get(), 0, nullptr);
  std::vector<BYTE> data(size);
  auto* described = reinterpret_cast<RGNDATA*>(data.data());
  if (size == 0 || GetRegionData(region.get(), size, described) == 0 || described->rdh.nCount > MostRects) return rects;
  const auto* first = reinterpret_cast<const RECT*>(described->Buffer);
  rects.assign(first, first + described->rdh.nCount);
  return rects;
}

// The exposed parts are blitted from the buffer; the outline of the current
// cell goes over them.
void TPictureForm1::OnPaint() {
  std::vector<RECT> rects = FewUpdateRects(Window());
  const PaintScope paint(Window());
  if (rects.empty()) rects.push_back(paint.Area());
  for (const RECT& exposed : rects) PaintPart(paint.Dc(), exposed);
  if (!showing_) return;
  const RECT pictureArea = PictureArea();
  IntersectClipRect(paint.Dc(), pictureArea.left, pictureArea.top, pictureArea.right, pictureArea.bottom);
  DrawOutline(paint.Dc());
}

// An exposed rectangle: the band of tools and the status line where their
// controls leave room, and the picture, with the colour of an empty
// workspace beyond it.
void TPictureForm1::PaintPart(HDC dc, const RECT& exposed) {
  RECT client{};
  GetClientRect(Window(), &client);
  const RECT pictureArea = PictureArea();
  for (const RECT& band : {RECT{0, 0, client.right, pictureArea.top}, RECT{0, pictureArea.bottom, client.right, client.bottom}}) {
    RECT part{};
    if (IntersectRect(&part, &band, &exposed)) FillRect(dc, &part, GetSysColorBrush(COLOR_BTNFACE));
  }
  RECT area{};
  if (!IntersectRect(&area, &exposed, &pictureArea)) return;
  RECT shown = showing_ && buffer_.Ready() ? ToClient(view_.PictureRect()) : RECT{};
  if (IntersectRect(&shown, &shown, &area)) {
    buffer_.Blit(dc, {shown.left, shown.top}, {shown.left, shown.top - pictureArea.top, shown.right, shown.bottom - pictureArea.top});
  } else {
    shown = {area.left, area.top, area.left, area.top};
  }
  const HBRUSH beyond = GetSysColorBrush(COLOR_APPWORKSPACE);
  const RECT right{shown.right, area.top, area.right, area.bottom};
  const RECT below{area.left, shown.bottom, shown.right, area.bottom};
  FillRect(dc, &right, beyond);
  FillRect(dc, &below, beyond);
}

// The selection colour inside a rim of black or white, whichever differs
// more from it, so that the current cell stands out on every terrain.
void TPictureForm1::DrawOutline(HDC dc) const {
  const int offset = CellToOffset(current_.column, current_.row);
  if (offset == NoMapOffset) return;
  const PicturePoint centre = HexCentreAt(offset, view_.Scale());
  POINT corners[7];
  const auto hexagon =
      HexCorners({centre.x - view_.Origin().x, centre.y - view_.Origin().y + PictureTop()}, view_.Scale());
  for (int corner = 0; corner < 7; ++corner) corners[corner] = {hexagon[corner % 6].x, hexagon[corner % 6].y};
  const COLORREF selection = GetSysColor(COLOR_HIGHLIGHT);
  const int brightness = (GetRValue(selection) * 299 + GetGValue(selection) * 587 + GetBValue(selection) * 114) / 1000;
  const COLORREF rim = brightness < 128 ? RGB(255, 255, 255) : RGB(0, 0, 0);
  const int inner = Scaled(Layout::PictureOutlineWidth);
  for (const auto& [colour, width] : {std::pair{rim, inner + 2 * Scaled(Layout::PictureOutlineRimWidth)},
                                      std::pair{selection, inner}}) {
    const LOGBRUSH brush{BS_SOLID, colour, 0};
    const PenHandle pen(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_JOIN_MITER | PS_ENDCAP_FLAT, width, &brush, 0, nullptr));
    const SelectedObject selected(dc, pen.get());
    Polyline(dc, corners, 7);
  }
}

// The outline lies over the hexagon's edge, and so within its ring.
int TPictureForm1::OutlineReach() const {
  return RingReach(view_.Scale()) + Scaled(Layout::PictureOutlineWidth + 2 * Layout::PictureOutlineRimWidth);
}

void TPictureForm1::OnSize(int width, int height) {
  const int statusHeight = Scaled(Layout::PictureStatusHeight);
  if (status_.Window() != nullptr)
    SetWindowPos(status_.Window(), nullptr, 0, std::max(0, height - statusHeight), width, statusHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT area = PictureArea();
  view_.Resize(area.right - area.left, area.bottom - area.top);
  buffer_.Resize(view_.Width(), view_.Height(), WindowPalette());
  ViewChanged();
}

// What stays in view moves by a blit, in the window and in the buffer; only
// what comes into view is drawn. What is waiting to be blitted is blitted
// first, where it still belongs.
void TPictureForm1::ScrollTo(PicturePoint origin) {
  PictureView moved = view_;
  const PicturePoint shift = moved.ScrollTo(origin);
  const int dx = shift.x, dy = shift.y;
  if (dx == 0 && dy == 0) return;
  UpdateWindow(Window());
  view_ = moved;
  buffer_.Shift(dx, dy);
  const int width = view_.Width(), height = view_.Height();
  std::vector<PixelRect> exposed;
  if (dx > 0) exposed.push_back({0, 0, std::min(dx, width), height});
  if (dx < 0) exposed.push_back({std::max(width + dx, 0), 0, width, height});
  if (dy > 0) exposed.push_back({0, 0, width, std::min(dy, height)});
  if (dy < 0) exposed.push_back({0, std::max(height + dy, 0), width, height});
  DrawIntoBuffer(exposed);
  const RECT area = PictureArea();
  ScrollWindowEx(Window(), dx, dy, &area, &area, nullptr, nullptr, SW_INVALIDATE);
  UpdateScrollBars();
}

void TPictureForm1::UpdateScrollBars() {
  const MapPictureSize picture = MapPictureSizeAt(view_.Scale());
  for (const auto& [bar, size, page, position] : {std::tuple{SB_HORZ, picture.width, view_.Width(), view_.Origin().x},
                                                  std::tuple{SB_VERT, picture.height, view_.Height(), view_.Origin().y}}) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    info.nMin = 0;
    info.nMax = size - 1;
    info.nPage = static_cast<UINT>(std::max(page, 0));
    info.nPos = position;
    SetScrollInfo(Window(), bar, &info, TRUE);
  }
}

void TPictureForm1::OnScroll(int bar, int request) {
  const int page = bar == SB_HORZ ? view_.Width() : view_.Height();
  const int line = Layout::PictureLineScroll;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(Window(), bar, &info);
  const PicturePoint origin = view_.Origin();
  int position = bar == SB_HORZ ? origin.x : origin.y;
  switch (request) {
    case SB_LINEUP: position -= line; break;
    case SB_LINEDOWN: position += line; break;
    case SB_PAGEUP: position -= page; break;
    case SB_PAGEDOWN: position += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    case SB_TOP: position = 0; break;
    case SB_BOTTOM: position = info.nMax; break;
    default: return;
  }
  ScrollTo(bar == SB_HORZ ? PicturePoint{position, origin.y} : PicturePoint{origin.x, position});
}

// Ctrl and the wheel zoom about the point under the pointer; the wheel
// alone scrolls.
void TPictureForm1::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
  const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
  if ((GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) != 0) {
    POINT anchor{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(Window(), &anchor);
    if (view_.ZoomStep(delta > 0 ? 1 : -1, InPart(anchor))) ViewChanged();
    return;
  }
  ScrollTo({view_.Origin().x, view_.Origin().y - delta / WHEEL_DELTA * 3 * Layout::PictureLineScroll});
}

void TPictureForm1::OnKeyDown(WPARAM key) {
  // The tools' keys, as Tiled's: S, B, E.
  if (GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0 && commands_.RunKeys(static_cast<int>(key))) return;
  const PicturePoint middle{view_.Width() / 2, view_.Height() / 2};
  const PicturePoint origin = view_.Origin();
  const int line = Layout::PictureLineScroll;
  switch (key) {
    case VK_ADD:
    case VK_OEM_PLUS: if (view_.ZoomStep(1, middle)) ViewChanged(); break;
    case VK_SUBTRACT:
    case VK_OEM_MINUS: if (view_.ZoomStep(-1, middle)) ViewChanged(); break;
    case VK_LEFT: ScrollTo({origin.x - line, origin.y}); break;
    case VK_RIGHT: ScrollTo({origin.x + line, origin.y}); break;
    case VK_UP: ScrollTo({origin.x, origin.y - line}); break;
    case VK_DOWN: ScrollTo({origin.x, origin.y + line}); break;
    case VK_PRIOR: ScrollTo({origin.x, origin.y - view_.Height()}); break;
    case VK_NEXT: ScrollTo({origin.x, origin.y + view_.Height()}); break;
    default: break;
  }
}

void TPictureForm1::OnLeftButtonDown(POINT client) {
  SetFocus(Window());
  const RECT area = PictureArea();
  if (client.y < area.top || client.y >= area.bottom || (!showing_ && memory_->tool != Tool::Select)) return;
  const ToolOutcome outcome = tool_->Press(shown_, view_, InPart(client));
  if (outcome.picked && events_.cellClicked) events_.cellClicked(*outcome.picked);
  if (!outcome.stroking) return;
  stroking_ = true;
  pointer_ = client;
  SetCapture(Window());
  SetTimer(Window(), StrokeScrollTimerId, StrokeScrollInterval, nullptr);
  ShowStroke(outcome);
}

void TPictureForm1::OnMouseMove(POINT client) {
  if (!stroking_) {
    const std::optional<GridCell> cell = view_.CellAt(InPart(client));
    ShowStatus(cell && events_.cellName ? events_.cellName(*cell) : std::wstring());
    return;
  }
  pointer_ = client;
  ShowStroke(tool_->Move(view_, InPart(client)));
}

// While the button is held with the pointer outside the picture, the
// picture scrolls toward it and the stroke follows to the hexagon at the edge.
void TPictureForm1::OnStrokeScrollTimer() {
  if (!stroking_) return StopStroke();
  const PicturePoint point = InPart(pointer_);
  const PicturePoint pull = view_.PullToward(point, Layout::PictureLineScroll);
  if (pull.x == 0 && pull.y == 0) return;
  ScrollTo({view_.Origin().x + pull.x, view_.Origin().y + pull.y});
  ShowStroke(tool_->Move(view_, point));
}

void TPictureForm1::ShowStroke(const ToolOutcome& outcome) {
  Show(outcome.map);
  std::wstring text = Widen(StrokeLength);
  text.replace(text.find(L"%d"), 2, std::to_wstring(outcome.length));
  ShowStatus(outcome.refusal.empty() ? text : text + L"  " + Widen(outcome.refusal));
}

void TPictureForm1::OnLeftButtonUp() {
  if (stroking_) EndStroke();
}

// The stroke goes to the owner as one change; the map shown is what it drew.
void TPictureForm1::EndStroke() {
  const ToolOutcome outcome = tool_->Release();
  StopStroke();
  if (outcome.changed && events_.strokeEnded) events_.strokeEnded(outcome.map);
}

void TPictureForm1::CancelStroke() {
  Show(tool_->Cancel().map);
  StopStroke();
}

void TPictureForm1::StopStroke() {
  stroking_ = false;
  KillTimer(Window(), StrokeScrollTimerId);
  if (GetCapture() == Window()) ReleaseCapture();
  ShowStatus({});
}

// A stroke whose handling failed is taken back.
void TPictureForm1::RecoverFromEscapedError() noexcept {
  if (!stroking_) return;
  try {
    CancelStroke();
  } catch (...) {
    stroking_ = false;
  }
}

void TPictureForm1::ShowStatus(std::wstring text) {
  statusText_ = std::move(text);
  const std::wstring gap = statusText_.empty() || note_.empty() ? L"" : L"\u3000";
  status_.SetText(statusText_ + gap + note_);
}

void TPictureForm1::ShowNote(const std::wstring& note) {
  note_ = note;
  ShowStatus(statusText_);
}

bool TPictureForm1::OnSetCursor() {
  POINT pointer{};
  GetCursorPos(&pointer);
  ScreenToClient(Window(), &pointer);
  const RECT area = PictureArea();
  if (!PtInRect(&area, pointer)) return false;
  SetCursor(LoadCursorW(nullptr, CursorOf(memory_->tool)));
  return true;
}

bool TPictureForm1::PreTranslateMessage(const MSG& message) {
  if (stroking_ && message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE &&
      (message.hwnd == Window() || IsChild(Window(), message.hwnd))) {
    CancelStroke();
    return true;
  }
  return ToolWindow::PreTranslateMessage(message);
}

void TPictureForm1::OnPanStart(POINT client) {
  SetFocus(Window());
  panning_ = true;
  panFrom_ = client;
  SetCapture(Window());
}

void TPictureForm1::OnPanMove(POINT client) {
  ScrollTo({view_.Origin().x - (client.x - panFrom_.x), view_.Origin().y - (client.y - panFrom_.y)});
  panFrom_ = client;
}
