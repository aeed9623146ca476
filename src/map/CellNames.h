#pragma once
// How a cell, a code and an offset are named in text (Shift-JIS), as the
// editor shows them: COLUMN:ROW like its position label, so that every cell
// named anywhere can be found in the editor.

#include <string>

#include "map/TerrainCodes.h"

std::string CellName(int offset);        // "5:10"
std::string CodeName(TerrainCode code);  // "山 (2)"
std::string OffsetText(int offset);      // "0x12E 302"
