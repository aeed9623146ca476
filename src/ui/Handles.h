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

// A handle that gives itself back through `Free` when its owner goes.
template <auto Free>
struct FreeHandle {
  template <typename Handle>
  void operator()(Handle handle) const { Free(handle); }
};

template <typename Handle, auto Free>
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<Handle>, FreeHandle<Free>>;

using FontHandle = UniqueHandle<HFONT, DeleteObject>;
using BrushHandle = UniqueHandle<HBRUSH, DeleteObject>;
using PenHandle = UniqueHandle<HPEN, DeleteObject>;
using BitmapHandle = UniqueHandle<HBITMAP, DeleteObject>;
using RegionHandle = UniqueHandle<HRGN, DeleteObject>;
using IconHandle = UniqueHandle<HICON, DestroyIcon>;
using ImageListHandle = UniqueHandle<HIMAGELIST, ImageList_Destroy>;
using AcceleratorHandle = UniqueHandle<HACCEL, DestroyAcceleratorTable>;
using MenuHandle = UniqueHandle<HMENU, DestroyMenu>;
using MemoryDcHandle = UniqueHandle<HDC, DeleteDC>;
