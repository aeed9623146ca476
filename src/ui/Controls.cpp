#include "ui/Controls.h"

#include <uxtheme.h>

#include "ui/Accessibility.h"
#include "ui/BaseWindow.h"
#include "ui/Dpi.h"
#include "ui/WindowMap.h"

// Control.

Control::~Control() {
  // A window destroyed already (with its parent, say) may have passed its
  // handle on to another: only a window that is still this control's goes.
  HWND window = window_;
  if (window == nullptr || !IsWindow(window) || Of(window) != this) return;
  ForgetWindow(window);
  DestroyWindow(window);
}

void Control::ForgetWindow(HWND window) {
  if (WindowEntry* entry = EntryOf(window)) entry->control = nullptr;
  ForgetEmptyEntry(window);
  if (window == window_) window_ = nullptr;
}

Control* Control::Of(HWND window) {
  const WindowEntry* entry = EntryOf(window);
  return entry != nullptr ? entry->control : nullptr;
}

void Control::CreateControl(const wchar_t* className, const ControlArgs& args) {
  const int dpi = args.dpi > 0 ? args.dpi : WindowDpi(args.parent);
  HWND window = CreateWindowExW(args.exStyle, className, args.text.c_str(), WS_CHILD | WS_VISIBLE | args.style,
                                Scale(args.box.left, dpi), Scale(args.box.top, dpi), Scale(args.box.width, dpi),
                                Scale(args.box.height, dpi), args.parent,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(args.id)), GetModuleHandleW(nullptr),
                                nullptr);
  if (window == nullptr) ThrowWindowNotCreated();
  Adopt(window, args);
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
}

void Control::Adopt(HWND window, const ControlArgs& args) {
  window_ = window;
  id_ = args.id;
  box_ = args.box;
  font_ = args.font != nullptr ? args.font : &Fonts::Window;
  dpi_ = args.dpi > 0 ? args.dpi : WindowDpi(args.parent);
  AdoptHelper(window);
}

// Every control's messages pass here first, so that its end is heard and a
// name for screen readers answered. A plain subclass through the one map:
// comctl32's subclassing asks Wine's server for a window property at every
// message, which made each paint of an edit field slower by tenths of a
// millisecond.
static LRESULT CALLBACK ControlProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowEntry* entry = EntryOf(window);
  if (entry == nullptr || entry->original == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  const WNDPROC original = entry->original;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    *entry = WindowEntry{};
    ForgetEmptyEntry(window);
  } else if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT && !entry->accessibleName.empty()) {
    if (const auto answer = AnswerNamedObject(window, wParam, entry->accessibleName)) return *answer;
  }
  return CallWindowProcW(original, window, message, wParam, lParam);
}

void Control::AdoptHelper(HWND window) {
  WindowEntry& entry = EntryFor(window);
  entry.control = this;
  // A window of a class of the program's own hears its end itself.
  if (entry.window == nullptr && entry.original == nullptr)
    entry.original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProcedure)));
}

void Control::SetAccessibleName(std::wstring name) { EntryFor(window_).accessibleName = std::move(name); }

HFONT Control::Font() const { return SharedFont(*font_, dpi_); }

int Control::Scaled(int pixelsAt96) const { return Scale(pixelsAt96, dpi_); }

void Control::SetDpi(int dpi) {
  dpi_ = dpi;
  SetWindowPos(window_, nullptr, Scaled(box_.left), Scaled(box_.top), Scaled(box_.width), Scaled(box_.height),
               SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), TRUE);
}

std::optional<HBRUSH> Control::OnColour(HDC dc) const {
  if (!background_) return std::nullopt;
  SetBkColor(dc, GetSysColor(*background_));
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  return GetSysColorBrush(*background_);
}

bool Control::Enabled() const { return IsWindowEnabled(window_) != FALSE; }

void Control::SetEnabled(bool enabled) {
  if (Enabled() != enabled) EnableWindow(window_, enabled);
}

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

bool SetWindowTextIfChanged(HWND window, const std::wstring& text) {
  if (WindowText(window) == text) return false;
  SetWindowTextW(window, text.c_str());
  return true;
}

