// End to end: the real Brenvale.exe in a folder of filters, driven with real mouse input; the
// files on disk show what happened.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/RemoteApp.h"
#include "tests/win/WinTestSupport.h"

using e2e::RemoteApp;
using e2e::WaitFor;

namespace {

const std::wstring kUnicodeFilter = L"\u00dcn\u00efcode\u6ee4\u955c";

class SwitchFiltersTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const std::wstring& name :
         {std::wstring(L"Sharpen.8bf"), std::wstring(L"Blur.8BF"), std::wstring(L"a.b.8bf"), std::wstring(L"Emboss.off"),
          std::wstring(L"readme.txt"), kUnicodeFilter + L".8bf"})
      folder.Create(name);
  }
  bool Has(const std::vector<std::wstring>& rows, const std::wstring& row) {
    return std::find(rows.begin(), rows.end(), row) != rows.end();
  }
  // Switches `caption` from `from` with `button` and waits until `expectedFile` is on disk.
  bool Switch(RemoteApp& app, HWND from, const std::wstring& caption, const wchar_t* button, const std::wstring& expectedFile) {
    if (!app.ClickRow(from, caption)) return false;
    HWND switchButton = app.Button(button);
    if (!WaitFor([&] { return IsWindowEnabled(switchButton) != FALSE; })) return false;
    app.ClickCentre(switchButton);
    return WaitFor([&] { return folder.Exists(expectedFile); });
  }

  // A settings folder of the test's own, so that a settings file left in the prefix by another
  // program run cannot point the program at another folder.
  std::wstring Environment() {
    std::wstring path = settings.Path();
    return L"BRENVALE_SETTINGS_FOLDER=" + path.substr(0, path.size() - 1);
  }

  wintest::TempFolder folder;
  wintest::TempFolder settings;
};

}  // namespace

TEST_F(SwitchFiltersTest, SwitchingOffAndOnRenamesTheFilesOnDisk) {
  RemoteApp app(folder.Path(), Environment());
  ASSERT_TRUE(app.Started());
  HWND listOn = app.ListOn(), listOff = app.ListOff();
  ASSERT_TRUE(listOn && listOff);
  // On a busy machine the first rebuild may still be under way: wait for the rows, then compare.
  const std::vector<std::wstring> onRows{L"a.b", L"Blur", L"Sharpen", kUnicodeFilter}, offRows{L"Emboss"};
  WaitFor([&] { return app.Rows(listOn) == onRows && app.Rows(listOff) == offRows; });
  EXPECT_EQ(app.Rows(listOn), onRows);
  EXPECT_EQ(app.Rows(listOff), offRows);
  EXPECT_FALSE(IsWindowEnabled(app.Button(L"Switch OFF")));
  EXPECT_FALSE(IsWindowEnabled(app.Button(L"Switch ON")));

  ASSERT_TRUE(Switch(app, listOn, L"Sharpen", L"Switch OFF", L"Sharpen.off"));
  EXPECT_FALSE(folder.Exists(L"Sharpen.8bf"));
  EXPECT_TRUE(WaitFor([&] { return Has(app.Rows(listOff), L"Sharpen"); }));
  EXPECT_FALSE(Has(app.Rows(listOn), L"Sharpen"));
  EXPECT_FALSE(IsWindowEnabled(app.Button(L"Switch OFF")));

  ASSERT_TRUE(Switch(app, listOff, L"Sharpen", L"Switch ON", L"Sharpen.8bf"));
  EXPECT_FALSE(folder.Exists(L"Sharpen.off"));

  // An upper-case extension comes back in lower case.
  ASSERT_TRUE(Switch(app, listOn, L"Blur", L"Switch OFF", L"Blur.off"));
  ASSERT_TRUE(Switch(app, listOff, L"Blur", L"Switch ON", L"Blur.8bf"));
  std::vector<std::wstring> names = folder.Names();
  EXPECT_TRUE(Has(names, L"Blur.8bf"));
  EXPECT_FALSE(Has(names, L"Blur.8BF"));

  // A name that is not ASCII.
  ASSERT_TRUE(Switch(app, listOn, kUnicodeFilter, L"Switch OFF", kUnicodeFilter + L".off"));
  ASSERT_TRUE(Switch(app, listOff, kUnicodeFilter, L"Switch ON", kUnicodeFilter + L".8bf"));

  EXPECT_EQ(folder.Names(), (std::vector<std::wstring>{L"Blur.8bf", L"Emboss.off", L"Sharpen.8bf", L"a.b.8bf",
                                                       L"readme.txt", kUnicodeFilter + L".8bf"}));
  EXPECT_EQ(app.Close(), 0);
}

TEST_F(SwitchFiltersTest, ViewButtonsSwitchBothListsBetweenLargeAndSmallIcons) {
  RemoteApp app(folder.Path(), Environment());
  ASSERT_TRUE(app.Started());
  HWND iconButton = app.Button(L"Icon View"), listButton = app.Button(L"List View");
  EXPECT_FALSE(IsWindowEnabled(iconButton));
  EXPECT_TRUE(IsWindowEnabled(listButton));
  for (HWND list : {app.ListOn(), app.ListOff()}) EXPECT_EQ(GetWindowLongPtrW(list, GWL_STYLE) & LVS_TYPEMASK, LVS_ICON);

  app.ClickCentre(listButton);
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(iconButton) != FALSE; }));
  EXPECT_FALSE(IsWindowEnabled(listButton));
  for (HWND list : {app.ListOn(), app.ListOff()}) EXPECT_EQ(GetWindowLongPtrW(list, GWL_STYLE) & LVS_TYPEMASK, LVS_SMALLICON);

  app.ClickCentre(iconButton);
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(listButton) != FALSE; }));
  EXPECT_FALSE(IsWindowEnabled(iconButton));
  for (HWND list : {app.ListOn(), app.ListOff()}) EXPECT_EQ(GetWindowLongPtrW(list, GWL_STYLE) & LVS_TYPEMASK, LVS_ICON);
  EXPECT_EQ(app.Close(), 0);
}
