// The skinned menus' arithmetic and the system menu's entries and states, on the stored skin's
// values where the skin decides them.
#include <gtest/gtest.h>

#include "frame/MenuMetrics.h"
#include "frame/SystemMenuModel.h"
#include "skin/EmbeddedSkins.h"
#include "skin/SkinLoader.h"
#include "skin/StoredSkins.h"
#include "framework/Strings.h"
#include "tests/core/SkinTestSupport.h"

using namespace menu_metrics;

namespace {

const LoadedSkin& StoredSkin() {
  static const LoadedSkin skin = [] {
    skintest::MemoryFileSystem files{L"C:\\App\\"};
    skintest::TestDecoder decoder;
    TsStoredSkins stored;
    stored.Add()->SetName(kPearlMistSkinName);
    stored.Items(0)->SetData(PearlMistArchive());
    LoadedSkin loaded;
    SkinLoadRequest request;
    request.skinDirectory = L"c:\\Skins";
    request.skinName = L"PearlMist (internal)";
    request.storedSkins = &stored;
    request.files = &files;
    request.decoder = &decoder;
    EXPECT_TRUE(LoadSkin(loaded, request).loaded);
    return loaded;
  }();
  return skin;
}

int MenuBorderWidthOf(const LoadedSkin& skin) {
  int mask = skin.ImageItemIndexExact("MAINMENU", "BORDERSMASK");
  return SkinBorderWidth(skin.IsValidItem(mask), skin.IsValidItem(mask) ? skin.Items[static_cast<size_t>(mask)].BorderWidth : 0);
}

}  // namespace

TEST(MenuMetrics, StoredSkinGivesTheMenuBorderAndTheGlyphItems) {
  const LoadedSkin& skin = StoredSkin();
  EXPECT_EQ(MenuBorderWidthOf(skin), 3);
  struct Case {
    const char* section;
    const char* key;
    bool present;
  } cases[] = {
      {"GLOBALINFO", "CHECK", true},       {"GLOBALINFO", "RADIOCHECKED", true}, {"GLOBALINFO", "BOXCHECKED", true},
      {"MAINMENU", "BORDERSMASK", true},   {"MENUITEM", "BORDERSMASK", true},    {"DIVIDERV", "BORDERSMASK", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "." + c.key);
    EXPECT_EQ(skin.IsValidItem(skin.ImageItemIndexExact(c.section, c.key)), c.present);
  }
  // Sections the menus paint from: the stored skin has no title and no extra-line section.
  EXPECT_GE(skin.SectionIndexOf("MAINMENU"), 0);
  EXPECT_GE(skin.SectionIndexOf("ICOLINE"), 0);
  EXPECT_GE(skin.SectionIndexOf("DIVIDERV"), 0);
  EXPECT_LT(skin.SectionIndexOf("TOOLBAR"), 0);
  EXPECT_LT(skin.SectionIndexOf("EXTRALINE"), 0);
}

TEST(MenuMetrics, BorderWidthOfTheMenuMask) {
  struct Case {
    bool exists;
    int width, expected;
  } cases[] = {{true, 4, 4}, {true, 0, 3}, {true, -2, 3}, {false, 5, 0}};
  for (const auto& c : cases) EXPECT_EQ(SkinBorderWidth(c.exists, c.width), c.expected) << c.width;
}

