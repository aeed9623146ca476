#pragma once
// Menu bars and shortcuts from tables. Every item and every shortcut sends
// WM_COMMAND with its one identifier; a shortcut of a greyed item does
// nothing (the window checks the item's state before it acts).

#include <windows.h>

#include <string_view>
#include <vector>

#include "ui/Handles.h"

struct MenuItemArgs {
  WORD id = 0;                 // 0 for a separator
  std::string_view caption;    // Shift-JIS, "&" before the access letter, "\t" before the shortcut
  bool enabled = true;
};

struct PopupArgs {
  std::string_view caption;
  std::vector<MenuItemArgs> items;
};

MenuHandle CreateMenuBar(const std::vector<PopupArgs>& popups);

// Keys are a virtual key code plus these flags.
constexpr int ShortcutShift = 0x2000;
constexpr int ShortcutCtrl = 0x4000;

struct ShortcutArgs {
  int keys;
  WORD id;
};

AcceleratorHandle CreateShortcuts(const std::vector<ShortcutArgs>& shortcuts);

// Whether an item can be chosen now: it exists and is not greyed.
bool MenuItemEnabled(HMENU menu, WORD id);
void SetMenuItemEnabled(HMENU menu, WORD id, bool enabled);
void SetMenuItemCaption(HMENU menu, WORD id, std::string_view caption);
