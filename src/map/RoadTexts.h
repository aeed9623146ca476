#pragma once
// What is said of the road network, in the editor's words and glyphs
// (Shift-JIS): its problems, a road that cannot be laid, a road's length.
// valtea-map prints them and the editor shows them, in the same words.

#include <cstddef>
#include <string>

#include "map/MapFile.h"
#include "map/PlaceNetworks.h"
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

// What the roads join, in the words of the check and of diff.
// "21:21 0xA4B 2635: 京都": the cell as diff begins its lines, then the full name.
std::string PlaceLine(const MapImage& image, int offset);
// "道路網 1: 城 4、町 2、港湾 1、道路 117、橋 3"
std::string NetworkHeading(std::size_t number, const PlaceNetwork& network, const MapImage& image);
// "ほかの場所へ道がつながっていない場所: 5"
std::string LonePlacesHeading(std::size_t count);
// "2 つ以上の場所をつなぐ道路網: 3、ほかの場所へつながっていない場所: 5、場所に届かない道路: 2"
std::string NetworkSummary(const RoadNetworks& networks);
// PlaceLine, then "4 歩".
std::string PlaceStepsLine(const MapImage& image, const PlaceSteps& place);
// Why `offset` has no distances: it is no place.
std::string NotAPlaceLine(const MapImage& image, int offset);
// "ここから道でつながる場所はありません"
std::string NoPlaceReachedLine();
// "堺 (41:21) が京都 (21:21) の道路網につながりました"
std::string JoinChangeLine(const MapImage& image, const JoinChange& change);
