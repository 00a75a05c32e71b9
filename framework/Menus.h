// Menus as components: TMenuItem (a caption, a command, state flags, a click action and
// sub-items), TPopupMenu, which builds the platform's menu from its items for one showing,
// tracks it and runs the chosen item's click, and TMainMenu, a form's menu bar whose top items
// drop their sub-items down the same way. Owner-drawn menus ask each item's measure and draw
// handlers; the menu's messages reach them through a link in the owner window's subclass chain
// for the time the menu is shown.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Component.h"

class TPopupMenu;

class TMenuItem {
 public:
  using MeasureHandler = std::function<void(TMenuItem& item, HDC dc, int& width, int& height)>;
  // (item, device context, rectangle, ODS_* state flags, the platform menu that shows the item)
  using DrawHandler = std::function<void(TMenuItem& item, HDC dc, const RECT& rect, UINT state, HMENU menu)>;

  TMenuItem();
  ~TMenuItem();
  TMenuItem(const TMenuItem&) = delete;
  TMenuItem& operator=(const TMenuItem&) = delete;

  // The item of a serial number while it lives, else nullptr: a number that travelled through a
  // message is checked here before the item is used.
  static TMenuItem* FromSerial(uint32_t serial);
  uint32_t Serial() const { return serial_; }

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& value) { caption_ = value; }
  const std::wstring& Name() const { return name_; }
  void SetName(const std::wstring& value) { name_ = value; }
  int Tag() const { return tag_; }
  void SetTag(int value) { tag_ = value; }
  // The platform command identifier of the item while shown (0: one is chosen for it).
  UINT Command() const { return command_; }
  void SetCommand(UINT value) { command_ = value; }
  const std::wstring& ShortCutText() const { return shortcut_; }
  void SetShortCutText(const std::wstring& value) { shortcut_ = value; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  bool Visible() const { return visible_; }
  void SetVisible(bool value) { visible_ = value; }
  bool Checked() const { return checked_; }
  void SetChecked(bool value) { checked_ = value; }
  bool RadioItem() const { return radio_; }
  void SetRadioItem(bool value) { radio_ = value; }
  bool Default() const { return default_; }
  void SetDefault(bool value) { default_ = value; }
  // The item starts a new column.
  bool Break() const { return break_; }
  void SetBreak(bool value) { break_ = value; }
  bool IsSeparator() const { return caption_ == L"-"; }

  std::function<void(TMenuItem& item)> OnClick;
  MeasureHandler OnMeasureItem;
  DrawHandler OnAdvancedDrawItem;
  // Who set the two owner-draw handlers (a painter clears them only where they are its own).
  const void* HandlersOwner = nullptr;

  TMenuItem* Parent() const { return parent_; }
  // The menu whose tree holds this item, or nullptr.
  TPopupMenu* Menu() const;
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(static_cast<size_t>(index)).get(); }
  int IndexOf(const TMenuItem* item) const;
  TMenuItem* Add(std::unique_ptr<TMenuItem> item);
  TMenuItem* Insert(int index, std::unique_ptr<TMenuItem> item);
  void Delete(int index);
  void Clear();
  // The first visible item, or nullptr.
  TMenuItem* FirstVisible() const;
  void Click();

 private:
  friend class TPopupMenu;
  uint32_t serial_;
  std::wstring caption_;
  std::wstring name_;
  int tag_ = 0;
  UINT command_ = 0;
  std::wstring shortcut_;
  bool enabled_ = true;
  bool visible_ = true;
  bool checked_ = false;
  bool radio_ = false;
  bool default_ = false;
  bool break_ = false;
  TMenuItem* parent_ = nullptr;  // borrowed: the item that owns this one
  TPopupMenu* menu_ = nullptr;   // borrowed: set on the root item only
  std::vector<std::unique_ptr<TMenuItem>> items_;
};

class TPopupMenu : public TComponent {
 public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  TMenuItem* Items() const { return items_.get(); }
  // The items are drawn by their handlers (the platform asks the owner window to measure and
  // draw them).
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool value) { ownerDraw_ = value; }

  // Shows the menu at a screen point; `owner` receives the menu's messages. Returns when the
  // menu closes, after running the chosen item's click (true), or without a choice (false).
  bool Popup(HWND owner, int x, int y);
  // The platform's menu while the menu is shown, else nullptr.
  HMENU Handle() const { return handle_; }
  // The item that a platform menu entry stands for while the menu is shown (by the entry's
  // item data), or nullptr.
  TMenuItem* ItemOfData(ULONG_PTR data) const;

  // Raised after the menu closed, before the chosen item's click.
  std::function<void(TPopupMenu& menu)> OnClosed;
  // The item whose sub-items the shown platform menu holds (the root item for Popup), or nullptr.
  const TMenuItem* ShownRoot() const { return shownRoot_; }

 protected:
  // Shows the sub-items of `root` (an item of this menu) as Popup does.
  bool Track(const TMenuItem& root, HWND owner, int x, int y);
  // The shown menu closed (before OnClosed and the chosen item's click).
  virtual void Closed() {}

 private:
  HMENU Build(const TMenuItem& parent, std::vector<std::pair<UINT, uint32_t>>& commands, UINT& nextCommand);
  bool HandleOwnerMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

  std::unique_ptr<TMenuItem> items_;
  bool ownerDraw_ = false;
  HMENU handle_ = nullptr;  // borrowed from the showing's wrapper
  const TMenuItem* shownRoot_ = nullptr;
};

// A form's main menu: its top items stand in the form's menu bar (laid out and painted by the
// form's frame); the sub-items of one top item drop down as a pop-up menu of this menu.
class TMainMenu : public TPopupMenu {
 public:
  explicit TMainMenu(TComponent* owner);
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // Drops the sub-items of top item `index` down from a screen point (`owner` receives the
  // menu's messages); returns as Popup does. False for an index without sub-items.
  bool DropDown(int index, HWND owner, int x, int y);
  // The top item whose drop-down is shown, or -1.
  int DroppedIndex() const { return dropped_; }

 protected:
  void Closed() override;

 private:
  int dropped_ = -1;
};
