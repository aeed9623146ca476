#pragma once
// For the Wine tests of real windows: dialogs that answer without a modal
// loop, and input delivered as the real message loop delivers it.

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "map/PathText.h"
#include "model/EditorModel.h"
#include "platform/Text.h"
#include "ui/Dialogs.h"
#include "ui/PatchPreviewDialog.h"
#include "ui/PromptDialog.h"

// Stands in for the open dialog and the error box while it lives.
class ScriptedDialogs : public UserDialogs {
 public:
  ScriptedDialogs() { UseDialogs(this); }
  ~ScriptedDialogs() override { UseDialogs(nullptr); }

  std::optional<std::wstring> answer;  // what the open dialog returns; nothing = cancel
  int openDialogs = 0;
  OpenDialogSettings lastSettings;
  HWND lastOwner = nullptr;
  std::vector<std::wstring> errorBoxes;
  std::vector<std::wstring> questions;  // asked with AskYesNo, answered with `yes`
  bool yes = false;
  bool AskYesNo(HWND owner, const std::wstring& question) override {
    lastOwner = owner;
    questions.push_back(question);
    return yes;
  }

  std::optional<std::wstring> AskMapPath(HWND owner, const OpenDialogSettings& settings) override {
    ++openDialogs;
    lastOwner = owner;
    lastSettings = settings;
    return answer;
  }
  std::optional<std::wstring> AskOpenPath(HWND owner, const OpenDialogSettings& settings) override {
    lastOwner = owner;
    lastOpenSettings = settings;
    return openAnswer;
  }
  std::optional<std::wstring> AskSavePath(HWND owner, const SaveDialogSettings& settings) override {
    ++saveDialogs;
    lastOwner = owner;
    lastSaveSettings = settings;
    return saveAnswer;
  }
  // As the prompt would: each text in turn goes to OK, a refused one stays
  // with its reason noted; with none left the player cancels.
  std::optional<std::wstring> AskText(HWND owner, const TextPrompt& prompt) override {
    lastOwner = owner;
    lastPrompt = prompt;
    while (!texts.empty()) {
      const std::wstring text = texts.front();
      texts.erase(texts.begin());
      const std::wstring refusal = prompt.refusal ? prompt.refusal(text) : std::wstring();
      if (refusal.empty()) return text;
      refusals.push_back(refusal);
    }
    return std::nullopt;
  }
  // Several files where some are given, else the one of AskOpenPath.
  std::vector<std::wstring> AskOpenPaths(HWND owner, const OpenDialogSettings& settings) override {
    if (!openAnswers.empty()) {
      lastOwner = owner;
      lastOpenSettings = settings;
      return openAnswers;
    }
    const std::optional<std::wstring> one = AskOpenPath(owner, settings);
    return one ? std::vector<std::wstring>{*one} : std::vector<std::wstring>{};
  }
  std::optional<PreviewAnswer> AskPatchSides(HWND owner, const PatchPreview& preview) override {
    lastOwner = owner;
    lastPatchPreview = preview;
    ++patchPreviews;
    if (whilePreviewing) whilePreviewing();
    if (!patchSides) return std::nullopt;
    std::vector<std::size_t> order = patchOrder;
    for (std::size_t index = order.size(); index < preview.patches.size(); ++index) order.push_back(index);
    return PreviewAnswer{*patchSides, order};
  }
  void ShowErrorBox(const std::wstring& text) override { errorBoxes.push_back(text); }

  std::optional<std::vector<bool>> patchSides;  // what the preview's 適用 gives; nothing = cancel
  std::vector<std::size_t> patchOrder;          // the patches' order it gives, as listed where empty
  std::vector<std::wstring> openAnswers;        // several files from the open dialog
  std::function<void()> whilePreviewing;        // looks at the screen while the preview is open
  PatchPreview lastPatchPreview;
  int patchPreviews = 0;
  std::optional<std::wstring> openAnswer;  // what the open dialog of other files returns
  OpenDialogSettings lastOpenSettings;
  std::optional<std::wstring> saveAnswer;  // what the save dialog returns
  int saveDialogs = 0;
  SaveDialogSettings lastSaveSettings;
  std::vector<std::wstring> texts;     // typed into the prompt, one OK each
  std::vector<std::wstring> refusals;  // what the prompt said of the refused ones
  TextPrompt lastPrompt;
};

