// valtea-map road from one corner of the map to the other: the way search
// and the pieces laid, without starting a process. Target on the development
// machine: 20 ms.

#include <benchmark/benchmark.h>

#include "map/RoadWay.h"
#include "support/RandomLand.h"

namespace {

constexpr TerrainCode Castle = 31;
const int TopLeft = CellToOffset(1, 1);
const int BottomRight = CellToOffset(351, 76);

MapImage WithCastlesInTheCorners(MapImage image) {
  image[TopLeft] = Castle;
  image[BottomRight] = Castle;
  return image;
}

void LayAcross(benchmark::State& state, const MapImage& land) {
  std::size_t steps = 0;
  for (auto _ : state) {
    MapImage image = land;
    steps = LayRoad(image, TopLeft, BottomRight).size() - 1;
    benchmark::DoNotOptimize(image);
  }
  state.counters["steps"] = static_cast<double>(steps);
}

// Every way of the fewest steps is as cheap as any other here.
void RoadAcrossPlain(benchmark::State& state) {
  MapImage plain;
  plain.fill(4);
  LayAcross(state, WithCastlesInTheCorners(plain));
}
BENCHMARK(RoadAcrossPlain)->Unit(benchmark::kMillisecond);

// Land of every kind, with mountains, water and places in the way.
void RoadAcrossRandomLand(benchmark::State& state) {
  RandomNumbers random(20240613);
  LayAcross(state, WithCastlesInTheCorners(RandomLand(random)));
}
BENCHMARK(RoadAcrossRandomLand)->Unit(benchmark::kMillisecond);

// No way at all: the castle in the far corner is walled in by mountains, so
// the search goes over every hexagon it can reach before it gives up.
void NoRoadAcrossRandomLand(benchmark::State& state) {
  RandomNumbers random(20240613);
  MapImage land = WithCastlesInTheCorners(RandomLand(random));
  for (Side side : SlantedSides)
    if (const int wall = NeighbourOffset(BottomRight, side); wall != NoMapOffset) land[wall] = 2;
  for (auto _ : state) benchmark::DoNotOptimize(FindRoadWay(land, TopLeft, BottomRight));
}
BENCHMARK(NoRoadAcrossRandomLand)->Unit(benchmark::kMillisecond);

}  // namespace
