// See Menus.h.
#include "framework/Menus.h"

#include <algorithm>
#include <cwctype>
#include <unordered_map>

#include "framework/Handles.h"
#include "framework/WindowSubclass.h"

namespace {

// Live items by serial number (numbers are never reused).
std::unordered_map<uint32_t, TMenuItem*>& LiveItems() {
  static std::unordered_map<uint32_t, TMenuItem*> items;
  return items;
}
uint32_t nextSerial = 1;

// The access key of a caption: the character after the first single "&".
wchar_t AccessKey(const std::wstring& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;
      continue;
    }
    return static_cast<wchar_t>(std::towupper(caption[i + 1]));
  }
  return 0;
}

}  // namespace

TMenuItem::TMenuItem() : serial_(nextSerial++) { LiveItems()[serial_] = this; }

TMenuItem::~TMenuItem() {
  items_.clear();
  LiveItems().erase(serial_);
}

TMenuItem* TMenuItem::FromSerial(uint32_t serial) {
  auto it = LiveItems().find(serial);
  return it == LiveItems().end() ? nullptr : it->second;
}

TPopupMenu* TMenuItem::Menu() const {
  const TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  return root->menu_;
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == item) return static_cast<int>(i);
  return -1;
}

TMenuItem* TMenuItem::Add(std::unique_ptr<TMenuItem> item) { return Insert(Count(), std::move(item)); }

TMenuItem* TMenuItem::Insert(int index, std::unique_ptr<TMenuItem> item) {
  item->parent_ = this;
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, std::move(item));
  return items_[static_cast<size_t>(index)].get();
}

void TMenuItem::Delete(int index) { items_.erase(items_.begin() + index); }

void TMenuItem::Clear() { items_.clear(); }

TMenuItem* TMenuItem::FirstVisible() const {
  for (const auto& item : items_)
    if (item->Visible()) return item.get();
  return nullptr;
}

void TMenuItem::Click() {
  // A copy: the action may free the item (a skin change rebuilds a menu).
  auto action = OnClick;
  if (action) action(*this);
}

// ---------------------------------------------------------------------------------------------

const ClassInfo& TPopupMenu::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TPopupMenu>(L"TPopupMenu", &TComponent::StaticClass())
          .Boolean(L"OwnerDraw", &TPopupMenu::OwnerDraw, &TPopupMenu::SetOwnerDraw)
          .Build());
  return info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), items_(std::make_unique<TMenuItem>()) {
  items_->menu_ = this;
}

TPopupMenu::~TPopupMenu() = default;

TMenuItem* TPopupMenu::ItemOfData(ULONG_PTR data) const {
  if (!handle_) return nullptr;
  TMenuItem* item = TMenuItem::FromSerial(static_cast<uint32_t>(data));
  return item && item->Menu() == this ? item : nullptr;
}

HMENU TPopupMenu::Build(const TMenuItem& parent, std::vector<std::pair<UINT, uint32_t>>& commands, UINT& nextCommand) {
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return nullptr;
  UINT position = 0;
  for (int i = 0; i < parent.Count(); ++i) {
    const TMenuItem& item = *parent.Items(i);
    if (!item.Visible()) continue;
    MENUITEMINFOW info{sizeof(info)};
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
    info.fType = item.IsSeparator() ? MFT_SEPARATOR : MFT_STRING;
    if (ownerDraw_) info.fType |= MFT_OWNERDRAW;
    if (item.RadioItem()) info.fType |= MFT_RADIOCHECK;
    if (item.Break() && position > 0) info.fType |= MFT_MENUBARBREAK;
    info.fState = (item.Enabled() ? MFS_ENABLED : MFS_GRAYED) | (item.Checked() ? MFS_CHECKED : 0) |
                  (item.Default() ? MFS_DEFAULT : 0);
    info.dwItemData = item.Serial();
    std::wstring text = item.ShortCutText().empty() ? item.Caption() : item.Caption() + L"\t" + item.ShortCutText();
    if (!ownerDraw_ && !item.IsSeparator()) {
      info.fMask |= MIIM_STRING;
      info.dwTypeData = text.data();
    }
    UniqueMenu sub;
    if (item.Count() > 0) {
      sub.reset(Build(item, commands, nextCommand));
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = sub.get();
    } else if (!item.IsSeparator()) {
      info.wID = item.Command() ? item.Command() : nextCommand++;
      commands.emplace_back(info.wID, item.Serial());
    }
    if (!InsertMenuItemW(menu.get(), position, TRUE, &info)) continue;
    if (sub) sub.release();  // the parent menu frees it
    ++position;
  }
  return menu.release();
}

