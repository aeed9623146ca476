#pragma once
// A fresh folder for one test's files, removed with everything in it at the end.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "map/PathText.h"

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The path of a file in the folder, as the program names files.
  MapPath File(const std::u16string& name) const;

 private:
  std::filesystem::path path_;
};

std::vector<std::uint8_t> ReadBytes(const MapPath& path);
void WriteBytes(const MapPath& path, const std::vector<std::uint8_t>& bytes);
