#pragma once
// Every pixel size of the program's windows, at 96 dots per inch. Code takes
// them through Scale() (ui/Dpi.h) on their way to the screen.

namespace Layout {

struct Box {
  int left;
  int top;
  int width;
  int height;
};

// The main window.
constexpr int MainLeft = 50;
constexpr int MainTop = 50;
constexpr int MainClientWidth = 864;
constexpr int MainClientHeight = 534;
constexpr int FontHeight = 12;  // "ＭＳ Ｐゴシック" and "ＭＳ ゴシック"

constexpr Box StringGrid1{8, 40, 721, 480};
constexpr Box ToolBar1{0, 0, 864, 29};
constexpr Box OpenToolButton1{5, 2, 23, 22};
constexpr Box SaveToolButton2{28, 2, 23, 22};
constexpr int ToolImageSize = 16;
constexpr Box RoadComboBox1{736, 88, 121, 20};
constexpr int RoadComboBoxVisibleEntries = 18;
constexpr Box Edit1{736, 416, 121, 20};
constexpr Box Edit2{736, 448, 121, 20};
constexpr Box Edit3{736, 480, 121, 20};
constexpr Box Label1{16, 520, 22, 12};  // sized to its text; this is "1 : 1"

// The tool windows beside the main window: the least room beside it that
// one takes rather than covering the main window.
constexpr int ToolWindowLeastWidth = 320;
constexpr int ToolWindowLeastHeight = 240;

// The problem window, owned by the main window: a line saying how many
// problems there are above the list of them, which takes the rest of the
// window as it is resized.
constexpr int ListWindowClientWidth = 520;
constexpr int ListWindowClientHeight = 260;
constexpr Box ListWindowSummary{8, 8, 504, 12};
constexpr Box ListWindowList{8, 28, 504, 224};  // right and bottom margins stay 8 as the window grows

// The map picture window, in the picture's own pixels: how far the arrow
// keys, a scroll bar arrow and a tick of a stroke outside it move it. The
// outline of the current cell, in screen pixels: the selection colour inside
// a rim of a contrasting one.
constexpr int PictureLineScroll = 16;
// Its band of tools above the picture, with the eraser's land beside them,
// and its status line below.
constexpr int PictureBandHeight = 29;
constexpr Box PictureTools{0, 0, 79, 29};
constexpr Box PictureFirstTool{5, 2, 23, 22};
constexpr Box PictureLandList{84, 4, 80, 20};
constexpr int PictureLandListVisibleEntries = 4;
constexpr int PictureStatusHeight = 20;
constexpr int PictureOutlineWidth = 2;
constexpr int PictureOutlineRimWidth = 1;

// The map grid.
constexpr int GridCellSize = 16;
constexpr int GridLineWidth = 1;
constexpr int GridCellPitch = GridCellSize + GridLineWidth;  // cells repeat every 17 pixels
constexpr int GridTextIndent = 2;

// The About box.
constexpr int AboutClientWidth = 428;
constexpr int AboutClientHeight = 95;
constexpr int AboutOffsetFromMainLeft = 200;
constexpr int AboutOffsetFromMainTop = 150;
constexpr Box AboutImage1{24, 8, 32, 32};
constexpr Box AboutLabel1{88, 16, 237, 16};
constexpr int AboutTitleFontHeight = 16;
constexpr Box AboutVerLabel{336, 32, 43, 12};
constexpr Box AboutCopyLabel{96, 48, 53, 12};
constexpr Box AboutOkButton1{336, 56, 75, 25};

// The preview of a patch: what it is, its lines, the sides of its conflicts,
// 適用 and キャンセル; the comparison of two maps alike. Several patches add
// their list with 上へ and 下へ above, and the rest moves down by its band.
constexpr int PatchPreviewClientWidth = 640;
constexpr int PatchPreviewClientHeight = 341;
constexpr Box PatchPreviewSummary{12, 12, 616, 12};
constexpr Box PatchPreviewList{12, 32, 616, 260};
constexpr Box PatchPreviewAllOurs{12, 304, 200, 25};
constexpr Box PatchPreviewAllTheirs{218, 304, 200, 25};
constexpr Box PatchPreviewApply{472, 304, 75, 25};
constexpr Box PatchPreviewCancel{553, 304, 75, 25};
constexpr int PatchPreviewPatchesBand = 76;
constexpr Box PatchPreviewPatches{12, 12, 532, 64};
constexpr Box PatchPreviewUp{553, 12, 75, 25};
constexpr Box PatchPreviewDown{553, 43, 75, 25};
constexpr Box Lowered(Box box, int by) { return {box.left, box.top + by, box.width, box.height}; }

// A dialog that asks for one line of text (Go to): what it takes, the
// field, why a text was refused, then OK and キャンセル.
constexpr int PromptClientWidth = 560;
constexpr int PromptClientHeight = 118;
constexpr Box PromptRule{12, 12, 536, 12};
constexpr Box PromptField{12, 32, 536, 20};
constexpr Box PromptRefusal{12, 60, 536, 12};
constexpr Box PromptOkButton{392, 82, 75, 25};
constexpr Box PromptCancelButton{473, 82, 75, 25};

}  // namespace Layout
