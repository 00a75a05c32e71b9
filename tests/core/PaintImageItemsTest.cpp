// The border and glyph painters and the piece copies under them, on a hand-made skin whose
// master bitmap encodes each pixel's position in its colour.
#include <gtest/gtest.h>

#include <vector>

#include "paint/ImageItems.h"
#include "paint/PieceCopy.h"
#include "tests/core/PaintTestSupport.h"

using painttest::Grey;
using painttest::Item;
using painttest::Solid;

namespace {

constexpr uint32_t kMarker = 0xFFFFFF;  // what the target held before painting

// A skin whose master bitmap pixel (x, y) has red x, green y and blue 7.
LoadedSkin CoordinateSkin(int width, int height) {
  LoadedSkin skin;
  skin.MasterBitmap = Bitmap(width, height, PixelFormat::pf24bit);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) skin.MasterBitmap.SetPixel(x, y, MakeColor(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7));
  return skin;
}

std::vector<int> RedsOfRow(const Bitmap& b, int y, int count) {
  std::vector<int> reds;
  for (int x = 0; x < count; ++x) reds.push_back(RedOf(static_cast<TColor>(b.GetPixel(x, y))));
  return reds;
}

std::vector<int> GreensOfColumn(const Bitmap& b, int x, int count) {
  std::vector<int> greens;
  for (int y = 0; y < count; ++y) greens.push_back(GreenOf(static_cast<TColor>(b.GetPixel(x, y))));
  return greens;
}

}  // namespace

TEST(PaintBorderItem, MarginsShrinkOnNarrowRectangles) {
  // A 20 x 20 picture with margins of 6: a 10-pixel rectangle gets margins 5 and 5 (d = 1), a
  // 9-pixel one 5 and 4; the right corner is cut from the picture's right end.
  LoadedSkin skin = CoordinateSkin(20, 20);
  TsMaskData item = Item({0, 0, 20, 20}, 1, 0, 6, 6, 6, 6);
  struct Case {
    int width;
    std::vector<int> reds;  // row 0 of the painted rectangle
  } cases[] = {
      {10, {0, 1, 2, 3, 4, 15, 16, 17, 18, 19}},
      {9, {0, 1, 2, 3, 4, 16, 17, 18, 19}},
      {7, {0, 1, 2, 3, 17, 18, 19}},  // d = 2, then 4 and 3
      {24, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 6, 7, 8, 9, 14, 15, 16, 17, 18, 19}},  // tiled top edge
  };
  for (const auto& c : cases) {
    Bitmap target = Solid(30, 20, PixelFormat::pf24bit, kMarker);
    PaintBorderItem(&skin, target, {0, 0, c.width, 20}, false, false, 0, item, EmptyBackground());
    EXPECT_EQ(RedsOfRow(target, 0, c.width), c.reds) << c.width;
    EXPECT_EQ(target.GetPixel(c.width, 0), kMarker) << c.width;
  }
  Bitmap target = Solid(20, 20, PixelFormat::pf24bit, kMarker);
  PaintBorderItem(&skin, target, {0, 0, 20, 9}, false, false, 0, item, EmptyBackground());
  EXPECT_EQ(GreensOfColumn(target, 0, 9), (std::vector<int>{0, 1, 2, 3, 4, 16, 17, 18, 19}));
}

TEST(PaintBorderItem, StateIsClampedToThePictures) {
  LoadedSkin skin;
  skin.MasterBitmap = Solid(12, 4, PixelFormat::pf24bit, 0);
  const uint32_t colours[] = {0x0000AA, 0x00BB00, 0xCC0000};
  for (int s = 0; s < 3; ++s)
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) skin.MasterBitmap.SetPixel(4 * s + x, y, colours[s]);
  TsMaskData item = Item({0, 0, 12, 4}, 3, 0, 1, 1, 1, 1);
  struct Case {
    int state;
    uint32_t colour;
  } cases[] = {{0, colours[0]}, {1, colours[1]}, {2, colours[2]}, {5, colours[2]}, {-1, colours[0]}};
  for (const auto& c : cases) {
    Bitmap target = Solid(6, 6, PixelFormat::pf24bit, kMarker);
    PaintBorderItem(&skin, target, {0, 0, 6, 6}, false, false, c.state, item, EmptyBackground());
    EXPECT_EQ(target.GetPixel(0, 0), c.colour) << c.state;
    EXPECT_EQ(target.GetPixel(3, 0), c.colour) << c.state;
  }
}

