// See Form1.h. ReadLayout is the window's stored layout: it creates the components in layout
// order with their designed property values while the form is loading.
#include "app/Form1.h"

#include <shellapi.h>

#include <functional>
#include <utility>
#include <vector>

#include "app/FilterSwitch.h"
#include "app/MainLayout.h"
#include "app/PluginDetailsPresenter.h"
#include "adapters/dialogs/vlProvider.h"
#include "filelist/FileNames.h"
#include "filelist/ShellImageWarmUp.h"
#include "skin/EmbeddedSkins.h"
#include "framework/Application.h"
#include "framework/Strings.h"

namespace {

// Posted by an activation; the lists are re-read when it arrives.
constexpr UINT kActivationReread = WM_APP + 1;

filter_switch::Failure FailureOfError(DWORD error) {
  using filter_switch::Failure;
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return Failure::kGone;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS: return Failure::kTargetExists;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE: return Failure::kInUse;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return Failure::kAccessDenied;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY: return Failure::kInvalidName;
    default: return Failure::kOther;
  }
}

std::wstring PlatformErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length && buffer ? std::wstring(buffer, length) : L"Error " + std::to_wstring(error) + L".";
  if (buffer) LocalFree(buffer);
  return text;
}

// Renames the filter file `source` to `target`; the reason when it did not happen. A folder is
// never renamed, and an existing target is never replaced.
filter_switch::Failure RenameFilterFile(const std::wstring& source, const std::wstring& target, DWORD& error) {
  error = ERROR_SUCCESS;
  DWORD attributes = GetFileAttributesW(source.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    error = GetLastError();
    return FailureOfError(error);
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return filter_switch::Failure::kIsFolder;
  if (MoveFileExW(source.c_str(), target.c_str(), 0)) return filter_switch::Failure::kNone;
  error = GetLastError();
  return FailureOfError(error);
}

void SetFont(TControl* control, int height, TColor color) {
  control->Font()->SetName(L"MS Sans Serif");
  control->Font()->SetHeight(height);
  control->Font()->SetColor(color);
}

template <class T>
T* Create(TForm* form, TWinControl* parent, const wchar_t* name, int left, int top, int width, int height) {
  T* control = new T(form);
  control->SetName(name);
  control->SetParent(parent);
  control->SetBounds(left, top, width, height);
  return control;
}

}  // namespace

const ClassInfo& TForm1::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(ClassBuilder<TForm1>(L"TForm1", &TForm::StaticClass()).Build());
  return info;
}

void TForm1::StartWarmUp() {
  // The lists' first paint needs the shell's image lists: they are made while the window is,
  // with the pictures that mark filters an editor cannot load.
  shell_image_warm_up::Start([] {
    PluginDetailsPresenter::AddMarkerPictures(shell_image_warm_up::SystemImages(true),
                                              shell_image_warm_up::SystemImages(false));
  });
}

TForm1::TForm1(TComponent* owner) : TForm(owner) {
  StartWarmUp();  // once a process: the program's entry usually started it already
  // The file lists' "Any Folder ..." asks with the folder chooser, over the list's form.
  TOvFilelistView28::SetFolderPicker([](TOvFilelistView28& list, const std::wstring& caption, std::wstring& folder) {
    TWinControl* control = &list;
    while (control && !dynamic_cast<TForm*>(control)) control = control->Parent();
    if (!control) return false;
    TBrowseForFolder picker(control);
    picker.SetCaption(caption);
    if (!folder.empty()) picker.SetFolderName(folder);
    if (!picker.Execute()) return false;
    folder = picker.FolderName();
    return true;
  });
  ReadLayout();
  // Tips and icon markers from what each plug-in file says about itself, one cache for both lists.
  auto pluginDetails = std::make_shared<PluginDetailsPresenter>();
  PluginDetailsPresenter::Attach(pluginDetails, ListOn);
  PluginDetailsPresenter::Attach(pluginDetails, ListOff);
}

