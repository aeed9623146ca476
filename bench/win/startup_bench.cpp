// Start-up of the editor beside Wine's own notepad, measured the same way in
// the same run: from creating the process until its main thread first waits
// for input, which is after the main window has been shown and painted.

#include <windows.h>

#include <cstdio>
#include <string>

#include "Timing.h"

namespace {

constexpr int Rounds = 15;

std::wstring EditorPath() {
  // This program lives in bench\, the editor in src\ of the same build tree.
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self);
  path.resize(path.find_last_of(L'\\'));
  path.resize(path.find_last_of(L'\\') + 1);
  return path + L"src\\ValteaRoadEditor.exe";
}

BOOL CALLBACK CloseThreadWindow(HWND window, LPARAM) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  return TRUE;
}

// Returns the milliseconds to the first wait for input, or a negative number.
double TimeStartUp(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  const double start = NowMilliseconds();
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return -1;
  const bool idle = WaitForInputIdle(process.hProcess, 20000) == 0;
  const double elapsed = NowMilliseconds() - start;

  EnumThreadWindows(process.dwThreadId, CloseThreadWindow, 0);
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return idle ? elapsed : -1;
}

bool Measure(const wchar_t* commandLine, Figures& figures) {
  TimeStartUp(commandLine);  // the first start also loads the files into the cache
  for (int round = 0; round < Rounds; ++round) {
    const double elapsed = TimeStartUp(commandLine);
    if (elapsed < 0) return false;
    figures.samples.push_back(elapsed);
  }
  return true;
}

}  // namespace

int main() {
  const std::wstring editor = L"\"" + EditorPath() + L"\"";
  Figures editorStart, notepadStart;
  if (!Measure(editor.c_str(), editorStart) || !Measure(L"notepad.exe", notepadStart)) {
    std::fprintf(stderr, "a program did not start\n");
    return 1;
  }
  std::printf("Start-up to the first wait for input, %d rounds each\n", Rounds);
  editorStart.Print("editor");
  notepadStart.Print("Wine's notepad");
  std::printf("editor / notepad (medians): %.2f (target at most 1.5)\n", editorStart.Median() / notepadStart.Median());
  return 0;
}
