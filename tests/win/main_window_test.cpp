// The main window under Wine: real controls, real messages, the open dialog
// and the error box scripted.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <oleacc.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <optional>

#include "Main1.h"
#include "map/HexGrid.h"
#include "map/MapText.h"
#include "map/RoadStroke.h"
#include "operations/MapOperations.h"
#include "patch/Bps.h"
#include "picture/MapPicture.h"
#include "platform/Text.h"
#include "support/TempFolder.h"
#include "support/WindowTesting.h"

namespace {

constexpr int RoadCode = 20;  // "街道　Λ", chooser entry 2

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { StartForm(folder.Path().wstring() + L"\\no such game folder\\"); }

  void StartForm(const std::wstring& gameFolder) {
    form = MakeWindow<TMainForm1>(gameFolder);
    form->CreateWindowAndControls();
    form->Show(SW_SHOWNORMAL);
    Pump();
  }

  void Pump() {
    PumpMessages([this](MSG& message) { return form->PreTranslateMessage(message); });
  }

  HWND Main() const { return form->Window(); }
  HWND Control(MainControl id) const { return form->Control(id); }
  HWND ToolBar() const { return Control(IdToolBar1); }

  void Command(WORD id) {
    SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    Pump();
  }

  void Shortcut(WPARAM key, bool control = true) {
    HWND target = GetFocus() != nullptr ? GetFocus() : Main();
    if (control) {
      HeldKeys held({VK_CONTROL});
      PostKey(target, key);
      Pump();
    } else {
      PostKey(target, key);
      Pump();
    }
  }

  void ClickToolButton(WORD id) {
    RECT button{};
    const auto index = SendMessageW(ToolBar(), TB_COMMANDTOINDEX, id, 0);
    SendMessageW(ToolBar(), TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
    const LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    SendMessageW(ToolBar(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(ToolBar(), WM_LBUTTONUP, 0, at);
    Pump();
  }

  // Presses and releases the left button over a cell in view (view at 1, 1).
  void ClickCell(int column, int row) {
    HWND grid = Control(IdStringGrid1);
    const LPARAM at = MAKELPARAM(column * Layout::GridCellPitch + 8, row * Layout::GridCellPitch + 8);
    SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(grid, WM_LBUTTONUP, 0, at);
    Pump();
  }

  MapPath WriteMap(const std::vector<std::uint8_t>& bytes) {
    const MapPath path = folder.File(u"MAPDATA.VLT");
    WriteBytes(path, bytes);
    return path;
  }

  void OpenThroughDialog(const MapPath& path) {
    dialogs.answer = WideFromPath(path);
    Command(IdOpen1);
  }

  bool MenuItemEnabled(WORD id) const {
    return !(GetMenuState(form->Menu(), id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
  }

  // The user picks an entry of the road chooser's list.
  void ChooseRoadEntry(int index) {
    SendMessageW(Control(IdRoadComboBox1), CB_SETCURSEL, index, 0);
    SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IdRoadComboBox1, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Control(IdRoadComboBox1)));
    Pump();
  }

  // Files dropped on the window, as Explorer drops them.
  void Drop(const std::vector<MapPath>& files) {
    std::vector<std::wstring> paths;
    for (const MapPath& file : files) paths.push_back(WideFromPath(file));
    SendMessageW(Main(), WM_DROPFILES, reinterpret_cast<WPARAM>(DroppedFiles(paths)), 0);
    Pump();
  }
  bool ToolButtonEnabled(WORD id) const { return SendMessageW(ToolBar(), TB_ISBUTTONENABLED, id, 0) != 0; }
  int ChooserSelection() const { return static_cast<int>(SendMessageW(Control(IdRoadComboBox1), CB_GETCURSEL, 0, 0)); }

  TempFolder folder;
  ScriptedDialogs dialogs;
  WindowPtr<TMainForm1> form;
};

std::vector<std::uint8_t> SampleMap() {
  std::vector<std::uint8_t> bytes(MapSize);
  for (int offset = 0; offset < MapSize; ++offset) bytes[offset] = static_cast<std::uint8_t>(offset % 35);
  return bytes;
}

TEST_F(MainWindowTest, StartsWithTitleEmptyFieldsAndOnlyOpenExitAboutAvailable) {
  EXPECT_EQ(TextOf(Main()), L"ヴァルテア 街道エディタ");
  EXPECT_EQ(TextOf(form->TaskbarWindow()), L"ヴァルテア 街道エディタ");
  EXPECT_EQ(TextOf(Control(IdLabel1)), L"1 : 1");
  EXPECT_EQ(TextOf(Control(IdEdit1)), L"");
  EXPECT_EQ(TextOf(Control(IdEdit2)), L"");
  EXPECT_EQ(TextOf(Control(IdEdit3)), L"");

  EXPECT_FALSE(IsWindowEnabled(Control(IdStringGrid1)));
  EXPECT_FALSE(IsWindowEnabled(Control(IdRoadComboBox1)));
  EXPECT_EQ(ChooserSelection(), CB_ERR);
  EXPECT_FALSE(MenuItemEnabled(IdSave1));
  EXPECT_FALSE(ToolButtonEnabled(IdSaveToolButton2));
  EXPECT_FALSE(MenuItemEnabled(IdContents1));
  EXPECT_TRUE(MenuItemEnabled(IdOpen1));
  EXPECT_TRUE(MenuItemEnabled(IdExit1));
  EXPECT_TRUE(MenuItemEnabled(IdAbout1));
  EXPECT_TRUE(ToolButtonEnabled(IdOpenToolButton1));
}

TEST_F(MainWindowTest, RoadChooserListsTheSeventeenRoadChoices) {
  // Written out as the user reads them: road shapes and bridges, then the open terrain.
  const std::vector<std::wstring> expected = {
      L"\u8857\u9053\u3000\uFF0F",  // 街道　／
      L"\u8857\u9053\u3000\uFF3C",  // 街道　＼
      L"\u8857\u9053\u3000\u039B",  // 街道　Λ
      L"\u8857\u9053\u3000\u2228",  // 街道　∨
      L"\u8857\u9053\u3000\uFF1C",  // 街道　＜
      L"\u8857\u9053\u3000\uFF1E",  // 街道　＞
      L"\u8857\u9053\u3000\u5165",  // 街道　入
      L"\u8857\u9053\u3000\u0423",  // 街道　У
      L"\u8857\u9053\u3000\u03A5",  // 街道　Υ
      L"\u8857\u9053\u3000\u4EBA",  // 街道　人
      L"\u8857\u9053\u3000\u03A7",  // 街道　Χ
      L"\u6A4B\u3000\u3000\\\\",  // 橋　　 and two backslashes
      L"\u6A4B\u3000\u3000//",       // 橋　　//
      L"\u4E18\u9675",                // 丘陵
      L"\u5E73\u5730",                // 平地
      L"\u6E7F\u5730",                // 湿地
      L"\u7802\u6D5C",                // 砂浜
  };
  HWND chooser = Control(IdRoadComboBox1);
  std::vector<std::wstring> entries;
  const auto count = SendMessageW(chooser, CB_GETCOUNT, 0, 0);
  for (int index = 0; index < count; ++index) {
    wchar_t entry[64] = {};
    SendMessageW(chooser, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(entry));
    entries.push_back(entry);
  }
  EXPECT_EQ(entries, expected);
}

TEST_F(MainWindowTest, RoadChooserListShowsEveryEntryWithoutScrolling) {
  auto bytes = SampleMap();
  bytes[0] = RoadCode;
  OpenThroughDialog(WriteMap(bytes));
  HWND chooser = Control(IdRoadComboBox1);
  EXPECT_EQ(GetWindowLongW(chooser, GWL_STYLE) & 0x3, CBS_DROPDOWNLIST);  // no typing into it

  SendMessageW(chooser, CB_SHOWDROPDOWN, TRUE, 0);
  Pump();
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetComboBoxInfo(chooser, &info));
  RECT list{};
  GetClientRect(info.hwndList, &list);
  const auto itemHeight = SendMessageW(info.hwndList, LB_GETITEMHEIGHT, 0, 0);
  EXPECT_GE(list.bottom / itemHeight, RoadChoiceCount);
  EXPECT_EQ(SendMessageW(info.hwndList, LB_GETTOPINDEX, 0, 0), 0);
  SendMessageW(chooser, CB_SHOWDROPDOWN, FALSE, 0);
  Pump();
}

TEST_F(MainWindowTest, MenuCaptionsCarryAccessKeysAndShortcutTexts) {
  auto caption = [this](WORD id) {
    wchar_t text[64] = {};
    GetMenuStringW(form->Menu(), id, text, 64, MF_BYCOMMAND);
    return std::wstring(text);
  };
  EXPECT_EQ(caption(IdOpen1), L"開く(&O)...\tCtrl+O");
  EXPECT_EQ(caption(IdSave1), L"上書き保存(&S)\tCtrl+S");
  EXPECT_EQ(caption(IdExit1), L"終了(&X)");
  EXPECT_EQ(caption(IdContents1), L"目次(&C)...\tF1");
  EXPECT_EQ(caption(IdAbout1), L"バージョン情報(&A)...");
  wchar_t top[64] = {};
  GetMenuStringW(form->Menu(), 0, top, 64, MF_BYPOSITION);
  EXPECT_STREQ(top, L"ファイル(&F)");
  GetMenuStringW(form->Menu(), 4, top, 64, MF_BYPOSITION);
  EXPECT_STREQ(top, L"ヘルプ(&H)");
}

// The main window as its design draws it, in pixels at 96 dots per inch,
// and at 144 after WM_DPICHANGED: the numbers are the design's own, not
// the layout's constants, so a wrong constant shows.
struct DesignedBox {
  const char* name;
  MainControl id;
  RECT at96;   // left, top, width, height
  RECT at144;
};
const DesignedBox DesignedBoxes[] = {
    {"StringGrid1", IdStringGrid1, {8, 40, 721, 480}, {12, 60, 1082, 720}},
    {"ToolBar1", IdToolBar1, {0, 0, 864, 29}, {0, 0, 1296, 44}},
    {"RoadComboBox1", IdRoadComboBox1, {736, 88, 121, 20}, {1104, 132, 182, 30}},
    {"Edit1", IdEdit1, {736, 416, 121, 20}, {1104, 624, 182, 30}},
    {"Edit2", IdEdit2, {736, 448, 121, 20}, {1104, 672, 182, 30}},
    {"Edit3", IdEdit3, {736, 480, 121, 20}, {1104, 720, 182, 30}},
};
struct DesignedButton {
  RECT at96;
  RECT at144;
};
// At 144 the buttons stay side by side.
const DesignedButton DesignedButtons[] = {{{5, 2, 23, 22}, {8, 3, 35, 33}}, {{28, 2, 23, 22}, {43, 3, 35, 33}}};

void ExpectDesignedLayout(const TMainForm1& form, int dpi) {
  SCOPED_TRACE(testing::Message() << "at " << dpi << " dpi");
  const bool large = dpi == 144;
  RECT client{};
  GetClientRect(form.Window(), &client);
  EXPECT_EQ(client.right, large ? 1296 : 864);
  EXPECT_EQ(client.bottom, large ? 801 : 534);
  const auto expectRect = [](const RECT& rect, const RECT& design, const std::string& name) {
    EXPECT_EQ(rect.left, design.left) << name;
    EXPECT_EQ(rect.top, design.top) << name;
    EXPECT_EQ(rect.right - rect.left, design.right) << name;
    EXPECT_EQ(rect.bottom - rect.top, design.bottom) << name;
  };
  for (const DesignedBox& box : DesignedBoxes)
    expectRect(RectInParent(form.Control(box.id)), large ? box.at144 : box.at96, box.name);
  for (int index = 0; index < 2; ++index) {
    RECT button{};
    SendMessageW(form.Control(IdToolBar1), TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&button));
    RECT design = large ? DesignedButtons[index].at144 : DesignedButtons[index].at96;
    if (large) design.top = button.top;  // the toolbar keeps its own margin above its buttons
    expectRect(button, design, "button " + std::to_string(index));
  }

  // The label is as large as its text, in the font of that DPI.
  HWND label = form.Control(IdLabel1);
  const RECT labelRect = RectInParent(label);
  EXPECT_EQ(labelRect.left, large ? 24 : 16);
  EXPECT_EQ(labelRect.top, large ? 780 : 520);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
  LOGFONTW described{};
  GetObjectW(font, sizeof(described), &described);
  EXPECT_EQ(std::abs(described.lfHeight), large ? 18 : 12);
  HDC dc = GetDC(label);
  SelectObject(dc, font);
  const std::wstring text = TextOf(label);
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  ReleaseDC(label, dc);
  EXPECT_EQ(labelRect.right - labelRect.left, extent.cx);
  EXPECT_EQ(labelRect.bottom - labelRect.top, extent.cy);
}

TEST_F(MainWindowTest, ControlsSitWhereTheLayoutPutsThem) {
  RECT frame{};
  GetWindowRect(Main(), &frame);
  EXPECT_EQ(frame.left, 50);
  EXPECT_EQ(frame.top, 50);
  const LONG style = GetWindowLongW(Main(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_EQ(TextOf(Control(IdLabel1)), L"1 : 1");
  ExpectDesignedLayout(*form, 96);
}

TEST_F(MainWindowTest, TabOrderRunsFromTheGridToTheChooserOnly) {
  EXPECT_TRUE(GetWindowLongW(Control(IdStringGrid1), GWL_STYLE) & WS_TABSTOP);
  EXPECT_TRUE(GetWindowLongW(Control(IdRoadComboBox1), GWL_STYLE) & WS_TABSTOP);
  for (MainControl id : {IdEdit1, IdEdit2, IdEdit3})
    EXPECT_FALSE(GetWindowLongW(Control(id), GWL_STYLE) & WS_TABSTOP);
  EXPECT_TRUE(GetWindowLongW(Control(IdEdit1), GWL_STYLE) & ES_READONLY);

  auto bytes = SampleMap();
  bytes[0] = RoadCode;
  OpenThroughDialog(WriteMap(bytes));
  ASSERT_TRUE(IsWindowEnabled(Control(IdRoadComboBox1)));
  SetFocus(Control(IdStringGrid1));
  Shortcut(VK_TAB, false);
  EXPECT_EQ(GetFocus(), Control(IdRoadComboBox1));
  Shortcut(VK_TAB, false);
  EXPECT_EQ(GetFocus(), Control(IdStringGrid1));
}

TEST_F(MainWindowTest, OpenMenuShortcutAndToolButtonAllAskTheDialogOnce) {
  Command(IdOpen1);
  EXPECT_EQ(dialogs.openDialogs, 1);
  EXPECT_EQ(dialogs.lastOwner, Main());
  Shortcut('O');
  EXPECT_EQ(dialogs.openDialogs, 2);
  ClickToolButton(IdOpenToolButton1);
  EXPECT_EQ(dialogs.openDialogs, 3);
}

TEST_F(MainWindowTest, CancelAndForeignNamesChangeNothingAndShowNothing) {
  Command(IdOpen1);  // cancelled: no answer
  dialogs.answer = WideFromPath(folder.File(u"mapdata.vlt"));
  Command(IdOpen1);
  dialogs.answer = WideFromPath(folder.File(u"MAPDATA.VLT.bak"));
  Command(IdOpen1);

  EXPECT_TRUE(dialogs.errorBoxes.empty());
  EXPECT_EQ(TextOf(Main()), L"ヴァルテア 街道エディタ");
  EXPECT_FALSE(IsWindowEnabled(Control(IdStringGrid1)));
  EXPECT_FALSE(MenuItemEnabled(IdSave1));
  EXPECT_FALSE(ToolButtonEnabled(IdSaveToolButton2));
  // The dialog remembers the name chosen last, accepted by the model or not.
  EXPECT_EQ(dialogs.lastSettings.fileName, WideFromPath(folder.File(u"mapdata.vlt")));
}

TEST_F(MainWindowTest, MissingMapFileShowsTheErrorAndStillEnablesGridAndSave) {
  const MapPath missing = folder.File(u"MAPDATA.VLT");
  OpenThroughDialog(missing);

  ASSERT_EQ(dialogs.errorBoxes.size(), 1u);
  EXPECT_EQ(dialogs.errorBoxes[0], L"ファイル " + WideFromPath(missing) + L" は開けません.");
  EXPECT_EQ(TextOf(Main()), L"ヴァルテア 街道エディタ");
  EXPECT_TRUE(IsWindowEnabled(Control(IdStringGrid1)));
  EXPECT_TRUE(MenuItemEnabled(IdSave1));
  EXPECT_TRUE(ToolButtonEnabled(IdSaveToolButton2));
}

TEST_F(MainWindowTest, ValidOpenShowsTheFirstCell) {
  auto bytes = SampleMap();
  bytes[0] = 4;
  const MapPath path = WriteMap(bytes);
  OpenThroughDialog(path);

  EXPECT_TRUE(dialogs.errorBoxes.empty());
  EXPECT_EQ(TextOf(Main()), L"ヴァルテア 街道エディタ - " + WideFromPath(path));
  EXPECT_EQ(TextOf(form->TaskbarWindow()), L"ヴァルテア 街道エディタ");
  EXPECT_EQ(TextOf(Control(IdLabel1)), L"1 : 1");
  EXPECT_EQ(TextOf(Control(IdEdit1)), L"平 : 4");
  EXPECT_EQ(TextOf(Control(IdEdit2)), L"0");
  EXPECT_EQ(TextOf(Control(IdEdit3)), L"0");
  EXPECT_TRUE(IsWindowEnabled(Control(IdRoadComboBox1)));
  EXPECT_EQ(ChooserSelection(), 14);
  EXPECT_EQ(form->Grid().CellText(3, 1), ReadCellText(151, bytes[151]));
}

TEST_F(MainWindowTest, ClickingARoadThenArrowKeysInTheChooserStoresEachRoadAndCtrlSSavesIt) {
  auto bytes = SampleMap();
  const int offset = CellToOffset(5, 12);
  bytes[offset] = RoadCode;
  const MapPath path = WriteMap(bytes);
  OpenThroughDialog(path);

  ClickCell(5, 12);
  EXPECT_EQ(TextOf(Control(IdLabel1)), L"5 : 12");
  EXPECT_EQ(TextOf(Control(IdEdit1)), L"Λ : 20");
  EXPECT_EQ(TextOf(Control(IdEdit3)), std::to_wstring(offset));
  EXPECT_EQ(ChooserSelection(), 2);

  HWND chooser = Control(IdRoadComboBox1);
  SetFocus(chooser);
  PostKey(chooser, VK_DOWN);
  Pump();
  EXPECT_EQ(form->Model().MapImage()[offset], 21);
  EXPECT_EQ(TextOf(Control(IdEdit1)), L"∨ : 21");
  PostKey(chooser, VK_DOWN);
  Pump();
  EXPECT_EQ(form->Model().MapImage()[offset], 22);
  EXPECT_EQ(ChooserSelection(), 4);
  EXPECT_EQ(form->Grid().CellText(5, 12), EditCellText(22));

  Shortcut('S');
  EXPECT_TRUE(dialogs.errorBoxes.empty());
  auto expected = bytes;
  expected[offset] = 22;
  EXPECT_EQ(ReadBytes(path), expected);
}

TEST_F(MainWindowTest, SaveShortcutBeforeAnyOpenAndF1DoNothing) {
  Shortcut('S');
  Shortcut(VK_F1, false);
  EXPECT_TRUE(dialogs.errorBoxes.empty());
  EXPECT_EQ(dialogs.openDialogs, 0);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(folder.File(u"MAPDATA.VLT"))));
  EXPECT_EQ(TextOf(Main()), L"ヴァルテア 街道エディタ");
}

TEST_F(MainWindowTest, SaveToolButtonWritesTheMapBack) {
  const MapPath path = WriteMap(SampleMap());
  OpenThroughDialog(path);
  WriteBytes(path, std::vector<std::uint8_t>(10, 0));  // changed behind the editor's back
  dialogs.yes = true;                                   // and written over once the player says so
  ClickToolButton(IdSaveToolButton2);
  EXPECT_EQ(dialogs.questions.size(), 1u);
  EXPECT_TRUE(dialogs.errorBoxes.empty());
  EXPECT_EQ(ReadBytes(path), SampleMap());
}

TEST_F(MainWindowTest, ExitClosesTheWindowAtOnceWithUnsavedEdits) {
  auto bytes = SampleMap();
  bytes[CellToOffset(1, 1)] = RoadCode;
  const MapPath path = WriteMap(bytes);
  OpenThroughDialog(path);
  SendMessageW(Control(IdRoadComboBox1), CB_SETCURSEL, 5, 0);
  SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IdRoadComboBox1, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Control(IdRoadComboBox1)));
  ASSERT_EQ(form->Model().MapImage()[0], 23);

  HWND window = Main();
  Command(IdExit1);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(dialogs.errorBoxes.empty());
  MSG quit;
  EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(ReadBytes(path), bytes);
}