TEST(PaintBorderItem, DrawsNothingWhereItMustNot) {
  LoadedSkin skin = CoordinateSkin(20, 20);
  TsMaskData menuItem = Item({0, 0, 20, 20}, 1, 0, 6, 6, 6, 6, 3);  // stretch, nothing in state 0
  TsMaskData plain = Item({0, 0, 20, 20}, 1, 0, 6, 6, 6, 6);
  TsMaskData noPictures = Item({0, 0, 20, 20}, 0, 0, 6, 6, 6, 6);
  struct Case {
    const char* what;
    const LoadedSkin* skin;
    const TsMaskData* item;
    Rect rect;
    int state;
    bool paints;
  } cases[] = {
      {"state 0 with StretchMode bit 1", &skin, &menuItem, {0, 0, 20, 20}, 0, false},
      {"state 1 with StretchMode bit 1", &skin, &menuItem, {0, 0, 20, 20}, 1, true},
      {"1 pixel wide", &skin, &plain, {0, 0, 1, 20}, 0, false},
      {"1 pixel high", &skin, &plain, {0, 0, 20, 1}, 0, false},
      {"no skin", nullptr, &plain, {0, 0, 20, 20}, 0, false},
      {"no state pictures", &skin, &noPictures, {0, 0, 20, 20}, 0, false},
  };
  for (const auto& c : cases) {
    Bitmap target = Solid(20, 20, PixelFormat::pf24bit, kMarker);
    PaintBorderItem(c.skin, target, c.rect, true, false, c.state, *c.item, EmptyBackground());
    EXPECT_EQ(target != Solid(20, 20, PixelFormat::pf24bit, kMarker), c.paints) << c.what;
  }
}

TEST(PaintBorderItem, StretchModeBitZeroStretchesEdgesSmoothly) {
  // Top edge source: two columns, red 0 and 200, stretched over three pixels, or tiled.
  LoadedSkin skin;
  skin.MasterBitmap = Solid(4, 3, PixelFormat::pf24bit, Grey(50));
  skin.MasterBitmap.SetPixel(1, 0, MakeColor(0, 50, 50));
  skin.MasterBitmap.SetPixel(2, 0, MakeColor(200, 50, 50));
  struct Case {
    int stretchMode;
    std::vector<int> reds;
  } cases[] = {{1, {50, 0, 100, 200, 50}}, {0, {50, 0, 200, 0, 50}}};
  for (const auto& c : cases) {
    TsMaskData item = Item({0, 0, 4, 3}, 1, 0, 1, 1, 1, 1, c.stretchMode);
    Bitmap target = Solid(5, 3, PixelFormat::pf24bit, kMarker);
    PaintBorderItem(&skin, target, {0, 0, 5, 3}, false, false, 0, item, EmptyBackground());
    EXPECT_EQ(RedsOfRow(target, 0, 5), c.reds) << c.stretchMode;
  }
}

TEST(PaintBorderItem, KeyPixelsShowTheBackgroundOnCornersOnly) {
  // A masked 3 x 3 picture (mask all 0: opaque) with key pixels at the top-left corner and on the
  // top edge; the background's pixel behind target (0, 0) is (2, 3).
  LoadedSkin skin;
  skin.MasterBitmap = Solid(3, 6, PixelFormat::pf24bit, 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) skin.MasterBitmap.SetPixel(x, y, Grey(50));
  skin.MasterBitmap.SetPixel(0, 0, 0xFF00FF);
  skin.MasterBitmap.SetPixel(1, 0, 0xFF00FF);
  TsMaskData item = Item({0, 0, 3, 6}, 1, 1, 1, 1, 1, 1);
  Bitmap parent = Solid(10, 10, PixelFormat::pf24bit, 0);
  parent.SetPixel(2, 3, 0x123456);
  struct Case {
    bool cornerMode;
    uint32_t corner;
  } cases[] = {{true, 0x123456}, {false, Grey(99)}};
  for (const auto& c : cases) {
    Bitmap target = Solid(5, 5, PixelFormat::pf24bit, Grey(99));
    PaintBorderItem(&skin, target, {0, 0, 5, 5}, false, c.cornerMode, 0, item, BackgroundFromBitmap(parent, 2, 3));
    EXPECT_EQ(target.GetPixel(0, 0), c.corner) << c.cornerMode;
    EXPECT_EQ(RedsOfRow(target, 0, 5), (std::vector<int>{RedOf(static_cast<TColor>(c.corner)), 99, 99, 99, 50}));
    EXPECT_EQ(target.GetPixel(0, 1), Grey(50));
  }
}

