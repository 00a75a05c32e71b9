// See OvFilelistView28.h.
#include "filelist/OvFilelistView28.h"

#include <windowsx.h>
#include <shellapi.h>
#include <shlobj.h>
#include <uxtheme.h>

#include <algorithm>

#include "filelist/FileListFormats.h"
#include "filelist/FileNames.h"
#include "filelist/FindFileEnumerator.h"
#include "filelist/HeaderArrows.h"
#include "filelist/KeyDispatch.h"
#include "filelist/ListInfoTip.h"
#include "filelist/LocaleServices.h"
#include "filelist/ParentFolderImage.h"
#include "filelist/ShellInfoCache.h"
#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/Strings.h"

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

bool IsMyComputer(const std::wstring& directory) { return bv::SameText(directory, TOvFilelistView28::kMyComputer); }

bool FolderExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool PathExists(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  UniqueFindHandle find(FindFirstFileW(path.c_str(), &data));
  return static_cast<bool>(find);
}

// The hourglass for the life of the scope, then the cursor shown before.
class WaitCursor {
 public:
  WaitCursor() : previous_(::SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
  ~WaitCursor() { ::SetCursor(previous_); }

 private:
  HCURSOR previous_;  // borrowed: a shared cursor
};

// The ".." entry, known by its name: its caption is whatever ParentDirCaption says, and a file
// may carry the same text as its name.
bool IsParentEntry(const TFileInfo& entry) { return entry.EntryKind == L"dir" && entry.EntryName == L".."; }

int visualStylesOverride = -1;

// Posted to the list by Loaded: the deferred first read of the drive view.
constexpr UINT kDeferredFirstRead = WM_APP + 0x3A1;

}  // namespace

const TypeInfo& ViewStyleType() {
  static const TypeInfo t = MakeEnumType(L"TViewStyle", {L"vsIcon", L"vsSmallIcon", L"vsList", L"vsReport"});
  return t;
}

// ---------------------------------------------------------------------------------------------
// TListItemColors and helpers

const ClassInfo& TListItemColors::StaticClass() {
  using C = TListItemColors;
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<C>(L"TListItemColors", &TPersistent::StaticClass())
          .Integer(L"Attr_Archive", &C::Attr_Archive, &C::SetAttr_Archive)
          .Integer(L"Attr_Hidden", &C::Attr_Hidden, &C::SetAttr_Hidden)
          .Integer(L"Attr_Readonly", &C::Attr_Readonly, &C::SetAttr_Readonly)
          .Integer(L"Attr_System", &C::Attr_System, &C::SetAttr_System)
          .Build());
  return info;
}

void TListItemColors::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TListItemColors*>(&source)) {
    archive_ = other->archive_;
    hidden_ = other->hidden_;
    readonly_ = other->readonly_;
    system_ = other->system_;
    return;
  }
  TPersistent::Assign(source);
}

namespace filelist {

TColor AttributeColor(uint32_t attributes, const TListItemColors& colors, TColor normal) {
  TColor color = normal;
  if (attributes & FILE_ATTRIBUTE_ARCHIVE) color = colors.Attr_Archive();
  if (attributes & FILE_ATTRIBUTE_HIDDEN) color = colors.Attr_Hidden();
  if (attributes & FILE_ATTRIBUTE_READONLY) color = colors.Attr_Readonly();
  if (attributes & FILE_ATTRIBUTE_SYSTEM) color = colors.Attr_System();
  return color;
}

std::wstring DateFormatText(TDtFormat format, const std::wstring& localeShortDate) {
  switch (format) {
    case TDtFormat::df_MMddyyyy: return L"MM/dd/yyyy";
    case TDtFormat::df_MMddyy: return L"MM/dd/yy";
    case TDtFormat::df_ddMMyyyy: return L"dd/MM/yyyy";
    case TDtFormat::df_ddMMyy_GB: return L"dd/MM/yy";
    case TDtFormat::df_ddMMyy_DE: return L"dd.MM.yy";
    case TDtFormat::df_ddMMyy_IT: return L"dd-MM-yy";
    case TDtFormat::df_yyyyMMdd: return L"yyyy-MM-dd";
    case TDtFormat::df_yyMMdd: return L"yy-MM-dd";
    case TDtFormat::df_Customize: break;
  }
  return localeShortDate;
}

}  // namespace filelist

// ---------------------------------------------------------------------------------------------
// Drawing holds

class TOvFilelistView28::DrawingHold {
 public:
  explicit DrawingHold(TOvFilelistView28& list) : list_(list) { list_.HoldDrawing(); }
  DrawingHold(const DrawingHold&) = delete;
  DrawingHold& operator=(const DrawingHold&) = delete;
  ~DrawingHold() { list_.ResumeDrawing(); }

 private:
  TOvFilelistView28& list_;
};

