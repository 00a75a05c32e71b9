// The file list's creation, published properties, list styles, the folder scan and its glue to
// the list view, and the window procedure. See OvFilelistView28.h.
#include "filelist/OvFilelistView28.h"

#include <windowsx.h>
#include <shellapi.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "filelist/FindFileEnumerator.h"
#include "filelist/ListInfoTip.h"
#include "filelist/LocaleServices.h"
#include "filelist/OvDirTree21.h"
#include "filelist/OvDirTreeCombo28.h"
#include "filelist/OvFilelistView28Internal.h"
#include "filelist/OvFilelistView28PopUp.h"
#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/Strings.h"

using namespace filelist::view_detail;

namespace {

const TypeInfo& DtFormatType() {
  static const TypeInfo t = MakeEnumType(L"TDtFormat", {L"df_MMddyyyy", L"df_MMddyy", L"df_ddMMyyyy", L"df_ddMMyy_GB",
                                                        L"df_ddMMyy_DE", L"df_ddMMyy_IT", L"df_yyyyMMdd", L"df_yyMMdd",
                                                        L"df_Customize"});
  return t;
}
const TypeInfo& TmFormatType() {
  static const TypeInfo t = MakeEnumType(L"TTmFormat", {L"tfLongFormat", L"tfShortFormat", L"tfCustomize"});
  return t;
}
const TypeInfo& FileSizeType() {
  static const TypeInfo t = MakeEnumType(L"TFileSize", {L"fsKB", L"fsByte"});
  return t;
}

// Posted to the list by Loaded: the deferred first read of the drive view.
constexpr UINT kDeferredFirstRead = WM_APP + 0x3A1;

// Lists of this thread inside UpdateFileList (the rebuild and the messages handled after it),
// and the lists whose deferred first read came up meanwhile: it is posted again once the
// outermost read is over. An owner that gives its lists their folders one after the other (the
// main window does) would otherwise have the second list list the drives for nothing while the
// first one handles its messages.
thread_local int listsReading = 0;
thread_local std::vector<HWND> firstReadsPutOff;

// Drawing of a shown list view held with the window marked hidden as well (the default answer
// to WM_SETREDRAW, which the list view does not give): the platform draws a visible window's
// own scroll bar at once whenever its range or position changes, over the skinned one and at
// the price of a bar drawn in full, and a list view held only in itself still changes its scroll
// bars as it resumes.
void HideDrawing(HWND list) {
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  DefWindowProcW(list, WM_SETREDRAW, FALSE, 0);
}

// The whole list view drawn afresh: rows, frame (the scroll bars) and children (the header).
void RedrawWhole(HWND list) {
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// Gives a list view held by HideDrawing its drawing back and draws it whole.
void ShowDrawing(HWND list) {
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);  // the list view redoes its bars while still hidden
  DefWindowProcW(list, WM_SETREDRAW, TRUE, 0);
  RedrawWhole(list);
}

class HiddenDrawing {
 public:
  HiddenDrawing(HWND list, bool hold) : list_(hold ? list : nullptr) {
    if (list_) HideDrawing(list_);
  }
  HiddenDrawing(const HiddenDrawing&) = delete;
  HiddenDrawing& operator=(const HiddenDrawing&) = delete;
  ~HiddenDrawing() { End(); }
  bool Holding() const { return list_ != nullptr; }
  void End() {
    if (list_) ShowDrawing(std::exchange(list_, nullptr));
  }

 private:
  HWND list_;  // borrowed; null when not holding
};

}  // namespace

const TypeInfo& ViewStyleType() {
  static const TypeInfo t = MakeEnumType(L"TViewStyle", {L"vsIcon", L"vsSmallIcon", L"vsList", L"vsReport"});
  return t;
}

// ---------------------------------------------------------------------------------------------
// Drawing holds

void TOvFilelistView28::HoldDrawing() {
  // Each change of the item count with drawing on makes the list view redo its scroll bars at
  // once, which costs more than a screenful of rows; a rebuild changes the count twice. Drawing
  // is held also while the form is not shown yet: a list view arranging a small-icon view with
  // drawing on invalidates each row it places, and that is seconds for a large folder. (Only a
  // window hidden itself is left alone: giving it back its drawing would show it.)
  if (drawingHolds_++ > 0 || !HandleAllocated() || !(GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_VISIBLE)) return;
  heldWindow_ = Handle();
  HideDrawing(heldWindow_);
}

void TOvFilelistView28::MeasureRowsHidden() {
  // A list view measures its rows, places them and sets its scroll bars on its first paint that
  // has rows. With the window shown that sets the scroll bars in the open, and the platform
  // draws its own bar under the skinned one. A paint into a one-pixel picture while drawing is
  // held (the window marked hidden) has that done out of sight; it goes to the list view itself,
  // past the links of other parties, since nothing is shown.
  if (rowsMeasured_ || !heldWindow_ || model_.EntryCount() == 0) return;
  rowsMeasured_ = true;
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!dc) return;
  TMessage print{WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT, 0};
  TWinControl::DefaultHandler(print);
}

