// valtea-map on Windows: UTF-16 arguments, so any path works; Japanese on the
// console through WriteConsoleW, UTF-8 when the output is redirected; files
// through the editor's own Win32 file services.

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/ValteaMap.h"
#include "map/TextEncoding.h"
#include "platform/Text.h"
#include "platform/Win32FileSystem.h"

namespace {

std::wstring WideFromUtf8(std::string_view text) { return WideFromPath(Utf16FromUtf8(text)); }

std::string Utf8FromWide(std::wstring_view text) {
  return Utf8FromUtf16(PathFromWide(text), LoneSurrogates::Replace);
}

class WindowsConsole : public Console {
 public:
  void Out(const PathText& text) override { Write(STD_OUTPUT_HANDLE, Widen(text)); }
  void Error(const PathText& text) override { Write(STD_ERROR_HANDLE, Widen(text)); }
  void OutUtf8(std::string_view text) override {
    const HANDLE stream = GetStdHandle(STD_OUTPUT_HANDLE);
    if (IsConsole(stream)) {
      WriteToConsole(stream, WideFromUtf8(text));
    } else {
      WriteBytes(stream, text);
    }
  }
  std::string Utf8Of(const PathText& text) override { return Utf8FromWide(Widen(text)); }

  // Whether some output did not arrive (a full disk behind a redirection).
  bool Failed() const { return failed_; }

 private:
  static bool IsConsole(HANDLE stream) {
    DWORD mode = 0;
    return GetConsoleMode(stream, &mode) != FALSE;
  }

  void Write(DWORD which, std::wstring_view text) {
    const HANDLE stream = GetStdHandle(which);
    if (IsConsole(stream)) {
      WriteToConsole(stream, text);
    } else {
      WriteBytes(stream, Utf8FromWide(text));
    }
  }

  // In pieces: the console of Windows 7 refuses a single write much larger
  // than its 64 KiB buffer, and the map as text is about 100 KB. A piece
  // never ends between the two halves of a surrogate pair.
  void WriteToConsole(HANDLE stream, std::wstring_view text) {
    constexpr std::size_t MostUnits = 8 * 1024;  // 16 KiB
    while (!text.empty()) {
      std::size_t units = std::min(text.size(), MostUnits);
      if (units < text.size() && IS_HIGH_SURROGATE(text[units - 1])) --units;
      DWORD written = 0;
      if (!WriteConsoleW(stream, text.data(), static_cast<DWORD>(units), &written, nullptr) || written != units) {
        failed_ = true;
        return;
      }
      text.remove_prefix(units);
    }
  }

  void WriteBytes(HANDLE stream, std::string_view bytes) {
    DWORD written = 0;
    if (!WriteFile(stream, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
      failed_ = true;
  }

  bool failed_ = false;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<MapPath> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(PathFromWide(argv[i]));
  Win32FileSystem files;
  WindowsConsole console;
  const int status = RunValteaMap(arguments, files, console);
  return console.Failed() ? ExitError : status;
}
