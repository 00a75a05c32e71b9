// How the file list shows its entries, read back from the real list view and its header: row
// texts in the formats, the two column sets, icons and the parent entry, attribute colours of
// painted rows and the sort arrow moving with header clicks.
#include "tests/win/FileListFixture.h"

#include <shellapi.h>
#include <winioctl.h>

#include "filelist/ParentFolderImage.h"
#include "filelist/ShellImageWarmUp.h"
#include "filelist/ShellInfoCache.h"
#include "framework/Strings.h"
#include "paint/DibSection.h"

using namespace wintest;

namespace {

// 2021-03-04 05:06:07 UTC as a file time.
FILETIME FixedTime() {
  SYSTEMTIME t{2021, 3, 4, 4, 5, 6, 7, 0};
  FILETIME f;
  SystemTimeToFileTime(&t, &f);
  return f;
}

void SetWriteTime(const std::wstring& path) {
  UniqueFile file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  FILETIME time = FixedTime();
  SetFileTime(file.get(), nullptr, nullptr, &time);
}

std::wstring ShellTypeName(const std::wstring& path) {
  SHFILEINFOW info{};
  SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_TYPENAME);
  return info.szTypeName;
}

int ShellIconIndex(const std::wstring& path) {
  SHFILEINFOW info{};
  SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX);
  return info.iIcon;
}

struct Column {
  std::wstring caption;
  int width;
  int align;  // LVCFMT_LEFT or LVCFMT_RIGHT
  bool operator==(const Column&) const = default;
};

std::vector<Column> Columns(HWND list) {
  std::vector<Column> columns;
  for (int i = 0;; ++i) {
    wchar_t text[64] = {};
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    c.pszText = text;
    c.cchTextMax = 64;
    if (!SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&c))) break;
    columns.push_back({text, c.cx, c.fmt & LVCFMT_JUSTIFYMASK});
  }
  return columns;
}

void PrintTo(const Column& c, std::ostream* os) { *os << bv::WideToUtf8(c.caption) << "/" << c.width << "/" << c.align; }

