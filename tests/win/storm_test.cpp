// A storm of mixed input under Wine: the real main window, with its picture
// and problem windows, driven through a long seeded sequence of what a user
// does, sent as real messages. It holds the editor to the history's promise:
// undoing every step gives back the map as it was read, byte for byte in the
// saved file; redoing every step gives back the newest state. On the way no
// action may take longer than a bound, no fault may reach the error box, and
// every few hundred actions the grid, the info fields, the chooser and the
// picture must show what the map image holds.
//
// VALTEA_STORM_ACTIONS and VALTEA_STORM_SEED set its length and seed
// (scripts/storm.sh). A failure prints the seed and the fewest last actions
// that still go wrong when replayed alone in a fresh window, found by
// replaying more and more of them; VALTEA_STORM_FROM replays from a given
// action, and VALTEA_STORM_TRACE prints the state after each action and
// every error box.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <windowsx.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Main1.h"
#include "formats/FileFormats.h"
#include "map/HexGrid.h"
#include "map/MapText.h"
#include "map/RoadNetwork.h"
#include "map/RoadStroke.h"
#include "operations/MapOperations.h"
#include "patch/Bps.h"
#include "patch/Ips.h"
#include "patch/TextPatch.h"
#include "picture/MapPicture.h"
#include "platform/Text.h"
#include "support/RandomLand.h"
#include "support/TempFolder.h"
#include "support/WindowTesting.h"

namespace {

// Beyond this an action hangs, as far as a user can tell.
constexpr double MostMillisecondsAnAction = 10000;
constexpr int ActionsBetweenLooks = 250;

int Setting(const char* name, int otherwise) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::atoi(value) : otherwise;
}

std::vector<std::uint8_t> Bytes(const MapImage& image) { return {image.begin(), image.end()}; }

std::string Utf8(const std::wstring& text) {
  std::string utf8(text.size() * 3 + 1, '\0');
  utf8.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                                           utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr)));
  return utf8;
}

// What went wrong, and at which action.
struct StormFault {
  long action;
  std::string what;
};

// One run of the storm in a fresh main window over a fresh copy of the map.
class Storm {
 public:
  Storm(std::uint64_t seed, const MapImage& map) : seed_(seed), map_(map) {
    mapPath_ = folder_.File(u"MAPDATA.VLT");
    WriteBytes(mapPath_, Bytes(map));
    MakeFiles();
    form_ = MakeWindow<TMainForm1>(folder_.Path().wstring() + L"\\no game folder\\");
    form_->CreateWindowAndControls();
    form_->Show(SW_SHOWNORMAL);
    dialogs_.answer = WideFromPath(mapPath_);
    Command(IdOpen1);
    read_ = Model().MapImage();
    newest_ = read_;
  }

  // Actions first..last (inclusive); the first fault, if any.
  std::optional<StormFault> Run(long first, long last) {
    try {
      for (long action = first; action <= last; ++action) {
        at_ = action;
        const auto start = std::chrono::steady_clock::now();
        const unsigned long revision = Model().MapRevision();
        Act(action);
        // An accepted read: the image changed and the history is new.
        if (Model().MapRevision() != revision && !Model().UndoEnabled() && !Model().RedoEnabled())
          read_ = Model().MapImage();
        if (std::getenv("VALTEA_STORM_TRACE") != nullptr)
          std::printf("action %ld: revision %lu undo %d redo %d boxes %zu picture %d\n", action, Model().MapRevision(),
                      Model().UndoEnabled(), Model().RedoEnabled(), dialogs_.errorBoxes.size(), Picture() != nullptr);
        const double took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (took > MostMillisecondsAnAction) Fail("the action took " + std::to_string(static_cast<long>(took)) + " ms");
        CheckErrorBoxes();
        if (!Model().RedoEnabled()) newest_ = Model().MapImage();
        if ((action - first + 1) % ActionsBetweenLooks == 0) LookAtTheScreen();
      }
      LookAtTheScreen();
      CheckTheHistory();
    } catch (const StormFault& fault) {
      return fault;
    }
    return std::nullopt;
  }