// The real error box, which also notes what it showed. Someone must answer
// it: a ModalAnswerer, say. Its caption is the program's, as the main window
// sets it.
class SystemErrorBoxes : public ScriptedDialogs {
 public:
  SystemErrorBoxes() { SetErrorBoxCaption(Widen(ApplicationTitle)); }
  void ShowErrorBox(const std::wstring& text) override {
    ScriptedDialogs::ShowErrorBox(text);
    SystemDialogs().ShowErrorBox(text);
  }
};

// Handles every queued message; `preTranslate` plays the message loop's part
// for shortcuts and Tab.
template <typename PreTranslate>
void PumpMessages(PreTranslate&& preTranslate) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (preTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

inline void PumpMessages() {
  PumpMessages([](MSG&) { return false; });
}

// Holds modifier keys down as far as GetKeyState can tell, for posted key messages.
class HeldKeys {
 public:
  explicit HeldKeys(std::initializer_list<BYTE> keys) {
    GetKeyboardState(saved_);
    BYTE state[256];
    GetKeyboardState(state);
    for (BYTE key : keys) state[key] |= 0x80;
    SetKeyboardState(state);
  }
  ~HeldKeys() { SetKeyboardState(saved_); }

 private:
  BYTE saved_[256];
};

inline void PostKey(HWND window, WPARAM key) {
  PostMessageW(window, WM_KEYDOWN, key, 1);
  PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

// What Explorer hands a window that files are dropped on (WM_DROPFILES).
inline HGLOBAL DroppedFiles(const std::vector<std::wstring>& paths) {
  std::wstring names;
  for (const std::wstring& path : paths) names += path + L'\0';
  names += L'\0';
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(header + 1));
  GlobalUnlock(memory);
  return memory;
}

inline std::wstring TextOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

// A window's rectangle in its parent's client coordinates.
inline RECT RectInParent(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// A shown top-level window of this process with `caption` and of
// `windowClass`; an empty text matches any. Windows of other processes on the
// same desktop never match, whatever they are called.
inline HWND FindOwnWindow(const std::wstring& windowClass, const std::wstring& caption) {
  struct Search {
    const std::wstring& windowClass;
    const std::wstring& caption;
    HWND found = nullptr;
  } search{windowClass, caption};
  EnumWindows(
      [](HWND window, LPARAM parameter) -> BOOL {
        auto& search = *reinterpret_cast<Search*>(parameter);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
        wchar_t className[256] = {};
        GetClassNameW(window, className, 256);
        if (!search.windowClass.empty() && search.windowClass != className) return TRUE;
        if (!search.caption.empty() && TextOf(window) != search.caption) return TRUE;
        search.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Answers a modal window from another thread while this one waits in its
// loop: waits for a shown top-level window of this process with `caption`
// and of `windowClass` (as FindOwnWindow), then calls `answer` with it, which
// looks at it and closes it, by posting: what is posted waits in the queue
// until the modal loop takes it.
class ModalAnswerer {
 public:
  ModalAnswerer(std::wstring windowClass, std::wstring caption, std::function<void(HWND)> answer)
      : thread_([this, windowClass = std::move(windowClass), caption = std::move(caption),
                 answer = std::move(answer)] {
          // Generous: the loop only guards against a window that never comes.
          for (int attempt = 0; attempt < 3000 && !stop_; ++attempt) {
            if (HWND window = FindOwnWindow(windowClass, caption)) {
              answer(window);
              found_ = true;
              return;
            }
            Sleep(10);
          }
        }) {}
  ~ModalAnswerer() {
    stop_ = true;
    Join();
  }

  // Waits until the window has been answered or given up on.
  bool Join() {
    if (thread_.joinable()) thread_.join();
    return found_;
  }

 private:
  std::atomic<bool> found_{false};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Another program's handle on a file, closed at the end of the scope.
class OtherHandle {
 public:
  OtherHandle(const MapPath& path, DWORD access, DWORD sharing)
      : handle_(CreateFileW(WideFromPath(path).c_str(), access, sharing, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~OtherHandle() {
    if (IsOpen()) CloseHandle(handle_);
  }
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};
