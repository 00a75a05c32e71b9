// Fills, fades, weighted blends, colour masks, grey looks, shading and the picture clean-up.
#include <gtest/gtest.h>

#include "pixel/BitmapBlend.h"
#include "paint/DisabledLook.h"
#include "paint/ShadeRect.h"
#include "tests/core/PaintTestSupport.h"

using painttest::Grey;
using painttest::Solid;

TEST(PaintBlend, FillRectColorClipsAndMakes32BitOpaque) {
  Bitmap b32 = Solid(4, 3, PixelFormat::pf32bit, 0);
  FillRectColor(b32, {2, 1, 9, 9}, 0x112233);
  EXPECT_EQ(b32.GetPixel(1, 1), 0u);
  EXPECT_EQ(b32.GetPixel(3, 2), 0xFF112233u);
  EXPECT_EQ(b32.GetPixel(2, 0), 0u);

  Bitmap tiny32 = Solid(1, 1, PixelFormat::pf32bit, 0);  // under 2 x 2: the accessor refuses
  FillRectColor(tiny32, {0, 0, 1, 1}, 0x112233);
  EXPECT_EQ(tiny32.GetPixel(0, 0), 0u);
  Bitmap tiny24 = Solid(1, 1, PixelFormat::pf24bit, 0);  // the platform's brush fills any size
  FillRectColor(tiny24, {0, 0, 1, 1}, 0x112233);
  EXPECT_EQ(tiny24.GetPixel(0, 0), 0x112233u);
}

TEST(PaintBlend, SetRectAlphaTouchesOnlyAlpha) {
  Bitmap b = Solid(3, 3, PixelFormat::pf32bit, 0xFF445566u);
  SetRectAlpha(b, {1, 1, 3, 3}, 7);
  EXPECT_EQ(b.GetPixel(0, 0), 0xFF445566u);
  EXPECT_EQ(b.GetPixel(2, 2), 0x07445566u);
}

TEST(PaintBlend, FadeToColorRoundsExactlyAndKeepsRightAndBottomEdges) {
  struct Case {
    int percent, old, colour, expected;
  } cases[] = {
      {100, 77, 200, 77}, {0, 77, 200, 200},
      {50, 1, 0, 0},        // 0.5 -> 0
      {50, 3, 0, 2},        // 1.5 -> 2
      {10, 5, 0, 0},        // 0.5 -> 0, exactly (no floating-point drift)
      {10, 15, 0, 2},       // 1.5 -> 2
      {15, 100, 200, 185},  // 15 + 170
      {60, 0, 200, 80},
  };
  for (const auto& c : cases) {
    Bitmap b = Solid(3, 3, PixelFormat::pf32bit, 0x40000000u | Grey(c.old));
    FadeToColor(b, {0, 0, 2, 2}, c.percent, static_cast<TColor>(Grey(c.colour)));
    EXPECT_EQ(b.GetPixel(1, 1), 0x40000000u | Grey(c.expected)) << c.percent << " " << c.old;  // alpha kept
    EXPECT_EQ(b.GetPixel(2, 1), 0x40000000u | Grey(c.old));                                   // rect.right
    EXPECT_EQ(b.GetPixel(1, 2), 0x40000000u | Grey(c.old));                                   // rect.bottom
  }
}

TEST(PaintBlend, BlendWithWeightFollowsItsFormulaAtTheExtremes) {
  // d = (d * w + s * (255 - w) + 127) >> 8: weight 255 keeps destination bytes up to 127 and
  // takes one from those above (128 -> 127, 255 -> 254); weight 0 gives the source, one step
  // short from 128 up.
  struct Case {
    uint8_t weight;
    int d, s, expected;
  } cases[] = {
      {255, 0, 255, 0}, {255, 100, 0, 100}, {255, 127, 0, 127}, {255, 128, 0, 127}, {255, 200, 0, 199},
      {255, 255, 0, 254}, {255, 1, 255, 1},
      {0, 0, 255, 254}, {0, 0, 1, 1}, {0, 255, 0, 0}, {0, 0, 128, 127},
      {128, 0, 255, 127}, {128, 255, 0, 127}, {178, 100, 192, 127},
  };
  for (const auto& c : cases) {
    Bitmap d = Solid(2, 2, PixelFormat::pf24bit, Grey(c.d));
    Bitmap s = Solid(2, 2, PixelFormat::pf24bit, Grey(c.s));
    BlendWithWeight(d, s, c.weight, {0, 0}, s.Bounds());
    EXPECT_EQ(d.GetPixel(1, 1), Grey(c.expected)) << int(c.weight) << " " << c.d << " " << c.s;
  }
}

