// Writes the program's pictures and the sample map into the source tree:
//   valtea_generate <source folder> [--preview <folder>]
// With --preview it also writes enlarged PNG views of everything it made, for
// judging the pictures by eye.

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "Pictures.h"
#include "PreviewSheets.h"
#include "SampleMap.h"
#include "WindowsImages.h"
#include "map/RoadNetwork.h"
#include "picture/MapPicture.h"

namespace {

bool WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) std::cerr << "Cannot write " << path << "\n";
  return static_cast<bool>(file);
}

// What the files keep of a picture: each pixel either opaque or transparent.
Image AsMasked(Image image) {
  for (Rgba& pixel : image.pixels) pixel.a = pixel.a >= HalfCovered ? 255 : 0;
  return image;
}

// The picture enlarged on a checkerboard, and beside it at its real size on
// the grey of a button face.
Image PreviewSheet(const Image& picture, int factor) {
  Image masked = AsMasked(picture);
  Image large = OnCheckerboard(Enlarge(masked, factor), factor);
  Image sheet(large.width + picture.width * 4, large.height, Opaque(0xF0, 0xF0, 0xF0));
  for (int y = 0; y < large.height; ++y)
    for (int x = 0; x < large.width; ++x) sheet.At(x, y) = large.At(x, y);
  // Real size, then twice the size, as a high-resolution screen shows it.
  for (int scale = 1; scale <= 2; ++scale) {
    int top = scale == 1 ? picture.height / 2 : picture.height * 2;
    for (int y = 0; y < picture.height * scale; ++y) {
      for (int x = 0; x < picture.width * scale; ++x) {
        const Rgba& p = masked.At(x / scale, y / scale);
        if (p.a != 0) sheet.At(large.width + picture.width + x, top + y) = p;
      }
    }
  }
  return sheet;
}

Image Crop(const Image& image, int left, int width) {
  Image part(width, image.height);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < width; ++x) part.At(x, y) = image.At(left + x, y);
  return part;
}

// The whole map, and its west, middle and east at full size, with a ring
// around every problem of its road network.
bool WriteMapPreviews(const std::string& folder) {
  const std::vector<TerrainCode> codes = GenerateSampleMap();
  MapImage image{};
  std::copy(codes.begin(), codes.end(), image.begin());
  std::vector<int> problems;
  for (const RoadProblem& problem : FindRoadProblems(image)) problems.push_back(problem.offset);
  Image map = DrawMapPicture(image, 2 * DefaultMapPictureScale, problems);
  int third = map.width / 3;
  return WriteFile(folder + "/MAPDATA.VLT.png", EncodePng(map)) &&
         WriteFile(folder + "/MAPDATA.VLT-west.png", EncodePng(Crop(map, 0, third))) &&
         WriteFile(folder + "/MAPDATA.VLT-middle.png", EncodePng(Crop(map, third, third))) &&
         WriteFile(folder + "/MAPDATA.VLT-east.png", EncodePng(Crop(map, 2 * third, map.width - 2 * third)));
}

bool WritePreviews(const std::string& folder) {
  return WriteFile(folder + "/Valtea.ico.png", EncodePng(PreviewSheet(DrawProgramIcon(), 16))) &&
         WriteFile(folder + "/Open.bmp.png", EncodePng(PreviewSheet(DrawOpenPicture(), 24))) &&
         WriteFile(folder + "/Save.bmp.png", EncodePng(PreviewSheet(DrawSavePicture(), 24))) &&
         WriteFile(folder + "/Select.bmp.png", EncodePng(PreviewSheet(DrawSelectPicture(), 24))) &&
         WriteFile(folder + "/Brush.bmp.png", EncodePng(PreviewSheet(DrawBrushPicture(), 24))) &&
         WriteFile(folder + "/Eraser.bmp.png", EncodePng(PreviewSheet(DrawEraserPicture(), 24))) &&
         WriteMapPreviews(folder);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--preview")) {
    std::cerr << "usage: valtea_generate <source folder> [--preview <folder>]\n";
    return 2;
  }
  std::string source = argv[1];
  bool written = WriteFile(source + "/src/resources/Valtea.ico", ProgramIconFile()) &&
                 WriteFile(source + "/src/resources/Open.bmp", OpenBitmapFile()) &&
                 WriteFile(source + "/src/resources/Save.bmp", SaveBitmapFile()) &&
                 WriteFile(source + "/src/resources/Select.bmp", SelectBitmapFile()) &&
                 WriteFile(source + "/src/resources/Brush.bmp", BrushBitmapFile()) &&
                 WriteFile(source + "/src/resources/Eraser.bmp", EraserBitmapFile()) &&
                 WriteFile(source + "/samples/MAPDATA.VLT", SampleMapFile());
  if (written && argc == 4) written = WritePreviews(argv[3]);
  return written ? 0 : 1;
}
