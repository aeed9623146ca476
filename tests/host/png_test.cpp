// The PNG writer of the tools, checked against a small decoder written here
// from the format descriptions (RFC 1950, RFC 1951, PNG), independently of
// the writer's code.

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "Png.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

// ---- an inflater for stored and fixed-Huffman blocks ----

class BitReader {
 public:
  BitReader(const Bytes& data, std::size_t start) : data_(data), position_(start) {}
  int Bit() {
    if (position_ >= data_.size()) throw std::runtime_error("out of data");
    int bit = (data_[position_] >> used_) & 1;
    if (++used_ == 8) {
      used_ = 0;
      ++position_;
    }
    return bit;
  }
  int Bits(int count) {
    int value = 0;
    for (int i = 0; i < count; ++i) value |= Bit() << i;
    return value;
  }
  void AlignToByte() {
    if (used_ != 0) {
      used_ = 0;
      ++position_;
    }
  }
  std::uint8_t Byte() {
    if (position_ >= data_.size()) throw std::runtime_error("out of data");
    return data_[position_++];
  }
  std::size_t Position() const { return position_; }

 private:
  const Bytes& data_;
  std::size_t position_;
  int used_ = 0;
};

// Canonical Huffman decoding from code lengths, one bit at a time.
class Huffman {
 public:
  explicit Huffman(const std::vector<int>& lengths) : counts_(16, 0) {
    for (int length : lengths) ++counts_[length];
    counts_[0] = 0;
    std::vector<int> offsets(16, 0);
    for (int length = 1; length < 16; ++length) offsets[length] = offsets[length - 1] + counts_[length - 1];
    offsets[0] = 0;
    symbols_.resize(lengths.size());
    std::vector<int> next = offsets;
    for (std::size_t symbol = 0; symbol < lengths.size(); ++symbol)
      if (lengths[symbol] != 0) symbols_[next[lengths[symbol]]++] = static_cast<int>(symbol);
  }
  int Decode(BitReader& bits) const {
    int code = 0, first = 0, index = 0;
    for (int length = 1; length < 16; ++length) {
      code |= bits.Bit();
      int count = counts_[length];
      if (code - first < count) return symbols_[index + code - first];
      index += count;
      first = (first + count) << 1;
      code <<= 1;
    }
    throw std::runtime_error("bad code");
  }

 private:
  std::vector<int> counts_;
  std::vector<int> symbols_;
};

