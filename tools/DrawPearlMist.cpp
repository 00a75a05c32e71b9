// Draws the program's stored skin "PearlMist" into a skin folder: the options file with every
// section and value, the master bitmap (border masks, glyphs, textures and title-button images,
// each masked picture with its mask in the lower half), the big button bitmap and the PNG
// pictures with alpha (extended border with shadow, hover glows, title-button glows). With
// --preview it also writes a picture of the parts and of a window put together from them.
// Usage: draw_pearl_mist SKIN_FOLDER [--preview PREVIEW.png]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "tools/raster/Raster.h"

using namespace raster;

namespace {

// ---- The palette: pale pearl greys, dark grey text and a soft blue-grey shadow. ----
const Rgba kPearl = FromHex(0xF1F1F1);
const Rgba kWhite = FromHex(0xFFFFFF);
const Rgba kOutline = FromHex(0xA9B5BE);
const Rgba kOutlineHot = FromHex(0x7F9BB0);
const Rgba kOutlinePressed = FromHex(0x62829A);
const Rgba kGlyph = FromHex(0x5E6E7A);
const Rgba kGlyphHot = FromHex(0x2C4A60);
const Rgba kShadow = FromHex(0x185366);  // the skin's shadow colour 6705944
const Rgba kGlowBlue = FromHex(0x78AED6);
const Rgba kCloseRed = FromHex(0xD9584A);
const Rgba kCheckInk = FromHex(0x2F5F80);

// A rounded rectangle with its own radius for the top and the bottom corners.
Polygon RoundedRect2(double l, double t, double r, double b, double top, double bottom) {
  Polygon p;
  const int steps = 10;
  auto arc = [&](double cx, double cy, double radius, double a0) {
    if (radius <= 0) {
      p.push_back({cx, cy});
      return;
    }
    for (int i = 0; i <= steps; ++i) {
      double a = a0 + (M_PI / 2) * i / steps;
      p.push_back({cx + radius * std::cos(a), cy + radius * std::sin(a)});
    }
  };
  arc(r - top, t + top, top, -M_PI / 2);
  arc(r - bottom, b - bottom, bottom, 0);
  arc(l + bottom, b - bottom, bottom, M_PI / 2);
  arc(l + top, t + top, top, M_PI);
  return p;
}

// The area between a rounded rectangle and the same one inset by `width`.
std::vector<Polygon> Ring(double l, double t, double r, double b, double radius, double width) {
  return {RoundedRect(l, t, r, b, radius),
          RoundedRect(l + width, t + width, r - width, b - width, std::max(0.0, radius - width))};
}

Polygon Whole(const Canvas& c) { return {{0, 0}, {double(c.Width()), 0}, {double(c.Width()), double(c.Height())}, {0, double(c.Height())}}; }

// ---- Element pictures: one canvas per element with its state pictures side by side. ----

enum State { kNormal = 0, kHot = 1, kPressed = 2 };

// A push button's border: outline, a light inner edge, transparent inside (the section paints it).
Canvas ButtonBorder(int size, double radius) {
  Canvas c(size * 3, size);
  for (int s = 0; s < 3; ++s) {
    double x = s * size;
    Rgba outline = s == kNormal ? kOutline : (s == kHot ? kOutlineHot : kOutlinePressed);
    c.Fill(Ring(x + 0.5, 0.5, x + size - 0.5, size - 0.5, radius, 1.0), Solid(outline));
    if (s == kPressed) {  // a soft inner shadow along the top
      c.Fill(Ring(x + 1.5, 1.5, x + size - 1.5, size - 1.5, radius - 1, 1.0),
             Linear({0, 1.5}, FromHex(0x3C5A70, 0.22), {0, size / 2.0}, FromHex(0x3C5A70, 0.0)));
    } else {
      c.Fill(Ring(x + 1.5, 1.5, x + size - 1.5, size - 1.5, radius - 1, 1.0),
             Linear({0, 1.5}, WithAlpha(kWhite, 0.95), {0, size - 1.5}, WithAlpha(kWhite, s == kHot ? 0.55 : 0.25)));
    }
  }
  return c;
}

// A thin rounded frame for panels, edits and tracks.
Canvas ThinFrame(int size, double radius, Rgba normal, Rgba hot, Rgba pressed, bool highlight) {
  Canvas c(size * 3, size);
  for (int s = 0; s < 3; ++s) {
    double x = s * size;
    Rgba outline = s == kNormal ? normal : (s == kHot ? hot : pressed);
    c.Fill(Ring(x + 0.5, 0.5, x + size - 0.5, size - 0.5, radius, 1.0), Solid(outline));
    if (highlight) c.Fill(Ring(x + 1.5, 1.5, x + size - 1.5, size - 1.5, std::max(0.0, radius - 1), 1.0), Solid(WithAlpha(kWhite, 0.7)));
  }
  return c;
}

// A scroll thumb: a pill inset by one pixel, filled, three states.
Canvas ScrollThumb(int size, bool vertical) {
  Canvas c(size * 3, size);
  const Rgba fills[3] = {FromHex(0xD3DBE1), FromHex(0xB9CCDA), FromHex(0x9FB8CB)};
  const Rgba lines[3] = {FromHex(0xAAB7C1), FromHex(0x89A3B7), FromHex(0x6F8CA3)};
  for (int s = 0; s < 3; ++s) {
    double x = s * size;
    double l = x + 2, t = 2, r = x + size - 2, b = size - 2;
    c.Fill(RoundedRect(l, t, r, b, 4), Solid(fills[s]));
    c.Fill(Ring(l, t, r, b, 4, 1.0), Solid(lines[s]));
    // A highlight on the side facing the light (top, or left for the vertical thumb).
    Polygon light = vertical ? RoundedRect2(l + 1, t + 1, l + 3, b - 1, 0, 0) : RoundedRect2(l + 1, t + 1, r - 1, t + 3, 0, 0);
    c.Fill(light, Solid(WithAlpha(kWhite, 0.45)));
  }
  return c;
}

// An arrow glyph (chevron) pointing in `direction` (0 up, 1 down, 2 left, 3 right), three states.
Canvas Arrow(int size, int direction) {
  Canvas c(size * 3, size);
  const Rgba inks[3] = {FromHex(0x7A8894), FromHex(0x3E6C8E), FromHex(0x24506E)};
  for (int s = 0; s < 3; ++s) {
    double cx = s * size + size / 2.0, cy = size / 2.0, k = size * 0.28;
    std::vector<Vec> pts;
    switch (direction) {
      case 0: pts = {{cx - k, cy + k / 2}, {cx, cy - k / 2}, {cx + k, cy + k / 2}}; break;
      case 1: pts = {{cx - k, cy - k / 2}, {cx, cy + k / 2}, {cx + k, cy - k / 2}}; break;
      case 2: pts = {{cx + k / 2, cy - k}, {cx - k / 2, cy}, {cx + k / 2, cy + k}}; break;
      default: pts = {{cx - k / 2, cy - k}, {cx + k / 2, cy}, {cx - k / 2, cy + k}}; break;
    }
    c.FillUnion(Stroke(pts, 1.7), Solid(inks[s]));
  }
  return c;
}

enum class TitleIcon { Close, Max, Norm, Min, Help };

// The glyph of a title button centred at (cx, cy).
void TitleGlyph(Canvas& c, TitleIcon icon, double cx, double cy, Rgba ink) {
  switch (icon) {
    case TitleIcon::Close:
      c.FillUnion(Stroke({{cx - 3.6, cy - 3.6}, {cx + 3.6, cy + 3.6}}, 1.7), Solid(ink));
      c.FillUnion(Stroke({{cx - 3.6, cy + 3.6}, {cx + 3.6, cy - 3.6}}, 1.7), Solid(ink));
      break;
    case TitleIcon::Max:
      c.Fill(Ring(cx - 4.5, cy - 4, cx + 4.5, cy + 4, 1, 1.2), Solid(ink));
      c.Fill(RoundedRect2(cx - 4.5, cy - 4, cx + 4.5, cy - 2.2, 1, 0), Solid(ink));
      break;
    case TitleIcon::Norm:
      c.Fill(Ring(cx - 2.5, cy - 4.5, cx + 4.5, cy + 1.5, 1, 1.1), Solid(WithAlpha(ink, 0.75)));
      c.Fill(RoundedRect(cx - 4.5, cy - 2, cx + 2.5, cy + 4.5, 1), Solid(FromHex(0xF4F6F7, 0.9)));
      c.Fill(Ring(cx - 4.5, cy - 2, cx + 2.5, cy + 4.5, 1, 1.2), Solid(ink));
      break;
    case TitleIcon::Min:
      c.Fill(RoundedRect(cx - 4.5, cy + 2, cx + 4.5, cy + 4, 0.8), Solid(ink));
      break;
    case TitleIcon::Help: {
      std::vector<Vec> hook;
      for (int i = 0; i <= 10; ++i) {
        double a = M_PI * (1.1 + 1.35 * i / 10);
        hook.push_back({cx + 2.6 * std::cos(a), cy - 1.6 + 2.6 * std::sin(a)});
      }
      hook.push_back({cx, cy + 1.4});
      c.FillUnion(Stroke(hook, 1.6), Solid(ink));
      c.Fill(Ellipse(cx, cy + 4, 1.0, 1.0), Solid(ink));
      break;
    }
  }
}

// The face of a title button in one state at (x, 0), `width` x 15.
void TitleButtonFace(Canvas& c, TitleIcon icon, double x, int width, int state) {
  const double h = 15;
  bool close = icon == TitleIcon::Close;
  if (state != kNormal) {
    Rgba fill = close ? (state == kHot ? kCloseRed : FromHex(0xB4443A))
                      : (state == kHot ? FromHex(0xFFFFFF, 0.85) : FromHex(0xD5DEE4));
    Rgba line = close ? FromHex(0xA8392E) : (state == kHot ? kOutlineHot : kOutlinePressed);
    c.Fill(RoundedRect(x + 0.5, 0.5, x + width - 0.5, h - 0.5, 3), Solid(fill));
    c.Fill(Ring(x + 0.5, 0.5, x + width - 0.5, h - 0.5, 3, 1.0), Solid(line));
    if (state == kHot)
      c.Fill(RoundedRect2(x + 1.5, 1.5, x + width - 1.5, h / 2, 2, 0), Solid(WithAlpha(kWhite, close ? 0.22 : 0.5)));
  }
  Rgba ink = close && state != kNormal ? kWhite : (state == kNormal ? kGlyph : kGlyphHot);
  TitleGlyph(c, icon, x + width / 2.0, h / 2.0, ink);
}

Canvas TitleButton(TitleIcon icon, int width) {
  Canvas c(width * 3, 15);
  for (int s = 0; s < 3; ++s) TitleButtonFace(c, icon, s * width, width, s);
  return c;
}

// The glow picture of a title button: the hot face with a halo of `margin` pixels around it.
Canvas TitleGlow(TitleIcon icon, int width, int margin) {
  Canvas c(width + 2 * margin, 15 + 2 * margin);
  Rgba color = icon == TitleIcon::Close ? FromHex(0xF08070) : kGlowBlue;
  c.Fill(Whole(c), Halo(color, 0.55, 5.0, margin, margin, margin + width, margin + 15, 3, false));
  Canvas face(width, 15);
  TitleButtonFace(face, icon, 0, width, kHot);
  c.Draw(face, margin, margin);
  return c;
}

// A hover glow around a control: 40 x 40 with 15-pixel margins; the control's edge lies
// `glowMargin` pixels inside the picture's outer margin, and the middle stays clear.
Canvas ControlGlow(int glowMargin, Rgba color, double peak) {
  Canvas c(40, 40);
  double edge = 15 - glowMargin;
  c.Fill(Whole(c), Halo(color, peak, 2.2, edge, edge, 40 - edge, 40 - edge, 4, false));
  c.Fill(Ring(edge, edge, 40 - edge, 40 - edge, 4, 1.0), Solid(WithAlpha(color, peak * 0.8)));
  return c;
}

// Check boxes and radio buttons in three states; `mark` 0 none, 1 tick or dot, 2 grayed.
Canvas CheckGlyph(int size, bool radio, int mark) {
  Canvas c(size * 3, size);
  for (int s = 0; s < 3; ++s) {
    double x = s * size, l = x + 0.5, t = 0.5, r = x + size - 0.5, b = size - 0.5;
    Rgba line = s == kNormal ? FromHex(0x97A7B3) : (s == kHot ? kOutlineHot : kOutlinePressed);
    Paint face = s == kPressed ? Solid(FromHex(0xDDE6EC))
                               : Linear({0, 0}, kWhite, {0, double(size)}, s == kHot ? FromHex(0xE4EEF5) : FromHex(0xEDEFF1));
    Polygon shape = radio ? Ellipse((l + r) / 2, (t + b) / 2, (r - l) / 2, (b - t) / 2) : RoundedRect(l, t, r, b, 2);
    Polygon inner = radio ? Ellipse((l + r) / 2, (t + b) / 2, (r - l) / 2 - 1, (b - t) / 2 - 1) : RoundedRect(l + 1, t + 1, r - 1, b - 1, 1);
    c.Fill(shape, Solid(line));
    c.Fill(inner, face);
    double cx = (l + r) / 2, cy = (t + b) / 2, k = size / 13.0;
    if (mark == 1 && radio) c.Fill(Ellipse(cx, cy, 2.6 * k, 2.6 * k), Solid(kCheckInk));
    if (mark == 1 && !radio)
      c.FillUnion(Stroke({{cx - 3.2 * k, cy + 0.2 * k}, {cx - 1 * k, cy + 2.4 * k}, {cx + 3.4 * k, cy - 2.6 * k}}, 1.8 * k),
                  Solid(kCheckInk));
    if (mark == 2) {
      if (radio) c.Fill(Ellipse(cx, cy, 2.4 * k, 2.4 * k), Solid(FromHex(0x9AA9B4)));
      else c.Fill(RoundedRect(cx - 2.5 * k, cy - 2.5 * k, cx + 2.5 * k, cy + 2.5 * k, 0.8), Solid(FromHex(0x9AA9B4)));
    }
  }
  return c;
}

Canvas CheckMark() {
  Canvas c(9, 9);
  c.FillUnion(Stroke({{1.6, 4.6}, {3.6, 6.8}, {7.6, 2.2}}, 1.7), Solid(kCheckInk));
  return c;
}

Canvas Grip() {
  Canvas c(12, 12);
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3 - row; ++col) {
      double x = 10 - col * 4, y = 10 - row * 4;
      c.Fill(RoundedRect(x - 1, y - 1, x + 1, y + 1, 0.4), Solid(WithAlpha(kWhite, 0.9)));
      c.Fill(RoundedRect(x - 2, y - 2, x, y, 0.4), Solid(FromHex(0xA3B0BA)));
    }
  return c;
}

