// TOvFilelistView28: a file list on the platform's list view in owner-data mode. It lists the
// entries of one folder that match its mask (or the drives, for "My Computer"), sorts them by
// column, answers the list view's row requests from its entry model, records the entry the user
// picks, and reacts to the keyboard: shortcuts and the file operations they start, opening,
// going to the parent, permanent delete and in-place rename. Its context menu
// (TOvFilelistView28PopUp) and files dropped on it start the same operations.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "filelist/FileListModel.h"
#include "filelist/FileListTexts.h"
#include "filelist/FileOperations.h"
#include "filelist/OvFileListShortCuts.h"
#include "framework/Control.h"
#include "framework/PaintBuffer.h"

class ListInfoTip;
class TOvFilelistView28PopUp;
class TOvDirTree21;
class TOvDirTreeCombo28;

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum class TDtFormat { df_MMddyyyy, df_MMddyy, df_ddMMyyyy, df_ddMMyy_GB, df_ddMMyy_DE, df_ddMMyy_IT, df_yyyyMMdd, df_yyMMdd, df_Customize };
enum class TTmFormat { tfLongFormat, tfShortFormat, tfCustomize };
enum class TFileSize { fsKB, fsByte };
const TypeInfo& ViewStyleType();

// The four colours of rows coloured by attributes.
class TListItemColors : public TPersistent {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  TColor Attr_Archive() const { return archive_; }
  void SetAttr_Archive(TColor c) { archive_ = c; }
  TColor Attr_Hidden() const { return hidden_; }
  void SetAttr_Hidden(TColor c) { hidden_ = c; }
  TColor Attr_Readonly() const { return readonly_; }
  void SetAttr_Readonly(TColor c) { readonly_ = c; }
  TColor Attr_System() const { return system_; }
  void SetAttr_System(TColor c) { system_ = c; }
  void Assign(const TPersistent& source) override;

 private:
  TColor archive_ = 0;
  TColor hidden_ = clGrayText;
  TColor readonly_ = 8421376;
  TColor system_ = 255;
};

namespace filelist {
// The text colour of a row by attributes (archive, hidden, read-only, system; the last that
// applies wins), or `normal` when none applies.
TColor AttributeColor(uint32_t attributes, const TListItemColors& colors, TColor normal);
// The date format text of a TDtFormat; df_Customize gives `localeShortDate`.
std::wstring DateFormatText(TDtFormat format, const std::wstring& localeShortDate);
}  // namespace filelist

using TSelItemChangeEvent = Event<TObject*, const std::wstring&>;
using TColumnClickEvent = Event<TObject*, int>;
using TEditingEvent = Event<TObject*, int, bool&>;        // item index, allow edit
using TEditedEvent = Event<TObject*, int, std::wstring&>;  // item index, new text
using TInfoTipEvent = Event<TObject*, int, std::wstring&>;  // item index, tip text
using TOverlayIndexEvent = Event<TObject*, int, int&>;      // item index, overlay picture

class TOvFilelistView28 : public TWinControl {
 public:
  static constexpr const wchar_t* kMyComputer = L"My Computer";

