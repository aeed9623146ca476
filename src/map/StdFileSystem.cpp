#include "map/StdFileSystem.h"

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

FileSystem::ReadResult StdFileSystem::ReadWhole(const MapPath& path, std::vector<std::uint8_t>& content) {
  const fs::path file(path);
  std::error_code error;
  if (!fs::is_regular_file(file, error)) return ReadResult::CannotOpen;
  std::ifstream stream(file, std::ios::binary);
  if (!stream.is_open()) return ReadResult::CannotOpen;
  const auto size = fs::file_size(file, error);
  if (error) return ReadResult::ShortRead;
  content.resize(size);
  stream.read(reinterpret_cast<char*>(content.data()), static_cast<std::streamsize>(size));
  return static_cast<std::uintmax_t>(stream.gcount()) == size ? ReadResult::Read : ReadResult::ShortRead;
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
FileSystem::ReplaceResult StdFileSystem::Replace(const MapPath& target, const MapPath& replacement) {
  std::error_code error;
  fs::rename(fs::path(replacement), fs::path(target), error);
  return error ? ReplaceResult::TargetKept : ReplaceResult::Replaced;
}

void StdFileSystem::Remove(const MapPath& path) {
  std::error_code error;
  fs::remove(fs::path(path), error);
}
