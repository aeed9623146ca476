// How long the editor model takes for a full map read with all its cell
// texts, a cell selection and a road choice, and how many heap allocations a
// read makes: one per cell text too long for the string's own buffer is the
// least it can be; anything per cell beyond that would be waste.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "model/EditorModel.h"
#include "support/FakeEditorView.h"
#include "support/MemoryFileSystem.h"

namespace {
std::atomic<long> allocations{0};
}

// GCC sees through these to malloc and free and takes them for a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

const MapPath MapPathOnDisk = u"C:\\Games\\Valtea\\MAPDATA.VLT";

// Every code 0..34, so texts of every length occur. With `unknown`, codes
// 100..255 instead, whose three digits make every long text too long for a
// string's own buffer.
std::vector<std::uint8_t> MapOf(bool unknown) {
  std::vector<std::uint8_t> bytes(MapSize);
  for (int offset = 0; offset < MapSize; ++offset) {
    bytes[offset] = static_cast<std::uint8_t>(unknown ? 100 + offset % 156 : offset * 7 % 35);
  }
  return bytes;
}

// Cell texts that do not fit in a std::string's own buffer need one
// allocation each, whoever makes them.
long CellTextsOnHeap(const FakeEditorView& view) {
  const std::size_t ownBuffer = std::string().capacity();
  long count = 0;
  for (int offset = 0; offset < MapSize; ++offset) {
    const GridCell cell = OffsetToCell(offset);
    if (view.CellText(cell.column, cell.row).size() > ownBuffer) ++count;
  }
  return count;
}

struct Editor {
  MemoryFileSystem files;
  FakeEditorView view;
  EditorModel model{files, view};
  explicit Editor(bool unknownCodes = false) {
    files.files[MapPathOnDisk] = MapOf(unknownCodes);
    model.OpenMap(MapPathOnDisk);
  }
};

void LoadMapFile(benchmark::State& state) {
  Editor editor(state.range(0) != 0);
  long allocated = 0;
  for (auto _ : state) {
    const long before = allocations.load(std::memory_order_relaxed);
    editor.model.OpenMap(MapPathOnDisk);
    allocated += allocations.load(std::memory_order_relaxed) - before;
  }
  const double loads = static_cast<double>(state.iterations());
  const long textsOnHeap = CellTextsOnHeap(editor.view);
  state.counters["allocs_per_load"] = static_cast<double>(allocated) / loads;
  state.counters["cell_texts_on_heap"] = static_cast<double>(textsOnHeap);
  state.counters["other_allocs_per_load"] = static_cast<double>(allocated) / loads - static_cast<double>(textsOnHeap);
  state.SetItemsProcessed(state.iterations() * MapSize);
}
BENCHMARK(LoadMapFile)->ArgName("unknown_codes")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The user walking over the map cell by cell, placeholders included.
void SelectCell(benchmark::State& state) {
  Editor editor;
  int column = 1, row = 1;
  for (auto _ : state) {
    editor.model.SelectCell(column, row);
    benchmark::DoNotOptimize(editor.model.CodeText().data());
    if (++row > LastGridRow) {
      row = 1;
      if (++column > LastGridColumn) column = 1;
    }
  }
}
BENCHMARK(SelectCell);

void ChooseRoad(benchmark::State& state) {
  Editor editor;
  editor.model.SelectCell(1, 3);  // offset 4: code 28, a road
  int index = 0;
  for (auto _ : state) {
    editor.model.ChooseRoad(index);
    benchmark::DoNotOptimize(editor.model.CodeText().data());
    if (++index == RoadChoiceCount) index = 0;
  }
}
BENCHMARK(ChooseRoad);

}  // namespace
