// Texture placement modes, masked overlay textures and pattern tiling.
#include <gtest/gtest.h>

#include <optional>

#include "paint/Texture.h"
#include "tests/core/PaintTestSupport.h"

using painttest::Grey;
using painttest::Item;
using painttest::Solid;

namespace {

constexpr uint32_t kMarker = 0xFFFFFF;

// A 4 x 5 texture at (2, 1) of the picture whose pixel (x, y) of the texture has red 10 x,
// green 10 y and blue 50.
Bitmap TexturePicture() {
  Bitmap b = Solid(8, 8, PixelFormat::pf24bit, 0);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 4; ++x) b.SetPixel(2 + x, 1 + y, MakeColor(static_cast<uint8_t>(10 * x), static_cast<uint8_t>(10 * y), 50));
  return b;
}
uint32_t Texel(int x, int y) { return static_cast<uint32_t>(MakeColor(static_cast<uint8_t>(10 * x), static_cast<uint8_t>(10 * y), 50)); }

}  // namespace

TEST(PaintTexture, PlacementModesDrawTheirStripAndAnswerTheRest) {
  const Bitmap picture = TexturePicture();
  TsMaskData item = Item({2, 1, 6, 6}, 1, 0, 0, 0, 0, 0, 0, TvlImgType::itisaTexture);
  const Rect rect{0, 0, 30, 22};
  struct Case {
    int mode;
    std::optional<Rect> rest;
    Point probe;
    uint32_t expected;
  } cases[] = {
      {0, std::nullopt, {29, 21}, Texel(1, 1)},      // tiled from the top left, last tiles cut
      {2, Rect{0, 5, 30, 22}, {5, 4}, Texel(1, 4)},  // a row along the top
      {2, Rect{0, 5, 30, 22}, {5, 5}, kMarker},
      {3, Rect{4, 0, 30, 22}, {3, 21}, Texel(3, 1)},  // a column down the left
      {3, Rect{4, 0, 30, 22}, {4, 0}, kMarker},
      {4, Rect{0, 5, 30, 22}, {0, 0}, Texel(0, 0)},  // stretched along the top
      {5, Rect{4, 0, 30, 22}, {0, 0}, Texel(0, 0)},  // stretched down the left
      {6, Rect{0, 0, 30, 17}, {0, 17}, Texel(0, 0)},  // a row along the bottom
      {6, Rect{0, 0, 30, 17}, {0, 16}, kMarker},
      {7, Rect{0, 0, 26, 22}, {26, 0}, Texel(0, 0)},  // a column down the right
      {13, Rect{0, 0, 26, 22}, {25, 0}, kMarker},
      {10, std::nullopt, {29, 19}, Texel(1, 4)},  // whole rows only: 4 rows of 5
      {10, std::nullopt, {0, 20}, kMarker},
  };
  for (const auto& c : cases) {
    Bitmap target = Solid(30, 22, PixelFormat::pf24bit, kMarker);
    std::optional<Rect> rest = PlaceTexture(target, rect, picture, c.mode, item);
    EXPECT_EQ(rest, c.rest) << "mode " << c.mode;
    EXPECT_EQ(target.GetPixel(c.probe.x, c.probe.y), c.expected) << "mode " << c.mode << " at " << c.probe.x << "," << c.probe.y;
  }
}

TEST(PaintTexture, StretchedTexturesCoverTheWholeRectangle) {
  Bitmap picture = Solid(2, 2, PixelFormat::pf24bit, Grey(90));
  TsMaskData item = Item({0, 0, 2, 2}, 1, 0, 0, 0, 0, 0, 1, TvlImgType::itisaTexture);
  Bitmap target = Solid(7, 5, PixelFormat::pf24bit, kMarker);
  EXPECT_EQ(PlaceTexture(target, {0, 0, 7, 5}, picture, 1, item), std::nullopt);
  EXPECT_EQ(target, Solid(7, 5, PixelFormat::pf24bit, Grey(90)));
}

TEST(PaintTexture, OwnPicturesAreTiledWhateverTheMode) {
  TsMaskData item = Item({0, 0, 0, 0}, 1, 0, 0, 0, 0, 0, 2, TvlImgType::itisaTexture);  // R left empty
  item.Image = std::make_shared<Bitmap>(Solid(3, 3, PixelFormat::pf24bit, Grey(60)));
  item.Image->SetPixel(0, 0, Grey(1));
  Bitmap target = Solid(7, 7, PixelFormat::pf24bit, kMarker);
  EXPECT_EQ(PlaceTexture(target, {0, 0, 7, 7}, *item.Image, item.StretchMode, item), std::nullopt);
  EXPECT_EQ(target.GetPixel(6, 6), Grey(1));
  EXPECT_EQ(target.GetPixel(5, 6), Grey(60));
}

TEST(PaintTexture, TexturesWithoutSizeDrawNothingAndLeaveTheRectangle) {
  Bitmap picture = Solid(4, 4, PixelFormat::pf24bit, Grey(1));
  for (Rect r : {Rect{0, 0, 0, 4}, Rect{0, 0, 4, 0}, Rect{10, 10, 14, 14}}) {  // the last lies outside the picture
    TsMaskData item = Item(r, 1, 0, 0, 0, 0, 0, 0, TvlImgType::itisaTexture);
    for (int mode : {0, 2, 10}) {
      Bitmap target = Solid(5, 5, PixelFormat::pf24bit, kMarker);
      EXPECT_EQ(PlaceTexture(target, {0, 0, 5, 5}, picture, mode, item), (Rect{0, 0, 5, 5}));
      EXPECT_EQ(target, Solid(5, 5, PixelFormat::pf24bit, kMarker));
    }
  }
}

