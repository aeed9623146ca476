#include "ui/ToolWindow.h"

#include <algorithm>

#include "ui/Dpi.h"
#include "ui/Layout.h"
#include "ui/ToolPlacement.h"

namespace {

ScreenRect ScreenRectOf(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

RECT RectOf(const ScreenRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// The work area of the monitor `window` is on, or of the primary one.
RECT WorkAreaNear(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor)) return monitor.rcWork;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

bool IsOnSomeMonitor(const RECT& frame) { return MonitorFromRect(&frame, MONITOR_DEFAULTTONULL) != nullptr; }

}  // namespace

UINT ToolWindow::ReleaseMessage() {
  static const UINT message = RegisterWindowMessageW(L"ValteaReleaseToolWindow");
  return message;
}

ToolWindow::ToolWindow(ToolWindowPlace place)
    : place_(std::move(place)), memory_(place_.memory != nullptr ? *place_.memory : fallbackMemory_) {}

void ToolWindow::CreateToolWindow(WindowArgs args, SIZE client) {
  args.parent = place_.owner;
  RECT frame{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&frame, args.style, FALSE, args.exStyle);
  const RECT place = FrameToOpen({frame.right - frame.left, frame.bottom - frame.top});
  args.x = place.left;
  args.y = place.top;
  args.width = place.right - place.left;
  args.height = place.bottom - place.top;
  Create(args);
}

SIZE ToolWindow::ScaledForOwner(int width, int height) const {
  const int dpi = WindowDpi(place_.owner);
  return {Scale(width, dpi), Scale(height, dpi)};
}

// Where the player left it, while that is on a monitor; else beside the
// owner, clear of the other tool windows.
RECT ToolWindow::FrameToOpen(SIZE wanted) const {
  if (memory_.frame && IsOnSomeMonitor(*memory_.frame)) return *memory_.frame;
  ToolWindowRoom room;
  room.work = ScreenRectOf(WorkAreaNear(place_.owner));
  RECT owner{};
  if (place_.owner != nullptr && GetWindowRect(place_.owner, &owner)) {
    room.main = ScreenRectOf(owner);
  } else {
    room.main = {room.work.left, room.work.top, room.work.left, room.work.top};
  }
  for (const RECT& other : place_.others) room.others.push_back(ScreenRectOf(other));
  const int dpi = WindowDpi(place_.owner);
  return RectOf(PlaceToolWindow(room, static_cast<int>(wanted.cx), static_cast<int>(wanted.cy),
                                Scale(Layout::ToolWindowLeastWidth, dpi), Scale(Layout::ToolWindowLeastHeight, dpi)));
}

void ToolWindow::BringToFront() {
  ShowWindow(Window(), IsIconic(Window()) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(Window());
  SetActiveWindow(Window());
  SetFocus(KeyboardTarget());
}

bool ToolWindow::PreTranslateMessage(const MSG& message) {
  if (message.hwnd != Window() && !IsChild(Window(), message.hwnd)) return false;
  if (message.message != WM_KEYDOWN || message.wParam != VK_ESCAPE) return false;
  PostMessageW(Window(), WM_CLOSE, 0, 0);
  return true;
}

LRESULT ToolWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      DestroyWindow(Window());
      return 0;
    case WM_DESTROY:
      RememberFrame();
      return 0;
    case WM_NCDESTROY:
      if (place_.owner != nullptr && IsWindow(place_.owner)) PostMessageW(place_.owner, ReleaseMessage(), 0, 0);
      return DefaultHandling(message, wParam, lParam);
    default: return DefaultHandling(message, wParam, lParam);
  }
}

// The frame it has when not minimised.
void ToolWindow::RememberFrame() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  RECT frame{};
  if (IsIconic(Window()) && GetWindowPlacement(Window(), &placement)) {
    frame = placement.rcNormalPosition;
  } else if (!GetWindowRect(Window(), &frame)) {
    return;
  }
  memory_.frame = frame;
}

// ToolWindows.

ToolWindowPlace ToolWindows::PlaceFor(const void* key) {
  ToolWindowPlace place;
  place.owner = owner_;
  for (Slot& slot : slots_) {
    if (slot.key == key) {
      place.memory = &slot.memory;
      continue;
    }
    RECT frame{};
    ToolWindow* window = slot.window();
    if (window != nullptr && window->Window() != nullptr && IsWindowVisible(window->Window()) &&
        GetWindowRect(window->Window(), &frame))
      place.others.push_back(frame);
  }
  return place;
}

bool ToolWindows::PreTranslateMessage(const MSG& message) const {
  for (const Slot& slot : slots_) {
    ToolWindow* window = slot.window();
    if (window != nullptr && window->Window() != nullptr && window->PreTranslateMessage(message)) return true;
  }
  return false;
}

void ToolWindows::ReleaseClosed() {
  for (Slot& slot : slots_) {
    ToolWindow* window = slot.window();
    if (window == nullptr || window->Window() != nullptr) continue;
    slot.reset();
    if (slot.released) slot.released();
  }
}
