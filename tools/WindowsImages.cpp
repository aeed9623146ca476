#include "WindowsImages.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace {

void AppendLittleEndian(Bytes& out, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

bool IsTransparent(const Rgba& pixel) { return pixel.a < HalfCovered; }

using ColourKey = std::tuple<int, int, int>;

Rgba Rounded(const Rgba& pixel, int step) {
  auto round = [step](int channel) { return static_cast<std::uint8_t>(std::min(255, (channel + step / 2) / step * step)); };
  return step == 1 ? pixel : Opaque(round(pixel.r), round(pixel.g), round(pixel.b));
}

// Black is entry 0: transparent pixels must be black in the colour part of an
// icon so that the screen shows through the mask unchanged.
std::vector<Rgba> PaletteOf(const Image& image, int step) {
  std::map<ColourKey, Rgba> colours;
  colours[{0, 0, 0}] = Opaque(0, 0, 0);
  for (const Rgba& pixel : image.pixels) {
    if (IsTransparent(pixel)) continue;
    Rgba c = Rounded(pixel, step);
    colours[{c.r, c.g, c.b}] = Opaque(c.r, c.g, c.b);
  }
  std::vector<Rgba> palette;
  for (const auto& entry : colours) palette.push_back(entry.second);
  return palette;
}

int IndexIn(const std::vector<Rgba>& palette, const Rgba& colour) {
  auto found = std::lower_bound(palette.begin(), palette.end(), colour, [](const Rgba& a, const Rgba& b) {
    return std::tie(a.r, a.g, a.b) < std::tie(b.r, b.g, b.b);
  });
  return static_cast<int>(found - palette.begin());
}

void AppendBitmapInfoHeader(Bytes& out, int width, int storedHeight, int bitsPerPixel, std::uint32_t imageSize,
                            std::uint32_t coloursUsed) {
  AppendLittleEndian(out, 40, 4);
  AppendLittleEndian(out, static_cast<std::uint32_t>(width), 4);
  AppendLittleEndian(out, static_cast<std::uint32_t>(storedHeight), 4);
  AppendLittleEndian(out, 1, 2);  // planes
  AppendLittleEndian(out, static_cast<std::uint32_t>(bitsPerPixel), 2);
  AppendLittleEndian(out, 0, 4);  // no compression
  AppendLittleEndian(out, imageSize, 4);
  AppendLittleEndian(out, 0, 4);  // resolution: unspecified
  AppendLittleEndian(out, 0, 4);
  AppendLittleEndian(out, coloursUsed, 4);
  AppendLittleEndian(out, 0, 4);  // all colours important
}

int RowStride(int width, int bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

}  // namespace

Bytes EncodeIcon256(const Image& image) {
  int step = 1;
  std::vector<Rgba> palette = PaletteOf(image, step);
  while (palette.size() > 256) palette = PaletteOf(image, step *= 2);
  palette.resize(256, Opaque(0, 0, 0));
  std::sort(palette.begin(), palette.end(), [](const Rgba& a, const Rgba& b) {
    return std::tie(a.r, a.g, a.b) < std::tie(b.r, b.g, b.b);
  });

  int colourStride = RowStride(image.width, 8), maskStride = RowStride(image.width, 1);
  std::uint32_t imageSize = static_cast<std::uint32_t>((colourStride + maskStride) * image.height);
  Bytes body;
  // The height counts the colour part and the mask together.
  AppendBitmapInfoHeader(body, image.width, image.height * 2, 8, imageSize, 256);
  for (const Rgba& entry : palette) body.insert(body.end(), {entry.b, entry.g, entry.r, 0});
  for (int y = image.height - 1; y >= 0; --y) {  // bottom row first
    Bytes row(colourStride, 0);
    for (int x = 0; x < image.width; ++x) {
      const Rgba& pixel = image.At(x, y);
      row[x] = static_cast<std::uint8_t>(IsTransparent(pixel) ? 0 : IndexIn(palette, Rounded(pixel, step)));
    }
    body.insert(body.end(), row.begin(), row.end());
  }
  for (int y = image.height - 1; y >= 0; --y) {
    Bytes row(maskStride, 0);
    for (int x = 0; x < image.width; ++x)
      if (IsTransparent(image.At(x, y))) row[x / 8] = static_cast<std::uint8_t>(row[x / 8] | (0x80 >> (x % 8)));
    body.insert(body.end(), row.begin(), row.end());
  }

  Bytes file;
  AppendLittleEndian(file, 0, 2);  // reserved
  AppendLittleEndian(file, 1, 2);  // an icon, not a cursor
  AppendLittleEndian(file, 1, 2);  // one image
  file.push_back(static_cast<std::uint8_t>(image.width & 0xFF));  // 0 would mean 256
  file.push_back(static_cast<std::uint8_t>(image.height & 0xFF));
  file.push_back(0);  // 0 stands for 256 colours
  file.push_back(0);
  AppendLittleEndian(file, 1, 2);  // planes
  AppendLittleEndian(file, 8, 2);  // bits per pixel
  AppendLittleEndian(file, static_cast<std::uint32_t>(body.size()), 4);
  AppendLittleEndian(file, 6 + 16, 4);  // the image follows the one directory entry
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

Bytes EncodeBitmap24(const Image& image, Rgba maskColour) {
  int stride = RowStride(image.width, 24);
  std::uint32_t imageSize = static_cast<std::uint32_t>(stride * image.height);
  Bytes file = {'B', 'M'};
  AppendLittleEndian(file, 14 + 40 + imageSize, 4);
  AppendLittleEndian(file, 0, 4);  // reserved
  AppendLittleEndian(file, 14 + 40, 4);
  AppendBitmapInfoHeader(file, image.width, image.height, 24, imageSize, 0);
  for (int y = image.height - 1; y >= 0; --y) {
    Bytes row(stride, 0);
    for (int x = 0; x < image.width; ++x) {
      Rgba pixel = IsTransparent(image.At(x, y)) ? maskColour : image.At(x, y);
      if (!IsTransparent(image.At(x, y)) && pixel.r == maskColour.r && pixel.g == maskColour.g &&
          pixel.b == maskColour.b)
        pixel.g = static_cast<std::uint8_t>(pixel.g ^ 1);
      row[3 * x] = pixel.b;
      row[3 * x + 1] = pixel.g;
      row[3 * x + 2] = pixel.r;
    }
    file.insert(file.end(), row.begin(), row.end());
  }
  return file;
}