class FileListPresentationTest : public FileListFixture {
 protected:
  void SetUp() override {
    FileListFixture::SetUp();
    list->SetViewStyle(TViewStyle::vsReport);
  }
  void TearDown() override {
    TOvFilelistView28::OverrideVisualStyles(-1);
    shell_image_warm_up::OverridePending(-1);
    shell_image_warm_up::OverridePlaceholders(nullptr, nullptr);
    FileListFixture::TearDown();
  }
  // A file of 4 GiB and 2 KiB (sparse), a hidden system file and a read-only archived file, all
  // last written at the fixed time.
  void CreateFixtureFiles() {
    {
      UniqueFile big(CreateFileW(folder.File(L"big.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
      DWORD ignored = 0;
      DeviceIoControl(big.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
      LARGE_INTEGER size;
      size.QuadPart = (4LL << 30) + 2048;
      SetFilePointerEx(big.get(), size, nullptr, FILE_BEGIN);
      SetEndOfFile(big.get());
    }
    folder.Create(L"hidden.sys", std::string(1500, 'h'));
    folder.Create(L"ro.txt", std::string(2048, 'r'));
    for (const wchar_t* name : {L"big.bin", L"hidden.sys", L"ro.txt"}) SetWriteTime(folder.File(name));
    SetFileAttributesW(folder.File(L"hidden.sys").c_str(),
                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    SetFileAttributesW(folder.File(L"ro.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  }
  std::vector<std::wstring> Row(int index) {
    std::vector<std::wstring> texts;
    for (int column = 0; column < 5; ++column) texts.push_back(ListItemText(ListWindow(), index, column));
    return texts;
  }
  // The header of the fixture's list, or of `list`.
  HWND Header(HWND list = nullptr) {
    return reinterpret_cast<HWND>(SendMessageW(list ? list : ListWindow(), LVM_GETHEADER, 0, 0));
  }
  HDITEMW HeaderItem(int index, HWND list = nullptr) {
    HDITEMW item{};
    item.mask = HDI_FORMAT | HDI_BITMAP;
    SendMessageW(Header(list), HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return item;
  }
  void ClickHeader(int column) {
    Pump(static_cast<int>(GetDoubleClickTime()) + 50);  // a click, not the second half of a double-click
    RECT r{};
    SendMessageW(Header(), HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&r));
    ClickAt(Header(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  // The column that shows the sort arrow, and whether it points down; -1 when none or several do.
  std::pair<int, bool> ArrowShown(bool themed, HWND list = nullptr) {
    int column = -1;
    bool down = false;
    int count = static_cast<int>(SendMessageW(Header(list), HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      HDITEMW item = HeaderItem(i, list);
      bool arrow = themed ? (item.fmt & (HDF_SORTUP | HDF_SORTDOWN)) != 0
                          : (item.fmt & (HDF_BITMAP | HDF_BITMAP_ON_RIGHT)) == (HDF_BITMAP | HDF_BITMAP_ON_RIGHT) && item.hbm;
      EXPECT_TRUE(item.fmt & HDF_STRING) << "column " << i;
      if (!themed) {
        EXPECT_FALSE(item.fmt & (HDF_SORTUP | HDF_SORTDOWN)) << "column " << i;
      }
      if (!arrow) continue;
      if (column >= 0) return {-1, false};
      column = i;
      if (themed) {
        down = (item.fmt & HDF_SORTDOWN) != 0;
      } else {
        down = PictureOf(item.hbm) == ResourcePicture(L"Bmp_Down28");
        EXPECT_TRUE(down || PictureOf(item.hbm) == ResourcePicture(L"Bmp_Up28"));
      }
    }
    return {column, down};
  }
  // The size and pixels of a bitmap.
  static std::vector<BYTE> PictureOf(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info)) return {};
    std::vector<BYTE> bytes(static_cast<size_t>(info.bmWidthBytes) * static_cast<size_t>(info.bmHeight));
    GetBitmapBits(bitmap, static_cast<LONG>(bytes.size()), bytes.data());
    bytes.push_back(static_cast<BYTE>(info.bmWidth));
    bytes.push_back(static_cast<BYTE>(info.bmHeight));
    return bytes;
  }
  static std::vector<BYTE> ResourcePicture(const wchar_t* name) {
    UniqueBitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
    return PictureOf(bitmap.get());
  }
};

// The pixels of a rectangle of the list's client area that have exactly this colour.
int CountPixels(HWND window, const RECT& r, COLORREF colour) {
  WindowDc dc(window);
  int count = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (GetPixel(dc.get(), x, y) == colour) ++count;
  return count;
}

}  // namespace

TEST_F(FileListPresentationTest, ReportRowsShowSizesDatesAndAttributes) {
  CreateFixtureFiles();
  list->SetDirectory(folder.Path());
  ASSERT_EQ(list->EntryCount(), 3);
  const std::wstring date = L"3/4/2021 5:06 AM";  // the locale's short date and short time
  EXPECT_EQ(Row(0), (std::vector<std::wstring>{L"big.bin", L"4194306 KB", ShellTypeName(folder.File(L"big.bin")), date, L"A"}));
  EXPECT_EQ(Row(1), (std::vector<std::wstring>{L"hidden.sys", L"1 KB", ShellTypeName(folder.File(L"hidden.sys")), date, L"AHS"}));
  EXPECT_EQ(Row(2), (std::vector<std::wstring>{L"ro.txt", L"2 KB", ShellTypeName(folder.File(L"ro.txt")), date, L"AR"}));
  EXPECT_FALSE(Row(2)[2].empty());
  EXPECT_EQ(list->ItemText(0, 5), folder.File(L"big.bin"));
  EXPECT_EQ(list->ItemText(0, 6), L"file");

  // New formats show from the next rebuild on.
  struct Case {
    TDtFormat date;
    TTmFormat time;
    const wchar_t* text;
  } cases[] = {
      {TDtFormat::df_yyyyMMdd, TTmFormat::tfLongFormat, L"2021-03-04 5:06:07 AM"},
      {TDtFormat::df_ddMMyy_DE, TTmFormat::tfShortFormat, L"04.03.21 5:06 AM"},
      {TDtFormat::df_MMddyy, TTmFormat::tfCustomize, L"03/04/21 5:06:07  AM"},
      {TDtFormat::df_ddMMyyyy, TTmFormat::tfShortFormat, L"04/03/2021 5:06 AM"},
  };
  for (const Case& c : cases) {
    std::wstring before = ListItemText(ListWindow(), 0, 3);
    list->SetDateFormat(c.date);
    list->SetTimeFormat(c.time);
    EXPECT_EQ(ListItemText(ListWindow(), 0, 3), before);
    list->UpdateFileList();
    EXPECT_EQ(ListItemText(ListWindow(), 0, 3), c.text);
  }

  list->SetFileSize(TFileSize::fsByte);
  EXPECT_EQ(ListItemText(ListWindow(), 0, 1), L"4294969344");
  EXPECT_EQ(ListItemText(ListWindow(), 1, 1), L"1500");
}

TEST_F(FileListPresentationTest, ShellIconAndTypeAreFetchedOnFirstDisplay) {
  for (int i = 0; i < 300; ++i) folder.Create(L"f" + std::to_wstring(1000 + i) + L".txt");
  list->SetBounds(10, 10, 300, 120);
  list->SetDirectory(folder.Path());
  UpdateWindow(ListWindow());
  Pump();
  const auto& entries = list->Model().Entries();
  EXPECT_TRUE(entries.front().EntryInfoFetched);
  EXPECT_FALSE(entries.back().EntryInfoFetched);
  std::wstring type = ListItemText(ListWindow(), 299, 2);
  EXPECT_TRUE(entries.back().EntryInfoFetched);
  EXPECT_EQ(type, ShellTypeName(folder.File(L"f1299.txt")));
  EXPECT_EQ(entries.back().EntryTypeName, type);
}

// The shell's answers are kept per extension and across rebuilds: painting after a rebuild asks
// nothing new, yet a file renamed to another extension shows the new type's icon and name.
TEST_F(FileListPresentationTest, CachedShellAnswersFollowARenamedFile) {
  for (int i = 0; i < 12; ++i) folder.Create(L"Filter" + std::to_wstring(10 + i) + L".8bf");
  list->SetDirectory(folder.Path());
  UpdateWindow(ListWindow());
  Pump();
  ASSERT_EQ(ListItemText(ListWindow(), 0, 0), L"Filter10.8bf");
  const std::wstring filterType = ListItemText(ListWindow(), 0, 2);
  EXPECT_EQ(filterType, ShellTypeName(folder.File(L"Filter10.8bf")));
  const int queries = ShellInfoCache::Shared().Queries();
  list->UpdateFileList();
  UpdateWindow(ListWindow());
  Pump();
  for (int i = 0; i < list->EntryCount(); ++i) EXPECT_EQ(ListItemText(ListWindow(), i, 2), filterType);
  EXPECT_EQ(ShellInfoCache::Shared().Queries(), queries) << "a rebuild of a folder of filters asked the shell again";

  ASSERT_TRUE(MoveFileW(folder.File(L"Filter10.8bf").c_str(), folder.File(L"Filter10.txt").c_str()));
  list->UpdateFileList();
  UpdateWindow(ListWindow());
  Pump();
  ASSERT_EQ(ListItemText(ListWindow(), 0, 0), L"Filter10.txt");
  EXPECT_EQ(ListItemText(ListWindow(), 0, 2), ShellTypeName(folder.File(L"Filter10.txt")));
  EXPECT_NE(ListItemText(ListWindow(), 0, 2), filterType);
  EXPECT_EQ(list->ItemImage(0), ShellIconIndex(folder.File(L"Filter10.txt")));
  EXPECT_EQ(list->ItemImage(1), ShellIconIndex(folder.File(L"Filter11.8bf")));
}

// A program's picture is its own: each program file is asked for, where every filter shares the
// answer of its extension.
TEST_F(FileListPresentationTest, ProgramFilesAreAskedForOneByOne) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  for (const wchar_t* name : {L"Own.exe", L"Other.exe", L"Third.exe"}) ASSERT_TRUE(CopyFileW(self, folder.File(name).c_str(), FALSE));
  for (const wchar_t* name : {L"A.8bf", L"B.8bf", L"C.8bf"}) folder.Create(name);
  list->SetDirectory(folder.Path());
  UpdateWindow(ListWindow());
  Pump();
  ASSERT_EQ(list->EntryCount(), 6);
  ShellInfoCache& cache = ShellInfoCache::Shared();
  for (int i = 0; i < list->EntryCount(); ++i) list->ItemImage(i);  // every extension asked once by now
  list->UpdateFileList();  // the rebuild keeps the answers of unchanged files
  for (int i = 0; i < list->EntryCount(); ++i) list->ItemImage(i);
  list->SetDirectory(L"C:\\");
  Pump();
  const int before = cache.Queries();
  list->SetDirectory(folder.Path());  // another list: the answers are asked again, per program
  for (int i = 0; i < list->EntryCount(); ++i) {
    EXPECT_EQ(list->ItemImage(i), ShellIconIndex(list->Model().Entry(i)->EntryPath())) << i;
    EXPECT_EQ(ListItemText(ListWindow(), i, 2), ShellTypeName(list->Model().Entry(i)->EntryPath())) << i;
  }
  EXPECT_EQ(cache.Queries() - before, 3) << "one question per program, none for the filters";
}

TEST_F(FileListPresentationTest, ParentEntryAndFoldersUseTheirPictures) {
  TempFolder sub(folder.Path());
  sub.Create(L"Blur.8bf");
  list->SetShowFolders(true);
  list->SetMask(L"*.8bf");
  list->SetParentDirCaption(L"Parent");
  list->SetDirectory(sub.Path());
  ASSERT_EQ(list->EntryCount(), 2);
  EXPECT_EQ(Row(0), (std::vector<std::wstring>{L" Parent", L" ", L" ", L" ", L" "}));
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = 0;
  SendMessageW(ListWindow(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.iImage, list->ParentImageIndex());
  item.iItem = 1;
  SendMessageW(ListWindow(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  SHFILEINFOW info{};
  SHGetFileInfoW(sub.File(L"Blur.8bf").c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX);
  EXPECT_EQ(item.iImage, info.iIcon);

  // A folder shows a blank size.
  list->SetDirectory(folder.Path());
  std::wstring subName = sub.Path().substr(folder.Path().size(), sub.Path().size() - folder.Path().size() - 1);
  int row = FindListItem(ListWindow(), subName);
  ASSERT_GE(row, 0);
  EXPECT_EQ(ListItemText(ListWindow(), row, 1), L" ");
  EXPECT_EQ(ListItemText(ListWindow(), row, 6), L"dir");
}

HIMAGELIST AttachedImages(HWND list, int kind) {
  return reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, static_cast<WPARAM>(kind), 0));
}

int RowImage(HWND list, int row) {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iImage = -1;
  SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}

// A list made in the icon view holds the large list only; each style it is switched to then
// holds the list it draws from, and its rows keep their shell icons.
TEST_F(FileListPresentationTest, EachViewStyleHoldsTheImageListItDrawsFrom) {
  folder.Create(L"Sharpen.8bf");
  list->SetVisible(false);
  auto* shown = new TOvFilelistView28(form.get());
  shown->SetViewStyle(TViewStyle::vsIcon);  // before the window is made
  shown->SetShowFolders(false);
  shown->SetBounds(10, 10, 600, 420);
  shown->SetParent(form.get());
  shown->SetDirectory(folder.Path());
  Pump();
  ASSERT_EQ(shown->EntryCount(), 1);
  HWND window = shown->Handle();
  SHFILEINFOW info{};
  auto large = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"", 0, &info, sizeof(info), SHGFI_SYSICONINDEX));
  auto small = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  ASSERT_NE(large, nullptr);
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(AttachedImages(window, LVSIL_NORMAL), large);
  EXPECT_EQ(AttachedImages(window, LVSIL_SMALL), nullptr) << "the small list is fetched only for a view that needs it";

  struct Step {
    const char* name;
    TViewStyle style;
    int kind;
    HIMAGELIST images;
  };
  const Step steps[] = {{"small icons", TViewStyle::vsSmallIcon, LVSIL_SMALL, small},
                        {"report", TViewStyle::vsReport, LVSIL_SMALL, small},
                        {"list", TViewStyle::vsList, LVSIL_SMALL, small},
                        {"icons again", TViewStyle::vsIcon, LVSIL_NORMAL, large}};
  int icon = ShellIconIndex(folder.File(L"Sharpen.8bf"));
  for (const Step& step : steps) {
    shown->SetViewStyle(step.style);
    Pump();
    EXPECT_EQ(AttachedImages(window, step.kind), step.images) << step.name;
    EXPECT_EQ(RowImage(window, 0), icon) << step.name;
    EXPECT_GE(icon, 0);
    EXPECT_LT(icon, ImageList_GetImageCount(step.images)) << step.name;
  }
}

// A list made while the shell's image lists are still being made on the warm-up thread lays its
// rows out with a stand-in of the same size, and takes the shell's lists when it first paints
// (or is printed): its rows sit where those of a list made the ordinary way sit, and show the
// shell's icons. A shell whose icons have another size than the stand-in's gets its rows
// measured and placed anew.
TEST_F(FileListPresentationTest, AListMadeBeforeTheShellsImagesAreReadyTakesThemOnItsFirstPaint) {
  for (int i = 0; i < 40; ++i) folder.Create(L"Filter" + std::to_wstring(100 + i) + L".8bf");
  list->SetVisible(false);
  struct Case {
    const char* name;
    TViewStyle style;
    int standInSize;   // 0: the stand-in of the shell's size
    bool printed;      // taken by WM_PRINT (PrintWindow) instead of a paint
    bool switchedOnce; // switched to the icon view and back before the first paint
  };
  const Case cases[] = {{"icons", TViewStyle::vsIcon, 0, false, false},
                        {"small icons", TViewStyle::vsSmallIcon, 0, false, false},
                        {"list", TViewStyle::vsList, 0, true, false},
                        {"small icons, switched before the first paint", TViewStyle::vsSmallIcon, 0, false, true},
                        {"icons, the shell's larger than the stand-in", TViewStyle::vsIcon, 20, false, false},
                        {"list, the shell's smaller than the stand-in", TViewStyle::vsList, 28, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const bool large = c.style == TViewStyle::vsIcon;
    const int kind = large ? LVSIL_NORMAL : LVSIL_SMALL;
    UniqueImageList standIn(c.standInSize ? ImageList_Create(c.standInSize, c.standInSize, ILC_COLOR32 | ILC_MASK, 0, 1)
                                          : nullptr);
    auto make = [&](int pending) {
      shell_image_warm_up::OverridePending(pending);
      auto* made = new TOvFilelistView28(form.get());
      made->SetViewStyle(c.style);
      made->SetShowFolders(false);
      made->SetBounds(10, 10, 400, 300);
      made->SetParent(form.get());
      made->SetDirectory(folder.Path());
      return made;
    };
    TOvFilelistView28* ordinary = make(0);
    Pump();
    const int last = ordinary->EntryCount() - 1;
    ASSERT_EQ(last, 39);
    RECT expected{};
    ListView_GetItemRect(ordinary->Handle(), last, &expected, LVIR_BOUNDS);
    ordinary->SetVisible(false);

    // As at the program's start: the window is filled before its form is shown.
    form->SetVisible(false);
    shell_image_warm_up::OverridePlaceholders(large ? standIn.get() : nullptr, large ? nullptr : standIn.get());
    TOvFilelistView28* early = make(1);
    HWND window = early->Handle();
    if (c.switchedOnce) {
      early->SetViewStyle(TViewStyle::vsIcon);
      early->SetViewStyle(c.style);
    }
    HIMAGELIST shell = shell_image_warm_up::SystemImages(large);
    EXPECT_EQ(AttachedImages(window, kind), shell_image_warm_up::Placeholder(large))
        << "nothing waited for the shell before the first paint";
    EXPECT_EQ(RowImage(window, 0), I_IMAGENONE) << "a row measured against the stand-in asks for no picture";
    RECT before{};
    ListView_GetItemRect(window, last, &before, LVIR_BOUNDS);
    if (!c.standInSize) EXPECT_TRUE(EqualRect(&before, &expected));

    form->SetVisible(true);
    if (c.printed) {
      DibSection picture = DibSection::CreateBitmap32(400, 300);
      UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
      SelectedObject selected(dc.get(), picture.Handle());
      PrintWindow(window, dc.get(), 0);
    } else {
      UpdateWindow(window);
    }
    EXPECT_EQ(AttachedImages(window, kind), shell);
    EXPECT_EQ(RowImage(window, 0), ShellIconIndex(folder.File(L"Filter100.8bf")));
    RECT after{};
    ListView_GetItemRect(window, last, &after, LVIR_BOUNDS);
    EXPECT_TRUE(EqualRect(&after, &expected)) << after.left << "," << after.top << "," << after.right << ","
                                              << after.bottom << " against " << expected.left << "," << expected.top
                                              << "," << expected.right << "," << expected.bottom;
    shell_image_warm_up::OverridePlaceholders(nullptr, nullptr);
    TComponent::Free(early);
    TComponent::Free(ordinary);
    shell_image_warm_up::OverridePending(-1);
  }
}

// A painted list asks the shell about the rows it shows, not about every file of the folder:
// each file here is of a type of its own, so each row asked costs one question.
TEST_F(FileListPresentationTest, APaintedListAsksTheShellOnlyAboutTheRowsItShows) {
  struct Case {
    const char* name;
    TViewStyle style;
    const wchar_t* extensionStem;  // a type per file, new to the process in each case
  };
  const Case cases[] = {{"icons", TViewStyle::vsIcon, L".qi"},
                        {"small icons", TViewStyle::vsSmallIcon, L".qs"},
                        {"report", TViewStyle::vsReport, L".qr"}};
  const int files = 300;
  for (const Case& c : cases) {
    TempFolder many(folder.Path());
    for (int i = 0; i < files; ++i) many.Create(L"Filter" + std::wstring(c.extensionStem) + std::to_wstring(1000 + i));
    list->SetViewStyle(c.style);
    ShellInfoCache& cache = ShellInfoCache::Shared();
    int before = cache.Queries();
    list->SetDirectory(many.Path());
    ASSERT_EQ(list->EntryCount(), files) << c.name;
    UpdateWindow(ListWindow());
    Pump();
    int asked = cache.Queries() - before;
    RECT client{};
    GetClientRect(ListWindow(), &client);
    int visible = 0;
    for (int i = 0; i < files; ++i) {
      RECT row{}, both{};
      if (ListView_GetItemRect(ListWindow(), i, &row, LVIR_BOUNDS) && IntersectRect(&both, &row, &client)) ++visible;
    }
    EXPECT_GT(asked, 0) << c.name;
    EXPECT_LT(visible, files) << c.name << ": the folder must fill more than the window";
    EXPECT_LE(asked, 2 * visible) << c.name << ": " << visible << " rows visible";
    list->SetDirectory(folder.Path());
  }
}

TEST_F(FileListPresentationTest, TheShellsImageListsAreSharedAndOutliveTheList) {
  SHFILEINFOW info{};
  auto large = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"", 0, &info, sizeof(info), SHGFI_SYSICONINDEX));
  auto small = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  list->SetViewStyle(TViewStyle::vsIcon);  // the report view holds only the small list
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(ListWindow(), LVM_GETIMAGELIST, LVSIL_NORMAL, 0)), large);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(ListWindow(), LVM_GETIMAGELIST, LVSIL_SMALL, 0)), small);
  // The parent picture is appended to the shared list when first asked for, so the index comes
  // before the count.
  int parentIndex = list->ParentImageIndex();
  int count = ImageList_GetImageCount(large);
  ASSERT_GT(count, parentIndex);
  TComponent::Free(list);
  list = nullptr;
  Pump();
  EXPECT_EQ(ImageList_GetImageCount(large), count);
  EXPECT_GT(ImageList_GetImageCount(small), 0);
  int width = 0, height = 0;
  EXPECT_TRUE(ImageList_GetIconSize(large, &width, &height));
}

TEST_F(FileListPresentationTest, DrivesShowTheirOwnIconsNotTheParentPicture) {
  list->SetDirectory(TOvFilelistView28::kMyComputer);
  ASSERT_GT(list->EntryCount(), 0);
  auto small = reinterpret_cast<HIMAGELIST>(SendMessageW(ListWindow(), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  for (int row = 0; row < list->EntryCount(); ++row) {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    SendMessageW(ListWindow(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_FALSE(parent_folder_image::SameImage(small, item.iImage, small, list->ParentImageIndex())) << "row " << row;
  }
}

TEST_F(FileListPresentationTest, FileAndDriveColumns) {
  folder.Create(L"a.8bf");
  list->SetDirectory(folder.Path());
  const std::vector<Column> fileColumns{{L"Name", 165, LVCFMT_LEFT},
                                        {L"Size", 75, LVCFMT_RIGHT},
                                        {L"Type", 95, LVCFMT_LEFT},
                                        {L"Modified", 125, LVCFMT_LEFT},
                                        {L"Attr", 40, LVCFMT_LEFT}};
  EXPECT_EQ(Columns(ListWindow()), fileColumns);
  EXPECT_TRUE(list->FileColumnsShown());

  list->SetDirectory(TOvFilelistView28::kMyComputer);
  EXPECT_EQ(Columns(ListWindow()), (std::vector<Column>{{L"Name", 160, LVCFMT_LEFT},
                                                        {L"Type", 110, LVCFMT_LEFT},
                                                        {L"Disk Size", 90, LVCFMT_RIGHT},
                                                        {L"Free Space", 90, LVCFMT_RIGHT},
                                                        {L"Attr", 40, LVCFMT_LEFT}}));
  EXPECT_FALSE(list->FileColumnsShown());
  // A width set in the drive view waits for the file columns.
  list->SetColWidth_Size(80);
  EXPECT_EQ(Columns(ListWindow())[1].width, 110);
  list->SetDirectory(folder.Path());
  EXPECT_EQ(Columns(ListWindow())[1].width, 80);
  list->SetColWidth_Attr(55);
  EXPECT_EQ(Columns(ListWindow())[4].width, 55);
}

// Outside the report view a list makes no columns (each would lay the list view's hidden header
// out again). The set the list shows, the widths set meanwhile and the sort arrow come with the
// report view.
TEST_F(FileListPresentationTest, ColumnsAreMadeWhenTheReportViewIsEntered) {
  folder.Create(L"a.8bf");
  const std::vector<Column> fileColumns{{L"Name", 165, LVCFMT_LEFT},
                                        {L"Size", 80, LVCFMT_RIGHT},
                                        {L"Type", 95, LVCFMT_LEFT},
                                        {L"Modified", 125, LVCFMT_LEFT},
                                        {L"Attr", 40, LVCFMT_LEFT}};
  const std::vector<Column> driveColumns{{L"Name", 160, LVCFMT_LEFT},
                                         {L"Type", 110, LVCFMT_LEFT},
                                         {L"Disk Size", 90, LVCFMT_RIGHT},
                                         {L"Free Space", 90, LVCFMT_RIGHT},
                                         {L"Attr", 40, LVCFMT_LEFT}};
  TOvFilelistView28::OverrideVisualStyles(1);
  struct Step {
    const char* what;
    TViewStyle away;         // the view the list is in while its folder changes
    std::wstring directory;
    const std::vector<Column>* expected;
  };
  const Step steps[] = {{"files, read in the icon view", TViewStyle::vsIcon, folder.Path(), &fileColumns},
                        {"drives, read in the small-icon view", TViewStyle::vsSmallIcon, TOvFilelistView28::kMyComputer,
                         &driveColumns},
                        {"files again, read in the list view", TViewStyle::vsList, folder.Path(), &fileColumns}};
  list->SetVisible(false);
  auto* made = new TOvFilelistView28(form.get());
  made->SetViewStyle(TViewStyle::vsIcon);  // before the window is made
  made->SetBounds(10, 10, 600, 420);
  made->SetParent(form.get());
  HWND window = made->Handle();
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    made->SetViewStyle(step.away);
    made->SetDirectory(step.directory);
    made->SetColWidth_Size(80);  // waits for the file columns
    if (&step == &steps[0]) EXPECT_TRUE(Columns(window).empty()) << "no columns before the report view";
    made->SetViewStyle(TViewStyle::vsReport);
    EXPECT_EQ(Columns(window), *step.expected);
    EXPECT_EQ(ArrowShown(true, window), std::make_pair(0, made->Model().SortDescending()));
  }
}

TEST_F(FileListPresentationTest, SortArrowFollowsHeaderClicksWithAndWithoutVisualStyles) {
  folder.Create(L"a.8bf", std::string(5000, 'a'));
  folder.Create(L"b.8bf", std::string(9000, 'b'));
  folder.Create(L"c.8bf", std::string(100, 'c'));
  for (bool themed : {true, false}) {
    SCOPED_TRACE(themed ? "visual styles" : "bitmaps");
    TOvFilelistView28::OverrideVisualStyles(themed ? 1 : 0);
    list->SetDirectory(folder.Path());
    // A rebuild sorts by name: descending when another column was sorted, else ascending.
    list->UpdateFileList();
    list->UpdateFileList();
    EXPECT_EQ(ArrowShown(themed), std::make_pair(0, false));
    ClickHeader(1);  // Size: a first click sorts descending
    EXPECT_EQ(ArrowShown(themed), std::make_pair(1, true));
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"b.8bf", L"a.8bf", L"c.8bf"}));
    ClickHeader(1);
    EXPECT_EQ(ArrowShown(themed), std::make_pair(1, false));
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"c.8bf", L"a.8bf", L"b.8bf"}));
    if (themed) {
      EXPECT_EQ(SendMessageW(ListWindow(), LVM_GETSELECTEDCOLUMN, 0, 0), 1);
    }
    list->UpdateFileList();
    EXPECT_EQ(ArrowShown(themed), std::make_pair(0, true));
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"c.8bf", L"b.8bf", L"a.8bf"}));
  }
}