TEST_F(MainWindowTest, GameFolderPresetsTheOpenDialogWhenItExists) {
  Command(IdOpen1);
  EXPECT_TRUE(dialogs.lastSettings.initialFolder.empty());
  EXPECT_TRUE(dialogs.lastSettings.fileName.empty());

  const std::wstring gameFolder = folder.Path().wstring() + L"\\";
  form.reset();
  StartForm(gameFolder);
  Command(IdOpen1);
  EXPECT_EQ(dialogs.lastSettings.initialFolder, gameFolder);
  EXPECT_EQ(dialogs.lastSettings.fileName, gameFolder + L"MAPDATA.VLT");
}

TEST_F(MainWindowTest, HelpAboutShowsAFreshBoxBesideTheWindowBeforeAndAfterAMapIsRead) {
  auto showAbout = [this] {
    RECT box{};
    bool mainEnabled = true;
    ModalAnswerer answerer(L"", L"ヴァルテア 街道エディタのバージョン情報", [&](HWND about) {
      GetWindowRect(about, &box);
      mainEnabled = IsWindowEnabled(Main());
      PostMessageW(about, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    Command(IdAbout1);
    EXPECT_TRUE(answerer.Join()) << "no About box appeared";
    EXPECT_FALSE(mainEnabled);
    return box;
  };

  RECT box = showAbout();
  EXPECT_EQ(box.left, 250);
  EXPECT_EQ(box.top, 200);
  EXPECT_TRUE(IsWindowEnabled(Main()));

  OpenThroughDialog(WriteMap(SampleMap()));
  const std::wstring caption = TextOf(Main());
  SetWindowPos(Main(), nullptr, 80, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  box = showAbout();
  EXPECT_EQ(box.left, 280);
  EXPECT_EQ(box.top, 210);
  EXPECT_TRUE(IsWindowEnabled(Main()));
  EXPECT_EQ(TextOf(Main()), caption);
  EXPECT_EQ(TextOf(Control(IdLabel1)), L"1 : 1");
  EXPECT_TRUE(dialogs.errorBoxes.empty());
}

// The keyboard focus comes back to where the user left it whenever the main
// window is active again: after a modal window, or another program.
class MainWindowFocusTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    auto bytes = SampleMap();
    bytes[CellToOffset(1, 2)] = RoadCode;
    mapPath = WriteMap(bytes);
    OpenThroughDialog(mapPath);
    ClickCell(1, 1);
    ASSERT_EQ(GetFocus(), Control(IdStringGrid1));
  }

  // Wine hands the activation back through the X server: on a loaded
  // machine its messages may come a little after the box has gone.
  void WaitForTheGridsFocus() {
    for (int wait = 0; wait < 200 && GetFocus() != Control(IdStringGrid1); ++wait) {
      Sleep(10);
      Pump();
    }
  }

  // A key as the keyboard delivers it: to whatever has the focus.
  void PressKey(WPARAM key) { Shortcut(key, false); }

  void ExpectTheGridTakesKeysAgain() {
    WaitForTheGridsFocus();
    // Without a window manager, the X server's own hand-back sometimes comes
    // last and gives the desktop the activation: the player's click on the
    // window then brings the focus back where it was.
    if (GetForegroundWindow() == GetDesktopWindow()) {
      SetForegroundWindow(form->Window());
      WaitForTheGridsFocus();
    }
    EXPECT_EQ(GetFocus(), Control(IdStringGrid1));
    const std::wstring before = TextOf(Control(IdLabel1));
    PressKey(before == L"1 : 1" ? VK_DOWN : VK_UP);
    EXPECT_NE(TextOf(Control(IdLabel1)), before) << "the arrow key did not reach the grid";
  }

  MapPath mapPath;
};

TEST_F(MainWindowFocusTest, AfterTheAboutBox) {
  ModalAnswerer answerer(L"", L"ヴァルテア 街道エディタのバージョン情報",
                         [](HWND about) { PostMessageW(about, WM_KEYDOWN, VK_RETURN, 0); });
  Command(IdAbout1);
  ASSERT_TRUE(answerer.Join());
  Pump();
  ExpectTheGridTakesKeysAgain();
}

// The real error box: the map made read-only, so that saving fails.
TEST_F(MainWindowFocusTest, AfterAnErrorBox) {
  SystemErrorBoxes realBoxes;
  ASSERT_TRUE(SetFileAttributesW(WideFromPath(mapPath).c_str(), FILE_ATTRIBUTE_READONLY));
  ModalAnswerer answerer(L"#32770", L"ヴァルテア 街道エディタ",
                         [](HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); });
  Shortcut('S');
  ASSERT_TRUE(answerer.Join());
  Pump();
  EXPECT_EQ(realBoxes.errorBoxes.size(), 1u);
  ExpectTheGridTakesKeysAgain();
  SetFileAttributesW(WideFromPath(mapPath).c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The real open dialog, answered from another thread: cancelled, or with a file name typed in.
class SystemOpenDialog : public ScriptedDialogs {
 public:
  std::optional<std::wstring> AskMapPath(HWND owner, const OpenDialogSettings& settings) override {
    return SystemDialogs().AskMapPath(owner, settings);
  }
};

void AnswerOpenDialog(HWND dialog, const std::wstring& typedName) {
  constexpr int FileNameBox = 0x47C;  // the file name field of the common dialog
  if (typedName.empty()) {
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  SetDlgItemTextW(dialog, FileNameBox, typedName.c_str());
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(MainWindowFocusTest, AfterTheOpenDialogCancelledOrAccepted) {
  SystemOpenDialog realDialog;
  for (const std::wstring& typed : {std::wstring(), WideFromPath(mapPath)}) {
    SCOPED_TRACE(typed.empty() ? "cancelled" : "accepted");
    ModalAnswerer answerer(L"#32770", L"", [&](HWND dialog) { AnswerOpenDialog(dialog, typed); });
    Command(IdOpen1);
    ASSERT_TRUE(answerer.Join());
    Pump();
    ExpectTheGridTakesKeysAgain();
  }
  EXPECT_TRUE(realDialog.errorBoxes.empty());
}

// The real open dialog and error box: a map that another program holds
// cannot be read, and the edit on screen is saved to the map it was made in.
class SystemDialogsAndBoxes : public SystemErrorBoxes {
 public:
  std::optional<std::wstring> AskMapPath(HWND owner, const OpenDialogSettings& settings) override {
    return SystemDialogs().AskMapPath(owner, settings);
  }
};

TEST_F(MainWindowFocusTest, AfterAFailedOpenSaveWritesTheEditToTheMapOnScreen) {
  ClickCell(1, 2);
  SetFocus(Control(IdRoadComboBox1));
  PostKey(Control(IdRoadComboBox1), VK_DOWN);  // "街道　Λ" becomes "街道　∨"
  Pump();
  auto edited = ReadBytes(mapPath);
  edited[CellToOffset(1, 2)] = 21;
  ASSERT_EQ(form->Model().MapImage()[CellToOffset(1, 2)], 21);

  ASSERT_TRUE(CreateDirectoryW((folder.Path() / L"other").c_str(), nullptr));
  const MapPath other = folder.File(u"other\\MAPDATA.VLT");
  const std::vector<std::uint8_t> otherBytes(MapSize, 4);
  WriteBytes(other, otherBytes);
  SystemDialogsAndBoxes realDialogs;
  {
    OtherHandle holder(other, GENERIC_READ | GENERIC_WRITE, 0);
    ASSERT_TRUE(holder.IsOpen());
    ModalAnswerer dialog(L"#32770", L"", [&](HWND open) { AnswerOpenDialog(open, WideFromPath(other)); });
    ModalAnswerer box(L"#32770", L"ヴァルテア 街道エディタ", [](HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); });
    Command(IdOpen1);
    ASSERT_TRUE(dialog.Join());
    ASSERT_TRUE(box.Join());
  }
  ASSERT_EQ(realDialogs.errorBoxes, std::vector<std::wstring>{L"ファイル " + WideFromPath(other) + L" は開けません."});
  EXPECT_EQ(TextOf(Main()), L"ヴァルテア 街道エディタ - " + WideFromPath(mapPath));

  Shortcut('S');
  EXPECT_EQ(realDialogs.errorBoxes.size(), 1u) << "Save failed";
  EXPECT_EQ(ReadBytes(mapPath), edited);
  EXPECT_EQ(ReadBytes(other), otherBytes);
}

TEST_F(MainWindowFocusTest, AfterAnotherWindowWasActive) {
  HWND other = CreateWindowExW(0, L"STATIC", L"another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 200,
                               100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  SetForegroundWindow(other);
  SetActiveWindow(other);
  Pump();
  ASSERT_EQ(GetActiveWindow(), other);
  EXPECT_NE(GetFocus(), Control(IdStringGrid1));
  SetForegroundWindow(Main());
  SetActiveWindow(Main());
  Pump();
  ExpectTheGridTakesKeysAgain();
  DestroyWindow(other);
}

// Until the user picks a control, the window itself has the focus.
TEST_F(MainWindowTest, TabAndShiftTabFromTheWindowItselfGoToTheFirstAndTheLastControl) {
  auto bytes = SampleMap();
  bytes[0] = RoadCode;  // the chooser is enabled at cell 1, 1
  const MapPath path = WriteMap(bytes);
  for (const bool backwards : {false, true}) {
    SCOPED_TRACE(backwards ? "Shift+Tab" : "Tab");
    StartForm(L"");
    OpenThroughDialog(path);
    ASSERT_TRUE(IsWindowEnabled(Control(IdRoadComboBox1)));
    ASSERT_EQ(GetFocus(), Main());
    if (backwards) {
      HeldKeys shift({VK_SHIFT});
      Shortcut(VK_TAB, false);
    } else {
      Shortcut(VK_TAB, false);
    }
    EXPECT_EQ(GetFocus(), Control(backwards ? IdRoadComboBox1 : IdStringGrid1));
  }
}

TEST_F(MainWindowFocusTest, AChooserThatGetsDisabledWhileFocusedHandsTheFocusToTheGrid) {
  ClickCell(1, 2);
  SetFocus(Control(IdRoadComboBox1));
  OpenThroughDialog(WriteMap(SampleMap()));  // cell 1, 2 now holds no road
  EXPECT_FALSE(IsWindowEnabled(Control(IdRoadComboBox1)));
  ExpectTheGridTakesKeysAgain();
}

TEST_F(MainWindowTest, ToolButtonsExplainThemselvesWithTheirShortcuts) {
  EXPECT_TRUE(GetWindowLongW(ToolBar(), GWL_STYLE) & TBSTYLE_TOOLTIPS);
  EXPECT_FALSE(GetWindowLongW(ToolBar(), GWL_STYLE) & TBSTYLE_FLAT);
  auto tooltip = [this](WORD id) {
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageW(ToolBar(), TB_GETTOOLTIPS, 0, 0));
    info.hdr.idFrom = id;
    info.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(Main(), WM_NOTIFY, id, reinterpret_cast<LPARAM>(&info));
    return std::wstring(info.lpszText != nullptr ? info.lpszText : L"");
  };
  EXPECT_EQ(tooltip(IdOpenToolButton1), L"開く(Ctrl+O)");
  EXPECT_EQ(tooltip(IdSaveToolButton2), L"上書き保存(Ctrl+S)");
}

// What a window shows on the screen, pixel by pixel.
class ScreenPixels {
 public:
  explicit ScreenPixels(HWND window) : dc_(CreateCompatibleDC(nullptr)) {
    RECT client{};
    GetClientRect(window, &client);
    HDC screen = GetDC(window);
    bitmap_ = CreateCompatibleBitmap(screen, client.right, client.bottom);
    old_ = SelectObject(dc_, bitmap_);
    BitBlt(dc_, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    ReleaseDC(window, screen);
  }
  ~ScreenPixels() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

// Raised: light along the top and left edges, dark along the bottom and
// right, whatever visual style the system draws with (this Wine draws its
// "light" style, whose toolbar buttons are flat).
TEST_F(MainWindowTest, ToolButtonsAreRaised) {
  const auto light = {GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_3DLIGHT)};
  const auto dark = {GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_3DDKSHADOW)};
  auto isOneOf = [](COLORREF colour, std::initializer_list<COLORREF> colours) {
    return std::find(colours.begin(), colours.end(), colour) != colours.end();
  };
  for (const int index : {0, 1}) {
    SCOPED_TRACE(index);
    RECT button{};
    SendMessageW(ToolBar(), TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&button));
    RedrawWindow(ToolBar(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    const ScreenPixels pixels(ToolBar());
    const int middleX = (button.left + button.right) / 2;
    const int middleY = (button.top + button.bottom) / 2;
    EXPECT_TRUE(isOneOf(pixels.At(button.left, middleY), light)) << std::hex << pixels.At(button.left, middleY);
    EXPECT_TRUE(isOneOf(pixels.At(middleX, button.top), light)) << std::hex << pixels.At(middleX, button.top);
    EXPECT_TRUE(isOneOf(pixels.At(button.right - 1, middleY), dark)) << std::hex << pixels.At(button.right - 1, middleY);
    EXPECT_TRUE(isOneOf(pixels.At(middleX, button.bottom - 1), dark)) << std::hex << pixels.At(middleX, button.bottom - 1);
  }
}

TEST_F(MainWindowTest, MinimisingTakesTheWholeProgramToTheTaskbarAndBack) {
  EXPECT_EQ(GetWindow(Main(), GW_OWNER), form->TaskbarWindow());
  SendMessageW(Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump();
  EXPECT_TRUE(IsIconic(form->TaskbarWindow()));
  EXPECT_FALSE(IsWindowVisible(Main()));

  ShowWindow(form->TaskbarWindow(), SW_RESTORE);
  Pump();
  EXPECT_FALSE(IsIconic(form->TaskbarWindow()));
  EXPECT_TRUE(IsWindowVisible(Main()));
}

TEST_F(MainWindowTest, ClosingTheTaskbarWindowClosesTheProgram) {
  HWND window = Main();
  SendMessageW(form->TaskbarWindow(), WM_CLOSE, 0, 0);
  Pump();
  EXPECT_FALSE(IsWindow(window));
}

// Undo and redo, through the keys as the message loop delivers them.
class MainWindowHistoryTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    original = SampleMap();
    original[offset] = RoadCode;
    path = WriteMap(original);
    OpenThroughDialog(path);
  }

  // Clicks the road cell 5, 12 and steps the focused chooser down `steps` entries.
  void ChangeTheRoad(int steps) {
    ClickCell(5, 12);
    SetFocus(Control(IdRoadComboBox1));
    for (int step = 0; step < steps; ++step) {
      PostKey(Control(IdRoadComboBox1), VK_DOWN);
      Pump();
    }
    ASSERT_EQ(form->Model().MapImage()[offset], RoadCode + steps);
  }

  void ShiftShortcut(WPARAM key) {
    HeldKeys held({VK_SHIFT});
    Shortcut(key);
  }

  const int offset = CellToOffset(5, 12);
  std::vector<std::uint8_t> original;
  MapPath path;
};

TEST_F(MainWindowHistoryTest, CtrlZFromAnotherCellGoesBackToTheChangedCellAndScrollsItIntoView) {
  ChangeTheRoad(1);
  ClickCell(8, 3);
  Shortcut(VK_END);  // Ctrl+End in the grid: the last cell, far out of view
  ASSERT_EQ(TextOf(Control(IdLabel1)), L"352 : 76");

  Shortcut('Z');
  EXPECT_EQ(form->Model().MapImage()[offset], RoadCode);
  EXPECT_EQ(form->Grid().CellText(5, 12), ReadCellText(offset, RoadCode));
  EXPECT_EQ(form->Grid().CurrentCell(), (GridCell{5, 12}));
  EXPECT_EQ(form->Grid().ViewPosition(), (GridCell{5, 12}));
  EXPECT_EQ(TextOf(Control(IdLabel1)), L"5 : 12");
  EXPECT_EQ(TextOf(Control(IdEdit1)), L"Λ : 20");
  EXPECT_EQ(TextOf(Control(IdEdit2)), L"144");
  EXPECT_EQ(TextOf(Control(IdEdit3)), L"324");
  EXPECT_TRUE(IsWindowEnabled(Control(IdRoadComboBox1)));
  EXPECT_EQ(ChooserSelection(), 2);
  EXPECT_EQ(GetFocus(), Control(IdStringGrid1));
  EXPECT_TRUE(dialogs.errorBoxes.empty());
}

TEST_F(MainWindowHistoryTest, CtrlYAndCtrlShiftZRedoWhicheverControlHasTheFocus) {
  ChangeTheRoad(2);  // 20 -> 21 -> 22
  Shortcut('Z');     // the chooser has the focus
  Shortcut('Z');
  EXPECT_EQ(form->Model().MapImage()[offset], RoadCode);
  EXPECT_EQ(ChooserSelection(), 2);

  SetFocus(Control(IdEdit1));
  Shortcut('Y');
  EXPECT_EQ(form->Model().MapImage()[offset], 21);
  EXPECT_EQ(TextOf(Control(IdEdit1)), L"∨ : 21");
  EXPECT_EQ(ChooserSelection(), 3);

  SetFocus(Control(IdStringGrid1));
  ShiftShortcut('Z');
  EXPECT_EQ(form->Model().MapImage()[offset], 22);
  EXPECT_EQ(form->Grid().CellText(5, 12), EditCellText(22));
  EXPECT_EQ(TextOf(Control(IdEdit1)), L"＜ : 22");

  Shortcut('Y');  // nothing left to redo
  ShiftShortcut('Z');
  EXPECT_EQ(form->Model().MapImage()[offset], 22);
  EXPECT_TRUE(dialogs.errorBoxes.empty());
}

TEST_F(MainWindowHistoryTest, ASaveAfterAnUndoWritesTheUndoneByte) {
  ChangeTheRoad(1);
  Shortcut('S');
  ASSERT_EQ(ReadBytes(path)[offset], 21);
  Shortcut('Z');
  EXPECT_EQ(ReadBytes(path)[offset], 21) << "Undo writes nothing";
  Shortcut('S');
  EXPECT_EQ(ReadBytes(path), original);
  EXPECT_TRUE(dialogs.errorBoxes.empty());
}

TEST_F(MainWindowHistoryTest, WhileTheChooserListIsDroppedDownTheKeysDoNothing) {
  ChangeTheRoad(1);
  HWND chooser = Control(IdRoadComboBox1);
  SendMessageW(chooser, CB_SHOWDROPDOWN, TRUE, 0);
  Pump();
  Shortcut('Z');
  EXPECT_EQ(form->Model().MapImage()[offset], 21);
  EXPECT_EQ(ChooserSelection(), 3);
  EXPECT_NE(SendMessageW(chooser, CB_GETDROPPEDSTATE, 0, 0), 0);

  SendMessageW(chooser, CB_SHOWDROPDOWN, FALSE, 0);
  Pump();
  Shortcut('Z');
  EXPECT_EQ(form->Model().MapImage()[offset], RoadCode);
}

TEST_F(MainWindowTest, UndoAndRedoKeysDoNothingBeforeAMapIsRead) {
  Shortcut('Z');
  Shortcut('Y');
  {
    HeldKeys shift({VK_SHIFT});
    Shortcut('Z');
  }
  EXPECT_TRUE(dialogs.errorBoxes.empty());
  EXPECT_EQ(dialogs.openDialogs, 0);
  EXPECT_EQ(TextOf(Main()), L"ヴァルテア 街道エディタ");
  EXPECT_EQ(TextOf(Control(IdLabel1)), L"1 : 1");
  EXPECT_EQ(TextOf(Control(IdEdit1)), L"");
  EXPECT_FALSE(IsWindowEnabled(Control(IdStringGrid1)));
  EXPECT_EQ(form->Grid().CurrentCell(), (GridCell{1, 1}));
}

// The real error box, answered from another thread while the program waits in it.
TEST(SystemErrorBoxTest, ShowsTheTitleTheTextAndAStopIconWhileTheProgramWaits) {
  TempFolder folder;
  SystemErrorBoxes dialogs;
  dialogs.answer = WideFromPath(folder.File(u"MAPDATA.VLT"));  // not there
  const WindowPtr<TMainForm1> window = MakeWindow<TMainForm1>(L"");
  TMainForm1& form = *window;
  form.CreateWindowAndControls();
  form.Show(SW_SHOWNORMAL);
  PumpMessages();

  std::wstring caption, text;
  bool ownerEnabled = true, hasStopIcon = false;
  ModalAnswerer answerer(L"#32770", L"ヴァルテア 街道エディタ", [&](HWND box) {
    caption = TextOf(box);
    text = TextOf(GetDlgItem(box, 0xFFFF));  // the message box's text
    ownerEnabled = IsWindowEnabled(form.Window());
    HWND icon = GetDlgItem(box, 0x0440);  // and its icon
    hasStopIcon = icon != nullptr && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  SendMessageW(form.Window(), WM_COMMAND, MAKEWPARAM(IdOpen1, 0), 0);

  ASSERT_TRUE(answerer.Join()) << "no error box appeared";
  EXPECT_EQ(caption, L"ヴァルテア 街道エディタ");
  EXPECT_EQ(text, dialogs.errorBoxes.at(0));
  EXPECT_EQ(text.back(), L'.');
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(hasStopIcon);
  EXPECT_TRUE(IsWindowEnabled(form.Window()));
}

TEST(ErrorBoxText, FullStopFollowsALastCharacterAboveTheFullStopOnly) {
  EXPECT_EQ(WithFullStop(L"ファイル C:\\x は開けません"), L"ファイル C:\\x は開けません.");
  EXPECT_EQ(WithFullStop(L"done."), L"done.");
  EXPECT_EQ(WithFullStop(L"space "), L"space ");
  EXPECT_EQ(WithFullStop(L"bang!"), L"bang!");
  EXPECT_EQ(WithFullStop(L"comma,"), L"comma,");
  EXPECT_EQ(WithFullStop(L"(paren)"), L"(paren)");
  EXPECT_EQ(WithFullStop(L"slash/"), L"slash/.");
  EXPECT_EQ(WithFullStop(L"x"), L"x.");
  EXPECT_EQ(WithFullStop(L""), L"");
}

TEST(ErrorBoxText, EveryKindOfErrorHasAMessageInJapanese) {
  EXPECT_EQ(ErrorMessageOf(std::make_exception_ptr(std::bad_alloc())), L"メモリが足りません");
  EXPECT_EQ(ErrorMessageOf(std::make_exception_ptr(42)), L"不明なエラー");
  EXPECT_EQ(ErrorMessageOf(std::make_exception_ptr(MapFileError(PathText{"ファイル %s は開けません", u"C:\\x"}))),
            L"ファイル C:\\x は開けません");
}

}  // namespace

// ---- the road tools ----

// Plain land with castles at 101:30, 105:28 and 110:30, a road from the
// first to the second with a slip at 103:29 (＼ where ／ belongs), and a ／
// at 201:30 that ends nowhere: six problems.
class MainWindowRoadsTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    map.assign(MapSize, 4);
    for (auto [column, row, code] : {std::array{101, 30, 31}, {102, 30, 18}, {103, 29, 19}, {104, 29, 18},
                                     {105, 28, 31}, {110, 30, 31}, {201, 30, 18}})
      map[CellToOffset(column, row)] = static_cast<std::uint8_t>(code);
    path = WriteMap(map);
  }
  // Makes a cell current as the keyboard would: Ctrl+Home, then arrows.
  void GoTo(int column, int row) {
    SetFocus(Control(IdStringGrid1));
    form->Grid().SetCurrentCell({column, row});
    SendMessageW(Control(IdStringGrid1), WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(Control(IdStringGrid1), WM_KEYDOWN, VK_LEFT, 0);
    Pump();
  }
  std::wstring Caption(WORD id) const {
    wchar_t text[96] = {};
    GetMenuStringW(form->Menu(), id, text, 96, MF_BYCOMMAND);
    return text;
  }

  std::vector<std::uint8_t> map;
  MapPath path;
};

// Greyed until there is something to do: every road item until the first
// accepted Open, Undo and Redo until there is a step; their shortcuts with them.
TEST_F(MainWindowRoadsTest, TheNewMenusAreGreyedUntilTheyHaveSomethingToDo) {
  const WORD roadItems[] = {IdMapPicture1, IdProblems1,     IdNextProblem1, IdPreviousProblem1,
                            IdShapeRoads1, IdSetRoadStart1, IdLayRoad1};
  const wchar_t* tops[] = {L"ファイル(&F)", L"編集(&E)", L"表示(&V)", L"道路(&R)", L"ヘルプ(&H)"};
  for (int position = 0; position < 5; ++position) {
    wchar_t top[32] = {};
    GetMenuStringW(form->Menu(), static_cast<UINT>(position), top, 32, MF_BYPOSITION);
    EXPECT_STREQ(top, tops[position]);
  }
  EXPECT_EQ(Caption(IdUndo1), L"元に戻す(&U)\tCtrl+Z");
  EXPECT_EQ(Caption(IdNextProblem1), L"次の問題へ(&N)\tF8");
  for (WORD id : roadItems) EXPECT_FALSE(MenuItemEnabled(id)) << id;
  Shortcut('B');
  Shortcut(VK_F8, false);
  EXPECT_EQ(form->ProblemsForm(), nullptr);

  OpenThroughDialog(path);
  for (WORD id : roadItems) EXPECT_TRUE(MenuItemEnabled(id)) << id;
  EXPECT_FALSE(MenuItemEnabled(IdUndo1));
  Command(IdShapeRoads1);
  EXPECT_TRUE(MenuItemEnabled(IdUndo1));
  EXPECT_FALSE(MenuItemEnabled(IdRedo1));
  Command(IdUndo1);
  EXPECT_FALSE(MenuItemEnabled(IdUndo1));
  EXPECT_TRUE(MenuItemEnabled(IdRedo1));
  Shortcut('Y');
  EXPECT_EQ(form->Model().MapImage()[CellToOffset(103, 29)], 18);
}

// Ctrl+B on one castle, Ctrl+L on another: the road is laid, the Lay item
// names its start, and one Ctrl+Z takes the whole road back.
TEST_F(MainWindowRoadsTest, ARoadLaidWithCtrlBAndCtrlLIsTakenBackByOneCtrlZ) {
  OpenThroughDialog(path);
  GoTo(105, 28);
  Shortcut('L');
  ASSERT_EQ(dialogs.errorBoxes.size(), 1u);
  EXPECT_EQ(dialogs.errorBoxes[0], L"道路の始点がありません。始点のマスで「ここを始点にする」(Ctrl+B) を選んでください.");

  Shortcut('B');
  EXPECT_EQ(Caption(IdLayRoad1), L"始点 105:28 からここまで道路を敷く(&L)\tCtrl+L");
  GoTo(110, 30);
  Shortcut('L');
  const MapImage laid = form->Model().MapImage();
  int changed = 0;
  for (int offset = 0; offset < MapSize; ++offset) {
    if (laid[offset] == map[offset]) continue;
    ++changed;
    const GridCell cell = OffsetToCell(offset);
    EXPECT_EQ(form->Grid().CellText(cell.column, cell.row), EditCellText(laid[offset]));
  }
  EXPECT_GE(changed, 4);
  EXPECT_EQ(TextOf(Control(IdLabel1)), L"110 : 30");

  Shortcut('Z');
  for (int offset = 0; offset < MapSize; ++offset) ASSERT_EQ(form->Model().MapImage()[offset], map[offset]) << offset;
  EXPECT_EQ(dialogs.errorBoxes.size(), 1u);
}

// The problem window follows the map once the messages waiting are handled,
// once for all the changes that came.
TEST_F(MainWindowRoadsTest, TheProblemWindowFollowsOnceTheWaitingMessagesAreHandled) {
  OpenThroughDialog(path);
  Command(IdProblems1);
  HWND problems = form->ProblemsForm()->Window();
  SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IdShapeRoads1, 0), 0);
  EXPECT_EQ(TextOf(problems), L"道路網の問題 - 6 件") << "not yet";
  Pump();
  EXPECT_EQ(TextOf(problems), L"道路網の問題 - 2 件");
  SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IdUndo1, 0), 0);
  SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IdRedo1, 0), 0);
  SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IdUndo1, 0), 0);
  Pump();
  EXPECT_EQ(TextOf(problems), L"道路網の問題 - 6 件");
}

