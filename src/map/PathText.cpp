#include "map/PathText.h"

std::string PathText::Approximate() const {
  return Expand<std::string>([](std::string_view piece) { return std::string(piece); },
                             [](const MapPath& path) {
                               std::string ascii;
                               for (char16_t unit : path) ascii += unit < 0x80 ? static_cast<char>(unit) : '?';
                               return ascii;
                             });
}

MapFileError::MapFileError(PathText text, FileFailure reason)
    : std::runtime_error(text.Approximate()), text_(std::move(text)), reason_(reason) {}
