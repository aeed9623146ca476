#include "formats/PatchReading.h"

#include <algorithm>

#include "formats/FileFormats.h"
#include "patch/Bps.h"
#include "patch/Ips.h"
#include "patch/PatchError.h"

const std::string_view BpsMisfitText =
    "BPS パッチ %s はこの地図には当たりません。BPS は作られたときの地図そのもの\n"
    "(CRC-32 で確かめます) にしか当たらず、この地図はそれと違います。\n"
    "地図の自分の編集を残して当てるには、テキストのパッチ (.txt) を使ってください。";
const std::string_view IpsUncheckedText =
    "IPS パッチは元の地図を確かめられないので、どの地図にもそのまま当たります。作られた地図と違うかどうかは分かりません";

namespace {

PatchOutcome BpsOutcome(const std::vector<std::uint8_t>& patch, const MapImage& map) {
  const BpsPatch header = ReadBps(patch);
  PatchOutcome outcome;
  outcome.kind = PatchKind::Bps;
  outcome.image = map;
  switch (FitOf(header, map)) {
    case BpsFit::Fits:
      outcome.image = ApplyBps(patch, header, map);
      break;
    case BpsFit::AlreadyApplied:
      outcome.appliedBefore = true;
      break;
    case BpsFit::DoesNotFit:
      outcome.misfit = true;
      break;
  }
  return outcome;
}

}  // namespace

std::string PatchSummary(std::size_t changed, std::size_t already, std::size_t conflicts) {
  return "変えたマス: " + std::to_string(changed) + "  当て済みのマス: " + std::to_string(already) +
         "  衝突: " + std::to_string(conflicts);
}

PatchKind PatchKindOfContent(const std::vector<std::uint8_t>& bytes) {
  auto startsWith = [&](std::string_view magic) {
    return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
  };
  if (startsWith(BpsMagic)) return PatchKind::Bps;
  if (startsWith(IpsHeader)) return PatchKind::Ips;
  return PatchKind::Text;
}

PatchOutcome ReadPatchOutcome(const MapPath& path, const std::vector<std::uint8_t>& patch, const MapImage& map) {
  try {
    switch (PatchKindOfContent(patch)) {
      case PatchKind::Bps: return BpsOutcome(patch, map);
      case PatchKind::Ips: {
        PatchOutcome outcome;
        outcome.kind = PatchKind::Ips;
        outcome.image = ApplyIps(patch, map);
        outcome.unchecked = true;
        return outcome;
      }
      case PatchKind::Text: break;
    }
    ThreeWayResult result = ApplyThreeWay(ParseTextPatch(DecodedText(path, patch)), map);
    PatchOutcome outcome;
    outcome.image = result.image;
    outcome.alreadyApplied = result.alreadyApplied;
    outcome.conflicts = std::move(result.conflicts);
    return outcome;
  } catch (const PatchError& error) {
    const std::string where = error.Line() > 0 ? ":" + std::to_string(error.Line()) : "";
    throw FormatFault(PathText{"%s" + where + ": " + error.what(), path});
  }
}