// The highlight frame of a menu item: nothing in state 0, a rounded outline in state 1.
Canvas MenuItemFrame(int size) {
  Canvas c(size * 2, size);
  c.Fill(Ring(size + 0.5, 0.5, 2 * size - 0.5, size - 0.5, 2, 1.0), Solid(FromHex(0x9DB3C4)));
  return c;
}

Canvas MenuBorder(int size) {
  Canvas c(size, size);
  c.Fill(RoundedRect(0, 0, size, size, 2), Solid(kWhite));
  c.Fill(Ring(0.5, 0.5, size - 0.5, size - 0.5, 2, 1.0), Solid(kOutline));
  return c;
}

// A soft sheen: white at the top fading into the pearl grey.
Canvas Sheen(int width, int height) {
  Canvas c(width, height, kPearl);
  c.Fill(Whole(c), Linear({0, 0}, kWhite, {0, double(height)}, kPearl));
  return c;
}

// The title band's lower edge: a light separator line, the rest clear.
Canvas TitleEdge(int size) {
  Canvas c(size * 3, size);
  for (int s = 0; s < 3; ++s) {
    c.FillRect(s * size, size - 2, (s + 1) * size, size - 1, FromHex(0xDCE2E6));
    c.FillRect(s * size, size - 1, (s + 1) * size, size, WithAlpha(kWhite, 0.8));
  }
  return c;
}

