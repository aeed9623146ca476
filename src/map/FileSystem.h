#pragma once
// The few file services the map file needs, so that the map code stays free
// of any platform: the Windows build supplies them through the Win32 API with
// its sharing rules, tests supply fakes that fail at chosen steps.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "map/PathText.h"

// A file being written, open for this writer alone.
class NewFile {
 public:
  virtual ~NewFile() = default;
  // Returns how many bytes were written; fewer than asked means failure.
  virtual std::size_t Write(const std::uint8_t* bytes, std::size_t count) = 0;
  // Pushes the bytes to the storage device.
  virtual bool Flush() = 0;
  virtual bool Close() = 0;

  // Why the last Write, Flush or Close failed.
  FileFailure LastFailure() const { return lastFailure_; }

 protected:
  void SetFailure(FileFailure failure) { lastFailure_ = failure; }

 private:
  FileFailure lastFailure_;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  enum class ReadResult { Read, CannotOpen, ShortRead };
  // Opens an existing file while others may read but not write it, reads its
  // first `most` bytes (all of a shorter file) in one piece and closes it
  // again, also when reading fails; `size` tells how long the whole file is.
  // So a huge file costs no more than the bytes that matter. Fewer bytes
  // arriving than that is a short read.
  virtual ReadResult ReadStart(const MapPath& path, std::size_t most, std::vector<std::uint8_t>& content,
                               std::uint64_t& size) = 0;

  // Creates a new, empty file in the folder of `target`, shared with nobody,
  // and tells its path. Returns null when no such file can be created.
  virtual std::unique_ptr<NewFile> CreateBeside(const MapPath& target, MapPath& created) = 0;

  enum class ReplaceResult {
    Replaced,        // `target` holds what `replacement` held
    ReplacedOldLeft, // so does `target`, but the old file stays under the name `oldLeft`
    TargetKept,      // `target` is as it was; `replacement` is still there
    TargetMovedAway, // `target` is no longer under its name and `replacement`,
                     // still under its own, may be the only copy left
  };
  // Puts `replacement` in place of `target` in one step; `target` need not exist.
  virtual ReplaceResult Replace(const MapPath& target, const MapPath& replacement, MapPath& oldLeft) = 0;

  virtual void Remove(const MapPath& path) = 0;

  // Whether two paths name one existing file, however they are spelt:
  // another case where names ignore it, "..", a link.
  virtual bool SameFile(const MapPath& one, const MapPath& other) = 0;

  // Whether `path` names an existing folder, where no map can be written.
  virtual bool IsFolder(const MapPath& path) = 0;

  // When the file was last written, in the system's own units; none where
  // the system cannot say.
  virtual std::optional<std::int64_t> LastWriteTime(const MapPath&) { return std::nullopt; }

  // Why the last ReadStart, CreateBeside, NewFile::Write or Replace of this
  // file system failed.
  FileFailure LastFailure() const { return lastFailure_; }

 protected:
  void SetFailure(FileFailure failure) { lastFailure_ = failure; }

 private:
  FileFailure lastFailure_;
};
