#include "cli/ShiftJisToUtf8.h"

#include <cerrno>

namespace {

iconv_t Invalid() { return reinterpret_cast<iconv_t>(-1); }

}  // namespace

ShiftJisToUtf8::ShiftJisToUtf8() : converter_(iconv_open("UTF-8", "CP932")) {}

ShiftJisToUtf8::~ShiftJisToUtf8() {
  if (converter_ != Invalid()) iconv_close(converter_);
}

std::string ShiftJisToUtf8::Utf8Of(std::string_view shiftJis) {
  if (converter_ == Invalid()) return std::string(shiftJis);
  std::string input(shiftJis);
  std::string utf8(input.size() * 3 / 2 + 16, '\0');
  char* in = input.data();
  std::size_t inLeft = input.size();
  char* out = utf8.data();
  std::size_t outLeft = utf8.size();
  iconv(converter_, nullptr, nullptr, nullptr, nullptr);
  while (inLeft > 0 && iconv(converter_, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) {
    // E2BIG: the next character needs more room than is left, which may be
    // more than nothing, since one character takes up to three bytes.
    if (errno == E2BIG || outLeft == 0) {
      const std::size_t used = static_cast<std::size_t>(out - utf8.data());
      utf8.resize(utf8.size() * 2);
      out = utf8.data() + used;
      outLeft = utf8.size() - used;
      continue;
    }
    *out++ = '?';  // a byte that is no Shift-JIS, or a lead byte at the very end
    --outLeft;
    ++in;
    --inLeft;
  }
  utf8.resize(static_cast<std::size_t>(out - utf8.data()));
  return utf8;
}
