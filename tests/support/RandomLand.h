#pragma once
// Maps of random land without roads, the same on every machine and every run:
// a fixed seed and a generator of our own (the standard library's
// distributions may differ between compilers).

#include <cstdint>
#include <vector>

#include "map/MapFile.h"

class RandomNumbers {
 public:
  explicit RandomNumbers(std::uint64_t seed) : state_(seed) {}
  // 0..limit-1. splitmix64.
  int Below(int limit) {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<int>((z ^ (z >> 31)) % static_cast<std::uint64_t>(limit));
  }

 private:
  std::uint64_t state_;
};

// Mostly plain and the other open kinds, with mountains, lakes, river
// mouths, some sea and places where roads end scattered over it.
inline MapImage RandomLand(RandomNumbers& random) {
  struct Share {
    int percent;
    TerrainCode code;
  };
  constexpr Share Shares[] = {{42, 4}, {10, 3}, {7, 5}, {6, 6}, {5, 15}, {12, 2}, {6, 1}, {3, 17}, {5, 0},
                              {2, 31}, {1, 7}, {1, 32}};  // castles, a harbour, Kyoto
  MapImage image{};
  for (TerrainCode& code : image) {
    int roll = random.Below(100);
    for (const Share& share : Shares) {
      if (roll < share.percent) {
        code = share.code;
        break;
      }
      roll -= share.percent;
    }
  }
  return image;
}

// The offsets of the places where roads end.
inline std::vector<int> PlacesOf(const MapImage& image) {
  std::vector<int> places;
  for (int offset = 0; offset < MapSize; ++offset)
    if (image[offset] == 31 || image[offset] == 7 || image[offset] == 32) places.push_back(offset);
  return places;
}
