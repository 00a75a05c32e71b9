// Entry of the window tests: one application object for the whole run, whose error display
// records texts instead of showing message boxes.
#include <gtest/gtest.h>

#include "framework/Application.h"
#include "tests/win/WinTestSupport.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  TApplication application;
  application.Initialize();
  application.SetTitle(L"Brenvale tests");
  application.OnException = [](const std::wstring& text) { wintest::RecordedErrors().push_back(text); };
  return RUN_ALL_TESTS();
}
