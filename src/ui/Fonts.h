#pragma once
// The program's two typefaces, with the Shift-JIS character set so that the
// font mapper picks a Japanese stand-in where they are not installed.

#include <windows.h>

#include <string_view>

extern const std::string_view WindowFontName;  // "ＭＳ Ｐゴシック", proportional
extern const std::string_view FixedFontName;   // "ＭＳ ゴシック", for the offsets

// pixelsHigh is at 96 dots per inch; the caller deletes the font.
HFONT CreateShiftJisFont(std::string_view faceName, int pixelsHigh, int weight = FW_NORMAL,
                         BYTE pitchAndFamily = DEFAULT_PITCH | FF_DONTCARE);

// "ＭＳ Ｐゴシック" at the program's size, made once and kept for the whole
// run, for controls that were given no font.
HFONT DefaultWindowFont();
