// The directory trees' texts in every language and the enabling of their menu items.
#include <gtest/gtest.h>

#include "filelist/DirTreeTexts.h"

TEST(DirTreeTexts, EveryLanguageSuppliesEveryText) {
  const DirTreeTexts& english = DirTreeTextsOf(TLanguage::lnEnglish);
  for (int language = 0; language <= static_cast<int>(TLanguage::lnTurkish); ++language) {
    const DirTreeTexts& texts = DirTreeTextsOf(static_cast<TLanguage>(language));
    for (const dirtree::TreeMenuItem& item : dirtree::TreeMenuItems()) {
      if (!item.caption) continue;
      EXPECT_FALSE((texts.*item.caption).empty()) << language << " " << item.tag;
    }
    for (const std::wstring* text : {&texts.MsgDrive, &texts.MsgFolderQuote, &texts.MsgErrorPrefix, &texts.MsgFrom,
                                     &texts.MsgTo, &texts.MsgInvalidDirectoryName, &texts.MsgRenameQuestion,
                                     &texts.MsgCantAddDrives, &texts.MsgNewFolder, &texts.MsgInvalidFolderName,
                                     &texts.MsgNotFound, &texts.MsgOperationFailed, &texts.MsgTreeSize,
                                     &texts.MsgAllSubFolders})
      EXPECT_FALSE(text->empty()) << language;
    if (language > 1) {
      EXPECT_NE(texts.MnuNewFolder, english.MnuNewFolder) << language;
    }
  }
  EXPECT_EQ(DirTreeTextsOf(TLanguage::lnSysDefault).MnuNewFolder, L"&New Folder");
  EXPECT_EQ(english.MsgFolderQuote, L"Folder \"");
  EXPECT_EQ(english.MsgAllSubFolders, L"and all its Sub-Folders ");
}

TEST(DirTreeTexts, MenuEnablingByLevel) {
  struct Case {
    int tag;
    int level;
    bool marked;
    bool enabled;
  } cases[] = {
      {1, -1, false, false}, {9, -1, false, true},  {10, -1, false, true}, {11, -1, false, false},
      {1, 0, false, false},  {1, 1, false, true},   {2, 1, false, false},  {2, 2, false, true},
      {3, 1, false, false},  {4, 2, false, true},   {5, 1, false, false},  {6, 2, false, false},
      {6, 2, true, true},    {6, 1, true, false},   {7, 0, false, false},  {7, 1, false, true},
      {11, 1, false, true},  {9, 3, false, true},   {8, -1, false, false}, {8, 0, false, false},
      {8, 1, false, true},   {8, 3, false, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(dirtree::TreeMenuItemEnabled(c.tag, c.level, c.marked), c.enabled)
        << c.tag << " level " << c.level << " marked " << c.marked;
}
