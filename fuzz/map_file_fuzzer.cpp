// Any bytes as MAPDATA.VLT: read them into a map with every cell text, write
// the map back and read it again. Nothing may read outside the tables or the
// image, and the round trip must be exact.

#include <algorithm>
#include <string>

#include "FuzzCheck.h"
#include "map/HexGrid.h"
#include "map/MapFile.h"
#include "support/MemoryFileSystem.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const MapPath path = u"C:\\Valtea\\MAPDATA.VLT";
  MemoryFileSystem files;
  files.files[path].assign(data, data + size);

  MapImage image;
  image.fill(Untouched);
  int expectedOffset = 0;
  ReadMapImage(files, path, image, [&](int offset, TerrainCode code) {
    Check(offset == expectedOffset++);
    const GridCell cell = OffsetToCell(offset);
    Check(CellToOffset(cell.column, cell.row) == offset);
    const std::string text = ReadCellText(offset, code);
    Check(text.compare(0, GlyphOf(code).size(), GlyphOf(code)) == 0);
    Check(text.size() - GlyphOf(code).size() - 3 < 20);
  });

  for (std::size_t k = 0; k < image.size(); ++k)
    Check(image[k] == (k < size ? data[k] : Untouched));

  WriteMapImage(files, path, image);
  const auto& written = files.files[path];
  Check(written.size() == image.size());
  Check(std::equal(written.begin(), written.end(), image.begin()));

  MapImage again;
  again.fill(0);
  ReadMapImage(files, path, again);
  Check(again == image);

  // The same bytes as a Shift-JIS path must not trip the name test either.
  IsGameMapFileName(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