// The problem window: opened from the menu, following an edit, Enter and a
// double click on an entry jumping to its cell, F8 going on from there, and
// Esc closing and releasing it.
TEST_F(MainWindowRoadsTest, TheProblemWindowFollowsTheMapAndItsEntriesLeadToTheirCells) {
  OpenThroughDialog(path);
  Command(IdProblems1);
  TProblemsForm1* problems = form->ProblemsForm();
  ASSERT_NE(problems, nullptr);
  EXPECT_EQ(TextOf(problems->Window()), L"道路網の問題 - 6 件");
  EXPECT_EQ(TextOf(problems->Summary()), L"道路網の問題: 6 件");
  ASSERT_EQ(problems->List().Count(), 6);
  EXPECT_EQ(problems->List().Item(0), L"102:30 ／ (18) 北東: 103:29 ＼ (19) がこちらへつながっていません");
  EXPECT_EQ(GetFocus(), problems->List().Window());
  EXPECT_EQ(GetWindow(problems->Window(), GW_OWNER), Main());

  problems->List().SetSelection(4);
  PostKey(problems->List().Window(), VK_RETURN);
  Pump();
  EXPECT_EQ(form->Grid().CurrentCell(), (GridCell{201, 30}));
  EXPECT_EQ(TextOf(Control(IdLabel1)), L"201 : 30");
  Shortcut(VK_F8, false);
  EXPECT_EQ(form->Grid().CurrentCell(), (GridCell{201, 30})) << "its second problem";
  Shortcut(VK_F8, false);
  EXPECT_EQ(form->Grid().CurrentCell(), (GridCell{102, 30})) << "round to the first";

  Command(IdShapeRoads1);
  EXPECT_EQ(TextOf(problems->Window()), L"道路網の問題 - 2 件");
  RECT entry{};
  SendMessageW(problems->List().Window(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&entry));
  const LPARAM at = MAKELPARAM(entry.left + 4, (entry.top + entry.bottom) / 2);
  SendMessageW(problems->List().Window(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(problems->List().Window(), WM_LBUTTONUP, 0, at);
  SendMessageW(problems->List().Window(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageW(problems->List().Window(), WM_LBUTTONUP, 0, at);
  Pump();
  EXPECT_EQ(form->Grid().CurrentCell(), (GridCell{201, 30}));

  OpenThroughDialog(path);  // the same map once more: the slip is back
  EXPECT_EQ(problems->List().Count(), 6);
  PostKey(problems->List().Window(), VK_ESCAPE);
  Pump();
  EXPECT_EQ(form->ProblemsForm(), nullptr);
  EXPECT_TRUE(dialogs.errorBoxes.empty());
}

// A map dropped on the window opens as File > Open opens it; of several
// files the one named MAPDATA.VLT, and a file of another name alone is
// ignored; a spreadsheet's map dropped once a map is open is imported.
TEST_F(MainWindowRoadsTest, ADroppedMapOpensAsFileOpenWouldOpenIt) {
  const MapPath other = folder.File(u"notes.txt");
  WriteBytes(other, {1, 2, 3});
  const auto drop = [this](const std::vector<MapPath>& files) { Drop(files); };
  drop({other});
  EXPECT_FALSE(form->Model().MapLoaded());
  drop({other, path});
  EXPECT_TRUE(form->Model().MapLoaded());
  EXPECT_EQ(form->Model().MapFileName(), path);
  EXPECT_EQ(TextOf(Main()), L"ヴァルテア 街道エディタ - " + WideFromPath(path));
  EXPECT_TRUE(dialogs.errorBoxes.empty());

  MapImage changed{};
  std::copy(map.begin(), map.end(), changed.begin());
  changed[CellToOffset(120, 30)] = 3;
  const MapPath csv = folder.File(u"changed.csv");
  const std::string text = MapToText(changed);
  WriteBytes(csv, std::vector<std::uint8_t>(text.begin(), text.end()));
  drop({csv});
  EXPECT_EQ(form->Model().MapImage(), changed);
  EXPECT_EQ(form->Model().MapFileName(), path) << "the map on screen is still the one opened";
  EXPECT_TRUE(MenuItemEnabled(IdUndo1));
}

// ---- screen readers ----

// The grid as MSAA shows it: the focused cell with its name after a click
// and after the arrow keys, the focus event with the new child, and the
// names of the info fields and the road chooser, which no caption gives.
class MainWindowAccessibilityTest : public MainWindowTest {
 protected:
  static constexpr IID AccessibleId = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

  static IAccessible* ObjectOf(HWND window) {
    IAccessible* object = nullptr;
    EXPECT_EQ(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), AccessibleId,
                                         reinterpret_cast<void**>(&object)),
              S_OK);
    return object;
  }
  static std::wstring NameOf(IAccessible* object, long child) {
    VARIANT which{};
    which.vt = VT_I4;
    which.lVal = child;
    BSTR name = nullptr;
    if (object->get_accName(which, &name) != S_OK || name == nullptr) return L"(none)";
    std::wstring text(name);
    SysFreeString(name);
    return text;
  }
  static long FocusOf(IAccessible* object) {
    VARIANT focus{};
    object->get_accFocus(&focus);
    return focus.vt == VT_I4 ? focus.lVal : -1;
  }

  static inline std::vector<std::pair<HWND, long>> focusEvents;
  static void CALLBACK OnFocusEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT) focusEvents.emplace_back(window, child);
  }
};

