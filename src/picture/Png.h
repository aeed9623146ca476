#pragma once
// PNG files of pictures, written by stb_image_write.

#include <cstdint>
#include <string_view>
#include <vector>

#include "picture/Image.h"

using Bytes = std::vector<std::uint8_t>;

// 8 bits per channel; truecolour with alpha when any pixel is not opaque,
// plain truecolour otherwise. Throws std::runtime_error (PngErrorMessage)
// for a picture without pixels, one too large for the encoder, or when the
// encoder fails, so that no caller can write an empty file as a picture.
Bytes EncodePng(const Image& image);

extern const std::string_view PngErrorMessage;
