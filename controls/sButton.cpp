// See sButton.h.
#include "controls/sButton.h"

#include <algorithm>

#include "framework/Application.h"
#include "paint/AnimationFlag.h"
#include "paint/BackgroundExchange.h"
#include "paint/DisabledLook.h"
#include "paint/GlowWindows.h"
#include "paint/SkinPainters.h"
#include "paint/SkinTextWriter.h"
#include "skin/sSkinManager.h"

namespace {

// Set while a released button shows its pressed look for a moment (one button handles the
// mouse at a time).
bool pressedFlash = false;

bool TransparentPixel(const LoadedSkin& skin, const TsMaskData& item, int look, int x, int y) {
  const Bitmap& source = skin.ItemBitmap(item);
  int count = std::max<int>(1, item.ImageCount);
  int stateWidth = item.R.Width() / count;
  int sx = item.R.left + std::clamp(look, 0, count - 1) * stateWidth + x;
  int sy = item.R.top + y;
  if (item.MaskType > 0) {
    int my = sy + StateHeight(item);
    if (sx < 0 || my < 0 || sx >= source.Width() || my >= source.Height()) return false;
    return (source.GetPixel(sx, my) & 0xFFFFFF) == 0xFFFFFF;
  }
  if (sx < 0 || sy < 0 || sx >= source.Width() || sy >= source.Height()) return false;
  uint32_t p = source.GetPixel(sx, sy);
  return source.Format() == PixelFormat::pf32bit ? p == 0x00FF00FFu : (p & 0xFFFFFF) == 0xFF00FF;
}

}  // namespace

const ClassInfo& TsButton::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TsButton>(L"TsButton", &TWinControl::StaticClass())
          .String(L"SkinSection", &TsButton::SkinSection, &TsButton::SetSkinSection)
          .Boolean(L"ShowFocus", &TsButton::ShowFocus, &TsButton::SetShowFocus)
          .Boolean(L"Down", &TsButton::Down, &TsButton::SetDown)
          .Boolean(L"WordWrap", &TsButton::WordWrap, &TsButton::SetWordWrap)
          .Integer(L"FocusMargin", &TsButton::FocusMargin, &TsButton::SetFocusMargin)
          .Build());
  return info;
}

TsButton::TsButton(TComponent* owner) : TsSkinnedControl<TWinControl>(owner, ekButton) {
  SetTabStop(true);
  SetBounds(0, 0, 75, 25);
  skinData_.SetSkinSection("BUTTON");
}

TsButton::~TsButton() { StopFade(fadeTimer_); }

void TsButton::CreateParams(CreateParamsRecord& p) {
  TWinControl::CreateParams(p);
  p.superclassOf = L"BUTTON";
  p.style |= skinData_.IsSkinned(true) ? BS_OWNERDRAW : BS_PUSHBUTTON;
}

void TsButton::Click() { TWinControl::Click(); }

void TsButton::SetShowFocus(bool value) {
  if (value == showFocus_) return;
  showFocus_ = value;
  skinData_.InvalidateCache();
}

void TsButton::SetDown(bool value) {
  if (value == down_) return;
  down_ = value;
  if (!IsLoading()) skinData_.InvalidateCache();
}

void TsButton::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  if (!IsLoading()) skinData_.InvalidateCache();
}

void TsButton::SetDisabledKind(TsDisabledKinds value) {
  if (value == disabledKind_) return;
  disabledKind_ = value;
  if (!IsLoading()) skinData_.InvalidateCache();
}

bool TsButton::Skinned() const { return HandleAllocated() && skinData_.IsSkinned(true); }

