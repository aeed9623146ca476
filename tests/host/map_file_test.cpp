// The map file: which names it goes by, how it is read into the image and
// written back, and that a failed save never costs the user the old map.

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "map/MapFile.h"
#include "map/StdFileSystem.h"
#include "support/MemoryFileSystem.h"
#include "support/TempFolder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Every byte value occurs, also the ones beyond the terrain table.
Bytes Pattern(std::size_t size, int seed = 0) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>((i * 7 + seed) % 256);
  return bytes;
}

MapImage ImageOf(const Bytes& bytes) {
  MapImage image{};
  std::copy(bytes.begin(), bytes.begin() + MapSize, image.begin());
  return image;
}

Bytes BytesOf(const MapImage& image) { return Bytes(image.begin(), image.end()); }

PathText ErrorOf(void (*action)(FileSystem&, const MapPath&), FileSystem& files, const MapPath& path) {
  try {
    action(files, path);
  } catch (const MapFileError& error) {
    return error.Text();
  }
  ADD_FAILURE() << "no MapFileError";
  return {};
}

// ---------------------------------------------------------------- file names

// The same path twice: as Shift-JIS (the literal is compiled to code page
// 932) and as UTF-16.
struct NameCase {
  const char* shiftJis;
  const char16_t* utf16;
  bool isMapFile;
};
#define NAME_CASE(path, isMapFile) {path, u"" path, isMapFile}

const NameCase NameCases[] = {
    NAME_CASE("MAPDATA.VLT", true),
    NAME_CASE("C:\\Program Files\\Corvane\\Valtea\\MAPDATA.VLT", true),
    NAME_CASE("C:MAPDATA.VLT", true),
    NAME_CASE("\\\\server\\share\\MAPDATA.VLT", true),
    NAME_CASE("C:\\Games\\mapdata.vlt", false),
    NAME_CASE("C:\\Games\\MAPDATA.VLT.bak", false),
    NAME_CASE("C:\\Games\\MAPDATA.VLT ", false),
    NAME_CASE("C:\\Games\\ MAPDATA.VLT", false),
    NAME_CASE("C:\\Games\\MAPDATA.VL", false),
    NAME_CASE("C:\\MAPDATA.VLT\\", false),
    NAME_CASE("C:\\MAPDATA.VLT\\other", false),
    NAME_CASE("", false),
    // The second byte of 表 and ソ is 5C, the code of '\'. Inside the
    // character it separates nothing.
    NAME_CASE("C:\\表MAPDATA.VLT", false),
    NAME_CASE("C:\\データソMAPDATA.VLT", false),
    NAME_CASE("表MAPDATA.VLT", false),
    NAME_CASE("C:\\濬MAPDATA.VLT", false),  // lead byte E0
    NAME_CASE("C:\\表\\MAPDATA.VLT", true),
    NAME_CASE("C:\\ソ\\MAPDATA.VLT", true),
    NAME_CASE("C:\\ゲーム\\表\\MAPDATA.VLT", true),
    // Half-width katakana are single bytes: the 5C after them separates.
    NAME_CASE("C:ｿ\\MAPDATA.VLT", true),
    NAME_CASE("C:\\ｿMAPDATA.VLT", false),
};

TEST(MapFileName, ShiftJisPathsAreSplitAtRealSeparatorsOnly) {
  // The cases rely on these bytes.
  ASSERT_EQ(std::string("表"), "\x95\x5C");
  ASSERT_EQ(std::string("ソ"), "\x83\x5C");
  ASSERT_EQ(std::string("濬"), "\xE0\x5C");
  ASSERT_EQ(std::string("ｿ"), "\xBF");
  for (const NameCase& name : NameCases)
    EXPECT_EQ(IsGameMapFileName(std::string_view(name.shiftJis)), name.isMapFile) << name.shiftJis;
}