Bytes Inflate(const Bytes& data, std::size_t start = 0, std::size_t* end = nullptr) {
  static const int lengthBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                   31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
  static const int lengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
  static const int distanceBase[] = {1,    2,    3,    4,    5,    7,     9,     13,    17,  25,
                                     33,   49,   65,   97,   129,  193,   257,   385,   513, 769,
                                     1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
  static const int distanceExtra[] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                      6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
  std::vector<int> literalLengths(288, 8);
  for (int s = 144; s < 256; ++s) literalLengths[s] = 9;
  for (int s = 256; s < 280; ++s) literalLengths[s] = 7;
  const Huffman literals(literalLengths);
  const Huffman distances(std::vector<int>(30, 5));

  BitReader bits(data, start);
  Bytes out;
  bool last = false;
  while (!last) {
    last = bits.Bit() == 1;
    int type = bits.Bits(2);
    if (type == 0) {
      bits.AlignToByte();
      int length = bits.Byte();
      length |= bits.Byte() << 8;
      int complement = bits.Byte();
      complement |= bits.Byte() << 8;
      if ((length ^ 0xFFFF) != complement) throw std::runtime_error("bad stored length");
      for (int i = 0; i < length; ++i) out.push_back(bits.Byte());
    } else if (type == 1) {
      for (int symbol = literals.Decode(bits); symbol != 256; symbol = literals.Decode(bits)) {
        if (symbol < 256) {
          out.push_back(static_cast<std::uint8_t>(symbol));
          continue;
        }
        symbol -= 257;
        if (symbol >= 29) throw std::runtime_error("bad length symbol");
        int length = lengthBase[symbol] + bits.Bits(lengthExtra[symbol]);
        int distanceSymbol = distances.Decode(bits);
        if (distanceSymbol >= 30) throw std::runtime_error("bad distance symbol");
        std::size_t distance = distanceBase[distanceSymbol] + bits.Bits(distanceExtra[distanceSymbol]);
        if (distance > out.size()) throw std::runtime_error("distance too far");
        for (int i = 0; i < length; ++i) out.push_back(out[out.size() - distance]);
      }
    } else {
      throw std::runtime_error("unexpected block type");
    }
  }
  bits.AlignToByte();
  if (end) *end = bits.Position();
  return out;
}

// ---- checksums, bit by bit from their definitions ----

std::uint32_t SlowCrc32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

std::uint32_t BigEndian(const Bytes& data, std::size_t at) {
  return (std::uint32_t{data[at]} << 24) | (data[at + 1] << 16) | (data[at + 2] << 8) | data[at + 3];
}

Bytes Unzlib(const Bytes& stream) {
  if (stream.size() < 6) throw std::runtime_error("short zlib stream");
  if ((stream[0] & 0x0F) != 8 || ((stream[0] << 8) | stream[1]) % 31 != 0 || (stream[1] & 0x20))
    throw std::runtime_error("bad zlib header");
  std::size_t end = 0;
  Bytes data = Inflate(stream, 2, &end);
  if (end + 4 != stream.size()) throw std::runtime_error("zlib stream length");
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  if (BigEndian(stream, end) != ((b << 16) | a)) throw std::runtime_error("bad Adler-32");
  return data;
}

// ---- PNG ----

struct Chunk {
  std::string type;
  Bytes content;
};

std::vector<Chunk> ChunksOf(const Bytes& png) {
  const Bytes signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (png.size() < 8 || !std::equal(signature.begin(), signature.end(), png.begin()))
    throw std::runtime_error("no PNG signature");
  std::vector<Chunk> chunks;
  std::size_t at = 8;
  while (at < png.size()) {
    std::uint32_t length = BigEndian(png, at);
    if (at + 12 + length > png.size()) throw std::runtime_error("chunk beyond the end");
    if (BigEndian(png, at + 8 + length) != SlowCrc32(png.data() + at + 4, 4 + length))
      throw std::runtime_error("bad chunk CRC");
    chunks.push_back(Chunk{std::string(png.begin() + at + 4, png.begin() + at + 8),
                           Bytes(png.begin() + at + 8, png.begin() + at + 8 + length)});
    at += 12 + length;
  }
  return chunks;
}

int PaethPredictor(int a, int b, int c) {
  int p = a + b - c;
  int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
}

Image DecodePng(const Bytes& png) {
  std::vector<Chunk> chunks = ChunksOf(png);
  if (chunks.empty() || chunks.front().type != "IHDR" || chunks.back().type != "IEND")
    throw std::runtime_error("chunk order");
  const Bytes& header = chunks.front().content;
  int width = static_cast<int>(BigEndian(header, 0)), height = static_cast<int>(BigEndian(header, 4));
  if (header[8] != 8 || (header[9] != 2 && header[9] != 6) || header[10] || header[11] || header[12])
    throw std::runtime_error("unexpected format");
  int channels = header[9] == 6 ? 4 : 3;
  Bytes compressed;
  for (const Chunk& chunk : chunks)
    if (chunk.type == "IDAT") compressed.insert(compressed.end(), chunk.content.begin(), chunk.content.end());
  Bytes raw = Unzlib(compressed);
  std::size_t stride = static_cast<std::size_t>(width) * channels;
  if (raw.size() != (stride + 1) * height) throw std::runtime_error("scanline size");
  Image image(width, height);
  Bytes previous(stride, 0), row(stride);
  for (int y = 0; y < height; ++y) {
    int filter = raw[y * (stride + 1)];
    if (filter > 4) throw std::runtime_error("bad filter");
    for (std::size_t i = 0; i < stride; ++i) {
      int a = i >= static_cast<std::size_t>(channels) ? row[i - channels] : 0;
      int b = previous[i];
      int c = i >= static_cast<std::size_t>(channels) ? previous[i - channels] : 0;
      int x = raw[y * (stride + 1) + 1 + i];
      int predictor = filter == 0 ? 0 : filter == 1 ? a : filter == 2 ? b : filter == 3 ? (a + b) / 2 : PaethPredictor(a, b, c);
      row[i] = static_cast<std::uint8_t>(x + predictor);
    }
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* p = &row[x * channels];
      image.At(x, y) = Rgba{p[0], p[1], p[2], static_cast<std::uint8_t>(channels == 4 ? p[3] : 255)};
    }
    previous = row;
  }
  return image;
}

// A small deterministic pseudo-random sequence for test data.
std::uint32_t NextRandom(std::uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 8;
}

