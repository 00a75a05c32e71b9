// See vlDialogWnd.h.
#include "adapters/dialogs/vlDialogWnd.h"

#include <windowsx.h>

#include <algorithm>

#include "adapters/dialogs/DialogRules.h"
#include "adapters/dialogs/vlProvider.h"
#include "frame/FrameRegion.h"
#include "frame/WindowAnimation.h"
#include "framework/Graphics.h"
#include "paint/BackgroundRef.h"
#include "paint/GdiTextRasterizer.h"
#include "paint/ImageItems.h"
#include "paint/PieceCopy.h"
#include "paint/SkinPainters.h"
#include "paint/SkinText.h"
#include "paint/SkinTextWriter.h"
#include "skin/SkinCommands.h"
#include "skin/sSkinManager.h"

using namespace frame_geometry;

namespace {

constexpr UINT kCaptionFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | DT_LEFT;
// Message 1326: a dialog page changed (child windows may have come).
constexpr UINT kPageChanged = 0x052E;
// Static controls with this style bit lie on the dialog's background and are not clipped out.
constexpr LONG kStaticTransparentBit = 0x10000;

bool IsTitleButton(int code) { return code == HTCLOSE || code == HTMAXBUTTON || code == HTMINBUTTON; }

std::wstring ClassNameOf(HWND window) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  return name;
}

}  // namespace

TvlDialogWnd::TvlDialogWnd(HWND dialog, TvlProvider* provider)
    : TvlMainWnd(dialog, nullptr, "DIALOG", "DIALOG"), provider_(provider) {
  buttons_[0].hitCode = HTCLOSE;
  buttons_[1].hitCode = HTMAXBUTTON;
  buttons_[2].hitCode = HTMINBUTTON;
}

TvlDialogWnd::~TvlDialogWnd() {
  // A show animation of the dialog ends with its adapter (its window goes at once).
  window_animation::CancelWindowAnimation(window_);
  HWND window = window_;
  bool restore = initialized_ && !Unhooked() && IsWindow(window);
  Detach();
  if (restore) {
    // The dialog gets its own look back: its system menu style and no shape of ours.
    SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) | (style_ & WS_SYSMENU));
    if (regionWidth_ > 0) SetWindowRgn(window, nullptr, IsWindowVisible(window));
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
}

void TvlDialogWnd::Initialize() {
  style_ = static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE));
  exStyle_ = static_cast<DWORD>(GetWindowLongW(window_, GWL_EXSTYLE));
  frameKind_ = dialog_rules::FrameKind(style_);
  LookUpSkin();
  NONCLIENTMETRICSW metrics{sizeof(metrics)};
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  captionFont_.reset(CreateFontIndirectW(&metrics.lfCaptionFont));
  validateOnly_ = LOBYTE(LOWORD(GetVersion())) >= 6;
  initialized_ = true;
  if (style_ & WS_SYSMENU) SetWindowLongW(window_, GWL_STYLE, static_cast<LONG>(style_ & ~WS_SYSMENU));
  dirty_ = regionDirty_ = true;
}

void TvlDialogWnd::LookUpSkin() {
  TsSkinManager* manager = SkinManager();
  section_ = titleSection_ = captionSection_ = -1;
  for (TitleButton& b : buttons_) b.image = b.restoreImage = -1;
  if (!manager || !manager->Active()) return;
  section_ = manager->SectionIndexOf("DIALOG");
  // A skin without a dialog section dresses dialogs like its forms.
  if (!manager->IsValidSection(section_)) section_ = manager->SectionIndexOf("FORM");
  titleSection_ = manager->SectionIndexOf("FORMTITLE");
  captionSection_ = manager->SectionIndexOf("CAPTION");
  int global = manager->CommonIndexes().GlobalInfo;
  auto item = [&](const char* key) { return manager->ImageItemIndexOf(global, "GLOBALINFO", key); };
  const LoadedSkin& skin = manager->Skin();
  smallButtons_ = dialog_rules::UsesSmallButtons(frameKind_, skin.IsValidItem(item("SICONCLOSE")));
  if (smallButtons_) {
    buttons_[0].image = item("SICONCLOSE");
    buttons_[1].image = item("SICONMAX");
    buttons_[1].restoreImage = item("SICONNORM");
    buttons_[2].image = item("SICONMIN");
  } else {
    int alone = item("BICLOSEALONE");
    bool onlyClose = !(style_ & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX));
    buttons_[0].image = onlyClose && skin.IsValidItem(alone) ? alone : item("BICONCLOSE");
    buttons_[1].image = item("BICONMAX");
    buttons_[1].restoreImage = item("BICONNORM");
    buttons_[2].image = item("BICONMIN");
  }
}

