#include "platform/Win32FileSystem.h"

#include <algorithm>
#include <new>
#include <string>

#include "platform/Text.h"

namespace {

// Closes the handle when it goes out of scope, so no failure leaves a file open.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  FileHandle(FileHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = INVALID_HANDLE_VALUE; }
  FileHandle& operator=(FileHandle&&) = delete;

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

FileFailure FailureOf(DWORD error) {
  using Kind = FileFailure::Kind;
  const long code = static_cast<long>(error);
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
      return {Kind::NotFound, code};
    case ERROR_ACCESS_DENIED:
      return {Kind::NoPermission, code};
    case ERROR_WRITE_PROTECT:
      return {Kind::ReadOnly, code};
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
      return {Kind::InUse, code};
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return {Kind::DiskFull, code};
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
      return {Kind::BadName, code};
    default:
      return {Kind::Other, code};
  }
}

// Windows says only "access denied" for a folder and a read-only file;
// their attributes tell which.
FileFailure FailureAt(const std::wstring& path, DWORD error) {
  FileFailure failure = FailureOf(error);
  if (failure.kind != FileFailure::Kind::NoPermission) return failure;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return failure;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) failure.kind = FileFailure::Kind::IsFolder;
  else if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) failure.kind = FileFailure::Kind::ReadOnly;
  return failure;
}

class Win32NewFile : public NewFile {
 public:
  explicit Win32NewFile(FileHandle&& file) : file_(std::move(file)) {}

  std::size_t Write(const std::uint8_t* bytes, std::size_t count) override {
    if (count > MAXDWORD) return 0;
    DWORD written = 0;
    if (!WriteFile(file_.Get(), bytes, static_cast<DWORD>(count), &written, nullptr)) return Failed(0);
    // A short write is how a full disk shows itself.
    if (written < count) SetFailure({FileFailure::Kind::DiskFull, ERROR_DISK_FULL});
    return written;
  }
  bool Flush() override { return FlushFileBuffers(file_.Get()) != FALSE || Failed(false); }
  bool Close() override { return file_.Close() || Failed(false); }

 private:
  template <typename Result>
  Result Failed(Result result) {
    SetFailure(FailureOf(GetLastError()));
    return result;
  }

  FileHandle file_;
};

constexpr DWORD NoSharing = 0;

// Should naming or wrapping the new file fail (out of memory), the handle
// is closed and the file removed, so that nothing stays behind.
std::unique_ptr<NewFile> NewFileAt(Win32FileCalls& calls, FileHandle&& handle, const std::wstring& path,
                                   MapPath& created) {
  try {
    MapPath name = PathFromWide(path);
    auto file = std::make_unique<Win32NewFile>(std::move(handle));
    created = std::move(name);
    return file;
  } catch (...) {
    handle.Close();
    calls.Delete(path.c_str());
    throw;
  }
}

}  // namespace

DWORD Win32FileCalls::Attributes(const wchar_t* path) { return GetFileAttributesW(path); }

BOOL Win32FileCalls::SetAttributes(const wchar_t* path, DWORD attributes) {
  return SetFileAttributesW(path, attributes);
}

