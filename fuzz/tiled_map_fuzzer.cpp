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

// An input that starts with '*' stands for the rest repeated to some 4 MiB,
// so that texts as large as a player could hand us are tried at every run,
// not only once mutations have grown one that far.
std::string Grown(std::string_view input) {
  if (input.size() < 2 || input[0] != '*') return std::string(input);
  constexpr std::size_t Size = 4 << 20;
  const std::string_view piece = input.substr(1);
  std::string text;
  text.reserve(Size + piece.size());
  while (text.size() < Size) text += piece;
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MapImage image{};
  try {
    image = ReadTiledMap(Grown(std::string_view(reinterpret_cast<const char*>(data), size)));
  } catch (const TiledMapError&) {
    return 0;
  }
  Check(ReadTiledMap(TiledMapJson(image, AsciiOnly)) == image);
  return 0;
}
