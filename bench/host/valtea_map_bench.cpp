// The work of valtea-map's commands on the sample map, without starting a
// process: check, network (at most twice check's lines), render at the
// default scale (drawing, and drawing with the PNG file), export and import.
// Targets on the development machine: check 0.5 ms, import 2 ms, render 50 ms.

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

#include "map/MapText.h"
#include "map/PlaceNetworks.h"
#include "map/RoadNetwork.h"
#include "operations/MapOperations.h"
#include "picture/MapPicture.h"
#include "picture/Png.h"
#include "support/MemoryFileSystem.h"

namespace {

const MapImage& SampleMap() {
  static const MapImage image = [] {
    std::ifstream file(std::string(VALTEA_SOURCE_FOLDER) + "/samples/MAPDATA.VLT", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    MapImage map{};
    std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), MapSize), map.begin());
    return map;
  }();
  return image;
}

void Check(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(FindRoadProblems(SampleMap()));
}
BENCHMARK(Check)->Unit(benchmark::kMicrosecond);

// What check and network print, with their lines: network at most twice check.
void CheckLines(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(CheckedRoads(SampleMap()));
}
BENCHMARK(CheckLines)->Unit(benchmark::kMicrosecond);

void NetworkLines(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(NetworkBlocks(SampleMap()));
}
BENCHMARK(NetworkLines)->Unit(benchmark::kMicrosecond);

// From Kyoto, 182:26, to every place its roads reach.
void NetworkFrom(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(StepsFrom(SampleMap(), CellToOffset(182, 26)));
}
BENCHMARK(NetworkFrom)->Unit(benchmark::kMicrosecond);

// What render draws: palette indices (target: 5 ms at the default scale).
void RenderDrawing(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(DrawIndexedMapPicture(SampleMap(), static_cast<int>(state.range(0))));
}
BENCHMARK(RenderDrawing)->Arg(DefaultMapPictureScale)->Arg(MaxMapPictureScale)->Unit(benchmark::kMillisecond);

// The same as colours, for those who want them.
void RenderDrawingInColours(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(DrawMapPicture(SampleMap(), DefaultMapPictureScale));
}
BENCHMARK(RenderDrawingInColours)->Unit(benchmark::kMillisecond);

void RenderWithPngFile(benchmark::State& state) {
  const int scale = static_cast<int>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(EncodePalettePng(DrawIndexedMapPicture(SampleMap(), scale)));
}
BENCHMARK(RenderWithPngFile)->Arg(DefaultMapPictureScale)->Arg(MaxMapPictureScale)->Unit(benchmark::kMillisecond);

void Export(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(MapToText(SampleMap()));
}
BENCHMARK(Export)->Unit(benchmark::kMicrosecond);

// Reading the text and writing the map file (into memory).
void Import(benchmark::State& state) {
  const std::string text = MapToText(SampleMap());
  MemoryFileSystem files;
  for (auto _ : state) {
    MapImage image{};
    ParseMapText(text, image);
    WriteMapImage(files, u"MAPDATA.VLT", image);
  }
}
BENCHMARK(Import)->Unit(benchmark::kMicrosecond);

}  // namespace

// What the picture asks after every change with the networks' colours on.
void NetworkColours(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(LookOfNetworks(SampleMap()));
}
BENCHMARK(NetworkColours)->Unit(benchmark::kMicrosecond);
