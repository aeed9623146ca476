// The sample map to Tiled and back, without starting a process: the export
// with its tileset picture (drawn and encoded as PNG), and the import of the
// map Tiled keeps as a JSON array and as base64 zlib. Targets on the
// development machine: 30 ms, 5 ms and 5 ms.
//
// Then the worst texts we know of, at 1 MiB and at the 16 MiB that import
// reads at most: each must be read or refused at about the cost per byte of
// a real map (the bytes per second beside ImportJsonArray).

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
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * json.size()));
}
BENCHMARK(ImportJsonArray)->Unit(benchmark::kMillisecond);

void ImportBase64Zlib(benchmark::State& state) {
  nlohmann::json map = nlohmann::json::parse(TiledMapJson(SampleMap(), Utf8Of));
  UseBase64(map["layers"][0], "zlib");
  const std::string json = map.dump();
  for (auto _ : state) benchmark::DoNotOptimize(ReadTiledMap(json));
}
BENCHMARK(ImportBase64Zlib)->Unit(benchmark::kMillisecond);

// Texts of about `size` bytes made of one piece over and over.
std::string Repeated(std::string_view start, std::string_view piece, std::string_view end, std::size_t size) {
  std::string text(start);
  text.reserve(size + piece.size() + end.size());
  while (text.size() + end.size() < size) text += piece;
  return text += end;
}

std::string Worst(int shape, std::size_t size) {
  switch (shape) {
    case 0: return Repeated("[", "{},", "{}]", size);                  // many objects
    case 1: return Repeated("[", "0,", "0]", size);                    // many numbers
    case 2: return Repeated("{\"a\":\"", "x", "\"}", size);            // one long string
    case 3: return Repeated("{\"", "k", "\":0}", size);                 // one long key
    case 4: return Repeated("[", std::string(199, '[') + std::string(199, ']') + ",", "0]", size);  // deep, often
    case 5: return Repeated("{\"type\":\"map\",\"layers\":[{\"type\":\"tilelayer\",\"data\":[", "1,", "1]}]}", size);
    default: {  // a real map, padded with blanks
      const std::string map = TiledMapJson(SampleMap(), Utf8Of);
      return map + std::string(size > map.size() ? size - map.size() : 0, ' ');
    }
  }
}
constexpr const char* WorstNames[] = {"many objects", "many numbers", "a long string", "a long key",
                                      "deep nesting, often", "a huge layer array", "a real map padded with blanks"};

void ImportWorst(benchmark::State& state) {
  const std::string text = Worst(static_cast<int>(state.range(0)), static_cast<std::size_t>(state.range(1)));
  state.SetLabel(WorstNames[state.range(0)]);
  for (auto _ : state) {
    try {
      benchmark::DoNotOptimize(ReadTiledMap(text));
    } catch (const TiledMapError&) {
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(ImportWorst)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 6, 1), {1 << 20, 16 << 20}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
