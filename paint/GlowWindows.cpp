// See GlowWindows.h. Also TsCommonData::ShowGlow.
#include "paint/GlowWindows.h"

#include <memory>

#include "framework/Form.h"
#include "framework/Handles.h"
#include "framework/WindowClass.h"
#include "paint/DibSection.h"
#include "paint/GlowLayout.h"
#include "paint/ImageItems.h"
#include "paint/LayeredHandOver.h"
#include "paint/sCommonData.h"
#include "skin/sSkinManager.h"

namespace {

constexpr wchar_t kGlowClass[] = L"TvlGlowEffect";

LRESULT CALLBACK GlowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefWindowProcW(window, msg, wParam, lParam);
  }
}

void RegisterGlowClass() { RegisterWindowClassOnce(kGlowClass, GlowProc); }

struct TvlGlowEffect {
  UniqueWindow window;
  DibSection picture;  // premultiplied, kept for changes of the constant alpha
  Point position;      // on the screen
  int margin = 0;
  int item = -1;
};

// Gives the window its picture with the constant alpha `alpha`.
void HandOver(TvlGlowEffect& glow, uint8_t alpha) { HandOverLayered(glow.window.get(), glow.picture, glow.position, alpha); }

SlotRegistry<TvlGlowEffect>& Registry() {
  static SlotRegistry<TvlGlowEffect> registry;
  return registry;
}

}  // namespace

int ShowGlowWindow(const Rect& control, const Rect& visible, std::string_view section, TsSkinManager* manager,
                   HWND owner, int margin, std::string_view prefix) {
  if (!manager) manager = TsSkinManager::DefaultManager();
  if (!manager) return -1;
  const LoadedSkin& skin = manager->Skin();
  int sectionIndex = manager->SectionIndexOf(section);
  int item = manager->ImageItemIndexOf(sectionIndex, section, std::string(prefix) + "0");
  if (!skin.IsValidItem(item)) return -1;
  Rect margins{skin.ItemMarginLeft(item), skin.ItemMarginTop(item), skin.ItemMarginRight(item), skin.ItemMarginBottom(item)};
  GlowPlacement place = PlaceGlow(control, visible, margins, margin);
  if (place.Window.Width() <= 0 || place.Window.Height() <= 0 || place.FullWidth < 2 || place.FullHeight < 2) return -1;

  Bitmap full(place.FullWidth, place.FullHeight, PixelFormat::pf32bit);
  PaintBorderItem(&skin, full, full.Bounds(), false, false, 0, skin.Items[static_cast<size_t>(item)], EmptyBackground());
  Bitmap shown(place.Window.Width(), place.Window.Height(), PixelFormat::pf32bit);
  for (int y = 0; y < shown.Height(); ++y)
    for (int x = 0; x < shown.Width(); ++x) shown.SetPixel(x, y, full.GetPixel(x + place.Crop.x, y + place.Crop.y));
  return ShowGlowPicture(shown, {place.Window.left, place.Window.top}, owner, 255, margin, item);
}

int ShowGlowPicture(const Bitmap& picture, Point screen, HWND owner, uint8_t alpha, int margin, int item) {
  if (picture.Width() <= 0 || picture.Height() <= 0) return -1;
  DibSection section = PremultipliedSection(picture);
  if (!section) return -1;

  RegisterGlowClass();
  auto glow = std::make_unique<TvlGlowEffect>();
  glow->margin = margin;
  glow->item = item;
  glow->picture = std::move(section);
  glow->position = screen;
  DWORD exStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT;
  if (owner && (GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOPMOST)) exStyle |= WS_EX_TOPMOST;
  glow->window.reset(CreateWindowExW(exStyle, kGlowClass, L"", WS_POPUP, screen.x, screen.y, picture.Width(),
                                     picture.Height(), owner, nullptr, GetModuleHandleW(nullptr), nullptr));
  if (!glow->window) return -1;
  SetWindowLongPtrW(glow->window.get(), GWLP_USERDATA, -98);  // the skin library's own window
  HandOver(*glow, alpha);
  SetWindowPos(glow->window.get(), nullptr, 0, 0, 0, 0,
               SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER);
  return Registry().Add(std::move(glow));
}

void SetGlowAlpha(int id, uint8_t alpha) {
  if (TvlGlowEffect* glow = Registry().Get(id)) HandOver(*glow, alpha);
}

void HideGlowWindow(int id) { Registry().Take(id); }

void RemoveAllGlowWindows() { Registry().TakeAll(); }

HWND GlowWindowOf(int id) {
  TvlGlowEffect* glow = Registry().Get(id);
  return glow ? glow->window.get() : nullptr;
}

size_t GlowRegistrySlots() { return Registry().SlotCount(); }

void TsCommonData::ShowGlow(bool halve) {
  TsSkinManager* manager = SkinManager();
  const TsGeneralData* s = Section();
  if (!manager || !manager->AllowGlowing() || !s || s->GlowCount < 1) return;
  Rect c, v;
  HWND owner = nullptr;
  if (control_) {
    bool buttonHeld = (GetKeyState(VK_LBUTTON) & 0x8000) != 0 && GetCapture() == Window() && Window();
    if (!MouseAbove || buttonHeld || (halve && GlowId >= 0)) {
      if (GlowId >= 0) HideGlowWindow(GlowId);
      GlowId = -1;
      return;
    }
    if (GlowId >= 0) return;  // already shown
    TControl* top = control_;
    while (top->Parent()) top = top->Parent();
    if (auto* form = dynamic_cast<TWinControl*>(top); form && form->HandleAllocated()) owner = form->Handle();
    if (HWND window = Window()) {
      RECT r;
      GetWindowRect(window, &r);
      c = {r.left, r.top, r.right, r.bottom};
      RECT clip;
      GetClipBox(WindowDc(window).get(), &clip);
      v = {clip.left, clip.top, clip.right, clip.bottom};
    } else {
      Point origin = control_->ClientToScreen({0, 0});
      c = Rect::FromSize(origin.x, origin.y, control_->Width(), control_->Height());
      v = {0, 0, control_->Width(), control_->Height()};
    }
  } else if (window_) {
    RECT r;
    GetWindowRect(window_, &r);
    c = {r.left, r.top, r.right, r.bottom};
    v = {0, 0, c.Width(), c.Height()};
    owner = GetAncestor(window_, GA_ROOT);
  } else {
    return;
  }
  if (GlowId >= 0) HideGlowWindow(GlowId);
  GlowId = ShowGlowWindow(c, v, skinSection_, manager, owner, s->GlowMargin, "GLOW");
}
