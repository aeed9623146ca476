// The map picture window under Wine, on the sample map: one edited hexagon
// drawn and shown, and one zoom step of a window of 1,200 x 800 pixels, each
// until the window has repainted. Targets: 1 ms and 30 ms.
// Then the road brush in the real main window: a stroke of 300 hexagons on
// plain land, replayed as WM_MOUSEMOVE, each hexagon until the picture shows
// it; and the release, until the picture shows its step, and until the grid
// and the problem window, which follows at idle, have too. Targets, in full
// repaints of the grid in the same run: half a repaint a hexagon; the
// release onto open land until the picture shows it one, until every window
// does two. With the networks' colours on: a hexagon entered, half a repaint.
// Last, on the sample map with the colours on, an erasure that splits its
// largest network into two that each join places, until the picture shows
// both colours: one repaint.

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "Main1.h"
#include "Picture1.h"
#include "Timing.h"
#include "map/PlaceNetworks.h"
#include "picture/HexGeometry.h"
#include "support/WindowTesting.h"

namespace {

constexpr int Rounds = 15;

MapImage SampleMap() {
  std::ifstream file(VALTEA_SOURCE_FOLDER "/samples/MAPDATA.VLT", std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  MapImage image{};
  std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
  return image;
}

void RunCommand(TMainForm1& form, WORD id) {
  SendMessageW(form.Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
  HandleQueuedMessages();
}

// The real main window with the map at `path` opened through File > Open,
// then `commands` run in turn.
WindowPtr<TMainForm1> OpenEditor(ScriptedDialogs& dialogs, const std::wstring& path, std::initializer_list<WORD> commands) {
  dialogs.answer = path;
  auto form = MakeWindow<TMainForm1>();
  form->CreateWindowAndControls();
  form->Show(SW_SHOWNORMAL);
  RunCommand(*form, IdOpen1);
  for (const WORD id : commands) RunCommand(*form, id);
  return form;
}

constexpr int StrokeHexagons = 300;
constexpr int StrokeRounds = 10;

// East along the map in slanted steps, north-east and south-east by turns.
std::vector<int> ZigzagFrom(int start) {
  std::vector<int> way{start};
  while (static_cast<int>(way.size()) < StrokeHexagons)
    way.push_back(NeighbourOffset(way.back(), way.size() % 2 == 1 ? Side::NorthEast : Side::SouthEast));
  return way;
}

int BenchStroke() {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / "valtea-stroke-bench";
  fs::create_directories(folder);
  const fs::path file = folder / "MAPDATA.VLT";
  // Plain land, with a castle at both ends of every other stroke: a road
  // from place to place leaves the problem window's list as it was, one onto
  // open land adds two loose ends to it.
  MapImage land{};
  land.fill(4);
  for (int round = 0; round < StrokeRounds; round += 2) {
    const std::vector<int> way = ZigzagFrom(CellToOffset(21, 20 + 4 * round));
    land[way.front()] = land[way.back()] = 31;
  }
  {
    std::ofstream plain(file, std::ios::binary | std::ios::trunc);
    plain.write(reinterpret_cast<const char*>(land.data()), static_cast<std::streamsize>(land.size()));
  }
  ScriptedDialogs dialogs;
  auto form = OpenEditor(dialogs, file.wstring(), {IdMapPicture1, IdProblems1});
  const auto command = [&](WORD id) { RunCommand(*form, id); };
  TPictureForm1& picture = *form->PictureForm();
  HWND window = picture.Window();
  SetWindowPos(window, nullptr, 0, 0, 1500, 560, SWP_NOZORDER | SWP_NOACTIVATE);
  for (int step = 0; step < 16; ++step) SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, -WHEEL_DELTA), 0);
  SendMessageW(window, WM_KEYDOWN, 'B', 0);
  HandleQueuedMessages();
  const auto at = [&](int offset) {
    const PicturePoint centre = HexCentreAt(offset, picture.Scale());
    return MAKELPARAM(centre.x - picture.Origin().x, centre.y - picture.Origin().y + picture.PictureTop());
  };

  Figures perHexagon, release, openRelease, openPicture, fullRepaint;
  HWND grid = form->Control(IdStringGrid1);
  for (int round = 0; round < StrokeRounds; ++round) {
    const std::vector<int> way = ZigzagFrom(CellToOffset(21, 20 + 4 * round));
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(way.front()));
    UpdateWindow(window);
    for (std::size_t index = 1; index < way.size(); ++index)
      perHexagon.samples.push_back(Time([&] {
        SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at(way[index]));
        UpdateWindow(window);
      }));
    // Until the picture shows the stroke's step; then until every window
    // does, the ones that follow at idle too.
    const double start = NowMilliseconds();
    SendMessageW(window, WM_LBUTTONUP, 0, at(way.back()));
    UpdateWindow(window);
    const double pictureShown = NowMilliseconds();
    HandleQueuedMessages();
    RedrawWindow(form->Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    RedrawWindow(form->ProblemsForm()->Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    UpdateWindow(window);
    (round % 2 == 0 ? release : openRelease).samples.push_back(NowMilliseconds() - start);
    if (round % 2 == 1) openPicture.samples.push_back(pictureShown - start);
    HandleQueuedMessages();
    fullRepaint.samples.push_back(Time([&] {
      InvalidateRect(grid, nullptr, FALSE);
      UpdateWindow(grid);
    }));
  }
  // The colours on: one more stroke, castle to castle.
  command(IdNetworkColours1);
  Figures colouredHexagon;
  const std::vector<int> coloured = ZigzagFrom(CellToOffset(21, 20 + 4 * StrokeRounds));
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(coloured.front()));
  for (std::size_t index = 1; index < coloured.size(); ++index)
    colouredHexagon.samples.push_back(Time([&] {
      SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at(coloured[index]));
      UpdateWindow(window);
    }));
  SendMessageW(window, WM_LBUTTONUP, 0, at(coloured.back()));
  HandleQueuedMessages();
  const bool recorded = form->Model().UndoEnabled() && dialogs.errorBoxes.empty();
  std::printf("Road brush, %d strokes of %d hexagons on plain land, picture at scale %d\n", StrokeRounds,
              StrokeHexagons, picture.Scale());
  perHexagon.Print("one hexagon entered, until the picture shows it");
  release.Print("the release, castle to castle, until every window shows it");
  openPicture.Print("the release onto open land, until the picture shows it");
  openRelease.Print("the same, until every window shows it (two problems more)");
  colouredHexagon.Print("with the networks' colours: one hexagon entered, until the picture shows it");
  fullRepaint.Print("a full repaint of the grid, for comparison");
  const double full = fullRepaint.Median();
  std::printf("in full repaints (medians): a hexagon %.2f (target 0.5); the release castle to castle %.2f (1); onto "
              "open land until the picture shows it %.2f (1), until every window does %.2f (2)\n",
              perHexagon.Median() / full, release.Median() / full, openPicture.Median() / full,
              openRelease.Median() / full);
  std::printf("with the networks' colours, in full repaints (medians): a hexagon %.2f (target 0.5)\n",
              colouredHexagon.Median() / full);
  form.reset();
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  if (!recorded) {
    std::fprintf(stderr, "the strokes were not recorded\n");
    return 1;
  }
  return 0;
}

