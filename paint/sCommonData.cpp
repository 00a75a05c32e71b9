// See sCommonData.h.
#include "paint/sCommonData.h"

#include <algorithm>

#include "framework/Form.h"
#include "framework/Strings.h"
#include "paint/BackgroundExchange.h"
#include "paint/GlowWindows.h"
#include "pixel/ColorMath.h"
#include "skin/SkinCommands.h"
#include "skin/sSkinManager.h"

namespace {

bool InRange(int code, int low, int high) { return code >= low && code <= high; }

template <size_t N>
bool OneOf(int code, const int (&codes)[N]) {
  return std::find(std::begin(codes), std::end(codes), code) != std::end(codes);
}

}  // namespace

const char* DefaultSectionOfKind(int code) {
  static const int edits[] = {10, 41, 76, 78, 83, 84, 96, 97, 131, 140, 227};
  if (InRange(code, 2, 8) || OneOf(code, edits)) return "EDIT";
  if (InRange(code, 11, 18) || code == 81 || code == 82) return "COMBOBOX";
  switch (code) {
    case 19: return "BAR";
    case 20: return "BARTITLE";
    case 32: case 152: return "CHECKBOX";
    case 33: return "RADIOBUTTON";
    case 51: case 59: case 68: case 73: return "PANEL";
    case 52: case 58: return "PANEL_LOW";
    case 53: case 54: case 60: return "TOOLBAR";
    case 56: return "DRAGBAR";
    case 57: return "TABSHEET";
    case 74: case 226: return "GROUPBOX";
    case 75: return "SPLITTER";
    case 92: case 95: return "SPEEDBUTTON";
    case 93: case 94: return "BUTTON";
    case 98: return "TOOLBUTTON";
    case 141: case 143: return "PAGECONTROL";
    case 151: return "STATUSBAR";
    case 161: return "GAUGE";
    case 165: return "TRACKBAR";
    default: return "";
  }
}

bool IsEditLikeKind(int code) {
  return InRange(code, 2, 18) || code == 41 || InRange(code, 76, 84) || code == 96 || code == 97 || InRange(code, 131, 140);
}

bool IsPanelLikeKind(int code) {
  return code == 19 || InRange(code, 51, 74) || code == 110 || InRange(code, 141, 161);
}

bool IsNoGlowKind(int code) {
  static const int codes[] = {51, 52, 54, 56, 57, 58, 59, 60, 68, 73, 74, 110, 141, 143, 151, 161, 226};
  return OneOf(code, codes);
}

TsCommonData::TsCommonData(TControl* control, int controlType) : control_(control), controlType_(controlType) {}
TsCommonData::TsCommonData(HWND window, int controlType) : window_(window), controlType_(controlType) {}

TsCommonData::~TsCommonData() {
  if (GlowId >= 0) HideGlowWindow(GlowId);
}

HWND TsCommonData::Window() const {
  if (window_) return window_;
  auto* windowed = dynamic_cast<TWinControl*>(control_);
  return windowed && windowed->HandleAllocated() ? windowed->Handle() : nullptr;
}

TsSkinManager* TsCommonData::SkinManager() const { return manager_ ? manager_ : TsSkinManager::DefaultManager(); }

void TsCommonData::SetSkinManager(TsSkinManager* manager) {
  manager_ = manager == TsSkinManager::DefaultManager() ? nullptr : manager;
  ResolveIndexes();
  Announce();
}

void TsCommonData::SetSkinSection(const std::string& name) {
  std::string upper = name.empty() ? "UNKNOWN" : bv::UpperCaseAscii(name);
  if (upper == skinSection_) return;
  skinSection_ = upper;
  ResolveIndexes();
  Announce();
}

void TsCommonData::Announce() {
  if (!control_ || control_->IsLoading() || control_->IsDestroying() || !control_->Parent()) return;
  TsSkinManager* manager = SkinManager();
  if (!manager) return;
  SendToSelf(SectionIndex >= 0 ? scRefresh : scSkinRemoved, 0, reinterpret_cast<LPARAM>(manager));
}

void TsCommonData::SetCustomColor(bool value) {
  customColor_ = value;
  InvalidateCache();
}

void TsCommonData::SetCustomFont(bool value) {
  customFont_ = value;
  InvalidateCache();
}

void TsCommonData::ChooseDefaultSection() {
  const char* section = DefaultSectionOfKind(controlType_);
  if (*section) skinSection_ = section;
  else if (control_) skinSection_ = bv::UpperCaseAscii(bv::WideToUtf8(control_->ClassType().name));
}

