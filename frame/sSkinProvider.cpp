// See sSkinProvider.h.
#include "frame/sSkinProvider.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "frame/FrameRegion.h"
#include "frame/sSystemMenu.h"
#include "frame/ShadowFrame.h"
#include "frame/WindowAnimation.h"
#include "frame/vlBorderForm.h"

#include "framework/Exception.h"
#include "framework/Form.h"
#include "framework/Strings.h"
#include "paint/GdiTextRasterizer.h"
#include "paint/BackgroundExchange.h"
#include "paint/GlowWindows.h"
#include "paint/ImageItems.h"
#include "paint/PieceCopy.h"
#include "paint/SkinPainters.h"
#include "paint/SkinText.h"
#include "paint/SkinTextWriter.h"
#include "pixel/BitmapBlend.h"
#include "skin/SkinCommands.h"

using namespace frame_geometry;

static_assert(kHitCaption == HTCAPTION && kHitSysMenu == HTSYSMENU && kHitMinButton == HTMINBUTTON &&
              kHitMaxButton == HTMAXBUTTON && kHitClose == HTCLOSE && kHitLeft == HTLEFT &&
              kHitBottomRight == HTBOTTOMRIGHT && kHitBorder == HTBORDER && kHitClient == HTCLIENT);

namespace {

// The timer of the title buttons' glow fades, on the form's window.
constexpr UINT_PTR kGlowTimer = 0x7A51;
constexpr UINT kGlowInterval = 12;
// The platform's message that opens the system menu at the cursor.
constexpr UINT kPopupSystemMenu = 0x0313;
// How long a click on the icon waits for the second click of a double click (which closes).
constexpr DWORD kIconDoubleClickWait = 200;

constexpr UINT kCaptionFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | DT_LEFT;

bool IsSystemButton(int code) { return code == kHitClose || code == kHitMaxButton || code == kHitMinButton; }

// One state picture of a (glow) item as a 32-bit picture.
Bitmap ItemPicture(const LoadedSkin& skin, int index) {
  if (!skin.IsValidItem(index)) return {};
  const TsMaskData& item = skin.Items[static_cast<size_t>(index)];
  int width = item.ImageCount > 0 ? StateWidth(item) : item.R.Width();
  int height = StateHeight(item);
  if (width <= 0 || height <= 0) return {};
  const Bitmap& source = skin.ItemBitmap(item);
  Bitmap source32 = source.Format() == PixelFormat::pf32bit ? Bitmap() : source.Converted(PixelFormat::pf32bit);
  Bitmap picture(width, height, PixelFormat::pf32bit);
  CopyPiece(picture, 0, 0, source32.Width() > 0 ? source32 : source, Rect::FromSize(item.R.left, item.R.top, width, height));
  return picture;
}

}  // namespace

const ClassInfo& TsSkinProvider::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TsSkinProvider>(L"TsSkinProvider", &TComponent::StaticClass())
          .String(L"SkinSection", &TsSkinProvider::SkinSection, &TsSkinProvider::SetSkinSection)
          .Boolean(L"ShowAppIcon", &TsSkinProvider::ShowAppIcon, &TsSkinProvider::SetShowAppIcon)
          .Boolean(L"ScreenSnap", &TsSkinProvider::ScreenSnap, &TsSkinProvider::SetScreenSnap)
          .Integer(L"SnapBuffer", &TsSkinProvider::SnapBuffer, &TsSkinProvider::SetSnapBuffer)
          .Boolean(L"MakeSkinMenu", &TsSkinProvider::MakeSkinMenu, &TsSkinProvider::SetMakeSkinMenu)
          .Boolean(L"AllowExtBorders", &TsSkinProvider::AllowExtBorders, &TsSkinProvider::SetAllowExtBorders)
          .Object(L"TitleButtons", TsTitleButtons::StaticClass(), &TsSkinProvider::TitleButtons, nullptr)
          .Object(L"AddedTitle", TvlAddedTitle::StaticClass(), &TsSkinProvider::AddedTitle, nullptr)
          .Build());
  return info;
}

TsSkinProvider::TsSkinProvider(TComponent* owner) : TComponent(owner), form_(dynamic_cast<TForm*>(owner)) {
  if (!form_) throw EInvalidCast(L"TsSkinProvider component may be used with forms only!");
  buttons_[0].hitCode = kHitClose;
  buttons_[1].hitCode = kHitMaxButton;
  buttons_[2].hitCode = kHitMinButton;
  SkinnedForms().push_back(this);
  // A provider created after the form's layout was read takes the window over at once.
  if (!form_->IsLoading() && form_->HandleAllocated()) {
    Attach();
    ApplySkin();
  }
}

TsSkinProvider::~TsSkinProvider() {
  auto& forms = SkinnedForms();
  forms.erase(std::remove(forms.begin(), forms.end(), static_cast<TsSkinnedForm*>(this)), forms.end());
}

void TsSkinProvider::BeforeDestruction() {
  DetachAdapters();
  RemoveGlows();
  border_.reset();
  HWND window = subclass_.Window();
  bool wasSkinned = skinned_;
  skinned_ = false;
  subclass_.Remove();
  if (wasSkinned && window && IsWindow(window) && !form_->IsDestroying()) {
    if (regionWidth_ > 0) SetWindowRgn(window, nullptr, TRUE);
    regionWidth_ = regionHeight_ = 0;
    SetFrameChanged();
  }
  auto& forms = SkinnedForms();
  forms.erase(std::remove(forms.begin(), forms.end(), static_cast<TsSkinnedForm*>(this)), forms.end());
  TComponent::BeforeDestruction();
}

void TsSkinProvider::Loaded() {
  TComponent::Loaded();
  Attach();
  ApplySkin();
}

void TsSkinProvider::SetSkinSection(const std::wstring& value) {
  if (value == skinSection_) return;
  skinSection_ = value.empty() ? L"FORM" : value;
  if (subclass_.Installed()) ApplySkin();
}

void TsSkinProvider::SetShowAppIcon(bool value) {
  if (value == showAppIcon_) return;
  showAppIcon_ = value;
  if (skinned_) RepaintFrame();
}

TsSkinManager* TsSkinProvider::SkinManager() const { return TsSkinManager::DefaultManager(); }

void TsSkinProvider::Attach() {
  if (subclass_.Installed() || !form_ || form_->IsDestroying() || form_->IsDesigning()) return;
  subclass_.Install(form_->Handle(), [this](HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return HandleMessage(window, msg, wParam, lParam, result);
  });
}

void TsSkinProvider::LookUpSkin() {
  TsSkinManager* manager = SkinManager();
  const LoadedSkin& skin = manager->Skin();
  std::string section = bv::WideToUtf8(skinSection_);
  formSection_ = manager->SectionIndexOf(section);
  titleSection_ = manager->SectionIndexOf("FORMTITLE");
  const TsSkinData& d = skin.Data;
  skinValues_ = {d.BorderWidth, d.TitleHeight, d.MaxHeight, d.CenterOffset, d.BorderMode, d.BILeft, d.BIRight, d.BISpace};
  int global = manager->CommonIndexes().GlobalInfo;
  auto item = [&](const char* key) { return manager->ImageItemIndexOf(global, "GLOBALINFO", key); };
  auto set = [&](TitleButton& b, const char* image, const char* glow, int glowOn, int margin) {
    b.image = item(image);
    b.glow = item(glow);
    b.glowAllowed = glowOn > 0;
    b.glowMargin = margin;
  };
  set(buttons_[0], "BICONCLOSE", "BICONCLOSEGLOW0", d.BICloseGlow, d.BICloseGlowMargin);
  set(buttons_[1], "BICONMAX", "BICONMAXGLOW0", d.BIMaxGlow, d.BIMaxGlowMargin);
  set(buttons_[2], "BICONMIN", "BICONMINGLOW0", d.BIMinGlow, d.BIMinGlowMargin);
  buttons_[1].restoreImage = item("BICONNORM");
  if (buttons_[1].restoreImage < 0) buttons_[1].restoreImage = manager->ImageItemIndexOf(formSection_, section, "BICONNORM");
  buttons_[1].restoreGlow = item("BICONNORMGLOW0");
  titleButtonImage_ = item("TITLEBUTTON");
  gripImage_ = item("GRIPIMAGE");
}

