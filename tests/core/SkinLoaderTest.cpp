// Choosing and loading a skin: the skin directory's normalisation, the list of available skins,
// archive before folder before stored skin (by name, else the first), stored skins without an
// archive, and the stored skin "PearlMist" with every value the main window uses.
#include <gtest/gtest.h>

#include "framework/StringList.h"
#include "skin/CommonIndexes.h"
#include "skin/ExtendedBorderImages.h"
#include "skin/GlobalColors.h"
#include "skin/SkinLoader.h"
#include "skin/StoredSkins.h"
#include "tests/core/SkinPearlMistValues.h"
#include "tests/core/SkinTestSupport.h"

using skintest::Archive;
using skintest::Bytes;

TEST(SkinLoader, SkinDirectoryIsNormalisedAgainstTheProgramFolder) {
  const struct {
    const wchar_t* value;
    const wchar_t* expected;
  } cases[] = {
      {L"Skins", L"C:\\App\\bin\\Skins\\"},
      {L"..\\Skins", L"C:\\App\\Skins\\"},
      {L"../Skins/", L"C:\\App\\Skins\\"},
      {L".\\Skins", L"C:\\App\\bin\\Skins\\"},
      {L"./Skins", L"C:\\App\\bin\\Skins\\"},
      {L"c:\\Skins", L"c:\\Skins\\"},
      {L"D:\\Skins\\", L"D:\\Skins\\"},
      {L"c:/Skins/", L"c:/Skins\\"},
      {L"\\\\server\\skins", L"\\\\server\\skins\\"},
      {L"", L"C:\\App\\bin\\"},
      {L"..", L"C:\\App\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(NormalizeSkinDirectory(c.value, L"C:\\App\\bin\\"), c.expected) << c.value;
  EXPECT_EQ(NormalizeSkinDirectory(L"D", L""), L"D:\\");
}

TEST(SkinLoader, ListsStoredSkinsFoldersAndArchivesSorted) {
  skintest::MemoryFileSystem files(L"C:\\App\\");
  files.Add(L"C:\\Skins\\Zeta\\Options.dat", Bytes(""));
  files.Add(L"C:\\Skins\\NoOptions\\Master.bmp", Bytes(""));
  files.Add(L"C:\\Skins\\Blue.Steel.vlz", Bytes(""));
  files.Add(L"C:\\Skins\\Amber.vlz", Bytes(""));
  files.Add(L"C:\\Skins\\Upper.VLZ", Bytes(""));
  files.Add(L"C:\\Skins\\.hidden.vlz", Bytes(""));
  TsStoredSkins stored;
  stored.Add()->SetName(L"Mist (internal)");
  const struct {
    int mode;
    std::wstring expected;
    const wchar_t* first;
  } cases[] = {
      {0, L"Mist (internal)\r\nZeta\r\n", L"Mist (internal)"},
      {1, L"Amber\r\nBlue\r\nMist (internal)\r\n", L"Mist (internal)"},
      {2, L"Amber\r\nBlue\r\nMist (internal)\r\nZeta\r\n", L"Mist (internal)"},
      {3, L"Mist (internal)\r\n", L"Mist (internal)"},
  };
  for (const auto& c : cases) {
    TStringList list;
    EXPECT_EQ(ListSkins(files, L"c:\\Skins", &stored, list, c.mode), c.first) << c.mode;
    EXPECT_EQ(list.Text(), c.expected) << c.mode;
  }
  TStringList none;
  EXPECT_EQ(ListSkins(files, L"c:\\Missing", nullptr, none, 2), L"");
  EXPECT_EQ(none.Count(), 0);
}

namespace {

struct Selection {
  skintest::MemoryFileSystem files{L"C:\\App\\"};
  skintest::TestDecoder decoder;
  TsStoredSkins stored;
  LoadedSkin skin;

  SkinLoadOutcome Load(const std::wstring& name) {
    SkinLoadRequest request;
    request.skinDirectory = L"c:\\Skins";
    request.skinName = name;
    request.storedSkins = &stored;
    request.files = &files;
    request.decoder = &decoder;
    return LoadSkin(skin, request);
  }
  std::string Author() const { return skin.Data.Author; }
};

std::vector<uint8_t> OptionsBy(const char* author) { return Bytes(std::string("[GLOBALINFO]\r\nAUTHOR=") + author + "\r\n"); }

}  // namespace

TEST(SkinLoader, AnArchiveComesBeforeAFolderAndAFolderBeforeAStoredSkin) {
  Selection s;
  s.stored.Add()->SetName(L"Blue");
  s.stored.Items(0)->SetData(Archive({{"Options.dat", OptionsBy("stored")}}));
  s.files.Add(L"C:\\Skins\\Blue\\Options.dat", OptionsBy("folder"));
  s.files.Add(L"c:\\Skins\\Blue\\M.BMP", skintest::Bmp(skintest::Filled(4, 2, PixelFormat::pf24bit, 0)));
  s.files.Add(L"C:\\Skins\\Blue.vlz", Archive({{"Options.dat", OptionsBy("archive")}}));

  SkinLoadOutcome outcome = s.Load(L"Blue");
  EXPECT_TRUE(outcome.loaded && outcome.isPacked);
  EXPECT_EQ(s.Author(), "archive");
  EXPECT_EQ(s.skin.Data.SkinPath, L"c:\\Skins\\");

  s.files = skintest::MemoryFileSystem(L"C:\\App\\");
  s.files.Add(L"C:\\Skins\\Blue\\Options.dat", OptionsBy("folder"));
  outcome = s.Load(L"Blue");
  EXPECT_TRUE(outcome.loaded);
  EXPECT_FALSE(outcome.isPacked);
  EXPECT_EQ(s.Author(), "folder");
  EXPECT_EQ(s.skin.Data.SkinPath, L"c:\\Skins\\Blue\\");

  s.files = skintest::MemoryFileSystem(L"C:\\App\\");
  outcome = s.Load(L"Blue");
  EXPECT_TRUE(outcome.loaded && outcome.isPacked);
  EXPECT_EQ(s.Author(), "stored");
  EXPECT_EQ(s.skin.Data.SkinPath, L"");
}

TEST(SkinLoader, AMissingSkinFallsBackToTheFirstStoredSkin) {
  Selection s;
  s.stored.Add()->SetName(L"First");
  s.stored.Items(0)->SetData(Archive({{"Options.dat", OptionsBy("first")}}));
  s.stored.Add()->SetName(L"Second");
  s.stored.Items(1)->SetData(Archive({{"Options.dat", OptionsBy("second")}}));

  SkinLoadOutcome byName = s.Load(L"Second");
  EXPECT_EQ(byName.skinName, L"Second");
  EXPECT_EQ(s.Author(), "second");

  SkinLoadOutcome fallback = s.Load(L"Nowhere");
  EXPECT_TRUE(fallback.loaded);
  EXPECT_EQ(fallback.skinName, L"First");
  EXPECT_EQ(s.Author(), "first");

  Selection empty;
  SkinLoadOutcome none = empty.Load(L"Nowhere");
  EXPECT_FALSE(none.loaded);
}

TEST(SkinLoader, ADamagedStoredArchiveRaisesItsError) {
  Selection s;
  s.stored.Add()->SetName(L"Bad");
  s.stored.Items(0)->SetData(Bytes("not an archive"));
  EXPECT_THROW(s.Load(L"Bad"), ESkinArchiveError);
}

TEST(SkinLoader, StoredSkinWithoutArchiveIsReadFromItsCollections) {
  Selection s;
  TsStoredSkin* stored = s.stored.Add();
  stored->SetName(L"Plain");
  stored->SetVersion(6.2);
  stored->SetAuthor(L"Someone");
  stored->SetShadow1Color(0x123456);
  stored->MasterBitmap() = skintest::Filled(30, 20, PixelFormat::pf32bit, 0xFF112233);
  TsSkinGeneral* button = stored->GeneralData()->Add();
  button->SectionName = "BUTTON";
  button->Color = 255;
  button->GradientData = "1;2;50;0;0";
  button->FontColor = "1 2 3 4 5";
  button->HotFontColor = "1 2 3";
  TsSkinImage* mask = stored->Images()->Add();
  mask->SectionName = "button";
  mask->PropertyName = "bordersmask";
  mask->Left = 0, mask->Top = 0, mask->Right = 18, mask->Bottom = 12;
  TsSkinImage* own = stored->Images()->Add();
  own->SectionName = "BUTTON";
  own->PropertyName = "GLOW0";
  own->Image = skintest::Filled(9, 9, PixelFormat::pf32bit, 0x80FFFFFF);
  own->ImageCount = 1;
  own->BorderWidth = 3;
  TsSkinPattern* first = stored->Patterns()->Add();
  first->SectionName = "FORM";
  first->PropertyName = "PATTERN";
  first->Name = "wood";
  first->Image = skintest::Filled(2, 2, PixelFormat::pf24bit, 0x010203);
  TsSkinPattern* again = stored->Patterns()->Add();
  again->SectionName = "PANEL";
  again->PropertyName = "PATTERN";
  again->Name = "wood";

  ASSERT_TRUE(s.Load(L"Plain").loaded);
  EXPECT_EQ(s.skin.MasterBitmap.Format(), PixelFormat::pf24bit);
  EXPECT_DOUBLE_EQ(s.skin.Data.Version, 6.2);
  EXPECT_EQ(s.skin.Data.Author, "Someone");
  EXPECT_EQ(s.skin.Data.Shadow1Color, 0x123456);
  EXPECT_EQ(s.skin.Data.BorderColor, 16711935);
  ASSERT_EQ(s.skin.Sections.size(), 1u);
  const TsGeneralData& section = s.skin.Sections[0];
  EXPECT_EQ(section.Color, 255);
  EXPECT_EQ(section.GradientArray.size(), 1u);
  EXPECT_EQ(section.FontColor, (std::array<TColor, 5>{1, 2, 3, 4, 5}));
  EXPECT_EQ(section.HotFontColor, (std::array<TColor, 5>{0, -1, -1, -1, -1}));
  EXPECT_EQ(section.BorderIndex, 0);
  const TsMaskData& border = s.skin.Items[0];
  EXPECT_EQ(border.SectionName, "BUTTON");
  EXPECT_EQ(border.ImageCount, 3);  // 0 becomes three states with a mask
  EXPECT_EQ(border.MaskType, 1);
  EXPECT_EQ(border.WL, 2);          // 18 / 9
  EXPECT_EQ(border.WT, 2);          // 12 / 6
  EXPECT_EQ(s.skin.Items[1].R, (Rect{0, 0, 9, 9}));
  EXPECT_EQ(s.skin.Items[1].WL, 3);
  ASSERT_EQ(s.skin.Patterns.size(), 2u);
  EXPECT_EQ(*s.skin.Patterns[1].Img, first->Image);  // borrowed by name
}

TEST(SkinLoader, StoredDataIsKeptAsLengthAndBytes) {
  TsStoredSkins stored;
  TsStoredSkin* skin = stored.Add();
  skin->SetData(Bytes("VLzf"));
  std::vector<uint8_t> written = skin->WriteData();
  EXPECT_EQ(written, (std::vector<uint8_t>{4, 0, 0, 0, 'V', 'L', 'z', 'f'}));
  TsStoredSkin* copy = stored.Add();
  copy->ReadData(written);
  EXPECT_EQ(copy->Data(), Bytes("VLzf"));
  written.pop_back();
  EXPECT_THROW(copy->ReadData(written), EConvertError);
}

TEST(SkinLoader, PearlMistLoadsWithEveryValueTheMainWindowUses) {
  Selection s;
  s.stored.Add()->SetName(kPearlMistSkinName);
  s.stored.Items(0)->SetData(PearlMistArchive());
  SkinLoadOutcome outcome = s.Load(L"PearlMist (internal)");
  ASSERT_TRUE(outcome.loaded);
  EXPECT_TRUE(outcome.isPacked);

  const TvlSkinConvertor& reader = skintest::PearlMist();
  std::string text(reader.Options->begin(), reader.Options->end());
  EXPECT_EQ(s.skin.Sections.size(), 26u);
  EXPECT_EQ(s.skin.Items.size(), 44u);
  EXPECT_EQ(s.skin.Patterns.size(), 0u);
  EXPECT_EQ(s.skin.MasterBitmap.Format(), PixelFormat::pf24bit);
  skintest::ExpectPearlMistTables(s.skin, text);

  TsCommonIndexes indexes = PrepareCommonIndexes(s.skin);
  EXPECT_GE(indexes.ExBorder, 0);
  EXPECT_GE(indexes.CheckBoxChecked, 0);
  EXPECT_GE(indexes.ScrollSliderV.BorderMask, 0);
  EXPECT_GE(indexes.ScrollButtonTop.GlyphMask, 0);
  EXPECT_EQ(indexes.ComboButton.Section, -1);
  EXPECT_EQ(indexes.TabTop.BorderMask, -1);

  TsExtendedBorderRequest request;
  request.active = request.extendedBorders = true;
  TsExtendedBorderImages shadow = PrepareExtendedBorders(s.skin, indexes.ExBorder, request);
  EXPECT_EQ(shadow.Margins, (Rect{16, 16, 16, 16}));  // FORMOFFSET with BORDERMODE 1
  EXPECT_EQ(shadow.Active.Width(), 112);
  EXPECT_EQ(shadow.Inactive.Height(), 140);
  EXPECT_FALSE(shadow.Active == shadow.Inactive);

  EXPECT_EQ(GlobalColor(s.skin), 15461355);
  EXPECT_EQ(GlobalFontColor(s.skin), 2171169);
  EXPECT_EQ(MenuHighlightColor(s.skin), 12632256);
  EXPECT_EQ(MenuHighlightTextColor(s.skin), PlainColor(clSystemColor | 14));  // HOTFONTCOLOR 0 is not used
}