// The form's own border for the standard frame: a slate outline, a white inner edge, pearl inside.
Canvas FormBorder(int size) {
  Canvas c(size * 3, size);
  for (int s = 0; s < 3; ++s) {
    double x = s * size;
    Rgba line = s == kNormal ? FromHex(0x9AA8B2) : FromHex(0x7C92A2);
    c.Fill(RoundedRect2(x, 0, x + size, size, 5, 1), Solid(line));
    c.Fill(RoundedRect2(x + 1, 1, x + size - 1, size - 1, 4, 0), Solid(kWhite));
    c.Fill(RoundedRect2(x + 2, 2, x + size - 2, size - 2, 3, 0), Solid(kPearl));
  }
  return c;
}

// One state of the extended border: the shadow around the window and the wide pearl frame with
// its title band. The window lies 16 pixels inside the picture; the frame is 26 pixels wide at
// the sides and bottom and 51 pixels high at the top.
Canvas ExtendedBorderState(bool active) {
  const int w = 112, h = 140, m = 16;
  const double l = m, t = m, r = w - m, b = h - m;
  Canvas c(w, h);
  // Shadow, a little lower than the window.
  c.Fill(Whole(c), Halo(kShadow, active ? 0.30 : 0.18, 5.0, l, t + 2, r, b + 1, 8, false));
  // Frame: white at the top of the title, pearl below it.
  Rgba top = active ? FromHex(0xFDFEFE) : FromHex(0xF9F9F9);
  Paint face = [=](double, double y) {
    if (y >= t + 51) return kPearl;
    return Mix(top, FromHex(0xEEF0F1), std::clamp((y - t) / 51.0, 0.0, 1.0));
  };
  Polygon outer = RoundedRect2(l, t, r, b, 7, 3);
  c.Fill(outer, face);
  c.Fill(std::vector<Polygon>{outer, RoundedRect2(l + 1, t + 1, r - 1, b - 1, 6, 2)},
         Solid(active ? FromHex(0x7E95A6) : FromHex(0xA9B6C0)));
  c.Fill(std::vector<Polygon>{RoundedRect2(l + 1, t + 1, r - 1, b - 1, 6, 2), RoundedRect2(l + 2, t + 2, r - 2, b - 2, 5, 1)},
         Solid(WithAlpha(kWhite, 0.85)));
  // A quiet line around the client area.
  const double il = l + 26, it = t + 51, ir = r - 26, ib = b - 26;
  c.Fill(std::vector<Polygon>{RoundedRect(il - 1, it - 1, ir + 1, ib + 1, 0), RoundedRect(il, it, ir, ib, 0)},
         Solid(FromHex(0xD3DAE0)));
  return c;
}

