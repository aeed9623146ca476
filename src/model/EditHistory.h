#pragma once
// The steps that Undo takes back and Redo applies again, oldest first. A step
// is what one command changed: one cell for a road choice, many for a road
// laid or a repair of the network.

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "map/TerrainCodes.h"

// A map byte together with the text its cell shows.
struct CellState {
  TerrainCode code = 0;
  std::string text;
};

// One changed cell: the byte at `offset` and its cell, before and after.
struct CellEdit {
  int offset = 0;
  CellState before;
  CellState after;
};

struct EditStep {
  std::vector<CellEdit> cells;  // by increasing offset, or the one cell
  int shownOffset = 0;          // the cell made current when the step is taken back or applied again
};

class EditHistory {
 public:
  // Beyond this many cells in all its steps the oldest steps are forgotten.
  static constexpr std::size_t CellCapacity = 100000;

  // A new step; the steps that could have been redone are dropped.
  void Record(EditStep step);
  bool CanUndo() const { return applied_ > 0; }
  bool CanRedo() const { return applied_ < steps_.size(); }
  // Each steps over one step and returns it; call only when it can.
  const EditStep& StepBack();
  const EditStep& StepForward();
  void Clear();
  std::size_t CellsHeld() const { return cellsHeld_; }
  // Whether steps were forgotten since the last Clear, so that undoing all
  // no longer reaches the map as it was then.
  bool ForgotSteps() const { return forgotSteps_; }
  // Every step recorded since the history was made, for the record of a session.
  unsigned long StepsRecorded() const { return stepsRecorded_; }

 private:
  std::deque<EditStep> steps_;
  std::size_t applied_ = 0;  // steps_[0, applied_) are in the image
  std::size_t cellsHeld_ = 0;
  bool forgotSteps_ = false;
  unsigned long stepsRecorded_ = 0;
};
