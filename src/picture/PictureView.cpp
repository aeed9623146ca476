#include "picture/PictureView.h"

#include <algorithm>
#include <iterator>

PictureView::PictureView(int scale) : scale_(std::clamp(scale, MinMapPictureScale, MaxMapPictureScale)) {}

void PictureView::Resize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  origin_ = Clamped(origin_);
}

PicturePoint PictureView::Clamped(PicturePoint origin) const {
  const MapPictureSize picture = MapPictureSizeAt(scale_);
  return {std::clamp(origin.x, 0, std::max(0, picture.width - width_)),
          std::clamp(origin.y, 0, std::max(0, picture.height - height_))};
}

PicturePoint PictureView::ScrollTo(PicturePoint origin) {
  origin = Clamped(origin);
  const PicturePoint shift{origin_.x - origin.x, origin_.y - origin.y};
  origin_ = origin;
  return shift;
}

void PictureView::Centre(int offset) {
  const PicturePoint centre = HexCentreAt(offset == NoMapOffset ? 0 : offset, scale_);
  origin_ = Clamped({centre.x - width_ / 2, centre.y - height_ / 2});
}

// Scrolls by the least amount that shows the hexagon whole.
PicturePoint PictureView::OriginShowing(int offset) const {
  PicturePoint origin = origin_;
  if (offset == NoMapOffset) return origin;
  const PixelRect hexagon = HexagonRect(offset, 2 * scale_);
  if (hexagon.left < 0) origin.x += hexagon.left;
  else if (hexagon.right > width_) origin.x += std::min(hexagon.right - width_, hexagon.left);
  if (hexagon.top < 0) origin.y += hexagon.top;
  else if (hexagon.bottom > height_) origin.y += std::min(hexagon.bottom - height_, hexagon.top);
  return Clamped(origin);
}

std::optional<GridCell> PictureView::CellAt(PicturePoint inPart) const {
  return CellAtPoint({origin_.x + inPart.x, origin_.y + inPart.y}, scale_);
}

std::optional<int> PictureView::HexagonAt(PicturePoint inPart) const {
  const std::optional<GridCell> cell = CellAt(inPart);
  if (!cell || CellToOffset(cell->column, cell->row) == NoMapOffset) return std::nullopt;
  return CellToOffset(cell->column, cell->row);
}

PixelRect PictureView::HexagonRect(int offset, int reach) const {
  const PicturePoint centre = HexCentreAt(offset, scale_);
  return {centre.x - origin_.x - reach, centre.y - origin_.y - reach, centre.x - origin_.x + reach + 1,
          centre.y - origin_.y + reach + 1};
}

PixelRect PictureView::DrawnRect(int offset, int reach) const {
  const PixelRect rect = HexagonRect(offset, reach);
  const PixelRect clipped{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, width_),
                         std::min(rect.bottom, height_)};
  return clipped.Empty() ? PixelRect{} : clipped;
}

PixelRect PictureView::PictureRect() const {
  const MapPictureSize picture = MapPictureSizeAt(scale_);
  return {0, 0, std::min(width_, picture.width - origin_.x), std::min(height_, picture.height - origin_.y)};
}

std::vector<PixelRect> PictureView::ChangedRects(const Look& shown, const Look& look) const {
  const auto colourAt = [](const std::vector<std::uint8_t>& colours, int offset) {
    return colours.empty() ? OwnRoadColour : colours[offset];
  };
  // Each hexagon to draw again and how far, by offset; one with a code and
  // a ring that changed as far as the ring reaches.
  std::vector<std::pair<int, int>> reaches;
  for (int offset = 0; offset < MapSize; ++offset)
    if (look.image[offset] != shown.image[offset] ||
        colourAt(look.roadColours, offset) != colourAt(shown.roadColours, offset))
      reaches.emplace_back(offset, HexagonReach(scale_));
  if (look.rings != shown.rings) {
    std::vector<MapRing> before = shown.rings, after = look.rings, changed;
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    std::set_symmetric_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(changed));
    for (const MapRing& ring : changed) reaches.emplace_back(ring.offset, RingReach(scale_));
    std::sort(reaches.begin(), reaches.end(), [](const auto& a, const auto& b) {
      return a.first != b.first ? a.first < b.first : a.second > b.second;
    });
  }
  std::vector<PixelRect> rects;
  for (std::size_t index = 0; index < reaches.size(); ++index) {
    const auto [offset, reach] = reaches[index];
    if (index > 0 && reaches[index - 1].first == offset) continue;  // the farthest reach comes first
    if (const PixelRect rect = DrawnRect(offset, reach); !rect.Empty()) rects.push_back(rect);
  }
  return rects;
}

std::vector<PixelRect> PictureView::Gathered(const std::vector<PixelRect>& rects) {
  if (rects.size() < 2) return rects;
  PixelRect around = rects.front();
  long long apart = 0;
  for (const PixelRect& rect : rects) {
    around = {std::min(around.left, rect.left), std::min(around.top, rect.top), std::max(around.right, rect.right),
              std::max(around.bottom, rect.bottom)};
    apart += static_cast<long long>(rect.Width()) * rect.Height();
  }
  const long long whole = static_cast<long long>(around.Width()) * around.Height();
  return whole <= 2 * apart ? std::vector<PixelRect>{around} : rects;
}

int PictureView::SmallestScale() const {
  int scale = MaxMapPictureScale;
  while (scale > MinMapPictureScale &&
         (MapPictureSizeAt(scale).width > width_ || MapPictureSizeAt(scale).height > height_))
    --scale;
  return scale;
}

bool PictureView::ZoomAt(int scale, PicturePoint anchor) {
  scale = std::clamp(scale, SmallestScale(), MaxMapPictureScale);
  if (scale == scale_) return false;
  const long x = static_cast<long>(origin_.x + anchor.x) * scale / scale_;
  const long y = static_cast<long>(origin_.y + anchor.y) * scale / scale_;
  scale_ = scale;
  origin_ = Clamped({static_cast<int>(x - anchor.x), static_cast<int>(y - anchor.y)});
  return true;
}

bool PictureView::ZoomStep(int direction, PicturePoint anchor) { return ZoomAt(scale_ + direction, anchor); }

PicturePoint PictureView::PullToward(PicturePoint inPart, int most) const {
  const auto pull = [most](int at, int size) {
    return at < 0 ? std::max(at, -most) : at >= size ? std::min(at - size + 1, most) : 0;
  };
  return {pull(inPart.x, width_), pull(inPart.y, height_)};
}