TEST(MapFileName, Utf16PathsGetTheSameAnswers) {
  for (const NameCase& name : NameCases)
    EXPECT_EQ(IsGameMapFileName(std::u16string_view(name.utf16)), name.isMapFile) << name.shiftJis;
}

TEST(MapFileName, Utf16PathsOutsideCodePage932) {
  EXPECT_TRUE(IsGameMapFileName(u"C:\\\uC9C0\uB3C4\\MAPDATA.VLT"));
  EXPECT_TRUE(IsGameMapFileName(u"C:\\\U0001F5FA\\MAPDATA.VLT"));  // a surrogate pair
  EXPECT_FALSE(IsGameMapFileName(u"C:\\\U0001F5FAMAPDATA.VLT"));
  // U+5C71: a code unit that holds the byte 5C.
  EXPECT_FALSE(IsGameMapFileName(u"C:\\\u5C71MAPDATA.VLT"));
  EXPECT_FALSE(IsGameMapFileName(u"C:\\MAPDATA.VLT\u3000"));
  EXPECT_FALSE(IsGameMapFileName(u"C:\\\uFF2DAPDATA.VLT"));  // fullwidth M
}

// ------------------------------------------------- reading real files

class MapFileOnDisk : public ::testing::Test {
 protected:
  TempFolder folder;
  StdFileSystem files;
  MapPath path = folder.File(u"MAPDATA.VLT");

  std::vector<std::filesystem::path> FolderContent() const {
    std::vector<std::filesystem::path> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
      names.push_back(entry.path().filename());
    return names;
  }
};

// A file of `size` bytes read over an image that already holds other bytes:
// the offsets the file reaches change, in increasing order, the rest stay.
class ReadBySize : public MapFileOnDisk, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(ReadBySize, StoresWhatTheFileReachesAndKeepsTheRest) {
  const std::size_t size = GetParam();
  const Bytes content = Pattern(size, 1);
  WriteBytes(path, content);
  const MapImage before = ImageOf(Pattern(MapSize, 100));
  MapImage image = before;

  int nextOffset = 0;
  ReadMapImage(files, path, image, [&](int offset, TerrainCode code) {
    ASSERT_EQ(offset, nextOffset++);
    EXPECT_EQ(code, content[offset]);
    EXPECT_EQ(image[offset], code) << "stored before it is reported";
  });

  const std::size_t reached = std::min<std::size_t>(size, MapSize);
  EXPECT_EQ(nextOffset, static_cast<int>(reached));
  for (std::size_t offset = 0; offset < MapSize; ++offset) {
    const std::uint8_t expected = offset < reached ? content[offset] : before[offset];
    ASSERT_EQ(image[offset], expected) << "offset " << offset;
  }
}

TEST_P(ReadBySize, SavingAfterwardsWritesTheWholeImage) {
  WriteBytes(path, Pattern(GetParam(), 1));
  MapImage image = ImageOf(Pattern(MapSize, 100));
  ReadMapImage(files, path, image);
  WriteMapImage(files, path, image);
  EXPECT_EQ(ReadBytes(path), BytesOf(image));
}

INSTANTIATE_TEST_SUITE_P(Sizes, ReadBySize,
                         ::testing::Values(0, 1, 100, MapSize - 1, MapSize, MapSize + 1, 2 * MapSize));

TEST_F(MapFileOnDisk, FullMapRoundTripIsByteIdentical) {
  const Bytes original = Pattern(MapSize, 3);
  WriteBytes(path, original);
  MapImage image{};
  ReadMapImage(files, path, image);
  WriteMapImage(files, path, image);
  EXPECT_EQ(ReadBytes(path), original);
  EXPECT_EQ(FolderContent(), std::vector<std::filesystem::path>{"MAPDATA.VLT"}) << "no file left beside it";
}

TEST_F(MapFileOnDisk, SavingCreatesAMissingFile) {
  const MapImage image = ImageOf(Pattern(MapSize, 5));
  WriteMapImage(files, path, image);
  EXPECT_EQ(ReadBytes(path), BytesOf(image));
  EXPECT_EQ(FolderContent().size(), 1u);
}

