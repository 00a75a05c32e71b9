// Speed of the pixel engine on a maximised window's bitmap (1920 x 1080): megapixels per second
// of the weighted blend, the gradients, the nine-part border and whole section backgrounds,
// beside a plain memory copy of the same bitmap as the ceiling. A fade step of a button or a
// title button is 10 to 12 ms, so a background repaint has to stay well below that.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

#include "pixel/BitmapBlend.h"
#include "paint/Gradient.h"
#include "paint/ImageItems.h"
#include "paint/SectionBackground.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// Milliseconds per call, from repeated calls over at least half a second after a warm-up.
double MillisecondsPerCall(const std::function<void()>& call) {
  using Clock = std::chrono::steady_clock;
  call();
  int calls = 0;
  auto start = Clock::now();
  std::chrono::duration<double, std::milli> spent{};
  do {
    call();
    ++calls;
    spent = Clock::now() - start;
  } while (spent.count() < 500);
  return spent.count() / calls;
}

void Report(const char* what, const std::function<void()>& call) {
  double ms = MillisecondsPerCall(call);
  std::printf("%-52s %8.2f ms %9.1f MP/s\n", what, ms, kWidth * double(kHeight) / 1e3 / ms);
}

TsGradItem Step(TColor from, TColor to, int percent, int mode) { return {from, to, static_cast<uint8_t>(percent), mode, 0}; }

// A skin made by hand: a 36 x 72 masked border picture (three states of 12 x 36 over their mask),
// a 36 x 36 keyed border, a 32 x 32 texture, and the sections "BUTTON", "LACQUEREDIT" and "FORM"
// with the stored skin's values.
LoadedSkin BenchSkin() {
  LoadedSkin skin;
  skin.MasterBitmap = Bitmap(128, 72, PixelFormat::pf24bit);
  for (int y = 0; y < 72; ++y)
    for (int x = 0; x < 128; ++x)
      skin.MasterBitmap.SetPixel(x, y, y >= 36 && x < 36 ? (x % 12 < 3 ? 0x000000 : 0x808080) : MakeColor(uint8_t(x * 2), uint8_t(y * 3), 200));
  auto item = [&](Rect r, int count, int maskType, int margin, int stretch, TvlImgType type, const char* section, const char* key) {
    TsMaskData m;
    m.R = r;
    m.ImageCount = int16_t(count);
    m.MaskType = int16_t(maskType);
    m.WL = m.WT = m.WR = m.WB = int16_t(margin);
    m.StretchMode = int16_t(stretch);
    m.ImgType = type;
    m.SectionName = section;
    m.PropertyName = key;
    skin.Items.push_back(m);
  };
  item({0, 0, 36, 72}, 3, 1, 4, 4, TvlImgType::itisaBorder, "BUTTON", "BORDERSMASK");
  item({36, 0, 72, 36}, 1, 0, 6, 5, TvlImgType::itisaBorder, "FORM", "BORDERSMASK");
  item({80, 0, 112, 32}, 1, 0, 0, 0, TvlImgType::itisaTexture, "BUTTON", "PATTERN");

  TsGeneralData button;
  button.ClassName = "BUTTON";
  button.Color = 15856113;
  button.GradientPercent = 85;
  button.ImagePercent = 15;
  button.GradientArray = {Step(16777215, 15198183, 50, 0), Step(15198183, 15198183, 2, 0), Step(15198183, 15856113, 45, 0),
                          Step(15856113, 15856113, 0, 0)};
  TsGeneralData edit;
  edit.ClassName = "LACQUEREDIT";
  edit.Transparency = 100;
  edit.HotTransparency = 70;
  edit.HotGradientPercent = 100;
  edit.HotGradientArray = {Step(16777215, 12632256, 52, 0), Step(12632256, 14869218, 45, 0), Step(14869218, 14869218, 0, 0)};
  TsGeneralData form;
  form.ClassName = "FORM";
  form.Color = 15856113;
  skin.Sections = {button, edit, form};
  return skin;
}

}  // namespace

