// The options loader: every value syntax that makes an image item, the pictures behind them,
// JPEG textures and patterns, sections with inheritance and gradients, corner resolution and
// the version message, on tiny skins made in memory.
#include <gtest/gtest.h>

#include "framework/Exception.h"
#include "skin/SkinOptionsLoader.h"
#include "tests/core/SkinTestSupport.h"

using skintest::Bytes;

namespace {

// A tiny skin: a 64 x 48 master bitmap, a 30 x 30 glow PNG with a transparent white corner, a
// 32-bit BMP, a plain border bitmap and two stand-in JPEGs, with the options text given.
struct TinySkin {
  std::vector<uint8_t> archive;
  TvlSkinConvertor reader;
  SkinIni options;
  SkinIni common;
  skintest::TestDecoder decoder;
  std::vector<std::wstring> messages;
  LoadedSkin skin;

  explicit TinySkin(const std::string& text) {
    Bitmap glow = skintest::Filled(30, 30, PixelFormat::pf32bit, 0x80336699);
    glow.SetPixel(0, 0, 0x00FFFFFF);
    archive = skintest::Archive({{"Options.dat", Bytes(text)},
                                 {"Master.bmp", skintest::Bmp(skintest::Filled(64, 48, PixelFormat::pf24bit, 0x102030))},
                                 {"GlowWhite.png", skintest::Png(glow)},
                                 {"Wide.bmp", skintest::Bmp(skintest::Filled(12, 6, PixelFormat::pf32bit, 0xFF0000FF))},
                                 {"Huge.bmp", skintest::Bmp(skintest::Filled(90, 60, PixelFormat::pf24bit, 0x445566))},
                                 {"Big.jpg", skintest::FakeJpeg(300, 300)},
                                 {"Under.jpg", skintest::FakeJpeg(299, 300)},
                                 {"Tall.jpg", skintest::FakeJpeg(200, 400)},
                                 {"Small.jpg", skintest::FakeJpeg(100, 100)}});
    reader.Source = SkinByteStream::Borrow(archive);
    ReadSkinArchive(reader);
    options = SkinIni::Parse(std::string(reader.Options->begin(), reader.Options->end()));
  }

  SkinLoadContext Context() {
    SkinLoadContext c;
    c.options = &options;
    c.commonSections = &common;
    c.images.archive = &reader;
    c.decoder = &decoder;
    c.showMessage = [this](const std::wstring& text) { messages.push_back(text); };
    return c;
  }

  LoadedSkin& Load() {
    SkinLoadContext c = Context();
    LoadImageItems(skin, c);
    LoadPatterns(skin, c);
    LoadSections(skin, c);
    return skin;
  }

  const TsMaskData& Item(std::string_view section, std::string_view key) {
    int i = skin.ImageItemIndexExact(section, key);
    EXPECT_GE(i, 0) << section << "/" << key;
    return skin.Items.at(static_cast<size_t>(std::max(i, 0)));
  }
  const TsGeneralData& Section(std::string_view name) {
    int i = skin.SectionIndexOf(name);
    EXPECT_GE(i, 0) << name;
    return skin.Sections.at(static_cast<size_t>(std::max(i, 0)));
  }
};

struct Margins {
  int wl, wt, wr, wb;
};
Margins MarginsOf(const TsMaskData& item) { return {item.WL, item.WT, item.WR, item.WB}; }
bool operator==(const Margins& a, const Margins& b) { return a.wl == b.wl && a.wt == b.wt && a.wr == b.wr && a.wb == b.wb; }

}  // namespace