void TsCommonData::AfterLoad() {
  if (skinSection_.empty()) ChooseDefaultSection();
  ResolveIndexes();
}

void TsCommonData::ResolveIndexes() {
  CacheDirty = true;
  TsSkinManager* manager = SkinManager();
  SectionIndex = manager ? manager->SectionIndexOf(skinSection_) : -1;
  if (manager && !manager->Skin().IsValidSection(SectionIndex)) SectionIndex = -1;
  ComputeBackgroundKind();
  Flags = 0;
  if (SectionIndex >= 0) {
    const TsGeneralData& s = manager->Skin().Sections[static_cast<size_t>(SectionIndex)];
    BorderItem = s.BorderIndex;
    TextureItem = manager->TextureItemIndexOf(SectionIndex, skinSection_, "PATTERN");
    HotTextureItem = manager->TextureItemIndexOf(SectionIndex, skinSection_, "HOTPATTERN");
    RecalcPlainFlag(false);
  } else {
    BorderItem = TextureItem = HotTextureItem = -1;
  }
}

void TsCommonData::ComputeBackgroundKind() {
  BackgroundKind = 0;
  const TsGeneralData* s = Section();
  if (!s) return;
  if (s->ImagePercent > 0) BackgroundKind |= 4;
  if (s->GradientPercent > 0 && !s->GradientArray.empty()) {
    switch (s->GradientArray.front().Mode) {
      case 0: BackgroundKind |= 2; break;
      case 1: BackgroundKind |= 1; break;
      case 2: BackgroundKind |= 3; break;
      default: break;
    }
  }
}

const TsGeneralData* TsCommonData::Section() const {
  TsSkinManager* manager = SkinManager();
  if (!manager || !manager->IsValidSection(SectionIndex)) return nullptr;
  return &manager->Skin().Sections[static_cast<size_t>(SectionIndex)];
}

bool TsCommonData::IsSkinned(bool active) const {
  TsSkinManager* manager = SkinManager();
  if (!manager || manager->IsDestroying() || SectionIndex < 0 || !manager->IsValidSection(SectionIndex)) return false;
  if (control_ && control_->IsDestroying()) return false;
  return !active || manager->Active();
}

bool TsCommonData::IsHot() const {
  if (!control_ || !control_->Enabled() || control_->IsDesigning()) return false;
  if (Focused) return true;
  if (auto* windowed = dynamic_cast<TWinControl*>(control_); windowed && windowed->HandleAllocated() && windowed->Focused())
    return true;
  return (controlType_ > 255 || !IsPanelLikeKind(controlType_)) && MouseAbove;
}

bool TsCommonData::NeedsSkinPaint() const {
  return TsSkinManager::SkinChanging() || (Flags & 1) == 0 || IsHot();
}

bool TsCommonData::HasComplexBackground() const {
  TsSkinManager* manager = SkinManager();
  const TsGeneralData* s = Section();
  if (!manager || !s) return false;
  if (manager->IsValidItem(BorderItem)) {
    const TsMaskData& item = manager->Skin().Items[static_cast<size_t>(BorderItem)];
    if (item.WL + item.WR > 30 || item.WT + item.WB > 30) return true;
  }
  if (s->Transparency == 0) return s->ImagePercent > 0 || s->GradientPercent > 0;
  if (s->Transparency == 100) {
    if (!control_ || !control_->Parent()) return true;
    return (control_->Parent()->Perform(SM_LACQUERCMD, SkinCommandParam(scTransparencyFlags)) & 1) == 0;
  }
  return true;
}

void TsCommonData::RecalcPlainFlag(bool children) {
  bool container = dynamic_cast<TWinControl*>(control_) && IsPanelLikeKind(controlType_);
  if (container) {
    if (HasComplexBackground()) Flags &= static_cast<uint16_t>(~1u);
    else Flags |= 1;
  }
  if (children) {
    if (auto* windowed = dynamic_cast<TWinControl*>(control_))
      for (int i = 0; i < windowed->ControlCount(); ++i)
        windowed->Controls(i)->Perform(SM_LACQUERCMD, SkinCommandParam(scTransparencyFlags, 1));
  }
}

