// The file list control on the real list view: folder rules, rows read back through the
// control, the picked entry, re-entrant rebuilds and the drive view.
#include <algorithm>

#include "filelist/LocaleServices.h"
#include "framework/Strings.h"
#include "tests/win/FileListFixture.h"

using namespace wintest;

namespace {

class FileListViewTest : public FileListFixture {};

}  // namespace

TEST_F(FileListViewTest, DirectoryGetsTrailingBackslashAndBecomesCurrentDirectory) {
  folder.Create(L"b.8bf");
  std::wstring path = folder.Path().substr(0, folder.Path().size() - 1);
  list->SetDirectory(path);
  EXPECT_EQ(list->Directory(), folder.Path());
  EXPECT_EQ(CurrentDirectory() + L"\\", folder.Path());
  EXPECT_EQ(list->EntryCount(), 1);

  // Same value in other letter case: nothing happens (a new file is not picked up).
  folder.Create(L"a.8bf");
  std::wstring upper = folder.Path();
  for (auto& c : upper) c = static_cast<wchar_t>(towupper(c));
  list->SetDirectory(upper);
  EXPECT_EQ(list->EntryCount(), 1);
  // Without the trailing backslash the value differs: the list is rebuilt.
  list->SetDirectory(path);
  EXPECT_EQ(list->EntryCount(), 2);
}

TEST_F(FileListViewTest, MissingFolderChangesNothing) {
  folder.Create(L"a.8bf");
  list->SetDirectory(folder.Path());
  list->SetDirectory(folder.Path() + L"gone");
  EXPECT_EQ(list->Directory(), folder.Path());
  EXPECT_EQ(list->EntryCount(), 1);
  EXPECT_EQ(CurrentDirectory() + L"\\", folder.Path());
}

TEST_F(FileListViewTest, RowsAreSortedByNameAndShowCaptionsWithoutExtension) {
  for (const wchar_t* name : {L"Sharpen.8bf", L"Blur.8BF", L"a.b.8bf", L"Emboss.off", L"readme.txt"}) folder.Create(name);
  list->SetMask(L"*.8bf");
  list->SetHideFileExt(true);
  list->SetDirectory(folder.Path());
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"a.b", L"Blur", L"Sharpen"}));
  list->SetHideFileExt(false);
  EXPECT_EQ(ListItemText(ListWindow(), 1), L"Blur.8BF");
  EXPECT_EQ(list->ItemText(1, 5), folder.File(L"Blur.8BF"));
  EXPECT_EQ(list->ItemText(1, 6), L"file");
  EXPECT_EQ(list->ItemText(3, 0), L"");  // no such row
}

TEST_F(FileListViewTest, UnicodeNamesAreListed) {
  folder.Create(L"\u00dcn\u00efcode\u6ee4\u955c.8bf");
  list->SetMask(L"*.8bf");
  list->SetHideFileExt(true);
  list->SetDirectory(folder.Path());
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"\u00dcn\u00efcode\u6ee4\u955c"}));
}

TEST_F(FileListViewTest, ClickRecordsSelectedItemWhichSurvivesRebuilds) {
  folder.Create(L"a.8bf");
  folder.Create(L"b.8bf");
  list->SetViewStyle(TViewStyle::vsReport);
  list->SetDirectory(folder.Path());
  std::vector<std::wstring> order;
  list->OnClick = [&](TObject*) { order.push_back(L"click " + list->SelectedItem()); };
  list->OnItemChange = [&](TObject*, const std::wstring& item) { order.push_back(L"change " + item); };

  POINT centre = ListItemCentre(ListWindow(), 1);
  ClickAt(ListWindow(), centre.x, centre.y);
  ASSERT_EQ(list->SelectedItem(), folder.File(L"b.8bf"));
  // OnClick runs before SelectedItem changes.
  EXPECT_EQ(order, (std::vector<std::wstring>{L"click ", L"change " + folder.File(L"b.8bf")}));

  // The Up key's release picks the row above.
  PressKey(VK_UP);
  EXPECT_EQ(list->SelectedItem(), folder.File(L"a.8bf"));

  DeleteFileW(folder.File(L"a.8bf").c_str());
  list->UpdateFileList();
  EXPECT_EQ(list->SelectedItem(), folder.File(L"a.8bf"));  // kept, although the file is gone
  EXPECT_EQ(list->EntryCount(), 1);

  // A click on empty space records nothing.
  order.clear();
  ClickAt(ListWindow(), 400, 300);
  EXPECT_EQ(list->SelectedItem(), folder.File(L"a.8bf"));
  EXPECT_EQ(order, (std::vector<std::wstring>{L"click " + folder.File(L"a.8bf")}));
}