TEST(SkinOptions, ValueSyntaxesParseTheirFixedColumnsAndFields) {
  std::optional<ImageItemValue> border = ParseImageItemValue("^0474^0000^0528^0036^0006^0006^0006^0006^3^1^5^1");
  ASSERT_TRUE(border);
  EXPECT_EQ(border->syntax, ImageItemSyntax::isBorder);
  EXPECT_EQ(border->R, (Rect{474, 0, 528, 36}));
  EXPECT_EQ((Margins{border->WL, border->WT, border->WR, border->WB}), (Margins{6, 6, 6, 6}));
  EXPECT_EQ(border->ImageCount, 3);
  EXPECT_EQ(border->MaskType, 1);
  EXPECT_EQ(border->StretchMode, 5);
  EXPECT_EQ(border->BorderWidth, 1);

  std::optional<ImageItemValue> glyph = ParseImageItemValue("@0133@0000@0217@0015@3@0");
  ASSERT_TRUE(glyph);
  EXPECT_EQ(glyph->syntax, ImageItemSyntax::isGlyph);
  EXPECT_EQ(glyph->R, (Rect{133, 0, 217, 15}));
  EXPECT_EQ(glyph->ImageCount, 3);
  EXPECT_EQ(glyph->MaskType, 0);

  std::optional<ImageItemValue> texture = ParseImageItemValue("~0029~0034~0032~0040~10~1");
  ASSERT_TRUE(texture);
  EXPECT_EQ(texture->StretchMode, 10);
  EXPECT_EQ(texture->MaskType, 1);
  EXPECT_EQ(texture->ImageCount, 1);
  EXPECT_EQ(ParseImageItemValue("~0029~0034~0032~0040~10")->MaskType, 0);  // column 25 missing

  std::optional<ImageItemValue> own = ParseImageItemValue("!EXBOR.PNG!2!0!3!0043!0068!0044!0043");
  ASSERT_TRUE(own);
  EXPECT_EQ(own->fileName, "EXBOR.PNG");
  EXPECT_EQ(own->ImageCount, 2);
  EXPECT_EQ(own->ImgType, 3);
  EXPECT_TRUE(own->hasMargins);
  EXPECT_EQ((Margins{own->WL, own->WT, own->WR, own->WB}), (Margins{43, 68, 44, 43}));
  EXPECT_FALSE(ParseImageItemValue("!GLOWCLOSE.PNG!1!0!4")->hasMargins);
  EXPECT_EQ(ParseImageItemValue("!X.PNG!1!0!9")->ImgType, 4);  // above 4 counts as 4

  EXPECT_EQ(ParseImageItemValue("BUTTONHUGE.BMP")->syntax, ImageItemSyntax::isPlainBitmap);
  std::optional<ImageItemValue> legacy = ParseImageItemValue("OLD#1 (1 2 30 40) (3 1)");
  ASSERT_TRUE(legacy);
  EXPECT_EQ(legacy->R, (Rect{1, 2, 30, 40}));
  EXPECT_EQ(legacy->StretchMode, 1);
}

TEST(SkinOptions, ValuesThatMakeNoItemOrAreIncomplete) {
  for (const char* none : {"", "100", "TRUE", "N/A", "#", "!PICTURE.JPG!1!0!1", "OLD#garbage", "button.bmp"})
    EXPECT_FALSE(ParseImageItemValue(none)) << none;
  for (const char* incomplete : {"^0474^0000^0528^0036^0006^0006^0006^0006^3^1^5", "^04x4^0000^0528^0036^0006^0006^0006^0006^3^1^5^1",
                                 "@0133@0000@0217@0015@3", "!A.PNG!1!0!3!1", "!A.PNG!1!0!3!1!2!3", "!A.PNG!1", "!A.BMP!x!0!3"})
    EXPECT_THROW(ParseImageItemValue(incomplete), EConvertError) << incomplete;
}

