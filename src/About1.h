#pragma once
// The About box: the program's name, version and author, shown modally.
// Each Help > About makes a fresh box and releases it once it has closed.

#include "ui/BaseWindow.h"
#include "ui/Handles.h"
#include "ui/Layout.h"

class TAboutForm1 : public BaseWindow {
 public:
  // What ShowModal returns.
  static constexpr int ModalResultOk = 1;      // OkButton1: click, Enter or Esc
  static constexpr int ModalResultCancel = 2;  // the title bar's Close

  // Creates the box, hidden, owned by `owner`; FormCreate runs.
  explicit TAboutForm1(HWND owner);
  ~TAboutForm1() override;

  // Shows the box and handles input until it closes; the application's other
  // windows take no input meanwhile and the one active before is active again after.
  int ShowModal();

  HWND Image1() const { return image1_; }
  HWND Label1() const { return label1_; }
  HWND VerLabel() const { return verLabel_; }
  HWND CopyLabel() const { return copyLabel_; }
  HWND OkButton1() const { return okButton1_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateBox(HWND owner);
  void CreateControls();
  HWND CreateLabel(int id, const char* text, HFONT font, const Layout::Box& design);
  void FormCreate();
  void RunModalLoop();

  void OkButton1Click();
  void OnActivate(WORD state);
  void OnClose();
  LRESULT OnControlColour(HDC dc);

  HWND owner_ = nullptr;
  FontHandle dialogFont_;
  FontHandle titleFont_;
  FontHandle versionFont_;
  IconHandle icon_;
  HWND image1_ = nullptr;
  HWND label1_ = nullptr;
  HWND verLabel_ = nullptr;
  HWND copyLabel_ = nullptr;
  HWND okButton1_ = nullptr;
  int modalResult_ = 0;  // 0 while the box is open
};
