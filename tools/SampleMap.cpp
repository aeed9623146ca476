#include "SampleMap.h"

#include <algorithm>
#include <stdexcept>

#include "Landscape.h"
#include "RoadLaying.h"

namespace {

using namespace terrain;

// Plane coordinates (u = 2 * x, v = y) near which the towns are built; each
// goes to the nearest hexagon that suits it.
struct Site {
  int u, v;
};

const Site KyotoSite = {362, 48};
const Site SakaiSite = {344, 64};
const Site HakataSite = {40, 14};

const std::vector<Site> CastleSites = {
    // the western island
    {66, 38}, {30, 50}, {62, 68}, {34, 86}, {74, 90}, {50, 110},
    // the main island's west
    {116, 40}, {156, 22}, {172, 50}, {220, 24}, {238, 54}, {280, 28}, {294, 58}, {322, 38},
    // around the capital
    {386, 56}, {368, 86}, {348, 32}, {408, 42},
    // the middle and the east
    {438, 62}, {454, 36}, {476, 56}, {464, 84}, {498, 72}, {520, 94}, {540, 78}, {532, 54},
    // the north-east
    {562, 44}, {582, 64}, {592, 36}, {616, 18}, {570, 22},
    // the southern island
    {172, 92}, {216, 96}, {260, 96}, {280, 90},
};

// Where the great roads of the east cross.
const std::vector<Site> CrossroadsSites = {{482, 72}};

// Ports, in the order of their codes 7..14.
const std::vector<Site> HarbourSites = {
    {14, 62}, {86, 62}, {136, 18}, {216, 62}, {248, 110}, {406, 92}, {574, 82}, {536, 34},
};

class Builder {
 public:
  Builder() : land_(MakeLandscape()), codes_(land_.code) {}

  std::vector<TerrainCode> Build() {
    PlaceCities();
    for (const Site& site : CastleSites) Settle(site, Castle, false);
    for (std::size_t i = 0; i < HarbourSites.size(); ++i)
      Settle(HarbourSites[i], static_cast<TerrainCode>(FirstHarbour + i), true);
    // Marked with a code no road may run over, until the roads are laid.
    for (const Site& site : CrossroadsSites) Settle(site, Castle, false, true);
    BuildRoads();
    return codes_;
  }

 private:
  // Inland towns stand on open, dry ground; ports on the coast.
  bool Suits(int offset, bool onCoast) const {
    TerrainCode code = codes_[offset];
    if (land_.river[offset]) return false;
    if (onCoast) return land_.seaDistance[offset] == 1 && (code == Plain || code == Beach || code == Hills);
    return land_.seaDistance[offset] >= 2 && (code == Plain || code == Hills || code == HorseLand);
  }

  bool FarFromPlaces(int offset) const {
    return std::all_of(places_.begin(), places_.end(),
                       [&](const Place& place) { return SlantDistance(place.offset, offset) >= 4; });
  }

  int NearestSuitable(Site site, bool onCoast) const {
    int centre = OffsetNear(site.u, site.v);
    int best = -1;
    std::int64_t bestDistance = 0;
    for (int offset = 0; offset < MapSize; ++offset) {
      if (!Suits(offset, onCoast) || !FarFromPlaces(offset)) continue;
      std::int64_t distance = PlaneDistanceSquared(offset, centre);
      if (best < 0 || distance < bestDistance) {
        best = offset;
        bestDistance = distance;
      }
    }
    if (best < 0) throw std::logic_error("no place for a town");
    return best;
  }

  int Settle(Site site, TerrainCode code, bool onCoast, bool crossroads = false) {
    int offset = NearestSuitable(site, onCoast);
    codes_[offset] = code;
    places_.push_back(Place{offset, crossroads});
    return offset;
  }

  // The capital with the palace just north of it, the trading port beside it
  // on the bay, and the port of the west.
  void PlaceCities() {
    int kyoto = Settle(KyotoSite, Kyoto, false);
    int palace = NeighbourOffset(kyoto, Side::North);
    if (palace == NoMapOffset || !IsLand(codes_[palace])) throw std::logic_error("no room for the palace");
    codes_[palace] = Palace;
    Settle(SakaiSite, Sakai, true);
    Settle(HakataSite, Hakata, true);
  }

  void BuildRoads() {
    HexMap<SideSet> roads = LayRoads(land_, codes_, places_);
    for (int offset = 0; offset < MapSize; ++offset) {
      if (roads[offset] == 0) continue;
      const auto code = land_.river[offset] ? BridgeJoining(roads[offset]) : RoadPieceJoining(roads[offset]);
      if (!code) throw std::logic_error("a road piece without a code");
      codes_[offset] = *code;
    }
  }

  Landscape land_;
  std::vector<TerrainCode> codes_;
  std::vector<Place> places_;
};

}  // namespace

std::vector<TerrainCode> GenerateSampleMap() { return Builder().Build(); }

Bytes SampleMapFile() {
  std::vector<TerrainCode> map = GenerateSampleMap();
  return Bytes(map.begin(), map.end());
}
