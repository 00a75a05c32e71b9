// The skinned frame's geometry and hit codes on the stored skin's values.
#include <gtest/gtest.h>

#include "frame/FrameGeometry.h"

using namespace frame_geometry;

namespace {

// The stored skin: BORDERWIDTH 26, TITLEHEIGHT 51, MAXHEIGHT 34, CENTEROFFSET 5, BORDERMODE 1,
// BILEFT 2, BIRIGHT 0, BISPACE 2; close 28 x 15, maximise and minimise 26 x 15.
FrameInput StoredSkinWindow(int width, int height, bool maximized = false) {
  FrameInput input;
  input.width = width;
  input.height = height;
  input.maximized = maximized;
  input.sizingZone = 4;
  input.skin = {26, 51, 34, 5, 1, 2, 0, 2};
  input.close = {true, true, 28, 15};
  input.maximize = {true, true, 26, 15};  // maximised, it is the restore button
  input.minimize = {true, true, 26, 15};
  return input;
}

}  // namespace

TEST(FrameGeometry, LayoutOfTheStoredSkin) {
  struct Case {
    const char* name;
    FrameInput input;
    int left, top, right, bottom;
    Rect close, maximize, minimize, icon, caption;
  } cases[] = {
      {"designed size", StoredSkinWindow(615, 549), 26, 51, 26, 26, {561, 23, 589, 38}, {533, 23, 559, 38},
       {505, 23, 531, 38}, {28, 23, 44, 39}, {48, 7, 493, 51}},
      {"maximised", StoredSkinWindow(1280, 1000, true), 0, 34, 0, 0, {1250, 9, 1278, 24}, {1222, 9, 1248, 24},
       {1194, 9, 1220, 24}, {4, 9, 20, 25}, {24, 3, 1182, 34}},
      {"too narrow for a caption", StoredSkinWindow(100, 549), 26, 51, 26, 26, {46, 23, 74, 38}, {18, 23, 44, 38},
       {-10, 23, 16, 38}, {28, 23, 44, 39}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FrameLayout layout = ComputeFrameLayout(c.input);
    EXPECT_EQ(layout.left, c.left);
    EXPECT_EQ(layout.top, c.top);
    EXPECT_EQ(layout.right, c.right);
    EXPECT_EQ(layout.bottom, c.bottom);
    EXPECT_EQ(layout.titleBand, (Rect{0, 0, c.input.width, c.top}));
    EXPECT_EQ(layout.close, c.close);
    EXPECT_EQ(layout.maximize, c.maximize);
    EXPECT_EQ(layout.minimize, c.minimize);
    EXPECT_EQ(layout.icon, c.icon);
    EXPECT_EQ(layout.caption, c.caption);
  }
}

TEST(FrameGeometry, HiddenButtonsTakeNoRoomAndNoCloseMeansNoButtons) {
  FrameInput input = StoredSkinWindow(615, 549);
  input.maximize.visible = false;
  FrameLayout layout = ComputeFrameLayout(input);
  EXPECT_TRUE(layout.maximize.Empty());
  EXPECT_EQ(layout.minimize, (Rect{533, 23, 559, 38}));
  EXPECT_EQ(layout.caption.right, 533 - 12);

  input = StoredSkinWindow(615, 549);
  input.close.visible = false;
  layout = ComputeFrameLayout(input);
  EXPECT_TRUE(layout.close.Empty());
  EXPECT_TRUE(layout.maximize.Empty());
  EXPECT_TRUE(layout.minimize.Empty());
  EXPECT_EQ(layout.caption.right, 589 - 12);

  input = StoredSkinWindow(615, 549);
  input.showIcon = false;
  layout = ComputeFrameLayout(input);
  EXPECT_TRUE(layout.icon.Empty());
  EXPECT_EQ(layout.caption.left, 26 + 4 + 2);
}

TEST(FrameGeometry, IconSizeFollowsTheBand) {
  struct Case {
    int band, size;
  } cases[] = {{0, 1}, {8, 1}, {9, 8}, {16, 8}, {17, 16}, {51, 16}};
  for (const auto& c : cases) EXPECT_EQ(IconSize(c.band), c.size) << c.band;
}

TEST(FrameGeometry, AWindowSmallerThanItsFrameKeepsAnEmptyClient) {
  FrameInput input = StoredSkinWindow(40, 30);
  FrameLayout layout = FrameBorders(input);
  EXPECT_EQ(layout.left, 20);
  EXPECT_EQ(layout.right, 20);
  EXPECT_EQ(layout.top, 30);
  EXPECT_EQ(layout.bottom, 0);
  Rect client = layout.Client(40, 30);
  EXPECT_EQ(client.Width(), 0);
  EXPECT_EQ(client.Height(), 0);
}

TEST(FrameGeometry, HitCodes) {
  FrameInput normal = StoredSkinWindow(615, 549);
  FrameInput maximized = StoredSkinWindow(1280, 1000, true);
  FrameInput noMaximize = normal;
  noMaximize.maximize.enabled = false;
  FrameInput fixed = normal;
  fixed.sizeable = false;
  struct Case {
    const char* name;
    const FrameInput& input;
    Point point;
    int code;
  } cases[] = {
      {"top left corner", normal, {0, 0}, kHitTopLeft},
      {"top edge", normal, {300, 0}, kHitTop},
      {"top edge, last row of the zone", normal, {300, 3}, kHitTop},
      {"title band below the zone", normal, {300, 4}, kHitCaption},
      {"top right corner", normal, {614, 0}, kHitTopRight},
      {"left edge", normal, {0, 300}, kHitLeft},
      {"left edge, inner end of the zone", normal, {3, 300}, kHitLeft},
      {"left border past the zone", normal, {4, 300}, kHitBorder},
      {"right edge", normal, {614, 300}, kHitRight},
      {"right edge, inner end of the zone", normal, {611, 300}, kHitRight},
      {"right border past the zone", normal, {610, 300}, kHitBorder},
      {"bottom edge", normal, {300, 548}, kHitBottom},
      {"bottom edge, inner end of the zone", normal, {300, 545}, kHitBottom},
      {"bottom border past the zone", normal, {300, 544}, kHitBorder},
      {"bottom left corner", normal, {0, 548}, kHitBottomLeft},
      {"bottom right corner", normal, {614, 548}, kHitBottomRight},
      {"caption", normal, {300, 30}, kHitCaption},
      {"last row of the band", normal, {300, 50}, kHitCaption},
      {"first row of the client", normal, {300, 51}, kHitClient},
      {"client's first column", normal, {26, 100}, kHitClient},
      {"icon", normal, {30, 30}, kHitSysMenu},
      {"close", normal, {570, 30}, kHitClose},
      {"maximise", normal, {540, 30}, kHitMaxButton},
      {"minimise", normal, {510, 30}, kHitMinButton},
      {"gap between close and maximise", normal, {560, 30}, kHitCaption},
      {"outside the window", normal, {615, 10}, kHitNowhere},
      {"disabled maximise acts as caption", noMaximize, {540, 30}, kHitCaption},
      {"maximised: no sizing at the corner", maximized, {0, 0}, kHitCaption},
      {"maximised: no sizing at the bottom", maximized, {600, 999}, kHitClient},
      {"maximised: close", maximized, {1260, 15}, kHitClose},
      {"maximised: restore", maximized, {1230, 15}, kHitMaxButton},
      {"maximised: icon", maximized, {10, 15}, kHitSysMenu},
      {"maximised: client below the lower band", maximized, {300, 34}, kHitClient},
      {"fixed frame: left edge is border", fixed, {0, 300}, kHitBorder},
      {"fixed frame: top edge is caption", fixed, {300, 0}, kHitCaption},
  };
  for (const auto& c : cases) {
    FrameLayout layout = ComputeFrameLayout(c.input);
    EXPECT_EQ(FrameHitTest(c.input, layout, c.point), c.code) << c.name;
  }
}
