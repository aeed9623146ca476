#include "map/TerrainTraits.h"

#include <array>

namespace {

// Route costs: a road piece or bridge 1, plain 2, horse-breeding land and
// beach 3, hills 4, marsh 5, water 8 for the new bridge on it. So among ways
// of the same length a new road follows the roads there are, keeps to the
// easiest ground and bridges water only where that saves nothing else.
constexpr TerrainTraits Harbour{false, false, true, 0, {230, 40, 160}};
constexpr TerrainTraits Road{false, false, false, 1, {214, 196, 150}};
constexpr TerrainTraits Bridge{false, false, false, 1, {110, 170, 230}};

constexpr std::array<TerrainTraits, TerrainCodeCount> Table = {{
    {true, false, false, 8, {40, 80, 160}},     // 0 sea
    {true, false, false, 8, {80, 150, 230}},    // 1 lake
    {false, false, false, 0, {120, 86, 56}},    // 2 mountains
    {false, true, false, 4, {156, 168, 84}},    // 3 hills
    {false, true, false, 2, {150, 206, 110}},   // 4 plain
    {false, true, false, 5, {70, 140, 130}},    // 5 marsh
    {false, true, false, 3, {240, 226, 160}},   // 6 sandy beach
    Harbour, Harbour, Harbour, Harbour, Harbour, Harbour, Harbour, Harbour,  // 7..14
    {false, true, false, 3, {226, 170, 60}},    // 15 horse-breeding land
    {false, false, true, 0, {150, 40, 200}},    // 16 the palace
    // A road meets a river on a bridge: a river mouth is water, and a road
    // that stops there is a loose end.
    {true, false, false, 8, {0, 220, 255}},     // 17 river mouth
    Road, Road, Road, Road, Road, Road, Road, Road, Road, Road, Road,  // 18..28
    Bridge, Bridge,                             // 29, 30
    {false, false, true, 0, {0, 0, 0}},         // 31 castle
    {false, false, true, 0, {230, 0, 0}},       // 32 Kyoto
    {false, false, true, 0, {255, 120, 0}},     // 33 Sakai
    {false, false, true, 0, {255, 210, 0}},     // 34 Hakata
}};

constexpr TerrainTraits Unknown{false, false, false, 0, {255, 255, 255}};

}  // namespace

const TerrainTraits& TraitsOf(TerrainCode code) { return code < Table.size() ? Table[code] : Unknown; }
