// The BPS and IPS readers on patches made byte by byte: every way a patch
// can be damaged, RLE and the truncation length. Whole patches made by us
// and by another implementation are tested through valtea-map.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "patch/Bps.h"
#include "patch/Ips.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

MapImage Varied() {
  MapImage image{};
  for (int offset = 0; offset < MapSize; ++offset) image[offset] = static_cast<TerrainCode>(offset * 7 % 35);
  return image;
}

// Into a vector of the whole size at once: GCC 12 warns of vector::insert
// onto a short literal one without cause.
Bytes Joined(const Bytes& first, const Bytes& second) {
  Bytes joined(first.size() + second.size());
  std::copy(first.begin(), first.end(), joined.begin());
  std::copy(second.begin(), second.end(), joined.begin() + static_cast<std::ptrdiff_t>(first.size()));
  return joined;
}

Bytes CrcBytes(std::uint32_t crc) {
  return {static_cast<std::uint8_t>(crc), static_cast<std::uint8_t>(crc >> 8), static_cast<std::uint8_t>(crc >> 16),
          static_cast<std::uint8_t>(crc >> 24)};
}

// "BPS1", source and target of 26,576 bytes (50 4E 80 in the format's
// numbers) unless `header` says otherwise, no metadata, the actions, then
// the source's, the target's and the patch's CRC-32.
Bytes BpsOf(const Bytes& actions, const MapImage& target, Bytes header = {0x50, 0x4E, 0x80, 0x50, 0x4E, 0x80}) {
  Bytes patch = Joined(Joined(Joined({'B', 'P', 'S', '1'}, header), {0x80}), actions);
  patch = Joined(Joined(patch, CrcBytes(Crc32Of(Varied().data(), MapSize))), CrcBytes(Crc32Of(target.data(), MapSize)));
  return Joined(patch, CrcBytes(Crc32Of(patch.data(), patch.size())));
}

std::string BpsErrorOf(const Bytes& patch) {
  try {
    const BpsPatch header = ReadBps(patch);
    ApplyBps(patch, header, Varied());
  } catch (const PatchError& error) {
    return error.what();
  }
  return "applied";
}

TEST(Bps, RefusesEveryDamage) {
  const Bytes wholeMap = {0x3C, 0x3D, 0x85};  // SourceRead of 26,576 bytes
  Bytes flipped = BpsOf(wholeMap, Varied());
  flipped[8] ^= 1;
  const struct {
    Bytes patch;
    std::string error;
  } damaged[] = {
      {BpsOf(wholeMap, Varied()), "applied"},
      {{'B', 'P', 'S', '2'}, "BPS パッチが壊れています: BPS1 で始まっていません"},
      {flipped, "BPS パッチが壊れています: パッチの CRC-32 が合いません"},
      {BpsOf(wholeMap, MapImage{}), "BPS パッチが壊れています: 結果の CRC-32 が合いません"},
      {BpsOf({0x80}, Varied()), "BPS パッチが壊れています: 動作が地図の終わりまで届きません"},
      {BpsOf({0x3C, 0x3D, 0x85, 0x80}, Varied()), "BPS パッチが壊れています: 動作が地図の終わりを越えます"},
      {BpsOf({0x9D, 4, 4}, Varied()), "BPS パッチが壊れています: データがパッチの終わりを越えます"},
      {BpsOf({0x82, 0x83}, Varied()), "BPS パッチが壊れています: SourceCopy が元の地図の外を指します"},
      {BpsOf({0x81, 4, 0x83, 0x8A}, Varied()), "BPS パッチが壊れています: TargetCopy がまだ作っていない所を指します"},
      {BpsOf({0x3C, 0x3D}, Varied()), "BPS パッチが壊れています: 数が途中で切れています"},
      {BpsOf(wholeMap, Varied(), {0x50, 0x4E, 0x80, 0xE4}), "BPS パッチの結果は 100 バイトで、地図 (26576 バイト) ではありません"},
  };
  for (const auto& [patch, error] : damaged) EXPECT_EQ(BpsErrorOf(patch), error);
}

