// See vlMnuWnd.h.
#include "adapters/dialogs/vlMnuWnd.h"

#include <algorithm>

#include "frame/sSkinableMenus.h"
#include "framework/Application.h"
#include "framework/Handles.h"
#include "paint/AnimationFlag.h"
#include "paint/BackgroundRef.h"
#include "paint/SkinPainters.h"
#include "paint/sCommonData.h"
#include "skin/SkinCommands.h"
#include "skin/sSkinManager.h"

namespace {

struct MenuWindowList {
  std::vector<std::unique_ptr<TvlMnuWnd>> adapters;  // live ones and those waiting for the sweep
  int made = 0;
};

MenuWindowList& List() {
  static MenuWindowList list;
  return list;
}

// Window coordinates of the client area's corner.
POINT ClientOrigin(HWND window, const RECT& outer) {
  POINT client{0, 0};
  ClientToScreen(window, &client);
  return {client.x - outer.left, client.y - outer.top};
}

}  // namespace

TvlMnuWnd::TvlMnuWnd(HWND window) : TvlScrollWnd(window, nullptr, "MAINMENU", "MAINMENU") {}

TvlMnuWnd::~TvlMnuWnd() = default;

bool TvlMnuWnd::OnSkinQuestion(WPARAM wParam, LRESULT& result) {
  result = 0;
  switch (SkinCommandOf(wParam)) {
    case scIsSkinAware: result = 1; break;
    case TsSkinableMenus::kIsShaped: result = shaped_ ? 1 : 0; break;
    case TsSkinableMenus::kShaping:
      if (IsWindowVisible(window_)) shaped_ = true;
      break;
    case scGetApplication: result = reinterpret_cast<LRESULT>(Application); break;
    default: break;  // nothing else concerns a menu window
  }
  return true;
}

void TvlMnuWnd::UpdateCache() {
  TsCommonData& state = SkinState();
  if (!state.CacheDirty && state.Cache) return;
  state.PrepareCache();
  if (!state.Cache || !SkinActive()) return;
  Bitmap& pixels = state.Cache.Pixels();
  // A bare top-level window: nothing lies under it that the skin could show through; the
  // corners that the border mask leaves out are cut from the window instead.
  PaintControl(state, EmptyBackground(), true, false, pixels, {0, 0}, pixels.Bounds(), 0);
  GdiFlush();
  state.CacheDirty = false;
  ++cacheRebuilds_;
}

void TvlMnuWnd::EraseBackground(HDC dc) {
  UpdateCache();
  const TsCommonData& state = SkinState();
  if (!state.Cache) return;
  RECT outer;
  GetWindowRect(window_, &outer);
  const POINT origin = ClientOrigin(window_, outer);
  std::unique_ptr<WindowDc> own;
  if (!dc) {
    own = std::make_unique<WindowDc>(window_, false);
    dc = own->get();
  }
  const Bitmap& pixels = state.Cache.Pixels();
  CopyBitmapToDc(dc, 0, 0, state.Cache.Handle(),
                 Rect{origin.x, origin.y, pixels.Width(), pixels.Height()});
  shaped_ = false;
}

void TvlMnuWnd::PaintFrame() {
  if (window_animation::Animating()) return;
  RECT outer, client;
  GetWindowRect(window_, &outer);
  GetClientRect(window_, &client);
  const int w = outer.right - outer.left, h = outer.bottom - outer.top;
  const POINT origin = ClientOrigin(window_, outer);
  // The skinned menus' picture of this menu when it was made for the window as it is now,
  // else our own.
  HBITMAP source = nullptr;
  const DibSection* picture = TsSkinableMenus::Instance().MenuPictureOf(window_);
  if (picture && picture->Pixels().Width() == w && picture->Pixels().Height() == h) source = picture->Handle();
  if (!source) {
    UpdateCache();
    if (!SkinState().Cache) return;
    source = SkinState().Cache.Handle();
  }
  WindowDc dc(window_, true);
  const int left = origin.x, top = origin.y;
  const int right = std::max(0, w - left - static_cast<int>(client.right));
  const int bottom = std::max(0, h - top - static_cast<int>(client.bottom));
  if (top > 0) CopyBitmapToDc(dc.get(), 0, 0, source, {0, 0, w, top});
  if (bottom > 0) CopyBitmapToDc(dc.get(), 0, h - bottom, source, {0, h - bottom, w, h});
  if (left > 0) CopyBitmapToDc(dc.get(), 0, top, source, {0, top, left, h - bottom});
  if (right > 0) CopyBitmapToDc(dc.get(), w - right, top, source, {w - right, top, w, h - bottom});
  ++framePaints_;
}

