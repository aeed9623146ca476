#include "picture/Png.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string>

#include <zlib.h>

#include "stb_image_write.h"

namespace {

void Append(void* context, void* data, int size) {
  auto* out = static_cast<Bytes*>(context);
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

const std::string_view PngErrorMessage = "PNG ファイルの中身を作れません";

Bytes EncodePng(const Image& image) {
  // stb counts bytes in int: a row of four channels and the whole picture must fit.
  constexpr long long Most = std::numeric_limits<int>::max() / 4;
  const bool sized = image.width > 0 && image.height > 0 && image.width <= Most / image.height &&
                     image.pixels.size() == static_cast<std::size_t>(image.width) * image.height;
  if (!sized) throw std::runtime_error(std::string(PngErrorMessage));
  const bool opaque =
      std::all_of(image.pixels.begin(), image.pixels.end(), [](const Rgba& pixel) { return pixel.a == 255; });
  const int channels = opaque ? 3 : 4;
  std::vector<std::uint8_t> samples;
  samples.reserve(image.pixels.size() * channels);
  for (const Rgba& pixel : image.pixels) {
    samples.push_back(pixel.r);
    samples.push_back(pixel.g);
    samples.push_back(pixel.b);
    if (!opaque) samples.push_back(pixel.a);
  }
  // Pictures of flat colours: unfiltered rows pack smallest, and a shorter
  // search for repeats costs little size for half the time.
  stbi_write_force_png_filter = 0;
  stbi_write_png_compression_level = 4;
  Bytes png;
  if (!stbi_write_png_to_func(Append, &png, image.width, image.height, channels, samples.data(),
                              image.width * channels) ||
      png.empty())
    throw std::runtime_error(std::string(PngErrorMessage));
  return png;
}

namespace {

void AppendBigEndian(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// Length, type, data, and the CRC-32 of type and data.
void AppendChunk(Bytes& out, const char (&type)[5], const Bytes& data) {
  AppendBigEndian(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeStart = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0, out.data() + typeStart, static_cast<uInt>(out.size() - typeStart));
  AppendBigEndian(out, static_cast<std::uint32_t>(crc));
}

[[noreturn]] void FailPng() { throw std::runtime_error(std::string(PngErrorMessage)); }

// The rows, each after its filter byte, through deflate.
Bytes CompressedRows(const IndexedImage& image) {
  z_stream stream{};
  if (deflateInit(&stream, 6) != Z_OK) FailPng();
  Bytes out(64 * 1024);
  std::size_t used = 0;
  // As zlib's own example does: deflate until it leaves room in the output.
  auto deflateAll = [&](int flush) {
    do {
      if (used == out.size()) out.resize(out.size() * 2);
      stream.next_out = out.data() + used;
      stream.avail_out = static_cast<uInt>(out.size() - used);
      const int status = deflate(&stream, flush);
      used = out.size() - stream.avail_out;
      if (status == Z_STREAM_ERROR) {
        deflateEnd(&stream);
        FailPng();
      }
    } while (stream.avail_out == 0);
  };
  std::vector<std::uint8_t> row(static_cast<std::size_t>(image.width) + 1);
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t* pixels = image.Row(y);
    if (y == 0) {
      row[0] = 0;  // None
      std::copy(pixels, pixels + image.width, row.begin() + 1);
    } else {
      row[0] = 2;  // Up
      const std::uint8_t* above = image.Row(y - 1);
      for (int x = 0; x < image.width; ++x) row[x + 1] = static_cast<std::uint8_t>(pixels[x] - above[x]);
    }
    stream.next_in = row.data();
    stream.avail_in = static_cast<uInt>(row.size());
    deflateAll(Z_NO_FLUSH);
  }
  deflateAll(Z_FINISH);
  deflateEnd(&stream);
  out.resize(used);
  return out;
}

}  // namespace

Bytes EncodePalettePng(const IndexedImage& image) {
  const bool sized = image.width > 0 && image.height > 0 &&
                     image.pixels.size() == static_cast<std::size_t>(image.width) * image.height;
  if (!sized || image.palette.empty() || image.palette.size() > 256) FailPng();
  Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes header;
  AppendBigEndian(header, static_cast<std::uint32_t>(image.width));
  AppendBigEndian(header, static_cast<std::uint32_t>(image.height));
  header.insert(header.end(), {8, 3, 0, 0, 0});  // 8 bits, palette, deflate, adaptive filters, no interlace
  AppendChunk(png, "IHDR", header);
  Bytes palette;
  for (const Rgba& colour : image.palette) palette.insert(palette.end(), {colour.r, colour.g, colour.b});
  AppendChunk(png, "PLTE", palette);
  AppendChunk(png, "IDAT", CompressedRows(image));
  AppendChunk(png, "IEND", {});
  return png;
}
