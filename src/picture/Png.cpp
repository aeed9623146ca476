#include "Png.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

// ---- checksums ----

std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

// ---- bits, least significant first as deflate packs them ----

class BitWriter {
 public:
  explicit BitWriter(Bytes& out) : out_(out) {}
  void Write(std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) WriteBit((value >> i) & 1);
  }
  // Huffman codes go most significant bit first.
  void WriteCode(std::uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) WriteBit((code >> i) & 1);
  }
  void Flush() {
    if (used_ > 0) out_.push_back(current_);
    current_ = 0;
    used_ = 0;
  }

 private:
  void WriteBit(std::uint32_t bit) {
    current_ = static_cast<std::uint8_t>(current_ | (bit << used_));
    if (++used_ == 8) Flush();
  }
  Bytes& out_;
  std::uint8_t current_ = 0;
  int used_ = 0;
};

// ---- the fixed Huffman code of deflate (RFC 1951, 3.2.6) ----

void WriteLiteralOrLength(BitWriter& bits, int symbol) {
  if (symbol < 144) bits.WriteCode(0x30 + symbol, 8);
  else if (symbol < 256) bits.WriteCode(0x190 + symbol - 144, 9);
  else if (symbol < 280) bits.WriteCode(symbol - 256, 7);
  else bits.WriteCode(0xC0 + symbol - 280, 8);
}

constexpr std::array<int, 29> LengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                            31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> LengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                             2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> DistanceBase = {1,   2,   3,   4,    5,    7,    9,    13,   17,    25,
                                              33,  49,  65,  97,   129,  193,  257,  385,  513,   769,
                                              1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> DistanceExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                               6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

template <std::size_t N>
int SymbolIndex(const std::array<int, N>& bases, int value) {
  int index = 0;
  while (index + 1 < static_cast<int>(N) && bases[index + 1] <= value) ++index;
  return index;
}

void WriteMatch(BitWriter& bits, int length, int distance) {
  int lengthIndex = SymbolIndex(LengthBase, length);
  WriteLiteralOrLength(bits, 257 + lengthIndex);
  bits.Write(length - LengthBase[lengthIndex], LengthExtra[lengthIndex]);
  int distanceIndex = SymbolIndex(DistanceBase, distance);
  bits.WriteCode(distanceIndex, 5);
  bits.Write(distance - DistanceBase[distanceIndex], DistanceExtra[distanceIndex]);
}

// ---- LZ77 matches through hash chains over the last 32 KiB ----

constexpr int WindowSize = 32768;
constexpr int MinMatch = 3;
constexpr int MaxMatch = 258;
constexpr int MaxChain = 96;
constexpr int HashBits = 15;

class MatchFinder {
 public:
  explicit MatchFinder(const Bytes& data)
      : data_(data), head_(1 << HashBits, -1), previous_(data.size(), -1) {}

  struct Match {
    int length = 0;
    int distance = 0;
  };

  Match LongestAt(int position) const {
    Match best;
    if (position + MinMatch > static_cast<int>(data_.size())) return best;
    int limit = std::min(MaxMatch, static_cast<int>(data_.size()) - position);
    int candidate = head_[HashAt(position)];
    for (int chain = 0; candidate >= 0 && chain < MaxChain; ++chain) {
      if (position - candidate > WindowSize) break;
      int length = 0;
      while (length < limit && data_[candidate + length] == data_[position + length]) ++length;
      if (length > best.length) best = Match{length, position - candidate};
      if (length == limit) break;
      candidate = previous_[candidate];
    }
    return best.length >= MinMatch ? best : Match{};
  }

  void Insert(int position) {
    if (position + MinMatch > static_cast<int>(data_.size())) return;
    int hash = HashAt(position);
    previous_[position] = head_[hash];
    head_[hash] = position;
  }

 private:
  int HashAt(int position) const {
    std::uint32_t key = data_[position] | (data_[position + 1] << 8) | (data_[position + 2] << 16);
    return static_cast<int>((key * 2654435761u) >> (32 - HashBits));
  }
  const Bytes& data_;
  std::vector<int> head_;
  std::vector<int> previous_;
};

Bytes FixedHuffmanBlock(const Bytes& data) {
  Bytes out;
  BitWriter bits(out);
  bits.Write(1, 1);  // the last block
  bits.Write(1, 2);  // fixed Huffman codes
  MatchFinder finder(data);
  int position = 0;
  int size = static_cast<int>(data.size());
  while (position < size) {
    MatchFinder::Match match = finder.LongestAt(position);
    if (match.length >= MinMatch) {
      WriteMatch(bits, match.length, match.distance);
      for (int i = 0; i < match.length; ++i) finder.Insert(position + i);
      position += match.length;
    } else {
      WriteLiteralOrLength(bits, data[position]);
      finder.Insert(position);
      ++position;
    }
  }
  WriteLiteralOrLength(bits, 256);
  bits.Flush();
  return out;
}

Bytes StoredBlocks(const Bytes& data) {
  Bytes out;
  std::size_t position = 0;
  do {
    std::size_t length = std::min<std::size_t>(65535, data.size() - position);
    bool last = position + length == data.size();
    out.push_back(last ? 1 : 0);  // the block header fills a whole byte here
    out.push_back(static_cast<std::uint8_t>(length & 0xFF));
    out.push_back(static_cast<std::uint8_t>(length >> 8));
    out.push_back(static_cast<std::uint8_t>(~length & 0xFF));
    out.push_back(static_cast<std::uint8_t>((~length >> 8) & 0xFF));
    out.insert(out.end(), data.begin() + position, data.begin() + position + length);
    position += length;
  } while (position < data.size());
  return out;
}

// ---- PNG ----

void AppendBigEndian(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void AppendChunk(Bytes& out, const char (&type)[5], const Bytes& content) {
  AppendBigEndian(out, static_cast<std::uint32_t>(content.size()));
  std::size_t typeStart = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), content.begin(), content.end());
  AppendBigEndian(out, Crc32(out.data() + typeStart, out.size() - typeStart));
}

