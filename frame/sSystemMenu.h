// The skinned form's own copy of its window menu. TsCustomSysMenu is a pop-up menu that answers
// which window commands are visible and allowed; TsSystemMenu builds its entries from the
// platform's window menu (Restore, Move, Size, Minimize, Maximize, the window's own entries,
// Close), keeps their states in step with the window, adds the skin-choice sub-menu when asked,
// and carries a chosen command out by sending WM_SYSCOMMAND to the form. The entry list and the
// state table are plain C++ (SystemMenuModel).
#pragma once

#include <windows.h>

#include "frame/SystemMenuModel.h"
#include "framework/Menus.h"

class TForm;
class TsSkinManager;
class TsSkinProvider;

class TsCustomSysMenu : public TPopupMenu {
 public:
  using TPopupMenu::TPopupMenu;
  virtual bool VisibleClose() const = 0;
  virtual bool VisibleMax() const = 0;
  virtual bool VisibleMin() const = 0;
  virtual bool EnabledMax() const = 0;
  virtual bool EnabledMin() const = 0;
  virtual bool EnabledRestore() const = 0;
};

class TsSystemMenu : public TsCustomSysMenu {
 public:
  // Owned by the provider; named "SysMenu".
  explicit TsSystemMenu(TsSkinProvider* provider);
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  bool VisibleClose() const override { return States().close.visible; }
  bool VisibleMax() const override { return States().maximize.visible; }
  bool VisibleMin() const override { return States().minimize.visible; }
  bool EnabledMax() const override { return States().maximize.enabled; }
  bool EnabledMin() const override { return States().minimize.enabled; }
  bool EnabledRestore() const override { return States().restore.enabled; }

  // Builds the entries again when `rebuild` is set or there is no Close entry yet, then sets
  // every standard entry's visibility and enabled state.
  void UpdateItems(bool rebuild);
  // Entries taken over from the platform's menu that are not standard window commands.
  int CustomItemCount() const { return customCount_; }
  // Shows the skinned menu at a screen point (with the skin-choice sub-menu of `skins` when it
  // is given) and carries out the chosen entry.
  void Show(int x, int y, TsSkinManager* skins);
  // Puts the "Available skins" sub-menu at the top, replacing one that is there.
  void AddSkinChoice(TsSkinManager& manager);

  TMenuItem* RestoreItem() const { return restore_; }
  TMenuItem* MoveItem() const { return move_; }
  TMenuItem* SizeItem() const { return size_; }
  TMenuItem* MinimizeItem() const { return minimize_; }
  TMenuItem* MaximizeItem() const { return maximize_; }
  TMenuItem* CloseItem() const { return close_; }

 private:
  system_menu::MenuStates States() const;
  HWND Window() const;
  void MakeItems();
  void SendCommand(int command, bool updateAfter);

  int customCount_ = 0;
  TsSkinProvider* provider_;  // borrowed: the owner
  TForm* form_;               // borrowed: the provider's form
  TMenuItem* restore_ = nullptr;  // borrowed: entries of Items()
  TMenuItem* move_ = nullptr;
  TMenuItem* size_ = nullptr;
  TMenuItem* minimize_ = nullptr;
  TMenuItem* maximize_ = nullptr;
  TMenuItem* close_ = nullptr;
};
