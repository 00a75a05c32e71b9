// The rows of key-colour corner pixels that a border mask leaves out of a window's shape.
#include <gtest/gtest.h>

#include <vector>

#include "frame/FrameRegion.h"
#include "framework/Color.h"

using frame_region::AddCornerCuts;

namespace {

// A two-state border mask of 10 x 10 pixels per state with corner zones of 3, placed at (5, 4)
// in a larger picture. Key pixels (state 0): top left (0,0) (1,0) (0,1); top right (8,0) (9,0)
// (9,1); bottom left (0,9); bottom right (8,9) (9,9). The second state and the middle of the
// top edge hold key pixels as well, which lie outside the corners of the first state.
struct MaskFixture {
  Bitmap picture;
  TsMaskData mask;
  explicit MaskFixture(PixelFormat format) : picture(30, 20, format) {
    for (int y = 0; y < picture.Height(); ++y)
      for (int x = 0; x < picture.Width(); ++x) picture.SetPixel(x, y, 0xFF336699u);
    mask.R = {5, 4, 25, 14};
    mask.ImageCount = 2;
    mask.MaskType = 0;
    mask.WL = mask.WT = mask.WR = mask.WB = 3;
    const Point keys[] = {{0, 0}, {1, 0}, {0, 1}, {8, 0}, {9, 0}, {9, 1}, {0, 9}, {8, 9}, {9, 9},
                          {5, 0}, {10, 0}, {11, 1}, {19, 9}};
    for (Point p : keys) picture.SetPixel(5 + p.x, 4 + p.y, 0xFF000000u | static_cast<uint32_t>(clFuchsia));
  }
};

}  // namespace

TEST(FrameRegion, KeyColourRunsOfTheCornersMapToTheWindowCorners) {
  const std::vector<Rect> top = {{0, 0, 2, 1}, {0, 1, 1, 2}, {98, 0, 100, 1}, {99, 1, 100, 2}};
  std::vector<Rect> all = top;
  all.insert(all.end(), {{0, 79, 1, 80}, {98, 79, 100, 80}});
  struct Case {
    const char* name;
    PixelFormat format;
    bool bottomCorners;
    std::vector<Rect> expected;
  } cases[] = {
      {"24-bit, all corners", PixelFormat::pf24bit, true, all},
      {"32-bit with alpha, all corners", PixelFormat::pf32bit, true, all},
      {"top corners only", PixelFormat::pf24bit, false, top},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MaskFixture f(c.format);
    std::vector<Rect> cuts;
    AddCornerCuts(f.picture, f.mask, 100, 80, c.bottomCorners, cuts);
    EXPECT_EQ(cuts, c.expected);
  }
}

TEST(FrameRegion, NothingIsCutWhereThereIsNothingToCut) {
  struct Case {
    const char* name;
    int zone;  // corner zone size
    PixelFormat format;
  } cases[] = {
      {"no corner zones", 0, PixelFormat::pf24bit},
      {"an 8-bit picture has no key colour", 3, PixelFormat::pf8bit},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MaskFixture f(c.format);
    f.mask.WL = f.mask.WT = f.mask.WR = f.mask.WB = static_cast<int16_t>(c.zone);
    std::vector<Rect> cuts;
    AddCornerCuts(f.picture, f.mask, 100, 80, true, cuts);
    EXPECT_TRUE(cuts.empty());
  }
}

TEST(FrameRegion, CutsStayInsideAWindowSmallerThanTheCorners) {
  MaskFixture f(PixelFormat::pf24bit);
  std::vector<Rect> cuts;
  AddCornerCuts(f.picture, f.mask, 2, 1, true, cuts);
  ASSERT_FALSE(cuts.empty());
  for (const Rect& r : cuts) {
    EXPECT_GE(r.left, 0);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.right, 2);
    EXPECT_LE(r.bottom, 1);
    EXPECT_LT(r.left, r.right);
  }
}