Canvas ExtendedBorder() {
  Canvas c(224, 140);
  c.Draw(ExtendedBorderState(false), 0, 0);
  c.Draw(ExtendedBorderState(true), 112, 0);
  return c;
}

// ---- The master bitmap: items packed on shelves, masked items with their mask below. ----

struct Placement {
  int left, top, right, bottom;
};

class MasterSheet {
 public:
  explicit MasterSheet(int width) : width_(width) {}

  // A picture with straight alpha becomes colours on top and a mask below (0 opaque, 255 clear);
  // fully clear pixels get the key colour.
  Placement PutMasked(const Canvas& picture) {
    Placement at = Reserve(picture.Width(), picture.Height() * 2);
    for (int y = 0; y < picture.Height(); ++y)
      for (int x = 0; x < picture.Width(); ++x) {
        const Rgba& p = picture.At(x, y);
        double a = std::clamp(p.a, 0.0, 1.0);
        Set(at.left + x, at.top + y, a < 1.0 / 255 ? FromHex(0xFF00FF) : Rgba{p.r, p.g, p.b, 1});
        double grey = std::round(255 * (1 - a)) / 255;
        Set(at.left + x, at.top + picture.Height() + y, {grey, grey, grey, 1});
      }
    return at;
  }

  // A picture keyed on magenta: pixels under half coverage are clear, the others are laid on `under`.
  Placement PutKeyed(const Canvas& picture, Rgba under) {
    Placement at = Reserve(picture.Width(), picture.Height());
    for (int y = 0; y < picture.Height(); ++y)
      for (int x = 0; x < picture.Width(); ++x) {
        const Rgba& p = picture.At(x, y);
        Rgba out = Mix(under, Rgba{p.r, p.g, p.b, 1}, std::clamp(p.a, 0.0, 1.0));
        Set(at.left + x, at.top + y, p.a < 0.5 ? FromHex(0xFF00FF) : Rgba{out.r, out.g, out.b, 1});
      }
    return at;
  }

  // An opaque picture.
  Placement PutOpaque(const Canvas& picture) {
    Placement at = Reserve(picture.Width(), picture.Height());
    for (int y = 0; y < picture.Height(); ++y)
      for (int x = 0; x < picture.Width(); ++x) {
        Rgba p = picture.At(x, y);
        p.a = 1;
        Set(at.left + x, at.top + y, p);
      }
    return at;
  }

  Canvas Finish() const {
    int height = y_ + shelf_;
    Canvas c(width_, height, FromHex(0xFF00FF));
    for (const auto& [pos, color] : pixels_) c.At(pos.first, pos.second) = color;
    return c;
  }

 private:
  Placement Reserve(int w, int h) {
    if (x_ + w > width_) {
      x_ = 0;
      y_ += shelf_ + 2;
      shelf_ = 0;
    }
    Placement at{x_, y_, x_ + w, y_ + h};
    x_ += w + 2;
    shelf_ = std::max(shelf_, h);
    return at;
  }
  void Set(int x, int y, Rgba c) { pixels_.push_back({{x, y}, c}); }

  int width_;
  int x_ = 0, y_ = 0, shelf_ = 0;
  std::vector<std::pair<std::pair<int, int>, Rgba>> pixels_;
};

std::string Number4(int v) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d", v);
  return buffer;
}

std::string BorderValue(Placement p, int wl, int wt, int wr, int wb, int count, int mask, int stretch, int width) {
  std::string s;
  for (int v : {p.left, p.top, p.right, p.bottom, wl, wt, wr, wb}) s += "^" + Number4(v);
  for (int v : {count, mask, stretch, width}) s += "^" + std::to_string(v);
  return s;
}

std::string GlyphValue(Placement p, int count, int mask) {
  std::string s;
  for (int v : {p.left, p.top, p.right, p.bottom}) s += "@" + Number4(v);
  return s + "@" + std::to_string(count) + "@" + std::to_string(mask);
}

std::string TextureValue(Placement p, int stretch, int mask) {
  std::string s;
  for (int v : {p.left, p.top, p.right, p.bottom}) s += "~" + Number4(v);
  char mode[8];
  std::snprintf(mode, sizeof mode, "%02d", stretch);
  return s + "~" + mode + "~" + std::to_string(mask);
}

struct OptionsSection {
  std::string name;
  std::vector<std::pair<std::string, std::string>> keys;
};

void Save(const std::string& path, const std::string& text) {
  std::ofstream f(path, std::ios::binary);
  if (!f) throw std::runtime_error("cannot write " + path);
  f << text;
}

// ---- The preview: every part over a checkerboard and a window put together from them. ----

Canvas Checker(int w, int h) {
  Canvas c(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) c.At(x, y) = ((x / 6 + y / 6) % 2) ? FromHex(0xD0D0D0) : FromHex(0xF8F8F8);
  return c;
}

// Copies part (sx, sy, sw, sh) of `src` tiled over (dx, dy, dw, dh) of `dst`, composited.
void TilePart(Canvas& dst, const Canvas& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh) {
  if (sw <= 0 || sh <= 0) return;
  for (int y = 0; y < dh; ++y)
    for (int x = 0; x < dw; ++x) {
      int tx = dx + x, ty = dy + y;
      if (tx < 0 || ty < 0 || tx >= dst.Width() || ty >= dst.Height()) continue;
      Canvas one(1, 1, src.At(sx + x % sw, sy + y % sh));
      dst.Draw(one, tx, ty);
    }
}

