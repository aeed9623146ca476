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

namespace {

constexpr wchar_t ClassName[] = L"TAboutForm1";
constexpr DWORD Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD ExStyle = WS_EX_DLGMODALFRAME;
constexpr DWORD LabelStyle = SS_LEFTNOWORDWRAP | SS_NOPREFIX;

constexpr char Caption[] = "ヴァルテア 街道エディタのバージョン情報";
constexpr char ProductName[] = "ヴァルテア 街道エディタ";
constexpr char Version[] = "Ver " VALTEA_VERSION;
constexpr char Credits[] =
    "(C) 2026 ヴァルテア街道エディタ制作班\r\n"
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

HICON LoadProgramIcon(const Layout::Box& place) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON,
                                       Scale(place.width), Scale(place.height), LR_DEFAULTCOLOR));
}

// While the box is open, the thread's other windows take no input. Only
// windows that were enabled are enabled again afterwards.
class OtherWindowsDisabled {
 public:
  OtherWindowsDisabled(HWND box, HWND owner) : box_(box) {
    EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(this));
    // The owner counts even when hidden: it must not take input either.
    if (owner != nullptr && IsWindowEnabled(owner) && !Contains(owner)) disabled_.push_back(owner);
    for (HWND window : disabled_) EnableWindow(window, FALSE);
  }
  ~OtherWindowsDisabled() {
    for (HWND window : disabled_)
      if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
  OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;

 private:
  static BOOL CALLBACK Collect(HWND window, LPARAM self) {
    auto* collector = reinterpret_cast<OtherWindowsDisabled*>(self);
    if (window != collector->box_ && IsWindowVisible(window) && IsWindowEnabled(window))
      collector->disabled_.push_back(window);
    return TRUE;
  }
  bool Contains(HWND window) const {
    for (HWND disabled : disabled_)
      if (disabled == window) return true;
    return false;
  }

  HWND box_;
  std::vector<HWND> disabled_;
};

// A drag in progress elsewhere (the grid's, with its scrolling timer) ends
// before the box takes over the input.
void CancelMouseCapture() {
  if (HWND captured = GetCapture()) {
    SendMessageW(captured, WM_CANCELMODE, 0, 0);
    ReleaseCapture();
  }
}

}  // namespace

TAboutForm1::TAboutForm1(HWND owner) : owner_(owner) {
  RegisterFormClassOnce(ClassName);

  dialogFont_.reset(CreateShiftJisFont(WindowFontName, Layout::FontHeight, FW_NORMAL));
  titleFont_.reset(CreateShiftJisFont(WindowFontName, Layout::AboutTitleFontHeight, FW_BOLD));
  versionFont_.reset(CreateShiftJisFont(WindowFontName, Layout::FontHeight, FW_BOLD));
  CreateBox(owner);
  CreateControls();
  FormCreate();
}

void TAboutForm1::CreateBox(HWND owner) {
  RECT frame{0, 0, Scale(Layout::AboutClientWidth), Scale(Layout::AboutClientHeight)};
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
  okButton1_.Create({Window(), IDOK, AboutOkButton1, dialogFont_.get(), WS_TABSTOP | BS_DEFPUSHBUTTON, 0,
                    Widen(OkCaption)});
  okButton1_.onClick = [this] { OkButton1Click(); };
  controlEvents_.Add(okButton1_);

  icon_.reset(LoadProgramIcon(AboutImage1));
  image1_.Create({Window(), Image1Id, AboutImage1}, icon_.get());
  CreateLabel(label1_, Label1Id, ProductName, titleFont_.get(), AboutLabel1);
  CreateLabel(verLabel_, VerLabelId, Version, versionFont_.get(), AboutVerLabel);
  CreateLabel(copyLabel_, CopyLabelId, "", dialogFont_.get(), AboutCopyLabel);  // FormCreate fills it
}

// Labels size themselves to what they show, whatever font stands in.
void TAboutForm1::CreateLabel(Label& label, WORD id, const char* text, HFONT font, const Layout::Box& design) {
  label.Create({Window(), id, design, font, LabelStyle, 0, Widen(text)});
  label.SizeToText();
}

void TAboutForm1::FormCreate() {
  // Beside the owner where it is now, so the box follows it when it has moved.
  RECT ownerFrame{};
  GetWindowRect(owner_, &ownerFrame);
  const int top = ownerFrame.top + Scale(Layout::AboutOffsetFromMainTop);
  const int left = ownerFrame.left + Scale(Layout::AboutOffsetFromMainLeft);
  SetWindowPos(Window(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  copyLabel_.SetText(Widen(Credits));
  copyLabel_.SizeToText();
}

int TAboutForm1::ShowModal() {
  CancelMouseCapture();
  HWND activeBefore = GetActiveWindow();
  modalResult_ = 0;
  {
    OtherWindowsDisabled disabled(Window(), owner_);
    ShowWindow(Window(), SW_SHOW);
    okButton1_.Focus();
    RunModalLoop();
  }  // enabled again while the box is still up, so that hiding it hands activation back
  if (Window() != nullptr) ShowWindow(Window(), SW_HIDE);
  if (IsWindow(activeBefore) && IsWindowVisible(activeBefore) && IsWindowEnabled(activeBefore))
    SetActiveWindow(activeBefore);
  return modalResult_;
}

void TAboutForm1::RunModalLoop() {
  MSG message;
  while (modalResult_ == 0) {
    if (Window() == nullptr) {  // destroyed with its owner
      modalResult_ = ModalResultCancel;
      return;
    }
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: the quit is the main loop's to see.
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      modalResult_ = ModalResultCancel;
      return;
    }
    // Enter, Esc and Tab as in any dialog.
    if (IsDialogMessageW(Window(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

LRESULT TAboutForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (controlEvents_.Command(reinterpret_cast<HWND>(lParam), HIWORD(wParam))) return 0;
      // IDCANCEL is Esc: OkButton1 is the cancel button too.
      if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == BN_CLICKED) {
        OkButton1Click();
        return 0;
      }
      break;
    case DM_GETDEFID:
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam));
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_CTLCOLORSTATIC:
      return OnControlColour(reinterpret_cast<HDC>(wParam));
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

void TAboutForm1::OkButton1Click() { modalResult_ = ModalResultOk; }

void TAboutForm1::OnActivate(WORD state) {
  // The focus goes to the button, not to the box itself.
  if (state != WA_INACTIVE) okButton1_.Focus();
}

void TAboutForm1::OnClose() { modalResult_ = ModalResultCancel; }

LRESULT TAboutForm1::OnControlColour(HDC dc) {
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}