void TOvFilelistView28::HoldDrawing() {
  // Each change of the item count with drawing on makes the list view redo its scroll bars at
  // once, which costs more than a screenful of rows; a rebuild changes the count twice.
  if (drawingHolds_++ > 0 || !HandleAllocated() || !IsWindowVisible(Handle())) return;
  heldWindow_ = Handle();
  SendMessageW(heldWindow_, WM_SETREDRAW, FALSE, 0);
}

void TOvFilelistView28::ResumeDrawing() {
  if (--drawingHolds_ > 0 || !heldWindow_) return;
  HWND held = heldWindow_;
  heldWindow_ = nullptr;
  if (!HandleAllocated() || Handle() != held) return;  // re-created meanwhile: drawing is on
  SendMessageW(held, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(held, nullptr, TRUE);
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
}

TOvFilelistView28::~TOvFilelistView28() = default;

HWND TOvFilelistView28::InfoTipHandle() const { return infoTip_ ? infoTip_->Handle() : nullptr; }

HIMAGELIST TOvFilelistView28::ShellImages(bool large) {
  HIMAGELIST& images = large ? largeImages_ : smallImages_;
  if (!images) {
    SHFILEINFOW info{};
    images = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | (large ? 0 : SHGFI_SMALLICON)));
  }
  return images;
}

int TOvFilelistView28::ParentImageIndex() {
  if (parentImageIndex_ < 0) parentImageIndex_ = parent_folder_image::Resolve(ShellImages(true), ShellImages(false));
  return parentImageIndex_;
}

void TOvFilelistView28::AttachImages() {
  if (!HandleAllocated()) return;
  // Only the icon view draws from the large list; the small-icon, list and report views draw
  // from the small one.
  bool large = viewStyle_ == TViewStyle::vsIcon;
  int kind = large ? LVSIL_NORMAL : LVSIL_SMALL;
  HIMAGELIST images = ShellImages(large);
  if (ListView_GetImageList(Handle(), kind) != images) ListView_SetImageList(Handle(), images, kind);
}

