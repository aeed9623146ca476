// The map file through the Win32 API on real files: sharing with other
// programs, read-only files, and folders whose names code page 932 lacks.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "map/MapFile.h"
#include "platform/Text.h"
#include "platform/Win32FileSystem.h"
#include "support/TempFolder.h"
#include "support/WindowTesting.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

PathText CannotOpen(const MapPath& path) { return {"ファイル %s は開けません", path}; }
PathText CannotCreate(const MapPath& path) { return {"ファイル %s を作成できません", path}; }

Bytes Pattern(int seed) {
  Bytes bytes(MapSize);
  for (int i = 0; i < MapSize; ++i) bytes[i] = static_cast<std::uint8_t>(i * 13 + seed);
  return bytes;
}

MapImage ImageOf(const Bytes& bytes) {
  MapImage image{};
  std::copy(bytes.begin(), bytes.begin() + MapSize, image.begin());
  return image;
}

class Win32Files : public ::testing::Test {
 protected:
  TempFolder folder;
  Win32FileSystem files;
  MapPath path = folder.File(u"MAPDATA.VLT");
  FileFailure::Kind reason = FileFailure::Kind::None;  // of the last failure

  PathText ReadFails(const MapPath& from) {
    MapImage image = ImageOf(Pattern(99));
    const MapImage before = image;
    try {
      ReadMapImage(files, from, image);
    } catch (const MapFileError& error) {
      EXPECT_EQ(image, before) << "a failed read changed the image";
      reason = error.Reason().kind;
      return error.Text();
    }
    ADD_FAILURE() << "read despite the fault";
    return {};
  }

  PathText SaveFails(const MapPath& to) {
    try {
      WriteMapImage(files, to, ImageOf(Pattern(77)));
    } catch (const MapFileError& error) {
      reason = error.Reason().kind;
      return error.Text();
    }
    ADD_FAILURE() << "saved despite the fault";
    return {};
  }

  Bytes ReadBack(const MapPath& from) {
    MapImage image{};
    ReadMapImage(files, from, image);
    return Bytes(image.begin(), image.end());
  }

  std::vector<std::wstring> FolderContent(const std::filesystem::path& where) const {
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(where))
      names.push_back(entry.path().filename().wstring());
    return names;
  }
  std::vector<std::wstring> FolderContent() const { return FolderContent(folder.Path()); }
};

const std::vector<std::wstring> OnlyTheMap = {L"MAPDATA.VLT"};

TEST_F(Win32Files, SaveAndReadBackAreByteIdentical) {
  WriteMapImage(files, path, ImageOf(Pattern(1)));
  EXPECT_EQ(ReadBytes(path), Pattern(1));
  EXPECT_EQ(ReadBack(path), Pattern(1));

  Bytes longer = Pattern(2);
  longer.resize(MapSize + 300, 0xEE);
  WriteBytes(path, longer);
  WriteMapImage(files, path, ImageOf(Pattern(3)));
  EXPECT_EQ(ReadBytes(path), Pattern(3)) << "an existing file is replaced whole";
  EXPECT_EQ(FolderContent(), OnlyTheMap);
}

TEST_F(Win32Files, EmptyFileReadsWithoutChange) {
  WriteBytes(path, {});
  MapImage image = ImageOf(Pattern(5));
  ReadMapImage(files, path, image);
  EXPECT_EQ(image, ImageOf(Pattern(5)));
}

TEST_F(Win32Files, MissingFileOrFolder) {
  EXPECT_EQ(ReadFails(path), CannotOpen(path));
  EXPECT_EQ(reason, FileFailure::Kind::NotFound);
  const MapPath lost = folder.File(u"missing") + u"\\MAPDATA.VLT";
  EXPECT_EQ(ReadFails(lost), CannotOpen(lost));
  EXPECT_EQ(SaveFails(lost), CannotCreate(lost));
  EXPECT_EQ(reason, FileFailure::Kind::NotFound);
  EXPECT_TRUE(FolderContent().empty());
}