TEST_F(MainWindowAccessibilityTest, AScreenReaderFollowsTheCurrentCellAndReadsItsName) {
  std::vector<std::uint8_t> map(MapSize, 4);
  map[CellToOffset(6, 12)] = 9;    // a harbour
  map[CellToOffset(7, 12)] = 200;  // no terrain
  IAccessible* grid = ObjectOf(Control(IdStringGrid1));
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(NameOf(grid, StringGrid::ChildOf({5, 12})), L"5 : 12") << "before a map is read";
  OpenThroughDialog(WriteMap(map));

  ClickCell(5, 12);
  EXPECT_EQ(FocusOf(grid), StringGrid::ChildOf({5, 12}));
  EXPECT_EQ(NameOf(grid, FocusOf(grid)), L"5 : 12 平地 4");
  EXPECT_EQ(NameOf(grid, StringGrid::ChildOf({2, 1})), L"2 : 1") << "a placeholder";

  focusEvents.clear();
  const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, OnFocusEvent,
                                             GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  PostKey(Control(IdStringGrid1), VK_RIGHT);
  Pump();
  EXPECT_EQ(NameOf(grid, FocusOf(grid)), L"6 : 12 港湾 9");
  PostKey(Control(IdStringGrid1), VK_RIGHT);
  Pump();
  EXPECT_EQ(NameOf(grid, FocusOf(grid)), L"7 : 12 不明なコード 200");
  UnhookWinEvent(hook);
  const std::vector<std::pair<HWND, long>> expected = {{Control(IdStringGrid1), StringGrid::ChildOf({6, 12})},
                                                       {Control(IdStringGrid1), StringGrid::ChildOf({7, 12})}};
  EXPECT_EQ(focusEvents, expected);
  grid->Release();

  const std::pair<MainControl, const wchar_t*> named[] = {
      {IdEdit1, L"コード"}, {IdEdit2, L"16進オフセット"}, {IdEdit3, L"10進オフセット"}, {IdRoadComboBox1, L"道路の形"}};
  for (const auto& [id, name] : named) {
    IAccessible* control = ObjectOf(Control(id));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(NameOf(control, CHILDID_SELF), name);
    control->Release();
  }
  EXPECT_EQ(TextOf(Control(IdEdit1)), L"？ : 200") << "on the screen the field shows what it did";
}