bool TvlDialogWnd::Skinned() const {
  TsSkinManager* manager = SkinManager();
  return initialized_ && !Unhooked() && manager && manager->Active() && manager->IsValidSection(section_);
}

Point TvlDialogWnd::ClientOrigin() const {
  RECT w;
  GetWindowRect(window_, &w);
  POINT origin{0, 0};
  ClientToScreen(window_, &origin);
  return {origin.x - w.left, origin.y - w.top};
}

void TvlDialogWnd::ReadCaption() {
  int length = GetWindowTextLengthW(window_);
  std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
  text.resize(static_cast<size_t>(std::max(0, GetWindowTextW(window_, text.data(), length + 1))));
  if (text != caption_) dirty_ = true;
  caption_ = std::move(text);
}

HICON TvlDialogWnd::WindowIcon() const {
  auto icon = reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, ICON_BIG, 0));
  return icon;
}

bool TvlDialogWnd::ButtonActs(int code) const {
  const bool zoomed = IsZoomed(window_), iconic = IsIconic(window_);
  switch (code) {
    case HTCLOSE: return (style_ & WS_SYSMENU) != 0;
    case HTMAXBUTTON:
      return (style_ & WS_MAXIMIZEBOX) &&
             ((frameKind_ == dialog_rules::kFrameSizeable && !zoomed) || zoomed || iconic);
    case HTMINBUTTON: return (style_ & WS_MINIMIZEBOX) && !iconic;
    default: return false;
  }
}

FrameInput TvlDialogWnd::CurrentFrameInput() const {
  FrameInput input;
  RECT w;
  GetWindowRect(window_, &w);
  input.width = w.right - w.left;
  input.height = w.bottom - w.top;
  Point client = ClientOrigin();
  const bool fullCaption = (style_ & WS_CAPTION) == WS_CAPTION || IsIconic(window_);
  // The dialog keeps the platform's frame: the skin's parts are laid out in it.
  input.skin.borderWidth = std::max(0, client.x);
  input.skin.titleHeight = fullCaption ? std::max(0, client.y) : 0;
  TsSkinManager* manager = SkinManager();
  if (manager) {
    const TsSkinData& d = manager->Skin().Data;
    input.skin.iconLeft = d.BILeft;
    input.skin.buttonsRight = d.BIRight;
    input.skin.buttonSpace = smallButtons_ ? 0 : d.BISpace;
  }
  input.sizeable = (style_ & WS_THICKFRAME) != 0;
  input.sizingZone = GetSystemMetrics(SM_CXSIZEFRAME);
  input.showIcon = WindowIcon() != nullptr;
  const LoadedSkin* skin = manager ? &manager->Skin() : nullptr;
  auto size = [&](int index, ButtonShape& shape) {
    if (skin && skin->IsValidItem(index)) {
      const TsMaskData& item = skin->Items[static_cast<size_t>(index)];
      shape.width = StateWidth(item);
      shape.height = StateHeight(item);
    }
  };
  size(buttons_[0].image, input.close);
  size(IsZoomed(window_) ? buttons_[1].restoreImage : buttons_[1].image, input.maximize);
  size(buttons_[2].image, input.minimize);
  input.maximize.height = input.minimize.height = input.close.height;
  input.close.visible = (style_ & WS_SYSMENU) != 0;
  input.maximize.visible = (style_ & WS_MAXIMIZEBOX) != 0;
  input.minimize.visible = (style_ & WS_MINIMIZEBOX) != 0;
  input.maximize.enabled = ButtonActs(HTMAXBUTTON);
  input.minimize.enabled = ButtonActs(HTMINBUTTON) || IsIconic(window_);
  return input;
}

