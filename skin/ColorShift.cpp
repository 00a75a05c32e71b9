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

bool IsKeyPixel(const uint8_t* p) { return p[0] == 0xFF && p[1] == 0x00 && p[2] == 0xFF; }
bool IsGreyPixel(const uint8_t* p) { return p[0] == p[1] && p[1] == p[2]; }

// Exact quotients, halves to even, by every channel difference 1..255 and by 60.
const RoundedDivider& DividerBy(int denominator) {
  static const std::vector<RoundedDivider> dividers = [] {
    std::vector<RoundedDivider> table;
    for (int d = 0; d <= 255; ++d) table.emplace_back(d == 0 ? 1 : d);
    return table;
  }();
  return dividers[static_cast<size_t>(denominator)];
}

// Whether `rounded`, the quotient numerator / denominator rounded to nearest, came from an exact
// half.
bool FromHalf(int64_t numerator, int64_t denominator, int64_t rounded) {
  return 2 * numerator == (2 * rounded - 1) * denominator || 2 * numerator == (2 * rounded + 1) * denominator;
}

// The hue rotation on whole numbers. A colour's hue is 60 * (difference of two channels) / (max
// - min) plus a multiple of 120 degrees; adding the offset and rounding is an exact quotient, and
// so are the two moving channels of the result (max - k * (max - min) / 60 and min + k * (max -
// min) / 60 for the position k within the hue's sixth). Where a quotient is an exact half, the
// real-number formula of the colour-space conversion decides the neighbour, as it always has:
// its own rounding error picks a side there, and colours shifted by earlier versions stay the
// same.
class HueRotation {
 public:
  // An offset in degrees, any sign and size; the quotients use the offset modulo 360 (a multiple
  // of 360 is even, so it does not change how halves round).
  explicit HueRotation(int offset) : offset_(offset), turn_(((offset % 360) + 360) % 360), by60_(DividerBy(60)) {}

  // Rotates a blue, green, red triple in place.
  void operator()(uint8_t* bgr) const {
    const int b = bgr[0], g = bgr[1], r = bgr[2];
    const int v = std::max({r, g, b}), m = std::min({r, g, b});
    if (v == m) return;  // a grey has no hue
    const int d = v - m;
    int hue;  // in 1/d degrees, 0 .. 360 * d
    if (r == v) hue = 60 * (g - b) + (g < b ? 360 * d : 0);
    else if (g == v) hue = 60 * (b - r) + 120 * d;
    else hue = 60 * (r - g) + 240 * d;
    const int64_t turned = hue + static_cast<int64_t>(turn_) * d;
    int shifted = static_cast<int>(DividerBy(d)(turned));
    if (FromHalf(turned, d, shifted)) shifted = RealHue(r, g, b);
    while (shifted >= 360) shifted -= 360;
    const int sixth = shifted / 60, step = (shifted % 60) * d;
    int falling = static_cast<int>(by60_(60 * v - step));
    if (FromHalf(60 * v - step, 60, falling)) falling = RealChannel(v, m, shifted, false);
    int rising = static_cast<int>(by60_(60 * m + step));
    if (FromHalf(60 * m + step, 60, rising)) rising = RealChannel(v, m, shifted, true);
    const uint8_t high = static_cast<uint8_t>(v), low = static_cast<uint8_t>(m);
    const uint8_t down = static_cast<uint8_t>(falling), up = static_cast<uint8_t>(rising);
    uint8_t nr, ng, nb;
    switch (sixth) {
      case 0: nr = high, ng = up, nb = low; break;
      case 1: nr = down, ng = high, nb = low; break;
      case 2: nr = low, ng = high, nb = up; break;
      case 3: nr = low, ng = down, nb = high; break;
      case 4: nr = up, ng = low, nb = high; break;
      default: nr = high, ng = low, nb = down; break;
    }
    bgr[0] = nb, bgr[1] = ng, bgr[2] = nr;
  }

 private:
  // The rotated hue, 0..359, through the real-number conversion.
  int RealHue(double r, double g, double b) const {
    const double v = std::max({r, g, b}), m = std::min({r, g, b});
    const double f = 60.0 / (v - m);
    double h;
    if (r == v) h = f * (g - b);
    else if (g == v) h = f * (b - r) + 120;
    else h = f * (r - g) + 240;
    if (h < 0) h += 360;
    return ((RoundToNearestEven(h + offset_) % 360) + 360) % 360;
  }
  // The moving channel of a rotated hue through the real-number conversion: the rising one is
  // max * (1 - (1 - x) * s), the falling one max * (1 - x * s).
  static int RealChannel(double v, double m, int shifted, bool rising) {
    const double s = (v - m) / v;
    const double x = shifted / 60.0 - shifted / 60;
    const double value = rising ? v * (1 - (1 - x) * s) : v * (1 - x * s);
    return RoundToNearestEven(std::clamp(value, 0.0, 255.0));
  }

