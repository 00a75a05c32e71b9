// The main window: two file lists over one plug-ins folder, installed filters ("*.8bf") on the
// left and de-activated ones ("*.off") on the right, with the buttons that switch the picked
// filter off or on, choose the folder and switch the view style.
#pragma once

#include "controls/sButton.h"
#include "controls/sLabel.h"
#include "controls/sPanel.h"
#include "filelist/OvFilelistView28.h"
#include "folderpicker/BrowseForFolder.h"
#include "framework/Form.h"
#include "settings/FormPlacement.h"
#include "skin/sSkinManager.h"

class TForm1 : public TForm {
 public:
  explicit TForm1(TComponent* owner);
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // The maker's web site that the hyperlink label opens.
  static constexpr const wchar_t* kWebSite = L"https://brenvale.org";

  // Components of the layout (owned by the form as components).
  TsPanel* sPanelTop = nullptr;
  TsButton* FolderBtn = nullptr;
  TsButton* IconBtn = nullptr;
  TsButton* ListBtn = nullptr;
  TsWebLabel* sWebLabel = nullptr;
  TsPanel* sPanelOn = nullptr;
  TsPanel* sPanelOnTop = nullptr;
  TsButton* sButtonOff = nullptr;
  TsLabel* sLabel1 = nullptr;
  TOvFilelistView28* ListOn = nullptr;
  TsLabel* FileName = nullptr;
  TsPanel* sPanelOff = nullptr;
  TsPanel* sPanelOffTop = nullptr;
  TsButton* sButtonOn = nullptr;
  TsLabel* sLabel2 = nullptr;
  TOvFilelistView28* ListOff = nullptr;
  TsSkinManager* sSkinManager1 = nullptr;
  TBrowseForFolder* BrowseForFolder = nullptr;
  TFormStorage* FormStorage1 = nullptr;

  // Event handlers.
  void FormCreate(TObject* sender);
  void FormResize(TObject* sender);
  void FormActivate(TObject* sender);
  void FolderBtnClick(TObject* sender);
  void ListOnClick(TObject* sender);
  void ListOffClick(TObject* sender);
  void sButtonOffClick(TObject* sender);
  void sButtonOnClick(TObject* sender);
  void IconBtnClick(TObject* sender);
  void ListBtnClick(TObject* sender);

  void ApplyLayoutRule();

 private:
  void ReadLayout();
  TOvFilelistView28* CreateFileList(TWinControl* parent, const wchar_t* name, const wchar_t* mask);
  // Renames the file picked in `source` to its caption followed by `extension`, in its folder.
  void SwitchFilter(TOvFilelistView28* source, const wchar_t* extension);
};
