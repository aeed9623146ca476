#include "cli/Arguments.h"

#include <algorithm>

#include "map/HexGrid.h"

namespace {

[[noreturn]] void Refuse(std::string_view format, const MapPath& argument) {
  throw ArgumentError(PathText{std::string(format), argument});
}

// A whole number in decimal, or in hexadecimal after "0x" where allowed;
// nothing else. Numbers above `limit` come back as limit + 1.
std::optional<long> NumberOf(std::string text, long limit, bool hexadecimalAllowed = true) {
  int base = 10;
  if (hexadecimalAllowed && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.erase(0, 2);
  }
  if (text.empty()) return std::nullopt;
  long value = 0;
  for (char c : text) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return std::nullopt;
    value = value * base + digit;
    if (value > limit) return limit + 1;
  }
  return value;
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

ArgumentError::ArgumentError(PathText text) : std::runtime_error(text.Approximate()), text_(std::move(text)) {}

std::string AsciiOf(const MapPath& argument) { return PathText{"%s", argument}.Approximate(); }

int ParseCell(const MapPath& argument) {
  constexpr std::string_view Unreadable = "マス %s が読めません (列:行 か @オフセット、例 5:10 や @302)";
  const std::string text = AsciiOf(argument);
  if (!text.empty() && text[0] == '@') {
    const auto offset = NumberOf(text.substr(1), MapSize);
    if (!offset) Refuse(Unreadable, argument);
    if (*offset >= MapSize) Refuse("オフセット %s は地図の外です (0..26575)", argument);
    return static_cast<int>(*offset);
  }
  const auto colon = text.find(':');
  if (colon == std::string::npos) Refuse(Unreadable, argument);
  const auto column = NumberOf(Trimmed(text.substr(0, colon)), GridColumnCount, false);
  const auto row = NumberOf(Trimmed(text.substr(colon + 1)), GridRowCount, false);
  if (!column || !row) Refuse(Unreadable, argument);
  if (IsPlaceholderCell(static_cast<int>(*column), static_cast<int>(*row)))
    Refuse("マス %s は偶数列の 1 行目で、地図のバイトがありません", argument);
  const int offset = CellToOffset(static_cast<int>(*column), static_cast<int>(*row));
  if (offset == NoMapOffset) Refuse("マス %s は地図の外です (列 1..352、行 1..76)", argument);
  return offset;
}

std::optional<long> WholeNumberOf(const MapPath& argument, long limit) { return NumberOf(AsciiOf(argument), limit); }

TerrainCode ParseCode(const MapPath& argument) {
  const auto code = NumberOf(AsciiOf(argument), 255);
  if (!code) Refuse("コード %s が数ではありません", argument);
  if (*code > 255) Refuse("コード %s は 0..255 の外です", argument);
  return static_cast<TerrainCode>(*code);
}

CommandWords::CommandWords(const std::vector<MapPath>& words, const std::vector<std::string>& flags,
                           const std::vector<std::string>& valued) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string word = AsciiOf(words[i]);
    // "--scale=8" is "--scale 8".
    const auto equals = word.find('=');
    const std::string name = word.substr(0, equals);
    if (word.rfind("--", 0) != 0) {
      plain_.push_back(words[i]);
    } else if (std::find(flags.begin(), flags.end(), word) != flags.end()) {
      flags_.push_back(word);
    } else if (std::find(valued.begin(), valued.end(), name) == valued.end()) {
      Refuse("オプション %s はこのコマンドにはありません", words[i].substr(0, equals));
    } else if (equals != std::string::npos) {
      values_.emplace_back(name, words[i].substr(equals + 1));
    } else {
      if (i + 1 == words.size()) Refuse("オプション %s の値がありません", words[i]);
      values_.emplace_back(word, words[++i]);
    }
  }
}

bool CommandWords::Has(const std::string& flag) const {
  return std::find(flags_.begin(), flags_.end(), flag) != flags_.end();
}

std::optional<MapPath> CommandWords::Value(const std::string& option) const {
  for (const auto& [name, value] : values_)
    if (name == option) return value;
  return std::nullopt;
}