// Nine-part placement of one state of `src` around (dx, dy, dw, dh).
void NinePart(Canvas& dst, const Canvas& src, int sx, int sw, int sh, int wl, int wt, int wr, int wb, int dx, int dy, int dw,
              int dh, bool centre) {
  int mw = sw - wl - wr, mh = sh - wt - wb;
  TilePart(dst, src, sx, 0, wl, wt, dx, dy, wl, wt);
  TilePart(dst, src, sx + wl, 0, mw, wt, dx + wl, dy, dw - wl - wr, wt);
  TilePart(dst, src, sx + sw - wr, 0, wr, wt, dx + dw - wr, dy, wr, wt);
  TilePart(dst, src, sx, wt, wl, mh, dx, dy + wt, wl, dh - wt - wb);
  TilePart(dst, src, sx + sw - wr, wt, wr, mh, dx + dw - wr, dy + wt, wr, dh - wt - wb);
  TilePart(dst, src, sx, sh - wb, wl, wb, dx, dy + dh - wb, wl, wb);
  TilePart(dst, src, sx + wl, sh - wb, mw, wb, dx + wl, dy + dh - wb, dw - wl - wr, wb);
  TilePart(dst, src, sx + sw - wr, sh - wb, wr, wb, dx + dw - wr, dy + dh - wb, wr, wb);
  if (centre) TilePart(dst, src, sx + wl, wt, mw, mh, dx + wl, dy + wt, dw - wl - wr, dh - wt - wb);
}

Canvas Crop(const Canvas& src, int x, int y, int w, int h) {
  Canvas c(w, h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) c.At(i, j) = src.At(x + i, y + j);
  return c;
}

void DrawButton(Canvas& dst, const Canvas& border, int state, int x, int y, int w, int h) {
  // The section's gradient: white to 15198183 over half, then to the pearl.
  Canvas face(w, h);
  face.Fill(RoundedRect(1, 1, w - 1, h - 1, 3),
            state == kHot ? Linear({0, 0}, kWhite, {0, double(h)}, FromHex(0xDADADA))
                          : Linear({0, 0}, kWhite, {0, double(h)}, FromHex(0xE7E7E7)));
  dst.Draw(face, x, y);
  NinePart(dst, border, state * 22, 22, 22, 6, 6, 6, 6, x, y, w, h, false);
}

