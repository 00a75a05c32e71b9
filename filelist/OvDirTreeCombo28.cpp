// See OvDirTreeCombo28.h.
#include "filelist/OvDirTreeCombo28.h"

#include <windowsx.h>

#include <climits>

#include "filelist/DirTreeNodes.h"
#include "filelist/FileListTexts.h"
#include "filelist/OvFilelistView28.h"
#include "filelist/ShellChangeNotifier.h"
#include "framework/AppServices.h"
#include "framework/Application.h"
#include "framework/Strings.h"

namespace {

constexpr long kComboEvents = SHCNE_MKDIR | SHCNE_RMDIR | SHCNE_DRIVEREMOVED | SHCNE_DRIVEADD | SHCNE_RENAMEFOLDER;
constexpr int kIconLeft = 5;
constexpr WORD kComboArrowBitmap = 32738;  // OBM_COMBO, the platform's combo-box arrow
constexpr int kTextLeftWithIcon = 23;

bool SameIgnoringCase(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

bool FolderExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

HTREEITEM TreeNext(HWND tree, HTREEITEM item, UINT how) {
  return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

}  // namespace

// --- TOvSpeedButton ---------------------------------------------------------------------------

const ClassInfo& TOvSpeedButton::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TOvSpeedButton>(L"TOvSpeedButton", &TCustomControl::StaticClass()).Build());
  return info;
}

TOvSpeedButton::TOvSpeedButton(TComponent* owner) : TCustomControl(owner) { SetCursor(TCursor::crArrow); }

void TOvSpeedButton::SetGlyph(HBITMAP glyph) {
  glyph_ = glyph;
  Invalidate();
}

void TOvSpeedButton::SetDown(bool value) {
  if (value == down_) return;
  down_ = value;
  Invalidate();
}

void TOvSpeedButton::WndProc(TMessage& m) {
  if (m.Msg == WM_RBUTTONUP || m.Msg == WM_CONTEXTMENU) {
    m.Result = 0;  // no context menu over the button
    return;
  }
  TCustomControl::WndProc(m);
}

void TOvSpeedButton::Paint(HDC dc) {
  RECT r{0, 0, Width(), Height()};
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  if (!glyph_) return;
  BITMAP info{};
  GetObjectW(glyph_, sizeof(info), &info);
  UniqueMemoryDc source(CreateCompatibleDC(dc));
  SelectedObject keep(source.get(), glyph_);
  int shift = down_ ? 1 : 0;
  BitBlt(dc, (Width() - info.bmWidth) / 2 + shift, (Height() - info.bmHeight) / 2 + shift, info.bmWidth, info.bmHeight,
         source.get(), 0, 0, SRCCOPY);
}

// --- TOvDirTreeView ---------------------------------------------------------------------------

const ClassInfo& TOvDirTreeView::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TOvDirTreeView>(L"TOvDirTreeView", &TWinControl::StaticClass()).Build());
  return info;
}

TOvDirTreeView::TOvDirTreeView(TOvDirTreeCombo28* combo, TComponent* owner) : TWinControl(owner), combo_(combo) {
  SetVisible(false);
  SetEnabled(false);
  nodes_.SetFilter([](const std::wstring& name, uint32_t attributes) {
    // Every subfolder, whatever its attributes.
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..";
  });
}

TOvDirTreeView::~TOvDirTreeView() = default;

void TOvDirTreeView::CreateParams(CreateParamsRecord& p) {
  TWinControl::CreateParams(p);
  p.superclassOf = WC_TREEVIEWW;
  // No sideways scrolling: the levels stay at the left edge however deep the selected folder
  // lies, as the drop-down is only as wide as the box.
  p.style = WS_POPUP | WS_BORDER | WS_CLIPSIBLINGS | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS |
            TVS_NOHSCROLL;
  if (!Enabled()) p.style |= WS_DISABLED;
  p.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  // Owned by the combo's top-level window, so it stays above it and its notifications reach the
  // combo's form, which hands them back here.
  HWND box = combo_->Handle();
  p.parentWindow = GetAncestor(box, GA_ROOT);
}