FrameLayout TvlDialogWnd::CurrentLayout() const { return ComputeFrameLayout(CurrentFrameInput()); }

// ---------------------------------------------------------------------------------------------
// The picture

void TvlDialogWnd::Compose() {
  TsSkinManager* manager = SkinManager();
  if (!manager || !Skinned()) return;
  FrameInput input = CurrentFrameInput();
  if (input.width <= 0 || input.height <= 0) return;
  FrameLayout layout = ComputeFrameLayout(input);
  if (!image_ || image_.Pixels().Width() != input.width || image_.Pixels().Height() != input.height)
    image_ = DibSection::CreateBitmap24(input.width, input.height);
  if (!image_) return;
  Bitmap& pixels = image_.Pixels();
  const int state = activeLook_ ? 1 : 0;
  const std::string name = manager->Skin().Sections[static_cast<size_t>(section_)].ClassName;
  PaintSection(*manager, section_, name, EmptyBackground(), pixels, {0, 0}, pixels.Bounds(), state, true);
  UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
  SelectedObject selected(memory.get(), image_.Handle());
  if (!layout.titleBand.Empty()) {
    if (manager->IsValidSection(titleSection_)) {
      Bitmap under(layout.titleBand.Width(), layout.titleBand.Height(), pixels.Format());
      CopyPiece(under, 0, 0, pixels, layout.titleBand);
      PaintSection(*manager, titleSection_, "FORMTITLE", BackgroundFromBitmap(under, 0, 0), pixels, {0, 0},
                   layout.titleBand, state, true);
    }
    if (!layout.icon.Empty()) {
      GdiFlush();
      DrawIconEx(memory.get(), layout.icon.left, layout.icon.top, WindowIcon(), layout.icon.Width(),
                 layout.icon.Height(), 0, nullptr, DI_NORMAL);
    }
    if (!layout.caption.Empty()) {
      SelectedObject font(memory.get(), captionFont_.get());
      SetBkMode(memory.get(), TRANSPARENT);
      int textSection = manager->IsValidSection(captionSection_) ? captionSection_
                        : manager->IsValidSection(titleSection_) ? titleSection_
                                                                  : section_;
      const TsGeneralData& s = manager->Skin().Sections[static_cast<size_t>(textSection)];
      if ((activeLook_ ? s.HotGlowSize : s.GlowSize) > 0) {
        GdiFlush();
        GdiTextRasterizer rasterizer(captionFont_.get());
        PaintSkinTextGlow(pixels, rasterizer, caption_, layout.caption, kCaptionFormat, s, activeLook_);
      }
      WriteSectionText(memory.get(), caption_, true, manager, activeLook_, textSection, kCaptionFormat, layout.caption);
    }
    GdiFlush();
    const LoadedSkin& skin = manager->Skin();
    for (const TitleButton& b : buttons_) {
      Rect rect = b.hitCode == HTCLOSE ? layout.close : b.hitCode == HTMAXBUTTON ? layout.maximize : layout.minimize;
      int image = b.hitCode == HTMAXBUTTON && IsZoomed(window_) ? b.restoreImage : b.image;
      if (rect.Empty() || !skin.IsValidItem(image)) continue;
      bool acts = ButtonActs(b.hitCode);
      int buttonState = pressed_ == b.hitCode ? (pressedInside_ ? 2 : 0) : (hot_ == b.hitCode && !pressed_ ? 1 : 0);
      bool faded = !acts || (buttonState == 0 && !activeLook_);
      PaintGlyphItem(&skin, pixels, {rect.left, rect.top}, acts ? buttonState : 0, EmptyBackground(),
                     skin.Items[static_cast<size_t>(image)], faded ? 0 : 1);
    }
  }
  GdiFlush();
  dirty_ = false;
  ++compositions_;
}

