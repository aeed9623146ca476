#include "ui/Commands.h"

#include "platform/Text.h"
#include "ui/BaseWindow.h"

Command MenuCommand(WORD id, std::string_view caption, int keys, std::function<void()> run,
                    std::function<bool()> enabled) {
  Command command;
  command.id = id;
  command.caption = caption;
  command.keys = keys;
  command.run = std::move(run);
  command.enabled = std::move(enabled);
  return command;
}

Command ButtonCommand(WORD id, WORD standsFor, int bitmap, std::function<void()> run) {
  Command command;
  command.id = id;
  command.standsFor = standsFor;
  command.bitmap = bitmap;
  command.run = std::move(run);
  return command;
}

namespace {

std::string CaptionOf(const Command& command) {
  return command.captionNow ? command.captionNow() : std::string(command.caption);
}

}  // namespace

const Command* CommandTable::Find(WORD id) const {
  for (const Command& command : commands_)
    if (command.id == id) return &command;
  return nullptr;
}

const Command& CommandTable::RuleOf(const Command& command) const {
  const Command* menu = command.standsFor != 0 ? Find(command.standsFor) : nullptr;
  return menu != nullptr ? *menu : command;
}

MenuHandle CommandTable::CreateMenuBar(const std::vector<MenuArgs>& menus) const {
  MenuHandle bar(CreateMenu());
  if (!bar) ThrowWindowNotCreated();
  for (const MenuArgs& menu : menus) {
    MenuHandle popup(CreatePopupMenu());
    if (!popup) ThrowWindowNotCreated();
    for (const WORD id : menu.items) {
      const Command* command = id != 0 ? Find(id) : nullptr;
      const BOOL appended =
          command == nullptr
              ? AppendMenuW(popup.get(), MF_SEPARATOR, 0, nullptr)
              : AppendMenuW(popup.get(), MF_STRING | (Enabled(id) ? MF_ENABLED : MF_GRAYED), id,
                            Widen(MenuItemText(CaptionOf(*command), command->keys)).c_str());
      if (!appended) ThrowWindowNotCreated();
    }
    if (!AppendMenuW(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()), Widen(menu.caption).c_str()))
      ThrowWindowNotCreated();
    popup.release();  // once on the bar, the popup belongs to the bar and goes with it
  }
  return bar;
}

AcceleratorHandle CommandTable::CreateShortcuts() const {
  std::vector<ACCEL> table;
  for (const Command& command : commands_) {
    for (const int keys : {command.keys, command.otherKeys}) {
      if (keys == 0) continue;
      BYTE flags = FVIRTKEY;
      if (keys & ShortcutCtrl) flags |= FCONTROL;
      if (keys & ShortcutShift) flags |= FSHIFT;
      table.push_back(ACCEL{flags, static_cast<WORD>(keys & 0xFF), command.id});
    }
  }
  AcceleratorHandle accelerators(CreateAcceleratorTableW(table.data(), static_cast<int>(table.size())));
  if (!accelerators) ThrowWindowNotCreated();
  return accelerators;
}

std::vector<ToolBar::ButtonArgs> CommandTable::ToolButtons(std::initializer_list<WORD> ids) const {
  std::vector<ToolBar::ButtonArgs> buttons;
  for (const WORD id : ids) {
    const Command* button = Find(id);
    if (button == nullptr) continue;
    const Command& rule = RuleOf(*button);
    buttons.push_back({id, button->bitmap, Widen(ToolTipText(rule.caption, rule.keys)), Enabled(id)});
  }
  return buttons;
}

bool CommandTable::Enabled(WORD id) const {
  const Command* command = Find(id);
  if (command == nullptr || !command->run) return false;
  const Command& rule = RuleOf(*command);
  return !rule.enabled || rule.enabled();
}

bool CommandTable::Run(WORD id) const {
  const Command* command = Find(id);
  if (command == nullptr) return false;
  if (Enabled(id)) command->run();
  return true;
}

bool CommandTable::RunKeys(int keys) const {
  for (const Command& command : commands_)
    if (command.keys == keys || command.otherKeys == keys) return Run(command.id);
  return false;
}

void CommandTable::ShowStates(HMENU menu, ToolBar* toolBar) const {
  for (const Command& command : commands_) {
    if (command.standsFor != 0) {
      if (toolBar != nullptr) toolBar->SetButtonEnabled(command.id, Enabled(command.id));
      continue;
    }
    if (menu == nullptr || (command.caption.empty() && !command.captionNow)) continue;
    SetMenuItemEnabled(menu, command.id, Enabled(command.id));
    if (command.checked) CheckMenuItem(menu, command.id, MF_BYCOMMAND | (command.checked() ? MF_CHECKED : MF_UNCHECKED));
    if (!command.captionNow) continue;
    const std::wstring caption = Widen(MenuItemText(command.captionNow(), command.keys));
    if (MenuItemCaption(menu, command.id) != caption) SetMenuItemCaption(menu, command.id, caption);
  }
}

bool MenuItemEnabled(HMENU menu, WORD id) {
  const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

void SetMenuItemEnabled(HMENU menu, WORD id, bool enabled) {
  if (MenuItemEnabled(menu, id) != enabled) EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void SetMenuItemCaption(HMENU menu, WORD id, const std::wstring& text) {
  MENUITEMINFOW item{};
  item.cbSize = sizeof(item);
  item.fMask = MIIM_STRING;
  item.dwTypeData = const_cast<wchar_t*>(text.c_str());
  SetMenuItemInfoW(menu, id, FALSE, &item);
}

std::wstring MenuItemCaption(HMENU menu, WORD id) {
  wchar_t text[256] = {};
  GetMenuStringW(menu, id, text, 256, MF_BYCOMMAND);
  return text;
}
