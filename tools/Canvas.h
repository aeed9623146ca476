#pragma once
// Draws pictures from simple shapes with anti-aliased edges, in integer
// arithmetic only, so that the same source gives the same bytes on every
// machine and compiler. Every pixel is sampled 8 x 8 times; a shape covers a
// sample when the sample's centre lies inside it. Later shapes paint over
// earlier ones.
//
// Coordinates are in 1/64 pixel (Fixed); Px(12.5) gives the Fixed value of
// 12.5 pixels. Pixel (x, y) spans x..x+1 and y..y+1, so its centre is at
// x + 0.5.

#include <cstdint>
#include <vector>

#include "picture/Image.h"

using Fixed = std::int64_t;
constexpr int FixedOne = 64;

// Only for exact literals such as 12.5 or 3.25: the product is exact, so the
// result does not depend on the floating-point unit.
constexpr Fixed Px(double pixels) { return static_cast<Fixed>(pixels * FixedOne + (pixels < 0 ? -0.5 : 0.5)); }

struct Point {
  Fixed x = 0;
  Fixed y = 0;
};
constexpr Point P(double x, double y) { return Point{Px(x), Px(y)}; }

class Canvas {
 public:
  static constexpr int Samples = 8;  // per pixel and axis

  Canvas(int width, int height);

  void FillPolygon(const std::vector<Point>& corners, Rgba colour);
  void FillRectangle(Point topLeft, Point bottomRight, Rgba colour);
  void FillEllipse(Point centre, Fixed radiusX, Fixed radiusY, Rgba colour);
  // A line with round ends: every sample within halfWidth of the segment.
  void StrokeLine(Point from, Point to, Fixed halfWidth, Rgba colour);
  // A piece of a ring between two radii, from the direction `start` turning
  // clockwise (on screen, y down) to the direction `end`, less than half a turn.
  void FillArc(Point centre, Fixed innerRadius, Fixed outerRadius, Point start, Point end, Rgba colour);

  // Averages the samples of each pixel. Alpha is the share of covered samples;
  // the colour is that of the covered samples alone.
  Image Resolve() const;

 private:
  template <typename Inside>
  void Fill(Fixed left, Fixed top, Fixed right, Fixed bottom, Rgba colour, Inside inside);

  int width_;
  int height_;
  std::vector<Rgba> samples_;
};
