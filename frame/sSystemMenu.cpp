// See sSystemMenu.h.
#include "frame/sSystemMenu.h"

#include "frame/MenuMetrics.h"
#include "frame/sSkinProvider.h"
#include "frame/sSkinableMenus.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/StringList.h"
#include "skin/sSkinManager.h"

using namespace system_menu;

namespace {

constexpr wchar_t kSkinChoiceName[] = L"SkinSelectItem";
constexpr wchar_t kSkinChoiceCaption[] = L"Available skins";

std::unique_ptr<TMenuItem> NewItem(const std::wstring& caption, const std::wstring& name = {}) {
  auto item = std::make_unique<TMenuItem>();
  item->SetCaption(caption);
  item->SetName(name);
  return item;
}

// The platform's window menu of `window`, entry by entry.
std::vector<PlatformEntry> ReadPlatformMenu(HMENU menu) {
  std::vector<PlatformEntry> entries;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{sizeof(info)};
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 254;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    PlatformEntry entry;
    entry.id = static_cast<int32_t>(info.wID);
    if (!(info.fType & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW))) entry.text = text;
    entries.push_back(entry);
  }
  return entries;
}

}  // namespace

const ClassInfo& TsSystemMenu::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TsSystemMenu>(L"TsSystemMenu", &TPopupMenu::StaticClass()).Build());
  return info;
}

TsSystemMenu::TsSystemMenu(TsSkinProvider* provider)
    : TsCustomSysMenu(provider), provider_(provider), form_(provider->Form()) {
  SetName(L"SysMenu");
  TsSkinableMenus::Instance();  // connects the menu look to the manager's skin changes
  OnClosed = [](TPopupMenu&) { TsSkinableMenus::Instance().MenusClosed(); };
}

HWND TsSystemMenu::Window() const { return form_->HandleAllocated() ? form_->Handle() : nullptr; }

MenuStates TsSystemMenu::States() const { return ComputeMenuStates(provider_->CurrentMenuInput()); }

void TsSystemMenu::MakeItems() {
  Items()->Clear();
  restore_ = move_ = size_ = minimize_ = maximize_ = close_ = nullptr;
  customCount_ = 0;
  HWND window = Window();
  HMENU platform = window ? GetSystemMenu(window, FALSE) : nullptr;
  if (!platform) return;
  for (const Entry& entry : BuildEntries(ReadPlatformMenu(platform))) {
    if (entry.kind == EntryKind::Separator) {
      Items()->Add(NewItem(L"-"));
      continue;
    }
    TMenuItem* item = Items()->Add(NewItem(entry.caption, entry.name));
    item->SetTag(entry.command);
    item->SetShortCutText(entry.shortcut);
    const int command = entry.command;
    if (entry.kind == EntryKind::Custom) {
      ++customCount_;
      item->OnClick = [this, command](TMenuItem&) {
        if (HWND w = Window()) PostMessageW(w, WM_SYSCOMMAND, static_cast<WPARAM>(command), 0);
      };
      continue;
    }
    item->SetCommand(static_cast<UINT>(command));
    const bool updateAfter = command == kRestore || command == kMaximize || command == kMinimize;
    item->OnClick = [this, command, updateAfter](TMenuItem&) { SendCommand(command, updateAfter); };
    switch (command) {
      case kRestore: restore_ = item; break;
      case kMove: move_ = item; break;
      case kSize: size_ = item; break;
      case kMinimize: minimize_ = item; break;
      case kMaximize: maximize_ = item; break;
      case kClose: close_ = item; break;
      default: break;
    }
  }
}

void TsSystemMenu::SendCommand(int command, bool updateAfter) {
  HWND window = Window();
  if (!window) return;
  SendMessageW(window, WM_SYSCOMMAND, static_cast<WPARAM>(command), 0);
  // The command may have closed the window.
  if (updateAfter && IsWindow(window)) UpdateItems(false);
}

void TsSystemMenu::UpdateItems(bool rebuild) {
  if (rebuild || !close_) MakeItems();
  if (!close_) return;
  const MenuStates s = States();
  auto apply = [](TMenuItem* item, const EntryState& state) {
    if (!item) return;
    item->SetVisible(state.visible);
    item->SetEnabled(state.enabled);
  };
  apply(restore_, s.restore);
  apply(move_, s.move);
  apply(size_, s.size);
  apply(minimize_, s.minimize);
  apply(maximize_, s.maximize);
  apply(close_, s.close);
}

void TsSystemMenu::AddSkinChoice(TsSkinManager& manager) {
  TMenuItem* root = Items();
  if (root->Count() > 0 && root->Items(0)->Name() == kSkinChoiceName) root->Delete(0);
  TStringList names;
  manager.ListSkins(names, 2);
  if (names.Count() == 0) return;
  TMenuItem* choice = root->Insert(0, NewItem(kSkinChoiceCaption, kSkinChoiceName));
  // One separator after it: the one left from an earlier showing, or a new one.
  if (root->Count() > 1 && root->Items(1)->IsSeparator()) root->Items(1)->SetVisible(true);
  else root->Insert(1, NewItem(L"-"));
  for (int i = 0; i < names.Count(); ++i) {
    TMenuItem* skin = choice->Add(NewItem(names.Strings(i), kSkinChoiceName + std::to_wstring(i)));
    skin->SetRadioItem(true);
    skin->SetChecked(names.Strings(i) == manager.SkinName());
    skin->SetBreak(menu_metrics::SkinEntryStartsColumn(i));
    skin->OnClick = [&manager](TMenuItem& chosen) { manager.SetSkinName(menu_metrics::SkinNameOfEntry(chosen.Caption())); };
  }
}

void TsSystemMenu::Show(int x, int y, TsSkinManager* skins) {
  HWND window = Window();
  if (!window) return;
  UpdateItems(customCount_ > 0);
  if (skins && Items()->Count() > 0) AddSkinChoice(*skins);
  TsSkinableMenus::Instance().SkinPopupMenu(*this, true);
  Popup(window, x, y);
}
