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
  layout.top = BandHeight(input) + std::max(0, input.menuBand);
  // A window too small for its frame keeps at least an empty client area.
  layout.left = std::min(layout.left, std::max(0, input.width / 2));
  layout.right = std::min(layout.right, std::max(0, input.width - layout.left));
  layout.top = std::min(layout.top, std::max(0, input.height));
  layout.bottom = std::min(layout.bottom, std::max(0, input.height - layout.top));
  return layout;
}

int ButtonsWidth(const FrameInput& input) {
  const int gap = input.skin.buttonSpace;
  int width = input.skin.buttonsRight;
  if (input.close.visible) {
    width += input.close.width;
    if (input.maximize.visible) width += input.maximize.width + gap;
    if (input.minimize.visible) width += input.minimize.width + gap;
  }
  if (!input.user.empty()) width += 8;
  for (const ButtonShape& button : input.user) width += button.width + gap;
  return width;
}

FrameLayout ComputeFrameLayout(const FrameInput& input) {
  FrameLayout layout = FrameBorders(input);
  const int band = std::min(BandHeight(input), layout.top);
  const int shift = DownShift(input);
  const int inset = Frameless(input) ? kMaximizedInset : layout.left;
  layout.titleBand = {0, 0, input.width, band};

  // Buttons from right to left: close, maximise (restore), minimise.
  int x = input.width - input.skin.buttonsRight - (Frameless(input) ? kMaximizedInset : layout.right);
  auto place = [&](const ButtonShape& button, Rect& rect) {
    if (!button.visible) return;
    int top = (band - button.height) / 2 + shift;
    rect = Rect::FromSize(x - button.width, top, button.width, button.height);
    x = rect.left - input.skin.buttonSpace;
  };
  place(input.close, layout.close);
  if (input.close.visible) {
    place(input.maximize, layout.maximize);
    place(input.minimize, layout.minimize);
  }
  // The application's buttons, 8 pixels apart from the system buttons.
  layout.user.resize(input.user.size());
  if (!input.user.empty()) x -= 8;
  for (size_t i = 0; i < input.user.size(); ++i) place(input.user[i], layout.user[i]);

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
  caption.right = input.width - (Frameless(input) ? kMaximizedInset : layout.right) - ButtonsWidth(input) - 12;
  caption.top = (input.maximized ? input.sizingZone / 2 + 1 : 2) + shift;
  caption.bottom = band;
  if (!caption.Empty()) layout.caption = caption;

  if (input.menuBand > 0 && layout.top > band)
    layout.menuBand = {layout.left, band, input.width - layout.right, layout.top};
  if (input.gripWidth > 0 && input.gripHeight > 0 && input.sizeable && !input.maximized) {
    // In the client area's lower right corner, one pixel in from the frame.
    layout.grip = Rect::FromSize(input.width - layout.right - input.gripWidth - 1,
                                 input.height - layout.bottom - input.gripHeight - 1, input.gripWidth, input.gripHeight);
  }
  return layout;
}

int FrameHitTest(const FrameInput& input, const FrameLayout& layout, Point p) {
  if (p.x < 0 || p.y < 0 || p.x >= input.width || p.y >= input.height) return kHitNowhere;
  if (layout.close.Contains(p)) return kHitClose;
  if (layout.maximize.Contains(p)) return input.maximize.enabled ? kHitMaxButton : kHitCaption;
  if (layout.minimize.Contains(p)) return input.minimize.enabled ? kHitMinButton : kHitCaption;
  for (size_t i = 0; i < layout.user.size() && i < input.user.size(); ++i)
    if (layout.user[i].Contains(p)) return input.user[i].enabled ? kHitUserButton + static_cast<int>(i) : kHitCaption;
  if (input.sizeable && !input.maximized) {
    const int zone = std::max(1, input.sizingZone);
    bool top = p.y < zone, bottom = p.y >= input.height - zone;
    bool left = p.x < zone, right = p.x >= input.width - zone;
    if (bottom) return left ? kHitBottomLeft : right ? kHitBottomRight : kHitBottom;
    if (top) return left ? kHitTopLeft : right ? kHitTopRight : kHitTop;
    if (left) return kHitLeft;
    if (right) return kHitRight;
  }
  if (p.y < layout.titleBand.bottom) return layout.icon.Contains(p) ? kHitSysMenu : kHitCaption;
  if (layout.menuBand.Contains(p)) return kHitMenu;
  Rect client = layout.Client(input.width, input.height);
  if (client.Contains(p)) {
    // The grip answers right of and below its picture's top-left corner.
    if (!layout.grip.Empty() && p.x >= layout.grip.left && p.y >= layout.grip.top) return kHitBottomRight;
    return kHitClient;
  }
  return kHitBorder;
}

CaptionPlacement PlaceCaption(const Rect& room, int textWidth, int addedWidth, CaptionAlign align) {
  CaptionPlacement placement;
  if (room.Empty()) return placement;
  Rect text = room;
  const int added = addedWidth > 0 ? addedWidth + 4 : 0;
  switch (align) {
    case CaptionAlign::Right:
      // Only when both texts fit; otherwise the caption starts at the left as usual.
      if (room.right - textWidth - added - 4 > room.left) text.left = room.right - textWidth - added - 4;
      break;
    case CaptionAlign::Center:
      // Never left of the left-aligned place, never into the buttons.
      text.left = std::max(room.left, room.left + (room.Width() - textWidth - added - 4) / 2);
      text.right = std::min(text.left + textWidth, room.right);
      break;
    case CaptionAlign::Left: break;
  }
  if (text.Empty()) return placement;
  placement.text = text;
  if (addedWidth > 0) {
    Rect after{text.left + std::min(textWidth, text.Width()) + 4, room.top, room.right, room.bottom};
    if (after.Width() > 4) placement.added = after;
  }
  return placement;
}

}  // namespace frame_geometry
