#pragma once
// The Linux terminal's side of valtea-map's texts: Shift-JIS (code page 932)
// into UTF-8, through iconv.

#include <iconv.h>

#include <string>
#include <string_view>

class ShiftJisToUtf8 {
 public:
  ShiftJisToUtf8();
  ~ShiftJisToUtf8();
  ShiftJisToUtf8(const ShiftJisToUtf8&) = delete;
  ShiftJisToUtf8& operator=(const ShiftJisToUtf8&) = delete;

  // A byte that is no Shift-JIS comes out as '?'; without iconv's tables for
  // CP932 the text comes back as it is.
  std::string Utf8Of(std::string_view shiftJis);

 private:
  iconv_t converter_;
};