void TOvFilelistView28::LoadArrowBitmaps() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  arrowUp_.reset(static_cast<HBITMAP>(LoadImageW(instance, L"Bmp_Up28", IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
  arrowDown_.reset(static_cast<HBITMAP>(LoadImageW(instance, L"Bmp_Down28", IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
}

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
  HWND list = Handle();
  ListView_SetExtendedListViewStyle(list, LVS_EX_DOUBLEBUFFER | LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
  infoTip_ = std::make_unique<ListInfoTip>(list, [this](int row) {
    std::wstring text;
    if (model_.Entry(row)) OnInfoTip(this, row, text);
    return text;
  });
  AttachImages();
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
  if (HandleAllocated()) {
    if (IsMyComputer(directory_)) BuildDriveColumns();
    else BuildFileColumns();
  }
  if (IsMyComputer(directory_) && HandleAllocated()) {
    // Listing the drives asks each of them for its name, size and picture. A stored layout
    // starts in the drive view, and its owner usually sets a folder right away (the main window
    // does): the drives are listed once the waiting messages are handled, unless a read came
    // first.
    firstReadDue_ = true;
    PostMessageW(Handle(), kDeferredFirstRead, 0, 0);
    return;
  }
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
  if (next != style) {
    // Placing the rows with drawing on has each of them measured and invalidated. The change to
    // the large-icon style, whose columns are as wide as the icon spacing, is made with drawing
    // held; the other styles with drawing on, because a list view may measure the captions that
    // size their columns only then (too narrow columns otherwise).
    std::unique_ptr<DrawingHold> styleHold;
    if ((next & LVS_TYPEMASK) == LVS_ICON) styleHold = std::make_unique<DrawingHold>(*this);
    SetWindowLongPtrW(list, GWL_STYLE, next);
    SetWindowPos(list, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    DrawingHold hold(*this);
    // Told the count again, the list view measures the rows in the new style (otherwise a list
    // view may place small icons in columns too narrow for their captions); the highlighted
    // row stays highlighted.
    if ((style & LVS_TYPEMASK) != (next & LVS_TYPEMASK) && model_.EntryCount() > 0) {
      int selected = SelectedIndex();
      SetItemCount(0);
      SetItemCount(model_.EntryCount());
      if (selected >= 0) SelectItem(selected, true);
    }
    ListView_Arrange(list, LVA_DEFAULT);
    InvalidateRect(list, nullptr, TRUE);
  }
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
  do {
    rebuildPending_ = false;
    RebuildNow();
  } while (rebuildPending_);
  OnSelectionChange(this);
  // Pending messages run now; a rebuild they ask for runs in full, nested here.
  if (Application) Application->ProcessMessages();
}

void TOvFilelistView28::RebuildNow() {
  DrawingHold hold(*this);
  rebuilding_ = true;
  struct Finally {
    TOvFilelistView28* self;
    HCURSOR cursor;
    ~Finally() {
      ::SetCursor(cursor);
      self->rebuilding_ = false;
    }
  } finally{this, ::SetCursor(LoadCursorW(nullptr, IDC_WAIT))};

  // The shell's answers of entries that do not change are kept; the other entries go before
  // the folder is read again, so that a large folder is not held twice.
  TFlieInfoArr previous = model_.ShellAnswers();
  model_.Clear();
  SetItemCount(0);
  localOffset_ = locale_services::CurrentLocalOffset();
  rebuildDateFormat_ = dateFormatText_;
  rebuildTimeFormat_ = timeFormatText_;
  if (!IsMyComputer(directory_)) {
    if (!fileColumnsShown_) BuildFileColumns();
    model_.ScanFolder(directory_, mask_, fileType_, showFolders_, parentDirEnabled_);
    model_.KeepShellAnswers(previous);
  } else {
    BuildDriveColumns();
    ListDrives();
  }
  model_.FinishRebuild(5);
  SetItemCount(model_.EntryCount());
  UpdateHeaderArrows();
  FocusFirstEntry();
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
      e.EntryKind = L"drv";
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

// ---------------------------------------------------------------------------------------------
// Presentation

const FileListTexts& TOvFilelistView28::Texts() const { return TextsOf(language_); }

void TOvFilelistView28::SetLanguage(TLanguage value) {
  if (value == TLanguage::lnSysDefault) value = TLanguage::lnEnglish;
  if (value == language_) return;
  language_ = value;
  popUpMenuEnabled_ = true;
  if (HandleAllocated() && !IsLoading()) {
    fileColumnsShown_ = false;
    if (IsMyComputer(directory_)) BuildDriveColumns();
    else BuildFileColumns();
  }
}

void TOvFilelistView28::BuildFileColumns() {
  fileColumnsShown_ = true;
  if (!HandleAllocated()) return;
  HWND list = Handle();
  while (ListView_DeleteColumn(list, 0)) {
  }
  const FileListTexts& t = Texts();
  const std::wstring* captions[] = {&t.ColName, &t.ColSize, &t.ColType, &t.ColModified, &t.ColAttr};
  const int formats[] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_LEFT};
  for (int i = 0; i < 5; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = formats[i];
    column.cx = colWidths_[static_cast<size_t>(i)];
    column.pszText = const_cast<wchar_t*>(captions[i]->c_str());
    column.iSubItem = i;
    ListView_InsertColumn(list, i, &column);
  }
}

void TOvFilelistView28::BuildDriveColumns() {
  fileColumnsShown_ = false;
  if (!HandleAllocated()) return;
  HWND list = Handle();
  while (ListView_DeleteColumn(list, 0)) {
  }
  const FileListTexts& t = Texts();
  const std::wstring* captions[] = {&t.ColName, &t.ColType, &t.ColDiskSize, &t.ColFreeSpace, &t.ColAttr};
  const int widths[] = {160, 110, 90, 90, 40};
  const int formats[] = {LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_RIGHT, LVCFMT_LEFT};
  for (int i = 0; i < 5; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = formats[i];
    column.cx = widths[i];
    column.pszText = const_cast<wchar_t*>(captions[i]->c_str());
    column.iSubItem = i;
    ListView_InsertColumn(list, i, &column);
  }
}

void TOvFilelistView28::SetColWidth(int column, int width) {
  if (column < 0 || column > 4 || colWidths_[static_cast<size_t>(column)] == width) return;
  colWidths_[static_cast<size_t>(column)] = width;
  if (fileColumnsShown_ && HandleAllocated()) ListView_SetColumnWidth(Handle(), column, width);
}

void TOvFilelistView28::RecomputeFormatTexts() {
  dateFormatText_ = filelist::DateFormatText(dateFormat_, locale_services::ShortDateFormat());
  switch (timeFormat_) {
    case TTmFormat::tfLongFormat:
      timeFormatText_ = filelist::ConvertPlatformTimeFormat(locale_services::LongTimeFormat());
      break;
    case TTmFormat::tfShortFormat:
      timeFormatText_ = filelist::ConvertPlatformTimeFormat(locale_services::ShortTimeFormat());
      break;
    case TTmFormat::tfCustomize:
      timeFormatText_ = filelist::CustomTimeFormat(locale_services::LongTimeFormat());
      break;
  }
}

void TOvFilelistView28::SetDateFormat(TDtFormat value) {
  dateFormat_ = value;
  RecomputeFormatTexts();
}

void TOvFilelistView28::SetTimeFormat(TTmFormat value) {
  timeFormat_ = value;
  RecomputeFormatTexts();
}

std::wstring TOvFilelistView28::FormatEntryDate(uint64_t fileTime) const {
  filelist::CalendarTime local = filelist::CalendarFromFileTime(static_cast<uint64_t>(static_cast<int64_t>(fileTime) + localOffset_));
  const filelist::LocaleData& locale = locale_services::UserLocaleData();
  return filelist::FormatDateTime(rebuildDateFormat_, local, locale) + L" " +
         filelist::FormatDateTime(rebuildTimeFormat_, local, locale);
}

void TOvFilelistView28::SetFileSize(TFileSize value) {
  fileSize_ = value;
  Invalidate();
}

void TOvFilelistView28::SetHideFileExt(bool value) {
  hideFileExt_ = value;
  Invalidate();
}

void TOvFilelistView28::SetParentDirCaption(const std::wstring& value) {
  std::wstring trimmed = bv::Trim(value);
  if (bv::SameText(trimmed, bv::Trim(parentDirCaption_))) return;
  parentDirCaption_ = L" " + trimmed;
}

void TOvFilelistView28::SetLItemColorByATTR(bool value) {
  colorByAttributes_ = value;
  Invalidate();
}

void TOvFilelistView28::SetLItemColors(TListItemColors* colors) {
  if (colors) itemColors_.Assign(*colors);
  Invalidate();
}

void TOvFilelistView28::SetShortCuts(TOvFileListShortCuts* value) {
  if (value) shortCuts_.Assign(*value);
}

void TOvFilelistView28::FetchShellInfo(TFileInfo& e) const {
  if (e.EntryInfoFetched) return;
  ShellAnswer answer = ShellInfoCache::Shared().Lookup(e.EntryPath(), e.EntryKind == L"dir");
  e.EntryIconIndex = answer.iconIndex;
  e.EntryTypeName = answer.typeName;
  e.EntryInfoFetched = true;
}

std::wstring TOvFilelistView28::ItemCaption(int index) const {
  const TFileInfo* e = model_.Entry(index);
  return e ? CaptionOf(*e) : std::wstring();
}

std::wstring TOvFilelistView28::CaptionOf(const TFileInfo& e) const {
  if (e.EntryKind == L"drv") return e.EntryName;
  if (IsParentEntry(e)) return parentDirCaption_;
  if (hideFileExt_) return filelist::CaptionWithoutExtension(e.EntryName);
  return e.EntryName;
}

int TOvFilelistView28::ItemImage(int index) {
  TFileInfo* e = model_.Entry(index);
  if (!e) return -1;
  FetchShellInfo(*e);
  if (IsParentEntry(*e)) return ParentImageIndex();
  return e->EntryIconIndex;
}

std::wstring TOvFilelistView28::ItemText(int index, int column) {
  TFileInfo* e = model_.Entry(index);
  if (!e) return {};
  if (column == 0) return ItemCaption(index);
  if (e->EntryKind == L"drv") {
    switch (column) {
      case 1: return std::wstring(e->EntryTypeName);
      case 2: return filelist::DriveSizeText(e->EntrySize, locale_services::UserLocaleData());
      case 3: return filelist::DriveSizeText(e->EntryFree, locale_services::UserLocaleData());
      case 4: return L" ";
      default: return {};
    }
  }
  FetchShellInfo(*e);
  bool parent = IsParentEntry(*e);
  switch (column) {
    case 1:
      if (fileSize_ == TFileSize::fsKB) return e->EntryKind == L"dir" ? L" " : filelist::KilobyteText(e->EntrySize);
      return e->EntryKind == L"file" ? std::to_wstring(e->EntrySize) : L" ";
    case 2: return parent ? L" " : std::wstring(e->EntryTypeName);
    case 3: return parent ? L" " : model_.DateText(*e);
    case 4: return parent ? L" " : std::wstring(e->EntryAttrText);
    case 5: return e->EntryPath();
    case 6: return std::wstring(e->EntryKind);
    default: return {};
  }
}

void TOvFilelistView28::FillRow(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if (item.iItem < 0 || item.iItem >= model_.EntryCount()) {
    if (item.mask & LVIF_TEXT && item.pszText && item.cchTextMax > 0) item.pszText[0] = 0;
    return;
  }
  if (item.mask & LVIF_TEXT && item.pszText && item.cchTextMax > 0) {
    std::wstring text = ItemText(item.iItem, item.iSubItem);
    lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
  }
  if (item.mask & LVIF_IMAGE) item.iImage = ItemImage(item.iItem);
}

bool TOvFilelistView28::VisualStylesActive() {
  if (visualStylesOverride >= 0) return visualStylesOverride == 1;
  static const bool active = [] {
    UniqueModule theme(LoadLibraryW(L"uxtheme.dll"));
    if (!theme) return false;
    using Query = BOOL(WINAPI*)();
    auto isAppThemed = reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(theme.get(), "IsAppThemed")));
    auto isThemeActive = reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(theme.get(), "IsThemeActive")));
    if (!isAppThemed || !isThemeActive || !isAppThemed() || !isThemeActive()) return false;
    // The common controls in use must be version 6 or later.
    HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    wchar_t path[MAX_PATH];
    if (!controls || !GetModuleFileNameW(controls, path, MAX_PATH)) return false;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    if (!size) return false;
    std::vector<BYTE> data(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(path, 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
      return false;
    return fixed->dwFileVersionMS > 0x5FFFF;
  }();
  return active;
}

void TOvFilelistView28::OverrideVisualStyles(int value) { visualStylesOverride = value; }

void TOvFilelistView28::UpdateHeaderArrows() {
  if (!HandleAllocated()) return;
  HWND header = ListView_GetHeader(Handle());
  if (!header) return;
  bool themed = VisualStylesActive();
  int count = Header_GetItemCount(header);
  for (int i = 0; i < count; ++i) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    Header_GetItem(header, i, &item);
    filelist::HeaderArrow arrow = filelist::HeaderArrowFor(static_cast<uint32_t>(item.fmt), i == model_.ArrowColumn(),
                                                           themed, model_.SortDescending());
    item.mask = HDI_FORMAT | HDI_BITMAP;
    item.fmt = static_cast<int>(arrow.format);
    switch (arrow.bitmap) {
      case filelist::HeaderBitmap::kUp: item.hbm = arrowUp_.get(); break;
      case filelist::HeaderBitmap::kDown: item.hbm = arrowDown_.get(); break;
      case filelist::HeaderBitmap::kNone: item.hbm = nullptr; break;
    }
    Header_SetItem(header, i, &item);
    if (arrow.selectColumn) {
      ListView_SetSelectedColumn(Handle(), i);
      InvalidateRect(Handle(), nullptr, FALSE);
    }
  }
}

LRESULT TOvFilelistView28::CustomDraw(NMLVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      // The row's overlay picture is drawn once the row is drawn.
      LRESULT result = OnOverlayIndex ? CDRF_NOTIFYPOSTPAINT : CDRF_DODEFAULT;
      if (viewStyle_ != TViewStyle::vsReport && viewStyle_ != TViewStyle::vsList) return result;
      TColor color = clWindowText;
      if (colorByAttributes_) {
        if (const TFileInfo* e = model_.Entry(static_cast<int>(draw.nmcd.dwItemSpec)))
          color = filelist::AttributeColor(e->EntryAttributes, itemColors_, Font()->Color());
      }
      draw.clrText = ColorToRGB(color);
      return result;
    }
    case CDDS_ITEMPOSTPAINT:
      DrawOverlay(draw);
      return CDRF_DODEFAULT;
    default:
      return CDRF_DODEFAULT;
  }
}

void TOvFilelistView28::DrawOverlay(const NMLVCUSTOMDRAW& draw) {
  // Drawn here rather than through the row's overlay state, which not every list view draws
  // (Wine's ignores it).
  int item = static_cast<int>(draw.nmcd.dwItemSpec);
  int image = -1;
  OnOverlayIndex(this, item, image);
  bool large = viewStyle_ == TViewStyle::vsIcon;
  if (image < 0) return;
  HIMAGELIST images = ShellImages(large);
  if (!images || image >= ImageList_GetImageCount(images)) return;
  RECT icon{};
  icon.left = LVIR_ICON;
  if (!SendMessageW(Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&icon))) return;
  int width = 0, height = 0;
  ImageList_GetIconSize(images, &width, &height);
  int x = icon.left + (icon.right - icon.left - width) / 2;
  int y = icon.top + (icon.bottom - icon.top - height) / 2;
  ImageList_Draw(images, image, draw.nmcd.hdc, x, y, ILD_TRANSPARENT);
}

