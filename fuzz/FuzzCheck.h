#pragma once
// What the fuzzers share: a check that stops the run where it fails, and the
// byte an image is filled with to see what a read left alone.

#include <cstdlib>

#include "map/TerrainCodes.h"

inline void Check(bool condition) {
  if (!condition) std::abort();
}

constexpr TerrainCode Untouched = 0xA5;
