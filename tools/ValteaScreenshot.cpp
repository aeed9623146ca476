// Takes a screenshot of the road editor, for the README and for looking at
// the editor without sitting at it:
//   ValteaScreenshot.exe <editor.exe> <out.png> [--open | --patch NAME]
// Starts the editor, waits until its main window is shown and idle, with
// --open opens the map through the real open dialog (Ctrl+O, then Enter on
// the preset file name), saves the window's area of the screen as a PNG and
// closes the editor. --patch also opens the map picture (Ctrl+M) and File >
// apply a patch with NAME, typed into the open dialog, which starts in the
// map's folder; the picture then shows the area of the main window, the
// picture and the patch's preview over them. A step that does not happen in
// time ends the run with a message on stderr and exit code 1.

#include <windows.h>

#include <dwmapi.h>

#include <cstdio>
#include <string>

#include "picture/Png.h"

namespace {

// Generous: the first program of a fresh Wine session takes seconds to start.
constexpr DWORD StepTimeout = 30000;
// After this long without an answer to a key press, the same step is done a
// second way, so that a lost key does not cost a whole run.
constexpr DWORD KeyAnswerTimeout = 10000;
constexpr DWORD PollInterval = 50;
constexpr wchar_t MainWindowClass[] = L"TMainForm1";
constexpr wchar_t DialogClass[] = L"#32770";  // the open dialog and message boxes
constexpr wchar_t PictureClass[] = L"TPictureForm1";
constexpr wchar_t PreviewClass[] = L"TPatchForm1";

struct StepFailed {
  std::wstring message;
};

template <typename Condition>
bool WaitFor(Condition condition, DWORD timeout) {
  DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= timeout) return false;
    Sleep(PollInterval);
  }
  return true;
}

template <typename Condition>
void WaitOrFail(Condition condition, DWORD timeout, const std::wstring& what) {
  if (!WaitFor(condition, timeout)) throw StepFailed{L"timed out waiting for " + what};
}

// ---- windows of the editor's process ----

struct WindowSearch {
  DWORD processId;
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  if (processId != search->processId || !IsWindowVisible(window) || lstrcmpW(className, search->className) != 0)
    return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindVisibleWindow(DWORD processId, const wchar_t* className) {
  WindowSearch search{processId, className, nullptr};
  EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

// The text of a message box: its static control, id 0xFFFF.
std::wstring MessageOf(HWND box) {
  HWND text = GetDlgItem(box, 0xFFFF);
  return text ? TextOf(text) : TextOf(box);
}

// Waits until the editor has handled everything sent to it so far and has
// nothing left to do, then a little longer, so that it has painted.
void LetSettle(HANDLE process, HWND window) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, StepTimeout, &result);
  WaitForInputIdle(process, StepTimeout);
  Sleep(500);
  WaitForInputIdle(process, StepTimeout);
}

// ---- input ----

void BringToFront(HWND window) {
  SetForegroundWindow(window);
  WaitFor([&] { return GetForegroundWindow() == window; }, 2000);
}

