#pragma once
// Every size of the layout is given in pixels at 96 dots per inch and goes
// through Scale() on its way to the screen, at the DPI of the window it is
// for. The program is aware of each monitor's DPI (see its manifest): a
// window learns its own at creation and again from WM_DPICHANGED.

#include <windows.h>

constexpr int BaseDpi = 96;

// The DPI of the screen as the system reports it at start.
int SystemDpi();
// The DPI of the monitor a window is on, where the system tells it per
// window (Windows 10 1607 and later); the system DPI elsewhere.
int WindowDpi(HWND window);

constexpr int Scale(int pixelsAt96, int dpi) {
  return (pixelsAt96 * dpi + (pixelsAt96 >= 0 ? BaseDpi / 2 : -BaseDpi / 2)) / BaseDpi;
}

// At the system DPI.
inline int Scale(int pixelsAt96) { return Scale(pixelsAt96, SystemDpi()); }
