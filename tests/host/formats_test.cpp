// The one list of file formats: what each one is called and holds, how a
// file's name finds its format, and that what a map format writes it reads
// back.

#include <gtest/gtest.h>

#include <string>

#include "formats/FileFormats.h"

namespace {

TEST(FileFormats, EachNameFindsItsFormatByItsEnding) {
  const struct {
    const char16_t* name;
    FormatContent content;
    bool gameMapToo;
    const char* format;  // empty: none
  } cases[] = {
      {u"C:\\Games\\MAPDATA.VLT", FormatContent::Map, true, "地図ファイル"},
      {u"MAPDATA.VLT", FormatContent::Map, false, ""},
      {u"map.CSV", FormatContent::Map, false, "テキスト形式"},
      {u"map.tmj", FormatContent::Map, false, "Tiled の地図"},
      {u"map.Json", FormatContent::Map, false, "Tiled の地図"},
      {u"mod.txt", FormatContent::Patch, false, "テキストのパッチ"},
      {u"mod.bps", FormatContent::Patch, false, "BPS パッチ"},
      {u"mod.IPS", FormatContent::Patch, false, "IPS パッチ"},
      {u"map.png", FormatContent::Picture, false, "PNG の絵"},
      {u"map.png", FormatContent::Map, false, ""},
      {u"mod.txt", FormatContent::Map, false, ""},
      {u"map", FormatContent::Map, false, ""},
      {u"dir.tmj\\map", FormatContent::Map, false, ""},
  };
  for (const auto& example : cases) {
    const FileFormat* format = FormatOfName(example.name, example.content, example.gameMapToo);
    EXPECT_EQ(format != nullptr ? std::string(format->name) : std::string(), example.format)
        << PathText{"%s", example.name}.Approximate();
  }
  EXPECT_EQ(EndingsText({FormatContent::Map}), ".csv、.tmj か .json");
  EXPECT_EQ(EndingsText({FormatContent::Patch}), ".txt、.bps か .ips");
  EXPECT_EQ(EndingsText({FormatContent::Picture}), ".png");
}

TEST(FileFormats, WhatAMapFormatWritesItReadsBack) {
  MapImage image{};
  for (int offset = 0; offset < MapSize; ++offset) image[offset] = static_cast<TerrainCode>(offset % 35);
  // Names in the file need not read right here: ASCII stands in for the rest.
  const ToUtf8 ascii = [](std::string_view text) {
    std::string plain;
    for (char c : text) plain += static_cast<unsigned char>(c) < 0x80 ? c : '?';
    return plain;
  };
  for (const char16_t* name : {u"out/map.csv", u"out/map.tmj", u"out/MAPDATA.VLT"}) {
    const FileFormat& format = *FormatOfName(name, FormatContent::Map, true);
    const std::vector<FormatFile> files = format.writeMap(image, name, ascii);
    ASSERT_FALSE(files.empty());
    std::vector<MapPath> paths;
    for (const FormatFile& file : files) paths.push_back(file.path);
    EXPECT_EQ(paths, format.filesFor(name)) << "the files it said it would write";
    EXPECT_EQ(files.back().path, name);
    EXPECT_EQ(format.readMap(name, files.back().bytes), image) << std::string(format.name);
  }
}

TEST(FileFormats, AFileThatCannotBeReadIsNamedWithThePlaceOfItsFault) {
  const FileFormat& text = *FormatOfName(u"map.csv", FormatContent::Map);
  try {
    text.readMap(u"map.csv", {'1', ',', 'x', '\n'});
    ADD_FAILURE() << "read";
  } catch (const FormatFault& fault) {
    EXPECT_EQ(fault.Text().path, u"map.csv");
    EXPECT_EQ(fault.Text().format.rfind("%s:1:", 0), 0u) << fault.Text().format;
  }
}

}  // namespace