// ---- the map picture ----

// The picture window: from the menu and from Ctrl+M once a map is open; a
// click on a hexagon selects its cell as a click in the grid would; an edit,
// an undo and an open change what it shows; the wheel with Ctrl zooms about
// the pointer.
class MainWindowPictureTest : public MainWindowRoadsTest {
 protected:
  TPictureForm1& Picture() const { return *form->PictureForm(); }
  // A cell's hexagon centre in the picture window's client pixels, below its band of tools.
  POINT CentreOf(GridCell cell) const {
    const PicturePoint centre = HexCentreAt(CellToOffset(cell.column, cell.row), Picture().Scale());
    return {centre.x - Picture().Origin().x, centre.y - Picture().Origin().y + Picture().PictureTop()};
  }
  // The screen shows the painter's picture there. The current cell's
  // outline covers most of a small hexagon, so the look is from elsewhere.
  void ExpectShowsThePicture(GridCell cell) {
    GoTo(cell.column + 10, cell.row);
    UpdateWindow(Picture().Window());
    const POINT at = CentreOf(cell);
    HDC dc = GetDC(Picture().Window());
    const COLORREF shown = GetPixel(dc, at.x + 1, at.y + Picture().Scale() / 2);
    ReleaseDC(Picture().Window(), dc);
    const Image drawn = DrawMapPicture(form->Model().MapImage(), Picture().Scale());
    const Rgba pixel = drawn.At(Picture().Origin().x + at.x + 1,
                                Picture().Origin().y + at.y - Picture().PictureTop() + Picture().Scale() / 2);
    EXPECT_EQ(shown, RGB(pixel.r, pixel.g, pixel.b)) << cell.column << ":" << cell.row;
  }
};

TEST_F(MainWindowPictureTest, ShowsTheMapFollowsItsChangesAndSelectsTheCellClicked) {
  Command(IdMapPicture1);
  EXPECT_EQ(form->PictureForm(), nullptr) << "greyed before a map is open";
  OpenThroughDialog(path);
  Shortcut('M');
  ASSERT_NE(form->PictureForm(), nullptr);
  EXPECT_EQ(TextOf(Picture().Window()), L"地図の絵");
  EXPECT_EQ(GetWindow(Picture().Window(), GW_OWNER), Main());
  Pump();

  // A click on a hexagon, on the placeholder's place, and outside the map.
  const POINT castle = CentreOf({105, 28});
  SendMessageW(Picture().Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(castle.x, castle.y));
  Pump();
  EXPECT_EQ(form->Grid().CurrentCell(), (GridCell{105, 28}));
  EXPECT_EQ(TextOf(Control(IdLabel1)), L"105 : 28");
  EXPECT_EQ(TextOf(Control(IdEdit1)), L"■ : 31");

  GoTo(120, 30);  // plain
  ExpectShowsThePicture({120, 30});
  GoTo(120, 30);
  ChooseRoadEntry(13);  // 丘陵
  ASSERT_EQ(form->Model().MapImage()[CellToOffset(120, 30)], 3);
  ExpectShowsThePicture({120, 30});
  Shortcut('Z');
  ExpectShowsThePicture({120, 30});
  map.assign(MapSize, 0);
  OpenThroughDialog(WriteMap(map));
  ExpectShowsThePicture({120, 30});

  // Zoom in with Ctrl and the wheel: the picture's point under the pointer stays.
  const int scaleBefore = Picture().Scale();
  const POINT pointer{300, 200};  // in the picture part
  const int x = Picture().Origin().x + pointer.x, y = Picture().Origin().y + pointer.y;
  POINT screen{pointer.x, pointer.y + Picture().PictureTop()};
  ClientToScreen(Picture().Window(), &screen);
  SendMessageW(Picture().Window(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
  ASSERT_EQ(Picture().Scale(), scaleBefore + 1);
  EXPECT_EQ((Picture().Origin().x + pointer.x) * scaleBefore / Picture().Scale(), x);
  EXPECT_EQ((Picture().Origin().y + pointer.y) * scaleBefore / Picture().Scale(), y);

  PostKey(Picture().Window(), VK_ESCAPE);
  Pump();
  EXPECT_EQ(form->PictureForm(), nullptr);
  EXPECT_TRUE(dialogs.errorBoxes.empty());
}

// ---- the window layer ----

// Every item, shortcut and button comes from one table: the new items sit
// where they belong, greyed with the commands they stand beside.
TEST_F(MainWindowRoadsTest, TheCommandTableFeedsMenusShortcutsAndButtons) {
  const struct {
    int menu, position;
    WORD id;
    const wchar_t* caption;
  } items[] = {
      {0, 1, IdSave1, L"上書き保存(&S)\tCtrl+S"},
      {0, 2, IdSaveCopy1, L"コピーを保存(&A)..."},
      {0, 4, IdApplyPatch1, L"パッチを当てる(&P)..."},
      {0, 5, IdSavePatch1, L"変更をパッチとして保存(&D)..."},
      {0, 6, IdCompare1, L"地図と比べる(&C)..."},
      {0, 8, IdImport1, L"インポート(&I)..."},
      {0, 9, IdExport1, L"エクスポート(&E)..."},
      {0, 11, IdExit1, L"終了(&X)"},
      {1, 1, IdRedo1, L"やり直し(&R)\tCtrl+Y"},
      {1, 3, IdGoToCell1, L"マスへ移動(&G)...\tCtrl+G"},
  };
  for (const auto& item : items) {
    HMENU menu = GetSubMenu(form->Menu(), item.menu);
    EXPECT_EQ(GetMenuItemID(menu, item.position), item.id) << item.id;
    EXPECT_EQ(Caption(item.id), item.caption);
  }
  EXPECT_EQ(GetMenuState(GetSubMenu(form->Menu(), 1), 2, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));

  for (WORD id : {IdSaveCopy1, IdCompare1, IdGoToCell1}) EXPECT_FALSE(MenuItemEnabled(id)) << id;
  Shortcut('G');
  EXPECT_TRUE(dialogs.lastPrompt.caption.empty()) << "greyed: no dialog";
  OpenThroughDialog(path);
  for (WORD id : {IdSaveCopy1, IdCompare1, IdGoToCell1}) EXPECT_TRUE(MenuItemEnabled(id)) << id;
  EXPECT_TRUE(ToolButtonEnabled(IdSaveToolButton2));
  Shortcut('G');
  EXPECT_EQ(dialogs.lastPrompt.caption, L"マスへ移動");
  ClickToolButton(IdOpenToolButton1);
  EXPECT_EQ(dialogs.openDialogs, 2);
}

// A child's notification reaches its own control: the colours each control
// asked for, the toolbar's tooltip (above) and the chooser's change (elsewhere).
TEST_F(MainWindowTest, EachControlAnswersItsOwnColourRequest) {
  const struct {
    MainControl id;
    int colour;
  } controls[] = {{IdEdit1, COLOR_SCROLLBAR}, {IdEdit2, COLOR_SCROLLBAR}, {IdEdit3, COLOR_SCROLLBAR},
                  {IdLabel1, COLOR_BTNFACE}};
  for (const auto& control : controls) {
    HDC dc = GetDC(Control(control.id));
    const LRESULT brush = SendMessageW(Main(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(Control(control.id)));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(control.colour)) << control.id;
    EXPECT_EQ(GetBkColor(dc), GetSysColor(control.colour)) << control.id;
    ReleaseDC(Control(control.id), dc);
  }
}

// Go to through Ctrl+G: each kind of text makes its cell current as a click
// would; a refused one moves nothing and the dialog says why.
TEST_F(MainWindowRoadsTest, GoToMakesTheNamedCellCurrentAsAClickWould) {
  OpenThroughDialog(path);
  GoTo(5, 10);
  const struct {
    std::vector<std::wstring> typed;
    GridCell cell;
    const wchar_t* code;
    const wchar_t* hexOffset;
    std::size_t refusals;
  } cases[] = {
      {{L"105:28"}, {105, 28}, L"■ : 31", L"1EE2", 0},
      {{L"１９：３０"}, {19, 30}, L"平 : 4", L"589", 0},
      {{L"@0x12E"}, {5, 1}, L"平 : 4", L"12E", 0},
      {{L"200:1"}, {200, 1}, L"", L"", 0},  // a placeholder, as in the grid
      {{L"@302"}, {5, 1}, L"平 : 4", L"12E", 0},
      {{L"400:1", L"@99999", L"Ｘ", L"330 : 70"}, {330, 70}, L"平 : 4", L"6145", 3},
  };
  for (const auto& example : cases) {
    SCOPED_TRACE(example.typed.back());
    dialogs.texts = example.typed;
    dialogs.refusals.clear();
    Shortcut('G');
    EXPECT_EQ(form->Grid().CurrentCell(), example.cell);
    EXPECT_TRUE(form->Grid().IsCellInView(example.cell.column, example.cell.row));
    EXPECT_EQ(TextOf(Control(IdLabel1)),
              std::to_wstring(example.cell.column) + L" : " + std::to_wstring(example.cell.row));
    EXPECT_EQ(TextOf(Control(IdEdit1)), example.code);
    EXPECT_EQ(TextOf(Control(IdEdit2)), example.hexOffset);
    EXPECT_EQ(dialogs.refusals.size(), example.refusals);
  }
  EXPECT_EQ(dialogs.lastPrompt.text, L"5 : 1") << "the field starts with the current cell's position";

  // Cancelled, nothing moves.
  dialogs.refusals.clear();
  dialogs.texts = {L"@0x7FFFFFFF"};
  Shortcut('G');
  EXPECT_EQ(form->Grid().CurrentCell(), (GridCell{330, 70}));
  EXPECT_EQ(dialogs.refusals, std::vector<std::wstring>{L"そのオフセットは地図の外です。オフセットは 0-26575 です"});
}

// The real dialog: its line, its field focused with the position selected, a
// refused text answered on a line of its own while it stays open, then Enter.
class SystemPrompts : public ScriptedDialogs {
 public:
  std::optional<std::wstring> AskText(HWND owner, const TextPrompt& prompt) override {
    return SystemDialogs().AskText(owner, prompt);
  }
};

TEST_F(MainWindowRoadsTest, TheGoToDialogStaysOpenWithTheReasonUntilACellIsNamed) {
  OpenThroughDialog(path);
  GoTo(5, 10);
  SystemPrompts prompts;
  struct {
    std::wstring rule, field, refusal;
    DWORD selectionEnd = 0;
    bool fieldFocused = false, stayedOpen = false;
  } seen;
  const DWORD mainThread = GetCurrentThreadId();
  ModalAnswerer answerer(PromptDialogClassName, L"マスへ移動", [&](HWND dialog) {
    HWND rule = FindWindowExW(dialog, nullptr, L"Static", nullptr);
    HWND refusal = FindWindowExW(dialog, rule, L"Static", nullptr);
    HWND field = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
    seen.rule = TextOf(rule);
    seen.field = TextOf(field);
    DWORD start = 0;
    SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&seen.selectionEnd));
    GUITHREADINFO thread{};
    thread.cbSize = sizeof(thread);
    GetGUIThreadInfo(mainThread, &thread);
    seen.fieldFocused = thread.hwndFocus == field;

    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"5:99"));
    PostKey(field, VK_RETURN);
    for (int wait = 0; wait < 300 && TextOf(refusal).empty(); ++wait) Sleep(10);
    seen.refusal = TextOf(refusal);
    seen.stayedOpen = IsWindowVisible(dialog) != FALSE;
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"19 : 30"));
    PostKey(field, VK_RETURN);
  });
  Shortcut('G');
  ASSERT_TRUE(answerer.Join());
  EXPECT_EQ(seen.rule, Widen(GoToRule()));
  EXPECT_EQ(seen.field, L"5 : 10");
  EXPECT_EQ(seen.selectionEnd, 6u);
  EXPECT_TRUE(seen.fieldFocused);
  EXPECT_EQ(seen.refusal, L"そのマスは地図の外です。列は 1-352、行は 1-76 です");
  EXPECT_TRUE(seen.stayedOpen);
  EXPECT_EQ(form->Grid().CurrentCell(), (GridCell{19, 30}));
  EXPECT_EQ(TextOf(Control(IdLabel1)), L"19 : 30");
  EXPECT_TRUE(IsWindowEnabled(Main()));

  ModalAnswerer escape(PromptDialogClassName, L"マスへ移動", [](HWND dialog) {
    HWND field = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1:1"));
    PostKey(field, VK_ESCAPE);
  });
  Shortcut('G');
  ASSERT_TRUE(escape.Join());
  EXPECT_EQ(form->Grid().CurrentCell(), (GridCell{19, 30}));
}

