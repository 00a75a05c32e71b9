// The main window: two file lists over one plug-ins folder, installed filters ("*.8bf") on the
// left and de-activated ones ("*.off") on the right, with the buttons that switch the picked
// filter off or on, choose the folder and switch the view style.
#pragma once

#include "controls/sButton.h"
#include "controls/sLabel.h"
#include "controls/sPanel.h"
#include <functional>

#include "filelist/OvFilelistView28.h"
#include "folderpicker/BrowseForFolder.h"
#include "frame/sSkinProvider.h"
#include "framework/Form.h"
#include "settings/FormPlacement.h"
#include "skin/sSkinManager.h"

class TForm1 : public TForm {
 public:
  explicit TForm1(TComponent* owner);
  static const ClassInfo& StaticClass();
  // Starts making what the window's first paint needs on a thread of its own (the shell's image
  // lists): the program's entry calls it first thing, the window's constructor again.
  static void StartWarmUp();
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
  TsSkinProvider* sSkinProvider1 = nullptr;
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

 protected:
  void WndProc(TMessage& message) override;
  void Deactivate() override;

 private:
  // Re-reads the lists for an activation (posted, see FormActivate).
  void ActivationReread();
  void ReadLayout();
  TOvFilelistView28* CreateFileList(TWinControl* parent, const wchar_t* name, const wchar_t* mask);
  // The pending filter and the switch buttons follow the highlighted row of `list`.
  void FollowSelection(TOvFilelistView28* list);
  // Re-reads both lists; the highlighted rows that are still there stay highlighted.
  void RereadLists();
  // Runs `update`, which changes the lists, as RereadLists reads them, and settles the pending
  // filter afterwards; answers what `update` answered (nothing is settled on false).
  bool UpdateLists(const std::function<bool()>& update);
  // Renames the highlighted filter of `source` to the other side's extension; a switch that
  // cannot happen changes nothing and says why.
  void SwitchFilter(TOvFilelistView28* source);
  // The view buttons follow the lists' view style: exactly one of them is enabled.
  void ShowViewStyle();

  // The list whose highlighted filter the next switch renames, or nullptr.
  TOvFilelistView28* pendingList_ = nullptr;  // borrowed: a component of the form
  // RereadLists is running: the lists are empty for a moment, and the messages that the lists
  // handle while they are rebuilt (the rest of a click that activated the window) run inside it.
  bool rereading_ = false;
  // A switch asked for while the lists were re-read; it runs once they are complete again.
  TOvFilelistView28* deferredSwitch_ = nullptr;  // borrowed: a component of the form
  // The lists were read (at creation, or for an activation) and the window has not been left
  // since; an activation then has nothing to read again.
  bool listsCurrent_ = true;
  // The list created last: files dropped on the window are copied into its folder.
  TOvFilelistView28* dropList_ = nullptr;  // borrowed: a component of the form
};
