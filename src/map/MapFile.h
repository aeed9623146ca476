#pragma once
// The map file MAPDATA.VLT: 176 map lines of 151 terrain codes, no header.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "map/FileSystem.h"
#include "map/PathText.h"
#include "map/TerrainCodes.h"

constexpr int MapLineCount = 176;
constexpr int MapLineLength = 151;
constexpr int MapSize = MapLineCount * MapLineLength;  // 26,576 bytes

// The byte at map offset k is the byte at offset k of the file.
using MapImage = std::array<TerrainCode, MapSize>;

// True when the last path component (after the last '\' or ':') is exactly
// "MAPDATA.VLT". The Shift-JIS form skips the second byte of double-byte
// characters, which may be 5C, the code of '\'.
bool IsMapFileName(std::string_view shiftJisPath);
bool IsMapFileName(std::u16string_view path);

// Reads the whole file first, so a failed read leaves the image untouched;
// then stores byte k at offset k for every offset the file reaches, in
// increasing order, and calls onStored(offset, code) right after each one.
// Bytes beyond the map are ignored. Throws MapFileError.
std::vector<std::uint8_t> ReadMapContent(FileSystem& files, const MapPath& path);

// Stores what a read brought: byte k at offset k, for the offsets it reaches.
template <typename OnStored>
void StoreMapContent(const std::vector<std::uint8_t>& content, MapImage& image, OnStored&& onStored) {
  const int reached = content.size() < image.size() ? static_cast<int>(content.size()) : MapSize;
  for (int offset = 0; offset < reached; ++offset) {
    image[offset] = content[offset];
    onStored(offset, image[offset]);
  }
}

template <typename OnStored>
void ReadMapImage(FileSystem& files, const MapPath& path, MapImage& image, OnStored&& onStored) {
  StoreMapContent(ReadMapContent(files, path), image, onStored);
}

inline void ReadMapImage(FileSystem& files, const MapPath& path, MapImage& image) {
  ReadMapImage(files, path, image, [](int, TerrainCode) {});
}

// Writes the whole image over the file. The bytes go to a new file beside it,
// which then takes the old file's place in one step: if anything fails, the
// old file is left exactly as it was and the new one is removed. Should the
// old file be gone from its place when the new one cannot take it, the new
// one stays where it is and the error names it. Throws MapFileError.
void WriteMapImage(FileSystem& files, const MapPath& path, const MapImage& image);

// The same for any content: a new file beside the old one takes its place.
void WriteWholeFile(FileSystem& files, const MapPath& path, const std::vector<std::uint8_t>& content);

// The messages of the errors above.
extern const std::string_view CannotOpenMessage;    // "%s" is the path
extern const std::string_view ReadErrorMessage;
extern const std::string_view CannotCreateMessage;  // "%s" is the path
extern const std::string_view WriteErrorMessage;
extern const std::string_view SavedElsewhereMessage;  // "%s": the path, then where the map is now
