#pragma once
// Owners of Windows handles and GDI state, so that every path out of a
// function, an exception's too, gives back what it took: a paint ends, a
// device context is released, a selected object is put back, a handle is
// destroyed.

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <type_traits>

// BeginPaint .. EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintScope() { EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;

  HDC Dc() const { return dc_; }
  const RECT& Area() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// GetDC .. ReleaseDC; a null window is the screen.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// SelectObject, and the previous object back at the end.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

namespace handle_detail {
struct DeleteGdiObject {
  void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
struct DestroyIconHandle {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct DestroyImageList {
  void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};
struct DestroyAccelerators {
  void operator()(HACCEL table) const { DestroyAcceleratorTable(table); }
};
struct DestroyMenuHandle {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct DeleteMemoryDc {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
}  // namespace handle_detail

template <typename Handle, typename Deleter>
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<Handle>, Deleter>;

using FontHandle = UniqueHandle<HFONT, handle_detail::DeleteGdiObject>;
using BrushHandle = UniqueHandle<HBRUSH, handle_detail::DeleteGdiObject>;
using PenHandle = UniqueHandle<HPEN, handle_detail::DeleteGdiObject>;
using BitmapHandle = UniqueHandle<HBITMAP, handle_detail::DeleteGdiObject>;
using RegionHandle = UniqueHandle<HRGN, handle_detail::DeleteGdiObject>;
using IconHandle = UniqueHandle<HICON, handle_detail::DestroyIconHandle>;
using ImageListHandle = UniqueHandle<HIMAGELIST, handle_detail::DestroyImageList>;
using AcceleratorHandle = UniqueHandle<HACCEL, handle_detail::DestroyAccelerators>;
using MenuHandle = UniqueHandle<HMENU, handle_detail::DestroyMenuHandle>;
using MemoryDcHandle = UniqueHandle<HDC, handle_detail::DeleteMemoryDc>;
