#pragma once
// File services from the C++ standard library alone: for the host build,
// its tests and tools. It knows no sharing modes; Windows uses its own.

#include "map/FileSystem.h"

class StdFileSystem : public FileSystem {
 public:
  ReadResult ReadStart(const MapPath& path, std::size_t most, std::vector<std::uint8_t>& content,
                       std::uint64_t& size) override;
  std::unique_ptr<NewFile> CreateBeside(const MapPath& target, MapPath& created) override;
  ReplaceResult Replace(const MapPath& target, const MapPath& replacement, MapPath& oldLeft) override;
  void Remove(const MapPath& path) override;
};