void TOvDirTreeView::CreateWindowDone() {
  TWinControl::CreateWindowDone();
  nodes_.Attach(Handle());
}

std::wstring TOvDirTreeView::PathOf(HTREEITEM node) const {
  if (!node) return {};
  if (nodes_.Level(node) == 0) return dirtree::kRootPath;
  return nodes_.NodePath(node);
}

void TOvDirTreeView::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(m.LParam);
      if (header->code == TVN_ITEMEXPANDINGW) nodes_.OnItemExpanding(*reinterpret_cast<NMTREEVIEWW*>(m.LParam));
      m.Result = header->code == NM_CUSTOMDRAW ? CustomDraw(*reinterpret_cast<NMTVCUSTOMDRAW*>(m.LParam)) : 0;
      return;
    }
    case WM_MOUSEWHEEL: {
      // With the capture here the wheel comes to the tree: over the tree it scrolls, elsewhere
      // it walks the selection as over the box.
      POINT screen{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      RECT r{};
      GetWindowRect(Handle(), &r);
      if (PtInRect(&r, screen)) break;
      m.Result = SendMessageW(combo_->Handle(), WM_MOUSEWHEEL, m.WParam, m.LParam);
      return;
    }
    case WM_MOUSEACTIVATE:
      m.Result = MA_NOACTIVATE;  // the focus stays in the box
      return;
    case WM_MOUSEMOVE:
      MouseMoved({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
      m.Result = 0;
      return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      MousePressed(m.Msg, {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
      m.Result = 0;
      return;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      m.Result = 0;
      return;
    case WM_CAPTURECHANGED:
      if (!keepCapture_ && combo_->DroppedDown()) combo_->CloseUp();
      m.Result = 0;
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

LRESULT TOvDirTreeView::CustomDraw(NMTVCUSTOMDRAW& draw) {
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  // The focus stays in the box, so the tree would draw its selection as unfocused (hardly
  // visible): the node under the mouse or the keys is drawn highlighted.
  if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT && reinterpret_cast<HTREEITEM>(draw.nmcd.dwItemSpec) == nodes_.Selected()) {
    draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
  }
  return CDRF_DODEFAULT;
}

void TOvDirTreeView::MouseMoved(POINT client) {
  RECT r{};
  GetClientRect(Handle(), &r);
  mouseInside_ = PtInRect(&r, client) != FALSE;
  // A tree that opens under a resting cursor is told of a "move" too: only a real move tracks.
  POINT screen = client;
  ::ClientToScreen(Handle(), &screen);
  if (screen.x == restingCursor_.x && screen.y == restingCursor_.y) return;
  restingCursor_ = {LONG_MIN, LONG_MIN};
  if (!mouseInside_) return;
  // Hot tracking: the node under the mouse label becomes the selected one.
  TVHITTESTINFO hit{};
  hit.pt = client;
  auto node = reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (node && (hit.flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON)) && node != nodes_.Selected())
    SendMessageW(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
}

void TOvDirTreeView::MousePressed(UINT msg, POINT client) {
  HWND tree = Handle();
  RECT clientRect{}, windowRect{};
  GetClientRect(tree, &clientRect);
  GetWindowRect(tree, &windowRect);
  POINT screen = client;
  ::ClientToScreen(tree, &screen);
  if (PtInRect(&clientRect, client)) {
    TVHITTESTINFO hit{};
    hit.pt = client;
    auto node = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (node && (hit.flags & TVHT_ONITEMBUTTON)) {
      // The plus and minus buttons open and close nodes; the drop-down stays.
      SendMessageW(tree, TVM_EXPAND, TVE_TOGGLE, reinterpret_cast<LPARAM>(node));
      return;
    }
    if (msg == WM_LBUTTONDOWN && node && (hit.flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON))) {
      SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
      combo_->CommitNode(node);
    }
    combo_->CloseUp();
    return;
  }
  if (PtInRect(&windowRect, screen)) {
    // The tree's own scroll bars: their tracking runs with the capture of its own.
    LRESULT area = SendMessageW(tree, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    if (area == HTVSCROLL || area == HTHSCROLL) {
      keepCapture_ = true;
      ReleaseCapture();
      SendMessageW(tree, WM_NCLBUTTONDOWN, static_cast<WPARAM>(area), MAKELPARAM(screen.x, screen.y));
      SetCapture(tree);
      keepCapture_ = false;
      return;
    }
  }
  combo_->CloseUp();
}

// --- TOvDirTreeCombo28 ------------------------------------------------------------------------

const ClassInfo& TOvDirTreeCombo28::StaticClass() {
  using C = TOvDirTreeCombo28;
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<C>(L"TOvDirTreeCombo28", &TWinControl::StaticClass())
          .String(L"About", &C::About, &C::SetAbout)
          .Boolean(L"ExpandRoot", &C::ExpandRoot, &C::SetExpandRoot)
          .Object(L"FileList", TOvFilelistView28::StaticClass(), &C::FileList, &C::SetFileList)
          .Boolean(L"HideSelection", &C::HideSelection, &C::SetHideSelection)
          .String(L"SelectedPath", &C::SelectedPath, &C::SetSelectedPath)
          .Integer(L"TreeHeight", &C::TreeHeight, &C::SetTreeHeight)
          .Build());
  return info;
}

TOvDirTreeCombo28::TOvDirTreeCombo28(TComponent* owner) : TWinControl(owner) {
  SetBounds(Left(), Top(), 216, 21);
  SetTabStop(true);
  SetTabOrder(0);
  hideSelection_ = !Caption().empty();
  glyph_.reset(static_cast<HBITMAP>(LoadImageW(nullptr, MAKEINTRESOURCEW(kComboArrowBitmap), IMAGE_BITMAP, 0, 0, 0)));
  button_ = new TOvSpeedButton(this);
  button_->SetParent(this);
  button_->SetGlyph(glyph_.get());
  button_->OnClick = [this](TObject*) { ToggleDropDown(); };
  tree_ = new TOvDirTreeView(this, this);
  notifier_ = std::make_unique<ShellChangeNotifier>(kComboEvents, [this](const ShellChangeNotifier::Change&) { ShellChanged(); });
}

TOvDirTreeCombo28::~TOvDirTreeCombo28() {
  // As the tree does: a linked list lets go before the pair of notifications is removed below.
  if (fileList_ && fileList_->DirTreeCombo() == this) fileList_->SetDirTreeCombo(nullptr);
  boxHook_.Remove();
  if (fileList_) fileList_->RemoveFreeNotification(this);
}

void TOvDirTreeCombo28::CreateParams(CreateParamsRecord& p) {
  TWinControl::CreateParams(p);
  p.superclassOf = L"EDIT";
  p.style |= ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | WS_CLIPCHILDREN;
  p.exStyle |= WS_EX_CLIENTEDGE;
}

void TOvDirTreeCombo28::CreateWindowDone() {
  TWinControl::CreateWindowDone();
  boxHook_.Install(Handle(), [this](HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return HandleBoxMessage(msg, wParam, lParam, result);
  });
  PlaceButton();
  tree_->HandleNeeded();
  if (hideSelection_) SetWindowLongPtrW(tree_->Handle(), GWL_STYLE, GetWindowLongPtrW(tree_->Handle(), GWL_STYLE) & ~TVS_SHOWSELALWAYS);
  Rebuild();
  if (!tree_->Nodes().Selected()) {
    ShowNode(tree_->Nodes().Root());
    if (selectedPath_.empty()) selectedPath_ = dirtree::kRootPath;
  }
  UpdateTextArea();
  // The box's hint shows the whole path; these pauses suit it (they are the application's).
  if (!IsDesigning() && Application) {
    Application->SetHintColor(clInfoBk);
    Application->SetHintShortPause(25);
    Application->SetHintPause(500);
    Application->SetHintHidePause(10000);
  }
}

void TOvDirTreeCombo28::MouseEnter() {
  if (!DroppedDown()) {
    SetHint(tree_->Nodes().Selected() ? L"SelectedPath =\r" + SelectedPath() : std::wstring(L"Selected = nil"));
    SetShowHint(true);
  }
  TWinControl::MouseEnter();
}

bool TOvDirTreeCombo28::HandleBoxMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (msg) {
    case WM_MOUSEWHEEL: {
      // A turn towards the user walks down the tree, away from the user up.
      WORD key = GET_WHEEL_DELTA_WPARAM(wParam) <= 0 ? VK_DOWN : VK_UP;
      Perform(WM_KEYDOWN, key, 0);
      result = 0;
      return true;
    }
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
      result = 0;  // no context menu over the box
      return true;
    default:
      return false;
  }
}

void TOvDirTreeCombo28::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      TWinControl::WndProc(m);
      PaintIcon();
      return;
    case WM_SETFOCUS:
      TWinControl::WndProc(m);
      HideCaret(Handle());
      return;
    case WM_KILLFOCUS:
      TWinControl::WndProc(m);
      if (DroppedDown()) CloseUp();
      return;
    case WM_SETCURSOR:
      ::SetCursor(LoadCursorW(nullptr, IDC_ARROW));
      m.Result = TRUE;
      return;
    case WM_SIZE:
      TWinControl::WndProc(m);
      PlaceButton();
      UpdateTextArea();
      return;
    case WM_GETDLGCODE:
      TWinControl::WndProc(m);
      m.Result |= DLGC_WANTARROWS;
      m.Result &= ~DLGC_HASSETSEL;
      return;
    default:
      TWinControl::WndProc(m);
  }
}

