#include "map/CellNames.h"

#include <cstdio>

#include "map/HexGrid.h"

std::string CellName(int offset) {
  const GridCell cell = OffsetToCell(offset);
  return std::to_string(cell.column) + ":" + std::to_string(cell.row);
}

std::string CodeName(TerrainCode code) { return std::string(GlyphOf(code)) + " (" + std::to_string(code) + ")"; }

std::string OffsetText(int offset) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%X", static_cast<unsigned>(offset));
  return hex + (" " + std::to_string(offset));
}