// ---------------------------------------------------------------------------------------------
// Interaction

void TOvFilelistView28::ShowMessageBox(const std::wstring& text, UINT flags) {
  if (Application) Application->MessageDlg(text, Application->Title(), flags);
  else MessageBoxW(HandleAllocated() ? Handle() : nullptr, text.c_str(), L"", flags);
}

HWND TOvFilelistView28::OwnerWindow() {
  if (!HandleAllocated()) return Application ? Application->Handle() : nullptr;
  HWND root = GetAncestor(Handle(), GA_ROOT);
  return root ? root : Handle();
}

void TOvFilelistView28::ClickSequence() {
  OnClick(this);
  int index = SelectedIndex();
  if (index < 0) return;
  selectedItem_ = model_.Entry(index)->EntryPath();
  OnItemChange(this, selectedItem_);
}

void TOvFilelistView28::HandleDoubleClick() {
  int index = SelectedIndex();
  if (index < 0 || ItemCaption(index).empty()) return;
  if (openByDblClick_) {
    OpenSelected();
    return;
  }
  if (IsParentEntry(*model_.Entry(index))) GoToParent();
  else OnDblClick(this);
}

void TOvFilelistView28::OpenSelected() {
  int index = SelectedIndex();
  if (index < 0) return;
  WaitCursor wait;
  TFileInfo entry = *model_.Entry(index);  // a copy: the rebuild below replaces the entries
  if (IsParentEntry(entry)) {
    GoToParent();
  } else if (entry.EntryKind == L"file") {
    operations_.ShellOpen(L"Open", entry.EntryPath(), L"", SW_SHOW, filelist::FolderOf(entry.EntryPath()));
  } else if (entry.EntryKind == L"dir" || entry.EntryKind == L"drv") {
    std::wstring path = bv::IncludeTrailingBackslash(entry.EntryPath());
    bool ready = true;
    if (entry.EntryKind == L"drv" && GetDriveTypeW(path.c_str()) == DRIVE_REMOVABLE) ready = DriveReady(path[0]);
    if (ready) SetDirectory(path);
  }
}

