#include "platform/Text.h"

#include <windows.h>

#include <array>
#include <vector>

namespace {

constexpr UINT ShiftJis = 932;

// What code page 932 makes of each character, filled in as characters are
// first met. Zero: not asked yet, or not one character.
class CharacterTable {
 public:
  CharacterTable() : pairs_(0x10000, 0) {
    for (int byte = 0x80; byte < 0x100; ++byte) leads_[byte] = IsDBCSLeadByteEx(ShiftJis, static_cast<BYTE>(byte)) != 0;
  }
  bool IsLead(unsigned char byte) const { return leads_[byte]; }
  wchar_t Single(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (singles_[byte] == 0) singles_[byte] = Converted(reinterpret_cast<const char*>(&byte), 1);
    return singles_[byte];
  }
  wchar_t Pair(unsigned char lead, unsigned char trail) {
    wchar_t& known = pairs_[lead << 8 | trail];
    if (known == 0) {
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      known = Converted(pair, 2);
    }
    return known;
  }

 private:
  static wchar_t Converted(const char* bytes, int size) {
    wchar_t wide[2] = {};
    return MultiByteToWideChar(ShiftJis, 0, bytes, size, wide, 2) == 1 ? wide[0] : 0;
  }

  std::array<bool, 256> leads_{};
  std::array<wchar_t, 256> singles_{};
  std::vector<wchar_t> pairs_;
};

}  // namespace

std::wstring Widen(std::string_view shiftJis) {
  if (shiftJis.empty()) return {};
  const int size = static_cast<int>(shiftJis.size());
  const int length = MultiByteToWideChar(ShiftJis, 0, shiftJis.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(ShiftJis, 0, shiftJis.data(), size, wide.data(), length);
  return wide;
}

void WidenInto(std::string_view shiftJis, std::wstring& wide) {
  static CharacterTable table;
  wide.resize(shiftJis.size());  // never more characters than bytes
  std::size_t length = 0;
  for (std::size_t i = 0; i < shiftJis.size(); ++i) {
    const auto byte = static_cast<unsigned char>(shiftJis[i]);
    const wchar_t character = table.IsLead(byte) && i + 1 < shiftJis.size()
                                  ? table.Pair(byte, static_cast<unsigned char>(shiftJis[++i]))
                                  : table.Single(byte);
    // A character the table cannot hold (a broken pair, say): the system converts the whole text.
    if (character == 0 && byte != 0) {
      wide = Widen(shiftJis);
      return;
    }
    wide[length++] = character;
  }
  wide.resize(length);
}

std::string Narrow(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(ShiftJis, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(ShiftJis, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

std::wstring Widen(const PathText& text) {
  return text.Expand<std::wstring>([](std::string_view piece) { return Widen(piece); }, WideFromPath);
}

std::wstring WideFromPath(const MapPath& path) { return std::wstring(path.begin(), path.end()); }

MapPath PathFromWide(std::wstring_view path) { return MapPath(path.begin(), path.end()); }
