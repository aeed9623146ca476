#include "model/EditHistory.h"

#include <utility>

void EditHistory::Record(EditStep step) {
  while (steps_.size() > applied_) {
    cellsHeld_ -= steps_.back().cells.size();
    steps_.pop_back();
  }
  cellsHeld_ += step.cells.size();
  steps_.push_back(std::move(step));
  ++stepsRecorded_;
  // The newest step stays, whatever its size.
  while (cellsHeld_ > CellCapacity && steps_.size() > 1) {
    cellsHeld_ -= steps_.front().cells.size();
    steps_.pop_front();
    forgotSteps_ = true;
  }
  applied_ = steps_.size();
}

const EditStep& EditHistory::StepBack() { return steps_[--applied_]; }

const EditStep& EditHistory::StepForward() { return steps_[applied_++]; }

void EditHistory::Clear() {
  steps_.clear();
  applied_ = 0;
  cellsHeld_ = 0;
  forgotSteps_ = false;
}