TOvFilelistView28* TForm1::CreateFileList(TWinControl* parent, const wchar_t* name, const wchar_t* mask) {
  auto* list = Create<TOvFilelistView28>(this, parent, name, 12, 52, 274, 412);
  list->SetMask(mask);
  list->SetStrictMask(true);
  list->SetHideFileExt(true);
  list->SetShowFolders(false);
  list->SetMultiSelect(false);
  list->SetReadOnly(true);
  list->SetOpenByDblClick(false);
  list->SetOpenByEnter(false);
  list->SetPopUpMenuEnabled(false);
  list->SetShowColumnHeaders(false);
  list->SetViewStyle(TViewStyle::vsIcon);
  list->SetFileType({TFileAttr::ftReadOnly, TFileAttr::ftHidden, TFileAttr::ftSystem, TFileAttr::ftArchive});
  list->SetLanguage(TLanguage::lnEnglish);
  list->SetColWidth_Mod(125);
  list->SetParentDirCaption(L" Parent");
  list->SetTimeFormat(TTmFormat::tfShortFormat);
  list->SetLItemColorByATTR(false);
  list->SetCtl3D(false);
  SetFont(list, -11, clBlack);
  list->SetTabStop(true);
  list->SetTabOrder(1);
  list->SetDirectory(TOvFilelistView28::kMyComputer);
  // Files dropped on the window go into the folder of the list created last.
  dropList_ = list;
  return list;
}

