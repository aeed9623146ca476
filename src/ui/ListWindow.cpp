#include "ui/ListWindow.h"

#include <algorithm>

#include "ui/Layout.h"

namespace {

constexpr DWORD Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

enum ControlId : WORD { Summary1Id = 1, List1Id };

}  // namespace

ListWindow::ListWindow(ToolWindowPlace place, const wchar_t* className, std::function<void(int index)> activate)
    : ToolWindow(std::move(place)) {
  RegisterFormClassOnce(className);
  WindowArgs args;
  args.className = className;
  args.style = Style;
  CreateToolWindow(args, ScaledForOwner(Layout::ListWindowClientWidth, Layout::ListWindowClientHeight));

  Summary1.Create({Window(), Summary1Id, Layout::ListWindowSummary, nullptr, SS_LEFT | SS_NOPREFIX, 0, {}, Dpi()});
  List1.Create({Window(), List1Id, Layout::ListWindowList, nullptr, WS_TABSTOP, WS_EX_CLIENTEDGE, {}, Dpi()});
  List1.onActivate = std::move(activate);
  RECT client{};
  GetClientRect(Window(), &client);
  OnSize(client.right, client.bottom);
}

void ListWindow::ShowLines(const std::wstring& caption, const std::wstring& heading,
                           const std::vector<std::wstring>& lines) {
  SetWindowTextIfChanged(Window(), caption);
  Summary1.SetText(heading);
  List1.SetItems(lines);
}

LRESULT ListWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      OnSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) List1.Focus();
      return 0;
    default: return ToolWindow::HandleMessage(message, wParam, lParam);
  }
}

// The list takes whatever the window has beyond its margins.
void ListWindow::OnSize(int width, int height) {
  if (List1.Window() == nullptr) return;
  const int margin = Scaled(Layout::ListWindowList.left);
  const int top = Scaled(Layout::ListWindowList.top);
  SetWindowPos(List1.Window(), nullptr, margin, top, std::max(0, width - 2 * margin), std::max(0, height - top - margin),
               SWP_NOZORDER | SWP_NOACTIVATE);
}