void TvlDialogWnd::PaintNonClient() {
  // Under a running animation the screen is left alone: the dialog is redrawn when it ends.
  if (!Skinned() || !IsWindowVisible(window_) || window_animation::Animating()) return;
  ReadCaption();
  RECT w;
  GetWindowRect(window_, &w);
  if (dirty_ || !image_ || image_.Pixels().Width() != w.right - w.left || image_.Pixels().Height() != w.bottom - w.top)
    Compose();
  if (!image_) return;
  if (regionDirty_) UpdateRegion();
  const Bitmap& pixels = image_.Pixels();
  Point client = ClientOrigin();
  RECT c;
  GetClientRect(window_, &c);
  WindowDc dc(window_, true);
  ExcludeClipRect(dc.get(), client.x, client.y, client.x + c.right, client.y + c.bottom);
  UniqueMemoryDc memory(CreateCompatibleDC(dc.get()));
  SelectedObject selected(memory.get(), image_.Handle());
  BitBlt(dc.get(), 0, 0, pixels.Width(), pixels.Height(), memory.get(), 0, 0, SRCCOPY);
}

void TvlDialogWnd::PaintBackground(HDC dc) {
  if (!image_) Compose();
  if (!image_) return;
  RECT c;
  GetClientRect(window_, &c);
  Point origin = ClientOrigin();
  int saved = SaveDC(dc);
  for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    LONG style = GetWindowLongW(child, GWL_STYLE);
    std::wstring name = ClassNameOf(child);
    bool groupBox = _wcsicmp(name.c_str(), L"button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX;
    bool onBackground = _wcsicmp(name.c_str(), L"static") == 0 && (style & kStaticTransparentBit);
    if (groupBox || onBackground) continue;
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
    ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
  UniqueMemoryDc memory(CreateCompatibleDC(dc));
  SelectedObject selected(memory.get(), image_.Handle());
  BitBlt(dc, 0, 0, c.right, c.bottom, memory.get(), origin.x, origin.y, SRCCOPY);
  RestoreDC(dc, saved);
  for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, SM_LACQUERCMD, SkinCommandParam(scPaintFinished), 0);
}

void TvlDialogWnd::UpdateRegion() {
  regionDirty_ = false;
  TsSkinManager* manager = SkinManager();
  if (!manager || !Skinned()) return;
  if (frameKind_ == dialog_rules::kFrameNoCaption && !IsIconic(window_)) return;
  RECT w;
  GetWindowRect(window_, &w);
  const int width = w.right - w.left, height = w.bottom - w.top;
  const LoadedSkin& skin = manager->Skin();
  std::vector<Rect> cuts;
  auto addMask = [&](int section, bool bottomCorners) {
    if (!manager->IsValidSection(section)) return;
    int index = skin.Sections[static_cast<size_t>(section)].BorderIndex;
    if (!skin.IsValidItem(index)) return;
    const TsMaskData& mask = skin.Items[static_cast<size_t>(index)];
    frame_region::AddCornerCuts(skin.ItemBitmap(mask), mask, width, height, bottomCorners, cuts);
  };
  addMask(section_, true);
  if (ClientOrigin().y > 0 && (style_ & WS_CAPTION) == WS_CAPTION) addMask(titleSection_, false);
  if (cuts.empty()) return;
  UniqueRegion shape(CreateRectRgn(0, 0, width, height));
  for (const Rect& cut : cuts) {
    UniqueRegion piece(CreateRectRgn(cut.left, cut.top, cut.right, cut.bottom));
    CombineRgn(shape.get(), shape.get(), piece.get(), RGN_DIFF);
  }
  regionWidth_ = width;
  regionHeight_ = height;
  if (SetWindowRgn(window_, shape.get(), IsWindowVisible(window_))) shape.release();
  else regionWidth_ = regionHeight_ = 0;
}

