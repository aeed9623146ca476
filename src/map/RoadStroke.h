#pragma once
// A road drawn hexagon by hexagon, as the picture's road brush draws it under
// the pointer and `valtea-map draw` draws it through its cells; and the
// eraser that takes road pieces away again.
//
// Each hexagon reached is joined to the stroke by the way `road` would lay
// from the stroke's last hexagon (FindRoadWay): slanted steps only, the fewest
// of them, the same ground and costs, one water hexagon crossed straight on a
// new bridge. Reaching a hexagon of the stroke again takes the hexagons after
// it out, so a wobble leaves no spur. The ends:
// - a place (harbour, palace, castle, city) keeps its code;
// - a road piece gets the join toward the stroke, as `road` gives it, and a
//   loose end (a join that leads onto open land) is continued: it joins the
//   old road and the stroke and no longer the open land;
// - open land gets the piece that carries the road straight on, a loose end
//   that a later stroke can continue.
// Places and mountains stand only at the ends, as for `road`.

#include <array>
#include <vector>

#include "map/MapFile.h"
#include "map/RoadWay.h"

class RoadStroke {
 public:
  // A stroke over `land`, the map as it was before the stroke.
  explicit RoadStroke(const MapImage& land);

  // Starts the stroke at `offset`. Throws RoadRefusal (NoGround) where no
  // road can end: a mountain, water... and then has no hexagon.
  void Start(int offset);
  // The pointer is on `offset`: the stroke goes back to it or joins it.
  // Throws RoadRefusal and stays as it was where it cannot: NoGround for a
  // hexagon where no road can end, NoWay where no way leads there or the way
  // would pass a place, NoPiece where a hexagon would need a piece that does
  // not exist (a bridge that would turn).
  void Reach(int offset);

  bool Started() const { return !way_.empty(); }
  // The map as it was before the stroke.
  const MapImage& Land() const { return land_; }
  // The hexagons of the stroke, in the order drawn; the first is where it started.
  const std::vector<int>& Way() const { return way_; }
  // The land with the stroke's road on it; the land itself for a stroke of
  // one hexagon.
  const MapImage& Drawn() const { return drawn_; }

 private:
  MapImage DrawnAlong(const std::vector<int>& way) const;

  MapImage land_;
  MapImage drawn_;
  std::vector<int> way_;
};

// The land the eraser leaves: hills, plain, marsh, beach; plain unless chosen.
constexpr std::array<TerrainCode, 4> EraserLands = {terrain::Hills, terrain::Plain, terrain::Marsh, terrain::Beach};
constexpr TerrainCode DefaultEraserLand = terrain::Plain;
bool IsEraserLand(TerrainCode code);

// Whether the eraser takes the piece away: road pieces, not bridges (a
// bridge stands on water) and nothing else.
bool IsErasable(TerrainCode code);

// Turns every road piece at `offsets` into `land` (hills, plain, marsh or
// beach), and takes from each road piece beside one of them its join toward
// it, giving the piece that joins the rest where one exists, as shape would.
// Only pieces beside the erased hexagons change.
void EraseRoads(MapImage& image, const std::vector<int>& offsets, TerrainCode land);
