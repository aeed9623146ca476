#include "ui/Fonts.h"

#include <string>

#include "platform/Text.h"
#include "ui/Dpi.h"
#include "ui/Layout.h"

const std::string_view WindowFontName = "ＭＳ Ｐゴシック";
const std::string_view FixedFontName = "ＭＳ ゴシック";

HFONT CreateShiftJisFont(std::string_view faceName, int pixelsHigh, int weight, BYTE pitchAndFamily) {
  LOGFONTW font{};
  font.lfHeight = -Scale(pixelsHigh);  // the character height, without internal leading
  font.lfWeight = weight;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfPitchAndFamily = pitchAndFamily;
  const std::wstring face = Widen(faceName);
  face.copy(font.lfFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}

HFONT DefaultWindowFont() {
  static const HFONT font = CreateShiftJisFont(WindowFontName, Layout::FontHeight);
  return font;
}
