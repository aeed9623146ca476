#include "map/PathText.h"

namespace {
constexpr std::string_view PathMark = "%s";
}

std::string PathText::Approximate() const {
  const auto mark = format.find(PathMark);
  if (mark == std::string::npos) return format;
  std::string result = format.substr(0, mark);
  for (char16_t unit : path) result += unit < 0x80 ? static_cast<char>(unit) : '?';
  result += format.substr(mark + PathMark.size());
  return result;
}

MapFileError::MapFileError(PathText text)
    : std::runtime_error(text.Approximate()), text_(std::move(text)) {}
