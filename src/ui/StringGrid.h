#pragma once
// The map grid view: 353 x 77 cells of one-line Shift-JIS text, with a fixed
// header column and row. It stores the texts it is given and reports the
// current cell; the rules of where the current cell and the view go live in
// GridNavigation, this class only turns messages into calls of it and paints.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "map/HexGrid.h"
#include "ui/Accessibility.h"
#include "ui/BaseWindow.h"
#include "ui/Controls.h"
#include "ui/GridNavigation.h"
#include "ui/Handles.h"
#include "ui/Layout.h"

// A control like the standard ones, though a window class of its own: one
// window object, which its parent rescales with its controls.
class StringGrid : private BaseWindow, private AccessibleTable {
 public:
  // The timer that scrolls while the left button is held outside the cells.
  static constexpr UINT_PTR TrackingTimerId = 1;

  StringGrid();
  ~StringGrid() override;

  HWND Window() const { return BaseWindow::Window(); }
  // Creates the control as a child of args.parent at args.box, disabled, with
  // WS_TABSTOP, both scroll bars and a client edge; args.style and
  // args.exStyle are not used.
  void Create(const ControlArgs& args);
  void SetEnabled(bool enabled);
  void SetCellText(int column, int row, std::string shiftJisText);  // stores, invalidates only that cell
  const std::string& CellText(int column, int row) const;
  GridCell CurrentCell() const;
  // Makes a cell current and scrolls it fully into view; raises no click event.
  void SetCurrentCell(GridCell cell);
  GridCell ViewPosition() const;  // first non-fixed column and row in view
  bool IsCellInView(int column, int row) const;
  RECT CellRectOf(GridCell cell) const { return CellRect(cell.column, cell.row); }  // in client pixels

  // The click event: the user made a cell current, with the mouse or the keyboard.
  std::function<void()> onClick;
  // The keyboard focus came to the grid.
  std::function<void()> onFocus;
  // What a screen reader reads for a cell. The grid knows no terrain, so its
  // owner names the cells; without it a cell is named by its place, "5 : 10".
  std::function<std::wstring(GridCell cell)> cellName;
  // The child number of a cell for a screen reader: 1 for 1, 1, row by row.
  static long ChildOf(GridCell cell);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void RecoverFromEscapedError() noexcept override;
  // Cells, lines and the font follow the DPI; the current cell and the view stay.
  void FollowParentDpi(int dpi) override;

 private:
  struct Placement {
    GridCell current;
    GridCell view;
  };

  // Messages.
  void OnPaint();
  void OnPrintClient(HDC dc);
  void OnSize(int width, int height);
  void OnFocusChanged(bool gotFocus);
  void OnKeyDown(UINT key);
  void OnMouseWheel(int wheelDelta);
  void OnScroll(int bar, int request, int thumbPosition);
  void OnNonClientButtonDown(WPARAM hitTest);
  void OnButtonDown(PixelPoint point, bool leftButton, bool secondClick);
  void OnMouseMove(PixelPoint point);
  void OnLeftButtonUp(PixelPoint point);
  void OnTimer(UINT_PTR timerId);
  void OnCaptureChanged();

  // Helpers.
  bool TakeFocus();
  void MoveFocusToNextControl(bool backwards);
  Placement CurrentPlacement() const;
  void ShowChanges(const Placement& before);
  void MarkTextChanged(GridCell cell);
  void InvalidateChangedTexts();
  void InvalidateRectangles(const std::vector<RECT>& rectangles);
  void InvalidateCell(GridCell cell);
  void UpdateScrollBars();
  void UpdateScrollPositions(GridCell from, GridCell to);
  void DrawScrollBars();
  void ScrollView(GridCell from, GridCell to);
  static void Blit(HDC dc, int dx, int dy, const RECT& rect, HRGN uncovered);
  void StopTracking();
  void RaiseClick();
  void RaiseCurrentCellEvents();
  LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);

  // AccessibleTable.
  HWND TableWindow() const override { return Window(); }
  long ChildCount() const override;
  std::wstring ChildName(long child) const override;
  RECT ChildScreenRect(long child) const override;
  long FocusedChild() const override;
  long ChildAt(POINT screen) const override;
  static GridCell CellOfChild(long child);
  static GridGeometry GeometryAt(int dpi);
  RECT CellRect(int column, int row) const;
  std::size_t IndexOf(int column, int row) const;

  // Painting.
  struct CellPainter {
    explicit CellPainter(HDC dc);
    void Use(COLORREF background, COLORREF text);
    HDC dc;
    struct Colours {
      COLORREF window, windowText, face, highlight, highlightText;
    } colours;
    COLORREF background = CLR_INVALID;
    COLORREF text = CLR_INVALID;
  };
  void Paint(HDC dc, const RECT& area);
  void PaintCell(CellPainter& painter, int column, int row);
  const std::wstring& WideText(std::size_t index);  // widened at its first drawing
  void PaintLines(HDC dc, const RECT& area, const std::vector<int>& columns, const std::vector<int>& rows);
  void PaintBeyondLastCell(HDC dc);
  void PaintFocus(HDC dc, const RECT& area);

  GridNavigation navigation_;
  std::vector<std::string> texts_;
  std::vector<std::wstring> wideTexts_;  // the same, ready to draw where wideReady_
  std::vector<bool> wideReady_;
  std::vector<bool> changedTexts_;  // in view, not yet marked for painting; see MarkTextChanged
  bool textsChanged_ = false;
  Layout::Box box_{};                     // at 96 dots per inch
  const FontKind* fontKind_ = &Fonts::Window;
  HFONT font_ = nullptr;
  PixelPoint pointer_;  // the last pointer position seen while tracking
  TableAccessible* accessible_ = nullptr;  // made at the first request of a screen reader
  struct {
    bool horizontal = false;
    bool vertical = false;
    bool posted = false;
  } barsToDraw_;
};
