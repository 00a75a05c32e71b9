// See FrameGeometry.h.
#include "frame/FrameGeometry.h"

#include <algorithm>

namespace frame_geometry {

namespace {

// A maximised window shows no side or bottom frame; its icon and buttons keep this much room
// from the screen edge.
constexpr int kMaximizedInset = 2;

int BandHeight(const FrameInput& input) {
  int title = std::max(0, input.skin.titleHeight);
  if (input.maximized && !input.extended && input.skin.maxHeight > 0) return input.skin.maxHeight;
  return title;
}

// How far icon, caption and buttons move down: the skin's centre offset in border mode 1, not
// for a maximised window (its lower band is centred as it is).
int DownShift(const FrameInput& input) {
  if (input.extended) {
    // Maximised, the upper part of the band lies above the screen: the parts move down by half
    // the difference of the two band heights.
    const FrameSkinValues& s = input.skin;
    int shift = s.borderMode == 1 ? s.centerOffset : 0;
    if (input.maximized && s.maxHeight > 0 && s.maxHeight != s.titleHeight) shift += (s.titleHeight - s.maxHeight) / 2 - 2;
    return shift;
  }
  return !input.maximized && input.skin.borderMode == 1 ? input.skin.centerOffset : 0;
}

// A maximised window without a frame of its own (in a border window it keeps it).
bool Frameless(const FrameInput& input) { return input.maximized && !input.extended; }

}  // namespace

int IconSize(int bandHeight) {
  if (bandHeight <= 8) return 1;
  if (bandHeight <= 16) return 8;
  return 16;
}

FrameLayout FrameBorders(const FrameInput& input) {
  FrameLayout layout;
  int side = Frameless(input) ? 0 : std::max(0, input.skin.borderWidth);
  layout.left = layout.right = layout.bottom = side;
  layout.top = BandHeight(input);
  // A window too small for its frame keeps at least an empty client area.
  layout.left = std::min(layout.left, std::max(0, input.width / 2));
  layout.right = std::min(layout.right, std::max(0, input.width - layout.left));
  layout.top = std::min(layout.top, std::max(0, input.height));
  layout.bottom = std::min(layout.bottom, std::max(0, input.height - layout.top));
  return layout;
}

FrameLayout ComputeFrameLayout(const FrameInput& input) {
  FrameLayout layout = FrameBorders(input);
  const int band = layout.top;
  const int shift = DownShift(input);
  const int inset = Frameless(input) ? kMaximizedInset : layout.left;
  layout.titleBand = {0, 0, input.width, band};

  // Buttons from right to left: close, maximise (restore), minimise.
  int x = input.width - input.skin.buttonsRight - (Frameless(input) ? kMaximizedInset : layout.right);
  int leftmost = x;
  auto place = [&](const ButtonShape& button, Rect& rect) {
    if (!button.visible) return;
    int top = (band - button.height) / 2 + shift;
    rect = Rect::FromSize(x - button.width, top, button.width, button.height);
    leftmost = rect.left;
    x = rect.left - input.skin.buttonSpace;
  };
  place(input.close, layout.close);
  if (input.close.visible) {
    place(input.maximize, layout.maximize);
    place(input.minimize, layout.minimize);
  }

  int iconWidth = 0;
  if (input.showIcon && band > 0) {
    int size = IconSize(band);
    int start = input.sizingZone / 2 - 1;
    int top = start + (band - start - size) / 2 + shift;
    layout.icon = Rect::FromSize(inset + input.skin.iconLeft, top, size, size);
    iconWidth = size;
  }

  Rect caption;
  caption.left = inset + iconWidth + 4 + input.skin.iconLeft;
  caption.right = leftmost - 12;
  caption.top = (input.maximized ? input.sizingZone / 2 + 1 : 2) + shift;
  caption.bottom = band;
  if (!caption.Empty()) layout.caption = caption;
  return layout;
}

int FrameHitTest(const FrameInput& input, const FrameLayout& layout, Point p) {
  if (p.x < 0 || p.y < 0 || p.x >= input.width || p.y >= input.height) return kHitNowhere;
  if (layout.close.Contains(p)) return kHitClose;
  if (layout.maximize.Contains(p)) return input.maximize.enabled ? kHitMaxButton : kHitCaption;
  if (layout.minimize.Contains(p)) return input.minimize.enabled ? kHitMinButton : kHitCaption;
  if (input.sizeable && !input.maximized) {
    const int zone = std::max(1, input.sizingZone);
    bool top = p.y < zone, bottom = p.y >= input.height - zone;
    bool left = p.x < zone, right = p.x >= input.width - zone;
    if (bottom) return left ? kHitBottomLeft : right ? kHitBottomRight : kHitBottom;
    if (top) return left ? kHitTopLeft : right ? kHitTopRight : kHitTop;
    if (left) return kHitLeft;
    if (right) return kHitRight;
  }
  if (p.y < layout.top) return layout.icon.Contains(p) ? kHitSysMenu : kHitCaption;
  if (layout.Client(input.width, input.height).Contains(p)) return kHitClient;
  return kHitBorder;
}

}  // namespace frame_geometry
