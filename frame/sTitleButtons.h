// The application's own title buttons of a skinned form (the provider's TitleButtons): each has
// a glyph, a hint shown while the mouse is over it, enabled and visible switches, and mouse
// events. The provider lays them out left of the system buttons, draws them in its frame and
// raises their events; this file holds the buttons themselves and their hint window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "framework/Collection.h"
#include "framework/Control.h"
#include "framework/Handles.h"
#include "framework/HintWindow.h"
#include "pixel/Bitmap.h"

class TsTitleButton : public TCollectionItem {
 public:
  explicit TsTitleButton(TCollection* collection);
  ~TsTitleButton() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // The display name (the class name until one is given).
  const std::wstring& Name() const { return name_; }
  void SetName(const std::wstring& value) { name_ = value; }
  std::wstring DisplayName() const override { return name_; }
  // The picture on the button; a copy of the given one is kept. A 32-bit glyph is blended by its
  // alpha, any other has its bottom-left pixel's colour as transparent colour.
  const Bitmap& Glyph() const { return glyph_; }
  void SetGlyph(const Bitmap& value);
  const std::wstring& Hint() const { return hint_; }
  void SetHint(const std::wstring& value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  // An invisible button is neither drawn nor hit, but keeps its room in the caption's limit.
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  // The skin's TITLEBUTTON picture lies behind the glyph.
  bool UseSkinData() const { return useSkinData_; }
  void SetUseSkinData(bool value);

  // Raised once per press, and on a release over the button; X and Y are screen coordinates.
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;

  // Draws the glyph with its top-left corner at `at` (clipped to the target).
  void PaintGlyph(Bitmap& target, Point at) const;

  // Copies the enabled state, glyph, hint, name, skin use and both events of another button.
  void Assign(const TPersistent& source) override;

  // The hint window (shown while the button is hot): placed at `cursor` + (8, 16), moved back
  // inside `bounds` (the form on the screen); nothing without a hint.
  void ShowHint(POINT cursor, const RECT& bounds);
  void HideHint();
  HWND HintWindow() const { return hintWindow_.Handle(); }

 private:
  void Changed();
  std::wstring name_ = L"TsTitleButton";
  Bitmap glyph_;
  std::wstring hint_;
  bool enabled_ = true;
  bool visible_ = true;
  bool useSkinData_ = true;
  THintWindow hintWindow_;
};

class TsTitleButtons : public TCollection {
 public:
  // `changed`: a button was added, removed or changed how the frame looks.
  explicit TsTitleButtons(std::function<void()> changed = {});
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  TsTitleButton* Add() { return static_cast<TsTitleButton*>(TCollection::Add()); }
  TsTitleButton* Items(int index) const { return static_cast<TsTitleButton*>(TCollection::Items(index)); }
  void HideHints();
  // A button's look or room changed.
  void ItemChanged() {
    if (changed_) changed_();
  }

 protected:
  void Update() override { ItemChanged(); }

 private:
  std::function<void()> changed_;
};
