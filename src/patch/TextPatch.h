#pragma once
// The text patch: what `valtea-map diff` prints, one line per changed cell,
//   19:30 0x589 1417: ＼ (19) -> 平 (4)
// then the summary line "違うバイト: 1" ("違いはありません" for none). Lines
// that start with '#' are comments, for a modder to say what the mod does.
//
// It is applied three-way, cell by cell, so that it lands on a player's own
// map and not only on the map it was made from.

#include <string>
#include <string_view>
#include <vector>

#include "map/CellChange.h"
#include "map/MapFile.h"
#include "patch/PatchError.h"

// The lines of a text patch, Shift-JIS.
std::string ChangeLine(const CellChange& change);
std::string ChangeSummary(std::size_t count);

// Reads a text patch in UTF-8 or Shift-JIS (without byte order mark; see
// TextEncoding.h), LF or CR LF. Strict, so that a damaged or cut-off patch
// is refused whole and never half applied:
// - the offset counts: a cell or hexadecimal offset that disagrees with it,
//   an offset outside the map or a cell named twice is an error;
// - the codes in parentheses count, the glyphs before them are not read;
// - the summary line must end the patch, and its count must match.
// Throws PatchError with the line.
std::vector<CellChange> ParseTextPatch(std::string_view text);

// A cell the map holds neither the patch's old nor its new code in.
struct PatchConflict {
  CellChange change;
  TerrainCode found;
};

struct ThreeWayResult {
  MapImage image{};                     // the map with every fitting change
  std::vector<CellChange> changed;      // cells that held the old code
  std::size_t alreadyApplied = 0;       // cells that held the new code already
  std::vector<PatchConflict> conflicts; // by the patch's order
};

ThreeWayResult ApplyThreeWay(const std::vector<CellChange>& changes, const MapImage& map);

// "19:30 0x589 1417: 地図は ／ (18)、パッチは ＼ (19) -> 平 (4)"; `mapSource`
// stands before the map's code, to say where it came from.
std::string ConflictLine(const PatchConflict& conflict, std::string_view mapSource = {});
