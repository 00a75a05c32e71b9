// The file list's languages on real list views: each list's column captions follow its own
// language, the messages and drive-type names follow the language given last to any list, and a
// change of language relabels the columns of the same window without losing what it shows.
#include "tests/win/FileListFixture.h"

#include <commctrl.h>

#include <algorithm>

#include "filelist/FileListTexts.h"
#include "filelist/OvFilelistView28PopUp.h"
#include "framework/Strings.h"

using namespace wintest;

namespace {

struct Column {
  std::wstring caption;
  int width;
  bool operator==(const Column&) const = default;
};

void PrintTo(const Column& c, std::ostream* os) { *os << bv::WideToUtf8(c.caption) << "/" << c.width; }

std::vector<Column> Columns(HWND list) {
  std::vector<Column> columns;
  for (int i = 0;; ++i) {
    wchar_t text[64] = {};
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH;
    c.pszText = text;
    c.cchTextMax = 64;
    if (!SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&c))) break;
    columns.push_back({text, c.cx});
  }
  return columns;
}

std::vector<std::wstring> Captions(HWND list) {
  std::vector<std::wstring> captions;
  for (const Column& c : Columns(list)) captions.push_back(c.caption);
  return captions;
}

std::vector<std::wstring> FileCaptions(TLanguage language) {
  const FileListTexts& t = TextsOf(language);
  return {t.ColName, t.ColSize, t.ColType, t.ColModified, t.ColAttr};
}

std::vector<std::wstring> DriveCaptions(TLanguage language) {
  const FileListTexts& t = TextsOf(language);
  return {t.ColName, t.ColType, t.ColDiskSize, t.ColFreeSpace, t.ColAttr};
}

std::wstring FirstMenuCaption(HMENU menu) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, 0, text, 128, MF_BYPOSITION);
  return text;
}

// Each header item's format and picture (the sort arrow).
std::vector<std::pair<int, HBITMAP>> HeaderFormats(HWND list) {
  HWND header = ListView_GetHeader(list);
  std::vector<std::pair<int, HBITMAP>> formats;
  for (int i = 0; i < Header_GetItemCount(header); ++i) {
    HDITEMW item{};
    item.mask = HDI_FORMAT | HDI_BITMAP;
    Header_GetItem(header, i, &item);
    formats.emplace_back(item.fmt, item.hbm);
  }
  return formats;
}

// A subclass that stands for an adapter attached to the list's window: it answers a message of
// its own.
constexpr UINT kProbe = WM_APP + 77;
LRESULT CALLBACK Adapter(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == kProbe) return 1234;
  return DefSubclassProc(window, message, wParam, lParam);
}

class FileListLanguageTest : public FileListFixture {
 protected:
  void SetUp() override {
    FileListFixture::SetUp();
    for (const wchar_t* name : {L"alpha.txt", L"beta.txt", L"gamma.txt"}) folder.Create(name);
    list->SetViewStyle(TViewStyle::vsReport);
    list->SetDirectory(folder.Path());
    Pump();
  }
  void TearDown() override {
    SetSharedLanguage(TLanguage::lnEnglish);
    FileListFixture::TearDown();
  }
};

}  // namespace

