#include "map/StdFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

FileFailure FailureOf(int error) {
  using Kind = FileFailure::Kind;
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return {Kind::NotFound, error};
    case EISDIR:
      return {Kind::IsFolder, error};
    case EACCES:
    case EPERM:
      return {Kind::NoPermission, error};
    case EROFS:
      return {Kind::ReadOnly, error};
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
      return {Kind::DiskFull, error};
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
      return {Kind::InUse, error};
    case ENAMETOOLONG:
    case EINVAL:
      return {Kind::BadName, error};
    default:
      return {Kind::Other, error};
  }
}

class StdNewFile : public NewFile {
 public:
  explicit StdNewFile(const fs::path& path) {
    errno = 0;
    stream_.open(path, std::ios::binary | std::ios::trunc);
    openError_ = errno;
  }
  bool IsOpen() const { return stream_.is_open(); }
  int OpenError() const { return openError_ != 0 ? openError_ : EACCES; }

  std::size_t Write(const std::uint8_t* bytes, std::size_t count) override {
    errno = 0;
    stream_.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(count));
    return Succeeded() ? count : 0;
  }
  bool Flush() override {
    errno = 0;
    stream_.flush();
    return Succeeded();
  }
  bool Close() override {
    errno = 0;
    stream_.close();
    return Succeeded();
  }

 private:
  bool Succeeded() {
    if (!stream_.fail()) return true;
    SetFailure(FailureOf(errno != 0 ? errno : EIO));
    return false;
  }

  std::ofstream stream_;
  int openError_ = 0;
};

// The file a path names in the end: links are followed, so that a save
// replaces the file a link points at, in that file's folder, and the link
// stays a link.
fs::path Followed(const MapPath& target) {
  fs::path path(target);
  std::error_code error;
  for (int hop = 0; hop < 40 && fs::is_symlink(path, error); ++hop) {
    const fs::path next = fs::read_symlink(path, error);
    if (error) break;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return path;
}

}  // namespace

FileSystem::ReadResult StdFileSystem::ReadStart(const MapPath& path, std::size_t most,
                                                std::vector<std::uint8_t>& content, std::uint64_t& size) {
  const fs::path file(path);
  std::error_code error;
  const fs::file_status status = fs::status(file, error);
  if (!fs::exists(status)) return Refuse(FailureOf(error ? error.value() : ENOENT));
  if (fs::is_directory(status)) return Refuse(FailureOf(EISDIR));
  if (!fs::is_regular_file(status)) return Refuse({FileFailure::Kind::Other, 0});
  errno = 0;
  std::ifstream stream(file, std::ios::binary);
  if (!stream.is_open()) return Refuse(FailureOf(errno != 0 ? errno : EACCES));
  const std::uintmax_t whole = fs::file_size(file, error);
  if (error) return ReadResult::ShortRead;
  const auto wanted = static_cast<std::size_t>(std::min<std::uintmax_t>(whole, most));
  std::vector<std::uint8_t> bytes(wanted);
  stream.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(wanted));
  if (static_cast<std::size_t>(stream.gcount()) != wanted) return ReadResult::ShortRead;
  content = std::move(bytes);
  size = whole;
  return ReadResult::Read;
}

FileSystem::ReadResult StdFileSystem::Refuse(FileFailure failure) {
  SetFailure(failure);
  return ReadResult::CannotOpen;
}

std::unique_ptr<NewFile> StdFileSystem::CreateBeside(const MapPath& target, MapPath& created) {
  const MapPath followed = Followed(target).u16string();
  std::error_code error;
  for (int attempt = 1; attempt < 100; ++attempt) {
    MapPath candidate = followed + u".~" + fs::path(std::to_string(attempt)).u16string() + u".tmp";
    if (fs::exists(fs::path(candidate), error) || error) continue;
    auto file = std::make_unique<StdNewFile>(fs::path(candidate));
    if (!file->IsOpen()) {
      SetFailure(FailureOf(file->OpenError()));
      return nullptr;
    }
    created = std::move(candidate);
    return file;
  }
  SetFailure({FileFailure::Kind::Other, EEXIST});
  return nullptr;
}

// A rename replaces the target in one step, or leaves both files as they were.
FileSystem::ReplaceResult StdFileSystem::Replace(const MapPath& target, const MapPath& replacement, MapPath&) {
  const fs::path followed = Followed(target);
  if (!TakeOverFrom(followed, fs::path(replacement))) return ReplaceResult::TargetKept;
  std::error_code error;
  fs::rename(fs::path(replacement), followed, error);
  if (!error) return ReplaceResult::Replaced;
  SetFailure(FailureOf(error.value()));
  return ReplaceResult::TargetKept;
}

// The new file takes the old one's permissions, and its owner and group as
// far as this process may set them. A file whose owner may not write it is
// read-only, whoever runs this: a rename would replace it otherwise, since
// that asks only the folder.
bool StdFileSystem::TakeOverFrom(const fs::path& old, const fs::path& replacement) {
#ifndef _WIN32
  struct stat status {};
  if (::stat(old.c_str(), &status) != 0) return true;  // a new file
  if (S_ISDIR(status.st_mode)) {
    SetFailure(FailureOf(EISDIR));
    return false;
  }
  if ((status.st_mode & S_IWUSR) == 0) {
    SetFailure({FileFailure::Kind::ReadOnly, EACCES});
    return false;
  }
  if (::access(old.c_str(), W_OK) != 0) {
    SetFailure(FailureOf(errno));
    return false;
  }
  // chown first: it may clear the set-id bits that chmod then gives back.
  if (::chown(replacement.c_str(), status.st_uid, status.st_gid) != 0)
    static_cast<void>(::chown(replacement.c_str(), static_cast<uid_t>(-1), status.st_gid));
  ::chmod(replacement.c_str(), status.st_mode & 07777);
#else
  static_cast<void>(old);
  static_cast<void>(replacement);
#endif
  return true;
}

void StdFileSystem::Remove(const MapPath& path) {
  std::error_code error;
  fs::remove(fs::path(path), error);
}

bool StdFileSystem::SameFile(const MapPath& one, const MapPath& other) {
  std::error_code error;
  return fs::equivalent(fs::path(one), fs::path(other), error) && !error;
}

bool StdFileSystem::IsFolder(const MapPath& path) {
  std::error_code error;
  return fs::is_directory(fs::path(path), error) && !error;
}

std::optional<std::int64_t> StdFileSystem::LastWriteTime(const MapPath& path) {
  std::error_code error;
  const fs::file_time_type written = fs::last_write_time(fs::path(path), error);
  if (error) return std::nullopt;
  return static_cast<std::int64_t>(written.time_since_epoch().count());
}