// The first road piece of the sample's largest network whose erasure leaves
// two networks that each join two places or more.
int SplitPoint(const MapImage& map) {
  const auto joining = [](const MapImage& image) {
    int count = 0;
    for (const PlaceNetwork& network : FindRoadNetworks(image).networks) count += network.places.size() >= 2 ? 1 : 0;
    return count;
  };
  const RoadNetworks found = FindRoadNetworks(map);
  const int before = joining(map);
  for (int offset = 0; offset < MapSize; ++offset) {
    if (found.networkOf[offset] != 0 || !IsRoadPiece(map[offset])) continue;
    MapImage cut = map;
    cut[offset] = 4;
    if (joining(cut) == before + 1) return offset;
  }
  return NoMapOffset;
}

int BenchSplit() {
  const MapImage map = SampleMap();
  const int point = SplitPoint(map);
  ScriptedDialogs dialogs;
  auto form = OpenEditor(dialogs, std::filesystem::path(VALTEA_SOURCE_FOLDER "/samples/MAPDATA.VLT").make_preferred().wstring(),
                         {IdMapPicture1, IdNetworkColours1});
  if (point == NoMapOffset || form->PictureForm() == nullptr) {
    std::fprintf(stderr, "the sample map did not open, or has no network to split\n");
    return 1;
  }
  TPictureForm1& picture = *form->PictureForm();
  HWND window = picture.Window();
  SetWindowPos(window, nullptr, 0, 0, 1200, 800, SWP_NOZORDER | SWP_NOACTIVATE);
  HWND grid = form->Control(IdStringGrid1);
  form->Grid().SetCurrentCell(OffsetToCell(point));
  SendMessageW(grid, WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageW(grid, WM_KEYDOWN, VK_LEFT, 0);
  SendMessageW(window, WM_KEYDOWN, 'E', 0);
  HandleQueuedMessages();
  const PicturePoint centre = HexCentreAt(point, picture.Scale());
  const LPARAM at = MAKELPARAM(centre.x - picture.Origin().x, centre.y - picture.Origin().y + picture.PictureTop());
  Figures split, fullRepaint;
  for (int round = 0; round < Rounds; ++round) {
    const double t0 = NowMilliseconds();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    const double t1 = NowMilliseconds();
    SendMessageW(window, WM_LBUTTONUP, 0, at);
    const double t2 = NowMilliseconds();
    UpdateWindow(window);
    const double t3 = NowMilliseconds();
    std::fprintf(stderr, "press %.2f release %.2f update %.2f\n", t1 - t0, t2 - t1, t3 - t2);
    split.samples.push_back(t3 - t0);
    HandleQueuedMessages();
    RunCommand(*form, IdUndo1);
    fullRepaint.samples.push_back(Time([&] {
      InvalidateRect(grid, nullptr, FALSE);
      UpdateWindow(grid);
    }));
  }
  const bool splitFound = dialogs.errorBoxes.empty();
  std::printf("The sample map with the networks' colours, picture at scale %d, %d rounds\n", picture.Scale(), Rounds);
  split.Print("an erasure that splits a network, until the picture shows both colours");
  fullRepaint.Print("a full repaint of the grid, for comparison");
  std::printf("in full repaints (medians): the split %.2f (target 1)\n", split.Median() / fullRepaint.Median());
  if (!splitFound) std::fprintf(stderr, "the erasure was refused\n");
  return splitFound ? 0 : 1;
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
  picture.reset();
  if (const int status = BenchStroke()) return status;
  return BenchSplit();
}
