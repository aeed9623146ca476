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

// A palette picture as a PNG of 8-bit palette indices, written here around
// zlib's deflate stream (signature, IHDR, PLTE, IDAT, IEND, each chunk with
// zlib's CRC-32). Rows after the first are filtered against the row above,
// which hexagons mostly repeat. Throws std::runtime_error (PngErrorMessage)
// for a picture without pixels or with more than 256 colours.
Bytes EncodePalettePng(const IndexedImage& image);

extern const std::string_view PngErrorMessage;