TEST_F(FileListViewTest, RebuildAskedForWhileMessagesAreHandledRunsSafely) {
  for (int i = 0; i < 50; ++i) folder.Create(L"f" + std::to_wstring(i) + L".8bf");
  list->SetDirectory(folder.Path());
  // Every rebuild handles pending messages; a message that asks for another rebuild (as a click
  // or an activation may) nests one, which must leave the entries whole.
  int nested = 0;
  int hook = form->AddMessageHook([&](TMessage& m, const TControl::NextHandler& next) {
    if (m.Msg == WM_APP) {
      ++nested;
      if (nested < 5) PostMessageW(form->Handle(), WM_APP, 0, 0);
      folder.Create(L"n" + std::to_wstring(nested) + L".8bf");
      list->UpdateFileList();
      return;
    }
    next(m);
  });
  PostMessageW(form->Handle(), WM_APP, 0, 0);
  list->UpdateFileList();
  Pump();
  form->RemoveMessageHook(hook);
  EXPECT_EQ(nested, 5);
  EXPECT_EQ(list->EntryCount(), 55);
  EXPECT_EQ(static_cast<int>(SendMessageW(ListWindow(), LVM_GETITEMCOUNT, 0, 0)), 55);
  for (int i = 0; i < list->EntryCount(); ++i) EXPECT_FALSE(list->Model().Entries()[static_cast<size_t>(i)].EntryName.empty());
}

TEST_F(FileListViewTest, SelectionQueries) {
  folder.Create(L"a.8bf", std::string(3000, 'x'));
  folder.Create(L"b.8bf", std::string(5000, 'x'));
  list->SetDirectory(folder.Path());
  EXPECT_EQ(list->SelectedNumber(), 2);  // no selection: the number of entries
  EXPECT_EQ(list->SelectedSize(), 0);
  list->SelectItem(1, true);
  EXPECT_EQ(list->SelectedNumber(), 1);
  EXPECT_EQ(list->SelectedSize(), 5000);
  EXPECT_GT(list->DriveFreeSpace(), 0);
}

TEST_F(FileListViewTest, DriveViewListsDrivesAndIgnoresHeaderClicks) {
  list->SetDirectory(folder.Path());
  list->SetDirectory(L"my computer");
  EXPECT_EQ(list->Directory(), L"my computer");
  ASSERT_GT(list->EntryCount(), 0);
  std::vector<std::wstring> before;
  for (const auto& e : list->Model().Entries()) {
    EXPECT_EQ(e.EntryKind, L"drv");
    EXPECT_EQ(e.EntryPath().size(), 3u);
    EXPECT_EQ(e.EntryName.substr(0, 2), L" (");
    before.push_back(e.EntryPath());
  }
  EXPECT_FALSE(list->FileColumnsShown());
  EXPECT_EQ(list->ItemText(0, 4), L" ");
  list->HandleColumnClick(1);
  std::vector<std::wstring> after;
  for (const auto& e : list->Model().Entries()) after.push_back(e.EntryPath());
  EXPECT_EQ(after, before);
  EXPECT_TRUE(std::is_sorted(before.begin(), before.end()));
}

