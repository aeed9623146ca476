#include "ui/BackBuffer.h"

#include <cstdlib>
#include <cstring>

BackBuffer::~BackBuffer() { Forget(); }

void BackBuffer::Forget() {
  if (dc_ && dcDefault_ != nullptr) SelectObject(dc_.get(), dcDefault_);
  bitmap_.reset();
  bits_ = nullptr;
  size_ = {0, 0};
}

void BackBuffer::Resize(int width, int height, const std::vector<RGBQUAD>& palette) {
  Forget();
  if (width <= 0 || height <= 0) return;
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
  } info{};
  info.header.biSize = sizeof(info.header);
  info.header.biWidth = width;
  info.header.biHeight = -height;
  info.header.biPlanes = 1;
  info.header.biBitCount = 8;
  info.header.biCompression = BI_RGB;
  info.header.biClrUsed = static_cast<DWORD>(palette.size());
  std::memcpy(info.colours, palette.data(), std::min<std::size_t>(palette.size(), 256) * sizeof(RGBQUAD));
  void* bits = nullptr;
  bitmap_.reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_ || bits == nullptr) return;
  if (!dc_) dc_.reset(CreateCompatibleDC(nullptr));
  const HGDIOBJ previous = SelectObject(dc_.get(), bitmap_.get());
  if (dcDefault_ == nullptr) dcDefault_ = previous;
  bits_ = static_cast<std::uint8_t*>(bits);
  stride_ = (width + 3) & ~3;
  size_ = {width, height};
}

void BackBuffer::Shift(int dx, int dy) {
  if (bits_ == nullptr) return;
  const int width = size_.cx, height = size_.cy;
  if (std::abs(dx) >= width || std::abs(dy) >= height) return;
  const int rows = height - std::abs(dy), columns = width - std::abs(dx);
  // Rows are walked away from where they go, so none is overwritten before it moves.
  for (int index = 0; index < rows; ++index) {
    const int to = dy >= 0 ? height - 1 - index : index;
    std::memmove(Pixel(std::max(dx, 0), to), Pixel(std::max(-dx, 0), to - dy), static_cast<std::size_t>(columns));
  }
}

void BackBuffer::Blit(HDC dc, POINT to, const RECT& from) const {
  if (bits_ == nullptr) return;
  GdiFlush();
  BitBlt(dc, to.x, to.y, from.right - from.left, from.bottom - from.top, dc_.get(), from.left, from.top, SRCCOPY);
}
