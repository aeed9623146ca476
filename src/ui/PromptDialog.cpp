#include "ui/PromptDialog.h"

#include "platform/Text.h"
#include "ui/Layout.h"
#include "ui/ModalLoop.h"

const wchar_t PromptDialogClassName[] = L"TPromptForm";

namespace {

constexpr char OkCaption[] = "OK";
constexpr char CancelCaption[] = "キャンセル";
enum ControlId : WORD { RuleId = 1001, FieldId, RefusalId };

}  // namespace

PromptDialog::PromptDialog(HWND owner, TextPrompt prompt) : owner_(owner), prompt_(std::move(prompt)) {
  RegisterFormClassOnce(PromptDialogClassName);
  Create(ModalDialogArgs(owner, PromptDialogClassName, prompt_.caption, Layout::PromptClientWidth, Layout::PromptClientHeight));
  CreateControls();
}

void PromptDialog::CreateControls() {
  using namespace Layout;
  const HWND self = Window();
  rule_.Create({self, RuleId, PromptRule, nullptr, SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, prompt_.prompt, Dpi()});
  field_.Create({self, FieldId, PromptField, nullptr, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, prompt_.text, Dpi()});
  refusal_.Create({self, RefusalId, PromptRefusal, nullptr, SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, L"", Dpi()});
  ok_.Create({self, IDOK, PromptOkButton, nullptr, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, Widen(OkCaption), Dpi()});
  cancel_.Create({self, IDCANCEL, PromptCancelButton, nullptr, WS_TABSTOP, 0, Widen(CancelCaption), Dpi()});
  for (Label* label : {&rule_, &refusal_}) label->SetBackground(COLOR_BTNFACE);
  ok_.onClick = [this] { OkClick(); };
  cancel_.onClick = [this] { result_ = Cancelled; };
}

std::optional<std::wstring> PromptDialog::Ask() {
  result_ = 0;
  ModalScope scope(Window(), owner_);
  ShowWindow(Window(), SW_SHOW);
  field_.Focus();
  field_.SelectAll();
  if (RunModalLoop() != Accepted) return std::nullopt;
  return answer_;
}

void PromptDialog::OkClick() {
  const std::wstring text = field_.Text();
  const std::wstring refusal = prompt_.refusal ? prompt_.refusal(text) : std::wstring();
  if (!refusal.empty()) {
    refusal_.SetText(refusal);
    field_.Focus();
    field_.SelectAll();
    return;
  }
  answer_ = text;
  result_ = Accepted;
}

LRESULT PromptDialog::HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // Back to the field, not to the dialog itself.
  if (message != WM_ACTIVATE) return DialogWindow::HandleDialogMessage(message, wParam, lParam);
  if (LOWORD(wParam) != WA_INACTIVE && IsWindowVisible(Window())) field_.Focus();
  return 0;
}
