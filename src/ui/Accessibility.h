#pragma once
// What a screen reader is told: Microsoft Active Accessibility (IAccessible),
// which Wine implements, unlike UI Automation's events. oleacc.dll and
// oleaut32.dll are loaded on the first request, so a start without a screen
// reader costs nothing.

#include <windows.h>
#include <oleacc.h>

#include <optional>
#include <string>

// A table of cells as the grid describes it. Children are numbered from 1.
class AccessibleTable {
 public:
  virtual ~AccessibleTable() = default;
  virtual HWND TableWindow() const = 0;
  virtual long ChildCount() const = 0;
  virtual std::wstring ChildName(long child) const = 0;
  virtual RECT ChildScreenRect(long child) const = 0;
  // The current cell's child while the table has the keyboard focus, else 0.
  virtual long FocusedChild() const = 0;
  // The child at a point on the screen, or 0.
  virtual long ChildAt(POINT screen) const = 0;
};

// The IAccessible of a table, handed out for WM_GETOBJECT. The table lets go
// of it with Detach before it goes; from then on it answers that it is gone.
class TableAccessible;
TableAccessible* CreateTableAccessible(AccessibleTable& table);
void DetachTableAccessible(TableAccessible* accessible);  // and releases the table's reference

// The answer to WM_GETOBJECT for OBJID_CLIENT with the table's object.
LRESULT AnswerTableObject(TableAccessible* accessible, WPARAM wParam);

// The answer to a standard control's WM_GETOBJECT for OBJID_CLIENT: the
// system's own object under a name for screen readers only, which no
// caption on the screen gives it. None where the system has no object.
std::optional<LRESULT> AnswerNamedObject(HWND control, WPARAM wParam, const std::wstring& name);
