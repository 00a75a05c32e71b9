// End to end: switching under the conditions a user meets outside the happy path, with real
// mouse and keyboard input to the real Brenvale.exe: a filter held open by another program,
// the keyboard moving the highlight, clicks that activate the window, a plug-ins folder that
// vanishes and comes back, a folder deeper than the old path limit, and stored window
// placements that do not fit the screen.
#include <gtest/gtest.h>

#include <algorithm>

#include "framework/Handles.h"
#include "tests/e2e/RemoteApp.h"
#include "tests/win/WinTestSupport.h"

using e2e::RemoteApp;
using e2e::WaitFor;

namespace {

// A top-level window of this test process: "another program" that is active while the user
// clicks into Brenvale.
class OtherProgramWindow {
 public:
  OtherProgramWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BrenvaleTestOtherProgram";
    RegisterClassW(&wc);
    window_.reset(CreateWindowExW(0, wc.lpszClassName, L"Other program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 240, 160,
                                  nullptr, nullptr, wc.hInstance, nullptr));
  }
  // Makes this window the active one, as the user does: a click into it (the platform does not
  // let a program in the background take the foreground by itself). False when it did not work.
  bool Activate() {
    RECT r;
    GetClientRect(window_.get(), &r);
    POINT p{r.right / 2, r.bottom / 2};
    ClientToScreen(window_.get(), &p);
    wintest::SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, p.x, p.y);
    wintest::SendMouse(MOUSEEVENTF_LEFTDOWN);
    wintest::SendMouse(MOUSEEVENTF_LEFTUP);
    return WaitFor([&] {
      Pump();
      return GetForegroundWindow() == window_.get();
    });
  }

 private:
  static void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  UniqueWindow window_;
};

class SafeSwitchingTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* name : {L"Sharpen.8bf", L"Blur.8bf", L"a.b.8bf", L"Curves.8bf", L"Dust.8bf", L"Glow.8bf",
                                L"Emboss.off", L"Foo.8bf_old", L"x.office"})
      folder.Create(name);
  }
  std::wstring Environment() {
    std::wstring path = settings.Path();
    return L"BRENVALE_SETTINGS_FOLDER=" + path.substr(0, path.size() - 1);
  }
  std::wstring Ini() { return settings.File(L"Brenvale.ini"); }
  // Clicks `button`, which must bring up a message box: its text, after the box was answered
  // with OK (empty when none came).
  std::wstring ClickForMessage(RemoteApp& app, HWND button) {
    app.ClickCentre(button);
    HWND box = app.WaitForMessageBox();
    if (!box) return {};
    std::wstring text = RemoteApp::MessageBoxText(box);
    EXPECT_TRUE(RemoteApp::CloseMessageBox(box));
    return text;
  }
  void Store(const wchar_t* key, const std::wstring& value) {
    WritePrivateProfileStringW(L"Settings", key, value.c_str(), Ini().c_str());
  }

  wintest::TempFolder settings;
  wintest::TempFolder folder;
};

}  // namespace

TEST_F(SafeSwitchingTest, FilterHeldOpenIsRefusedWithAMessageThenSwitchesWhenClosed) {
  RemoteApp app(folder.Path(), Environment());
  ASSERT_TRUE(app.Started());
  HWND off = app.Button(L"Switch OFF");
  ASSERT_TRUE(app.ClickRow(app.ListOn(), L"Sharpen"));
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(off) != FALSE; }));
  // Held open without sharing, as a running image editor holds the filters it loaded.
  UniqueFile held(CreateFileW(folder.File(L"Sharpen.8bf").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  std::wstring text = ClickForMessage(app, off);
  EXPECT_NE(text.find(L"\"Sharpen.8bf\""), std::wstring::npos) << text;
  EXPECT_NE(text.find(L"in use by another program"), std::wstring::npos) << text;
  EXPECT_TRUE(folder.Exists(L"Sharpen.8bf"));
  EXPECT_FALSE(folder.Exists(L"Sharpen.off"));
  EXPECT_TRUE(IsWindowEnabled(off));

  held.reset();
  app.ClickCentre(off);
  EXPECT_TRUE(WaitFor([&] { return folder.Exists(L"Sharpen.off"); }));
  EXPECT_FALSE(app.WaitForMessageBox(300));
  EXPECT_EQ(app.Close(), 0);
}

TEST_F(SafeSwitchingTest, KeyboardHighlightIsWhatSwitchOffRenames) {
  RemoteApp app(folder.Path(), Environment());
  ASSERT_TRUE(app.Started());
  HWND list = app.ListOn(), off = app.Button(L"Switch OFF");
  // Neither the short-name look-alikes nor anything else but exact extensions.
  EXPECT_EQ(app.Rows(list), (std::vector<std::wstring>{L"a.b", L"Blur", L"Curves", L"Dust", L"Glow", L"Sharpen"}));
  EXPECT_EQ(app.Rows(app.ListOff()), std::vector<std::wstring>{L"Emboss"});
  struct Case {
    const wchar_t* clicked;
    std::vector<WORD> keys;
    const wchar_t* typed;
    const wchar_t* switched;
  } cases[] = {
      {L"a.b", {VK_END}, L"", L"Sharpen"},
      {L"a.b", {VK_RIGHT}, L"", L"Blur"},
      {L"a.b", {}, L"gl", L"Glow"},
      {L"Dust", {VK_HOME}, L"", L"a.b"},
      {L"Curves", {VK_NEXT}, L"", L"Dust"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "to " << c.switched);
    ASSERT_TRUE(app.ClickRow(list, c.clicked));
    for (WORD key : c.keys) e2e::PressKey(key);
    e2e::TypeText(c.typed);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(off) != FALSE; }));
    app.ClickCentre(off);
    EXPECT_TRUE(WaitFor([&] { return folder.Exists(std::wstring(c.switched) + L".off"); }));
    EXPECT_TRUE(folder.Exists(std::wstring(c.clicked) + L".8bf"));
  }
  EXPECT_TRUE(folder.Exists(L"Foo.8bf_old"));
  EXPECT_TRUE(folder.Exists(L"x.office"));
  EXPECT_EQ(app.Close(), 0);
}