// Save a copy writes the image now, unsaved edit included, and leaves the
// map's file, the caption, the name and the history as they were.
TEST_F(MainWindowRoadsTest, SaveACopyWritesTheImageNowAndLeavesTheMapAsItWas) {
  OpenThroughDialog(path);
  const std::wstring caption = TextOf(Main());
  GoTo(120, 30);
  ChooseRoadEntry(13);  // 丘陵
  const MapPath copy = folder.File(u"copy.VLT");
  dialogs.saveAnswer = WideFromPath(copy);
  Command(IdSaveCopy1);

  EXPECT_EQ(dialogs.lastSaveSettings.fileName, WideFromPath(folder.File(u"MAPDATA - コピー.VLT")));
  EXPECT_EQ(dialogs.lastSaveSettings.initialFolder + L"MAPDATA.VLT", WideFromPath(path));
  std::vector<std::uint8_t> edited = map;
  edited[CellToOffset(120, 30)] = 3;
  EXPECT_EQ(ReadBytes(copy), edited);
  EXPECT_EQ(ReadBytes(path), map);
  EXPECT_EQ(TextOf(Main()), caption);
  EXPECT_EQ(form->Model().MapFileName(), path);
  EXPECT_TRUE(MenuItemEnabled(IdUndo1));
  EXPECT_TRUE(dialogs.errorBoxes.empty());
}

// The changes since the Open as a patch, through the save dialog that
// offers the patch formats: the text patch as diff --patch writes it, in
// UTF-8; with nothing changed, a word and no file.
TEST_F(MainWindowRoadsTest, SaveChangesAsAPatchWritesWhatDiffWrites) {
  OpenThroughDialog(path);
  GoTo(120, 30);
  ChooseRoadEntry(13);  // 丘陵
  const MapPath patch = folder.File(u"mod.txt");
  dialogs.saveAnswer = WideFromPath(patch);
  Command(IdSavePatch1);
  EXPECT_EQ(dialogs.lastSaveSettings.filter,
            L"テキストのパッチ (*.txt)|*.txt|BPS パッチ (*.bps)|*.bps|IPS パッチ (*.ips)|*.ips");
  EXPECT_EQ(dialogs.lastSaveSettings.defaultExtension, L"txt");
  const std::vector<std::uint8_t> written = ReadBytes(patch);
  EXPECT_EQ(std::string(written.begin(), written.end()), u8"120:30 0x2306 8966: 平 (4) -> 丘 (3)\n違うバイト: 1\n");
  EXPECT_TRUE(dialogs.errorBoxes.empty());

  Shortcut('Z');
  const MapPath none = folder.File(u"none.bps");
  dialogs.saveAnswer = WideFromPath(none);
  Command(IdSavePatch1);
  ASSERT_EQ(dialogs.errorBoxes.size(), 1u);
  EXPECT_EQ(dialogs.errorBoxes[0], L"開いたときから変わったマスはありません。パッチは書きません.");
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(none)));
}

// Export and import through their dialogs, both starting in the map's
// folder: the exchange formats and the picture out, a spreadsheet's file in
// as one step; a file that is the open map by another name is refused.
TEST_F(MainWindowRoadsTest, ExportAndImportGoThroughTheFormatList) {
  OpenThroughDialog(path);
  const std::wstring mapFolder = WideFromPath(path).substr(0, WideFromPath(path).find_last_of(L'\\') + 1);
  for (const char16_t* name : {u"map.tmj", u"map.csv", u"map.png"}) {
    dialogs.saveAnswer = WideFromPath(folder.File(name));
    Command(IdExport1);
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder.File(name))));
  }
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder.File(u"valtea-terrain.png"))));
  EXPECT_EQ(dialogs.lastSaveSettings.initialFolder, mapFolder);
  EXPECT_EQ(dialogs.lastSaveSettings.filter,
            L"テキスト形式 (*.csv)|*.csv|Tiled の地図 (*.tmj;*.json)|*.tmj;*.json|PNG の絵 (*.png)|*.png");
  EXPECT_TRUE(dialogs.errorBoxes.empty());

  // The spreadsheet's map with one cell changed comes in as one step.
  std::vector<std::uint8_t> changed = map;
  changed[CellToOffset(120, 30)] = 3;
  MapImage changedImage{};
  std::copy(changed.begin(), changed.end(), changedImage.begin());
  const MapPath csv = folder.File(u"changed.csv");
  const std::string text = MapToText(changedImage);
  WriteBytes(csv, std::vector<std::uint8_t>(text.begin(), text.end()));
  dialogs.openAnswer = WideFromPath(csv);
  Command(IdImport1);
  EXPECT_EQ(dialogs.lastOpenSettings.initialFolder, mapFolder);
  EXPECT_EQ(dialogs.lastOpenSettings.filter, L"テキスト形式 (*.csv)|*.csv|Tiled の地図 (*.tmj;*.json)|*.tmj;*.json");
  EXPECT_EQ(form->Model().MapImage(), changedImage);
  EXPECT_EQ(ReadBytes(path), map) << "only Save writes it";
  Shortcut('Z');
  EXPECT_TRUE(std::equal(map.begin(), map.end(), form->Model().MapImage().begin()));

  const MapPath link = folder.File(u"link.csv");
  std::filesystem::create_hard_link(std::filesystem::path(path), std::filesystem::path(link));
  dialogs.saveAnswer = WideFromPath(link);
  Command(IdExport1);
  ASSERT_EQ(dialogs.errorBoxes.size(), 1u);
  EXPECT_EQ(dialogs.errorBoxes[0], WideFromPath(link) + L" は開いている地図のファイル " + WideFromPath(path) +
                                       L" と同じファイルなので、書き込みません.");
  EXPECT_EQ(ReadBytes(path), map);
}

// A patch goes through its preview: what it is, its lines with the
// conflicts first, the sides chosen there; then one step. Cancelled, or a
// BPS made for another map, nothing changes.
class MainWindowPatchTest : public MainWindowPictureTest {
 protected:
  // A text patch: 120:30 plain to hills, and 121:30, which the map has as
  // plain, from hills to marsh: a conflict.
  MapPath WritePatch() {
    const MapPath patch = folder.File(u"mod.txt");
    const std::string text = u8"120:30 0x2306 8966: 平 (4) -> 丘 (3)\n121:30 0x239E 9118: 丘 (3) -> 湿 (5)\n違うバイト: 2\n";
    WriteBytes(patch, std::vector<std::uint8_t>(text.begin(), text.end()));
    return patch;
  }

  // A pixel of a cell's ring, on its right, where no other ring reaches.
  COLORREF RingPixel(GridCell cell) {
    UpdateWindow(Picture().Window());
    const POINT centre = CentreOf(cell);
    HDC dc = GetDC(Picture().Window());
    const COLORREF shown = GetPixel(dc, centre.x + 3 * Picture().Scale() - 1, centre.y);
    ReleaseDC(Picture().Window(), dc);
    return shown;
  }
};

TEST_F(MainWindowPatchTest, APatchIsAppliedThroughItsPreviewAsOneStep) {
  OpenThroughDialog(path);
  const MapPath patch = WritePatch();
  dialogs.openAnswer = WideFromPath(patch);
  dialogs.patchSides = std::vector<bool>{true};
  Command(IdApplyPatch1);
  ASSERT_EQ(dialogs.patchPreviews, 1);
  const PatchPreview& preview = dialogs.lastPatchPreview;
  EXPECT_EQ(preview.caption, L"パッチの確認 - mod.txt");
  EXPECT_EQ(preview.summary, L"変えたマス: 1  当て済みのマス: 0  衝突: 1");
  EXPECT_EQ(preview.conflicts,
            std::vector<std::wstring>{L"121:30 0x239E 9118: 地図は 平 (4)、パッチは 丘 (3) -> 湿 (5)"});
  EXPECT_EQ(preview.changes, std::vector<std::wstring>{L"120:30 0x2306 8966: 平 (4) -> 丘 (3)"});
  EXPECT_EQ(dialogs.lastOpenSettings.filter,
            L"テキストのパッチ (*.txt)|*.txt|BPS パッチ (*.bps)|*.bps|IPS パッチ (*.ips)|*.ips|すべてのファイル (*.*)|*.*");
  EXPECT_EQ(form->Model().MapImage()[CellToOffset(120, 30)], 3);
  EXPECT_EQ(form->Model().MapImage()[CellToOffset(121, 30)], 5) << "the patch's side";
  Shortcut('Z');
  EXPECT_TRUE(std::equal(map.begin(), map.end(), form->Model().MapImage().begin()));
  EXPECT_FALSE(MenuItemEnabled(IdUndo1)) << "one step";

  dialogs.patchSides.reset();  // キャンセル
  Command(IdApplyPatch1);
  EXPECT_TRUE(std::equal(map.begin(), map.end(), form->Model().MapImage().begin()));

  MapImage other{};
  MapImage otherAfter = other;
  otherAfter[0] = 4;
  const MapPath bps = folder.File(u"other.bps");
  WriteBytes(bps, MakeBps(other, otherAfter));
  dialogs.openAnswer = WideFromPath(bps);
  Command(IdApplyPatch1);
  ASSERT_EQ(dialogs.errorBoxes.size(), 1u);
  EXPECT_EQ(dialogs.errorBoxes[0].rfind(L"BPS パッチ " + WideFromPath(bps) + L" はこの地図には当たりません。", 0), 0u);
  EXPECT_EQ(dialogs.patchPreviews, 2) << "no preview for a misfit";

  // A patch dropped on the window opens its preview.
  dialogs.patchSides = std::vector<bool>{false};
  Drop({patch});
  EXPECT_EQ(dialogs.patchPreviews, 3);
  EXPECT_EQ(form->Model().MapImage()[CellToOffset(120, 30)], 3);
  EXPECT_EQ(form->Model().MapImage()[CellToOffset(121, 30)], 4) << "the map's side";
}

// While the preview is open the picture rings the cells the patch would
// change, its conflict in another colour; after it, the rings are gone.
TEST_F(MainWindowPatchTest, ThePictureRingsWhatThePatchWouldChangeWhileItIsPreviewed) {
  OpenThroughDialog(path);
  Command(IdMapPicture1);
  GoTo(100, 20);  // the outline away from the rings
  dialogs.openAnswer = WideFromPath(WritePatch());
  dialogs.patchSides = std::vector<bool>{true};
  const auto ringPixel = [&](GridCell cell) { return RingPixel(cell); };
  COLORREF changed = 0, conflicting = 0;
  dialogs.whilePreviewing = [&] {
    changed = ringPixel({120, 30});
    conflicting = ringPixel({121, 30});
  };
  Command(IdApplyPatch1);
  EXPECT_EQ(changed, RGB(0, 90, 255)) << "blue: a cell the patch changes";
  EXPECT_EQ(conflicting, RGB(230, 0, 230)) << "magenta: a conflict";
  const Image drawn = DrawMapPicture(form->Model().MapImage(), Picture().Scale());
  for (const GridCell cell : {GridCell{120, 30}, GridCell{121, 30}}) {
    const POINT centre = CentreOf(cell);
    const Rgba pixel = drawn.At(Picture().Origin().x + centre.x + 3 * Picture().Scale() - 1,
                                Picture().Origin().y + centre.y - Picture().PictureTop());
    EXPECT_EQ(ringPixel(cell), RGB(pixel.r, pixel.g, pixel.b)) << "no ring after the preview";
  }
}

// The real preview: 適用 waits for a side; Space changes a conflict's side,
// a button all of them, Enter applies.
class SystemPatchPreview : public ScriptedDialogs {
 public:
  std::optional<PreviewAnswer> AskPatchSides(HWND owner, const PatchPreview& preview) override {
    return SystemDialogs().AskPatchSides(owner, preview);
  }
};

TEST_F(MainWindowPatchTest, ThePreviewWaitsForASideOfEveryConflict) {
  OpenThroughDialog(path);
  const MapPath patch = WritePatch();
  SystemPatchPreview real;
  real.openAnswer = WideFromPath(patch);
  struct {
    int lines = 0;
    bool applyAtFirst = true, applyAfterSpace = false;
    std::wstring conflictLine;
  } seen;
  ModalAnswerer answerer(PatchPreviewClassName, L"パッチの確認 - mod.txt", [&](HWND dialog) {
    HWND list = FindWindowExW(dialog, nullptr, L"ListBox", nullptr);
    HWND apply = GetDlgItem(dialog, IDOK);
    seen.lines = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    seen.applyAtFirst = IsWindowEnabled(apply) != FALSE;
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    PostKey(list, VK_SPACE);
    for (int wait = 0; wait < 300 && !IsWindowEnabled(apply); ++wait) Sleep(10);
    seen.applyAfterSpace = IsWindowEnabled(apply) != FALSE;
    wchar_t line[256] = {};
    SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line));
    seen.conflictLine = line;
    PostKey(list, VK_RETURN);
  });
  Command(IdApplyPatch1);
  ASSERT_TRUE(answerer.Join());
  EXPECT_EQ(seen.lines, 2);
  EXPECT_FALSE(seen.applyAtFirst);
  EXPECT_TRUE(seen.applyAfterSpace);
  EXPECT_EQ(seen.conflictLine, L"121:30 0x239E 9118: 地図は 平 (4)、パッチは 丘 (3) -> 湿 (5)  → パッチの後のコードにします");
  EXPECT_EQ(form->Model().MapImage()[CellToOffset(121, 30)], 5);
  EXPECT_EQ(form->Model().MapImage()[CellToOffset(120, 30)], 3);
  EXPECT_TRUE(IsWindowEnabled(Main()));
}

