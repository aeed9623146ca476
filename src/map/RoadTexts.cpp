#include "map/RoadTexts.h"

#include <array>

#include "map/CellNames.h"

namespace {

std::string Number(long value) { return std::to_string(value); }

std::string SideName(Side side) {
  constexpr std::array<std::string_view, SideCount> Names = {"北", "北東", "南東", "南", "南西", "北西"};
  return std::string(Names[static_cast<int>(side)]);
}

}  // namespace

std::string ProblemLine(const MapImage& image, const RoadProblem& problem) {
  const std::string start = CellName(problem.offset) + " " + CodeName(image[problem.offset]) + " " +
                            SideName(problem.side) + ": ";
  switch (problem.kind) {
    case RoadProblemKind::OffTheMap: return start + "道が地図の外へ出ています";
    case RoadProblemKind::LooseEnd:
      return start + "道が " + CellName(problem.neighbour) + " " + CodeName(image[problem.neighbour]) +
             " で途切れています";
    case RoadProblemKind::NotJoinedBack:
      return start + CellName(problem.neighbour) + " " + CodeName(image[problem.neighbour]) +
             " がこちらへつながっていません";
  }
  return start;
}

std::string ProblemSummary(std::size_t count) {
  if (count == 0) return "道路網に問題はありません";
  return "道路網の問題: " + Number(static_cast<long>(count)) + " 件";
}

std::string RoadRefusalLine(const MapImage& image, const RoadRefusal& refusal, int from, int to) {
  if (refusal.Offset() < 0 || refusal.Offset() >= MapSize) return "道が地図の外に出ます";
  const std::string cell = CellName(refusal.Offset()) + " の " + CodeName(image[refusal.Offset()]);
  switch (refusal.Kind()) {
    case RoadRefusalKind::SameCell: return "FROM と TO が同じマス " + CellName(from) + " です";
    case RoadRefusalKind::NotAnEnd: return cell + " では道が終われません (道の端は港湾、御所、城、町か道路のマス)";
    case RoadRefusalKind::NoWay:
      return CellName(from) + " から " + CellName(to) +
             " への道がありません (山、港湾、御所、城と町は道路の端でしか通れず、"
             "水は 1 本の道路で 1 マスしか渡れません)";
    case RoadRefusalKind::NoPiece: return cell + " に合う道路がありません (橋は曲がれません)";
    case RoadRefusalKind::NotAWay: return cell + " は前のマスの斜めの隣ではありません";
    case RoadRefusalKind::NoGround: return cell + " では道が終われません (道の端は平地、丘陵、湿地、砂浜、馬産地、港湾、御所、城、町か道路のマス)";
  }
  return cell;
}

std::string RoadLengthLine(std::size_t steps) { return "道の長さ: " + Number(static_cast<long>(steps)) + " 歩"; }


namespace {

std::string PlaceName(const MapImage& image, int offset) {
  return FullNameOf(image[offset]) + " (" + CellName(offset) + ")";
}

}  // namespace

std::string PlaceLine(const MapImage& image, int offset) {
  return CellName(offset) + " " + OffsetText(offset) + ": " + FullNameOf(image[offset]);
}

std::string NetworkHeading(std::size_t number, const PlaceNetwork& network, const MapImage& image) {
  struct Kind {
    std::string_view name;
    bool (*is)(TerrainCode);
    long count;
  };
  Kind kinds[] = {{"城", [](TerrainCode code) { return code == terrain::Castle; }, 0},
                  {"町", IsCity, 0},
                  {"港湾", IsHarbour, 0},
                  {"御所", [](TerrainCode code) { return code == terrain::Palace; }, 0}};
  for (const int place : network.places)
    for (Kind& kind : kinds) kind.count += kind.is(image[place]) ? 1 : 0;
  std::string line = "道路網 " + Number(static_cast<long>(number)) + ": ";
  for (const Kind& kind : kinds)
    if (kind.count > 0) line += std::string(kind.name) + " " + Number(kind.count) + "、";
  return line + "道路 " + Number(network.roadPieces) + "、橋 " + Number(network.bridges);
}

std::string LonePlacesHeading(std::size_t count) {
  return "ほかの場所へ道がつながっていない場所: " + Number(static_cast<long>(count));
}

std::string NetworkSummary(const RoadNetworks& found) {
  long joining = 0, lone = static_cast<long>(found.unreached.size());
  for (const PlaceNetwork& network : found.networks) ++(network.places.size() >= 2 ? joining : lone);
  return "2 つ以上の場所をつなぐ道路網: " + Number(joining) + "、ほかの場所へつながっていない場所: " + Number(lone) +
         "、場所に届かない道路: " + Number(static_cast<long>(found.placeless.size()));
}

std::string PlaceStepsLine(const MapImage& image, const PlaceSteps& place) {
  return PlaceLine(image, place.offset) + " " + Number(place.steps) + " 歩";
}

std::string NotAPlaceLine(const MapImage& image, int offset) {
  return CellName(offset) + " の " + CodeName(image[offset]) + " は場所ではありません (道のりは港湾、御所、城と町の間で測ります)";
}

std::string NoPlaceReachedLine() { return "ここから道でつながる場所はありません"; }

std::string JoinChangeLine(const MapImage& image, const JoinChange& change) {
  std::string line = PlaceName(image, change.place) + " が" + PlaceName(image, change.other) +
                     (change.joined ? " の道路網につながりました" : " の道路網から離れました");
  if (change.moreChanges > 0) line += " (ほかに " + Number(change.moreChanges) + " か所)";
  return line;
}