  int offset_;
  int turn_;  // 0 .. 359
  const RoundedDivider& by60_;
};

// The saturation change on whole numbers: each channel becomes ch + amount * (average - ch) / 100
// = (300 * ch + amount * (sum - 3 * ch)) / 300, an exact quotient limited to 0..255. At an exact
// half the real-number formula decides, as for the hue.
class SaturationChange {
 public:
  explicit SaturationChange(int amount) : amount_(amount), by300_(300) {}

  void operator()(uint8_t* bgr) const {
    const int sum = bgr[0] + bgr[1] + bgr[2];
    for (int i = 0; i < 3; ++i) bgr[i] = Move(bgr[i], sum);
  }

 private:
  uint8_t Move(int channel, int sum) const {
    // The numerator is kept above 0 by adding 300 * 256; 256 is even, so halves still round to
    // the same neighbour.
    const int64_t numerator = 300 * channel + amount_ * (sum - 3 * channel) + 300 * 256;
    const int64_t rounded = by300_(numerator);
    if (FromHalf(numerator, 300, rounded)) {
      const double average = sum / 3.0;
      return ClampByte(RoundToNearestEven(channel + amount_ * (average - channel) / 100));
    }
    return ClampByte(static_cast<int>(rounded) - 256);
  }

  int amount_;  // -100 .. 100
  RoundedDivider by300_;
};

// Runs `shift` over the colour bytes of every pixel of a 24-bit or 32-bit bitmap (alpha is never
// touched), skipping key-coloured pixels and, when asked, exact greys. A run of one colour is
// shifted once.
template <class Shift>
void ShiftPixels(Bitmap& bitmap, bool skipGreys, const Shift& shift) {
  if (bitmap.Format() == PixelFormat::pf8bit) bitmap = bitmap.Converted(PixelFormat::pf24bit);
  const int bpp = bitmap.BytesPerPixel();
  uint8_t lastIn[3] = {0xFF, 0x00, 0xFF}, lastOut[3] = {0xFF, 0x00, 0xFF};  // the key: never shifted
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* p = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x, p += bpp) {
      if (IsKeyPixel(p) || (skipGreys && IsGreyPixel(p))) continue;
      if (p[0] != lastIn[0] || p[1] != lastIn[1] || p[2] != lastIn[2]) {
        std::copy_n(p, 3, lastIn);
        std::copy_n(p, 3, lastOut);
        shift(lastOut);
      }
      std::copy_n(lastOut, 3, p);
    }
  }
}

// The shift of one colour value (system colours made plain first), without a top byte.
template <class Shift>
TColor ShiftColor(TColor c, const Shift& shift) {
  c = PlainColor(c);
  uint8_t bgr[3] = {BlueOf(c), GreenOf(c), RedOf(c)};
  shift(bgr);
  return MakeColor(bgr[2], bgr[1], bgr[0]);
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

TColor ShiftHue(TColor c, int offset) { return ShiftColor(c, HueRotation(offset)); }

TColor ShiftSaturation(TColor c, int amount) {
  if (amount == 0) return c;
  return ShiftColor(c, SaturationChange(amount));
}

void ApplySaturation(LoadedSkin& skin, int value) {
  if (value == 0) return;
  const SaturationChange change(-(value % 101));
  ShiftPixels(skin.MasterBitmap, true, change);
  ForEachOwnPicture(skin, {}, [&](Bitmap& picture) { ShiftPixels(picture, true, change); });
  ShiftSectionColors(skin, false, [&](TColor c) { return ShiftColor(c, change); });
}

void ApplyHueOffset(LoadedSkin& skin, int offset) {
  if (offset == 0) return;
  const HueRotation rotation(offset);

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

  ShiftPixels(skin.MasterBitmap, true, rotation);
  for (const SavedIcon& icon : saved)
    for (int y = 0; y < icon.area.Height(); ++y)
      std::copy_n(icon.pixels.Row(y), icon.area.Width() * 3, skin.MasterBitmap.PixelAt(icon.area.left, icon.area.top + y));

  ForEachOwnPicture(skin, skip, [&](Bitmap& picture) {
    if (picture.Format() != PixelFormat::pf32bit) picture = picture.Converted(PixelFormat::pf24bit);
    ShiftPixels(picture, picture.Format() == PixelFormat::pf32bit, rotation);
  });
  ShiftSectionColors(skin, true, [&](TColor c) { return ShiftColor(c, rotation); });
}
