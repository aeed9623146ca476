#include "patch/Bps.h"

#include <zlib.h>

#include <algorithm>
#include <string_view>

namespace {

constexpr std::size_t FooterSize = 12;  // three CRC-32, little-endian

enum Action : std::uint64_t { SourceRead = 0, TargetRead = 1, SourceCopy = 2, TargetCopy = 3 };

[[noreturn]] void Damaged(const std::string& why) { throw PatchError("BPS パッチが壊れています: " + why); }

// The format's numbers: seven bits a byte, the last byte marked by its top
// bit, and one added at each further byte so that every number has one form.
void AppendNumber(PatchBytes& out, std::uint64_t value) {
  while (true) {
    const auto low = static_cast<std::uint8_t>(value & 0x7F);
    value >>= 7;
    if (value == 0) {
      out.push_back(0x80 | low);
      return;
    }
    out.push_back(low);
    --value;
  }
}

void AppendCrc(PatchBytes& out, std::uint32_t crc) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(crc >> shift));
}

std::uint32_t CrcAt(const PatchBytes& bytes, std::size_t at) {
  std::uint32_t crc = 0;
  for (int i = 3; i >= 0; --i) crc = crc << 8 | bytes[at + static_cast<std::size_t>(i)];
  return crc;
}

std::uint32_t CrcOfImage(const MapImage& image) { return Crc32Of(image.data(), image.size()); }

void AppendAction(PatchBytes& out, Action action, std::size_t length) {
  AppendNumber(out, (static_cast<std::uint64_t>(length - 1) << 2) | action);
}

// Reads the numbers and bytes of a patch from `at` up to `end`.
class PatchReader {
 public:
  PatchReader(const PatchBytes& bytes, std::size_t at, std::size_t end) : bytes_(bytes), at_(at), end_(end) {}

  bool AtEnd() const { return at_ >= end_; }
  std::size_t Position() const { return at_; }

  std::uint64_t Number() {
    std::uint64_t value = 0;
    std::uint64_t shift = 1;
    while (true) {
      if (AtEnd()) Damaged("数が途中で切れています");
      const std::uint8_t byte = bytes_[at_++];
      value += (byte & 0x7F) * shift;
      if (byte & 0x80) return value;
      if (shift > (std::uint64_t{1} << 42)) Damaged("数が大きすぎます");
      shift <<= 7;
      value += shift;
    }
  }

  // A signed relative offset: the lowest bit is the sign.
  std::int64_t Offset() {
    const std::uint64_t value = Number();
    const auto size = static_cast<std::int64_t>(value >> 1);
    return (value & 1) != 0 ? -size : size;
  }

  const std::uint8_t* Take(std::uint64_t count) {
    if (count > end_ - at_) Damaged("データがパッチの終わりを越えます");
    const std::uint8_t* taken = bytes_.data() + at_;
    at_ += static_cast<std::size_t>(count);
    return taken;
  }

 private:
  const PatchBytes& bytes_;
  std::size_t at_;
  std::size_t end_;
};

}  // namespace

std::uint32_t Crc32Of(const std::uint8_t* bytes, std::size_t count) {
  uLong crc = crc32(0L, Z_NULL, 0);
  while (count > 0) {
    const auto piece = static_cast<uInt>(count < (1u << 30) ? count : (1u << 30));
    crc = crc32(crc, bytes, piece);
    bytes += piece;
    count -= piece;
  }
  return static_cast<std::uint32_t>(crc);
}

PatchBytes MakeBps(const MapImage& before, const MapImage& after) {
  PatchBytes out(BpsMagic.begin(), BpsMagic.end());
  AppendNumber(out, MapSize);
  AppendNumber(out, MapSize);
  AppendNumber(out, 0);  // no metadata
  std::size_t at = 0;
  while (at < after.size()) {
    const bool same = before[at] == after[at];
    std::size_t end = at;
    while (end < after.size() && (before[end] == after[end]) == same) ++end;
    AppendAction(out, same ? SourceRead : TargetRead, end - at);
    if (!same) out.insert(out.end(), after.begin() + static_cast<std::ptrdiff_t>(at), after.begin() + static_cast<std::ptrdiff_t>(end));
    at = end;
  }
  AppendCrc(out, CrcOfImage(before));
  AppendCrc(out, CrcOfImage(after));
  AppendCrc(out, Crc32Of(out.data(), out.size()));
  return out;
}