void TOvFilelistView28::ResumeDrawing() {
  if (--drawingHolds_ > 0 || !heldWindow_) return;
  HWND held = heldWindow_;
  heldWindow_ = nullptr;
  if (!HandleAllocated() || Handle() != held) return;  // re-created meanwhile: drawing is on
  ShowDrawing(held);
}

// ---------------------------------------------------------------------------------------------
// Class description

const ClassInfo& TOvFilelistView28::StaticClass() {
  using L = TOvFilelistView28;
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<L>(L"TOvFilelistView28", &TWinControl::StaticClass())
          .String(L"About", &L::About, &L::SetAbout)
          .Integer(L"ColWidth_Name", &L::ColWidth_Name, &L::SetColWidth_Name)
          .Integer(L"ColWidth_Size", &L::ColWidth_Size, &L::SetColWidth_Size)
          .Integer(L"ColWidth_Type", &L::ColWidth_Type, &L::SetColWidth_Type)
          .Integer(L"ColWidth_Mod", &L::ColWidth_Mod, &L::SetColWidth_Mod)
          .Integer(L"ColWidth_Attr", &L::ColWidth_Attr, &L::SetColWidth_Attr)
          .Boolean(L"Ctl3D", &L::Ctl3D, &L::SetCtl3D)
          .Ordinal(L"DateFormat", DtFormatType(), &L::DateFormat, &L::SetDateFormat)
          .String(L"Directory", &L::Directory, &L::SetDirectory)
          // The tree's and the combo's descriptions name this class for their FileList, so these
          // two name the common base: descriptions that named each other would each wait for the
          // other's registration. The setters still take only a tree or a combo.
          .Object(L"DirTree", TWinControl::StaticClass(), &L::DirTree, &L::SetDirTree)
          .Object(L"DirTreeCombo", TWinControl::StaticClass(), &L::DirTreeCombo, &L::SetDirTreeCombo)
          .Ordinal(L"FileSize", FileSizeType(), &L::FileSize, &L::SetFileSize)
          .Ordinal(L"FileType", FileTypeSetType(), &L::FileType, &L::SetFileType)
          .Boolean(L"HideFileExt", &L::HideFileExt, &L::SetHideFileExt)
          .Boolean(L"HideSelection", &L::HideSelection, &L::SetHideSelection)
          .Ordinal(L"Language", LanguageType(), &L::Language, &L::SetLanguage)
          .Boolean(L"LItemColorByATTR", &L::LItemColorByATTR, &L::SetLItemColorByATTR)
          .Object(L"LItemColors", TListItemColors::StaticClass(), &L::LItemColors, &L::SetLItemColors)
          .String(L"Mask", &L::Mask, &L::SetMask)
          .Boolean(L"MultiSelect", &L::MultiSelect, &L::SetMultiSelect)
          .Boolean(L"OpenByDblClick", &L::OpenByDblClick, &L::SetOpenByDblClick)
          .Boolean(L"OpenByEnter", &L::OpenByEnter, &L::SetOpenByEnter)
          .String(L"ParentDirCaption", &L::ParentDirCaption, &L::SetParentDirCaption)
          .Boolean(L"ParentDirEnabled", &L::ParentDirEnabled, &L::SetParentDirEnabled)
          .Boolean(L"PopUpMenuEnabled", &L::PopUpMenuEnabled, &L::SetPopUpMenuEnabled)
          .Boolean(L"ReadOnly", &L::ReadOnly, &L::SetReadOnly)
          .Object(L"ShortCuts", TOvFileListShortCuts::StaticClass(), &L::ShortCuts, &L::SetShortCuts)
          .Boolean(L"ShowColumnHeaders", &L::ShowColumnHeaders, &L::SetShowColumnHeaders)
          .Boolean(L"ShowFolders", &L::ShowFolders, &L::SetShowFolders)
          .Ordinal(L"TimeFormat", TmFormatType(), &L::TimeFormat, &L::SetTimeFormat)
          .Ordinal(L"ViewStyle", ViewStyleType(), &L::ViewStyle, &L::SetViewStyle)
          .Build());
  return info;
}

// ---------------------------------------------------------------------------------------------
// Construction

