// The settings layer on real windows and a real settings file: the file's rules, form placement
// saved and restored, stored properties, and the window hook with its size limits.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <thread>

#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/Handles.h"
#include "settings/FormPlacement.h"
#include "settings/WindowHook.h"
#include "tests/win/WinTestSupport.h"

using namespace wintest;

namespace {

// The settings files of these tests live in a temporary folder.
class SettingsFolderScope {
 public:
  explicit SettingsFolderScope(const std::wstring& folder) { settings_file::SetFolder(folder); }
  ~SettingsFolderScope() { settings_file::SetFolder(L""); }
};

// The key names of a section, in file order.
std::vector<std::wstring> Keys(const std::wstring& path, const std::wstring& section) {
  std::vector<wchar_t> buffer(65536);
  DWORD n = GetPrivateProfileSectionW(section.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
  std::vector<std::wstring> keys;
  for (const wchar_t* p = buffer.data(); p < buffer.data() + n && *p; p += lstrlenW(p) + 1) {
    std::wstring line = p;
    keys.push_back(line.substr(0, line.find(L'=')));
  }
  return keys;
}

std::wstring Value(const std::wstring& path, const std::wstring& section, const std::wstring& key) {
  wchar_t buffer[2048];
  GetPrivateProfileStringW(section.c_str(), key.c_str(), L"<missing>", buffer, 2048, path.c_str());
  return buffer;
}

// A form with a storage like the main window's: a label-like component with a caption.
class StoredForm : public TForm {
 public:
  explicit StoredForm(TComponent* owner, int version = 0) : TForm(owner) {
    BeginLoading();
    SetName(L"StoredForm");
    SetBounds(120, 90, 400, 300);
    folder = new TComponent(this);
    folder->SetName(L"Folder");
    storage = new TFormStorage(this);
    storage->SetName(L"FormStorage1");
    storage->SetIniFileName(L"Test.ini");
    storage->SetIniSection(L"Settings");
    storage->SetVersion(version);
    storage->MinMaxInfo()->SetMinTrackWidth(300);
    storage->MinMaxInfo()->SetMinTrackHeight(200);
    storage->StoredProps()->SetText(L"StoredForm.Caption\r\nMissing.Caption\r\nnodot");
    EndLoading();
  }
  TComponent* folder = nullptr;
  TFormStorage* storage = nullptr;
};

class SettingsTest : public testing::Test {
 protected:
  std::wstring IniPath() { return folder.File(L"Test.ini"); }
  TempFolder folder;
  SettingsFolderScope scope{folder.Path()};
};

}  // namespace

TEST_F(SettingsTest, FileQuotesValuesSoTheyReadBackAsWritten) {
  TSettingsFile file(L"Test.ini");
  EXPECT_EQ(file.FileName(), IniPath());
  for (const std::wstring& value : {std::wstring(L"\"quoted\""), std::wstring(L"'single'"), std::wstring(L"plain"),
                                    std::wstring(L"\"half"), std::wstring(L"")}) {
    file.WriteString(L"S", L"k", value);
    EXPECT_EQ(file.ReadString(L"S", L"k", L"x"), value);
  }
  file.WriteString(L"S", L"n", L"0x1F");
  EXPECT_EQ(file.ReadInteger(L"S", L"n", -1), 31);
  file.WriteString(L"S", L"n", L"twelve");
  EXPECT_EQ(file.ReadInteger(L"S", L"n", -1), -1);
  EXPECT_EQ(settings_file::Quoted(L"\"a\""), L"\"\"a\"\"");
  EXPECT_EQ(file.ReadString(L"S", L"long", std::wstring(3000, L'y')).size(), 2047u);
}

TEST_F(SettingsTest, RefusedWriteRaisesAnError) {
  TSettingsFile file(folder.File(L"no such folder\\Test.ini"));
  try {
    file.WriteString(L"S", L"k", L"v");
    FAIL() << "the write was refused but nothing was raised";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), L"Unable to write to " + folder.File(L"no such folder\\Test.ini"));
  }
}