  int Steps() const { return steps_; }
  unsigned long StepsRecorded() const { return Model().StepsRecorded(); }

 private:
  const EditorModel& Model() const { return form_->Model(); }
  HWND Main() const { return form_->Window(); }

  void Fail(const std::string& what) const { throw StormFault{at_, what}; }

  void Pump() {
    PumpMessages([this](MSG& message) { return form_->PreTranslateMessage(message); });
  }

  void Command(WORD id) {
    SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    Pump();
  }

  void Key(HWND window, WPARAM key, std::initializer_list<BYTE> held = {}) {
    HeldKeys keys(held);
    PostKey(window, key);
    Pump();
  }

  // ---- the files a user has beside the map: mods and exports ----

  void MakeFiles() {
    RandomNumbers random(seed_ * 7919 + 1);
    MapImage changed = map_;
    for (int cell = 0; cell < 40; ++cell) changed[random.Below(MapSize)] = static_cast<TerrainCode>(random.Below(35));
    std::string text;
    const std::vector<CellChange> changes = ChangesBetween(map_, changed);
    for (const CellChange& change : changes) text += ChangeLine(change) + "\n";
    text += ChangeSummary(changes.size()) + "\n";
    WriteFile(u"mod.txt", std::vector<std::uint8_t>(text.begin(), text.end()));
    const PatchBytes bps = MakeBps(map_, changed);
    WriteFile(u"mod.bps", std::vector<std::uint8_t>(bps.begin(), bps.end()));
    WriteFile(u"mod.ips", MakeIps(map_, changed));
    WriteFile(u"broken.txt", {'1', '9', ':', '3', '0', ' ', 'x', '\n'});
    const std::string csv = MapToText(changed);
    WriteFile(u"map.csv", std::vector<std::uint8_t>(csv.begin(), csv.end()));
    WriteFile(u"broken.csv", {'1', ',', '2', '\n'});
    patches_ = {u"mod.txt", u"mod.bps", u"mod.ips", u"broken.txt", u"missing.txt"};
    imports_ = {u"map.csv", u"broken.csv", u"missing.csv"};
    WriteFile(u"friend.vlt", Bytes(changed));
    WriteFile(u"short.vlt", {4, 4, 4});
    compared_ = {u"friend.vlt", u"map.csv", u"MAPDATA.VLT", u"short.vlt", u"broken.csv"};
  }

  void WriteFile(const std::u16string& name, const std::vector<std::uint8_t>& bytes) {
    WriteBytes(folder_.File(name), bytes);
  }

  std::wstring FileIn(const std::u16string& name) { return WideFromPath(folder_.File(name)); }

  // ---- the actions ----

  // An action is made from the seed and its number alone, so that the last
  // actions of a run can be replayed without the ones before them.
  void Act(long action) {
    RandomNumbers random(seed_ * 1000003 + static_cast<std::uint64_t>(action));
    switch (random.Below(25)) {
      case 0: case 1: return ClickCell(random);
      case 2: return DragInGrid(random);
      case 3: return GridKey(random);
      case 4: return Shortcut(random);
      case 5: case 6: return ChooseByMouse(random);
      case 7: return ChooseByKeys(random);
      case 8: case 9: return UndoOrRedo(random);
      case 10: return MenuCommand(random);
      case 11: return ListLine(random, form_->ProblemsForm(), IdProblems1);
      case 12: case 13: case 14: return Stroke(random);
      case 15: return PictureTool(random);
      case 16: return Patch(random);
      case 17: return Import(random);
      case 18: return GoTo(random);
      case 19: return UndoOrRedo(random);
      case 20: return ListLine(random, form_->DistancesForm(), IdDistances1);
      case 21: return Compare(random);
      case 22: return SeveralPatches(random);
      case 23: return RewriteMapFile(random);
      default: return Drop(random);
    }
  }

  void ClickCell(RandomNumbers& random) {
    HWND grid = form_->Control(IdStringGrid1);
    RECT client{};
    GetClientRect(grid, &client);
    const LPARAM at = MAKELPARAM(random.Below(std::max<LONG>(client.right, 1)), random.Below(std::max<LONG>(client.bottom, 1)));
    SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(grid, WM_LBUTTONUP, 0, at);
    Pump();
  }