TOvFilelistView28::TOvFilelistView28(TComponent* owner)
    : TWinControl(owner),
      enumerator_(std::make_unique<FindFileEnumerator>()),
      comparer_(std::make_unique<LocaleTextComparer>()),
      model_({enumerator_.get(), comparer_.get(), [this](uint64_t t) { return FormatEntryDate(t); }}),
      operations_({[this] { return OwnerWindow(); },
                   [this](const std::wstring& text, UINT flags) { ShowMessageBox(text, flags); },
                   [this]() -> const FileListTexts& { return Texts(); }}) {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 250, 150);
  RecomputeFormatTexts();
  LoadArrowBitmaps();
  // Every new list starts in English, and so do the texts all lists share.
  SetLanguage(TLanguage::lnEnglish);
}

TOvFilelistView28::~TOvFilelistView28() = default;

HWND TOvFilelistView28::InfoTipHandle() const { return infoTip_ ? infoTip_->Handle() : nullptr; }

void TOvFilelistView28::CreateParams(CreateParamsRecord& p) {
  TWinControl::CreateParams(p);
  p.superclassOf = WC_LISTVIEWW;
  p.style |= LVS_OWNERDATA | LVS_SHAREIMAGELISTS | LVS_AUTOARRANGE;
  switch (viewStyle_) {
    case TViewStyle::vsIcon: p.style |= LVS_ICON; break;
    case TViewStyle::vsSmallIcon: p.style |= LVS_SMALLICON; break;
    case TViewStyle::vsList: p.style |= LVS_LIST; break;
    case TViewStyle::vsReport: p.style |= LVS_REPORT; break;
  }
  if (!multiSelect_) p.style |= LVS_SINGLESEL;
  if (!readOnly_) p.style |= LVS_EDITLABELS;
  if (!showColumnHeaders_) p.style |= LVS_NOCOLUMNHEADER;
  if (!hideSelection_) p.style |= LVS_SHOWSELALWAYS;
  if (ctl3D_) p.exStyle |= WS_EX_CLIENTEDGE;
  else p.style |= WS_BORDER;
}

void TOvFilelistView28::CreateWindowDone() {
  TWinControl::CreateWindowDone();
  rowsMeasured_ = false;
  HWND list = Handle();
  // Whole rows are picked in the report view; the style is given there (see ApplyListStyles),
  // since a list view makes its header for it.
  ListView_SetExtendedListViewStyle(
      list, LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP | (viewStyle_ == TViewStyle::vsReport ? LVS_EX_FULLROWSELECT : 0));
  infoTip_ = std::make_unique<ListInfoTip>(list, [this](int row) {
    std::wstring text;
    if (model_.Entry(row)) OnInfoTip(this, row, text);
    return text;
  });
  AttachImages();
  // Files dropped from other programs are copied into the list's folder.
  DragAcceptFiles(list, TRUE);
  ListView_SetBkColor(list, ColorToRGB(Color()));
  ListView_SetTextBkColor(list, ColorToRGB(Color()));
  if (!IsLoading()) {
    fileColumnsShown_ = false;
    if (IsMyComputer(directory_)) BuildDriveColumns();
    else BuildFileColumns();
    SetItemCount(model_.EntryCount());
    UpdateHeaderArrows();
  }
}

void TOvFilelistView28::Loaded() {
  TWinControl::Loaded();
  if (IsMyComputer(directory_) && HandleAllocated()) {
    // Listing the drives asks each of them for its name, size and picture. A stored layout
    // starts in the drive view, and its owner usually sets a folder right away (the main window
    // does): the drives are listed once the waiting messages are handled, unless a read came
    // first. The columns wait for that read too, which builds the set it shows: building the
    // drive columns here, only to replace them with the file columns, costs the header some
    // hundred messages.
    fileColumnsShown_ = false;
    firstReadDue_ = true;
    PostMessageW(Handle(), kDeferredFirstRead, 0, 0);
    return;
  }
  if (HandleAllocated()) BuildFileColumns();
  UpdateFileList();
}