TEST(PaintBlend, BlendWithWeightMixesAlphaIn32BitBitmaps) {
  Bitmap d = Solid(2, 2, PixelFormat::pf32bit, 0x00000000u);
  Bitmap s = Solid(2, 2, PixelFormat::pf32bit, 0xFF0000FFu);
  BlendWithWeight(d, s, 0, {0, 0}, s.Bounds());
  EXPECT_EQ(d.GetPixel(0, 0), 0xFE0000FEu);
}

TEST(PaintBlend, BlendWithWeightCutsAtNegativePointsAndReadsFromTheSourceRect) {
  // Source 4 x 4 whose pixel (x, y) has red 10 * x and green 10 * y; weight 0 copies (almost).
  Bitmap s(4, 4, PixelFormat::pf24bit);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) s.SetPixel(x, y, MakeColor(static_cast<uint8_t>(100 + 10 * x), static_cast<uint8_t>(100 + 10 * y), 0));
  auto copied = [](int x, int y) { return static_cast<uint32_t>(MakeColor(static_cast<uint8_t>((((100 + 10 * x) * 255) + 127) >> 8),
                                                                          static_cast<uint8_t>((((100 + 10 * y) * 255) + 127) >> 8), 0)); };
  struct Case {
    Point point;
    Rect source;
    Point probe;        // a destination pixel
    int fromX, fromY;   // the source pixel it must show, or -1: untouched
  } cases[] = {
      {{-2, 0}, {0, 0, 4, 4}, {0, 0}, 2, 0},   // two columns cut on the left
      {{-2, 0}, {0, 0, 4, 4}, {2, 0}, -1, -1},
      {{0, -1}, {0, 1, 4, 4}, {0, 0}, 0, 2},   // a rect at a non-zero top, one more row cut
      {{1, 1}, {2, 2, 4, 4}, {1, 1}, 2, 2},
      {{1, 1}, {2, 2, 4, 4}, {0, 0}, -1, -1},
      {{0, 0}, {-1, 0, 2, 2}, {1, 0}, 0, 0},   // a negative source left moves the destination
      {{4, 4}, {0, 0, 4, 4}, {4, 4}, 0, 0},    // cut at the destination's far edges
  };
  for (const auto& c : cases) {
    Bitmap d = Solid(5, 5, PixelFormat::pf24bit, 0);
    BlendWithWeight(d, s, 0, c.point, c.source);
    uint32_t expected = c.fromX < 0 ? 0u : copied(c.fromX, c.fromY);
    EXPECT_EQ(d.GetPixel(c.probe.x, c.probe.y), expected) << c.point.x << "," << c.point.y << " probe " << c.probe.x << "," << c.probe.y;
  }
}

TEST(PaintBlend, BlendWithWeightIgnoresMixedFormatsAndTinyBitmaps) {
  Bitmap d = Solid(3, 3, PixelFormat::pf24bit, Grey(9));
  Bitmap s32 = Solid(3, 3, PixelFormat::pf32bit, 0xFFFFFFFFu);
  BlendWithWeight(d, s32, 0, {0, 0}, s32.Bounds());
  EXPECT_EQ(d, Solid(3, 3, PixelFormat::pf24bit, Grey(9)));
  Bitmap s1 = Solid(1, 1, PixelFormat::pf24bit, Grey(255));
  BlendWithWeight(d, s1, 0, {0, 0}, s1.Bounds());
  EXPECT_EQ(d, Solid(3, 3, PixelFormat::pf24bit, Grey(9)));
}