  // The button pressed on one cell and let go over another.
  void DragInGrid(RandomNumbers& random) {
    HWND grid = form_->Control(IdStringGrid1);
    RECT client{};
    GetClientRect(grid, &client);
    const auto somewhere = [&] {
      return MAKELPARAM(random.Below(std::max<LONG>(client.right, 1)), random.Below(std::max<LONG>(client.bottom, 1)));
    };
    SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, somewhere());
    for (int move = random.Below(4); move >= 0; --move) SendMessageW(grid, WM_MOUSEMOVE, MK_LBUTTON, somewhere());
    SendMessageW(grid, WM_LBUTTONUP, 0, somewhere());
    Pump();
  }

  // A shortcut of the menus, pressed wherever the focus is.
  void Shortcut(RandomNumbers& random) {
    struct Keys {
      WPARAM key;
      bool control, shift;
    };
    static constexpr Keys Shortcuts[] = {{'S', true, false},   {'M', true, false}, {'B', true, false},
                                         {'L', true, false},   {VK_F8, false, false}, {VK_F8, false, true},
                                         {VK_F1, false, false}, {'O', true, false}};
    const Keys& keys = Shortcuts[random.Below(static_cast<int>(std::size(Shortcuts)))];
    if (keys.key == 'O' && random.Below(4) != 0) return;  // an open now and then, not at every turn
    HWND focus = GetFocus() != nullptr ? GetFocus() : Main();
    if (keys.control) Key(focus, keys.key, {VK_CONTROL});
    else if (keys.shift) Key(focus, keys.key, {VK_SHIFT});
    else Key(focus, keys.key);
  }

  void GridKey(RandomNumbers& random) {
    static constexpr WPARAM Keys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT, VK_HOME, VK_END};
    HWND grid = form_->Control(IdStringGrid1);
    SetFocus(grid);
    if (random.Below(4) == 0) return Key(grid, Keys[random.Below(8)], {VK_CONTROL});
    Key(grid, Keys[random.Below(8)]);
  }

  void ChooseByMouse(RandomNumbers& random) {
    HWND chooser = form_->Control(IdRoadComboBox1);
    if (!IsWindowEnabled(chooser)) return;
    SendMessageW(chooser, CB_SETCURSEL, random.Below(RoadChoiceCount), 0);
    SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IdRoadComboBox1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(chooser));
    Pump();
  }

  // Arrow keys in the chooser, closed or dropped down (then Enter or Esc).
  void ChooseByKeys(RandomNumbers& random) {
    HWND chooser = form_->Control(IdRoadComboBox1);
    if (!IsWindowEnabled(chooser)) return;
    SetFocus(chooser);
    const bool dropped = random.Below(2) == 0;
    if (dropped) SendMessageW(chooser, CB_SHOWDROPDOWN, TRUE, 0);
    for (int press = random.Below(3); press >= 0; --press) Key(chooser, random.Below(2) == 0 ? VK_DOWN : VK_UP);
    if (dropped) Key(chooser, random.Below(2) == 0 ? VK_RETURN : VK_ESCAPE);
  }

  void UndoOrRedo(RandomNumbers& random) {
    HWND focus = GetFocus() != nullptr ? GetFocus() : Main();
    switch (random.Below(4)) {
      case 0: return Key(focus, 'Y', {VK_CONTROL});
      case 1: return Key(focus, 'Z', {VK_CONTROL, VK_SHIFT});
      default: return Key(focus, 'Z', {VK_CONTROL});
    }
  }

  // Any command of the menus that keeps the program running.
  void MenuCommand(RandomNumbers& random) {
    static constexpr WORD Commands[] = {IdOpen1,       IdSave1,          IdSaveCopy1,     IdSavePatch1,  IdExport1,
                                        IdUndo1,       IdRedo1,          IdMapPicture1,   IdProblems1,   IdNextProblem1,
                                        IdPreviousProblem1, IdShapeRoads1, IdSetRoadStart1, IdLayRoad1, IdSaveToolButton2,
                                        IdNetworkColours1, IdDistances1};
    const WORD id = Commands[random.Below(static_cast<int>(std::size(Commands)))];
    static const std::u16string SavedNames[] = {u"copy.VLT", u"changes.txt", u"changes.bps", u"export.csv",
                                                u"export.tmj", u"export.png", u"MAPDATA.VLT"};
    dialogs_.saveAnswer = FileIn(SavedNames[random.Below(7)]);
    Command(id);
  }

  // Enter on a line of a list window, opened first when it is not.
  void ListLine(RandomNumbers& random, ListWindow* window, WORD opens) {
    if (window == nullptr || window->Window() == nullptr) return Command(opens);
    HWND list = FindWindowExW(window->Window(), nullptr, L"ListBox", nullptr);
    const int lines = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    if (lines <= 0) return;
    SetFocus(list);
    SendMessageW(list, LB_SETCURSEL, random.Below(lines), 0);
    Key(list, VK_RETURN);
  }

  TPictureForm1* Picture() {
    TPictureForm1* picture = form_->PictureForm();
    return picture != nullptr && picture->Window() != nullptr ? picture : nullptr;
  }

  LPARAM PointInPicture(RandomNumbers& random) {
    RECT client{};
    GetClientRect(Picture()->Window(), &client);
    const int top = Picture()->PictureTop();
    return MAKELPARAM(random.Below(std::max<LONG>(client.right, 1)),
                      top + random.Below(std::max<LONG>(client.bottom - top - 30, 1)));
  }

  void PictureTool(RandomNumbers& random) {
    if (Picture() == nullptr) return Command(IdMapPicture1);
    static constexpr WPARAM Tools[] = {'S', 'B', 'E', 'B', 'E'};
    SetFocus(Picture()->Window());
    Key(Picture()->Window(), Tools[random.Below(5)]);
    if (random.Below(4) == 0) {
      HWND lands = Picture()->Lands();
      SendMessageW(lands, CB_SETCURSEL, random.Below(4), 0);
      SendMessageW(Picture()->Window(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(lands), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(lands));
      Pump();
    }
  }

  // A drag over the picture with whatever tool it has, Esc in some; in
  // others the pointer leaves the window with the button held, and the
  // picture scrolls toward it for a few ticks of its timer.
  void Stroke(RandomNumbers& random) {
    if (Picture() == nullptr) return PictureTool(random);
    HWND window = Picture()->Window();
    LPARAM at = PointInPicture(random);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    for (int move = random.Below(12); move >= 0; --move) {
      const int x = GET_X_LPARAM(at) + random.Below(41) - 20, y = GET_Y_LPARAM(at) + random.Below(41) - 20;
      at = MAKELPARAM(std::max(0, x), std::max(Picture()->PictureTop(), y));
      SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at);
    }
    if (random.Below(4) == 0) {
      RECT client{};
      GetClientRect(window, &client);
      const int side = random.Below(4);
      at = MAKELPARAM(side == 0 ? -30 : side == 1 ? client.right + 30 : GET_X_LPARAM(at),
                      side == 2 ? Picture()->PictureTop() - 30 : side == 3 ? client.bottom + 30 : GET_Y_LPARAM(at));
      SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at);
      for (int tick = random.Below(4); tick >= 0 && Picture() != nullptr; --tick)
        SendMessageW(window, WM_TIMER, TPictureForm1::StrokeScrollTimerId, 0);
    }
    if (random.Below(6) == 0) Key(window, VK_ESCAPE);
    if (Picture() != nullptr) SendMessageW(Picture()->Window(), WM_LBUTTONUP, 0, at);
    Pump();
  }

  // A patch of the set through its preview: 適用 with random sides, or キャンセル.
  void Patch(RandomNumbers& random) {
    dialogs_.openAnswer = FileIn(patches_[random.Below(static_cast<int>(patches_.size()))]);
    dialogs_.patchSides.reset();
    if (random.Below(4) != 0) {
      std::vector<bool> sides;
      for (int conflict = 0; conflict < 64; ++conflict) sides.push_back(random.Below(2) == 0);
      dialogs_.patchSides = sides;
    }
    Command(IdApplyPatch1);
  }

  // Another map beside this one: lines selected and sides changed while it
  // is open, then 取り込む with random sides, or 閉じる.
  void Compare(RandomNumbers& random) {
    dialogs_.openAnswer = FileIn(compared_[random.Below(static_cast<int>(compared_.size()))]);
    dialogs_.patchSides.reset();
    std::vector<bool> sides;
    for (int line = 0; line < 64; ++line) sides.push_back(random.Below(3) == 0);
    if (random.Below(4) != 0) dialogs_.patchSides = sides;
    const int select = random.Below(64);
    dialogs_.whilePreviewing = [&] {
      const PatchPreview& preview = dialogs_.lastPatchPreview;
      if (static_cast<std::size_t>(select) < preview.conflicts.size()) preview.onSelect(static_cast<std::size_t>(select));
      preview.onSides(sides);
    };
    Command(IdCompare1);
    dialogs_.whilePreviewing = nullptr;
  }

  // Two or three mods at once, in an order of the player's.
  void SeveralPatches(RandomNumbers& random) {
    for (int patch = 2 + random.Below(2); patch > 0; --patch)
      dialogs_.openAnswers.push_back(FileIn(patches_[random.Below(3)]));
    dialogs_.patchOrder = {static_cast<std::size_t>(random.Below(2)), 0};  // as listed, or the first two swapped
    dialogs_.patchOrder[1] = 1 - dialogs_.patchOrder[0];
    dialogs_.patchSides = std::vector<bool>(64, random.Below(2) == 0);
    Command(IdApplyPatch1);
    dialogs_.openAnswers.clear();
    dialogs_.patchOrder.clear();
  }

  // Another program writes the map file; back in the window the player is
  // asked to read it again, or Save asks later. Either answer, at random.
  void RewriteMapFile(RandomNumbers& random) {
    std::vector<std::uint8_t> bytes = ReadBytes(mapPath_);
    if (bytes.size() != static_cast<std::size_t>(MapSize)) return;
    bytes[random.Below(MapSize)] = static_cast<std::uint8_t>(random.Below(35));
    WriteBytes(mapPath_, bytes);
    dialogs_.yes = random.Below(2) == 0;
    if (random.Below(2) == 0) return;
    SendMessageW(Main(), WM_ACTIVATE, WA_ACTIVE, 0);
    Pump();
  }

  void Import(RandomNumbers& random) {
    dialogs_.openAnswer = FileIn(imports_[random.Below(static_cast<int>(imports_.size()))]);
    Command(IdImport1);
  }

  void GoTo(RandomNumbers& random) {
    static const wchar_t* Texts[] = {L"19 : 30", L"@302", L"@0x12E", L"352:76", L"0:0", L"abc", L"１９：３０", L"@26576"};
    dialogs_.texts = {Texts[random.Below(8)], L"1:1"};
    HWND focus = GetFocus() != nullptr ? GetFocus() : Main();
    Key(focus, 'G', {VK_CONTROL});
  }

  // Files dropped from Explorer: a patch, an import, or the map itself.
  void Drop(RandomNumbers& random) {
    const std::u16string name = random.Below(8) == 0   ? std::u16string(u"MAPDATA.VLT")
                                : random.Below(2) == 0 ? patches_[random.Below(3)]
                                                       : imports_[0];
    dialogs_.patchSides = std::vector<bool>(64, random.Below(2) == 0);
    SendMessageW(Main(), WM_DROPFILES, reinterpret_cast<WPARAM>(DroppedFiles({FileIn(name)})), 0);
    Pump();
  }

  // ---- the checks ----

  // The error box tells the user why a command did nothing, in Japanese; a
  // fault of the program would show the words of the library that threw.
  void CheckErrorBoxes() {
    for (; boxesSeen_ < dialogs_.errorBoxes.size(); ++boxesSeen_) {
      const std::wstring& text = dialogs_.errorBoxes[boxesSeen_];
      if (std::getenv("VALTEA_STORM_TRACE") != nullptr) std::printf("box: %s\n", Utf8(text).c_str());
      const bool japanese = std::any_of(text.begin(), text.end(), [](wchar_t c) { return c > 0x3000; });
      if (!japanese || text.find(L"不明なエラー") != std::wstring::npos || text.find(L"メモリが足りません") != std::wstring::npos)
        Fail("the error box showed a fault: " + Utf8(text));
    }
  }

  void LookAtTheScreen() {
    if (!Model().MapLoaded()) return;
    const MapImage& image = Model().MapImage();
    const StringGrid& grid = form_->Grid();
    for (int offset = 0; offset < MapSize; ++offset) {
      const GridCell cell = OffsetToCell(offset);
      const std::string& text = grid.CellText(cell.column, cell.row);
      if (text != ReadCellText(offset, image[offset]) && text != EditCellText(image[offset]))
        Fail("cell " + std::to_string(cell.column) + ":" + std::to_string(cell.row) + " shows another code than " +
             std::to_string(image[offset]));
    }
    const GridCell current = form_->Grid().CurrentCell();
    const int offset = CellToOffset(current.column, current.row);
    if (Model().CurrentOffset() != offset) Fail("the model's cell is not the grid's");
    if (TextOf(form_->Control(IdLabel1)) != Widen(Model().PositionText())) Fail("the position field is not the model's");
    const std::wstring decimal = offset == NoMapOffset ? L"" : std::to_wstring(offset);
    if (TextOf(form_->Control(IdEdit3)) != decimal) Fail("the offset field is not the current cell's");
    const std::wstring code = TextOf(form_->Control(IdEdit1));
    if (offset != NoMapOffset && code.substr(code.rfind(L' ') + 1) != std::to_wstring(image[offset]))
      Fail("the code field is not the current cell's code");
    HWND chooser = form_->Control(IdRoadComboBox1);
    if ((IsWindowEnabled(chooser) != FALSE) != Model().RoadChooserEnabled() ||
        static_cast<int>(SendMessageW(chooser, CB_GETCURSEL, 0, 0)) != Model().RoadChooserIndex())
      Fail("the chooser does not show the current cell");
    if (offset != NoMapOffset && Model().RoadChooserIndex() != ChooserIndexOf(image[offset]) &&
        Model().RoadChooserEnabled())
      Fail("the chooser's entry is not the current cell's code");
    LookAtThePicture();
  }

  // Some hexagons in view show what the painter draws of the image there.
  void LookAtThePicture() {
    TPictureForm1* picture = Picture();
    if (picture == nullptr || picture->Stroking()) return;
    UpdateWindow(picture->Window());
    const bool problems = form_->ProblemsForm() != nullptr && form_->ProblemsForm()->Window() != nullptr;
    std::vector<MapRing> rings;
    if (problems)
      for (const RoadProblem& problem : FindRoadProblems(Model().MapImage())) rings.push_back({problem.offset, RingKind::Problem});
    NetworkLook networks;
    if (GetMenuState(form_->Menu(), IdNetworkColours1, MF_BYCOMMAND) & MF_CHECKED) networks = LookOfNetworks(Model().MapImage());
    rings.insert(rings.end(), networks.rings.begin(), networks.rings.end());
    const MapPicturePainter painter(Model().MapImage(), picture->Scale(), rings, networks.roadColours);
    RECT client{};
    GetClientRect(picture->Window(), &client);
    const GridCell current = form_->Grid().CurrentCell();
    HDC dc = GetDC(picture->Window());
    RandomNumbers random(seed_ + static_cast<std::uint64_t>(at_));
    for (int look = 0; look < 12; ++look) {
      const int offset = random.Below(MapSize);
      if (SlantDistance(offset, CellToOffset(current.column, current.row)) <= 1) continue;  // the outline
      const PicturePoint centre = HexCentreAt(offset, picture->Scale());
      const int x = centre.x - picture->Origin().x + 1, y = centre.y - picture->Origin().y + picture->Scale() / 2;
      if (x < 0 || x >= client.right || y < 0 || y >= client.bottom - picture->PictureTop() - 30) continue;
      std::uint8_t index = 0;
      painter.DrawPart({picture->Origin().x + x, picture->Origin().y + y, 1, 1}, &index, 1);
      const Rgba colour = MapPictureRingPalette()[index];
      const COLORREF shown = GetPixel(dc, x, y + picture->PictureTop());
      if (shown != RGB(colour.r, colour.g, colour.b)) {
        ReleaseDC(picture->Window(), dc);
        Fail("the picture shows another colour at offset " + std::to_string(offset));
      }
    }
    ReleaseDC(picture->Window(), dc);
  }

  // Every step undone, then redone, each compared in the file Save writes.
  void CheckTheHistory() {
    for (long undo = 0; Model().UndoEnabled(); ++undo) {
      if (undo > 1000000) Fail("Undo never ends");
      SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IdUndo1, 0), 0);
      ++steps_;
    }
    Pump();
    LookAtTheScreen();
    dialogs_.yes = true;  // over whatever another program wrote
    Command(IdSave1);
    if (Model().HistoryReachesRead() && ReadBytes(mapPath_) != Bytes(read_)) Fail("undoing every step is not the map as read");
    while (Model().RedoEnabled()) SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IdRedo1, 0), 0);
    Pump();
    LookAtTheScreen();
    Command(IdSave1);
    if (ReadBytes(mapPath_) != Bytes(newest_)) Fail("redoing every step is not the newest map");
    CheckErrorBoxes();
  }

  std::uint64_t seed_;
  MapImage map_;
  TempFolder folder_;
  MapPath mapPath_;
  ScriptedDialogs dialogs_;
  WindowPtr<TMainForm1> form_;
  std::vector<std::u16string> patches_, imports_, compared_;
  MapImage read_{}, newest_{};
  std::size_t boxesSeen_ = 0;
  long at_ = 0;
  int steps_ = 0;
};