bool TOvFilelistView28::DriveReady(wchar_t letter) {
  letter = static_cast<wchar_t>(towupper(letter));
  if (letter < L'A' || letter > L'Z') {
    ShowMessageBox(Texts().MsgBadDrive, MB_OK | MB_ICONERROR);
    return false;
  }
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  std::wstring root = std::wstring(1, letter) + L":\\";
  ULARGE_INTEGER available, total, free;
  bool ok = GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free);
  if (!ok) {
    MessageBeep(MB_ICONHAND);
    ShowMessageBox(Texts().MsgDriveNotReady, MB_OK | MB_ICONWARNING);
  }
  SetErrorMode(oldMode);
  return ok;
}

void TOvFilelistView28::GoToParent() {
  if (IsMyComputer(directory_)) return;
  std::wstring d = bv::IncludeTrailingBackslash(directory_);
  directory_ = d;
  if (d.size() >= 2 && d[d.size() - 2] == L':') {
    SetDirectory(kMyComputer);
  } else {
    std::wstring withoutLast = d.substr(0, d.size() - 1);
    size_t slash = withoutLast.rfind(L'\\');
    std::wstring parent = slash == std::wstring::npos ? withoutLast : withoutLast.substr(0, slash + 1);
    SetDirectory(parent);
  }
  for (int i = 0; i < model_.EntryCount(); ++i) {
    if (comparer_->CompareIgnoringCase(bv::IncludeTrailingBackslash(model_.Entry(i)->EntryPath()), d) == 0) {
      SelectItem(i, true);
      if (HandleAllocated()) ListView_EnsureVisible(Handle(), i, FALSE);
      ClickSequence();
      break;
    }
  }
}