TEST(PaintTexture, MaskedOverlayModeTenFillsTheStripsFromTheBackground) {
  // A 2 x 2 opaque texture (mask 0) over a 5 x 5 rectangle: whole tiles cover 4 x 4; the right
  // column and the bottom row show the background behind them.
  Bitmap picture = Solid(2, 4, PixelFormat::pf24bit, Grey(0));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) picture.SetPixel(x, y, Grey(80));
  TsMaskData item = Item({0, 0, 2, 4}, 1, 1, 0, 0, 0, 0, 10, TvlImgType::itisaTexture);
  Bitmap parent = Solid(10, 10, PixelFormat::pf24bit, Grey(5));
  parent.SetPixel(1 + 4, 2 + 0, Grey(6));  // behind rect pixel (4, 0)
  struct Case {
    int mode;
    TsBackgroundRef background;
    uint32_t rightColumn, bottomRow;
  } cases[] = {
      {10, BackgroundFromBitmap(parent, 1, 2), Grey(6), Grey(5)},
      {10, {nullptr, 0, 0, static_cast<TColor>(Grey(9)), false}, Grey(9), Grey(9)},
      {10, {}, kMarker, kMarker},      // nothing known behind
      {0, {}, Grey(80), Grey(80)},     // mode 0 tiles everything, cut tiles included
  };
  for (const auto& c : cases) {
    Bitmap target = Solid(5, 5, PixelFormat::pf24bit, kMarker);
    PlaceMaskedTexture(target, {0, 0, 5, 5}, c.background, c.mode, item, picture);
    EXPECT_EQ(target.GetPixel(3, 3), Grey(80)) << c.mode;
    EXPECT_EQ(target.GetPixel(4, 0), c.rightColumn) << c.mode;
    EXPECT_EQ(target.GetPixel(0, 4), c.bottomRow) << c.mode;
  }
}

TEST(PaintTexture, PatternsTileFromTheRectanglesCorner) {
  Bitmap pattern = Solid(3, 2, PixelFormat::pf24bit, Grey(20));
  pattern.SetPixel(0, 0, Grey(21));
  Bitmap target = Solid(8, 8, PixelFormat::pf24bit, kMarker);
  TilePattern(target, {1, 1, 8, 8}, pattern);
  EXPECT_EQ(target.GetPixel(1, 1), Grey(21));
  EXPECT_EQ(target.GetPixel(4, 3), Grey(21));
  EXPECT_EQ(target.GetPixel(6, 7), Grey(20));
  EXPECT_EQ(target.GetPixel(0, 0), kMarker);
}

TEST(PaintTexture, TexturesLargerThanTheRectangleStayInsideIt) {
  // The 4 x 5 texture in a 2 x 3 rectangle: strips are cut to the rectangle, so nothing is drawn
  // beside it (a bottom row would otherwise start above it), and the rest is empty.
  const Bitmap picture = TexturePicture();
  const Rect rect{3, 4, 5, 7};
  const Rect rightColumnRest{3, 4, 3, 7};
  const struct {
    int mode;
    std::optional<Rect> rest;
  } cases[] = {
      {0, std::nullopt},      {1, std::nullopt},      {2, Rect{3, 7, 5, 7}}, {3, Rect{5, 4, 5, 7}}, {4, Rect{3, 7, 5, 7}},
      {5, Rect{5, 4, 5, 7}},  {6, Rect{3, 4, 5, 4}},  {7, rightColumnRest},  {8, rightColumnRest},  {9, rightColumnRest},
      {10, std::nullopt},     {11, rightColumnRest},  {12, rightColumnRest}, {13, rightColumnRest}, {14, rightColumnRest},
  };
  for (const auto& c : cases) {
    TsMaskData item = Item({2, 1, 6, 6}, 1, 0, 0, 0, 0, 0, c.mode, TvlImgType::itisaTexture);
    Bitmap target = Solid(10, 12, PixelFormat::pf24bit, kMarker);
    EXPECT_EQ(PlaceTexture(target, rect, picture, c.mode, item), c.rest) << "mode " << c.mode;
    for (int y = 0; y < target.Height(); ++y)
      for (int x = 0; x < target.Width(); ++x) {
        // Mode 10 tiles whole rows only, and no whole row fits.
        bool painted = rect.Contains({x, y}) && c.mode != 10;
        if (painted) {
          EXPECT_NE(target.GetPixel(x, y), kMarker) << "mode " << c.mode << " at " << x << "," << y;
        } else {
          EXPECT_EQ(target.GetPixel(x, y), kMarker) << "mode " << c.mode << " at " << x << "," << y;
        }
      }
  }
  // The strips show the texture from its top left corner.
  Bitmap bottom = Solid(10, 12, PixelFormat::pf24bit, kMarker);
  PlaceTexture(bottom, rect, picture, 6, Item({2, 1, 6, 6}, 1, 0, 0, 0, 0, 0, 6, TvlImgType::itisaTexture));
  EXPECT_EQ(bottom.GetPixel(3, 4), Texel(0, 0));
  EXPECT_EQ(bottom.GetPixel(4, 6), Texel(1, 2));
  Bitmap right = Solid(10, 12, PixelFormat::pf24bit, kMarker);
  PlaceTexture(right, rect, picture, 7, Item({2, 1, 6, 6}, 1, 0, 0, 0, 0, 0, 7, TvlImgType::itisaTexture));
  EXPECT_EQ(right.GetPixel(3, 4), Texel(0, 0));
  EXPECT_EQ(right.GetPixel(4, 6), Texel(1, 2));
}
