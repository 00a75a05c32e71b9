// The gradient painter: vertical and horizontal steps row by row, and the four-corner shading.
#include <gtest/gtest.h>

#include <vector>

#include "paint/Gradient.h"
#include "tests/core/PaintTestSupport.h"

using painttest::Grey;
using painttest::Solid;

namespace {

TsGradItem Step(uint32_t from, uint32_t to, int percent, int mode) {
  return {static_cast<TColor>(from), static_cast<TColor>(to), static_cast<uint8_t>(percent), mode, 0};
}

std::vector<int> BluesOfColumn(const Bitmap& b, int x) {
  std::vector<int> v;
  for (int y = 0; y < b.Height(); ++y) v.push_back(BlueOf(static_cast<TColor>(b.GetPixel(x, y))));
  return v;
}

}  // namespace

TEST(PaintGradient, ButtonGradientOfTheStoredSkinRowByRow) {
  // "16777215;15198183;50;0;0;15198183;15198183;2;0;0;15198183;15856113;45;0;0;15856113;15856113;0;0;0"
  // on 36 rows: white to E7 over rows 0..18, nothing for the 2 % step (18..18), E7 to F1 over
  // rows 18..34 (231 + 0.625 k: 233.5 and 238.5 round to the even 234 and 238), F1 on 34..35.
  TsGradArray steps{Step(16777215, 15198183, 50, 0), Step(15198183, 15198183, 2, 0), Step(15198183, 15856113, 45, 0),
                    Step(15856113, 15856113, 0, 0)};
  Bitmap b = Solid(3, 36, PixelFormat::pf24bit, 0);
  PaintGradient(b, b.Bounds(), steps);
  std::vector<int> expected{255, 254, 252, 251, 250, 248, 247, 246, 244, 243, 242, 240, 239, 238, 236, 235, 234, 232,
                            231, 232, 232, 233, 234, 234, 235, 235, 236, 237, 237, 238, 238, 239, 240, 240, 241, 241};
  EXPECT_EQ(BluesOfColumn(b, 0), expected);
  EXPECT_EQ(BluesOfColumn(b, 2), expected);
  EXPECT_EQ(b.GetPixel(1, 22), Grey(234));  // all channels alike
}

TEST(PaintGradient, LastStepRunsToTheBottomAndAlphaBecomesOpaque) {
  // The percentages add up to 20, yet the last step is stretched to the last row.
  TsGradArray steps{Step(Grey(0), Grey(100), 10, 0), Step(Grey(100), Grey(200), 10, 0)};
  Bitmap b = Solid(2, 20, PixelFormat::pf32bit, 0);
  PaintGradient(b, b.Bounds(), steps);
  EXPECT_EQ(b.GetPixel(0, 0), 0xFF000000u);
  EXPECT_EQ(b.GetPixel(0, 2), 0xFF000000u | Grey(100));
  EXPECT_EQ(b.GetPixel(1, 19), 0xFF000000u | Grey(200));
}

TEST(PaintGradient, LeftToRightStepsPerRow) {
  // Width 10: the first step ends at round(50 * 0.1) = 5, the last at 9.
  TsGradArray steps{Step(Grey(0), Grey(200), 50, 1), Step(Grey(200), Grey(100), 50, 0)};
  Bitmap b = Solid(12, 2, PixelFormat::pf24bit, 0xFF00FF);
  PaintGradient(b, {0, 0, 10, 2}, steps);
  std::vector<int> row;
  for (int x = 0; x < 11; ++x) row.push_back(BlueOf(static_cast<TColor>(b.GetPixel(x, 1))));
  EXPECT_EQ(row, (std::vector<int>{0, 40, 80, 120, 160, 200, 175, 150, 125, 100, 255}));
}

TEST(PaintGradient, RectanglesAreClippedToTheBitmap) {
  // The clipped height (10) is what the percentages take.
  TsGradArray steps{Step(Grey(0), Grey(100), 50, 0), Step(Grey(100), Grey(100), 50, 0)};
  Bitmap b = Solid(4, 10, PixelFormat::pf24bit, 0);
  PaintGradient(b, {-2, 0, 9, 40}, steps);
  EXPECT_EQ(b.GetPixel(0, 0), Grey(0));
  EXPECT_EQ(b.GetPixel(3, 5), Grey(100));
  EXPECT_EQ(b.GetPixel(3, 9), Grey(100));
  PaintGradient(b, {0, 0, 4, 10}, {});  // no steps: nothing
  EXPECT_EQ(b.GetPixel(3, 9), Grey(100));
}

