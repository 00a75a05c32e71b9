// TvlCtrlAdapter and TvlAdapterItem: the adapters of one skinned form. The form's provider asks
// the adapter to scan the form; every windowed control whose class is named in one of the skin
// manager's class-name lists (and that is not skin-aware itself) gets an item, and the item an
// adapter window of the class that list stands for. Removing the adapter gives every control
// its own look back.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "adapters/AdapterClassChoice.h"
#include "adapters/vlMainWnd.h"
#include "paint/sCommonData.h"

class TWinControl;
class TvlCtrlAdapter;

class TvlAdapterItem {
 public:
  TvlAdapterItem(TvlCtrlAdapter& adapter, TWinControl* control);
  TvlAdapterItem(const TvlAdapterItem&) = delete;
  TvlAdapterItem& operator=(const TvlAdapterItem&) = delete;
  ~TvlAdapterItem();

  TWinControl* Control() const { return control_; }
  TsCommonData& SkinData() { return skinData_; }
  TvlMainWnd* Wnd() const { return wnd_.get(); }
  TvlCtrlAdapter& Adapter() const { return adapter_; }
  // Attaches the adapter window the control's class calls for; false when none results.
  bool DoHook(TWinControl* control);
  // Gives the control back and forgets the adapter window.
  void Unhook();

 private:
  TvlCtrlAdapter& adapter_;  // borrowed: the owner
  TWinControl* control_;     // borrowed: the adapted control
  TsCommonData skinData_;
  std::unique_ptr<TvlMainWnd> wnd_;
};

class TvlCtrlAdapter {
 public:
  // `windowGone` hears of an adapted window's destruction (a control that makes its window again
  // is adapted by the next scan).
  explicit TvlCtrlAdapter(std::function<void()> windowGone = {}) : windowGone_(std::move(windowGone)) {}
  TvlCtrlAdapter(const TvlCtrlAdapter&) = delete;
  TvlCtrlAdapter& operator=(const TvlCtrlAdapter&) = delete;
  ~TvlCtrlAdapter();

  // Adds every supported control owned by or inside `root` (rescans drop detached items).
  void AddAllItems(TWinControl* root);
  // Adds one control (with the adapter's standard section); the index of its item or -1.
  int AddItem(TWinControl* control) { return AddNewItem(control, standardSection_); }
  int AddNewItem(TWinControl* control, const std::string& section);
  bool IsControlSupported(TWinControl* control) const;
  // The adapter kind the control's class name calls for (AdapterKind::None when unlisted).
  AdapterKind KindFor(TWinControl* control) const;
  // Detaches the item's window; the last item takes the freed place.
  void RemoveItem(int index);
  // Detaches every item.
  void RemoveAllItems();
  void BroadcastToItems(UINT msg, WPARAM wParam, LPARAM lParam);
  void WindowGone() const {
    if (windowGone_) windowGone_();
  }

  int ItemCount() const { return static_cast<int>(items_.size()); }
  TvlAdapterItem* GetItem(int index) const { return items_.at(static_cast<size_t>(index)).get(); }
  // The item of a control, or nullptr.
  TvlAdapterItem* ItemOf(TWinControl* control) const;

 private:
  void Scan(TWinControl* root);
  void DropDetached();

  std::vector<std::unique_ptr<TvlAdapterItem>> items_;
  std::string standardSection_;
  std::function<void()> windowGone_;
  bool scanning_ = false;  // a scan is running: messages sent during it start no other
};
