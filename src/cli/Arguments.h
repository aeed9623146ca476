#pragma once
// Reading valtea-map's arguments: cells, codes, numbers and options. Failures
// throw ArgumentError, whose text names the argument.

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "map/PathText.h"
#include "map/TerrainCodes.h"

class ArgumentError : public std::runtime_error {
 public:
  explicit ArgumentError(PathText text);
  const PathText& Text() const { return text_; }

 private:
  PathText text_;
};

// The ASCII characters of an argument; others become '?'.
std::string AsciiOf(const MapPath& argument);

// "COLUMN:ROW" as the editor's position label shows it, or "@OFFSET" in
// decimal or 0x hexadecimal. Returns the map offset.
int ParseCell(const MapPath& argument);

// A whole number in decimal, or in hexadecimal after "0x"; numbers above
// `limit` come back as limit + 1, anything else as none.
std::optional<long> WholeNumberOf(const MapPath& argument, long limit);

// A terrain code 0..255, in decimal or 0x hexadecimal.
TerrainCode ParseCode(const MapPath& argument);

// The words of a command line after the command: the plain ones in order,
// and the options that the command knows.
class CommandWords {
 public:
  CommandWords(const std::vector<MapPath>& words, const std::vector<std::string>& flags,
               const std::vector<std::string>& valued);
  const std::vector<MapPath>& Plain() const { return plain_; }
  bool Has(const std::string& flag) const;
  std::optional<MapPath> Value(const std::string& option) const;

 private:
  std::vector<MapPath> plain_;
  std::vector<std::string> flags_;
  std::vector<std::pair<std::string, MapPath>> values_;
};
