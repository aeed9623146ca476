#pragma once
// Maps and mods side by side: several patches read one after another, each
// against the map as the ones above left it, and the comparison of the map
// with any other map, cell by cell, each difference with the side the player
// takes. Both programs show the same lines.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/PatchReading.h"
#include "map/FileSystem.h"
#include "map/MapFile.h"
#include "map/PathText.h"
#include "picture/MapPicture.h"

// A patch as read from its file, before it is read against a map.
struct PatchFile {
  MapPath path;
  std::vector<std::uint8_t> bytes;
};
std::vector<PatchFile> ReadPatchFiles(FileSystem& files, const std::vector<MapPath>& paths);

struct ChainedPatch {
  MapPath path;
  MapImage before{};     // the map as the patches above left it, their conflicts the map's
  PatchOutcome outcome;  // this patch read against `before`
  // Per conflict, the patch above that last changed its cell, if any.
  std::vector<std::optional<std::size_t>> changedBy;
};

struct PatchChain {
  MapImage start{};
  std::vector<ChainedPatch> patches;  // up to and with the first misfit
  std::optional<std::size_t> misfit;  // a BPS that does not fit the map the ones above left

  std::size_t ConflictCount() const;
  std::size_t AlreadyApplied() const;  // cells the text patches find as they want them
  // The map with every patch, the conflicts in chain order at `theirs` true
  // taking their patch's new code; a later patch's code wins over an earlier one's.
  MapImage WithSides(const std::vector<bool>& theirs) const;
  // Every conflict in chain order, the patch and the patch above named where
  // there are several: "roads-b.txt: 19:30 0x589 1417: 地図は (roads-a.txt の後) ..."
  std::vector<PathText> ConflictLines() const;
  // A conflict and the side it takes, as `patch` says it.
  std::vector<PathText> SideLines(const std::vector<bool>& theirs) const;
  // What the preview says of the patches as a whole; one patch as ever.
  std::string Summary(const MapImage& patched) const;
  // The rings of the preview: each cell the patches would change, the
  // conflicts in their own colour.
  std::vector<MapRing> Rings() const;
};

// Reads the patches in order, stopping at a misfit. Throws MapFileError
// with a patch's reason where one cannot be read.
PatchChain ReadPatchChain(const std::vector<PatchFile>& files, const MapImage& image);
// The misfit refused by name, and patches that would change nothing:
// "このパッチはもう当ててあります" where one of them finds itself applied.
void RefuseMisfitOrEmpty(const PatchChain& chain);
extern const std::string_view AppliedBeforeText;

// What each side does, in patch's and in the comparison's words: "  → 地図のまま".
std::string_view PatchSideText(bool theirs);
std::string_view ComparisonSideText(bool taken);

// ---- the comparison with another map ----

// Another map of any map format, or a file of any other name read as the
// game's map; a map of another size is refused, and so is what no format
// reads, with the format's reason.
MapImage ComparedMap(FileSystem& files, const MapPath& path);

// Every cell where the maps differ, as diff says them: this map's code, then
// the other's; `taken` true where the player takes the other map's code.
MapImage WithTaken(const MapImage& image, const std::vector<CellChange>& differences, const std::vector<bool>& taken);
// The differences in the change colour, those taken in the conflict colour.
std::vector<MapRing> ComparisonRings(const std::vector<CellChange>& differences, const std::vector<bool>& taken);