Image TestPicture(int width, int height, bool withAlpha) {
  Image image(width, height);
  std::uint32_t state = 7;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      // Flat areas, gradients and noise: every filter and both kinds of block get used.
      std::uint8_t noise = static_cast<std::uint8_t>(NextRandom(state));
      Rgba p = x < width / 3 ? Opaque(200, 100, 50)
               : x < 2 * width / 3 ? Opaque(static_cast<std::uint8_t>(x * 3), static_cast<std::uint8_t>(y * 5), 90)
                                   : Opaque(noise, static_cast<std::uint8_t>(noise ^ 0x5A), static_cast<std::uint8_t>(y));
      if (withAlpha) p.a = static_cast<std::uint8_t>((x * 7 + y) & 0xFF);
      image.At(x, y) = p;
    }
  }
  return image;
}

// ---- the tests ----

TEST(Checksums, MatchTheKnownValues) {
  Bytes digits = BytesOf("123456789");
  EXPECT_EQ(Crc32(digits.data(), digits.size()), 0xCBF43926u);
  Bytes word = BytesOf("Wikipedia");
  EXPECT_EQ(Adler32(word.data(), word.size()), 0x11E60398u);
  EXPECT_EQ(Adler32(nullptr, 0), 1u);
  EXPECT_EQ(Crc32(nullptr, 0), 0u);
}

TEST(Checksums, Crc32AgreesWithTheBitwiseDefinition) {
  Bytes data;
  std::uint32_t state = 1;
  for (int i = 0; i < 5000; ++i) data.push_back(static_cast<std::uint8_t>(NextRandom(state)));
  EXPECT_EQ(Crc32(data.data(), data.size()), SlowCrc32(data.data(), data.size()));
}

TEST(Deflate, RoundTripsEveryKindOfInput) {
  std::vector<Bytes> inputs = {{}, BytesOf("a"), BytesOf("abcabcabcabcabcabcabc"), Bytes(100000, 0x42)};
  Bytes random;
  std::uint32_t state = 3;
  for (int i = 0; i < 70000; ++i) random.push_back(static_cast<std::uint8_t>(NextRandom(state)));
  inputs.push_back(random);  // incompressible and longer than one stored block
  Bytes text;
  for (int i = 0; i < 3000; ++i) {
    Bytes line = BytesOf("line " + std::to_string(i % 97) + " of a repetitive text\n");
    text.insert(text.end(), line.begin(), line.end());
  }
  inputs.push_back(text);  // matches at every distance up to the window size
  for (const Bytes& input : inputs) {
    SCOPED_TRACE("input of " + std::to_string(input.size()) + " bytes");
    try {
      EXPECT_EQ(Inflate(Deflate(input)), input);
    } catch (const std::exception& error) {
      ADD_FAILURE() << error.what();
    }
  }
}

TEST(Deflate, CompressesRepetitionsAndStoresNoise) {
  EXPECT_LT(Deflate(Bytes(100000, 0x42)).size(), 1000u);
  Bytes random;
  std::uint32_t state = 5;
  for (int i = 0; i < 1000; ++i) random.push_back(static_cast<std::uint8_t>(NextRandom(state)));
  EXPECT_EQ(Deflate(random).size(), 1000u + 5u);  // one stored block: header byte, length, complement
}

TEST(Zlib, HasAValidHeaderAndChecksum) {
  Bytes text = BytesOf("The zlib stream wraps the deflate data.");
  EXPECT_EQ(Unzlib(ZlibCompress(text)), text);
}

TEST(Png, RoundTripsOpaquePictures) {
  Image image = TestPicture(61, 37, false);
  Bytes png = EncodePng(image);
  EXPECT_EQ(ChunksOf(png).front().content[9], 2) << "truecolour without alpha";
  Image decoded = DecodePng(png);
  ASSERT_EQ(decoded.width, image.width);
  ASSERT_EQ(decoded.height, image.height);
  EXPECT_TRUE(decoded.pixels == image.pixels);
}

TEST(Png, KeepsAlphaWhenThePictureHasIt) {
  Image image = TestPicture(40, 20, true);
  Bytes png = EncodePng(image);
  EXPECT_EQ(ChunksOf(png).front().content[9], 6) << "truecolour with alpha";
  EXPECT_TRUE(DecodePng(png).pixels == image.pixels);
}

TEST(Png, HasTheChunksInOrder) {
  std::vector<Chunk> chunks = ChunksOf(EncodePng(Image(3, 2, Opaque(1, 2, 3))));
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[0].type, "IHDR");
  EXPECT_EQ(chunks[0].content.size(), 13u);
  EXPECT_EQ(chunks[1].type, "IDAT");
  EXPECT_EQ(chunks[2].type, "IEND");
  EXPECT_TRUE(chunks[2].content.empty());
}

}  // namespace
