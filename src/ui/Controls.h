#pragma once
// The standard controls the windows are built from. Each is made from a small
// struct of arguments, offers the few operations the windows need and tells
// of what the user did through callbacks. Its window knows its object, so
// the parent's procedure (BaseWindow) hands each notification to the control
// it came from; no window switches over control identifiers. A control
// keeps its place and font at 96 dots per inch and rescales itself when its
// window's DPI changes. Each control destroys its own window.

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/Fonts.h"
#include "ui/Handles.h"
#include "ui/Layout.h"

// A window's text, and setting it only when it differs: a new text costs a
// repaint, and a top-level window's a round of the window manager. True
// when it was set.
std::wstring WindowText(HWND window);
bool SetWindowTextIfChanged(HWND window, const std::wstring& text);

struct ControlArgs {
  ControlArgs() = default;
  ControlArgs(HWND parent, WORD id, const Layout::Box& box, const FontKind* font = nullptr, DWORD style = 0,
              DWORD exStyle = 0, std::wstring text = {}, int dpi = 0)
      : parent(parent), id(id), box(box), font(font), style(style), exStyle(exStyle), text(std::move(text)), dpi(dpi) {}

  HWND parent = nullptr;
  WORD id = 0;
  Layout::Box box{};  // at 96 dots per inch; scaled on creation
  const FontKind* font = nullptr;  // a lasting kind (Fonts::...); null: the windows' font
  DWORD style = 0;  // beyond WS_CHILD | WS_VISIBLE
  DWORD exStyle = 0;
  std::wstring text;
  int dpi = 0;  // the parent's DPI; 0: the monitor's
};

class Control {
 public:
  Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  // The control object of a control's window, or null.
  static Control* Of(HWND window);

  HWND Window() const { return window_; }
  WORD Id() const { return id_; }
  int Dpi() const { return dpi_; }
  HFONT Font() const;
  bool Enabled() const;
  void SetEnabled(bool enabled);
  std::wstring Text() const;
  // Sets the text only when it differs, so that nothing flickers; true
  // when it did.
  bool SetText(const std::wstring& text);
  void Focus() const;
  // The control is drawn on this system colour (COLOR_...), in the window
  // text's colour.
  void SetBackground(int systemColour) { background_ = systemColour; }
  // A name for screen readers only, where no caption on the screen gives one.
  void SetAccessibleName(std::wstring name);
  // Places and sizes the control at its box for that DPI, in its font.
  virtual void SetDpi(int dpi);

  // The keyboard focus came to the control.
  std::function<void()> onFocus;

  // From the parent's procedure: a notification of this control. True when
  // the control dealt with it.
  virtual bool OnCommand(WORD code);
  virtual std::optional<LRESULT> OnNotify(const NMHDR& header);
  // WM_VKEYTOITEM: what the list does with a key (-1: its default, -2: done).
  virtual std::optional<LRESULT> OnKeyToItem(WORD key);
  // WM_CTLCOLOR*: the brush of the background, where the control has its own.
  std::optional<HBRUSH> OnColour(HDC dc) const;

 protected:
  void CreateControl(const wchar_t* className, const ControlArgs& args);
  // Makes `window` this control's: its notifications come here from now on.
  void Adopt(HWND window, const ControlArgs& args);
  // Another window whose notifications are this control's (a toolbar's tooltips).
  void AdoptHelper(HWND window);
  // The control's window has gone (a control that is a window of its own hears it).
  void ForgetWindow(HWND window);
  int Scaled(int pixelsAt96) const;
  const Layout::Box& Box() const { return box_; }

 private:
  HWND window_ = nullptr;
  WORD id_ = 0;
  Layout::Box box_{};
  const FontKind* font_ = nullptr;
  int dpi_ = 96;
  std::optional<int> background_;
};

// A line of text; it can take the size of what it shows.
class Label : public Control {
 public:
  void Create(const ControlArgs& args);
  void SizeToText();
  // Stays the size of its text, at every DPI.
  void SetDpi(int dpi) override;

 private:
  bool sizedToText_ = false;
};

// A picture of an icon, drawn at the size of the control.
class IconPicture : public Control {
 public:
  void Create(const ControlArgs& args, HICON icon);
};

// A line of text; with ES_READONLY one the user can select and copy only.
class EditField : public Control {
 public:
  void Create(const ControlArgs& args);
  void SelectAll() const;
  bool OnCommand(WORD code) override;
};

class Button : public Control {
 public:
  void Create(const ControlArgs& args);
  bool OnCommand(WORD code) override;
  std::function<void()> onClick;
};

// A drop-down list to choose from. The selection set by the program raises
// no event; only the user's choice does.
class ComboBox : public Control {
 public:
  struct Args : ControlArgs {
    std::vector<std::wstring> items;
    int visibleItems = 0;  // entries the open list shows at once
  };
  void Create(const Args& args);
  int Selection() const;  // -1 for none
  void SetSelection(int index);
  bool DroppedDown() const;
  bool OnCommand(WORD code) override;
  void SetDpi(int dpi) override;
  std::function<void()> onSelectionChanged;
  std::function<void()> onClosedUp;  // the list has closed

 private:
  void SizeList();
  void SetClosedHeight(int height);

  int visibleItems_ = 0;
};

// A list of lines; Enter or a double click on one is its activation.
class ListBox : public Control {
 public:
  void Create(const ControlArgs& args);
  // Keeps the selection where the lines stay the same.
  void SetItems(const std::vector<std::wstring>& items);
  int Count() const;
  std::wstring Item(int index) const;
  int Selection() const;  // -1 for none
  void SetSelection(int index);
  bool OnCommand(WORD code) override;
  std::optional<LRESULT> OnKeyToItem(WORD key) override;
  std::function<void(int index)> onActivate;
  std::function<void(int index)> onSelect;  // the user moved the selection
  WORD activationKey = VK_RETURN;  // with a double click, what activates a line

 private:
  std::vector<std::wstring> items_;
};

// Raised picture buttons with tooltips, each sending WM_COMMAND with its id.
class ToolBar : public Control {
 public:
  struct ButtonArgs {
    WORD id;
    int bitmap;  // resource of a 16 x 16 picture
    std::wstring hint;
    bool enabled;
    bool oneOfGroup = false;  // stays pressed, the others of its group not
    bool checked = false;
  };
  struct Args : ControlArgs {
    std::vector<ButtonArgs> buttons;
    Layout::Box firstButton{};  // the first button's place and the size of each
    int imageSize = 0;
    COLORREF maskColour = 0;
  };
  void Create(const Args& args);
  bool ButtonEnabled(WORD id) const;
  void SetButtonEnabled(WORD id, bool enabled);
  bool ButtonChecked(WORD id) const;
  void SetButtonChecked(WORD id, bool checked);
  bool OnCommand(WORD code) override;
  std::optional<LRESULT> OnNotify(const NMHDR& header) override;
  // The pictures and buttons follow the DPI too.
  void SetDpi(int dpi) override;

 private:
  void SetImages();
  void AddButtons();
  LRESULT OnCustomDraw(const NMCUSTOMDRAW& draw) const;

  ImageListHandle images_;
  std::vector<ButtonArgs> buttons_;
  Layout::Box firstButton_{};
  int imageSize_ = 0;
  COLORREF maskColour_ = 0;
  std::wstring hint_;  // must outlive the tooltip's request for it
};
