// See vlCtrlAdapter.h.
#include "adapters/vlCtrlAdapter.h"

#include <algorithm>

#include "adapters/vlEditWnd.h"
#include "framework/Control.h"
#include "framework/StringList.h"
#include "paint/BackgroundExchange.h"
#include "skin/sSkinManager.h"

namespace {

// The library's own auxiliary windows carry this tag and are never adapted.
constexpr int kLibraryWindowTag = -98;
constexpr int kAdaptedControlKind = 227;

bool Usable(TWinControl* control) {
  return control && control->Tag() != kLibraryWindowTag && control->HandleAllocated() && control->Parent() &&
         !control->IsDestroying();
}

}  // namespace

// ---------------------------------------------------------------------------------------------

TvlAdapterItem::TvlAdapterItem(TvlCtrlAdapter& adapter, TWinControl* control)
    : adapter_(adapter), control_(control), skinData_(control, kAdaptedControlKind) {}

TvlAdapterItem::~TvlAdapterItem() { Unhook(); }

bool TvlAdapterItem::DoHook(TWinControl* control) {
  if (!Usable(control) || IsSkinAware(control)) return false;
  AdapterKind kind = adapter_.KindFor(control);
  if (kind == AdapterKind::None) return false;
  HWND window = control->Handle();
  std::string section = skinData_.SkinSection();
  // A list view listed among the edits still needs the list view's thumb tracking (it cannot
  // be told a position through its scroll state) and gets its column header skinned.
  if (kind == AdapterKind::ListView || TvlListViewWnd::IsListView(window))
    wnd_ = std::make_unique<TvlListViewWnd>(window, &skinData_, section);
  else
    wnd_ = std::make_unique<TvlEditWnd>(window, &skinData_, section);
  if (!wnd_->Attach()) {
    wnd_.reset();
    return false;
  }
  wnd_->OnWindowGone = [this] { adapter_.WindowGone(); };
  return true;
}

void TvlAdapterItem::Unhook() {
  if (wnd_) wnd_->Detach();
  wnd_.reset();
}

// ---------------------------------------------------------------------------------------------

TvlCtrlAdapter::~TvlCtrlAdapter() { RemoveAllItems(); }

AdapterKind TvlCtrlAdapter::KindFor(TWinControl* control) const {
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  if (!manager || !control) return AdapterKind::None;
  auto listed = [manager](int index, std::wstring_view name) {
    const TStringList* list = manager->ThirdLists(index);
    for (int i = 0; list && i < list->Count(); ++i)
      if (list->Strings(i) == name) return true;
    return false;
  };
  int index = ChooseAdapterList(control->ClassName(), tpCount, listed);
  return index < 0 ? AdapterKind::None : AdapterKindOfList(index);
}

bool TvlCtrlAdapter::IsControlSupported(TWinControl* control) const {
  return Usable(control) && !IsSkinAware(control) && KindFor(control) != AdapterKind::None;
}

TvlAdapterItem* TvlCtrlAdapter::ItemOf(TWinControl* control) const {
  for (const auto& item : items_)
    if (item->Control() == control) return item.get();
  return nullptr;
}

int TvlCtrlAdapter::AddNewItem(TWinControl* control, const std::string& section) {
  if (!Usable(control)) return -1;
  TvlAdapterItem* item = ItemOf(control);
  if (item && item->Wnd() && !item->Wnd()->Unhooked()) return static_cast<int>(
      std::find_if(items_.begin(), items_.end(), [&](const auto& i) { return i.get() == item; }) - items_.begin());
  if (IsSkinAware(control)) return -1;
  if (!item) {
    items_.push_back(std::make_unique<TvlAdapterItem>(*this, control));
    item = items_.back().get();
  }
  if (!section.empty()) item->SkinData().SetSkinSection(section);
  item->Unhook();
  int index = static_cast<int>(std::find_if(items_.begin(), items_.end(), [&](const auto& i) { return i.get() == item; }) -
                               items_.begin());
  if (!item->DoHook(control)) {
    RemoveItem(index);
    return -1;
  }
  return index;
}

void TvlCtrlAdapter::RemoveItem(int index) {
  if (index < 0 || index >= ItemCount()) return;
  std::unique_ptr<TvlAdapterItem> gone = std::move(items_[static_cast<size_t>(index)]);
  items_[static_cast<size_t>(index)] = std::move(items_.back());
  items_.pop_back();
  gone.reset();
}

void TvlCtrlAdapter::RemoveAllItems() {
  while (!items_.empty()) RemoveItem(ItemCount() - 1);
}

void TvlCtrlAdapter::DropDetached() {
  for (int i = ItemCount() - 1; i >= 0; --i) {
    TvlAdapterItem* item = GetItem(i);
    if (!item->Wnd() || item->Wnd()->Unhooked()) RemoveItem(i);
  }
}

void TvlCtrlAdapter::AddAllItems(TWinControl* root) {
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  if (!root || scanning_ || !manager || !manager->SkinningRules().Has(TvlSkinningRule::srThirdParty)) return;
  scanning_ = true;
  DropDetached();
  Scan(root);
  scanning_ = false;
}

void TvlCtrlAdapter::Scan(TWinControl* root) {
  auto visit = [this](TWinControl* control) {
    if (!control) return;
    if (IsControlSupported(control)) AddNewItem(control, "");
    if (control->HandleAllocated() && control->Parent()) Scan(control);
  };
  for (int i = 0; i < root->ComponentCount(); ++i) visit(dynamic_cast<TWinControl*>(root->Components(i)));
  for (int i = 0; i < root->ControlCount(); ++i) {
    auto* control = dynamic_cast<TWinControl*>(root->Controls(i));
    // Owned components were visited above.
    if (control && control->Owner() != root) visit(control);
  }
}

void TvlCtrlAdapter::BroadcastToItems(UINT msg, WPARAM wParam, LPARAM lParam) {
  for (const auto& item : items_)
    if (item->Wnd() && !item->Wnd()->Unhooked()) SendMessageW(item->Wnd()->WindowHandle(), msg, wParam, lParam);
}
