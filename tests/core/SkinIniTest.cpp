// The options text as an in-memory INI file: line rules, typed reads with their fallbacks, and
// the inherited reads through PARENTCLASS, loops included.
#include <gtest/gtest.h>

#include "skin/SkinIni.h"

namespace {

const char* const kText =
    "; a comment\r\n"
    "stray=before any section\r\n"
    "  [ Button ]  \r\n"
    "  Color = 255 \r\n"
    "Text=a=b\r\n"
    "no equals sign\n"
    "Hex=$FF\n"
    "Hex2=0x10\n"
    "Wide=4294967295\n"
    "Bad=12px\n"
    "Flag=true\n"
    "Other=yes\n"
    "Version=6.5\n"
    "BadVersion=6,5\n"
    "Color=999\r"
    "[PANEL]\r"
    "X=1\r"
    "[button]\n"
    "Later=2\n";

}  // namespace

TEST(SkinIni, ParsesSectionsAndKeysByTheLineRules) {
  SkinIni ini = SkinIni::Parse(kText);
  ASSERT_EQ(ini.Sections().size(), 2u);
  EXPECT_EQ(ini.Sections()[0].name, "Button");
  EXPECT_EQ(ini.Sections()[1].name, "PANEL");
  EXPECT_EQ(ini.ReadString("BUTTON", "TEXT", "?"), "a=b");
  EXPECT_EQ(ini.ReadString("button", "later", "?"), "2");  // a repeated header continues the section
  EXPECT_EQ(ini.ReadString("BUTTON", "stray", "?"), "?");
  EXPECT_EQ(ini.ReadInteger("BUTTON", "COLOR", 0), 255);  // the first of two lines wins
  EXPECT_FALSE(ini.FindSection("MISSING"));
}

TEST(SkinIni, TypedReadsFallBackOnTextThatIsNotANumber) {
  SkinIni ini = SkinIni::Parse(kText);
  const struct {
    const char* key;
    int32_t expected;
  } integers[] = {{"Hex", 255}, {"Hex2", 16}, {"Wide", -1}, {"Bad", 42}, {"Missing", 42}, {"Text", 42}};
  for (const auto& c : integers) EXPECT_EQ(ini.ReadInteger("BUTTON", c.key, 42), c.expected) << c.key;
  EXPECT_TRUE(ini.ReadBool("BUTTON", "FLAG", false));
  EXPECT_FALSE(ini.ReadBool("BUTTON", "OTHER", true));
  EXPECT_TRUE(ini.ReadBool("BUTTON", "MISSING", true));
  EXPECT_DOUBLE_EQ(ini.ReadFloat("BUTTON", "VERSION", 0), 6.5);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("BUTTON", "BADVERSION", 1.5), 1.5);
}

TEST(SkinIni, InheritedReadsFollowTheParentChain) {
  SkinIni ini = SkinIni::Parse(
      "[BUTTON]\nCOLOR=100\nFONT=Arial\nGLOW=3\n"
      "[CHILD]\nPARENTCLASS=BUTTON\nGLOW=-1\nFONT=?\n"
      "[GRANDCHILD]\nPARENTCLASS=CHILD\n"
      "[SELF]\nPARENTCLASS=SELF\nGLOW=-1\n"
      "[QUESTION]\nPARENTCLASS=?\n"
      "[A]\nPARENTCLASS=B\n[B]\nPARENTCLASS=C\n[C]\nPARENTCLASS=A\nCOLOR=-1\n"
      "[ORPHAN]\nPARENTCLASS=NOWHERE\n"
      "[SYSTEM]\nPARENTCLASS=BUTTON\nCOLOR=-2147483633\nGLOW=-2\n");
  const struct {
    const char* section;
    const char* key;
    int32_t expected;
  } cases[] = {
      {"CHILD", "COLOR", 100},       // missing key: the parent's
      {"CHILD", "GLOW", 3},          // -1 always inherits
      {"GRANDCHILD", "COLOR", 100},  // two steps
      {"SELF", "GLOW", 7},           // a section that names itself uses the default
      {"QUESTION", "COLOR", 7},
      {"A", "COLOR", 7},             // a loop of three ends
      {"ORPHAN", "COLOR", 7},
      {"MISSING", "COLOR", 7},
      {"SYSTEM", "COLOR", -2147483633},  // a system colour of its own is negative, yet its own
      {"SYSTEM", "GLOW", -2},            // only -1 inherits
  };
  for (const auto& c : cases) EXPECT_EQ(ReadIniIntInherited(ini, c.section, c.key, 7), c.expected) << c.section << "/" << c.key;
  EXPECT_EQ(ReadIniStrInherited(ini, "CHILD", "FONT", "none"), "Arial");  // "?" stands for missing
  EXPECT_EQ(ReadIniStrInherited(ini, "A", "FONT", "none"), "none");
}

TEST(SkinIni, CommonSectionsReplaceOrAddSectionsButNotTheGlobalOne) {
  SkinIni skin = SkinIni::Parse("[GLOBALINFO]\nVERSION=6\n[BUTTON]\nCOLOR=1\nGLOW=1\n[EDIT]\nCOLOR=2\n");
  SkinIni common = SkinIni::Parse("[GLOBALINFO]\nVERSION=9\n[button]\nCOLOR=5\n[NEW]\nCOLOR=6\n");
  SkinIni merged = skin.MergedWith(common);
  ASSERT_EQ(merged.Sections().size(), 4u);
  EXPECT_EQ(merged.Sections()[1].name, "button");
  EXPECT_EQ(merged.ReadInteger("BUTTON", "COLOR", 0), 5);
  EXPECT_EQ(merged.ReadInteger("BUTTON", "GLOW", 0), 0);  // replaced whole
  EXPECT_EQ(merged.ReadInteger("NEW", "COLOR", 0), 6);
  EXPECT_EQ(merged.ReadInteger("GLOBALINFO", "VERSION", 0), 6);
}