int TsButton::CurrentLook() const {
  if (down_) return 2;
  HWND window = HandleAllocated() ? const_cast<TsButton*>(this)->Handle() : nullptr;
  bool pushed = window && (SendMessageW(window, BM_GETSTATE, 0, 0) & BST_PUSHED) && pressStarted_;
  if (pushed || pressedFlash) {
    bool held = (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
    if (skinData_.MouseAbove || !held) return 2;
  }
  if (window && (GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return 1;
  return skinData_.IsHot() ? 1 : 0;
}

Rect TsButton::CaptionRect(int look) const {
  int tw = 0, th = 0;
  if (!Caption().empty()) {
    WindowDc screen(nullptr);
    SelectedObject font(screen.get(), Font()->Handle());
    RECT r{0, 0, std::max(0, Width() - 2), 0};
    UINT format = DT_CALCRECT | DT_CENTER | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextW(screen.get(), Caption().c_str(), -1, &r, format);
    tw = r.right - r.left;
    th = r.bottom - r.top;
  }
  int dx = (Width() - tw) / 2, dy = (Height() - th) / 2;
  Rect r{dx - 1, dy, Width() - dx + 2, Height() - dy};
  return look == 2 ? r.Offset(1, 1) : r;
}

UniqueRegion TsButton::BuildRegion(int look) const {
  UniqueRegion region(CreateRectRgn(0, 0, Width(), Height()));
  TsSkinManager* manager = skinData_.SkinManager();
  if (!manager || !manager->IsValidItem(skinData_.BorderItem)) return region;
  const LoadedSkin& skin = manager->Skin();
  const TsMaskData& item = skin.Items[static_cast<size_t>(skinData_.BorderItem)];
  int count = std::max<int>(1, item.ImageCount);
  int stateWidth = item.R.Width() / count, stateHeight = StateHeight(item);
  int w = Width(), h = Height();
  // The four corner areas of the button and where each starts in the state picture.
  struct Corner {
    int x, y, width, height, sx, sy;
  } corners[] = {
      {0, 0, item.WL, item.WT, 0, 0},
      {w - item.WR, 0, item.WR, item.WT, stateWidth - item.WR, 0},
      {0, h - item.WB, item.WL, item.WB, 0, stateHeight - item.WB},
      {w - item.WR, h - item.WB, item.WR, item.WB, stateWidth - item.WR, stateHeight - item.WB},
  };
  for (const Corner& c : corners) {
    for (int y = 0; y < c.height; ++y) {
      int run = -1;
      for (int x = 0; x <= c.width; ++x) {
        bool clear = x < c.width && TransparentPixel(skin, item, look, c.sx + x, c.sy + y);
        if (clear && run < 0) run = x;
        if (!clear && run >= 0) {
          UniqueRegion cut(CreateRectRgn(c.x + run, c.y + y, c.x + x, c.y + y + 1));
          CombineRgn(region.get(), region.get(), cut.get(), RGN_DIFF);
          run = -1;
        }
      }
    }
  }
  return region;
}

void TsButton::PrepareImage() {
  TsBackgroundRequest request;
  TsBackgroundRef background = ParentBackgroundOf(this, request);
  skinData_.PrepareCache();
  if (!skinData_.Cache) return;
  Bitmap& cache = skinData_.Cache.Pixels();
  int look = CurrentLook();
  PaintControlBackground(skinData_, background, look, cache, {Left(), Top()}, {0, 0, Width(), Height()});
  // A replaced pending region is freed here.
  pendingRegion_ = BuildRegion(look);

  UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
  {
    SelectedObject selected(memory.get(), skinData_.Cache.Handle());
    uint32_t format = DT_CENTER | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE);
    WriteSkinText(memory.get(), Caption(), Enabled(), look != 0, skinData_, format, CaptionRect(look));
  }
  const TsGeneralData* s = skinData_.Section();
  bool focused = HandleAllocated() && GetFocus() == Handle();
  if (Enabled() && focused && !Caption().empty() && s && s->ShowFocus && showFocus_) {
    Rect r = CaptionRect(look);
    r = {r.left - focusMargin_, r.top - focusMargin_, r.right + focusMargin_, r.bottom + focusMargin_};
    auto put = [&](int x, int y, uint32_t colour) {
      if (x >= 0 && y >= 0 && x < cache.Width() && y < cache.Height()) cache.SetPixel(x, y, colour);
    };
    for (int i = 0; i <= r.Width() / 3; ++i) {
      put(r.left + 3 * i, r.top, 0);
      put(r.left + 3 * i, r.bottom, 0);
      put(r.left + 3 * i - 1, r.top - 1, 0xFFFFFF);
      put(r.left + 3 * i - 1, r.bottom - 1, 0xFFFFFF);
    }
    for (int j = 0; j <= r.Height() / 3; ++j) {
      put(r.left, r.top + 3 * j, 0);
      put(r.right, r.top + 3 * j, 0);
      put(r.left - 1, r.top + 3 * j - 1, 0xFFFFFF);
      put(r.right - 1, r.top + 3 * j - 1, 0xFFFFFF);
    }
  }
  if (!Enabled()) {
    unsigned flags = 0;
    if (disabledKind_.Has(TsDisabledKind::dkGrayed)) flags |= dlGrey;
    if (disabledKind_.Has(TsDisabledKind::dkBlended)) flags |= dlBlended;
    ApplyDisabledLook(cache, flags, ParentBackgroundColor(this), {Left(), Top()}, background);
  }
  skinData_.CacheDirty = false;
}

void TsButton::PaintButton(HDC dc) {
  skinData_.PaintLocked = skinData_.IsPaintLocked();
  if (skinData_.PaintLocked) return;
  if (fadeTimer_ && fadeTimer_->Fade.Direction != 0 && fadeTimer_->Fade.Steps > 0) return;  // the timer paints
  if (TWinControl* parent = Parent()) {
    Rect client = parent->ClientRect();
    Rect b = BoundsRect();
    skinData_.CachePartial = b.left < 0 || b.top < 0 || b.right > client.right || b.bottom > client.bottom;
  }
  // A clean cache is copied as it is; every change of look marks it dirty.
  bool rebuild = skinData_.CacheDirty || !skinData_.Cache;
  if (rebuild) PrepareImage();
  if (!skinData_.Cache) return;
  if (rebuild) RestoreCorners(skinData_, CurrentLook());
  if (pendingRegion_ && HandleAllocated()) {
    UniqueRegion current(CreateRectRgn(0, 0, 0, 0));
    bool same = GetWindowRgn(Handle(), current.get()) != ERROR && EqualRgn(current.get(), pendingRegion_.get());
    if (same) {
      pendingRegion_.reset();
    } else {
      // The first shape comes with the first paint, which is drawing the button right now: only
      // the cut corners need drawing again, by the parent, which left the whole rectangle to the
      // button when it painted.
      UniqueRegion corners;
      if (!regionSet_ && !TsSkinManager::SkinLoading() && Parent() && Parent()->HandleAllocated()) {
        corners.reset(CreateRectRgn(0, 0, Width(), Height()));
        CombineRgn(corners.get(), corners.get(), pendingRegion_.get(), RGN_DIFF);
        OffsetRgn(corners.get(), Left(), Top());
      }
      const bool redraw = !corners && (!regionSet_ || TsSkinManager::SkinLoading());
      // The window owns the region from here on.
      SetWindowRgn(Handle(), pendingRegion_.release(), redraw);
      if (corners) InvalidateRgn(Parent()->Handle(), corners.get(), TRUE);
      Rect now = BoundsRect();
      if (regionSet_ && (now.Width() < regionBounds_.Width() || now.Height() < regionBounds_.Height()) && Parent() &&
          Parent()->HandleAllocated()) {
        // The corners the old, larger shape covered show the parent again.
        RECT old{regionBounds_.left, regionBounds_.top, regionBounds_.right, regionBounds_.bottom};
        InvalidateRect(Parent()->Handle(), &old, TRUE);
      }
      regionBounds_ = now;
      regionSet_ = true;
    }
  }
  CopyBitmapToDc(dc, 0, 0, skinData_.Cache.Handle(), {0, 0, Width(), Height()});
}

void TsButton::EnabledChanged() {
  // A disabled button shows its dimmed look at once; a running fade ends.
  StopFade(fadeTimer_);
  skinData_.PaintLocked = false;
  TsSkinnedControl<TWinControl>::EnabledChanged();
  skinData_.InvalidateCache();
}

void TsButton::TextChanged() {
  TsSkinnedControl<TWinControl>::TextChanged();
  skinData_.InvalidateCache();
}

void TsButton::Repaint() {
  if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TsButton::SetOwnerDraw(bool on) {
  if (!HandleAllocated()) return;
  LONG style = GetWindowLongW(Handle(), GWL_STYLE) & ~BS_TYPEMASK;
  SendMessageW(Handle(), BM_SETSTYLE, static_cast<WPARAM>(style | (on ? BS_OWNERDRAW : BS_PUSHBUTTON)), TRUE);
}

void TsButton::MouseDownSkinned() {
  skinData_.PaintLocked = false;
  pressStarted_ = true;
  if (down_) return;
  skinData_.PaintLocked = skinData_.IsPaintLocked();
  skinData_.CacheDirty = false;
  ShowStateChange(fadeTimer_, skinData_, true, 1, ShouldAnimate(TvlAnimatEvent::aeMouseDown, animatEvents_));
}

void TsButton::MouseUpSkinned() {
  pressStarted_ = false;
  if (fadeTimer_) {
    // A press fade still running: the pressed look shows for a moment before fading back.
    StopFade(fadeTimer_);
    skinData_.CacheDirty = true;
    pressedFlash = true;
    Repaint();
    pressedFlash = false;
    Sleep(30);
  }
  skinData_.PaintLocked = false;
  skinData_.CacheDirty = false;
  ShowStateChange(fadeTimer_, skinData_, true, 1, ShouldAnimate(TvlAnimatEvent::aeMouseUp, animatEvents_));
}

bool TsButton::SkinMessage(TMessage& m) {
  if (m.Msg == SM_LACQUERCMD) {
    uint16_t command = SkinCommandOf(m.WParam);
    bool ours = reinterpret_cast<TsSkinManager*>(m.LParam) == skinData_.SkinManager();
    switch (command) {
      case scSkinApplied:
        if (!ours) return false;
        SetOwnerDraw(true);
        StopFade(fadeTimer_);
        skinData_.HandleCommonMessage(m);
        Repaint();
        return true;
      case scSkinRemoved:
        if (!ours || IsDestroying()) return false;
        StopFade(fadeTimer_);
        skinData_.HandleCommonMessage(m);
        SetOwnerDraw(false);
        pendingRegion_.reset();
        if (HandleAllocated()) SetWindowRgn(Handle(), nullptr, TRUE);
        regionSet_ = false;
        Repaint();
        return true;
      case scRefresh:
        if (!ours) return false;
        StopFade(fadeTimer_);
        skinData_.HandleCommonMessage(m);
        Repaint();
        return true;
      case scIsSkinAware:
        m.Result = 1;
        return true;
      case scPaintFinished:
        // The parent has its picture again: a paint postponed while it was rebuilding runs now.
        if (!Skinned() || !skinData_.PaintLocked) return true;
        skinData_.PaintLocked = false;
        if (!skinData_.IsPaintLocked()) Repaint();
        return true;
      case scFadeOver:
        StopFade(fadeTimer_);
        return true;
      case scPrepareImage:
        PrepareImage();
        RestoreCorners(skinData_, CurrentLook());
        return true;
      case scFadeFrame:
        pendingRegion_.reset();
        m.Result = 0;
        return true;
      case scGetApplication:
        m.Result = reinterpret_cast<LRESULT>(Application);
        return true;
      default:
        return false;
    }
  }
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED && Enabled()) Click();
    m.Result = 0;
    return true;
  }
  if (m.Msg == WM_TIMER && m.WParam == TsFadeTimer::kTimerId) {
    if (fadeTimer_) fadeTimer_->Tick();
    FreeRetiredFadeTimers();
    return true;
  }
  if (!Skinned()) return false;
  switch (m.Msg) {
    case WM_PAINT: {
      PaintDc dc(Handle());
      if (Parent() && !window_animation::Animating()) PaintButton(dc.get());
      m.Result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
    case WM_PRINT:
      skinData_.PaintLocked = false;
      PaintButton(reinterpret_cast<HDC>(m.WParam));
      return true;
    case WM_ERASEBKGND:
    case WM_UPDATEUISTATE:
      m.Result = 1;
      return true;
    case WM_ENABLE:
      return true;
    case WM_LBUTTONDBLCLK:
      // An owner-drawn button turns a double click into a notice of its own: it is a press here.
      m.Msg = WM_LBUTTONDOWN;
      [[fallthrough]];
    case WM_LBUTTONDOWN:
      if (!Enabled()) return false;
      // The platform presses the button first.
      skinData_.HandleCommonMessage(m);
      TWinControl::WndProc(m);
      MouseDownSkinned();
      return true;
    case WM_LBUTTONUP:
      if (!Enabled() || !pressStarted_) return false;
      MouseUpSkinned();
      return false;
    case WM_MOVE: {
      const TsGeneralData* s = skinData_.Section();
      if (s && (s->Transparency > 0 || (s->HotTransparency > 0 && skinData_.IsHot()))) {
        skinData_.CacheDirty = true;
        Invalidate();
      }
      return false;
    }
    case WM_SIZE:
      RemoveAllGlowWindows();
      skinData_.GlowId = -1;
      return false;
    case WM_SETFOCUS:
      skinData_.Focused = true;
      skinData_.InvalidateCache();
      return false;
    case WM_KILLFOCUS:
      StopFade(fadeTimer_);
      skinData_.Focused = false;
      skinData_.InvalidateCache();
      return false;
    case WM_WINDOWPOSCHANGED:
      skinData_.CacheDirty = true;
      return false;
    case CM_MOUSEENTER:
      if (!Enabled() || skinData_.MouseAbove) return false;
      skinData_.MouseAbove = true;
      skinData_.CacheDirty = false;
      ShowStateChange(fadeTimer_, skinData_, false, 1, ShouldAnimate(TvlAnimatEvent::aeMouseEnter, animatEvents_));
      return false;
    case CM_MOUSELEAVE:
      if (!Enabled()) return false;
      skinData_.MouseAbove = false;
      skinData_.CacheDirty = false;
      ShowStateChange(fadeTimer_, skinData_, false, 1, ShouldAnimate(TvlAnimatEvent::aeMouseLeave, animatEvents_));
      return false;
    case CN_DRAWITEM:
      // The platform button changed its state (pressed, focused): its look is built here.
      skinData_.CacheDirty = true;
      InvalidateRect(Handle(), nullptr, FALSE);
      m.Result = 1;
      return true;
    default:
      return false;
  }
}