// ---------------------------------------------------------------------------------------------
// Title buttons

int TvlDialogWnd::HitTest(LPARAM lParam, LRESULT platformAnswer) {
  RECT w;
  GetWindowRect(window_, &w);
  Point p{GET_X_LPARAM(lParam) - w.left, GET_Y_LPARAM(lParam) - w.top};
  FrameInput input = CurrentFrameInput();
  FrameLayout layout = ComputeFrameLayout(input);
  int code = FrameHitTest(input, layout, p);
  if (IsZoomed(window_) && (p.x < 2 || p.y < 2 || p.x >= input.width - 4 || p.y >= input.height - 4)) {
    SetHot(0);
    return HTTRANSPARENT;
  }
  if (IsTitleButton(code) || code == HTSYSMENU) {
    SetHot(IsTitleButton(code) ? code : 0);
    return code;
  }
  SetHot(0);
  // Over the title band the platform's own buttons are gone: the rest of it is caption.
  switch (platformAnswer) {
    case HTSYSMENU:
    case HTCLOSE:
    case HTMAXBUTTON:
    case HTMINBUTTON:
    case HTHELP: return HTCAPTION;
    default: return static_cast<int>(platformAnswer);
  }
}

void TvlDialogWnd::SetHot(int code) {
  if (code == hot_) return;
  hot_ = code;
  if (code && !trackingLeave_) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE | TME_NONCLIENT, window_, 0};
    trackingLeave_ = TrackMouseEvent(&track) != FALSE;
  }
  dirty_ = true;
  PaintNonClient();
}

void TvlDialogWnd::Press(int code) {
  pressed_ = code;
  pressedInside_ = true;
  SetCapture(window_);
  dirty_ = true;
  PaintNonClient();
}

void TvlDialogWnd::TrackPress() {
  POINT p;
  GetCursorPos(&p);
  RECT w;
  GetWindowRect(window_, &w);
  FrameLayout layout = CurrentLayout();
  Rect rect = pressed_ == HTCLOSE ? layout.close : pressed_ == HTMAXBUTTON ? layout.maximize : layout.minimize;
  bool inside = rect.Contains({p.x - w.left, p.y - w.top});
  if (inside == pressedInside_) return;
  pressedInside_ = inside;
  dirty_ = true;
  PaintNonClient();
}

void TvlDialogWnd::Release() {
  int code = pressed_;
  TrackPress();
  bool inside = pressedInside_;
  pressed_ = 0;
  pressedInside_ = false;
  if (GetCapture() == window_) ReleaseCapture();
  dirty_ = true;
  PaintNonClient();
  if (inside && ButtonActs(code)) Execute(code);
}

void TvlDialogWnd::Execute(int code) {
  HWND window = window_;
  switch (code) {
    case HTCLOSE: PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case HTMAXBUTTON: PostMessageW(window, WM_SYSCOMMAND, IsZoomed(window) || IsIconic(window) ? SC_RESTORE : SC_MAXIMIZE, 0); break;
    case HTMINBUTTON: PostMessageW(window, WM_SYSCOMMAND, IsIconic(window) ? SC_RESTORE : SC_MINIMIZE, 0); break;
    default: break;
  }
}

