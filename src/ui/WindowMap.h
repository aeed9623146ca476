#pragma once
// The one way from a window handle to what the program keeps for it: the
// object of a window of a class of its own (BaseWindow), the object of a
// control (Control), and for a standard control whose procedure is replaced,
// the procedure it had and what that replacement adds. A map in the process,
// not window properties: Wine asks its server for a property at every look-up.

#include <windows.h>

#include <string>

class BaseWindow;
class Control;

struct WindowEntry {
  BaseWindow* window = nullptr;
  Control* control = nullptr;
  WNDPROC original = nullptr;   // a subclassed control's own procedure
  std::wstring accessibleName;  // what a screen reader is told it is
};

// The entry of a window, or null.
WindowEntry* EntryOf(HWND window);
// The entry of a window, made where there is none.
WindowEntry& EntryFor(HWND window);
// Forgets the entry once nothing is kept in it.
void ForgetEmptyEntry(HWND window);
