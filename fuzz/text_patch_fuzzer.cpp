// Any bytes as a text patch: the reader takes them whole or refuses them at
// a line of the text. What it takes names only cells of the map, each once,
// and written out as diff writes it, it reads back the same.

#include <algorithm>
#include <stdexcept>
#include <string>

#include "FuzzCheck.h"
#include "map/TextEncoding.h"
#include "patch/TextPatch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text;
  try {
    text = TextWithoutByteOrderMark(std::vector<std::uint8_t>(data, data + size));
  } catch (const std::runtime_error&) {
    return 0;
  }
  std::vector<CellChange> changes;
  try {
    changes = ParseTextPatch(text);
  } catch (const PatchError& error) {
    Check(error.Line() >= 1 && static_cast<std::size_t>(error.Line()) <= text.size() + 1);
    return 0;
  }
  std::vector<bool> named(MapSize, false);
  std::string written;
  for (const CellChange& change : changes) {
    Check(change.offset >= 0 && change.offset < MapSize && !named[change.offset] && change.before != change.after);
    named[change.offset] = true;
    written += ChangeLine(change) + "\n";
  }
  written += ChangeSummary(changes.size()) + "\n";
  Check(ParseTextPatch(written) == changes);

  MapImage map;
  map.fill(Untouched);
  const ThreeWayResult result = ApplyThreeWay(changes, map);
  Check(result.changed.size() + result.alreadyApplied + result.conflicts.size() == changes.size());
  return 0;
}
