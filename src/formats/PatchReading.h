#pragma once
// Reading a patch of any of the three formats against a map, as `patch`
// reads it and the editor's preview will: which format it is, told by its
// content, and what it would do to the map, or why it does not fit.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "map/MapFile.h"
#include "map/PathText.h"
#include "patch/TextPatch.h"

enum class PatchKind { Text, Bps, Ips };

// By the content: BPS and IPS by their marks, anything else is text.
PatchKind PatchKindOfContent(const std::vector<std::uint8_t>& bytes);

// What a patch does to a map.
struct PatchOutcome {
  PatchKind kind = PatchKind::Text;
  MapImage image{};                      // the map with every change that fits
  std::size_t alreadyApplied = 0;        // cells of a text patch as it wants them already
  std::vector<PatchConflict> conflicts;  // cells of a text patch neither before nor after, left as the map has them
  bool appliedBefore = false;            // a BPS patch whose result the map is already
  bool misfit = false;                   // a BPS patch made from another map
  bool unchecked = false;                // an IPS patch, which cannot tell
};

// Throws FormatFault with the patch's reason (a damaged patch, records past
// the map's end), naming the file and the line where there is one.
PatchOutcome ReadPatchOutcome(const MapPath& path, const std::vector<std::uint8_t>& patch, const MapImage& map);

// "変えたマス: 2  当て済みのマス: 0  衝突: 1"
std::string PatchSummary(std::size_t changed, std::size_t already, std::size_t conflicts);

// Why a BPS patch does not fit ("%s" the patch), and what IPS cannot tell.
extern const std::string_view BpsMisfitText;
extern const std::string_view IpsUncheckedText;