void TForm1::ReadLayout() {
  BeginLoading();
  SetName(L"Form1");
  SetBounds(386, 254, 615, 549);
  SetCaption(L"Brenvale");
  SetColor(clBtnFace);
  SetFont(this, -11, clWindowText);
  SetPixelsPerInch(96);
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnResize = [this](TObject* s) { FormResize(s); };
  OnActivate = [this](TObject* s) { FormActivate(s); };

  sPanelTop = Create<TsPanel>(this, this, L"sPanelTop", 0, 467, 599, 41);
  sPanelTop->SetAlign(TAlign::alBottom);
  sPanelTop->SetTabOrder(0);
  sPanelTop->SetSkinSection(L"LACQUEREDIT");
  SetFont(sPanelTop, -11, clWindowText);

  FolderBtn = Create<TsButton>(this, sPanelTop, L"FolderBtn", 8, 8, 161, 25);
  FolderBtn->SetCaption(L"Browse for Plug-Ins Folder...");
  FolderBtn->SetTabOrder(0);
  FolderBtn->OnClick = [this](TObject* s) { FolderBtnClick(s); };
  FolderBtn->SetSkinSection(L"BUTTON");

  IconBtn = Create<TsButton>(this, sPanelTop, L"IconBtn", 175, 8, 75, 25);
  IconBtn->SetCaption(L"Icon View");
  IconBtn->SetEnabled(false);
  IconBtn->SetTabOrder(1);
  IconBtn->OnClick = [this](TObject* s) { IconBtnClick(s); };
  IconBtn->SetSkinSection(L"BUTTON");

  ListBtn = Create<TsButton>(this, sPanelTop, L"ListBtn", 256, 8, 75, 25);
  ListBtn->SetCaption(L"List View");
  ListBtn->SetTabOrder(2);
  ListBtn->OnClick = [this](TObject* s) { ListBtnClick(s); };
  ListBtn->SetSkinSection(L"BUTTON");

  sWebLabel = Create<TsWebLabel>(this, sPanelTop, L"sWebLabel", 338, 14, 243, 13);
  sWebLabel->SetCaption(std::wstring(L"Get more plug-in filters from ") + L"brenvale.org");
  sWebLabel->SetURL(kWebSite);
  sWebLabel->SetSkinSection(L"WEBBUTTON");
  SetFont(sWebLabel, -11, 2171169);
  sWebLabel->HoverFont()->SetHeight(-11);
  sWebLabel->HoverFont()->SetColor(clWindowText);

  sPanelOn = Create<TsPanel>(this, this, L"sPanelOn", 0, 0, 298, 467);
  sPanelOn->SetAlign(TAlign::alLeft);
  sPanelOn->SetBevelOuter(TPanelBevel::bvNone);
  sPanelOn->SetTabOrder(1);
  sPanelOn->SetSkinSection(L"LACQUEREDIT");

  sPanelOnTop = Create<TsPanel>(this, sPanelOn, L"sPanelOnTop", 0, 0, 298, 41);
  sPanelOnTop->SetAlign(TAlign::alTop);
  sPanelOnTop->SetBevelOuter(TPanelBevel::bvNone);
  sPanelOnTop->SetTabOrder(0);
  sPanelOnTop->SetSkinSection(L"LACQUEREDIT");

  sButtonOff = Create<TsButton>(this, sPanelOnTop, L"sButtonOff", 8, 8, 75, 25);
  sButtonOff->SetCaption(L"Switch OFF");
  sButtonOff->SetTabOrder(0);
  sButtonOff->OnClick = [this](TObject* s) { sButtonOffClick(s); };
  sButtonOff->SetSkinSection(L"BUTTON");

  sLabel1 = Create<TsLabel>(this, sPanelOnTop, L"sLabel1", 90, 12, 126, 16);
  sLabel1->SetCaption(L"Installed Filters (*.8bf)");
  SetFont(sLabel1, -13, 2171169);

  ListOn = CreateFileList(sPanelOn, L"ListOn", L"*.8bf");
  ListOn->OnClick = [this](TObject* s) { ListOnClick(s); };
  ListOn->OnSelectionChange = [this](TObject*) { FollowSelection(ListOn); };

  FileName = Create<TsLabel>(this, sPanelOn, L"FileName", 120, 264, 44, 13);
  FileName->SetVisible(false);
  FileName->SetCaption(L"FileName");

  sPanelOff = Create<TsPanel>(this, this, L"sPanelOff", 298, 0, 301, 467);
  sPanelOff->SetAlign(TAlign::alClient);
  sPanelOff->SetBevelOuter(TPanelBevel::bvNone);
  sPanelOff->SetTabOrder(2);
  sPanelOff->SetSkinSection(L"LACQUEREDIT");

  sPanelOffTop = Create<TsPanel>(this, sPanelOff, L"sPanelOffTop", 0, 0, 301, 41);
  sPanelOffTop->SetAlign(TAlign::alTop);
  sPanelOffTop->SetBevelOuter(TPanelBevel::bvNone);
  sPanelOffTop->SetTabOrder(0);
  sPanelOffTop->SetSkinSection(L"LACQUEREDIT");

  sButtonOn = Create<TsButton>(this, sPanelOffTop, L"sButtonOn", 8, 8, 75, 25);
  sButtonOn->SetCaption(L"Switch ON");
  sButtonOn->SetTabOrder(0);
  sButtonOn->OnClick = [this](TObject* s) { sButtonOnClick(s); };
  sButtonOn->SetSkinSection(L"BUTTON");

  sLabel2 = Create<TsLabel>(this, sPanelOffTop, L"sLabel2", 90, 12, 149, 16);
  sLabel2->SetCaption(L"De-activated Filters (*.off)");
  SetFont(sLabel2, -13, 2171169);

  ListOff = CreateFileList(sPanelOff, L"ListOff", L"*.off");
  ListOff->OnClick = [this](TObject* s) { ListOffClick(s); };
  ListOff->OnSelectionChange = [this](TObject*) { FollowSelection(ListOff); };

  // Dialogs and message boxes that the program shows get the skin too.
  dialog_hook::Install();
  sSkinManager1 = new TsSkinManager(this);
  sSkinManager1->SetName(L"sSkinManager1");
  sSkinManager1->SetExtendedBorders(true);
  auto* storedSkin = static_cast<TsStoredSkin*>(sSkinManager1->InternalSkins()->Add());
  storedSkin->SetName(kPearlMistSkinName);
  storedSkin->SetData(PearlMistArchive());
  sSkinManager1->MenuSupport()->SetIcoLineSkin(L"ICOLINE");
  sSkinManager1->SetSkinDirectory(L"c:\\Skins");
  const std::pair<TvlThirdPartyIndex, const wchar_t*> classLists[] = {
      {tpEdits, L"TEdit\r\nTMemo\r\nTMaskEdit\r\nTLabeledEdit\r\nTHotKey\r\nTListBox\r\nTCheckListBox\r\nTRichEdit\r\n"
                L"TDateTimePicker\r\nTFileListBox\r\nTOvFilelistView28"},
      {tpButtons, L"TButton"},
      {tpBitBtns, L"TBitBtn"},
      {tpCheckBoxes, L"TCheckBox\r\nTRadioButton\r\nTGroupButton"},
      {tpComboBoxes, L"TComboBox\r\nTComboBoxEx\r\nTColorBox"},
      {tpGrids, L"TStringGrid\r\nTDrawGrid\r\nTValueListEditor"},
      {tpGroupBoxes, L"TGroupBox\r\nTRadioGroup"},
      {tpListViews, L"TListView"},
      {tpPanels, L"TPanel"},
      {tpTreeViews, L"TTreeView"},
      {tpWWEdits, L""},
      {tpGridEh, L""},
      {tpVirtualTrees, L""},
      {tpPageControl, L"TPageControl"},
      {tpTabControl, L"TTabControl"},
      {tpToolBar, L"TToolBar"},
      {tpStatusBar, L"TStatusBar"},
      {tpSpeedButton, L"TSpeedButton"},
  };
  // Every list begins with a line holding one blank.
  for (const auto& [index, names] : classLists) sSkinManager1->ThirdParty()->SetText(index, std::wstring(L" \r\n") + names);
  sSkinManager1->SetSkinName(kPearlMistSkinName);

  sSkinProvider1 = new TsSkinProvider(this);
  sSkinProvider1->SetName(L"sSkinProvider1");
  sSkinProvider1->SetSkinSection(L"FORM");
  sSkinProvider1->SetScreenSnap(true);

  BrowseForFolder = new TBrowseForFolder(this);
  BrowseForFolder->SetName(L"BrowseForFolder");

  FormStorage1 = new TFormStorage(this);
  FormStorage1->SetName(L"FormStorage1");
  FormStorage1->SetIniFileName(L"Brenvale.ini");
  FormStorage1->SetIniSection(L"Settings");
  FormStorage1->MinMaxInfo()->SetMinTrackHeight(549);
  FormStorage1->MinMaxInfo()->SetMinTrackWidth(615);
  FormStorage1->StoredProps()->SetText(
      L"BrowseForFolder.FolderName\r\nFileName.Caption\r\nListOn.Directory\r\nListOff.Directory\r\n"
      L"ListOn.ViewStyle\r\nListOff.ViewStyle\r\nIconBtn.Enabled\r\nListBtn.Enabled");
  // Stored button states never contradict the restored view.
  FormStorage1->OnRestorePlacement = [this](TObject*) { ShowViewStyle(); };

  SetActiveControl(sPanelTop);
  HandleNeeded();
  EndLoading();
}

