#pragma once
// The main window: the map grid, the toolbar, the side panel with the road
// chooser and the info fields, and the menu. It owns the one editor model of
// the run; each user action runs one model operation and then shows the
// model's view state in the controls.

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "Distances1.h"
#include "Picture1.h"
#include "Problems1.h"
#include "model/EditorModel.h"
#include "platform/Win32FileSystem.h"
#include "ui/ApplicationWindow.h"
#include "ui/BaseWindow.h"
#include "ui/Commands.h"
#include "ui/Controls.h"
#include "ui/PatchPreviewDialog.h"
#include "ui/Dialogs.h"
#include "ui/Handles.h"
#include "ui/StringGrid.h"
#include "ui/ToolWindow.h"

// Command identifiers: each menu item, shortcut and toolbar button.
enum MainCommand : WORD {
  IdOpen1 = 101,
  IdSave1,
  IdExit1,
  IdContents1,
  IdAbout1,
  IdOpenToolButton1,
  IdSaveToolButton2,
  IdUndo1,
  IdRedo1,
  IdMapPicture1,
  IdProblems1,
  IdNextProblem1,
  IdPreviousProblem1,
  IdShapeRoads1,
  IdSetRoadStart1,
  IdLayRoad1,
  IdSaveCopy1,
  IdSavePatch1,
  IdApplyPatch1,
  IdExport1,
  IdImport1,
  IdGoToCell1,
  IdNetworkColours1,
  IdDistances1,
  IdCompare1,
};

// The controls' identifiers, apart from the commands' so that no
// notification of a control is taken for a command.
enum MainControl : WORD {
  IdToolBar1 = 301,
  IdStringGrid1,
  IdRoadComboBox1,
  IdEdit1,
  IdEdit2,
  IdEdit3,
  IdLabel1,
};

// Where the game is normally installed; the open dialog starts there.
extern const wchar_t DefaultGameFolder[];

// Made with MakeWindow, so that the window goes before the parts it uses.
class TMainForm1 : public BaseWindow, private EditorView {
 public:
  explicit TMainForm1(std::wstring gameFolder = DefaultGameFolder);

  // Creates the window and its controls, hidden, then runs FormCreate.
  void CreateWindowAndControls();
  void Show(int showCommand);
  // Shortcuts, Tab and the problem window's keys, for the message loop;
  // true when the message was used.
  bool PreTranslateMessage(MSG& message);

  // For tests and the message loop.
  const EditorModel& Model() const { return model_; }
  StringGrid& Grid() { return StringGrid1; }
  HWND Control(MainControl id) const;
  HMENU Menu() const { return MainMenu1; }
  HWND TaskbarWindow() const { return application_.Window(); }
  // The problem window while it is open, or null.
  TProblemsForm1* ProblemsForm() const { return ProblemsForm1.get(); }
  TDistancesForm1* DistancesForm() const { return DistancesForm1.get(); }
  TPictureForm1* PictureForm() const { return PictureForm1.get(); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Building the window.
  CommandTable MakeCommands();
  void CreateMenuBar();
  void CreateToolBar();
  void CreateSidePanel();
  ControlArgs ArgsOf(MainControl id, const Layout::Box& box, DWORD style = 0, DWORD exStyle = 0) const;
  void ConnectEvents();
  void OnDpiChanged() override;

  // Handlers, one per user action.
  void FormCreate();
  void Open1Click();
  void OpenToolButton1Click();
  void Save1Click();
  void SaveToolButton2Click();
  void SaveCopy1Click();
  void SavePatch1Click();
  void ApplyPatch1Click();
  void ApplyPatchFiles(std::vector<MapPath> paths);
  PatchPreview PreviewOf(const PatchChain& chain) const;
  void Compare1Click();
  void CompareWith(const MapPath& path);
  void ShowRings(std::vector<MapRing> rings);
  template <typename Ask>
  auto AskOverPicture(std::vector<MapRing> rings, Ask&& ask);
  void Export1Click();
  void Import1Click();
  std::wstring MapFolder() const;
  void GoToCell1Click();
  void Exit1Click();
  void About1Click();
  void StringGrid1Click();
  void RoadComboBox1Change();
  void Undo1Click();
  void Redo1Click();
  void Problems1Click();
  void NextProblem1Click();
  void PreviousProblem1Click();
  void ShapeRoads1Click();
  void SetRoadStart1Click();
  void LayRoad1Click();
  void MapPicture1Click();
  void FormDropFiles(HDROP drop);
  void PictureForm1CellClicked(GridCell cell);
  void PictureForm1StrokeEnded(const MapImage& drawn);
  void ShowPicture();
  void ProblemsForm1GoTo(int index);
  void NetworkColours1Click();
  void SaveCommand();
  void CheckMapFile();
  static UINT CheckFileMessage();
  void Distances1Click();
  void DistancesForm1GoTo(int index);

  void OpenCommand();
  void OpenPath(const std::wstring& path);
  template <typename Operation>
  void RunModelOperation(Operation&& operation);
  void ShowViewState();
  void FollowAtIdle();
  static UINT FollowMessage();
  void OnFollow();
  void ShowProblems();
  void ShowDistances();
  HWND NextTabStop(bool backwards) const;

  // Messages.
  void OnCommand(WORD id);
  void OnSysCommand(WPARAM command, LPARAM lParam);
  void OnActivate(WPARAM wParam, LPARAM lParam);
  void OnSetFocus();
  void RememberFocusedControl(HWND focus);
  void OnDestroy();

  // EditorView: what the model needs from the window.
  void FinishPendingRepaints() override;
  void SetCellText(int column, int row, std::string text) override;
  const std::string& CellText(int column, int row) const override;
  GridCell CurrentCell() const override;
  void SetCurrentCell(int column, int row) override;

  std::wstring gameFolder_;
  Win32FileSystem files_;
  EditorModel model_;
  OpenDialogSettings OpenDialog1_;
  ApplicationWindow application_;

  CommandTable commands_;
  MenuHandle menuBar_;    // until the window takes it over as MainMenu1
  HMENU MainMenu1 = nullptr;
  AcceleratorHandle accelerators_;
  HICON icon_ = nullptr;  // a shared resource icon: not destroyed

  StringGrid StringGrid1;
  ToolBar ToolBar1;
  ComboBox RoadComboBox1;
  EditField Edit1;
  EditField Edit2;
  EditField Edit3;
  Label Label1;
  WindowPtr<TProblemsForm1> ProblemsForm1;
  WindowPtr<TDistancesForm1> DistancesForm1;
  WindowPtr<TPictureForm1> PictureForm1;
  PictureMemory pictureMemory_;
  // What the picture rings while a patch is previewed.
  std::vector<MapRing> patchRings_;
  ToolWindows toolWindows_;
  unsigned long problemsShown_ = 0;  // the map revision the problem window shows
  bool followPending_ = false;
  bool checkPending_ = false;  // a look at the map file is posted

  // The control that had the keyboard focus last; it gets it back whenever
  // the window is active again.
  HWND focusedControl_ = nullptr;
};
