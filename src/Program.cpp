// Start-up: the application title, the main window, the message loop.
// Closing the main window ends the program at once.

#include <windows.h>

#include <exception>

#include "Main1.h"
#include "ui/Dialogs.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  try {
    const WindowPtr<TMainForm1> form = MakeWindow<TMainForm1>();
    TMainForm1& MainForm1 = *form;
    MainForm1.CreateWindowAndControls();
    MainForm1.Show(showCommand);

    MSG message{};
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
      if (MainForm1.PreTranslateMessage(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    // Only WM_QUIT carries the program's exit code; a failing loop is a failure.
    return got == 0 ? static_cast<int>(message.wParam) : 1;
  } catch (...) {
    // Only start-up can get here: every handler shows its own errors.
    ShowError(ErrorMessageOf(std::current_exception()));
    return 1;
  }
}
