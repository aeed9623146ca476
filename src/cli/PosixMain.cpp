// valtea-map on Linux: arguments and output in UTF-8, files through the
// standard library.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/ShiftJisToUtf8.h"
#include "cli/ValteaMap.h"
#include "map/StdFileSystem.h"

namespace {

// The program's texts are Shift-JIS (code page 932), the terminal's UTF-8.
class Utf8Console : public Console {
 public:
  void Out(const PathText& text) override { Write(stdout, Utf8Of(text)); }
  void Error(const PathText& text) override { Write(stderr, Utf8Of(text)); }
  void OutUtf8(std::string_view text) override { Write(stdout, text); }

  std::string Utf8Of(const PathText& text) override {
    return text.Expand<std::string>([this](std::string_view piece) { return converter_.Utf8Of(piece); },
                                    [](const MapPath& path) { return std::filesystem::path(path).u8string(); });
  }

 private:
  static void Write(std::FILE* stream, std::string_view text) { std::fwrite(text.data(), 1, text.size(), stream); }

  ShiftJisToUtf8 converter_;
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
  // Output that did not all arrive (a full disk behind a redirection) is a failure.
  const bool outputArrived = std::fflush(stdout) == 0 && !std::ferror(stdout);
  return outputArrived ? status : ExitError;
}
