#pragma once
// How the road pieces of a map join up, and where they do not.
//
// Each road piece and bridge joins some of the four slanted sides of its
// hexagon, read from its glyph: "／" runs north-east to south-west, "Λ" joins
// the two lower sides, "入" is "＼" with a branch to the south-west, and so on.
// Bridge 29 "\\" joins like "＼", bridge 30 "//" like "／".

#include <cstdint>
#include <optional>
#include <vector>

#include "map/HexGrid.h"
#include "map/MapFile.h"

// A set of sides, one bit per Side.
using SideSet = std::uint8_t;
constexpr SideSet SideBit(Side side) { return static_cast<SideSet>(1u << static_cast<int>(side)); }

// The sides a road piece or bridge joins; none for every other code.
SideSet JoinedSides(TerrainCode code);
inline bool Joins(TerrainCode code, Side side) { return (JoinedSides(code) & SideBit(side)) != 0; }

// The road piece (codes 18..28) that joins exactly these sides: there is one
// for every set of two, three or four slanted sides, and none for fewer.
std::optional<TerrainCode> RoadPieceJoining(SideSet sides);
// The bridge that joins exactly these sides: two opposite slanted sides.
std::optional<TerrainCode> BridgeJoining(SideSet sides);

// A place where roads end: a harbour, the palace, a castle or a city. A road
// that leads into one has arrived; it needs no piece that joins back.
bool IsRoadEnd(TerrainCode code);

// Whether a join of the hexagon at `offset` toward `side` would be met: the
// neighbour on that side is a road piece or bridge that joins back, or a place
// where roads end. What lies at `offset` itself does not matter.
bool IsJoinMet(const MapImage& image, int offset, Side side);

enum class RoadProblemKind {
  OffTheMap,      // the join leads over the edge of the map
  LooseEnd,       // the neighbour is terrain where no road goes on
  NotJoinedBack,  // the neighbour is a road piece that does not join this side
};

struct RoadProblem {
  int offset = 0;            // of the road piece whose join is not met
  Side side = Side::North;   // the side of that join
  RoadProblemKind kind = RoadProblemKind::LooseEnd;
  int neighbour = NoMapOffset;  // the hexagon on that side; none off the map
};

// Every join of every road piece and bridge that is not met, each once, by
// increasing offset and then clockwise from the north-east. Two road pieces
// side by side that do not join each other are no problem.
std::vector<RoadProblem> FindRoadProblems(const MapImage& image);
// The problems of the piece at one offset, in the same order, added to `problems`.
void FindRoadProblemsAt(const MapImage& image, int offset, std::vector<RoadProblem>& problems);
