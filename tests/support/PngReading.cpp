#include "support/PngReading.h"

#include "stb_image.h"

DecodedPng DecodePng(const std::vector<std::uint8_t>& file) {
  DecodedPng result;
  int width = 0, height = 0;
  stbi_uc* pixels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &width, &height,
                                          &result.channels, 4);
  if (pixels == nullptr) return result;
  result.ok = true;
  result.image = Image(width, height);
  for (std::size_t i = 0; i < result.image.pixels.size(); ++i)
    result.image.pixels[i] = Rgba{pixels[4 * i], pixels[4 * i + 1], pixels[4 * i + 2], pixels[4 * i + 3]};
  stbi_image_free(pixels);
  return result;
}