TEST(SkinOptions, ImageItemsTakeTheirPicturesAndMargins) {
  TinySkin t(
      "[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\n"
      "EXBORDER=!GLOWWHITE.PNG!2!0!3!0043!0068!0044!0043\n"
      "BICONCLOSEGLOW0=!GLOWWHITE.PNG!1!0!4\n"
      "[BUTTON]\n"
      "BORDERSMASK=^0474^0000^0528^0036^0006^0006^0006^0006^3^1^5^1\n"
      "SMALL=^0003^0039^0006^0040^0000^0000^0000^0000^1^0^0^0\n"
      "WIDTHS=^0000^0000^0030^0030^0000^0000^0000^0000^3^1^0^4\n"
      "GLOW0=!GLOWWHITE.PNG!1!0!3!0015!0015!0015!0015\n"
      "WIDEBMP=!WIDE.BMP!1!0!2\n"
      "WIDETEXTURE=!WIDE.BMP!1!0!1\n"
      "HUGE=HUGE.BMP\n"
      "MISSING=!TL.BMP!1!0!0\n"
      "CORNER=CORNER.BMP\n"
      "LOWER=master.bmp\n"
      "NOTHING=N/A\n");
  t.Load();
  EXPECT_EQ(t.skin.MasterBitmap.Width(), 64);
  EXPECT_EQ(t.skin.MasterBitmap.Format(), PixelFormat::pf24bit);

  const TsMaskData& border = t.Item("BUTTON", "BORDERSMASK");
  EXPECT_EQ(border.Image, nullptr);
  EXPECT_EQ(border.ImgType, TvlImgType::itisaBorder);
  EXPECT_EQ(border.R, (Rect{474, 0, 528, 36}));  // kept as written; painters clip to the master
  EXPECT_EQ(MarginsOf(border), (Margins{6, 6, 6, 6}));
  EXPECT_EQ(MarginsOf(t.Item("BUTTON", "SMALL")), (Margins{1, 0, 1, 0}));  // 3 / 3 and 1 / 3
  EXPECT_EQ(MarginsOf(t.Item("BUTTON", "WIDTHS")), (Margins{4, 4, 4, 4}));  // BorderWidth for all four

  const TsMaskData& glow = t.Item("BUTTON", "GLOW0");
  ASSERT_NE(glow.Image, nullptr);
  EXPECT_EQ(glow.Image->Format(), PixelFormat::pf32bit);
  EXPECT_EQ(glow.ImgType, TvlImgType::itisaGlow);
  EXPECT_EQ(glow.R, (Rect{0, 0, 30, 30}));
  EXPECT_EQ(glow.StretchMode, 4);
  EXPECT_EQ(MarginsOf(glow), (Margins{15, 15, 15, 15}));
  EXPECT_EQ(glow.Image->GetPixel(0, 0), 0u);  // transparent white became transparent black
  EXPECT_EQ(glow.Image->GetPixel(1, 1), 0x80336699u);

  const TsMaskData& computed = t.Item("GLOBALINFO", "BICONCLOSEGLOW0");
  EXPECT_EQ(computed.ImgType, TvlImgType::itisaPngGlyph);
  EXPECT_EQ(MarginsOf(computed), (Margins{10, 10, 10, 10}));  // 30 / (1 * 3), 30 / ((0 + 1) * 3)

  EXPECT_EQ(t.Item("BUTTON", "WIDEBMP").Image->Format(), PixelFormat::pf24bit);     // glyph BMPs become 24-bit
  EXPECT_EQ(t.Item("BUTTON", "WIDETEXTURE").Image->Format(), PixelFormat::pf32bit);  // textures keep theirs

  const TsMaskData& huge = t.Item("BUTTON", "HUGE");
  EXPECT_EQ(huge.ImageCount, 3);
  EXPECT_EQ(huge.MaskType, 1);
  EXPECT_EQ(huge.R, (Rect{0, 0, 90, 60}));
  EXPECT_EQ(MarginsOf(huge), (Margins{10, 10, 10, 10}));

  for (const char* key : {"MISSING", "CORNER", "LOWER", "NOTHING"}) EXPECT_EQ(t.skin.ImageItemIndexExact("BUTTON", key), -1) << key;
  EXPECT_EQ(t.skin.Items.size(), 9u);
}

TEST(SkinOptions, JpegPicturesBecomePatternsOrTextureItemsBySize) {
  // 90000 pixels or more stay patterns; 200 x 400 is 80000 pixels and so becomes a texture item.
  TinySkin t("[FORM]\nPATTERN=BIG.JPG\nHOTPATTERN=SMALL.JPG\nUNDER=UNDER.JPG\nTALL=TALL.JPG\nOTHER=NONE.JPEG\n");
  t.Load();
  ASSERT_EQ(t.skin.Patterns.size(), 1u);
  EXPECT_EQ(t.skin.Patterns[0].SectionName, "FORM");
  EXPECT_EQ(t.skin.Patterns[0].PropertyName, "PATTERN");
  EXPECT_EQ(t.skin.Patterns[0].Img->Width(), 300);
  for (const char* key : {"HOTPATTERN", "UNDER", "TALL"}) {
    const TsMaskData& texture = t.Item("FORM", key);
    EXPECT_EQ(texture.ImgType, TvlImgType::itisaTexture) << key;
    EXPECT_EQ(texture.ImageCount, 1) << key;
    EXPECT_EQ(texture.R, Rect{}) << key;
  }
  EXPECT_EQ(t.Item("FORM", "HOTPATTERN").Image->Width(), 100);
  EXPECT_EQ(t.skin.Items.size(), 3u);
  EXPECT_EQ(t.skin.JpegPatternIndexOf(t.skin.SectionIndexOf("FORM"), "FORM", "PATTERN"), 0);
}

