// End to end: the settings file of the real Brenvale.exe. The first run writes it; a folder
// chosen with the folder picker, the view style and the window state come back on the next
// start; placement from an older settings version is ignored; a quoted value survives; a folder
// deleted meanwhile is not restored; the border cannot be dragged smaller than 615 x 549.
#include <gtest/gtest.h>

#include <sstream>

#include "framework/Handles.h"
#include "skin/SkinCommands.h"

#include "tests/e2e/RemoteApp.h"
#include "tests/win/WinTestSupport.h"

using e2e::RemoteApp;
using e2e::WaitFor;

namespace {

std::vector<std::wstring> SectionKeys(const std::wstring& path) {
  std::vector<wchar_t> buffer(65536);
  DWORD n = GetPrivateProfileSectionW(L"Settings", buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
  std::vector<std::wstring> keys;
  for (const wchar_t* p = buffer.data(); p < buffer.data() + n && *p; p += lstrlenW(p) + 1) {
    std::wstring line = p;
    keys.push_back(line.substr(0, line.find(L'=')));
  }
  return keys;
}

std::wstring Stored(const std::wstring& path, const std::wstring& key) {
  wchar_t buffer[2048];
  GetPrivateProfileStringW(L"Settings", key.c_str(), L"<missing>", buffer, 2048, path.c_str());
  return buffer;
}

// The raw text of a settings line, as it stands in the file.
std::string RawLine(const std::wstring& path, const std::string& key) {
  std::string text;
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (file) {
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) text.append(buffer, read);
  }
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line))
    if (line.rfind(key + "=", 0) == 0) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
  return {};
}

class SettingsRoundTripTest : public testing::Test {
 protected:
  void SetUp() override {
    start.Create(L"Start.8bf");
    chosen.Create(L"Chosen.8bf");
    chosen.Create(L"Other.off");
  }
  std::wstring Ini() { return settings.File(L"Brenvale.ini"); }
  std::wstring Environment() {
    std::wstring folder = settings.Path();
    return L"BRENVALE_SETTINGS_FOLDER=" + folder.substr(0, folder.size() - 1);
  }

  wintest::TempFolder settings;
  wintest::TempFolder start;
  // Right under the drive root, where the picker's tree finds it by typing its name.
  wintest::TempFolder chosen{L"C:\\"};
};

const std::vector<std::wstring> kExpectedKeys = {
    L"FormVersion", L"Flags", L"ShowCmd", L"PixelsPerInch", L"MinMaxPos(1280x1024)", L"MinMaxPos",
    L"NormPos(1280x1024)", L"NormPos", L"Visible", L"BrowseForFolder_FolderName", L"FileName_Caption",
    L"ListOn_Directory", L"ListOff_Directory", L"ListOn_ViewStyle", L"ListOff_ViewStyle", L"IconBtn_Enabled",
    L"ListBtn_Enabled"};

}  // namespace