  explicit TOvFilelistView28(TComponent* owner);
  ~TOvFilelistView28() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // --- Entry model -----------------------------------------------------------------------------
  const std::wstring& Directory() const { return directory_; }
  void SetDirectory(const std::wstring& value);
  const std::wstring& Mask() const { return mask_; }
  void SetMask(const std::wstring& value);
  TFileType FileType() const { return fileType_; }
  void SetFileType(TFileType value);
  bool ShowFolders() const { return showFolders_; }
  void SetShowFolders(bool value);
  // Mask pieces match an item's own name only, never a short 8.3 alias (FileListModel::StrictMask).
  bool StrictMask() const { return model_.StrictMask(); }
  void SetStrictMask(bool value);
  bool ParentDirEnabled() const { return parentDirEnabled_; }
  void SetParentDirEnabled(bool value) { parentDirEnabled_ = value; }
  // Rebuilds the entries from the folder (or the drives) and redisplays them.
  void UpdateFileList();
  // A file its owner renamed itself: its entry leaves the list, or the file (found again on
  // disk) joins it, without the folder being read again. Rows, selection, focus and scroll
  // position end as after UpdateFileList, which the owner calls instead where these answer
  // false (nothing changed then).
  bool TakeOutFile(const std::wstring& path);
  bool TakeInFile(const std::wstring& path);
  const std::wstring& SelectedItem() const { return selectedItem_; }
  void SetSelectedItem(const std::wstring& value) { selectedItem_ = value; }
  int SelectedNumber() const;
  int64_t SelectedSize() const;
  int64_t DriveFreeSpace() const;
  const FileListModel& Model() const { return model_; }
  int EntryCount() const { return model_.EntryCount(); }
  bool FileColumnsShown() const { return fileColumnsShown_; }
  // The column-header click: sort by that column (nothing while sorting is disabled).
  void HandleColumnClick(int column);

  // --- Linked controls -----------------------------------------------------------------------
  // The directory tree and the drop-down tree that follow this list (borrowed; cleared when the
  // control is freed). Writing one unlinks the control linked before (its FileList is cleared)
  // and links the new one back to this list. With a linked tree that allows dragging, a left
  // press on a selected entry drags it: past the platform's drag distance plus 10 pixels the
  // drag starts, a copy with Ctrl held at the press or at the drop, else a move; released over a folder of
  // that tree, the selected files go into it (the tree's drop).
  TOvDirTree21* DirTree() const { return dirTree_; }
  void SetDirTree(TOvDirTree21* tree);
  TOvDirTreeCombo28* DirTreeCombo() const { return dirTreeCombo_; }
  void SetDirTreeCombo(TOvDirTreeCombo28* combo);
  // Whether a drag of the selected files is under way (past the drag distance).
  bool Dragging() const { return drag_.active; }