TEST(SkinOptions, SectionsInheritThroughParentClass) {
  TinySkin t(
      "[GLOBALINFO]\nVERSION=6.5\n"
      "[BUTTON]\nCOLOR=255\nFONTCOLOR=3484708\nTCLEFT=16777215\nGLOW=1\nFADINGENABLED=TRUE\n"
      "BORDERSMASK=^0000^0000^0030^0020^0002^0002^0002^0002^3^1^0^0\n"
      "[NOCOLOR]\nPARENTCLASS=BUTTON\n"
      "[MINUSONE]\nPARENTCLASS=BUTTON\nCOLOR=-1\nBORDERSMASK=N/A\n"
      "[SELF]\nPARENTCLASS=SELF\n"
      "[LOOPA]\nPARENTCLASS=LOOPB\n[LOOPB]\nPARENTCLASS=LOOPA\n"
      "[SYSTEM]\nPARENTCLASS=BUTTON\nCOLOR=-2147483633\nHOTCOLOR=-2147483633\nFONTCOLOR=-2147483640\n");
  t.Load();
  const int buttonBorder = t.skin.ImageItemIndexExact("BUTTON", "BORDERSMASK");
  for (const char* name : {"NOCOLOR", "MINUSONE"}) {
    const TsGeneralData& s = t.Section(name);
    EXPECT_EQ(s.Color, 255) << name;
    EXPECT_EQ(s.FontColor[0], 3484708) << name;
    EXPECT_EQ(s.FontColor[1], 16777215) << name;
    EXPECT_EQ(s.FontColor[2], -1) << name;
    EXPECT_TRUE(s.FadingEnabled) << name;
    EXPECT_EQ(s.BorderIndex, buttonBorder) << name;  // "N/A" makes no item: the parent's
    EXPECT_EQ(s.ParentClass, "BUTTON");
  }
  for (const char* name : {"SELF", "LOOPA", "LOOPB"}) {
    const TsGeneralData& s = t.Section(name);
    EXPECT_EQ(s.Color, 16777215) << name;
    EXPECT_EQ(s.FadingIterations, 5) << name;
    EXPECT_EQ(s.GradientData, " ") << name;
    EXPECT_EQ(s.BorderIndex, -1) << name;
  }
  // Own system colours (negative numbers) win over the parent's colours.
  const TsGeneralData& system = t.Section("SYSTEM");
  EXPECT_EQ(system.Color, PlainColor(clBtnFace));
  EXPECT_EQ(system.HotColor, clBtnFace);
  EXPECT_EQ(system.FontColor[0], clSystemColor | 8);
  EXPECT_EQ(system.FontColor[1], 16777215);  // not given: the parent's
  EXPECT_EQ(t.skin.SectionIndexOf("button"), -1);
  EXPECT_EQ(t.Section("GLOBALINFO").BorderIndex, -1);
  EXPECT_TRUE(t.messages.empty());
}

TEST(SkinOptions, GradientTextsGiveStepsOfFiveFields) {
  const struct {
    const char* text;
    std::vector<std::array<int, 4>> steps;  // Color1, Color2, Percent, Mode
  } cases[] = {
      {"16777215;15198183;50;0;0", {{16777215, 15198183, 50, 0}}},
      {"16777215;15198183;50;0;0;1;2", {{16777215, 15198183, 50, 0}}},  // seven fields: one step
      {"-5;-1;300;2;0", {{0, 0, 100, 2}}},                               // clamped
      {"1;2;-7;1;0;3;4;5;0;9", {{1, 2, 0, 1}, {3, 4, 5, 0}}},
      {"", {}},
      {"1;2;3;4", {}},
      {"x;2;3;4;5", {{0, 2, 3, 4}}},  // a field that is not a number counts as 0
  };
  for (const auto& c : cases) {
    TsGradArray steps = ParseGradient(c.text);
    ASSERT_EQ(steps.size(), c.steps.size()) << c.text;
    for (size_t i = 0; i < steps.size(); ++i) {
      EXPECT_EQ(steps[i].Color1, c.steps[i][0]) << c.text;
      EXPECT_EQ(steps[i].Color2, c.steps[i][1]) << c.text;
      EXPECT_EQ(steps[i].Percent, c.steps[i][2]) << c.text;
      EXPECT_EQ(steps[i].Mode, c.steps[i][3]) << c.text;
    }
  }
  TinySkin t("[A]\nGRADIENTDATA=16777215;15198183;50;0;0\n[B]\nGRADIENTDATA= \n[C]\nHOTGRADIENTDATA=1;2;3;1;0\n");
  t.Load();
  EXPECT_EQ(t.Section("A").GradientArray.size(), 1u);
  EXPECT_TRUE(t.Section("B").GradientArray.empty());
  EXPECT_EQ(t.Section("C").HotGradientArray.size(), 1u);
  EXPECT_EQ(t.Section("C").HotGradientData, "1;2;3;1;0");
}