void TForm1::ApplyLayoutRule() {
  MainLayout layout = ComputeMainLayout(ClientWidth(), 0);
  sPanelOn->SetWidth(layout.panelOnWidth);
  layout = ComputeMainLayout(ClientWidth(), sPanelOn->Height());
  // One move per list: each size change lays the list view and its header out again.
  for (TOvFilelistView28* list : {ListOn, ListOff})
    list->SetBounds(list->Left(), list->Top(), layout.listWidth, layout.listHeight);
}

void TForm1::FormCreate(TObject*) {
  DragAcceptFiles(Handle(), TRUE);
  ListOn->SetDirectory(FileOperations::CurrentDirectory());
  ListOff->SetDirectory(FileOperations::CurrentDirectory());
  ApplyLayoutRule();
  sButtonOff->SetEnabled(false);
  sButtonOn->SetEnabled(false);
}

void TForm1::FormResize(TObject*) {
  if (ListOn && ListOff && sPanelOn) ApplyLayoutRule();
}

void TForm1::FormActivate(TObject*) {
  // Activation that a message box or the folder picker of this window causes when it closes
  // must not rebuild the lists under the operation that showed it.
  if (Application && Application->InModalOperation()) return;
  // Lists read since the window was last left show the folder as it is: the first activation
  // after the start reads nothing again.
  if (listsCurrent_) return;
  listsCurrent_ = true;
  // A click that activates the window acts on what the window showed: the lists are read
  // again after it has been handled.
  if (HandleAllocated()) PostMessageW(Handle(), kActivationReread, 0, 0);
  else ActivationReread();
}

