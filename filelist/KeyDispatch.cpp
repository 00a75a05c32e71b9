// See KeyDispatch.h.
#include "filelist/KeyDispatch.h"

namespace filelist {

KeyPlan PlanKey(const KeyContext& c, const TOvFileListShortCuts& shortCuts) {
  const TShortCut pressed = ShortCutOf(c.key, c.shift, c.ctrl, c.alt);
  auto fires = [&](TOvListViewAction action) {
    return pressed == shortCuts.Get(action) && shortCuts.Enabled(action);
  };
  using A = TOvListViewAction;
  KeyPlan plan;
  auto& run = plan.actions;

  // Several rows fire for one key when shortcuts are configured equal.
  if (c.entrySelected) {
    if (fires(A::vaCopy)) run.push_back(KeyAction::kMarkForCopy);
    if (fires(A::vaCut)) run.push_back(KeyAction::kMarkForMove);
    if (fires(A::vaOpen)) run.push_back(KeyAction::kOpenSelected);
    if (fires(A::vaView)) run.push_back(KeyAction::kViewSelected);
    if (fires(A::vaDelete)) run.push_back(KeyAction::kRecycleSelected);
    if (fires(A::vaRename)) run.push_back(KeyAction::kStartRename);
    if (fires(A::vaPaste) && c.filesToPaste) run.push_back(KeyAction::kPasteFiles);
    if (fires(A::vaNewFolder) && !c.driveView) run.push_back(KeyAction::kCreateNewFolder);
  }
  if (fires(A::vaBack)) {
    if (c.driveView) {
      plan.passOn = false;
      return plan;
    }
    run.push_back(KeyAction::kGoToParent);
  }
  if (fires(A::vaFindFile)) run.push_back(KeyAction::kOpenFindWindow);
  if (fires(A::vaRefresh)) run.push_back(KeyAction::kRefresh);
  if (fires(A::vaSelectAll) && c.entryCount > 0) run.push_back(KeyAction::kSelectAll);
  if (c.key == virtual_key::kReturn && c.openByEnter) run.push_back(KeyAction::kOpenSelected);
  if (c.key == virtual_key::kDelete && c.shift && !c.ctrl && !c.alt) {
    if (c.entrySelected) run.push_back(KeyAction::kPermanentDelete);
    else plan.passOn = false;
    return plan;
  }
  // Without a linked tree combo there is no tree to drop down or to hide: both keys end here.
  if (c.key == virtual_key::kF4 || c.key == virtual_key::kEscape) plan.passOn = false;
  return plan;
}

}  // namespace filelist