BpsPatch ReadBps(const PatchBytes& patch) {
  if (patch.size() < BpsMagic.size() || std::string_view(reinterpret_cast<const char*>(patch.data()), BpsMagic.size()) != BpsMagic)
    Damaged("BPS1 で始まっていません");
  if (patch.size() < BpsMagic.size() + 3 + FooterSize) Damaged("短すぎます");
  const std::size_t footer = patch.size() - FooterSize;
  if (Crc32Of(patch.data(), patch.size() - 4) != CrcAt(patch, patch.size() - 4))
    Damaged("パッチの CRC-32 が合いません");

  BpsPatch header;
  PatchReader reader(patch, BpsMagic.size(), footer);
  header.sourceSize = reader.Number();
  header.targetSize = reader.Number();
  reader.Take(reader.Number());  // metadata: nothing this program reads
  header.actionsBegin = reader.Position();
  header.actionsEnd = footer;
  header.sourceCrc = CrcAt(patch, footer);
  header.targetCrc = CrcAt(patch, footer + 4);
  if (header.targetSize != MapSize)
    throw PatchError("BPS パッチの結果は " + std::to_string(header.targetSize) + " バイトで、地図 (" + std::to_string(MapSize) +
                     " バイト) ではありません");
  return header;
}

BpsFit FitOf(const BpsPatch& header, const MapImage& map) {
  const std::uint32_t crc = CrcOfImage(map);
  if (header.sourceSize == MapSize && crc == header.sourceCrc) return BpsFit::Fits;
  if (crc == header.targetCrc) return BpsFit::AlreadyApplied;
  return BpsFit::DoesNotFit;
}

MapImage ApplyBps(const PatchBytes& patch, const BpsPatch& header, const MapImage& source) {
  MapImage target{};
  std::size_t output = 0;
  std::int64_t sourceAt = 0;
  std::int64_t targetAt = 0;
  PatchReader reader(patch, header.actionsBegin, header.actionsEnd);
  while (!reader.AtEnd()) {
    const std::uint64_t data = reader.Number();
    const std::uint64_t length = (data >> 2) + 1;
    if (length > target.size() - output) Damaged("動作が地図の終わりを越えます");
    const auto count = static_cast<std::size_t>(length);
    switch (static_cast<Action>(data & 3)) {
      case SourceRead:
        std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(output), count, target.begin() + static_cast<std::ptrdiff_t>(output));
        break;
      case TargetRead:
        std::copy_n(reader.Take(length), count, target.begin() + static_cast<std::ptrdiff_t>(output));
        break;
      case SourceCopy:
        sourceAt += reader.Offset();
        if (sourceAt < 0 || static_cast<std::uint64_t>(sourceAt) + length > source.size())
          Damaged("SourceCopy が元の地図の外を指します");
        std::copy_n(source.begin() + sourceAt, count, target.begin() + static_cast<std::ptrdiff_t>(output));
        sourceAt += static_cast<std::int64_t>(length);
        break;
      case TargetCopy:
        targetAt += reader.Offset();
        // Byte by byte: the copy may read what it has just written.
        if (targetAt < 0 || static_cast<std::uint64_t>(targetAt) >= output)
          Damaged("TargetCopy がまだ作っていない所を指します");
        for (std::size_t i = 0; i < count; ++i) target[output + i] = target[static_cast<std::size_t>(targetAt++)];
        break;
    }
    output += count;
  }
  if (output != target.size()) Damaged("動作が地図の終わりまで届きません");
  if (CrcOfImage(target) != header.targetCrc) Damaged("結果の CRC-32 が合いません");
  return target;
}
