#include "ui/CommandTexts.h"

namespace {

// Virtual key codes, as Windows numbers them.
constexpr int FirstFunctionKey = 0x70;  // VK_F1
constexpr int LastFunctionKey = 0x87;   // VK_F24
constexpr int KeyMask = 0xFF;

std::string KeyName(int key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  if (key >= FirstFunctionKey && key <= LastFunctionKey) return "F" + std::to_string(key - FirstFunctionKey + 1);
  return {};
}

}  // namespace

std::string ShortcutText(int keys) {
  const std::string key = KeyName(keys & KeyMask);
  if (key.empty()) return {};
  std::string text;
  if (keys & ShortcutCtrl) text += "Ctrl+";
  if (keys & ShortcutShift) text += "Shift+";
  return text + key;
}

std::string MenuItemText(std::string_view caption, int keys) {
  const std::string shortcut = ShortcutText(keys);
  return shortcut.empty() ? std::string(caption) : std::string(caption) + "\t" + shortcut;
}

std::string ToolTipText(std::string_view caption, int keys) {
  std::string name(caption);
  constexpr std::string_view Dots = "...";
  if (name.size() >= Dots.size() && name.compare(name.size() - Dots.size(), Dots.size(), Dots) == 0)
    name.resize(name.size() - Dots.size());
  // "(&O)" at the end, as Japanese captions give the access key.
  const std::size_t open = name.rfind("(&");
  if (open != std::string::npos && name.size() == open + 4 && name.back() == ')') name.resize(open);
  const std::string shortcut = ShortcutText(keys);
  return shortcut.empty() ? name : name + "(" + shortcut + ")";
}
