// Any bytes as a BPS patch, and any bytes as its actions with a right patch
// checksum, so that the actions are reached: the reader refuses or gives a
// whole map whose checksum is the one the patch names.

#include "FuzzCheck.h"
#include "patch/Bps.h"

namespace {

MapImage Source() {
  MapImage image{};
  for (int offset = 0; offset < MapSize; ++offset) image[offset] = static_cast<TerrainCode>(offset % 35);
  return image;
}

void AppendCrc(PatchBytes& bytes, std::uint32_t crc) {
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(crc >> shift));
}

void Run(const PatchBytes& patch, const MapImage& source) {
  try {
    const BpsPatch header = ReadBps(patch);
    FitOf(header, source);
    const MapImage target = ApplyBps(patch, header, source);
    Check(Crc32Of(target.data(), target.size()) == header.targetCrc);
  } catch (const PatchError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const MapImage source = Source();
  Run(PatchBytes(data, data + size), source);

  // "BPS1", a map's sizes, no metadata, the bytes as actions, the checksums.
  PatchBytes patch = {'B', 'P', 'S', '1', 0x50, 0x4E, 0x80, 0x50, 0x4E, 0x80, 0x80};
  patch.insert(patch.end(), data, data + size);
  AppendCrc(patch, Crc32Of(source.data(), source.size()));
  AppendCrc(patch, size >= 4 ? Crc32Of(data, 4) : 0);
  AppendCrc(patch, Crc32Of(patch.data(), patch.size()));
  Run(patch, source);
  return 0;
}
