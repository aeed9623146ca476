// Cuts a rectangle out of a PNG file, so that the README can show the part of
// a map picture where something happens:
//   valtea_crop_png IN.png OUT.png LEFT TOP WIDTH HEIGHT

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "picture/Png.h"
#include "support/PngReading.h"

int main(int argc, char** argv) {
  if (argc != 7) {
    std::cerr << "usage: valtea_crop_png IN.png OUT.png LEFT TOP WIDTH HEIGHT\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const Bytes file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const DecodedPng picture = DecodePng(file);
  const int left = std::atoi(argv[3]), top = std::atoi(argv[4]), width = std::atoi(argv[5]),
            height = std::atoi(argv[6]);
  if (!picture.ok || left < 0 || top < 0 || width <= 0 || height <= 0 || left + width > picture.image.width ||
      top + height > picture.image.height) {
    std::cerr << "valtea_crop_png: " << argv[1] << " is no PNG file or too small for the rectangle\n";
    return 2;
  }
  Image part(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) part.At(x, y) = picture.image.At(left + x, top + y);
  const Bytes png = EncodePng(part);
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  if (!out.flush()) {
    std::cerr << "valtea_crop_png: cannot write " << argv[2] << "\n";
    return 2;
  }
  return 0;
}
