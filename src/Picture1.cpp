#include "Picture1.h"

#include <windowsx.h>

#include <algorithm>
#include <iterator>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <tuple>

#include "map/RoadTexts.h"
#include "map/TerrainCodes.h"
#include "picture/MapPicture.h"
#include "platform/Text.h"
#include "resources/Resources.h"
#include "ui/Fonts.h"
#include "ui/Layout.h"

namespace {

constexpr wchar_t ClassName[] = L"TPictureForm1";
constexpr DWORD Style = WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL;
constexpr std::string_view Caption = "地図の絵";
constexpr std::string_view StrokeLength = "%d マス";

enum ControlId : WORD { IdTools = 201, IdLands, IdStatus, IdSelectTool, IdBrushTool, IdEraserTool };

WORD IdOf(TPictureForm1::Tool tool) {
  switch (tool) {
    case TPictureForm1::Tool::Brush: return IdBrushTool;
    case TPictureForm1::Tool::Eraser: return IdEraserTool;
    case TPictureForm1::Tool::Select: break;
  }
  return IdSelectTool;
}

// Each tool's pointer: the arrow to select, the cross hairs to draw, the
// hand to rub out.
const wchar_t* CursorOf(TPictureForm1::Tool tool) {
  switch (tool) {
    case TPictureForm1::Tool::Brush: return IDC_CROSS;
    case TPictureForm1::Tool::Eraser: return IDC_HAND;
    case TPictureForm1::Tool::Select: break;
  }
  return IDC_ARROW;
}

}  // namespace

TPictureForm1::TPictureForm1(ToolWindowPlace place, Events events)
    : ToolWindow(std::move(place)), events_(std::move(events)), scale_(Layout::PictureFirstScale) {
  WNDCLASSEXW windowClass{};
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = ClassName;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = nullptr;  // the painting covers every pixel
  RegisterClassOnce(windowClass);

  if (Memory().zoom > 0) scale_ = std::clamp(Memory().zoom, 1, MaxMapPictureScale);
  tool_ = static_cast<Tool>(std::clamp(Memory().tool, 0, 2));
  commands_ = MakeCommands();
  // The picture's pixels are its own, whatever the DPI.
  const MapPictureSize picture = MapPictureSizeAt(scale_);
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
    button.checked = button.id == IdOf(tool_);
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
  const auto chosen = std::find(EraserLands.begin(), EraserLands.end(), Memory().choice);
  lands_.SetSelection(chosen != EraserLands.end() ? static_cast<int>(chosen - EraserLands.begin()) : 1);  // 平地
  lands_.onSelectionChanged = [this] { Memory().choice = EraserLand(); };

  status_.Create(ControlArgs{Window(), IdStatus, {0, 0, 0, Layout::PictureStatusHeight}, &Fonts::Window,
                             SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_CENTERIMAGE, 0, L"", Dpi()});
  status_.SetBackground(COLOR_BTNFACE);
}

TerrainCode TPictureForm1::EraserLand() const {
  const int index = lands_.Selection();
  return index >= 0 && index < static_cast<int>(EraserLands.size()) ? EraserLands[static_cast<std::size_t>(index)]
                                                                     : terrain::Plain;
}

int TPictureForm1::PictureTop() const { return Scaled(Layout::PictureBandHeight); }

RECT TPictureForm1::PictureArea() const {
  RECT client{};
  GetClientRect(Window(), &client);
  return {0, PictureTop(), client.right, std::max<LONG>(PictureTop(), client.bottom - Scaled(Layout::PictureStatusHeight))};
}

POINT TPictureForm1::InPicture(POINT client) const { return {client.x, client.y - PictureTop()}; }

void TPictureForm1::SelectTool(Tool tool) {
  if (stroking_) CancelStroke();
  tool_ = tool;
  Memory().tool = static_cast<int>(tool);
  for (Tool each : {Tool::Select, Tool::Brush, Tool::Eraser}) tools_.SetButtonChecked(IdOf(each), each == tool);
  POINT pointer{};
  GetCursorPos(&pointer);
  if (WindowFromPoint(pointer) == Window()) SetCursor(LoadCursorW(nullptr, CursorOf(tool_)));
}

