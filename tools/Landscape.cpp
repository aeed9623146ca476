#include "Landscape.h"

#include <algorithm>
#include <deque>

#include "Noise.h"
#include "map/TerrainTraits.h"

namespace {

using namespace terrain;

// ---- the outline: islands as thick lines with a ragged coast ----

struct SpinePoint {
  int u, v, halfWidth;  // plane units
};
using Spine = std::vector<SpinePoint>;

struct Circle {
  int u, v, radius;
};

// A land of long islands lying from west to east, the largest bending north
// at its eastern end, a smaller one across an inland sea, and a few islets.
const std::vector<Spine> MainIslands = {
    // the western island, its north coast with the port of Hakata
    {{44, 36, 30}, {48, 66, 36}, {54, 94, 28}, {58, 112, 16}},
    {{38, 56, 22}, {14, 72, 13}},    // a western peninsula
    {{72, 36, 8}, {102, 36, 12}},    // the narrow strait's land bridge
    // the main island, west to east, then north
    {{98, 36, 16}, {146, 32, 23}, {206, 36, 25}, {276, 40, 28}, {336, 44, 30}, {376, 50, 32}, {416, 62, 30},
     {466, 76, 32}, {506, 84, 32}, {546, 70, 30}, {576, 48, 28}, {606, 28, 25}, {640, 16, 18}, {668, 12, 10}},
    {{372, 54, 18}, {368, 84, 22}, {368, 98, 13}},  // the southern peninsula by the capital
    {{428, 44, 10}, {434, 20, 10}},                  // a northern peninsula
    {{480, 90, 9}, {476, 110, 8}},                   // a small southern peninsula
    {{524, 92, 13}, {538, 116, 10}},                // the eastern peninsula around a bay
    // the southern island across the inland sea
    {{160, 96, 11}, {198, 98, 17}, {246, 100, 18}, {288, 96, 13}},
};

const std::vector<Circle> Bays = {
    {332, 78, 15},  // the bay of Sakai
    {404, 86, 11},
    {512, 108, 9},
    {226, 10, 8},
};

const std::vector<Spine> Islets = {
    {{488, 20, 7}, {506, 14, 7}},
    {{332, 80, 4}, {340, 92, 4}},
    {{228, 126, 4}, {234, 128, 4}},
    {{112, 120, 4}, {116, 122, 4}},
};

int DistanceToSpine(const Spine& spine, int u, int v) {
  int best = 1 << 20;
  for (std::size_t i = 0; i + 1 < spine.size(); ++i) {
    const SpinePoint& a = spine[i];
    const SpinePoint& b = spine[i + 1];
    std::int64_t du = b.u - a.u, dv = b.v - a.v;
    std::int64_t lengthSquared = du * du + dv * dv;
    std::int64_t along = (u - a.u) * du + (v - a.v) * dv;
    std::int64_t t = lengthSquared == 0 ? 0 : std::clamp<std::int64_t>(along * 1024 / lengthSquared, 0, 1024);
    std::int64_t cu = a.u * 1024 + du * t, cv = a.v * 1024 + dv * t;  // 1/1024 units
    std::int64_t eu = u * 1024 - cu, ev = v * 1024 - cv;
    int distance = static_cast<int>(IntegerSqrt(eu * eu + ev * ev) / 1024);
    int halfWidth = static_cast<int>(a.halfWidth + (b.halfWidth - a.halfWidth) * t / 1024);
    best = std::min(best, distance - halfWidth);
  }
  return best;
}

int DistanceToCircle(const Circle& c, int u, int v) {
  std::int64_t du = u - c.u, dv = v - c.v;
  return static_cast<int>(IntegerSqrt(du * du + dv * dv)) - c.radius;
}

// Negative on land, positive at sea, in plane units from the coast.
int CoastDistance(int u, int v) {
  int distance = 1 << 20;
  for (const Spine& spine : MainIslands) distance = std::min(distance, DistanceToSpine(spine, u, v));
  for (const Circle& bay : Bays) distance = std::max(distance, -DistanceToCircle(bay, u, v));
  for (const Spine& islet : Islets) distance = std::min(distance, DistanceToSpine(islet, u, v));
  return distance + FractalNoise(u, v, 48, 4, 11) * 13 / 1000;
}

bool NearFieldEdge(int offset) {
  const HexPosition position = PositionOf(offset);
  return position.column <= 4 || position.column > LastGridColumn - 4 || position.halfRow < 6 ||
         position.halfRow >= MapLineLength - 6;
}

// ---- water ----

void DrawCoast(Landscape& land) {
  for (int offset = 0; offset < MapSize; ++offset) {
    const PlanePoint point = PlaneOf(offset);
    bool dry = !NearFieldEdge(offset) && CoastDistance(point.u, point.v) < 0;
    land.code[offset] = dry ? Plain : Sea;
  }
}

// Flood fill from a start over hexagons that pass a test; returns them in order.
template <typename Passes>
std::vector<int> FloodFrom(int start, HexMap<bool>& visited, Passes passes) {
  std::vector<int> found = {start};
  visited[start] = true;
  for (std::size_t i = 0; i < found.size(); ++i) {
    for (int offset : NeighbourOffsets(found[i])) {
      if (visited[offset] || !passes(offset)) continue;
      visited[offset] = true;
      found.push_back(offset);
    }
  }
  return found;
}

// Water that the open sea does not reach becomes a lake; islets of a hexagon or
// two become sea again, they would only look like noise.
void SettleWaters(Landscape& land) {
  HexMap<bool> open(MapSize, false);
  FloodFrom(0, open, [&](int offset) { return land.code[offset] == Sea; });
  for (int offset = 0; offset < MapSize; ++offset)
    if (land.code[offset] == Sea && !open[offset]) land.code[offset] = Lake;

  HexMap<bool> seen(MapSize, false);
  for (int offset = 0; offset < MapSize; ++offset) {
    if (seen[offset] || land.code[offset] == Sea) continue;
    std::vector<int> island = FloodFrom(offset, seen, [&](int o) { return land.code[o] != Sea; });
    if (island.size() < 3)
      for (int o : island) land.code[o] = Sea;
  }
}

bool NearSea(const Landscape& land, int offset) {
  if (land.code[offset] == Sea) return true;
  for (int next : NeighbourOffsets(offset))
    if (land.code[next] == Sea) return true;
  return false;
}

// A lake keeps a shore of land between itself and the sea.
void PlaceLakes(Landscape& land) {
  // The great lake north-east of the capital (two circles), and small ones.
  const Circle lakes[] = {{388, 34, 9}, {380, 28, 6}, {52, 90, 4}, {588, 26, 5}, {498, 54, 5}, {190, 44, 4}};
  for (int offset = 0; offset < MapSize; ++offset) {
    const PlanePoint point = PlaneOf(offset);
    for (const Circle& lake : lakes)
      if (DistanceToCircle(lake, point.u, point.v) < 0 && !NearSea(land, offset)) land.code[offset] = Lake;
  }
}

void MeasureSeaDistance(Landscape& land) {
  std::deque<int> queue;
  for (int offset = 0; offset < MapSize; ++offset) {
    land.seaDistance[offset] = land.code[offset] == Sea ? 0 : -1;
    if (land.code[offset] == Sea) queue.push_back(offset);
  }
  while (!queue.empty()) {
    int offset = queue.front();
    queue.pop_front();
    for (int n : NeighbourOffsets(offset)) {
      if (land.seaDistance[n] >= 0) continue;
      land.seaDistance[n] = land.seaDistance[offset] + 1;
      queue.push_back(n);
    }
  }
}

void NumberLandmasses(Landscape& land) {
  HexMap<bool> seen(MapSize, false);
  int next = 0;
  for (int offset = 0; offset < MapSize; ++offset) {
    if (seen[offset] || land.code[offset] == Sea) continue;
    for (int o : FloodFrom(offset, seen, [&](int o) { return land.code[o] != Sea; })) land.landmass[o] = next;
    ++next;
  }
}

// ---- relief ----

// Wide lowlands: the capital's basin and the great plain of the east.
const Circle Basins[] = {{360, 52, 10}, {496, 80, 14}, {48, 32, 8}};

// The backbone of the north-east.
const Spine NorthEasternRange = {{564, 58, 0}, {588, 40, 0}, {616, 20, 0}};

// High inland and along ridges; the coast and the basins are low.
int Elevation(const Landscape& land, int offset) {
  const auto [u, v] = PlaneOf(offset);
  int raising = std::max(0, 16 - DistanceToSpine(NorthEasternRange, u, v)) * 30;
  int lowering = 0;
  for (const Circle& basin : Basins) lowering += std::max(0, -DistanceToCircle(basin, u, v)) * 30;
  int inland = std::min(land.seaDistance[offset], 6) * 80;
  int hilly = FractalNoise(u, v, 28, 3, 23) * 42 / 100 + FractalNoise(u, v, 10, 2, 29) * 18 / 100;
  int ridge = 300 - std::abs(FractalNoise(u, v, 60, 3, 37));
  int rough = static_cast<int>(Hash(31, u, v) % 181) - 90;  // ragged edges between kinds of land
  return inland + hilly + ridge + raising - lowering + rough;
}

void RaiseRelief(Landscape& land) {
  for (int offset = 0; offset < MapSize; ++offset) {
    if (land.code[offset] != Plain) continue;
    int elevation = Elevation(land, offset);
    if (elevation >= 650) land.code[offset] = Mountains;
    else if (elevation >= 420) land.code[offset] = Hills;
  }
}

// ---- rivers ----

std::vector<int> RiverSources(const Landscape& land) {
  std::vector<int> candidates;
  for (int offset = 0; offset < MapSize; ++offset)
    if ((land.code[offset] == Mountains || land.code[offset] == Hills) && land.seaDistance[offset] >= 4)
      candidates.push_back(offset);
  std::sort(candidates.begin(), candidates.end(), [](int a, int b) {
    std::uint32_t ha = Hash(71, a, 0), hb = Hash(71, b, 0);
    return ha != hb ? ha < hb : a < b;
  });
  std::vector<int> sources;
  for (int candidate : candidates) {
    bool spaced = std::all_of(sources.begin(), sources.end(), [&](int s) {
      return PlaneDistanceSquared(s, candidate) >= 22 * 22;
    });
    if (spaced) sources.push_back(candidate);
  }
  return sources;
}

// Downhill means nearer to the sea; among the nearer neighbours a river takes
// the lowest, with a little noise, so it winds.
int NextDownstream(const Landscape& land, int offset, std::uint32_t riverSeed) {
  int best = -1, bestScore = 0;
  for (int n : NeighbourOffsets(offset)) {
    if (land.seaDistance[n] >= land.seaDistance[offset]) continue;
    int score = Elevation(land, n) + static_cast<int>(Hash(riverSeed, n, 1) % 120);
    if (best < 0 || score < bestScore || (score == bestScore && n < best)) {
      best = n;
      bestScore = score;
    }
  }
  return best;
}

bool NextToMouth(const Landscape& land, int offset) {
  for (int next : NeighbourOffsets(offset))
    if (land.code[next] == RiverMouth) return true;
  return false;
}

// Follows one river from its source to the sea or to the river it joins.
void RunRiver(Landscape& land, int source, std::uint32_t seed) {
  std::vector<int> course;
  int offset = source;
  while (land.seaDistance[offset] > 1) {
    course.push_back(offset);
    int next = NextDownstream(land, offset, seed);
    if (next < 0 || land.river[next]) {
      offset = -1;
      break;
    }
    offset = next;
  }
  bool reachesCoast = offset >= 0 && !land.river[offset];
  if (reachesCoast && (NextToMouth(land, offset) || land.code[offset] == Lake)) return;
  if (course.size() < 4) return;
  for (int o : course)
    if (land.code[o] != Lake) land.river[o] = true;
  if (reachesCoast) land.code[offset] = RiverMouth;
}

void RunRivers(Landscape& land) {
  std::vector<int> sources = RiverSources(land);
  for (std::size_t i = 0; i < sources.size(); ++i) RunRiver(land, sources[i], 500u + static_cast<std::uint32_t>(i));
}

// Rivers cut valleys: lower courses run through hills and plains.
void CarveValleys(Landscape& land) {
  for (int offset = 0; offset < MapSize; ++offset) {
    if (!land.river[offset]) continue;
    int distance = land.seaDistance[offset];
    TerrainCode& code = land.code[offset];
    if (code == Mountains && distance <= 6) code = Hills;
    if (code == Hills && distance <= 3) code = Plain;
  }
}

// ---- ground cover ----

bool NearRiverMouth(const Landscape& land, int offset, int reach) {
  const HexPosition centre = PositionOf(offset);
  for (int dy = -2 * reach; dy <= 2 * reach; ++dy) {
    for (int dx = -reach; dx <= reach; ++dx) {
      const int other = OffsetAt({centre.column + dx, centre.halfRow + dy});
      if (other != NoMapOffset && SlantDistance(offset, other) <= reach && land.code[other] == RiverMouth)
        return true;
    }
  }
  return false;
}

void SpreadMarsh(Landscape& land) {
  for (int offset = 0; offset < MapSize; ++offset) {
    if (land.code[offset] != Plain) continue;
    const PlanePoint point = PlaneOf(offset);
    int wetness = FractalNoise(point.u, point.v, 20, 2, 41);
    bool estuary = land.seaDistance[offset] <= 4 && NearRiverMouth(land, offset, 3) && wetness > -150;
    bool fen = wetness > 640;
    if (estuary || fen) land.code[offset] = Marsh;
  }
}

void LayBeaches(Landscape& land) {
  for (int offset = 0; offset < MapSize; ++offset) {
    TerrainCode code = land.code[offset];
    if (land.seaDistance[offset] != 1 || land.river[offset] || (code != Plain && code != Hills)) continue;
    const PlanePoint point = PlaneOf(offset);
    if (FractalNoise(point.u, point.v, 36, 3, 53) > 220) land.code[offset] = Beach;
  }
}

// Pastures in the far north-east and the south of the western island.
void FencePastures(Landscape& land) {
  for (int offset = 0; offset < MapSize; ++offset) {
    TerrainCode code = land.code[offset];
    if (code != Plain && code != Hills) continue;
    const auto [u, v] = PlaneOf(offset);
    bool region = (u >= 540 && v <= 70) || (u <= 88 && v >= 82);
    if (region && land.seaDistance[offset] >= 2 && FractalNoise(u, v, 24, 2, 61) > 180) land.code[offset] = HorseLand;
  }
}

}  // namespace

bool IsLand(TerrainCode code) { return !TraitsOf(code).water; }

Landscape MakeLandscape() {
  Landscape land;
  land.code.assign(MapSize, Sea);
  land.river.assign(MapSize, false);
  land.seaDistance.assign(MapSize, 0);
  land.landmass.assign(MapSize, -1);
  DrawCoast(land);
  SettleWaters(land);
  PlaceLakes(land);
  MeasureSeaDistance(land);
  NumberLandmasses(land);
  RaiseRelief(land);
  RunRivers(land);
  CarveValleys(land);
  SpreadMarsh(land);
  LayBeaches(land);
  FencePastures(land);
  return land;
}