TEST(MenuMetrics, ItemKindsAndTheirTexts) {
  struct Case {
    const wchar_t* caption;
    ItemKind kind;
    const wchar_t* measured;  // with the shortcut "Alt+F4"
  } cases[] = {
      {L"-", ItemKind::Separator, L""},
      {L"-Options-", ItemKind::Title, L"--Options--"},
      {L"--", ItemKind::Title, L"----"},
      {L"&Close", ItemKind::Ordinary, L"&Close\tAlt+F4"},
      {L"-x", ItemKind::Ordinary, L"-x\tAlt+F4"},
      {L"", ItemKind::Ordinary, L"\tAlt+F4"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(bv::WideToUtf8(c.caption));
    EXPECT_EQ(KindOfCaption(c.caption), c.kind);
    EXPECT_EQ(MeasuredText(c.kind, c.caption, L"Alt+F4"), c.measured);
  }
  EXPECT_EQ(MeasuredText(ItemKind::Ordinary, L"Move", L""), L"Move");
  EXPECT_EQ(TitleText(L"-Section-"), L"Section");
  EXPECT_EQ(TitleText(L"Plain"), L"Plain");
  EXPECT_EQ(WithoutAmpersands(L"Mi&nimize && more"), L"Minimize  more");
}

TEST(MenuMetrics, ItemSizes) {
  const MenuSpacing spacing;  // margin 2, spacing 6
  auto input = [](ItemKind kind, int text, int letter, int glyph, int extra, bool beforeBreak) {
    ItemMeasureInput in;
    in.kind = kind;
    in.textWidth = text;
    in.letterHeight = letter;
    in.glyphWidth = in.glyphHeight = glyph;
    in.extraLineWidth = extra;
    in.beforeFirstBreak = beforeBreak;
    return in;
  };
  struct Case {
    const char* name;
    ItemMeasureInput in;
    ItemSize expected;
  } cases[] = {
      // 2 * 16 + 50 + 3 * 2 + 6 = 94; the line 13 * 1.25 = 16.25 -> 16, glyph 16, + 4.
      {"ordinary", input(ItemKind::Ordinary, 50, 13, 16, 0, true), {94, 20}},
      // 16 * 1.25 = 20 is taller than the glyph.
      {"tall font", input(ItemKind::Ordinary, 50, 16, 16, 0, true), {94, 24}},
      // 10 * 1.25 = 12.5 rounds to the even 12; the glyph decides.
      {"half rounds to even", input(ItemKind::Title, 50, 10, 16, 0, true), {94, 16}},
      {"title", input(ItemKind::Title, 40, 13, 16, 0, true), {84, 20}},
      {"separator", input(ItemKind::Separator, 0, 13, 16, 0, true), {44, 2}},
      {"extra line", input(ItemKind::Ordinary, 50, 13, 16, 32, true), {126, 20}},
      {"extra line after a column break", input(ItemKind::Ordinary, 50, 13, 16, 32, false), {94, 20}},
      {"large glyph", input(ItemKind::Ordinary, 10, 13, 32, 0, true), {86, 36}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MeasureItem(c.in, spacing), c.expected);
  }
}

TEST(MenuMetrics, IconColumnSeparatorAndExtraLine) {
  const MenuSpacing spacing;
  EXPECT_EQ(IconColumnWidth(16, spacing), 24);
  EXPECT_EQ(EffectiveExtraLineWidth(true, true, 32), 32);
  EXPECT_EQ(EffectiveExtraLineWidth(true, false, 32), 0);
  EXPECT_EQ(EffectiveExtraLineWidth(false, true, 32), 0);
  struct Case {
    int itemWidth, extra;
    Span expected;
  } cases[] = {
      // From past the icon column (24 + 2) to 2 * 2 + 6 before the right edge.
      {120, 0, {26, 110}},
      {120, 32, {58, 78}},
      {20, 0, {26, 26}},  // narrower than the column: an empty span
  };
  for (const auto& c : cases)
    EXPECT_EQ(SeparatorSpan(c.itemWidth, c.extra, IconColumnWidth(16, spacing), spacing), c.expected) << c.itemWidth;
}

TEST(MenuMetrics, MenuSizeFromItsColumns) {
  const MenuSpacing spacing;  // border 3
  struct Case {
    const char* name;
    std::vector<MeasuredItem> items;
    ItemSize expected;
  } cases[] = {
      {"empty", {}, {6, 6}},
      {"one column", {{{90, 20}}, {{100, 20}}, {{44, 2}}}, {100 + 12 + 6, 42 + 6}},
      {"two columns", {{{90, 20}}, {{100, 20}}, {{60, 20}, true}}, {112 + 4 + 72 + 6, 40 + 6}},
      {"a break on the first item starts no empty column", {{{90, 20}, true}}, {90 + 12 + 6, 20 + 6}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MenuSize(c.items, spacing), c.expected);
  }
}

TEST(MenuMetrics, SystemMenuGlyphsAndPlacement) {
  struct Case {
    int command;
    wchar_t glyph;
  } cases[] = {{0xF020, L'0'}, {0xF030, L'1'}, {0xF060, L'r'}, {0xF120, L'2'}, {0xF010, 0}, {0xF000, 0}, {100, 0}};
  for (const auto& c : cases) EXPECT_EQ(SystemMenuGlyph(c.command), c.glyph) << c.command;
  EXPECT_EQ(GlyphOffset(20, 16), 2);
  EXPECT_EQ(GlyphOffset(21, 16), 2);
  EXPECT_EQ(CentredTop(Rect{0, 10, 50, 30}, 13), 13);
}

TEST(MenuMetrics, SkinChoiceEntries) {
  // 45 skins: columns start at 20 and 40.
  std::vector<int> starts;
  for (int i = 0; i < 45; ++i)
    if (SkinEntryStartsColumn(i)) starts.push_back(i);
  EXPECT_EQ(starts, (std::vector<int>{20, 40}));
  struct Case {
    const wchar_t* caption;
    const wchar_t* name;
  } cases[] = {
      {L"PearlMist (internal)", L"PearlMist (internal)"},
      {L"&Pearl&Mist (internal) (internal)x", L"PearlMist (internal)"},
      {L"Blue && Gold", L"Blue  Gold"},
      {L"Plain", L"Plain"},
  };
  for (const auto& c : cases) EXPECT_EQ(SkinNameOfEntry(c.caption), c.name);
}

namespace {

using namespace system_menu;

std::vector<PlatformEntry> PlatformMenu(std::vector<PlatformEntry> extra = {}) {
  std::vector<PlatformEntry> entries = {{kRestore, L"&Restore"}, {kMove, L"&Move"},          {kSize, L"&Size"},
                                        {kMinimize, L"Mi&nimize"}, {kMaximize, L"Ma&ximize"}, {0, L""}};
  entries.insert(entries.end(), extra.begin(), extra.end());
  entries.push_back({kClose, L"&Close\tAlt+F4"});
  return entries;
}

std::wstring Outline(const std::vector<Entry>& entries) {
  std::wstring text;
  for (const Entry& e : entries) {
    text += e.kind == EntryKind::Separator ? L"-" : e.caption;
    if (!e.shortcut.empty()) text += L"[" + e.shortcut + L"]";
    text += L"|";
  }
  return text;
}

}  // namespace

TEST(SystemMenuModel, EntriesFromThePlatformMenu) {
  struct Case {
    const char* name;
    std::vector<PlatformEntry> platform;
    std::wstring expected;
  } cases[] = {
      {"standard", PlatformMenu(), L"&Restore|&Move|&Size|Mi&nimize|Ma&ximize|-|&Close[Alt+F4]|"},
      {"one extra entry", PlatformMenu({{100, L"&About\tF1"}}),
       L"&Restore|&Move|&Size|Mi&nimize|Ma&ximize|-|&About[F1]|-|&Close[Alt+F4]|"},
      // Negative identifiers read as signed are custom too; separators and command entries not.
      {"separators and high identifiers", PlatformMenu({{0, L""}, {-5, L"Neg"}, {0xF100, L"Task"}}),
       L"&Restore|&Move|&Size|Mi&nimize|Ma&ximize|-|Neg|-|&Close[Alt+F4]|"},
      {"no platform menu entries", {}, L"Restore|Move|Size|Minimize|Maximize|-|Close|"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Entry> entries = BuildEntries(c.platform);
    EXPECT_EQ(Outline(entries), c.expected);
  }
  std::vector<Entry> entries = BuildEntries(PlatformMenu({{100, L"&About"}}));
  ASSERT_EQ(entries.size(), 9u);
  EXPECT_EQ(entries[6].kind, EntryKind::Custom);
  EXPECT_EQ(entries[6].command, 100);
  EXPECT_EQ(entries[8].name, L"vlIC");
  EXPECT_EQ(entries[8].command, kClose);
  EXPECT_EQ(entries[0].name, L"vlIR");
}

TEST(SystemMenuModel, VisibleAndEnabledByWindowState) {
  MenuInput sizeable;
  sizeable.window.sizeable = true;
  MenuInput maximized = sizeable;
  maximized.window.maximized = true;
  MenuInput minimized = sizeable;
  minimized.window.minimized = true;
  MenuInput singleNoMaximize;  // single border, no maximise icon, normal state
  singleNoMaximize.borderSingle = true;
  singleNoMaximize.window.sizeable = false;
  singleNoMaximize.window.maximizeIcon = false;
  MenuInput dialog;
  dialog.borderDialog = true;
  dialog.window.captionButtons = false;
  dialog.window.sizeable = false;
  MenuInput noSystemMenu = sizeable;
  noSystemMenu.window.systemMenu = false;
  using S = EntryState;
  struct Case {
    const char* name;
    const MenuInput& input;
    S restore, move, size, minimize, maximize, close;
  } cases[] = {
      {"normal", sizeable, {true, false}, {true, true}, {true, true}, {true, true}, {true, true}, {true, true}},
      {"maximised", maximized, {true, true}, {true, false}, {true, false}, {true, true}, {true, false}, {true, true}},
      {"minimised", minimized, {true, true}, {true, true}, {true, false}, {true, false}, {true, true}, {true, true}},
      {"single border without maximise", singleNoMaximize, {true, false}, {true, true}, {true, false}, {true, true},
       {false, false}, {true, true}},
      {"dialog", dialog, {false, false}, {true, true}, {false, true}, {false, true}, {false, false}, {true, true}},
      {"no system menu", noSystemMenu, {false, false}, {true, true}, {true, true}, {false, true}, {false, true},
       {false, true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MenuStates s = ComputeMenuStates(c.input);
    EXPECT_EQ(s.restore, c.restore);
    EXPECT_EQ(s.move, c.move);
    EXPECT_EQ(s.size, c.size);
    EXPECT_EQ(s.minimize, c.minimize);
    EXPECT_EQ(s.maximize, c.maximize);
    EXPECT_EQ(s.close, c.close);
  }
}

TEST(MenuMetrics, MenuBarItemsAndTheirRows) {
  // Caption width, plus image and 6 with an image; one less than the platform's bar height.
  EXPECT_EQ(MeasureBarItem(31, 20, 0), (ItemSize{31, 19}));
  EXPECT_EQ(MeasureBarItem(31, 20, 16), (ItemSize{53, 19}));

  struct Case {
    std::vector<int> widths;
    int width;
    int rows;
    std::vector<Rect> items;
  } cases[] = {
      // Three items in one row, from the side border on.
      {{30, 40, 50}, 200, 1, {{4, 0, 34, 19}, {34, 0, 74, 19}, {74, 0, 124, 19}}},
      // Exactly filling the row still fits; one pixel less wraps the last item.
      {{30, 40, 50}, 120, 1, {{4, 0, 34, 19}, {34, 0, 74, 19}, {74, 0, 124, 19}}},
      {{30, 40, 50}, 119, 2, {{4, 0, 34, 19}, {34, 0, 74, 19}, {4, 19, 54, 38}}},
      // An item wider than the row stands alone; the next starts a new row.
      {{300, 10}, 100, 2, {{4, 0, 304, 19}, {4, 19, 14, 38}}},
      // No items: one (empty) row.
      {{}, 100, 1, {}},
  };
  for (const Case& c : cases) {
    BarLayout layout = LayoutBar(c.widths, 4, c.width, 19);
    EXPECT_EQ(layout.rows, c.rows) << c.width;
    EXPECT_EQ(layout.items, c.items) << c.width;
  }
}