HANDLE Win32FileCalls::Open(const wchar_t* path, DWORD access, DWORD sharing, DWORD disposition) {
  return CreateFileW(path, access, sharing, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

BOOL Win32FileCalls::ReplaceWithBackup(const wchar_t* replaced, const wchar_t* replacement, const wchar_t* backup) {
  return ReplaceFileW(replaced, replacement, backup, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
}

BOOL Win32FileCalls::MoveReplacing(const wchar_t* from, const wchar_t* to) {
  return MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

BOOL Win32FileCalls::Delete(const wchar_t* path) { return DeleteFileW(path); }

Win32FileCalls& Win32FileSystem::SystemCalls() {
  static Win32FileCalls system;
  return system;
}

Win32FileSystem::Win32FileSystem(Win32FileCalls& calls) : calls_(calls) {}

FileSystem::ReadResult Win32FileSystem::ReadStart(const MapPath& path, std::size_t most,
                                                  std::vector<std::uint8_t>& content, std::uint64_t& size) {
  const std::wstring wide = WideFromPath(path);
  FileHandle file(calls_.Open(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
  if (!file.IsOpen()) {
    SetFailure(FailureAt(wide, GetLastError()));
    return ReadResult::CannotOpen;
  }

  LARGE_INTEGER whole{};
  if (!GetFileSizeEx(file.Get(), &whole) || whole.QuadPart < 0) return ReadResult::ShortRead;
  const std::uint64_t wantedBytes = std::min<std::uint64_t>(static_cast<std::uint64_t>(whole.QuadPart), most);
  // One ReadFile reads at most 4 GiB; what is asked for is far less.
  if (wantedBytes > MAXDWORD) return ReadResult::ShortRead;
  const auto wanted = static_cast<DWORD>(wantedBytes);
  std::vector<std::uint8_t> bytes;
  try {
    bytes.resize(wanted);
  } catch (const std::bad_alloc&) {
    return ReadResult::ShortRead;
  }
  DWORD read = 0;
  if (wanted > 0 && (!ReadFile(file.Get(), bytes.data(), wanted, &read, nullptr) || read != wanted))
    return ReadResult::ShortRead;
  content = std::move(bytes);
  size = static_cast<std::uint64_t>(whole.QuadPart);
  return ReadResult::Read;
}

std::unique_ptr<NewFile> Win32FileSystem::CreateBeside(const MapPath& target, MapPath& created) {
  // A name left behind by an interrupted save is skipped, never reused.
  for (int attempt = 1; attempt < 100; ++attempt) {
    const std::wstring candidate = WideFromPath(target) + L".~" + std::to_wstring(attempt) + L".tmp";
    FileHandle handle(calls_.Open(candidate.c_str(), GENERIC_READ | GENERIC_WRITE, NoSharing, CREATE_NEW));
    if (handle.IsOpen()) return NewFileAt(calls_, std::move(handle), candidate, created);
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      SetFailure(FailureOf(error));
      return nullptr;
    }
  }
  SetFailure(FailureOf(ERROR_FILE_EXISTS));
  return nullptr;
}

FileSystem::ReplaceResult Win32FileSystem::Replace(const MapPath& target, const MapPath& replacement,
                                                  MapPath& oldLeft) {
  const std::wstring to = WideFromPath(target);
  const std::wstring from = WideFromPath(replacement);
  const DWORD attributes = calls_.Attributes(to.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND && calls_.MoveReplacing(from.c_str(), to.c_str())) return ReplaceResult::Replaced;
    return Kept(FailureOf(error == ERROR_FILE_NOT_FOUND ? GetLastError() : error));
  }
  // A read-only map is the user's way of keeping it as it is. Checked here
  // rather than trusted to the calls below: Wine's MoveFileExW replaces it.
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return Kept({FileFailure::Kind::IsFolder, ERROR_ACCESS_DENIED});
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return Kept({FileFailure::Kind::ReadOnly, ERROR_ACCESS_DENIED});
  // Whether anybody else holds the file open: asking for it with no sharing
  // at all fails then. Wine's ReplaceFileW would notice too, but leaves a
  // stray temporary file of its own in the folder when it does.
  if (!FileHandle(calls_.Open(to.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, NoSharing, OPEN_EXISTING)).IsOpen())
    return Kept(FailureOf(GetLastError()));
  return ReplaceExisting(to, from, attributes, oldLeft);
}

FileSystem::ReplaceResult Win32FileSystem::ReplaceExisting(const std::wstring& target, const std::wstring& replacement,
                                                         DWORD attributes, MapPath& oldLeft) {
  // Windows' ReplaceFileW carries these over by itself, Wine's does not.
  constexpr DWORD Kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                         FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  const DWORD kept = attributes & Kept;
  calls_.SetAttributes(replacement.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);

  // ReplaceFileW keeps the old file's security and other metadata on the new one.
  const std::wstring backup = UnusedNameBeside(target, L".bak");
  if (calls_.ReplaceWithBackup(target.c_str(), replacement.c_str(), backup.empty() ? nullptr : backup.c_str()))
    return RemoveBackup(backup, oldLeft);
  return RecoverFromFailedReplace(target, replacement, backup, oldLeft);
}

// ReplaceFileW can fail half-way: the old file may already be out of its
// place, under the backup name or gone, while the new one still has its own
// name. The error codes say which, but not always the same on every system,
// so what is on disk decides.
FileSystem::ReplaceResult Win32FileSystem::RecoverFromFailedReplace(const std::wstring& target,
                                                                  const std::wstring& replacement,
                                                                  const std::wstring& backup, MapPath& oldLeft) {
  SetFailure(FailureOf(GetLastError()));
  if (Exists(target)) return ReplaceResult::TargetKept;
  if (calls_.MoveReplacing(replacement.c_str(), target.c_str())) return RemoveBackup(backup, oldLeft);
  // The new file cannot take the place: the old one goes back, if it is there.
  if (!backup.empty() && Exists(backup) && calls_.MoveReplacing(backup.c_str(), target.c_str()))
    return ReplaceResult::TargetKept;
  return ReplaceResult::TargetMovedAway;
}

// The old map under its backup name, once the new one is in place. A backup
// that cannot be deleted, not even once its attributes are cleared, stays,
// and the caller learns where.
FileSystem::ReplaceResult Win32FileSystem::RemoveBackup(const std::wstring& backup, MapPath& oldLeft) {
  if (backup.empty() || !Exists(backup) || calls_.Delete(backup.c_str())) return ReplaceResult::Replaced;
  calls_.SetAttributes(backup.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (calls_.Delete(backup.c_str())) return ReplaceResult::Replaced;
  oldLeft = PathFromWide(backup);
  return ReplaceResult::ReplacedOldLeft;
}

std::wstring Win32FileSystem::UnusedNameBeside(const std::wstring& target, const wchar_t* extension) {
  for (int attempt = 1; attempt < 100; ++attempt) {
    std::wstring candidate = target + L".~" + std::to_wstring(attempt) + extension;
    if (!Exists(candidate)) return candidate;
  }
  return {};
}

bool Win32FileSystem::Exists(const std::wstring& path) {
  return calls_.Attributes(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

FileSystem::ReplaceResult Win32FileSystem::Kept(FileFailure failure) {
  SetFailure(failure);
  return ReplaceResult::TargetKept;
}

void Win32FileSystem::Remove(const MapPath& path) { calls_.Delete(WideFromPath(path).c_str()); }

namespace {

// The volume and the file's number on it: the same for every path of one file.
bool IdentityOf(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& identity) {
  // No access asked, and all sharing allowed: this works on files that
  // others hold open; backup semantics let it open folders too.
  FileHandle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return file.IsOpen() && GetFileInformationByHandle(file.Get(), &identity) != FALSE;
}

}  // namespace

bool Win32FileSystem::SameFile(const MapPath& one, const MapPath& other) {
  BY_HANDLE_FILE_INFORMATION first{}, second{};
  return IdentityOf(WideFromPath(one), first) && IdentityOf(WideFromPath(other), second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber && first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

bool Win32FileSystem::IsFolder(const MapPath& path) {
  const DWORD attributes = GetFileAttributesW(WideFromPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::int64_t> Win32FileSystem::LastWriteTime(const MapPath& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(WideFromPath(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 |
                                   data.ftLastWriteTime.dwLowDateTime);
}
