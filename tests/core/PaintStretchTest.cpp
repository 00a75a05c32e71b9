// The smooth stretch that stands in for the platform's half-tone stretching.
#include <gtest/gtest.h>

#include <vector>

#include "paint/SmoothStretch.h"
#include "tests/core/PaintTestSupport.h"

using painttest::Grey;
using painttest::Solid;

namespace {
std::vector<int> RowOf(const Bitmap& b) {
  std::vector<int> v;
  for (int x = 0; x < b.Width(); ++x) v.push_back(BlueOf(static_cast<TColor>(b.GetPixel(x, 0))));
  return v;
}
}  // namespace

TEST(PaintStretch, TargetPixelsAverageTheSourceAreaTheyCover) {
  struct Case {
    std::vector<int> source;
    int width;
    std::vector<int> expected;
  } cases[] = {
      {{10, 21}, 1, {16}},           // 15.5 -> 16
      {{10, 23}, 1, {16}},           // 16.5 -> 16
      {{0, 90, 180}, 2, {30, 150}},  // thirds: (2 * 0 + 90) / 3, (90 + 2 * 180) / 3
      {{0, 200}, 3, {0, 100, 200}},
      {{50}, 4, {50, 50, 50, 50}},
      {{1, 2, 3}, 3, {1, 2, 3}},
  };
  for (const auto& c : cases) {
    Bitmap source(static_cast<int>(c.source.size()), 1, PixelFormat::pf24bit);
    for (size_t x = 0; x < c.source.size(); ++x) source.SetPixel(static_cast<int>(x), 0, Grey(c.source[x]));
    Bitmap target(c.width, 1, PixelFormat::pf24bit);
    StretchSmooth(target, target.Bounds(), source, source.Bounds());
    EXPECT_EQ(RowOf(target), c.expected) << c.source.size() << " to " << c.width;
  }
}

TEST(PaintStretch, AlphaIsAveragedLikeAnyChannelAnd24BitGivesOpaque) {
  Bitmap source(2, 2, PixelFormat::pf32bit);
  source.SetPixel(0, 0, 0xFF0000FFu);
  source.SetPixel(1, 0, 0x00000000u);
  source.SetPixel(0, 1, 0xFF0000FFu);
  source.SetPixel(1, 1, 0x00000000u);
  Bitmap target(1, 1, PixelFormat::pf32bit);
  StretchSmooth(target, {0, 0, 1, 1}, source, source.Bounds());
  EXPECT_EQ(target.GetPixel(0, 0), 0x80000080u);  // 127.5 -> 128 for red and alpha

  Bitmap opaque(3, 3, PixelFormat::pf32bit);
  StretchSmooth(opaque, opaque.Bounds(), Solid(2, 2, PixelFormat::pf24bit, Grey(9)), {0, 0, 2, 2});
  EXPECT_EQ(opaque.GetPixel(2, 2), 0xFF000000u | Grey(9));
}

TEST(PaintStretch, OnlyPixelsInsideTheTargetAreWritten) {
  // The mapping is that of the whole rectangle even where it leaves the bitmap.
  Bitmap source(4, 1, PixelFormat::pf24bit);
  for (int x = 0; x < 4; ++x) source.SetPixel(x, 0, Grey(10 * (x + 1)));
  Bitmap target = Solid(3, 1, PixelFormat::pf24bit, 0);
  StretchSmooth(target, {-4, 0, 4, 1}, source, source.Bounds());
  EXPECT_EQ(RowOf(target), (std::vector<int>{30, 30, 40}));
  // A source rectangle beyond the picture is cut to it.
  StretchSmooth(target, {0, 0, 3, 1}, source, {2, 0, 9, 5});
  EXPECT_EQ(RowOf(target), (std::vector<int>{30, 35, 40}));
}
