#include "ui/GridNavigation.h"

#include <algorithm>

namespace {
constexpr int WheelDeltaPerNotch = 120;
}

GridAxis::GridAxis(int lastIndex, GridGeometry geometry) : lastIndex_(lastIndex), geometry_(geometry) {}

void GridAxis::SetExtent(int pixels) {
  extent_ = std::max(0, pixels);
  SetFirst(first_);
}

int GridAxis::FullyVisibleCount() const {
  // Cell k after the header spans Pitch() * (k + 1) .. + cellSize; its line may be cut off.
  const int room = extent_ - geometry_.Pitch() - geometry_.cellSize;
  return room < 0 ? 1 : room / geometry_.Pitch() + 1;
}

int GridAxis::LastFullyVisible() const { return std::min(lastIndex_, first_ + FullyVisibleCount() - 1); }

int GridAxis::LastFirst() const { return std::max(1, lastIndex_ - FullyVisibleCount() + 1); }

int GridAxis::Page() const { return std::max(1, LastFullyVisible() - first_); }

int GridAxis::Start(int index) const {
  if (index == 0) return 0;
  return geometry_.Pitch() * (index - first_ + 1);
}

int GridAxis::End() const { return Start(lastIndex_) + geometry_.Pitch(); }

bool GridAxis::InView(int index) const {
  if (index == 0) return true;
  return index >= first_ && index <= lastIndex_ && Start(index) < extent_;
}

std::vector<int> GridAxis::IndicesMeeting(int from, int to) const {
  std::vector<int> indices;
  const int pitch = geometry_.Pitch();
  to = std::min(to, extent_);
  if (from >= to) return indices;
  if (from < pitch) indices.push_back(0);
  const int firstPixel = std::max(from, pitch);
  const int lastPixel = to - 1;
  if (lastPixel < firstPixel) return indices;
  const int firstIndex = first_ + (firstPixel - pitch) / pitch;
  const int lastIndex = std::min(lastIndex_, first_ + (lastPixel - pitch) / pitch);
  for (int index = firstIndex; index <= lastIndex; ++index) indices.push_back(index);
  return indices;
}

GridAxis::Spot GridAxis::SpotOf(int pixel) const {
  if (pixel < 0) return Spot::Before;
  if (pixel >= extent_) return Spot::After;
  if (pixel < geometry_.Pitch()) return Spot::Header;
  return IndexAt(pixel) > lastIndex_ ? Spot::Beyond : Spot::Cell;
}

int GridAxis::IndexAt(int pixel) const { return first_ + (pixel - geometry_.Pitch()) / geometry_.Pitch(); }

int GridAxis::TrackingDirection(int pixel) const {
  if (pixel < geometry_.Pitch()) return -1;
  if (pixel >= Start(LastFullyVisible()) + geometry_.Pitch()) return 1;
  return 0;
}

void GridAxis::SetFirst(int first) { first_ = std::clamp(first, 1, LastFirst()); }

void GridAxis::SetCurrent(int index) { current_ = std::clamp(index, 1, lastIndex_); }

void GridAxis::KeepCurrentInView() {
  if (current_ < first_) {
    SetFirst(current_);
  } else if (current_ > LastFullyVisible()) {
    SetFirst(current_ - FullyVisibleCount() + 1);
  }
}

GridNavigation::GridNavigation(GridGeometry geometry)
    : geometry_(geometry), columns_(LastGridColumn, geometry), rows_(LastGridRow, geometry) {}

void GridNavigation::SetClientSize(int width, int height) {
  columns_.SetExtent(width);
  rows_.SetExtent(height);
}

void GridNavigation::SetGeometry(GridGeometry geometry) {
  const GridCell current = CurrentCell();
  const GridCell view = ViewPosition();
  geometry_ = geometry;
  columns_ = GridAxis(LastGridColumn, geometry);
  rows_ = GridAxis(LastGridRow, geometry);
  columns_.SetCurrent(current.column);
  rows_.SetCurrent(current.row);
  // With no extent yet any first cell fits; the client size clamps it again.
  columns_.SetFirst(view.column);
  rows_.SetFirst(view.row);
}

GridCell GridNavigation::LastFullyVisibleCell() const {
  return {columns_.LastFullyVisible(), rows_.LastFullyVisible()};
}

GridCell GridNavigation::LastViewPosition() const { return {columns_.LastFirst(), rows_.LastFirst()}; }

bool GridNavigation::IsCellInView(int column, int row) const {
  return columns_.InView(column) && rows_.InView(row);
}

GridHit GridNavigation::HitTest(PixelPoint point) const {
  using Spot = GridAxis::Spot;
  const Spot across = columns_.SpotOf(point.x);
  const Spot down = rows_.SpotOf(point.y);
  auto either = [&](Spot spot) { return across == spot || down == spot; };
  if (either(Spot::Before) || either(Spot::After)) return {HitKind::OutsideClient, {}};
  if (either(Spot::Beyond)) return {HitKind::BeyondLastCell, {}};
  if (either(Spot::Header)) return {HitKind::HeaderCell, {}};
  return {HitKind::Cell, {columns_.IndexAt(point.x), rows_.IndexAt(point.y)}};
}