namespace {

// The captions of a list view's columns, in order.
std::vector<std::wstring> ColumnCaptions(HWND list) {
  HWND header = ListView_GetHeader(list);
  std::vector<std::wstring> captions;
  for (int i = 0; header && i < Header_GetItemCount(header); ++i) {
    wchar_t text[64] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    Header_GetItem(header, i, &item);
    captions.emplace_back(text);
  }
  return captions;
}

}  // namespace

TEST_F(FileListViewTest, DriveViewOfALoadedLayoutIsListedUnlessAFolderComesFirst) {
  folder.Create(L"a.8bf");
  // The column sets of the two views, as a list built the ordinary way shows them.
  list->SetDirectory(folder.Path());
  const std::vector<std::wstring> fileColumns = ColumnCaptions(ListWindow());
  list->SetDirectory(TOvFilelistView28::kMyComputer);
  const std::vector<std::wstring> driveColumns = ColumnCaptions(ListWindow());
  ASSERT_EQ(fileColumns.size(), 5u);
  ASSERT_EQ(driveColumns.size(), 5u);
  ASSERT_NE(fileColumns, driveColumns);
  struct Case {
    const char* what;
    bool setFolder;
  } cases[] = {{"left in the drive view", false}, {"given a folder right after loading", true}};
  for (const auto& c : cases) {
    ComponentPtr<TForm> loaded(new TForm(nullptr));
    loaded->BeginLoading();
    auto* drives = new TOvFilelistView28(loaded.get());
    drives->SetParent(loaded.get());
    drives->SetShowFolders(false);
    drives->HandleNeeded();
    loaded->EndLoading();
    EXPECT_EQ(drives->EntryCount(), 0) << c.what << ": the drives were listed before the messages waiting";
    if (c.setFolder) drives->SetDirectory(folder.Path());
    Pump();
    ASSERT_GT(drives->EntryCount(), 0) << c.what;
    EXPECT_EQ(drives->Model().Entries()[0].EntryKind, c.setFolder ? L"file" : L"drv") << c.what;
    EXPECT_EQ(drives->FileColumnsShown(), c.setFolder) << c.what;
    // The header holds the one set of columns that the rows fill, built once the list is read.
    EXPECT_EQ(ColumnCaptions(drives->Handle()), c.setFolder ? fileColumns : driveColumns) << c.what;
  }
}

TEST_F(FileListViewTest, RowsAddedToAnIconViewGetTheirOwnPlaces) {
  folder.Create(L"a.8bf");
  list->SetViewStyle(TViewStyle::vsIcon);
  list->SetDirectory(folder.Path());
  folder.Create(L"b.8bf");
  folder.Create(L"c.8bf");
  list->UpdateFileList();
  std::vector<std::pair<LONG, LONG>> places;
  for (int i = 0; i < 3; ++i) {
    POINT p = ListItemCentre(ListWindow(), i);
    places.push_back({p.x, p.y});
  }
  std::sort(places.begin(), places.end());
  EXPECT_EQ(std::unique(places.begin(), places.end()), places.end());
}

TEST_F(FileListViewTest, ViewStyleChangesTheListStyle) {
  list->SetViewStyle(TViewStyle::vsIcon);
  EXPECT_EQ(GetWindowLongPtrW(ListWindow(), GWL_STYLE) & LVS_TYPEMASK, LVS_ICON);
  list->SetViewStyle(TViewStyle::vsSmallIcon);
  EXPECT_EQ(GetWindowLongPtrW(ListWindow(), GWL_STYLE) & LVS_TYPEMASK, LVS_SMALLICON);
  // The list shares the shell's image lists and must never destroy them.
  EXPECT_TRUE(GetWindowLongPtrW(ListWindow(), GWL_STYLE) & LVS_SHAREIMAGELISTS);
  char buffer[128];
  GetClassNameA(ListWindow(), buffer, sizeof(buffer));
  EXPECT_STREQ(buffer, "TOvFilelistView28");
}

