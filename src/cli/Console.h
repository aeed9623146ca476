#pragma once
// Where valtea-map's texts go. The commands speak Shift-JIS like the editor,
// with paths in UTF-16; each platform turns that into what its terminal takes.

#include <string>
#include <string_view>

#include "map/PathText.h"

class Console {
 public:
  virtual ~Console() = default;
  // The program's own text, with the path in place of "%s" if there is one.
  virtual void Out(const PathText& text) = 0;
  virtual void Error(const PathText& text) = 0;
  // Text that is UTF-8 already (the map as text), passed on as it is.
  virtual void OutUtf8(std::string_view text) = 0;
  // The program's own text in UTF-8, for files that no shell stands between.
  virtual std::string Utf8Of(const PathText& text) = 0;
};
