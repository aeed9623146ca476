#include "Pictures.h"

#include "Canvas.h"
#include "WindowsImages.h"
#include "resources/Resources.h"

namespace {

constexpr Rgba Black = Opaque(0, 0, 0);
constexpr Rgba SignOrange = Opaque(0xFF, 0x8C, 0x00);

void DrawSign(Canvas& canvas) {
  // The outline is an octagon close to a diamond: real signs have rounded corners.
  canvas.FillPolygon({P(14.8, 0.4), P(17.2, 0.4), P(31.6, 14.8), P(31.6, 17.2), P(17.2, 31.6), P(14.8, 31.6),
                      P(0.4, 17.2), P(0.4, 14.8)},
                     Black);
  canvas.FillPolygon({P(16, 2.6), P(29.4, 16), P(16, 29.4), P(2.6, 16)}, SignOrange);
}

// The worker leans forward over his shovel, whose blade is in the heap.
void DrawWorker(Canvas& canvas) {
  canvas.FillPolygon({P(17, 22.2), P(17.6, 20.6), P(18.6, 19.4), P(20, 18.7), P(21.4, 18.9), P(22.6, 19.8),
                      P(23.3, 21), P(23.6, 22.2)},
                     Black);  // the heap
  canvas.FillEllipse(P(14.0, 7.9), Px(2.1), Px(2.1), Black);  // the head
  canvas.StrokeLine(P(12.8, 12.1), P(10.6, 16.2), Px(1.6), Black);  // the body
  canvas.StrokeLine(P(10.4, 16.4), P(8.9, 21.8), Px(0.85), Black);  // the back leg
  canvas.StrokeLine(P(10.8, 16.6), P(13.6, 18.2), Px(0.85), Black);  // the front leg, bent
  canvas.StrokeLine(P(13.6, 18.2), P(14.0, 21.8), Px(0.85), Black);
  canvas.StrokeLine(P(13.2, 11.6), P(16.6, 12.8), Px(0.75), Black);  // the arms, to the handle
  canvas.StrokeLine(P(12.4, 12.6), P(17.8, 14.8), Px(0.75), Black);
  canvas.StrokeLine(P(15.4, 10.2), P(19.9, 18.6), Px(0.68), Black);  // the shovel: handle and blade
  canvas.FillPolygon({P(18.9, 17.8), P(21.0, 17.4), P(21.5, 20.3), P(19.9, 21.3)}, Black);
}

constexpr Rgba ArrowGreen = Opaque(0x10, 0x88, 0x20);
constexpr Rgba FolderDark = Opaque(0x80, 0x60, 0x00);
constexpr Rgba FolderBack = Opaque(0xE0, 0xB0, 0x20);
constexpr Rgba FolderFront = Opaque(0xFF, 0xE0, 0x60);

void DrawFolder(Canvas& canvas) {
  // Back wall with its tab.
  canvas.FillPolygon({P(0, 6), P(1, 5), P(5, 5), P(6, 6), P(11, 6), P(11, 15), P(0, 15)}, FolderDark);
  canvas.FillPolygon({P(1, 7), P(5, 7), P(5.5, 7.5), P(10, 7.5), P(10, 14), P(1, 14)}, FolderBack);
  // Front flap, opened towards the viewer.
  canvas.FillPolygon({P(3, 9), P(16, 9), P(13, 15), P(0, 15)}, FolderDark);
  canvas.FillPolygon({P(3.7, 10), P(14.4, 10), P(12.4, 14), P(1.6, 14)}, FolderFront);
}

// Out of the folder, over to the right and down: the arrow of opening.
void DrawCurvedArrow(Canvas& canvas) {
  canvas.FillArc(P(11, 6.5), Px(2.2), Px(3.9), P(-1, 0), P(1, 0), ArrowGreen);
  canvas.FillPolygon({P(11.9, 6), P(16, 6), P(13.95, 9)}, ArrowGreen);
}

constexpr Rgba DiskBody = Opaque(0x20, 0x30, 0x80);
constexpr Rgba DiskEdge = Opaque(0x10, 0x10, 0x40);
constexpr Rgba Shutter = Opaque(0xC8, 0xC8, 0xD0);
constexpr Rgba LabelWhite = Opaque(0xFF, 0xFF, 0xFF);
constexpr Rgba LabelLine = Opaque(0x90, 0x90, 0xA0);

void DrawFloppy(Canvas& canvas) {
  canvas.FillPolygon({P(1, 1), P(13.5, 1), P(15, 2.5), P(15, 15), P(1, 15)}, DiskEdge);
  canvas.FillPolygon({P(2, 2), P(13, 2), P(14, 3), P(14, 14), P(2, 14)}, DiskBody);
  canvas.FillRectangle(P(4, 1), P(12, 6), Shutter);
  canvas.FillRectangle(P(9, 2), P(11, 5), DiskEdge);
  canvas.FillRectangle(P(3, 8), P(13, 14), LabelWhite);
  canvas.FillRectangle(P(4, 10), P(12, 11), LabelLine);
  canvas.FillRectangle(P(4, 12), P(12, 13), LabelLine);
}

constexpr Rgba PointerWhite = Opaque(0xFF, 0xFF, 0xFF);
constexpr Rgba RoadBrown = Opaque(0x8B, 0x5A, 0x2B);
constexpr Rgba Handle = Opaque(0xC0, 0x80, 0x30);
constexpr Rgba Ferrule = Opaque(0xA0, 0xA0, 0xA8);
constexpr Rgba EraserPink = Opaque(0xF0, 0x90, 0xA8);
constexpr Rgba EraserSleeve = Opaque(0x30, 0x60, 0xC0);

// The arrow of the system's pointer: white with a black edge.
void DrawPointer(Canvas& canvas) {
  canvas.FillPolygon({P(3, 1), P(12, 10), P(8, 10.5), P(10.5, 15), P(8.5, 16), P(6.2, 11.5), P(3, 14)}, Black);
  canvas.FillPolygon({P(4, 3.4), P(9.8, 9.2), P(6.6, 9.6), P(9.2, 14.4), P(8.9, 14.6), P(6.4, 10), P(4, 11.8)},
                     PointerWhite);
}

// A brush leaning to the right, drawing a road that runs away to the left.
void DrawBrush(Canvas& canvas) {
  canvas.StrokeLine(P(0.5, 14.5), P(6.5, 11), Px(1.2), RoadBrown);  // the road laid
  canvas.StrokeLine(P(9, 7), P(15.2, 0.8), Px(1.1), Handle);
  canvas.FillPolygon({P(7.2, 6.6), P(9.4, 8.8), P(8.6, 9.6), P(6.4, 7.4)}, Ferrule);
  canvas.FillPolygon({P(6.4, 7.4), P(8.6, 9.6), P(6, 12.6), P(3.8, 11.8), P(4.4, 9.8)}, RoadBrown);  // the bristles
}

// An eraser with its sleeve, slanted, and a rubbed-out stretch before it.
void DrawEraser(Canvas& canvas) {
  canvas.FillPolygon({P(1, 10), P(8, 3), P(12, 7), P(5, 14)}, Black);
  canvas.FillPolygon({P(2.4, 10), P(8, 4.4), P(10.6, 7), P(5, 12.6)}, EraserPink);
  canvas.FillPolygon({P(8, 3), P(11, 0), P(15, 4), P(12, 7)}, Black);
  canvas.FillPolygon({P(9.4, 3), P(11, 1.4), P(13.6, 4), P(12, 5.6)}, EraserSleeve);
  canvas.FillRectangle(P(6, 15), P(16, 16), RoadBrown);
}

}  // namespace

