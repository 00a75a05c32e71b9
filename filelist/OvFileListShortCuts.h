// The keyboard shortcuts of the file list: twelve shortcut values (virtual-key code in the low
// byte, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt) and the set of actions that are enabled.
#pragma once

#include <cstdint>

#include "framework/Component.h"

enum class TOvListViewAction {
  vaCopy, vaPaste, vaCut, vaOpen, vaView, vaNewFolder, vaSelectAll, vaDelete, vaBack, vaRename, vaFindFile, vaRefresh
};
using TOvListViewActions = TSet<TOvListViewAction>;
using TShortCut = uint16_t;

constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

// The shortcut value of a key with the given modifier keys held.
TShortCut ShortCutOf(uint16_t virtualKey, bool shift, bool ctrl, bool alt);

class TOvFileListShortCuts : public TPersistent {
 public:
  TOvFileListShortCuts();
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // The shortcut of an action.
  TShortCut Get(TOvListViewAction action) const { return keys_[static_cast<int>(action)]; }
  void Set(TOvListViewAction action, TShortCut key) { keys_[static_cast<int>(action)] = key; }
  TOvListViewActions Actions() const { return actions_; }
  void SetActions(TOvListViewActions actions) { actions_ = actions; }
  bool Enabled(TOvListViewAction action) const { return actions_.Has(action); }

  void Assign(const TPersistent& source) override;

 private:
  TShortCut keys_[12];
  TOvListViewActions actions_;
};
