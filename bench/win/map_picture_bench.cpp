// The map picture window under Wine, on the sample map: one edited hexagon
// drawn and shown, and one zoom step of a window of 1,200 x 800 pixels, each
// until the window has repainted. Targets: 1 ms and 30 ms.

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "Picture1.h"
#include "Timing.h"

namespace {

constexpr int Rounds = 15;

MapImage SampleMap() {
  std::ifstream file(VALTEA_SOURCE_FOLDER "/samples/MAPDATA.VLT", std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  MapImage image{};
  std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
  return image;
}

}  // namespace

int main() {
  MapImage map = SampleMap();
  auto picture = MakeWindow<TPictureForm1>(ToolWindowPlace{}, TPictureForm1::Events{});
  RECT frame{0, 0, 1200, 800};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  frame.right += GetSystemMetrics(SM_CXVSCROLL);
  frame.bottom += GetSystemMetrics(SM_CYHSCROLL);
  SetWindowPos(picture->Window(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  const GridCell current{60, 30};
  picture->ShowMap(map, current, {});
  ShowWindow(picture->Window(), SW_SHOW);
  UpdateWindow(picture->Window());
  HandleQueuedMessages();

  // A plain hexagon in view, turned into hills and back.
  const int edited = CellToOffset(62, 31);
  Figures edit, zoom;
  for (int round = 0; round < Rounds; ++round) {
    map[edited] = round % 2 == 0 ? 3 : 4;
    edit.samples.push_back(Time([&] {
      picture->ShowMap(map, current, {});
      UpdateWindow(picture->Window());
    }));
    HandleQueuedMessages();
  }
  for (int round = 0; round < Rounds; ++round) {
    const WPARAM wheel = MAKEWPARAM(MK_CONTROL, round % 2 == 0 ? WHEEL_DELTA : -WHEEL_DELTA);
    POINT middle{600, 400};
    ClientToScreen(picture->Window(), &middle);
    zoom.samples.push_back(Time([&] {
      SendMessageW(picture->Window(), WM_MOUSEWHEEL, wheel, MAKELPARAM(middle.x, middle.y));
      UpdateWindow(picture->Window());
    }));
    HandleQueuedMessages();
  }
  RECT client{};
  GetClientRect(picture->Window(), &client);
  std::printf("Map picture, client area %ld x %ld pixels, scale %d, %d rounds\n", client.right, client.bottom,
              picture->Scale(), Rounds);
  edit.Print("one edited hexagon drawn and shown (target 1 ms)");
  zoom.Print("one zoom step, drawn and shown (target 30 ms)");
  return 0;
}
