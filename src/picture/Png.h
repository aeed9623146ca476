#pragma once
// A small PNG writer, so that the project needs no image library: the zlib
// stream is made here too (deflate with fixed Huffman codes and LZ77 matches,
// or stored blocks when those come out smaller).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Image.h"

using Bytes = std::vector<std::uint8_t>;

// CRC-32 as PNG chunks use it (polynomial EDB88320, the one of zip and zlib).
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size);
std::uint32_t Adler32(const std::uint8_t* data, std::size_t size);

// Raw deflate data (RFC 1951) and the zlib stream around it (RFC 1950).
Bytes Deflate(const Bytes& data);
Bytes ZlibCompress(const Bytes& data);

// 8 bits per channel; truecolour with alpha when any pixel is not opaque,
// plain truecolour otherwise.
Bytes EncodePng(const Image& image);
