#include "picture/Png.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string>

#include "stb_image_write.h"

namespace {

void Append(void* context, void* data, int size) {
  auto* out = static_cast<Bytes*>(context);
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

const std::string_view PngErrorMessage = "PNG ファイルの中身を作れません";

Bytes EncodePng(const Image& image) {
  // stb counts bytes in int: a row of four channels and the whole picture must fit.
  constexpr long long Most = std::numeric_limits<int>::max() / 4;
  const bool sized = image.width > 0 && image.height > 0 && image.width <= Most / image.height &&
                     image.pixels.size() == static_cast<std::size_t>(image.width) * image.height;
  if (!sized) throw std::runtime_error(std::string(PngErrorMessage));
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
                              image.width * channels) ||
      png.empty())
    throw std::runtime_error(std::string(PngErrorMessage));
  return png;
}