// The real comparison window over a friend's map: 取り込む greyed until a
// side is the other map's; a line selected makes its cell current, Space
// takes it, rung in the conflict colour, and Enter takes what was chosen as
// one step.
TEST_F(MainWindowPatchTest, TheComparisonWindowRingsSelectsAndTakesByKeys) {
  OpenThroughDialog(path);
  Command(IdMapPicture1);
  GoTo(100, 20);
  std::vector<std::uint8_t> friends = map;
  friends[CellToOffset(120, 30)] = 3;
  friends[CellToOffset(121, 30)] = 5;
  const MapPath other = folder.File(u"friend.vlt");
  WriteBytes(other, friends);
  SystemPatchPreview real;
  real.openAnswer = WideFromPath(other);
  struct {
    bool takeAtFirst = true, takeAfterSpace = false;
    COLORREF before = 0, after = 0;
    std::wstring offset;
  } seen;
  ModalAnswerer answerer(ComparisonClassName, L"地図の比較 - friend.vlt", [&](HWND dialog) {
    HWND list = FindWindowExW(dialog, nullptr, L"ListBox", nullptr);
    HWND take = GetDlgItem(dialog, IDOK);
    seen.takeAtFirst = IsWindowEnabled(take) != FALSE;
    const auto ring = [&] { return RingPixel({121, 30}); };
    for (int wait = 0; wait < 300 && ring() != RGB(0, 90, 255); ++wait) Sleep(10);  // painted at idle
    seen.before = ring();
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    PostKey(list, VK_DOWN);
    PostKey(list, VK_SPACE);
    for (int wait = 0; wait < 300 && (!IsWindowEnabled(take) || ring() == seen.before); ++wait) Sleep(10);
    seen.takeAfterSpace = IsWindowEnabled(take) != FALSE;
    seen.after = ring();
    seen.offset = TextOf(Control(IdEdit3));
    PostKey(list, VK_RETURN);
  });
  Command(IdCompare1);
  ASSERT_TRUE(answerer.Join());
  EXPECT_EQ(real.lastOpenSettings.filter.rfind(L"地図ファイル (*.vlt)|*.vlt|テキスト形式", 0), 0u);
  EXPECT_FALSE(seen.takeAtFirst);
  EXPECT_TRUE(seen.takeAfterSpace);
  EXPECT_EQ(seen.before, RGB(0, 90, 255)) << "blue: a difference";
  EXPECT_EQ(seen.after, RGB(230, 0, 230)) << "magenta: taken";
  EXPECT_EQ(seen.offset, std::to_wstring(CellToOffset(121, 30))) << "the line selected is the current cell";
  EXPECT_EQ(form->Model().MapImage()[CellToOffset(121, 30)], 5);
  Shortcut('Z');
  EXPECT_TRUE(std::equal(map.begin(), map.end(), form->Model().MapImage().begin())) << "one step";
}

// Several patches from the real open dialog, listed in the real preview in
// the order of their names; 下へ reads them again in the new order, which
// 適用 applies.
class SystemOpenPathsAndPreview : public SystemPatchPreview {
 public:
  std::vector<std::wstring> AskOpenPaths(HWND owner, const OpenDialogSettings& settings) override {
    return SystemDialogs().AskOpenPaths(owner, settings);
  }
};

TEST_F(MainWindowPatchTest, SeveralPatchesFromTheOpenDialogAreAppliedInTheOrderChosen) {
  OpenThroughDialog(path);
  WritePatch();  // mod.txt: 120:30 plain to hills, and a conflict at 121:30
  const std::string text = u8"120:30 0x2306 8966: 平 (4) -> 湿 (5)\n違うバイト: 1\n";
  WriteBytes(folder.File(u"first.txt"), std::vector<std::uint8_t>(text.begin(), text.end()));
  SystemOpenPathsAndPreview real;
  std::wstring before, after;
  ModalAnswerer open(L"#32770", L"", [&](HWND dialog) { AnswerOpenDialog(dialog, L"\"mod.txt\" \"first.txt\""); });
  ModalAnswerer preview(PatchPreviewClassName, L"パッチの確認 - first.txt、mod.txt", [&](HWND dialog) {
    HWND lines = FindWindowExW(dialog, FindWindowExW(dialog, nullptr, L"ListBox", nullptr), L"ListBox", nullptr);
    const auto firstLine = [&] {
      wchar_t line[256] = {};
      SendMessageW(lines, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line));
      return std::wstring(line);
    };
    before = firstLine();
    PostMessageW(FindWindowExW(dialog, nullptr, L"Button", L"下へ(&D)"), BM_CLICK, 0, 0);
    for (int wait = 0; wait < 300 && firstLine() == before; ++wait) Sleep(10);
    after = firstLine();
    PostMessageW(FindWindowExW(dialog, nullptr, L"Button", L"衝突はすべてパッチの側(&T)"), BM_CLICK, 0, 0);
    for (int wait = 0; wait < 300 && !IsWindowEnabled(GetDlgItem(dialog, IDOK)); ++wait) Sleep(10);
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  });
  SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IdApplyPatch1, 0), 0);
  ASSERT_TRUE(open.Join());
  ASSERT_TRUE(preview.Join());
  Pump();
  EXPECT_EQ(before.rfind(L"mod.txt: 120:30 0x2306 8966: 地図は (first.txt の後)", 0), 0u);
  EXPECT_EQ(after.rfind(L"mod.txt: 121:30", 0), 0u) << "mod.txt first now";
  EXPECT_EQ(form->Model().MapImage()[CellToOffset(120, 30)], 5) << "first.txt's side, applied last";
  EXPECT_EQ(form->Model().MapImage()[CellToOffset(121, 30)], 5);
}

TEST_F(MainWindowRoadsTest, SaveACopyRefusesTheMapsOwnFileAndAFolder) {
  OpenThroughDialog(path);
  const MapPath subfolder = folder.File(u"saves");
  std::filesystem::create_directory(std::filesystem::path(subfolder));
  const MapPath sameFileOtherSpelling = folder.File(u"saves\\..\\mapdata.vlt");
  const struct {
    MapPath target;
    std::wstring box;
  } refusals[] = {
      {sameFileOtherSpelling, WideFromPath(sameFileOtherSpelling) +
                                  L" は開いている地図のファイルです。上書きするには「上書き保存」を使ってください."},
      {subfolder, WideFromPath(subfolder) + L" はフォルダです。ファイルの名前を選んでください."},
  };
  for (const auto& refusal : refusals) {
    dialogs.errorBoxes.clear();
    dialogs.saveAnswer = WideFromPath(refusal.target);
    Command(IdSaveCopy1);
    ASSERT_EQ(dialogs.errorBoxes.size(), 1u);
    EXPECT_EQ(dialogs.errorBoxes[0], refusal.box);
  }
  EXPECT_EQ(ReadBytes(path), map);
  EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(subfolder)));
}

// Tool windows open beside the main window, not over it, and beside each
// other; opened again in the run they come back where they were left, the
// picture at its scale.
TEST_F(MainWindowPictureTest, ToolWindowsOpenBesideTheMainWindowAndComeBackWhereTheyWereLeft) {
  OpenThroughDialog(path);
  const auto frameOf = [](HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    return frame;
  };
  const auto overlap = [](const RECT& a, const RECT& b) {
    RECT common{};
    return IntersectRect(&common, &a, &b) != FALSE;
  };
  Shortcut('M');
  Command(IdProblems1);
  ASSERT_NE(form->PictureForm(), nullptr);
  ASSERT_NE(form->ProblemsForm(), nullptr);
  const RECT main = frameOf(Main()), picture = frameOf(Picture().Window());
  const RECT problems = frameOf(form->ProblemsForm()->Window());
  EXPECT_FALSE(overlap(picture, main));
  EXPECT_FALSE(overlap(problems, main));
  EXPECT_FALSE(overlap(problems, picture));
  EXPECT_GE(picture.right - picture.left, 320);
  EXPECT_GE(picture.bottom - picture.top, 240);

  // The player moves, sizes and zooms the picture, then closes both.
  SetWindowPos(Picture().Window(), nullptr, 400, 300, 500, 420, SWP_NOZORDER);
  POINT screen{100, 100};
  ClientToScreen(Picture().Window(), &screen);
  SendMessageW(Picture().Window(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
  const int scale = Picture().Scale();
  PostKey(Picture().Window(), VK_ESCAPE);
  PostKey(form->ProblemsForm()->Window(), VK_ESCAPE);
  Pump();
  ASSERT_EQ(form->PictureForm(), nullptr);
  ASSERT_EQ(form->ProblemsForm(), nullptr);

  Shortcut('M');
  Command(IdProblems1);
  ASSERT_NE(form->PictureForm(), nullptr);
  const RECT back = frameOf(Picture().Window());
  EXPECT_EQ(back.left, 400);
  EXPECT_EQ(back.top, 300);
  EXPECT_EQ(back.right - back.left, 500);
  EXPECT_EQ(back.bottom - back.top, 420);
  EXPECT_EQ(Picture().Scale(), scale);
  const RECT problemsBack = frameOf(form->ProblemsForm()->Window());
  EXPECT_TRUE(EqualRect(&problemsBack, &problems));
}

// WM_DPICHANGED as Windows sends it when the window moves to a monitor of
// 144 dpi, and back: the layout, the fonts and the grid's cells follow, the
// window takes the rectangle suggested, and nothing of the map is lost.
TEST_F(MainWindowPictureTest, ADpiChangeRescalesEverythingAndLosesNothing) {
  OpenThroughDialog(path);
  GoTo(105, 28);
  Shortcut('M');
  const int pictureScale = Picture().Scale();
  const std::wstring code = TextOf(Control(IdEdit1));
  const std::string cellText = form->Grid().CellText(105, 28);
  const auto sendDpi = [this](int dpi) {
    RECT frame{};
    GetWindowRect(Main(), &frame);
    RECT suggested{0, 0, 864 * dpi / 96, 534 * dpi / 96};
    AdjustWindowRectEx(&suggested, GetWindowLongW(Main(), GWL_STYLE), TRUE, GetWindowLongW(Main(), GWL_EXSTYLE));
    OffsetRect(&suggested, frame.left - suggested.left, frame.top - suggested.top);
    SendMessageW(Main(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    Pump();
    GetWindowRect(Main(), &frame);
    EXPECT_TRUE(EqualRect(&frame, &suggested)) << "takes the suggested rectangle";
  };
  const auto cellWidth = [this] {
    const RECT cell = form->Grid().CellRectOf({105, 28});
    return cell.right - cell.left;
  };
  const int widthAt96 = cellWidth();

  sendDpi(144);
  ExpectDesignedLayout(*form, 144);

  EXPECT_EQ(cellWidth(), widthAt96 * 3 / 2);
  const auto toolFont = reinterpret_cast<HFONT>(SendMessageW(Control(IdEdit2), WM_GETFONT, 0, 0));
  LOGFONTW fixed{};
  GetObjectW(toolFont, sizeof(fixed), &fixed);
  EXPECT_EQ(std::abs(fixed.lfHeight), 18);
  EXPECT_STREQ(fixed.lfFaceName, L"ＭＳ ゴシック");

  sendDpi(96);
  ExpectDesignedLayout(*form, 96);
  EXPECT_EQ(cellWidth(), widthAt96);
  EXPECT_EQ(form->Grid().CurrentCell(), (GridCell{105, 28}));
  EXPECT_EQ(TextOf(Control(IdEdit1)), code);
  EXPECT_EQ(form->Grid().CellText(105, 28), cellText);
  EXPECT_EQ(Picture().Scale(), pictureScale) << "the picture keeps its own scale";
  EXPECT_TRUE(dialogs.errorBoxes.empty());

  // A tool window on its own: its band of tools follows, its picture does not.
  RECT frame{};
  GetWindowRect(Picture().Window(), &frame);
  SendMessageW(Picture().Window(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&frame));
  Pump();
  RECT tool{};
  SendMessageW(Picture().Tools(), TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(tool.left, 43);
  EXPECT_EQ(tool.right - tool.left, 35);
  EXPECT_EQ(Picture().PictureTop(), 44);
  EXPECT_EQ(RectInParent(Picture().Status()).bottom - RectInParent(Picture().Status()).top, 30);
  EXPECT_EQ(Picture().Scale(), pictureScale);
}

// During a stroke the status line counts its hexagons and says, in road's
// words, why the road cannot go where the pointer is.
TEST_F(MainWindowPictureTest, TheStatusLineSaysWhyTheBrushCannotGoOn) {
  map[CellToOffset(122, 29)] = 2;  // a mountain
  path = WriteMap(map);
  OpenThroughDialog(path);
  Shortcut('M');
  PostKey(Picture().Window(), 'B');
  Pump();
  HWND picture = Picture().Window();
  SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(CentreOf({120, 30}).x, CentreOf({120, 30}).y));
  SendMessageW(picture, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(CentreOf({121, 30}).x, CentreOf({121, 30}).y));
  EXPECT_EQ(TextOf(Picture().Status()), L"2 マス");
  SendMessageW(picture, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(CentreOf({122, 29}).x, CentreOf({122, 29}).y));
  EXPECT_EQ(TextOf(Picture().Status()),
            L"2 マス  122:29 の 山 (2) では道が終われません "
            L"(道の端は平地、丘陵、湿地、砂浜、馬産地、港湾、御所、城、町か道路のマス)");
  SendMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(CentreOf({122, 29}).x, CentreOf({122, 29}).y));
  Pump();
  EXPECT_EQ(TextOf(Picture().Status()), L"");
}

// The current cell's outline: the selection colour inside a rim that stands
// out from it, on every side, whatever the land; gone once another cell is current.
TEST_F(MainWindowPictureTest, TheCurrentCellStandsOutOnEveryTerrain) {
  OpenThroughDialog(path);
  Shortcut('M');
  for (int step = 0; step < 4; ++step)
    SendMessageW(Picture().Window(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), MAKELPARAM(10, 10));
  const COLORREF selection = GetSysColor(COLOR_HIGHLIGHT);
  // The sides of a hexagon with a pixel of one of `colours` near their middle.
  const auto sidesShowing = [this](GridCell cell, std::initializer_list<COLORREF> colours) {
    UpdateWindow(Picture().Window());
    const PicturePoint centre = HexCentreAt(CellToOffset(cell.column, cell.row), Picture().Scale());
    HDC dc = GetDC(Picture().Window());
    int sides = 0;
    for (Side side : AllSides) {
      const PicturePoint middle = SideMiddle(centre, side, Picture().Scale());
      bool found = false;
      for (int dx = -3; dx <= 3 && !found; ++dx)
        for (int dy = -3; dy <= 3 && !found; ++dy) {
          const COLORREF pixel = GetPixel(dc, middle.x - Picture().Origin().x + dx,
                                          middle.y - Picture().Origin().y + Picture().PictureTop() + dy);
          found = std::find(colours.begin(), colours.end(), pixel) != colours.end();
        }
      sides += found;
    }
    ReleaseDC(Picture().Window(), dc);
    return sides;
  };
  // The rim is black or white, whichever stands out from the selection colour.
  const auto rim = {RGB(0, 0, 0), RGB(255, 255, 255)};
  for (GridCell cell : {GridCell{120, 30}, GridCell{105, 28}, GridCell{102, 30}}) {  // plain, castle, road
    SCOPED_TRACE(testing::Message() << cell.column << ":" << cell.row);
    GoTo(cell.column, cell.row);
    EXPECT_EQ(sidesShowing(cell, {selection}), SideCount);
    EXPECT_EQ(sidesShowing(cell, rim), SideCount);
  }
  GoTo(140, 40);
  EXPECT_EQ(sidesShowing({120, 30}, {selection}), 0);
  EXPECT_EQ(sidesShowing({120, 30}, rim), 0);
}

// ---- the road brush and the eraser ----

class MainWindowBrushTest : public MainWindowPictureTest {
 protected:
  void OpenPicture() {
    OpenThroughDialog(path);
    Shortcut('M');
    ASSERT_NE(form->PictureForm(), nullptr);
  }
  LPARAM At(GridCell cell) const {
    const POINT centre = CentreOf(cell);
    return MAKELPARAM(centre.x, centre.y);
  }
  // A drag of the left button through the hexagons given, as real mouse messages.
  void Drag(std::initializer_list<GridCell> cells, bool release = true) {
    HWND picture = Picture().Window();
    const GridCell first = *cells.begin();
    SendMessageW(picture, WM_MOUSEMOVE, 0, At(first));
    SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, At(first));
    for (const GridCell& cell : cells) SendMessageW(picture, WM_MOUSEMOVE, MK_LBUTTON, At(cell));
    if (release) SendMessageW(picture, WM_LBUTTONUP, 0, At(*(cells.end() - 1)));
    Pump();
  }
  void PressToolKey(WPARAM key) {
    PostKey(Picture().Window(), key);
    Pump();
  }
  bool ToolPressed(int index) const {
    TBBUTTON button{};
    SendMessageW(Picture().Tools(), TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
    return (button.fsState & TBSTATE_CHECKED) != 0;
  }
};

// The tools by their keys and their buttons; the window opens again with the
// tool chosen last.
TEST_F(MainWindowBrushTest, ToolsAreChosenByKeyAndByButtonAndRemembered) {
  OpenPicture();
  EXPECT_EQ(Picture().CurrentTool(), TPictureForm1::Tool::Select);
  EXPECT_TRUE(ToolPressed(0));
  PressToolKey('B');
  EXPECT_EQ(Picture().CurrentTool(), TPictureForm1::Tool::Brush);
  EXPECT_TRUE(ToolPressed(1));
  EXPECT_FALSE(ToolPressed(0));
  PressToolKey('S');
  EXPECT_EQ(Picture().CurrentTool(), TPictureForm1::Tool::Select);
  RECT button{};
  SendMessageW(Picture().Tools(), TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&button));
  const LPARAM middle = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
  SendMessageW(Picture().Tools(), WM_LBUTTONDOWN, MK_LBUTTON, middle);
  SendMessageW(Picture().Tools(), WM_LBUTTONUP, 0, middle);
  Pump();
  EXPECT_EQ(Picture().CurrentTool(), TPictureForm1::Tool::Eraser);
  EXPECT_TRUE(ToolPressed(2));

  PostKey(Picture().Window(), VK_ESCAPE);
  Pump();
  ASSERT_EQ(form->PictureForm(), nullptr);
  Shortcut('M');
  EXPECT_EQ(Picture().CurrentTool(), TPictureForm1::Tool::Eraser);
  EXPECT_TRUE(ToolPressed(2));
  EXPECT_EQ(SendMessageW(Picture().Lands(), CB_GETCURSEL, 0, 0), 1) << "平地 at first";
}

// A drag draws the road the way draw does, a fast jump too, and the release
// is one step of the history; the grid, the fields and the problem window follow.
TEST_F(MainWindowBrushTest, AStrokeIsDrawnAsDrawDrawsItAndTakenBackByOneCtrlZ) {
  OpenPicture();
  Command(IdProblems1);
  const std::wstring problemsBefore = TextOf(form->ProblemsForm()->Summary());
  const GridCell current = form->Grid().CurrentCell();
  SetFocus(Picture().Window());
  PressToolKey('B');
  Drag({{120, 30}, {121, 30}, {122, 29}, {126, 27}});  // a diagonal, then a jump
  MapImage expected{};
  std::copy(map.begin(), map.end(), expected.begin());
  expected = DrawnRoad(expected, {CellToOffset(120, 30), CellToOffset(121, 30), CellToOffset(122, 29),
                                  CellToOffset(126, 27)}).image;
  EXPECT_EQ(form->Model().MapImage(), expected);
  EXPECT_EQ(form->Grid().CurrentCell(), current) << "the grid stays where the player left it";
  EXPECT_EQ(form->Grid().CellText(126, 27), EditCellText(expected[CellToOffset(126, 27)]));
  EXPECT_NE(TextOf(form->ProblemsForm()->Summary()), problemsBefore) << "two loose ends more";
  EXPECT_TRUE(MenuItemEnabled(IdUndo1));

  Shortcut('Z');
  EXPECT_TRUE(std::equal(map.begin(), map.end(), form->Model().MapImage().begin()));
  EXPECT_FALSE(MenuItemEnabled(IdUndo1)) << "one step for the whole stroke";
  EXPECT_EQ(TextOf(form->ProblemsForm()->Summary()), problemsBefore);
}

// A stroke held beyond the window's edge scrolls the picture toward the
// pointer at each tick of its timer, and the road follows into what is seen.
TEST_F(MainWindowBrushTest, AStrokeHeldBeyondTheEdgeScrollsThePictureAndTheRoadFollows) {
  OpenPicture();
  PressToolKey('B');
  HWND picture = Picture().Window();
  RECT client{};
  GetClientRect(picture, &client);
  SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, At({120, 30}));
  SendMessageW(picture, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.right + 40, CentreOf({120, 30}).y));
  const int seenBefore = Picture().Origin().x + client.right;
  for (int tick = 0; tick < 3; ++tick) SendMessageW(picture, WM_TIMER, TPictureForm1::StrokeScrollTimerId, 0);
  EXPECT_EQ(Picture().Origin().x + client.right, seenBefore + 3 * 16);
  SendMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(client.right + 40, CentreOf({120, 30}).y));
  Pump();
  int rightmost = 0;
  for (int offset = 0; offset < MapSize; ++offset)
    if (form->Model().MapImage()[offset] != map[offset]) rightmost = std::max(rightmost, HexCentreAt(offset, Picture().Scale()).x);
  EXPECT_GT(rightmost, seenBefore) << "into what came into view";
  EXPECT_LT(rightmost, seenBefore + 3 * 16 + 2 * Picture().Scale()) << "and no further";
}

