#pragma once
// Resource identifiers, shared by the resource script and the code.

#define IDI_PROGRAM 1
#define IDB_OPEN 101
#define IDB_SAVE 102
#define IDB_SELECT 103
#define IDB_BRUSH 104
#define IDB_ERASER 105

// The toolbar pictures (IDB_OPEN, IDB_SAVE) are 16 x 16 bitmaps of 24 bits per
// pixel whose transparent pixels are magenta. 24-bit bitmaps with a mask
// colour load the same way on every Windows version and under Wine: put them
// into an image list created with ILC_COLOR24 | ILC_MASK by
// ImageList_AddMasked(list, bitmap, TOOLBAR_MASK_COLOUR), which builds the
// mask and lets the greyed (disabled) images be drawn from it. Alpha-channel
// bitmaps would need a 32-bit image list and common controls 6 everywhere.
// The value is a COLORREF, RGB(255, 0, 255); the picture generator in tools/
// paints with the same value.
#define TOOLBAR_MASK_COLOUR 0x00FF00FFUL
