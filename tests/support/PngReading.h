#pragma once
// Reads a PNG file back with stb_image, independently of how it was written.

#include <cstdint>
#include <vector>

#include "picture/Image.h"

struct DecodedPng {
  bool ok = false;
  int channels = 0;  // as stored in the file: 3 without alpha, 4 with
  Image image;       // always with alpha
};

DecodedPng DecodePng(const std::vector<std::uint8_t>& file);
