#include "operations/SideBySide.h"

#include <algorithm>

#include "formats/FileFormats.h"
#include "operations/MapOperations.h"
#include "patch/TextPatch.h"

const std::string_view AppliedBeforeText = "このパッチはもう当ててあります";

namespace {

constexpr std::string_view NothingToPatchText = "このパッチで変わるマスはありません";
constexpr std::string_view BpsFitsText = "BPS パッチ: この地図のために作られたもので、そのまま当たります";

// A patch read against `image`, with the patch's reason where it cannot be
// read; a BPS made from another map comes back as a misfit.
PatchOutcome PatchOutcomeOf(const MapPath& path, const std::vector<std::uint8_t>& bytes, const MapImage& image) {
  try {
    return ReadPatchOutcome(path, bytes, image);
  } catch (const FormatFault& fault) {
    throw MapFileError(fault.Text());
  }
}

// What the preview says of one patch as a whole.
std::string SummaryOfOne(const PatchOutcome& outcome, std::size_t changes) {
  switch (outcome.kind) {
    case PatchKind::Bps: return std::string(BpsFitsText);
    case PatchKind::Ips: return std::string(IpsUncheckedText);
    case PatchKind::Text: break;
  }
  return PatchSummary(changes, outcome.alreadyApplied, outcome.conflicts.size());
}

// The lines of one conflict: its patch named where there are several, and
// the patch above whose code the map holds now.
PathText ChainConflictLine(const PatchChain& chain, const ChainedPatch& patch, std::size_t index) {
  const std::optional<std::size_t> above = patch.changedBy[index];
  const std::string line = ConflictLine(patch.outcome.conflicts[index], above ? "(%s の後) " : "");
  if (chain.patches.size() < 2) return {line, {}};
  return {"%s: " + line, FileNameOf(patch.path), above ? FileNameOf(chain.patches[*above].path) : MapPath()};
}

}  // namespace

std::vector<PatchFile> ReadPatchFiles(FileSystem& files, const std::vector<MapPath>& paths) {
  std::vector<PatchFile> read;
  for (const MapPath& path : paths) read.push_back({path, ReadSmallFile(files, path)});
  return read;
}

PatchChain ReadPatchChain(const std::vector<PatchFile>& files, const MapImage& image) {
  PatchChain chain;
  chain.start = image;
  chain.patches.reserve(files.size());  // each holds two images: moved once
  std::vector<int> lastChangedBy(MapSize, -1);
  for (const PatchFile& file : files) {
    const MapImage& now = chain.patches.empty() ? image : chain.patches.back().outcome.image;
    ChainedPatch& patch = chain.patches.emplace_back(ChainedPatch{file.path, now, PatchOutcomeOf(file.path, file.bytes, now), {}});
    for (const PatchConflict& conflict : patch.outcome.conflicts) {
      const int above = lastChangedBy[conflict.change.offset];
      patch.changedBy.push_back(above < 0 ? std::nullopt : std::optional<std::size_t>(above));
    }
    for (const CellChange& change : ChangesBetween(patch.before, patch.outcome.image))
      lastChangedBy[change.offset] = static_cast<int>(chain.patches.size() - 1);
    if (patch.outcome.misfit) {
      chain.misfit = chain.patches.size() - 1;
      break;
    }
  }
  return chain;
}

void RefuseMisfitOrEmpty(const PatchChain& chain) {
  if (chain.misfit)
    throw MapFileError(PathText{std::string(BpsMisfitText), chain.patches[*chain.misfit].path});
  if (chain.ConflictCount() > 0 || chain.WithSides({}) != chain.start) return;
  const bool applied = std::any_of(chain.patches.begin(), chain.patches.end(), [](const ChainedPatch& patch) {
    return patch.outcome.appliedBefore || patch.outcome.alreadyApplied > 0;
  });
  throw MapFileError(PathText{std::string(applied ? AppliedBeforeText : NothingToPatchText), {}});
}

