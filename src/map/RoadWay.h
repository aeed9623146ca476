#pragma once
// A new road between two cells: the way it takes over the land, and the
// pieces it lays there.

#include <stdexcept>
#include <vector>

#include "map/RoadNetwork.h"

// Why a road is not laid.
enum class RoadRefusalKind {
  SameCell,  // both ends are one cell
  NotAnEnd,  // an end is neither a place where roads end nor a road piece
  NoWay,     // no way leads from one end to the other
  NoPiece,   // a cell on the way would need a piece that does not exist
  NotAWay,   // a way given is no chain of slanted neighbours inside the map
  NoGround,  // a drawn road cannot end there: a mountain, water, a bridge's middle
};

class RoadRefusal : public std::runtime_error {
 public:
  RoadRefusal(RoadRefusalKind kind, int offset);
  RoadRefusalKind Kind() const { return kind_; }
  // The cell refused: the end for NotAnEnd, the cell for NoPiece, the first
  // cell that breaks the chain for NotAWay (NoMapOffset when it lies outside
  // the map), the first end otherwise.
  int Offset() const { return offset_; }

 private:
  RoadRefusalKind kind_;
  int offset_;
};

// The way of a new road from `from` to `to`, both included; empty when there
// is none.
// - It moves in slanted steps only and has the fewest steps. Among ways of
//   that length the one whose hexagons cost least wins: a road piece or
//   bridge 1, plain 2, horse-breeding land and beach 3, hills 4, marsh 5, a
//   new bridge 8. So a new road follows the roads there are, keeps to the
//   easiest ground and bridges water only where that saves nothing else.
// - It passes plain, hills, marsh, beach, horse-breeding land and road
//   pieces; bridges only straight along their line, since a bridge cannot
//   turn; and at most one hexagon of water (sea, lake, river mouth), which it
//   crosses straight, where a new bridge will stand.
// - Mountains, harbours, the palace, castles and cities only at its ends; a
//   bridge at an end is left along its line.
std::vector<int> FindRoadWay(const MapImage& image, int from, int to);

// The same way where it takes at most twice the slanted distance and
// NearWaySlack steps more; empty where that way is longer. A search that
// fails stays near the ends, so a brush over land it cannot reach keeps up
// with the hand.
constexpr int NearWaySlack = 16;
std::vector<int> FindNearRoadWay(const MapImage& image, int from, int to);

// Gives every cell of a way the piece that joins its old joins and the way's
// sides there; water gets the bridge along the way, places keep their code.
// Throws RoadRefusal and leaves the image as it was: NotAWay when the way is
// empty, leaves the map or takes a step that is not slanted; NoPiece when a
// cell would need a piece that does not exist, such as a bridge that would
// turn.
void LayRoadAlong(MapImage& image, const std::vector<int>& way);

// Lays a new road from `from` to `to` along FindRoadWay and returns its way.
// Each end must be a place where roads end or a road piece: no piece joins
// one side only, so a road cannot end on open land. Throws RoadRefusal and
// leaves the image as it was.
std::vector<int> LayRoad(MapImage& image, int from, int to);
