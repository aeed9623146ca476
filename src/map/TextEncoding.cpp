#include "map/TextEncoding.h"

#include <codecvt>
#include <locale>
#include <stdexcept>
#include <string_view>

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LeMark = "\xFF\xFE";
constexpr std::string_view Utf16BeMark = "\xFE\xFF";

}  // namespace

// The standard library's converter: deprecated since C++17, but still there
// in every library this builds with, and nothing else here converts UTF-16.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void ReplaceLoneSurrogates(std::u16string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      ++i;
    } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
      text[i] = u'\uFFFD';
    }
  }
}

}  // namespace

std::string Utf8FromUtf16(std::u16string text, LoneSurrogates lone) {
  if (lone == LoneSurrogates::Replace) ReplaceLoneSurrogates(text);
  std::wstring_convert<std::codecvt_utf8_utf16<char16_t>, char16_t> converter;
  try {
    return converter.to_bytes(text);
  } catch (const std::range_error&) {
    throw std::runtime_error("UTF-16 の文字が欠けています");
  }
}

MapPath Utf16FromUtf8(std::string_view text) {
  std::wstring_convert<std::codecvt_utf8_utf16<char16_t>, char16_t> converter;
  try {
    return converter.from_bytes(text.data(), text.data() + text.size());
  } catch (const std::range_error&) {
    return MapPath(u"?");
  }
}
#pragma GCC diagnostic pop

namespace {

// UTF-16 in either byte order: `high` is where the high byte of a unit stands.
std::string Utf8FromUtf16Bytes(std::string_view bytes, std::size_t high) {
  if (bytes.size() % 2 != 0) throw std::runtime_error("UTF-16 の文字が欠けています");
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i + 1 - high]) |
                                     static_cast<unsigned char>(bytes[2 * i + high]) << 8);
  return Utf8FromUtf16(units);
}

}  // namespace

std::string TextWithoutByteOrderMark(const std::vector<std::uint8_t>& bytes) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (text.substr(0, Utf8Mark.size()) == Utf8Mark) return std::string(text.substr(Utf8Mark.size()));
  if (text.substr(0, Utf16LeMark.size()) == Utf16LeMark) return Utf8FromUtf16Bytes(text.substr(Utf16LeMark.size()), 1);
  if (text.substr(0, Utf16BeMark.size()) == Utf16BeMark) return Utf8FromUtf16Bytes(text.substr(Utf16BeMark.size()), 0);
  return std::string(text);
}