bool TsCommonData::NeedsParentBackground() const {
  if (PaintSuspended || !IsSkinned() || !control_ || !control_->Visible()) return true;
  // A windowless element is drawn on its parent; a windowed one needs it where it is transparent.
  if (dynamic_cast<TWinControl*>(control_) && !SectionTransparent()) return false;
  if (TWinControl* parent = control_->Parent(); parent && parent->HandleAllocated())
    return SendMessageW(parent->Handle(), SM_LACQUERCMD, SkinCommandParam(scNeedsParentBackground), 0) != 0;
  return true;
}

bool TsCommonData::SectionTransparent() const {
  const TsGeneralData* s = Section();
  return s && s->Transparency > 0;
}

TColor TsCommonData::BackgroundColor(bool hot) const {
  if (!control_) return 0;
  const TsGeneralData* s = Section();
  TColor own = customColor_ || !s ? PlainColor(control_->Color()) : (hot ? s->HotColor : s->Color);
  int transparency = s ? (hot ? s->HotTransparency : s->Transparency) : 0;
  if (!s || customColor_ || transparency == 0) return PlainColor(own);
  TColor parent = ParentBackgroundColor(control_);
  if (transparency >= 100) return parent;
  return MixColors(parent, own, transparency / 100.0);
}

bool TsCommonData::IsPaintLocked() const {
  TsSkinManager* manager = SkinManager();
  if (!manager || (control_ && control_->IsDesigning())) return false;
  if (!NeedsSkinPaint()) return PaintLocked;
  if (PaintLocked) return true;
  if (control_) {
    TWinControl* parent = control_->Parent();
    if (parent && parent->HandleAllocated())
      return SendMessageW(parent->Handle(), SM_LACQUERCMD, SkinCommandParam(scIsRebuildingCache), 0) == 1;
  }
  return false;
}

int TsCommonData::MaxBorderMargin() const {
  TsSkinManager* manager = SkinManager();
  if (!manager || !IsSkinned() || !manager->IsValidItem(BorderItem)) return 0;
  const TsMaskData& item = manager->Skin().Items[static_cast<size_t>(BorderItem)];
  if (item.StretchMode & 2) return 0;
  return std::max({item.WL, item.WT, item.WR, item.WB});
}

void TsCommonData::PrepareCache() {
  int width = control_ ? control_->Width() : 0, height = control_ ? control_->Height() : 0;
  if (!control_ && window_) {
    RECT r;
    GetWindowRect(window_, &r);
    width = r.right - r.left;
    height = r.bottom - r.top;
  }
  if (Cache && Cache.Pixels().Width() == width && Cache.Pixels().Height() == height) return;
  Cache = DibSection::CreateBitmap24(width, height);
}

void TsCommonData::DropCache() { Cache = DibSection{}; }

void TsCommonData::InvalidateCache() {
  CacheDirty = true;
  if (control_) {
    if (control_->IsLoading() || control_->IsDestroying() || !control_->Showing()) return;
    control_->Invalidate();
  } else if (window_) {
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

void TsCommonData::BeginUpdate() {
  PaintLocked = true;
  Flags |= 0x800;
  SendToSelf(scEnteredUpdate);
}

void TsCommonData::EndUpdate(bool repaint) {
  PaintLocked = false;
  Flags &= static_cast<uint16_t>(~0x800u);
  SendToSelf(scLeftUpdate);
  if (repaint) InvalidateCache();
}

LRESULT TsCommonData::SendToSelf(uint16_t command, uint16_t argument, LPARAM parameter) {
  if (control_) return control_->Perform(SM_LACQUERCMD, SkinCommandParam(command, argument), parameter);
  if (window_) return SendMessageW(window_, SM_LACQUERCMD, SkinCommandParam(command, argument), parameter);
  return 0;
}

TsCommonData* SkinDataOf(TControl* control) {
  auto* element = dynamic_cast<TsSkinnedElement*>(control);
  return element ? element->SkinData() : nullptr;
}

void PassToChildren(TWinControl* parent, WPARAM wParam, LPARAM lParam) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* child = parent->Controls(i);
    if (child->IsDestroying()) continue;
    auto* windowed = dynamic_cast<TWinControl*>(child);
    if (!windowed || !windowed->HandleAllocated()) {
      child->Perform(SM_LACQUERCMD, wParam, lParam);
    } else if (SendMessageW(windowed->Handle(), SM_LACQUERCMD, SkinCommandParam(scIsSkinAware), 0) == 1) {
      SendMessageW(windowed->Handle(), SM_LACQUERCMD, wParam, lParam);
    } else {
      PassToChildren(windowed, wParam, lParam);
    }
  }
}
