#pragma once
// The window as the editor model sees it: a 353 x 77 table of cell texts, a
// current cell the test moves like the user would (or the model on Undo and
// Redo), and a count of repaints.

#include <string>
#include <vector>

#include "model/EditorModel.h"

class FakeEditorView : public EditorView {
 public:
  FakeEditorView() : cells_(GridColumnCount * GridRowCount) {}

  void FinishPendingRepaints() override {
    ++repaints;
    textsSetBeforeLastRepaint = textsSet;
  }

  void SetCellText(int column, int row, std::string text) override {
    ++textsSet;
    if (!IsInGrid(column, row)) {
      ++textsOutsideGrid;
      return;
    }
    cells_[Index(column, row)] = std::move(text);
  }

  GridCell CurrentCell() const override { return current; }

  void SetCurrentCell(int column, int row) override {
    ++currentCellsSet;
    current = {column, row};
  }

  const std::string& CellText(int column, int row) const override { return cells_.at(Index(column, row)); }

  GridCell current;  // column 1, row 1 until the user moves it
  int repaints = 0;
  int currentCellsSet = 0;
  long textsSet = 0;
  long textsSetBeforeLastRepaint = -1;
  long textsOutsideGrid = 0;

 private:
  static bool IsInGrid(int column, int row) {
    return column >= 0 && column < GridColumnCount && row >= 0 && row < GridRowCount;
  }
  static std::size_t Index(int column, int row) {
    return static_cast<std::size_t>(column) * GridRowCount + static_cast<std::size_t>(row);
  }

  std::vector<std::string> cells_;
};