TEST_F(MapFileOnDisk, MissingFileCannotBeOpenedAndLeavesTheImage) {
  const MapImage before = ImageOf(Pattern(MapSize, 9));
  MapImage image = before;
  int stored = 0;
  try {
    ReadMapImage(files, path, image, [&](int, TerrainCode) { ++stored; });
    FAIL() << "no error";
  } catch (const MapFileError& error) {
    EXPECT_EQ(error.Text(), (PathText{"ファイル %s は開けません", path}));
  }
  EXPECT_EQ(image, before);
  EXPECT_EQ(stored, 0);
}

TEST_F(MapFileOnDisk, AFolderIsNoMapFile) {
  std::filesystem::create_directory(std::filesystem::path(path));
  MapImage image{};
  EXPECT_THROW(ReadMapImage(files, path, image), MapFileError);
}

TEST_F(MapFileOnDisk, MessagesNameThePathExactlyAsPassed) {
  // Not normalised: the user sees what was chosen.
  const MapPath unusual = folder.File(u"sub") + u"/../missing/./MAPDATA.VLT";
  MapImage image{};
  try {
    ReadMapImage(files, unusual, image);
    FAIL() << "no error";
  } catch (const MapFileError& error) {
    EXPECT_EQ(error.Text().path, unusual);
  }
  try {
    WriteMapImage(files, unusual, image);
    FAIL() << "no error";
  } catch (const MapFileError& error) {
    EXPECT_EQ(error.Text(), (PathText{"ファイル %s を作成できません", unusual}));
  }
}

TEST_F(MapFileOnDisk, SavingIntoAMissingFolderCannotCreate) {
  const MapPath lost = folder.File(u"missing") + u"/MAPDATA.VLT";
  EXPECT_EQ(ErrorOf([](FileSystem& f, const MapPath& p) { WriteMapImage(f, p, MapImage{}); }, files, lost),
            (PathText{"ファイル %s を作成できません", lost}));
  EXPECT_TRUE(FolderContent().empty());
}

// ---------------------------------------------------- injected read faults

TEST(MapFileRead, ShortReadIsAReadErrorAndLeavesTheImage) {
  MemoryFileSystem files;
  files.files[u"MAPDATA.VLT"] = Pattern(MapSize, 1);
  files.failShortRead = true;
  const MapImage before = ImageOf(Pattern(MapSize, 2));
  MapImage image = before;
  int stored = 0;
  try {
    ReadMapImage(files, u"MAPDATA.VLT", image, [&](int, TerrainCode) { ++stored; });
    FAIL() << "no error";
  } catch (const MapFileError& error) {
    EXPECT_EQ(error.Text(), (PathText{"ストリームからの読み込みエラー", {}}));
  }
  EXPECT_EQ(image, before);
  EXPECT_EQ(stored, 0);
}

TEST(MapFileRead, LockedFileCannotBeOpened) {
  MemoryFileSystem files;
  files.files[u"D:\\表\\MAPDATA.VLT"] = Pattern(MapSize);
  files.locked.insert(u"D:\\表\\MAPDATA.VLT");
  EXPECT_EQ(ErrorOf([](FileSystem& f, const MapPath& p) {
              MapImage scratch{};
              ReadMapImage(f, p, scratch);
            }, files, u"D:\\表\\MAPDATA.VLT"),
            (PathText{"ファイル %s は開けません", u"D:\\表\\MAPDATA.VLT"}));
}

