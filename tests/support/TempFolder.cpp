#include "support/TempFolder.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = fs::temp_directory_path() / ("valtea-test-" + std::to_string(random()));
    if (fs::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("no temporary folder");
}

TempFolder::~TempFolder() {
  std::error_code error;
  // Files made read-only by a test would otherwise stay behind on Windows.
  for (const auto& entry : fs::recursive_directory_iterator(path_, error))
    fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, error);
  fs::remove_all(path_, error);
}

MapPath TempFolder::File(const std::u16string& name) const { return (path_ / fs::path(name)).u16string(); }

std::vector<std::uint8_t> ReadBytes(const MapPath& path) {
  std::ifstream stream(fs::path(path), std::ios::binary);
  if (!stream) throw std::runtime_error("cannot read test file " + fs::path(path).string());
  return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

void WriteBytes(const MapPath& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream stream(fs::path(path), std::ios::binary | std::ios::trunc);
  stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!stream) throw std::runtime_error("cannot write test file " + fs::path(path).string());
}
