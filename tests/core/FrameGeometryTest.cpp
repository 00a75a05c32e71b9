// The skinned frame's geometry and hit codes on the stored skin's values.
#include <gtest/gtest.h>

#include "frame/ExtendedFrameGeometry.h"
#include "frame/FrameGeometry.h"

using namespace frame_geometry;

namespace {

// The stored skin: BORDERWIDTH 26, TITLEHEIGHT 51, MAXHEIGHT 34, CENTEROFFSET 5, BORDERMODE 1,
// BILEFT 2, BIRIGHT 0, BISPACE 2; close 28 x 15, maximise and minimise 26 x 15.
FrameInput StoredSkinWindow(int width, int height, bool maximized = false, bool extended = false) {
  FrameInput input;
  input.extended = extended;
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
      // In a border window the frame is whole; maximised, the parts move down into the band
      // that stays on the screen: CENTEROFFSET + (TITLEHEIGHT - MAXHEIGHT) / 2 - 2 = 11.
      {"border window", StoredSkinWindow(615, 549, false, true), 26, 51, 26, 26, {561, 23, 589, 38},
       {533, 23, 559, 38}, {505, 23, 531, 38}, {28, 23, 44, 39}, {48, 7, 493, 51}},
      {"border window, maximised", StoredSkinWindow(615, 549, true, true), 26, 51, 26, 26, {561, 29, 589, 44},
       {533, 29, 559, 44}, {505, 29, 531, 44}, {28, 29, 44, 45}, {48, 14, 493, 51}},
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

TEST(FrameGeometry, BorderWindowAroundTheForm) {
  // The stored skin (BORDERWIDTH 26, TITLEHEIGHT 51, shadow margins 16) around a form at
  // (100, 80) of 615 x 549, on two sets of platform metrics.
  struct Case {
    const char* name;
    int side, caption;
    bool maximized, hasCaption;
    Rect frame, window, client, formRegion, windowRegion;
  } cases[] = {
      {"frame 4, caption 19", 4, 19, false, true, {78, 52, 737, 651}, {62, 36, 753, 667}, {42, 67, 649, 589},
       {4, 23, 611, 545}, {}},
      {"frame 8, caption 23", 8, 23, false, true, {82, 60, 733, 647}, {66, 44, 749, 663}, {42, 67, 641, 577},
       {8, 31, 607, 541}, {}},
      // Maximised: no shadow and no bottom frame (cut off), the sides hidden by the region.
      {"maximised", 4, 19, true, true, {78, 52, 737, 651}, {62, 36, 753, 625}, {42, 67, 649, 589},
       {4, 23, 611, 545}, {42, 20, 649, 589}},
      // Without a caption neither title counts: the frame's top is the side width.
      {"no caption", 4, 19, false, false, {78, 84, 737, 651}, {62, 68, 753, 667}, {42, 16, 649, 557},
       {4, 4, 611, 545}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExtendedFrameInput in;
    in.form = {100, 80, 715, 629};
    in.maximized = c.maximized;
    in.caption = c.hasCaption;
    in.platformSide = c.side;
    in.platformCaption = c.caption;
    in.borderWidth = 26;
    in.titleHeight = 51;
    in.margins = {16, 16, 16, 16};
    ExtendedFrameGeometry g = ComputeExtendedFrameGeometry(in);
    EXPECT_EQ(g.frame, c.frame);
    EXPECT_EQ(g.window, c.window);
    EXPECT_EQ(g.imageWidth, c.frame.Width() + 32);
    EXPECT_EQ(g.imageHeight, c.frame.Height() + 32);
    EXPECT_EQ(g.frameInImage, (Rect{16, 16, g.imageWidth - 16, g.imageHeight - 16}));
    EXPECT_EQ(g.clientInImage, c.client);
    EXPECT_EQ(g.formRegion, c.formRegion);
    EXPECT_EQ(g.windowRegion, c.windowRegion);
    // The form's client area lies where the picture leaves room for it.
    EXPECT_EQ(g.window.left + g.clientInImage.left, in.form.left + g.formRegion.left);
    EXPECT_EQ(g.window.top + g.clientInImage.top, in.form.top + g.formRegion.top);
    EXPECT_EQ(g.clientInImage.Width(), g.formRegion.Width());
    EXPECT_EQ(g.clientInImage.Height(), g.formRegion.Height());
  }
}

TEST(FrameGeometry, MaximisedFormInABorderWindow) {
  struct Case {
    const char* name;
    Rect work;
    int side, caption, band;
    Rect form;
  } cases[] = {
      {"band above the platform's caption", {0, 0, 1280, 994}, 4, 19, 34, {-4, 11, 1284, 998}},
      {"band below it", {0, 30, 1920, 1050}, 8, 23, 30, {-8, 29, 1928, 1058}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Rect form = ExtendedMaximizedForm(c.work, c.side, c.caption, c.band);
    EXPECT_EQ(form, c.form);
    // The client area: the work area below the band.
    EXPECT_EQ(form.left + c.side, c.work.left);
    EXPECT_EQ(form.right - c.side, c.work.right);
    EXPECT_EQ(form.top + c.side + c.caption, c.work.top + c.band);
    EXPECT_EQ(form.bottom - c.side, c.work.bottom);
  }
}

TEST(FrameGeometry, UserTitleButtonsLieLeftOfTheSystemButtons) {
  struct Case {
    const char* name;
    std::vector<ButtonShape> user;
    std::vector<Rect> rects;
    int buttonsWidth;
  } cases[] = {
      // 8 pixels apart from the minimise button (its left 505, the gap 2), then BISPACE apart.
      {"two buttons", {{true, true, 21, 15}, {true, true, 21, 15}}, {{474, 23, 495, 38}, {451, 23, 472, 38}}, 138},
      {"a wide glyph", {{true, true, 34, 15}}, {{461, 23, 495, 38}}, 28 + 28 + 28 + 8 + 36},
      // An invisible button takes no room in the band but widens the buttons' part all the same.
      {"first invisible", {{false, true, 21, 15}, {true, true, 21, 15}}, {{}, {474, 23, 495, 38}}, 138},
      {"none", {}, {}, 84},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FrameInput input = StoredSkinWindow(615, 549);
    input.user = c.user;
    FrameLayout layout = ComputeFrameLayout(input);
    EXPECT_EQ(layout.user, c.rects);
    EXPECT_EQ(ButtonsWidth(input), c.buttonsWidth);
    // The caption ends 12 pixels before the buttons' part.
    EXPECT_EQ(layout.caption.right, 615 - 26 - c.buttonsWidth - 12);
    EXPECT_EQ(layout.close, (Rect{561, 23, 589, 38}));
  }
}

TEST(FrameGeometry, HitCodesOfUserButtonsMenuLineAndSizeGrip) {
  FrameInput buttons = StoredSkinWindow(615, 549);
  buttons.user = {{true, true, 21, 15}, {true, true, 21, 15}};
  FrameInput disabled = buttons;
  disabled.user[1].enabled = false;
  FrameInput firstHidden = buttons;
  firstHidden.user[0].visible = false;
  FrameInput menu = StoredSkinWindow(615, 549);
  menu.menuBand = 19;
  // A 16 x 16 grip: its picture at (572, 506), one pixel in from the client's corner.
  FrameInput grip = StoredSkinWindow(615, 549);
  grip.gripWidth = grip.gripHeight = 16;
  FrameInput gripMaximized = StoredSkinWindow(1280, 1000, true);
  gripMaximized.gripWidth = gripMaximized.gripHeight = 16;
  FrameInput gripFixed = grip;
  gripFixed.sizeable = false;
  struct Case {
    const char* name;
    const FrameInput& input;
    Point point;
    int code;
  } cases[] = {
      {"first user button", buttons, {480, 30}, kHitUserButton},
      {"second user button", buttons, {460, 30}, kHitUserButton + 1},
      {"between them", buttons, {473, 30}, kHitCaption},
      {"between the user and the system buttons", buttons, {500, 30}, kHitCaption},
      {"disabled user button acts as caption", disabled, {460, 30}, kHitCaption},
      {"enabled one beside it", disabled, {480, 30}, kHitUserButton},
      {"hidden first button: the second moves into its place", firstHidden, {480, 30}, kHitUserButton + 1},
      {"hidden first button: nothing where the second was", firstHidden, {460, 30}, kHitCaption},
      {"menu line", menu, {300, 60}, kHitMenu},
      {"menu line's first row", menu, {300, 51}, kHitMenu},
      {"title band above the menu line", menu, {300, 50}, kHitCaption},
      {"client below the menu line", menu, {300, 70}, kHitClient},
      {"menu line's left border", menu, {10, 60}, kHitBorder},
      {"grip's top left pixel", grip, {572, 506}, kHitBottomRight},
      {"grip's last pixel", grip, {588, 522}, kHitBottomRight},
      {"left of the grip", grip, {571, 510}, kHitClient},
      {"above the grip", grip, {580, 505}, kHitClient},
      {"right border beside the grip", grip, {600, 510}, kHitBorder},
      {"no grip while maximised", gripMaximized, {1270, 990}, kHitClient},
      {"no grip without a sizing frame", gripFixed, {580, 515}, kHitClient},
  };
  for (const auto& c : cases) {
    FrameLayout layout = ComputeFrameLayout(c.input);
    EXPECT_EQ(FrameHitTest(c.input, layout, c.point), c.code) << c.name;
  }
  EXPECT_EQ(ComputeFrameLayout(menu).menuBand, (Rect{26, 51, 589, 70}));
  EXPECT_EQ(ComputeFrameLayout(menu).titleBand, (Rect{0, 0, 615, 51}));
  EXPECT_EQ(ComputeFrameLayout(menu).top, 70);
  EXPECT_EQ(ComputeFrameLayout(grip).grip, (Rect{572, 506, 588, 522}));
}

TEST(FrameGeometry, CaptionAlignmentAndAddedTitle) {
  const Rect room{48, 7, 493, 51};  // the stored skin's caption room at the designed size
  struct Case {
    const char* name;
    int text, added;
    CaptionAlign align;
    Rect textRect, addedRect;
  } cases[] = {
      {"left", 100, 0, CaptionAlign::Left, room, {}},
      {"right", 100, 0, CaptionAlign::Right, {389, 7, 493, 51}, {}},
      {"centre", 100, 0, CaptionAlign::Center, {218, 7, 318, 51}, {}},
      {"right, too long: stays left", 500, 0, CaptionAlign::Right, room, {}},
      {"centre, too long: never left of the left place nor into the buttons", 500, 0, CaptionAlign::Center, room, {}},
      {"left with an added title", 100, 60, CaptionAlign::Left, room, {152, 7, 493, 51}},
      {"right with an added title", 100, 60, CaptionAlign::Right, {325, 7, 493, 51}, {429, 7, 493, 51}},
      {"centre with an added title", 100, 60, CaptionAlign::Center, {186, 7, 286, 51}, {290, 7, 493, 51}},
      {"added title with 5 pixels left", 436, 60, CaptionAlign::Left, room, {488, 7, 493, 51}},
      {"added title with 4 pixels left is not drawn", 437, 60, CaptionAlign::Left, room, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CaptionPlacement placement = PlaceCaption(room, c.text, c.added, c.align);
    EXPECT_EQ(placement.text, c.textRect);
    EXPECT_EQ(placement.added, c.addedRect);
  }
  CaptionPlacement none = PlaceCaption({}, 100, 60, CaptionAlign::Center);
  EXPECT_TRUE(none.text.Empty());
  EXPECT_TRUE(none.added.Empty());
}

TEST(FrameGeometry, CompactMaximisedBandIsDecidedWithTheFlagCleared) {
  struct Case {
    const char* name;
    int title, caption;
    bool maximized;
    bool compact;
    int band;
  } cases[] = {
      {"the stored skin's tall band", 51, 19, true, false, 51},
      {"3 pixels taller than the caption", 22, 19, true, true, 23},
      {"4 pixels taller", 23, 19, true, false, 23},
      {"lower than the caption", 12, 19, true, true, 23},
      {"no title in the skin: the caption", 0, 19, true, true, 23},
      {"not maximised", 12, 19, false, false, 12},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    bool compact = CompactMaximized(c.maximized, true, c.title, c.caption);
    EXPECT_EQ(compact, c.compact);
    EXPECT_FALSE(CompactMaximized(c.maximized, false, c.title, c.caption));
    EXPECT_EQ(SkinTitleBand(compact, c.title, c.caption), c.band);

    // The border window's frame covers the form's top frame too; the form's region starts 4
    // pixels above its client area, where the compact band ends.
    ExtendedFrameInput in;
    in.form = {-4, 0, 1284, 998};
    in.maximized = c.maximized;
    in.platformSide = 4;
    in.platformCaption = c.caption;
    in.borderWidth = 26;
    in.titleHeight = c.title;
    in.margins = {16, 16, 16, 16};
    ExtendedFrameGeometry g = ComputeExtendedFrameGeometry(in);
    EXPECT_EQ(g.compactMaximized, c.compact);
    EXPECT_EQ(g.titleBand, c.band);
    const int above = c.band - c.caption - 4 + (c.compact ? 4 : 0);
    EXPECT_EQ(g.frame.top, in.form.top - above);
    EXPECT_EQ(g.formRegion.top, 4 + c.caption - (c.compact ? 4 : 0));
    EXPECT_EQ(g.window.top + g.clientInImage.top, in.form.top + g.formRegion.top);
  }
}
