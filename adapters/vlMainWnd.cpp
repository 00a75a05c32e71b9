// See vlMainWnd.h.
#include "adapters/vlMainWnd.h"

#include <uxtheme.h>

#include "paint/sCommonData.h"
#include "skin/SkinCommands.h"
#include "skin/sSkinManager.h"

namespace {

// The skin-state kind of an adapted control.
constexpr int kAdaptedControlKind = 227;

std::wstring WindowText(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length > 0 ? length + 1 : 1), L'\0');
  int copied = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

}  // namespace

TvlMainWnd::TvlMainWnd(HWND window, TsCommonData* skinState, const std::string& section, const char* defaultSection)
    : window_(window), skinState_(skinState) {
  if (!skinState_) {
    ownSkinState_ = std::make_unique<TsCommonData>(window, kAdaptedControlKind);
    skinState_ = ownSkinState_.get();
  }
  if (!section.empty()) skinState_->SetSkinSection(section);
  else if (defaultSection && (skinState_->SkinSection().empty() || skinState_->SkinSection() == "UNKNOWN"))
    skinState_->SetSkinSection(defaultSection);
}

TvlMainWnd::~TvlMainWnd() { Detach(); }

TsSkinManager* TvlMainWnd::SkinManager() const { return skinState_->SkinManager(); }

bool TvlMainWnd::SkinActive() const {
  TsSkinManager* manager = SkinManager();
  return manager && manager->Active() && manager->IsValidSection(skinState_->SectionIndex);
}

TControl* TvlMainWnd::Control() const { return skinState_->Control(); }

TvlMainWnd* TvlMainWnd::FromWindow(HWND window) {
  return window ? static_cast<TvlMainWnd*>(GetPropW(window, kPropertyName)) : nullptr;
}

bool TvlMainWnd::Attach() {
  if (attached_ || !window_ || !IsWindow(window_)) return false;
  if (skinState_->SkinSection() != "DIALOG") themeOff_ = SUCCEEDED(SetWindowTheme(window_, L" ", L" "));
  skinState_->ResolveIndexes();
  SaveOriginalLook();
  lookApplied_ = false;
  text_ = WindowText(window_);
  SetPropW(window_, kPropertyName, this);
  attached_ = subclass_.Install(window_, [this](HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return WndProc(msg, wParam, lParam, result);
  });
  if (!attached_) {
    RemovePropW(window_, kPropertyName);
    if (themeOff_) SetWindowTheme(window_, nullptr, nullptr);
    themeOff_ = false;
    unhooked_ = true;
    return false;
  }
  FrameChanged();
  return true;
}

void TvlMainWnd::Detach() {
  if (!attached_ || unhooked_ || detaching_) return;
  detaching_ = true;
  bool alive = IsWindow(window_) != FALSE;
  // The link leaves the chain; whoever joined after us keeps their place.
  subclass_.Remove();
  if (alive) {
    if (themeOff_) SetWindowTheme(window_, nullptr, nullptr);
    if (FromWindow(window_) == this) RemovePropW(window_, kPropertyName);
    RestoreOriginalLook();
    FrameChanged();
  }
  themeOff_ = false;
  unhooked_ = true;
  detaching_ = false;
}

void TvlMainWnd::FrameChanged() const {
  if (!IsWindow(window_) || !IsWindowVisible(window_)) return;
  SetWindowPos(window_, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

bool TvlMainWnd::WndProc(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_NCDESTROY:
      // The window goes: nothing is given back to it, only our mark is taken away.
      if (FromWindow(window_) == this) RemovePropW(window_, kPropertyName);
      themeOff_ = false;
      unhooked_ = true;
      if (OnWindowGone) OnWindowGone();
      return false;
    case WM_UPDATEUISTATE:
      // Focus cues would repaint the control in its platform look.
      result = 0;
      return true;
    case WM_SIZE:
      skinState_->CacheDirty = true;
      return false;
    case WM_SETTEXT:
      result = CallOld(msg, wParam, lParam);
      text_ = WindowText(window_);
      return true;
    case SM_LACQUERCMD:
      return HandleSkinCommand(wParam, lParam, result);
    default:
      return false;
  }
}

bool TvlMainWnd::HandleSkinCommand(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  bool ours = reinterpret_cast<TsSkinManager*>(lParam) == SkinManager();
  switch (SkinCommandOf(wParam)) {
    case scSkinApplied:
      if (ours) {
        skinState_->ResolveIndexes();
        skinState_->CacheDirty = true;
        lookApplied_ = false;
        FrameChanged();
      }
      result = 0;
      return true;
    case scSkinRemoved:
      if (ours) RestoreOriginalLook();
      result = 0;
      return true;
    case scRefresh:
      if (ours) {
        skinState_->ResolveIndexes();
        skinState_->CacheDirty = true;
        skinState_->PaintLocked = false;
        ApplySkinLook();
        RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
      }
      result = 0;
      return true;
    case scIsSkinAware:
      result = 1;
      return true;
    case scIsRebuildingCache:
      result = skinState_->PaintLocked ? 1 : 0;
      return true;
    case scGetBackgroundColor: {
      const TsGeneralData* section = skinState_->Section();
      result = static_cast<LRESULT>(section ? section->Color : clFuchsia);
      return true;
    }
    case scGetSectionIndex:
      result = skinState_->SectionIndex + 1;
      return true;
    default:
      return false;
  }
}