INPUT KeyInput(WORD key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

// Presses the keys in order and releases them in reverse, like a chord.
void PressChord(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) inputs.push_back(KeyInput(key, false));
  for (auto key = keys.end(); key != keys.begin();) inputs.push_back(KeyInput(*--key, true));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Types a text as a user would, character by character.
void TypeText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (const wchar_t character : text)
    for (const DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT input = {};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = character;
      input.ki.dwFlags = KEYEVENTF_UNICODE | up;
      inputs.push_back(input);
    }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// ---- the open dialog ----

// The first item of the first menu is File > Open.
bool ChooseOpenFromMenu(HWND mainWindow) {
  HMENU fileMenu = GetSubMenu(GetMenu(mainWindow), 0);
  UINT command = fileMenu ? GetMenuItemID(fileMenu, 0) : static_cast<UINT>(-1);
  if (command == static_cast<UINT>(-1)) return false;
  PostMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  return true;
}

HWND ShowOpenDialog(DWORD processId, HWND mainWindow) {
  BringToFront(mainWindow);
  PressChord({VK_CONTROL, 'O'});
  auto dialog = [&] { return FindVisibleWindow(processId, DialogClass); };
  if (WaitFor(dialog, KeyAnswerTimeout)) return dialog();
  std::fwprintf(stderr, L"Ctrl+O opened no dialog; trying File > Open.\n");
  if (!ChooseOpenFromMenu(mainWindow)) throw StepFailed{L"the open dialog: Ctrl+O did nothing and there is no File menu"};
  WaitOrFail(dialog, StepTimeout, L"the open dialog");
  return dialog();
}

void ConfirmDialog(HWND dialog) {
  BringToFront(dialog);
  PressChord({VK_RETURN});
  auto closed = [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); };
  if (WaitFor(closed, KeyAnswerTimeout)) return;
  std::fwprintf(stderr, L"Enter did not close the open dialog; pressing its Open button.\n");
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  WaitOrFail(closed, StepTimeout, L"the open dialog to close");
}

// Ctrl+O, Enter on the preset name, then the caption names the file. A
// message box instead (a missing or unreadable file) ends the run.
void OpenPresetMap(DWORD processId, HANDLE process, HWND mainWindow) {
  ConfirmDialog(ShowOpenDialog(processId, mainWindow));
  std::wstring message;
  auto opened = [&] {
    if (HWND box = FindVisibleWindow(processId, DialogClass)) message = MessageOf(box);
    return !message.empty() || TextOf(mainWindow).find(L" - ") != std::wstring::npos;
  };
  WaitOrFail(opened, StepTimeout, L"the caption to show the opened map");
  if (!message.empty()) throw StepFailed{L"the editor showed a message instead of the map: " + message};
  LetSettle(process, mainWindow);
}

// Ctrl+M, then File > apply a patch (Alt+F, P) with the name typed into its dialog; the
// preview stands over the main window.
HWND ShowPatchPreview(DWORD processId, HANDLE process, HWND mainWindow, const std::wstring& patch) {
  BringToFront(mainWindow);
  PressChord({VK_CONTROL, 'M'});
  WaitOrFail([&] { return FindVisibleWindow(processId, PictureClass) != nullptr; }, StepTimeout, L"the map picture");
  LetSettle(process, mainWindow);
  BringToFront(mainWindow);
  PressChord({VK_MENU, 'F'});
  Sleep(300);
  PressChord({'P'});  // パッチを当てる(&P)
  auto dialog = [&] { return FindVisibleWindow(processId, DialogClass); };
  WaitOrFail(dialog, StepTimeout, L"the open dialog of the patch");
  BringToFront(dialog());
  LetSettle(process, dialog());
  TypeText(patch);
  ConfirmDialog(dialog());
  HWND preview = nullptr;
  WaitOrFail([&] { return (preview = FindVisibleWindow(processId, PreviewClass)) != nullptr; }, StepTimeout,
             L"the patch's preview");
  LetSettle(process, preview);
  return preview;
}

// ---- the picture ----

RECT VisibleFrame(HWND window) {
  RECT frame = {};
  // Without the invisible resize borders that newer Windows adds around windows.
  if (FAILED(DwmGetWindowAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, &frame, sizeof frame)) ||
      frame.right <= frame.left)
    GetWindowRect(window, &frame);
  return frame;
}

Image CaptureScreenArea(const RECT& area) {
  int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) throw StepFailed{L"the editor's window has no size"};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BOOL copied = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY | CAPTUREBLT);
  SelectObject(memory, old);

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
  int rows = GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!copied || rows != height) throw StepFailed{L"could not copy the screen"};

  Image image(width, height);
  for (std::size_t i = 0; i < image.pixels.size(); ++i)
    image.pixels[i] = Opaque(pixels[4 * i + 2], pixels[4 * i + 1], pixels[4 * i]);
  return image;
}

