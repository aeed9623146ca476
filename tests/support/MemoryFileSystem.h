#pragma once
// Files in memory, with a switch for each step that can fail, so that tests
// can break a read or a save at any point and see what is left.

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "map/FileSystem.h"

class MemoryFileSystem : public FileSystem {
 public:
  std::map<MapPath, std::vector<std::uint8_t>> files;

  // Faults to inject.
  std::set<MapPath> locked;  // cannot be opened, replaced or created
  std::set<MapPath> folders;  // folders: nothing can be written under their name
  bool failShortRead = false;
  bool failCreate = false;
  std::size_t writeLimit = SIZE_MAX;  // bytes a write takes before the disk is full
  bool failFlush = false;
  bool failClose = false;
  bool failReplace = false;
  bool loseTargetOnReplace = false;  // the old file goes, the new one cannot take its place
  bool keepOldOnReplace = false;     // the new file takes its place, the old one cannot be removed

  int reads = 0;
  int replaces = 0;

  ReadResult ReadStart(const MapPath& path, std::size_t most, std::vector<std::uint8_t>& content,
                       std::uint64_t& size) override {
    ++reads;
    const auto file = files.find(path);
    if (file == files.end() || locked.count(path) != 0) {
      SetFailure({file == files.end() ? FileFailure::Kind::NotFound : FileFailure::Kind::InUse, 0});
      return ReadResult::CannotOpen;
    }
    if (failShortRead) return ReadResult::ShortRead;
    const std::size_t wanted = std::min(most, file->second.size());
    content.assign(file->second.begin(), file->second.begin() + static_cast<std::ptrdiff_t>(wanted));
    size = file->second.size();
    return ReadResult::Read;
  }

  std::unique_ptr<NewFile> CreateBeside(const MapPath& target, MapPath& created) override {
    if (failCreate || locked.count(target) != 0) return nullptr;
    created = target + u".~new";
    files[created].clear();
    return std::make_unique<File>(*this, created);
  }

  ReplaceResult Replace(const MapPath& target, const MapPath& replacement, MapPath& oldLeft) override {
    ++replaces;
    if (keepOldOnReplace) {
      oldLeft = target + u".~old";
      files[oldLeft] = files[target];
      files[target] = files[replacement];
      files.erase(replacement);
      return ReplaceResult::ReplacedOldLeft;
    }
    if (loseTargetOnReplace) {
      files.erase(target);
      return ReplaceResult::TargetMovedAway;
    }
    if (failReplace || locked.count(target) != 0 || files.count(replacement) == 0) return ReplaceResult::TargetKept;
    files[target] = files[replacement];
    files.erase(replacement);
    return ReplaceResult::Replaced;
  }

  void Remove(const MapPath& path) override { files.erase(path); }

  bool SameFile(const MapPath& one, const MapPath& other) override {
    return one == other && files.count(one) != 0;
  }

  bool IsFolder(const MapPath& path) override { return folders.count(path) != 0; }

 private:
  class File : public NewFile {
   public:
    File(MemoryFileSystem& owner, MapPath path) : owner_(owner), path_(std::move(path)) {}
    std::size_t Write(const std::uint8_t* bytes, std::size_t count) override {
      auto& content = owner_.files[path_];
      const std::size_t room = owner_.writeLimit > content.size() ? owner_.writeLimit - content.size() : 0;
      const std::size_t taken = count < room ? count : room;
      content.insert(content.end(), bytes, bytes + taken);
      return taken;
    }
    bool Flush() override { return !owner_.failFlush; }
    bool Close() override { return !owner_.failClose; }

   private:
    MemoryFileSystem& owner_;
    MapPath path_;
  };
};