TEST_F(SettingsRoundTripTest, ChosenFolderViewAndButtonsComeBackAfterARestart) {
  {
    RemoteApp app(start.Path(), Environment());
    ASSERT_TRUE(app.Started());
    EXPECT_EQ(app.Close(), 0);
  }
  std::vector<std::wstring> keys = SectionKeys(Ini());
  std::wstring suffix = L"(" + std::to_wstring(GetSystemMetrics(SM_CXSCREEN)) + L"x" +
                        std::to_wstring(GetSystemMetrics(SM_CYSCREEN)) + L")";
  std::vector<std::wstring> expected = kExpectedKeys;
  expected[4] = L"MinMaxPos" + suffix;
  expected[6] = L"NormPos" + suffix;
  EXPECT_EQ(keys, expected);
  EXPECT_EQ(Stored(Ini(), L"FormVersion"), L"0");
  EXPECT_EQ(Stored(Ini(), L"Visible"), L"0");
  EXPECT_EQ(Stored(Ini(), L"ListOn_Directory"), start.Path());
  EXPECT_EQ(Stored(Ini(), L"ListOn_ViewStyle"), L"vsIcon");
  EXPECT_EQ(Stored(Ini(), L"IconBtn_Enabled"), L"False");
  EXPECT_EQ(Stored(Ini(), L"BrowseForFolder_FolderName"), L"C:\\");

  {
    RemoteApp app(start.Path(), Environment());
    ASSERT_TRUE(app.Started());
    // Choose the folder with the picker: it opens on "C:\", the folder is found by typing its
    // name in the tree and confirmed with Enter.
    app.ClickCentre(app.Button(L"Browse for Plug-Ins Folder..."));
    HWND picker = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (picker = e2e::FindTopLevelWindow(app.ProcessId(), L"#32770")) != nullptr; }));
    HWND tree = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (tree = FindWindowExW(picker, nullptr, L"SysTreeView32", nullptr)) != nullptr; }));
    // The picker wears the skin: it answers the skin's question and its title buttons are the
    // skin's (the platform's system menu style went to the adapter).
    EXPECT_EQ(SendMessageW(picker, SM_LACQUERCMD, static_cast<WPARAM>(SkinCommandParam(scIsSkinAware)), 0), 1);
    EXPECT_FALSE(GetWindowLongW(picker, GWL_STYLE) & WS_SYSMENU);
    // The tree fills itself and selects "C:" before it takes keys.
    ASSERT_TRUE(WaitFor([&] { return SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) != 0; }, 10000));
    Sleep(500);
    // The keys go to the focused window: click the selected item, as a user would.
    ASSERT_TRUE(app.ClickSelectedTreeItem(tree));
    e2e::PressKey(VK_RIGHT);  // open "C:"
    std::wstring name = chosen.Path().substr(3, chosen.Path().size() - 4);
    e2e::TypeText(name);
    e2e::PressKey(VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(picker); }));
    std::wstring folderWithoutSlash = chosen.Path().substr(0, chosen.Path().size() - 1);
    EXPECT_TRUE(WaitFor([&] { return app.Rows(app.ListOn()) == std::vector<std::wstring>{L"Chosen"}; }));
    // The second list is filled after the first.
    EXPECT_TRUE(WaitFor([&] { return app.Rows(app.ListOff()) == std::vector<std::wstring>{L"Other"}; }));
    app.ClickCentre(app.Button(L"List View"));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(app.Button(L"List View")); }));
    EXPECT_EQ(app.Close(), 0);
    EXPECT_TRUE(lstrcmpiW(Stored(Ini(), L"BrowseForFolder_FolderName").c_str(), folderWithoutSlash.c_str()) == 0)
        << Stored(Ini(), L"BrowseForFolder_FolderName");
  }
  EXPECT_TRUE(lstrcmpiW(Stored(Ini(), L"ListOn_Directory").c_str(), chosen.Path().c_str()) == 0);
  EXPECT_EQ(Stored(Ini(), L"ListOff_ViewStyle"), L"vsSmallIcon");
  EXPECT_EQ(Stored(Ini(), L"IconBtn_Enabled"), L"True");
  EXPECT_EQ(Stored(Ini(), L"ListBtn_Enabled"), L"False");

  // Started from another folder, the chosen folder and the view come back.
  RemoteApp app(start.Path(), Environment());
  ASSERT_TRUE(app.Started());
  EXPECT_EQ(app.Rows(app.ListOn()), std::vector<std::wstring>{L"Chosen"});
  EXPECT_EQ(GetWindowLongPtrW(app.ListOn(), GWL_STYLE) & LVS_TYPEMASK, LVS_SMALLICON);
  EXPECT_TRUE(IsWindowEnabled(app.Button(L"Icon View")));
  EXPECT_FALSE(IsWindowEnabled(app.Button(L"List View")));
  EXPECT_EQ(app.Close(), 0);
}