TEST(MapFileMessages, AreTheirShiftJisBytes) {
  EXPECT_EQ(CannotOpenMessage,
            "\x83\x74\x83\x40\x83\x43\x83\x8B %s \x82\xCD\x8A\x4A\x82\xAF\x82\xDC\x82\xB9\x82\xF1");
  EXPECT_EQ(ReadErrorMessage,
            "\x83\x58\x83\x67\x83\x8A\x81\x5B\x83\x80\x82\xA9\x82\xE7\x82\xCC\x93\xC7\x82\xDD\x8D\x9E"
            "\x82\xDD\x83\x47\x83\x89\x81\x5B");
  EXPECT_EQ(CannotCreateMessage,
            "\x83\x74\x83\x40\x83\x43\x83\x8B %s \x82\xF0\x8D\xEC\x90\xAC\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1");
  EXPECT_EQ(WriteErrorMessage,
            "\x83\x58\x83\x67\x83\x8A\x81\x5B\x83\x80\x82\xD6\x82\xCC\x8F\x91\x82\xAB\x8D\x9E\x82\xDD\x83\x47"
            "\x83\x89\x81\x5B");
}

// --------------------------------------------------- injected save faults

const MapPath Target = u"C:\\ゲーム\\MAPDATA.VLT";

enum class Fault { Create, NothingWritten, ShortWrite, AllButOneByte, Flush, Close, Replace, Locked };

struct SaveFault {
  const char* name;
  Fault fault;
  bool pathInMessage;  // "cannot create" names the file, "write error" does not
};

void PrintTo(const SaveFault& fault, std::ostream* out) { *out << fault.name; }

void Inject(MemoryFileSystem& files, Fault fault) {
  switch (fault) {
    case Fault::Create: files.failCreate = true; break;
    case Fault::NothingWritten: files.writeLimit = 0; break;
    case Fault::ShortWrite: files.writeLimit = 100; break;
    case Fault::AllButOneByte: files.writeLimit = MapSize - 1; break;
    case Fault::Flush: files.failFlush = true; break;
    case Fault::Close: files.failClose = true; break;
    case Fault::Replace: files.failReplace = true; break;
    case Fault::Locked: files.locked.insert(Target); break;
  }
}

PathText ExpectedError(const SaveFault& fault) {
  if (fault.pathInMessage) return {"ファイル %s を作成できません", Target};
  return {"ストリームへの書き込みエラー", {}};
}

class SaveWithFault : public ::testing::TestWithParam<SaveFault> {
 protected:
  MemoryFileSystem files;
  const MapImage image = ImageOf(Pattern(MapSize, 42));

  PathText SaveFails() {
    Inject(files, GetParam().fault);
    try {
      WriteMapImage(files, Target, image);
    } catch (const MapFileError& error) {
      return error.Text();
    }
    ADD_FAILURE() << "saved despite the fault";
    return {};
  }
};

TEST_P(SaveWithFault, KeepsTheOldFileByteForByte) {
  const Bytes old = Pattern(MapSize + 10, 7);
  files.files[Target] = old;
  EXPECT_EQ(SaveFails(), ExpectedError(GetParam()));
  ASSERT_EQ(files.files.size(), 1u) << "a new file was left behind";
  EXPECT_EQ(files.files.at(Target), old);
}

TEST_P(SaveWithFault, LeavesNoFileWhenThereWasNone) {
  EXPECT_EQ(SaveFails(), ExpectedError(GetParam()));
  EXPECT_TRUE(files.files.empty());
}