TEST(PaintBlend, BlendBitmapsNeedsEqualSizes) {
  Bitmap d = Solid(3, 2, PixelFormat::pf24bit, Grey(0));
  BlendBitmaps(d, Solid(3, 2, PixelFormat::pf24bit, Grey(200)), 128);
  EXPECT_EQ(d, Solid(3, 2, PixelFormat::pf24bit, Grey((200 * 127 + 127) >> 8)));
  BlendBitmaps(d, Solid(2, 2, PixelFormat::pf24bit, Grey(0)), 0);
  EXPECT_EQ(d.GetPixel(0, 0), Grey(99));
}

TEST(PaintBlend, FadeBitmapToColorSkipsTheKey) {
  Bitmap b = Solid(2, 2, PixelFormat::pf24bit, Grey(100));
  b.SetPixel(0, 0, 0xFF00FF);
  FadeBitmapToColor(b, static_cast<TColor>(Grey(0)), 0xFF00FF, 0.25);
  EXPECT_EQ(b.GetPixel(0, 0), 0xFF00FFu);
  EXPECT_EQ(b.GetPixel(1, 0), Grey(25));

  // In 32-bit bitmaps the key is the whole value: opaque magenta moves too.
  Bitmap b32 = Solid(2, 2, PixelFormat::pf32bit, 0xFFFF00FFu);
  b32.SetPixel(1, 1, 0x00FF00FFu);
  FadeBitmapToColor(b32, static_cast<TColor>(Grey(0)), 0xFF00FF, 0.5);
  EXPECT_EQ(b32.GetPixel(0, 0), 0xFF800080u);  // 127.5 -> 128
  EXPECT_EQ(b32.GetPixel(1, 1), 0x00FF00FFu);
}

TEST(PaintBlend, BlendWithColorMaskUsesEachChannelsMask) {
  Bitmap b = Solid(2, 2, PixelFormat::pf24bit, Grey(200));
  Bitmap mask = Solid(2, 2, PixelFormat::pf24bit, MakeColor(255, 0, 128));  // red 255, green 0, blue 128
  BlendWithColorMask(b, mask, MakeColor(0, 100, 50));
  // red: (200 * 255) >> 8 = 199; green: the colour; blue: ((150 * 128) + 50 * 256) >> 8 = 125
  EXPECT_EQ(b.GetPixel(1, 1), static_cast<uint32_t>(MakeColor(199, 100, 125)));
}

TEST(PaintBlend, GrayscaleAveragesAndKeepsAlphaAndKey) {
  Bitmap b32 = Solid(2, 2, PixelFormat::pf32bit, 0x80000000u | MakeColor(10, 20, 31));
  Grayscale(b32);
  EXPECT_EQ(b32.GetPixel(1, 1), 0x80000000u | Grey(20));  // 61 / 3
  Bitmap b24 = Solid(2, 2, PixelFormat::pf24bit, MakeColor(0, 0, 90));
  b24.SetPixel(0, 0, 0xFF00FF);
  GrayscaleExceptKey(b24, clFuchsia);
  EXPECT_EQ(b24.GetPixel(0, 0), 0xFF00FFu);
  EXPECT_EQ(b24.GetPixel(1, 0), Grey(30));
}

TEST(PaintBlend, ClearTransparentWhiteTouchesOnlyFullyTransparentWhite) {
  struct Case {
    uint32_t in, out;
  } cases[] = {{0x00FFFFFFu, 0}, {0x01FFFFFFu, 0x01FFFFFFu}, {0x00FFFFFEu, 0x00FFFFFEu}, {0xFFFFFFFFu, 0xFFFFFFFFu}};
  for (const auto& c : cases) {
    Bitmap b = Solid(2, 2, PixelFormat::pf32bit, c.in);
    ClearTransparentWhite(b);
    EXPECT_EQ(b.GetPixel(1, 1), c.out) << std::hex << c.in;
  }
  Bitmap tiny = Solid(1, 2, PixelFormat::pf32bit, 0x00FFFFFFu);
  ClearTransparentWhite(tiny);
  EXPECT_EQ(tiny.GetPixel(0, 0), 0x00FFFFFFu);
}

