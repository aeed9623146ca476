#include "Canvas.h"

#include <algorithm>

namespace {

constexpr Fixed SampleStep = FixedOne / Canvas::Samples;

// Centre of sample i along an axis, in Fixed units.
constexpr Fixed SampleCentre(int i) { return i * SampleStep + SampleStep / 2; }

Fixed Cross(Point origin, Point a, Point b) {
  return (a.x - origin.x) * (b.y - origin.y) - (a.y - origin.y) * (b.x - origin.x);
}

// Non-zero winding rule, so that corners may be listed either way round.
bool InsidePolygon(const std::vector<Point>& corners, Point p) {
  int winding = 0;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    Point a = corners[i];
    Point b = corners[(i + 1) % corners.size()];
    if (a.y <= p.y) {
      if (b.y > p.y && Cross(a, b, p) > 0) ++winding;
    } else if (b.y <= p.y && Cross(a, b, p) < 0) {
      --winding;
    }
  }
  return winding != 0;
}

bool NearSegment(Point a, Point b, Point p, Fixed halfWidth) {
  Fixed dx = b.x - a.x, dy = b.y - a.y;
  Fixed px = p.x - a.x, py = p.y - a.y;
  Fixed along = px * dx + py * dy;
  Fixed lengthSquared = dx * dx + dy * dy;
  Fixed limit = halfWidth * halfWidth;
  if (along <= 0 || lengthSquared == 0) return px * px + py * py <= limit;
  if (along >= lengthSquared) {
    Fixed qx = p.x - b.x, qy = p.y - b.y;
    return qx * qx + qy * qy <= limit;
  }
  Fixed across = px * dy - py * dx;
  return across * across <= limit * lengthSquared;
}

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), samples_(static_cast<std::size_t>(width) * height * Samples * Samples) {}

template <typename Inside>
void Canvas::Fill(Fixed left, Fixed top, Fixed right, Fixed bottom, Rgba colour, Inside inside) {
  int columns = width_ * Samples, rows = height_ * Samples;
  int firstColumn = std::max<Fixed>(0, left / SampleStep - 1);
  int lastColumn = std::min<Fixed>(columns - 1, right / SampleStep + 1);
  int firstRow = std::max<Fixed>(0, top / SampleStep - 1);
  int lastRow = std::min<Fixed>(rows - 1, bottom / SampleStep + 1);
  for (int row = firstRow; row <= lastRow; ++row)
    for (int column = firstColumn; column <= lastColumn; ++column)
      if (inside(Point{SampleCentre(column), SampleCentre(row)}))
        samples_[static_cast<std::size_t>(row) * columns + column] = colour;
}

void Canvas::FillPolygon(const std::vector<Point>& corners, Rgba colour) {
  Fixed left = corners[0].x, right = left, top = corners[0].y, bottom = top;
  for (Point c : corners) {
    left = std::min(left, c.x);
    right = std::max(right, c.x);
    top = std::min(top, c.y);
    bottom = std::max(bottom, c.y);
  }
  Fill(left, top, right, bottom, colour, [&](Point p) { return InsidePolygon(corners, p); });
}

void Canvas::FillRectangle(Point topLeft, Point bottomRight, Rgba colour) {
  FillPolygon({topLeft, {bottomRight.x, topLeft.y}, bottomRight, {topLeft.x, bottomRight.y}}, colour);
}

void Canvas::FillEllipse(Point centre, Fixed radiusX, Fixed radiusY, Rgba colour) {
  Fixed limit = radiusX * radiusY;
  Fill(centre.x - radiusX, centre.y - radiusY, centre.x + radiusX, centre.y + radiusY, colour, [&](Point p) {
    Fixed dx = (p.x - centre.x) * radiusY, dy = (p.y - centre.y) * radiusX;
    return dx * dx + dy * dy <= limit * limit;
  });
}

void Canvas::StrokeLine(Point from, Point to, Fixed halfWidth, Rgba colour) {
  Fill(std::min(from.x, to.x) - halfWidth, std::min(from.y, to.y) - halfWidth, std::max(from.x, to.x) + halfWidth,
       std::max(from.y, to.y) + halfWidth, colour, [&](Point p) { return NearSegment(from, to, p, halfWidth); });
}

void Canvas::FillArc(Point centre, Fixed innerRadius, Fixed outerRadius, Point start, Point end, Rgba colour) {
  Point origin{0, 0};
  Fill(centre.x - outerRadius, centre.y - outerRadius, centre.x + outerRadius, centre.y + outerRadius, colour,
       [&](Point p) {
         Point d{p.x - centre.x, p.y - centre.y};
         Fixed distanceSquared = d.x * d.x + d.y * d.y;
         if (distanceSquared < innerRadius * innerRadius || distanceSquared > outerRadius * outerRadius) return false;
         // Clockwise on screen means a positive cross product with y pointing down.
         return Cross(origin, start, d) >= 0 && Cross(origin, d, end) >= 0;
       });
}

Image Canvas::Resolve() const {
  Image image(width_, height_);
  int columns = width_ * Samples;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      int covered = 0, r = 0, g = 0, b = 0;
      for (int sy = 0; sy < Samples; ++sy) {
        for (int sx = 0; sx < Samples; ++sx) {
          const Rgba& s = samples_[static_cast<std::size_t>(y * Samples + sy) * columns + x * Samples + sx];
          if (s.a == 0) continue;
          ++covered;
          r += s.r;
          g += s.g;
          b += s.b;
        }
      }
      if (covered == 0) continue;
      constexpr int all = Samples * Samples;
      image.At(x, y) = Rgba{static_cast<std::uint8_t>((r + covered / 2) / covered),
                            static_cast<std::uint8_t>((g + covered / 2) / covered),
                            static_cast<std::uint8_t>((b + covered / 2) / covered),
                            static_cast<std::uint8_t>((covered * 255 + all / 2) / all)};
    }
  }
  return image;
}
