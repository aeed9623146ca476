#pragma once
// Tile layer data in the forms Tiled keeps it besides a JSON array: little-
// endian numbers, packed by zlib or gzip, in base64. The tests make such
// layers with Boost and zlib, as Tiled does with Qt and zlib.

#include <zlib.h>

#include <boost/archive/iterators/base64_from_binary.hpp>
#include <boost/archive/iterators/transform_width.hpp>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>

inline std::string Base64(const std::string& bytes) {
  using Encoder = boost::archive::iterators::base64_from_binary<
      boost::archive::iterators::transform_width<std::string::const_iterator, 6, 8>>;
  std::string text(Encoder(bytes.begin()), Encoder(bytes.end()));
  return text + std::string((3 - bytes.size() % 3) % 3, '=');
}

// zlib's own stream (window bits 15) or gzip's (31).
inline std::string Deflated(const std::string& bytes, int windowBits) {
  z_stream stream{};
  deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
  std::string packed(deflateBound(&stream, static_cast<uLong>(bytes.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(packed.data());
  stream.avail_out = static_cast<uInt>(packed.size());
  deflate(&stream, Z_FINISH);
  packed.resize(stream.total_out);
  deflateEnd(&stream);
  return packed;
}

inline std::string LittleEndianNumbers(const nlohmann::json& data) {
  std::string bytes;
  for (const nlohmann::json& number : data)
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(number.get<std::uint32_t>() >> shift & 0xFF);
  return bytes;
}

// A layer of tile numbers given another form: compression "" (plain), "zlib" or "gzip".
inline void UseBase64(nlohmann::json& layer, const std::string& compression) {
  std::string bytes = LittleEndianNumbers(layer["data"]);
  if (!compression.empty()) bytes = Deflated(bytes, compression == "gzip" ? 31 : 15);
  layer["encoding"] = "base64";
  layer["compression"] = compression;
  layer["data"] = Base64(bytes);
}
