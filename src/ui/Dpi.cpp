#include "ui/Dpi.h"

#include <windows.h>

int ScreenDpi() {
  // The program is system-DPI aware (see its manifest): one DPI for the run.
  static const int dpi = [] {
    HDC screen = GetDC(nullptr);
    const int value = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return value > 0 ? value : 96;
  }();
  return dpi;
}
