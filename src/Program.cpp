// Start-up: the application title, the main window, the message loop.

#include <windows.h>

#include "Main1.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  TMainForm1 mainForm;
  mainForm.CreateWindowAndControls();
  mainForm.Show(showCommand);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
