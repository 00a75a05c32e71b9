// The file list's interaction: clicks, opening, going to the parent, the key table's
// dispatch, the list view's notifications, in-place rename and the context menu. See OvFilelistView28.h.
#include "filelist/OvFilelistView28.h"

#include "filelist/FileNames.h"
#include "filelist/KeyDispatch.h"
#include "filelist/OvFilelistView28Internal.h"
#include "filelist/OvFilelistView28PopUp.h"
#include "framework/Application.h"
#include "framework/Strings.h"

using namespace filelist::view_detail;

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
  if (readOnly_ || model_.Entry(index)->EntryAttrText().find(L'R') != std::wstring_view::npos) {
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

// ---------------------------------------------------------------------------------------------
// Context menu

TOvFilelistView28PopUp& TOvFilelistView28::PopUpMenu() {
  if (!popUp_) popUp_ = std::make_unique<TOvFilelistView28PopUp>(*this);
  else if (menuLanguage_ != SharedLanguage()) popUp_->Rebuild();  // another list changed it
  menuLanguage_ = SharedLanguage();
  return *popUp_;
}

void TOvFilelistView28::SetPopUpMenuEnabled(bool value) {
  popUpMenuEnabled_ = value;
  if (!value && HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
}

void TOvFilelistView28::ShowContextMenu(POINT screen) {
  // The drive view has no context menu.
  if (!popUpMenuEnabled_ || IsMyComputer(directory_) || !HandleAllocated()) return;
  PopUpMenu().Popup(Handle(), screen);
}
