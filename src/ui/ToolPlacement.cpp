#include "ui/ToolPlacement.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace {

long long Overlap(const ScreenRect& a, const ScreenRect& b) {
  const long long width = std::min(a.right, b.right) - std::max(a.left, b.left);
  const long long height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return width > 0 && height > 0 ? width * height : 0;
}

ScreenRect At(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

// Keeps a start so that `size` pixels from it stay within [low, high).
int Within(int start, int size, int low, int high) { return std::max(low, std::min(start, high - size)); }

struct Candidate {
  ScreenRect frame;
  int side;  // 0 right of the main window, 1 below it, 2 over it
};

class Chooser {
 public:
  explicit Chooser(const ToolWindowRoom& room) : room_(room) {}

  void Consider(const ScreenRect& frame, int side) {
    long long others = 0;
    for (const ScreenRect& other : room_.others) others += Overlap(frame, other);
    const long long area = static_cast<long long>(frame.Width()) * frame.Height();
    // Least of the main window hidden, then of the other tool windows, then
    // the most room, then right before below, then nearest the main window's corner.
    const int distance = std::abs(frame.top - room_.main.top) + std::abs(frame.left - room_.main.left);
    const auto score = std::make_tuple(Overlap(frame, room_.main), others, -area, side, distance);
    if (!best_ || score < bestScore_) {
      best_ = true;
      bestScore_ = score;
      chosen_ = frame;
    }
  }
  bool Chose() const { return best_; }
  ScreenRect Chosen() const { return chosen_; }

 private:
  const ToolWindowRoom& room_;
  bool best_ = false;
  std::tuple<long long, long long, long long, int, int> bestScore_{};
  ScreenRect chosen_{};
};

}  // namespace

ScreenRect PlaceToolWindow(const ToolWindowRoom& room, int width, int height, int leastWidth, int leastHeight) {
  const ScreenRect& work = room.work;
  const ScreenRect& main = room.main;
  width = std::max(1, std::min(width, work.Width()));
  height = std::max(1, std::min(height, work.Height()));
  Chooser chooser(room);

  // Right of the main window: as high as it wants, at the main window's top
  // or beside one of the others.
  const int rightRoom = work.right - std::max(main.right, work.left);
  if (rightRoom >= leastWidth && work.Height() >= leastHeight) {
    const int w = std::min(width, rightRoom), h = height;
    std::vector<int> tops{main.top, work.top, work.bottom - h};
    for (const ScreenRect& other : room.others) tops.insert(tops.end(), {other.bottom, other.top - h});
    for (int top : tops) chooser.Consider(At(std::max(main.right, work.left), Within(top, h, work.top, work.bottom), w, h), 0);
  }
  // Below it.
  const int belowRoom = work.bottom - std::max(main.bottom, work.top);
  if (belowRoom >= leastHeight && work.Width() >= leastWidth) {
    const int w = width, h = std::min(height, belowRoom);
    std::vector<int> lefts{main.left, work.left, work.right - w};
    for (const ScreenRect& other : room.others) lefts.insert(lefts.end(), {other.right, other.left - w});
    for (int left : lefts) chooser.Consider(At(Within(left, w, work.left, work.right), std::max(main.bottom, work.top), w, h), 1);
  }
  if (chooser.Chose()) return chooser.Chosen();

  // No room beside it: at a corner or an edge of the work area, wherever it
  // hides the least of the main window.
  for (int left : {work.left, work.right - width, main.right, main.left - width})
    for (int top : {work.top, work.bottom - height, main.bottom, main.top - height})
      chooser.Consider(At(Within(left, width, work.left, work.right), Within(top, height, work.top, work.bottom), width,
                          height),
                       2);
  return chooser.Chosen();
}
