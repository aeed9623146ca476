#pragma once
// What each byte of the map means: the 35 terrain codes, their names and
// glyphs, and which of them the road chooser may change into what.
// All texts are Shift-JIS (code page 932).

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

using TerrainCode = std::uint8_t;

constexpr int TerrainCodeCount = 35;  // the map format defines codes 0..34

// The codes by what they stand for.
namespace terrain {
constexpr TerrainCode Sea = 0, Lake = 1, Mountains = 2, Hills = 3, Plain = 4, Marsh = 5, Beach = 6;
constexpr TerrainCode FirstHarbour = 7, LastHarbour = 14;  // eight ports, told apart only by the game
constexpr TerrainCode HorseLand = 15, Palace = 16, RiverMouth = 17;
constexpr TerrainCode FirstRoad = 18, LastRoad = 28;  // road pieces of eleven shapes
constexpr TerrainCode BridgeBackslash = 29, BridgeSlash = 30;
constexpr TerrainCode Castle = 31, Kyoto = 32, Sakai = 33, Hakata = 34;
}  // namespace terrain

constexpr bool IsHarbour(TerrainCode code) { return code >= terrain::FirstHarbour && code <= terrain::LastHarbour; }
constexpr bool IsBridge(TerrainCode code) { return code == terrain::BridgeBackslash || code == terrain::BridgeSlash; }
// A road piece of any shape, or a bridge: the codes that join neighbours.
constexpr bool IsRoadPiece(TerrainCode code) { return code >= terrain::FirstRoad && code <= terrain::BridgeSlash; }
constexpr bool IsCity(TerrainCode code) { return code >= terrain::Kyoto && code <= terrain::Hakata; }
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
// The name a person reads: NameOf, or "不明なコード 200" for a code of 35 or more.
std::string FullNameOf(TerrainCode code);

// Codes 3..6 and 18..30: exactly the codes that have a chooser entry.
bool IsEditable(TerrainCode code);

// The chooser entry of a code, or NoRoadChoice when it has none.
int ChooserIndexOf(TerrainCode code);

// The code of a chooser entry; index must be 0..16.
TerrainCode CodeOfChooserIndex(int index);
