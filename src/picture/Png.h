#pragma once
// PNG files of pictures, written by stb_image_write.

#include <cstdint>
#include <vector>

#include "picture/Image.h"

using Bytes = std::vector<std::uint8_t>;

// 8 bits per channel; truecolour with alpha when any pixel is not opaque,
// plain truecolour otherwise.
Bytes EncodePng(const Image& image);
