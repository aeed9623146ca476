#pragma once
// The main window: the map grid, the toolbar, the side panel with the road
// chooser and the info fields, and the menu. It owns the one editor model of
// the run; each user action runs one model operation and then shows the
// model's view state in the controls.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "model/EditorModel.h"
#include "platform/Win32FileSystem.h"
#include "ui/ApplicationWindow.h"
#include "ui/BaseWindow.h"
#include "ui/Dialogs.h"
#include "ui/Handles.h"
#include "ui/StringGrid.h"

// Command identifiers: each menu item, shortcut, toolbar button and control.
enum MainCommand : WORD {
  IdOpen1 = 101,
  IdSave1,
  IdExit1,
  IdContents1,
  IdAbout1,
  IdOpenToolButton1,
  IdSaveToolButton2,
  IdToolBar1,
  IdStringGrid1,
  IdRoadComboBox1,
  IdEdit1,
  IdEdit2,
  IdEdit3,
  IdLabel1,
  IdUndo,  // shortcuts only, without a menu item
  IdRedo,
};

// Where the game is normally installed; the open dialog starts there.
extern const wchar_t DefaultGameFolder[];

class TMainForm1 : public BaseWindow, private EditorView {
 public:
  explicit TMainForm1(std::wstring gameFolder = DefaultGameFolder);
  ~TMainForm1() override;

  // Creates the window and its controls, hidden, then runs FormCreate.
  void CreateWindowAndControls();
  void Show(int showCommand);
  // Shortcuts and Tab, for the message loop; true when the message was used.
  bool PreTranslateMessage(MSG& message);

  // For tests and the message loop.
  const EditorModel& Model() const { return model_; }
  const OpenDialogSettings& OpenDialog1() const { return OpenDialog1_; }
  StringGrid& Grid() { return StringGrid1; }
  HWND Control(MainCommand id) const;
  HMENU Menu() const { return MainMenu1; }
  HWND TaskbarWindow() const { return application_.Window(); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Building the window.
  void CreateFonts();
  void CreateMenuBar();
  void CreateToolBar();
  void CreateSidePanel();
  HWND CreateChild(const wchar_t* className, DWORD style, DWORD exStyle, const Layout::Box& box,
                   MainCommand id, const wchar_t* text = L"");

  // Handlers, one per user action.
  void FormCreate();
  void Open1Click();
  void OpenToolButton1Click();
  void Save1Click();
  void SaveToolButton2Click();
  void Exit1Click();
  void About1Click();
  void StringGrid1Click();
  void RoadComboBox1Change();
  void UndoShortcut();
  void RedoShortcut();

  void OpenCommand();
  template <typename Operation>
  void RunModelOperation(Operation&& operation);
  void ShowViewState();
  void SizeLabel1ToText();
  bool IsCommandEnabled(WORD id) const;
  HWND NextTabStop(bool backwards) const;
  bool RoadChooserDroppedDown() const;

  // Messages.
  void OnCommand(WORD id, WORD code, HWND control);
  LRESULT OnNotify(const NMHDR& header);
  LRESULT OnToolBarCustomDraw(const NMCUSTOMDRAW& draw);
  LRESULT OnControlColor(HDC dc, HWND control);
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

  StringGrid StringGrid1;
  HWND ToolBar1 = nullptr;
  HWND RoadComboBox1 = nullptr;
  HWND Edit1 = nullptr;
  HWND Edit2 = nullptr;
  HWND Edit3 = nullptr;
  HWND Label1 = nullptr;
  MenuHandle menuBar_;          // until the window takes it over as MainMenu1
  HMENU MainMenu1 = nullptr;
  AcceleratorHandle accelerators_;
  ImageListHandle imageList_;  // ImageList1
  HICON icon_ = nullptr;       // a shared resource icon: not destroyed
  FontHandle font_;            // "ＭＳ Ｐゴシック", for the window and most controls
  FontHandle fixedFont_;       // "ＭＳ ゴシック", for the offsets
  std::wstring tooltipText_;   // must outlive the tooltip's request for it
  // The control that had the keyboard focus last; it gets it back whenever
  // the window is active again.
  HWND focusedControl_ = nullptr;
};