TEST(PaintGradient, FourCornerModeShadesTrianglesExactly) {
  // Two steps: top-left black, centre and the other corners 240. On the diagonal from the top
  // left to the centre (4, 4) the colour grows linearly: pixel centre (k + 0.5) gives 60 k + 30.
  TsGradArray steps{Step(Grey(0), 0, 0, 2), Step(Grey(240), 0, 0, 0)};
  Bitmap b = Solid(8, 8, PixelFormat::pf32bit, 0);
  PaintGradient(b, b.Bounds(), steps);
  struct Probe {
    int x, y, grey;
  } probes[] = {{0, 0, 30}, {1, 1, 90}, {3, 3, 210}, {3, 0, 120}, {0, 3, 120}, {4, 4, 240}, {7, 7, 240}, {7, 0, 240}};
  for (const auto& p : probes) EXPECT_EQ(b.GetPixel(p.x, p.y), 0xFF000000u | Grey(p.grey)) << p.x << "," << p.y;
}

TEST(PaintGradient, FourCornerTrianglesLeaveNoGaps) {
  // Uniform vertex colours must reach every pixel of odd and even sizes.
  for (Rect r : {Rect{0, 0, 7, 5}, Rect{1, 2, 9, 9}, Rect{0, 0, 2, 13}}) {
    Bitmap b = Solid(10, 13, PixelFormat::pf24bit, 0xFF00FF);
    PaintGradient(b, r, {Step(Grey(77), 0, 0, 2)});
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x)
        EXPECT_EQ(b.GetPixel(x, y), r.Contains({x, y}) ? Grey(77) : 0xFF00FFu) << x << "," << y;
  }
}

TEST(PaintGradient, SingleRowsAndColumnsTakeTheFirstColour) {
  // No step spans a line of length 1; it is painted in the first colour instead of left as it was.
  struct Case {
    int mode;
    Rect rect;
  } cases[] = {{0, {0, 2, 4, 3}}, {1, {2, 0, 3, 4}}};
  for (const auto& c : cases) {
    Bitmap b = Solid(4, 4, PixelFormat::pf24bit, 0xFF00FF);
    PaintGradient(b, c.rect, {Step(Grey(10), Grey(200), 50, c.mode), Step(Grey(200), Grey(90), 50, c.mode)});
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) EXPECT_EQ(b.GetPixel(x, y), c.rect.Contains({x, y}) ? Grey(10) : 0xFF00FFu) << c.mode;
  }
}

TEST(PaintGradient, StepSharesLandingBetweenPixels) {
  // Solid steps of 0, 100 and 200 show where each step ends. Top to bottom a share of the height
  // is cut to whole rows (integer arithmetic); left to right it is rounded, halves to even. Each
  // step's share counts from where the step before it ended.
  struct Case {
    int mode, length;
    std::vector<int> percents;  // of all steps but the last, which runs to the end
    std::vector<int> runs;      // pixels of 0, 100, 200
  } cases[] = {
      {0, 7, {50}, {3, 4}},        {0, 35, {50}, {17, 18}},    {0, 9, {33}, {2, 7}},   {0, 10, {15}, {1, 9}},
      {0, 36, {50}, {18, 18}},     {0, 9, {50, 40}, {4, 3, 2}},
      {1, 7, {50}, {4, 3}},        {1, 5, {50}, {2, 3}},       {1, 9, {33}, {3, 6}},   {1, 10, {15}, {2, 8}},
      {1, 11, {50}, {6, 5}},       {1, 9, {50, 25}, {4, 2, 3}},
  };
  for (const auto& c : cases) {
    TsGradArray steps;
    for (size_t i = 0; i <= c.percents.size(); ++i) {
      uint32_t grey = Grey(100 * static_cast<int>(i) * 2 / static_cast<int>(c.percents.size()));
      steps.push_back(Step(grey, grey, i < c.percents.size() ? c.percents[i] : 0, c.mode));
    }
    std::vector<int> expected;
    for (size_t i = 0; i < c.runs.size(); ++i) expected.insert(expected.end(), static_cast<size_t>(c.runs[i]),
                                                               100 * static_cast<int>(i) * 2 / static_cast<int>(c.percents.size()));
    bool down = c.mode == 0;
    Bitmap b = Solid(down ? 2 : c.length, down ? c.length : 2, PixelFormat::pf24bit, 0xFF00FF);
    PaintGradient(b, b.Bounds(), steps);
    std::vector<int> line;
    for (int i = 0; i < c.length; ++i) line.push_back(BlueOf(static_cast<TColor>(down ? b.GetPixel(1, i) : b.GetPixel(i, 1))));
    EXPECT_EQ(line, expected) << "mode " << c.mode << ", length " << c.length << ", first share " << c.percents[0];
  }
}
