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

HWND CreateControl(HWND box, const wchar_t* className, DWORD style, int id, const Layout::Box& place,
                   HFONT font) {
  HWND control = CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, Scale(place.left),
                                 Scale(place.top), Scale(place.width), Scale(place.height), box,
                                 reinterpret_cast<HMENU>(INT_PTR{id}), GetModuleHandleW(nullptr), nullptr);
  if (control == nullptr) ThrowWindowNotCreated();
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

// The size the text takes in the control's font, line breaks included.
SIZE TextExtent(HWND control, const std::wstring& text) {
  const WindowDc dc(control);
  const SelectedObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT bounds{};
  DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &bounds,
            DT_CALCRECT | DT_LEFT | DT_EXPANDTABS | DT_NOPREFIX);
  return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

// Labels size themselves to what they show, whatever font stands in.
void SetLabelText(HWND label, const char* text) {
  const std::wstring wide = Widen(text);
  SetWindowTextW(label, wide.c_str());
  const SIZE extent = TextExtent(label, wide);
  SetWindowPos(label, nullptr, 0, 0, extent.cx, extent.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

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

TAboutForm1::~TAboutForm1() {
  // Now, while the controls' fonts and the icon still exist.
  if (Window() != nullptr) DestroyWindow(Window());
}

void TAboutForm1::CreateBox(HWND owner) {
  RECT frame{0, 0, Scale(Layout::AboutClientWidth), Scale(Layout::AboutClientHeight)};
  AdjustWindowRectEx(&frame, Style, FALSE, ExStyle);
  Create(ClassName, Widen(Caption).c_str(), Style, ExStyle, 0, 0, frame.right - frame.left,
         frame.bottom - frame.top, owner, nullptr);
  TrimSystemMenu(Window());
}

void TAboutForm1::CreateControls() {
  using namespace Layout;
  // Created first, so first in tab order: it has the focus when the box opens.
  okButton1_ = CreateControl(Window(), L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, AboutOkButton1,
                             dialogFont_.get());
  SetWindowTextW(okButton1_, Widen(OkCaption).c_str());

  // The control keeps its size and draws the icon into it.
  image1_ = CreateControl(Window(), L"STATIC", SS_ICON | SS_REALSIZECONTROL, Image1Id, AboutImage1, nullptr);
  icon_.reset(LoadProgramIcon(AboutImage1));
  if (icon_) SendMessageW(image1_, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon_.get()));

  label1_ = CreateLabel(Label1Id, ProductName, titleFont_.get(), AboutLabel1);
  verLabel_ = CreateLabel(VerLabelId, Version, versionFont_.get(), AboutVerLabel);
  copyLabel_ = CreateLabel(CopyLabelId, "", dialogFont_.get(), AboutCopyLabel);  // FormCreate fills it
}

HWND TAboutForm1::CreateLabel(int id, const char* text, HFONT font, const Layout::Box& design) {
  HWND label = CreateControl(Window(), L"STATIC", LabelStyle, id, design, font);
  SetLabelText(label, text);
  return label;
}

void TAboutForm1::FormCreate() {
  // Beside the owner where it is now, so the box follows it when it has moved.
  RECT ownerFrame{};
  GetWindowRect(owner_, &ownerFrame);
  const int top = ownerFrame.top + Scale(Layout::AboutOffsetFromMainTop);
  const int left = ownerFrame.left + Scale(Layout::AboutOffsetFromMainLeft);
  SetWindowPos(Window(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  SetLabelText(copyLabel_, Credits);
}

int TAboutForm1::ShowModal() {
  CancelMouseCapture();
  HWND activeBefore = GetActiveWindow();
  modalResult_ = 0;
  {
    OtherWindowsDisabled disabled(Window(), owner_);
    ShowWindow(Window(), SW_SHOW);
    SetFocus(okButton1_);
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
      // IDCANCEL is Esc: OkButton1 is the cancel button too.
      if ((LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) && HIWORD(wParam) == BN_CLICKED) {
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
  if (state != WA_INACTIVE) SetFocus(okButton1_);
}

void TAboutForm1::OnClose() { modalResult_ = ModalResultCancel; }

LRESULT TAboutForm1::OnControlColour(HDC dc) {
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}
