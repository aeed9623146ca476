#pragma once
// The preview of a patch before anything changes: a line saying what the
// patch is, a list of what it would do with its conflicts first, each with
// the side chosen for it, and 適用 (the default button, greyed while a
// conflict has no side) and キャンセル (Esc). Two buttons choose one side for
// every conflict; Space or a double click on a conflict's line changes its
// side alone. Several patches are listed above, in the order they are
// applied, which 上へ and 下へ change.
//
// The comparison of the map with another is a window of the same kind: each
// difference has a side, this map's at first; 取り込む is greyed while every
// side is this map's, and 閉じる changes nothing.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/ModalLoop.h"
#include "ui/Controls.h"

enum class PreviewKind { Patch, Comparison };

struct PatchPreview {
  PreviewKind kind = PreviewKind::Patch;
  std::wstring caption;                 // "パッチの確認 - mod.txt"
  std::wstring summary;                 // what the patch is, or why it cannot be applied
  std::vector<std::wstring> conflicts;  // a line each, without its side
  std::vector<std::wstring> changes;    // the cells that would change
  std::wstring ours, theirs;            // what each side does, after a conflict's line
  bool refused = false;                 // nothing can be applied in this order
  std::vector<std::wstring> patches;    // several patches' names, as first ordered
  // The preview of the patches in another order (indices into `patches`).
  std::function<PatchPreview(const std::vector<std::size_t>& order)> reorder;
  std::function<void(std::size_t line)> onSelect;                // a line selected
  std::function<void(const std::vector<bool>& theirs)> onSides;  // the sides changed
};

struct PreviewAnswer {
  std::vector<bool> theirs;         // per conflict: the patch's or the other map's side
  std::vector<std::size_t> order;   // of the patches
};

class PatchPreviewDialog : public DialogWindow {
 public:
  PatchPreviewDialog(HWND owner, PatchPreview preview);

  // Shows the preview until 適用, which returns each conflict's side and the
  // patches' order, or キャンセル.
  std::optional<PreviewAnswer> Ask();

  ListBox& List() { return list_; }

 private:
  enum class Side { Undecided, Ours, Theirs };
  void CreateControls();
  void CreatePatchList();
  void ShowLines();
  void ChooseAll(Side side);
  void Toggle(int line);
  void Move(int by);
  std::vector<bool> Theirs() const;
  Side StartingSide() const;

  static constexpr int Applied = Accepted;

  HWND owner_;
  PatchPreview preview_;
  std::vector<Side> sides_;
  std::vector<std::size_t> order_;
  int band_ = 0;  // the patches' band above the rest
  ListBox patches_;
  Button up_;
  Button down_;
  Label summary_;
  ListBox list_;
  Button allOurs_;
  Button allTheirs_;
  Button apply_;
  Button cancel_;
};

extern const wchar_t PatchPreviewClassName[];
extern const wchar_t ComparisonClassName[];
