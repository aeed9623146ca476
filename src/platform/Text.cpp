#include "platform/Text.h"

#include <windows.h>

namespace {
constexpr UINT ShiftJis = 932;
}

std::wstring Widen(std::string_view shiftJis) {
  if (shiftJis.empty()) return {};
  const int size = static_cast<int>(shiftJis.size());
  const int length = MultiByteToWideChar(ShiftJis, 0, shiftJis.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(ShiftJis, 0, shiftJis.data(), size, wide.data(), length);
  return wide;
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
