#pragma once
// The road changes that Undo takes back and Redo applies again, oldest first.

#include <cstddef>
#include <deque>
#include <string>

#include "map/TerrainCodes.h"

// A map byte together with the text its cell shows.
struct CellState {
  TerrainCode code = 0;
  std::string text;
};

// One road change: the byte at `offset` and its cell, before and after.
struct RoadChange {
  int offset = 0;
  CellState before;
  CellState after;
};

class EditHistory {
 public:
  // Beyond this many changes the oldest is forgotten.
  static constexpr std::size_t Capacity = 10000;

  // A new change; the changes that could have been redone are dropped.
  void Record(RoadChange change);
  bool CanUndo() const { return applied_ > 0; }
  bool CanRedo() const { return applied_ < changes_.size(); }
  // Each steps over one change and returns it; call only when it can.
  const RoadChange& StepBack();
  const RoadChange& StepForward();
  void Clear();

 private:
  std::deque<RoadChange> changes_;
  std::size_t applied_ = 0;  // changes_[0, applied_) are in the image
};
