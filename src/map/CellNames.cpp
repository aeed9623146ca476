#include "map/CellNames.h"

#include <cstdio>

#include "map/HexGrid.h"
#include "map/MapFile.h"
#include "map/TextEncoding.h"

std::string CellName(int offset) {
  const GridCell cell = OffsetToCell(offset);
  return std::to_string(cell.column) + ":" + std::to_string(cell.row);
}

std::string PositionText(GridCell cell) { return std::to_string(cell.column) + " : " + std::to_string(cell.row); }

std::string CodeName(TerrainCode code) { return std::string(GlyphOf(code)) + " (" + std::to_string(code) + ")"; }

std::string HexNumberText(int value) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(value));
  return hex;
}

std::string OffsetText(int offset) { return "0x" + HexNumberText(offset) + " " + std::to_string(offset); }

std::optional<long> ReadWholeNumber(std::string_view text, long limit, bool hexadecimalAllowed) {
  int base = 10;
  if (hexadecimalAllowed && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  long value = 0;
  for (char c : text) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return std::nullopt;
    value = value * base + digit;
    if (value > limit) return limit + 1;
  }
  return value;
}

namespace {

// The full-width characters of a cell's name as their ASCII ones; any other
// double-byte character stays, as two bytes no reader takes.
std::string AsciiOfFullWidth(std::string_view shiftJis) {
  std::string ascii;
  for (std::size_t i = 0; i < shiftJis.size(); ++i) {
    const auto lead = static_cast<unsigned char>(shiftJis[i]);
    if (!IsShiftJisLeadByte(lead) || i + 1 == shiftJis.size()) {
      ascii += shiftJis[i];
      continue;
    }
    const auto trail = static_cast<unsigned char>(shiftJis[++i]);
    char same = 0;
    if (lead == 0x82 && trail >= 0x4F && trail <= 0x58) same = static_cast<char>('0' + (trail - 0x4F));
    if (lead == 0x82 && trail >= 0x60 && trail <= 0x79) same = static_cast<char>('A' + (trail - 0x60));
    if (lead == 0x82 && trail >= 0x81 && trail <= 0x9A) same = static_cast<char>('a' + (trail - 0x81));
    if (lead == 0x81 && trail == 0x40) same = ' ';
    if (lead == 0x81 && trail == 0x46) same = ':';
    if (lead == 0x81 && trail == 0x97) same = '@';
    if (same != 0) {
      ascii += same;
    } else {
      ascii += static_cast<char>(lead);
      ascii += static_cast<char>(trail);
    }
  }
  return ascii;
}

std::string_view WithoutSpaces(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

CellReading ReadCellName(std::string_view shiftJis) {
  using Result = CellReading::Result;
  const std::string ascii = AsciiOfFullWidth(shiftJis);
  const std::string_view text = WithoutSpaces(ascii);
  CellReading reading;
  if (!text.empty() && text[0] == '@') {
    const auto offset = ReadWholeNumber(WithoutSpaces(text.substr(1)), MapSize);
    if (!offset) return reading;
    if (*offset >= MapSize) {
      reading.result = Result::OffsetOutside;
      return reading;
    }
    reading.result = Result::Cell;
    reading.cell = OffsetToCell(static_cast<int>(*offset));
    return reading;
  }
  const auto colon = text.find(':');
  if (colon == std::string_view::npos) return reading;
  const auto column = ReadWholeNumber(WithoutSpaces(text.substr(0, colon)), LastGridColumn, false);
  const auto row = ReadWholeNumber(WithoutSpaces(text.substr(colon + 1)), LastGridRow, false);
  if (!column || !row) return reading;
  if (*column < 1 || *column > LastGridColumn || *row < 1 || *row > LastGridRow) {
    reading.result = Result::CellOutside;
    return reading;
  }
  reading.result = Result::Cell;
  reading.cell = GridCell{static_cast<int>(*column), static_cast<int>(*row)};
  return reading;
}