TEST(PaintBorderItem, EmptyMiddlePartsEndAndDrawNoEdges) {
  // Margins that use up the whole picture leave edges and centre of length 0.
  LoadedSkin skin = CoordinateSkin(8, 16);
  for (int maskType : {0, 1}) {
    TsMaskData item = Item({0, 0, 8, 16}, 1, maskType, 4, 4, 4, 4, 4);
    Bitmap target = Solid(40, 40, PixelFormat::pf24bit, kMarker);
    PaintBorderItem(&skin, target, {0, 0, 40, 40}, true, false, 0, item, EmptyBackground());
    EXPECT_EQ(target.GetPixel(20, 0), kMarker) << maskType;
    EXPECT_EQ(target.GetPixel(20, 20), kMarker) << maskType;
    EXPECT_NE(target.GetPixel(0, 0), kMarker) << maskType;
  }
}

TEST(PaintBorderItem, PiecesReachingOutsideEitherBitmapAreClipped) {
  // The item claims more than the master bitmap holds and the rectangle lies partly outside the
  // target: everything still paints inside both (the sanitizers watch the reads), and pixels
  // outside the rectangle stay as they were. With no bottom margin the side edges run to the
  // rectangle's bottom, where their tiles (20 rows, of which the master holds 3) must be cut.
  LoadedSkin skin = CoordinateSkin(10, 10);
  for (int maskType : {0, 1})
    for (int bottomMargin : {3, 0}) {
      TsMaskData item = Item({4, 4, 30, 30}, 2, maskType, 3, 3, 3, bottomMargin, 5);
      Bitmap target = Solid(12, 12, PixelFormat::pf32bit, kMarker);
      PaintBorderItem(&skin, target, {-5, -7, 20, 25}, true, true, 1, item, EmptyBackground());
      for (int state : {0, 1}) {
        item.StretchMode = 4;  // tiled edges and centre
        const Rect rect{2, 2, 9, 6};
        target = Solid(12, 12, PixelFormat::pf32bit, kMarker);
        PaintBorderItem(&skin, target, rect, true, true, state, item, EmptyBackground());
        for (int y = 0; y < target.Height(); ++y)
          for (int x = 0; x < target.Width(); ++x)
            if (!rect.Contains({x, y})) {
              EXPECT_EQ(target.GetPixel(x, y), kMarker) << maskType << bottomMargin << state << " at " << x << "," << y;
            }
        // Unmasked state 0 starts at master pixel (4, 4); state 1 (x 17) and every masked piece
        // (mask rows from 17) lie beyond the master, so nothing of them is painted.
        bool painted = maskType == 0 && state == 0;
        EXPECT_EQ(target.GetPixel(2, 2), painted ? 0xFF000000u | MakeColor(4, 4, 7) : kMarker) << maskType << bottomMargin << state;
        if (bottomMargin == 0) {
          EXPECT_EQ(target.GetPixel(3, 5), painted ? 0xFF000000u | MakeColor(5, 7, 7) : kMarker) << maskType << state;
        }
      }
    }
}

TEST(PaintPieceCopy, MaskedPixelsFollowTheMaskFormula) {
  // D = ((D - S) * M + S * 256) >> 8: mask 0 copies the source, 255 keeps the target to within
  // rounding.
  struct Case {
    int d, s, m, expected;
  } cases[] = {{200, 100, 0, 100}, {200, 100, 255, 199}, {200, 100, 128, 150}, {0, 255, 255, 0}, {255, 0, 255, 254}, {0, 255, 0, 255}};
  TsMaskData item = Item({0, 0, 1, 2}, 1, 1);
  for (const auto& c : cases) {
    Bitmap source(1, 2, PixelFormat::pf24bit);
    source.SetPixel(0, 0, Grey(c.s));
    source.SetPixel(0, 1, Grey(c.m));
    Bitmap target = Solid(2, 2, PixelFormat::pf32bit, Grey(c.d));
    CopyMaskedPiece(target, 1, 1, source, {0, 0, 1, 1}, item, false, EmptyBackground());
    EXPECT_EQ(target.GetPixel(1, 1), 0xFF000000u | Grey(c.expected)) << c.d << " " << c.s << " " << c.m;
    EXPECT_EQ(target.GetPixel(0, 0), Grey(c.d));
  }
}

TEST(PaintPieceCopy, MaskRowsOutsideTheSourceAreNotRead) {
  // R says 10 rows (pictures 5 high) but the bitmap has 6: only row 0 has its mask (row 5).
  Bitmap source = Solid(2, 6, PixelFormat::pf24bit, Grey(0));
  TsMaskData item = Item({0, 0, 2, 10}, 1, 1);
  Bitmap target = Solid(2, 5, PixelFormat::pf24bit, kMarker);
  CopyMaskedPiece(target, 0, 0, source, {0, 0, 2, 5}, item, false, EmptyBackground());
  EXPECT_EQ(target.GetPixel(0, 0), Grey(0));
  EXPECT_EQ(target.GetPixel(0, 1), kMarker);
}

