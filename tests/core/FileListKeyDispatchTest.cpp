// The file list's key table: which operations a key starts, in which order, and whether the
// key goes on to the normal handling.
#include <gtest/gtest.h>

#include <functional>

#include "filelist/KeyDispatch.h"

using namespace filelist;
using A = KeyAction;

namespace {

constexpr uint16_t kBack = 0x08, kF2 = 0x71, kF3 = 0x72, kF5 = 0x74;

struct Press {
  uint16_t key;
  bool shift = false, ctrl = false, alt = false;
};
Press Ctrl(char letter) { return {static_cast<uint16_t>(letter), false, true, false}; }

// The state of a folder view with one entry selected, files marked and Enter opening.
KeyContext Context(Press p) {
  KeyContext c;
  c.key = p.key;
  c.shift = p.shift;
  c.ctrl = p.ctrl;
  c.alt = p.alt;
  c.entrySelected = true;
  c.entryCount = 3;
  c.openByEnter = true;
  c.filesToPaste = true;
  return c;
}

struct Row {
  const char* what;
  Press press;
  std::function<void(KeyContext&)> state;  // changes to the default state, or empty
  std::vector<KeyAction> actions;
  bool passOn;
};

void Check(const std::vector<Row>& rows, const TOvFileListShortCuts& shortCuts) {
  for (const Row& row : rows) {
    KeyContext c = Context(row.press);
    if (row.state) row.state(c);
    KeyPlan plan = PlanKey(c, shortCuts);
    EXPECT_EQ(plan.actions, row.actions) << row.what;
    EXPECT_EQ(plan.passOn, row.passOn) << row.what;
  }
}

const auto kNothingSelected = [](KeyContext& c) { c.entrySelected = false; };
const auto kDriveView = [](KeyContext& c) { c.driveView = true; };

}  // namespace

TEST(FileListKeyDispatch, DefaultShortcuts) {
  Check({
            {"Ctrl+C marks for copy", Ctrl('C'), {}, {A::kMarkForCopy}, true},
            {"Ctrl+X marks for move", Ctrl('X'), {}, {A::kMarkForMove}, true},
            {"Ctrl+O opens", Ctrl('O'), {}, {A::kOpenSelected}, true},
            {"Ctrl+F views", Ctrl('F'), {}, {A::kViewSelected}, true},
            {"Delete recycles", {0x2E}, {}, {A::kRecycleSelected}, true},
            {"F2 renames", {kF2}, {}, {A::kStartRename}, true},
            {"Ctrl+V pastes", Ctrl('V'), {}, {A::kPasteFiles}, true},
            {"Ctrl+N creates a folder", Ctrl('N'), {}, {A::kCreateNewFolder}, true},
            {"Backspace goes up", {kBack}, {}, {A::kGoToParent}, true},
            {"F3 finds", {kF3}, {}, {A::kOpenFindWindow}, true},
            {"F5 refreshes", {kF5}, {}, {A::kRefresh}, true},
            {"Ctrl+A selects all", Ctrl('A'), {}, {A::kSelectAll}, true},
            {"Enter opens", {0x0D}, {}, {A::kOpenSelected}, true},
            {"Shift+Delete deletes for good", {0x2E, true}, {}, {A::kPermanentDelete}, true},
            {"F4 without a tree combo stops", {0x73}, {}, {}, false},
            {"Escape without a tree combo stops", {0x1B}, {}, {}, false},
            {"a plain letter goes on", {'C'}, {}, {}, true},
            {"Alt+F2 is no shortcut", {kF2, false, false, true}, {}, {}, true},
            {"Ctrl+Shift+C is no shortcut", {'C', true, true}, {}, {}, true},
        },
        TOvFileListShortCuts());
}

TEST(FileListKeyDispatch, ConditionsOfTheRows) {
  Check({
            // Operations on the selection need one; paste and new folder too.
            {"Ctrl+C, nothing selected", Ctrl('C'), kNothingSelected, {}, true},
            {"Delete, nothing selected", {0x2E}, kNothingSelected, {}, true},
            {"F2, nothing selected", {kF2}, kNothingSelected, {}, true},
            {"Ctrl+V, nothing selected", Ctrl('V'), kNothingSelected, {}, true},
            {"Ctrl+V, nothing to paste", Ctrl('V'), [](KeyContext& c) { c.filesToPaste = false; }, {}, true},
            {"Ctrl+N, nothing selected", Ctrl('N'), kNothingSelected, {}, true},
            {"Ctrl+N in the drive view", Ctrl('N'), kDriveView, {}, true},
            // Backspace, F3, F5 and Enter do not need a selection.
            {"Backspace, nothing selected", {kBack}, kNothingSelected, {A::kGoToParent}, true},
            {"Backspace in the drive view stops", {kBack}, kDriveView, {}, false},
            {"F5, nothing selected", {kF5}, kNothingSelected, {A::kRefresh}, true},
            {"Ctrl+A, no entries", Ctrl('A'), [](KeyContext& c) { c.entryCount = 0; }, {}, true},
            {"Enter when Enter does not open", {0x0D}, [](KeyContext& c) { c.openByEnter = false; }, {}, true},
            {"Shift+Delete, nothing selected, stops", {0x2E, true}, kNothingSelected, {}, false},
            {"Ctrl+Shift+Delete is neither delete", {0x2E, true, true}, {}, {}, true},
            {"Shift+Alt+Delete is neither delete", {0x2E, true, false, true}, {}, {}, true},
        },
        TOvFileListShortCuts());
}

TEST(FileListKeyDispatch, SettingsOfTheShortcuts) {
  TOvFileListShortCuts withoutRename;
  TOvListViewActions actions = withoutRename.Actions();
  actions.Exclude(TOvListViewAction::vaRename);
  actions.Exclude(TOvListViewAction::vaBack);
  withoutRename.SetActions(actions);
  Check({
            {"disabled rename", {kF2}, {}, {}, true},
            {"disabled back does not stop the drive view", {kBack}, kDriveView, {}, true},
            {"enabled copy", Ctrl('C'), {}, {A::kMarkForCopy}, true},
        },
        withoutRename);

  // Shortcuts configured equal fire every row they name, in the table's order.
  TOvFileListShortCuts equal;
  equal.Set(TOvListViewAction::vaCut, ShortCutOf('C', false, true, false));
  equal.Set(TOvListViewAction::vaOpen, 0x0D);
  equal.Set(TOvListViewAction::vaRefresh, kBack);
  Check({
            {"copy and cut on one key", Ctrl('C'), {}, {A::kMarkForCopy, A::kMarkForMove}, true},
            {"open by shortcut and by Enter", {0x0D}, {}, {A::kOpenSelected, A::kOpenSelected}, true},
            {"back and refresh", {kBack}, {}, {A::kGoToParent, A::kRefresh}, true},
            {"back in the drive view stops before refresh", {kBack}, kDriveView, {}, false},
        },
        equal);

  // A shortcut with Shift: Shift+F10 opens.
  TOvFileListShortCuts shifted;
  shifted.Set(TOvListViewAction::vaOpen, ShortCutOf(0x79, true, false, false));
  Check({
            {"Shift+F10", {0x79, true}, {}, {A::kOpenSelected}, true},
            {"F10 alone", {0x79}, {}, {}, true},
        },
        shifted);
}
