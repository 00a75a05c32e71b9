// The skin state's answers to skin commands and to the platform messages that make its cache
// stale (members of TsCommonData).
#include "framework/Form.h"
#include "paint/BackgroundExchange.h"
#include "paint/GlowWindows.h"
#include "paint/sCommonData.h"
#include "pixel/ColorMath.h"
#include "skin/SkinCommands.h"
#include "skin/sSkinManager.h"

namespace {

void Redraw(TControl* control, HWND window, UINT flags) {
  if (auto* windowed = dynamic_cast<TWinControl*>(control); windowed && windowed->HandleAllocated())
    RedrawWindow(windowed->Handle(), nullptr, nullptr, flags);
  else if (control)
    control->Invalidate();
  else if (window)
    RedrawWindow(window, nullptr, nullptr, flags);
}

}  // namespace

bool TsCommonData::HandleSkinCommand(TMessage& m) {
  if (m.Msg != SM_LACQUERCMD) return false;
  uint16_t command = SkinCommandOf(m.WParam);
  uint16_t argument = SkinCommandArgument(m.WParam);
  TsSkinManager* manager = SkinManager();
  bool ours = reinterpret_cast<TsSkinManager*>(m.LParam) == manager;
  switch (command) {
    case scSkinApplied:
      if (ours) {
        ResolveIndexes();
        RecalcPlainFlag(false);
        PaintLocked = false;  // locked by a removal before: the new skin paints again
      }
      return true;
    case scSkinRemoved:
      if (ours) {
        if (manager_ && manager_->IsDestroying()) manager_ = nullptr;
        SectionIndex = BorderItem = TextureItem = HotTextureItem = -1;
        PaintLocked = true;
        DropCache();
        if (GlowId >= 0) {
          HideGlowWindow(GlowId);
          GlowId = -1;
        }
      }
      return true;
    case scRefresh:
      if (ours) {
        CacheDirty = true;
        PaintLocked = false;
        RecalcPlainFlag(false);
      }
      return true;
    case scIsSkinAware:
      m.Result = 1;
      return true;
    case scSetUpdating:
      PaintLocked = argument == 1;
      return true;
    case scSetPaintSuspended:
      PaintSuspended = argument == 1;
      return true;
    case scIsRebuildingCache:
      m.Result = (CacheDirty || PaintLocked) ? 1 : 0;
      return true;
    case scIsCachePartial:
      m.Result = CachePartial ? 1 : 0;
      return true;
    case scParentBackgroundChanged:
      if (SectionTransparent() && argument == 1) CacheDirty = true;
      return true;
    case scInvalidateCache:
      CacheDirty = true;
      return true;
    case scNeedsParentBackground: {
      const TsGeneralData* s = Section();
      if (!s) {
        m.Result = 0;
      } else if (s->Transparency == 100 && control_ && control_->Parent()) {
        TWinControl* parent = control_->Parent();
        m.Result = parent->HandleAllocated()
                       ? SendMessageW(parent->Handle(), SM_LACQUERCMD, SkinCommandParam(scNeedsParentBackground), 0)
                       : 0;
      } else {
        m.Result = (s->GradientPercent + s->ImagePercent > 0 || NeedsParentBackground()) ? 1 : 0;
      }
      return true;
    }
    case scMovedOrResized:
      if (NeedsParentBackground()) CacheDirty = true;
      if (argument == 1) Redraw(control_, window_, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_NOERASE);
      if (NeedsParentBackground()) {
        if (auto* windowed = dynamic_cast<TWinControl*>(control_))
          for (int i = 0; i < windowed->ControlCount(); ++i)
            windowed->Controls(i)->Perform(SM_LACQUERCMD, m.WParam, m.LParam);
      }
      return true;
    case scGetBackgroundColor: {
      if (!control_) return true;
      const TsGeneralData* s = Section();
      if (!IsSkinned() || !s) {
        m.Result = PlainColor(control_->Color());
      } else if (s->Transparency == 0) {
        m.Result = PlainColor(s->Color);
      } else if (s->Transparency >= 100) {
        m.Result = control_->Parent() ? ParentBackgroundColor(control_) : PlainColor(control_->Color());
      } else {
        m.Result = MixColors(ParentBackgroundColor(control_), s->Color, s->Transparency / 100.0);
      }
      return true;
    }
    case scMarkCachePartial:
      CachePartial = true;
      return true;
    case scGetSectionIndex:
      m.Result = SectionIndex + 1;
      return true;
    case scFillBackgroundInfo:
      if (m.LParam) FillBackgroundRequest(*this, *reinterpret_cast<TsBackgroundRequest*>(m.LParam), false);
      return true;
    case scTransparencyFlags:
      if (argument == 1) RecalcPlainFlag(true);
      else m.Result = Flags;
      return true;
    default:
      return false;
  }
}