MapImage StormMap() {
  RandomNumbers random(20261209);
  MapImage map = RandomLand(random);
  // Roads between some places, so that Shape, Lay and the eraser have work.
  const std::vector<int> places = PlacesOf(map);
  for (std::size_t index = 1; index < places.size() && index < 12; ++index) {
    try {
      map = DrawnRoad(map, {places[index - 1], places[index]}).image;
    } catch (const MapFileError&) {
    }
  }
  return map;
}

TEST(Storm, TheHistoryKeepsItsPromiseThroughMixedInput) {
  const int actions = Setting("VALTEA_STORM_ACTIONS", 1500);
  const auto seed = static_cast<std::uint64_t>(Setting("VALTEA_STORM_SEED", 1));
  const long from = Setting("VALTEA_STORM_FROM", 0);
  const MapImage map = StormMap();
  const auto start = std::chrono::steady_clock::now();
  std::optional<StormFault> fault;
  int steps = 0;
  unsigned long recorded = 0;
  {
    Storm storm(seed, map);
    fault = storm.Run(from, actions - 1);
    steps = storm.Steps();
    recorded = storm.StepsRecorded();
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("storm: seed %llu, %ld actions, %lu steps recorded, %d undone and redone at the end, %.1f seconds\n",
              static_cast<unsigned long long>(seed), fault ? fault->action - from + 1 : actions - from, recorded, steps,
              seconds);
  if (!fault) return;
  // The fewest last actions that still fail on their own: more and more of
  // them, each time from a fresh window and the map as first read, then
  // halving the difference.
  const long last = fault->action, longest = last - from + 1;
  const auto fails = [&](long length) { return Storm(seed, map).Run(last - length + 1, last).has_value(); };
  long passing = 0, length = 1;
  for (; length < longest && !fails(length); length *= 2) passing = length;
  length = std::min(length, longest);
  while (length - passing > 1) {  // the fewest failing lie in (passing, length]
    const long middle = (passing + length) / 2;
    (fails(middle) ? length : passing) = middle;
  }
  ADD_FAILURE() << "seed " << seed << ", action " << fault->action << ": " << fault->what
                << "\nthe fewest last actions that still fail: " << fault->action - length + 1 << ".." << fault->action
                << " (replay: VALTEA_STORM_SEED=" << seed << " VALTEA_STORM_FROM=" << fault->action - length + 1
                << " VALTEA_STORM_ACTIONS=" << fault->action + 1 << ")";
}

}  // namespace