bool TPopupMenu::HandleOwnerMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (measure->CtlType != ODT_MENU) return false;
      TMenuItem* item = ItemOfData(measure->itemData);
      if (!item) return false;
      int width = 0, height = GetSystemMetrics(SM_CYMENU);
      if (item->OnMeasureItem) {
        WindowDc screen(nullptr);
        item->OnMeasureItem(*item, screen.get(), width, height);
      }
      measure->itemWidth = static_cast<UINT>(std::max(width, 0));
      measure->itemHeight = static_cast<UINT>(std::max(height, 0));
      result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (draw->CtlType != ODT_MENU) return false;
      TMenuItem* item = ItemOfData(draw->itemData);
      if (!item) return false;
      if (item->OnAdvancedDrawItem) item->OnAdvancedDrawItem(*item, draw->hDC, draw->rcItem, draw->itemState, reinterpret_cast<HMENU>(draw->hwndItem));
      result = TRUE;
      return true;
    }
    case WM_MENUCHAR: {
      // Owner-drawn entries carry no text in which the platform could find their access keys.
      auto shown = reinterpret_cast<HMENU>(lParam);
      const wchar_t key = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(LOWORD(wParam))));
      const int count = GetMenuItemCount(shown);
      for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{sizeof(info)};
        info.fMask = MIIM_DATA | MIIM_STATE;
        if (!GetMenuItemInfoW(shown, static_cast<UINT>(i), TRUE, &info)) continue;
        TMenuItem* item = ItemOfData(info.dwItemData);
        if (item && !(info.fState & MFS_GRAYED) && AccessKey(item->Caption()) == key) {
          result = MAKELRESULT(i, MNC_EXECUTE);
          return true;
        }
      }
      return false;
    }
    default:
      return false;
  }
}

bool TPopupMenu::Popup(HWND owner, int x, int y) { return Track(*items_, owner, x, y); }

bool TPopupMenu::Track(const TMenuItem& root, HWND owner, int x, int y) {
  if (!owner || !IsWindow(owner) || root.Menu() != this) return false;
  std::vector<std::pair<UINT, uint32_t>> commands;
  UINT nextCommand = 1;
  UniqueMenu menu(Build(root, commands, nextCommand));
  if (!menu) return false;
  HMENU previous = handle_;
  const TMenuItem* previousRoot = shownRoot_;
  handle_ = menu.get();
  shownRoot_ = &root;
  WindowSubclass ownerLink;
  ownerLink.Install(owner, [this](HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return HandleOwnerMessage(msg, wParam, lParam, result);
  });
  UINT chosen = static_cast<UINT>(TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                                                   x, y, owner, nullptr));
  ownerLink.Remove();
  handle_ = previous;
  shownRoot_ = previousRoot;
  menu.reset();
  Closed();
  if (OnClosed) OnClosed(*this);
  // The menu loop ran other messages: the window or the item may be gone by now.
  if (!chosen || !IsWindow(owner)) return false;
  for (const auto& [command, serial] : commands) {
    if (command != chosen) continue;
    TMenuItem* item = TMenuItem::FromSerial(serial);
    if (!item || item->Menu() != this) return false;
    item->Click();
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------

const ClassInfo& TMainMenu::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TMainMenu>(L"TMainMenu", &TPopupMenu::StaticClass()).Build());
  return info;
}

TMainMenu::TMainMenu(TComponent* owner) : TPopupMenu(owner) {}

bool TMainMenu::DropDown(int index, HWND owner, int x, int y) {
  if (index < 0 || index >= Items()->Count()) return false;
  const TMenuItem& top = *Items()->Items(index);
  if (top.Count() == 0) return false;
  dropped_ = index;
  // The chosen item's click may free this menu: nothing of it is used after Track.
  return Track(top, owner, x, y);
}

void TMainMenu::Closed() { dropped_ = -1; }
