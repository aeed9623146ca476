// Applying a mod in the real main window under Wine: a text patch of 1,000
// cells, from 適用 until the grid and the map picture have repainted; beside
// it, in the same run, a full repaint of the grid. Target: at most twice
// that. Also shown: from the command until the preview stands with its
// rings on the picture (read, previewed, ringed).
//
// Then the comparison with a map that differs in 1,500 road cells: from the
// command until its window (the real one, painted) stands with the rings on
// the picture, and 取り込む of every difference until the grid and the
// picture show it. Target: at most 2 full grid repaints each.

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "Main1.h"
#include "Timing.h"
#include "map/CellChange.h"
#include "patch/TextPatch.h"
#include "platform/Text.h"
#include "support/WindowTesting.h"
#include "ui/PatchPreviewDialog.h"

namespace {

constexpr int Rounds = 9;
constexpr int PatchedCells = 1000;
constexpr int DifferentRoads = 1500;

}  // namespace

int main() {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / "valtea-patch-bench";
  fs::create_directories(folder);
  const fs::path mapFile = folder / "MAPDATA.VLT";
  MapImage land{};
  land.fill(4);
  {
    std::ofstream out(mapFile, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(land.data()), static_cast<std::streamsize>(land.size()));
  }
  // Plain to hills on 1,000 cells spread over the map, and back.
  MapImage hills = land;
  for (int index = 0; index < PatchedCells; ++index) hills[index * (MapSize / PatchedCells)] = 3;
  const auto writePatch = [&](const fs::path& file, const MapImage& before, const MapImage& after) {
    std::string text;
    const std::vector<CellChange> changes = ChangesBetween(before, after);
    for (const CellChange& change : changes) text += ChangeLine(change) + "\n";
    text += ChangeSummary(changes.size()) + "\n";
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;  // Shift-JIS, as Notepad's "ANSI" keeps it
  };
  const fs::path forth = folder / "forth.txt", back = folder / "back.txt";
  writePatch(forth, land, hills);
  writePatch(back, hills, land);

  ScriptedDialogs dialogs;
  dialogs.answer = mapFile.wstring();
  dialogs.patchSides = std::vector<bool>{};
  auto form = MakeWindow<TMainForm1>();
  form->CreateWindowAndControls();
  form->Show(SW_SHOWNORMAL);
  const auto command = [&](WORD id) { SendMessageW(form->Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); };
  command(IdOpen1);
  command(IdMapPicture1);
  HandleQueuedMessages();

  Figures apply, preview, fullRepaint;
  HWND grid = form->Control(IdStringGrid1);
  const auto repaint = [&] {
    RedrawWindow(form->Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    UpdateWindow(form->PictureForm()->Window());
  };
  double start = 0, pressed = 0;
  // The preview stands, its rings shown; then 適用 is pressed.
  dialogs.whilePreviewing = [&] {
    repaint();
    pressed = NowMilliseconds();
  };
  for (int round = 0; round < Rounds; ++round) {
    dialogs.openAnswer = (round % 2 == 0 ? forth : back).wstring();
    start = NowMilliseconds();
    command(IdApplyPatch1);
    repaint();
    apply.samples.push_back(NowMilliseconds() - pressed);
    preview.samples.push_back(pressed - start);
    HandleQueuedMessages();
    fullRepaint.samples.push_back(Time([&] {
      InvalidateRect(grid, nullptr, FALSE);
      UpdateWindow(grid);
    }));
  }
  const bool applied = dialogs.patchPreviews == Rounds && dialogs.errorBoxes.empty() && form->Model().UndoEnabled();
  std::printf("A text patch of %d cells, %d rounds, with the map picture open\n", PatchedCells, Rounds);
  preview.Print("read, previewed, its cells ringed on the picture");
  apply.Print("from the apply button: grid, picture repainted");
  fullRepaint.Print("a full repaint of the grid, for comparison");
  std::printf("the patch costs %.2f full repaints (medians; target 2)\n", apply.Median() / fullRepaint.Median());

  // The friend's map: this one with roads on cells of their own.
  MapImage friends = form->Model().MapImage();
  for (int index = 0; index < DifferentRoads; ++index) friends[index * (MapSize / DifferentRoads) + 7] = 18;
  const fs::path friendFile = folder / "friend.vlt";
  {
    std::ofstream out(friendFile, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(friends.data()), static_cast<std::streamsize>(friends.size()));
  }
  Figures compare, ringed, closing, take, emptyWindow;
  dialogs.openAnswer = friendFile.wstring();
  dialogs.patchSides = std::vector<bool>(DifferentRoads, true);
  double stood = 0;
  dialogs.whilePreviewing = [&] {
    repaint();
    ringed.samples.push_back(NowMilliseconds() - start);  // as the patch preview is timed, without its window
    {
      auto window = MakeWindow<PatchPreviewDialog>(form->Window(), dialogs.lastPatchPreview);
      ShowWindow(window->Window(), SW_SHOW);
      UpdateWindow(window->Window());
      repaint();
      stood = NowMilliseconds();
    }  // 取り込む closes it
    pressed = NowMilliseconds();
  };
  std::size_t differences = 0;
  for (int round = 0; round < Rounds; ++round) {
    start = NowMilliseconds();
    command(IdCompare1);
    repaint();
    take.samples.push_back(NowMilliseconds() - pressed);
    closing.samples.push_back(pressed - stood);
    compare.samples.push_back(stood - start);
    differences = dialogs.lastPatchPreview.conflicts.size();
    command(IdUndo1);
    HandleQueuedMessages();
    // What any window of its kind costs to stand under Wine, empty.
    auto empty = MakeWindow<PatchPreviewDialog>(form->Window(), PatchPreview{});
    emptyWindow.samples.push_back(Time([&] {
      ShowWindow(empty->Window(), SW_SHOW);
      UpdateWindow(empty->Window());
    }));
    empty.reset();
    HandleQueuedMessages();
  }
  std::printf("\nThe comparison with a map of %zu different road cells, %d rounds\n", differences, Rounds);
  ringed.Print("read, compared, its cells ringed (as the patch preview)");
  compare.Print("the same until its window stands with its 1,500 lines");
  emptyWindow.Print("of that, shown and painted by Wine, as an empty window");
  closing.Print("the window closing");
  take.Print("from the take button, all taken: grid, picture repainted");
  std::printf("the comparison costs %.2f full repaints as the patch preview, %.2f with its window, %.2f without "
              "what an empty window costs; taking them %.2f (medians; target 2 each)\n",
              ringed.Median() / fullRepaint.Median(), compare.Median() / fullRepaint.Median(),
              (compare.Median() - emptyWindow.Median()) / fullRepaint.Median(), take.Median() / fullRepaint.Median());
  form.reset();
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  if (!applied) {
    std::fprintf(stderr, "the patches were not applied\n");
    return 1;
  }
  return 0;
}