void TOvFilelistView28::ApplyListStyles() {
  if (!HandleAllocated()) return;
  AttachImages();
  HWND list = Handle();
  LONG_PTR style = GetWindowLongPtrW(list, GWL_STYLE);
  LONG_PTR next = style & ~static_cast<LONG_PTR>(LVS_TYPEMASK | LVS_SINGLESEL | LVS_EDITLABELS | LVS_NOCOLUMNHEADER |
                                                 LVS_SHOWSELALWAYS);
  switch (viewStyle_) {
    case TViewStyle::vsIcon: next |= LVS_ICON; break;
    case TViewStyle::vsSmallIcon: next |= LVS_SMALLICON; break;
    case TViewStyle::vsList: next |= LVS_LIST; break;
    case TViewStyle::vsReport: next |= LVS_REPORT; break;
  }
  if (!multiSelect_) next |= LVS_SINGLESEL;
  if (!readOnly_) next |= LVS_EDITLABELS;
  if (!showColumnHeaders_) next |= LVS_NOCOLUMNHEADER;
  if (!hideSelection_) next |= LVS_SHOWSELALWAYS;
  if (next == style) return;
  // A list view in the small-icon or list style makes its columns as wide as the widest caption,
  // and measures every row for that when the style changes, through one notification, a device
  // context and a text measure per row: seconds for a large folder. The change is made while
  // the list view holds a single row that shows the widest caption, so that it measures one
  // row and ends with the same width; then it is told the count again. Drawing is held
  // throughout: placing the rows with drawing on would invalidate each of them.
  DrawingHold hold(*this);
  int count = model_.EntryCount();
  bool viewChanges = (style & LVS_TYPEMASK) != (next & LVS_TYPEMASK);
  int selected = SelectedIndex();
  int focused = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
  bool measured = (next & LVS_TYPEMASK) == LVS_SMALLICON || (next & LVS_TYPEMASK) == LVS_LIST;
  if (viewChanges && measured && count > 1) {
    measuredEntry_ = WidestCaptionEntry();
    ListView_SetItemCountEx(list, 1, LVSICF_NOSCROLL);
  }
  SetWindowLongPtrW(list, GWL_STYLE, next);
  SetWindowPos(list, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  measuredEntry_ = -1;
  if (viewChanges) PlaceRowsAgain(focused, selected);  // in the new style
  if (viewStyle_ == TViewStyle::vsReport) {
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    if (columnsPending_) {
      if (fileColumnsShown_) BuildFileColumns();
      else BuildDriveColumns();
      UpdateHeaderArrows();
    }
  }
  ListView_Arrange(list, LVA_DEFAULT);
  InvalidateRect(list, nullptr, TRUE);
}

int TOvFilelistView28::WidestCaptionEntry() {
  // Measured as the list view measures its rows: the caption in the list's font.
  HWND list = Handle();
  int widest = 0;
  LONG widestWidth = -1;
  WindowDc dc(list);
  if (!dc.get()) return widest;
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0));
  SelectedObject inFont(dc.get(), font ? font : GetStockObject(SYSTEM_FONT));
  for (int i = 0; i < model_.EntryCount(); ++i) {
    std::wstring caption = ItemCaption(i);
    SIZE size{};
    if (GetTextExtentPoint32W(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &size) && size.cx > widestWidth) {
      widestWidth = size.cx;
      widest = i;
    }
  }
  return widest;
}

void TOvFilelistView28::SetViewStyle(TViewStyle value) {
  if (value == viewStyle_) return;
  viewStyle_ = value;
  ApplyListStyles();
}

void TOvFilelistView28::SetMultiSelect(bool value) {
  if (value == multiSelect_) return;
  multiSelect_ = value;
  ApplyListStyles();
}

void TOvFilelistView28::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  readOnly_ = value;
  ApplyListStyles();
}

void TOvFilelistView28::SetHideSelection(bool value) {
  if (value == hideSelection_) return;
  hideSelection_ = value;
  ApplyListStyles();
}

void TOvFilelistView28::SetShowColumnHeaders(bool value) {
  if (value == showColumnHeaders_) return;
  showColumnHeaders_ = value;
  ApplyListStyles();
}

void TOvFilelistView28::SetCtl3D(bool value) {
  if (value == ctl3D_) return;
  ctl3D_ = value;
  RecreateWnd();
}

// ---------------------------------------------------------------------------------------------
// Entry model

void TOvFilelistView28::SetDirectory(const std::wstring& value) {
  if (comparer_->CompareIgnoringCase(value, directory_) == 0) return;
  if (IsMyComputer(value)) {
    directory_ = value;
    UpdateFileList();
    return;
  }
  if (!FolderExists(value)) return;
  std::wstring path = bv::IncludeTrailingBackslash(value);
  SetCurrentDirectoryW(path.c_str());
  directory_ = path;
  UpdateFileList();
}

void TOvFilelistView28::SetMask(const std::wstring& value) {
  if (value == mask_) return;
  mask_ = value;
  UpdateFileList();
}

void TOvFilelistView28::SetStrictMask(bool value) {
  if (value == model_.StrictMask()) return;
  model_.SetStrictMask(value);
  UpdateFileList();
}

void TOvFilelistView28::SetFileType(TFileType value) {
  if (value == fileType_) return;
  fileType_ = value;
  UpdateFileList();
}

void TOvFilelistView28::SetShowFolders(bool value) {
  if (value == showFolders_) return;
  showFolders_ = value;
  UpdateFileList();
}

void TOvFilelistView28::UpdateFileList() {
  if (IsLoading() || IsDestroying()) return;
  firstReadDue_ = false;
  if (rebuilding_) {
    // Asked again from inside a rebuild: the running one starts over once it is done.
    rebuildPending_ = true;
    return;
  }
  struct Reading {
    Reading() { ++listsReading; }
    ~Reading() {
      if (--listsReading > 0) return;
      for (HWND list : std::exchange(firstReadsPutOff, {})) PostMessageW(list, kDeferredFirstRead, 0, 0);
    }
  } reading;
  do {
    rebuildPending_ = false;
    RebuildNow();
  } while (rebuildPending_);
  OnSelectionChange(this);
  // Pending messages run now; a rebuild they ask for runs in full, nested here.
  if (Application) Application->ProcessMessages();
}