void TOvFilelistView28::StartRename() {
  int index = SelectedIndex();
  if (index < 0 || model_.Entry(index)->EntryKind == L"drv") return;
  if (readOnly_ || model_.Entry(index)->EntryAttrText.find(L'R') != std::wstring_view::npos) {
    ShowMessageBox(Texts().MsgReadOnly, MB_OK | MB_ICONWARNING);
    return;
  }
  editSource_ = model_.Entry(index)->EntryPath();
  EditLabel(index);
}

void TOvFilelistView28::EditLabel(int index) {
  if (!HandleAllocated()) return;
  SetFocus();
  ListView_EnsureVisible(Handle(), index, FALSE);
  ListView_EditLabel(Handle(), index);
}

bool TOvFilelistView28::BeginLabelEdit(int item) {
  if (readOnly_ || !shortCuts_.Enabled(TOvListViewAction::vaRename)) return false;
  const TFileInfo* e = model_.Entry(item);
  if (!e || e->EntryKind == L"drv" || IsParentEntry(*e)) return false;
  editSource_ = e->EntryPath();
  editHidExtension_ = hideFileExt_;
  bool allow = true;
  OnEditing(this, item, allow);
  if (allow) editing_ = true;
  return allow;
}

void TOvFilelistView28::EndLabelEdit(int item, const wchar_t* text) {
  editing_ = false;
  if (!text) return;  // cancelled
  if (!shortCuts_.Enabled(TOvListViewAction::vaRename)) return;
  std::wstring typed = text;
  OnEdited(this, item, typed);
  CommitRename(typed);
}

void TOvFilelistView28::CommitRename(const std::wstring& typed) {
  if (editSource_.empty()) return;
  filelist::RenamePlan plan = filelist::PlanRename(editSource_, typed, editHidExtension_, *comparer_);
  switch (plan.outcome) {
    case filelist::RenameOutcome::kCancel:
    case filelist::RenameOutcome::kUnchanged:
      return;
    case filelist::RenameOutcome::kInvalidName:
      ShowMessageBox(L"\"" + plan.name + L"\" " + Texts().MsgInvalidName, MB_OK | MB_ICONERROR);
      return;
    case filelist::RenameOutcome::kRename:
      break;
  }
  WaitCursor wait;
  DrawingHold hold(*this);
  if (PathExists(plan.target)) ShowMessageBox(L"\"" + plan.name + L"\" " + Texts().MsgAlreadyExists, MB_OK | MB_ICONERROR);
  else operations_.Rename(editSource_, plan.target);
  UpdateFileList();
}