void TsSkinProvider::ApplySkin() {
  if (!subclass_.Installed()) return;
  TsSkinManager* manager = SkinManager();
  bool usable = manager && manager->Active() && manager->IsValidSection(manager->SectionIndexOf(bv::WideToUtf8(skinSection_)));
  if (!usable) {
    RemoveSkin();
    return;
  }
  RemoveGlows();
  LookUpSkin();
  skinned_ = true;
  hot_ = pressed_ = 0;
  dirty_ = true;
  captionFont_.reset();
  EnterExtendedMode(ExtendedAllowed());
  ClearWindowRegion();  // another skin: other corners
  UpdateWindowRegion();
  if (!systemMenu_) systemMenu_ = new TsSystemMenu(this);
  systemMenu_->UpdateItems(false);
  SetFrameChanged();
  RepaintFrame();
  AttachAdapters();
}

void TsSkinProvider::RemoveSkin() {
  DetachAdapters();
  bool wasSkinned = skinned_;
  skinned_ = false;
  RemoveGlows();
  titleButtons_.HideHints();
  EnterExtendedMode(false);
  hot_ = pressed_ = 0;
  image_ = DibSection();
  base_ = Bitmap();
  if (wasSkinned && subclass_.Installed()) {
    ClearWindowRegion();
    SetFrameChanged();
    RedrawWindow(subclass_.Window(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
}

void TsSkinProvider::SetFrameChanged() {
  HWND window = subclass_.Window();
  if (!window) return;
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void TsSkinProvider::AttachAdapters() {
  if (!form_ || form_->IsDestroying()) return;
  if (!adapter_) adapter_ = std::make_unique<TvlCtrlAdapter>([this] { PostMessageW(subclass_.Window(), RescanMessage(), 0, 0); });
  adapter_->AddAllItems(form_);
}

void TsSkinProvider::DetachAdapters() { adapter_.reset(); }

UINT TsSkinProvider::RescanMessage() {
  static const UINT rescan = RegisterWindowMessageW(L"Brenvale.RescanAdapters");
  return rescan;
}

void TsSkinProvider::WatchChildWindows(UINT msg, WPARAM wParam) {
  // A window created on the form, or an adapted window destroyed (a control making its window
  // again), is adapted once its control holds the handle, that is after the creation returned.
  UINT rescan = RescanMessage();
  if (msg == WM_PARENTNOTIFY && LOWORD(wParam) == WM_CREATE && skinned_ && !form_->IsLoading())
    PostMessageW(subclass_.Window(), rescan, 0, 0);
  else if (msg == rescan && skinned_)
    AttachAdapters();
}

TColor TsSkinProvider::ClientColor() const { return FormColor(form_); }

void TsSkinProvider::UnfreezeAfterSkinChange(bool repaint) {
  if (skinned_ && !(repaint && window_animation::AnimateSkinChange(*this))) RepaintFrame();
}

// ---------------------------------------------------------------------------------------------
// Geometry of the present window

system_menu::MenuInput TsSkinProvider::CurrentMenuInput() const {
  system_menu::MenuInput input;
  frame_commands::WindowCommandInput& in = input.window;
  HWND window = subclass_.Window();
  LONG style = window ? GetWindowLongW(window, GWL_STYLE) : 0;
  TBorderIcons icons = form_->BorderIcons();
  TFormBorderStyle border = form_->BorderStyle();
  in.systemMenu = icons.Has(TBorderIcon::biSystemMenu) && (style & WS_SYSMENU);
  in.minimizeIcon = icons.Has(TBorderIcon::biMinimize);
  in.maximizeIcon = icons.Has(TBorderIcon::biMaximize);
  in.captionButtons = border == TFormBorderStyle::bsSingle || border == TFormBorderStyle::bsSizeable;
  in.sizeable = (style & WS_THICKFRAME) != 0;
  in.minimized = window && IsIconic(window);
  in.maximized = window && IsZoomed(window);
  input.mdiChild = form_->FormStyle() == TFormStyle::fsMDIChild;
  input.borderNone = border == TFormBorderStyle::bsNone;
  input.borderDialog = border == TFormBorderStyle::bsDialog;
  input.borderToolWindow = border == TFormBorderStyle::bsToolWindow;
  input.borderSingle = border == TFormBorderStyle::bsSingle;
  return input;
}

frame_commands::WindowCommands TsSkinProvider::CurrentCommands() const {
  return frame_commands::ComputeWindowCommands(CurrentMenuInput().window);
}

FrameInput TsSkinProvider::CurrentFrameInput() const {
  FrameInput input;
  HWND window = subclass_.Window();
  if (!window) return input;
  RECT r;
  GetWindowRect(window, &r);
  input.width = r.right - r.left;
  input.height = r.bottom - r.top;
  input.maximized = IsZoomed(window) != FALSE;
  if (border_) {
    // The frame around the form, in the border window.
    ExtendedFrameGeometry g = ExtendedGeometry();
    input.width = g.frame.Width();
    input.height = g.frame.Height();
    input.extended = true;
  }
  LONG style = GetWindowLongW(window, GWL_STYLE);
  input.sizeable = (style & WS_THICKFRAME) != 0;
  input.sizingZone = GetSystemMetrics(SM_CXSIZEFRAME);
  frame_commands::WindowCommands commands = CurrentCommands();
  TFormBorderStyle border = form_->BorderStyle();
  input.showIcon = showAppIcon_ && commands.closeVisible &&
                   (border == TFormBorderStyle::bsSingle || border == TFormBorderStyle::bsSizeable);
  input.skin = skinValues_;
  // A compact maximised band is taller than the skin's title.
  if (border_) input.skin.titleHeight = ExtendedGeometry().titleBand;
  const LoadedSkin* skin = SkinManager() ? &SkinManager()->Skin() : nullptr;
  auto size = [&](int index, ButtonShape& shape) {
    if (skin && skin->IsValidItem(index)) {
      const TsMaskData& item = skin->Items[static_cast<size_t>(index)];
      shape.width = StateWidth(item);
      shape.height = StateHeight(item);
    }
  };
  size(buttons_[0].image, input.close);
  size(input.maximized ? buttons_[1].restoreImage : buttons_[1].image, input.maximize);
  size(buttons_[2].image, input.minimize);
  // Every button is as high as the close button.
  input.maximize.height = input.minimize.height = input.close.height;
  input.close.visible = commands.closeVisible;
  input.maximize.visible = commands.maximizeVisible;
  input.maximize.enabled = commands.MaximizeButtonActs();
  input.minimize.visible = commands.minimizeVisible;
  input.minimize.enabled = commands.MinimizeButtonActs();
  // The application's buttons: the glyph and 2 pixels, at least the skin's button picture.
  ButtonShape userShape;
  if (skin && skin->IsValidItem(titleButtonImage_)) size(titleButtonImage_, userShape);
  for (int i = 0; i < titleButtons_.Count(); ++i) {
    const TsTitleButton* b = titleButtons_.Items(i);
    ButtonShape shape = userShape;
    if (!b->Glyph().Empty()) shape.width = std::max(shape.width, b->Glyph().Width() + 2);
    shape.height = input.close.height;
    shape.visible = b->Visible();
    shape.enabled = b->Enabled();
    input.user.push_back(shape);
  }
  if (gripMode_ == TsGripMode::gmRightBottom && skin && skin->IsValidItem(gripImage_)) {
    const TsMaskData& grip = skin->Items[static_cast<size_t>(gripImage_)];
    input.gripWidth = StateWidth(grip);
    input.gripHeight = StateHeight(grip);
  }
  return input;
}

FrameLayout TsSkinProvider::CurrentLayout() const { return ComputeFrameLayout(CurrentFrameInput()); }

Point TsSkinProvider::WindowOrigin() const { return FrameOrigin(); }

Point TsSkinProvider::FrameOrigin() const {
  if (border_) {
    Rect frame = ExtendedGeometry().frame;
    return {frame.left, frame.top};
  }
  RECT r{};
  if (subclass_.Window()) GetWindowRect(subclass_.Window(), &r);
  return {r.left, r.top};
}

Point TsSkinProvider::ScreenToWindow(LPARAM lParam) const {
  Point origin = WindowOrigin();
  return {GET_X_LPARAM(lParam) - origin.x, GET_Y_LPARAM(lParam) - origin.y};
}

Rect TsSkinProvider::ButtonRect(const FrameLayout& layout, int hitCode) const {
  switch (hitCode) {
    case kHitClose: return layout.close;
    case kHitMaxButton: return layout.maximize;
    case kHitMinButton: return layout.minimize;
    default: break;
  }
  const int index = UserButtonIndex(hitCode);
  if (IsUserButtonCode(hitCode) && index < static_cast<int>(layout.user.size())) return layout.user[static_cast<size_t>(index)];
  return {};
}

TsTitleButton* TsSkinProvider::UserButtonOf(int hitCode) const {
  if (!IsUserButtonCode(hitCode) || UserButtonIndex(hitCode) >= titleButtons_.Count()) return nullptr;
  TsTitleButton* b = titleButtons_.Items(UserButtonIndex(hitCode));
  return b->Visible() && b->Enabled() ? b : nullptr;
}

bool TsSkinProvider::IsButtonCode(int code) const { return IsSystemButton(code) || UserButtonOf(code) != nullptr; }

void TsSkinProvider::OnTitleButtonsChanged() {
  // A button shown or hidden, a new glyph: the caption's room and the buttons change.
  if (hot_ && IsUserButtonCode(hot_) && !UserButtonOf(hot_)) hot_ = 0;
  if (pressed_ && IsUserButtonCode(pressed_) && !UserButtonOf(pressed_)) CancelPress();
  if (skinned_) RepaintFrame();
}

void TsSkinProvider::SetCaptionAlignment(TAlignment value) {
  if (value == captionAlignment_) return;
  captionAlignment_ = value;
  if (skinned_) RepaintFrame();
}

void TsSkinProvider::SetGripMode(TsGripMode value) {
  if (value == gripMode_) return;
  gripMode_ = value;
  if (skinned_) RepaintFrame();
}

int TsSkinProvider::ExtHitTest(Point screen) const {
  int code = 0;
  if (OnExtHitTest) OnExtHitTest(const_cast<TsSkinProvider*>(this), screen, code);
  return code;
}

TsSkinProvider::TitleButton* TsSkinProvider::ButtonOf(int hitCode) {
  for (TitleButton& b : buttons_)
    if (b.hitCode == hitCode) return &b;
  return nullptr;
}

const TsSkinProvider::TitleButton* TsSkinProvider::ButtonOf(int hitCode) const {
  for (const TitleButton& b : buttons_)
    if (b.hitCode == hitCode) return &b;
  return nullptr;
}

HWND TsSkinProvider::ButtonGlowWindow(int hitCode) const {
  const TitleButton* b = ButtonOf(hitCode);
  return b && b->glowId >= 0 ? GlowWindowOf(b->glowId) : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Messages

bool TsSkinProvider::HandleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  WatchChildWindows(msg, wParam);
  if (msg == SM_LACQUERCMD) {
    switch (SkinCommandOf(wParam)) {
      case scIsSkinAware:
        result = 1;
        return true;
      case scGetBackgroundColor:
        if (!skinned_) break;
        result = static_cast<LRESULT>(ClientColor());
        return true;
      case scFillBackgroundInfo:
        if (!skinned_ || !lParam) break;
        // The client area shows the skin's form colour; children over it take that.
        reinterpret_cast<TsBackgroundRequest*>(lParam)->Kind = 1;
        reinterpret_cast<TsBackgroundRequest*>(lParam)->Color = ClientColor();
        result = 0;
        return true;
      case scSkinApplied: ApplySkin(); break;
      case scSkinRemoved: RemoveSkin(); break;
      case scRefresh:
        if (skinned_) {
          LookUpSkin();
          // The manager's extended borders may have been switched meanwhile.
          if (ExtendedAllowed() != Extended()) {
            EnterExtendedMode(ExtendedAllowed());
            ClearWindowRegion();
            UpdateWindowRegion();
            SetFrameChanged();
          }
          RepaintFrame();
        }
        break;
      default: break;
    }
    return false;  // the form and its children hear of it as well
  }
  if (msg == WM_NCDESTROY) {
    RemoveGlows();
    border_.reset();
    skinned_ = false;
    return false;
  }
  // Followed skinned or not: a skin may come or go while the user moves the window.
  if (msg == WM_ENTERSIZEMOVE || msg == WM_EXITSIZEMOVE) userMoving_ = msg == WM_ENTERSIZEMOVE;
  if (!skinned_) return false;
  const bool iconic = IsIconic(window) != FALSE;
  // The border window sends on the mouse messages of the frame without a hit code: it is found
  // here, and the platform's own handling gets it as well.
  if (border_ && wParam == static_cast<WPARAM>(-1) &&
      (msg == WM_NCMOUSEMOVE || msg == WM_NCLBUTTONDOWN || msg == WM_NCLBUTTONUP || msg == WM_NCLBUTTONDBLCLK ||
       msg == WM_NCRBUTTONDOWN || msg == WM_NCRBUTTONUP)) {
    int code = BorderHitTest({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (code == kHitShadow || code == kHitNowhere) return true;
    if (!HandleMessage(window, msg, static_cast<WPARAM>(code), lParam, result)) result = subclass_.CallNext(msg, code, lParam);
    return true;
  }
  switch (msg) {
    case WM_NCCALCSIZE: {
      if (iconic) return false;
      RECT* proposed = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
      if (border_) {
        // In extended mode the form keeps the platform's frame (its region hides it); the menu
        // band lies below the platform's caption, shown by the border window.
        const int frameWidth = proposed->right - proposed->left + 2 * ExtendedGeometry().extraSide;
        result = subclass_.CallNext(msg, wParam, lParam);
        proposed->top += ExtendedMenuBand(frameWidth).Height();
        return true;
      }
      FrameInput input = CurrentFrameInput();
      input.width = proposed->right - proposed->left;
      input.height = proposed->bottom - proposed->top;
      input.maximized = IsZoomed(window) != FALSE;
      FrameLayout borders = FrameBorders(input);
      proposed->left += borders.left;
      proposed->top += borders.top + MenuBarLayout(input.width, borders).band.Height();
      proposed->right -= borders.right;
      proposed->bottom -= borders.bottom;
      result = 0;
      return true;
    }
    case WM_NCHITTEST:
      if (iconic) return false;
      return OnNcHitTest(lParam, result);
    case WM_PAINT:
    case WM_ERASEBKGND:
      // Under a running animation the client stays as it is: the animation ends with a complete
      // redraw.
      if (!window_animation::Animating()) return false;
      if (msg == WM_PAINT) PaintDc validated(window);
      result = msg == WM_ERASEBKGND ? 1 : 0;
      return true;
    case WM_NCPAINT: {
      if (iconic) return false;
      if (border_ || window_animation::Animating()) {
        result = 0;
        return true;
      }
      WindowDc dc(window, true);
      PaintFrame(dc.get());
      result = 0;
      return true;
    }
    case WM_NCACTIVATE:
      // The platform's own handling would draw its caption over the frame; the look changes here.
      if (activeLook_ != (wParam != 0)) {
        activeLook_ = wParam != 0;
        dirty_ = true;
      }
      // Activation reorders windows: the border window goes behind the form once that is done.
      if (border_) border_->FollowFormLater();
      if (!iconic) DeliverFrame();
      result = TRUE;
      return true;
    case WM_SETTEXT:
    case WM_SETICON:
      result = subclass_.CallNext(msg, wParam, lParam);
      dirty_ = true;
      if (!iconic) DeliverFrame();
      return true;
    case WM_WINDOWPOSCHANGED: {
      result = subclass_.CallNext(msg, wParam, lParam);
      auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (!(pos->flags & SWP_NOSIZE) || (pos->flags & SWP_FRAMECHANGED)) UpdateWindowRegion();
      if (pos->flags & SWP_FRAMECHANGED) dirty_ = true;  // the menu band may have changed
      if (border_) {
        OnBorderWindowPosChanged(*pos);
        if (pos->flags & SWP_SHOWWINDOW) window_animation::AnimateFormShown(*this);
        return true;
      }
      // A new size lays the frame out anew (composed once per size, on delivery).
      if (!iconic && (!(pos->flags & SWP_NOSIZE) || (pos->flags & SWP_FRAMECHANGED)) && IsWindowVisible(window))
        DeliverFrame();
      if (pos->flags & SWP_SHOWWINDOW) window_animation::AnimateFormShown(*this);
      return true;
    }
    case WM_NCMOUSEMOVE:
      if (iconic) return false;
      OnNcMouseMove(static_cast<int>(wParam));
      if (IsButtonCode(static_cast<int>(wParam))) {
        result = 0;
        return true;
      }
      return false;
    case WM_NCMOUSELEAVE:
      trackingLeave_ = false;
      if (!pressed_) SetHot(0);
      return false;
    case WM_NCLBUTTONDOWN:
      if (iconic) return false;
      if (wParam == HTMENU) {
        DropMenuDown(lParam);
        result = 0;
        return true;
      }
      if (OnNcLeftButtonDown(static_cast<int>(wParam), lParam)) {
        result = 0;
        return true;
      }
      return false;
    case WM_NCLBUTTONDBLCLK:
      if (iconic) return false;
      if (OnNcLeftButtonDoubleClick(static_cast<int>(wParam), lParam)) {
        result = 0;
        return true;
      }
      return false;
    case WM_NCRBUTTONDOWN:
      if (wParam == HTCAPTION || wParam == HTSYSMENU) {
        result = 0;
        return true;
      }
      return false;
    case WM_NCRBUTTONUP:
      if (wParam == HTCAPTION || wParam == HTSYSMENU) {
        SetHot(0);
        ShowSystemMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        result = 0;
        return true;
      }
      return false;
    case kPopupSystemMenu: {
      POINT cursor;
      GetCursorPos(&cursor);
      ShowSystemMenu(cursor.x, cursor.y);
      result = 0;
      return true;
    }
    case WM_MOUSEMOVE:
      if (!pressed_) return false;
      OnButtonMouseMove(lParam);
      result = 0;
      return true;
    case WM_LBUTTONUP:
      if (!pressed_) return false;
      OnButtonRelease(lParam);
      result = 0;
      return true;
    case WM_CAPTURECHANGED:
      if (pressed_ && reinterpret_cast<HWND>(lParam) != window) CancelPress();
      return false;
    case WM_CANCELMODE:
      if (pressed_) CancelPress();
      return false;
    case WM_ENTERMENULOOP:
      // A drop-down of the menu band shows its item selected.
      if (!iconic && MenuLineHeight() > 0) {
        dirty_ = true;
        DeliverFrame();
      }
      return false;
    case WM_TIMER:
      if (wParam != kGlowTimer) return false;
      TickGlows();
      result = 0;
      return true;
    case WM_WINDOWPOSCHANGING:
      OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam));
      return false;
    case WM_GETMINMAXINFO:
      result = subclass_.CallNext(msg, wParam, lParam);
      OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
      return true;
    case WM_SYSCOMMAND: {
      UINT command = static_cast<UINT>(wParam) & 0xFFF0;
      if (command == SC_KEYMENU && lParam == L' ') {
        ShowMenuBelowIcon();
        result = 0;
        return true;
      }
      if (command == SC_MAXIMIZE || command == SC_RESTORE || command == SC_MINIMIZE) {
        CancelPress();
        SetHot(0);
        RemoveGlows();
        result = subclass_.CallNext(msg, wParam, lParam);
        if (IsWindow(window)) RepaintFrame();
        return true;
      }
      return false;
    }
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
      captionFont_.reset();
      dirty_ = true;
      return false;
    case WM_DESTROY:
      window_animation::CancelWindowAnimation(window);
      titleButtons_.HideHints();
      RemoveGlows();
      border_.reset();
      return false;
    default:
      return false;
  }
}

int TsSkinProvider::MenuLineHeight() const { return form_ ? TsMenuBar(*form_).LineHeight() : 0; }

int TsSkinProvider::MenuLineRows() const { return MenuBarLayout().rows; }

TsMenuBar::Layout TsSkinProvider::MenuBarLayout() const {
  FrameInput input = CurrentFrameInput();
  return MenuBarLayout(input.width, ComputeFrameLayout(input));
}

TsMenuBar::Layout TsSkinProvider::MenuBarLayout(int width, const FrameLayout& layout) const {
  if (!form_ || !skinned_) return {};
  return TsMenuBar(*form_).Compute(width, layout.top, layout.left, layout.right);
}

Rect TsSkinProvider::ExtendedMenuBand(int frameWidth) const {
  FrameInput input = CurrentFrameInput();
  input.width = frameWidth;
  return MenuBarLayout(frameWidth, ComputeFrameLayout(input)).band;
}

int TsSkinProvider::CodeAt(const FrameInput& input, const FrameLayout& layout, Point point) const {
  if (MenuBarLayout(input.width, layout).band.Contains(point)) return HTMENU;
  return FrameHitTest(input, layout, point);
}

void TsSkinProvider::DropMenuDown(LPARAM screenPoint) {
  HWND window = subclass_.Window();
  const TsMenuBar::Layout layout = MenuBarLayout();
  const int index = TsMenuBar::ItemAt(layout, ScreenToWindow(screenPoint));
  if (index < 0) return;
  // The menu loop's start repaints the band with the item selected (WM_ENTERMENULOOP).
  TsMenuBar(*form_).DropDown(layout, index, window, FrameOrigin());
  // The chosen item's click may have closed the form (and this provider with it).
  if (!IsWindow(window)) return;
  dirty_ = true;
  DeliverFrame();
}

bool TsSkinProvider::OnNcHitTest(LPARAM lParam, LRESULT& result) {
  if (int code = ExtHitTest({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); code != 0) {
    result = code;
    return true;
  }
  FrameInput input = CurrentFrameInput();
  const FrameLayout layout = ComputeFrameLayout(input);
  result = CodeAt(input, layout, ScreenToWindow(lParam));
  if (result == kHitNowhere) result = HTNOWHERE;
  return true;
}

void TsSkinProvider::OnNcMouseMove(int code) {
  if (pressed_) return;
  SetHot(IsButtonCode(code) ? code : 0);
  // In extended mode the border window follows the mouse's leaving.
  if (hot_ && !trackingLeave_ && !border_) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE | TME_NONCLIENT, subclass_.Window(), 0};
    trackingLeave_ = TrackMouseEvent(&track) != FALSE;
  }
}

bool TsSkinProvider::OnNcLeftButtonDown(int code, LPARAM lParam) {
  HWND window = subclass_.Window();
  if (IsButtonCode(code)) {
    // Like a platform button: pressed while the mouse stays over it, acting on release.
    SetHot(code);
    pressed_ = code;
    pressedInside_ = true;
    SetCapture(window);
    if (TitleButton* b = ButtonOf(code); b && b->glowId >= 0) {
      b->fade.ShowFull();
      SetGlowAlpha(b->glowId, 255);
    }
    RepaintButton(code);
    // Raised once per press, last: the handler may do anything with the form.
    if (TsTitleButton* user = UserButtonOf(code))
      user->OnMouseDown(user, TMouseButton::mbLeft, 0, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    return true;
  }
  if (code == kHitSysMenu) {
    SetHot(0);
    // A second click of a double click closes the window instead; wait for it a moment.
    DWORD start = GetTickCount();
    MSG pending;
    while (GetTickCount() - start < kIconDoubleClickWait) {
      if (PeekMessageW(&pending, window, WM_NCLBUTTONDBLCLK, WM_NCLBUTTONDBLCLK, PM_NOREMOVE)) return true;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, kIconDoubleClickWait - (GetTickCount() - start), QS_MOUSEBUTTON);
    }
    if (!IsWindow(window) || !skinned_) return true;
    ShowMenuBelowIcon();
    return true;
  }
  SetHot(0);
  // A click whose button is already up by now (a quick click, the first of a double click)
  // has nothing to drag: the platform's move loop would wait for a release that it never
  // sees and keep the window on the mouse.
  int button = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
  if (code != kHitClient && (GetAsyncKeyState(button) & 0x8000) == 0) return true;
  return false;  // the platform moves or sizes the window by the hit code
}

bool TsSkinProvider::OnNcLeftButtonDoubleClick(int code, LPARAM lParam) {
  HWND window = subclass_.Window();
  if (IsButtonCode(code)) return OnNcLeftButtonDown(code, lParam);
  if (code == kHitSysMenu) {
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
  }
  if (code == kHitCaption) {
    frame_commands::WindowCommands commands = CurrentCommands();
    if (IsZoomed(window) && commands.restoreEnabled) PostMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    else if (commands.maximizeEnabled) PostMessageW(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    return true;
  }
  return false;
}

void TsSkinProvider::OnButtonMouseMove(LPARAM lParam) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ClientToScreen(subclass_.Window(), &p);
  Point origin = WindowOrigin();
  bool inside = ButtonRect(CurrentLayout(), pressed_).Contains({p.x - origin.x, p.y - origin.y});
  if (inside == pressedInside_) return;
  pressedInside_ = inside;
  RepaintButton(pressed_);
}

void TsSkinProvider::OnButtonRelease(LPARAM lParam) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ClientToScreen(subclass_.Window(), &p);
  Point origin = WindowOrigin();
  int code = pressed_;
  bool inside = ButtonRect(CurrentLayout(), code).Contains({p.x - origin.x, p.y - origin.y});
  pressed_ = 0;
  pressedInside_ = false;
  ReleaseCapture();
  RepaintButton(code);
  SetHot(inside ? code : 0);
  if (inside) ExecuteButton(code, {p.x, p.y});
}

void TsSkinProvider::CancelPress() {
  if (!pressed_) return;
  int code = pressed_;
  pressed_ = 0;
  pressedInside_ = false;
  if (GetCapture() == subclass_.Window()) ReleaseCapture();
  RepaintButton(code);
  SetHot(0);
}

void TsSkinProvider::ExecuteButton(int hitCode, Point screen) {
  HWND window = subclass_.Window();
  if (TsTitleButton* user = UserButtonOf(hitCode)) {
    user->OnMouseUp(user, TMouseButton::mbLeft, 0, screen.x, screen.y);
    return;
  }
  // Posted: the command runs after the button has finished with the mouse.
  switch (hitCode) {
    case kHitClose: PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case kHitMaxButton: PostMessageW(window, WM_SYSCOMMAND, IsZoomed(window) ? SC_RESTORE : SC_MAXIMIZE, 0); break;
    case kHitMinButton: PostMessageW(window, WM_SYSCOMMAND, IsIconic(window) ? SC_RESTORE : SC_MINIMIZE, 0); break;
    default: break;
  }
}

void TsSkinProvider::OnGetMinMaxInfo(MINMAXINFO* info) {
  // Maximised, the window covers the work area exactly: its frame is laid out for that.
  HMONITOR monitor = MonitorFromWindow(subclass_.Window(), MONITOR_DEFAULTTONEAREST);
  MONITORINFO mi{sizeof(mi)};
  if (!GetMonitorInfoW(monitor, &mi)) return;
  if (border_) {
    // In extended mode the client area covers the work area below the maximised title band;
    // the form's slim platform frame lies beyond it.
    const FrameSkinValues& s = skinValues_;
    int band = s.maxHeight > 0 ? s.maxHeight : s.titleHeight;
    Rect work{mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom};
    Rect r = ExtendedMaximizedForm(work, GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYCAPTION), band);
    info->ptMaxPosition = {r.left - mi.rcMonitor.left, r.top - mi.rcMonitor.top};
    info->ptMaxSize = {r.Width(), r.Height()};
    info->ptMaxTrackSize.x = std::max<LONG>(info->ptMaxTrackSize.x, r.Width());
    info->ptMaxTrackSize.y = std::max<LONG>(info->ptMaxTrackSize.y, r.Height());
    return;
  }
  info->ptMaxPosition = {mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top};
  info->ptMaxSize = {mi.rcWork.right - mi.rcWork.left, mi.rcWork.bottom - mi.rcWork.top};
}

void TsSkinProvider::OnWindowPosChanging(WINDOWPOS* pos) {
  // Only a move by the user snaps: a placement the program sets (restored settings) is kept.
  HWND window = subclass_.Window();
  if (!screenSnap_ || !userMoving_ || !pos || (pos->flags & SWP_NOMOVE) || IsZoomed(window) || IsIconic(window)) return;
  RECT r;
  GetWindowRect(window, &r);
  // A border drag keeps its fixed edges where they are.
  if (!(pos->flags & SWP_NOSIZE) && (pos->cx != r.right - r.left || pos->cy != r.bottom - r.top)) return;
  Rect bounds = Rect::FromSize(pos->x, pos->y, r.right - r.left, r.bottom - r.top);
  RECT proposed{bounds.left, bounds.top, bounds.right, bounds.bottom};
  MONITORINFO monitor{sizeof(monitor)};
  if (!GetMonitorInfoW(MonitorFromRect(&proposed, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& w = monitor.rcWork;
  Point at = frame_snap::SnapToWorkArea(bounds, {w.left, w.top, w.right, w.bottom}, snapBuffer_);
  pos->x = at.x;
  pos->y = at.y;
}

void TsSkinProvider::UpdateWindowRegion() {
  HWND window = subclass_.Window();
  TsSkinManager* manager = SkinManager();
  if (window && skinned_ && border_ && !IsIconic(window)) {
    // Extended mode: the form shows its client area only, the border window the frame.
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    // The menu band is shown by the border window behind the form, as the rest of the frame.
    const ExtendedFrameGeometry g = ExtendedGeometry();
    const int band = ExtendedMenuBand(g.frame.Width()).Height();
    if (width == regionWidth_ && height == regionHeight_ && band == regionBand_) return;
    Rect client = g.formRegion;
    client.top = std::min(client.top + band, client.bottom);
    regionBand_ = band;
    UniqueRegion shape(CreateRectRgn(client.left, client.top, client.right, client.bottom));
    regionWidth_ = width;
    regionHeight_ = height;
    if (SetWindowRgn(window, shape.get(), IsWindowVisible(window))) shape.release();
    else regionWidth_ = regionHeight_ = 0;
    return;
  }
  if (!window || !skinned_ || !manager || IsZoomed(window) || IsIconic(window)) {
    ClearWindowRegion();
    return;
  }
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width == regionWidth_ && height == regionHeight_) return;
  const LoadedSkin& skin = manager->Skin();
  std::vector<Rect> cuts;
  auto addMask = [&](int section, bool bottomCorners) {
    if (!manager->IsValidSection(section)) return;
    int index = skin.Sections[static_cast<size_t>(section)].BorderIndex;
    if (!skin.IsValidItem(index)) return;
    const TsMaskData& mask = skin.Items[static_cast<size_t>(index)];
    frame_region::AddCornerCuts(skin.ItemBitmap(mask), mask, width, height, bottomCorners, cuts);
  };
  addMask(formSection_, true);
  // The title band lies along the top: only its top corners are the window's.
  if (skinValues_.titleHeight > 0) addMask(titleSection_, false);
  if (cuts.empty()) {
    ClearWindowRegion();
    return;
  }
  UniqueRegion shape(CreateRectRgn(0, 0, width, height));
  for (const Rect& cut : cuts) {
    UniqueRegion piece(CreateRectRgn(cut.left, cut.top, cut.right, cut.bottom));
    CombineRgn(shape.get(), shape.get(), piece.get(), RGN_DIFF);
  }
  // Noted first: setting the region moves the window through the messages that land here.
  regionWidth_ = width;
  regionHeight_ = height;
  // A region handed over belongs to the window from then on.
  if (SetWindowRgn(window, shape.get(), IsWindowVisible(window))) shape.release();
  else regionWidth_ = regionHeight_ = 0;
}

void TsSkinProvider::ClearWindowRegion() {
  HWND window = subclass_.Window();
  if (!window || regionWidth_ == 0) return;
  regionWidth_ = regionHeight_ = 0;
  SetWindowRgn(window, nullptr, IsWindowVisible(window));
}

// ---------------------------------------------------------------------------------------------
// System menu

void TsSkinProvider::ShowMenuBelowIcon() {
  FrameLayout layout = CurrentLayout();
  Point origin = WindowOrigin();
  int x = origin.x + (layout.icon.Empty() ? layout.left : layout.icon.left);
  int y = origin.y + layout.top;
  ShowSystemMenu(x, y);
}

void TsSkinProvider::ShowSystemMenu(int screenX, int screenY) {
  HWND window = subclass_.Window();
  if (!window) return;
  TsSkinManager* manager = SkinManager();
  if (skinned_ && systemMenu_ && manager && manager->SkinnedPopups()) {
    SetForegroundWindow(window);
    systemMenu_->Show(screenX, screenY, makeSkinMenu_ ? manager : nullptr);
    return;
  }
  HMENU menu = GetSystemMenu(window, FALSE);
  if (!menu) return;
  frame_commands::WindowCommands c = CurrentCommands();
  auto enable = [menu](UINT command, bool on) { EnableMenuItem(menu, command, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
  enable(SC_RESTORE, c.menuRestore);
  enable(SC_MOVE, c.menuMove);
  enable(SC_SIZE, c.menuSize);
  enable(SC_MINIMIZE, c.menuMinimize);
  enable(SC_MAXIMIZE, c.menuMaximize);
  enable(SC_CLOSE, c.menuClose);
  SetForegroundWindow(window);
  UINT command = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                                                  screenX, screenY, 0, window, nullptr));
  if (command && IsWindow(window)) PostMessageW(window, WM_SYSCOMMAND, command, 0);
}

// ---------------------------------------------------------------------------------------------
// Composing and showing the frame

Rect TsSkinProvider::ImageBounds() const {
  if (border_) {
    ExtendedFrameGeometry g = ExtendedGeometry();
    return {0, 0, g.imageWidth, g.imageHeight};
  }
  RECT r{};
  if (subclass_.Window()) GetWindowRect(subclass_.Window(), &r);
  return {0, 0, r.right - r.left, r.bottom - r.top};
}

Bitmap TsSkinProvider::FrameView() {
  Bitmap& whole = image_.Pixels();
  if (!border_) return Bitmap::View(whole.Width(), whole.Height(), whole.Format(), whole.Row(0), whole.Stride());
  Rect frame = ExtendedGeometry().frameInImage.Intersect(whole.Bounds());
  if (frame.Empty()) return {};
  return Bitmap::View(frame.Width(), frame.Height(), whole.Format(), whole.PixelAt(frame.left, frame.top), whole.Stride());
}

void TsSkinProvider::EnsureComposed() {
  bool sized = image_ && image_.Pixels().Bounds() == ImageBounds();
  if (dirty_ || !sized) ComposeFrameImage();
}

void TsSkinProvider::ComposeFrameImage() {
  TsSkinManager* manager = SkinManager();
  HWND window = subclass_.Window();
  if (!manager || !window || !skinned_) return;
  FrameInput input = CurrentFrameInput();
  if (input.width <= 0 || input.height <= 0) return;
  FrameLayout layout = ComputeFrameLayout(input);
  const bool extended = border_ != nullptr;
  const Rect bounds = ImageBounds();
  const PixelFormat format = extended ? PixelFormat::pf32bit : PixelFormat::pf24bit;
  if (!image_ || image_.Pixels().Bounds() != bounds || image_.Pixels().Format() != format)
    image_ = extended ? DibSection::CreateBitmap32(bounds.Width(), bounds.Height())
                      : DibSection::CreateBitmap24(bounds.Width(), bounds.Height());
  if (!image_) return;
  Bitmap& whole = image_.Pixels();
  // Frame coordinates: the frame lies inside the shadow's margins of the picture.
  const Rect frame = extended ? ExtendedGeometry().frameInImage : whole.Bounds();
  Bitmap pixels = FrameView();
  if (pixels.Empty()) return;
  const int state = activeLook_ ? 1 : 0;
  const bool titleLater = extended && skinValues_.borderMode == 1;
  if (extended)  // the shadow is laid over a transparent picture
    for (int y = 0; y < whole.Height(); ++y) std::memset(whole.Row(y), 0, static_cast<size_t>(whole.Width()) * 4);
  std::string section = bv::WideToUtf8(skinSection_);
  PaintSection(*manager, formSection_, section, EmptyBackground(), pixels, {0, 0}, pixels.Bounds(), state, true);

  UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
  SelectedObject selected(memory.get(), image_.Handle());
  SetViewportOrgEx(memory.get(), frame.left, frame.top, nullptr);
  auto paintTitle = [&] {
    if (manager->IsValidSection(titleSection_) && !layout.titleBand.Empty()) {
      // The title section may let the form section show through: a copy of the band beneath.
      Bitmap under(layout.titleBand.Width(), layout.titleBand.Height(), pixels.Format());
      CopyPiece(under, 0, 0, pixels, layout.titleBand);
      PaintSection(*manager, titleSection_, "FORMTITLE", BackgroundFromBitmap(under, 0, 0), pixels, {0, 0},
                   layout.titleBand, state, true);
    }
    if (!layout.icon.Empty()) {
      GdiFlush();
      auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
      if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICONSM));
      if (!icon) icon = LoadIconW(nullptr, IDI_APPLICATION);
      DrawIconEx(memory.get(), layout.icon.left, layout.icon.top, icon, layout.icon.Width(), layout.icon.Height(), 0,
                 nullptr, DI_NORMAL);
      GdiFlush();
    }
  };
  if (!titleLater) paintTitle();
  TsMenuBar(*form_).Paint(memory.get(), pixels, MenuBarLayout(input.width, layout), activeLook_);
  if (extended) {
    SetRectAlpha(whole, frame, 255);
    ComposeShadow(whole, frame, layout.top);
    // The header as the shadow left it: the title painting keeps its transparency.
    header_ = Bitmap(whole.Width(), std::min(whole.Height(), frame.top + layout.top), PixelFormat::pf32bit);
    CopyPiece(header_, 0, 0, whole, header_.Bounds());
    if (titleLater) paintTitle();
  }

  DrawCaption(memory.get(), pixels, layout);
  GdiFlush();
  // The title band before the buttons (they lie inside it): buttons repaint over this copy.
  base_ = Bitmap(layout.titleBand.Width(), layout.titleBand.Height(), pixels.Format());
  CopyPiece(base_, 0, 0, pixels, layout.titleBand);
  PaintButtons(pixels, layout);
  if (extended) frame_shadow::RestoreAlpha(whole, header_, {0, 0}, header_.Bounds());
  dirty_ = false;
  ++compositions_;
}

void TsSkinProvider::DrawCaption(HDC dc, Bitmap& pixels, const FrameLayout& layout) {
  captionPlacement_ = {};
  HWND window = subclass_.Window();
  TsSkinManager* manager = SkinManager();
  if (layout.caption.Empty() || !manager) return;
  if (!captionFont_) {
    NONCLIENTMETRICSW metrics{sizeof(metrics)};
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    captionFont_.reset(CreateFontIndirectW(&metrics.lfCaptionFont));
  }
  int length = GetWindowTextLengthW(window);
  std::wstring caption(static_cast<size_t>(length) + 1, L'\0');
  caption.resize(static_cast<size_t>(GetWindowTextW(window, caption.data(), length + 1)));
  const std::wstring& added = addedTitle_.Text();
  SetBkMode(dc, TRANSPARENT);
  auto widthOf = [dc](const std::wstring& text, HFONT font) {
    SelectedObject selected(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  };
  const int addedWidth = added.empty() ? 0 : widthOf(added, addedTitle_.Font()->Handle());
  const CaptionAlign align = captionAlignment_ == TAlignment::taRightJustify ? CaptionAlign::Right
                             : captionAlignment_ == TAlignment::taCenter    ? CaptionAlign::Center
                                                                            : CaptionAlign::Left;
  captionPlacement_ = PlaceCaption(layout.caption, widthOf(caption, captionFont_.get()), addedWidth, align);
  int textSection = manager->IsValidSection(titleSection_) ? titleSection_ : formSection_;
  if (!captionPlacement_.text.Empty()) {
    SelectedObject font(dc, captionFont_.get());
    if (manager->IsValidSection(textSection)) {
      const TsGeneralData& s = manager->Skin().Sections[static_cast<size_t>(textSection)];
      if ((activeLook_ ? s.HotGlowSize : s.GlowSize) > 0) {
        GdiFlush();
        GdiTextRasterizer rasterizer(captionFont_.get());
        PaintSkinTextGlow(pixels, rasterizer, caption, captionPlacement_.text, kCaptionFormat, s, activeLook_);
      }
    }
    WriteSectionText(dc, caption, true, manager, activeLook_, textSection, kCaptionFormat, captionPlacement_.text);
  }
  if (captionPlacement_.added.Empty()) return;
  const TFont& addedFont = *addedTitle_.Font();
  SelectedObject font(dc, addedFont.Handle());
  const TColor own = addedFont.Color();
  if (own == clNone || own == clWindowText || !manager->IsValidSection(textSection)) {
    // The title band's text colour for the look.
    WriteSectionText(dc, added, true, manager, activeLook_, textSection, kCaptionFormat, captionPlacement_.added);
    return;
  }
  // Its own colour; an inactive window mixes it half and half with the band's text colour.
  COLORREF color = ColorToRGB(own);
  if (!activeLook_) {
    COLORREF band = ColorToRGB(manager->Skin().Sections[static_cast<size_t>(textSection)].FontColor[0]);
    color = RGB((GetRValue(color) + GetRValue(band)) / 2, (GetGValue(color) + GetGValue(band)) / 2,
                (GetBValue(color) + GetBValue(band)) / 2);
  }
  SetTextColor(dc, color);
  RECT r{captionPlacement_.added.left, captionPlacement_.added.top, captionPlacement_.added.right,
         captionPlacement_.added.bottom};
  DrawTextW(dc, added.c_str(), static_cast<int>(added.size()), &r, kCaptionFormat);
}

void TsSkinProvider::PaintButtons(Bitmap& pixels, const FrameLayout& layout) {
  for (const TitleButton& b : buttons_) {
    Rect rect = ButtonRect(layout, b.hitCode);
    if (!rect.Empty()) PaintButton(pixels, b, rect);
  }
  for (size_t i = 0; i < layout.user.size(); ++i)
    if (!layout.user[i].Empty()) PaintUserButton(pixels, kHitUserButton + static_cast<int>(i), layout.user[i]);
}

void TsSkinProvider::PaintUserButton(Bitmap& pixels, int hitCode, const Rect& rect) {
  TsSkinManager* manager = SkinManager();
  const int index = UserButtonIndex(hitCode);
  if (!manager || !IsUserButtonCode(hitCode) || index >= titleButtons_.Count()) return;
  const TsTitleButton* b = titleButtons_.Items(index);
  const LoadedSkin& skin = manager->Skin();
  const int state = b->Enabled() ? ButtonState(hitCode) : 0;
  const bool faded = state == 0 && !activeLook_;
  if (b->UseSkinData() && skin.IsValidItem(titleButtonImage_))
    PaintGlyphItem(&skin, pixels, {rect.left, rect.top}, state, EmptyBackground(),
                   skin.Items[static_cast<size_t>(titleButtonImage_)], faded ? 0 : 1);
  const Bitmap& glyph = b->Glyph();
  if (glyph.Empty()) return;
  // Centred; pressed, one pixel right and down.
  const int shift = state == 2 ? 1 : 0;
  b->PaintGlyph(pixels, {rect.left + (rect.Width() - glyph.Width()) / 2 + shift,
                         rect.top + (rect.Height() - glyph.Height()) / 2 + shift});
}

int TsSkinProvider::ButtonState(int hitCode) const {
  if (pressed_ == hitCode) return pressedInside_ ? 2 : 0;
  return hot_ == hitCode && !pressed_ ? 1 : 0;
}

void TsSkinProvider::PaintButton(Bitmap& pixels, const TitleButton& button, const Rect& rect) {
  TsSkinManager* manager = SkinManager();
  if (!manager) return;
  const LoadedSkin& skin = manager->Skin();
  HWND window = subclass_.Window();
  bool zoomed = window && IsZoomed(window);
  int image = button.hitCode == kHitMaxButton && zoomed ? button.restoreImage : button.image;
  if (!skin.IsValidItem(image)) return;
  frame_commands::WindowCommands commands = CurrentCommands();
  bool enabled = button.hitCode == kHitClose         ? true
                 : button.hitCode == kHitMaxButton ? commands.MaximizeButtonActs()
                                                   : commands.MinimizeButtonActs();
  int state = ButtonState(button.hitCode);
  bool faded = !enabled || (state == 0 && !activeLook_);
  PaintGlyphItem(&skin, pixels, {rect.left, rect.top}, enabled ? state : 0, EmptyBackground(),
                 skin.Items[static_cast<size_t>(image)], faded ? 0 : 1);
}

void TsSkinProvider::RepaintButton(int hitCode) {
  HWND window = subclass_.Window();
  if (!skinned_ || !window || !image_ || IsIconic(window)) return;
  FrameLayout layout = CurrentLayout();
  Rect button = ButtonRect(layout, hitCode);
  if (dirty_ || image_.Pixels().Bounds() != ImageBounds() || base_.Width() != layout.titleBand.Width() ||
      button.bottom > base_.Height()) {
    DeliverFrame();
    return;
  }
  const TitleButton* b = ButtonOf(hitCode);
  Bitmap pixels = FrameView();
  Rect rect = button.Intersect(pixels.Bounds());
  if ((!b && !IsUserButtonCode(hitCode)) || rect.Empty()) return;
  // Over the picture without buttons, so the frame is not composed again.
  CopyPiece(pixels, rect.left, rect.top, base_, rect);
  if (b) PaintButton(pixels, *b, button);
  else PaintUserButton(pixels, hitCode, button);
  if (border_) {
    Rect frame = ExtendedGeometry().frameInImage;
    frame_shadow::RestoreAlpha(image_.Pixels(), header_, {0, 0}, rect.Offset(frame.left, frame.top));
    UpdateBorderWindow(true);
    return;
  }
  WindowDc dc(window, true);
  UniqueMemoryDc memory(CreateCompatibleDC(dc.get()));
  SelectedObject selected(memory.get(), image_.Handle());
  BitBlt(dc.get(), rect.left, rect.top, rect.Width(), rect.Height(), memory.get(), rect.left, rect.top, SRCCOPY);
}

void TsSkinProvider::PaintFrame(HDC dc) {
  EnsureComposed();
  if (!image_) return;
  FrameLayout layout = CurrentLayout();
  const Bitmap& pixels = image_.Pixels();
  Rect client = layout.Client(pixels.Width(), pixels.Height());
  client.top += MenuBarLayout(pixels.Width(), layout).band.Height();
  ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
  UniqueMemoryDc memory(CreateCompatibleDC(dc));
  SelectedObject selected(memory.get(), image_.Handle());
  BitBlt(dc, 0, 0, pixels.Width(), pixels.Height(), memory.get(), 0, 0, SRCCOPY);
}

void TsSkinProvider::DeliverFrame() {
  HWND window = subclass_.Window();
  if (!skinned_ || !window) return;
  // Under a running animation the picture waits: the animation ends with a complete redraw.
  if (window_animation::Animating()) return;
  if (border_) {
    UpdateBorderWindow(true);
    return;
  }
  WindowDc dc(window, true);
  PaintFrame(dc.get());
}

void TsSkinProvider::RepaintFrame() {
  dirty_ = true;
  HWND window = subclass_.Window();
  if (window && IsWindowVisible(window) && !IsIconic(window)) DeliverFrame();
  else if (border_) border_->Hide();
}

// ---------------------------------------------------------------------------------------------
// Hot buttons and their glow

void TsSkinProvider::SetHot(int hitCode) {
  if (hitCode == hot_) return;
  int old = hot_;
  hot_ = hitCode;
  if (old) {
    if (IsUserButtonCode(old) && UserButtonIndex(old) < titleButtons_.Count()) titleButtons_.Items(UserButtonIndex(old))->HideHint();
    RepaintButton(old);
    StartGlow(old, false);
  }
  if (hitCode) {
    RepaintButton(hitCode);
    StartGlow(hitCode, true);
    if (TsTitleButton* user = UserButtonOf(hitCode); user && !pressed_) {
      POINT cursor{};
      GetCursorPos(&cursor);
      RECT bounds{};
      GetWindowRect(subclass_.Window(), &bounds);
      if (border_) {
        Rect frame = ExtendedGeometry().frame;
        bounds = {frame.left, frame.top, frame.right, frame.bottom};
      }
      user->ShowHint(cursor, bounds);
    }
  }
}

void TsSkinProvider::StartGlow(int hitCode, bool in) {
  TitleButton* b = ButtonOf(hitCode);
  TsSkinManager* manager = SkinManager();
  HWND window = subclass_.Window();
  if (!b || !manager || !window) return;
  if (in) {
    if (!manager->AllowGlowing() || !b->glowAllowed) return;
    if (b->glowId < 0) {
      int item = hitCode == kHitMaxButton && IsZoomed(window) ? b->restoreGlow : b->glow;
      Bitmap picture = ItemPicture(manager->Skin(), item);
      Rect rect = ButtonRect(CurrentLayout(), hitCode);
      if (picture.Width() <= 0 || rect.Empty()) return;
      Point origin = WindowOrigin();
      // The glow picture is centred on the button (it reaches its margin beyond it).
      Point at{origin.x + rect.left + (rect.Width() - picture.Width()) / 2,
               origin.y + rect.top + (rect.Height() - picture.Height()) / 2};
      b->fade = frame_fade::GlowFade(10);
      b->glowId = ShowGlowPicture(picture, at, window, 0, b->glowMargin, item);
      if (b->glowId < 0) return;
    }
    b->fade.Start(true);
  } else {
    if (b->glowId < 0) return;
    b->fade.Start(false);
  }
  SetGlowAlpha(b->glowId, static_cast<uint8_t>(b->fade.Alpha()));
  if (b->fade.Gone()) {
    HideGlowWindow(b->glowId);
    b->glowId = -1;
  }
  if (b->fade.Running()) SetTimer(window, kGlowTimer, kGlowInterval, nullptr);
}

void TsSkinProvider::TickGlows() {
  bool running = false;
  for (TitleButton& b : buttons_) {
    if (b.glowId < 0 || !b.fade.Running()) continue;
    b.fade.Tick();
    SetGlowAlpha(b.glowId, static_cast<uint8_t>(b.fade.Alpha()));
    if (b.fade.Gone()) {
      HideGlowWindow(b.glowId);
      b.glowId = -1;
    }
    running = running || b.fade.Running();
  }
  if (!running && subclass_.Window()) KillTimer(subclass_.Window(), kGlowTimer);
}

void TsSkinProvider::RemoveGlows() {
  for (TitleButton& b : buttons_) {
    if (b.glowId >= 0) HideGlowWindow(b.glowId);
    b.glowId = -1;
    b.fade = frame_fade::GlowFade(10);
  }
  if (subclass_.Window() && IsWindow(subclass_.Window())) KillTimer(subclass_.Window(), kGlowTimer);
}

// ---------------------------------------------------------------------------------------------
// Extended mode: the frame and its shadow in a border window behind the form

void TsSkinProvider::SetAllowExtBorders(bool value) {
  if (value == allowExtBorders_) return;
  allowExtBorders_ = value;
  if (!skinned_) return;
  EnterExtendedMode(ExtendedAllowed());
  ClearWindowRegion();
  UpdateWindowRegion();
  SetFrameChanged();
  RepaintFrame();
}

bool TsSkinProvider::ExtendedAllowed() const {
  TsSkinManager* manager = SkinManager();
  return allowExtBorders_ && skinned_ && manager && manager->ExtendedBorders() && form_ && !form_->Parent() &&
         form_->BorderStyle() != TFormBorderStyle::bsNone && form_->FormStyle() != TFormStyle::fsMDIChild;
}

void TsSkinProvider::EnterExtendedMode(bool on) {
  if (on == Extended()) return;
  HWND window = subclass_.Window();
  if (on && window) {
    TvlBorderForm::Served served;
    served.form = window;
    served.hitTest = [this](Point screen) { return BorderHitTest(screen); };
    served.overShadow = [this] {
      if (!pressed_) SetHot(0);
    };
    border_ = std::make_unique<TvlBorderForm>(std::move(served));
    if (!border_->Window()) border_.reset();
  } else {
    border_.reset();
  }
  // The picture changes its format (32 bits with the shadow, 24 without).
  image_ = DibSection();
  header_ = Bitmap();
  dirty_ = true;
}

HWND TsSkinProvider::BorderWindow() const { return border_ ? border_->Window() : nullptr; }

ExtendedFrameGeometry TsSkinProvider::ExtendedGeometry() const {
  ExtendedFrameInput in;
  HWND window = subclass_.Window();
  TsSkinManager* manager = SkinManager();
  if (!window) return {};
  RECT r;
  GetWindowRect(window, &r);
  in.form = {r.left, r.top, r.right, r.bottom};
  in.maximized = IsZoomed(window) != FALSE;
  LONG style = GetWindowLongW(window, GWL_STYLE);
  in.caption = (style & WS_CAPTION) == WS_CAPTION;
  in.platformSide = (style & WS_THICKFRAME) ? GetSystemMetrics(SM_CXFRAME)
                    : (style & WS_BORDER)   ? GetSystemMetrics(SM_CXDLGFRAME)
                                            : 0;
  in.platformCaption = GetSystemMetrics(SM_CYCAPTION);
  in.borderWidth = skinValues_.borderWidth;
  in.titleHeight = skinValues_.titleHeight;
  if (manager) in.margins = manager->ShadowMargins();
  return ComputeExtendedFrameGeometry(in);
}

int TsSkinProvider::BorderHitTest(Point screen) const {
  HWND window = subclass_.Window();
  if (!window) return kHitShadow;
  if (int code = ExtHitTest(screen); code != 0) return code;
  FrameInput input = CurrentFrameInput();
  Point origin = FrameOrigin();
  Point p{screen.x - origin.x, screen.y - origin.y};
  if (p.x < 0 || p.y < 0 || p.x >= input.width || p.y >= input.height) return kHitShadow;
  if (!IsWindowEnabled(window)) return kHitNowhere;
  return CodeAt(input, ComputeFrameLayout(input), p);
}

void TsSkinProvider::UpdateBorderWindow(bool redraw) {
  HWND window = subclass_.Window();
  if (!border_ || updatingBorder_ || !window || !skinned_) return;
  if (!IsWindowVisible(window) || IsIconic(window)) {
    border_->Hide();
    return;
  }
  updatingBorder_ = true;
  ExtendedFrameGeometry g = ExtendedGeometry();
  if (dirty_ || !image_ || image_.Pixels().Bounds() != Rect{0, 0, g.imageWidth, g.imageHeight}) {
    ComposeFrameImage();
    redraw = true;
  }
  if (image_) {
    const Bitmap& whole = image_.Pixels();
    if (redraw || !border_->Shown()) {
      // Maximised, the lower part of the picture (the shadow and the bottom frame) is cut off.
      int height = std::min(whole.Height(), g.window.Height());
      Bitmap shown = Bitmap::View(whole.Width(), height, whole.Format(), const_cast<uint8_t*>(whole.Row(0)), whole.Stride());
      border_->Show(shown, {g.window.left, g.window.top}, g.windowRegion, 255);
    } else {
      border_->Place({g.window.left, g.window.top});
    }
  }
  updatingBorder_ = false;
}

void TsSkinProvider::OnBorderWindowPosChanged(const WINDOWPOS& pos) {
  HWND window = subclass_.Window();
  if (!window) return;
  if ((pos.flags & SWP_HIDEWINDOW) || !IsWindowVisible(window) || IsIconic(window)) {
    border_->Hide();
    return;
  }
  if (!border_->Shown()) {
    UpdateBorderWindow(true);
  } else if ((pos.flags & SWP_SHOWWINDOW) || !(pos.flags & SWP_NOMOVE) || !(pos.flags & SWP_NOSIZE) ||
             (pos.flags & SWP_FRAMECHANGED)) {
    // A move only places the border window; a new size lays the frame out anew and hands the
    // picture over, once per size. A form being shown has usually had its border window shown
    // already, by the activation that came first: the picture is handed over again only when
    // it changed since.
    UpdateBorderWindow(false);
  }
  if (!(pos.flags & SWP_NOZORDER) || (pos.flags & SWP_SHOWWINDOW)) {
    border_->FollowForm();
    border_->FollowFormLater();
  }
}

void TsSkinProvider::ComposeShadow(Bitmap& whole, const Rect& frame, int titleBand) {
  TsSkinManager* manager = SkinManager();
  if (!manager) return;
  const Bitmap& shadow = activeLook_ ? manager->ShadowActive() : manager->ShadowInactive();
  if (shadow.Empty()) return;
  const LoadedSkin& skin = manager->Skin();
  const Rect& m = manager->ShadowMargins();
  int exBorder = manager->CommonIndexes().ExBorder;
  Rect borders;
  if (skin.IsValidItem(exBorder)) {
    const TsMaskData& item = skin.Items[static_cast<size_t>(exBorder)];
    borders = {item.WL, item.WT, item.WR, item.WB};
  } else {
    // The built-in shadow pictures: the margins and the frame's corner beside them.
    const int corner = std::max(0, static_cast<int>(skin.Data.FormOffset));
    borders = {m.left + corner, m.top + corner, m.right + corner, m.bottom + corner};
  }
  const int height = whole.Height();
  if (skinValues_.borderMode == 1) {
    // The picture holds the frame itself (its borders reach into the title band): its pixels
    // take the place of the form section's, so that its rounded corners stay transparent.
    borders.top = std::min(borders.top, (height - titleBand) / 2 + titleBand);
    borders.bottom = std::min(borders.bottom, (height - titleBand) / 2);
    frame_shadow::NinePart nine(shadow, borders, whole.Width(), height);
    frame_shadow::BlendShadowFrame(whole, nine, {}, true);
    return;
  }
  frame_shadow::NinePart nine(shadow, borders, whole.Width(), height);
  frame_shadow::BlendShadowFrame(whole, nine, frame);
  // The cut-out corners of the frame show the shadow behind them.
  std::vector<Rect> cuts;
  // The corner cuts of a section's border mask; `lowest`: the first row of its bottom zone.
  auto addMask = [&](int section, std::vector<Rect>& into, int* lowest) {
    if (!manager->IsValidSection(section)) return false;
    int index = skin.Sections[static_cast<size_t>(section)].BorderIndex;
    if (!skin.IsValidItem(index)) return false;
    const TsMaskData& mask = skin.Items[static_cast<size_t>(index)];
    frame_region::AddCornerCuts(skin.ItemBitmap(mask), mask, frame.Width(), frame.Height(), lowest != nullptr, into);
    if (lowest) *lowest = frame.Height() - mask.WB;
    return true;
  };
  const bool titleCorners = addMask(titleSection_, cuts, nullptr);
  std::vector<Rect> formCuts;
  int lowest = 0;
  addMask(formSection_, formCuts, &lowest);
  for (const Rect& cut : formCuts) {
    // The top corners come from the title's mask when it has one; the form's own top-left
    // zone serves at most 8 x 8 pixels.
    bool bottom = cut.top >= lowest;
    if (bottom) cuts.push_back(cut);
    else if (!titleCorners) {
      Rect piece = cut.left < frame.Width() / 2 ? cut.Intersect({0, 0, 8, 8}) : cut;
      if (!piece.Empty()) cuts.push_back(piece);
    }
  }
  for (Rect& cut : cuts) cut = cut.Offset(frame.left, frame.top);
  frame_shadow::PutShadowPixels(whole, nine, cuts);
}