TEST(LocaleTextComparer, SortKeysOrderTextsAsTheComparisonDoes) {
  const std::wstring texts[] = {L"", L"a", L"A", L"\u00e4", L"b", L"B.8bf", L"b.8BF", L"a.b", L"a b", L"ab", L"a-b", L"10",
                                L"9", L"\u00dcn\u00efcode", L"Zeta", L"zeta", L"_x", L"\u6ee4\u955c", L"ARHS", L"AR"};
  LocaleTextComparer comparer;
  auto sign = [](int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); };
  for (const auto& a : texts)
    for (const auto& b : texts) {
      EXPECT_EQ(sign(comparer.SortKeyIgnoringCase(a).compare(comparer.SortKeyIgnoringCase(b))),
                comparer.CompareIgnoringCase(a, b))
          << bv::WideToUtf8(a) << " / " << bv::WideToUtf8(b);
      EXPECT_EQ(sign(comparer.SortKeyCaseSensitive(a).compare(comparer.SortKeyCaseSensitive(b))),
                comparer.CompareCaseSensitive(a, b))
          << bv::WideToUtf8(a) << " / " << bv::WideToUtf8(b);
    }
}

// The small-icon and list styles make their columns as wide as the widest caption, wherever it
// is in the list; the rows, the highlighted and the focused row stay as they were.
TEST_F(FileListViewTest, MeasuredStylesFitTheWidestCaptionAndKeepTheRows) {
  const std::wstring wide = L"d with a caption wider than the others";
  folder.Create(wide + L".8bf");
  for (int i = 0; i < 60; ++i) folder.Create(L"c" + std::to_wstring(100 + i) + L".8bf");
  list->SetMask(L"*.8bf");
  list->SetHideFileExt(true);
  list->SetViewStyle(TViewStyle::vsIcon);
  list->SetDirectory(folder.Path());
  const std::vector<std::wstring> rows = Rows();
  ASSERT_EQ(rows.size(), 61u);
  ASSERT_EQ(rows.back(), wide);
  Select(30);
  const int wideWidth = ListView_GetStringWidth(ListWindow(), wide.c_str());
  struct Case {
    const char* name;
    TViewStyle style;
  };
  for (const Case& c : {Case{"small icons", TViewStyle::vsSmallIcon}, Case{"list", TViewStyle::vsList}}) {
    list->SetViewStyle(TViewStyle::vsIcon);
    list->SetViewStyle(c.style);
    Pump();
    EXPECT_EQ(Rows(), rows) << c.name;
    EXPECT_EQ(list->SelectedIndex(), 30) << c.name;
    EXPECT_EQ(ListView_GetNextItem(ListWindow(), -1, LVNI_FOCUSED), 30) << c.name;
    // The columns: the distinct left edges of the rows, each at least the widest caption apart.
    std::vector<LONG> lefts;
    for (int row = 0; row < 61; ++row) {
      POINT at{};
      ASSERT_TRUE(ListView_GetItemPosition(ListWindow(), row, &at)) << c.name;
      lefts.push_back(at.x);
    }
    std::sort(lefts.begin(), lefts.end());
    lefts.erase(std::unique(lefts.begin(), lefts.end()), lefts.end());
    ASSERT_GE(lefts.size(), 2u) << c.name << ": the rows must fill more than one column";
    for (size_t i = 1; i < lefts.size(); ++i) EXPECT_GE(lefts[i] - lefts[i - 1], wideWidth) << c.name;
  }
}