TEST_F(SettingsTest, OldFileInTheWindowsFolderIsReadUntilTheUserFileExists) {
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  std::wstring old = std::wstring(windows) + L"\\BrenvaleSettingsTest.ini";
  ASSERT_TRUE(WritePrivateProfileStringW(L"Settings", L"ListOn_Directory", L"D:\\Old\\", old.c_str()));
  {
    TSettingsFile file(L"BrenvaleSettingsTest.ini");
    EXPECT_EQ(file.ReadString(L"Settings", L"ListOn_Directory", L""), L"D:\\Old\\");
    file.WriteString(L"Settings", L"ListOn_Directory", L"E:\\New\\");
    file.Commit();
  }
  TSettingsFile again(L"BrenvaleSettingsTest.ini");
  EXPECT_EQ(again.ReadString(L"Settings", L"ListOn_Directory", L""), L"E:\\New\\");
  EXPECT_EQ(again.FileName(), folder.File(L"BrenvaleSettingsTest.ini"));
  DeleteFileW(old.c_str());
}

TEST_F(SettingsTest, FirstCloseWritesPlacementThenPropertiesInOrder) {
  ComponentPtr<StoredForm> form(new StoredForm(nullptr));
  form->SetCaption(L"First");
  form->Show();
  Pump();
  // Unresolvable lines were dropped when loading ended.
  EXPECT_EQ(form->storage->StoredProps()->Text(), L"StoredForm.Caption\r\n");
  bool canClose = true;
  form->OnCloseQuery(form.get(), canClose);
  std::wstring w = std::to_wstring(GetSystemMetrics(SM_CXSCREEN)), h = std::to_wstring(GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(Keys(IniPath(), L"Settings"),
            (std::vector<std::wstring>{L"FormVersion", L"Flags", L"ShowCmd", L"PixelsPerInch",
                                       L"MinMaxPos(" + w + L"x" + h + L")", L"MinMaxPos", L"NormPos(" + w + L"x" + h + L")",
                                       L"NormPos", L"Visible", L"StoredForm_Caption"}));
  EXPECT_EQ(Value(IniPath(), L"Settings", L"FormVersion"), L"0");
  EXPECT_EQ(Value(IniPath(), L"Settings", L"Visible"), L"0");
  EXPECT_EQ(Value(IniPath(), L"Settings", L"ShowCmd"), L"1");
  EXPECT_EQ(Value(IniPath(), L"Settings", L"NormPos"), L"120,90,520,390");
  EXPECT_EQ(Value(IniPath(), L"Settings", L"StoredForm_Caption"), L"First");
}

TEST_F(SettingsTest, RestoreBringsBackPlacementStateAndProperties) {
  {
    ComponentPtr<StoredForm> form(new StoredForm(nullptr));
    form->Show();
    Pump();
    form->SetBounds(200, 150, 450, 320);
    form->SetCaption(L"\"Quoted caption\"");
    form->SetWindowState(TWindowState::wsMaximized);
    Pump();
    bool canClose = true;
    form->OnCloseQuery(form.get(), canClose);
  }
  EXPECT_EQ(Value(IniPath(), L"Settings", L"ShowCmd"), L"3");
  ComponentPtr<StoredForm> again(new StoredForm(nullptr));
  again->Show();
  Pump();
  EXPECT_EQ(again->Caption(), L"\"Quoted caption\"");
  EXPECT_TRUE(IsZoomed(again->Handle()));
  WINDOWPLACEMENT wp{sizeof(wp)};
  GetWindowPlacement(again->Handle(), &wp);
  EXPECT_EQ(wp.rcNormalPosition.left, 200);
  EXPECT_EQ(wp.rcNormalPosition.right, 650);
}

TEST_F(SettingsTest, OlderVersionIsIgnoredAndRewritten) {
  WritePrivateProfileStringW(L"Settings", L"FormVersion", L"1", IniPath().c_str());
  WritePrivateProfileStringW(L"Settings", L"StoredForm_Caption", L"Old", IniPath().c_str());
  ComponentPtr<StoredForm> form(new StoredForm(nullptr, 2));
  form->SetCaption(L"Designed");
  form->Show();
  Pump();
  EXPECT_EQ(form->Caption(), L"Designed");
  EXPECT_TRUE(form->storage->Restored());
  form.reset();  // destroyed without a close query: saves, and says so in Visible
  EXPECT_EQ(Value(IniPath(), L"Settings", L"FormVersion"), L"2");
  EXPECT_EQ(Value(IniPath(), L"Settings", L"StoredForm_Caption"), L"Designed");
  EXPECT_EQ(Value(IniPath(), L"Settings", L"Visible"), L"1");
}

TEST_F(SettingsTest, FormNeverShownNeverOverwritesItsSettings) {
  WritePrivateProfileStringW(L"Settings", L"StoredForm_Caption", L"Kept", IniPath().c_str());
  { ComponentPtr<StoredForm> form(new StoredForm(nullptr)); }
  EXPECT_EQ(Value(IniPath(), L"Settings", L"StoredForm_Caption"), L"Kept");
}

TEST_F(SettingsTest, StoredValuesAreEncodedWithTheirKey) {
  EXPECT_EQ(stored_values::Encode(L"AB", L"k"), L"2a29");
  EXPECT_EQ(stored_values::Decode(L"2a29", L"k"), L"AB");
  EXPECT_EQ(stored_values::Decode(L"zz2", L"k"), std::wstring(1, static_cast<wchar_t>(32 ^ 'k')));
  TStoredValues values;
  values.Add()->SetName(L"Last");
  EXPECT_THROW(values.Add()->SetName(L"LAST"), EStringListError);
}

TEST_F(SettingsTest, MinimumTrackSizeOverridesTheWindowsOwnAnswer) {
  ComponentPtr<StoredForm> form(new StoredForm(nullptr));
  form->Show();
  Pump();
  MINMAXINFO info{};
  SendMessageW(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 300);
  EXPECT_EQ(info.ptMinTrackSize.y, 200);
}

namespace {

std::string FileBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Cuts a file to half its length, as a save that stopped half-way leaves it.
void CutInHalf(const std::wstring& path) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(file);
  LARGE_INTEGER size{};
  GetFileSizeEx(file.get(), &size);
  size.QuadPart /= 2;
  SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN);
  SetEndOfFile(file.get());
}