void TForm1::Deactivate() {
  // Another program may change the folder while this window is not the active one.
  listsCurrent_ = false;
  TForm::Deactivate();
}

void TForm1::WndProc(TMessage& m) {
  if (m.Msg == WM_DROPFILES) {
    auto drop = reinterpret_cast<HDROP>(m.WParam);
    std::vector<std::wstring> paths = FileOperations::DroppedPaths(drop);
    DragFinish(drop);
    if (dropList_) dropList_->AcceptDroppedFiles(std::move(paths));
    m.Result = 0;
    return;
  }
  if (m.Msg == kActivationReread) {
    MSG duplicate;
    while (PeekMessageW(&duplicate, Handle(), kActivationReread, kActivationReread, PM_REMOVE)) {
    }
    if (!Application || !Application->InModalOperation()) ActivationReread();
    m.Result = 0;
    return;
  }
  TForm::WndProc(m);
}

void TForm1::ActivationReread() {
  std::wstring folder = bv::IncludeTrailingBackslash(FileOperations::CurrentDirectory());
  auto shows = [&](TOvFilelistView28* list) { return bv::SameText(list->Directory(), folder); };
  if (shows(ListOn) && shows(ListOff)) {
    // The same folder (even one that is gone meanwhile) is read again, so that changes made
    // outside show; the pending filter stays highlighted.
    RereadLists();
    return;
  }
  ListOn->SetDirectory(folder);
  ListOff->SetDirectory(folder);
}

void TForm1::RereadLists() {
  UpdateLists([this] {
    ListOn->UpdateFileList();
    ListOff->UpdateFileList();
    return true;
  });
}

bool TForm1::UpdateLists(const std::function<bool()>& update) {
  if (rereading_) return false;
  TOvFilelistView28* pending = pendingList_;
  std::wstring pendingPath = pending ? pending->SelectedPath() : std::wstring();
  {
    // While the lists are rebuilt their highlight is gone for a moment: the pending filter and
    // the switch buttons stay as they are, so that a click on a button that is under way (it
    // activated the window) ends in a switch rather than on a button disabled in between.
    rereading_ = true;
    struct Finally {
      bool& flag;
      ~Finally() { flag = false; }
    } finally{rereading_};
    if (!update()) return false;
    // A row picked meanwhile is kept; otherwise the pending filter is highlighted again.
    if (pending && pendingList_ == pending && pending->SelCount() == 0 && !pendingPath.empty())
      pending->SelectPath(pendingPath);
  }
  if (pendingList_) FollowSelection(pendingList_);
  if (TOvFilelistView28* source = std::exchange(deferredSwitch_, nullptr)) SwitchFilter(source);
  return true;
}

void TForm1::FolderBtnClick(TObject*) {
  BrowseForFolder->Execute();
  ListOn->SetDirectory(BrowseForFolder->FolderName());
  ListOn->UpdateFileList();
  ListOff->SetDirectory(BrowseForFolder->FolderName());
  ListOff->UpdateFileList();
  sButtonOff->SetEnabled(false);
  sButtonOn->SetEnabled(false);
  sPanelTop->SetFocus();
}

void TForm1::ListOnClick(TObject*) { FollowSelection(ListOn); }

void TForm1::ListOffClick(TObject*) { FollowSelection(ListOff); }

