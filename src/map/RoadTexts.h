#pragma once
// What is said of the road network, in the editor's words and glyphs
// (Shift-JIS): its problems, a road that cannot be laid, a road's length.
// valtea-map prints them and the editor shows them, in the same words.

#include <cstddef>
#include <string>

#include "map/MapFile.h"
#include "map/RoadNetwork.h"
#include "map/RoadWay.h"

// "18:30 Υ (26) 南東: 道が 19:30 平 (4) で途切れています"
std::string ProblemLine(const MapImage& image, const RoadProblem& problem);
// "道路網の問題: 2 件", or "道路網に問題はありません" for none.
std::string ProblemSummary(std::size_t count);

// Why no road is laid from `from` to `to`.
std::string RoadRefusalLine(const MapImage& image, const RoadRefusal& refusal, int from, int to);
// "道の長さ: 20 歩"
std::string RoadLengthLine(std::size_t steps);