void TvlMnuWnd::OnDestroyed() {
  if (finished_) return;
  finished_ = true;
  shaped_ = false;
  SkinState().DropCache();  // a retired adapter holds no drawing objects
  TsSkinableMenus& menus = TsSkinableMenus::Instance();
  // The pictures of the open menus are made again for the windows that stay.
  menus.MenusClosed();
  // This adapter is out of the list now (it is not freed here: its window is still calling it).
  for (TvlMnuWnd* adapter : menu_windows::Adapters())
    RedrawWindow(adapter->WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
  menus.SetSkinnedMenuShowing(false);
}

bool TvlMnuWnd::WndProc(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (finished_ && msg != WM_NCDESTROY) return false;
  const bool skinnedMenu = TsSkinableMenus::Instance().SkinnedMenuShowing() && SkinActive();
  switch (msg) {
    case SM_LACQUERCMD:
      if (TvlMainWnd::WndProc(msg, wParam, lParam, result) && SkinCommandOf(wParam) != scIsSkinAware) return true;
      return OnSkinQuestion(wParam, result);
    case WM_WINDOWPOSCHANGED: {
      result = CallOld(msg, wParam, lParam);
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (!(pos->flags & SWP_NOSIZE)) SkinState().CacheDirty = true;
      // Shown for the first time at its size: the border mask's corners go.
      if ((pos->flags & SWP_SHOWWINDOW) && !shaped_ && SkinActive() &&
          TsSkinableMenus::ShapeMenuWindow(window_, SkinManager()))
        shaped_ = true;
      return true;
    }
    case WM_ERASEBKGND:
      if (!skinnedMenu) break;
      EraseBackground(reinterpret_cast<HDC>(wParam));
      result = 1;
      return true;
    case WM_NCPAINT:
      if (!skinnedMenu) break;
      PaintFrame();
      result = 0;
      return true;
    case WM_DESTROY:
      result = CallOld(msg, wParam, lParam);
      OnDestroyed();
      return true;
    case WM_NCDESTROY:
      // The link leaves the chain as the message goes on; the next sweep frees the adapter.
      OnDestroyed();
      return TvlScrollWnd::WndProc(msg, wParam, lParam, result);
    default:
      break;
  }
  return TvlScrollWnd::WndProc(msg, wParam, lParam, result);
}

// ---------------------------------------------------------------------------------------------

namespace menu_windows {

bool Adapt(HWND window) {
  Sweep();
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  if (!manager || !manager->Active() || !manager->SkinnedPopups() || !IsWindow(window) ||
      AdapterOf(window))
    return false;
  if (SendMessageW(window, SM_LACQUERCMD, SkinCommandParam(scIsSkinAware), 0) != 0) return false;
  auto adapter = std::make_unique<TvlMnuWnd>(window);
  if (!adapter->Attach()) return false;
  List().adapters.push_back(std::move(adapter));
  ++List().made;
  return true;
}

std::vector<TvlMnuWnd*> Adapters() {
  std::vector<TvlMnuWnd*> live;
  for (const auto& adapter : List().adapters)
    if (!adapter->Finished() && !adapter->Unhooked()) live.push_back(adapter.get());
  return live;
}

TvlMnuWnd* AdapterOf(HWND window) {
  for (TvlMnuWnd* adapter : Adapters())
    if (adapter->WindowHandle() == window) return adapter;
  return nullptr;
}

void Sweep() {
  auto& adapters = List().adapters;
  // Only adapters whose link has left the chain: no message of theirs can be under way.
  adapters.erase(std::remove_if(adapters.begin(), adapters.end(), [](const auto& a) { return a->Unhooked(); }),
                 adapters.end());
}

int AdaptersMade() { return List().made; }

}  // namespace menu_windows
