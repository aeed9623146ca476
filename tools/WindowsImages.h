#pragma once
// The two Windows picture formats the resource script takes.

#include "picture/Image.h"
#include "picture/Png.h"

// A pixel counts as transparent when it is less than half covered: icons and
// masked bitmaps know only see-through or not.
constexpr std::uint8_t HalfCovered = 128;

// An icon file with one image of 256 colours (8 bits per pixel) and an AND
// mask for the transparent pixels, the format every Windows version reads.
// When the picture has more than 256 colours, colours are rounded to fewer
// levels until they fit.
Bytes EncodeIcon256(const Image& image);

// A bitmap file of 24 bits per pixel, transparent pixels painted in the mask
// colour. An opaque pixel that happens to have the mask colour is changed
// slightly, so that it does not turn transparent.
Bytes EncodeBitmap24(const Image& image, Rgba maskColour);

// The colour of a COLORREF value (0x00BBGGRR).
constexpr Rgba FromColorRef(unsigned long value) {
  return Opaque(static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>((value >> 8) & 0xFF),
                static_cast<std::uint8_t>((value >> 16) & 0xFF));
}
