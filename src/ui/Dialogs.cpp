#include "ui/Dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "map/PathText.h"
#include "platform/Text.h"
#include "ui/PatchPreviewDialog.h"
#include "ui/PromptDialog.h"

const std::string_view AllFilesFilter = "すべてのファイル (*.*)|*.*";

namespace {

UserDialogs* replacement = nullptr;

std::wstring& ErrorBoxCaption() {
  static std::wstring caption;
  return caption;
}

constexpr std::string_view OpenFilter = "マップデータファイル(MAPDATA.VLT)|MAPDATA.VLT";

// The common dialog wants "name\0pattern\0\0" where the program says "name|pattern".
std::wstring FilterForDialog(std::wstring filter) {
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.push_back(L'\0');
  return filter;
}

// The common open and save dialogs, set up alike.
class FileDialog {
 public:
  FileDialog(HWND owner, const std::wstring& folder, const std::wstring& fileName, std::wstring filter)
      : owner_(owner), folder_(folder), filter_(FilterForDialog(std::move(filter))), file_(32768, L'\0') {
    fileName.copy(file_.data(), file_.size() - 1);
  }
  std::optional<std::wstring> Ask(DWORD flags, const wchar_t* defaultExtension,
                                  BOOL(WINAPI* show)(OPENFILENAMEW*)) const {
    std::vector<wchar_t> file = file_;
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = filter_.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder_.empty() ? nullptr : folder_.c_str();
    dialog.lpstrDefExt = defaultExtension;
    dialog.Flags = flags;
    if (!show(&dialog)) return std::nullopt;
    if (!(flags & OFN_ALLOWMULTISELECT)) return std::wstring(file.data());
    // "folder\0name\0name\0\0", or one full path "path\0\0".
    std::size_t end = 0;
    while (end + 1 < file.size() && (file[end] != L'\0' || file[end + 1] != L'\0')) ++end;
    return std::wstring(file.data(), end);
  }

 private:
  HWND owner_;
  std::wstring folder_;
  std::wstring filter_;
  std::vector<wchar_t> file_;
};

}  // namespace

std::optional<std::wstring> SystemDialogs::AskMapPath(HWND owner, const OpenDialogSettings& settings) {
  const FileDialog dialog(owner, settings.initialFolder, settings.fileName,
                          settings.filter.empty() ? Widen(OpenFilter) : settings.filter);
  return dialog.Ask(OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR, nullptr, GetOpenFileNameW);
}

std::optional<std::wstring> SystemDialogs::AskOpenPath(HWND owner, const OpenDialogSettings& settings) {
  return AskMapPath(owner, settings);
}

std::vector<std::wstring> SystemDialogs::AskOpenPaths(HWND owner, const OpenDialogSettings& settings) {
  const FileDialog dialog(owner, settings.initialFolder, settings.fileName, settings.filter);
  const std::optional<std::wstring> chosen = dialog.Ask(
      OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST,
      nullptr, GetOpenFileNameW);
  return chosen ? PathsOfSelection(*chosen) : std::vector<std::wstring>{};
}

std::vector<std::wstring> PathsOfSelection(const std::wstring& selection) {
  std::vector<std::wstring> parts;
  for (std::size_t start = 0; start <= selection.size();) {
    const std::size_t end = std::min(selection.find(L'\0', start), selection.size());
    if (end > start) parts.push_back(selection.substr(start, end - start));
    start = end + 1;
  }
  if (parts.size() < 2) return parts;
  std::wstring folder = parts.front();
  if (folder.back() != L'\\') folder += L'\\';
  std::vector<std::wstring> paths;
  for (std::size_t index = 1; index < parts.size(); ++index) paths.push_back(folder + parts[index]);
  return paths;
}

std::optional<std::wstring> SystemDialogs::AskSavePath(HWND owner, const SaveDialogSettings& settings) {
  const FileDialog dialog(owner, settings.initialFolder, settings.fileName,
                          settings.filter.empty() ? Widen(AllFilesFilter) : settings.filter);
  return dialog.Ask(OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR | OFN_OVERWRITEPROMPT |
                        OFN_PATHMUSTEXIST,
                    settings.defaultExtension.empty() ? nullptr : settings.defaultExtension.c_str(),
                    GetSaveFileNameW);
}

std::optional<std::wstring> SystemDialogs::AskText(HWND owner, const TextPrompt& prompt) {
  auto dialog = MakeWindow<PromptDialog>(owner, prompt);
  return dialog->Ask();
}

std::optional<PreviewAnswer> SystemDialogs::AskPatchSides(HWND owner, const PatchPreview& preview) {
  auto dialog = MakeWindow<PatchPreviewDialog>(owner, preview);
  return dialog->Ask();
}

void SystemDialogs::ShowErrorBox(const std::wstring& text) {
  HWND active = GetActiveWindow();
  MessageBoxW(nullptr, text.c_str(), ErrorBoxCaption().c_str(), MB_OK | MB_ICONSTOP | MB_TASKMODAL);
  if (active != nullptr && IsWindow(active)) SetActiveWindow(active);
}

bool SystemDialogs::AskYesNo(HWND owner, const std::wstring& question) {
  return MessageBoxW(owner, question.c_str(), ErrorBoxCaption().c_str(), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) ==
         IDYES;
}

void SetErrorBoxCaption(std::wstring caption) { ErrorBoxCaption() = std::move(caption); }

UserDialogs& Dialogs() {
  static SystemDialogs system;
  return replacement != nullptr ? *replacement : system;
}

void UseDialogs(UserDialogs* dialogs) { replacement = dialogs; }

std::wstring ErrorMessageOf(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const MapFileError& fileError) {
    return Widen(fileError.Text());
  } catch (const std::bad_alloc&) {
    return Widen("メモリが足りません");
  } catch (const std::exception& other) {
    return Widen(other.what());
  } catch (...) {
    return Widen("不明なエラー");
  }
}

std::wstring WithFullStop(std::wstring message) {
  if (!message.empty() && message.back() > L'.') message += L'.';
  return message;
}

void ShowError(const std::wstring& message) { Dialogs().ShowErrorBox(WithFullStop(message)); }