TEST_F(SettingsRoundTripTest, MaximisedWindowComesBackMaximised) {
  {
    RemoteApp app(start.Path(), Environment());
    ASSERT_TRUE(app.Started());
    PostMessageW(app.MainWindow(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(WaitFor([&] { return IsZoomed(app.MainWindow()) != FALSE; }));
    EXPECT_EQ(app.Close(), 0);
  }
  EXPECT_EQ(Stored(Ini(), L"ShowCmd"), L"3");
  EXPECT_EQ(Stored(Ini(), L"NormPos"), L"386,254,1001,803");
  {
    RemoteApp app(start.Path(), Environment());
    ASSERT_TRUE(app.Started());
    EXPECT_TRUE(IsZoomed(app.MainWindow()));
    EXPECT_EQ(app.Close(), 0);
  }
  // The normal rectangle was kept for restoring (the program itself reads its placement; from
  // another process the test platform only tells the current rectangle).
  EXPECT_EQ(Stored(Ini(), L"ShowCmd"), L"3");
  EXPECT_EQ(Stored(Ini(), L"NormPos"), L"386,254,1001,803");
}

TEST_F(SettingsRoundTripTest, OlderVersionQuotedValueAndDeletedFolder) {
  wintest::TempFolder gone;
  std::wstring goneFolder = gone.Path();
  std::wstring ini = Ini();
  WritePrivateProfileStringW(L"Settings", L"FormVersion", L"-1", ini.c_str());
  WritePrivateProfileStringW(L"Settings", L"NormPos", L"10,10,700,600", ini.c_str());
  WritePrivateProfileStringW(L"Settings", L"FileName_Caption", L"\"\"Pending\"\"", ini.c_str());
  {
    RemoteApp app(start.Path(), Environment());
    ASSERT_TRUE(app.Started());
    RECT r;
    GetWindowRect(app.MainWindow(), &r);
    EXPECT_EQ(r.left, 386);  // the older file was ignored: the designed place
    EXPECT_EQ(app.Close(), 0);
  }
  EXPECT_EQ(Stored(ini, L"FormVersion"), L"0");  // and rewritten
  // A value that begins and ends with a double quote keeps its quotes through a run.
  WritePrivateProfileStringW(L"Settings", L"FileName_Caption", L"\"\"Pending\"\"", ini.c_str());
  WritePrivateProfileStringW(L"Settings", L"ListOn_Directory", goneFolder.c_str(), ini.c_str());
  WritePrivateProfileStringW(L"Settings", L"ListOff_Directory", goneFolder.c_str(), ini.c_str());
  RemoveDirectoryW(goneFolder.c_str());
  {
    RemoteApp app(start.Path(), Environment());
    ASSERT_TRUE(app.Started());
    EXPECT_EQ(app.Rows(app.ListOn()), std::vector<std::wstring>{L"Start"});  // the deleted folder is not shown
    EXPECT_EQ(app.Close(), 0);
  }
  EXPECT_EQ(RawLine(ini, "FileName_Caption"), "FileName_Caption=\"\"Pending\"\"");
  EXPECT_EQ(Stored(ini, L"ListOn_Directory"), start.Path());
}

TEST_F(SettingsRoundTripTest, BorderStopsAtTheDesignedSize) {
  RemoteApp app(start.Path(), Environment());
  ASSERT_TRUE(app.Started());
  HWND window = app.MainWindow();
  // Drag the lower right corner up and to the left, far beyond the designed size.
  RECT r;
  GetWindowRect(window, &r);
  wintest::SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, r.right - 2, r.bottom - 2);
  Sleep(150);
  wintest::SendMouse(MOUSEEVENTF_LEFTDOWN);
  Sleep(150);
  for (int step = 1; step <= 10; ++step) {
    wintest::SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, r.right - 2 - step * 30, r.bottom - 2 - step * 30);
    Sleep(60);
  }
  wintest::SendMouse(MOUSEEVENTF_LEFTUP);
  Sleep(400);
  RECT after;
  GetWindowRect(window, &after);
  EXPECT_EQ(after.right - after.left, 615);
  EXPECT_EQ(after.bottom - after.top, 549);
  // Outwards there is no limit. The skin's frame reaches its border width (26 pixels) beyond the
  // client area's corner, whether the window draws it or a border window around it does.
  RECT client;
  GetClientRect(window, &client);
  POINT corner{client.right, client.bottom};
  ClientToScreen(window, &corner);
  corner.x += 26 - 2;
  corner.y += 26 - 2;
  wintest::SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, corner.x, corner.y);
  Sleep(150);
  wintest::SendMouse(MOUSEEVENTF_LEFTDOWN);
  Sleep(150);
  wintest::SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, corner.x + 60, corner.y + 40);
  Sleep(150);
  wintest::SendMouse(MOUSEEVENTF_LEFTUP);
  Sleep(400);
  GetWindowRect(window, &after);
  EXPECT_GT(after.right - after.left, 615);
  EXPECT_EQ(app.Close(), 0);
}