std::wstring Control::Text() const { return WindowText(window_); }

bool Control::SetText(const std::wstring& text) { return SetWindowTextIfChanged(window_, text); }

void Control::Focus() const { SetFocus(window_); }

bool Control::OnCommand(WORD) { return false; }

std::optional<LRESULT> Control::OnNotify(const NMHDR&) { return std::nullopt; }

std::optional<LRESULT> Control::OnKeyToItem(WORD) { return std::nullopt; }

// Label, IconPicture, EditField, Button.

void Label::Create(const ControlArgs& args) { CreateControl(WC_STATICW, args); }

void Label::SetDpi(int dpi) {
  Control::SetDpi(dpi);
  if (sizedToText_) SizeToText();
}

void Label::SizeToText() {
  sizedToText_ = true;
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

void EditField::SelectAll() const { SendMessageW(Window(), EM_SETSEL, 0, -1); }

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
  visibleItems_ = args.visibleItems;
  SizeList();
}

void ComboBox::SetDpi(int dpi) {
  Control::SetDpi(dpi);
  SizeList();
}

// The list shows that many entries at once; the closed box is as high as
// its box says.
void ComboBox::SizeList() {
  if (visibleItems_ <= 0) return;
  const int itemHeight = static_cast<int>(SendMessageW(Window(), CB_GETITEMHEIGHT, 0, 0));
  const int closedHeight = Scaled(Box().height);
  SendMessageW(Window(), CB_SETMINVISIBLE, static_cast<WPARAM>(visibleItems_), 0);
  SetWindowPos(Window(), nullptr, 0, 0, Scaled(Box().width), closedHeight + itemHeight * visibleItems_ + 2,
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

// Only a change is sent: the control draws itself again for every one.
void ComboBox::SetSelection(int index) {
  if (Selection() != index) SendMessageW(Window(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool ComboBox::DroppedDown() const { return SendMessageW(Window(), CB_GETDROPPEDSTATE, 0, 0) != 0; }

bool ComboBox::OnCommand(WORD code) {
  if (code == CBN_SETFOCUS && onFocus) onFocus();
  if (code == CBN_SELCHANGE && onSelectionChanged && Selection() >= 0) onSelectionChanged();
  if (code == CBN_CLOSEUP && onClosedUp) onClosedUp();
  return code == CBN_SETFOCUS || code == CBN_SELCHANGE || code == CBN_CLOSEUP;
}

// ListBox.

void ListBox::Create(const ControlArgs& args) {
  ControlArgs list = args;
  list.style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT | WS_VSCROLL;
  CreateControl(WC_LISTBOXW, list);
}

// Only the lines between those that stay at the start and at the end are
// replaced, so a change of a line or two redraws a line or two.
void ListBox::SetItems(const std::vector<std::wstring>& items) {
  if (items == items_) return;
  const int selection = Selection();
  std::size_t same = 0;
  while (same < items.size() && same < items_.size() && items[same] == items_[same]) ++same;
  std::size_t sameAtEnd = 0;
  while (sameAtEnd < items.size() - same && sameAtEnd < items_.size() - same &&
         items[items.size() - 1 - sameAtEnd] == items_[items_.size() - 1 - sameAtEnd])
    ++sameAtEnd;
  const std::size_t gone = items_.size() - same - sameAtEnd, added = items.size() - sameAtEnd - same;
  // Thousands of lines (a comparison) go in without a redraw each.
  const bool many = gone + added > 32;
  if (many) SendMessageW(Window(), WM_SETREDRAW, FALSE, 0);
  for (std::size_t line = 0; line < gone; ++line) SendMessageW(Window(), LB_DELETESTRING, same, 0);
  for (std::size_t line = same; line < items.size() - sameAtEnd; ++line)
    SendMessageW(Window(), LB_INSERTSTRING, line, reinterpret_cast<LPARAM>(items[line].c_str()));
  if (many) {
    SendMessageW(Window(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Window(), nullptr, TRUE);
  }
  items_ = items;
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
  if (code == LBN_SELCHANGE && onSelect && Selection() >= 0) onSelect(Selection());
  return code == LBN_SETFOCUS || code == LBN_DBLCLK || (code == LBN_SELCHANGE && onSelect);
}

std::optional<LRESULT> ListBox::OnKeyToItem(WORD key) {
  if (key != activationKey) return -1;
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
  // The tooltips tell the toolbar's parent, by way of this object.
  if (const auto tooltips = reinterpret_cast<HWND>(SendMessageW(Window(), TB_GETTOOLTIPS, 0, 0))) AdoptHelper(tooltips);

  buttons_ = args.buttons;
  firstButton_ = args.firstButton;
  imageSize_ = args.imageSize;
  maskColour_ = args.maskColour;
  SetImages();
  AddButtons();
}

void ToolBar::AddButtons() {
  std::vector<TBBUTTON> buttons;
  int image = 0;
  for (const ButtonArgs& button : buttons_)
    buttons.push_back({image++, button.id,
                       static_cast<BYTE>((button.enabled ? TBSTATE_ENABLED : 0) | (button.checked ? TBSTATE_CHECKED : 0)),
                       static_cast<BYTE>(button.oneOfGroup ? BTNS_CHECKGROUP : BTNS_BUTTON), {}, 0, 0});
  SendMessageW(Window(), TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
}

// The buttons are laid out afresh, in their states: the toolbar places
// buttons it already has at the indent they had.
void ToolBar::SetDpi(int dpi) {
  Control::SetDpi(dpi);
  for (ButtonArgs& button : buttons_) {
    button.enabled = ButtonEnabled(button.id);
    button.checked = ButtonChecked(button.id);
  }
  while (SendMessageW(Window(), TB_BUTTONCOUNT, 0, 0) > 0) SendMessageW(Window(), TB_DELETEBUTTON, 0, 0);
  SetImages();
  AddButtons();
  InvalidateRect(Window(), nullptr, TRUE);
}

// The buttons' pictures, loaded at the size of this DPI, and the buttons'
// size and indent.
void ToolBar::SetImages() {
  const int imageSize = Scaled(imageSize_);
  ImageListHandle images(ImageList_Create(imageSize, imageSize, ILC_COLOR24 | ILC_MASK, static_cast<int>(buttons_.size()), 0));
  if (!images) ThrowWindowNotCreated();
  for (const ButtonArgs& button : buttons_) {
    const BitmapHandle picture(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(button.bitmap),
                                                               IMAGE_BITMAP, imageSize, imageSize, LR_CREATEDIBSECTION)));
    // A button without its picture would be a blank square nobody can tell apart.
    const int image = picture ? ImageList_AddMasked(images.get(), picture.get(), maskColour_) : -1;
    if (image < 0) ThrowWindowNotCreated();
  }
  SendMessageW(Window(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.get()));
  images_ = std::move(images);  // the old list goes once the toolbar no longer uses it
  SendMessageW(Window(), TB_SETBITMAPSIZE, 0, MAKELPARAM(imageSize, imageSize));
  SendMessageW(Window(), TB_SETBUTTONSIZE, 0, MAKELPARAM(Scaled(firstButton_.width), Scaled(firstButton_.height)));
  SendMessageW(Window(), TB_SETINDENT, static_cast<WPARAM>(Scaled(firstButton_.left)), 0);
}

bool ToolBar::ButtonEnabled(WORD id) const { return SendMessageW(Window(), TB_ISBUTTONENABLED, id, 0) != 0; }

bool ToolBar::ButtonChecked(WORD id) const { return SendMessageW(Window(), TB_ISBUTTONCHECKED, id, 0) != 0; }

void ToolBar::SetButtonChecked(WORD id, bool checked) {
  SendMessageW(Window(), TB_CHECKBUTTON, id, MAKELPARAM(checked, 0));
}

void ToolBar::SetButtonEnabled(WORD id, bool enabled) {
  if (ButtonEnabled(id) != enabled) SendMessageW(Window(), TB_ENABLEBUTTON, id, MAKELPARAM(enabled, 0));
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
    case CDDS_PREPAINT: return CDRF_NOTIFYPOSTPAINT | CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: return CDRF_NOTIFYPOSTPAINT;
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
    default: return CDRF_DODEFAULT;
  }
}
