#pragma once
// The map file's services through the Win32 API: UTF-16 paths, so any folder
// the user can pick works, and Windows' sharing rules: while we read, others
// may read but not write; while we write, nobody else may touch the file.

#include <windows.h>

#include "map/FileSystem.h"

// The Win32 calls that put a saved map in place, one virtual each, so that
// tests can make any of them fail the way Windows can and see what is left.
class Win32FileCalls {
 public:
  virtual ~Win32FileCalls() = default;
  virtual DWORD Attributes(const wchar_t* path);  // GetFileAttributesW
  virtual BOOL SetAttributes(const wchar_t* path, DWORD attributes);
  virtual HANDLE Open(const wchar_t* path, DWORD access, DWORD sharing, DWORD disposition);  // CreateFileW
  // ReplaceFileW, keeping the old file under `backup` until the new one is in place.
  virtual BOOL ReplaceWithBackup(const wchar_t* replaced, const wchar_t* replacement, const wchar_t* backup);
  virtual BOOL MoveReplacing(const wchar_t* from, const wchar_t* to);  // MoveFileExW
  virtual BOOL Delete(const wchar_t* path);
};

class Win32FileSystem : public FileSystem {
 public:
  explicit Win32FileSystem(Win32FileCalls& calls = SystemCalls());

  ReadResult ReadStart(const MapPath& path, std::size_t most, std::vector<std::uint8_t>& content,
                       std::uint64_t& size) override;
  std::unique_ptr<NewFile> CreateBeside(const MapPath& target, MapPath& created) override;
  // Refuses a read-only target, and one that someone else holds open. The
  // old file goes to a backup name first, so that it can be found again if
  // the new one cannot take its place.
  ReplaceResult Replace(const MapPath& target, const MapPath& replacement, MapPath& oldLeft) override;
  void Remove(const MapPath& path) override;
  bool SameFile(const MapPath& one, const MapPath& other) override;
  bool IsFolder(const MapPath& path) override;
  std::optional<std::int64_t> LastWriteTime(const MapPath& path) override;

  static Win32FileCalls& SystemCalls();

 private:
  ReplaceResult ReplaceExisting(const std::wstring& target, const std::wstring& replacement, DWORD attributes,
                                MapPath& oldLeft);
  ReplaceResult RecoverFromFailedReplace(const std::wstring& target, const std::wstring& replacement,
                                         const std::wstring& backup, MapPath& oldLeft);
  ReplaceResult RemoveBackup(const std::wstring& backup, MapPath& oldLeft);
  std::wstring UnusedNameBeside(const std::wstring& target, const wchar_t* extension);
  bool Exists(const std::wstring& path);
  ReplaceResult Kept(FileFailure failure);

  Win32FileCalls& calls_;
};