std::vector<TFileInfo> TOvFilelistView28::SelectedEntries() {
  std::vector<TFileInfo> entries;
  if (!HandleAllocated()) return entries;
  HWND list = Handle();
  for (int i = ListView_GetNextItem(list, -1, LVNI_SELECTED); i >= 0; i = ListView_GetNextItem(list, i, LVNI_SELECTED))
    if (const TFileInfo* e = model_.Entry(i)) entries.push_back(*e);
  return entries;
}

std::vector<std::wstring> TOvFilelistView28::SelectedPathsWithoutParent() {
  std::vector<std::wstring> paths;
  for (int i = 0; i < model_.EntryCount(); ++i)
    if (IsParentEntry(*model_.Entry(i))) SelectItem(i, false);
  for (const TFileInfo& e : SelectedEntries()) paths.push_back(e.EntryPath());
  return paths;
}

bool TOvFilelistView28::PermanentDelete() {
  // The selection is taken before the first question: a rebuild while a question is open
  // cannot redirect the delete to another file.
  std::vector<TFileInfo> targets = SelectedEntries();
  if (targets.empty()) return false;
  for (const TFileInfo& t : targets) {
    if (t.EntryKind == L"dir") {
      UpdateFileList();
      return false;
    }
    std::wstring question = L"Are you sure you want to permanently delete file\r  \"" + CaptionOf(t) + L"\"?";
    int answer = Application ? Application->MessageDlg(question, Application->Title(), MB_YESNO | MB_ICONQUESTION)
                             : MessageBoxW(Handle(), question.c_str(), L"", MB_YESNO | MB_ICONQUESTION);
    if (answer == IDYES && t.EntryKind == L"file") DeleteFileW(t.EntryPath().c_str());
    for (int i = 0; i < model_.EntryCount(); ++i)
      if (model_.Entry(i)->EntryPath() == t.EntryPath()) SelectItem(i, false);
  }
  UpdateFileList();
  return true;
}

void TOvFilelistView28::RecycleSelected() {
  WaitCursor wait;
  if (IsMyComputer(directory_) || !SetCurrentDirectoryW(directory_.c_str())) return;
  operations_.Recycle(SelectedPathsWithoutParent());
  UpdateFileList();
}

void TOvFilelistView28::MarkForTransfer(TTransferMode mode) {
  for (const TFileInfo& e : SelectedEntries())
    if (e.EntryKind == L"drv") return;
  operations_.MarkForTransfer(SelectedPathsWithoutParent(), mode);
}

void TOvFilelistView28::PasteFiles() {
  WaitCursor wait;
  if (IsMyComputer(directory_) || !SetCurrentDirectoryW(directory_.c_str())) return;
  if (operations_.PasteInto(bv::IncludeTrailingBackslash(directory_))) UpdateFileList();
}

void TOvFilelistView28::CreateNewFolder() {
  if (IsMyComputer(directory_)) return;
  std::wstring path = operations_.CreateNewFolder(bv::IncludeTrailingBackslash(directory_));
  if (path.empty()) return;
  UpdateFileList();
  if (!HandleAllocated()) return;
  ListView_SetItemState(Handle(), -1, 0, LVIS_SELECTED);
  for (int i = 0; i < model_.EntryCount(); ++i) {
    if (model_.Entry(i)->EntryPath() != path) continue;
    // Name it at once; the list's rename rules decide whether editing may start.
    SelectItem(i, true);
    EditLabel(i);
    break;
  }
}

void TOvFilelistView28::ViewSelected() {
  int index = SelectedIndex();
  if (index < 0 || model_.Entry(index)->EntryKind != L"file") return;
  operations_.View(model_.Entry(index)->EntryPath());
}

void TOvFilelistView28::OpenFindWindow() {
  if (Focused()) operations_.OpenFindWindow(directory_);
}

void TOvFilelistView28::SelectAll() {
  if (!HandleAllocated() || model_.EntryCount() == 0) return;
  // A single-selection list keeps the last entry, as selecting one after the other would.
  if (multiSelect_) {
    ListView_SetItemState(Handle(), -1, LVIS_SELECTED, LVIS_SELECTED);
  } else {
    SelectItem(model_.EntryCount() - 1, true);
  }
}