bool HasTransparency(const Image& image) {
  return std::any_of(image.pixels.begin(), image.pixels.end(), [](const Rgba& p) { return p.a != 255; });
}

Bytes RowBytes(const Image& image, int y, bool withAlpha) {
  Bytes row;
  for (int x = 0; x < image.width; ++x) {
    const Rgba& p = image.At(x, y);
    row.insert(row.end(), {p.r, p.g, p.b});
    if (withAlpha) row.push_back(p.a);
  }
  return row;
}

int Paeth(int left, int up, int upLeft) {
  int estimate = left + up - upLeft;
  int toLeft = std::abs(estimate - left), toUp = std::abs(estimate - up), toUpLeft = std::abs(estimate - upLeft);
  if (toLeft <= toUp && toLeft <= toUpLeft) return left;
  return toUp <= toUpLeft ? up : upLeft;
}

Bytes FilterRow(int filter, const Bytes& row, const Bytes& previous, int pixelSize) {
  Bytes out(row.size());
  for (std::size_t i = 0; i < row.size(); ++i) {
    int left = i >= static_cast<std::size_t>(pixelSize) ? row[i - pixelSize] : 0;
    int up = previous[i];
    int upLeft = i >= static_cast<std::size_t>(pixelSize) ? previous[i - pixelSize] : 0;
    int predicted = 0;
    switch (filter) {
      case 1: predicted = left; break;
      case 2: predicted = up; break;
      case 3: predicted = (left + up) / 2; break;
      case 4: predicted = Paeth(left, up, upLeft); break;
      default: break;
    }
    out[i] = static_cast<std::uint8_t>(row[i] - predicted);
  }
  return out;
}

// The usual heuristic: the filter whose output has the smallest sum of
// magnitudes tends to compress best.
std::int64_t FilterCost(const Bytes& filtered) {
  std::int64_t cost = 0;
  for (std::uint8_t byte : filtered) cost += byte < 128 ? byte : 256 - byte;
  return cost;
}

Bytes FilteredScanlines(const Image& image, bool withAlpha) {
  int pixelSize = withAlpha ? 4 : 3;
  Bytes out;
  Bytes previous(static_cast<std::size_t>(image.width) * pixelSize, 0);
  for (int y = 0; y < image.height; ++y) {
    Bytes row = RowBytes(image, y, withAlpha);
    int bestFilter = 0;
    Bytes best = FilterRow(0, row, previous, pixelSize);
    for (int filter = 1; filter <= 4; ++filter) {
      Bytes candidate = FilterRow(filter, row, previous, pixelSize);
      if (FilterCost(candidate) < FilterCost(best)) {
        best = std::move(candidate);
        bestFilter = filter;
      }
    }
    out.push_back(static_cast<std::uint8_t>(bestFilter));
    out.insert(out.end(), best.begin(), best.end());
    previous = std::move(row);
  }
  return out;
}

}  // namespace

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
  static const std::array<std::uint32_t, 256> table = MakeCrcTable();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t a = 1, b = 0;
  for (std::size_t i = 0; i < size; ++i) {
    a = (a + data[i]) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

Bytes Deflate(const Bytes& data) {
  Bytes compressed = FixedHuffmanBlock(data);
  Bytes stored = StoredBlocks(data);
  return compressed.size() < stored.size() ? compressed : stored;
}

Bytes ZlibCompress(const Bytes& data) {
  Bytes out = {0x78, 0x01};  // deflate, 32 KiB window, no dictionary; 0x7801 is a multiple of 31
  Bytes body = Deflate(data);
  out.insert(out.end(), body.begin(), body.end());
  AppendBigEndian(out, Adler32(data.data(), data.size()));
  return out;
}

Bytes EncodePng(const Image& image) {
  bool withAlpha = HasTransparency(image);
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  AppendBigEndian(header, static_cast<std::uint32_t>(image.width));
  AppendBigEndian(header, static_cast<std::uint32_t>(image.height));
  header.insert(header.end(), {8, static_cast<std::uint8_t>(withAlpha ? 6 : 2), 0, 0, 0});
  AppendChunk(out, "IHDR", header);
  AppendChunk(out, "IDAT", ZlibCompress(FilteredScanlines(image, withAlpha)));
  AppendChunk(out, "IEND", {});
  return out;
}