TEST(PaintPieceCopy, KeyedCopiesKeepAlphaAndSkipOnlyTheKey) {
  Bitmap source(4, 1, PixelFormat::pf32bit);
  source.SetPixel(0, 0, 0x00FF00FFu);  // the key: alpha 0
  source.SetPixel(1, 0, 0xFFFF00FFu);  // opaque magenta is a colour
  source.SetPixel(2, 0, 0x80123456u);
  source.SetPixel(3, 0, 0x00FF00FFu);
  Bitmap parent = Solid(3, 3, PixelFormat::pf24bit, 0x0A0B0C);
  Bitmap target = Solid(5, 2, PixelFormat::pf32bit, 0x11111111u);
  // The background lies at (-2, 0) inside `parent`, so target (3, 0) finds parent (1, 0) and
  // target (0, 0) none.
  CopyKeyedPiece(target, 0, 0, source, {0, 0, 4, 1}, clFuchsia, true, BackgroundFromBitmap(parent, -2, 0));
  EXPECT_EQ(target.GetPixel(0, 0), 0x11111111u);
  EXPECT_EQ(target.GetPixel(1, 0), 0xFFFF00FFu);
  EXPECT_EQ(target.GetPixel(2, 0), 0x80123456u);
  EXPECT_EQ(target.GetPixel(3, 0), 0xFF0A0B0Cu);

  Bitmap source24 = Solid(2, 1, PixelFormat::pf24bit, 0x445566);
  source24.SetPixel(1, 0, 0xFF00FF);
  Bitmap target32 = Solid(2, 1, PixelFormat::pf32bit, 0);
  CopyKeyedPiece(target32, 0, 0, source24, {0, 0, 2, 1}, clFuchsia, false, EmptyBackground());
  EXPECT_EQ(target32.GetPixel(0, 0), 0xFF445566u);
  EXPECT_EQ(target32.GetPixel(1, 0), 0u);
}

TEST(PaintPieceCopy, MixPieceRoundsHalvesToEvenAndSkipsTheKey) {
  struct Case {
    int s, d;
    double fraction;
    int expected;
  } cases[] = {{3, 0, 0.5, 2}, {1, 0, 0.5, 0}, {0, 5, 0.5, 2}, {255, 0, 0.5, 128}, {0, 255, 0.5, 128}, {100, 200, 0.4, 140}, {90, 0, 0.0, 90}, {90, 0, 1.0, 0}};
  for (const auto& c : cases) {
    Bitmap source = Solid(1, 1, PixelFormat::pf24bit, Grey(c.s));
    Bitmap target = Solid(1, 1, PixelFormat::pf24bit, Grey(c.d));
    MixPiece(target, 0, 0, source, {0, 0, 1, 1}, 0xFF00FF, c.fraction);
    EXPECT_EQ(target.GetPixel(0, 0), Grey(c.expected)) << c.s << " " << c.d << " " << c.fraction;
  }
  Bitmap key = Solid(1, 1, PixelFormat::pf24bit, 0xFF00FF);
  Bitmap target = Solid(1, 1, PixelFormat::pf24bit, Grey(0));
  MixPiece(target, 0, 0, key, {0, 0, 1, 1}, 0xFF00FF, 0.5);
  EXPECT_EQ(target.GetPixel(0, 0), Grey(0));
  MixPiece(target, 0, 0, key, {0, 0, 1, 1}, 0xFF000000u, 0.5);  // above 0xFEFFFFFF: nothing is skipped
  EXPECT_EQ(target.GetPixel(0, 0), 0x800080u);
}

