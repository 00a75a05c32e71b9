// Program entry: initialise the application, title it, create the main window from its layout
// and run the message loop until the main window closes.
#include <windows.h>

#include <vector>

#include "app/Form1.h"
#include "framework/Application.h"
#include "settings/SettingsFile.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // BRENVALE_SETTINGS_FOLDER keeps the settings file somewhere else than the user's
  // application data (a portable installation on a stick, or a test). A relative folder is
  // taken from the folder the program starts in, now, before the lists change the current folder.
  DWORD size = GetEnvironmentVariableW(L"BRENVALE_SETTINGS_FOLDER", nullptr, 0);
  if (size > 0) {
    std::vector<wchar_t> folder(size);
    DWORD length = GetEnvironmentVariableW(L"BRENVALE_SETTINGS_FOLDER", folder.data(), size);
    if (length > 0 && length < size) settings_file::SetFolder(std::wstring(folder.data(), length));
  }

  TForm1::StartWarmUp();
  TApplication application;
  application.Initialize();
  application.SetTitle(L"Brenvale");
  application.CreateForm<TForm1>();
  application.Run();
  return 0;
}