void TPictureForm1::ShowMap(const MapImage& image, GridCell current, const std::vector<MapRing>& rings) {
  if (stroking_) CancelStroke();
  if (!showing_) {
    shown_ = image;
    rings_ = rings;
    current_ = current;
    showing_ = true;
    const SIZE client = Client();
    const PicturePoint centre = HexCentreAt(CellToOffset(current.column, current.row) == NoMapOffset
                                                ? 0
                                                : CellToOffset(current.column, current.row),
                                            scale_);
    origin_ = Clamped({centre.x - client.cx / 2, centre.y - client.cy / 2});
    UpdateScrollBars();
    RepaintAll();
    return;
  }
  // Only the hexagons and the rings that differ are drawn again, all at
  // once, each as far as what changed about it reaches.
  std::vector<int> reach(MapSize, 0);
  for (int offset = 0; offset < MapSize; ++offset)
    if (image[offset] != shown_[offset]) reach[offset] = HexagonReach(scale_);
  if (rings != rings_) {
    std::vector<MapRing> before = rings_, after = rings;
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    std::vector<MapRing> changed;
    std::set_symmetric_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(changed));
    for (const MapRing& ring : changed) reach[ring.offset] = RingReach(scale_);
  }
  shown_ = image;
  rings_ = rings;
  std::vector<RECT> rects;
  for (int offset = 0; offset < MapSize; ++offset)
    if (reach[offset] > 0) AddDrawnRect(offset, reach[offset], rects);
  Repaint(rects);
  if (current != current_) {
    // The outline is drawn over the picture, not into it: its hexagons are
    // only blitted again.
    for (const GridCell cell : {current_, current}) {
      RECT rect{};
      const int offset = CellToOffset(cell.column, cell.row);
      if (offset != NoMapOffset && DrawnRect(offset, OutlineReach(), rect)) InvalidateRect(Window(), &rect, FALSE);
    }
    current_ = current;
    KeepInView(current);
  }
}

// Only the hexagons that differ are drawn again.
void TPictureForm1::Show(const MapImage& image) {
  const std::vector<RECT> rects = ChangedHexagons(image);
  shown_ = image;
  Repaint(rects);
}

std::vector<RECT> TPictureForm1::ChangedHexagons(const MapImage& image) const {
  std::vector<RECT> rects;
  for (int offset = 0; offset < MapSize; ++offset)
    if (image[offset] != shown_[offset]) AddDrawnRect(offset, HexagonReach(scale_), rects);
  return rects;
}

void TPictureForm1::AddDrawnRect(int offset, int reach, std::vector<RECT>& rects) const {
  RECT rect{};
  if (DrawnRect(offset, reach, rect)) rects.push_back(rect);
}

void TPictureForm1::RepaintAll() {
  Repaint({PictureArea()});
  InvalidateRect(Window(), nullptr, FALSE);
}

// The bitmap always holds what the picture part shows: a change is drawn
// into it at once, by one painter for all its rectangles, and the window is
// only asked to blit. A few rectangles are asked for as a region; many, as
// the rectangle round them, since a region of a thousand parts costs the
// system more than the blit of everything between them.
void TPictureForm1::Repaint(const std::vector<RECT>& rects) {
  if (rects.empty()) return;
  DrawIntoBitmap(rects);
  constexpr std::size_t MostRegionParts = 16;
  if (rects.size() <= MostRegionParts) {
    for (const RECT& rect : rects) InvalidateRect(Window(), &rect, FALSE);
    return;
  }
  RECT around = rects.front();
  for (const RECT& rect : rects) UnionRect(&around, &around, &rect);
  InvalidateRect(Window(), &around, FALSE);
}

