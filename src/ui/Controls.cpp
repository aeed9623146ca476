#include "ui/Controls.h"

#include <uxtheme.h>

#include "ui/BaseWindow.h"
#include "ui/Dpi.h"

// Control.

Control::~Control() {
  if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
}

void Control::CreateControl(const wchar_t* className, const ControlArgs& args) {
  window_ = CreateWindowExW(args.exStyle, className, args.text.c_str(), WS_CHILD | WS_VISIBLE | args.style,
                            Scale(args.box.left), Scale(args.box.top), Scale(args.box.width),
                            Scale(args.box.height), args.parent,
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(args.id)), GetModuleHandleW(nullptr),
                            nullptr);
  if (window_ == nullptr) ThrowWindowNotCreated();
  id_ = args.id;
  if (args.font != nullptr) SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(args.font), FALSE);
}

bool Control::Enabled() const { return IsWindowEnabled(window_) != FALSE; }

void Control::SetEnabled(bool enabled) {
  if (Enabled() != enabled) EnableWindow(window_, enabled);
}

std::wstring Control::Text() const {
  const int length = GetWindowTextLengthW(window_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(window_, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

bool Control::SetText(const std::wstring& text) {
  if (Text() == text) return false;
  SetWindowTextW(window_, text.c_str());
  return true;
}

void Control::Focus() const { SetFocus(window_); }

bool Control::OnCommand(WORD) { return false; }

std::optional<LRESULT> Control::OnNotify(const NMHDR&) { return std::nullopt; }

std::optional<LRESULT> Control::OnKeyToItem(WORD) { return std::nullopt; }

// Label, IconPicture, EditField, Button.

void Label::Create(const ControlArgs& args) { CreateControl(WC_STATICW, args); }

void Label::SizeToText() {
  const std::wstring text = Text();
  const WindowDc dc(Window());
  const SelectedObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(Window(), WM_GETFONT, 0, 0)));
  RECT bounds{};
  DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &bounds,
            DT_CALCRECT | DT_LEFT | DT_EXPANDTABS | DT_NOPREFIX);
  SetWindowPos(Window(), nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void IconPicture::Create(const ControlArgs& args, HICON icon) {
  ControlArgs picture = args;
  // The control keeps its size and draws the icon into it.
  picture.style |= SS_ICON | SS_REALSIZECONTROL;
  CreateControl(WC_STATICW, picture);
  if (icon != nullptr) SendMessageW(Window(), STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

void EditField::Create(const ControlArgs& args) { CreateControl(WC_EDITW, args); }

bool EditField::OnCommand(WORD code) {
  if (code != EN_SETFOCUS) return false;
  if (onFocus) onFocus();
  return true;
}

void Button::Create(const ControlArgs& args) { CreateControl(WC_BUTTONW, args); }

bool Button::OnCommand(WORD code) {
  if (code == BN_SETFOCUS && onFocus) onFocus();
  if (code != BN_CLICKED) return code == BN_SETFOCUS;
  if (onClick) onClick();
  return true;
}

// ComboBox.

void ComboBox::Create(const Args& args) {
  CreateControl(WC_COMBOBOXW, args);
  for (const std::wstring& item : args.items)
    SendMessageW(Window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  if (args.visibleItems <= 0) return;
  // The list shows that many entries at once; the closed box is as high as
  // its box says.
  const int itemHeight = static_cast<int>(SendMessageW(Window(), CB_GETITEMHEIGHT, 0, 0));
  const int closedHeight = Scale(args.box.height);
  SendMessageW(Window(), CB_SETMINVISIBLE, static_cast<WPARAM>(args.visibleItems), 0);
  SetWindowPos(Window(), nullptr, 0, 0, Scale(args.box.width), closedHeight + itemHeight * args.visibleItems + 2,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetClosedHeight(closedHeight);
}

// How much frame a combo box adds around its field differs between systems
// (Wine even reports a field height other than the one it was given), so the
// field is sized by measuring the box.
void ComboBox::SetClosedHeight(int height) {
  auto field = SendMessageW(Window(), CB_GETITEMHEIGHT, WPARAM(-1), 0);
  for (int attempt = 0; attempt < 3; ++attempt) {
    RECT closed{};
    GetWindowRect(Window(), &closed);
    const int difference = height - (closed.bottom - closed.top);
    if (difference == 0) return;
    field += difference;
    SendMessageW(Window(), CB_SETITEMHEIGHT, WPARAM(-1), field);
  }
}

int ComboBox::Selection() const {
  const auto index = SendMessageW(Window(), CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

void ComboBox::SetSelection(int index) { SendMessageW(Window(), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

bool ComboBox::DroppedDown() const { return SendMessageW(Window(), CB_GETDROPPEDSTATE, 0, 0) != 0; }

bool ComboBox::OnCommand(WORD code) {
  if (code == CBN_SETFOCUS && onFocus) onFocus();
  if (code == CBN_SELCHANGE && onSelectionChanged && Selection() >= 0) onSelectionChanged();
  return code == CBN_SETFOCUS || code == CBN_SELCHANGE;
}

// ListBox.

void ListBox::Create(const ControlArgs& args) {
  ControlArgs list = args;
  list.style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT | WS_VSCROLL;
  CreateControl(WC_LISTBOXW, list);
}

void ListBox::SetItems(const std::vector<std::wstring>& items) {
  if (items == items_) return;
  const int selection = Selection();
  items_ = items;
  SendMessageW(Window(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(Window(), LB_RESETCONTENT, 0, 0);
  for (const std::wstring& item : items_) SendMessageW(Window(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SendMessageW(Window(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Window(), nullptr, TRUE);
  if (!items_.empty()) SetSelection(selection < 0 ? 0 : std::min(selection, Count() - 1));
}

int ListBox::Count() const { return static_cast<int>(items_.size()); }

std::wstring ListBox::Item(int index) const { return items_.at(static_cast<std::size_t>(index)); }

int ListBox::Selection() const {
  const auto index = SendMessageW(Window(), LB_GETCURSEL, 0, 0);
  return index == LB_ERR ? -1 : static_cast<int>(index);
}

void ListBox::SetSelection(int index) { SendMessageW(Window(), LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

bool ListBox::OnCommand(WORD code) {
  if (code == LBN_SETFOCUS && onFocus) onFocus();
  if (code == LBN_DBLCLK && onActivate && Selection() >= 0) onActivate(Selection());
  return code == LBN_SETFOCUS || code == LBN_DBLCLK;
}

std::optional<LRESULT> ListBox::OnKeyToItem(WORD key) {
  if (key != VK_RETURN) return -1;
  if (onActivate && Selection() >= 0) onActivate(Selection());
  return -2;
}

// ToolBar.

void ToolBar::Create(const Args& args) {
  // Raised buttons (not flat) with pictures only; the etched lines along the
  // top and bottom edges are drawn after the toolbar paints (OnCustomDraw).
  ControlArgs bar = args;
  bar.style |= TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;
  CreateControl(TOOLBARCLASSNAMEW, bar);
  SendMessageW(Window(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  // No visual style: its toolbar background and hot look are flat ones.
  SetWindowTheme(Window(), L" ", L" ");

  const int imageSize = Scale(args.imageSize);
  images_.reset(ImageList_Create(imageSize, imageSize, ILC_COLOR24 | ILC_MASK, static_cast<int>(args.buttons.size()), 0));
  if (!images_) ThrowWindowNotCreated();
  std::vector<TBBUTTON> buttons;
  for (const ButtonArgs& button : args.buttons) {
    const BitmapHandle picture(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(button.bitmap),
                                                               IMAGE_BITMAP, imageSize, imageSize, LR_CREATEDIBSECTION)));
    // A button without its picture would be a blank square nobody can tell apart.
    const int image = picture ? ImageList_AddMasked(images_.get(), picture.get(), args.maskColour) : -1;
    if (image < 0) ThrowWindowNotCreated();
    buttons.push_back({image, button.id, static_cast<BYTE>(button.enabled ? TBSTATE_ENABLED : 0), BTNS_BUTTON, {}, 0, 0});
  }
  buttons_ = args.buttons;
  SendMessageW(Window(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.get()));
  SendMessageW(Window(), TB_SETBITMAPSIZE, 0, MAKELPARAM(imageSize, imageSize));
  SendMessageW(Window(), TB_SETBUTTONSIZE, 0, MAKELPARAM(Scale(args.firstButton.width), Scale(args.firstButton.height)));
  SendMessageW(Window(), TB_SETINDENT, static_cast<WPARAM>(Scale(args.firstButton.left)), 0);
  SendMessageW(Window(), TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
}

bool ToolBar::ButtonEnabled(WORD id) const { return SendMessageW(Window(), TB_ISBUTTONENABLED, id, 0) != 0; }

void ToolBar::SetButtonEnabled(WORD id, bool enabled) {
  SendMessageW(Window(), TB_ENABLEBUTTON, id, MAKELPARAM(enabled, 0));
}

// A button's click is a command of the window, by the button's id.
bool ToolBar::OnCommand(WORD) { return false; }

std::optional<LRESULT> ToolBar::OnNotify(const NMHDR& header) {
  const auto tooltips = reinterpret_cast<HWND>(SendMessageW(Window(), TB_GETTOOLTIPS, 0, 0));
  if (header.code == TTN_GETDISPINFOW && header.hwndFrom == tooltips) {
    for (const ButtonArgs& button : buttons_)
      if (button.id == header.idFrom) hint_ = button.hint;
    auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
    info.lpszText = hint_.data();
    return 0;
  }
  if (header.hwndFrom == Window() && header.code == NM_CUSTOMDRAW)
    return OnCustomDraw(reinterpret_cast<const NMCUSTOMDRAW&>(header));
  return std::nullopt;
}

// The etched lines along the toolbar's edges, and the buttons' raised edges:
// drawn here because a visual style, Wine's too, draws every button flat.
LRESULT ToolBar::OnCustomDraw(const NMCUSTOMDRAW& draw) const {
  switch (draw.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYPOSTPAINT | CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      return CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPOSTPAINT: {
      RECT button = draw.rc;
      const bool pressed = (draw.uItemState & CDIS_SELECTED) != 0;
      DrawEdge(draw.hdc, &button, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | (pressed ? 0 : BF_SOFT));
      return CDRF_DODEFAULT;
    }
    case CDDS_POSTPAINT: {
      RECT edges{};
      GetClientRect(Window(), &edges);
      DrawEdge(draw.hdc, &edges, EDGE_ETCHED, BF_TOP | BF_BOTTOM);
      return CDRF_DODEFAULT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

// ControlEvents.

Control* ControlEvents::Find(HWND window) const {
  for (Control* control : controls_)
    if (control->Window() == window) return control;
  return nullptr;
}

bool ControlEvents::Command(HWND from, WORD code) const {
  Control* control = Find(from);
  return control != nullptr && control->OnCommand(code);
}

// Tooltips speak for their toolbar, so every control hears every notification.
std::optional<LRESULT> ControlEvents::Notify(const NMHDR& header) const {
  for (Control* control : controls_)
    if (const auto result = control->OnNotify(header)) return result;
  return std::nullopt;
}

std::optional<LRESULT> ControlEvents::KeyToItem(HWND list, WORD key) const {
  Control* control = Find(list);
  return control != nullptr ? control->OnKeyToItem(key) : std::nullopt;
}
