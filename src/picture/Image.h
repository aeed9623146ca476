#pragma once
// A plain picture in memory: 8-bit red, green, blue and alpha per pixel, rows
// from the top. Shared by the map picture, the PNG writer, the picture
// generators and the screenshot tool.

#include <cstdint>
#include <vector>

struct Rgba {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  std::uint8_t a = 0;
  bool operator==(const Rgba& other) const {
    return r == other.r && g == other.g && b == other.b && a == other.a;
  }
  bool operator!=(const Rgba& other) const { return !(*this == other); }
};

constexpr Rgba Opaque(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return Rgba{r, g, b, 255}; }

struct Image {
  int width = 0;
  int height = 0;
  std::vector<Rgba> pixels;

  Image() = default;
  Image(int w, int h, Rgba fill = Rgba{}) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}
  Rgba& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
  const Rgba& At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A picture of a few colours: one byte a pixel, an index into the palette.
// The map picture is drawn like this, and written as a palette PNG.
struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
  std::vector<Rgba> palette;  // at most 256 colours

  IndexedImage() = default;
  IndexedImage(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, 0) {}
  std::uint8_t* Row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
  const std::uint8_t* Row(int y) const { return pixels.data() + static_cast<std::size_t>(y) * width; }
};
