#pragma once
// Every size of the layout is given in pixels at 96 dots per inch and goes
// through Scale() on its way to the screen.

int ScreenDpi();

inline int Scale(int pixelsAt96) {
  const int dpi = ScreenDpi();
  return (pixelsAt96 * dpi + (pixelsAt96 >= 0 ? 48 : -48)) / 96;
}