TEST_F(FileListPresentationTest, ResizingAColumnPutsTheArrowBack) {
  folder.Create(L"a.8bf");
  TOvFilelistView28::OverrideVisualStyles(1);
  list->SetDirectory(folder.Path());
  // Something else took the arrow away.
  HDITEMW plain{};
  plain.mask = HDI_FORMAT;
  plain.fmt = HDF_STRING | HDF_LEFT;
  SendMessageW(Header(), HDM_SETITEMW, 0, reinterpret_cast<LPARAM>(&plain));
  ASSERT_EQ(ArrowShown(true).first, -1);

  // The user drags the border between the first two columns.
  RECT r{};
  SendMessageW(Header(), HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
  POINT from{r.right - 1, (r.top + r.bottom) / 2};
  ClientToScreen(Header(), &from);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, from.x, from.y);
  Pump(30);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  Pump(30);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, from.x + 40, from.y);
  Pump(30);
  SendMouse(MOUSEEVENTF_LEFTUP);
  Pump(60);
  EXPECT_GT(Columns(ListWindow())[0].width, 165);
  EXPECT_EQ(ArrowShown(true), std::make_pair(0, false));
}

TEST_F(FileListPresentationTest, RowsAreColouredByAttributesInTheReportView) {
  CreateFixtureFiles();
  list->SetDirectory(folder.Path());
  auto rowRect = [&](int index) {
    RECT r{};
    r.left = LVIR_BOUNDS;
    SendMessageW(ListWindow(), LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
  };
  auto painted = [&](int index, COLORREF colour) {
    InvalidateRect(ListWindow(), nullptr, TRUE);
    UpdateWindow(ListWindow());
    Pump(20);
    return CountPixels(ListWindow(), rowRect(index), colour);
  };
  const COLORREF red = RGB(255, 0, 0), teal = RGB(0, 128, 128);
  EXPECT_EQ(painted(1, red), 0);

  list->SetLItemColorByATTR(true);
  EXPECT_GT(painted(1, red), 0);   // hidden and system: system wins
  EXPECT_EQ(painted(1, teal), 0);
  EXPECT_GT(painted(2, teal), 0);  // read-only over archive
  EXPECT_EQ(painted(0, red) + painted(0, teal), 0);

  TListItemColors colors;
  colors.SetAttr_System(RGB(0, 0, 255));
  list->SetLItemColors(&colors);
  EXPECT_EQ(painted(1, red), 0);
  EXPECT_GT(painted(1, RGB(0, 0, 255)), 0);

  // Icon views keep the default colours.
  list->SetViewStyle(TViewStyle::vsSmallIcon);
  list->UpdateFileList();
  RECT all{};
  GetClientRect(ListWindow(), &all);
  InvalidateRect(ListWindow(), nullptr, TRUE);
  UpdateWindow(ListWindow());
  Pump(20);
  EXPECT_EQ(CountPixels(ListWindow(), all, RGB(0, 0, 255)) + CountPixels(ListWindow(), all, teal), 0);
}
