#include "map/RoadStroke.h"

#include <algorithm>

#include "map/RoadNetwork.h"
#include "map/TerrainTraits.h"

namespace {

bool IsOpenLand(TerrainCode code) { return TraitsOf(code).openLand; }

// Where a stroke may start or end: where `road` may, and on open land.
bool CanEndRoad(TerrainCode code) { return IsRoadEnd(code) || IsRoadPiece(code) || IsOpenLand(code); }

int SideCountOf(SideSet sides) {
  int count = 0;
  for (Side side : SlantedSides) count += (sides & SideBit(side)) != 0;
  return count;
}

// The joins of the piece at `offset` that lead onto open land where no road goes on.
SideSet LooseJoins(const MapImage& image, int offset) {
  SideSet loose = 0;
  for (Side side : SlantedSides) {
    if (!Joins(image[offset], side) || IsJoinMet(image, offset, side)) continue;
    const int neighbour = NeighbourOffset(offset, side);
    if (neighbour != NoMapOffset && IsOpenLand(image[neighbour])) loose |= SideBit(side);
  }
  return loose;
}

// Gets an end of a stroke ready for the road laid toward it by `side`: open
// land takes the piece that carries the road straight on, and a loose end
// gives up its join onto open land for the stroke's.
void PrepareEnd(MapImage& image, int end, Side side) {
  const TerrainCode code = image[end];
  if (IsOpenLand(code)) {
    image[end] = *RoadPieceJoining(SideBit(side) | SideBit(Opposite(side)));
    return;
  }
  if (!IsRoadPiece(code) || IsBridge(code)) return;
  const SideSet loose = LooseJoins(image, end);
  if (loose == 0) return;
  const SideSet joins = (JoinedSides(code) & ~loose) | SideBit(side);
  if (const auto piece = RoadPieceJoining(joins)) image[end] = *piece;
}

}  // namespace

RoadStroke::RoadStroke(const MapImage& land) : land_(land), drawn_(land) {}

void RoadStroke::Start(int offset) {
  way_.clear();
  drawn_ = land_;
  if (offset < 0 || offset >= MapSize) throw RoadRefusal(RoadRefusalKind::NotAWay, NoMapOffset);
  if (!CanEndRoad(land_[offset])) throw RoadRefusal(RoadRefusalKind::NoGround, offset);
  way_.push_back(offset);
}

void RoadStroke::Reach(int offset) {
  if (way_.empty()) {
    Start(offset);
    return;
  }
  if (offset < 0 || offset >= MapSize) throw RoadRefusal(RoadRefusalKind::NotAWay, NoMapOffset);
  const auto back = std::find(way_.begin(), way_.end(), offset);
  if (back != way_.end()) {
    // An end there must be one a road can have: not the water under a bridge.
    const std::vector<int> way(way_.begin(), back + 1);
    drawn_ = DrawnAlong(way);
    way_ = way;
    return;
  }
  if (!CanEndRoad(land_[offset])) throw RoadRefusal(RoadRefusalKind::NoGround, offset);
  const int last = way_.back();
  // A place is an end: a road goes into it, not through it.
  if (way_.size() > 1 && IsRoadEnd(land_[last])) throw RoadRefusal(RoadRefusalKind::NoWay, last);
  // The way there goes round the stroke: over it, it would cross it.
  MapImage ground = land_;
  for (std::size_t index = 0; index + 1 < way_.size(); ++index) ground[way_[index]] = terrain::Mountains;
  const std::vector<int> leg = FindNearRoadWay(ground, last, offset);
  if (leg.empty()) throw RoadRefusal(RoadRefusalKind::NoWay, last);
  std::vector<int> way = way_;
  way.insert(way.end(), leg.begin() + 1, leg.end());
  drawn_ = DrawnAlong(way);  // throws NoPiece, before anything changed
  way_ = std::move(way);
}

MapImage RoadStroke::DrawnAlong(const std::vector<int>& way) const {
  MapImage image = land_;
  if (way.size() < 2) return image;
  PrepareEnd(image, way.front(), *SlantedSideToward(way.front(), way[1]));
  PrepareEnd(image, way.back(), *SlantedSideToward(way.back(), way[way.size() - 2]));
  LayRoadAlong(image, way);
  return image;
}

bool IsEraserLand(TerrainCode code) {
  return std::find(EraserLands.begin(), EraserLands.end(), code) != EraserLands.end();
}

bool IsErasable(TerrainCode code) { return IsRoadPiece(code) && !IsBridge(code); }

void EraseRoads(MapImage& image, const std::vector<int>& offsets, TerrainCode land) {
  std::vector<int> erased;
  for (const int offset : offsets) {
    if (offset < 0 || offset >= MapSize || !IsErasable(image[offset])) continue;
    image[offset] = land;
    erased.push_back(offset);
  }
  // The joins each piece beside them loses, all at once.
  std::vector<std::pair<int, SideSet>> lost;
  for (const int offset : erased) {
    for (Side side : SlantedSides) {
      const int neighbour = NeighbourOffset(offset, side);
      if (neighbour == NoMapOffset || !IsErasable(image[neighbour]) || !Joins(image[neighbour], Opposite(side))) continue;
      const auto entry = std::find_if(lost.begin(), lost.end(), [&](const auto& item) { return item.first == neighbour; });
      if (entry == lost.end()) {
        lost.emplace_back(neighbour, SideBit(Opposite(side)));
      } else {
        entry->second |= SideBit(Opposite(side));
      }
    }
  }
  for (const auto& [offset, sides] : lost) {
    const SideSet rest = JoinedSides(image[offset]) & ~sides;
    if (const auto piece = RoadPieceJoining(rest)) {
      image[offset] = *piece;
      continue;
    }
    // One join left: the piece that carries it straight on, as a stroke ends on open land.
    if (SideCountOf(rest) != 1) continue;
    for (Side side : SlantedSides)
      if (rest & SideBit(side)) image[offset] = *RoadPieceJoining(rest | SideBit(Opposite(side)));
  }
}
