#include "About1.h"

#include <string>
#include <vector>

#include "Version.h"
#include "platform/Text.h"
#include "resources/Resources.h"
#include "ui/Dpi.h"
#include "ui/Fonts.h"
#include "ui/Handles.h"
#include "ui/Layout.h"
#include "ui/ModalLoop.h"

namespace {

constexpr wchar_t ClassName[] = L"TAboutForm1";
constexpr DWORD Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD ExStyle = WS_EX_DLGMODALFRAME;
constexpr DWORD LabelStyle = SS_LEFTNOWORDWRAP | SS_NOPREFIX;

constexpr char Caption[] = VALTEA_PRODUCT_NAME "のバージョン情報";
constexpr char ProductName[] = VALTEA_PRODUCT_NAME;
constexpr char Version[] = "Ver " VALTEA_VERSION;
constexpr char Credits[] =
    "(C) 2026 " VALTEA_AUTHOR "\r\n"
    "https://valtea-road-editor.example/";
constexpr char OkCaption[] = "OK";

// OkButton1 is IDOK, so that Enter in IsDialogMessage presses it.
enum ControlId { Image1Id = 1001, Label1Id, VerLabelId, CopyLabelId };

// A fixed dialog offers only moving and closing in its system menu.
void TrimSystemMenu(HWND window) {
  HMENU menu = GetSystemMenu(window, FALSE);
  for (UINT command : {SC_RESTORE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE})
    DeleteMenu(menu, command, MF_BYCOMMAND);
}

HICON LoadProgramIcon(const Layout::Box& place, int dpi) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON,
                                       Scale(place.width, dpi), Scale(place.height, dpi), LR_DEFAULTCOLOR));
}

}  // namespace

TAboutForm1::TAboutForm1(HWND owner) : owner_(owner) {
  RegisterFormClassOnce(ClassName);
  CreateBox(owner);
  CreateControls();
  FormCreate();
}

void TAboutForm1::CreateBox(HWND owner) {
  const int dpi = owner != nullptr ? WindowDpi(owner) : SystemDpi();
  RECT frame{0, 0, Scale(Layout::AboutClientWidth, dpi), Scale(Layout::AboutClientHeight, dpi)};
  AdjustWindowRectEx(&frame, Style, FALSE, ExStyle);
  WindowArgs args;
  args.className = ClassName;
  args.caption = Widen(Caption);
  args.style = Style;
  args.exStyle = ExStyle;
  args.x = 0;
  args.y = 0;
  args.width = frame.right - frame.left;
  args.height = frame.bottom - frame.top;
  args.parent = owner;
  Create(args);
  TrimSystemMenu(Window());
}

void TAboutForm1::CreateControls() {
  using namespace Layout;
  // Created first, so first in tab order: it has the focus when the box opens.
  okButton1_.Create({Window(), IDOK, AboutOkButton1, &Fonts::Window, WS_TABSTOP | BS_DEFPUSHBUTTON, 0,
                     Widen(OkCaption), Dpi()});
  okButton1_.onClick = [this] { OkButton1Click(); };

  icon_.reset(LoadProgramIcon(AboutImage1, Dpi()));
  image1_.Create({Window(), Image1Id, AboutImage1, nullptr, 0, 0, {}, Dpi()}, icon_.get());
  CreateLabel(label1_, Label1Id, ProductName, Fonts::AboutTitle, AboutLabel1);
  CreateLabel(verLabel_, VerLabelId, Version, Fonts::AboutVersion, AboutVerLabel);
  CreateLabel(copyLabel_, CopyLabelId, "", Fonts::Window, AboutCopyLabel);  // FormCreate fills it
}

// Labels size themselves to what they show, whatever font stands in, on
// the box's own colour.
void TAboutForm1::CreateLabel(Label& label, WORD id, const char* text, const FontKind& font,
                              const Layout::Box& design) {
  label.Create({Window(), id, design, &font, LabelStyle, 0, Widen(text), Dpi()});
  label.SizeToText();
  label.SetBackground(COLOR_BTNFACE);
}

void TAboutForm1::FormCreate() {
  // Beside the owner where it is now, so the box follows it when it has moved.
  RECT ownerFrame{};
  GetWindowRect(owner_, &ownerFrame);
  const int top = ownerFrame.top + Scaled(Layout::AboutOffsetFromMainTop);
  const int left = ownerFrame.left + Scaled(Layout::AboutOffsetFromMainLeft);
  SetWindowPos(Window(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  copyLabel_.SetText(Widen(Credits));
  copyLabel_.SizeToText();
}

int TAboutForm1::ShowModal() {
  result_ = 0;
  ModalScope scope(Window(), owner_);
  ShowWindow(Window(), SW_SHOW);
  okButton1_.Focus();
  return RunModalLoop();
}

LRESULT TAboutForm1::HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // IDCANCEL is Esc: OkButton1 is the cancel button too.
      if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == BN_CLICKED) {
        OkButton1Click();
        return 0;
      }
      break;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam));
      return 0;
    default: break;
  }
  return DialogWindow::HandleDialogMessage(message, wParam, lParam);
}

void TAboutForm1::OkButton1Click() { result_ = ModalResultOk; }

void TAboutForm1::OnActivate(WORD state) {
  // The focus goes to the button, not to the box itself.
  if (state != WA_INACTIVE) okButton1_.Focus();
}