void TOvFilelistView28::RebuildNow() {
  // A rebuild of the folder the rows already show changes only the rows from the first changed
  // one on (a switch takes one entry out and puts one in): those are redrawn. Otherwise the list
  // view is emptied and refilled with drawing held, and redrawn whole.
  const bool inPlace = CanShowChangesInPlace();
  std::optional<DrawingHold> hold;
  if (!inPlace) hold.emplace(*this);
  rebuilding_ = true;
  struct Finally {
    TOvFilelistView28* self;
    HCURSOR cursor;
    ~Finally() {
      ::SetCursor(cursor);
      self->rebuilding_ = false;
    }
  } finally{this, ::SetCursor(LoadCursorW(nullptr, IDC_WAIT))};

  std::vector<uint64_t> before = inPlace ? model_.RowFingerprints() : std::vector<uint64_t>();
  // The shell's answers of entries that do not change are kept; the other entries go before
  // the folder is read again, so that a large folder is not held twice.
  TFlieInfoArr previous = model_.ShellAnswers();
  model_.Clear();
  if (!inPlace) SetItemCount(0);
  localOffset_ = locale_services::CurrentLocalOffset();
  rebuildDateFormat_ = dateFormatText_;
  rebuildTimeFormat_ = timeFormatText_;
  if (!IsMyComputer(directory_)) {
    if (!fileColumnsShown_) BuildFileColumns();
    model_.ScanFolder(directory_, mask_, fileType_, showFolders_, parentDirEnabled_);
    model_.KeepShellAnswers(previous);
    shownFolder_ = directory_;
  } else {
    BuildDriveColumns();
    ListDrives();
    shownFolder_.clear();
  }
  model_.FinishRebuild(5);
  if (inPlace) {
    ShowChangedRows(before);
  } else {
    SetItemCount(model_.EntryCount());
    MeasureRowsHidden();
  }
  UpdateHeaderArrows();
  FocusFirstEntry();
}

bool TOvFilelistView28::TakeOutFile(const std::wstring& path) {
  return ChangeInPlace([&] { return model_.RemovePath(path); });
}

bool TOvFilelistView28::TakeInFile(const std::wstring& path) {
  return ChangeInPlace([&] {
    FoundItem found;
    int items = 0;
    enumerator_->Enumerate(path, [&](const FoundItem& item) {
      found = item;
      ++items;
    });
    return items == 1 && bv::SameText(path, directory_ + found.name) &&
           model_.InsertFound(directory_, found, mask_, fileType_);
  });
}

bool TOvFilelistView28::ChangeInPlace(const std::function<bool()>& change) {
  if (IsLoading() || IsDestroying() || rebuilding_ || !CanShowChangesInPlace()) return false;
  std::vector<uint64_t> before = model_.RowFingerprints();
  {
    rebuilding_ = true;
    struct Finally {
      bool& flag;
      ~Finally() { flag = false; }
    } finally{rebuilding_};
    if (!change()) return false;
    ShowChangedRows(before);
    // A list that was empty is sorted for the first time: its header shows the arrow now.
    if (before.empty()) UpdateHeaderArrows();
    FocusFirstEntry();
  }
  // As at the end of UpdateFileList.
  OnSelectionChange(this);
  if (Application) Application->ProcessMessages();
  return true;
}

bool TOvFilelistView28::CanShowChangesInPlace() const {
  // Moving the selection and focus would end a label edit that is open.
  if (!HandleAllocated() || drawingHolds_ > 0 || measuredEntry_ >= 0 || editing_) return false;
  HWND list = const_cast<TOvFilelistView28*>(this)->Handle();
  if (!IsWindowVisible(list) || IsMyComputer(directory_) || !fileColumnsShown_ || shownFolder_.empty() ||
      shownFolder_ != directory_ || ListView_GetItemCount(list) != model_.EntryCount())
    return false;
  return rebuildDateFormat_ == dateFormatText_ && rebuildTimeFormat_ == timeFormatText_ &&
         localOffset_ == locale_services::CurrentLocalOffset();
}

