// See sPanel.h.
#include "controls/sPanel.h"

const TypeInfo& PanelBevelType() {
  static const TypeInfo t = MakeEnumType(L"TPanelBevel", {L"bvNone", L"bvLowered", L"bvRaised", L"bvSpace"});
  return t;
}

const ClassInfo& TsPanel::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TsPanel>(L"TsPanel", &TCustomControl::StaticClass())
          .Ordinal(L"BevelInner", PanelBevelType(), &TsPanel::BevelInner, &TsPanel::SetBevelInner)
          .Ordinal(L"BevelOuter", PanelBevelType(), &TsPanel::BevelOuter, &TsPanel::SetBevelOuter)
          .Integer(L"BevelWidth", &TsPanel::BevelWidth, &TsPanel::SetBevelWidth)
          .String(L"SkinSection", &TsPanel::SkinSection, &TsPanel::SetSkinSection)
          .Build());
  return info;
}

TsPanel::TsPanel(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 185, 41); }

void TsPanel::SetBevelOuter(TPanelBevel value) {
  if (value == bevelOuter_) return;
  bevelOuter_ = value;
  AlignControls();
  Invalidate();
}

void TsPanel::SetBevelInner(TPanelBevel value) {
  if (value == bevelInner_) return;
  bevelInner_ = value;
  AlignControls();
  Invalidate();
}

void TsPanel::SetBevelWidth(int value) {
  if (value == bevelWidth_) return;
  bevelWidth_ = value;
  AlignControls();
  Invalidate();
}

int TsPanel::BorderSize() const {
  int size = 0;
  if (bevelOuter_ != TPanelBevel::bvNone) size += bevelWidth_;
  if (bevelInner_ != TPanelBevel::bvNone) size += bevelWidth_;
  return size;
}

Rect TsPanel::ClientRect() const {
  // Aligned children stay inside the bevels.
  Rect r = TCustomControl::ClientRect();
  int b = BorderSize();
  return {r.left + b, r.top + b, r.right - b, r.bottom - b};
}

void TsPanel::Paint(HDC dc) {
  Rect outer = TCustomControl::ClientRect();
  RECT r{0, 0, outer.Width(), outer.Height()};
  UniqueBrush brush(CreateSolidBrush(ColorToRGB(Color())));
  FillRect(dc, &r, brush.get());
  auto bevel = [&](TPanelBevel kind) {
    if (kind == TPanelBevel::bvNone) return;
    for (int i = 0; i < bevelWidth_; ++i) {
      if (kind == TPanelBevel::bvRaised) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
      else if (kind == TPanelBevel::bvLowered) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
      InflateRect(&r, -1, -1);
    }
  };
  bevel(bevelOuter_);
  bevel(bevelInner_);
  if (!Caption().empty()) {
    SelectedObject font(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
    DrawTextW(dc, Caption().c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}