void TvlDialogWnd::ShowSystemMenu(int x, int y) {
  HMENU menu = GetSystemMenu(window_, FALSE);
  if (!menu) return;
  const bool zoomed = IsZoomed(window_), iconic = IsIconic(window_);
  auto show = [menu](UINT command, bool on) { EnableMenuItem(menu, command, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
  show(SC_RESTORE, (style_ & WS_MAXIMIZEBOX) && (zoomed || iconic));
  show(SC_MOVE, !zoomed);
  show(SC_SIZE, frameKind_ == dialog_rules::kFrameSizeable && !iconic);
  show(SC_MINIMIZE, ButtonActs(HTMINBUTTON));
  show(SC_MAXIMIZE, ButtonActs(HTMAXBUTTON) && !zoomed);
  show(SC_CLOSE, true);
  HWND window = window_;
  UINT command = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, x, y, 0, window, nullptr));
  if (command && IsWindow(window)) PostMessageW(window, WM_SYSCOMMAND, command, 0);
}

// ---------------------------------------------------------------------------------------------
// Colours of the children

HBRUSH TvlDialogWnd::BrushFor(COLORREF color) {
  for (auto& [known, brush] : brushes_)
    if (known == color) return brush.get();
  brushes_.emplace_back(color, UniqueBrush(CreateSolidBrush(color)));
  return brushes_.back().second.get();
}

LRESULT TvlDialogWnd::OnControlColor(HDC dc, HWND control) {
  TsSkinManager* manager = SkinManager();
  const TsGeneralData& s = manager->Skin().Sections[static_cast<size_t>(section_)];
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(s.FontColor[0]));
  COLORREF back = ColorToRGB(manager->GlobalColor());
  // A control takes the colour of the dialog's picture where it lies, so that it does not show
  // as a box on the background.
  if (image_ && control && control != window_) {
    RECT r, w;
    GetWindowRect(control, &r);
    GetWindowRect(window_, &w);
    Point at{(r.left + r.right) / 2 - w.left, (r.top + r.bottom) / 2 - w.top};
    const Bitmap& pixels = image_.Pixels();
    if (pixels.Bounds().Contains(at)) back = pixels.GetPixel(at.x, at.y) & 0xFFFFFF;
  }
  SetBkColor(dc, back);
  return reinterpret_cast<LRESULT>(BrushFor(back));
}

// ---------------------------------------------------------------------------------------------
// Messages

