#include "patch/TextPatch.h"

#include <algorithm>
#include <optional>

#include "map/CellNames.h"
#include "map/HexGrid.h"

namespace {

// The summary in the two encodings a patch comes in; the Shift-JIS ones are
// what ChangeSummary writes.
constexpr std::string_view CountLabelShiftJis = "違うバイト: ";
constexpr std::string_view CountLabelUtf8 = u8"違うバイト: ";
constexpr std::string_view NoneShiftJis = "違いはありません";
constexpr std::string_view NoneUtf8 = u8"違いはありません";
constexpr std::string_view Arrow = " -> ";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Reads one change line from its start.
class ChangeReader {
 public:
  ChangeReader(std::string_view line, int lineNumber) : rest_(line), lineNumber_(lineNumber) {}

  CellChange Read() {
    const int column = Decimal(3);
    Expect(":");
    const int row = Decimal(2);
    Expect(" 0x");
    const int hexOffset = Hexadecimal();
    Expect(" ");
    const int offset = Decimal(5);
    Expect(": ");
    const auto arrow = rest_.find(Arrow);
    if (arrow == std::string_view::npos) Fail("\" -> \" がありません");
    const TerrainCode before = CodeAtEnd(rest_.substr(0, arrow));
    const TerrainCode after = CodeAtEnd(rest_.substr(arrow + Arrow.size()));

    if (hexOffset != offset) Fail("16 進と 10 進のオフセットが違います");
    if (offset >= MapSize) Fail("オフセット " + std::to_string(offset) + " は地図の外です");
    const GridCell cell = OffsetToCell(offset);
    if (cell.column != column || cell.row != row)
      Fail("オフセット " + std::to_string(offset) + " のマスは " + CellName(offset) + " です");
    if (before == after) Fail("前と後のコードが同じです");
    return {offset, before, after};
  }

 private:
  [[noreturn]] void Fail(const std::string& message) const { throw PatchError(message, lineNumber_); }

  void Expect(std::string_view text) {
    if (rest_.substr(0, text.size()) != text) Fail("変わるマスの行の形ではありません");
    rest_.remove_prefix(text.size());
  }

  int Decimal(std::size_t mostDigits) {
    std::size_t digits = 0;
    int value = 0;
    while (digits < rest_.size() && IsDigit(rest_[digits]) && digits < mostDigits)
      value = value * 10 + (rest_[digits++] - '0');
    if (digits == 0 || (digits < rest_.size() && IsDigit(rest_[digits]))) Fail("変わるマスの行の形ではありません");
    rest_.remove_prefix(digits);
    return value;
  }

  int Hexadecimal() {
    std::size_t digits = 0;
    int value = 0;
    while (digits < rest_.size() && digits < 5 && HexValue(rest_[digits]) >= 0)
      value = value * 16 + HexValue(rest_[digits++]);
    if (digits == 0 || (digits < rest_.size() && HexValue(rest_[digits]) >= 0))
      Fail("変わるマスの行の形ではありません");
    rest_.remove_prefix(digits);
    return value;
  }

  // "GLYPH (CODE)": the glyph is whatever stands before the last " (".
  TerrainCode CodeAtEnd(std::string_view part) const {
    const auto open = part.rfind(" (");
    if (open == std::string_view::npos || part.empty() || part.back() != ')')
      Fail("コードが (数) の形で書かれていません");
    const std::string_view digits = part.substr(open + 2, part.size() - open - 3);
    if (digits.empty() || digits.size() > 3 || !std::all_of(digits.begin(), digits.end(), IsDigit))
      Fail("コードが (数) の形で書かれていません");
    const int code = std::stoi(std::string(digits));
    if (code > 255) Fail(std::to_string(code) + " は 0..255 の外です");
    return static_cast<TerrainCode>(code);
  }

  std::string_view rest_;
  int lineNumber_;
};

// The count of a summary line, or none when the line is no summary.
std::optional<std::size_t> SummaryCount(std::string_view line) {
  if (line == NoneShiftJis || line == NoneUtf8) return 0;
  for (std::string_view label : {CountLabelShiftJis, CountLabelUtf8}) {
    if (line.substr(0, label.size()) != label) continue;
    const std::string_view digits = line.substr(label.size());
    if (digits.empty() || digits.size() > 5 || !std::all_of(digits.begin(), digits.end(), IsDigit)) return {};
    return static_cast<std::size_t>(std::stoi(std::string(digits)));
  }
  return {};
}

}  // namespace

std::string ChangeLine(const CellChange& change) {
  return CellName(change.offset) + " " + OffsetText(change.offset) + ": " + CodeName(change.before) + std::string(Arrow) +
         CodeName(change.after);
}

std::string ChangeSummary(std::size_t count) {
  if (count == 0) return std::string(NoneShiftJis);
  return std::string(CountLabelShiftJis) + std::to_string(count);
}

std::vector<CellChange> ParseTextPatch(std::string_view text) {
  std::vector<CellChange> changes;
  std::vector<bool> named(MapSize, false);
  std::optional<std::size_t> summary;
  int lineNumber = 0;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    // Blanks and tabs at the ends of lines come with patches copied from a
    // forum or a chat.
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    if (summary) throw PatchError("集計の行の後に行があります", lineNumber);
    if (IsDigit(line.front())) {
      const CellChange change = ChangeReader(line, lineNumber).Read();
      if (named[change.offset]) throw PatchError("マス " + CellName(change.offset) + " が二度あります", lineNumber);
      named[change.offset] = true;
      changes.push_back(change);
      continue;
    }
    summary = SummaryCount(line);
    if (!summary) throw PatchError("変わるマスの行でも集計の行でもありません", lineNumber);
    if (*summary != changes.size())
      throw PatchError("集計は " + std::to_string(*summary) + " 件ですが、変わるマスは " +
                           std::to_string(changes.size()) + " 行です",
                       lineNumber);
  }
  if (!summary)
    throw PatchError("最後の集計の行 (違うバイト: 数) がありません。パッチが途中で切れています", lineNumber + 1);
  return changes;
}

ThreeWayResult ApplyThreeWay(const std::vector<CellChange>& changes, const MapImage& map) {
  ThreeWayResult result;
  result.image = map;
  for (const CellChange& change : changes) {
    const TerrainCode found = map[change.offset];
    if (found == change.before) {
      result.image[change.offset] = change.after;
      result.changed.push_back(change);
    } else if (found == change.after) {
      ++result.alreadyApplied;
    } else {
      result.conflicts.push_back({change, found});
    }
  }
  std::sort(result.changed.begin(), result.changed.end(),
            [](const CellChange& a, const CellChange& b) { return a.offset < b.offset; });
  return result;
}

std::string ConflictLine(const PatchConflict& conflict, std::string_view mapSource) {
  const CellChange& change = conflict.change;
  return CellName(change.offset) + " " + OffsetText(change.offset) + ": 地図は " + std::string(mapSource) +
         CodeName(conflict.found) +
         "、パッチは " + CodeName(change.before) + std::string(Arrow) + CodeName(change.after);
}
