// The file list's presentation: columns and their captions, date, time and size formats,
// row texts and icons, header arrows and custom drawing. See OvFilelistView28.h.
#include "filelist/OvFilelistView28.h"

#include <shellapi.h>
#include <uxtheme.h>

#include <vector>

#include "filelist/FileListFormats.h"
#include "filelist/HeaderArrows.h"
#include "filelist/LocaleServices.h"
#include "filelist/OvFilelistView28Internal.h"
#include "filelist/OvFilelistView28PopUp.h"
#include "filelist/ParentFolderImage.h"
#include "filelist/ShellImageWarmUp.h"
#include "filelist/ShellInfoCache.h"
#include "framework/Strings.h"

using namespace filelist::view_detail;

namespace {

int visualStylesOverride = -1;

}  // namespace

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
HIMAGELIST TOvFilelistView28::ShellImages(bool large) {
  HIMAGELIST& images = large ? largeImages_ : smallImages_;
  if (!images) {
    shell_image_warm_up::Wait();
    images = shell_image_warm_up::SystemImages(large);
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
  // While the shell's lists are still being made on the warm-up thread, an empty list of their
  // size stands in: the rows are laid out just the same, and the window's first paint takes the
  // shell's lists (by then mostly made) instead of the window's creation waiting for them.
  placeholderImages_ = !(large ? largeImages_ : smallImages_) && shell_image_warm_up::Pending();
  HIMAGELIST images = placeholderImages_ ? shell_image_warm_up::Placeholder(large) : ShellImages(large);
  if (ListView_GetImageList(Handle(), kind) != images) ListView_SetImageList(Handle(), images, kind);
}

void TOvFilelistView28::TakeShellImages() {
  if (!placeholderImages_ || !HandleAllocated()) return;
  placeholderImages_ = false;
  bool large = viewStyle_ == TViewStyle::vsIcon;
  int kind = large ? LVSIL_NORMAL : LVSIL_SMALL;
  HIMAGELIST stand = ListView_GetImageList(Handle(), kind);
  HIMAGELIST images = ShellImages(large);  // waits for what is left of the warm-up
  ListView_SetImageList(Handle(), images, kind);
  int standWidth = 0, standHeight = 0, width = 0, height = 0;
  ImageList_GetIconSize(stand, &standWidth, &standHeight);
  ImageList_GetIconSize(images, &width, &height);
  // The shell keeps an icon size of its own where the user has set one: the rows are measured
  // and placed anew.
  if (standWidth != width || standHeight != height)
    PlaceRowsAgain(ListView_GetNextItem(Handle(), -1, LVNI_FOCUSED), SelectedIndex());
}

void TOvFilelistView28::PlaceRowsAgain(int focused, int selected) {
  const int count = model_.EntryCount();
  if (count == 0) return;
  // Told the count again, the list view measures and places the rows; the highlighted and the
  // focused row stay so.
  SetItemCount(0);
  SetItemCount(count);
  if (focused >= 0 && focused < count) ListView_SetItemState(Handle(), focused, LVIS_FOCUSED, LVIS_FOCUSED);
  if (selected >= 0) SelectItem(selected, true);
}

void TOvFilelistView28::LoadArrowBitmaps() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  arrowUp_.reset(static_cast<HBITMAP>(LoadImageW(instance, L"Bmp_Up28", IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
  arrowDown_.reset(static_cast<HBITMAP>(LoadImageW(instance, L"Bmp_Down28", IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
}

// ---------------------------------------------------------------------------------------------
// Presentation

// Messages, drive types and menu captions: the process's shared texts.
const FileListTexts& TOvFilelistView28::Texts() const { return SharedTexts(); }

std::array<const std::wstring*, 5> TOvFilelistView28::ColumnCaptions(bool fileColumns) const {
  const FileListTexts& t = TextsOf(language_);
  if (fileColumns) return {&t.ColName, &t.ColSize, &t.ColType, &t.ColModified, &t.ColAttr};
  return {&t.ColName, &t.ColType, &t.ColDiskSize, &t.ColFreeSpace, &t.ColAttr};
}

void TOvFilelistView28::SetLanguage(TLanguage value) {
  if (value == TLanguage::lnSysDefault) value = LanguageOfLangId(GetUserDefaultLangID());
  if (value == language_) return;
  language_ = value;
  SetSharedLanguage(value);
  // A new language brings a new menu, which pops up again even where it had been turned off.
  popUpMenuEnabled_ = true;
  if (HandleAllocated() && !IsLoading()) ShowLanguage();
  // The menu is rebuilt in place (once it has closed, when it is open).
  if (popUp_) {
    popUp_->Rebuild();
    menuLanguage_ = value;
  }
}

void TOvFilelistView28::ShowLanguage() {
  HWND list = Handle();
  HWND header = ListView_GetHeader(list);
  if (!header || Header_GetItemCount(header) != 5) {
    if (IsMyComputer(directory_)) BuildDriveColumns();
    else BuildFileColumns();
    UpdateHeaderArrows();
  } else {
    // Only the texts change: the widths the user dragged, the sort arrow and the adapters
    // attached to the list view and its header stay. The header is told directly: the list
    // view's LVM_SETCOLUMN resets the item's format (alignment, arrow) under Wine.
    std::array<const std::wstring*, 5> captions = ColumnCaptions(fileColumnsShown_);
    for (int i = 0; i < 5; ++i) {
      HDITEMW item{};
      item.mask = HDI_TEXT;
      item.pszText = const_cast<wchar_t*>(captions[static_cast<size_t>(i)]->c_str());
      Header_SetItem(header, i, &item);
    }
  }
  // The drive rows name their types in the shared language.
  bool renamed = false;
  for (int i = 0; i < model_.EntryCount(); ++i) {
    TFileInfo* e = model_.Entry(i);
    if (!e || e->EntryKind != L"drv" || !e->EntryFolder) continue;
    UINT type = GetDriveTypeW(e->EntryFolder->c_str());
    e->EntryTypeName = Texts().DriveTypes[type < 7 ? type : 0];
    renamed = true;
  }
  if (renamed) InvalidateRect(list, nullptr, FALSE);
}

bool TOvFilelistView28::ColumnsWait() {
  columnsPending_ = viewStyle_ != TViewStyle::vsReport;
  return columnsPending_;
}

void TOvFilelistView28::BuildFileColumns() {
  fileColumnsShown_ = true;
  if (!HandleAllocated() || ColumnsWait()) return;
  HWND list = Handle();
  while (ListView_DeleteColumn(list, 0)) {
  }
  std::array<const std::wstring*, 5> captions = ColumnCaptions(true);
  const int formats[] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_LEFT};
  for (int i = 0; i < 5; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = formats[i];
    column.cx = colWidths_[static_cast<size_t>(i)];
    column.pszText = const_cast<wchar_t*>(captions[static_cast<size_t>(i)]->c_str());
    column.iSubItem = i;
    ListView_InsertColumn(list, i, &column);
  }
}

void TOvFilelistView28::BuildDriveColumns() {
  fileColumnsShown_ = false;
  if (!HandleAllocated() || ColumnsWait()) return;
  HWND list = Handle();
  while (ListView_DeleteColumn(list, 0)) {
  }
  std::array<const std::wstring*, 5> captions = ColumnCaptions(false);
  const int widths[] = {160, 110, 90, 90, 40};
  const int formats[] = {LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_RIGHT, LVCFMT_LEFT};
  for (int i = 0; i < 5; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = formats[i];
    column.cx = widths[i];
    column.pszText = const_cast<wchar_t*>(captions[static_cast<size_t>(i)]->c_str());
    column.iSubItem = i;
    ListView_InsertColumn(list, i, &column);
  }
}

void TOvFilelistView28::SetColWidth(int column, int width) {
  if (column < 0 || column > 4 || colWidths_[static_cast<size_t>(column)] == width) return;
  colWidths_[static_cast<size_t>(column)] = width;
  if (fileColumnsShown_ && !columnsPending_ && HandleAllocated()) ListView_SetColumnWidth(Handle(), column, width);
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
    case 4: return parent ? L" " : std::wstring(e->EntryAttrText());
    case 5: return e->EntryPath();
    case 6: return std::wstring(e->EntryKind.View());
    default: return {};
  }
}

void TOvFilelistView28::FillRow(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if (item.iItem < 0 || item.iItem >= model_.EntryCount()) {
    if (item.mask & LVIF_TEXT && item.pszText && item.cchTextMax > 0) item.pszText[0] = 0;
    return;
  }
  // During a style change the single row stands for the widest caption (see ApplyListStyles).
  int index = measuredEntry_ >= 0 && item.iItem == 0 ? measuredEntry_ : item.iItem;
  if (item.mask & LVIF_TEXT && item.pszText && item.cchTextMax > 0) {
    std::wstring text = ItemText(index, item.iSubItem);
    lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
  }
  // A row laid out against the stand-in image list (see AttachImages) is only measured, never
  // shown: its picture is asked for when the window paints, with the shell's lists in place.
  if (item.mask & LVIF_IMAGE) item.iImage = placeholderImages_ ? I_IMAGENONE : ItemImage(index);
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
    item.mask = HDI_FORMAT | HDI_BITMAP;
    Header_GetItem(header, i, &item);
    filelist::HeaderArrow arrow = filelist::HeaderArrowFor(static_cast<uint32_t>(item.fmt), i == model_.ArrowColumn(),
                                                           themed, model_.SortDescending());
    HBITMAP picture = nullptr;
    switch (arrow.bitmap) {
      case filelist::HeaderBitmap::kUp: picture = arrowUp_.get(); break;
      case filelist::HeaderBitmap::kDown: picture = arrowDown_.get(); break;
      case filelist::HeaderBitmap::kNone: picture = nullptr; break;
    }
    // A column that shows its arrow already is left alone: setting it lays the header out again.
    const bool same = item.fmt == static_cast<int>(arrow.format) && (item.hbm == picture || !(item.fmt & HDF_BITMAP));
    item.mask = HDI_FORMAT | HDI_BITMAP;
    item.fmt = static_cast<int>(arrow.format);
    item.hbm = picture;
    if (!same) Header_SetItem(header, i, &item);
    if (arrow.selectColumn) {
      ListView_SetSelectedColumn(Handle(), i);
      InvalidateRect(Handle(), nullptr, FALSE);
    }
  }
}

LRESULT TOvFilelistView28::CustomDraw(NMLVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      iconPlace_.reset();
      // Rows laid out against the stand-in image list are being measured, not shown.
      return placeholderImages_ ? CDRF_DODEFAULT : CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      // The row's overlay picture is drawn once the row is drawn: only a row that has one asks
      // to be told (each notice is a message through the parent's chain).
      LRESULT result = CDRF_DODEFAULT;
      drawnOverlay_ = {-1, -1};
      if (OnOverlayIndex) {
        const int item = static_cast<int>(draw.nmcd.dwItemSpec);
        int image = -1;
        OnOverlayIndex(this, item, image);
        if (image >= 0) {
          drawnOverlay_ = {item, image};
          result = CDRF_NOTIFYPOSTPAINT;
        }
      }
      if (viewStyle_ != TViewStyle::vsReport && viewStyle_ != TViewStyle::vsList) return result;
      TColor color = clWindowText;
      if (colorByAttributes_) {
        if (const TFileInfo* e = model_.Entry(static_cast<int>(draw.nmcd.dwItemSpec)))
          color = filelist::AttributeColor(e->EntryAttributes, itemColors_, Font()->Color());
      }
      draw.clrText = ColorToRGB(color);
      return result;
    }
    case CDDS_ITEMPOSTPAINT: {
      const int item = static_cast<int>(draw.nmcd.dwItemSpec);
      int image = drawnOverlay_.first == item ? drawnOverlay_.second : -1;
      if (drawnOverlay_.first != item && OnOverlayIndex) OnOverlayIndex(this, item, image);
      DrawOverlay(draw, image);
      return CDRF_DODEFAULT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

void TOvFilelistView28::DrawOverlay(const NMLVCUSTOMDRAW& draw, int image) {
  // Drawn here rather than through the row's overlay state, which not every list view draws
  // (Wine's ignores it).
  int item = static_cast<int>(draw.nmcd.dwItemSpec);
  bool large = viewStyle_ == TViewStyle::vsIcon;
  if (image < 0) return;
  HIMAGELIST images = ShellImages(large);
  if (!images || image >= ImageList_GetImageCount(images)) return;
  RECT icon{};
  const RECT& box = draw.nmcd.rc;
  const bool focused = (draw.nmcd.uItemState & CDIS_FOCUS) != 0;
  if (iconPlace_ && !focused) {
    icon = {box.left + iconPlace_->left, box.top + iconPlace_->top, box.left + iconPlace_->right,
            box.top + iconPlace_->bottom};
  } else {
    icon.left = LVIR_ICON;
    if (!SendMessageW(Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&icon))) return;
    if (!focused)
      iconPlace_ = RECT{icon.left - box.left, icon.top - box.top, icon.right - box.left, icon.bottom - box.top};
  }
  int width = 0, height = 0;
  ImageList_GetIconSize(images, &width, &height);
  int x = icon.left + (icon.right - icon.left - width) / 2;
  int y = icon.top + (icon.bottom - icon.top - height) / 2;
  ImageList_Draw(images, image, draw.nmcd.hdc, x, y, ILD_TRANSPARENT);
}

