#include "Problems1.h"

#include <algorithm>

#include "platform/Text.h"
#include "ui/Layout.h"

namespace {

constexpr wchar_t ClassName[] = L"TProblemsForm1";
constexpr DWORD Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr std::string_view CaptionStart = "道路網の問題";

enum ControlId : WORD { Summary1Id = 1, List1Id };

// "道路網の問題 - 12 件"
std::wstring CaptionFor(std::size_t count) {
  return Widen(std::string(CaptionStart) + " - " + std::to_string(count) + " 件");
}

}  // namespace

TProblemsForm1::TProblemsForm1(ToolWindowPlace place, std::function<void(int index)> goTo)
    : ToolWindow(std::move(place)) {
  RegisterFormClassOnce(ClassName);
  WindowArgs args;
  args.className = ClassName;
  args.caption = CaptionFor(0);
  args.style = Style;
  CreateToolWindow(args, ScaledForOwner(Layout::ProblemsClientWidth, Layout::ProblemsClientHeight));

  Summary1.Create({Window(), Summary1Id, Layout::ProblemsSummary, nullptr, SS_LEFT | SS_NOPREFIX, 0, {}, Dpi()});
  List1.Create({Window(), List1Id, Layout::ProblemsList, nullptr, WS_TABSTOP, WS_EX_CLIENTEDGE, {}, Dpi()});
  List1.onActivate = std::move(goTo);
  RECT client{};
  GetClientRect(Window(), &client);
  OnSize(client.right, client.bottom);
}

void TProblemsForm1::ShowProblems(const std::vector<std::wstring>& lines, const std::wstring& summary) {
  SetWindowTextIfChanged(Window(), CaptionFor(lines.size()));
  Summary1.SetText(summary);
  List1.SetItems(lines);
}

LRESULT TProblemsForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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
void TProblemsForm1::OnSize(int width, int height) {
  if (List1.Window() == nullptr) return;
  const int margin = Scaled(Layout::ProblemsList.left);
  const int top = Scaled(Layout::ProblemsList.top);
  SetWindowPos(List1.Window(), nullptr, margin, top, std::max(0, width - 2 * margin), std::max(0, height - top - margin),
               SWP_NOZORDER | SWP_NOACTIVATE);
}