TEST_F(Win32Files, AFolderOfThatNameIsNoMapFile) {
  ASSERT_TRUE(CreateDirectoryW(WideFromPath(path).c_str(), nullptr));
  EXPECT_EQ(ReadFails(path), CannotOpen(path));
  EXPECT_EQ(reason, FileFailure::Kind::IsFolder);
  EXPECT_EQ(SaveFails(path), CannotCreate(path));
  EXPECT_EQ(reason, FileFailure::Kind::IsFolder);
  EXPECT_EQ(FolderContent(), OnlyTheMap);
}

TEST_F(Win32Files, FileLockedByAnotherProgram) {
  WriteBytes(path, Pattern(4));
  {
    OtherHandle other(path, GENERIC_READ | GENERIC_WRITE, 0);
    ASSERT_TRUE(other.IsOpen());
    EXPECT_EQ(ReadFails(path), CannotOpen(path));
    EXPECT_EQ(reason, FileFailure::Kind::InUse);
    EXPECT_EQ(SaveFails(path), CannotCreate(path));
    EXPECT_EQ(reason, FileFailure::Kind::InUse);
  }
  EXPECT_EQ(ReadBytes(path), Pattern(4));
  EXPECT_EQ(FolderContent(), OnlyTheMap);
}

TEST_F(Win32Files, FileBeingWrittenByAnotherProgramCannotBeRead) {
  WriteBytes(path, Pattern(4));
  OtherHandle writer(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
  ASSERT_TRUE(writer.IsOpen());
  EXPECT_EQ(ReadFails(path), CannotOpen(path));
}

TEST_F(Win32Files, OthersMayReadWhileWeRead) {
  WriteBytes(path, Pattern(4));
  OtherHandle reader(path, GENERIC_READ, FILE_SHARE_READ);
  ASSERT_TRUE(reader.IsOpen());
  EXPECT_EQ(ReadBack(path), Pattern(4));
}

TEST_F(Win32Files, FileReadByAnotherProgramIsNotReplaced) {
  WriteBytes(path, Pattern(4));
  {
    OtherHandle reader(path, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(reader.IsOpen());
    EXPECT_EQ(SaveFails(path), CannotCreate(path));
  }
  EXPECT_EQ(ReadBytes(path), Pattern(4));
  EXPECT_EQ(FolderContent(), OnlyTheMap);
}

TEST_F(Win32Files, ReadOnlyFileReadsButIsNotSavedOver) {
  WriteBytes(path, Pattern(6));
  ASSERT_TRUE(SetFileAttributesW(WideFromPath(path).c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(ReadBack(path), Pattern(6));
  EXPECT_EQ(SaveFails(path), CannotCreate(path));
  EXPECT_EQ(reason, FileFailure::Kind::ReadOnly);
  EXPECT_EQ(ReadBytes(path), Pattern(6));
  EXPECT_NE(GetFileAttributesW(WideFromPath(path).c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_EQ(FolderContent(), OnlyTheMap);
}

// One file by any of its names; another file, or none, is not it.
TEST_F(Win32Files, TellsOneFileByAnyOfItsNames) {
  WriteBytes(path, Pattern(1));
  WriteBytes(folder.File(u"OTHER.VLT"), Pattern(1));
  ASSERT_TRUE(CreateDirectoryW(WideFromPath(folder.File(u"sub")).c_str(), nullptr));
  EXPECT_TRUE(files.SameFile(path, folder.File(u"sub\\..\\mapdata.vlt")));
  EXPECT_FALSE(files.SameFile(path, folder.File(u"OTHER.VLT")));
  EXPECT_FALSE(files.SameFile(path, folder.File(u"NONE.VLT")));
}

TEST_F(Win32Files, SavingKeepsTheFilesAttributes) {
  WriteBytes(path, Pattern(6));
  ASSERT_TRUE(SetFileAttributesW(WideFromPath(path).c_str(), FILE_ATTRIBUTE_HIDDEN));
  if ((GetFileAttributesW(WideFromPath(path).c_str()) & FILE_ATTRIBUTE_HIDDEN) == 0)
    GTEST_SKIP() << "this file system cannot keep the hidden attribute (Wine without extended attributes)";
  WriteMapImage(files, path, ImageOf(Pattern(8)));
  EXPECT_EQ(ReadBytes(path), Pattern(8));
  EXPECT_NE(GetFileAttributesW(WideFromPath(path).c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST_F(Win32Files, LeftoverOfAnInterruptedSaveIsNotTouched) {
  const MapPath leftover = path + u".~1.tmp";
  WriteBytes(leftover, {1, 2, 3});
  WriteMapImage(files, path, ImageOf(Pattern(9)));
  EXPECT_EQ(ReadBytes(path), Pattern(9));
  EXPECT_EQ(ReadBytes(leftover), (Bytes{1, 2, 3}));
}

// ReplaceFileW failing half-way, the ways Windows documents: the old file
// stays, goes to the backup name, or is gone, while the new one keeps its
// temporary name. Then the fallback moves may fail too.
class HalfDoneReplace : public Win32FileCalls {
 public:
  enum class OldFile { Stays, GoesToBackup, IsGone };
  DWORD error = ERROR_UNABLE_TO_MOVE_REPLACEMENT;
  OldFile oldFile = OldFile::Stays;
  bool newCannotMove = false;   // the fallback move of the new file into place
  bool oldCannotMove = false;   // putting the old file back from the backup

  BOOL ReplaceWithBackup(const wchar_t* replaced, const wchar_t*, const wchar_t* backup) override {
    backupUsed = backup != nullptr ? backup : L"";
    if (oldFile == OldFile::GoesToBackup) MoveFileW(replaced, backup);
    if (oldFile == OldFile::IsGone) DeleteFileW(replaced);
    SetLastError(error);
    return FALSE;
  }
  BOOL MoveReplacing(const wchar_t* from, const wchar_t* to) override {
    const bool fromBackup = from == backupUsed;
    if ((fromBackup && oldCannotMove) || (!fromBackup && newCannotMove)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    return Win32FileCalls::MoveReplacing(from, to);
  }

  std::wstring backupUsed;
};

class Win32FilesReplaceFault : public Win32Files {
 protected:
  HalfDoneReplace calls;
  Win32FileSystem faulty{calls};
  const Bytes oldMap = Pattern(21);
  const Bytes newMap = Pattern(22);

  void SetUp() override { WriteBytes(path, oldMap); }

  // The save's error, or an empty text when it succeeded.
  PathText Save() {
    try {
      WriteMapImage(faulty, path, ImageOf(newMap));
    } catch (const MapFileError& error) {
      return error.Text();
    }
    return {};
  }
  std::wstring FileName(const std::wstring& path) const {
    return std::filesystem::path(path).filename().wstring();
  }
};

TEST_F(Win32FilesReplaceFault, NothingMovedKeepsTheOldFileAndCleansUp) {
  for (DWORD error : {DWORD{ERROR_UNABLE_TO_REMOVE_REPLACED}, DWORD{ERROR_UNABLE_TO_MOVE_REPLACEMENT}}) {
    calls.error = error;
    EXPECT_EQ(Save(), CannotCreate(path)) << error;
    EXPECT_EQ(ReadBytes(path), oldMap);
    EXPECT_EQ(FolderContent(), OnlyTheMap);
  }
}

TEST_F(Win32FilesReplaceFault, OldFileMovedAwayTheNewOneIsMovedIn) {
  calls.error = ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
  calls.oldFile = HalfDoneReplace::OldFile::GoesToBackup;
  EXPECT_EQ(Save(), PathText{});
  EXPECT_EQ(ReadBytes(path), newMap);
  EXPECT_EQ(FolderContent(), OnlyTheMap) << "neither the backup nor the new file stays behind";
}

TEST_F(Win32FilesReplaceFault, WhenTheNewOneCannotMoveInTheOldOneGoesBack) {
  calls.error = ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
  calls.oldFile = HalfDoneReplace::OldFile::GoesToBackup;
  calls.newCannotMove = true;
  EXPECT_EQ(Save(), CannotCreate(path));
  EXPECT_EQ(ReadBytes(path), oldMap);
  EXPECT_EQ(FolderContent(), OnlyTheMap);
}

TEST_F(Win32FilesReplaceFault, WhenNeitherCanMoveBothStayAndTheErrorNamesTheNewOne) {
  calls.error = ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
  calls.oldFile = HalfDoneReplace::OldFile::GoesToBackup;
  calls.newCannotMove = calls.oldCannotMove = true;
  const PathText error = Save();
  EXPECT_EQ(error.format, "ファイル %s を作成できません。マップは %s に保存されています");
  EXPECT_EQ(error.path, path);
  ASSERT_FALSE(error.otherPath.empty());
  EXPECT_EQ(ReadBytes(error.otherPath), newMap) << "the new map, where the error says";
  EXPECT_EQ(ReadBytes(PathFromWide(calls.backupUsed)), oldMap) << "the old map, at its backup name";
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(path)));
}

TEST_F(Win32FilesReplaceFault, WhenTheOldOneIsGoneTheNewOneIsNeverRemoved) {
  calls.error = ERROR_UNABLE_TO_MOVE_REPLACEMENT;
  calls.oldFile = HalfDoneReplace::OldFile::IsGone;
  calls.newCannotMove = true;
  const PathText error = Save();
  EXPECT_EQ(error.format, "ファイル %s を作成できません。マップは %s に保存されています");
  ASSERT_FALSE(error.otherPath.empty());
  EXPECT_EQ(ReadBytes(error.otherPath), newMap);
  EXPECT_EQ(FolderContent(), (std::vector<std::wstring>{FileName(WideFromPath(error.otherPath))}));
}

// The old map under its backup name cannot be deleted once the new one is in
// place: the map is saved all the same, and the error says where the old one is.
class UndeletableBackup : public Win32FileCalls {
 public:
  BOOL Delete(const wchar_t* path) override {
    if (std::wstring(path).find(L".bak") != std::wstring::npos) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    return Win32FileCalls::Delete(path);
  }
};

TEST_F(Win32Files, ABackupThatCannotBeDeletedIsNamedAfterTheSave) {
  WriteBytes(path, Pattern(31));
  UndeletableBackup calls;
  Win32FileSystem undeleting(calls);
  try {
    WriteMapImage(undeleting, path, ImageOf(Pattern(32)));
    ADD_FAILURE() << "no word of the backup";
  } catch (const OldFileLeftError& error) {
    EXPECT_EQ(error.Text(), (PathText{"ファイル %s に保存しましたが、古いファイル %s を消せませんでした", path,
                                      path + u".~1.bak"}));
  }
  EXPECT_EQ(ReadBytes(path), Pattern(32));
  EXPECT_EQ(ReadBytes(path + u".~1.bak"), Pattern(31));
}

// Korean and an emoji: characters that Shift-JIS cannot hold.
class FolderOutsideCodePage932 : public Win32Files, public ::testing::WithParamInterface<const char16_t*> {
 protected:
  MapPath subfolder = folder.File(GetParam());
  MapPath inside = subfolder + u"\\MAPDATA.VLT";
};

TEST_P(FolderOutsideCodePage932, SavesAndReads) {
  ASSERT_TRUE(CreateDirectoryW(WideFromPath(subfolder).c_str(), nullptr));
  EXPECT_EQ(ReadFails(inside), CannotOpen(inside)) << "the message keeps every character";
  WriteMapImage(files, inside, ImageOf(Pattern(10)));
  EXPECT_EQ(ReadBack(inside), Pattern(10));
  EXPECT_EQ(FolderContent(std::filesystem::path(subfolder)), OnlyTheMap);
}

TEST_P(FolderOutsideCodePage932, IsAMapFileName) {
  EXPECT_TRUE(IsGameMapFileName(inside));
  EXPECT_FALSE(IsGameMapFileName(subfolder + u"MAPDATA.VLT"));
  EXPECT_FALSE(IsGameMapFileName(subfolder + u"\\mapdata.vlt"));
}

INSTANTIATE_TEST_SUITE_P(Names, FolderOutsideCodePage932,
                         ::testing::Values(u"\uC9C0\uB3C4", u"\U0001F5FA", u"\u5730\u56FE\uD55C"));

}  // namespace
