#pragma once
// The About box: the program's name, version and author, shown modally.
// Each Help > About makes a fresh box and releases it once it has closed.

#include "ui/ModalLoop.h"
#include "ui/Controls.h"
#include "ui/Handles.h"
#include "ui/Layout.h"

class TAboutForm1 : public DialogWindow {
 public:
  // What ShowModal returns.
  static constexpr int ModalResultOk = Accepted;      // OkButton1: click, Enter or Esc
  static constexpr int ModalResultCancel = Cancelled;  // the title bar's Close

  // Creates the box, hidden, owned by `owner`; FormCreate runs. Made with
  // MakeWindow, so that the box goes before the fonts and the icon it shows.
  explicit TAboutForm1(HWND owner);

  // Shows the box and handles input until it closes; the application's other
  // windows take no input meanwhile and the one active before is active again after.
  int ShowModal();

  HWND Image1() const { return image1_.Window(); }
  HWND Label1() const { return label1_.Window(); }
  HWND VerLabel() const { return verLabel_.Window(); }
  HWND CopyLabel() const { return copyLabel_.Window(); }
  HWND OkButton1() const { return okButton1_.Window(); }

 protected:
  LRESULT HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateBox(HWND owner);
  void CreateControls();
  void CreateLabel(Label& label, WORD id, const char* text, const FontKind& font, const Layout::Box& design);
  void FormCreate();

  void OkButton1Click();
  void OnActivate(WORD state);

  HWND owner_ = nullptr;
  IconHandle icon_;
  // After the icon, so that they go first.
  Button okButton1_;
  IconPicture image1_;
  Label label1_;
  Label verLabel_;
  Label copyLabel_;
};
