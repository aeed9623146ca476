#pragma once
// A window's commands, each declared once: its identifier, its menu caption
// and shortcut, what it does and when it can be done. The menu bar, the
// shortcuts, the toolbar buttons' pictures, tooltips and states and the
// dispatch of WM_COMMAND are all made from the one table, so adding a
// command means adding one row and its handler. Every item, shortcut and
// button sends WM_COMMAND with its one identifier; a command that cannot be
// done now does nothing, whichever way it was asked for.

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "ui/CommandTexts.h"
#include "ui/Controls.h"
#include "ui/Handles.h"

struct Command {
  WORD id = 0;
  // Shift-JIS, "&" before the access letter; the menu adds the shortcut.
  std::string_view caption;
  int keys = 0;       // the shortcut shown, as ShortcutCtrl + 'O'; 0 for none
  int otherKeys = 0;  // a second shortcut, not shown (Ctrl+Shift+Z beside Ctrl+Y)
  std::function<void()> run;       // none: the item is there, greyed for good
  std::function<bool()> enabled;   // none: whenever there is something to run
  // A check mark beside the item: none, no mark.
  std::function<bool()> checked;
  // A caption that changes (names what the command will act on).
  std::function<std::string()> captionNow;
  // A toolbar button: the menu command it stands beside, whose caption,
  // shortcut and rule it shares, and its 16 x 16 picture.
  WORD standsFor = 0;
  int bitmap = 0;
};

// A command of the menu bar.
Command MenuCommand(WORD id, std::string_view caption, int keys, std::function<void()> run,
                    std::function<bool()> enabled = {});
// A toolbar button beside menu command `standsFor`, with a handler of its own.
Command ButtonCommand(WORD id, WORD standsFor, int bitmap, std::function<void()> run);

// One drop-down menu of the bar: its caption and its commands, 0 for a separator.
struct MenuArgs {
  std::string_view caption;
  std::vector<WORD> items;
};

class CommandTable {
 public:
  CommandTable() = default;
  explicit CommandTable(std::vector<Command> commands) : commands_(std::move(commands)) {}

  MenuHandle CreateMenuBar(const std::vector<MenuArgs>& menus) const;
  AcceleratorHandle CreateShortcuts() const;
  // The buttons of a toolbar, in this order, as they are now.
  std::vector<ToolBar::ButtonArgs> ToolButtons(std::initializer_list<WORD> ids) const;

  bool Enabled(WORD id) const;
  // Runs command `id` when it can be done now; false when `id` is no command.
  bool Run(WORD id) const;
  // Runs the command of these keys (ShortcutCtrl + 'O'), for a window that
  // takes its keys itself; false when no command has them.
  bool RunKeys(int keys) const;
  // Greys and names the menu items and the toolbar's buttons as the rules say now.
  void ShowStates(HMENU menu, ToolBar* toolBar) const;

 private:
  const Command* Find(WORD id) const;
  // A button's own rule is the one of the command it stands beside.
  const Command& RuleOf(const Command& command) const;

  std::vector<Command> commands_;
};

// Whether a menu item can be chosen now: it exists and is not greyed.
bool MenuItemEnabled(HMENU menu, WORD id);
void SetMenuItemEnabled(HMENU menu, WORD id, bool enabled);
void SetMenuItemCaption(HMENU menu, WORD id, const std::wstring& caption);
std::wstring MenuItemCaption(HMENU menu, WORD id);
