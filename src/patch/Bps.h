#pragma once
// BPS patches (BPS1), the binary patch format of the modding world with
// checksums: a header with the source's and the target's size, actions that
// build the target from the source and from bytes of their own, and the
// CRC-32 of the source, the target and the patch itself.

#include <cstdint>
#include <string_view>
#include <vector>

#include "map/MapFile.h"
#include "patch/PatchError.h"

using PatchBytes = std::vector<std::uint8_t>;

// The first bytes of every BPS patch.
constexpr std::string_view BpsMagic = "BPS1";

// What `before` needs to become `after`: SourceRead where they agree,
// TargetRead where they differ.
PatchBytes MakeBps(const MapImage& before, const MapImage& after);

struct BpsPatch {
  std::uint64_t sourceSize = 0;
  std::uint64_t targetSize = 0;
  std::uint32_t sourceCrc = 0;
  std::uint32_t targetCrc = 0;
  std::size_t actionsBegin = 0;  // the actions lie between these in the patch's bytes
  std::size_t actionsEnd = 0;
};

// Checks the magic, the patch's own checksum and the header, and refuses a
// target that is no map. Throws PatchError: the patch is damaged.
BpsPatch ReadBps(const PatchBytes& patch);

// Whether the patch was made for `map`, or gave it already.
enum class BpsFit { Fits, AlreadyApplied, DoesNotFit };
BpsFit FitOf(const BpsPatch& header, const MapImage& map);

// Runs the actions on a map the patch fits. Throws PatchError when an action
// reaches past the end of the patch, the source or the target, the target
// comes out short, or its checksum is not the one the patch names.
MapImage ApplyBps(const PatchBytes& patch, const BpsPatch& header, const MapImage& source);

// CRC-32 as zlib computes it.
std::uint32_t Crc32Of(const std::uint8_t* bytes, std::size_t count);
