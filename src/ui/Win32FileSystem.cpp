#include "ui/Win32FileSystem.h"

#include <windows.h>

#include <new>
#include <string>

#include "ui/Text.h"

namespace {

// Closes the handle when it goes out of scope, so no failure leaves a file open.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  bool Close() {
    if (!IsOpen()) return true;
    const bool closed = CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

class Win32NewFile : public NewFile {
 public:
  explicit Win32NewFile(HANDLE handle) : file_(handle) {}

  std::size_t Write(const std::uint8_t* bytes, std::size_t count) override {
    if (count > MAXDWORD) return 0;
    DWORD written = 0;
    if (!WriteFile(file_.Get(), bytes, static_cast<DWORD>(count), &written, nullptr)) return 0;
    return written;
  }
  bool Flush() override { return FlushFileBuffers(file_.Get()) != FALSE; }
  bool Close() override { return file_.Close(); }

 private:
  FileHandle file_;
};

bool MoveInPlace(const std::wstring& from, const std::wstring& to) {
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

// Whether anybody else holds the file open: asking for it with no sharing at
// all fails then. Wine's ReplaceFileW would notice too, but leaves a stray
// temporary file of its own in the folder when it does.
bool IsInUse(const std::wstring& path) {
  FileHandle probe(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  return !probe.IsOpen();
}

// Windows' ReplaceFileW carries these over by itself, Wine's does not.
void CopyAttributes(DWORD attributes, const std::wstring& to) {
  constexpr DWORD Kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                         FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  const DWORD kept = attributes & Kept;
  SetFileAttributesW(to.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
}

}  // namespace

FileSystem::ReadResult Win32FileSystem::ReadWhole(const MapPath& path, std::vector<std::uint8_t>& content) {
  FileHandle file(CreateFileW(WideFromPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) return ReadResult::CannotOpen;

  // One ReadFile reads at most 4 GiB; no map file comes anywhere near that.
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > MAXDWORD) return ReadResult::ShortRead;
  const auto expected = static_cast<DWORD>(size.QuadPart);
  std::vector<std::uint8_t> bytes;
  try {
    bytes.resize(expected);
  } catch (const std::bad_alloc&) {
    return ReadResult::ShortRead;
  }
  DWORD read = 0;
  if (expected > 0 && (!ReadFile(file.Get(), bytes.data(), expected, &read, nullptr) || read != expected))
    return ReadResult::ShortRead;
  content = std::move(bytes);
  return ReadResult::Read;
}

std::unique_ptr<NewFile> Win32FileSystem::CreateBeside(const MapPath& target, MapPath& created) {
  // A name left behind by an interrupted save is skipped, never reused.
  for (int attempt = 1; attempt < 100; ++attempt) {
    const std::wstring candidate = WideFromPath(target) + L".~" + std::to_wstring(attempt) + L".tmp";
    HANDLE handle = CreateFileW(candidate.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      created = PathFromWide(candidate);
      return std::make_unique<Win32NewFile>(handle);
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return nullptr;
  }
  return nullptr;
}

bool Win32FileSystem::Replace(const MapPath& target, const MapPath& replacement) {
  const std::wstring to = WideFromPath(target);
  const std::wstring from = WideFromPath(replacement);
  const DWORD attributes = GetFileAttributesW(to.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND && MoveInPlace(from, to);
  // A read-only map is the user's way of keeping it as it is. Checked here
  // rather than trusted to the calls below: Wine's MoveFileExW replaces it.
  if ((attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) return false;
  if (IsInUse(to)) return false;

  CopyAttributes(attributes, from);
  // Keeps the old file's security and other metadata on the new one.
  if (ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
    return true;
  // After these two the old file is already out of its place and the new one
  // still under its temporary name: moving it in is the only way left to
  // have a map file at all.
  const DWORD error = GetLastError();
  if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
    return MoveInPlace(from, to);
  return false;
}

void Win32FileSystem::Remove(const MapPath& path) { DeleteFileW(WideFromPath(path).c_str()); }
