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

// The files as the resource script takes them (Valtea.ico, Open.bmp, Save.bmp).
Bytes ProgramIconFile();
Bytes OpenBitmapFile();
Bytes SaveBitmapFile();
