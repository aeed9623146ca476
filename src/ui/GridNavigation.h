#pragma once
// The grid view's rules for the current cell and the view position, free of
// any platform. The window class feeds it the client size, pointer positions
// in client pixels, keys, wheel notches and scroll requests; it answers where
// cells are, what moved, and when the click event is due.

#include <vector>

#include "map/HexGrid.h"

// Device pixels of one cell and of the grid line after it.
struct GridGeometry {
  int cellSize = 16;
  int lineWidth = 1;
  int Pitch() const { return cellSize + lineWidth; }
};

struct PixelPoint {
  int x = 0;
  int y = 0;
};

enum class GridKey { Up, Down, Left, Right, PageUp, PageDown, Home, End };

enum class ScrollRequest { LineBack, LineForward, PageBack, PageForward, ToPosition, ToStart, ToEnd };

enum class HitKind {
  Cell,            // a non-fixed cell, fully or partly in view
  HeaderCell,      // column 0 or row 0
  BeyondLastCell,  // inside the client area, right of column 352 or below row 76
  OutsideClient,
};

struct GridHit {
  HitKind kind = HitKind::OutsideClient;
  GridCell cell;  // meaningful for HitKind::Cell only
};

// One direction of the grid: the columns or the rows. Index 0 is the header,
// which never scrolls; the others scroll from `First()` on.
class GridAxis {
 public:
  GridAxis(int lastIndex, GridGeometry geometry);

  void SetExtent(int pixels);  // the client width or height

  int Current() const { return current_; }
  int First() const { return first_; }
  int LastIndex() const { return lastIndex_; }

  // Cells whose whole cellSize fits into the extent; at least one, so that a
  // tiny window still has a page.
  int FullyVisibleCount() const;
  int LastFullyVisible() const;
  // The largest first index: the one at which the last cell is the last fully visible.
  int LastFirst() const;
  int Page() const;

  int Start(int index) const;  // pixel where a cell begins; off to the left when scrolled away
  int End() const;             // first pixel after the last cell and its line
  bool InView(int index) const;
  // The header (when met) and every scrolling cell whose span meets [from, to).
  std::vector<int> IndicesMeeting(int from, int to) const;

  enum class Spot { Before, Header, Cell, Beyond, After };
  Spot SpotOf(int pixel) const;
  int IndexAt(int pixel) const;  // for Spot::Cell
  // -1 left of / above the end of the header, +1 past the last fully visible cell, else 0.
  int TrackingDirection(int pixel) const;

  void SetFirst(int first);  // clamped to 1..LastFirst()
  void SetCurrent(int index);  // clamped to 1..LastIndex()
  // Scrolls by the least amount that shows the current cell fully.
  void KeepCurrentInView();

 private:
  int lastIndex_;
  GridGeometry geometry_;
  int extent_ = 0;
  int first_ = 1;
  int current_ = 1;
};

class GridNavigation {
 public:
  explicit GridNavigation(GridGeometry geometry = {});

  void SetClientSize(int width, int height);
  // Cells of another size (another DPI): the current cell and the view stay.
  void SetGeometry(GridGeometry geometry);
  const GridGeometry& Geometry() const { return geometry_; }
  const GridAxis& Columns() const { return columns_; }
  const GridAxis& Rows() const { return rows_; }

  GridCell CurrentCell() const { return {columns_.Current(), rows_.Current()}; }
  // Makes a cell current (clamped like the keys) and scrolls by the least
  // amount that shows it fully, also when it was current already.
  void SetCurrentCell(GridCell cell);
  GridCell ViewPosition() const { return {columns_.First(), rows_.First()}; }
  GridCell LastFullyVisibleCell() const;
  GridCell LastViewPosition() const;

  bool IsCellInView(int column, int row) const;
  GridHit HitTest(PixelPoint point) const;

  // Each of these returns true when the click event is to be raised.
  bool PressKey(GridKey key, bool control);
  bool TurnWheelNotch(bool towardsUser);
  bool ReleaseLeftButton(PixelPoint point);
  // Tracking ended without a release (the capture was taken away): the
  // current cell may have moved since the press, so the event is still due.
  bool AbandonTracking();

  // Whole notches in a wheel delta of 120 per notch, positive away from the
  // user; the remainder waits for the next delta.
  int TakeWheelNotches(int wheelDelta);

  // Moves only the view; `position` is for ScrollRequest::ToPosition.
  void ScrollColumns(ScrollRequest request, int position = 0);
  void ScrollRows(ScrollRequest request, int position = 0);

  void PressLeftButton(PixelPoint point);
  void MovePointer(PixelPoint point);
  void TimerTick(PixelPoint point);
  bool IsTracking() const { return tracking_; }

 private:
  void MoveCurrentTo(int column, int row);
  void KeepCurrentInView();
  void MoveCurrentBy(int columns, int rows) {
    MoveCurrentTo(columns_.Current() + columns, rows_.Current() + rows);
  }
  void TurnPage(GridAxis& axis, int direction);
  void ApplyKey(GridKey key, bool control);
  void TakeCellUnderPointer(PixelPoint point);
  static void Scroll(GridAxis& axis, ScrollRequest request, int position);

  GridGeometry geometry_;
  GridAxis columns_;
  GridAxis rows_;
  bool tracking_ = false;
  int wheelRemainder_ = 0;
};
