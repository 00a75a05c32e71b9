// See Form1.h. ReadLayout is the window's stored layout: it creates the components in layout
// order with their designed property values while the form is loading.
#include "app/Form1.h"

#include "app/MainLayout.h"
#include "app/PluginDetailsPresenter.h"
#include "skin/EmbeddedSkins.h"
#include "framework/Application.h"
#include "framework/Strings.h"

namespace {

std::wstring CurrentDirectory() {
  DWORD size = GetCurrentDirectoryW(0, nullptr);
  std::wstring path(size, L'\0');
  DWORD length = GetCurrentDirectoryW(size, path.data());
  path.resize(length);
  return path;
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

TForm1::TForm1(TComponent* owner) : TForm(owner) {
  ReadLayout();
  // Tips and icon markers from what each plug-in file says about itself, one cache for both lists.
  auto pluginDetails = std::make_shared<PluginDetailsPresenter>();
  PluginDetailsPresenter::Attach(pluginDetails, ListOn);
  PluginDetailsPresenter::Attach(pluginDetails, ListOff);
}

TOvFilelistView28* TForm1::CreateFileList(TWinControl* parent, const wchar_t* name, const wchar_t* mask) {
  auto* list = Create<TOvFilelistView28>(this, parent, name, 12, 52, 274, 412);
  list->SetMask(mask);
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

  SetActiveControl(sPanelTop);
  HandleNeeded();
  EndLoading();
}

void TForm1::ApplyLayoutRule() {
  MainLayout layout = ComputeMainLayout(ClientWidth(), 0);
  sPanelOn->SetWidth(layout.panelOnWidth);
  layout = ComputeMainLayout(ClientWidth(), sPanelOn->Height());
  ListOn->SetWidth(layout.listWidth);
  ListOn->SetHeight(layout.listHeight);
  ListOff->SetWidth(layout.listWidth);
  ListOff->SetHeight(layout.listHeight);
}

void TForm1::FormCreate(TObject*) {
  ListOn->SetDirectory(CurrentDirectory());
  ListOff->SetDirectory(CurrentDirectory());
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
  ListOn->SetDirectory(CurrentDirectory());
  ListOff->SetDirectory(CurrentDirectory());
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

void TForm1::ListOnClick(TObject*) {
  if (ListOn->SelCount() <= 0) {
    sButtonOn->SetEnabled(false);
    sButtonOff->SetEnabled(false);
    return;
  }
  FileName->SetCaption(ListOn->SelectedCaption());
  sButtonOff->SetEnabled(true);
  sButtonOn->SetEnabled(false);
}

void TForm1::ListOffClick(TObject*) {
  if (ListOff->SelCount() <= 0) {
    sButtonOff->SetEnabled(false);
    sButtonOn->SetEnabled(false);
    return;
  }
  FileName->SetCaption(ListOff->SelectedCaption());
  sButtonOn->SetEnabled(true);
  sButtonOff->SetEnabled(false);
}

void TForm1::SwitchFilter(TOvFilelistView28* source, const wchar_t* extension) {
  const std::wstring& oldName = source->SelectedItem();
  const std::wstring& caption = FileName->Caption();
  if (oldName.empty() || caption.empty()) return;
  // The new name goes into the folder the file is in, even when the process's current directory
  // has moved on (a list can leave the folder with Backspace): a switch never moves a filter.
  size_t slash = oldName.rfind(L'\\');
  std::wstring folder = slash == std::wstring::npos ? std::wstring() : oldName.substr(0, slash + 1);
  std::wstring newName = folder + caption + extension;
  // MoveFile never replaces an existing file: with both Sharpen.8bf and Sharpen.off present
  // nothing changes.
  MoveFileW(oldName.c_str(), newName.c_str());
}

void TForm1::sButtonOffClick(TObject*) {
  SwitchFilter(ListOn, L".off");
  ListOn->UpdateFileList();
  ListOff->UpdateFileList();
  sButtonOff->SetEnabled(false);
  FileName->SetCaption(L"");
  sPanelTop->SetFocus();
}

void TForm1::sButtonOnClick(TObject*) {
  SwitchFilter(ListOff, L".8bf");
  ListOn->UpdateFileList();
  ListOff->UpdateFileList();
  sButtonOn->SetEnabled(false);
  FileName->SetCaption(L"");
  sPanelTop->SetFocus();
}

void TForm1::IconBtnClick(TObject*) {
  ListOn->SetViewStyle(TViewStyle::vsIcon);
  ListOff->SetViewStyle(TViewStyle::vsIcon);
  ListOn->UpdateFileList();
  ListOff->UpdateFileList();
  IconBtn->SetEnabled(false);
  ListBtn->SetEnabled(true);
  sPanelTop->SetFocus();
}

void TForm1::ListBtnClick(TObject*) {
  ListOn->SetViewStyle(TViewStyle::vsSmallIcon);
  ListOff->SetViewStyle(TViewStyle::vsSmallIcon);
  ListOn->UpdateFileList();
  ListOff->UpdateFileList();
  IconBtn->SetEnabled(true);
  ListBtn->SetEnabled(false);
  sPanelTop->SetFocus();
}
