// TOvFilelistView28: the linked directory tree and drop-down tree, and dragging the selected
// files onto the linked tree.
#include <windowsx.h>

#include <cstdlib>
#include <utility>

#include "filelist/OvDirTree21.h"
#include "filelist/OvDirTreeCombo28.h"
#include "filelist/OvFilelistView28.h"

namespace {

// Points `slot` at `control`: the control linked before lets go of the list (when it still shows
// this list) and the new one is linked back to it.
template <class C>
void Link(TOvFilelistView28* list, C*& slot, C* control) {
  if (slot == control) return;
  if (C* old = std::exchange(slot, nullptr)) {
    old->RemoveFreeNotification(list);
    if (old->FileList() == list) old->SetFileList(nullptr);
  }
  slot = control;
  if (!control) return;
  control->FreeNotification(list);
  control->SetFileList(list);
}

}  // namespace

void TOvFilelistView28::SetDirTree(TOvDirTree21* tree) {
  if (dirTree_ != tree && drag_.pending) EndDrag(false);
  Link(this, dirTree_, tree);
}

void TOvFilelistView28::SetDirTreeCombo(TOvDirTreeCombo28* combo) { Link(this, dirTreeCombo_, combo); }

void TOvFilelistView28::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == dirTree_) {
    dirTree_ = nullptr;  // first: the tree is half gone, the drag below must not touch it
    if (drag_.pending) EndDrag(false);
  }
  if (component == dirTreeCombo_) dirTreeCombo_ = nullptr;
}

// A left press, after the list view has handled it (and selected the row under it).
void TOvFilelistView28::PressForDrag(Point, bool ctrl) {
  drag_ = {};
  drag_.mode = ctrl ? TTransferMode::tmCopy : TTransferMode::tmMove;
  if (!dirTree_ || !dirTree_->DragDropEnabled() || SelectedIndex() < 0 || !HandleAllocated()) return;
  // The list view may have followed the mouse itself until the button came up.
  if (GetKeyState(VK_LBUTTON) >= 0) return;
  GetCursorPos(&drag_.start);
  drag_.pending = true;
  SetCapture(Handle());
}

void TOvFilelistView28::MoveForDrag() {
  POINT cursor;
  GetCursorPos(&cursor);
  if (!drag_.active) {
    const int dx = GetSystemMetrics(SM_CXDRAG) + 10, dy = GetSystemMetrics(SM_CYDRAG) + 10;
    if (std::abs(cursor.x - drag_.start.x) <= dx && std::abs(cursor.y - drag_.start.y) <= dy) return;
    drag_.active = true;
  }
  HTREEITEM node = DropNodeAtCursor();
  if (dirTree_ && dirTree_->HandleAllocated()) TreeView_SelectDropTarget(dirTree_->Handle(), node);
  ::SetCursor(LoadCursorW(nullptr, node ? IDC_ARROW : IDC_NO));
}

HTREEITEM TOvFilelistView28::DropNodeAtCursor() {
  POINT cursor;
  GetCursorPos(&cursor);
  HTREEITEM node = nullptr;
  TOvDirTree21* tree = TOvDirTree21::TreeAt(cursor, node);
  if (!tree || tree != dirTree_ || !tree->DragDropEnabled() || tree->ReadOnly() || tree->FileList() != this) return nullptr;
  return node;
}

void TOvFilelistView28::EndDrag(bool drop, bool ctrl) {
  const DragState drag = drag_;
  drag_ = {};
  HTREEITEM node = drop && drag.active ? DropNodeAtCursor() : nullptr;
  if (dirTree_ && dirTree_->HandleAllocated()) TreeView_SelectDropTarget(dirTree_->Handle(), nullptr);
  if (drag.pending && HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
  // Ctrl held at the drop makes a copy too (a Ctrl-press may have toggled the row instead). The
  // release's own key flags say so even when the key's message has not been read yet.
  TTransferMode mode = ctrl || GetKeyState(VK_CONTROL) < 0 ? TTransferMode::tmCopy : drag.mode;
  if (node && dirTree_) dirTree_->DropListFiles(node, mode);
}
