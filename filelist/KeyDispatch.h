// The file list's key table: which operations a key press starts, in which order, and whether
// the key then goes on to the list's normal handling. Decided from the key, the modifier keys
// and a snapshot of the list's state, without touching the list, so the table is tested as a
// table. The list carries out the plan.
#pragma once

#include <cstdint>
#include <vector>

#include "filelist/OvFileListShortCuts.h"

namespace filelist {

// The platform's virtual-key codes of the keys the table names by themselves.
namespace virtual_key {
constexpr uint16_t kReturn = 0x0D;
constexpr uint16_t kEscape = 0x1B;
constexpr uint16_t kDelete = 0x2E;
constexpr uint16_t kF4 = 0x73;
}  // namespace virtual_key

enum class KeyAction {
  kMarkForCopy,
  kMarkForMove,
  kOpenSelected,
  kViewSelected,
  kRecycleSelected,
  kStartRename,
  kPasteFiles,
  kCreateNewFolder,
  kGoToParent,
  kOpenFindWindow,
  kRefresh,
  kSelectAll,
  kPermanentDelete,
};

struct KeyContext {
  uint16_t key = 0;  // virtual-key code
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool entrySelected = false;
  bool driveView = false;  // the list shows "My Computer"
  int entryCount = 0;
  bool openByEnter = false;
  bool filesToPaste = false;  // files are marked, or the clipboard holds a file list
};

struct KeyPlan {
  std::vector<KeyAction> actions;  // in the order they run
  // Whether the key goes on to the normal handling afterwards. A permanent delete that stops at
  // a folder keeps the key as well; only the list knows that once it has run.
  bool passOn = true;
};

KeyPlan PlanKey(const KeyContext& context, const TOvFileListShortCuts& shortCuts);

}  // namespace filelist