std::string_view PatchSideText(bool theirs) { return theirs ? "  → パッチの後のコードにします" : "  → 地図のまま"; }
std::string_view ComparisonSideText(bool taken) { return taken ? "  → 比べた地図から" : "  → この地図のまま"; }

std::size_t PatchChain::ConflictCount() const {
  std::size_t count = 0;
  for (const ChainedPatch& patch : patches) count += patch.outcome.conflicts.size();
  return count;
}

std::size_t PatchChain::AlreadyApplied() const {
  std::size_t count = 0;
  for (const ChainedPatch& patch : patches) count += patch.outcome.alreadyApplied;
  return count;
}

MapImage PatchChain::WithSides(const std::vector<bool>& theirs) const {
  MapImage image = start;
  std::size_t index = 0;
  for (const ChainedPatch& patch : patches) {
    for (const CellChange& change : ChangesBetween(patch.before, patch.outcome.image)) image[change.offset] = change.after;
    for (const PatchConflict& conflict : patch.outcome.conflicts)
      if (index < theirs.size() && theirs[index++]) image[conflict.change.offset] = conflict.change.after;
  }
  return image;
}

std::vector<PathText> PatchChain::ConflictLines() const {
  std::vector<PathText> lines;
  for (const ChainedPatch& patch : patches)
    for (std::size_t index = 0; index < patch.outcome.conflicts.size(); ++index)
      lines.push_back(ChainConflictLine(*this, patch, index));
  return lines;
}

std::vector<PathText> PatchChain::SideLines(const std::vector<bool>& theirs) const {
  std::vector<PathText> lines = ConflictLines();
  for (std::size_t index = 0; index < lines.size(); ++index)
    lines[index].format += PatchSideText(index < theirs.size() && theirs[index]);
  return lines;
}

std::string PatchChain::Summary(const MapImage& patched) const {
  const std::size_t changes = ChangesBetween(start, patched).size();
  if (patches.size() == 1) return SummaryOfOne(patches.front().outcome, changes);
  return "パッチ " + std::to_string(patches.size()) + " 個  " + PatchSummary(changes, AlreadyApplied(), ConflictCount());
}

std::vector<MapRing> PatchChain::Rings() const {
  std::vector<MapRing> rings;
  std::vector<bool> conflicting(MapSize);
  for (const ChainedPatch& patch : patches)
    for (const PatchConflict& conflict : patch.outcome.conflicts) {
      conflicting[conflict.change.offset] = true;
      rings.push_back({conflict.change.offset, RingKind::Conflict});
    }
  for (const CellChange& change : ChangesBetween(start, WithSides({})))
    if (!conflicting[change.offset]) rings.push_back({change.offset, RingKind::Change});
  return rings;
}

MapImage ComparedMap(FileSystem& files, const MapPath& path) {
  const FileFormat* format = FormatOfName(path, FormatContent::Map, true);
  if (format != nullptr && !format->gameMapFormat) return ImportedMap(files, *format, path);
  const MapContent content = ReadMapContent(files, path);
  if (content.fileSize != static_cast<std::uint64_t>(MapSize))
    throw MapFileError(PathText{"%s は地図ではありません: 地図ファイルは " + std::to_string(MapSize) +
                                    " バイトですが、このファイルは " + std::to_string(content.fileSize) + " バイトです",
                                path});
  MapImage image{};
  StoreMapContent(content, image, [](int, TerrainCode) {});
  return image;
}

MapImage WithTaken(const MapImage& image, const std::vector<CellChange>& differences, const std::vector<bool>& taken) {
  MapImage result = image;
  for (std::size_t index = 0; index < differences.size() && index < taken.size(); ++index)
    if (taken[index]) result[differences[index].offset] = differences[index].after;
  return result;
}

std::vector<MapRing> ComparisonRings(const std::vector<CellChange>& differences, const std::vector<bool>& taken) {
  std::vector<MapRing> rings;
  for (std::size_t index = 0; index < differences.size(); ++index)
    rings.push_back({differences[index].offset,
                     index < taken.size() && taken[index] ? RingKind::Conflict : RingKind::Change});
  return rings;
}
