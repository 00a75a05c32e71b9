// End to end: the real Brenvale.exe shows its messages in skinned boxes. F2 on a filter of the
// read-only list shows "It's ReadOnly" with the skin's frame and title buttons and skinned
// controls; the box closes with Enter and with its skinned close button under real input.
#include <gtest/gtest.h>

#include "skin/SkinCommands.h"
#include "tests/e2e/RemoteApp.h"
#include "tests/win/WinTestSupport.h"

using e2e::RemoteApp;
using e2e::WaitFor;

namespace {

bool SkinAware(HWND window) {
  return SendMessageW(window, SM_LACQUERCMD, static_cast<WPARAM>(SkinCommandParam(scIsSkinAware)), 0) == 1;
}

// The screen point of the box's close button: the title band searched from the right for the
// point that answers the close button's hit code.
bool FindCloseButton(HWND box, POINT& found) {
  RECT window;
  GetWindowRect(box, &window);
  POINT client{0, 0};
  ClientToScreen(box, &client);
  for (int y = window.top + 1; y < client.y; y += 2)
    for (int x = window.right - 2; x > window.left + (window.right - window.left) / 2; x -= 2)
      if (SendMessageW(box, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
        // The middle of the run of close-button points on this line.
        int left = x;
        while (SendMessageW(box, WM_NCHITTEST, 0, MAKELPARAM(left - 1, y)) == HTCLOSE) --left;
        found = {(left + x) / 2, y + 3};
        return SendMessageW(box, WM_NCHITTEST, 0, MAKELPARAM(found.x, found.y)) == HTCLOSE;
      }
  return false;
}

class SkinnedDialogsTest : public testing::Test {
 protected:
  void SetUp() override {
    folder.Create(L"Sharpen.8bf");
    folder.Create(L"Emboss.off");
  }
  std::wstring Environment() {
    std::wstring path = settings.Path();
    return L"BRENVALE_SETTINGS_FOLDER=" + path.substr(0, path.size() - 1);
  }
  // Selects the filter and presses F2 on it; the box that shows.
  HWND ReadOnlyBox(RemoteApp& app) {
    EXPECT_TRUE(app.ClickRow(app.ListOn(), L"Sharpen"));
    e2e::PressKey(VK_F2);
    return app.WaitForMessageBox();
  }
  wintest::TempFolder folder;
  wintest::TempFolder settings;
};

TEST_F(SkinnedDialogsTest, ReadOnlyBoxIsSkinnedAndClosesWithEnterAndItsCloseButton) {
  RemoteApp app(folder.Path(), Environment());
  ASSERT_TRUE(app.Started());
  ASSERT_TRUE(WaitFor([&] { return app.Rows(app.ListOn()) == std::vector<std::wstring>{L"Sharpen"}; }));

  HWND box = ReadOnlyBox(app);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(RemoteApp::MessageBoxText(box), L"It's ReadOnly");
  // Skinned: the box and its controls answer the skin's question, the platform draws no title
  // buttons of its own (the adapter took the system menu style), and the skin's close button
  // answers its hit code.
  EXPECT_TRUE(SkinAware(box));
  EXPECT_FALSE(GetWindowLongW(box, GWL_STYLE) & WS_SYSMENU);
  EXPECT_TRUE(SkinAware(GetDlgItem(box, IDOK)));
  EXPECT_TRUE(SkinAware(GetDlgItem(box, 0xFFFF)));
  POINT close{};
  EXPECT_TRUE(FindCloseButton(box, close));
  SetForegroundWindow(box);
  Sleep(100);
  e2e::PressKey(VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));

  box = ReadOnlyBox(app);
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(FindCloseButton(box, close));
  wintest::SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, close.x, close.y);
  Sleep(100);
  wintest::SendMouse(MOUSEEVENTF_LEFTDOWN);
  Sleep(100);
  wintest::SendMouse(MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
  // The program goes on: the file is untouched and the window closes normally.
  EXPECT_TRUE(folder.Exists(L"Sharpen.8bf"));
  EXPECT_EQ(app.Close(), 0);
}

}  // namespace
