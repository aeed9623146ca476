#include "ui/WindowMap.h"

#include <unordered_map>

namespace {

// One user interface thread: a plain static.
std::unordered_map<HWND, WindowEntry>& Entries() {
  static std::unordered_map<HWND, WindowEntry> entries;
  return entries;
}

}  // namespace

WindowEntry* EntryOf(HWND window) {
  const auto found = Entries().find(window);
  return found != Entries().end() ? &found->second : nullptr;
}

WindowEntry& EntryFor(HWND window) { return Entries()[window]; }

void ForgetEmptyEntry(HWND window) {
  const auto found = Entries().find(window);
  if (found != Entries().end() && found->second.window == nullptr && found->second.control == nullptr &&
      found->second.original == nullptr)
    Entries().erase(found);
}
