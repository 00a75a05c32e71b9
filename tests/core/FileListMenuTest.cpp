// The file list's context menu as data: which items the selection enables, what a clicked tag
// runs (SendTo shortcuts at any index), the layout's tags and glyphs, and the texts for a failed
// properties request.
#include <gtest/gtest.h>

#include <set>

#include "filelist/PopUpMenuLayout.h"
#include "framework/Strings.h"

using namespace filelist;

namespace {

// The tag of the item with this component name, in the menu or its submenu.
int TagOf(const std::wstring& name) {
  for (const auto* items : {&TopLevelMenuItems(), &SendToFixedItems()})
    for (const MenuItemSpec& item : *items)
      if (name == item.name) return item.tag;
  ADD_FAILURE() << "no item " << bv::WideToUtf8(name);
  return -1;
}

}  // namespace

TEST(FileListMenu, EnablingFollowsTheSelection) {
  // Columns: Open View SendTo Cut Copy Paste Rename Delete Properties NewFolder AnyFolder
  // ClipContents ClipNames Desktop; 1 = enabled.
  const wchar_t* names[] = {L"ItemOpen",   L"ItemView",     L"SubMenuSend", L"ItemOpCut", L"ItemOpCopy",
                            L"ItemOpPaste", L"ItemRename",  L"ItemDelete",  L"ItemProperty", L"ItemFolder",
                            L"Send_To0",   L"Send_To1",     L"Send_To2",    L"Send_To3"};
  struct Case {
    const char* what;
    MenuState state;
    const char* expected;
  } cases[] = {
      {"nothing selected, nothing to paste", {0, L"", false, false}, "00000000010000"},
      {"nothing selected, files to paste", {0, L"", true, false}, "00000100010000"},
      {"one text file", {1, L".TXT", false, false}, "11111011111111"},
      {"one picture, lower case", {1, L".jpg", true, false}, "11111111111111"},
      {"one web page: viewable, contents not", {1, L".HTM", false, false}, "11111011111011"},
      {"one file without extension", {1, L"", false, false}, "10111011111011"},
      {"one plug-in", {1, L".8bf", false, false}, "10111011111011"},
      {"three files", {3, L".TXT", false, false}, "11111001111011"},
      {"drive view, one drive", {1, L"", false, true}, "10111011101011"},
      {"drive view, nothing selected", {0, L"", false, true}, "00000000000000"},
  };
  for (const Case& c : cases) {
    std::string actual;
    for (const wchar_t* name : names) actual += MenuItemEnabled(TagOf(name), c.state) ? '1' : '0';
    EXPECT_EQ(actual, c.expected) << c.what;
  }
}

TEST(FileListMenu, ShortcutEntriesNeedASelection) {
  EXPECT_FALSE(MenuItemEnabled(kFirstShortcutTag, {0, L"", true, false}));
  EXPECT_TRUE(MenuItemEnabled(kFirstShortcutTag + 150, {2, L".TXT", false, false}));
}

TEST(FileListMenu, EachTagRunsItsCommand) {
  struct Case {
    const wchar_t* name;
    MenuCommand command;
  } cases[] = {
      {L"ItemOpen", MenuCommand::kOpen},         {L"ItemView", MenuCommand::kView},
      {L"ItemOpCut", MenuCommand::kMarkForMove}, {L"ItemOpCopy", MenuCommand::kMarkForCopy},
      {L"ItemOpPaste", MenuCommand::kPaste},     {L"ItemRename", MenuCommand::kRename},
      {L"ItemDelete", MenuCommand::kRecycle},    {L"ItemProperty", MenuCommand::kProperties},
      {L"ItemFolder", MenuCommand::kNewFolder},  {L"Send_To0", MenuCommand::kSendToAnyFolder},
      {L"Send_To1", MenuCommand::kCopyContents}, {L"Send_To2", MenuCommand::kCopyNames},
      {L"Send_To3", MenuCommand::kDesktopShortcut}, {L"SubMenuSend", MenuCommand::kNone},
  };
  for (const Case& c : cases) EXPECT_EQ(ChoiceOfTag(TagOf(c.name)).command, c.command) << bv::WideToUtf8(c.name);
  EXPECT_EQ(ChoiceOfTag(0).command, MenuCommand::kNone);
}

TEST(FileListMenu, ShortcutIndexHasNoUpperLimit) {
  for (size_t index : {size_t{0}, size_t{9}, size_t{95}, size_t{96}, size_t{500}}) {
    MenuChoice choice = ChoiceOfTag(kFirstShortcutTag + static_cast<int>(index));
    EXPECT_EQ(choice.command, MenuCommand::kSendToShortcut);
    EXPECT_EQ(choice.shortcut, index);
  }
}

TEST(FileListMenu, LayoutTagsAreDistinctAndEveryItemHasCaptionAndGlyph) {
  std::set<int> tags;
  int separators = 0;
  for (const auto* items : {&TopLevelMenuItems(), &SendToFixedItems()}) {
    for (const MenuItemSpec& item : *items) {
      if (item.tag == 0) {
        ++separators;
        continue;
      }
      EXPECT_TRUE(tags.insert(item.tag).second) << item.tag;
      EXPECT_NE(item.caption, nullptr);
      EXPECT_NE(item.glyph, nullptr);
      EXPECT_LT(item.tag, kFirstShortcutTag);
    }
  }
  EXPECT_EQ(separators, 5);
  EXPECT_EQ(TopLevelMenuItems().size(), 15u);
  EXPECT_TRUE(TopLevelMenuItems()[3].submenu);
}

TEST(FileListMenu, PropertiesErrorTexts) {
  EXPECT_EQ(PropertiesErrorText(2), L"The specified file was not found.");
  EXPECT_EQ(PropertiesErrorText(5), L"Access denied");
  EXPECT_EQ(PropertiesErrorText(1155), L"There is no application associated with the given filename extension.");
  EXPECT_EQ(PropertiesErrorText(0), L"");
  EXPECT_EQ(PropertiesErrorText(87), L"");
}

TEST(FileListMenu, PictureAlpha) {
  uint32_t keyed[] = {0x00FF00FFu, 0x00123456u, 0xFFFF00FFu, 0x00FF00FEu};
  KeyedToPremultiplied(keyed, 4, 0xFF00FF);
  EXPECT_EQ(keyed[0], 0u);
  EXPECT_EQ(keyed[1], 0xFF123456u);
  EXPECT_EQ(keyed[2], 0u);
  EXPECT_EQ(keyed[3], 0xFFFF00FEu);

  struct Case {
    uint32_t onBlack, onWhite, expected;
  } cases[] = {
      {0x00000000u, 0x00FFFFFFu, 0x00000000u},  // not covered
      {0x00C08040u, 0x00C08040u, 0xFFC08040u},  // covered whole
      {0x00402010u, 0x00BF9F8Fu, 0x80402010u},  // half covered
      {0x00FF0000u, 0x00FF7F7Fu, 0x80800000u},  // a channel above alpha is clipped
  };
  for (const Case& c : cases) {
    uint32_t out = 0;
    AlphaFromTwoBackgrounds(&c.onBlack, &c.onWhite, &out, 1);
    EXPECT_EQ(out, c.expected) << std::hex << c.onBlack << " " << c.onWhite;
  }
}
