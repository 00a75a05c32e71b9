// The folder chooser: flag word, callback messages, and a real run of the platform's picker
// confirmed and cancelled by a timer.
#include <gtest/gtest.h>

#include "folderpicker/BrowseForFolder.h"
#include "framework/Exception.h"
#include "framework/Form.h"
#include "tests/win/WinTestSupport.h"

using namespace wintest;

TEST(BrowseForFolder, FlagsSetExactlyTheSevenBits) {
  ComponentPtr<TForm> form(new TForm(nullptr));
  auto* chooser = new TBrowseForFolder(form.get());
  EXPECT_EQ(chooser->FolderName(), L"C:\\");
  EXPECT_EQ(chooser->StatusText(), L"Plase select folder");
  EXPECT_EQ(chooser->Caption(), L"Select Folder");
  EXPECT_TRUE(chooser->Flags().Empty());
  chooser->SetFlags({TBrowseFlag::bf_ReturnOnlyFSDIRS, TBrowseFlag::bf_EditBox});
  EXPECT_EQ(chooser->FlagWord(), 0x0011u);
  EXPECT_EQ(chooser->Flags(), (TBrowseFlags{TBrowseFlag::bf_ReturnOnlyFSDIRS, TBrowseFlag::bf_EditBox}));
  chooser->SetFlags({TBrowseFlag::bf_BrowseForPrinter});
  EXPECT_EQ(chooser->FlagWord(), 0x2000u);
  EXPECT_EQ(browse_flags::ApplyFlags(0x20 | 0x1000, {}), 0x20u);  // other bits stay
  EXPECT_EQ(browse_flags::FlagsOf(0x20), TBrowseFlags{});
  EXPECT_EQ(browse_flags::SpecialFolderOf(TBrowseLocation::bl_DRIVES), 17);
  EXPECT_EQ(browse_flags::SpecialFolderOf(TBrowseLocation::bl_PRINTHOOD), 27);
  EXPECT_EQ(browse_flags::SpecialFolderOf(TBrowseLocation::bl_STANDART), -1);
}

namespace {

struct Recorded {
  UINT msg;
  WPARAM wParam;
  std::wstring text;
};
std::vector<Recorded> recorded;

LRESULT CALLBACK RecordingProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == BFFM_SETSELECTIONW || msg == BFFM_SETSTATUSTEXTW) {
    recorded.push_back({msg, wParam, reinterpret_cast<const wchar_t*>(lParam)});
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

struct Texts {
  std::wstring folderName, statusText;
};

}  // namespace

TEST(BrowseForFolder, CallbackPreselectsTheFolderAndSendsTheStatusText) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = RecordingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"BrowseCallbackRecorder";
  RegisterClassW(&wc);
  UniqueWindow picker(CreateWindowW(L"BrowseCallbackRecorder", L"", 0, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr));

  Texts both{L"C:\\Plug-Ins", L"Plase select folder"};
  recorded.clear();
  EXPECT_EQ(TBrowseForFolder::BrowseCallback(picker.get(), BFFM_INITIALIZED, 0, reinterpret_cast<LPARAM>(&both)), 0);
  ASSERT_EQ(recorded.size(), 2u);
  EXPECT_EQ(recorded[0].msg, static_cast<UINT>(BFFM_SETSELECTIONW));
  EXPECT_EQ(recorded[0].wParam, 1u);
  EXPECT_EQ(recorded[0].text, L"C:\\Plug-Ins");
  EXPECT_EQ(recorded[1].msg, static_cast<UINT>(BFFM_SETSTATUSTEXTW));
  EXPECT_EQ(recorded[1].text, L"Plase select folder");

  Texts none{L"", L""};
  recorded.clear();
  TBrowseForFolder::BrowseCallback(picker.get(), BFFM_INITIALIZED, 0, reinterpret_cast<LPARAM>(&none));
  EXPECT_TRUE(recorded.empty());
  EXPECT_EQ(TBrowseForFolder::BrowseCallback(picker.get(), BFFM_VALIDATEFAILEDW, 0, reinterpret_cast<LPARAM>(&both)), 1);
  EXPECT_EQ(TBrowseForFolder::BrowseCallback(picker.get(), BFFM_SELCHANGED, 0, reinterpret_cast<LPARAM>(&both)), 0);
}

TEST(BrowseForFolder, OwnerMustBeAForm) {
  ComponentPtr<TComponent> owner(new TComponent(nullptr));
  auto* chooser = new TBrowseForFolder(owner.get());
  EXPECT_THROW(chooser->Execute(), EInvalidCast);
}

namespace {

UINT pickerButton = IDOK;
std::wstring pickerTitle;

// Finds the picker opened by this thread and presses one of its buttons.
void CALLBACK PressPickerButton(HWND, UINT, UINT_PTR id, DWORD) {
  HWND picker = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM found) -> BOOL {
        wchar_t cls[32];
        GetClassNameW(w, cls, 32);
        if (lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(w)) {
          *reinterpret_cast<HWND*>(found) = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&picker));
  if (!picker) return;
  KillTimer(nullptr, id);
  // The instruction text shown above the tree.
  EnumChildWindows(
      picker,
      [](HWND w, LPARAM) -> BOOL {
        wchar_t text[128];
        GetWindowTextW(w, text, 128);
        if (lstrcmpW(text, L"Select Folder") == 0) pickerTitle = text;
        return TRUE;
      },
      0);
  PostMessageW(picker, WM_COMMAND, pickerButton, 0);
}

}  // namespace

TEST(BrowseForFolder, ExecuteAnswersTheChosenFolderOrKeepsItOnCancel) {
  // A folder right under the drive root: the picker of the test platform pre-selects those
  // reliably, deeper ones not always.
  TempFolder folder(L"C:\\");
  ComponentPtr<TForm> form(new TForm(nullptr));
  form->Show();
  auto* chooser = new TBrowseForFolder(form.get());
  std::wstring path = folder.Path().substr(0, folder.Path().size() - 1);
  chooser->SetFolderName(path);

  pickerButton = IDOK;
  pickerTitle.clear();
  SetTimer(nullptr, 0, 100, PressPickerButton);
  EXPECT_TRUE(chooser->Execute());
  EXPECT_EQ(pickerTitle, L"Select Folder");
  // The pre-selected folder comes back, without a trailing separator.
  EXPECT_TRUE(lstrcmpiW(chooser->FolderName().c_str(), path.c_str()) == 0) << chooser->FolderName();
  EXPECT_FALSE(chooser->DisplayName().empty());
  EXPECT_EQ(chooser->FlagWord() & 0x20u, 0x20u);  // every run adds the validation flag
  EXPECT_TRUE(chooser->Flags().Empty());

  chooser->SetFolderName(L"C:\\");
  pickerButton = IDCANCEL;
  SetTimer(nullptr, 0, 100, PressPickerButton);
  EXPECT_FALSE(chooser->Execute());
  EXPECT_EQ(chooser->FolderName(), L"C:\\");
}
