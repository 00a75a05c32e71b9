// Program entry: initialise the application, title it, create the main window from its layout
// and run the message loop until the main window closes.
#include <windows.h>

#include "app/Form1.h"
#include "framework/Application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  TApplication application;
  application.Initialize();
  application.SetTitle(L"Brenvale");
  application.CreateForm<TForm1>();
  application.Run();
  return 0;
}