bool TvlDialogWnd::WndProc(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (!Skinned()) {
    if (msg == SM_LACQUERCMD && SkinCommandOf(wParam) == scSkinApplied && initialized_) LookUpSkin();
    return TvlMainWnd::WndProc(msg, wParam, lParam, result);
  }
  switch (msg) {
    case WM_NCPAINT:
      if (!IsWindowVisible(window_)) return false;
      if (provider_) provider_->AdaptChildren(window_);
      PaintNonClient();
      result = 0;
      return true;
    case WM_NCACTIVATE:
      result = CallOld(msg, wParam, lParam);
      activeLook_ = wParam != 0;
      dirty_ = true;
      PaintNonClient();
      return true;
    case WM_SETTEXT:
    case WM_ENABLE:
      result = CallOld(msg, wParam, lParam);
      if (msg == WM_SETTEXT) TvlMainWnd::WndProc(msg, wParam, lParam, result);
      dirty_ = true;
      PaintNonClient();
      return true;
    case WM_SIZE:
      dirty_ = regionDirty_ = true;
      result = CallOld(msg, wParam, lParam);
      RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      return true;
    case WM_SHOWWINDOW:
      result = CallOld(msg, wParam, lParam);
      // Shown by the platform's show call: the show animation runs once the dialog is on the
      // screen (its position change), with its caption read and its children adapted.
      showPending_ = wParam != 0 && lParam == 0;
      if (showPending_) {
        ReadCaption();
        if (provider_) provider_->AdaptChildren(window_);
        childrenAdapted_ = true;
      } else if (!wParam) {
        window_animation::CancelWindowAnimation(window_);
      }
      return true;
    case WM_WINDOWPOSCHANGED: {
      dirty_ = regionDirty_ = true;
      result = CallOld(msg, wParam, lParam);
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (pos->flags & SWP_HIDEWINDOW) window_animation::CancelWindowAnimation(window_);
      if (showPending_ && (pos->flags & SWP_SHOWWINDOW)) {
        showPending_ = false;
        // The adapter may go during the animation: only the composition, before the first
        // frame, reads it.
        window_animation::AnimateDialogShown(window_, [this]() -> const Bitmap* {
          ReadCaption();
          Compose();
          return FrameImage();
        });
      }
      return true;
    }
    case WM_DESTROY:
      window_animation::CancelWindowAnimation(window_);
      return TvlMainWnd::WndProc(msg, wParam, lParam, result);
    case WM_ERASEBKGND: {
      const auto dc = reinterpret_cast<HDC>(wParam);
      if (!childrenAdapted_ && provider_) {
        childrenAdapted_ = true;
        provider_->AdaptChildren(window_);
      }
      // Under a running animation only a picture (printing) is painted, not the screen.
      if (!window_animation::Animating() || GetObjectType(dc) == OBJ_MEMDC) PaintBackground(dc);
      result = 1;
      return true;
    }
    case WM_PAINT:
      if (validateOnly_ || window_animation::Animating()) {
        PAINTSTRUCT ps;
        BeginPaint(window_, &ps);
        EndPaint(window_, &ps);
        result = 0;
        return true;
      }
      return false;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      result = OnControlColor(reinterpret_cast<HDC>(wParam), msg == WM_CTLCOLORDLG ? nullptr : reinterpret_cast<HWND>(lParam));
      return true;
    case WM_NCHITTEST: {
      LRESULT platform = CallOld(msg, wParam, lParam);
      result = HitTest(lParam, platform);
      return true;
    }
    case WM_NCMOUSEMOVE:
      result = CallOld(msg, wParam, lParam);
      return true;
    case WM_NCMOUSELEAVE:
      trackingLeave_ = false;
      SetHot(0);
      return false;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (IsTitleButton(static_cast<int>(wParam))) {
        if (ButtonActs(static_cast<int>(wParam))) Press(static_cast<int>(wParam));
        result = 0;
        return true;
      }
      if (wParam == HTSYSMENU) {
        SetHot(0);
        if (msg == WM_NCLBUTTONDBLCLK) {
          PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
        } else {
          RECT w;
          GetWindowRect(window_, &w);
          FrameLayout layout = CurrentLayout();
          ShowSystemMenu(w.left + layout.left, w.top + layout.top);
        }
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
    case WM_MOUSEMOVE:
      if (pressed_) {
        TrackPress();
        result = 0;
        return true;
      }
      if (IsWindowEnabled(window_) && SkinManager()) SkinManager()->SetHotWindow(nullptr);
      return false;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
      if (pressed_) {
        Release();
        result = 0;
        return true;
      }
      return false;
    case WM_CAPTURECHANGED:
      if (pressed_ && reinterpret_cast<HWND>(lParam) != window_) {
        pressed_ = 0;
        pressedInside_ = false;
        dirty_ = true;
        PaintNonClient();
      }
      return false;
    case WM_USER + 1:
    case kPageChanged:
      result = CallOld(msg, wParam, lParam);
      if (provider_) provider_->AdaptChildren(window_);
      if (msg == kPageChanged) RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      return true;
    case SM_LACQUERCMD:
      switch (SkinCommandOf(wParam)) {
        case scSkinApplied:
        case scRefresh:
          // A show animation in progress shows the old look: it ends, the dialog is redrawn.
          window_animation::CancelWindowAnimation(window_);
          TvlMainWnd::WndProc(msg, wParam, lParam, result);
          LookUpSkin();
          dirty_ = regionDirty_ = true;
          brushes_.clear();
          RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
          return true;
        case scGetBackgroundColor:
          result = static_cast<LRESULT>(SkinManager()->GlobalColor());
          return true;
        default: return TvlMainWnd::WndProc(msg, wParam, lParam, result);
      }
    default: return TvlMainWnd::WndProc(msg, wParam, lParam, result);
  }
}
