#pragma once
// Texts that name files. The program's own words are Shift-JIS, but a path
// the user picked on Windows may hold characters that code page 932 lacks, so
// the paths are kept in UTF-16 until the text is shown.

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

// A file path as Windows names files: UTF-16 code units.
using MapPath = std::u16string;

struct PathText {
  PathText() = default;
  PathText(std::string format, MapPath path, MapPath otherPath = {})
      : format(std::move(format)), path(std::move(path)), otherPath(std::move(otherPath)) {}

  std::string format;  // Shift-JIS; the first "%s" stands for path, a second one for otherPath
  MapPath path;
  MapPath otherPath;

  // The text with the paths in place of their "%s" marks: fromFormat turns
  // pieces of the format into Text, fromPath turns a path into Text.
  template <typename Text, typename FromFormat, typename FromPath>
  Text Expand(FromFormat&& fromFormat, FromPath&& fromPath) const {
    Text text;
    std::string_view rest = format;
    const MapPath* paths[] = {&path, &otherPath};
    for (const MapPath* next : paths) {
      const auto mark = rest.find("%s");
      if (mark == std::string_view::npos) break;
      text += fromFormat(rest.substr(0, mark));
      text += fromPath(*next);
      rest.remove_prefix(mark + 2);
    }
    text += fromFormat(rest);
    return text;
  }

  // For logs and test failure output: ASCII path characters are kept,
  // others become '?'.
  std::string Approximate() const;

  bool operator==(const PathText& other) const {
    return format == other.format && path == other.path && otherPath == other.otherPath;
  }
};

// Where a path's file name starts: after its last '\\' or '/'.
template <typename Text>
std::size_t NameStartOf(const Text& path) {
  std::size_t start = path.size();
  while (start > 0 && path[start - 1] != '\\' && path[start - 1] != '/') --start;
  return start;
}
// The folder with its separator ("C:\\game\\"), and the file name.
inline MapPath FolderOf(const MapPath& path) { return path.substr(0, NameStartOf(path)); }
inline MapPath FileNameOf(const MapPath& path) { return path.substr(NameStartOf(path)); }

// Why a file service failed, in terms a user can act on. `systemCode` is the
// operating system's own number (errno, GetLastError), kept for the failures
// that have no kind of their own.
struct FileFailure {
  enum class Kind { None, NotFound, IsFolder, NoPermission, ReadOnly, InUse, DiskFull, BadName, Other };
  Kind kind = Kind::None;
  long systemCode = 0;
};

// A failed read or write of a map file. The message is the one the user sees;
// the reason, where the file system told one, is for those who show it.
class MapFileError : public std::runtime_error {
 public:
  explicit MapFileError(PathText text, FileFailure reason = {});
  const PathText& Text() const { return text_; }
  const FileFailure& Reason() const { return reason_; }

 private:
  PathText text_;
  FileFailure reason_;
};