TEST_P(SaveWithFault, ReplacesOnlyAFullyWrittenFile) {
  files.files[Target] = Pattern(MapSize, 7);
  SaveFails();
  const Fault fault = GetParam().fault;
  EXPECT_EQ(files.replaces, fault == Fault::Replace ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, SaveWithFault,
    ::testing::Values(SaveFault{"Create", Fault::Create, true},
                      SaveFault{"NothingWritten", Fault::NothingWritten, false},
                      SaveFault{"ShortWrite", Fault::ShortWrite, false},
                      SaveFault{"AllButOneByte", Fault::AllButOneByte, false},
                      SaveFault{"Flush", Fault::Flush, false}, SaveFault{"Close", Fault::Close, false},
                      SaveFault{"Replace", Fault::Replace, true}, SaveFault{"Locked", Fault::Locked, true}),
    [](const ::testing::TestParamInfo<SaveFault>& info) { return std::string(info.param.name); });

TEST(MapFileSave, WhenTheOldFileIsGoneTheNewOneStaysAndTheErrorSaysWhere) {
  MemoryFileSystem files;
  files.files[Target] = Pattern(MapSize, 7);
  files.loseTargetOnReplace = true;
  const MapImage image = ImageOf(Pattern(MapSize, 3));
  try {
    WriteMapImage(files, Target, image);
    FAIL() << "saved despite the fault";
  } catch (const MapFileError& error) {
    const MapPath kept = Target + u".~new";
    EXPECT_EQ(error.Text(), (PathText{"ファイル %s を作成できません。マップは %s に保存されています", Target, kept}));
    EXPECT_EQ(error.Text().Approximate(), "ファイル C:\\???\\MAPDATA.VLT を作成できません。マップは "
                                          "C:\\???\\MAPDATA.VLT.~new に保存されています")
        << "both paths, in their order";
    ASSERT_EQ(files.files.count(kept), 1u) << "the only copy was removed";
    EXPECT_EQ(files.files.at(kept), BytesOf(image));
  }
}

TEST(MapFileMessages, ApproximateKeepsAsciiAndMarksEveryOtherPathCharacter) {
  EXPECT_EQ((PathText{"%s", u"\u5730"}).Approximate(), "?");
  EXPECT_EQ((PathText{"no mark", u"x", u"y"}).Approximate(), "no mark");
}

// Saved, but the old file could not be removed from beside it: the error
// says both where the map is and where the old file stays.
TEST(MapFileSave, WhenTheOldFileStaysBesideTheErrorSaysSoAfterTheSave) {
  MemoryFileSystem files;
  files.files[Target] = Pattern(MapSize, 7);
  files.keepOldOnReplace = true;
  try {
    WriteMapImage(files, Target, ImageOf(Pattern(MapSize, 3)));
    FAIL() << "no word of the old file";
  } catch (const OldFileLeftError& error) {
    EXPECT_EQ(error.Text(), (PathText{"ファイル %s に保存しましたが、古いファイル %s を消せませんでした", Target,
                                      Target + u".~old"}));
  }
  EXPECT_EQ(files.files.at(Target), Pattern(MapSize, 3));
}

// A huge map file costs what a map costs: no more than the map's bytes are
// read. Files meant to be small are refused beyond their limit, unread.
TEST(MapFileRead, ReadsNoFurtherThanItNeeds) {
  MemoryFileSystem files;
  files.files[Target] = Pattern(3 * MapSize, 1);
  const MapContent content = ReadMapContent(files, Target);
  EXPECT_EQ(content.bytes, Pattern(MapSize, 1));
  EXPECT_EQ(content.fileSize, 3u * MapSize);

  for (const std::size_t size : {99u, 100u, 101u}) {
    files.files[Target] = Pattern(size, 2);
    if (size <= 100) {
      EXPECT_EQ(ReadSmallFile(files, Target, 100), Pattern(size, 2));
    } else {
      EXPECT_EQ(ErrorOf([](FileSystem& f, const MapPath& p) { ReadSmallFile(f, p, 100); }, files, Target),
                (PathText{"ファイル %s は大きすぎます", Target}));
    }
  }
}

TEST(MapFileSave, PutsExactlyTheImageInPlace) {
  MemoryFileSystem files;
  files.files[Target] = Pattern(MapSize + 500, 1);  // a longer file loses its tail
  const MapImage image = ImageOf(Pattern(MapSize, 2));
  WriteMapImage(files, Target, image);
  ASSERT_EQ(files.files.size(), 1u);
  EXPECT_EQ(files.files.at(Target), BytesOf(image));
}

}  // namespace