TEST(SkinOptions, CornersFollowTheParentAndGlobalInfoIsLeftAlone) {
  TinySkin t(
      "[GLOBALINFO]\nBORDERSMASK=^0000^0000^0003^0003^0000^0000^0000^0000^1^0^0^0\n"
      "[PANEL]\nBORDERSMASK=^0000^0000^0006^0006^0000^0000^0000^0000^1^0^0^0\n"
      "IMGTOPLEFT=@0000@0000@0003@0003@1@0\n"
      "[PANEL_LOW]\nPARENTCLASS=PANEL\nIMGBTMRIGHT=@0001@0001@0004@0004@1@0\n");
  t.Load();
  const TsGeneralData& low = t.Section("PANEL_LOW");
  EXPECT_EQ(low.BorderIndex, t.skin.ImageItemIndexExact("PANEL", "BORDERSMASK"));
  EXPECT_EQ(low.ImgTL, t.skin.ImageItemIndexExact("PANEL", "IMGTOPLEFT"));
  EXPECT_EQ(low.ImgBR, t.skin.ImageItemIndexExact("PANEL_LOW", "IMGBTMRIGHT"));
  EXPECT_EQ(low.ImgTR, -1);
  EXPECT_EQ(t.Section("GLOBALINFO").BorderIndex, -1);
  EXPECT_EQ(t.skin.ImageItemIndexOf(t.skin.SectionIndexOf("PANEL_LOW"), "PANEL_LOW", "BORDERSMASK"), low.BorderIndex);
}

TEST(SkinOptions, SkinDataComesFromGlobalInfoAndNewVersionsGetTheMessage) {
  TinySkin t("[GLOBALINFO]\nVERSION=7\nBORDERWIDTH=26\nSHADOW1BLUR=x\nMAXHEIGHT=70000\nAUTHOR=Someone\n");
  t.Load();
  EXPECT_DOUBLE_EQ(t.skin.Data.Version, 7.0);
  EXPECT_EQ(t.skin.Data.BorderWidth, 26);
  EXPECT_EQ(t.skin.Data.Shadow1Blur, -1);    // not a number: the default
  EXPECT_EQ(t.skin.Data.TitleHeight, 30);    // missing: the default
  EXPECT_EQ(t.skin.Data.FormOffset, 8);
  EXPECT_EQ(t.skin.Data.MaxHeight, static_cast<int16_t>(70000));  // 16-bit field
  EXPECT_EQ(t.skin.Data.Author, "Someone");
  ASSERT_EQ(t.messages.size(), 1u);
  EXPECT_EQ(t.messages[0], kSkinVersionMessage);
}

TEST(SkinOptions, AnIncompleteValueEndsTheLoadWithTheKeyNamed) {
  TinySkin t("[BUTTON]\nBORDERSMASK=^0474^0000\n");
  try {
    LoadImageItems(t.skin, t.Context());
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_NE(e.Message().find(L"[BUTTON] BORDERSMASK"), std::wstring::npos);
  }
}

