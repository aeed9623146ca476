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
// "MAPDATA.VLT", the name the game reads its map from and the only one the
// editor opens; valtea-map takes the map's format by its ending alone. The Shift-JIS form skips the second byte of double-byte
// characters, which may be 5C, the code of '\'.
bool IsGameMapFileName(std::string_view shiftJisPath);
bool IsGameMapFileName(std::u16string_view path);

// What a read of a map file brought: its first bytes, up to the map's size
// (bytes beyond the map are never read), and the size of the whole file.
struct MapContent {
  std::vector<std::uint8_t> bytes;
  std::uint64_t fileSize = 0;
};

// Reads the file first, so a failed read leaves the image untouched; then
// stores byte k at offset k for every offset the file reaches, in increasing
// order, and calls onStored(offset, code) right after each one. Throws
// MapFileError.
MapContent ReadMapContent(FileSystem& files, const MapPath& path);

// Stores what a read brought: byte k at offset k, for the offsets it reaches.
template <typename OnStored>
void StoreMapContent(const MapContent& content, MapImage& image, OnStored&& onStored) {
  const std::size_t reached = content.bytes.size() < image.size() ? content.bytes.size() : image.size();
  for (std::size_t offset = 0; offset < reached; ++offset) {
    image[offset] = content.bytes[offset];
    onStored(static_cast<int>(offset), image[offset]);
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
// one stays where it is and the error names it. Throws MapFileError, or
// OldFileLeftError when the file was saved but its old content could not be
// removed from beside it.
void WriteMapImage(FileSystem& files, const MapPath& path, const MapImage& image);

// The same for any content: a new file beside the old one takes its place.
void WriteWholeFile(FileSystem& files, const MapPath& path, const std::vector<std::uint8_t>& content);

// Reads a whole file that is meant to be small (a text form, a patch):
// one longer than `most` bytes is refused unread. Throws MapFileError.
constexpr std::size_t MostSmallFileBytes = 16 * 1024 * 1024;
std::vector<std::uint8_t> ReadSmallFile(FileSystem& files, const MapPath& path,
                                        std::size_t most = MostSmallFileBytes);

// The save succeeded; the old file stays beside it, under the name the text gives.
class OldFileLeftError : public MapFileError {
 public:
  using MapFileError::MapFileError;
};

// The messages of the errors above.
extern const std::string_view CannotOpenMessage;    // "%s" is the path
extern const std::string_view ReadErrorMessage;
extern const std::string_view CannotCreateMessage;  // "%s" is the path
extern const std::string_view WriteErrorMessage;
extern const std::string_view SavedElsewhereMessage;  // "%s": the path, then where the map is now
extern const std::string_view TooLargeMessage;        // "%s" is the path
extern const std::string_view OldFileLeftMessage;     // "%s": the path, then where the old file is
