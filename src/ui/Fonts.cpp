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
const FontSpec Window{WindowFontName, Layout::FontHeight, FW_NORMAL, VARIABLE_PITCH | FF_SWISS};
const FontSpec Fixed{FixedFontName, Layout::FontHeight, FW_NORMAL, FIXED_PITCH | FF_MODERN};
const FontSpec AboutTitle{WindowFontName, Layout::AboutTitleFontHeight, FW_BOLD};
const FontSpec AboutVersion{WindowFontName, Layout::FontHeight, FW_BOLD};
}  // namespace Fonts

namespace {

HFONT CreateShiftJisFont(const FontSpec& spec, int dpi) {
  LOGFONTW font{};
  font.lfHeight = -Scale(spec.pixelsHigh, dpi);  // the character height, without internal leading
  font.lfWeight = spec.weight;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfPitchAndFamily = spec.pitchAndFamily;
  const std::wstring face = Widen(spec.face);
  face.copy(font.lfFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}

}  // namespace

HFONT SharedFont(const FontSpec& spec, int dpi) {
  // One user interface thread: a plain static.
  using Key = std::tuple<std::string_view, int, int, BYTE, int>;
  static std::map<Key, HFONT> fonts;
  const Key key{spec.face, spec.pixelsHigh, spec.weight, spec.pitchAndFamily, dpi};
  const auto found = fonts.find(key);
  if (found != fonts.end()) return found->second;
  const HFONT font = CreateShiftJisFont(spec, dpi);
  if (font != nullptr) fonts.emplace(key, font);
  return font;
}

HFONT DefaultWindowFont() { return SharedFont(Fonts::Window, SystemDpi()); }
