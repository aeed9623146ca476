#pragma once
// Why a patch cannot be read or applied. The message is Shift-JIS; the line
// is that of a text patch (1-based), 0 for the binary formats.

#include <stdexcept>
#include <string>

class PatchError : public std::runtime_error {
 public:
  explicit PatchError(const std::string& message, int line = 0) : std::runtime_error(message), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};