TEST_F(SafeSwitchingTest, ClicksThatActivateTheWindowAlsoPickAndSwitch) {
  RemoteApp app(folder.Path(), Environment());
  ASSERT_TRUE(app.Started());
  HWND off = app.Button(L"Switch OFF"), on = app.Button(L"Switch ON");
  OtherProgramWindow other;
  ASSERT_TRUE(other.Activate());
  ASSERT_TRUE(app.ClickRow(app.ListOn(), L"Blur"));
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(off) != FALSE; }));
  EXPECT_EQ(GetForegroundWindow(), app.MainWindow());
  // One click on the button, with the other program active again, switches the filter.
  ASSERT_TRUE(other.Activate());
  app.ClickCentre(off);
  EXPECT_TRUE(WaitFor([&] { return folder.Exists(L"Blur.off"); }));
  EXPECT_EQ(GetForegroundWindow(), app.MainWindow());
  // And the same on the other side, once the lists show the switch: one click picks, one click
  // switches.
  ASSERT_TRUE(WaitFor([&] { return app.Rows(app.ListOff()) == std::vector<std::wstring>{L"Blur", L"Emboss"}; }));
  ASSERT_TRUE(other.Activate());
  ASSERT_TRUE(app.ClickRow(app.ListOff(), L"Emboss"));
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(on) != FALSE; }));
  ASSERT_TRUE(other.Activate());
  app.ClickCentre(on);
  EXPECT_TRUE(WaitFor([&] { return folder.Exists(L"Emboss.8bf"); }));
  EXPECT_TRUE(folder.Exists(L"Blur.off"));
  EXPECT_FALSE(app.WaitForMessageBox(300));
  EXPECT_EQ(app.Close(), 0);
}

TEST_F(SafeSwitchingTest, VanishedPlugInsFolderGivesEmptyListsAndComesBack) {
  wintest::TempFolder parent;
  std::wstring plugins = parent.Path() + L"plugins\\";
  ASSERT_TRUE(CreateDirectoryW(plugins.c_str(), nullptr));
  for (const wchar_t* name : {L"Sharpen.8bf", L"Emboss.off"})
    CloseHandle(CreateFileW((plugins + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  RemoteApp app(plugins, Environment());
  ASSERT_TRUE(app.Started());
  HWND off = app.Button(L"Switch OFF");
  ASSERT_TRUE(app.ClickRow(app.ListOn(), L"Sharpen"));
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(off) != FALSE; }));
  // The folder is the program's current directory and so cannot be deleted itself; its parent
  // is moved away, and the path the program shows leads nowhere.
  std::wstring parentPath = parent.Path().substr(0, parent.Path().size() - 1);
  std::wstring away = parentPath + L"-away";
  ASSERT_TRUE(MoveFileW(parentPath.c_str(), away.c_str()));
  std::wstring text = ClickForMessage(app, off);
  EXPECT_NE(text.find(L"\"Sharpen.8bf\""), std::wstring::npos) << text;
  EXPECT_NE(text.find(L"no longer there"), std::wstring::npos) << text;
  EXPECT_TRUE(WaitFor([&] { return app.Rows(app.ListOn()).empty() && app.Rows(app.ListOff()).empty(); }));
  EXPECT_FALSE(IsWindowEnabled(off));

  // Another activation: still empty, still running.
  OtherProgramWindow other;
  ASSERT_TRUE(other.Activate());
  app.ClickClientPoint(app.MainWindow(), 260, 20);  // the panel above the left list
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == app.MainWindow(); }));
  EXPECT_TRUE(app.Rows(app.ListOn()).empty());

  // Back in place: the next activation lists the filters again.
  ASSERT_TRUE(MoveFileW(away.c_str(), parentPath.c_str()));
  ASSERT_TRUE(other.Activate());
  app.ClickClientPoint(app.MainWindow(), 260, 20);
  EXPECT_TRUE(WaitFor([&] { return app.Rows(app.ListOn()) == std::vector<std::wstring>{L"Sharpen"}; }));
  EXPECT_EQ(app.Rows(app.ListOff()), std::vector<std::wstring>{L"Emboss"});
  EXPECT_EQ(app.Close(), 0);
  DeleteFileW((plugins + L"Sharpen.8bf").c_str());
  DeleteFileW((plugins + L"Emboss.off").c_str());
  RemoveDirectoryW(plugins.c_str());
}

