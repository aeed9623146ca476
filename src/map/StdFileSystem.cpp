#include "map/StdFileSystem.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

class StdNewFile : public NewFile {
 public:
  explicit StdNewFile(const fs::path& path) : stream_(path, std::ios::binary | std::ios::trunc) {}
  bool IsOpen() const { return stream_.is_open(); }

  std::size_t Write(const std::uint8_t* bytes, std::size_t count) override {
    stream_.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(count));
    return stream_ ? count : 0;
  }
  bool Flush() override { return static_cast<bool>(stream_.flush()); }
  bool Close() override {
    stream_.close();
    return !stream_.fail();
  }

 private:
  std::ofstream stream_;
};

}  // namespace

FileSystem::ReadResult StdFileSystem::ReadStart(const MapPath& path, std::size_t most,
                                                std::vector<std::uint8_t>& content, std::uint64_t& size) {
  const fs::path file(path);
  std::error_code error;
  if (!fs::is_regular_file(file, error)) return ReadResult::CannotOpen;
  std::ifstream stream(file, std::ios::binary);
  if (!stream.is_open()) return ReadResult::CannotOpen;
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

std::unique_ptr<NewFile> StdFileSystem::CreateBeside(const MapPath& target, MapPath& created) {
  std::error_code error;
  for (int attempt = 1; attempt < 100; ++attempt) {
    MapPath candidate = target + u".~" + fs::path(std::to_string(attempt)).u16string() + u".tmp";
    if (fs::exists(fs::path(candidate), error) || error) continue;
    auto file = std::make_unique<StdNewFile>(fs::path(candidate));
    if (!file->IsOpen()) return nullptr;
    created = std::move(candidate);
    return file;
  }
  return nullptr;
}

// A rename replaces the target in one step, or leaves both files as they were.
FileSystem::ReplaceResult StdFileSystem::Replace(const MapPath& target, const MapPath& replacement, MapPath&) {
  std::error_code error;
  fs::rename(fs::path(replacement), fs::path(target), error);
  return error ? ReplaceResult::TargetKept : ReplaceResult::Replaced;
}

void StdFileSystem::Remove(const MapPath& path) {
  std::error_code error;
  fs::remove(fs::path(path), error);
}