class ReplaceHookScope {
 public:
  explicit ReplaceHookScope(std::function<void(const std::wstring&)> hook) { settings_file::SetBeforeReplaceHook(std::move(hook)); }
  ~ReplaceHookScope() { settings_file::SetBeforeReplaceHook(nullptr); }
};

// A save's set of values: forty keys, each with the save's own value.
void WriteSet(TSettingsFile& file, const std::wstring& value) {
  for (int k = 0; k < 40; ++k) file.WriteString(L"Settings", L"Key" + std::to_wstring(k), value + std::to_wstring(k));
}

}  // namespace

TEST_F(SettingsTest, ASaveThatStopsHalfWayLeavesThePreviousFileAsItWas) {
  {
    TSettingsFile previous(L"Test.ini");
    WriteSet(previous, L"old");
    previous.WriteString(L"Other", L"Kept", L"yes");
    EXPECT_FALSE(folder.Exists(L"Test.ini"));  // nothing reaches the file before the commit
    previous.Commit();
  }
  const std::string before = FileBytes(IniPath());
  ASSERT_NE(before.find("Key39=old39"), std::string::npos);

  const struct {
    const char* what;
    std::function<void(const std::wstring&)> hook;
    bool commit;
  } cases[] = {
      {"half of the copy is written", [](const std::wstring& copy) { CutInHalf(copy); }, true},
      {"the program stops after writing half of the copy",
       [](const std::wstring& copy) {
         CutInHalf(copy);
         throw Exception(L"stopped");
       },
       true},
      {"the save ends before its commit", nullptr, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ReplaceHookScope hook(c.hook);
    std::wstring raised;
    try {
      TSettingsFile file(L"Test.ini");
      WriteSet(file, L"new");
      EXPECT_EQ(file.ReadString(L"Settings", L"Key7", L""), L"new7");  // reads see the save's own writes
      if (c.commit) file.Commit();
    } catch (const Exception& e) {
      raised = e.Message();
    }
    if (c.commit && raised != L"stopped") {
      EXPECT_EQ(raised, L"Unable to write to " + IniPath());
    }
    EXPECT_EQ(FileBytes(IniPath()), before);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"Test.ini"});  // no copy left behind
  }

  TSettingsFile file(L"Test.ini");
  WriteSet(file, L"new");
  file.Commit();
  EXPECT_EQ(Value(IniPath(), L"Settings", L"Key39"), L"new39");
  EXPECT_EQ(Value(IniPath(), L"Other", L"Kept"), L"yes");
  EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"Test.ini"});
}

