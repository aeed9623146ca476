// Opening a map in the real main window: from the moment the open dialog is
// accepted until the grid has repainted with the new map.

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "Main1.h"
#include "Timing.h"
#include "platform/Text.h"
#include "support/WindowTesting.h"

namespace {

constexpr int Rounds = 15;

namespace fs = std::filesystem;

fs::path WriteMap(const fs::path& folder) {
  fs::create_directories(folder);
  const fs::path file = folder / "MAPDATA.VLT";
  std::ofstream stream(file, std::ios::binary | std::ios::trunc);
  for (int offset = 0; offset < MapSize; ++offset) stream.put(static_cast<char>(offset * 7 % 35));
  return file;
}

}  // namespace

int main() {
  const fs::path folder = fs::temp_directory_path() / "valtea-open-bench";
  const MapPath path = WriteMap(folder).u16string();

  ScriptedDialogs dialogs;  // accepts at once, so the time is the editor's alone
  dialogs.answer = WideFromPath(path);
  auto form = MakeWindow<TMainForm1>();
  form->CreateWindowAndControls();
  form->Show(SW_SHOWNORMAL);
  HandleQueuedMessages();

  // The open, and apart from it the repaint that follows it and a full
  // repaint of the same window, so that the open reads in full repaints.
  Figures open, read, repaint, fullRepaint;
  for (int round = 0; round < Rounds; ++round) {
    const double start = NowMilliseconds();
    SendMessageW(form->Window(), WM_COMMAND, MAKEWPARAM(IdOpen1, 0), 0);
    const double readDone = NowMilliseconds();
    RedrawWindow(form->Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const double end = NowMilliseconds();
    open.samples.push_back(end - start);
    read.samples.push_back(readDone - start);
    repaint.samples.push_back(end - readDone);
    HandleQueuedMessages();
    HWND grid = form->Control(IdStringGrid1);
    fullRepaint.samples.push_back(Time([&] {
      InvalidateRect(grid, nullptr, FALSE);
      UpdateWindow(grid);
    }));
  }
  if (!dialogs.errorBoxes.empty()) {
    std::fprintf(stderr, "the map did not open\n");
    return 1;
  }
  open.Print("accepted open dialog to the repainted grid");
  read.Print("  of which the open up to the repaint");
  repaint.Print("  of which the repaint");
  fullRepaint.Print("a full repaint of the grid, for comparison");
  std::printf("the open costs %.2f full repaints (medians)\n", open.Median() / fullRepaint.Median());
  form.reset();
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return 0;
}
