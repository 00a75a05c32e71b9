// TvlMnuWnd: the adapter of a platform pop-up menu window ("#32768"). While a skin is in force
// and the manager skins pop-up menus, the window hook connects one to every menu window as it
// is created. The adapter keeps a picture of the window painted from "MAINMENU" (background and
// border mask) and, while a skinned menu shows, fills the window's background and paints its
// border from it (or from the skinned menus' own picture of that menu when it fits); it cuts the
// border mask's corners out of the window when the window first shows, and answers the skin's
// questions. It is taken out of the process-wide list when its window is destroyed and freed
// by the next sweep (a link may not free itself while its window calls it).
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "adapters/vlScrollWnd.h"

class TvlMnuWnd : public TvlScrollWnd {
 public:
  explicit TvlMnuWnd(HWND window);
  ~TvlMnuWnd() override;

  bool Shaped() const { return shaped_; }
  // The window is gone (the adapter waits for the sweep).
  bool Finished() const { return finished_; }
  int CacheRebuilds() const { return cacheRebuilds_; }
  int FramePaints() const { return framePaints_; }

 protected:
  bool WndProc(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool OnSkinQuestion(WPARAM wParam, LRESULT& result);
  void UpdateCache();
  void EraseBackground(HDC dc);
  void PaintFrame();
  void OnDestroyed();

  bool shaped_ = false;
  bool finished_ = false;
  int cacheRebuilds_ = 0;
  int framePaints_ = 0;
};

namespace menu_windows {

// A pop-up menu window is being created: connects an adapter to it when the skin asks for that
// (a skin in force, pop-up menus skinned, the window not skin-aware already); true when one was
// connected. Desktop composition is not asked: it is always on from the program's oldest
// platform on, and the menus would never be skinned there.
bool Adapt(HWND window);
// The adapters whose windows are alive, in creation order.
std::vector<TvlMnuWnd*> Adapters();
// The adapter of a menu window, or nullptr.
TvlMnuWnd* AdapterOf(HWND window);
// Frees the adapters whose windows are gone.
void Sweep();
// Adapters made since the process started (tests).
int AdaptersMade();

}  // namespace menu_windows