void TOvFilelistView28::ShowChangedRows(const std::vector<uint64_t>& before) {
  HWND list = Handle();
  const int oldCount = static_cast<int>(before.size());
  const int count = model_.EntryCount();
  const int first = filelist::RowsChangedFrom(before, model_.RowFingerprints());
  // A fresh fill leaves the list scrolled to the top: so does this (below), and every row in
  // sight is a different one then.
  const bool scrolled = GetScrollPos(list, SB_VERT) != 0 || GetScrollPos(list, SB_HORZ) != 0;
  // The steps below (selection, focus, count, scrolling back) run with drawing held whenever
  // they move the scroll bars; what changed is repainted once at the end.
  HiddenDrawing hold(list, !heldWindow_ && (scrolled || count != oldCount));
  // No row selected, as after a fresh fill. An owner-data list counts its selection cheaply but
  // finds selected rows one by one: the search stops once none is left.
  for (int i = -1; SelCount() > 0;) {
    i = ListView_GetNextItem(list, i, LVNI_SELECTED);
    if (i < 0) break;
    ListView_SetItemState(list, i, 0, LVIS_SELECTED);
  }
  // The focus moves to the first row before the count changes, so that the list view has no
  // focused row out of sight to scroll to.
  if (oldCount > 0 && count > 0) ListView_SetItemState(list, 0, LVIS_FOCUSED, LVIS_FOCUSED);
  if (count != oldCount) ListView_SetItemCountEx(list, count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  const LONG_PTR view = GetWindowLongPtrW(list, GWL_STYLE) & LVS_TYPEMASK;
  if (count > oldCount && oldCount > 0 && (view == LVS_ICON || view == LVS_SMALLICON)) {
    // Some list view implementations leave rows they have not placed yet on top of the first one
    // until the view is arranged (see SetItemCount).
    POINT firstPlace{}, lastPlace{};
    ListView_GetItemPosition(list, 0, &firstPlace);
    ListView_GetItemPosition(list, count - 1, &lastPlace);
    if (firstPlace.x == lastPlace.x && firstPlace.y == lastPlace.y) ListView_Arrange(list, LVA_DEFAULT);
  }
  if (scrolled && count > 0) ListView_EnsureVisible(list, 0, FALSE);
  if (hold.Holding() || scrolled) {
    // Drawn afresh whole, the bars with it: the rows before the first changed one may have
    // changed too (selection, focus), and the rows in sight all moved when the list scrolled
    // back or a scroll bar came or went.
    if (hold.Holding()) hold.End();
    else RedrawWhole(list);
    return;
  }
  if (first < 0 || first >= count) return;  // rows gone from the end are the list view's to clear
  RECT client{}, row{};
  GetClientRect(list, &client);
  row.left = LVIR_BOUNDS;
  if (!ListView_GetItemRect(list, first, &row, LVIR_BOUNDS)) {
    InvalidateRect(list, nullptr, TRUE);
    return;
  }
  if (view == LVS_LIST) {
    // Rows run down each column, then on in the next column.
    RECT column{row.left, row.top, row.right, client.bottom};
    RECT rest{row.right, client.top, client.right, client.bottom};
    InvalidateRect(list, &column, TRUE);
    InvalidateRect(list, &rest, TRUE);
  } else {
    // Rows run across, then on in the next line (one row a line in the report view).
    RECT rest{client.left, std::max(row.top, client.top), client.right, client.bottom};
    InvalidateRect(list, &rest, TRUE);
  }
}

void TOvFilelistView28::ListDrives() {
  model_.SetSortEnabled(false);
  DWORD drives = GetLogicalDrives();
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  for (int i = 0; i < 26; ++i) {
    if (!(drives & (1u << i))) continue;
    try {
      wchar_t letter = static_cast<wchar_t>(L'A' + i);
      std::wstring root = std::wstring(1, letter) + L":\\";
      TFileInfo e;
      e.EntryKind = std::wstring_view(L"drv");
      e.EntryInfoFetched = true;
      SHFILEINFOW info{};
      if (SHGetFileInfoW(root.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_TYPENAME | SHGFI_DISPLAYNAME))
        e.EntryIconIndex = info.iIcon;
      UINT type = GetDriveTypeW(root.c_str());
      e.EntryTypeName = Texts().DriveTypes[type < 7 ? type : 0];  // texts of the process
      std::wstring display = info.szDisplayName;
      size_t paren = display.find(L'(');
      e.EntryName = L" (" + std::wstring(1, letter) + L":)  " + (paren == std::wstring::npos ? L"" : display.substr(0, paren));
      e.EntryFolder = std::make_shared<const std::wstring>(root);
      if (type != DRIVE_REMOVABLE && type != DRIVE_CDROM) {
        ULARGE_INTEGER available, total, free;
        if (GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free)) {
          e.EntrySize = static_cast<int64_t>(total.QuadPart / 1024);
          e.EntryFree = static_cast<int64_t>(free.QuadPart / 1024);
        }
      }
      model_.AppendEntry(std::move(e));
    } catch (const std::exception&) {
      // A drive whose record cannot be filled is left out.
    }
  }
  SetErrorMode(oldMode);
}

