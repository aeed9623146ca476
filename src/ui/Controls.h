#pragma once
// The standard controls the windows are built from. Each is made from a small
// struct of arguments, offers the few operations the windows need and tells
// of what the user did through callbacks: the window that holds them hands
// their notifications on through its ControlEvents and never switches over
// control identifiers itself. Each control destroys its own window, so a
// window's controls go before the fonts and pictures declared ahead of them.

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/Handles.h"
#include "ui/Layout.h"

struct ControlArgs {
  ControlArgs() = default;
  ControlArgs(HWND parent, WORD id, const Layout::Box& box, HFONT font = nullptr, DWORD style = 0, DWORD exStyle = 0,
              std::wstring text = {})
      : parent(parent), id(id), box(box), font(font), style(style), exStyle(exStyle), text(std::move(text)) {}

  HWND parent = nullptr;
  WORD id = 0;
  Layout::Box box{};  // at 96 dots per inch; scaled on creation
  HFONT font = nullptr;
  DWORD style = 0;  // beyond WS_CHILD | WS_VISIBLE
  DWORD exStyle = 0;
  std::wstring text;
};

class Control {
 public:
  Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  HWND Window() const { return window_; }
  WORD Id() const { return id_; }
  bool Enabled() const;
  void SetEnabled(bool enabled);
  std::wstring Text() const;
  // Sets the text only when it differs, so that nothing flickers; true
  // when it did.
  bool SetText(const std::wstring& text);
  void Focus() const;

  // The keyboard focus came to the control.
  std::function<void()> onFocus;

  // From the parent's procedure: a notification of this control. True when
  // the control dealt with it.
  virtual bool OnCommand(WORD code);
  virtual std::optional<LRESULT> OnNotify(const NMHDR& header);
  // WM_VKEYTOITEM: what the list does with a key (-1: its default, -2: done).
  virtual std::optional<LRESULT> OnKeyToItem(WORD key);

 protected:
  void CreateControl(const wchar_t* className, const ControlArgs& args);

 private:
  HWND window_ = nullptr;
  WORD id_ = 0;
};

// A line of text; it can take the size of what it shows.
class Label : public Control {
 public:
  void Create(const ControlArgs& args);
  void SizeToText();
};

// A picture of an icon, drawn at the size of the control.
class IconPicture : public Control {
 public:
  void Create(const ControlArgs& args, HICON icon);
};

// A read-only line of text the user can select and copy.
class EditField : public Control {
 public:
  void Create(const ControlArgs& args);
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
  std::function<void()> onSelectionChanged;

 private:
  void SetClosedHeight(int height);
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
  bool OnCommand(WORD code) override;
  std::optional<LRESULT> OnNotify(const NMHDR& header) override;

 private:
  LRESULT OnCustomDraw(const NMCUSTOMDRAW& draw) const;

  ImageListHandle images_;
  std::vector<ButtonArgs> buttons_;
  std::wstring hint_;  // must outlive the tooltip's request for it
};

// The controls of one window, for its procedure to hand their notifications
// on: WM_COMMAND from a control, WM_NOTIFY and WM_VKEYTOITEM.
class ControlEvents {
 public:
  void Add(Control& control) { controls_.push_back(&control); }
  // True when a control dealt with the command.
  bool Command(HWND from, WORD code) const;
  std::optional<LRESULT> Notify(const NMHDR& header) const;
  std::optional<LRESULT> KeyToItem(HWND list, WORD key) const;

 private:
  Control* Find(HWND window) const;

  std::vector<Control*> controls_;
};
