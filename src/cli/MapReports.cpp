#include "cli/MapReports.h"

#include <algorithm>
#include <array>

#include "map/HexGrid.h"

namespace {

std::string Number(long value) { return std::to_string(value); }

int CountWhere(const MapImage& image, bool (*test)(TerrainCode)) {
  return static_cast<int>(std::count_if(image.begin(), image.end(), test));
}

bool IsRoadShape(TerrainCode code) { return IsRoadPiece(code) && !IsBridge(code); }
bool IsCastle(TerrainCode code) { return code == terrain::Castle; }
bool IsUnknown(TerrainCode code) { return code >= TerrainCodeCount; }

}  // namespace

std::vector<std::string> InfoLines(const MapImage& image, std::uint64_t fileSize) {
  std::vector<std::string> lines;
  if (fileSize != static_cast<std::uint64_t>(MapSize))
    lines.push_back("ファイルの大きさ: " + std::to_string(fileSize) + " バイト (地図は " + std::to_string(MapSize) + " バイト)");
  lines.push_back("コード 記号 名前: 数");
  std::array<int, 256> counts{};
  for (TerrainCode code : image) ++counts[code];
  for (int code = 0; code < TerrainCodeCount; ++code) {
    const auto terrain = static_cast<TerrainCode>(code);
    lines.push_back(Number(code) + " " + std::string(GlyphOf(terrain)) + " " + std::string(NameOf(terrain)) + ": " +
                    Number(counts[code]));
  }
  lines.push_back("道路: " + Number(CountWhere(image, IsRoadShape)) + "  橋: " + Number(CountWhere(image, IsBridge)) +
                  "  町: " + Number(CountWhere(image, IsCity)) + "  城: " + Number(CountWhere(image, IsCastle)));
  lines.push_back("35 以上のバイト: " + Number(CountWhere(image, IsUnknown)));
  for (int offset = 0; offset < MapSize; ++offset)
    if (IsUnknown(image[offset]))
      lines.push_back("  " + CellName(offset) + " " + OffsetText(offset) + ": " + Number(image[offset]));
  return lines;
}

std::string CellLine(int offset, TerrainCode code) {
  return CellName(offset) + " " + OffsetText(offset) + ": " + CodeName(code) + " " + std::string(NameOf(code));
}

std::string FailureReason(const FileFailure& failure) {
  using Kind = FileFailure::Kind;
  switch (failure.kind) {
    case Kind::None: return {};
    case Kind::NotFound: return "そのファイルかフォルダがありません";
    case Kind::IsFolder: return "ファイルではなくフォルダです";
    case Kind::NoPermission: return "読み書きする権限がありません";
    case Kind::ReadOnly: return "読み取り専用です";
    case Kind::InUse: return "ほかのプログラムが使っています";
    case Kind::DiskFull: return "ディスクがいっぱいです";
    case Kind::BadName: return "名前がファイル名として正しくありません";
    case Kind::Other: break;
  }
  if (failure.systemCode == 0) return "通常のファイルではありません";
  return "システムのエラー (コード " + Number(failure.systemCode) + ")";
}
