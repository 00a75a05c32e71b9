// The settings layer on real windows and a real settings file: the file's rules, form placement
// saved and restored, stored properties, and the window hook with its size limits.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "framework/Application.h"
#include "framework/Exception.h"
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
