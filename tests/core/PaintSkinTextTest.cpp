// Skinned captions against a surface that records every colour change and draw.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "paint/SkinText.h"
#include "paint/TextGlow.h"
#include "pixel/ColorMath.h"

namespace {

struct Draw {
  TColor color;
  Rect rect;
  uint32_t format;
  bool operator==(const Draw&) const = default;
};

// Records draws; every character is 7 pixels wide.
class RecordingSurface : public TextSurface {
 public:
  void SetTextColor(TColor color) override { color_ = color; }
  void DrawText(const std::wstring& text, const Rect& rect, uint32_t format) override {
    texts.push_back(text);
    draws.push_back({color_, rect, format});
  }
  int TextWidth(const std::wstring& text) override { return 7 * static_cast<int>(text.size()); }
  std::vector<Draw> draws;
  std::vector<std::wstring> texts;

 private:
  TColor color_ = -2;
};

TsGeneralData Section(std::array<TColor, 5> normal, std::array<TColor, 5> hot) {
  TsGeneralData s;
  s.FontColor = normal;
  s.HotFontColor = hot;
  s.Color = 0xFFFFFF;
  return s;
}

const Rect kRect{10, 20, 110, 40};
constexpr uint32_t kFormat = 0x25;  // centred, vertically centred, single line

TEST(SkinTextTest, ContoursThenMainTextInTheLooksColours) {
  const std::array<TColor, 5> none{0x111111, -1, -1, -1, -1};
  struct Case {
    const char* name;
    std::array<TColor, 5> normal, hot;
    bool isHot;
    std::vector<Draw> expected;
  } cases[] = {
      {"no contour: one draw", none, none, false, {{0x111111, kRect, kFormat | kTextNoClip}}},
      {"bottom contour only",
       {0x111111, -1, -1, -1, 0x222222},
       none,
       false,
       {{0x222222, kRect.Offset(0, 1), kFormat}, {0x111111, kRect, kFormat | kTextNoClip}}},
      {"four sides in order left, top, right, bottom",
       {0x111111, 1, 2, 3, 4},
       none,
       false,
       {{1, kRect.Offset(-1, 0), kFormat},
        {2, kRect.Offset(0, -1), kFormat},
        {3, kRect.Offset(1, 0), kFormat},
        {4, kRect.Offset(0, 1), kFormat},
        {0x111111, kRect, kFormat | kTextNoClip}}},
      {"hot look takes the hot colours",
       {0x111111, 1, -1, -1, -1},
       {0x333333, -1, 5, -1, -1},
       true,
       {{5, kRect.Offset(0, -1), kFormat}, {0x333333, kRect, kFormat | kTextNoClip}}},
  };
  for (const auto& c : cases) {
    TsGeneralData s = Section(c.normal, c.hot);
    RecordingSurface surface;
    SkinTextLook look;
    look.Section = &s;
    look.Hot = c.isHot;
    DrawSkinText(surface, L"Switch OFF", kRect, kFormat, look);
    EXPECT_EQ(surface.draws, c.expected) << c.name;
  }
}

TEST(SkinTextTest, DisabledTextMixesFourTenthsOfTheFontColourWithTheGivenColour) {
  TsGeneralData s = Section({0x000000, 1, 2, 3, 4}, {0, -1, -1, -1, -1});
  RecordingSurface surface;
  SkinTextLook look;
  look.Section = &s;
  look.Enabled = false;
  look.DisabledMix = 0xFFFFFF;
  DrawSkinText(surface, L"A", kRect, kFormat, look);
  // 0.4 black + 0.6 white = 153 on every channel; no contour, no added flag.
  std::vector<Draw> expected{{0x999999, kRect, kFormat}};
  EXPECT_EQ(surface.draws, expected);
  EXPECT_EQ(static_cast<TColor>(0x999999), MixColors(0x000000, 0xFFFFFF, 0.4));
}

TEST(SkinTextTest, OwnColourAndMissingSectionDrawOnce) {
  TsGeneralData s = Section({0x111111, 1, 2, 3, 4}, {0, -1, -1, -1, -1});
  RecordingSurface own;
  SkinTextLook look;
  look.Section = &s;
  look.UseOwnColor = true;
  look.OwnColor = 0x0000FF;
  DrawSkinText(own, L"A", kRect, kFormat, look);
  EXPECT_EQ(own.draws, (std::vector<Draw>{{0x0000FF, kRect, kFormat | kTextNoClip}}));

  RecordingSurface plain;
  DrawSkinText(plain, L"A", kRect, kFormat, SkinTextLook{});
  ASSERT_EQ(plain.draws.size(), 1u);
  EXPECT_EQ(plain.draws[0].color, -2) << "the surface's colour is left as it is";
  EXPECT_EQ(plain.draws[0].format, kFormat);
}

TEST(SkinTextTest, SectionTextKeepsTheFormatOfTheMainDraw) {
  TsGeneralData s = Section({0x111111, -1, -1, -1, 0x222222}, {0, -1, -1, -1, -1});
  RecordingSurface surface;
  SkinTextLook look;
  look.Section = &s;
  look.NoClipMainText = false;
  DrawSkinText(surface, L"A", kRect, kFormat, look);
  ASSERT_EQ(surface.draws.size(), 2u);
  EXPECT_EQ(surface.draws[1].format, kFormat);
}

TEST(SkinTextTest, CutTextShortensWithAnEllipsis) {
  RecordingSurface surface;  // 7 pixels per character
  struct Case {
    std::wstring text;
    int width;
    std::wstring expected;
  } cases[] = {
      {L"ABCDEF", 42, L"ABCDEF"},  // fits exactly
      {L"ABCDEF", 35, L"AB..."},   // two letters and "..." take 35
      {L"ABCDEFG", 42, L"ABC..."},
      {L"ABCDEFG", 41, L"AB..."},
      {L"ABCDEF", 27, L""},        // not even one letter with "..."
      {L"ABCDEF", 0, L""},
      {L"ABCDEF", -5, L""},
      {L"", 10, L""},
  };
  for (const auto& c : cases) EXPECT_EQ(CutText(surface, c.text, c.width), c.expected) << c.width;
}

// Ink is a filled rectangle, so the glow's reach can be checked.
class BlockRasterizer : public TextRasterizer {
 public:
  void DrawText(Bitmap& mask, const std::wstring&, const Rect& rect, uint32_t) override {
    for (int y = rect.top; y < rect.bottom; ++y)
      for (int x = rect.left; x < rect.right; ++x)
        if (x >= 0 && y >= 0 && x < mask.Width() && y < mask.Height()) mask.Row(y)[x] = 0;
  }
};

TEST(SkinTextTest, GlowFollowsTheLooksSizeAndColour) {
  TsGeneralData s;
  s.GlowSize = 0;
  s.HotGlowSize = 2;
  s.HotGlowColor = 0x0000FF;
  BlockRasterizer rasterizer;
  Bitmap normal(40, 30, PixelFormat::pf24bit);
  PaintSkinTextGlow(normal, rasterizer, L"A", Rect{15, 10, 25, 20}, 0, s, false);
  EXPECT_EQ(normal.GetPixel(20, 15), 0u) << "no glow size in the normal look";

  Bitmap hot(40, 30, PixelFormat::pf24bit);
  PaintSkinTextGlow(hot, rasterizer, L"A", Rect{15, 10, 25, 20}, 0, s, true);
  EXPECT_EQ(hot.GetPixel(20, 15) & 0xFFFFFF, 0x0000FFu) << "full ink takes the glow colour";
  EXPECT_EQ(hot.GetPixel(0, 0), 0u) << "far from the text nothing changes";
}

}  // namespace
