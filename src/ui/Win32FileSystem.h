#pragma once
// The map file's services through the Win32 API: UTF-16 paths, so any folder
// the user can pick works, and Windows' sharing rules: while we read, others
// may read but not write; while we write, nobody else may touch the file.

#include "map/FileSystem.h"

class Win32FileSystem : public FileSystem {
 public:
  ReadResult ReadWhole(const MapPath& path, std::vector<std::uint8_t>& content) override;
  std::unique_ptr<NewFile> CreateBeside(const MapPath& target, MapPath& created) override;
  // Refuses a read-only target, and one that someone else holds open.
  bool Replace(const MapPath& target, const MapPath& replacement) override;
  void Remove(const MapPath& path) override;
};