void WritePng(const std::wstring& path, const Image& image) {
  Bytes png = EncodePng(image);
  FILE* file = _wfopen(path.c_str(), L"wb");
  bool written = file && std::fwrite(png.data(), 1, png.size(), file) == png.size();
  if (file && std::fclose(file) != 0) written = false;
  if (!written) throw StepFailed{L"could not write " + path};
}

// ---- the run ----

struct Options {
  std::wstring editor;
  std::wstring output;
  bool open = false;
  std::wstring patch;  // none: no preview
};

PROCESS_INFORMATION StartEditor(const std::wstring& editor) {
  std::wstring commandLine = L"\"" + editor + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(editor.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    throw StepFailed{L"could not start " + editor + L" (error " + std::to_wstring(GetLastError()) + L")"};
  return process;
}

void CloseEditor(const PROCESS_INFORMATION& editor, HWND mainWindow) {
  PostMessageW(mainWindow, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(editor.hProcess, StepTimeout) != WAIT_OBJECT_0)
    throw StepFailed{L"timed out waiting for the editor to close"};
}

void TakeScreenshot(const Options& options, const PROCESS_INFORMATION& editor) {
  WaitForInputIdle(editor.hProcess, StepTimeout);
  HWND mainWindow = nullptr;
  WaitOrFail([&] { return (mainWindow = FindVisibleWindow(editor.dwProcessId, MainWindowClass)) != nullptr; },
             StepTimeout, L"the editor's main window");
  LetSettle(editor.hProcess, mainWindow);
  if (options.open) OpenPresetMap(editor.dwProcessId, editor.hProcess, mainWindow);
  if (!options.patch.empty()) {
    HWND preview = ShowPatchPreview(editor.dwProcessId, editor.hProcess, mainWindow, options.patch);
    RECT area = VisibleFrame(mainWindow);
    for (HWND window : {FindVisibleWindow(editor.dwProcessId, PictureClass), preview}) {
      const RECT frame = VisibleFrame(window);
      UnionRect(&area, &area, &frame);
    }
    WritePng(options.output, CaptureScreenArea(area));
    PostMessageW(GetDlgItem(preview, IDCANCEL), BM_CLICK, 0, 0);
    WaitOrFail([&] { return !IsWindowVisible(preview); }, StepTimeout, L"the preview to close");
    CloseEditor(editor, mainWindow);
    return;
  }
  BringToFront(mainWindow);
  LetSettle(editor.hProcess, mainWindow);
  WritePng(options.output, CaptureScreenArea(VisibleFrame(mainWindow)));
  CloseEditor(editor, mainWindow);
}

int Run(const Options& options) {
  PROCESS_INFORMATION editor = {};
  try {
    editor = StartEditor(options.editor);
    TakeScreenshot(options, editor);
  } catch (const StepFailed& failure) {
    std::fwprintf(stderr, L"ValteaScreenshot: %ls\n", failure.message.c_str());
    if (editor.hProcess) TerminateProcess(editor.hProcess, 1);  // ours; it must not outlive a failed run
    return 1;
  }
  CloseHandle(editor.hThread);
  CloseHandle(editor.hProcess);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool open = argc == 4 && lstrcmpW(argv[3], L"--open") == 0;
  const bool patch = argc == 5 && lstrcmpW(argv[3], L"--patch") == 0;
  if (argc != 3 && !open && !patch) {
    std::fwprintf(stderr, L"usage: ValteaScreenshot <editor.exe> <out.png> [--open | --patch NAME]\n");
    return 2;
  }
  // The editor is DPI aware; so must this be, or the window's rectangle and
  // the screen would be in different units.
  SetProcessDPIAware();
  return Run(Options{argv[1], argv[2], open || patch, patch ? argv[4] : L""});
}
