#include "ui/PatchPreviewDialog.h"

#include <algorithm>
#include <numeric>

#include "platform/Text.h"
#include "ui/Layout.h"
#include "ui/ModalLoop.h"

const wchar_t PatchPreviewClassName[] = L"TPatchForm1";
const wchar_t ComparisonClassName[] = L"TCompareForm1";

namespace {

enum ControlId : WORD { SummaryId = 1001, ListId, AllOursId, AllTheirsId, PatchesId, UpId, DownId };

// The buttons' words of each kind of window.
struct PreviewTexts {
  std::string_view accept, cancel, allOurs, allTheirs;
};
constexpr PreviewTexts PatchTexts{"適用(&A)", "キャンセル", "衝突はすべて自分の地図のまま(&O)", "衝突はすべてパッチの側(&T)"};
constexpr PreviewTexts ComparisonTexts{"取り込む(&A)", "閉じる", "すべてこの地図のまま(&O)", "すべて比べた地図から(&T)"};
constexpr std::string_view UndecidedText = "  → どちらか選んでください";
constexpr std::string_view UpCaption = "上へ(&U)";
constexpr std::string_view DownCaption = "下へ(&D)";

const PreviewTexts& TextsOf(PreviewKind kind) { return kind == PreviewKind::Patch ? PatchTexts : ComparisonTexts; }

}  // namespace

PatchPreviewDialog::PatchPreviewDialog(HWND owner, PatchPreview preview)
    : owner_(owner), preview_(std::move(preview)), sides_(preview_.conflicts.size(), StartingSide()),
      order_(preview_.patches.size()), band_(preview_.patches.size() > 1 ? Layout::PatchPreviewPatchesBand : 0) {
  std::iota(order_.begin(), order_.end(), std::size_t{0});
  const wchar_t* className = preview_.kind == PreviewKind::Patch ? PatchPreviewClassName : ComparisonClassName;
  RegisterFormClassOnce(className);
  Create(ModalDialogArgs(owner, className, preview_.caption, Layout::PatchPreviewClientWidth,
                         Layout::PatchPreviewClientHeight + band_));
  CreateControls();
  ShowLines();
}

PatchPreviewDialog::Side PatchPreviewDialog::StartingSide() const {
  return preview_.kind == PreviewKind::Patch ? Side::Undecided : Side::Ours;
}

void PatchPreviewDialog::CreateControls() {
  using namespace Layout;
  const PreviewTexts& texts = TextsOf(preview_.kind);
  const HWND self = Window();
  if (band_ > 0) CreatePatchList();
  summary_.Create({self, SummaryId, Lowered(PatchPreviewSummary, band_), nullptr, SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0,
                   L"", Dpi()});
  summary_.SetBackground(COLOR_BTNFACE);
  list_.Create({self, ListId, Lowered(PatchPreviewList, band_), nullptr, WS_TABSTOP | WS_HSCROLL, WS_EX_CLIENTEDGE,
                L"", Dpi()});
  list_.activationKey = VK_SPACE;
  list_.onActivate = [this](int line) { Toggle(line); };
  list_.onSelect = [this](int line) {
    if (preview_.onSelect) preview_.onSelect(static_cast<std::size_t>(line));
  };
  allOurs_.Create({self, AllOursId, Lowered(PatchPreviewAllOurs, band_), nullptr, WS_TABSTOP, 0,
                   Widen(texts.allOurs), Dpi()});
  allTheirs_.Create({self, AllTheirsId, Lowered(PatchPreviewAllTheirs, band_), nullptr, WS_TABSTOP, 0,
                     Widen(texts.allTheirs), Dpi()});
  apply_.Create({self, IDOK, Lowered(PatchPreviewApply, band_), nullptr, WS_TABSTOP | BS_DEFPUSHBUTTON, 0,
                 Widen(texts.accept), Dpi()});
  cancel_.Create({self, IDCANCEL, Lowered(PatchPreviewCancel, band_), nullptr, WS_TABSTOP, 0, Widen(texts.cancel), Dpi()});
  allOurs_.onClick = [this] { ChooseAll(Side::Ours); };
  allTheirs_.onClick = [this] { ChooseAll(Side::Theirs); };
  apply_.onClick = [this] {
    if (apply_.Enabled()) result_ = Applied;
  };
  cancel_.onClick = [this] { result_ = Cancelled; };
}

