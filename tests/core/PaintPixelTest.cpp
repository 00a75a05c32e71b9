// Pixel accessors, colour conversion and mixing, and the clipping of piece copies.
#include <gtest/gtest.h>

#include <tuple>

#include "pixel/ColorMath.h"
#include "pixel/PixelAccess.h"
#include "paint/ScratchBitmap.h"
#include "tests/core/PaintTestSupport.h"

using painttest::Grey;

TEST(PaintPixel, AccessorsAttachOnlyToTheirFormatFromTwoByTwo) {
  struct Case {
    int width, height;
    PixelFormat format;
    bool attaches24, attaches32;
  } cases[] = {
      {2, 2, PixelFormat::pf24bit, true, false}, {2, 2, PixelFormat::pf32bit, false, true},
      {1, 5, PixelFormat::pf24bit, false, false}, {5, 1, PixelFormat::pf32bit, false, false},
      {0, 0, PixelFormat::pf24bit, false, false}, {3, 3, PixelFormat::pf8bit, false, false},
  };
  for (const auto& c : cases) {
    Bitmap b(c.width, c.height, c.format);
    TvlFast24 a24;
    TvlFast32 a32;
    EXPECT_EQ(a24.Attach(&b), c.attaches24) << c.width << "x" << c.height;
    EXPECT_EQ(a32.Attach(&b), c.attaches32) << c.width << "x" << c.height;
    EXPECT_EQ(a24.Attached(), c.attaches24);
  }
  TvlFast24 none;
  EXPECT_FALSE(none.Attach(nullptr));
}

TEST(PaintPixel, AccessorsReadAndWriteColourValues) {
  Bitmap b24(2, 2, PixelFormat::pf24bit);
  TvlFast24 a24;
  ASSERT_TRUE(a24.Attach(&b24));
  a24.SetPixel(1, 1, 0x123456);
  EXPECT_EQ(a24.Pixel(1, 1), 0x123456);
  EXPECT_EQ(b24.PixelAt(1, 1)[0], 0x12);  // blue first

  Bitmap b32(2, 2, PixelFormat::pf32bit);
  TvlFast32 a32;
  ASSERT_TRUE(a32.Attach(&b32));
  a32.SetPixel(0, 1, 0x80123456u);
  EXPECT_EQ(a32.Pixel(0, 1), 0x80123456u);
  EXPECT_EQ(b32.PixelAt(0, 1)[3], 0x80);
}

TEST(PaintPixel, ToPixel32StoresBlueGreenRedOpaque) {
  EXPECT_EQ(ToPixel32(0x332211), (Bgra{0x33, 0x22, 0x11, 255}));
  // System colours turn into RGB first (the native build's fixed palette: button face F0F0F0).
  EXPECT_EQ(ToPixel32(clBtnFace), (Bgra{0xF0, 0xF0, 0xF0, 255}));
}

TEST(PaintPixel, MixColorsRoundsEachChannelHalfToEven) {
  struct Case {
    TColor a, b;
    double x;
    TColor expected;
  } cases[] = {
      {0x000001, 0x000000, 0.5, 0x000000},           // 0.5 -> 0
      {0x000003, 0x000000, 0.5, 0x000002},           // 1.5 -> 2
      {0x050000, 0x000000, 0.5, 0x020000},           // 2.5 -> 2 (blue)
      {0x00FF00, 0x000000, 0.25, 0x004000},          // 63.75 -> 64
      {0x0A141E, 0x646464, 1.0, 0x0A141E},           // all of a
      {0x0A141E, 0x646464, 0.0, 0x646464},           // all of b
      {static_cast<TColor>(0x7F000000), 0, 1.0, static_cast<TColor>(0x7F000000)},  // a's top byte stays
  };
  for (const auto& c : cases) EXPECT_EQ(MixColors(c.a, c.b, c.x), c.expected) << std::hex << c.a << " " << c.b << " " << c.x;
}

TEST(PaintPixel, DivideRoundedSendsHalvesToTheEvenNeighbour) {
  struct Case {
    int64_t numerator, denominator, expected;
  } cases[] = {{5, 10, 0}, {15, 10, 2}, {25, 10, 2}, {26, 10, 3}, {24, 10, 2}, {-5, 10, 0}, {-15, 10, -2}, {-16, 10, -2}};
  for (const auto& c : cases) EXPECT_EQ(DivideRounded(c.numerator, c.denominator), c.expected) << c.numerator;
}

TEST(PaintPixel, ClipPieceCutsBothSidesTogether) {
  Rect target{0, 0, 10, 10}, source{0, 0, 4, 4};
  struct Case {
    Piece in;
    Piece out;
  } cases[] = {
      {{2, 2, 0, 0, 4, 4}, {2, 2, 0, 0, 4, 4}},        // inside
      {{-3, 0, 0, 0, 4, 4}, {0, 0, 3, 0, 1, 4}},       // negative target x moves the source start
      {{0, -1, 0, 0, 4, 4}, {0, 0, 0, 1, 4, 3}},
      {{5, 5, -2, 1, 4, 4}, {7, 5, 0, 1, 2, 3}},       // negative source x moves the target start
      {{8, 8, 0, 0, 4, 4}, {8, 8, 0, 0, 2, 2}},        // cut at the target's far edges
      {{0, 0, 3, 3, 4, 4}, {0, 0, 3, 3, 1, 1}},        // cut at the source's far edges
  };
  for (const auto& c : cases) {
    Piece p = ClipPiece(c.in, target, source);
    EXPECT_EQ(std::tie(p.targetX, p.targetY, p.sourceX, p.sourceY, p.width, p.height),
              std::tie(c.out.targetX, c.out.targetY, c.out.sourceX, c.out.sourceY, c.out.width, c.out.height))
        << c.in.targetX << "," << c.in.targetY;
  }
  EXPECT_TRUE(ClipPiece({20, 0, 0, 0, 4, 4}, target, source).Empty());
}

TEST(PaintPixel, ScratchBitmapsComeZeroedAndNeverShareMemory) {
  {
    ScratchBitmap outer(5, 3, PixelFormat::pf24bit);
    ScratchBitmap inner(5, 3, PixelFormat::pf24bit);  // a layer inside a layer
    EXPECT_NE(outer.Get().Row(0), inner.Get().Row(0));
    EXPECT_EQ(outer.Get().Stride(), 16);
    outer.Get().SetPixel(4, 2, 0xFFFFFF);
    inner.Get().SetPixel(0, 0, 0xFFFFFF);
  }
  // Both memories went back to the pool dirty; whichever comes out is cleared.
  ScratchBitmap again(4, 3, PixelFormat::pf32bit);
  EXPECT_EQ(again.Get(), Bitmap(4, 3, PixelFormat::pf32bit));
}

TEST(PaintPixel, RoundedDividerAgreesWithDivideRounded) {
  for (int64_t denominator : {1LL, 2LL, 3LL, 7LL, 10LL, 255LL, 65025LL, 1000003LL, 4096LL * 4096})
    for (int64_t numerator : {0LL, 1LL, 2LL, 5LL, 127LL, 128LL, 32512LL, 65025LL * 255, (1LL << 40) - 1, (1LL << 40) + 12345})
      for (int64_t n : {numerator, numerator + denominator / 2, numerator % 1000 * denominator + denominator / 2})
        EXPECT_EQ(RoundedDivider(denominator)(n), DivideRounded(n, denominator)) << n << " / " << denominator;
}
