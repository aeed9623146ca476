#pragma once
// The map as text, for any text editor or spreadsheet: one line per map line,
// line 0 first, each the 151 codes of that line in decimal, separated by
// commas. Lines that start with '#' are comments.

#include <stdexcept>
#include <string>
#include <string_view>

#include "map/MapFile.h"

// UTF-8, LF line ends, one comment line first that says what the text is.
std::string MapToText(const MapImage& image);

// Where and why a text is no map. The message is Shift-JIS.
class MapTextError : public std::runtime_error {
 public:
  MapTextError(int line, int column, std::string message);
  int Line() const { return line_; }      // 1-based, counting every line
  int Column() const { return column_; }  // 1-based, in bytes

 private:
  int line_;
  int column_;
};

// Reads the whole text into the image, or throws MapTextError at the first
// fault and leaves the image as it was. Takes LF or CR LF line ends, a missing
// final line end and blanks (spaces, tabs) around numbers; refuses a wrong
// count of lines or values, values outside 0..255 and anything not a number.
void ParseMapText(std::string_view text, MapImage& image);
