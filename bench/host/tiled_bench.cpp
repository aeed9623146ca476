// The sample map to Tiled and back, without starting a process: the export
// with its tileset picture (drawn and encoded as PNG), and the import of the
// map Tiled keeps as a JSON array and as base64 zlib. Targets on the
// development machine: 30 ms, 5 ms and 5 ms.

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

#include "cli/ShiftJisToUtf8.h"
#include "picture/Png.h"
#include "support/TiledLayers.h"
#include "tiled/TiledMap.h"

namespace {

MapImage SampleMap() {
  std::ifstream file(VALTEA_SOURCE_FOLDER "/samples/MAPDATA.VLT", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  MapImage image{};
  std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
  return image;
}

std::string Utf8Of(std::string_view shiftJis) {
  static ShiftJisToUtf8 converter;
  return converter.Utf8Of(std::string(shiftJis));
}

void ExportWithTilesetPicture(benchmark::State& state) {
  const MapImage map = SampleMap();
  for (auto _ : state) {
    benchmark::DoNotOptimize(EncodePng(TilesetPicture()));
    benchmark::DoNotOptimize(TiledMapJson(map, Utf8Of));
  }
}
BENCHMARK(ExportWithTilesetPicture)->Unit(benchmark::kMillisecond);

void ImportJsonArray(benchmark::State& state) {
  const std::string json = TiledMapJson(SampleMap(), Utf8Of);
  for (auto _ : state) benchmark::DoNotOptimize(ReadTiledMap(json));
}
BENCHMARK(ImportJsonArray)->Unit(benchmark::kMillisecond);

void ImportBase64Zlib(benchmark::State& state) {
  nlohmann::json map = nlohmann::json::parse(TiledMapJson(SampleMap(), Utf8Of));
  UseBase64(map["layers"][0], "zlib");
  const std::string json = map.dump();
  for (auto _ : state) benchmark::DoNotOptimize(ReadTiledMap(json));
}
BENCHMARK(ImportBase64Zlib)->Unit(benchmark::kMillisecond);

}  // namespace
