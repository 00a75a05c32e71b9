// See ColorShift.h.
#include "skin/ColorShift.h"

#include "pixel/ColorMath.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "skin/LoadedSkin.h"

namespace {

constexpr std::string_view kGlobalInfo = "GLOBALINFO";

uint8_t ClampByte(double v) { return static_cast<uint8_t>(std::clamp(static_cast<double>(RoundToNearestEven(v)), 0.0, 255.0)); }

bool IsKeyPixel(const uint8_t* p) { return p[0] == 0xFF && p[1] == 0x00 && p[2] == 0xFF; }
bool IsGreyPixel(const uint8_t* p) { return p[0] == p[1] && p[1] == p[2]; }

// Runs `shift` over the colour bytes of every pixel of a 24-bit or 32-bit bitmap (alpha is never
// touched), skipping key-coloured pixels and, when asked, exact greys.
void ShiftPixels(Bitmap& bitmap, bool skipGreys, const std::function<TColor(TColor)>& shift) {
  if (bitmap.Format() == PixelFormat::pf8bit) bitmap = bitmap.Converted(PixelFormat::pf24bit);
  const int bpp = bitmap.BytesPerPixel();
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* p = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x, p += bpp) {
      if (IsKeyPixel(p) || (skipGreys && IsGreyPixel(p))) continue;
      TColor c = shift(MakeColor(p[2], p[1], p[0]));
      p[0] = BlueOf(c), p[1] = GreenOf(c), p[2] = RedOf(c);
    }
  }
}

// Every colour of the section table that a shift changes; glow colours only when asked.
void ShiftSectionColors(LoadedSkin& skin, bool withGlowColors, const std::function<TColor(TColor)>& shift) {
  for (TsGeneralData& s : skin.Sections) {
    s.Color = shift(s.Color);
    s.HotColor = shift(s.HotColor);
    if (withGlowColors) {
      s.GlowColor = shift(s.GlowColor);
      s.HotGlowColor = shift(s.HotGlowColor);
    }
    for (TColor& c : s.FontColor)
      if (c != -1) c = shift(c);
    for (TColor& c : s.HotFontColor)
      if (c != -1) c = shift(c);
    for (TsGradItem& g : s.GradientArray) g.Color1 = shift(g.Color1), g.Color2 = shift(g.Color2);
    for (TsGradItem& g : s.HotGradientArray) g.Color1 = shift(g.Color1), g.Color2 = shift(g.Color2);
  }
  skin.Data.Shadow1Color = shift(skin.Data.Shadow1Color);
  skin.Data.BorderColor = shift(skin.Data.BorderColor);
}

// The own pictures of image items, each once even when items share one.
template <class Visit>
void ForEachOwnPicture(LoadedSkin& skin, const std::set<const Bitmap*>& skip, Visit visit) {
  std::set<const Bitmap*> done;
  for (TsMaskData& item : skin.Items) {
    if (!item.Image || skip.count(item.Image.get()) || !done.insert(item.Image.get()).second) continue;
    visit(*item.Image);
  }
}

// The icon keys whose colours BIKEEPHUE keeps.
std::vector<std::string_view> KeptIconKeys(int keepHue) {
  std::vector<std::string_view> keys;
  if (keepHue == 0) return keys;
  keys = {"BICONCLOSE", "SICONCLOSE"};
  if (keepHue == 1)
    keys.insert(keys.end(), {"BICONMAX", "BICONMIN", "BICONNORM", "BICONHELP", "SICONMAX", "SICONMIN", "SICONNORM"});
  return keys;
}

}  // namespace

