// Any bytes as an IPS patch: the reader refuses them or writes its records
// inside the map, and applying the same patch again changes nothing more.

#include "FuzzCheck.h"
#include "patch/Ips.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> patch(data, data + size);
  MapImage map;
  map.fill(Untouched);
  try {
    const MapImage once = ApplyIps(patch, map);
    Check(ApplyIps(patch, once) == once);
  } catch (const PatchError&) {
  }
  return 0;
}