void TOvFilelistView28::SetItemCount(int count) {
  if (!HandleAllocated()) return;
  HWND list = Handle();
  DrawingHold hold(*this);
  ListView_SetItemCountEx(list, count, LVSICF_NOSCROLL);
  if (count > 1 && (viewStyle_ == TViewStyle::vsIcon || viewStyle_ == TViewStyle::vsSmallIcon)) {
    // Some list view implementations leave rows they have not placed yet on top of the first
    // one until the view is arranged. Only then is it arranged, with drawing off, so that
    // placing the rows asks for none of them.
    POINT first{}, last{};
    ListView_GetItemPosition(list, 0, &first);
    ListView_GetItemPosition(list, count - 1, &last);
    if (first.x == last.x && first.y == last.y) {
      if (heldWindow_) {
        ListView_Arrange(list, LVA_DEFAULT);
      } else {
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        ListView_Arrange(list, LVA_DEFAULT);
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
      }
    }
  }
  InvalidateRect(list, nullptr, TRUE);
}

void TOvFilelistView28::FocusFirstEntry() {
  if (!HandleAllocated() || model_.EntryCount() == 0 || SelCount() > 0) return;
  ListView_SetItemState(Handle(), 0, LVIS_FOCUSED, LVIS_FOCUSED);
}

void TOvFilelistView28::HandleColumnClick(int column) {
  if (!model_.HandleColumnClick(column)) return;
  DrawingHold hold(*this);
  SetItemCount(0);
  SetItemCount(model_.EntryCount());
  UpdateHeaderArrows();
}

int TOvFilelistView28::SelCount() const {
  if (!HandleAllocated()) return 0;
  return static_cast<int>(ListView_GetSelectedCount(const_cast<TOvFilelistView28*>(this)->Handle()));
}

int TOvFilelistView28::SelectedIndex() const {
  if (!HandleAllocated()) return -1;
  int index = ListView_GetNextItem(const_cast<TOvFilelistView28*>(this)->Handle(), -1, LVNI_SELECTED);
  return index < model_.EntryCount() ? index : -1;
}

void TOvFilelistView28::SelectItem(int index, bool select) {
  if (!HandleAllocated()) return;
  UINT state = select ? (LVIS_SELECTED | LVIS_FOCUSED) : 0;
  ListView_SetItemState(Handle(), index, state, LVIS_SELECTED | (select ? LVIS_FOCUSED : 0));
}

std::wstring TOvFilelistView28::SelectedPath() const {
  const TFileInfo* e = model_.Entry(SelectedIndex());
  return e ? e->EntryPath() : std::wstring();
}

bool TOvFilelistView28::SelectPath(const std::wstring& path) {
  for (int i = 0; i < model_.EntryCount(); ++i) {
    if (model_.Entry(i)->EntryPath() != path) continue;
    SelectItem(i, true);
    if (HandleAllocated()) ListView_EnsureVisible(Handle(), i, FALSE);
    return true;
  }
  return false;
}

int TOvFilelistView28::SelectedNumber() const {
  int selected = SelCount();
  return selected != 0 ? selected : model_.EntryCount();
}

int64_t TOvFilelistView28::SelectedSize() const {
  if (!HandleAllocated()) return 0;
  int64_t sum = 0;
  HWND list = const_cast<TOvFilelistView28*>(this)->Handle();
  for (int i = ListView_GetNextItem(list, -1, LVNI_SELECTED); i >= 0; i = ListView_GetNextItem(list, i, LVNI_SELECTED))
    if (const TFileInfo* e = model_.Entry(i)) sum += e->EntrySize;
  return sum;
}

int64_t TOvFilelistView28::DriveFreeSpace() const {
  if (directory_.empty()) return 0;
  std::wstring root = std::wstring(1, directory_[0]) + L":\\";
  ULARGE_INTEGER available, total, free;
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  bool ok = GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free);
  SetErrorMode(oldMode);
  return ok ? static_cast<int64_t>(free.QuadPart / 1024) : 0;
}

