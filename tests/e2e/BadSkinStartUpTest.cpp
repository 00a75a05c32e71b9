// End to end: the real Brenvale.exe started with a skin in the skin folder that cannot be
// loaded under the stored skin's name (a damaged archive, a skin folder with malformed
// options). The program starts all the same (in the stored skin), shows the error once, after
// its window is up, and closes normally.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <filesystem>
#include <fstream>

#include "skin/EmbeddedSkins.h"
#include "tests/e2e/RemoteApp.h"
#include "tests/win/WinTestSupport.h"

using e2e::RemoteApp;
using e2e::WaitFor;

namespace {

// The text of a message box: its static control that is not an icon.
std::wstring BoxText(HWND box) {
  for (HWND child = FindWindowExW(box, nullptr, L"Static", nullptr); child;
       child = FindWindowExW(box, child, L"Static", nullptr)) {
    wchar_t text[1024] = L"";
    GetWindowTextW(child, text, 1024);
    if (text[0]) return text;
  }
  return {};
}

// Removes a file or a folder tree under the skin folder at the end.
class SkinFolderEntry {
 public:
  explicit SkinFolderEntry(std::wstring path) : path_(std::move(path)) {}
  ~SkinFolderEntry() {
    SHFILEOPSTRUCTW op{};
    std::wstring from = path_ + L'\0';
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
  }

 private:
  std::wstring path_;
};

void WriteFile(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out << bytes;
}

}  // namespace

TEST(BadSkinStartUp, TheProgramStartsInTheStoredSkinAndShowsTheErrorOnce) {
  const std::wstring skins = L"C:\\Skins\\";
  CreateDirectoryW(skins.c_str(), nullptr);
  const std::wstring name = kPearlMistSkinName;
  const struct {
    const char* what;
    std::wstring folder;  // created first, when not empty
    std::wstring file;
    std::string bytes;
    const wchar_t* error;
  } cases[] = {
      {"damaged archive", L"", skins + name + L".vlz", "BADxxxxxxxxxxxxx", L"Loaded data is not packed Velour file"},
      {"malformed options", skins + name, skins + name + L"\\Options.dat",
       "[GLOBALINFO]\r\nVERSION=6\r\n[BUTTON]\r\nBORDERSMASK=^0474^0000\r\n", L"[BUTTON] BORDERSMASK"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    wintest::TempFolder settings, start;
    SkinFolderEntry entry(c.folder.empty() ? c.file : c.folder);
    if (!c.folder.empty()) CreateDirectoryW(c.folder.c_str(), nullptr);
    WriteFile(c.file, c.bytes);
    std::wstring settingsFolder = settings.Path();
    RemoteApp app(start.Path(), L"BRENVALE_SETTINGS_FOLDER=" + settingsFolder.substr(0, settingsFolder.size() - 1));
    ASSERT_TRUE(app.Started());

    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = e2e::FindTopLevelWindow(app.ProcessId(), L"#32770")) != nullptr; }));
    EXPECT_TRUE(IsWindowVisible(app.MainWindow()));  // the window was up before the error
    std::wstring text = BoxText(box);
    EXPECT_NE(text.find(L"could not be loaded"), std::wstring::npos) << text;
    EXPECT_NE(text.find(c.error), std::wstring::npos) << text;
    HWND ok = FindWindowExW(box, nullptr, L"Button", nullptr);
    ASSERT_NE(ok, nullptr);
    app.ClickCentre(ok);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    Sleep(700);
    EXPECT_EQ(e2e::FindTopLevelWindow(app.ProcessId(), L"#32770"), nullptr);  // once

    EXPECT_NE(app.Button(L"Switch ON"), nullptr);
    EXPECT_EQ(app.Close(), 0);
  }
}
