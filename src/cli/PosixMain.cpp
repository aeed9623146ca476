// valtea-map on Linux: arguments and output in UTF-8, files through the
// standard library.

#include <iconv.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/ValteaMap.h"
#include "map/StdFileSystem.h"

namespace {

// The program's texts are Shift-JIS (code page 932), the terminal's UTF-8.
class Utf8Console : public Console {
 public:
  Utf8Console() : converter_(iconv_open("UTF-8", "CP932")) {}
  ~Utf8Console() override {
    if (converter_ != Invalid()) iconv_close(converter_);
  }
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;

  void Out(const PathText& text) override { Write(stdout, Utf8Of(text)); }
  void Error(const PathText& text) override { Write(stderr, Utf8Of(text)); }
  void OutUtf8(std::string_view text) override { Write(stdout, text); }

 private:
  static iconv_t Invalid() { return reinterpret_cast<iconv_t>(-1); }

  static void Write(std::FILE* stream, std::string_view text) { std::fwrite(text.data(), 1, text.size(), stream); }

  std::string Utf8Of(const PathText& text) {
    return text.Expand<std::string>([this](std::string_view piece) { return Converted(std::string(piece)); },
                                    [](const MapPath& path) { return std::filesystem::path(path).u8string(); });
  }

  std::string Converted(std::string shiftJis) {
    if (converter_ == Invalid()) return shiftJis;
    std::string utf8(shiftJis.size() * 3 / 2 + 16, '\0');
    char* in = shiftJis.data();
    std::size_t inLeft = shiftJis.size();
    char* out = utf8.data();
    std::size_t outLeft = utf8.size();
    iconv(converter_, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0 && iconv(converter_, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) {
      if (outLeft > 0) {  // a byte that is no Shift-JIS: shown as '?'
        *out++ = '?';
        --outLeft;
        ++in;
        --inLeft;
      } else {
        const std::size_t used = static_cast<std::size_t>(out - utf8.data());
        utf8.resize(utf8.size() * 2);
        out = utf8.data() + used;
        outLeft = utf8.size() - used;
      }
    }
    utf8.resize(static_cast<std::size_t>(out - utf8.data()));
    return utf8;
  }

  iconv_t converter_;
};

}  // namespace

int main(int argc, char** argv) {
  Utf8Console console;
  std::vector<MapPath> arguments;
  for (int i = 1; i < argc; ++i) {
    try {
      arguments.push_back(std::filesystem::u8path(argv[i]).u16string());
    } catch (const std::exception&) {
      console.Error(PathText{"valtea-map: 引数が UTF-8 ではありません\n", {}});
      return ExitError;
    }
  }
  StdFileSystem files;
  const int status = RunValteaMap(arguments, files, console);
  return std::fflush(stdout) == 0 ? status : ExitError;
}
