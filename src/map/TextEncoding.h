#pragma once
// Text files as players' tools write them: UTF-8 with or without a byte order
// mark (Excel's "CSV UTF-8" writes one), UTF-16LE with one (Windows
// PowerShell 5's ">"), UTF-16BE with one (Notepad's "UTF-16 BE"), or
// Shift-JIS (Notepad's "ANSI" on a Japanese Windows).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "map/PathText.h"

// The first byte of a double-byte Shift-JIS character; the second may be
// any byte, '\\' too.
constexpr bool IsShiftJisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The text without its byte order mark, UTF-16 turned into UTF-8; UTF-8
// and Shift-JIS come back as they are, since the readers only look at ASCII
// and at words whose bytes they know in both. Throws std::runtime_error
// (Shift-JIS message) for UTF-16 that is not whole.
std::string TextWithoutByteOrderMark(const std::vector<std::uint8_t>& bytes);

// UTF-16 and UTF-8 into each other. Utf8FromUtf16 throws std::runtime_error
// (Shift-JIS message) for a lone surrogate, or writes U+FFFD for it where
// asked (for text on its way to a screen: a Windows file name may hold
// one); Utf16FromUtf8 gives "?" for a text that is not UTF-8.
enum class LoneSurrogates { Refuse, Replace };
std::string Utf8FromUtf16(std::u16string text, LoneSurrogates lone = LoneSurrogates::Refuse);
MapPath Utf16FromUtf8(std::string_view text);
