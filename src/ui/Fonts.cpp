#include "ui/Fonts.h"

#include <map>
#include <string>
#include <tuple>

#include "platform/Text.h"
#include "ui/Dpi.h"
#include "ui/Layout.h"

const std::string_view WindowFontName = "ＭＳ Ｐゴシック";
const std::string_view FixedFontName = "ＭＳ ゴシック";

namespace Fonts {
const FontKind Window{WindowFontName, Layout::FontHeight, FW_NORMAL, VARIABLE_PITCH | FF_SWISS};
const FontKind Fixed{FixedFontName, Layout::FontHeight, FW_NORMAL, FIXED_PITCH | FF_MODERN};
const FontKind AboutTitle{WindowFontName, Layout::AboutTitleFontHeight, FW_BOLD};
const FontKind AboutVersion{WindowFontName, Layout::FontHeight, FW_BOLD};
}  // namespace Fonts

namespace {

HFONT CreateShiftJisFont(const FontKind& kind, int dpi) {
  LOGFONTW font{};
  font.lfHeight = -Scale(kind.pixelsHigh, dpi);  // the character height, without internal leading
  font.lfWeight = kind.weight;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfPitchAndFamily = kind.pitchAndFamily;
  const std::wstring face = Widen(kind.face);
  face.copy(font.lfFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}

}  // namespace

HFONT SharedFont(const FontKind& kind, int dpi) {
  // One user interface thread: a plain static.
  using Key = std::tuple<std::string_view, int, int, BYTE, int>;
  static std::map<Key, HFONT> fonts;
  const Key key{kind.face, kind.pixelsHigh, kind.weight, kind.pitchAndFamily, dpi};
  const auto found = fonts.find(key);
  if (found != fonts.end()) return found->second;
  const HFONT font = CreateShiftJisFont(kind, dpi);
  if (font != nullptr) fonts.emplace(key, font);
  return font;
}

HFONT DefaultWindowFont() { return SharedFont(Fonts::Window, SystemDpi()); }
