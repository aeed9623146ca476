#include "patch/Ips.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace {

constexpr std::uint32_t EndMark = 0x454F46;  // "EOF" where an offset would stand
constexpr std::size_t LongestRecord = 0xFFFF;

void AppendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

class IpsReader {
 public:
  explicit IpsReader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

  std::size_t Left() const { return bytes_.size() - at_; }

  std::uint32_t BigEndian(int count) {
    if (Left() < static_cast<std::size_t>(count))
      throw PatchError("IPS パッチが途中で切れています (EOF がありません)");
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = value << 8 | bytes_[at_++];
    return value;
  }

  const std::uint8_t* Take(std::size_t count) {
    if (Left() < count) throw PatchError("IPS パッチが途中で切れています (EOF がありません)");
    const std::uint8_t* taken = bytes_.data() + at_;
    at_ += count;
    return taken;
  }

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t at_ = IpsHeader.size();
};

void RefusePastTheEnd(std::uint32_t offset, std::size_t length) {
  if (offset + length > static_cast<std::size_t>(MapSize))
    throw PatchError("IPS の記録 (オフセット " + std::to_string(offset) + "、" + std::to_string(length) +
                     " バイト) が地図の終わりを越えます");
}

}  // namespace

std::vector<std::uint8_t> MakeIps(const MapImage& before, const MapImage& after) {
  std::vector<std::uint8_t> out(IpsHeader.begin(), IpsHeader.end());
  std::size_t at = 0;
  while (at < after.size()) {
    if (before[at] == after[at]) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < after.size() && end - at < LongestRecord && before[end] != after[end]) ++end;
    AppendBigEndian(out, static_cast<std::uint32_t>(at), 3);
    AppendBigEndian(out, static_cast<std::uint32_t>(end - at), 2);
    out.insert(out.end(), after.begin() + static_cast<std::ptrdiff_t>(at), after.begin() + static_cast<std::ptrdiff_t>(end));
    at = end;
  }
  out.insert(out.end(), {'E', 'O', 'F'});
  return out;
}

MapImage ApplyIps(const std::vector<std::uint8_t>& patch, const MapImage& map) {
  if (patch.size() < IpsHeader.size() || !std::equal(IpsHeader.begin(), IpsHeader.end(), patch.begin()))
    throw PatchError("IPS パッチが PATCH で始まっていません");
  MapImage image = map;
  IpsReader reader(patch);
  while (true) {
    const std::uint32_t offset = reader.BigEndian(3);
    if (offset == EndMark) break;
    const std::uint32_t size = reader.BigEndian(2);
    if (size > 0) {
      RefusePastTheEnd(offset, size);
      const std::uint8_t* bytes = reader.Take(size);
      std::copy_n(bytes, size, image.begin() + offset);
      continue;
    }
    const std::uint32_t run = reader.BigEndian(2);  // RLE: one byte, `run` times
    const std::uint8_t value = *reader.Take(1);
    if (run == 0) throw PatchError("IPS の RLE の記録の長さが 0 です");
    RefusePastTheEnd(offset, run);
    std::fill_n(image.begin() + offset, run, value);
  }
  if (reader.Left() == 0) return image;
  if (reader.Left() != 3) throw PatchError("IPS パッチの EOF の後に余計なバイトがあります");
  const std::uint32_t truncation = reader.BigEndian(3);
  if (truncation != static_cast<std::uint32_t>(MapSize))
    throw PatchError("IPS パッチはファイルを " + std::to_string(truncation) + " バイトにします (地図は " + std::to_string(MapSize) +
                     " バイト)");
  return image;
}