void PatchPreviewDialog::CreatePatchList() {
  using namespace Layout;
  const HWND self = Window();
  patches_.Create({self, PatchesId, PatchPreviewPatches, nullptr, WS_TABSTOP, WS_EX_CLIENTEDGE, L"", Dpi()});
  up_.Create({self, UpId, PatchPreviewUp, nullptr, WS_TABSTOP, 0, Widen(UpCaption), Dpi()});
  down_.Create({self, DownId, PatchPreviewDown, nullptr, WS_TABSTOP, 0, Widen(DownCaption), Dpi()});
  up_.onClick = [this] { Move(-1); };
  down_.onClick = [this] { Move(1); };
  patches_.SetItems(preview_.patches);
  patches_.SetSelection(0);
}

// The conflicts first, each with its side, then what else changes; the
// default button only once every side is chosen, and for a comparison
// once one is taken.
void PatchPreviewDialog::ShowLines() {
  summary_.SetText(preview_.summary);
  std::vector<std::wstring> lines;
  for (std::size_t index = 0; index < preview_.conflicts.size(); ++index) {
    const Side side = sides_[index];
    lines.push_back(preview_.conflicts[index] +
                    (side == Side::Ours ? preview_.ours : side == Side::Theirs ? preview_.theirs : Widen(UndecidedText)));
  }
  lines.insert(lines.end(), preview_.changes.begin(), preview_.changes.end());
  list_.SetItems(lines);
  allOurs_.SetEnabled(!sides_.empty());
  allTheirs_.SetEnabled(!sides_.empty());
  const bool decided = std::none_of(sides_.begin(), sides_.end(), [](Side side) { return side == Side::Undecided; });
  const bool taken = std::any_of(sides_.begin(), sides_.end(), [](Side side) { return side == Side::Theirs; });
  apply_.SetEnabled(!preview_.refused && decided && (preview_.kind == PreviewKind::Patch || taken));
}

std::vector<bool> PatchPreviewDialog::Theirs() const {
  std::vector<bool> theirs;
  for (Side side : sides_) theirs.push_back(side == Side::Theirs);
  return theirs;
}

void PatchPreviewDialog::ChooseAll(Side side) {
  std::fill(sides_.begin(), sides_.end(), side);
  ShowLines();
  if (preview_.onSides) preview_.onSides(Theirs());
}

void PatchPreviewDialog::Toggle(int line) {
  if (line < 0 || line >= static_cast<int>(sides_.size())) return;
  Side& side = sides_[static_cast<std::size_t>(line)];
  side = side == Side::Theirs ? Side::Ours : Side::Theirs;
  ShowLines();
  list_.SetSelection(line);
  if (preview_.onSides) preview_.onSides(Theirs());
}

// The selected patch a place up or down; the patches are read again in the
// new order, and every side is to be chosen again.
void PatchPreviewDialog::Move(int by) {
  const int from = patches_.Selection(), to = from + by;
  if (from < 0 || to < 0 || to >= static_cast<int>(order_.size()) || !preview_.reorder) return;
  std::swap(order_[static_cast<std::size_t>(from)], order_[static_cast<std::size_t>(to)]);
  std::vector<std::wstring> names;
  for (const std::size_t index : order_) names.push_back(preview_.patches[index]);
  patches_.SetItems(names);
  patches_.SetSelection(to);
  PatchPreview again = preview_.reorder(order_);
  preview_.summary = std::move(again.summary);
  preview_.conflicts = std::move(again.conflicts);
  preview_.changes = std::move(again.changes);
  preview_.refused = again.refused;
  sides_.assign(preview_.conflicts.size(), StartingSide());
  ShowLines();
}

std::optional<PreviewAnswer> PatchPreviewDialog::Ask() {
  result_ = 0;
  ModalScope scope(Window(), owner_);
  ShowWindow(Window(), SW_SHOW);
  list_.Focus();
  if (RunModalLoop() != Applied) return std::nullopt;
  return PreviewAnswer{Theirs(), order_};
}
