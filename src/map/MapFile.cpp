#include "map/MapFile.h"

#include "map/TextEncoding.h"

#include <algorithm>

const std::string_view CannotOpenMessage = "ファイル %s は開けません";
const std::string_view ReadErrorMessage = "ストリームからの読み込みエラー";
const std::string_view CannotCreateMessage = "ファイル %s を作成できません";
const std::string_view WriteErrorMessage = "ストリームへの書き込みエラー";
const std::string_view SavedElsewhereMessage = "ファイル %s を作成できません。マップは %s に保存されています";
const std::string_view TooLargeMessage = "ファイル %s は大きすぎます";
const std::string_view OldFileLeftMessage = "ファイル %s に保存しましたが、古いファイル %s を消せませんでした";

namespace {

constexpr std::string_view MapFileName = "MAPDATA.VLT";
constexpr std::u16string_view MapFileNameUtf16 = u"MAPDATA.VLT";

[[noreturn]] void Fail(std::string_view format, const MapPath& path = {}, FileFailure reason = {}) {
  throw MapFileError(PathText{std::string(format), path}, reason);
}

}  // namespace

bool IsGameMapFileName(std::string_view shiftJisPath) {
  std::size_t nameStart = 0;
  for (std::size_t i = 0; i < shiftJisPath.size(); ++i) {
    const auto byte = static_cast<unsigned char>(shiftJisPath[i]);
    if (IsShiftJisLeadByte(byte)) {
      ++i;  // the second byte belongs to the same character
    } else if (byte == '\\' || byte == ':') {
      nameStart = i + 1;
    }
  }
  return shiftJisPath.substr(std::min(nameStart, shiftJisPath.size())) == MapFileName;
}

bool IsGameMapFileName(std::u16string_view path) {
  const auto separator = path.find_last_of(u"\\:");
  const auto nameStart = separator == std::u16string_view::npos ? 0 : separator + 1;
  return path.substr(nameStart) == MapFileNameUtf16;
}

// The bytes and size of the file's start, or the error of a failed read.
static std::vector<std::uint8_t> ReadStartOf(FileSystem& files, const MapPath& path, std::size_t most,
                                             std::uint64_t& size) {
  std::vector<std::uint8_t> content;
  switch (files.ReadStart(path, most, content, size)) {
    case FileSystem::ReadResult::Read: return content;
    case FileSystem::ReadResult::CannotOpen:
      Fail(CannotOpenMessage, path, files.LastFailure());
    case FileSystem::ReadResult::ShortRead: break;
  }
  Fail(ReadErrorMessage, {}, files.LastFailure());
}

MapContent ReadMapContent(FileSystem& files, const MapPath& path) {
  MapContent content;
  content.bytes = ReadStartOf(files, path, MapSize, content.fileSize);
  return content;
}

std::vector<std::uint8_t> ReadSmallFile(FileSystem& files, const MapPath& path, std::size_t most) {
  std::uint64_t size = 0;
  std::vector<std::uint8_t> content = ReadStartOf(files, path, most, size);
  if (size > most) Fail(TooLargeMessage, path);
  return content;
}

void WriteMapImage(FileSystem& files, const MapPath& path, const MapImage& image) {
  WriteWholeFile(files, path, std::vector<std::uint8_t>(image.begin(), image.end()));
}

void WriteWholeFile(FileSystem& files, const MapPath& path, const std::vector<std::uint8_t>& content) {
  MapPath newPath;
  std::unique_ptr<NewFile> file = files.CreateBeside(path, newPath);
  if (!file) Fail(CannotCreateMessage, path, files.LastFailure());

  const bool written = file->Write(content.data(), content.size()) == content.size() && file->Flush();
  const bool closed = file->Close();
  const FileFailure writeFailure = file->LastFailure();
  file.reset();
  if (!written || !closed) {
    files.Remove(newPath);
    Fail(WriteErrorMessage, {}, writeFailure);
  }
  MapPath oldLeft;
  switch (files.Replace(path, newPath, oldLeft)) {
    case FileSystem::ReplaceResult::Replaced: return;
    case FileSystem::ReplaceResult::ReplacedOldLeft:
      throw OldFileLeftError(PathText{std::string(OldFileLeftMessage), path, oldLeft});
    case FileSystem::ReplaceResult::TargetKept: {
      const FileFailure reason = files.LastFailure();
      files.Remove(newPath);
      Fail(CannotCreateMessage, path, reason);
    }
    case FileSystem::ReplaceResult::TargetMovedAway: break;
  }
  // The new file may be the only copy of the map now: it stays, and the
  // user learns where it is.
  throw MapFileError(PathText{std::string(SavedElsewhereMessage), path, newPath});
}
