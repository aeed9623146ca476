#pragma once
// How a command's shortcut and tooltip read, from its menu caption and its
// keys: so that no text retypes a shortcut. Platform-free: the keys are a
// virtual key code plus the flags below.

#include <string>
#include <string_view>

constexpr int ShortcutShift = 0x2000;
constexpr int ShortcutCtrl = 0x4000;

// "Ctrl+O", "Shift+F8", "F1", "Ctrl+Shift+Z"; empty for no keys.
std::string ShortcutText(int keys);

// The item as the menu shows it: "開く(&O)...\tCtrl+O".
std::string MenuItemText(std::string_view caption, int keys);

// A toolbar button's tooltip: the caption without its access key and dots,
// then the shortcut in brackets: "開く(Ctrl+O)".
std::string ToolTipText(std::string_view caption, int keys);