  // --- The list control ------------------------------------------------------------------------
  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle value);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value);
  bool ShowColumnHeaders() const { return showColumnHeaders_; }
  void SetShowColumnHeaders(bool value);
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool value);
  int SelCount() const;
  // The first selected row, or -1.
  int SelectedIndex() const;
  // The row's caption as the list shows it (".." shows ParentDirCaption; HideFileExt applies).
  std::wstring ItemCaption(int index) const;
  // The selected row's caption, empty without a selection.
  std::wstring SelectedCaption() const { return ItemCaption(SelectedIndex()); }
  void SelectItem(int index, bool select);
  // The path of the first selected row, empty without a selection.
  std::wstring SelectedPath() const;
  // Selects and focuses the row of the entry at `path`; false when no entry has that path.
  bool SelectPath(const std::wstring& path);

  // --- Presentation ----------------------------------------------------------------------------
  int ColWidth(int column) const { return colWidths_[static_cast<size_t>(column)]; }
  void SetColWidth(int column, int width);
  int ColWidth_Name() const { return ColWidth(0); }
  void SetColWidth_Name(int w) { SetColWidth(0, w); }
  int ColWidth_Size() const { return ColWidth(1); }
  void SetColWidth_Size(int w) { SetColWidth(1, w); }
  int ColWidth_Type() const { return ColWidth(2); }
  void SetColWidth_Type(int w) { SetColWidth(2, w); }
  int ColWidth_Mod() const { return ColWidth(3); }
  void SetColWidth_Mod(int w) { SetColWidth(3, w); }
  int ColWidth_Attr() const { return ColWidth(4); }
  void SetColWidth_Attr(int w) { SetColWidth(4, w); }
  TDtFormat DateFormat() const { return dateFormat_; }
  virtual void SetDateFormat(TDtFormat value);
  TTmFormat TimeFormat() const { return timeFormat_; }
  virtual void SetTimeFormat(TTmFormat value);
  const std::wstring& DateFormatString() const { return dateFormatText_; }
  const std::wstring& TimeFormatString() const { return timeFormatText_; }
  TFileSize FileSize() const { return fileSize_; }
  void SetFileSize(TFileSize value);
  bool HideFileExt() const { return hideFileExt_; }
  void SetHideFileExt(bool value);
  const std::wstring& ParentDirCaption() const { return parentDirCaption_; }
  void SetParentDirCaption(const std::wstring& value);
  bool LItemColorByATTR() const { return colorByAttributes_; }
  void SetLItemColorByATTR(bool value);
  TListItemColors* LItemColors() { return &itemColors_; }
  void SetLItemColors(TListItemColors* colors);
  std::wstring About() const { return L"Version 2.8.8.6"; }
  void SetAbout(const std::wstring&) {}
  TLanguage Language() const { return language_; }
  void SetLanguage(TLanguage value);
  // Messages, drive-type names and menu captions: the texts every list shares, in the language
  // given last to any list (the columns follow this list's own language).
  const FileListTexts& Texts() const;
  // The index of the parent-folder picture in the shell's lists; appended on first use.
  int ParentImageIndex();
  // The shell's system image list of that size, fetched the first time it is needed (the first
  // fetch makes the shell build its lists, which is slow: a list not shown waits).
  HIMAGELIST ShellImages(bool large);
  // The texts a row shows in columns 0..4 (plus the path and kind of file rows as 5 and 6).
  // Fetches and caches the entry's shell icon and type name on first use.
  std::wstring ItemText(int index, int column);
  int ItemImage(int index);

  // --- Interaction -----------------------------------------------------------------------------
  bool OpenByDblClick() const { return openByDblClick_; }
  void SetOpenByDblClick(bool value) { openByDblClick_ = value; }
  bool OpenByEnter() const { return openByEnter_; }
  void SetOpenByEnter(bool value) { openByEnter_ = value; }
  // Whether a right click (or the menu key) opens the context menu; the keys work either way.
  bool PopUpMenuEnabled() const { return popUpMenuEnabled_; }
  void SetPopUpMenuEnabled(bool value);
  // The context menu, built when first asked for, and built again when the texts all lists
  // share have changed language since.
  TOvFilelistView28PopUp& PopUpMenu();
  // Opens the context menu as a right click at the screen point does (in the folder view only).
  void ShowContextMenu(POINT screen);
  TOvFileListShortCuts* ShortCuts() { return &shortCuts_; }
  void SetShortCuts(TOvFileListShortCuts* value);
  const std::wstring& EditSource() const { return editSource_; }
  void OpenSelected();
  void GoToParent();
  void StartRename();
  // Runs the click sequence: OnClick, then SelectedItem and OnItemChange when a row is selected.
  void ClickSequence();
  // Handles a key as the list does on WM_KEYDOWN; false when the key is not passed on.
  bool DispatchKey(WORD key, TShiftState shift);

  // --- File operations (each works on the selection taken when it starts) ---------------------
  // Marks the selected entries for a copy or a move and puts them on the clipboard.
  void MarkForTransfer(TTransferMode mode);
  // Copies or moves the marked files, or the clipboard's, into Directory.
  void PasteFiles();
  void RecycleSelected();
  // Creates a new folder in Directory and starts naming it when folders are listed.
  void CreateNewFolder();
  void ViewSelected();
  void OpenFindWindow();
  void SelectAll();
  // Deletes the selected files for good, each after a question; false when it stopped at a
  // folder or nothing was selected.
  bool PermanentDelete();
  const std::vector<std::wstring>& TransferList() const { return operations_.TransferList(); }
  // Whether a paste has files to work on: marked here or on the clipboard.
  bool FilesToPaste() const { return operations_.FilesToPaste(); }
  // Copies the selected files into `folder`; the list is not rebuilt.
  void CopySelectedTo(const std::wstring& folder);
  // Asks for a folder with the process's folder picker and copies the selected files there
  // (nothing happens while no picker is set).
  void SendToAnyFolder();
  // Asks the user for a folder for `list`, under `caption`, starting at `folder`; true with the
  // chosen folder in `folder`. The program sets its folder chooser here (the list's layer does
  // not reach it); tests set a picker of their own.
  using FolderPicker = std::function<bool(TOvFilelistView28& list, const std::wstring& caption, std::wstring& folder)>;
  static void SetFolderPicker(FolderPicker picker);
  // Sends the selected files to a SendTo entry: a shortcut to a folder (or a folder) gets a copy,
  // a shortcut to a program is started with the files' paths, each in quotes.
  void SendToTarget(const std::wstring& target);
  void CopyContentsToClipboard();
  void CopyNamesToClipboard();
  // A shortcut to the selected entry on the user's desktop, never replacing one; answers its path.
  std::wstring CreateDesktopShortcut();
  void ShowProperties();
  // Files dropped on the list (or handed on by its window's owner): copied into Directory.
  void AcceptDroppedFiles(std::vector<std::wstring> paths);
  // The folder CreateDesktopShortcut puts shortcuts in; empty for the user's desktop. Tests
  // point it at a folder of their own.
  static void OverrideDesktopFolder(const std::wstring& folder);

  TSelItemChangeEvent OnItemChange;
  // The selected rows changed, whatever changed them (mouse, keyboard, type-ahead, a program
  // call); raised once at the end of each rebuild too, which leaves no row selected.
  TNotifyEvent OnSelectionChange;
  TColumnClickEvent OnColumnClick;  // replaces the built-in sorting when assigned
  TEditingEvent OnEditing;
  TEditedEvent OnEdited;
  // Hooks for the owner's own details of an entry: the text of the tip shown while a row is
  // hovered (nothing is shown while it stays empty), and the overlay picture drawn over a row's
  // icon: an index into the list's image lists (the shell's, where the owner adds its
  // pictures), -1 for none.
  TInfoTipEvent OnInfoTip;
  TOverlayIndexEvent OnOverlayIndex;
  // The tooltip that shows OnInfoTip's text (nullptr before the list has a window).
  HWND InfoTipHandle() const;

  // Whether visual styles are active for the header arrows; checked once per process.
  static bool VisualStylesActive();
  // Tests may switch the header arrows between the two ways of drawing them.
  static void OverrideVisualStyles(int value);  // 1 on, 0 off, -1 detect

 protected:
  void CreateParams(CreateParamsRecord& params) override;
  void CreateWindowDone() override;
  void Loaded() override;
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  bool ClicksOnMouseUp() const override { return false; }
  // The list view reports double-clicks itself (NM_DBLCLK); OnDblClick is raised only for one
  // that opens nothing.
  void DblClick() override {}

 private:
  void RebuildNow();
  // Dragging the selected files onto the linked tree (OvFilelistView28Drag.cpp).
  void PressForDrag(Point client, bool ctrl);
  void MoveForDrag();
  void EndDrag(bool drop, bool ctrl = false);
  // The drag's target under the cursor: a folder node of the linked tree, or nothing.
  HTREEITEM DropNodeAtCursor();
  struct DragState {
    bool pending = false;  // pressed on a selected entry, the mouse held by the list
    bool active = false;   // moved past the drag distance
    POINT start{};         // the press, on the screen
    TTransferMode mode = TTransferMode::tmMove;
  };
  DragState drag_;
  TOvDirTree21* dirTree_ = nullptr;            // borrowed, cleared when it is freed
  TOvDirTreeCombo28* dirTreeCombo_ = nullptr;  // borrowed, cleared when it is freed
  // Drawing of the list view held while entries, count or style change, so that the list view
  // updates its scroll bars, arrangement and picture once, when drawing resumes (see DrawingHold
  // in the .cpp). Holds nest; a list that is not visible is left alone.
  void HoldDrawing();
  void ResumeDrawing();
  void MeasureRowsHidden();
  class DrawingHold;
  void ListDrives();
  void SetItemCount(int count);
  // Whether a rebuild may show its result in place (ShowChangedRows): the list view shows the
  // same folder in the same formats, scrolled to the top, as a fresh fill would leave it.
  bool CanShowChangesInPlace() const;
  // Tells the list view the new count without emptying it, and redraws only the rows from the
  // first one whose fingerprint differs from `before` (the rows shown before the rebuild). The
  // selection and focus end as after a fresh fill: none selected, the first row focused.
  void ShowChangedRows(const std::vector<uint64_t>& before);
  // TakeOutFile and TakeInFile: `change` alters the entries and answers whether it did; then the
  // changed rows are shown as a rebuild ends.
  bool ChangeInPlace(const std::function<bool()>& change);
  void BuildFileColumns();
  void BuildDriveColumns();
  // The captions of the file columns or of the drive columns, in the list's own language.
  std::array<const std::wstring*, 5> ColumnCaptions(bool fileColumns) const;
  // Shows a new language in the same window: relabels the columns in place (the list view keeps
  // its rows, selection, widths, sort arrow and adapters) and renames the drive rows' types.
  void ShowLanguage();
  void UpdateHeaderArrows();
  void FocusFirstEntry();
  void ApplyListStyles();
  int WidestCaptionEntry();
  void RecomputeFormatTexts();
  std::wstring FormatEntryDate(uint64_t fileTime) const;
  void FetchShellInfo(TFileInfo& entry) const;
  LRESULT HandleNotify(NMHDR* header);
  void FillRow(NMLVDISPINFOW& info);
  LRESULT CustomDraw(NMLVCUSTOMDRAW& draw);
  void DrawOverlay(const NMLVCUSTOMDRAW& draw, int image);
  // WM_PAINT: the list view paints what is due into the paint buffer over its background
  // colour, and the buffer goes to the screen in one transfer.
  void PaintOffScreen();
  void HandleDoubleClick();
  std::wstring CaptionOf(const TFileInfo& entry) const;
  void EditLabel(int index);
  bool BeginLabelEdit(int item);
  void EndLabelEdit(int item, const wchar_t* text);
  void CommitRename(const std::wstring& typed);
  // Copies of the selected entries, in index order.
  std::vector<TFileInfo> SelectedEntries();
  // Deselects the ".." entry and answers the paths of what stays selected.
  std::vector<std::wstring> SelectedPathsWithoutParent();
  bool DriveReady(wchar_t letter);
  // Copies the paths (taken from the selection earlier) into `folder`.
  void CopyPathsTo(const std::vector<std::wstring>& paths, const std::wstring& folder);
  void LoadArrowBitmaps();
  // Gives the list view the image list its current style draws with.
  void AttachImages();
  // Swaps the stand-in image list for the shell's (see AttachImages); before the first paint.
  void TakeShellImages();
  // Whether the column set waits for the report view (see columnsPending_), noted for then.
  bool ColumnsWait();
  // Tells the list view the count again, so that it measures and places every row; the focused
  // and the highlighted row (as they were before) are put back.
  void PlaceRowsAgain(int focused, int selected);
  void ShowMessageBox(const std::wstring& text, UINT flags);
  // The top-level window that owns the shell's boxes.
  HWND OwnerWindow();

  std::unique_ptr<DirectoryEnumerator> enumerator_;
  std::unique_ptr<ListInfoTip> infoTip_;
  std::unique_ptr<TextComparer> comparer_;
  FileListModel model_;

  std::wstring directory_ = kMyComputer;
  std::wstring mask_ = L"*.*";
  TFileType fileType_{TFileAttr::ftReadOnly, TFileAttr::ftHidden, TFileAttr::ftSystem, TFileAttr::ftArchive};
  bool showFolders_ = true;
  bool parentDirEnabled_ = true;
  std::wstring selectedItem_;
  bool fileColumnsShown_ = false;
  // Columns are made in the report view only, the one that shows them. Made in another view,
  // each column lays the list view's hidden header out again, and the header itself is a window
  // more: the set is made when the report view is entered.
  bool columnsPending_ = false;
  std::wstring shownFolder_;  // the folder whose entries the last rebuild showed (empty for drives)
  bool rebuilding_ = false;      // a rebuild is changing the entries (no messages are handled then)
  bool rebuildPending_ = false;  // a rebuild was asked for while one was running
  bool firstReadDue_ = false;    // the read at the end of loading is still to come (see Loaded)
  int drawingHolds_ = 0;
  HWND heldWindow_ = nullptr;  // the list window whose drawing the outermost hold turned off
  bool rowsMeasured_ = false;  // the list view has measured its rows (see MeasureRowsHidden)
  // While a style change has the list view measure its rows: the entry whose caption row 0
  // shows (the widest one), or -1.
  int measuredEntry_ = -1;
  // The overlay picture the row being drawn asked for at its pre-paint notice (row, picture).
  std::pair<int, int> drawnOverlay_{-1, -1};
  // Where a row's icon lies in the rectangle its notices carry, measured once per paint: every
  // row of a view places its icon alike, except the focused one, whose box may grow with its
  // label (each measurement is a message through the list's chain).
  std::optional<RECT> iconPlace_;
  PaintBuffer paintBuffer_;  // the rows are painted off screen (see PaintOffScreen)
  COLORREF background_ = CLR_NONE;  // the list view's background colour, as last set

  TViewStyle viewStyle_ = TViewStyle::vsReport;
  bool multiSelect_ = true;
  bool readOnly_ = false;
  bool hideSelection_ = false;
  bool showColumnHeaders_ = true;
  bool ctl3D_ = true;

  std::array<int, 5> colWidths_{165, 75, 95, 125, 40};
  TDtFormat dateFormat_ = TDtFormat::df_Customize;
  TTmFormat timeFormat_ = TTmFormat::tfShortFormat;
  std::wstring dateFormatText_;
  std::wstring timeFormatText_;
  int64_t localOffset_ = 0;  // UTC to local file time, read at the start of each rebuild
  // The formats of the Modified texts, taken at the start of each rebuild: a format change shows
  // from the next rebuild on, although the texts are made when rows are shown.
  std::wstring rebuildDateFormat_;
  std::wstring rebuildTimeFormat_;
  TFileSize fileSize_ = TFileSize::fsKB;
  bool hideFileExt_ = false;
  std::wstring parentDirCaption_ = L" Up one level";
  bool colorByAttributes_ = false;
  TListItemColors itemColors_;
  TLanguage language_ = TLanguage::lnSysDefault;  // none until the constructor gives English
  HIMAGELIST largeImages_ = nullptr;  // borrowed: the shell's system image list, never destroyed
  HIMAGELIST smallImages_ = nullptr;  // borrowed: the shell's system image list, never destroyed
  bool placeholderImages_ = false;     // the window holds a stand-in list until its first paint
  int parentImageIndex_ = -1;  // -1 until the picture is first needed
  UniqueBitmap arrowUp_;
  UniqueBitmap arrowDown_;

  bool openByDblClick_ = true;
  bool openByEnter_ = true;
  bool popUpMenuEnabled_ = true;
  TOvFileListShortCuts shortCuts_;
  FileOperations operations_;
  std::unique_ptr<TOvFilelistView28PopUp> popUp_;
  TLanguage menuLanguage_ = TLanguage::lnSysDefault;  // the shared language popUp_ was built in
  std::wstring editSource_;
  bool editHidExtension_ = false;  // the edited caption lacked the extension
  bool editing_ = false;
};
