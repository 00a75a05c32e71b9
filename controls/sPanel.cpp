// See sPanel.h.
#include "controls/sPanel.h"

#include "framework/Application.h"
#include "paint/AnimationFlag.h"
#include "paint/BackgroundExchange.h"
#include "paint/ImageItems.h"
#include "paint/PieceCopy.h"
#include "pixel/BitmapBlend.h"
#include "pixel/ColorMath.h"
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

TsPanel::TsPanel(TComponent* owner) : TsPanel(owner, ekPanel) {}

TsPanel::TsPanel(TComponent* owner, int kind) : TsSkinnedControl<TCustomControl>(owner, kind) {
  SetBounds(0, 0, 185, 41);
}

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
  if (UsesCache()) PaintCached(dc);
  else PaintSkinnedPlain(dc);
}

bool TsPanel::UsesCache() const {
  return (skinData_.NeedsSkinPaint() && !skinData_.CustomColor()) || TsSkinManager::SkinChanging();
}

void TsPanel::PaintCached(HDC dc) {
  // A locked panel shows its last picture until the lock ends (command 6 repaints it).
  skinData_.PaintLocked = skinData_.IsPaintLocked();
  if (!skinData_.PaintLocked) {
    bool rebuild = skinData_.CacheDirty || skinData_.CachePartial || !skinData_.Cache;
    skinData_.CachePartial = false;
    if (rebuild && !skinData_.PaintSuspended) PrepareCachedImage();
  }
  if (skinData_.Cache) {
    // Straight to the screen, where the window's clip leaves out the children's windows as
    // far as their regions reach (a button's cut corners show the panel), or into the
    // framework's off-screen buffer, which goes to the screen whole.
    CopyBitmapToDc(dc, 0, 0, skinData_.Cache.Handle(), {0, 0, Width(), Height()});
  } else {
    RECT r{0, 0, Width(), Height()};
    UniqueBrush brush(CreateSolidBrush(ColorToRGB(skinData_.BackgroundColor(false))));
    FillRect(dc, &r, brush.get());
  }
}

void TsPanel::PaintSkinnedPlain(HDC dc) {
  skinData_.PaintLocked = false;
  const TsGeneralData* s = skinData_.Section();
  TsSkinManager* manager = skinData_.SkinManager();
  int w = Width(), h = Height();
  if (!s || !manager || w <= 0 || h <= 0) return;
  TsBackgroundRequest request;
  if (skinData_.CustomColor()) {
    request.Kind = 1;
    request.Color = PlainColor(Color());
  } else {
    RequestParentBackground(request, Parent(), false);
  }
  bool parentPicture = !skinData_.CustomColor() && s->Transparency == 100 && request.Kind == 2 && request.Bitmap;
  if (parentPicture) {
    skinData_.PaintLocked = skinData_.IsPaintLocked();
    if (skinData_.PaintLocked) return;
  }
  TColor own = skinData_.CustomColor() ? PlainColor(Color()) : PlainColor(s->Color);
  TColor parentColour = request.Kind == 1 ? request.Color : ParentBackgroundColor(this);
  TColor colour = s->Transparency == 0     ? own
                  : s->Transparency >= 100 ? parentColour
                                           : MixColors(parentColour, own, s->Transparency / 100.0);
  // The picture is built once here and copied whole: the parent's pixels or the colour, with
  // the section's border over them.
  DibSection picture = DibSection::CreateBitmap24(w, h);
  if (!picture) return;
  Bitmap& pixels = picture.Pixels();
  TsBackgroundRef background{nullptr, 0, 0, colour, false};
  if (parentPicture) {
    background = BackgroundFromBitmap(*request.Bitmap, request.OffsetX + Left(), request.OffsetY + Top());
    CopyPiece(pixels, 0, 0, *request.Bitmap, Rect::FromSize(background.X, background.Y, w, h));
  } else {
    FillRectColor(pixels, pixels.Bounds(), colour);
  }
  if (skinData_.MaxBorderMargin() > 0)
    PaintBorderItem(&manager->Skin(), pixels, pixels.Bounds(), false, false, 0,
                    manager->Skin().Items[static_cast<size_t>(skinData_.BorderItem)], background);
  if (!Caption().empty()) {
    UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
    SelectedObject selected(memory.get(), picture.Handle());
    int b = BorderSize();
    PaintCaption(memory.get(), {b, b, w - b, h - b});
  }
  CopyBitmapToDc(dc, 0, 0, picture.Handle(), {0, 0, w, h});
}

void TsPanel::NotifyChildrenPainted() {
  for (int i = 0; i < ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(Controls(i));
    if (!child || child->IsDestroying() || !child->HandleAllocated() || !child->Showing()) continue;
    SendMessageW(child->Handle(), SM_LACQUERCMD, SkinCommandParam(scPaintFinished), 0);
  }
}

void TsPanel::PrintTo(HDC dc, LPARAM flags) {
  skinData_.PaintLocked = false;
  if (UsesCache()) {
    PrepareCachedImage();
    RestoreCorners(skinData_, 0);
  }
  TMessage print{WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), static_cast<LPARAM>(PRF_CLIENT)};
  TCustomControl::WndProc(print);
  if (!(flags & PRF_CHILDREN)) return;
  // Bottom of the z-order first, so the topmost child ends up on top.
  HWND last = GetWindow(Handle(), GW_CHILD);
  if (!last) return;
  for (HWND child = GetWindow(last, GW_HWNDLAST); child; child = GetWindow(child, GW_HWNDPREV)) {
    if (!IsWindowVisible(child)) continue;
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + r.left, origin.y + r.top, nullptr);
    SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags & ~PRF_CHECKVISIBLE);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
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
      case scPaintFinished:
        if (skinData_.PaintLocked && skinData_.IsSkinned(true)) {
          skinData_.PaintLocked = false;
          if (!skinData_.IsPaintLocked() && HandleAllocated())
            RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        }
        if (skinData_.IsSkinned(true)) NotifyChildrenPainted();
        return true;
      default:
        return skinData_.HandleSkinCommand(m);
    }
  }
  if (!skinData_.IsSkinned(true) || !HandleAllocated()) return false;
  switch (m.Msg) {
    case WM_PAINT:
      if (window_animation::Animating()) {
        PaintDc dc(Handle());  // the screen lies under an animation: nothing is painted there
        m.Result = 0;
        return true;
      }
      if (Showing() && UsesCache()) {
        PaintDc dc(Handle());
        PaintCached(dc.get());
        PaintControls(dc.get(), dc.PaintRect());
        m.Result = 0;
      } else {
        TCustomControl::WndProc(m);
      }
      // After the panel's own picture, children that waited for it may paint.
      NotifyChildrenPainted();
      return true;
    case WM_PRINT:
      PrintTo(reinterpret_cast<HDC>(m.WParam), m.LParam);
      m.Result = 0;
      return true;
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