namespace {

// The list's client area as the screen shows it, one 0xRRGGBB value a pixel.
std::vector<uint32_t> ClientPixels(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  WindowDc dc(window);
  UniqueMemoryDc memory(CreateCompatibleDC(dc.get()));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return {};
  SelectedObject selected(memory.get(), bitmap.get());
  BitBlt(memory.get(), 0, 0, r.right, r.bottom, dc.get(), 0, 0, SRCCOPY);
  GdiFlush();
  const auto* first = static_cast<const uint32_t*>(bits);
  std::vector<uint32_t> pixels(first, first + static_cast<size_t>(r.right) * static_cast<size_t>(r.bottom));
  for (uint32_t& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

}  // namespace

TEST_F(FileListViewTest, RebuildOfTheShownFolderShowsWhatAFreshFillShows) {
  // A rebuild of the folder the list shows redraws only the rows from the first changed one on.
  // What it leaves on screen must be what a full redraw paints, and the rows, selection, focus
  // and scroll position those of a fresh fill.
  SetCursorPos(0, 0);  // no row is hot
  list->SetMask(L"*.8bf");
  list->SetHideFileExt(true);
  const RECT bounds{list->Left(), list->Top(), list->Width(), list->Height()};  // left, top, width, height
  struct Case {
    const char* name;
    TViewStyle style;
  };
  for (const Case& c : {Case{"icons", TViewStyle::vsIcon}, Case{"small icons", TViewStyle::vsSmallIcon},
                        Case{"list", TViewStyle::vsList}, Case{"report", TViewStyle::vsReport}}) {
    TempFolder files(folder.Path());
    CurrentDirectoryScope leaveFilesAtTheEnd{folder.Path()};  // so that the folder can go
    list->SetBounds(bounds.left, bounds.top, bounds.right, bounds.bottom);
    std::vector<std::wstring> names;
    for (int i = 10; i < 50; ++i) names.push_back(L"f" + std::to_wstring(i));
    for (const std::wstring& name : names) files.Create(name + L".8bf");
    list->SetViewStyle(c.style);
    list->SetDirectory(files.Path());
    Pump();
    ASSERT_EQ(Rows(), names) << c.name;
    Select(7);

    struct Change {
      const char* what;
      std::vector<std::wstring> gone, added;
      bool toldByTheOwner = false;  // TakeOutFile and TakeInFile instead of a rebuild
      bool scrolledDown = false;    // the last row scrolled into sight before the change
    };
    for (const Change& change : {Change{"one out, one in further on", {L"f15"}, {L"f30b"}},
                                 Change{"one in at the start", {}, {L"f0"}},
                                 Change{"the last out", {L"f49"}, {}},
                                 Change{"nothing", {}, {}},
                                 Change{"one taken out, one taken in", {L"f12"}, {L"f40b"}, true},
                                 Change{"the first taken out", {L"f0"}, {}, true},
                                 Change{"one taken in at the end", {}, {L"f60"}, true},
                                 Change{"one taken out of a scrolled list", {L"f20"}, {}, true, true},
                                 Change{"one taken in to a scrolled list", {}, {L"f20b"}, true, true},
                                 Change{"a scrolled list rebuilt", {L"f31"}, {L"f31b"}, false, true}}) {
      if (change.scrolledDown) {
        // Small enough for every view to scroll.
        list->SetBounds(list->Left(), list->Top(), 150, 110);
        Pump();
        ListView_EnsureVisible(ListWindow(), static_cast<int>(names.size()) - 1, FALSE);
        Pump();
        EXPECT_NE(GetScrollPos(ListWindow(), SB_VERT) + GetScrollPos(ListWindow(), SB_HORZ), 0)
            << c.name << ", " << change.what << ": the fixture must scroll";
      }
      for (const std::wstring& name : change.gone) {
        ASSERT_TRUE(DeleteFileW(files.File(name + L".8bf").c_str()));
        names.erase(std::find(names.begin(), names.end(), name));
        if (change.toldByTheOwner) {
          EXPECT_TRUE(list->TakeOutFile(files.File(name + L".8bf"))) << c.name << ", " << change.what;
        }
      }
      for (const std::wstring& name : change.added) {
        files.Create(name + L".8bf");
        names.insert(std::upper_bound(names.begin(), names.end(), name), name);
        if (change.toldByTheOwner) {
          EXPECT_TRUE(list->TakeInFile(files.File(name + L".8bf"))) << c.name << ", " << change.what;
        }
      }
      if (!change.toldByTheOwner) list->UpdateFileList();
      Pump();
      EXPECT_EQ(Rows(), names) << c.name << ", " << change.what;
      EXPECT_EQ(list->SelCount(), 0) << c.name << ", " << change.what;
      EXPECT_EQ(ListView_GetNextItem(ListWindow(), -1, LVNI_FOCUSED), 0) << c.name << ", " << change.what;
      EXPECT_EQ(GetScrollPos(ListWindow(), SB_VERT), 0) << c.name << ", " << change.what;
      EXPECT_EQ(GetScrollPos(ListWindow(), SB_HORZ), 0) << c.name << ", " << change.what;
      // Every row placed apart from the others.
      std::vector<std::pair<LONG, LONG>> places;
      for (int i = 0; i < static_cast<int>(names.size()); ++i) {
        POINT at{};
        ListView_GetItemPosition(ListWindow(), i, &at);
        places.push_back({at.x, at.y});
      }
      std::sort(places.begin(), places.end());
      EXPECT_EQ(std::unique(places.begin(), places.end()), places.end()) << c.name << ", " << change.what;

      const std::vector<uint32_t> shown = ClientPixels(ListWindow());
      RedrawWindow(ListWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      Pump(20);
      const std::vector<uint32_t> redrawn = ClientPixels(ListWindow());
      ASSERT_FALSE(shown.empty());
      size_t differing = 0;
      for (size_t i = 0; i < shown.size() && i < redrawn.size(); ++i) differing += shown[i] != redrawn[i];
      EXPECT_EQ(differing, 0u) << c.name << ", " << change.what << ": pixels left stale by the rebuild";
      Select(3);
    }
  }
}

TEST_F(FileListViewTest, OverlayPicturesSitOnTheirRowsIcons) {
  // A row's overlay picture is drawn centred on the row's icon, in every view and on the
  // focused row too (whose box in the icon view grows with its label). What the list paints
  // must equal the plain list with each picture drawn where the row's icon rectangle says.
  SetCursorPos(0, 0);  // no row is hot
  for (int i = 0; i < 14; ++i) folder.Create(L"f" + std::to_wstring(i) + L".8bf");
  folder.Create(L"a filter with a name long enough to need several lines under its icon.8bf");
  list->SetMask(L"*.8bf");
  list->SetDirectory(folder.Path());
  Pump();
  for (TViewStyle style : {TViewStyle::vsIcon, TViewStyle::vsSmallIcon, TViewStyle::vsList, TViewStyle::vsReport}) {
    const int name = static_cast<int>(style);
    list->SetViewStyle(style);
    Pump();
    Select(0);  // the long name sorts first: its row is focused
    HIMAGELIST images = ListView_GetImageList(ListWindow(), style == TViewStyle::vsIcon ? LVSIL_NORMAL : LVSIL_SMALL);
    ASSERT_TRUE(images) << name;
    // A picture other than the rows' own icon, so that a misplaced one shows.
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    ASSERT_TRUE(ListView_GetItem(ListWindow(), &item)) << name;
    ASSERT_GE(ImageList_GetImageCount(images), 2) << name;
    const int picture = item.iImage == 0 ? 1 : 0;
    // Every other row, and the focused one; not a row whose icon the focused row's grown label
    // covers (the focused row is drawn last).
    RECT focusedBox{};
    ASSERT_TRUE(ListView_GetItemRect(ListWindow(), 0, &focusedBox, LVIR_BOUNDS)) << name;
    std::vector<bool> marks;
    for (int row = 0; row < ListView_GetItemCount(ListWindow()); ++row) {
      RECT icon{}, overlap{};
      ListView_GetItemRect(ListWindow(), row, &icon, LVIR_ICON);
      marks.push_back(row % 2 == 0 && (row == 0 || !IntersectRect(&overlap, &icon, &focusedBox)));
    }
    auto marked = [&](int row) { return row >= 0 && row < static_cast<int>(marks.size()) && marks[row]; };
    list->OnOverlayIndex = [&](TObject*, int row, int& overlay) { overlay = marked(row) ? picture : -1; };
    RedrawWindow(ListWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump(20);
    const std::vector<uint32_t> painted = ClientPixels(ListWindow());

    list->OnOverlayIndex = nullptr;
    RedrawWindow(ListWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump(20);
    int width = 0, height = 0;
    ImageList_GetIconSize(images, &width, &height);
    {
      WindowDc dc(ListWindow());
      for (int row = 0; row < ListView_GetItemCount(ListWindow()); ++row) {
        RECT icon{};
        if (!marked(row) || !ListView_GetItemRect(ListWindow(), row, &icon, LVIR_ICON)) continue;
        ImageList_Draw(images, picture, dc.get(), icon.left + (icon.right - icon.left - width) / 2,
                       icon.top + (icon.bottom - icon.top - height) / 2, ILD_TRANSPARENT);
      }
    }
    GdiFlush();
    const std::vector<uint32_t> expected = ClientPixels(ListWindow());
    ASSERT_FALSE(painted.empty());
    ASSERT_EQ(painted.size(), expected.size());
    size_t differing = 0;
    for (size_t i = 0; i < painted.size(); ++i) differing += painted[i] != expected[i];
    EXPECT_EQ(differing, 0u) << "view " << name << ": overlay pictures away from their icons";
  }
}

TEST_F(FileListViewTest, ReadingBeforeTheFormShowsHoldsDrawingButShowsNothing) {
  // Lists of a form not shown yet are filled with their drawing held; giving it back must not
  // show a list that is hidden itself, nor leave one without its drawing once the form shows.
  for (int i = 0; i < 30; ++i) folder.Create(L"f" + std::to_wstring(i) + L".8bf");
  ComponentPtr<TForm> later(new TForm(nullptr));
  later->SetBounds(120, 120, 400, 300);
  struct Case {
    const char* name;
    bool visible;
    TViewStyle style;
  } cases[] = {{"small icons", true, TViewStyle::vsSmallIcon}, {"icons", true, TViewStyle::vsIcon},
               {"hidden list", false, TViewStyle::vsSmallIcon}};
  std::vector<TOvFilelistView28*> lists;
  for (const Case& c : cases) {
    auto* added = new TOvFilelistView28(later.get());
    added->SetParent(later.get());
    added->SetBounds(10, 10, 360, 240);
    added->SetVisible(c.visible);
    added->SetViewStyle(c.style);
    added->HandleNeeded();
    added->SetDirectory(folder.Path());
    EXPECT_EQ(added->EntryCount(), 31) << c.name;  // the files and the parent folder
    EXPECT_EQ((GetWindowLongPtrW(added->Handle(), GWL_STYLE) & WS_VISIBLE) != 0, c.visible) << c.name;
    lists.push_back(added);
  }
  later->Show();
  Pump();
  for (size_t i = 0; i < lists.size(); ++i) {
    EXPECT_EQ(IsWindowVisible(lists[i]->Handle()) != FALSE, cases[i].visible) << cases[i].name;
    if (!cases[i].visible) continue;
    // Drawing is on again: the rows are placed apart and the list paints.
    POINT first{}, last{};
    ListView_GetItemPosition(lists[i]->Handle(), 0, &first);
    ListView_GetItemPosition(lists[i]->Handle(), 29, &last);
    EXPECT_TRUE(first.x != last.x || first.y != last.y) << cases[i].name;
    RECT update{};
    RedrawWindow(lists[i]->Handle(), nullptr, nullptr, RDW_INVALIDATE);
    EXPECT_TRUE(GetUpdateRect(lists[i]->Handle(), &update, FALSE)) << cases[i].name << ": drawing still held";
  }
}
