#pragma once
// The program's typefaces, with the Shift-JIS character set so that the font
// mapper picks a Japanese stand-in where they are not installed. Fonts are
// shared resources: one font per kind and DPI, made when first asked for and
// kept for the whole run, so no window owns one or depends on the order in
// which its parts go.

#include <windows.h>

#include <string_view>

extern const std::string_view WindowFontName;  // "ＭＳ Ｐゴシック", proportional
extern const std::string_view FixedFontName;   // "ＭＳ ゴシック", for the offsets

// A kind of font; its height is in pixels at 96 dots per inch.
struct FontKind {
  std::string_view face;
  int pixelsHigh;
  int weight = FW_NORMAL;
  BYTE pitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
};

namespace Fonts {
extern const FontKind Window;        // the windows' font, and their controls'
extern const FontKind Fixed;         // the offsets
extern const FontKind AboutTitle;    // the program's name in the About box
extern const FontKind AboutVersion;  // its version there
}  // namespace Fonts

// The shared font of that kind at that DPI. Never deleted by the caller.
HFONT SharedFont(const FontKind& kind, int dpi);

// The windows' font at the system DPI, for controls that were given none.
HFONT DefaultWindowFont();
