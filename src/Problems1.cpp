#include "Problems1.h"

#include "platform/Text.h"
#include "ui/Dpi.h"
#include "ui/Fonts.h"
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

TProblemsForm1::TProblemsForm1(HWND owner, std::function<void(int index)> goTo, std::function<void()> closed)
    : closed_(std::move(closed)) {
  RegisterFormClassOnce(ClassName);
  RECT frame{0, 0, Scale(Layout::ProblemsClientWidth), Scale(Layout::ProblemsClientHeight)};
  AdjustWindowRectEx(&frame, Style, FALSE, 0);
  RECT ownerFrame{};
  GetWindowRect(owner, &ownerFrame);
  WindowArgs args;
  args.className = ClassName;
  args.caption = CaptionFor(0);
  args.style = Style;
  args.x = ownerFrame.left + Scale(Layout::ProblemsOffsetFromMainLeft);
  args.y = ownerFrame.top + Scale(Layout::ProblemsOffsetFromMainTop);
  args.width = frame.right - frame.left;
  args.height = frame.bottom - frame.top;
  args.parent = owner;
  Create(args);

  ControlArgs summary{Window(), Summary1Id, Layout::ProblemsSummary, DefaultWindowFont(), SS_LEFT | SS_NOPREFIX};
  Summary1.Create(summary);
  ControlArgs list{Window(), List1Id, Layout::ProblemsList, DefaultWindowFont(), WS_TABSTOP, WS_EX_CLIENTEDGE};
  List1.Create(list);
  List1.onActivate = std::move(goTo);
  controlEvents_.Add(Summary1);
  controlEvents_.Add(List1);
}

void TProblemsForm1::ShowProblems(const std::vector<std::wstring>& lines, const std::wstring& summary) {
  SetWindowTextW(Window(), CaptionFor(lines.size()).c_str());
  Summary1.SetText(summary);
  List1.SetItems(lines);
}

void TProblemsForm1::BringToFront() { ShowInFront(List1.Window()); }

bool TProblemsForm1::PreTranslateMessage(const MSG& message) { return CloseOnEscape(message); }

LRESULT TProblemsForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      controlEvents_.Command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      return 0;
    case WM_VKEYTOITEM:
      return controlEvents_.KeyToItem(reinterpret_cast<HWND>(lParam), LOWORD(wParam)).value_or(-1);
    case WM_SIZE:
      OnSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) List1.Focus();
      return 0;
    case WM_CLOSE:
      DestroyWindow(Window());
      return 0;
    case WM_DESTROY:
      if (closed_) closed_();
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

// The list takes whatever the window has beyond its margins.
void TProblemsForm1::OnSize(int width, int height) {
  if (List1.Window() == nullptr) return;
  const int margin = Scale(Layout::ProblemsList.left);
  const int top = Scale(Layout::ProblemsList.top);
  SetWindowPos(List1.Window(), nullptr, margin, top, std::max(0, width - 2 * margin), std::max(0, height - top - margin),
               SWP_NOZORDER | SWP_NOACTIVATE);
}
