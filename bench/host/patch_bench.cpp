// Applying and making patches of a map, without starting a process: a text
// patch of 1,000 cells read and applied three-way, a BPS and an IPS patch of
// the same cells applied, and a BPS patch of a whole map made. Targets on
// the development machine: 1 ms, 0.5 ms, 0.5 ms and 2 ms. Then valtea-map
// patch with one and with five text patches of 1,000 cells each, read,
// applied and written (into memory): five at most 5 times one.

#include <benchmark/benchmark.h>

#include <string>

#include "cli/ValteaMap.h"
#include "map/TextEncoding.h"
#include "patch/Bps.h"
#include "patch/Ips.h"
#include "patch/TextPatch.h"
#include "support/MemoryFileSystem.h"

namespace {

MapImage Land() {
  MapImage image{};
  for (int offset = 0; offset < MapSize; ++offset) image[offset] = static_cast<TerrainCode>(offset * 7 % 35);
  return image;
}

// 1,000 cells spread over the whole map.
MapImage Modded() {
  MapImage image = Land();
  for (int cell = 0; cell < 1000; ++cell) image[cell * 26] = static_cast<TerrainCode>(image[cell * 26] + 100);
  return image;
}

std::vector<std::uint8_t> TextPatchOf(const MapImage& before, const MapImage& after) {
  std::string text;
  const std::vector<CellChange> changes = ChangesBetween(before, after);
  for (const CellChange& change : changes) text += ChangeLine(change) + "\n";
  text += ChangeSummary(changes.size()) + "\n";
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

void ApplyTextPatchOf1000Cells(benchmark::State& state) {
  const MapImage land = Land();
  const std::vector<std::uint8_t> patch = TextPatchOf(land, Modded());
  for (auto _ : state)
    benchmark::DoNotOptimize(ApplyThreeWay(ParseTextPatch(TextWithoutByteOrderMark(patch)), land));
}
BENCHMARK(ApplyTextPatchOf1000Cells)->Unit(benchmark::kMicrosecond);

void ApplyBpsPatchOf1000Cells(benchmark::State& state) {
  const MapImage land = Land();
  const PatchBytes patch = MakeBps(land, Modded());
  for (auto _ : state) {
    const BpsPatch header = ReadBps(patch);
    benchmark::DoNotOptimize(FitOf(header, land));
    benchmark::DoNotOptimize(ApplyBps(patch, header, land));
  }
}
BENCHMARK(ApplyBpsPatchOf1000Cells)->Unit(benchmark::kMicrosecond);

void ApplyIpsPatchOf1000Cells(benchmark::State& state) {
  const MapImage land = Land();
  const std::vector<std::uint8_t> patch = MakeIps(land, Modded());
  for (auto _ : state) benchmark::DoNotOptimize(ApplyIps(patch, land));
}
BENCHMARK(ApplyIpsPatchOf1000Cells)->Unit(benchmark::kMicrosecond);

// Every byte changes.
void MakeBpsPatchOfAWholeMap(benchmark::State& state) {
  const MapImage land = Land();
  MapImage other{};
  other.fill(4);
  for (auto _ : state) benchmark::DoNotOptimize(MakeBps(land, other));
}
BENCHMARK(MakeBpsPatchOfAWholeMap)->Unit(benchmark::kMicrosecond);

class QuietConsole : public Console {
 public:
  void Out(const PathText&) override {}
  void Error(const PathText&) override {}
  void OutUtf8(std::string_view) override {}
  std::string Utf8Of(const PathText& text) override { return text.format; }
};

// valtea-map patch MAP PATCH... with patch k changing its own 1,000 cells.
void PatchCommand(benchmark::State& state) {
  const MapImage land = Land();
  MemoryFileSystem files;
  std::vector<MapPath> words{u"patch", u"MAPDATA.VLT"};
  for (int patch = 0; patch < state.range(0); ++patch) {
    MapImage modded = land;
    for (int cell = 0; cell < 1000; ++cell) modded[cell * 26 + patch] = static_cast<TerrainCode>(land[cell * 26 + patch] + 100);
    const MapPath name = u"mod" + std::u16string(1, static_cast<char16_t>(u'0' + patch)) + u".txt";
    files.files[name] = TextPatchOf(land, modded);
    words.push_back(name);
  }
  QuietConsole console;
  for (auto _ : state) {
    files.files[u"MAPDATA.VLT"] = std::vector<std::uint8_t>(land.begin(), land.end());
    if (RunValteaMap(words, files, console) != ExitSuccess) state.SkipWithError("the patches were not applied");
  }
}
BENCHMARK(PatchCommand)->Arg(1)->Arg(5)->Unit(benchmark::kMicrosecond);

}  // namespace
