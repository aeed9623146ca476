#pragma once
// The preview of a patch before anything changes: a line saying what the
// patch is, a list of what it would do with its conflicts first, each with
// the side chosen for it, and 適用 (the default button, greyed while a
// conflict has no side) and キャンセル (Esc). Two buttons choose one side for
// every conflict; Space or a double click on a conflict's line changes its
// side alone.

#include <optional>
#include <string>
#include <vector>

#include "ui/ModalLoop.h"
#include "ui/Controls.h"

struct PatchPreview {
  std::wstring caption;                 // "パッチの確認 - mod.txt"
  std::wstring summary;                 // what the patch is
  std::vector<std::wstring> conflicts;  // a line each, without its side
  std::vector<std::wstring> changes;    // the cells that would change
};

class PatchPreviewDialog : public DialogWindow {
 public:
  PatchPreviewDialog(HWND owner, PatchPreview preview);

  // Shows the preview until 適用, which returns each conflict's side (true:
  // the patch's new code), or キャンセル.
  std::optional<std::vector<bool>> Ask();

  ListBox& List() { return list_; }

 private:
  enum class Side { Undecided, Ours, Theirs };
  void CreateControls();
  void ShowLines();
  void ChooseAll(Side side);
  void Toggle(int line);

  static constexpr int Applied = Accepted;

  HWND owner_;
  PatchPreview preview_;
  std::vector<Side> sides_;
  Label summary_;
  ListBox list_;
  Button allOurs_;
  Button allTheirs_;
  Button apply_;
  Button cancel_;
};

extern const wchar_t PatchPreviewClassName[];