void TOvDirTreeCombo28::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == fileList_) fileList_ = nullptr;
}

std::wstring TOvDirTreeCombo28::SelectedPath() const { return selectedPath_; }

void TOvDirTreeCombo28::SetSelectedPath(const std::wstring& value) {
  if (!SameIgnoringCase(value, selectedPath_)) selectedPath_ = value;
  if (fileList_) fileList_->SetDirectory(value);
}

void TOvDirTreeCombo28::SetFileList(TOvFilelistView28* list) {
  if (fileList_ == list) return;
  if (fileList_) fileList_->RemoveFreeNotification(this);
  fileList_ = list;
  if (!fileList_) return;
  fileList_->FreeNotification(this);
  if (!selectedPath_.empty()) {
    fileList_->SetDirectory(selectedPath_);
    fileList_->UpdateFileList();
  }
}

void TOvDirTreeCombo28::SetExpandRoot(bool value) {
  expandRoot_ = value;
  if (HandleAllocated() && expandRoot_ && tree_->Nodes().Root())
    SendMessageW(tree_->Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(tree_->Nodes().Root()));
}

void TOvDirTreeCombo28::SetHideSelection(bool value) {
  hideSelection_ = value;
  if (!tree_->HandleAllocated()) return;
  LONG_PTR style = GetWindowLongPtrW(tree_->Handle(), GWL_STYLE);
  SetWindowLongPtrW(tree_->Handle(), GWL_STYLE, value ? style & ~TVS_SHOWSELALWAYS : style | TVS_SHOWSELALWAYS);
}