// Esc with the button held takes the stroke back and keeps the window; a
// stroke that changes nothing records no step.
TEST_F(MainWindowBrushTest, EscDuringAStrokeTakesItBackAndKeepsTheWindow) {
  OpenPicture();
  SetFocus(Picture().Window());
  PressToolKey('B');
  Drag({{120, 30}, {121, 30}, {122, 29}}, false);
  ASSERT_TRUE(Picture().Stroking());
  PostKey(Picture().Window(), VK_ESCAPE);
  Pump();
  ASSERT_NE(form->PictureForm(), nullptr);
  EXPECT_FALSE(Picture().Stroking());
  SendMessageW(Picture().Window(), WM_LBUTTONUP, 0, At({122, 29}));
  Pump();
  EXPECT_TRUE(std::equal(map.begin(), map.end(), form->Model().MapImage().begin()));
  EXPECT_FALSE(MenuItemEnabled(IdUndo1));

  Drag({{110, 30}});  // a castle alone: nothing to draw
  EXPECT_FALSE(MenuItemEnabled(IdUndo1));
  EXPECT_TRUE(dialogs.errorBoxes.empty());
}

// The eraser over a road just drawn on plain gives the map back, as one
// step; the status line names the hexagon under the pointer.
TEST_F(MainWindowBrushTest, TheEraserTakesTheRoadBackIntoTheLandChosen) {
  OpenPicture();
  SetFocus(Picture().Window());
  PressToolKey('B');
  Drag({{120, 30}, {121, 30}, {122, 29}, {123, 29}});
  const MapImage drawn = form->Model().MapImage();
  PressToolKey('E');
  // Over every hexagon the road took.
  HWND picture = Picture().Window();
  SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, At({120, 30}));
  for (int offset = 0; offset < MapSize; ++offset)
    if (drawn[offset] != map[offset]) SendMessageW(picture, WM_MOUSEMOVE, MK_LBUTTON, At(OffsetToCell(offset)));
  SendMessageW(picture, WM_LBUTTONUP, 0, At({123, 29}));
  Pump();
  EXPECT_TRUE(std::equal(map.begin(), map.end(), form->Model().MapImage().begin()));
  Shortcut('Z');
  EXPECT_EQ(form->Model().MapImage(), drawn);

  SendMessageW(Picture().Window(), WM_MOUSEMOVE, 0, At({105, 28}));
  EXPECT_EQ(TextOf(Picture().Status()), L"105 : 28 本城 31");
}

// The colours: from the View menu, a check item; a stroke that joins two
// castles draws its road in their network's colour at once and the status
// line says what it joined; Ctrl+Z says it back.
TEST_F(MainWindowBrushTest, TheNetworksColoursFollowAStroke) {
  OpenPicture();
  Command(IdNetworkColours1);
  EXPECT_TRUE(GetMenuState(form->Menu(), IdNetworkColours1, MF_BYCOMMAND) & MF_CHECKED);
  SetFocus(Picture().Window());
  PressToolKey('B');
  Drag({{105, 28}, {106, 28}, {107, 27}, {108, 27}, {109, 26}, {110, 26}, {110, 27}, {110, 28}, {110, 29}, {110, 30}});
  const MapImage& image = form->Model().MapImage();
  const NetworkLook look = LookOfNetworks(image);
  ASSERT_NE(look.roadColours[CellToOffset(107, 27)], OwnRoadColour);
  UpdateWindow(Picture().Window());
  const POINT at = CentreOf({107, 27});
  HDC dc = GetDC(Picture().Window());
  const COLORREF shown = GetPixel(dc, at.x, at.y);
  ReleaseDC(Picture().Window(), dc);
  std::vector<std::uint8_t> pixel(1);
  const PicturePoint centre = HexCentreAt(CellToOffset(107, 27), Picture().Scale());
  MapPicturePainter(image, Picture().Scale(), look.rings, look.roadColours)
      .DrawPart({centre.x, centre.y, 1, 1}, pixel.data(), 1);
  const Rgba drawn = MapPictureRingPalette()[pixel[0]];
  EXPECT_EQ(shown, RGB(drawn.r, drawn.g, drawn.b));
  EXPECT_NE(TextOf(Picture().Status()).find(L"の道路網につながりました"), std::wstring::npos);
  Shortcut('Z');
  EXPECT_NE(TextOf(Picture().Status()).find(L"の道路網から離れました"), std::wstring::npos);
}

// The distances window follows the current cell and the map; Enter on a
// line makes that place current.
TEST_F(MainWindowRoadsTest, TheDistancesWindowFollowsTheCurrentCell) {
  OpenThroughDialog(path);
  Command(IdShapeRoads1);
  GoTo(101, 30);
  Command(IdDistances1);
  TDistancesForm1* distances = form->DistancesForm();
  ASSERT_NE(distances, nullptr);
  EXPECT_EQ(TextOf(distances->Window()), L"道のり - 本城");
  ASSERT_EQ(distances->List().Count(), 1);
  PostKey(distances->List().Window(), VK_RETURN);
  Pump();
  EXPECT_EQ(form->Grid().CurrentCell(), (GridCell{105, 28}));
  EXPECT_EQ(TextOf(distances->Summary()), L"本城 (105:28)") << "it follows the current cell";
}

// Save over a file that another program rewrote asks first, each time, and
// いいえ writes nothing; back in the window, a change not asked about yet is
// asked about once, and はい reads the file again.
TEST_F(MainWindowRoadsTest, AFileRewrittenBehindThePlayersBackIsNotOverwrittenUnasked) {
  OpenThroughDialog(path);
  Command(IdShapeRoads1);
  std::vector<std::uint8_t> other = map;
  other[CellToOffset(120, 30)] = 3;
  WriteBytes(path, other);
  const auto activate = [&] {
    SendMessageW(Main(), WM_ACTIVATE, WA_ACTIVE, 0);
    Pump();
  };
  Command(IdSave1);
  ASSERT_EQ(dialogs.questions.size(), 1u);
  EXPECT_NE(dialogs.questions[0].find(L"上書きしますか?"), std::wstring::npos);
  EXPECT_EQ(ReadBytes(path), other) << "いいえ writes nothing";
  activate();
  EXPECT_EQ(dialogs.questions.size(), 1u) << "asked at Save already";
  dialogs.yes = true;
  other[CellToOffset(122, 30)] = 3;
  WriteBytes(path, other);
  activate();
  ASSERT_EQ(dialogs.questions.size(), 2u);
  EXPECT_TRUE(std::equal(other.begin(), other.end(), form->Model().MapImage().begin())) << "read again";
  EXPECT_FALSE(MenuItemEnabled(IdUndo1)) << "as an Open";
  dialogs.yes = false;
  Command(IdShapeRoads1);
  WriteBytes(path, map);
  activate();
  ASSERT_EQ(dialogs.questions.size(), 3u);
  EXPECT_TRUE(MenuItemEnabled(IdUndo1)) << "いいえ keeps the image and its history";
}
