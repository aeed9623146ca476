#pragma once
// The modal parts of the program: the open dialog and the error box. They sit
// behind this interface so that tests drive the real windows without a modal
// loop waiting for a user.

#include <windows.h>

#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the open dialog starts with; the main window keeps it between Opens.
struct OpenDialogSettings {
  std::wstring initialFolder;
  std::wstring fileName;
  std::wstring filter;  // "name|pattern|..."; the map file when empty
};

// The filter of every file, to close a list of the program's own ("name|pattern").
extern const std::string_view AllFilesFilter;

// What the save dialog starts with: the folder and the proposed name, and
// the kinds of file it offers ("name|pattern|...", all files when empty),
// with the ending a name typed without one gets ("txt").
struct SaveDialogSettings {
  std::wstring initialFolder;
  std::wstring fileName;
  std::wstring filter;
  std::wstring defaultExtension;
};

struct TextPrompt;
struct PatchPreview;
struct PreviewAnswer;

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;
  // The chosen full path, or nothing when the user cancels.
  virtual std::optional<std::wstring> AskMapPath(HWND owner, const OpenDialogSettings& settings) = 0;
  // The open dialog for another kind of file (settings.filter).
  virtual std::optional<std::wstring> AskOpenPath(HWND owner, const OpenDialogSettings& settings) = 0;
  // The save dialog, asking before it replaces a file; the chosen full
  // path, or nothing when the user cancels.
  virtual std::optional<std::wstring> AskSavePath(HWND owner, const SaveDialogSettings& settings) = 0;
  // A line of text through PromptDialog; nothing when the user cancels.
  virtual std::optional<std::wstring> AskText(HWND owner, const TextPrompt& prompt) = 0;
  // The open dialog taking several files at once; none when the user cancels.
  virtual std::vector<std::wstring> AskOpenPaths(HWND owner, const OpenDialogSettings& settings) = 0;
  // The preview of patches or of a comparison (PatchPreviewDialog): the side
  // of each conflict (true: the patch's, the other map's) and the patches'
  // order once the user applies it; nothing when cancelled.
  virtual std::optional<PreviewAnswer> AskPatchSides(HWND owner, const PatchPreview& preview) = 0;
  // The error box: application title as caption, stop icon, OK, modal to the
  // whole application. `text` is shown as given.
  virtual void ShowErrorBox(const std::wstring& text) = 0;
  // A question with the application title as caption, はい and いいえ, いいえ
  // the default: true for はい.
  virtual bool AskYesNo(HWND owner, const std::wstring& question) = 0;
};

// The real ones: the common open dialog and a message box.
class SystemDialogs : public UserDialogs {
 public:
  std::optional<std::wstring> AskMapPath(HWND owner, const OpenDialogSettings& settings) override;
  std::optional<std::wstring> AskOpenPath(HWND owner, const OpenDialogSettings& settings) override;
  std::optional<std::wstring> AskSavePath(HWND owner, const SaveDialogSettings& settings) override;
  std::optional<std::wstring> AskText(HWND owner, const TextPrompt& prompt) override;
  std::vector<std::wstring> AskOpenPaths(HWND owner, const OpenDialogSettings& settings) override;
  std::optional<PreviewAnswer> AskPatchSides(HWND owner, const PatchPreview& preview) override;
  void ShowErrorBox(const std::wstring& text) override;
  bool AskYesNo(HWND owner, const std::wstring& question) override;
};

// The full paths of what the open dialog returns with several files taken:
// "folder\0name\0name", or one full path alone.
std::vector<std::wstring> PathsOfSelection(const std::wstring& selection);

// The caption of every error box: the application's title, which the program
// sets before it shows anything.
void SetErrorBoxCaption(std::wstring caption);

// The dialogs in use: the system's, unless a test has put others in place.
UserDialogs& Dialogs();
void UseDialogs(UserDialogs* dialogs);  // null: the system's again

// The message of an error as the user reads it.
std::wstring ErrorMessageOf(std::exception_ptr error);

// The message with a full stop appended, unless it is empty or already ends in
// "." or a character below it (a space, "!", ",", ")", ...).
std::wstring WithFullStop(std::wstring message);

// Shows an error the one way the program does: WithFullStop, in the error box.
void ShowError(const std::wstring& message);