bool GridNavigation::PressKey(GridKey key, bool control) {
  const GridCell before = CurrentCell();
  ApplyKey(key, control);
  return CurrentCell() != before;
}

void GridNavigation::ApplyKey(GridKey key, bool control) {
  switch (key) {
    case GridKey::Up:
      if (control) return rows_.SetFirst(rows_.First() - 1);
      return MoveCurrentBy(0, -1);
    case GridKey::Down:
      if (control) return rows_.SetFirst(rows_.First() + 1);
      return MoveCurrentBy(0, 1);
    case GridKey::Left:
      if (control) return TurnPage(columns_, -1);
      return MoveCurrentBy(-1, 0);
    case GridKey::Right:
      if (control) return TurnPage(columns_, 1);
      return MoveCurrentBy(1, 0);
    case GridKey::PageUp:
      if (control) return MoveCurrentTo(columns_.Current(), rows_.First());
      return TurnPage(rows_, -1);
    case GridKey::PageDown:
      if (control) return MoveCurrentTo(columns_.Current(), rows_.LastFullyVisible());
      return TurnPage(rows_, 1);
    case GridKey::Home: return MoveCurrentTo(1, control ? 1 : rows_.Current());
    case GridKey::End: return MoveCurrentTo(LastGridColumn, control ? LastGridRow : rows_.Current());
  }
}

// The view moves by the same page as the cell; both are clamped on their own.
void GridNavigation::TurnPage(GridAxis& axis, int direction) {
  const int step = direction * axis.Page();
  const int target = axis.Current() + step;
  axis.SetFirst(axis.First() + step);
  if (&axis == &columns_) {
    MoveCurrentTo(target, rows_.Current());
  } else {
    MoveCurrentTo(columns_.Current(), target);
  }
}

void GridNavigation::MoveCurrentTo(int column, int row) {
  const GridCell before = CurrentCell();
  columns_.SetCurrent(column);
  rows_.SetCurrent(row);
  if (CurrentCell() == before) return;
  KeepCurrentInView();
}

void GridNavigation::SetCurrentCell(GridCell cell) {
  columns_.SetCurrent(cell.column);
  rows_.SetCurrent(cell.row);
  KeepCurrentInView();
}

void GridNavigation::KeepCurrentInView() {
  columns_.KeepCurrentInView();
  rows_.KeepCurrentInView();
}

bool GridNavigation::TurnWheelNotch(bool towardsUser) {
  const int row = rows_.Current();
  if (towardsUser ? row >= LastGridRow : row <= 1) return false;
  MoveCurrentBy(0, towardsUser ? 1 : -1);
  return true;
}

int GridNavigation::TakeWheelNotches(int wheelDelta) {
  wheelRemainder_ += wheelDelta;
  const int notches = wheelRemainder_ / WheelDeltaPerNotch;
  wheelRemainder_ -= notches * WheelDeltaPerNotch;
  return notches;
}

void GridNavigation::ScrollColumns(ScrollRequest request, int position) { Scroll(columns_, request, position); }

void GridNavigation::ScrollRows(ScrollRequest request, int position) { Scroll(rows_, request, position); }

void GridNavigation::Scroll(GridAxis& axis, ScrollRequest request, int position) {
  switch (request) {
    case ScrollRequest::LineBack: return axis.SetFirst(axis.First() - 1);
    case ScrollRequest::LineForward: return axis.SetFirst(axis.First() + 1);
    case ScrollRequest::PageBack: return axis.SetFirst(axis.First() - axis.Page());
    case ScrollRequest::PageForward: return axis.SetFirst(axis.First() + axis.Page());
    case ScrollRequest::ToPosition: return axis.SetFirst(position);
    case ScrollRequest::ToStart: return axis.SetFirst(1);
    case ScrollRequest::ToEnd: return axis.SetFirst(axis.LastIndex());
  }
}

void GridNavigation::PressLeftButton(PixelPoint point) {
  const GridHit hit = HitTest(point);
  if (hit.kind != HitKind::Cell) return;
  MoveCurrentTo(hit.cell.column, hit.cell.row);
  tracking_ = true;
}

void GridNavigation::MovePointer(PixelPoint point) {
  if (tracking_) TakeCellUnderPointer(point);
}

void GridNavigation::TimerTick(PixelPoint point) {
  if (!tracking_) return;
  MoveCurrentBy(columns_.TrackingDirection(point.x), rows_.TrackingDirection(point.y));
}

bool GridNavigation::ReleaseLeftButton(PixelPoint point) {
  if (!tracking_) return false;
  TakeCellUnderPointer(point);
  tracking_ = false;
  return true;
}

bool GridNavigation::AbandonTracking() {
  const bool wasTracking = tracking_;
  tracking_ = false;
  return wasTracking;
}

void GridNavigation::TakeCellUnderPointer(PixelPoint point) {
  const GridHit hit = HitTest(point);
  if (hit.kind == HitKind::Cell) MoveCurrentTo(hit.cell.column, hit.cell.row);
}
