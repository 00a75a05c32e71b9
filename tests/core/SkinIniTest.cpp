// The options text as an in-memory INI file: line rules, typed reads with their fallbacks, and
// the inherited reads through PARENTCLASS, loops included.
#include <gtest/gtest.h>

#include "framework/Exception.h"
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

namespace {

// The inherited read as a plain walk along the chain, for comparison.
int32_t WalkedRead(const SkinIni& ini, std::string section, const std::string& key, int32_t fallback) {
  std::vector<std::string> visited;
  for (;;) {
    int32_t v = ini.ReadInteger(section, key, -1);
    if (v != -1) return v;
    visited.push_back(section);
    std::optional<std::string_view> parent = ini.Value(section, "PARENTCLASS");
    if (!parent || parent->empty() || *parent == "?") return fallback;
    for (const std::string& seen : visited)
      if (SameSkinName(seen, *parent)) return fallback;
    section = std::string(*parent);
  }
}

}  // namespace

TEST(SkinIni, InheritedReadsGiveTheSameAnswersInAnyOrder) {
  // Sections whose parents form chains, loops, self references, branches and dead ends; values
  // on a few of them. The answers are remembered per section, so the order of reads must not
  // change them.
  std::string text;
  const int count = 60;
  for (int i = 0; i < count; ++i) {
    text += "[S" + std::to_string(i) + "]\n";
    int parent = (i * 37 + 11) % (count + 6);  // beyond count: a section that does not exist
    if (i % 13 != 0) text += "PARENTCLASS=s" + std::to_string(parent) + "\n";
    if (i % 7 == 0) text += "COLOR=" + std::to_string(i) + "\n";
    if (i % 11 == 0) text += "COLOR=-1\nGLOW=" + std::to_string(i) + "\n";
  }
  for (int order = 0; order < 3; ++order) {
    SkinIni ini = SkinIni::Parse(text);
    for (int n = 0; n < count; ++n) {
      int i = order == 0 ? n : order == 1 ? count - 1 - n : (n * 17) % count;
      std::string name = "S" + std::to_string(i);
      for (const char* key : {"COLOR", "GLOW", "NONE"})
        EXPECT_EQ(ReadIniIntInherited(ini, name, key, -5), WalkedRead(ini, name, key, -5)) << name << "/" << key;
    }
  }
}

TEST(SkinIni, ADeepChainInheritsFromItsRoot) {
  std::string text = "[S0]\nCOLOR=42\nFONT=Root\n";
  for (int i = 1; i < 5000; ++i) text += "[S" + std::to_string(i) + "]\nPARENTCLASS=S" + std::to_string(i - 1) + "\n";
  SkinIni ini = SkinIni::Parse(text);
  EXPECT_EQ(ReadIniIntInherited(ini, "S4999", "COLOR", 0), 42);
  EXPECT_EQ(ReadIniIntInherited(ini, "S2500", "COLOR", 0), 42);
  EXPECT_EQ(ReadIniStrInherited(ini, "S4998", "FONT", "none"), "Root");
}

TEST(SkinIni, TextsBeyondTheSectionOrKeyLimitAreRefused) {
  EXPECT_GE(kMaxSkinIniSections, 100001u);  // room for the largest generated skins
  const SkinIniLimits limits{3, 4};
  const struct {
    const char* text;
    bool refused;
  } cases[] = {
      {"[A]\nk=1\n[B]\nk=1\n[C]\nk=1\nk=2\n", false},  // at both limits
      {"[A]\n[B]\n[C]\n[a]\n[b]\n", false},              // repeated headers make no new sections
      {"[A]\n[B]\n[C]\n[D]\n", true},
      {"[A]\nk=1\nk=1\nk=1\nk=1\nk=1\n", true},          // repeated keys count
      {"k=1\nk=1\nk=1\nk=1\nk=1\n[A]\n", false},           // lines outside a section do not
  };
  for (const auto& c : cases) {
    if (c.refused) {
      EXPECT_THROW(SkinIni::Parse(c.text, limits), EConvertError) << c.text;
    } else {
      EXPECT_NO_THROW(SkinIni::Parse(c.text, limits)) << c.text;
    }
  }
}
