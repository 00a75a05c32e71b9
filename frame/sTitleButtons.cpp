// See sTitleButtons.h.
#include "frame/sTitleButtons.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// TsTitleButton

const ClassInfo& TsTitleButton::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TsTitleButton>(L"TsTitleButton", &TCollectionItem::StaticClass())
          .String(L"Name", &TsTitleButton::Name, &TsTitleButton::SetName)
          .String(L"Hint", &TsTitleButton::Hint, &TsTitleButton::SetHint)
          .Boolean(L"Enabled", &TsTitleButton::Enabled, &TsTitleButton::SetEnabled)
          .Boolean(L"Visible", &TsTitleButton::Visible, &TsTitleButton::SetVisible)
          .Boolean(L"UseSkinData", &TsTitleButton::UseSkinData, &TsTitleButton::SetUseSkinData)
          .Build());
  return info;
}

TsTitleButton::TsTitleButton(TCollection* collection) : TCollectionItem(collection) {}
TsTitleButton::~TsTitleButton() = default;

void TsTitleButton::Changed() {
  if (auto* buttons = dynamic_cast<TsTitleButtons*>(Collection())) buttons->ItemChanged();
}

void TsTitleButton::SetGlyph(const Bitmap& value) {
  glyph_ = value;  // a copy of its own: the caller may change or free its picture
  Changed();
}

void TsTitleButton::SetHint(const std::wstring& value) {
  hint_ = value;
  if (hint_.empty()) HideHint();
}

void TsTitleButton::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  if (!enabled_) HideHint();
  Changed();
}

void TsTitleButton::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  if (!visible_) HideHint();
  Changed();
}

void TsTitleButton::SetUseSkinData(bool value) {
  if (value == useSkinData_) return;
  useSkinData_ = value;
  Changed();
}

void TsTitleButton::PaintGlyph(Bitmap& target, Point at) const {
  if (glyph_.Empty() || target.Empty()) return;
  const int gb = glyph_.BytesPerPixel(), tb = target.BytesPerPixel();
  if (gb < 3 || tb < 3) return;
  const bool alpha = glyph_.Format() == PixelFormat::pf32bit;
  const uint8_t* keyPixel = glyph_.PixelAt(0, glyph_.Height() - 1);
  for (int y = 0; y < glyph_.Height(); ++y) {
    const int ty = at.y + y;
    if (ty < 0 || ty >= target.Height()) continue;
    for (int x = 0; x < glyph_.Width(); ++x) {
      const int tx = at.x + x;
      if (tx < 0 || tx >= target.Width()) continue;
      const uint8_t* s = glyph_.PixelAt(x, y);
      uint8_t* d = target.PixelAt(tx, ty);
      if (alpha) {
        const int a = s[3];
        for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>((s[c] * a + d[c] * (255 - a) + 127) / 255);
      } else if (s[0] != keyPixel[0] || s[1] != keyPixel[1] || s[2] != keyPixel[2]) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
      }
    }
  }
}

void TsTitleButton::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TsTitleButton*>(&source)) {
    if (other == this) return;
    enabled_ = other->enabled_;
    glyph_ = other->glyph_;
    hint_ = other->hint_;
    name_ = other->name_;
    useSkinData_ = other->useSkinData_;
    OnMouseDown = other->OnMouseDown;
    OnMouseUp = other->OnMouseUp;
    Changed();
    return;
  }
  TCollectionItem::Assign(source);
}

void TsTitleButton::ShowHint(POINT cursor, const RECT& bounds) {
  if (hint_.empty()) return;
  hintWindow_.Show(hint_, cursor, {8, 16}, bounds);
}

void TsTitleButton::HideHint() { hintWindow_.Hide(); }

// ---------------------------------------------------------------------------------------------
// TsTitleButtons

const ClassInfo& TsTitleButtons::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TsTitleButtons>(L"TsTitleButtons", &TCollection::StaticClass()).Build());
  return info;
}

TsTitleButtons::TsTitleButtons(std::function<void()> changed)
    : TCollection(TsTitleButton::StaticClass(), [](TCollection* c) { return std::make_unique<TsTitleButton>(c); }),
      changed_(std::move(changed)) {}

void TsTitleButtons::HideHints() {
  for (int i = 0; i < Count(); ++i) Items(i)->HideHint();
}
