// Program entry: initialise the application, title it, create the main window from its layout
// and run the message loop until the main window closes.
#include <windows.h>

#include <vector>

#include "app/Form1.h"
#include "framework/Application.h"
#include "settings/SettingsFile.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // BRENVALE_SETTINGS_FOLDER keeps the settings file somewhere else than the user's
  // application data (a portable installation on a stick, or a test).
  std::vector<wchar_t> folder(MAX_PATH * 2);
  DWORD length = GetEnvironmentVariableW(L"BRENVALE_SETTINGS_FOLDER", folder.data(), static_cast<DWORD>(folder.size()));
  if (length > 0 && length < folder.size()) settings_file::SetFolder(folder.data());

  TApplication application;
  application.Initialize();
  application.SetTitle(L"Brenvale");
  application.CreateForm<TForm1>();
  application.Run();
  return 0;
}