TEST(Bps, FitsOnlyTheMapItWasMadeFor) {
  MapImage after = Varied();
  after[100] = 18;
  const Bytes patch = MakeBps(Varied(), after);
  const BpsPatch header = ReadBps(patch);
  EXPECT_EQ(FitOf(header, Varied()), BpsFit::Fits);
  EXPECT_EQ(ApplyBps(patch, header, Varied()), after);
  EXPECT_EQ(FitOf(header, after), BpsFit::AlreadyApplied);
  EXPECT_EQ(FitOf(header, MapImage{}), BpsFit::DoesNotFit);
}

// "PATCH", records of offset (3 bytes) and size (2), "EOF", perhaps a length.
TEST(Ips, ReadsPlainAndRleRecordsAndRefusesWhatPassesTheMap) {
  const Bytes start = {'P', 'A', 'T', 'C', 'H'};
  auto ips = [&](const Bytes& records) { return Joined(start, records); };
  const Bytes eof = {'E', 'O', 'F'};
  MapImage expected = Varied();
  expected[0x140] = 29;
  expected[0x141] = 30;
  for (int offset = 0x67C0; offset < MapSize; ++offset) expected[offset] = 4;
  const Bytes both = Joined({0x00, 0x01, 0x40, 0x00, 0x02, 29, 30, 0x00, 0x67, 0xC0, 0x00, 0x00, 0x00, 0x10, 4}, eof);
  EXPECT_EQ(ApplyIps(ips(both), Varied()), expected);
  const Bytes truncated = Joined(both, {0x00, 0x67, 0xD0});  // 26,576: the map stays whole
  EXPECT_EQ(ApplyIps(ips(truncated), Varied()), expected);

  const struct {
    Bytes patch;
    std::string error;
  } refused[] = {
      {{'P', 'A', 'T'}, "IPS パッチが PATCH で始まっていません"},
      {ips({0x00, 0x01, 0x40, 0x00, 0x02, 29}), "IPS パッチが途中で切れています (EOF がありません)"},
      {ips({0x00, 0x01, 0x40, 0x00, 0x01, 29}), "IPS パッチが途中で切れています (EOF がありません)"},
      {ips({0x00, 0x67, 0xCF, 0x00, 0x02, 1, 2, 'E', 'O', 'F'}), "IPS の記録 (オフセット 26575、2 バイト) が地図の終わりを越えます"},
      {ips({0x00, 0x67, 0xC0, 0x00, 0x00, 0x00, 0x11, 4, 'E', 'O', 'F'}), "IPS の記録 (オフセット 26560、17 バイト) が地図の終わりを越えます"},
      {ips({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 4, 'E', 'O', 'F'}), "IPS の RLE の記録の長さが 0 です"},
      {ips({'E', 'O', 'F', 0x00, 0x10, 0x00}), "IPS パッチはファイルを 4096 バイトにします (地図は 26576 バイト)"},
      {ips({'E', 'O', 'F', 0x00}), "IPS パッチの EOF の後に余計なバイトがあります"},
  };
  for (const auto& [patch, error] : refused) {
    try {
      ApplyIps(patch, Varied());
      ADD_FAILURE() << error;
    } catch (const PatchError& thrown) {
      EXPECT_EQ(std::string(thrown.what()), error);
    }
  }
}

// One record per run of changed bytes; a map is shorter than the longest record.
TEST(Ips, MakesOneRecordPerRunOfChangedBytes) {
  MapImage after{};
  after[0x140] = 29;
  after[0x141] = 30;
  after[MapSize - 1] = 200;
  EXPECT_EQ(MakeIps(MapImage{}, after), (Bytes{'P', 'A', 'T', 'C', 'H', 0x00, 0x01, 0x40, 0x00, 0x02, 29, 30, 0x00,
                                               0x67, 0xCF, 0x00, 0x01, 200, 'E', 'O', 'F'}));
  after.fill(5);
  const Bytes whole = MakeIps(MapImage{}, after);
  EXPECT_EQ(Bytes(whole.begin() + 5, whole.begin() + 10), (Bytes{0x00, 0x00, 0x00, 0x67, 0xD0}));
  EXPECT_EQ(whole.size(), 5u + 5u + MapSize + 3u);
}

}  // namespace
