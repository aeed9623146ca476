#include "cli/Arguments.h"

#include <algorithm>

#include "map/CellNames.h"
#include "map/HexGrid.h"
#include "map/MapFile.h"

namespace {

[[noreturn]] void Refuse(std::string_view format, const MapPath& argument) {
  throw ArgumentError(PathText{std::string(format), argument});
}

std::optional<long> NumberOf(const std::string& text, long limit) { return ReadWholeNumber(text, limit); }

}  // namespace

ArgumentError::ArgumentError(PathText text) : std::runtime_error(text.Approximate()), text_(std::move(text)) {}

std::string AsciiOf(const MapPath& argument) { return PathText{"%s", argument}.Approximate(); }

int ParseCell(const MapPath& argument) {
  constexpr std::string_view Unreadable = "マス %s が読めません (列:行 か @オフセット、例 5:10 や @302)";
  const CellReading reading = ReadCellName(AsciiOf(argument));
  switch (reading.result) {
    case CellReading::Result::Unreadable:
      Refuse(Unreadable, argument);
    case CellReading::Result::OffsetOutside:
      Refuse("オフセット %s は地図の外です (0.." + std::to_string(MapSize - 1) + ")", argument);
    case CellReading::Result::CellOutside:
      Refuse("マス %s は地図の外です (列 1..352、行 1..76)", argument);
    case CellReading::Result::Cell: break;
  }
  if (IsPlaceholderCell(reading.cell.column, reading.cell.row))
    Refuse("マス %s は偶数列の 1 行目で、地図のバイトがありません", argument);
  return CellToOffset(reading.cell.column, reading.cell.row);
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
