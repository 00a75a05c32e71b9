// The real main window in this process over a test folder of its own, started as a fresh start
// of the program is: no settings file, the folder as the current directory.
#pragma once

#include <gtest/gtest.h>

#include "app/Form1.h"
#include "settings/SettingsFile.h"
#include "tests/win/WinTestSupport.h"

namespace wintest {

class MainWindowFixture : public testing::Test {
 protected:
  // Creates and shows the window; the test's files must be in `folder` by then.
  void OpenMainWindow() {
    settings_file::SetFolder(settingsFolder.Path());  // each test starts without settings
    SetCurrentDirectoryW(folder.Path().c_str());
    form.reset(new TForm1(nullptr));
    form->DoCreate();
    form->Show();
    Pump(100);
  }
  void TearDown() override {
    form.reset();
    settings_file::SetFolder(L"");
  }

  // The folder outlives the scope that gives the process its old current directory back: a
  // folder that is some process's current directory cannot be removed.
  TempFolder folder;
  TempFolder settingsFolder;
  CurrentDirectoryScope keepCwd{L"."};
  ComponentPtr<TForm1> form;
};

}  // namespace wintest