TEST(PaintPieceCopy, RestoreKeyedPixelsTestsTheCornerPictureOrTheTarget) {
  LoadedSkin skin;
  skin.MasterBitmap = Solid(8, 4, PixelFormat::pf24bit, Grey(10));
  // Top-right corner of state 0 (width 4, WR 2) starts at (2, 0).
  skin.MasterBitmap.SetPixel(2, 0, 0xFF00FF);
  skin.MasterBitmap.SetPixel(3, 1, 0xFF00FF);
  skin.Items.push_back(Item({0, 0, 8, 4}, 2, 0, 2, 2, 2, 2));
  Bitmap source = Solid(2, 2, PixelFormat::pf32bit, 0x80ABCDEFu);

  Bitmap target = Solid(2, 2, PixelFormat::pf32bit, 0xFF000000u);
  RestoreKeyedPixels(target, source, {0, 0, 2, 2}, ckTopRight, &skin, 0, {0, 0, 2, 2});
  EXPECT_EQ(target.GetPixel(0, 0), 0x80ABCDEFu);
  EXPECT_EQ(target.GetPixel(1, 1), 0x80ABCDEFu);
  EXPECT_EQ(target.GetPixel(1, 0), 0xFF000000u);

  Bitmap keyed = Solid(2, 2, PixelFormat::pf32bit, 0xFF000000u);
  keyed.SetPixel(1, 0, 0x12FF00FFu);  // the colour bytes decide, whatever the alpha
  RestoreKeyedPixels(keyed, source, {0, 0, 2, 2}, ckTopLeft, &skin, -1, {0, 0, 2, 2});
  EXPECT_EQ(keyed.GetPixel(1, 0), 0x80ABCDEFu);
  EXPECT_EQ(keyed.GetPixel(0, 0), 0xFF000000u);
}

TEST(PaintGlyphItem, NegativePositionsClipThePicture) {
  LoadedSkin skin = CoordinateSkin(5, 2);
  TsMaskData item = Item({0, 0, 5, 2}, 1, 0);
  struct Case {
    Point point;
    std::vector<int> reds;  // target row 0
  } cases[] = {
      {{-3, 0}, {3, 4, 255, 255, 255, 255}},
      {{0, 0}, {0, 1, 2, 3, 4, 255}},
      {{4, 0}, {255, 255, 255, 255, 0, 1}},
  };
  for (const auto& c : cases) {
    Bitmap target = Solid(6, 2, PixelFormat::pf24bit, kMarker);
    PaintGlyphItem(&skin, target, c.point, 0, EmptyBackground(), item, 1);
    EXPECT_EQ(RedsOfRow(target, 0, 6), c.reds) << c.point.x;
  }
  Bitmap target = Solid(6, 2, PixelFormat::pf24bit, kMarker);
  PaintGlyphItem(&skin, target, {0, -1}, 0, EmptyBackground(), item, 1);
  EXPECT_EQ(GreensOfColumn(target, 0, 2), (std::vector<int>{1, 255}));
}

TEST(PaintGlyphItem, FadedLooksRaiseTheMaskOrMixHalfway) {
  // Masked: S 100 over D 200 with mask 0 gives 100 normally and, with the mask raised by 100,
  // ((200 - 100) * 100 + 100 * 256) >> 8 = 139 faded. Keyed: the faded look mixes halfway,
  // 100 - 0.5 * (100 - 201) = 150.5 -> 150.
  LoadedSkin skin;
  skin.MasterBitmap = Solid(2, 2, PixelFormat::pf24bit, Grey(100));
  skin.MasterBitmap.SetPixel(0, 1, Grey(0));  // the mask under (0, 0)
  skin.MasterBitmap.SetPixel(1, 1, Grey(0));
  TsMaskData masked = Item({0, 0, 1, 2}, 1, 1);
  TsMaskData keyed = Item({1, 0, 2, 1}, 1, 0);
  struct Case {
    const TsMaskData* item;
    int mode;
    int d, expected;
  } cases[] = {{&masked, 1, 200, 100}, {&masked, 0, 200, 139}, {&keyed, 1, 201, 100}, {&keyed, 2, 201, 150}};
  for (const auto& c : cases) {
    Bitmap target = Solid(1, 1, PixelFormat::pf24bit, Grey(c.d));
    PaintGlyphItem(&skin, target, {0, 0}, 0, EmptyBackground(), *c.item, c.mode);
    EXPECT_EQ(target.GetPixel(0, 0), Grey(c.expected)) << c.item->MaskType << " mode " << c.mode;
  }
}

TEST(PaintGlyphItem, OwnPicturesMustHoldTheirRectangle) {
  TsMaskData item = Item({0, 0, 2, 2}, 1, 0);
  item.Image = std::make_shared<Bitmap>(Solid(2, 2, PixelFormat::pf24bit, Grey(40)));
  Bitmap target = Solid(2, 2, PixelFormat::pf24bit, kMarker);
  PaintGlyphItem(nullptr, target, {0, 0}, 0, EmptyBackground(), item, 1);  // needs no skin
  EXPECT_EQ(target.GetPixel(1, 1), Grey(40));

  item.R = {0, 0, 3, 2};  // wider than the picture
  Bitmap untouched = Solid(2, 2, PixelFormat::pf24bit, kMarker);
  PaintGlyphItem(nullptr, untouched, {0, 0}, 0, EmptyBackground(), item, 1);
  EXPECT_EQ(untouched, Solid(2, 2, PixelFormat::pf24bit, kMarker));
}
