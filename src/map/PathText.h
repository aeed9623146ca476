#pragma once
// Texts that name a file. The program's own words are Shift-JIS, but a path
// the user picked on Windows may hold characters that code page 932 lacks, so
// the path is kept in UTF-16 until the text is shown.

#include <stdexcept>
#include <string>

// A file path as Windows names files: UTF-16 code units.
using MapPath = std::u16string;

struct PathText {
  std::string format;  // Shift-JIS; "%s", if present, stands for the path
  MapPath path;

  // The text with the path in place of "%s", for logs and test failure output:
  // ASCII path characters are kept, others become '?'.
  std::string Approximate() const;

  bool operator==(const PathText& other) const {
    return format == other.format && path == other.path;
  }
};

// A failed read or write of a map file. The message is the one the user sees.
class MapFileError : public std::runtime_error {
 public:
  explicit MapFileError(PathText text);
  const PathText& Text() const { return text_; }

 private:
  PathText text_;
};