void TForm1::FollowSelection(TOvFilelistView28* list) {
  if (IsDestroying() || !list || !sButtonOff || !sButtonOn || !FileName) return;
  bool highlighted = list->SelCount() > 0 && !list->SelectedPath().empty();
  if (rereading_ && !highlighted) return;  // a list being rebuilt; RereadLists settles it
  if (highlighted) {
    pendingList_ = list;
    FileName->SetCaption(list->SelectedCaption());
  } else if (pendingList_ == list) {
    // The pending filter is no longer highlighted: nothing is pending.
    pendingList_ = nullptr;
    FileName->SetCaption(L"");
  }
  sButtonOff->SetEnabled(pendingList_ == ListOn);
  sButtonOn->SetEnabled(pendingList_ == ListOff);
}

void TForm1::SwitchFilter(TOvFilelistView28* source) {
  if (rereading_) {
    deferredSwitch_ = source;
    return;
  }
  if (source != pendingList_) return;
  const std::wstring oldPath = source->SelectedPath();
  if (oldPath.empty()) return;
  bool switchingOff = source == ListOn;
  std::wstring_view from = switchingOff ? filter_switch::kOnExtension : filter_switch::kOffExtension;
  std::wstring_view to = switchingOff ? filter_switch::kOffExtension : filter_switch::kOnExtension;
  std::wstring target = filter_switch::TargetPath(oldPath, from, to);
  DWORD error = ERROR_SUCCESS;
  filter_switch::Failure failure =
      target.empty() ? filter_switch::Failure::kNotAFilter : RenameFilterFile(oldPath, target, error);
  // A rename moves one entry from one list to the other: the lists take that over from the
  // rename's result, and read the folder again where they cannot (changes made by others show
  // at the next activation). After a failure the folder is read again; the filter stays
  // highlighted and pending, so the same click tries again.
  TOvFilelistView28* other = switchingOff ? ListOff : ListOn;
  bool moved = failure == filter_switch::Failure::kNone &&
               UpdateLists([&] { return source->TakeOutFile(oldPath) && other->TakeInFile(target); });
  if (!moved) RereadLists();
  if (failure != filter_switch::Failure::kNone) {
    std::wstring text = filter_switch::FailureText(filelist::NameOf(oldPath), switchingOff, failure,
                                                   filelist::NameOf(target), PlatformErrorText(error));
    if (Application) Application->MessageDlg(text, Application->Title(), MB_OK | MB_ICONWARNING);
    else MessageBoxW(Handle(), text.c_str(), L"Brenvale", MB_OK | MB_ICONWARNING);
  }
  sPanelTop->SetFocus();
}

void TForm1::sButtonOffClick(TObject*) { SwitchFilter(ListOn); }

void TForm1::sButtonOnClick(TObject*) { SwitchFilter(ListOff); }

void TForm1::ShowViewStyle() {
  // Both lists show large or small icons; a stored style of another kind, or two lists that
  // disagree, end as the first list's choice between the two.
  bool icons = ListOn->ViewStyle() == TViewStyle::vsIcon;
  for (TOvFilelistView28* list : {ListOn, ListOff}) list->SetViewStyle(icons ? TViewStyle::vsIcon : TViewStyle::vsSmallIcon);
  IconBtn->SetEnabled(!icons);
  ListBtn->SetEnabled(icons);
}

void TForm1::IconBtnClick(TObject*) {
  // A new style shows the same entries: nothing is read again.
  ListOn->SetViewStyle(TViewStyle::vsIcon);
  ListOff->SetViewStyle(TViewStyle::vsIcon);
  ShowViewStyle();
  sPanelTop->SetFocus();
}

void TForm1::ListBtnClick(TObject*) {
  // A new style shows the same entries: nothing is read again.
  ListOn->SetViewStyle(TViewStyle::vsSmallIcon);
  ListOff->SetViewStyle(TViewStyle::vsSmallIcon);
  ShowViewStyle();
  sPanelTop->SetFocus();
}
