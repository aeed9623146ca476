#pragma once
// How a cell, a code and an offset are named in text (Shift-JIS), and how
// a named cell is read back: COLUMN:ROW, the position label's numbers
// without its spaces ("5:10" where the label shows "5 : 10"), so that every
// cell named anywhere can be found in the editor.

#include <optional>
#include <string>
#include <string_view>

#include "map/HexGrid.h"
#include "map/TerrainCodes.h"

std::string CellName(int offset);        // "5:10"
std::string PositionText(GridCell cell); // "5 : 10", as the position label shows it
std::string CodeName(TerrainCode code);  // "山 (2)"
std::string OffsetText(int offset);      // "0x12E 302"
std::string HexNumberText(int value);    // "12E"

// A whole number in decimal, or in hexadecimal after "0x" where allowed;
// nothing else. Numbers above `limit` come back as limit + 1.
std::optional<long> ReadWholeNumber(std::string_view text, long limit, bool hexadecimalAllowed = true);

// A cell as a player writes it: "COLUMN:ROW" with or without spaces around
// the colon ("19:30", "19 : 30"), or "@" and a map offset in decimal or
// 0x hexadecimal ("@302", "@0x12E"). The full-width digits, letters, colon,
// at sign and space a Japanese input method types count as their ASCII ones.
struct CellReading {
  enum class Result { Cell, Unreadable, CellOutside, OffsetOutside };
  Result result = Result::Unreadable;
  GridCell cell{};  // for Cell: the cell named, a placeholder cell too
};
CellReading ReadCellName(std::string_view shiftJis);
