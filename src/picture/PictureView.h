#pragma once
// What part of the map picture a window shows, apart from any window: the
// scale, the picture's pixel at the top left corner of the part (the
// origin), kept within the picture, and the way from the part's pixels to
// the hexagons and back. Zooming keeps the picture's point under the pointer
// where it is; keeping a cell in view scrolls by the least amount.

#include <optional>
#include <vector>

#include "map/HexGrid.h"
#include "picture/HexGeometry.h"
#include "picture/MapPicture.h"

class PictureView {
 public:
  // The scale clamped to the picture's scales.
  explicit PictureView(int scale);

  int Scale() const { return scale_; }
  PicturePoint Origin() const { return origin_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // The part's size, from the window; the origin stays within the picture.
  void Resize(int width, int height);
  // Moves the origin, kept within the picture; returns how far the pixels
  // that stay in view move (old origin less new).
  PicturePoint ScrollTo(PicturePoint origin);
  // The origin with the hexagon at `offset` in the middle of the part.
  void Centre(int offset);
  // The origin that shows the hexagon at `offset` whole, moved the least.
  PicturePoint OriginShowing(int offset) const;

  // The cell, and the map offset, whose hexagon is under a pixel of the part.
  std::optional<GridCell> CellAt(PicturePoint inPart) const;
  std::optional<int> HexagonAt(PicturePoint inPart) const;
  // What is drawn within `reach` pixels of a hexagon's centre, clipped to
  // the part; empty where none of it is in view.
  PixelRect DrawnRect(int offset, int reach) const;
  // The part's pixels that show the picture; beyond it, nothing.
  PixelRect PictureRect() const;
  // What the picture shows: the map, its rings, each road's colour.
  struct Look {
    const MapImage& image;
    const std::vector<MapRing>& rings;
    const std::vector<std::uint8_t>& roadColours;  // none: every road its own
  };
  // What must be drawn again where what is shown becomes `look`: each
  // hexagon whose code or road colour changed as far as a code reaches,
  // each ring that came or went as far as a ring reaches; a hexagon whose
  // code and ring both change once.
  std::vector<PixelRect> ChangedRects(const Look& shown, const Look& look) const;

  // The rectangles to draw for `rects`: the one round them all where it is
  // not much larger than they are together (a road's hexagons, say), since
  // each part drawn costs more than its pixels; else the rectangles.
  static std::vector<PixelRect> Gathered(const std::vector<PixelRect>& rects);

  // Zooms to `scale`, from the smallest that still fills the part to the
  // largest, the picture's point under `anchor` staying under it. False
  // where the scale stays.
  bool ZoomAt(int scale, PicturePoint anchor);
  bool ZoomStep(int direction, PicturePoint anchor);
  // The smallest scale shows the whole map, or as much as scale 1 shows.
  int SmallestScale() const;

  // How far a pointer outside the part scrolls the picture toward it in one
  // tick of a held button: as far as it is outside, up to `most` pixels.
  PicturePoint PullToward(PicturePoint inPart, int most) const;

 private:
  PicturePoint Clamped(PicturePoint origin) const;
  PixelRect HexagonRect(int offset, int reach) const;

  int scale_;
  PicturePoint origin_{0, 0};
  int width_ = 0;
  int height_ = 0;
};
