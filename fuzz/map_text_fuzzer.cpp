// Any bytes as the map's text form: the parser either takes them as a whole
// map or refuses them at a place inside the text, and leaves the image alone
// when it refuses. What it takes, written out and read again, is the same map.

#include <algorithm>
#include <string_view>

#include "FuzzCheck.h"
#include "map/MapText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  MapImage image;
  image.fill(Untouched);
  try {
    ParseMapText(text, image);
  } catch (const MapTextError& error) {
    const auto lines = std::count(text.begin(), text.end(), '\n');
    Check(error.Line() >= 1 && error.Line() <= lines + 2);
    Check(error.Column() >= 1 && static_cast<std::size_t>(error.Column()) <= size + 1);
    Check(std::all_of(image.begin(), image.end(), [](TerrainCode code) { return code == Untouched; }));
    return 0;
  }
  MapImage again;
  again.fill(0);
  ParseMapText(MapToText(image), again);
  Check(again == image);
  return 0;
}