TEST_F(FileListLanguageTest, EachListKeepsItsColumnCaptionsWhileTheSharedTextsFollowTheLastAssignment) {
  TOvFilelistView28* second = AddList(10, 250, 600, 180);
  second->SetViewStyle(TViewStyle::vsReport);
  second->SetDirectory(folder.Path());
  Pump();

  list->SetLanguage(TLanguage::lnGerman);
  EXPECT_EQ(FirstMenuCaption(list->PopUpMenu().Handle()), TextsOf(TLanguage::lnGerman).MnuOpen);
  second->SetLanguage(TLanguage::lnJapanese);
  Pump();
  EXPECT_EQ(Captions(ListWindow()), FileCaptions(TLanguage::lnGerman));
  EXPECT_EQ(Captions(second->Handle()), FileCaptions(TLanguage::lnJapanese));
  EXPECT_EQ(list->Language(), TLanguage::lnGerman);
  EXPECT_EQ(SharedLanguage(), TLanguage::lnJapanese);

  // The German list's messages are the shared, Japanese ones.
  Select(0);
  list->SetReadOnly(true);
  list->StartRename();
  EXPECT_EQ(messages, std::vector<std::wstring>{TextsOf(TLanguage::lnJapanese).MsgReadOnly});

  // Its drive view: drive columns in German, drive types in Japanese.
  list->SetDirectory(TOvFilelistView28::kMyComputer);
  Pump();
  EXPECT_EQ(Captions(ListWindow()), DriveCaptions(TLanguage::lnGerman));
  const auto& japaneseDrives = TextsOf(TLanguage::lnJapanese).DriveTypes;
  std::wstring firstType = ListItemText(ListWindow(), 0, 1);
  EXPECT_NE(std::find(japaneseDrives.begin(), japaneseDrives.end(), firstType), japaneseDrives.end())
      << bv::WideToUtf8(firstType);

  // The German list's menu, built before the Japanese assignment, shows the Japanese captions.
  EXPECT_EQ(FirstMenuCaption(list->PopUpMenu().Handle()), TextsOf(TLanguage::lnJapanese).MnuOpen);

  // Giving the first list a language again moves the shared texts, and its drive rows follow at
  // once; the second list's columns stay.
  list->SetLanguage(TLanguage::lnFrench);
  EXPECT_EQ(SharedLanguage(), TLanguage::lnFrench);
  EXPECT_EQ(Captions(ListWindow()), DriveCaptions(TLanguage::lnFrench));
  size_t driveType = static_cast<size_t>(std::find(japaneseDrives.begin(), japaneseDrives.end(), firstType) -
                                         japaneseDrives.begin());
  ASSERT_LT(driveType, japaneseDrives.size());
  EXPECT_EQ(ListItemText(ListWindow(), 0, 1), TextsOf(TLanguage::lnFrench).DriveTypes[driveType]);
  EXPECT_EQ(Captions(second->Handle()), FileCaptions(TLanguage::lnJapanese));

  // A new list starts in English, and so do the shared texts.
  AddList(0, 0, 10, 10);
  EXPECT_EQ(SharedLanguage(), TLanguage::lnEnglish);
}

TEST_F(FileListLanguageTest, ChangingTheLanguageRelabelsTheSameWindowAndKeepsWhatItShows) {
  HWND before = ListWindow();
  ListView_SetColumnWidth(before, 1, 111);  // as a drag of the column's edge does
  ASSERT_TRUE(SetWindowSubclass(before, Adapter, 77, 0));
  Select(1);
  const std::vector<std::wstring> rows = Rows();
  const std::vector<Column> columns = Columns(before);
  const int top = ListView_GetTopIndex(before);
  const std::vector<std::pair<int, HBITMAP>> arrows = HeaderFormats(before);
  ASSERT_FALSE(arrows.empty());

  list->SetLanguage(TLanguage::lnSlovak);
  Pump();

  EXPECT_EQ(ListWindow(), before);
  EXPECT_TRUE(IsWindow(before));
  EXPECT_EQ(SendMessageW(before, kProbe, 0, 0), 1234) << "the adapter's subclass is gone";
  EXPECT_EQ(list->Directory(), folder.Path());
  EXPECT_EQ(list->ViewStyle(), TViewStyle::vsReport);
  EXPECT_EQ(Rows(), rows);
  EXPECT_EQ(list->SelCount(), 1);
  EXPECT_EQ(list->SelectedIndex(), 1);
  EXPECT_EQ(ListView_GetTopIndex(before), top);
  std::vector<Column> relabelled = columns;
  for (size_t i = 0; i < relabelled.size(); ++i) relabelled[i].caption = FileCaptions(TLanguage::lnSlovak)[i];
  EXPECT_EQ(Columns(before), relabelled);
  EXPECT_EQ(HeaderFormats(before), arrows) << "the sort arrow is lost";

  RemoveWindowSubclass(before, Adapter, 77);
}

TEST_F(FileListLanguageTest, ANewLanguageTurnsThePopUpMenuOnTheSameOneLeavesItAlone) {
  struct Case {
    TLanguage written;
    bool menuAfter;
  } cases[] = {
      {TLanguage::lnEnglish, false},  // the list's language already: nothing happens
      {TLanguage::lnTurkish, true},
      {TLanguage::lnTurkish, false},
      {TLanguage::lnEnglish, true},
  };
  for (const auto& c : cases) {
    list->SetPopUpMenuEnabled(false);
    list->SetLanguage(c.written);
    EXPECT_EQ(list->PopUpMenuEnabled(), c.menuAfter) << static_cast<int>(c.written);
    EXPECT_EQ(list->Language(), c.written);
  }
}

TEST_F(FileListLanguageTest, TheSystemDefaultIsTheUsersLanguage) {
  list->SetLanguage(TLanguage::lnPolish);
  list->SetLanguage(TLanguage::lnSysDefault);
  TLanguage expected = LanguageOfLangId(GetUserDefaultLangID());
  EXPECT_EQ(list->Language(), expected);
  EXPECT_EQ(SharedLanguage(), expected);
  EXPECT_EQ(Captions(ListWindow()), FileCaptions(expected));
}