TEST_F(SettingsRoundTripTest, RelativeSettingsFolderStaysWhereTheProgramStarted) {
  // The stored plug-ins folder moves the program's current folder while it starts; the settings
  // folder named relative to the start folder stays where it was at start.
  wintest::TempFolder other;
  other.Create(L"Else.8bf");
  std::wstring longWay = L"cfg";
  while (longWay.size() <= 600) longWay += L"\\x\\..";
  const struct {
    const char* what;
    std::wstring folder;
  } cases[] = {{"relative", L"cfg"}, {"longer than 520 characters", longWay}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::wstring ini = start.File(L"cfg\\Brenvale.ini");
    CreateDirectoryW(start.File(L"cfg").c_str(), nullptr);
    DeleteFileW(ini.c_str());
    WritePrivateProfileStringW(L"Settings", L"ListOn_Directory", other.Path().c_str(), ini.c_str());
    WritePrivateProfileStringW(L"Settings", L"ListOff_Directory", other.Path().c_str(), ini.c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, ini.c_str());
    {
      RemoteApp app(start.Path(), L"BRENVALE_SETTINGS_FOLDER=" + c.folder);
      ASSERT_TRUE(app.Started());
      EXPECT_EQ(app.Rows(app.ListOn()), std::vector<std::wstring>{L"Else"});
      EXPECT_EQ(app.Close(), 0);
    }
    EXPECT_EQ(Stored(ini, L"FormVersion"), L"0");
    EXPECT_EQ(Stored(ini, L"ListOn_Directory"), other.Path());
    EXPECT_FALSE(other.Exists(L"cfg"));
  }
}

TEST_F(SettingsRoundTripTest, TwoInstancesClosingTogetherLeaveTheCompleteSetOfOne) {
  // Two instances over two folders, one in each view, asked to close at the same moment: the
  // file holds the folder, view and buttons of one of them, never a mixture, and no copy is
  // left beside it.
  wintest::TempFolder second;
  second.Create(L"Second.8bf");
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    DeleteFileW(Ini().c_str());
    RemoteApp icons(start.Path(), Environment()), list(second.Path(), Environment());
    ASSERT_TRUE(icons.Started());
    ASSERT_TRUE(list.Started());
    list.ClickCentre(list.Button(L"List View"));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(list.Button(L"List View")); }));
    PostMessageW(icons.MainWindow(), WM_CLOSE, 0, 0);
    PostMessageW(list.MainWindow(), WM_CLOSE, 0, 0);
    for (RemoteApp* app : {&icons, &list})
      if (HWND box = app->WaitForMessageBox(500)) {
        ADD_FAILURE() << "a message at close: " << testing::PrintToString(RemoteApp::MessageBoxText(box));
        RemoteApp::CloseMessageBox(box);
      }
    EXPECT_EQ(icons.Close(), 0);
    EXPECT_EQ(list.Close(), 0);

    EXPECT_EQ(SectionKeys(Ini()).size(), kExpectedKeys.size());
    std::wstring folder = Stored(Ini(), L"ListOn_Directory");
    ASSERT_TRUE(folder == start.Path() || folder == second.Path()) << folder;
    bool iconsSaved = folder == start.Path();
    EXPECT_EQ(Stored(Ini(), L"ListOff_Directory"), folder);
    EXPECT_EQ(Stored(Ini(), L"ListOn_ViewStyle"), iconsSaved ? L"vsIcon" : L"vsSmallIcon");
    EXPECT_EQ(Stored(Ini(), L"ListOff_ViewStyle"), iconsSaved ? L"vsIcon" : L"vsSmallIcon");
    EXPECT_EQ(Stored(Ini(), L"IconBtn_Enabled"), iconsSaved ? L"False" : L"True");
    EXPECT_EQ(Stored(Ini(), L"ListBtn_Enabled"), iconsSaved ? L"True" : L"False");
    EXPECT_EQ(settings.Names(), std::vector<std::wstring>{L"Brenvale.ini"});
  }
}
