#pragma once
// A small modal dialog that asks for one line of text: a line saying what
// it takes, the field with the keyboard focus and its text selected, a line
// for why a text was refused, then OK (the default button) and キャンセル
// (Esc). OK asks the check first; a text it refuses keeps the dialog open
// with the reason shown, so the player can mend it.

#include <functional>
#include <optional>
#include <string>

#include "ui/ModalLoop.h"
#include "ui/Controls.h"

struct TextPrompt {
  std::wstring caption;
  std::wstring prompt;  // what the field takes
  std::wstring text;    // what it holds at first
  // Why a text cannot be taken; empty when it can. None: every text can.
  std::function<std::wstring(const std::wstring& text)> refusal;
};

class PromptDialog : public DialogWindow {
 public:
  PromptDialog(HWND owner, TextPrompt prompt);

  // Shows the dialog until OK takes a text, which it returns, or the player
  // cancels.
  std::optional<std::wstring> Ask();

 protected:
  LRESULT HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateControls();
  void OkClick();

  HWND owner_;
  TextPrompt prompt_;
  Label rule_;
  EditField field_;
  Label refusal_;
  Button ok_;
  Button cancel_;
  std::wstring answer_;
};

// The class of its window, for tests that answer it.
extern const wchar_t PromptDialogClassName[];
