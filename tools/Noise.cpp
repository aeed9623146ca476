#include "Noise.h"

namespace {

int FloorDivide(int value, int divisor) {
  int quotient = value / divisor;
  return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

int LatticeValue(std::uint32_t seed, int i, int j) { return static_cast<int>(Hash(seed, i, j) % 2001) - 1000; }

// 0..1024 -> 0..1024 with a flat start and end, so the cells do not show.
int Smoothstep(int t) { return static_cast<int>(static_cast<std::int64_t>(t) * t * (3072 - 2 * t) / (std::int64_t{1024} * 1024)); }

int Mix(int a, int b, int t) { return a + (b - a) * t / 1024; }

}  // namespace

std::uint32_t Hash(std::uint32_t seed, int a, int b) {
  std::uint32_t h = seed * 0x9E3779B1u;
  h ^= static_cast<std::uint32_t>(a) * 0x85EBCA77u;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<std::uint32_t>(b) * 0xC2B2AE3Du;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

int SmoothNoise(int u, int v, int period, std::uint32_t seed) {
  int i = FloorDivide(u, period), j = FloorDivide(v, period);
  int tu = Smoothstep((u - i * period) * 1024 / period);
  int tv = Smoothstep((v - j * period) * 1024 / period);
  int top = Mix(LatticeValue(seed, i, j), LatticeValue(seed, i + 1, j), tu);
  int bottom = Mix(LatticeValue(seed, i, j + 1), LatticeValue(seed, i + 1, j + 1), tu);
  return Mix(top, bottom, tv);
}

int FractalNoise(int u, int v, int period, int octaves, std::uint32_t seed) {
  std::int64_t sum = 0, weights = 0;
  int weight = 1 << octaves;
  for (int octave = 0; octave < octaves && period >= 2; ++octave) {
    sum += static_cast<std::int64_t>(SmoothNoise(u, v, period, seed + 101u * octave)) * weight;
    weights += weight;
    weight /= 2;
    period /= 2;
  }
  return static_cast<int>(sum / weights);
}

std::int64_t IntegerSqrt(std::int64_t value) {
  if (value <= 0) return 0;
  std::int64_t root = 0, bit = std::int64_t{1} << 40;
  while (bit > value) bit >>= 2;
  while (bit != 0) {
    if (value >= root + bit) {
      value -= root + bit;
      root = (root >> 1) + bit;
    } else {
      root >>= 1;
    }
    bit >>= 2;
  }
  return root;
}