TEST(SkinOptions, CommonSectionsAddFilePicturesAndReplaceSections) {
  TinySkin t("[BUTTON]\nCOLOR=1\nGLOW=2\n");
  skintest::MemoryFileSystem files;
  files.Add(L"C:\\Skins\\Blue\\EXTRA.BMP", skintest::Bmp(skintest::Filled(9, 6, PixelFormat::pf24bit, 0x112233)));
  t.common = SkinIni::Parse("[BUTTON]\nCOLOR=5\nBORDERSMASK=EXTRA.BMP\nOTHER=^0000^0000^0003^0003^0000^0000^0000^0000^1^0^0^0\n[NEW]\nCOLOR=6\n");
  SkinLoadContext c = t.Context();
  c.images.files = &files;
  c.images.skinPath = L"C:\\Skins\\Blue\\";
  LoadImageItems(t.skin, c);
  LoadSections(t.skin, c);
  EXPECT_GE(t.skin.ImageItemIndexExact("BUTTON", "BORDERSMASK"), 0);
  EXPECT_EQ(t.skin.ImageItemIndexExact("BUTTON", "OTHER"), -1);  // only file pictures and legacy items
  EXPECT_EQ(t.Section("BUTTON").Color, 5);
  EXPECT_EQ(t.Section("BUTTON").GlowCount, 0);
  EXPECT_EQ(t.Section("NEW").Color, 6);
}

TEST(SkinOptions, CornersAlongManyChainsMatchTheLookupOfThePaintingCode) {
  // Parents that chain, loop, name themselves, differ in case (no match) or are missing; corner
  // items on some sections. Resolved while loading, the corners must equal what the painters'
  // own lookup finds.
  std::string text = "[GLOBALINFO]\nVERSION=6\n";
  const int count = 80;
  for (int i = 0; i < count; ++i) {
    text += "[S" + std::to_string(i) + "]\n";
    int parent = (i * 29 + 5) % (count + 4);
    if (i % 9 != 0) text += std::string("PARENTCLASS=") + (i % 10 == 3 ? "s" : "S") + std::to_string(parent) + "\n";
    if (i % 6 == 0) text += "BORDERSMASK=^0000^0000^0006^0006^0000^0000^0000^0000^1^0^0^0\n";
    if (i % 8 == 1) text += "IMGTOPLEFT=@0000@0000@0003@0003@1@0\n";
  }
  TinySkin t(text);
  t.Load();
  for (size_t i = 0; i < t.skin.Sections.size(); ++i) {
    const TsGeneralData& s = t.skin.Sections[i];
    if (s.ClassName == "GLOBALINFO") continue;
    int index = static_cast<int>(i);
    EXPECT_EQ(s.BorderIndex, t.skin.ImageItemIndexOf(index, s.ClassName, "BORDERSMASK")) << s.ClassName;
    EXPECT_EQ(s.ImgTL, t.skin.ImageItemIndexOf(index, s.ClassName, "IMGTOPLEFT")) << s.ClassName;
    EXPECT_EQ(s.ImgBR, -1);
  }
}

TEST(SkinOptions, ValuesAreKeptWithinTheirMeaningfulRange) {
  TinySkin t(
      "[BUTTON]\nTRANSPARENCY=2147483647\nIMAGEPERCENT=-5\nGRADIENTPERCENT=1000\nHOTTRANSPARENCY=101\n"
      "HOTIMAGEPERCENT=50\nHOTGRADIENTPERCENT=-2147483648\n"
      "BORDERSMASK=^0000^0000^0006^0006^0099^0000^0000^0000^9^0^0^0\n"
      "WIDE=pic# -2147483648 0 2147483647 40 3 1\n"
      "TALL=pic# 0 0 8 4 1 9\n");
  t.Load();
  const TsGeneralData& button = t.Section("BUTTON");
  EXPECT_EQ(button.Transparency, 100);
  EXPECT_EQ(button.ImagePercent, 0);
  EXPECT_EQ(button.GradientPercent, 100);
  EXPECT_EQ(button.HotTransparency, 100);
  EXPECT_EQ(button.HotImagePercent, 50);
  EXPECT_EQ(button.HotGradientPercent, 0);

  const TsMaskData& border = t.Item("BUTTON", "BORDERSMASK");
  EXPECT_EQ(border.ImageCount, 6);  // at most one state per pixel of a 6 pixels wide picture
  EXPECT_EQ(border.WL, 1);          // a margin within one state picture
  const TsMaskData& wide = t.Item("BUTTON", "WIDE");
  EXPECT_EQ(wide.R, (Rect{0, 0, 32768, 40}));  // no width beyond what a picture can have
  EXPECT_EQ(StateWidth(wide), 32768 / 3);
  const TsMaskData& tall = t.Item("BUTTON", "TALL");
  EXPECT_EQ(tall.MaskType, 3);  // four rows of states at most in 4 pixels
}
