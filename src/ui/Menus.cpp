#include "ui/Menus.h"

#include <string>

#include "platform/Text.h"
#include "ui/BaseWindow.h"

namespace {

void AppendItem(HMENU menu, const MenuItemArgs& item) {
  const BOOL appended =
      item.id == 0 ? AppendMenuW(menu, MF_SEPARATOR, 0, nullptr)
                   : AppendMenuW(menu, MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED), item.id,
                                 Widen(item.caption).c_str());
  if (!appended) ThrowWindowNotCreated();
}

}  // namespace

MenuHandle CreateMenuBar(const std::vector<PopupArgs>& popups) {
  MenuHandle bar(CreateMenu());
  if (!bar) ThrowWindowNotCreated();
  for (const PopupArgs& popupArgs : popups) {
    MenuHandle popup(CreatePopupMenu());
    if (!popup) ThrowWindowNotCreated();
    for (const MenuItemArgs& item : popupArgs.items) AppendItem(popup.get(), item);
    if (!AppendMenuW(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()), Widen(popupArgs.caption).c_str()))
      ThrowWindowNotCreated();
    popup.release();  // once on the bar, the popup belongs to the bar and goes with it
  }
  return bar;
}

AcceleratorHandle CreateShortcuts(const std::vector<ShortcutArgs>& shortcuts) {
  std::vector<ACCEL> table;
  for (const ShortcutArgs& shortcut : shortcuts) {
    BYTE flags = FVIRTKEY;
    if (shortcut.keys & ShortcutCtrl) flags |= FCONTROL;
    if (shortcut.keys & ShortcutShift) flags |= FSHIFT;
    table.push_back(ACCEL{flags, static_cast<WORD>(shortcut.keys & 0xFF), shortcut.id});
  }
  AcceleratorHandle accelerators(CreateAcceleratorTableW(table.data(), static_cast<int>(table.size())));
  if (!accelerators) ThrowWindowNotCreated();
  return accelerators;
}

bool MenuItemEnabled(HMENU menu, WORD id) {
  const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

void SetMenuItemEnabled(HMENU menu, WORD id, bool enabled) {
  EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void SetMenuItemCaption(HMENU menu, WORD id, std::string_view caption) {
  const std::wstring text = Widen(caption);
  MENUITEMINFOW item{};
  item.cbSize = sizeof(item);
  item.fMask = MIIM_STRING;
  item.dwTypeData = const_cast<wchar_t*>(text.c_str());
  SetMenuItemInfoW(menu, id, FALSE, &item);
}
