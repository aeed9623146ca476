#pragma once
// Deterministic randomness in integers: the sample map must come out the same
// byte for byte on every machine, so no floating point and no library random
// generator whose sequence may differ between standard libraries.

#include <cstdint>

std::uint32_t Hash(std::uint32_t seed, int a, int b);

// Smooth value noise over the plane, -1000..1000, with bumps about `period`
// plane units apart.
int SmoothNoise(int u, int v, int period, std::uint32_t seed);

// Several octaves of SmoothNoise, coarse ones weighing most; -1000..1000.
int FractalNoise(int u, int v, int period, int octaves, std::uint32_t seed);

std::int64_t IntegerSqrt(std::int64_t value);