bool TOvFilelistView28::DispatchKey(WORD key, TShiftState shift) {
  filelist::KeyContext context;
  context.key = key;
  context.shift = shift & ssShift;
  context.ctrl = shift & ssCtrl;
  context.alt = shift & ssAlt;
  context.entrySelected = SelectedIndex() >= 0;
  context.driveView = IsMyComputer(directory_);
  context.entryCount = model_.EntryCount();
  context.openByEnter = openByEnter_;
  context.filesToPaste = operations_.FilesToPaste();
  filelist::KeyPlan plan = filelist::PlanKey(context, shortCuts_);
  bool passOn = plan.passOn;
  using filelist::KeyAction;
  for (KeyAction action : plan.actions) {
    switch (action) {
      case KeyAction::kMarkForCopy: MarkForTransfer(TTransferMode::tmCopy); break;
      case KeyAction::kMarkForMove: MarkForTransfer(TTransferMode::tmMove); break;
      case KeyAction::kOpenSelected: OpenSelected(); break;
      case KeyAction::kViewSelected: ViewSelected(); break;
      case KeyAction::kRecycleSelected: RecycleSelected(); break;
      case KeyAction::kStartRename: StartRename(); break;
      case KeyAction::kPasteFiles: PasteFiles(); break;
      case KeyAction::kCreateNewFolder: CreateNewFolder(); break;
      case KeyAction::kGoToParent: GoToParent(); break;
      case KeyAction::kOpenFindWindow: OpenFindWindow(); break;
      case KeyAction::kRefresh: UpdateFileList(); break;
      case KeyAction::kSelectAll: SelectAll(); break;
      case KeyAction::kPermanentDelete:
        if (!PermanentDelete()) passOn = false;
        break;
    }
  }
  return passOn;
}

LRESULT TOvFilelistView28::HandleNotify(NMHDR* header) {
  switch (header->code) {
    case LVN_GETDISPINFOW:
      FillRow(*reinterpret_cast<NMLVDISPINFOW*>(header));
      return 0;
    case LVN_ODFINDITEMW: {
      auto* find = reinterpret_cast<NMLVFINDITEMW*>(header);
      if (!(find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find->lvfi.psz) return -1;
      std::wstring wanted = find->lvfi.psz;
      int count = model_.EntryCount();
      for (int step = 0; step < count; ++step) {
        int i = (find->iStart + step) % count;
        std::wstring caption = ItemCaption(i);
        if (caption.size() >= wanted.size() &&
            comparer_->CompareIgnoringCase(std::wstring_view(caption).substr(0, wanted.size()), wanted) == 0)
          return i;
      }
      return -1;
    }
    case NM_CLICK:
      ClickSequence();
      return 0;
    case LVN_ITEMCHANGED: {
      auto* change = reinterpret_cast<NMLISTVIEW*>(header);
      // Item -1 stands for every row (a range in an owner-data list).
      if (!rebuilding_ && (change->iItem < 0 || ((change->uChanged & LVIF_STATE) &&
                                                 ((change->uOldState ^ change->uNewState) & LVIS_SELECTED))))
        OnSelectionChange(this);
      return 0;
    }
    case LVN_ODSTATECHANGED: {
      auto* change = reinterpret_cast<NMLVODSTATECHANGE*>(header);
      if (!rebuilding_ && ((change->uOldState ^ change->uNewState) & LVIS_SELECTED)) OnSelectionChange(this);
      return 0;
    }
    case NM_DBLCLK:
      HandleDoubleClick();
      return 0;
    case LVN_COLUMNCLICK: {
      int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
      if (OnColumnClick) OnColumnClick(this, column);
      else HandleColumnClick(column);
      return 0;
    }
    case NM_CUSTOMDRAW:
      return CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(header));
    case LVN_BEGINLABELEDITW:
      return BeginLabelEdit(reinterpret_cast<NMLVDISPINFOW*>(header)->item.iItem) ? FALSE : TRUE;
    case LVN_ENDLABELEDITW: {
      auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
      // Renaming rebuilds the list; the control must not also keep the typed text.
      EndLabelEdit(info->item.iItem, info->item.pszText);
      return FALSE;
    }
    default:
      return 0;
  }
}

void TOvFilelistView28::WndProc(TMessage& m) {
  switch (m.Msg) {
    case kDeferredFirstRead:
      if (firstReadDue_) UpdateFileList();
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
      if (HandleAllocated() && header->hwndFrom == ListView_GetHeader(Handle()) &&
          (header->code == HDN_ENDTRACKW || header->code == HDN_ENDTRACKA))
        UpdateHeaderArrows();
      return;
    }
    case WM_KEYDOWN:
      if (!editing_ && !DispatchKey(static_cast<WORD>(m.WParam), CurrentShiftState())) {
        m.Result = 0;
        return;
      }
      break;
    case WM_MOUSEMOVE:
      if (infoTip_) infoTip_->MouseMoved(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
      break;
    case WM_KEYUP:
      TWinControl::WndProc(m);
      if (!editing_ && (m.WParam == VK_UP || m.WParam == VK_DOWN)) ClickSequence();
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}