void TOvFilelistView28::WndProc(TMessage& m) {
  // The info tip sees the list's mouse messages first, as a tooltip watching the list would.
  if (infoTip_ && m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MBUTTONDBLCLK) infoTip_->MouseMessage(m.Msg, m.WParam, m.LParam);
  if (placeholderImages_ && (m.Msg == WM_PAINT || m.Msg == WM_PRINTCLIENT || m.Msg == WM_PRINT)) TakeShellImages();
  switch (m.Msg) {
    case kDeferredFirstRead:
      if (firstReadDue_ && listsReading > 0) {
        // Another list is reading: this one's owner may still give it a folder.
        firstReadsPutOff.push_back(Handle());
      } else if (firstReadDue_) {
        UpdateFileList();
      }
      m.Result = 0;
      return;
    case CN_NOTIFY:
      m.Result = HandleNotify(reinterpret_cast<NMHDR*>(m.LParam));
      return;
    case WM_NOTIFY: {
      // The header's notifications come to the list itself.
      auto* header = reinterpret_cast<NMHDR*>(m.LParam);
      if (infoTip_ && infoTip_->HandleNotify(header)) {
        m.Result = 0;
        return;
      }
      TWinControl::WndProc(m);
      if ((header->code == HDN_ENDTRACKW || header->code == HDN_ENDTRACKA) && HandleAllocated() &&
          header->hwndFrom == ListView_GetHeader(Handle()))
        UpdateHeaderArrows();
      return;
    }
    case WM_KEYDOWN:
      if (drag_.active && m.WParam == VK_ESCAPE) {
        EndDrag(false);
        m.Result = 0;
        return;
      }
      if (!editing_ && !DispatchKey(static_cast<WORD>(m.WParam), CurrentShiftState())) {
        m.Result = 0;
        return;
      }
      break;
    case WM_CONTEXTMENU: {
      if (!popUpMenuEnabled_ || IsMyComputer(directory_)) break;
      POINT at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      if (at.x == -1 && at.y == -1) {
        // From the keyboard: at the focused row, or at the list's corner.
        RECT row{};
        row.left = LVIR_LABEL;
        int focused = ListView_GetNextItem(Handle(), -1, LVNI_FOCUSED);
        at = focused >= 0 && ListView_GetItemRect(Handle(), focused, &row, LVIR_LABEL) ? POINT{row.left, row.bottom}
                                                                                       : POINT{0, 0};
        ::ClientToScreen(Handle(), &at);
      }
      ShowContextMenu(at);
      m.Result = 0;
      return;
    }
    case WM_MEASUREITEM:
      if (popUp_ && popUp_->MeasurePicture(*reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam))) {
        m.Result = TRUE;
        return;
      }
      break;
    case WM_DRAWITEM:
      if (popUp_ && popUp_->DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam))) {
        m.Result = TRUE;
        return;
      }
      break;
    case WM_DROPFILES: {
      auto drop = reinterpret_cast<HDROP>(m.WParam);
      std::vector<std::wstring> paths = FileOperations::DroppedPaths(drop);
      DragFinish(drop);
      AcceptDroppedFiles(std::move(paths));
      m.Result = 0;
      return;
    }
    case WM_LBUTTONDOWN:
      TWinControl::WndProc(m);  // the list view selects the row under the mouse first
      PressForDrag({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}, (m.WParam & MK_CONTROL) != 0);
      return;
    case WM_MOUSEMOVE:
      if (drag_.pending) {
        MoveForDrag();
        if (drag_.active) {
          m.Result = 0;  // no selection frame while files are dragged
          return;
        }
      }
      break;
    case WM_LBUTTONUP:
      if (drag_.pending) {
        // The list view ends its own tracking first; then the files are dropped.
        // (the capture it lets go of is not a cancelled drag).
        const DragState drag = std::exchange(drag_, {});
        if (drag.active) m.LParam = MAKELPARAM(-1, -1);  // released away from the rows: no click on one
        TWinControl::WndProc(m);
        drag_ = drag;
        EndDrag(drag.active, (m.WParam & MK_CONTROL) != 0);
        return;
      }
      break;
    case WM_CAPTURECHANGED:
      if (drag_.pending && reinterpret_cast<HWND>(m.LParam) != Handle()) EndDrag(false);
      break;
    case WM_KEYUP:
      TWinControl::WndProc(m);
      if (!editing_ && (m.WParam == VK_UP || m.WParam == VK_DOWN)) ClickSequence();
      return;
    case LVM_SETBKCOLOR:
      TWinControl::WndProc(m);
      if (m.Result) background_ = static_cast<COLORREF>(m.LParam);
      return;
    case WM_PAINT:
      if (m.WParam) break;
      PaintOffScreen();
      m.Result = 0;
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

void TOvFilelistView28::PaintOffScreen() {
  HWND list = Handle();
  PaintDc screen(list);
  if (!screen.get()) return;
  RECT client{}, area{};
  GetClientRect(list, &client);
  if (!IntersectRect(&area, &screen.PaintRect(), &client)) return;
  HDC memory = background_ == CLR_NONE ? nullptr : paintBuffer_.Prepare(client.right, client.bottom);
  TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(memory ? memory : screen.get()), 0, 0};
  if (!memory) {
    // A list view without a colour of its own (its parent paints under it) paints on screen.
    TWinControl::WndProc(paint);
    return;
  }
  {
    SavedDcState saved(memory);
    IntersectClipRect(memory, area.left, area.top, area.right, area.bottom);
    SetDCBrushColor(memory, background_);
    FillRect(memory, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    TWinControl::WndProc(paint);
  }
  paintBuffer_.CopyTo(screen.get(), area);
}