bool TsCommonData::HandleCommonMessage(TMessage& m) {
  switch (m.Msg) {
    case SM_LACQUERCMD:
      return HandleSkinCommand(m);
    case WM_MOVE:
      if (NeedsParentBackground()) {
        CacheDirty = true;
        SendToSelf(scMovedOrResized, 1);
      }
      if (GlowId >= 0) {
        HideGlowWindow(GlowId);
        GlowId = -1;
      }
      return false;
    case WM_SIZE:
      if (IsSkinned()) {
        CacheDirty = true;
        // The picture is drawn for the whole size (borders stretch with it): the part that was
        // already showing is out of date too, not only the part the size change uncovered.
        control_->Invalidate();
        const TsGeneralData* s = Section();
        auto* windowed = dynamic_cast<TWinControl*>(control_);
        if (windowed && s && s->GradientPercent > 0)
          for (int i = 0; i < windowed->ControlCount(); ++i) {
            TControl* child = windowed->Controls(i);
            if (child->Align() != TAlign::alRight && child->Align() != TAlign::alBottom)
              child->Perform(SM_LACQUERCMD, SkinCommandParam(scMovedOrResized, 1), 0);
          }
      }
      if (GlowId >= 0) {
        HideGlowWindow(GlowId);
        GlowId = -1;
      }
      return false;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (dynamic_cast<TWinControl*>(control_)) {
        CacheDirty = true;
        Focused = m.Msg == WM_SETFOCUS;
      }
      return false;
    case CM_ENABLEDCHANGED:
      MouseAbove = false;
      Focused = false;
      if (control_ && !control_->Enabled() && GlowId >= 0) {
        HideGlowWindow(GlowId);
        GlowId = -1;
      }
      return false;
    case CM_VISIBLECHANGED:
      if (Cache) {
        if (control_ && control_->Visible()) {
          PaintLocked = false;
          CacheDirty = true;
        } else {
          DropCache();
        }
      }
      return false;
    case CM_MOUSEENTER:
      if (control_ && control_->IsDesigning()) return false;
      if (controlType_ > 255 || !IsPanelLikeKind(controlType_)) MouseAbove = true;
      if (HWND window = Window(); window && SkinManager()) SkinManager()->SetHotWindow(window);
      if (!IsNoGlowKind(controlType_) && (controlType_ < 92 || controlType_ > 94)) ShowGlow(false);
      if (IsEditLikeKind(controlType_)) CacheDirty = true;
      return false;
    case CM_MOUSELEAVE:
      if (control_ && control_->IsDesigning()) return false;
      if (controlType_ > 255 || !IsPanelLikeKind(controlType_)) MouseAbove = false;
      if (!IsNoGlowKind(controlType_) && (controlType_ < 92 || controlType_ > 94)) RemoveAllGlowWindows();
      if (IsEditLikeKind(controlType_)) CacheDirty = true;
      return false;
    default:
      return false;
  }
}
