#include "map/TerrainCodes.h"

#include <cassert>

// The literals below are compiled to Shift-JIS. The sea's glyph is an
// ideographic space and an ASCII space (81 40 20), so a sea cell looks empty.
namespace {
constexpr std::array<std::string_view, TerrainCodeCount> Names = {
    "海",       "湖",       "山岳",     "丘陵",     "平地",     "湿地",     "砂浜",
    "港湾",     "港湾",     "港湾",     "港湾",     "港湾",     "港湾",     "港湾",
    "港湾",     "馬産地",   "京都御所", "河口",     "街道　／", "街道　＼", "街道　Λ",
    "街道　∨", "街道　＜", "街道　＞", "街道　入", "街道　У", "街道　Υ", "街道　人",
    "街道　Χ", "橋　　\\\\", "橋　　//", "本城",     "京都",     "堺",       "博多",
};

constexpr std::array<std::string_view, TerrainCodeCount> Glyphs = {
    "　 ", "湖", "山", "丘", "平", "湿", "砂", "湾", "湾", "湾", "湾", "湾",
    "湾",  "湾", "湾", "馬", "御", "河", "／", "＼", "Λ", "∨", "＜", "＞",
    "入",  "У", "Υ", "人", "Χ", "\\\\", "//", "■", "京", "堺", "博",
};

constexpr std::array<std::string_view, RoadChoiceCount> Choices = {
    Names[18], Names[19], Names[20], Names[21], Names[22], Names[23], Names[24], Names[25], Names[26],
    Names[27], Names[28], Names[29], Names[30], Names[3],  Names[4],  Names[5],  Names[6],
};
}  // namespace

// Copies of constant expressions, so they are ready before any other static
// initialisation runs.
const std::array<std::string_view, TerrainCodeCount> TerrainNames = Names;
const std::array<std::string_view, TerrainCodeCount> TerrainGlyphs = Glyphs;
const std::array<std::string_view, RoadChoiceCount> RoadChoices = Choices;

const std::string_view UnknownTerrainGlyph = "？";
const std::string_view UnknownTerrainName = "不明";

namespace {
// The chooser lists the road pieces and bridges first, then the open terrain.
constexpr int FirstRoadCode = terrain::FirstRoad;
constexpr int LastRoadCode = terrain::BridgeSlash;
constexpr int FirstOpenCode = terrain::Hills;
constexpr int LastOpenCode = terrain::Beach;
constexpr int FirstOpenChoice = LastRoadCode - FirstRoadCode + 1;  // 13
}  // namespace

std::string_view GlyphOf(TerrainCode code) {
  return code < TerrainCodeCount ? TerrainGlyphs[code] : UnknownTerrainGlyph;
}

std::string_view NameOf(TerrainCode code) {
  return code < TerrainCodeCount ? TerrainNames[code] : UnknownTerrainName;
}

std::string FullNameOf(TerrainCode code) {
  if (code < TerrainCodeCount) return std::string(TerrainNames[code]);
  return "不明なコード " + std::to_string(code);
}

bool IsEditable(TerrainCode code) { return ChooserIndexOf(code) != NoRoadChoice; }

int ChooserIndexOf(TerrainCode code) {
  if (code >= FirstRoadCode && code <= LastRoadCode) return code - FirstRoadCode;
  if (code >= FirstOpenCode && code <= LastOpenCode) return code - FirstOpenCode + FirstOpenChoice;
  return NoRoadChoice;
}

TerrainCode CodeOfChooserIndex(int index) {
  assert(index >= 0 && index < RoadChoiceCount);
  if (index < FirstOpenChoice) return static_cast<TerrainCode>(index + FirstRoadCode);
  return static_cast<TerrainCode>(index - FirstOpenChoice + FirstOpenCode);
}
