// The grid view's costs: after a map read, setting all 26,576 cell texts
// and the one repaint of the visible area that follows; a full repaint; a
// scroll by one column and by a page, each with its repaint; and the drawing
// of the moved scroll bar, which waits until the queue is empty. Prints the
// best and the median of several rounds, in milliseconds.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "map/HexGrid.h"
#include "ui/Dpi.h"
#include "ui/StringGrid.h"
#include "Timing.h"

namespace {

constexpr int Rounds = 15;
constexpr wchar_t ParentClass[] = L"StringGridBenchParent";

// The texts of a read, in the order a read sets them.
std::vector<std::pair<GridCell, std::string>> ReadTexts(int seed) {
  std::vector<std::pair<GridCell, std::string>> texts;
  texts.reserve(MapSize);
  for (int offset = 0; offset < MapSize; ++offset) {
    const auto code = static_cast<TerrainCode>((offset * 7 + seed) % 35);
    texts.emplace_back(OffsetToCell(offset), ReadCellText(offset, code));
  }
  return texts;
}

HWND CreateParent() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = ParentClass;
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  RegisterClassExW(&windowClass);
  return CreateWindowExW(0, ParentClass, L"grid bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, Scale(880),
                         Scale(600), nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

int main() {
  HWND parent = CreateParent();
  StringGrid grid;
  grid.Create({parent, 1, Layout::StringGrid1});
  grid.SetEnabled(true);
  ShowWindow(parent, SW_SHOW);
  UpdateWindow(parent);
  HandleQueuedMessages();

  const std::vector<std::pair<GridCell, std::string>> texts[2] = {ReadTexts(1), ReadTexts(2)};
  Figures setTexts, repaintAfterTexts, fullRepaint, scrollColumn, scrollRepaint, scrollBar;
  for (int round = 0; round < Rounds; ++round) {
    const auto& batch = texts[round % 2];
    setTexts.samples.push_back(Time([&] {
      for (const auto& [cell, text] : batch) grid.SetCellText(cell.column, cell.row, text);
    }));
    repaintAfterTexts.samples.push_back(Time([&] { UpdateWindow(grid.Window()); }));
    fullRepaint.samples.push_back(Time([&] {
      InvalidateRect(grid.Window(), nullptr, FALSE);
      UpdateWindow(grid.Window());
    }));
    HandleQueuedMessages();
    scrollColumn.samples.push_back(Time([&] {
      SendMessageW(grid.Window(), WM_HSCROLL, round % 2 == 0 ? SB_LINEDOWN : SB_LINEUP, 0);
      UpdateWindow(grid.Window());
    }));
    scrollBar.samples.push_back(Time(HandleQueuedMessages));
    scrollRepaint.samples.push_back(Time([&] {
      SendMessageW(grid.Window(), WM_HSCROLL, round % 2 == 0 ? SB_PAGEDOWN : SB_PAGEUP, 0);
      UpdateWindow(grid.Window());
    }));
    HandleQueuedMessages();
  }

  RECT client{};
  GetClientRect(grid.Window(), &client);
  std::printf("StringGrid, client area %ld x %ld pixels, %d rounds\n", client.right, client.bottom, Rounds);
  setTexts.Print("set all 26,576 cell texts (target < 20 ms)");
  repaintAfterTexts.Print("repaint of the visible cells after that (< 10 ms)");
  fullRepaint.Print("full repaint of the client area");
  scrollColumn.Print("scroll by one column and repaint");
  scrollRepaint.Print("scroll by a page of columns and repaint");
  scrollBar.Print("the moved scroll bar drawn, once the queue is empty");
  DestroyWindow(parent);
  return 0;
}
