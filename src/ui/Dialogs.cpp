#include "ui/Dialogs.h"

#include <commdlg.h>

#include <new>
#include <utility>
#include <vector>

#include "map/PathText.h"
#include "platform/Text.h"
#include "ui/PatchPreviewDialog.h"
#include "ui/PromptDialog.h"

namespace {

UserDialogs* replacement = nullptr;

std::wstring& ErrorBoxCaption() {
  static std::wstring caption;
  return caption;
}

constexpr std::string_view OpenFilter = "マップデータファイル(MAPDATA.VLT)|MAPDATA.VLT";
constexpr std::string_view AllFilesFilter = "すべてのファイル (*.*)|*.*";

// The common dialog wants "name\0pattern\0\0" where the program says "name|pattern".
std::wstring FilterForDialog(std::wstring filter) {
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.push_back(L'\0');
  return filter;
}

}  // namespace

std::optional<std::wstring> SystemDialogs::AskMapPath(HWND owner, const OpenDialogSettings& settings) {
  std::vector<wchar_t> file(32768, L'\0');
  settings.fileName.copy(file.data(), file.size() - 1);
  const std::wstring filter = FilterForDialog(settings.filter.empty() ? Widen(OpenFilter) : settings.filter);

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = settings.initialFolder.empty() ? nullptr : settings.initialFolder.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&dialog)) return std::nullopt;
  return std::wstring(file.data());
}

std::optional<std::wstring> SystemDialogs::AskOpenPath(HWND owner, const OpenDialogSettings& settings) {
  return AskMapPath(owner, settings);
}

std::optional<std::wstring> SystemDialogs::AskSavePath(HWND owner, const SaveDialogSettings& settings) {
  std::vector<wchar_t> file(32768, L'\0');
  settings.fileName.copy(file.data(), file.size() - 1);
  const std::wstring filter = FilterForDialog(settings.filter.empty() ? Widen(AllFilesFilter) : settings.filter);

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = settings.initialFolder.empty() ? nullptr : settings.initialFolder.c_str();
  dialog.lpstrDefExt = settings.defaultExtension.empty() ? nullptr : settings.defaultExtension.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR | OFN_OVERWRITEPROMPT |
                 OFN_PATHMUSTEXIST;
  if (!GetSaveFileNameW(&dialog)) return std::nullopt;
  return std::wstring(file.data());
}

std::optional<std::wstring> SystemDialogs::AskText(HWND owner, const TextPrompt& prompt) {
  auto dialog = MakeWindow<PromptDialog>(owner, prompt);
  return dialog->Ask();
}

std::optional<std::vector<bool>> SystemDialogs::AskPatchSides(HWND owner, const PatchPreview& preview) {
  auto dialog = MakeWindow<PatchPreviewDialog>(owner, preview);
  return dialog->Ask();
}

void SystemDialogs::ShowErrorBox(const std::wstring& text) {
  HWND active = GetActiveWindow();
  MessageBoxW(nullptr, text.c_str(), ErrorBoxCaption().c_str(), MB_OK | MB_ICONSTOP | MB_TASKMODAL);
  if (active != nullptr && IsWindow(active)) SetActiveWindow(active);
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
