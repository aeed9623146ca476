#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include "support/ProgramRun.h"
#include "support/TempFolder.h"

namespace {

std::wstring Wide(const MapPath& text) { return std::wstring(text.begin(), text.end()); }

// Quoted so that the program's command line parser gives back each argument
// as it was: backslashes before a quote doubled, quotes escaped.
std::wstring Quoted(const std::wstring& argument) {
  std::wstring result = L"\"";
  int backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    result.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    result += c;
  }
  result.append(2 * backslashes, L'\\');
  return result + L"\"";
}

HANDLE InheritedFile(const MapPath& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(Wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string TextOf(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

}  // namespace

ProgramRun RunProgram(const MapPath& program, const std::vector<MapPath>& arguments) {
  TempFolder folder;
  std::wstring commandLine = Quoted(Wide(program));
  for (const MapPath& argument : arguments) commandLine += L" " + Quoted(Wide(argument));

  const HANDLE input = InheritedFile(u"NUL", GENERIC_READ, OPEN_EXISTING);
  const HANDLE output = InheritedFile(folder.File(u"out"), GENERIC_WRITE, CREATE_ALWAYS);
  const HANDLE error = InheritedFile(folder.File(u"err"), GENERIC_WRITE, CREATE_ALWAYS);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = output;
  startup.hStdError = error;
  PROCESS_INFORMATION process{};
  // Wine now and then fails to start a process while other tests start
  // theirs (here three times in some thousands of starts); another try
  // starts it, and what failed is said in the test's output.
  BOOL started = FALSE;
  DWORD failure = 0;
  for (int attempt = 0; attempt < 5 && !started; ++attempt) {
    if (attempt > 0) Sleep(100);
    started = CreateProcessW(Wide(program).c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                             nullptr, nullptr, &startup, &process);
    if (started) break;
    failure = GetLastError();
    std::fprintf(stderr, "CreateProcessW failed (error %lu), trying again\n", failure);
  }
  CloseHandle(input);
  CloseHandle(output);
  CloseHandle(error);
  if (!started) throw std::runtime_error("cannot start the program: error " + std::to_string(failure));

  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  ProgramRun run;
  run.status = static_cast<int>(status);
  run.out = TextOf(ReadBytes(folder.File(u"out")));
  run.err = TextOf(ReadBytes(folder.File(u"err")));
  return run;
}
