#include "picture/Png.h"

#include <algorithm>

#include "stb_image_write.h"

namespace {

void Append(void* context, void* data, int size) {
  auto* out = static_cast<Bytes*>(context);
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

Bytes EncodePng(const Image& image) {
  const bool opaque =
      std::all_of(image.pixels.begin(), image.pixels.end(), [](const Rgba& pixel) { return pixel.a == 255; });
  const int channels = opaque ? 3 : 4;
  std::vector<std::uint8_t> samples;
  samples.reserve(image.pixels.size() * channels);
  for (const Rgba& pixel : image.pixels) {
    samples.push_back(pixel.r);
    samples.push_back(pixel.g);
    samples.push_back(pixel.b);
    if (!opaque) samples.push_back(pixel.a);
  }
  // Pictures of flat colours: unfiltered rows pack smallest, and a shorter
  // search for repeats costs little size for half the time.
  stbi_write_force_png_filter = 0;
  stbi_write_png_compression_level = 4;
  Bytes png;
  if (!stbi_write_png_to_func(Append, &png, image.width, image.height, channels, samples.data(),
                              image.width * channels))
    png.clear();
  return png;
}
