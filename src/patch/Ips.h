#pragma once
// IPS patches, the oldest and most widespread patch format: "PATCH", records
// of bytes to write at an offset (or one byte repeated, RLE), "EOF" and
// perhaps the length to cut the file to. IPS carries neither the old bytes
// nor checksums, so it cannot tell a map it was not made for: it writes its
// bytes onto any map.

#include <cstdint>
#include <string_view>
#include <vector>

#include "map/MapFile.h"
#include "patch/PatchError.h"

// One record per run of changed bytes, 65,535 bytes at most each.
// The first bytes of every IPS patch.
constexpr std::string_view IpsHeader = "PATCH";

std::vector<std::uint8_t> MakeIps(const MapImage& before, const MapImage& after);

// Writes the records onto a copy of `map`. Throws PatchError for a patch that
// is cut off or damaged, a record past the map's end, and a truncation length
// other than the map's size.
MapImage ApplyIps(const std::vector<std::uint8_t>& patch, const MapImage& map);