void TOvDirTreeCombo28::SetGlyph(HBITMAP bitmap) {
  UniqueBitmap copy;
  if (bitmap) copy.reset(static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0)));
  glyph_ = std::move(copy);
  button_->SetGlyph(glyph_.get());
}

bool TOvDirTreeCombo28::DroppedDown() const { return tree_->HandleAllocated() && tree_->Visible(); }

void TOvDirTreeCombo28::Rebuild() {
  HWND tree = tree_->Handle();
  SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, 0);
  HTREEITEM root = tree_->Nodes().Rebuild(true);
  if (root && expandRoot_) SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
}

void TOvDirTreeCombo28::SelectPath(const std::wstring& path) {
  if (path.size() < 2 || !FolderExists(path)) return;
  std::wstring full = path.back() == L'\\' ? path : path + L'\\';
  HTREEITEM node = tree_->Nodes().SelectPath(full);
  if (!node) return;
  if (expandRoot_) SendMessageW(tree_->Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(tree_->Nodes().Root()));
  SendMessageW(tree_->Handle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
  ShowNode(node);
  if (!SameIgnoringCase(full, selectedPath_)) selectedPath_ = full;
  OnPathChange(this, selectedPath_);
}

void TOvDirTreeCombo28::ShowNode(HTREEITEM node) {
  if (!node) return;
  TVITEMW item{};
  item.mask = TVIF_IMAGE | TVIF_HANDLE;
  item.hItem = node;
  SendMessageW(tree_->Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  iconIndex_ = item.iImage;
  SetWindowTextW(Handle(), tree_->Nodes().Caption(node).c_str());
  UpdateTextArea();
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TOvDirTreeCombo28::CommitNode(HTREEITEM node) {
  if (!node) return;
  std::wstring path = tree_->PathOf(node);
  if (tree_->Nodes().Level(node) == 1 && !DriveReadyForChoice(path)) {
    tree_->Nodes().SelectPath(previousPath_);
    return;
  }
  previousPath_ = path;
  SetSelectedPath(path);
  ShowNode(node);
  OnPathChange(this, selectedPath_);
}

bool TOvDirTreeCombo28::DriveReadyForChoice(const std::wstring& path) {
  UINT type = GetDriveTypeW(path.c_str());
  if (type != DRIVE_REMOVABLE && type != DRIVE_CDROM) return true;
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  ULARGE_INTEGER available, total, free;
  bool ready = GetDiskFreeSpaceExW(path.c_str(), &available, &total, &free) != FALSE;
  SetErrorMode(oldMode);
  if (!ready) {
    MessageBeep(MB_ICONHAND);
    if (Application) Application->MessageDlg(SharedTexts().MsgDriveNotReady, Application->Title(), MB_OK | MB_ICONWARNING);
  }
  return ready;
}

void TOvDirTreeCombo28::ToggleDropDown() {
  if (CanFocus()) SetFocus();
  HWND tree = tree_->Handle();
  if (DroppedDown()) {
    SetWindowPos(tree, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    CloseUp();
    return;
  }
  // Below the box, or above it where the screen ends.
  RECT box{};
  GetWindowRect(Handle(), &box);
  int width = box.right - box.left;
  int top = box.bottom;
  if (top + treeHeight_ > GetSystemMetrics(SM_CYSCREEN)) top = box.top - treeHeight_;
  tree_->SetEnabled(true);
  SetWindowPos(tree, HWND_TOPMOST, box.left, top, width, treeHeight_, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  tree_->SetVisible(true);
  if (HTREEITEM selected = tree_->Nodes().Selected()) SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(selected));
  button_->SetDown(true);
  SetShowHint(false);  // no hint over the open tree
  GetCursorPos(&tree_->restingCursor_);
  SetCapture(tree);
}

void TOvDirTreeCombo28::CloseUp() {
  if (!tree_->HandleAllocated()) return;
  bool wasOpen = tree_->Visible();
  if (tree_->Enabled() && CanFocus() && GetFocus() != Handle()) SetFocus();
  tree_->keepCapture_ = true;
  if (GetCapture() == tree_->Handle()) ReleaseCapture();
  tree_->keepCapture_ = false;
  tree_->SetEnabled(false);
  tree_->SetVisible(false);
  // A window without a parent control is shown and hidden here, not by the framework.
  if (wasOpen) ShowWindow(tree_->Handle(), SW_HIDE);
  button_->SetDown(false);
}

void TOvDirTreeCombo28::KeyDown(WORD& key, TShiftState shift) {
  switch (key) {
    case VK_RETURN:
      if (HTREEITEM node = tree_->Nodes().Selected()) CommitNode(node);
      CloseUp();
      break;
    case VK_ESCAPE:
      if (DroppedDown()) CloseUp();
      break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      MoveSelection(key);
      break;
    case VK_F4:
      ToggleDropDown();
      break;
    case VK_F5:
      Rebuild();
      SelectPath(selectedPath_);
      if (fileList_) fileList_->UpdateFileList();
      break;
    default:
      break;
  }
  TWinControl::KeyDown(key, shift);
}

void TOvDirTreeCombo28::MoveSelection(WORD key) {
  HWND tree = tree_->Handle();
  ShellFolderTree& nodes = tree_->Nodes();
  HTREEITEM root = nodes.Root();
  HTREEITEM selected = nodes.Selected();
  auto select = [tree](HTREEITEM node) {
    if (node) SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
  };
  if (!selected) {
    select(root);
    if (root) SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
    selected = root;
  }
  if (!selected) return;
  switch (key) {
    case VK_RIGHT:
      SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(selected));
      break;
    case VK_LEFT: {
      SendMessageW(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(selected));
      HTREEITEM previous = TreeNext(tree, selected, TVGN_PREVIOUSVISIBLE);
      if (previous && previous != root) select(previous);
      break;
    }
    case VK_DOWN:
      if (DroppedDown()) {
        select(TreeNext(tree, selected, TVGN_NEXTVISIBLE));
      } else {
        ToggleDropDown();
      }
      break;
    case VK_UP:
      if (selected != root) select(TreeNext(tree, selected, TVGN_PREVIOUSVISIBLE));
      break;
    default:
      break;
  }
  if (HTREEITEM now = nodes.Selected()) SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(now));
}

void TOvDirTreeCombo28::PlaceButton() {
  if (!HandleAllocated()) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  button_->SetBounds(client.right - kButtonWidth, 0, kButtonWidth, client.bottom);
}

void TOvDirTreeCombo28::UpdateTextArea() {
  if (!HandleAllocated()) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  RECT text{iconIndex_ >= 0 ? kTextLeftWithIcon : 0, 0, client.right - kButtonWidth - 2, client.bottom};
  // One line, centred vertically as a single-line box would show it.
  TEXTMETRICW metrics{};
  if (HDC dc = GetDC(Handle())) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    GetTextMetricsW(dc, &metrics);
    if (old) SelectObject(dc, old);
    ReleaseDC(Handle(), dc);
  }
  if (metrics.tmHeight > 0 && metrics.tmHeight < client.bottom) text.top = (client.bottom - metrics.tmHeight) / 2;
  SendMessageW(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&text));
}

void TOvDirTreeCombo28::PaintIcon() {
  if (iconIndex_ < 0) return;
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(tree_->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
  if (!images) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  HDC dc = GetDC(Handle());
  ImageList_Draw(images, iconIndex_, dc, kIconLeft, client.bottom / 2 - 8, ILD_TRANSPARENT);
  ReleaseDC(Handle(), dc);
  HideCaret(Handle());
}

void TOvDirTreeCombo28::ShellChanged() {
  if (!HandleAllocated()) return;
  ShellChangeNotifier::HoldScope hold(notifier_.get());
  HWND tree = tree_->Handle();
  LockWindowUpdate(tree);
  std::wstring path = selectedPath_;
  Rebuild();
  SelectPath(path);
  if (fileList_) fileList_->UpdateFileList();
  LockWindowUpdate(nullptr);
}
