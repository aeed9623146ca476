#pragma once
// The program's pictures, drawn from simple shapes: the program icon and the
// two toolbar images.

#include "picture/Image.h"
#include "picture/Png.h"

// 32 x 32: an orange diamond road-works sign with a black border and a black
// worker digging with a shovel beside a small heap; transparent around it.
Image DrawProgramIcon();
// 16 x 16: an opened yellow folder with a small curved arrow above it.
Image DrawOpenPicture();
// 16 x 16: a floppy disk.
Image DrawSavePicture();

// 16 x 16, the picture window's tools: the pointer of selecting, a brush
// laying a brown road, a pink eraser.
Image DrawSelectPicture();
Image DrawBrushPicture();
Image DrawEraserPicture();

// The files as the resource script takes them (Valtea.ico, Open.bmp, Save.bmp,
// Select.bmp, Brush.bmp, Eraser.bmp).
Bytes ProgramIconFile();
Bytes OpenBitmapFile();
Bytes SaveBitmapFile();
Bytes SelectBitmapFile();
Bytes BrushBitmapFile();
Bytes EraserBitmapFile();
