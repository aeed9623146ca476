// The road tools in the real main window, from the command to the repainted
// grid: a repair of the sample map with five road pieces turned into wrong
// shapes, and a road across the whole map, from the harbour at 5:32 to the
// castle at 307:7 (302 steps). Each is taken back between rounds, untimed.
// Target: 30 ms each.

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "Main1.h"
#include "Timing.h"
#include "map/HexGrid.h"
#include "platform/Text.h"
#include "support/WindowTesting.h"

namespace {

constexpr int Rounds = 15;

namespace fs = std::filesystem;

// The sample map with five of its ／ and ＼ pieces turned the other way.
fs::path WriteSlippedSample(const fs::path& folder) {
  std::ifstream sample(VALTEA_SOURCE_FOLDER "/samples/MAPDATA.VLT", std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(sample)), std::istreambuf_iterator<char>());
  int slips = 0;
  for (std::size_t offset = 0; offset < bytes.size() && slips < 5; offset += 2000) {
    while (offset < bytes.size() && bytes[offset] != 18 && bytes[offset] != 19) ++offset;
    if (offset < bytes.size()) bytes[offset] = static_cast<char>(bytes[offset] == 18 ? 19 : 18), ++slips;
  }
  fs::create_directories(folder);
  const fs::path file = folder / "MAPDATA.VLT";
  std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file;
}

void SendCommand(TMainForm1& form, WORD id) { SendMessageW(form.Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void Repaint(TMainForm1& form) { RedrawWindow(form.Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

// The cell made current as the keyboard makes it: a click event follows.
void GoTo(TMainForm1& form, GridCell cell) {
  form.Grid().SetCurrentCell(cell);
  SendMessageW(form.Grid().Window(), WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageW(form.Grid().Window(), WM_KEYDOWN, VK_LEFT, 0);
}

}  // namespace

int main() {
  const fs::path folder = fs::temp_directory_path() / "valtea-road-tools-bench";
  ScriptedDialogs dialogs;
  dialogs.answer = WideFromPath(WriteSlippedSample(folder).u16string());
  auto form = MakeWindow<TMainForm1>();
  form->CreateWindowAndControls();
  form->Show(SW_SHOWNORMAL);
  SendCommand(*form, IdOpen1);
  HandleQueuedMessages();

  Figures shape, road;
  bool changed = true;  // each command made a step to take back
  for (int round = 0; round < Rounds; ++round) {
    shape.samples.push_back(Time([&] {
      SendCommand(*form, IdShapeRoads1);
      Repaint(*form);
    }));
    changed = changed && form->Model().UndoEnabled();
    SendCommand(*form, IdUndo1);
    HandleQueuedMessages();
  }
  GoTo(*form, {5, 32});
  SendCommand(*form, IdSetRoadStart1);
  GoTo(*form, {307, 7});
  for (int round = 0; round < Rounds; ++round) {
    road.samples.push_back(Time([&] {
      SendCommand(*form, IdLayRoad1);
      Repaint(*form);
    }));
    changed = changed && form->Model().UndoEnabled();
    SendCommand(*form, IdUndo1);
    HandleQueuedMessages();
  }
  if (!dialogs.errorBoxes.empty() || !changed) {
    std::fprintf(stderr, "the road tools did not work: %zu error boxes\n", dialogs.errorBoxes.size());
    return 1;
  }
  shape.Print("shape of the sample map with five slips, repainted");
  road.Print("a road across the map (302 steps), repainted");
  form.reset();
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return 0;
}
