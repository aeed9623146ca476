// The pictures as the program gets them: from its own module's resources,
// drawn by Windows (here Wine) with their transparency.

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include "resources/Resources.h"

namespace {

constexpr COLORREF Background = RGB(255, 0, 0);

// A small 32-bit drawing surface filled with the background colour.
class Surface {
 public:
  Surface(int width, int height) : dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    RECT all = {0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(Background);
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
  }
  ~Surface() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC Dc() const { return dc_; }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

bool IsOrange(COLORREF c) { return GetRValue(c) > 0xE0 && GetGValue(c) > 0x60 && GetGValue(c) < 0xB0 && GetBValue(c) < 0x40; }

TEST(ProgramIconResource, Loads32By32AndDrawsTransparentCorners) {
  HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, 32, 32, 0);
  ASSERT_NE(icon, nullptr);
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(static_cast<HICON>(icon), &info));
  BITMAP colour = {};
  GetObjectW(info.hbmColor, sizeof colour, &colour);
  EXPECT_EQ(colour.bmWidth, 32);
  EXPECT_EQ(colour.bmHeight, 32);
  EXPECT_NE(info.hbmMask, nullptr);

  Surface surface(32, 32);
  ASSERT_TRUE(DrawIconEx(surface.Dc(), 0, 0, static_cast<HICON>(icon), 32, 32, 0, nullptr, DI_NORMAL));
  for (auto [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}}) EXPECT_EQ(surface.At(x, y), Background) << x << ", " << y;
  EXPECT_TRUE(IsOrange(surface.At(16, 4))) << std::hex << surface.At(16, 4);
  EXPECT_EQ(surface.At(16, 0), RGB(0, 0, 0)) << "the black border";

  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyIcon(static_cast<HICON>(icon));
}

// The way the toolbar uses them: a masked image list built with the mask colour.
void ExpectMaskedToolbarBitmap(int id, int insideX, int insideY) {
  SCOPED_TRACE(id);
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
  ASSERT_NE(bitmap, nullptr);
  BITMAP size = {};
  GetObjectW(bitmap, sizeof size, &size);
  EXPECT_EQ(size.bmWidth, 16);
  EXPECT_EQ(size.bmHeight, 16);

  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(ImageList_AddMasked(list, bitmap, TOOLBAR_MASK_COLOUR), 0);
  Surface surface(16, 16);
  ASSERT_TRUE(ImageList_Draw(list, 0, surface.Dc(), 0, 0, ILD_TRANSPARENT));
  for (auto [x, y] : {std::pair{0, 0}, {15, 0}, {0, 15}, {15, 15}}) EXPECT_EQ(surface.At(x, y), Background) << x << ", " << y;
  COLORREF inside = surface.At(insideX, insideY);
  EXPECT_NE(inside, Background);
  EXPECT_NE(inside, static_cast<COLORREF>(TOOLBAR_MASK_COLOUR));
  ImageList_Destroy(list);
  DeleteObject(bitmap);
}

TEST(ToolbarBitmapResources, Load16By16AndDrawTransparentCorners) {
  ExpectMaskedToolbarBitmap(IDB_OPEN, 6, 12);
  ExpectMaskedToolbarBitmap(IDB_SAVE, 8, 3);
}

}  // namespace
