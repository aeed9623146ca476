#pragma once
// A window's picture kept in memory: 8 bits a pixel in a palette, rows from
// the top, the size of the part that shows it. What changes is drawn into it
// at once and the window only blits it when exposed; scrolling moves its
// pixels as the window's move, so that only what comes into view is drawn.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "ui/Handles.h"

class BackBuffer {
 public:
  BackBuffer() = default;
  ~BackBuffer();
  BackBuffer(const BackBuffer&) = delete;
  BackBuffer& operator=(const BackBuffer&) = delete;

  // A new buffer of that size, its pixels undefined; none for an empty size.
  void Resize(int width, int height, const std::vector<RGBQUAD>& palette);
  void Forget();
  bool Ready() const { return bits_ != nullptr; }
  // The pixel at (x, y); rows are Stride() bytes apart.
  std::uint8_t* Pixel(int x, int y) const { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_ + x; }
  int Stride() const { return stride_; }
  // The pixels move by (dx, dy); what they leave keeps its old pixels, to
  // be drawn anew.
  void Shift(int dx, int dy);
  // Its rectangle `from` to `dc` at `to`.
  void Blit(HDC dc, POINT to, const RECT& from) const;

 private:
  BitmapHandle bitmap_;
  MemoryDcHandle dc_;
  HGDIOBJ dcDefault_ = nullptr;
  std::uint8_t* bits_ = nullptr;
  int stride_ = 0;
  SIZE size_{0, 0};
};
