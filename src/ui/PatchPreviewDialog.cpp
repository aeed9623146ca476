#include "ui/PatchPreviewDialog.h"

#include <algorithm>

#include "platform/Text.h"
#include "ui/Layout.h"
#include "ui/ModalLoop.h"

const wchar_t PatchPreviewClassName[] = L"TPatchForm1";

namespace {

enum ControlId : WORD { SummaryId = 1001, ListId, AllOursId, AllTheirsId };

constexpr std::string_view ApplyCaption = "適用(&A)";
constexpr std::string_view CancelCaption = "キャンセル";
constexpr std::string_view AllOursCaption = "衝突はすべて自分の地図のまま(&O)";
constexpr std::string_view AllTheirsCaption = "衝突はすべてパッチの側(&T)";
// What each side does, in patch's words.
constexpr std::string_view OursText = "  → 地図のまま";
constexpr std::string_view TheirsText = "  → パッチの後のコードにします";
constexpr std::string_view UndecidedText = "  → どちらか選んでください";

}  // namespace

PatchPreviewDialog::PatchPreviewDialog(HWND owner, PatchPreview preview)
    : owner_(owner), preview_(std::move(preview)), sides_(preview_.conflicts.size(), Side::Undecided) {
  RegisterFormClassOnce(PatchPreviewClassName);
  Create(ModalDialogArgs(owner, PatchPreviewClassName, preview_.caption, Layout::PatchPreviewClientWidth, Layout::PatchPreviewClientHeight));
  CreateControls();
  ShowLines();
}

void PatchPreviewDialog::CreateControls() {
  using namespace Layout;
  const HWND self = Window();
  summary_.Create({self, SummaryId, PatchPreviewSummary, nullptr, SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0,
                   preview_.summary, Dpi()});
  summary_.SetBackground(COLOR_BTNFACE);
  list_.Create({self, ListId, PatchPreviewList, nullptr, WS_TABSTOP | WS_HSCROLL, WS_EX_CLIENTEDGE, L"", Dpi()});
  list_.activationKey = VK_SPACE;
  list_.onActivate = [this](int line) { Toggle(line); };
  const DWORD conflictButtons = preview_.conflicts.empty() ? WS_DISABLED : 0;
  allOurs_.Create({self, AllOursId, PatchPreviewAllOurs, nullptr, WS_TABSTOP | conflictButtons, 0,
                   Widen(AllOursCaption), Dpi()});
  allTheirs_.Create({self, AllTheirsId, PatchPreviewAllTheirs, nullptr, WS_TABSTOP | conflictButtons, 0,
                     Widen(AllTheirsCaption), Dpi()});
  apply_.Create({self, IDOK, PatchPreviewApply, nullptr, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, Widen(ApplyCaption), Dpi()});
  cancel_.Create({self, IDCANCEL, PatchPreviewCancel, nullptr, WS_TABSTOP, 0, Widen(CancelCaption), Dpi()});
  allOurs_.onClick = [this] { ChooseAll(Side::Ours); };
  allTheirs_.onClick = [this] { ChooseAll(Side::Theirs); };
  apply_.onClick = [this] {
    if (apply_.Enabled()) result_ = Applied;
  };
  cancel_.onClick = [this] { result_ = Cancelled; };
}

// The conflicts first, each with its side; 適用 only once every one has one.
void PatchPreviewDialog::ShowLines() {
  std::vector<std::wstring> lines;
  for (std::size_t index = 0; index < preview_.conflicts.size(); ++index) {
    const std::string_view side =
        sides_[index] == Side::Ours ? OursText : sides_[index] == Side::Theirs ? TheirsText : UndecidedText;
    lines.push_back(preview_.conflicts[index] + Widen(side));
  }
  lines.insert(lines.end(), preview_.changes.begin(), preview_.changes.end());
  list_.SetItems(lines);
  apply_.SetEnabled(std::none_of(sides_.begin(), sides_.end(), [](Side side) { return side == Side::Undecided; }));
}

void PatchPreviewDialog::ChooseAll(Side side) {
  std::fill(sides_.begin(), sides_.end(), side);
  ShowLines();
}

void PatchPreviewDialog::Toggle(int line) {
  if (line < 0 || line >= static_cast<int>(sides_.size())) return;
  Side& side = sides_[static_cast<std::size_t>(line)];
  side = side == Side::Theirs ? Side::Ours : Side::Theirs;
  ShowLines();
  list_.SetSelection(line);
}

std::optional<std::vector<bool>> PatchPreviewDialog::Ask() {
  result_ = 0;
  ModalScope scope(Window(), owner_);
  ShowWindow(Window(), SW_SHOW);
  list_.Focus();
  if (RunModalLoop() != Applied) return std::nullopt;
  std::vector<bool> theirs;
  for (Side side : sides_) theirs.push_back(side == Side::Theirs);
  return theirs;
}