TEST_F(SafeSwitchingTest, PlugInsFolderOfThreeHundredCharacters) {
  std::wstring deep = folder.CreateDeepFolder(300);
  ASSERT_FALSE(deep.empty());
  CloseHandle(CreateFileW((deep + L"Deep.8bf").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  for (const wchar_t* key : {L"ListOn_Directory", L"ListOff_Directory", L"BrowseForFolder_FolderName"}) Store(key, deep);
  {
    RemoteApp app(folder.Path(), Environment());
    ASSERT_TRUE(app.Started());
    EXPECT_EQ(app.Rows(app.ListOn()), std::vector<std::wstring>{L"Deep"});
    ASSERT_TRUE(app.ClickRow(app.ListOn(), L"Deep"));
    HWND off = app.Button(L"Switch OFF");
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(off) != FALSE; }));
    app.ClickCentre(off);
    EXPECT_TRUE(WaitFor([&] { return GetFileAttributesW((deep + L"Deep.off").c_str()) != INVALID_FILE_ATTRIBUTES; }));
    EXPECT_TRUE(WaitFor([&] { return app.Rows(app.ListOff()) == std::vector<std::wstring>{L"Deep"}; }));
    EXPECT_EQ(app.Close(), 0);
  }
  wchar_t stored[2048];
  GetPrivateProfileStringW(L"Settings", L"ListOn_Directory", L"", stored, 2048, Ini().c_str());
  EXPECT_EQ(stored, deep);
  {
    RemoteApp app(folder.Path(), Environment());
    ASSERT_TRUE(app.Started());
    EXPECT_EQ(app.Rows(app.ListOff()), std::vector<std::wstring>{L"Deep"});
    EXPECT_TRUE(app.Rows(app.ListOn()).empty());
    EXPECT_EQ(app.Close(), 0);
  }
}

TEST_F(SafeSwitchingTest, StoredPlacementsOpenWithTheTitleBandOnScreen) {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int band = GetSystemMetrics(SM_CYCAPTION);
  struct Case {
    const wchar_t* normPos;
    const wchar_t* showCmd;
    const wchar_t* flags;
    bool zoomed;
  } cases[] = {
      {L"1000,254,1615,803", L"1", L"0", false},       // over the right edge
      {L"386,-300,1001,249", L"1", L"0", false},       // title above the top
      {L"-3000,254,-2385,803", L"1", L"0", false},     // beyond the left edge
      {L"386,5000,1001,5549", L"1", L"0", false},      // beyond the bottom
      {L"-100,-100,3100,2100", L"1", L"0", false},     // larger than the work area
      {L"386,254,1001,803", L"2", L"0", false},        // closed while minimised
      {L"386,254,1001,803", L"2", L"2", true},         // minimised from maximised
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.normPos << " show " << c.showCmd);
    Store(L"FormVersion", L"0");
    Store(L"NormPos", c.normPos);
    Store(L"ShowCmd", c.showCmd);
    Store(L"Flags", c.flags);
    Store(L"IconBtn_Enabled", L"False");  // contradicting stored button states
    Store(L"ListBtn_Enabled", L"False");
    RemoteApp app(folder.Path(), Environment());
    ASSERT_TRUE(app.Started());
    EXPECT_FALSE(IsIconic(app.MainWindow()));
    EXPECT_EQ(IsZoomed(app.MainWindow()) != FALSE, c.zoomed);
    if (!c.zoomed) {
      RECT r;
      GetWindowRect(app.MainWindow(), &r);
      EXPECT_GE(r.left, work.left);
      EXPECT_LE(r.right, work.right);
      EXPECT_GE(r.top, work.top);
      EXPECT_LE(r.top + band, work.bottom);
      EXPECT_LE(r.bottom - r.top, work.bottom - work.top);
    }
    // Exactly one view button is enabled, the one of the other view.
    EXPECT_FALSE(IsWindowEnabled(app.Button(L"Icon View")));
    EXPECT_TRUE(IsWindowEnabled(app.Button(L"List View")));
    EXPECT_EQ(app.Close(), 0);
    // What is written back lies on the screen too.
    wchar_t stored[128];
    GetPrivateProfileStringW(L"Settings", L"NormPos", L"", stored, 128, Ini().c_str());
    RECT back{};
    EXPECT_EQ(swscanf(stored, L"%ld,%ld,%ld,%ld", &back.left, &back.top, &back.right, &back.bottom), 4) << stored;
    EXPECT_GE(back.left, work.left) << stored;
    EXPECT_LE(back.right, work.right) << stored;
    // The screen-specific key, written on close, would otherwise win over the case's value.
    WritePrivateProfileStringW(L"Settings", nullptr, nullptr, Ini().c_str());
  }
}
