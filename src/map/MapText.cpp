#include "map/MapText.h"

namespace {

// In UTF-8 whatever the compiler does with other literals: the text form is a
// UTF-8 file.
constexpr std::string_view CommentLine = u8"# ヴァルテア MAPDATA.VLT の地形コード: 地図の行 0..175 の順に 1 行 151 個\n";

constexpr int MaxCode = 255;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char* AppendCode(char* out, TerrainCode code) {
  if (code >= 100) *out++ = static_cast<char>('0' + code / 100);
  if (code >= 10) *out++ = static_cast<char>('0' + code / 10 % 10);
  *out++ = static_cast<char>('0' + code % 10);
  return out;
}

// Reads the values of one map line.
class LineReader {
 public:
  LineReader(std::string_view line, int lineNumber) : line_(line), lineNumber_(lineNumber) {}

  void ReadInto(TerrainCode* codes) {
    int count = 0;
    while (true) {
      SkipBlanks();
      if (count == MapLineLength) Fail("値が多すぎます (1 行に 151 個)");
      codes[count++] = ReadValue();
      SkipBlanks();
      if (AtEnd()) break;
      if (line_[at_] != ',') Fail("数ではありません");
      ++at_;
    }
    if (count < MapLineLength)
      Fail("値が " + std::to_string(count) + " 個しかありません (1 行に 151 個)");
  }

 private:
  bool AtEnd() const { return at_ == line_.size(); }
  void SkipBlanks() {
    while (!AtEnd() && IsBlank(line_[at_])) ++at_;
  }

  TerrainCode ReadValue() {
    const std::size_t start = at_;
    if (AtEnd() || line_[at_] == ',') Fail("値がありません");
    if (!IsDigit(line_[at_])) Fail("数ではありません");
    int value = 0;
    while (!AtEnd() && IsDigit(line_[at_])) {
      if (value <= MaxCode) value = value * 10 + (line_[at_] - '0');
      ++at_;
    }
    if (value > MaxCode) {
      at_ = start;
      Fail(std::string(line_.substr(start, Digits(start))) + " は 0..255 の外です");
    }
    return static_cast<TerrainCode>(value);
  }

  std::size_t Digits(std::size_t start) const {
    std::size_t end = start;
    while (end < line_.size() && IsDigit(line_[end])) ++end;
    return end - start;
  }

  [[noreturn]] void Fail(const std::string& message) const {
    throw MapTextError(lineNumber_, static_cast<int>(at_) + 1, message);
  }

  std::string_view line_;
  int lineNumber_;
  std::size_t at_ = 0;
};

}  // namespace

std::string MapToText(const MapImage& image) {
  std::string text(CommentLine);
  const std::size_t start = text.size();
  text.resize(start + MapSize * 4);  // at most three digits and a separator each
  char* out = &text[start];
  for (int offset = 0; offset < MapSize; ++offset) {
    out = AppendCode(out, image[offset]);
    *out++ = (offset + 1) % MapLineLength == 0 ? '\n' : ',';
  }
  text.resize(static_cast<std::size_t>(out - text.data()));
  return text;
}

MapTextError::MapTextError(int line, int column, std::string message)
    : std::runtime_error(std::move(message)), line_(line), column_(column) {}

void ParseMapText(std::string_view text, MapImage& image) {
  MapImage parsed;
  int lineNumber = 0;
  int mapLine = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    at = end + 1;
    ++lineNumber;
    if (!line.empty() && line.front() == '#') continue;
    if (mapLine == MapLineCount) throw MapTextError(lineNumber, 1, "行が多すぎます (地図は 176 行)");
    LineReader(line, lineNumber).ReadInto(parsed.data() + mapLine * MapLineLength);
    ++mapLine;
  }
  if (mapLine < MapLineCount)
    throw MapTextError(lineNumber + 1, 1,
                       "地図の行が " + std::to_string(mapLine) + " 行しかありません (地図は 176 行)");
  image = parsed;
}
