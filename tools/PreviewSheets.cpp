#include "PreviewSheets.h"

Image Enlarge(const Image& image, int factor) {
  Image large(image.width * factor, image.height * factor);
  for (int y = 0; y < large.height; ++y)
    for (int x = 0; x < large.width; ++x) large.At(x, y) = image.At(x / factor, y / factor);
  return large;
}

namespace {

std::uint8_t Blend(int top, int bottom, int alpha) { return static_cast<std::uint8_t>((top * alpha + bottom * (255 - alpha) + 127) / 255); }

}  // namespace

Image OnCheckerboard(const Image& image, int square) {
  Image result(image.width, image.height);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      int grey = ((x / square + y / square) % 2 == 0) ? 0xCC : 0xF4;
      const Rgba& top = image.At(x, y);
      result.At(x, y) = Opaque(Blend(top.r, grey, top.a), Blend(top.g, grey, top.a), Blend(top.b, grey, top.a));
    }
  }
  return result;
}