TEST_F(SettingsTest, RefusedSavesSayUnableToWriteAndLeaveTheFile) {
  WritePrivateProfileStringW(L"Settings", L"Key0", L"kept", IniPath().c_str());
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, IniPath().c_str());
  const std::string before = FileBytes(IniPath());
  const struct {
    const char* what;
    std::function<std::function<void()>()> arrange;  // answers what puts things back
  } cases[] = {
      {"the file is read-only",
       [&] {
         SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_READONLY);
         return std::function<void()>([&] { SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL); });
       }},
      {"another program holds the file open without sharing",
       [&] {
         auto held = std::make_shared<UniqueFile>(
             CreateFileW(IniPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
         EXPECT_TRUE(*held);
         return std::function<void()>([held] { held->reset(); });
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::function<void()> putBack = c.arrange();
    std::wstring raised;
    try {
      TSettingsFile file(L"Test.ini");
      WriteSet(file, L"new");
      file.Commit();
    } catch (const Exception& e) {
      raised = e.Message();
    }
    putBack();
    EXPECT_EQ(raised, L"Unable to write to " + IniPath());
    EXPECT_EQ(FileBytes(IniPath()), before);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"Test.ini"});
  }
}

TEST_F(SettingsTest, TwoSavesAtOnceLeaveTheCompleteSetOfOne) {
  // Two saves write the same keys in opposite orders, one write each in turn, and put their
  // copies in place at the same moment; written one key at a time into the file, the result
  // would mix both.
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(round);
    std::atomic<int> turn{0};
    std::wstring errors[2];
    auto save = [&](int parity, std::wstring value) {
      try {
        TSettingsFile file(L"Test.ini");
        for (int step = 0; step < 40; ++step) {
          while (turn.load() != 2 * step + parity) Sleep(0);
          int k = parity == 0 ? step : 39 - step;
          file.WriteString(L"Settings", L"Key" + std::to_wstring(k), value);
          ++turn;
        }
        while (turn.load() < 80) Sleep(0);
        file.Commit();
      } catch (const std::exception& e) {
        errors[parity] = ExceptionText(e);
      }
    };
    std::thread a(save, 0, L"A" + std::to_wstring(round)), b(save, 1, L"B" + std::to_wstring(round));
    a.join();
    b.join();
    EXPECT_EQ(errors[0], L"");
    EXPECT_EQ(errors[1], L"");
    std::wstring first = Value(IniPath(), L"Settings", L"Key0");
    ASSERT_TRUE(first == L"A" + std::to_wstring(round) || first == L"B" + std::to_wstring(round)) << first;
    for (int k = 1; k < 40; ++k) EXPECT_EQ(Value(IniPath(), L"Settings", L"Key" + std::to_wstring(k)), first) << k;
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"Test.ini"});
  }
}

TEST_F(SettingsTest, AReadOnlyFileGivesOneMessageAtCloseAndNoneAtDestruction) {
  WritePrivateProfileStringW(L"Settings", L"StoredForm_Caption", L"Kept", IniPath().c_str());
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, IniPath().c_str());
  ASSERT_TRUE(SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_READONLY));
  RecordedErrors().clear();
  {
    ComponentPtr<StoredForm> form(new StoredForm(nullptr));
    form->Show();
    Pump();
    form->SetCaption(L"Changed");
    bool canClose = true;
    form->OnCloseQuery(form.get(), canClose);
  }
  SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(RecordedErrors(), std::vector<std::wstring>{L"Unable to write to " + IniPath()});
  EXPECT_EQ(Value(IniPath(), L"Settings", L"StoredForm_Caption"), L"Kept");
  EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"Test.ini"});
}

