// Any bytes as a Tiled map: the reader refuses them with its own error, or
// gives a map that, exported and read again, is the same map.

#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "tiled/TiledMap.h"

namespace {

// JSON wants UTF-8; here any ASCII stand-in for the Shift-JIS names will do.
std::string AsciiOnly(std::string_view text) {
  std::string ascii(text);
  for (char& c : ascii)
    if (static_cast<unsigned char>(c) >= 0x80) c = '?';
  return ascii;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MapImage image{};
  try {
    image = ReadTiledMap(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const TiledMapError&) {
    return 0;
  }
  Check(ReadTiledMap(TiledMapJson(image, AsciiOnly)) == image);
  return 0;
}