TColor ShiftHue(TColor c, int offset) {
  c = PlainColor(c);
  const double r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
  const double v = std::max({r, g, b}), m = std::min({r, g, b});
  const double s = v == 0 ? 0 : (v - m) / v;
  if (s == 0) return c & 0xFFFFFF;

  const double f = 60.0 / (v - m);
  double h;
  if (r == v) h = f * (g - b);
  else if (g == v) h = f * (b - r) + 120;
  else h = f * (r - g) + 240;
  if (h < 0) h += 360;

  double shifted = std::fmod(static_cast<double>(RoundToNearestEven(h + offset)), 360.0);
  if (shifted < 0) shifted += 360;
  const int i = static_cast<int>(shifted / 60);
  const double x = shifted / 60 - i;
  const double p = std::clamp(v * (1 - s), 0.0, 255.0);
  const double q = std::clamp(v * (1 - x * s), 0.0, 255.0);
  const double t = std::clamp(v * (1 - (1 - x) * s), 0.0, 255.0);
  double nr, ng, nb;
  switch (i) {
    case 0: nr = v, ng = t, nb = p; break;
    case 1: nr = q, ng = v, nb = p; break;
    case 2: nr = p, ng = v, nb = t; break;
    case 3: nr = p, ng = q, nb = v; break;
    case 4: nr = t, ng = p, nb = v; break;
    default: nr = v, ng = p, nb = q; break;
  }
  return MakeColor(ClampByte(nr), ClampByte(ng), ClampByte(nb));
}

TColor ShiftSaturation(TColor c, int amount) {
  if (amount == 0) return c;
  // A system colour is made plain first; its low bytes are a colour number, not a colour.
  c = PlainColor(c);
  const double r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
  const double average = (r + g + b) / 3;
  auto move = [&](double ch) { return ClampByte(ch + amount * (average - ch) / 100); };
  return MakeColor(move(r), move(g), move(b));
}

void ApplySaturation(LoadedSkin& skin, int value) {
  if (value == 0) return;
  const int amount = -(value % 101);
  auto shift = [amount](TColor c) { return ShiftSaturation(c, amount); };
  ShiftPixels(skin.MasterBitmap, true, shift);
  ForEachOwnPicture(skin, {}, [&](Bitmap& picture) { ShiftPixels(picture, true, shift); });
  ShiftSectionColors(skin, false, shift);
}

void ApplyHueOffset(LoadedSkin& skin, int offset) {
  if (offset == 0) return;
  auto shift = [offset](TColor c) { return ShiftHue(c, offset); };

  // Icons that keep their colours: pictures cut from the master bitmap are saved and put back,
  // own pictures (and the icons' glow pictures) are skipped.
  if (skin.MasterBitmap.Format() != PixelFormat::pf24bit && !skin.MasterBitmap.Empty())
    skin.MasterBitmap = skin.MasterBitmap.Converted(PixelFormat::pf24bit);
  struct SavedIcon {
    Rect area;
    Bitmap pixels;
  };
  std::vector<SavedIcon> saved;
  std::set<const Bitmap*> skip;
  const int globalInfo = skin.SectionIndexOf(kGlobalInfo);
  for (std::string_view key : KeptIconKeys(skin.Data.BIKeepHue)) {
    int index = skin.ImageItemIndexOf(globalInfo, kGlobalInfo, key);
    if (index >= 0) {
      const TsMaskData& item = skin.Items[static_cast<size_t>(index)];
      if (item.Image) {
        skip.insert(item.Image.get());
      } else {
        Rect area = item.R.Intersect(skin.MasterBitmap.Bounds());
        if (!area.Empty()) {
          Bitmap copy(area.Width(), area.Height(), PixelFormat::pf24bit);
          for (int y = 0; y < area.Height(); ++y)
            std::copy_n(skin.MasterBitmap.PixelAt(area.left, area.top + y), area.Width() * 3, copy.Row(y));
          saved.push_back({area, std::move(copy)});
        }
      }
    }
    int glow = skin.ImageItemIndexOf(globalInfo, kGlobalInfo, std::string(key) + "GLOW0");
    if (glow >= 0 && skin.Items[static_cast<size_t>(glow)].Image) skip.insert(skin.Items[static_cast<size_t>(glow)].Image.get());
  }

  ShiftPixels(skin.MasterBitmap, true, shift);
  for (const SavedIcon& icon : saved)
    for (int y = 0; y < icon.area.Height(); ++y)
      std::copy_n(icon.pixels.Row(y), icon.area.Width() * 3, skin.MasterBitmap.PixelAt(icon.area.left, icon.area.top + y));

  ForEachOwnPicture(skin, skip, [&](Bitmap& picture) {
    if (picture.Format() != PixelFormat::pf32bit) picture = picture.Converted(PixelFormat::pf24bit);
    ShiftPixels(picture, picture.Format() == PixelFormat::pf32bit, shift);
  });
  ShiftSectionColors(skin, true, shift);
}