TEST(SettingsFolder, ARelativeFolderIsResolvedOnceAndTheUserFolderIsNamedBrenvale) {
  TempFolder base, elsewhere;
  {
    CurrentDirectoryScope current(base.Path());
    settings_file::SetFolder(L"portable");
  }
  {
    CurrentDirectoryScope current(elsewhere.Path());
    EXPECT_EQ(settings_file::Folder(), base.File(L"portable\\"));
    EXPECT_EQ(settings_file::PathOf(L"Brenvale.ini"), base.File(L"portable\\Brenvale.ini"));
    TSettingsFile file(L"Brenvale.ini");
    file.WriteString(L"Settings", L"Key", L"value");
    file.Commit();
  }
  EXPECT_TRUE(base.Exists(L"portable\\Brenvale.ini"));
  EXPECT_FALSE(elsewhere.Exists(L"portable"));
  settings_file::SetFolder(L"");
  std::wstring user = settings_file::Folder();
  ASSERT_GE(user.size(), 10u);
  EXPECT_EQ(user.substr(user.size() - 10), L"\\Brenvale\\");  // whatever this program is called
}

TEST(WindowHook, HooksRunLastConnectedFirstAndHandledStopsTheRest) {
  ComponentPtr<TForm> form(new TForm(nullptr));
  form->Show();
  std::vector<std::string> log;
  auto* first = new TPvWindowHook(form.get());
  auto* second = new TPvWindowHook(form.get());
  bool secondHandles = false;
  first->BeforeMessage = [&](TObject*, TMessage& m, bool&) {
    if (m.Msg == WM_APP) log.push_back("first before");
  };
  first->AfterMessage = [&](TObject*, TMessage& m, bool&) {
    if (m.Msg == WM_APP) log.push_back("first after");
  };
  second->BeforeMessage = [&](TObject*, TMessage& m, bool& handled) {
    if (m.Msg == WM_APP) {
      log.push_back("second before");
      handled = secondHandles;
    }
  };
  second->AfterMessage = [&](TObject*, TMessage& m, bool&) {
    if (m.Msg == WM_APP) log.push_back("second after");
  };
  int own = form->AddMessageHook([&](TMessage& m, const TControl::NextHandler& next) {
    if (m.Msg == WM_APP) log.push_back("window");
    next(m);
  });
  first->SetWinControl(form.get());
  second->SetWinControl(form.get());
  SendMessageW(form->Handle(), WM_APP, 0, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"second before", "first before", "window", "second after", "first after"}));
  log.clear();
  secondHandles = true;
  SendMessageW(form->Handle(), WM_APP, 0, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"second before"}));
  form->RemoveMessageHook(own);
}

TEST(WindowHook, RecreatedWindowIsHookedAgain) {
  ComponentPtr<TForm> form(new TForm(nullptr));
  form->Show();
  auto* hook = new TPvWindowHook(form.get());
  int seen = 0;
  hook->AfterMessage = [&](TObject*, TMessage& m, bool&) {
    if (m.Msg == WM_APP) ++seen;
  };
  hook->SetWinControl(form.get());
  SendMessageW(form->Handle(), WM_APP, 0, 0);
  HWND before = form->Handle();
  form->SetBorderStyle(TFormBorderStyle::bsSingle);  // the window is created again
  Pump();
  EXPECT_NE(form->Handle(), before);
  SendMessageW(form->Handle(), WM_APP, 0, 0);
  EXPECT_EQ(seen, 2);
  // Unhooking gives the window its own procedure back.
  hook->SetActive(false);
  SendMessageW(form->Handle(), WM_APP, 0, 0);
  EXPECT_EQ(seen, 2);
}

TEST(WindowHook, ProcedureInstalledLaterStaysInPlace) {
  ComponentPtr<TForm> form(new TForm(nullptr));
  form->Show();
  auto* hook = new TPvWindowHook(form.get());
  hook->SetWinControl(form.get());
  static WNDPROC below = nullptr;
  static int laterSaw = 0;
  laterSaw = 0;
  below = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(form->Handle(), GWLP_WNDPROC));
  SetWindowLongPtrW(form->Handle(), GWLP_WNDPROC,
                    reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
                      if (m == WM_APP) ++laterSaw;
                      return CallWindowProcW(below, w, m, wp, lp);
                    }));
  hook->SetActive(false);
  SendMessageW(form->Handle(), WM_APP, 0, 0);
  EXPECT_EQ(laterSaw, 1);  // the later procedure was not cut out
  Pump();                  // the deferred release must not free a procedure still in the chain
  SendMessageW(form->Handle(), WM_APP, 0, 0);
  EXPECT_EQ(laterSaw, 2);
}