Image DrawSelectPicture() {
  Canvas canvas(16, 16);
  DrawPointer(canvas);
  return canvas.Resolve();
}

Image DrawBrushPicture() {
  Canvas canvas(16, 16);
  DrawBrush(canvas);
  return canvas.Resolve();
}

Image DrawEraserPicture() {
  Canvas canvas(16, 16);
  DrawEraser(canvas);
  return canvas.Resolve();
}

Image DrawProgramIcon() {
  Canvas canvas(32, 32);
  DrawSign(canvas);
  DrawWorker(canvas);
  return canvas.Resolve();
}

Image DrawOpenPicture() {
  Canvas canvas(16, 16);
  DrawFolder(canvas);
  DrawCurvedArrow(canvas);
  return canvas.Resolve();
}

Image DrawSavePicture() {
  Canvas canvas(16, 16);
  DrawFloppy(canvas);
  return canvas.Resolve();
}

Bytes ProgramIconFile() { return EncodeIcon256(DrawProgramIcon()); }
Bytes OpenBitmapFile() { return EncodeBitmap24(DrawOpenPicture(), FromColorRef(TOOLBAR_MASK_COLOUR)); }
Bytes SaveBitmapFile() { return EncodeBitmap24(DrawSavePicture(), FromColorRef(TOOLBAR_MASK_COLOUR)); }
Bytes SelectBitmapFile() { return EncodeBitmap24(DrawSelectPicture(), FromColorRef(TOOLBAR_MASK_COLOUR)); }
Bytes BrushBitmapFile() { return EncodeBitmap24(DrawBrushPicture(), FromColorRef(TOOLBAR_MASK_COLOUR)); }
Bytes EraserBitmapFile() { return EncodeBitmap24(DrawEraserPicture(), FromColorRef(TOOLBAR_MASK_COLOUR)); }