int main() {
  std::printf("Pixel engine on %d x %d (%.2f megapixels)\n", kWidth, kHeight, kWidth * double(kHeight) / 1e6);
  LoadedSkin skin = BenchSkin();
  Bitmap target(kWidth, kHeight, PixelFormat::pf24bit);
  Bitmap other(kWidth, kHeight, PixelFormat::pf24bit);
  Bitmap target32(kWidth, kHeight, PixelFormat::pf32bit);
  Bitmap other32(kWidth, kHeight, PixelFormat::pf32bit);
  Bitmap parent(kWidth, kHeight, PixelFormat::pf24bit);
  FillRectColor(parent, parent.Bounds(), 15461355);
  const Rect all = target.Bounds();
  size_t rowBytes = size_t(kWidth) * 3;

  Report("memory copy, 24-bit (ceiling)", [&] {
    for (int y = 0; y < kHeight; ++y) std::memcpy(target.Row(y), other.Row(y), rowBytes);
  });
  Report("BlendBitmaps, 24-bit", [&] { BlendBitmaps(target, other, 128); });
  Report("BlendBitmaps, 32-bit", [&] { BlendBitmaps(target32, other32, 128); });
  Report("FillRectColor, 24-bit", [&] { FillRectColor(target, all, 15856113); });
  Report("FadeToColor 60 %, 24-bit", [&] { FadeToColor(target, all, 60, 15856113); });
  Report("PaintGradient, top to bottom (BUTTON)", [&] { PaintGradient(target, all, skin.Sections[0].GradientArray); });
  Report("PaintGradient, left to right", [&] {
    PaintGradient(target, all, {Step(16777215, 15856113, 97, 1), Step(15856113, 15856113, 0, 1)});
  });
  Report("PaintGradient, four corners", [&] {
    PaintGradient(target, all, {Step(16777215, 0, 24, 2), Step(15132389, 0, 24, 2), Step(15856112, 0, 24, 2),
                                Step(15856113, 0, 24, 2), Step(15856112, 0, 0, 2)});
  });
  Report("nine-part border, masked, tiled, centre filled", [&] {
    PaintBorderItem(&skin, target, all, true, true, 1, skin.Items[0], BackgroundFromBitmap(parent, 0, 0));
  });
  Report("nine-part border, keyed, stretched, centre filled", [&] {
    PaintBorderItem(&skin, target, all, true, true, 0, skin.Items[1], BackgroundFromBitmap(parent, 0, 0));
  });
  Report("nine-part border, masked, frame only", [&] {
    PaintBorderItem(&skin, target, all, false, true, 1, skin.Items[0], BackgroundFromBitmap(parent, 0, 0));
  });
  Report("PaintSectionBackground FORM (plain colour)", [&] {
    PaintSectionBackground(skin, 2, "FORM", BackgroundFromBitmap(parent, 0, 0), clFuchsia, -1, -1, target, {0, 0}, all, 0);
  });
  Report("PaintSectionBackground BUTTON (texture + gradient)", [&] {
    PaintSectionBackground(skin, 0, "BUTTON", BackgroundFromBitmap(parent, 0, 0), clFuchsia, -1, -1, target, {0, 0}, all, 0);
  });
  Report("PaintSectionBackground LACQUEREDIT hot (70 % parent)", [&] {
    PaintSectionBackground(skin, 1, "LACQUEREDIT", BackgroundFromBitmap(parent, 0, 0), clFuchsia, -1, -1, target, {0, 0}, all, 1);
  });
  double repaint = MillisecondsPerCall([&] {
    PaintSectionBackground(skin, 0, "BUTTON", BackgroundFromBitmap(parent, 0, 0), clFuchsia, -1, -1, target, {0, 0}, all, 0);
    PaintBorderItem(&skin, target, all, false, true, 1, skin.Items[0], BackgroundFromBitmap(parent, 0, 0));
  });
  std::printf("\nFull background repaint (BUTTON look + border frame): %.2f ms, %.0f %% of a 10 ms fade step\n", repaint,
              repaint * 10);
  return 0;
}
