#pragma once
// What each byte of the map means: the 35 terrain codes, their names and
// glyphs, and which of them the road chooser may change into what.
// All texts are Shift-JIS (code page 932).

#include <array>
#include <cstdint>
#include <string_view>

using TerrainCode = std::uint8_t;

constexpr int TerrainCodeCount = 35;  // the map format defines codes 0..34
constexpr int RoadChoiceCount = 17;
constexpr int NoRoadChoice = -1;      // an empty chooser selection

extern const std::array<std::string_view, TerrainCodeCount> TerrainNames;
extern const std::array<std::string_view, TerrainCodeCount> TerrainGlyphs;

// The road chooser's entries: road shapes and bridges (codes 18..30), then the
// four open terrain kinds a road can be turned into (codes 3..6).
extern const std::array<std::string_view, RoadChoiceCount> RoadChoices;

// A damaged or foreign map may hold bytes of 35 and more. They are shown with
// these stand-ins instead of reading past the tables.
extern const std::string_view UnknownTerrainGlyph;
extern const std::string_view UnknownTerrainName;

std::string_view GlyphOf(TerrainCode code);
std::string_view NameOf(TerrainCode code);

// Codes 3..6 and 18..30: exactly the codes that have a chooser entry.
bool IsEditable(TerrainCode code);

// The chooser entry of a code, or NoRoadChoice when it has none.
int ChooserIndexOf(TerrainCode code);

// The code of a chooser entry; index must be 0..16.
TerrainCode CodeOfChooserIndex(int index);
