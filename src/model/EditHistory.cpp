#include "model/EditHistory.h"

#include <utility>

void EditHistory::Record(RoadChange change) {
  changes_.erase(changes_.begin() + static_cast<std::ptrdiff_t>(applied_), changes_.end());
  changes_.push_back(std::move(change));
  if (changes_.size() > Capacity) changes_.pop_front();
  applied_ = changes_.size();
}

const RoadChange& EditHistory::StepBack() { return changes_[--applied_]; }

const RoadChange& EditHistory::StepForward() { return changes_[applied_++]; }

void EditHistory::Clear() {
  changes_.clear();
  applied_ = 0;
}