Canvas Preview(const std::vector<std::pair<std::string, Canvas>>& parts, const Canvas& exbor, const Canvas& buttonBorder,
               const std::vector<Canvas>& titleButtons, const Canvas& closeGlow, const Canvas& editFrame,
               const Canvas& thumb, const Canvas& up, const Canvas& down, const Canvas& glowBtn) {
  const int sheetWidth = 640;
  // Parts, scaled 3 times, over a checkerboard.
  int x = 8, y = 8, shelf = 0;
  std::vector<std::pair<int, int>> at;
  for (const auto& [name, part] : parts) {
    int w = part.Width() * 3, h = part.Height() * 3;
    if (x + w > sheetWidth - 8) x = 8, y += shelf + 8, shelf = 0;
    at.push_back({x, y});
    x += w + 8;
    shelf = std::max(shelf, h);
  }
  int partsHeight = y + shelf + 8;
  const int winW = 520, winH = 330;
  Canvas out(sheetWidth, partsHeight + winH + 40, FromHex(0xFFFFFF));
  out.Draw(Checker(sheetWidth, partsHeight), 0, 0);
  for (size_t i = 0; i < parts.size(); ++i) {
    const Canvas& part = parts[i].second;
    Canvas big(part.Width() * 3, part.Height() * 3);
    for (int j = 0; j < big.Height(); ++j)
      for (int k = 0; k < big.Width(); ++k) big.At(k, j) = part.At(k / 3, j / 3);
    out.Draw(big, at[i].first, at[i].second);
  }

  // The window: desktop, extended border (active state), client pearl, two panels, buttons, list.
  int ox = 20, oy = partsHeight + 10;
  Canvas desk(sheetWidth, winH + 30);
  desk.Fill(Whole(desk), Linear({0, 0}, FromHex(0x8DA9BC), {0, double(winH)}, FromHex(0x5D7C92)));
  out.Draw(desk, 0, partsHeight);
  Canvas win(winW, winH);
  win.FillRect(16 + 26, 16 + 51, winW - 16 - 26, winH - 16 - 26, kPearl);
  NinePart(win, exbor, 112, 112, 140, 43, 68, 44, 43, 0, 0, winW, winH, false);
  // Title buttons at the right of the title band.
  int bx = winW - 16 - 26, by = 16 + 5 + 18;
  const int widths[3] = {28, 26, 26};
  for (int i = 0; i < 3; ++i) {
    bx -= widths[i];
    win.Draw(Crop(titleButtons[i], 0, 0, widths[i], 15), bx, by);
    bx -= 2;
  }
  // Close button hovered: its glow picture over the title.
  win.Draw(closeGlow, winW - 16 - 26 - 28 - 20, by - 20);
  // Two list areas with edit frames and a vertical scroll bar.
  for (int side = 0; side < 2; ++side) {
    int lx = 16 + 26 + 12 + side * 226, ly = 16 + 51 + 44, lw = 214, lh = 150;
    win.FillRect(lx, ly, lx + lw, ly + lh, kWhite);
    NinePart(win, editFrame, 0, 12, 12, 2, 2, 2, 2, lx, ly, lw, lh, false);
    int sx = lx + lw - 19, sy = ly + 2;
    win.Draw(Crop(up, 0, 0, 9, 9), sx + 4, sy + 4);
    NinePart(win, thumb, side * 16, 16, 16, 6, 6, 6, 6, sx, sy + 20, 17, 60, true);
    win.Draw(Crop(down, 9, 0, 9, 9), sx + 4, sy + lh - 17);
    int bxl = lx - 4, byl = ly - 36;
    DrawButton(win, buttonBorder, side == 0 ? kNormal : kHot, bxl, byl, 75, 25);
    // The hot button's glow: the picture's 15-pixel margins reach 9 pixels into the button.
    if (side == 1) NinePart(win, glowBtn, 0, 40, 40, 15, 15, 15, 15, bxl - 6, byl - 6, 75 + 12, 25 + 12, false);
  }
  DrawButton(win, buttonBorder, kPressed, 16 + 26 + 12, winH - 16 - 26 - 34, 161, 25);
  out.Draw(win, ox, oy);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--preview")) {
    std::fprintf(stderr, "usage: draw_pearl_mist SKIN_FOLDER [--preview PREVIEW.png]\n");
    return 2;
  }
  const std::string folder = argv[1];

  // Element pictures.
  Canvas formBorder = FormBorder(18);
  Canvas titleEdge = TitleEdge(12);
  Canvas titleSheen = Sheen(32, 24);
  Canvas buttonBorder = ButtonBorder(22, 4);
  Canvas panelFrame = ThinFrame(16, 3, FromHex(0xD6DDE2), FromHex(0xC2CFD8), FromHex(0xB5C4CF), true);
  Canvas editFrame = ThinFrame(12, 1, kOutline, kOutlineHot, FromHex(0x5E86A6), true);
  Canvas trackFrame = ThinFrame(10, 2, FromHex(0xE1E6EA), FromHex(0xD3DCE3), FromHex(0xC8D3DC), false);
  Canvas thumbH = ScrollThumb(16, false), thumbV = ScrollThumb(16, true);
  Canvas arrows[4] = {Arrow(9, 0), Arrow(9, 1), Arrow(9, 2), Arrow(9, 3)};
  Canvas menuFrame = MenuItemFrame(12);
  Canvas menuSheen = Sheen(16, 16);
  Canvas menuBorder = MenuBorder(12);
  Canvas close = TitleButton(TitleIcon::Close, 28), max = TitleButton(TitleIcon::Max, 26),
         norm = TitleButton(TitleIcon::Norm, 26), min = TitleButton(TitleIcon::Min, 26),
         help = TitleButton(TitleIcon::Help, 26);
  Canvas boxUnchecked = CheckGlyph(13, false, 0), boxChecked = CheckGlyph(13, false, 1), boxGrayed = CheckGlyph(13, false, 2);
  Canvas radioUnchecked = CheckGlyph(13, true, 0), radioChecked = CheckGlyph(13, true, 1), radioGrayed = CheckGlyph(13, true, 2);
  Canvas smallUnchecked = CheckGlyph(11, false, 0), smallChecked = CheckGlyph(11, false, 1), smallGrayed = CheckGlyph(11, false, 2);
  Canvas check = CheckMark(), grip = Grip();

  MasterSheet sheet(360);
  Placement pClose = sheet.PutMasked(close), pMax = sheet.PutMasked(max), pNorm = sheet.PutMasked(norm),
            pMin = sheet.PutMasked(min), pHelp = sheet.PutMasked(help);
  Placement pForm = sheet.PutMasked(formBorder), pButton = sheet.PutMasked(buttonBorder),
            pPanel = sheet.PutMasked(panelFrame), pEdit = sheet.PutMasked(editFrame),
            pTitleEdge = sheet.PutMasked(titleEdge), pTrack = sheet.PutMasked(trackFrame);
  Placement pThumbH = sheet.PutMasked(thumbH), pThumbV = sheet.PutMasked(thumbV);
  Placement pArrow[4];
  for (int i = 0; i < 4; ++i) pArrow[i] = sheet.PutMasked(arrows[i]);
  Placement pBoxU = sheet.PutMasked(boxUnchecked), pBoxC = sheet.PutMasked(boxChecked), pBoxG = sheet.PutMasked(boxGrayed);
  Placement pRadU = sheet.PutMasked(radioUnchecked), pRadC = sheet.PutMasked(radioChecked), pRadG = sheet.PutMasked(radioGrayed);
  Placement pSmU = sheet.PutMasked(smallUnchecked), pSmC = sheet.PutMasked(smallChecked), pSmG = sheet.PutMasked(smallGrayed);
  Placement pCheck = sheet.PutMasked(check), pGrip = sheet.PutMasked(grip), pMenuBorder = sheet.PutMasked(menuBorder);
  Placement pMenuFrame = sheet.PutKeyed(menuFrame, FromHex(0xEAEFF3));
  Placement pTitleSheen = sheet.PutOpaque(titleSheen), pMenuSheen = sheet.PutOpaque(menuSheen);

  // The big button: three 48-pixel states with the mask below, margins a third of a state.
  Canvas huge = ButtonBorder(48, 10);
  MasterSheet hugeSheet(huge.Width());
  hugeSheet.PutMasked(huge);

  Canvas exbor = ExtendedBorder();
  Canvas glowBtn = ControlGlow(9, kGlowBlue, 0.55), glowWhite = ControlGlow(10, kWhite, 0.9);
  Canvas glowClose = TitleGlow(TitleIcon::Close, 28, 20), glowMax = TitleGlow(TitleIcon::Max, 26, 20),
         glowNorm = TitleGlow(TitleIcon::Norm, 26, 20), glowMin = TitleGlow(TitleIcon::Min, 26, 20),
         glowHelp = TitleGlow(TitleIcon::Help, 26, 20);

  const std::string gradTitle = "16777215;15856113;97;0;0;15856113;15856113;0;0;0";
  const std::string gradTrackV = "16777215;15856113;97;1;0;15856113;15856113;0;1;0";
  std::vector<OptionsSection> options = {
      {"GLOBALINFO",
       {{"SHADOW1OFFSET", "1"}, {"SHADOW1BLUR", "2"}, {"VERSION", "6.5"}, {"BISPACE", "2"}, {"BIRIGHT", "0"},
        {"BILEFT", "2"}, {"BIVALIGN", "0"}, {"COLOR", "15461355"}, {"HOTCOLOR", "16119285"}, {"BORDERCOLOR", "15592941"},
        {"TCLEFT", "16777215"}, {"SHADOW1COLOR", "6705944"}, {"FONTCOLOR", "2171169"}, {"FORMOFFSET", "16"},
        {"BORDERWIDTH", "26"}, {"CAPTIONHEIGHT", "30"}, {"BORDERMODE", "1"}, {"TITLEHEIGHT", "51"}, {"TCBOTTOM", "2171169"},
        {"TCTOP", "255"}, {"CENTEROFFSET", "5"}, {"BIKEEPHUE", "2"}, {"BICONCLOSEGLOWMARGIN", "20"},
        {"BICONMINGLOWMARGIN", "20"}, {"BICONMAXGLOWMARGIN", "20"}, {"BICONCLOSEGLOW", "1"}, {"BICONMINGLOW", "1"},
        {"BICONMAXGLOW", "1"}, {"BICONNORMGLOW", "1"}, {"BICONNORMGLOWMARGIN", "20"}, {"MAXHEIGHT", "34"},
        {"AUTHOR", "Brenvale"}, {"DESCRIPTION", "PearlMist: light pearl greys with a soft blue-grey shadow"},
        {"MASTERBITMAP", "MASTER.BMP"},
        {"BICONCLOSE", GlyphValue(pClose, 3, 1)}, {"BICONMAX", GlyphValue(pMax, 3, 1)}, {"BICONNORM", GlyphValue(pNorm, 3, 1)},
        {"RADIOUNCHECKED", GlyphValue(pRadU, 3, 1)}, {"BOXUNCHECKED", GlyphValue(pBoxU, 3, 1)},
        {"RADIOCHECKED", GlyphValue(pRadC, 3, 1)}, {"BOXCHECKED", GlyphValue(pBoxC, 3, 1)},
        {"BOXGRAYED", GlyphValue(pBoxG, 3, 1)}, {"RADIOGRAYED", GlyphValue(pRadG, 3, 1)},
        {"GRIPIMAGE", GlyphValue(pGrip, 1, 1)}, {"SMALLCHECKED", GlyphValue(pSmC, 3, 1)},
        {"SMALLUNCHECKED", GlyphValue(pSmU, 3, 1)}, {"SMALLGRAYED", GlyphValue(pSmG, 3, 1)},
        {"BICONMIN", GlyphValue(pMin, 3, 1)}, {"EXBORDER", "!EXBOR.PNG!2!0!3!0043!0068!0044!0043"},
        {"CHECK", GlyphValue(pCheck, 1, 1)}, {"BICONHELP", GlyphValue(pHelp, 3, 1)},
        {"BICONCLOSEGLOW0", "!GLOWCLOSE.PNG!1!0!4"}, {"BICONMINGLOW0", "!GLOWMIN.PNG!1!0!4"},
        {"BICONMAXGLOW0", "!GLOWMAX.PNG!1!0!4"}, {"BICONNORMGLOW0", "!GLOWNORM.PNG!1!0!4"},
        {"BICONHELPGLOW0", "!GLOWH.PNG!1!0!4"}}},
      {"FORM",
       {{"COLOR", "15856113"}, {"HOTCOLOR", "15856112"}, {"FONTCOLOR", "2171169"}, {"GRADIENTPERCENT", "0"},
        {"HOTGRADIENTPERCENT", "0"}, {"TRANSPARENCY", "0"}, {"BORDERSMASK", BorderValue(pForm, 6, 6, 6, 6, 3, 1, 0, 0)}}},
      {"FORMTITLE",
       {{"HOTTRANSPARENCY", "0"}, {"TRANSPARENCY", "100"}, {"GRADIENTPERCENT", "100"}, {"HOTGRADIENTPERCENT", "100"},
        {"HOTGRADIENTDATA", "12632256;15856113;97;0;0;15856113;15856113;0;0;0"}, {"GRADIENTDATA", gradTitle},
        {"IMAGEPERCENT", "0"}, {"HOTIMAGEPERCENT", "0"}, {"FONTCOLOR", "8418916"},
        {"BORDERSMASK", BorderValue(pTitleEdge, 2, 2, 2, 3, 3, 1, 0, 0)}, {"HOTPATTERN", TextureValue(pTitleSheen, 2, 0)}}},
      {"BUTTON",
       {{"TRANSPARENCY", "0"}, {"HOTTRANSPARENCY", "0"}, {"FADINGENABLED", "TRUE"}, {"FADINGITERATIONS", "20"},
        {"GRADIENTPERCENT", "85"},
        {"GRADIENTDATA", "16777215;15198183;50;0;0;15198183;15198183;2;0;0;15198183;15856113;45;0;0;15856113;15856113;0;0;0"},
        {"HOTGRADIENTPERCENT", "81"},
        {"HOTGRADIENTDATA", "16777215;14869218;50;0;0;14869218;14342874;2;0;0;14342874;15132390;45;0;0;15132390;15132390;0;0;0"},
        {"HOTIMAGEPERCENT", "19"}, {"IMAGEPERCENT", "15"}, {"COLOR", "15856113"}, {"FONTCOLOR", "3484708"},
        {"GLOWMARGIN", "9"}, {"GLOW", "1"}, {"BORDERSMASK", BorderValue(pButton, 6, 6, 6, 6, 3, 1, 0, 0)},
        {"GLOW0", "!GLOWBTN.PNG!1!0!3!0015!0015!0015!0015"}}},
      {"BUTTON_HUGE", {{"PARENTCLASS", "BUTTON"}, {"BORDERSMASK", "BUTTONHUGE.BMP"}}},
      {"LACQUEREDIT",
       {{"TRANSPARENCY", "100"}, {"HOTGRADIENTPERCENT", "100"}, {"HOTTRANSPARENCY", "70"}, {"FADINGENABLED", "TRUE"},
        {"FADINGITERATIONS", "20"}, {"FONTCOLOR", "2171169"},
        {"HOTGRADIENTDATA", "16777215;12632256;52;0;0;12632256;14869218;45;0;0;14869218;14869218;0;0;0"},
        {"COLOR", "16777215"}, {"GLOW", "1"}, {"GLOWMARGIN", "10"},
        {"BORDERSMASK", BorderValue(pPanel, 4, 4, 4, 4, 3, 1, 0, 0)},
        {"GLOW0", "!GLOWWHITE.PNG!1!0!3!0015!0015!0015!0015"}}},
      {"WEBBUTTON",
       {{"TRANSPARENCY", "100"}, {"HOTTRANSPARENCY", "100"}, {"FADINGENABLED", "TRUE"}, {"FADINGITERATIONS", "20"},
        {"HOTFONTCOLOR", "16742400"}, {"COLOR", "15856113"}, {"FONTCOLOR", "2171169"}}},
      {"EDIT", {{"COLOR", "16777215"}, {"HOTCOLOR", "16777215"}, {"BORDERSMASK", BorderValue(pEdit, 2, 2, 2, 2, 3, 1, 0, 0)}}},
  };
  const std::string track = BorderValue(pTrack, 2, 2, 2, 2, 3, 1, 0, 0);
  for (const char* name : {"SCROLLBAR1H", "SCROLLBAR2H"})
    options.push_back({name,
                       {{"GRADIENTPERCENT", "100"}, {"GRADIENTDATA", gradTitle}, {"HOTGRADIENTDATA", gradTitle},
                        {"HOTGRADIENTPERCENT", "100"}, {"BORDERSMASK", track}}});
  for (const char* name : {"SCROLLBAR1V", "SCROLLBAR2V"})
    options.push_back({name,
                       {{"GRADIENTPERCENT", "100"}, {"GRADIENTDATA", gradTrackV}, {"HOTGRADIENTDATA", gradTrackV},
                        {"HOTGRADIENTPERCENT", "100"}, {"BORDERSMASK", track}}});
  options.push_back({"SCROLLSLIDERH",
                     {{"GRADIENTPERCENT", "0"}, {"HOTGRADIENTPERCENT", "0"}, {"TRANSPARENCY", "100"},
                      {"HOTTRANSPARENCY", "100"}, {"BORDERSMASK", BorderValue(pThumbH, 6, 6, 6, 6, 3, 1, 4, 0)}}});
  options.push_back({"SCROLLSLIDERV",
                     {{"GRADIENTPERCENT", "0"}, {"HOTGRADIENTPERCENT", "0"}, {"TRANSPARENCY", "100"},
                      {"HOTTRANSPARENCY", "100"}, {"BORDERSMASK", BorderValue(pThumbV, 6, 6, 6, 6, 3, 1, 4, 0)}}});
  const char* buttons[4] = {"SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT"};
  for (int i = 0; i < 4; ++i)
    options.push_back({buttons[i],
                       {{"TRANSPARENCY", "100"}, {"HOTTRANSPARENCY", "100"}, {"GLYPHMASK", GlyphValue(pArrow[i], 3, 1)}}});
  options.push_back(
      {"MENUITEM",
       {{"TRANSPARENCY", "100"}, {"HOTTRANSPARENCY", "50"}, {"HOTGRADIENTPERCENT", "100"}, {"HOTCOLOR", "12632256"},
        {"HOTFONTCOLOR", "0"},
        {"HOTGRADIENTDATA",
         "16777215;15132389;24;2;0;15132389;15856112;24;2;0;15856112;15856113;24;2;0;15856113;15856112;24;2;0;15856112;15856112;0;2;0"},
        {"FONTCOLOR", "5656386"}, {"HOTIMAGEPERCENT", "0"}, {"BORDERSMASK", BorderValue(pMenuFrame, 2, 2, 2, 2, 2, 0, 3, 0)},
        {"HOTPATTERN", TextureValue(pMenuSheen, 0, 0)}}});
  // Sections that other parts of the program look up, in the same calm colours.
  options.push_back({"PANEL", {{"COLOR", "15856113"}, {"TRANSPARENCY", "100"}, {"FONTCOLOR", "2171169"}}});
  options.push_back({"COLHEADER", {{"PARENTCLASS", "BUTTON"}, {"GLOW", "0"}}});
  options.push_back({"MAINMENU",
                     {{"COLOR", "16777215"}, {"FONTCOLOR", "2171169"},
                      {"BORDERSMASK", BorderValue(pMenuBorder, 3, 3, 3, 3, 1, 1, 4, 3)}}});
  options.push_back({"MENULINE", {{"COLOR", "15856113"}, {"FONTCOLOR", "2171169"}}});
  options.push_back({"ICOLINE", {{"COLOR", "15461355"}}});
  options.push_back({"DIVIDERV", {{"COLOR", "14474460"}}});
  options.push_back({"HINT", {{"COLOR", "16777215"}, {"FONTCOLOR", "2171169"}}});

  std::string text = "; PearlMist, the stored skin of Brenvale. Drawn by tools/DrawPearlMist.cpp.\r\n";
  for (const OptionsSection& section : options) {
    text += "\r\n[" + section.name + "]\r\n";
    for (const auto& [key, value] : section.keys) text += key + "=" + value + "\r\n";
  }
  Save(folder + "/Options.dat", text);
  WriteBmp24(folder + "/Master.bmp", sheet.Finish(), false);
  WriteBmp24(folder + "/ButtonHuge.bmp", hugeSheet.Finish(), false);
  WritePng(folder + "/Exbor.png", exbor);
  WritePng(folder + "/GlowBtn.png", glowBtn);
  WritePng(folder + "/GlowClose.png", glowClose);
  WritePng(folder + "/GlowH.png", glowHelp);
  WritePng(folder + "/GlowMax.png", glowMax);
  WritePng(folder + "/GlowMin.png", glowMin);
  WritePng(folder + "/GlowNorm.png", glowNorm);
  WritePng(folder + "/GlowWhite.png", glowWhite);

  if (argc == 4) {
    std::vector<std::pair<std::string, Canvas>> parts = {
        {"close", close},   {"max", max},         {"norm", norm},       {"min", min},       {"help", help},
        {"form", formBorder}, {"button", buttonBorder}, {"panel", panelFrame}, {"edit", editFrame},
        {"track", trackFrame}, {"thumbH", thumbH}, {"thumbV", thumbV},  {"up", arrows[0]},  {"down", arrows[1]},
        {"left", arrows[2]}, {"right", arrows[3]}, {"box", boxChecked},  {"radio", radioChecked},
        {"small", smallGrayed}, {"check", check}, {"grip", grip},        {"menu", menuFrame}, {"glowBtn", glowBtn},
        {"glowWhite", glowWhite}, {"glowClose", glowClose}, {"glowMax", glowMax}, {"exbor", exbor}};
    Canvas canvas = Preview(parts, exbor, buttonBorder, {close, max, min}, glowClose, editFrame, thumbV, arrows[0],
                            arrows[1], glowBtn);
    WritePng(argv[3], canvas);
  }
  return 0;
}
