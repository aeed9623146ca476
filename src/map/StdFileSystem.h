#pragma once
// File services from the C++ standard library, with the POSIX calls that keep
// a saved file's mode, owner and links: for the host build, its tests and
// tools. It knows no sharing modes; Windows uses its own.

#include <filesystem>

#include "map/FileSystem.h"

class StdFileSystem : public FileSystem {
 public:
  ReadResult ReadStart(const MapPath& path, std::size_t most, std::vector<std::uint8_t>& content,
                       std::uint64_t& size) override;
  // Beside the file a link points at, when the target is a link.
  std::unique_ptr<NewFile> CreateBeside(const MapPath& target, MapPath& created) override;
  // Replaces the file a link points at, and refuses a file its owner may not
  // write; the new file keeps the old one's mode, owner and group.
  ReplaceResult Replace(const MapPath& target, const MapPath& replacement, MapPath& oldLeft) override;
  void Remove(const MapPath& path) override;
  bool SameFile(const MapPath& one, const MapPath& other) override;
  bool IsFolder(const MapPath& path) override;
  std::optional<std::int64_t> LastWriteTime(const MapPath& path) override;

 private:
  ReadResult Refuse(FileFailure failure);
  bool TakeOverFrom(const std::filesystem::path& old, const std::filesystem::path& replacement);
};
