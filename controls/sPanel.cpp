// See sPanel.h.
#include "controls/sPanel.h"

#include "framework/Application.h"
#include "paint/BackgroundExchange.h"
#include "paint/SkinPainters.h"
#include "paint/SkinTextWriter.h"
#include "skin/sSkinManager.h"

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

TsPanel::TsPanel(TComponent* owner) : TsSkinnedControl<TCustomControl>(owner, ekPanel) { SetBounds(0, 0, 185, 41); }

void TsPanel::SetBevelOuter(TPanelBevel value) {
  if (value == bevelOuter_) return;
  bevelOuter_ = value;
  AlignControls();
  skinData_.InvalidateCache();
}

void TsPanel::SetBevelInner(TPanelBevel value) {
  if (value == bevelInner_) return;
  bevelInner_ = value;
  AlignControls();
  skinData_.InvalidateCache();
}

void TsPanel::SetBevelWidth(int value) {
  if (value == bevelWidth_) return;
  bevelWidth_ = value;
  AlignControls();
  skinData_.InvalidateCache();
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

void TsPanel::TextChanged() { skinData_.InvalidateCache(); }

void TsPanel::PaintCaption(HDC dc, const Rect& area) {
  if (Caption().empty()) return;
  SelectedObject font(dc, Font()->Handle());
  SIZE size{};
  GetTextExtentPoint32W(dc, L"W", 1, &size);
  // Centred in the whole panel vertically; left and right from the caption area.
  int top = (Height() - size.cy) / 2;
  Rect r{area.left, top, area.right, top + size.cy};
  uint32_t format = DT_CENTER | DT_SINGLELINE | DT_VCENTER;
  if (skinData_.IsSkinned()) {
    WriteSkinText(dc, Caption(), Enabled(), false, skinData_, format, r);
  } else {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
    RECT rr{r.left, r.top, r.right, r.bottom};
    DrawTextW(dc, Caption().c_str(), -1, &rr, format);
  }
}

void TsPanel::PrepareCachedImage() {
  skinData_.PrepareCache();
  if (!skinData_.Cache) return;
  ++cacheBuilds_;
  Bitmap& cache = skinData_.Cache.Pixels();
  PaintControlOverParent(skinData_, skinData_.ControlType() == ekDragBar, true, cache, {Left(), Top()},
                         {0, 0, Width(), Height()}, 0);
  if (!Caption().empty()) {
    UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
    SelectedObject selected(memory.get(), skinData_.Cache.Handle());
    int b = BorderSize();
    PaintCaption(memory.get(), {b, b, Width() - b, Height() - b});
  }
  skinData_.CacheDirty = false;
  // Transparent children show this picture: theirs is stale now.
  PassToChildren(this, SkinCommandParam(scParentBackgroundChanged, 1), 0);
}

void TsPanel::PaintPlain(HDC dc) {
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
  PaintCaption(dc, {r.left, r.top, r.right, r.bottom});
}

void TsPanel::Paint(HDC dc) {
  if (!Showing() || !skinData_.IsSkinned(true)) {
    PaintPlain(dc);
    return;
  }
  // The framework paints into an off-screen buffer that goes to the screen whole, so the cache
  // is copied whole too; the children's windows clip themselves.
  skinData_.PaintLocked = skinData_.IsPaintLocked();
  if (!skinData_.PaintLocked) {
    bool rebuild = skinData_.CacheDirty || skinData_.CachePartial || !skinData_.Cache;
    skinData_.CachePartial = false;
    if (rebuild && !skinData_.PaintSuspended) PrepareCachedImage();
  }
  if (skinData_.Cache) {
    CopyBitmapToDc(dc, 0, 0, skinData_.Cache.Handle(), {0, 0, Width(), Height()});
  } else {
    RECT r{0, 0, Width(), Height()};
    UniqueBrush brush(CreateSolidBrush(ColorToRGB(skinData_.BackgroundColor(false))));
    FillRect(dc, &r, brush.get());
  }
}

bool TsPanel::SkinMessage(TMessage& m) {
  if (m.Msg == SM_LACQUERCMD) {
    uint16_t command = SkinCommandOf(m.WParam);
    bool ours = reinterpret_cast<TsSkinManager*>(m.LParam) == skinData_.SkinManager();
    switch (command) {
      case scSkinApplied:
        if (ours) skinData_.HandleCommonMessage(m);
        PassToChildren(this, m.WParam, m.LParam);
        skinData_.InvalidateCache();
        return true;
      case scSkinRemoved:
        if (ours) skinData_.HandleCommonMessage(m);
        PassToChildren(this, m.WParam, m.LParam);
        Invalidate();
        return true;
      case scRefresh:
        if (ours) {
          skinData_.HandleCommonMessage(m);
          if (HandleAllocated() && !IsLoading())
            RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
        }
        PassToChildren(this, m.WParam, m.LParam);
        return true;
      case scFillBackgroundInfo:
        if (skinData_.CacheDirty && !skinData_.IsPaintLocked() && skinData_.IsSkinned()) PrepareCachedImage();
        if (m.LParam) FillBackgroundRequest(skinData_, *reinterpret_cast<TsBackgroundRequest*>(m.LParam), false);
        return true;
      case scIsRebuildingCache:
        m.Result = skinData_.IsPaintLocked() ? 1 : 0;
        return true;
      case scGetApplication:
        m.Result = reinterpret_cast<LRESULT>(Application);
        return true;
      default:
        return skinData_.HandleSkinCommand(m);
    }
  }
  if (!skinData_.IsSkinned(true)) return false;
  switch (m.Msg) {
    case WM_WINDOWPOSCHANGING: {
      const TsGeneralData* s = skinData_.Section();
      if (s && s->Transparency != 0) skinData_.CacheDirty = true;
      return false;
    }
    case CM_VISIBLECHANGED:
      skinData_.CacheDirty = true;
      skinData_.PaintLocked = false;
      return false;
    default:
      return false;
  }
}
