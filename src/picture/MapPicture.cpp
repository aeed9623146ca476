#include "MapPreview.h"

#include <cstdlib>

#include "RoadNetwork.h"

namespace {

using namespace terrain;

constexpr int BlockSize = 6;  // pixels per grid cell; a half row is half of it

Rgba ColourOf(TerrainCode code) {
  if (code >= FirstHarbour && code <= LastHarbour) return Opaque(230, 40, 160);
  if (RoadMaskOf(code) != 0)
    return code >= BridgeBackslash ? Opaque(250, 250, 250) : Opaque(214, 196, 150);
  switch (code) {
    case Sea: return Opaque(40, 80, 160);
    case Lake: return Opaque(80, 150, 230);
    case Mountains: return Opaque(120, 86, 56);
    case Hills: return Opaque(156, 168, 84);
    case Plain: return Opaque(150, 206, 110);
    case Marsh: return Opaque(70, 140, 130);
    case Beach: return Opaque(240, 226, 160);
    case HorseLand: return Opaque(226, 170, 60);
    case Palace: return Opaque(150, 40, 200);
    case RiverMouth: return Opaque(0, 220, 255);
    case Castle: return Opaque(0, 0, 0);
    case Kyoto: return Opaque(255, 0, 0);
    case Sakai: return Opaque(255, 120, 0);
    case Hakata: return Opaque(255, 230, 0);
    default: return Opaque(255, 255, 255);
  }
}

int CentreX(Hex hex) { return hex.x * BlockSize + BlockSize / 2; }
int CentreY(Hex hex) { return hex.y * BlockSize / 2 + BlockSize / 2; }

void DrawLine(Image& image, int x0, int y0, int x1, int y1, Rgba colour) {
  int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  while (true) {
    if (x0 >= 0 && y0 >= 0 && x0 < image.width && y0 < image.height) image.At(x0, y0) = colour;
    if (x0 == x1 && y0 == y1) return;
    int doubled = 2 * error;
    if (doubled >= dy) {
      error += dy;
      x0 += sx;
    }
    if (doubled <= dx) {
      error += dx;
      y0 += sy;
    }
  }
}

}  // namespace

Image RenderMapPreview(const std::vector<TerrainCode>& map) {
  Image image(FieldWidth * BlockSize, (FieldHeight + 1) * BlockSize / 2, Opaque(0, 0, 0));
  for (int offset = 0; offset < HexCount; ++offset) {
    Hex hex = HexAt(offset);
    Rgba colour = ColourOf(map[offset]);
    for (int dy = 0; dy < BlockSize; ++dy)
      for (int dx = 0; dx < BlockSize; ++dx) image.At(hex.x * BlockSize + dx, hex.y * BlockSize / 2 + dy) = colour;
  }
  for (int offset = 0; offset < HexCount; ++offset) {
    RoadMask mask = RoadMaskOf(map[offset]);
    Hex hex = HexAt(offset);
    for (int s = 0; s < SlantCount; ++s) {
      if (!(mask & SlantBit(static_cast<Slant>(s)))) continue;
      Hex next = Step(hex, static_cast<Slant>(s));
      int midX = (CentreX(hex) + CentreX(next)) / 2, midY = (CentreY(hex) + CentreY(next)) / 2;
      DrawLine(image, CentreX(hex), CentreY(hex), midX, midY, Opaque(90, 40, 20));
    }
  }
  return image;
}
