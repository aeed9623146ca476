#include "Problems1.h"

#include "platform/Text.h"

namespace {

constexpr std::string_view CaptionStart = "道路網の問題";

// "道路網の問題 - 12 件"
std::wstring CaptionFor(std::size_t count) {
  return Widen(std::string(CaptionStart) + " - " + std::to_string(count) + " 件");
}

}  // namespace

TProblemsForm1::TProblemsForm1(ToolWindowPlace place, std::function<void(int index)> goTo)
    : ListWindow(std::move(place), L"TProblemsForm1", std::move(goTo)) {
  ShowLines(CaptionFor(0), {}, {});
}

void TProblemsForm1::ShowProblems(const std::vector<std::wstring>& lines, const std::wstring& summary) {
  ShowLines(CaptionFor(lines.size()), summary, lines);
}