// `rects` in client pixels.
void TPictureForm1::DrawIntoBitmap(const std::vector<RECT>& rects) {
  if (!showing_ || bits_ == nullptr) return;
  const MapPicturePainter painter(shown_, scale_, rings_);
  const int top = PictureTop();
  const MapPictureSize picture = MapPictureSizeAt(scale_);
  for (const RECT& rect : rects) {
    const RECT drawn{std::max<LONG>(rect.left, 0), std::max<LONG>(rect.top - top, 0),
                     std::min<LONG>({rect.right, picture.width - origin_.x, bitmapSize_.cx}),
                     std::min<LONG>({rect.bottom - top, picture.height - origin_.y, bitmapSize_.cy})};
    if (drawn.left >= drawn.right || drawn.top >= drawn.bottom) continue;
    const MapPicturePart part{origin_.x + drawn.left, origin_.y + drawn.top, drawn.right - drawn.left,
                              drawn.bottom - drawn.top};
    painter.DrawPart(part, bits_ + drawn.top * stride_ + drawn.left, stride_);
  }
  GdiFlush();
}

LRESULT TPictureForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      commands_.Run(LOWORD(wParam));
      return 0;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == Window() && LOWORD(lParam) == HTCLIENT && OnSetCursor()) return TRUE;
      return ToolWindow::HandleMessage(message, wParam, lParam);
    case WM_LBUTTONUP:
      OnLeftButtonUp();
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
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
      OnLeftButtonDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      OnPanStart({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_MOUSEMOVE:
      if (panning_) {
        OnPanMove({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      } else {
        OnMouseMove({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      }
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
      Memory().zoom = scale_;
      ForgetBitmap();
      return ToolWindow::HandleMessage(message, wParam, lParam);
    default:
      return ToolWindow::HandleMessage(message, wParam, lParam);
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

// The exposed parts are blitted from the bitmap; the outline of the current
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
// controls leave room, and the picture.
void TPictureForm1::PaintPart(HDC dc, const RECT& exposed) {
  RECT client{};
  GetClientRect(Window(), &client);
  const RECT pictureArea = PictureArea();
  for (const RECT& band : {RECT{0, 0, client.right, pictureArea.top}, RECT{0, pictureArea.bottom, client.right, client.bottom}}) {
    RECT part{};
    if (IntersectRect(&part, &band, &exposed)) FillRect(dc, &part, GetSysColorBrush(COLOR_BTNFACE));
  }
  RECT shownArea{};
  if (bits_ == nullptr || !IntersectRect(&shownArea, &exposed, &pictureArea)) return;
  const int top = pictureArea.top;
  // In the picture part's own pixels from here.
  const RECT area{shownArea.left, shownArea.top - top, shownArea.right, shownArea.bottom - top};
  const MapPictureSize picture = MapPictureSizeAt(scale_);
  RECT drawn{std::max<LONG>(area.left, 0), std::max<LONG>(area.top, 0),
             std::min<LONG>({area.right, picture.width - origin_.x, bitmapSize_.cx}),
             std::min<LONG>({area.bottom, picture.height - origin_.y, bitmapSize_.cy})};
  if (showing_ && drawn.left < drawn.right && drawn.top < drawn.bottom) {
    BitBlt(dc, drawn.left, drawn.top + top, drawn.right - drawn.left, drawn.bottom - drawn.top, bitmapDc_.get(),
           drawn.left, drawn.top, SRCCOPY);
  } else {
    drawn = RECT{};
  }
  // Beyond the picture: the colour of an empty workspace.
  const HBRUSH beyond = GetSysColorBrush(COLOR_APPWORKSPACE);
  RECT right{std::max(area.left, drawn.right), area.top + top, area.right, area.bottom + top};
  RECT below{area.left, std::max(area.top, drawn.bottom) + top, std::max(area.left, drawn.right), area.bottom + top};
  if (!showing_) right = shownArea;
  FillRect(dc, &right, beyond);
  FillRect(dc, &below, beyond);
}

// The selection colour inside a rim of black or white, whichever differs
// more from it, so that the current cell stands out on every terrain.
void TPictureForm1::DrawOutline(HDC dc) const {
  const int offset = CellToOffset(current_.column, current_.row);
  if (offset == NoMapOffset) return;
  const PicturePoint centre = HexCentreAt(offset, scale_);
  POINT corners[7];
  const auto hexagon = HexCorners({centre.x - origin_.x, centre.y - origin_.y + PictureTop()}, scale_);
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

void TPictureForm1::OnSize(int width, int height) {
  const int statusHeight = Scaled(Layout::PictureStatusHeight);
  if (status_.Window() != nullptr)
    SetWindowPos(status_.Window(), nullptr, 0, std::max(0, height - statusHeight), width, statusHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT area = PictureArea();
  MakeBitmap(area.right - area.left, area.bottom - area.top);
  origin_ = Clamped(origin_);
  UpdateScrollBars();
  RepaintAll();
}

void TPictureForm1::ForgetBitmap() {
  if (bitmapDc_ && bitmapDcDefault_ != nullptr) SelectObject(bitmapDc_.get(), bitmapDcDefault_);
  bitmap_.reset();
  bits_ = nullptr;
  bitmapSize_ = {0, 0};
}

// 8 bits a pixel with the map's palette, rows from the top.
void TPictureForm1::MakeBitmap(int width, int height) {
  ForgetBitmap();
  if (width <= 0 || height <= 0) return;
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
  } info{};
  info.header.biSize = sizeof(info.header);
  info.header.biWidth = width;
  info.header.biHeight = -height;
  info.header.biPlanes = 1;
  info.header.biBitCount = 8;
  info.header.biCompression = BI_RGB;
  const std::vector<Rgba>& palette = MapPictureRingPalette();
  info.header.biClrUsed = static_cast<DWORD>(palette.size());
  for (std::size_t index = 0; index < palette.size(); ++index)
    info.colours[index] = {palette[index].b, palette[index].g, palette[index].r, 0};
  void* bits = nullptr;
  bitmap_.reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_ || bits == nullptr) return;
  if (!bitmapDc_) bitmapDc_.reset(CreateCompatibleDC(nullptr));
  const HGDIOBJ previous = SelectObject(bitmapDc_.get(), bitmap_.get());
  if (bitmapDcDefault_ == nullptr) bitmapDcDefault_ = previous;
  bits_ = static_cast<std::uint8_t*>(bits);
  stride_ = (width + 3) & ~3;
  bitmapSize_ = {width, height};
}

SIZE TPictureForm1::Client() const {
  const RECT area = PictureArea();
  return {area.right - area.left, area.bottom - area.top};
}

PicturePoint TPictureForm1::Clamped(PicturePoint origin) const {
  const MapPictureSize picture = MapPictureSizeAt(scale_);
  const SIZE client = Client();
  return {std::clamp(origin.x, 0, std::max(0, picture.width - static_cast<int>(client.cx))),
          std::clamp(origin.y, 0, std::max(0, picture.height - static_cast<int>(client.cy)))};
}

// What stays in view moves by a blit, in the window and in the bitmap; only
// what comes into view is drawn. What is waiting to be blitted is blitted
// first, where it still belongs.
void TPictureForm1::ScrollTo(PicturePoint origin) {
  origin = Clamped(origin);
  const int dx = origin_.x - origin.x, dy = origin_.y - origin.y;
  if (dx == 0 && dy == 0) return;
  UpdateWindow(Window());
  origin_ = origin;
  const RECT area = PictureArea();
  ShiftBitmap(dx, dy);
  const SIZE client = Client();
  std::vector<RECT> exposed;
  if (dx > 0) exposed.push_back({0, area.top, std::min<LONG>(dx, client.cx), area.bottom});
  if (dx < 0) exposed.push_back({std::max<LONG>(client.cx + dx, 0), area.top, client.cx, area.bottom});
  if (dy > 0) exposed.push_back({0, area.top, client.cx, area.top + std::min<LONG>(dy, client.cy)});
  if (dy < 0) exposed.push_back({0, std::max<LONG>(area.bottom + dy, area.top), client.cx, area.bottom});
  DrawIntoBitmap(exposed);
  ScrollWindowEx(Window(), dx, dy, &area, &area, nullptr, nullptr, SW_INVALIDATE);
  UpdateScrollBars();
}

// The bitmap's pixels move with the window's; what they leave is drawn anew.
void TPictureForm1::ShiftBitmap(int dx, int dy) {
  if (bits_ == nullptr) return;
  const int width = bitmapSize_.cx, height = bitmapSize_.cy;
  if (std::abs(dx) >= width || std::abs(dy) >= height) return;
  const int rows = height - std::abs(dy), columns = width - std::abs(dx);
  const auto row = [this](int y) { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_; };
  // Rows are walked away from where they go, so none is overwritten before it moves.
  for (int index = 0; index < rows; ++index) {
    const int to = dy >= 0 ? height - 1 - index : index;
    std::memmove(row(to) + std::max(dx, 0), row(to - dy) + std::max(-dx, 0), static_cast<std::size_t>(columns));
  }
}

void TPictureForm1::UpdateScrollBars() {
  const MapPictureSize picture = MapPictureSizeAt(scale_);
  const SIZE client = Client();
  for (const auto& [bar, size, page, position] :
       {std::tuple{SB_HORZ, picture.width, client.cx, origin_.x}, std::tuple{SB_VERT, picture.height, client.cy, origin_.y}}) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    info.nMin = 0;
    info.nMax = size - 1;
    info.nPage = static_cast<UINT>(std::max<LONG>(page, 0));
    info.nPos = position;
    SetScrollInfo(Window(), bar, &info, TRUE);
  }
}

void TPictureForm1::OnScroll(int bar, int request) {
  const SIZE client = Client();
  const int page = bar == SB_HORZ ? client.cx : client.cy;
  const int line = Layout::PictureLineScroll;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(Window(), bar, &info);
  int position = bar == SB_HORZ ? origin_.x : origin_.y;
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
  ScrollTo(bar == SB_HORZ ? PicturePoint{position, origin_.y} : PicturePoint{origin_.x, position});
}

// Ctrl and the wheel zoom about the point under the pointer; the wheel
// alone scrolls.
void TPictureForm1::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
  const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
  if ((GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) != 0) {
    POINT anchor{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(Window(), &anchor);
    ZoomStep(delta > 0 ? 1 : -1, InPicture(anchor));
    return;
  }
  ScrollTo({origin_.x, origin_.y - delta / WHEEL_DELTA * 3 * Layout::PictureLineScroll});
}

void TPictureForm1::OnKeyDown(WPARAM key) {
  // The tools' keys, as Tiled's: S, B, E.
  if (GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0 && commands_.RunKeys(static_cast<int>(key))) return;
  const SIZE client = Client();
  const POINT middle{client.cx / 2, client.cy / 2};
  const int line = Layout::PictureLineScroll;
  switch (key) {
    case VK_ADD:
    case VK_OEM_PLUS: ZoomStep(1, middle); break;
    case VK_SUBTRACT:
    case VK_OEM_MINUS: ZoomStep(-1, middle); break;
    case VK_LEFT: ScrollTo({origin_.x - line, origin_.y}); break;
    case VK_RIGHT: ScrollTo({origin_.x + line, origin_.y}); break;
    case VK_UP: ScrollTo({origin_.x, origin_.y - line}); break;
    case VK_DOWN: ScrollTo({origin_.x, origin_.y + line}); break;
    case VK_PRIOR: ScrollTo({origin_.x, origin_.y - client.cy}); break;
    case VK_NEXT: ScrollTo({origin_.x, origin_.y + client.cy}); break;
    default: break;
  }
}

void TPictureForm1::OnLeftButtonDown(POINT client) {
  SetFocus(Window());
  const POINT point = InPicture(client);
  const RECT area = PictureArea();
  if (client.y < area.top || client.y >= area.bottom) return;
  if (tool_ == Tool::Select) {
    const std::optional<GridCell> cell = CellAtPoint({origin_.x + point.x, origin_.y + point.y}, scale_);
    if (cell && events_.cellClicked) events_.cellClicked(*cell);
    return;
  }
  if (!showing_) return;
  if (const std::optional<int> hexagon = HexagonAt(point)) StartStroke(*hexagon, point);
}

std::optional<int> TPictureForm1::HexagonAt(POINT inPicture) const {
  const std::optional<GridCell> cell = CellAtPoint({origin_.x + inPicture.x, origin_.y + inPicture.y}, scale_);
  if (!cell) return std::nullopt;
  const int offset = CellToOffset(cell->column, cell->row);
  if (offset == NoMapOffset) return std::nullopt;
  return offset;
}

void TPictureForm1::StartStroke(int offset, POINT inPicture) {
  stroking_ = true;
  strokeTool_ = tool_;
  land_ = shown_;
  stroke_.reset();
  erased_.clear();
  lastHexagon_ = NoMapOffset;
  lastPoint_ = inPicture;
  refusal_.clear();
  if (strokeTool_ == Tool::Brush) stroke_.emplace(land_);
  SetCapture(Window());
  ExtendStroke(offset);
}

// The brush joins the hexagon to its road; the eraser takes it.
void TPictureForm1::ExtendStroke(int offset) {
  if (offset == lastHexagon_) return;
  lastHexagon_ = offset;
  if (strokeTool_ == Tool::Eraser) {
    if (std::find(erased_.begin(), erased_.end(), offset) == erased_.end()) erased_.push_back(offset);
  } else {
    const int from = stroke_->Started() ? stroke_->Way().back() : offset;
    try {
      stroke_->Reach(offset);
      refusal_.clear();
    } catch (const RoadRefusal& refusal) {
      refusal_ = Widen(RoadRefusalLine(land_, refusal, from, offset));
    }
  }
  ShowStroke();
}

void TPictureForm1::ShowStroke() {
  int length = 0;
  if (strokeTool_ == Tool::Eraser) {
    MapImage erased = land_;
    EraseRoads(erased, erased_, EraserLand());
    Show(erased);
    length = static_cast<int>(erased_.size());
  } else {
    Show(stroke_->Drawn());
    length = static_cast<int>(stroke_->Way().size());
  }
  std::wstring text = Widen(StrokeLength);
  text.replace(text.find(L"%d"), 2, std::to_wstring(length));
  ShowStatus(refusal_.empty() ? text : text + L"  " + refusal_);
}

void TPictureForm1::OnMouseMove(POINT client) {
  const POINT point = InPicture(client);
  if (!stroking_) {
    const std::optional<GridCell> cell = CellAtPoint({origin_.x + point.x, origin_.y + point.y}, scale_);
    ShowStatus(cell && events_.cellName ? events_.cellName(*cell) : std::wstring());
    return;
  }
  // The eraser takes every hexagon the pointer passed, also in a fast move.
  const int moved = static_cast<int>(std::max(std::abs(point.x - lastPoint_.x), std::abs(point.y - lastPoint_.y)));
  const int steps = strokeTool_ == Tool::Eraser ? std::max(1, moved / std::max(1, scale_ / 2)) : 1;
  for (int step = 1; step <= steps; ++step) {
    const POINT between{lastPoint_.x + (point.x - lastPoint_.x) * step / steps,
                        lastPoint_.y + (point.y - lastPoint_.y) * step / steps};
    if (const std::optional<int> hexagon = HexagonAt(between)) ExtendStroke(*hexagon);
  }
  lastPoint_ = point;
}

void TPictureForm1::OnLeftButtonUp() {
  if (stroking_) EndStroke();
}

// The stroke goes to the owner as one change; the map shown is what it drew.
void TPictureForm1::EndStroke() {
  stroking_ = false;
  const MapImage drawn = shown_;
  if (GetCapture() == Window()) ReleaseCapture();
  ShowStatus({});
  if (drawn != land_ && events_.strokeEnded) events_.strokeEnded(drawn);
}

void TPictureForm1::CancelStroke() {
  stroking_ = false;
  Show(land_);
  if (GetCapture() == Window()) ReleaseCapture();
  ShowStatus({});
}

void TPictureForm1::ShowStatus(std::wstring text) { status_.SetText(text); }

bool TPictureForm1::OnSetCursor() {
  POINT pointer{};
  GetCursorPos(&pointer);
  ScreenToClient(Window(), &pointer);
  const RECT area = PictureArea();
  if (!PtInRect(&area, pointer)) return false;
  SetCursor(LoadCursorW(nullptr, CursorOf(tool_)));
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

void TPictureForm1::OnPanStart(POINT point) {
  SetFocus(Window());
  panning_ = true;
  panFrom_ = point;
  SetCapture(Window());
}

void TPictureForm1::OnPanMove(POINT point) {
  ScrollTo({origin_.x - (point.x - panFrom_.x), origin_.y - (point.y - panFrom_.y)});
  panFrom_ = point;
}

// The smallest scale shows the whole map, or as much as scale 1 shows.
int TPictureForm1::SmallestScale() const {
  const SIZE client = Client();
  int scale = MaxMapPictureScale;
  while (scale > 1 && (MapPictureSizeAt(scale).width > client.cx || MapPictureSizeAt(scale).height > client.cy)) --scale;
  return scale;
}

void TPictureForm1::ZoomStep(int direction, POINT anchor) {
  ZoomAt(std::clamp(scale_ + direction, SmallestScale(), MaxMapPictureScale), anchor);
}

// The picture's point under `anchor` stays under it.
void TPictureForm1::ZoomAt(int scale, POINT anchor) {
  if (scale == scale_) return;
  const long x = static_cast<long>(origin_.x + anchor.x) * scale / scale_;
  const long y = static_cast<long>(origin_.y + anchor.y) * scale / scale_;
  scale_ = scale;
  origin_ = Clamped({static_cast<int>(x - anchor.x), static_cast<int>(y - anchor.y)});
  UpdateScrollBars();
  RepaintAll();
}

// Scrolls by the least amount that shows the cell's hexagon whole.
void TPictureForm1::KeepInView(GridCell cell) {
  const int offset = CellToOffset(cell.column, cell.row);
  if (offset == NoMapOffset) return;
  const RECT hexagon = HexagonRect(offset, 2 * scale_);
  const SIZE client = Client();
  PicturePoint origin = origin_;
  if (hexagon.left < 0) origin.x += hexagon.left;
  else if (hexagon.right > client.cx) origin.x += std::min<LONG>(hexagon.right - client.cx, hexagon.left);
  if (hexagon.top < 0) origin.y += hexagon.top;
  else if (hexagon.bottom > client.cy) origin.y += std::min<LONG>(hexagon.bottom - client.cy, hexagon.top);
  ScrollTo(origin);
}

RECT TPictureForm1::HexagonRect(int offset, int reach) const {
  const PicturePoint centre = HexCentreAt(offset, scale_);
  return {centre.x - origin_.x - reach, centre.y - origin_.y - reach, centre.x - origin_.x + reach + 1,
          centre.y - origin_.y + reach + 1};
}

// The outline lies over the hexagon's edge, and so within its ring.
int TPictureForm1::OutlineReach() const {
  return RingReach(scale_) + Scaled(Layout::PictureOutlineWidth + 2 * Layout::PictureOutlineRimWidth);
}

// Where what is drawn within `reach` of the hexagon's centre shows, in client
// pixels. False where none of it is in view.
bool TPictureForm1::DrawnRect(int offset, int reach, RECT& rect) const {
  rect = HexagonRect(offset, reach);
  OffsetRect(&rect, 0, PictureTop());
  const RECT area = PictureArea();
  return IntersectRect(&rect, &rect, &area) != FALSE;
}