TEST(PaintBlend, ShadeRectWithoutEdgeOrRadiusMixesTheWholeRect) {
  // The scroll bar's use: percent 60 gives mask 153 everywhere.
  Bitmap b = Solid(6, 4, PixelFormat::pf24bit, Grey(200));
  ShadeRect(b, {1, 1, 5, 3}, 60, 0, 0, static_cast<TColor>(Grey(100)));
  EXPECT_EQ(b.GetPixel(1, 1), Grey(((200 - 100) * 153 + 100 * 256) >> 8));
  EXPECT_EQ(b.GetPixel(4, 2), Grey(159));
  EXPECT_EQ(b.GetPixel(0, 0), Grey(200));
  EXPECT_EQ(b.GetPixel(5, 3), Grey(200));
}

TEST(PaintBlend, ShadeRectFadesItsEdgeRingsAndRoundsItsCorners) {
  // 10 x 10, percent 60 (D = 153), edge 2: ring 0 mask 255, ring 1 153 + round(102 / 3 * 2) = 221,
  // ring 2 and inside 153. Colour black: v = (200 * m) >> 8.
  Bitmap b = Solid(10, 10, PixelFormat::pf24bit, Grey(200));
  ShadeRect(b, {0, 0, 10, 10}, 60, 0, 2, clBlack);
  struct Probe {
    int x, y, mask;
  } probes[] = {{0, 5, 255}, {9, 9, 255}, {1, 5, 221}, {8, 1, 221}, {2, 5, 153}, {5, 5, 153}};
  for (const auto& p : probes) EXPECT_EQ(b.GetPixel(p.x, p.y), Grey((200 * p.mask) >> 8)) << p.x << "," << p.y;

  // Radius 3, no edge: the corner pixel lies outside the quarter circle and keeps (almost) its
  // value, like the outermost ring.
  Bitmap r = Solid(10, 10, PixelFormat::pf24bit, Grey(200));
  ShadeRect(r, {0, 0, 10, 10}, 0, 3, 0, clBlack);
  EXPECT_EQ(r.GetPixel(0, 0), Grey(199));
  EXPECT_EQ(r.GetPixel(1, 1), Grey(0));
  EXPECT_EQ(r.GetPixel(3, 0), Grey(0));
  EXPECT_EQ(r.GetPixel(9, 9), Grey(199));
}

TEST(PaintBlend, ShadeRectWritesOnlyInsideTheBitmap) {
  Bitmap b = Solid(4, 4, PixelFormat::pf24bit, Grey(200));
  ShadeRect(b, {-3, -3, 3, 3}, 0, 0, 0, clBlack);
  EXPECT_EQ(b.GetPixel(2, 2), Grey(0));
  EXPECT_EQ(b.GetPixel(3, 3), Grey(200));
}

TEST(PaintBlend, DisabledLookGreysAndMixesWithTheBackground) {
  Bitmap background = Solid(6, 6, PixelFormat::pf24bit, Grey(200));
  background.SetPixel(3, 2, Grey(0));
  struct Case {
    unsigned flags;
    TsBackgroundRef bg;
    uint32_t expected00, expected01;  // picture pixels (0, 0) and (1, 0)
  } cases[] = {
      {dlGrey, {}, Grey(20), Grey(20)},
      // 0.4 * 100 + 0.6 * 200 = 160; the pixel over background (3, 2) becomes 40.
      {dlBlended, BackgroundFromBitmap(background, 1, 1), Grey(160), Grey(40)},
      {dlBlended, {nullptr, 0, 0, static_cast<TColor>(Grey(50)), false}, Grey(75), Grey(75)},
      {dlBlended, {nullptr, 0, 0, clFuchsia, false}, Grey(150), Grey(150)},  // the parent's colour, 200
  };
  for (const auto& c : cases) {
    Bitmap picture = Solid(2, 2, PixelFormat::pf24bit, c.flags == dlGrey ? MakeColor(0, 30, 30) : Grey(100));
    ApplyDisabledLook(picture, c.flags, static_cast<TColor>(Grey(200)), {1, 1}, c.bg);
    EXPECT_EQ(picture.GetPixel(0, 0), c.expected00) << c.flags;
    EXPECT_EQ(picture.GetPixel(1, 0), c.expected01) << c.flags;
  }
}
