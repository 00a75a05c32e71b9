// The file list's language tables: the language chosen for a platform language identifier, the
// English and German texts as the list has always shown them, and every other language complete,
// translated and written in its own script.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filelist/FileListTexts.h"

namespace {

using L = TLanguage;

// Every text of a language, by key.
struct Key {
  const char* name;
  std::wstring FileListTexts::*member;
  int driveType = -1;  // a drive-type caption instead of a member
  const std::wstring& Of(const FileListTexts& texts) const {
    return driveType >= 0 ? texts.DriveTypes[static_cast<size_t>(driveType)] : texts.*member;
  }
};

#define TEXT_KEY(name) Key{#name, &FileListTexts::name}
const Key kKeys[] = {
    TEXT_KEY(ColName), TEXT_KEY(ColSize), TEXT_KEY(ColType), TEXT_KEY(ColModified), TEXT_KEY(ColAttr),
    TEXT_KEY(ColDiskSize), TEXT_KEY(ColFreeSpace),
    Key{"DrvUnknown", nullptr, 0}, Key{"DrvNoRoot", nullptr, 1}, Key{"DrvRemovable", nullptr, 2},
    Key{"DrvFixed", nullptr, 3}, Key{"DrvRemote", nullptr, 4}, Key{"DrvCdRom", nullptr, 5},
    Key{"DrvRamDisk", nullptr, 6},
    TEXT_KEY(MnuOpen), TEXT_KEY(MnuView), TEXT_KEY(MnuSendTo), TEXT_KEY(MnuCut), TEXT_KEY(MnuCopy),
    TEXT_KEY(MnuPaste), TEXT_KEY(MnuRename), TEXT_KEY(MnuDelete), TEXT_KEY(MnuProperties), TEXT_KEY(MnuNewFolder),
    TEXT_KEY(MnuAnyFolder), TEXT_KEY(MnuClipContents), TEXT_KEY(MnuClipNames), TEXT_KEY(MnuDesktopLink),
    TEXT_KEY(MsgErrorPrefix), TEXT_KEY(MsgFileInfix), TEXT_KEY(MsgCancel), TEXT_KEY(MsgBrowse),
    TEXT_KEY(MsgCantPrefix), TEXT_KEY(MsgSpecifyDir), TEXT_KEY(MsgBadDrive), TEXT_KEY(MsgDriveNotReady),
    TEXT_KEY(MsgAlreadyExists), TEXT_KEY(MsgNewFolder), TEXT_KEY(MsgReadOnly), TEXT_KEY(MsgNoFiles),
    TEXT_KEY(MsgSendToCaption), TEXT_KEY(MsgSendToPrompt), TEXT_KEY(MsgLinkSaveFailed), TEXT_KEY(MsgInvalidName),
    TEXT_KEY(MsgIntoItself),
};
#undef TEXT_KEY

const L kTranslated[] = {L::lnChinese_Tra, L::lnChinese_Sim, L::lnDutch,     L::lnFrench,   L::lnGerman,
                         L::lnItalian,     L::lnJapanese,    L::lnPolish,    L::lnPortuguese, L::lnSlovenian,
                         L::lnSlovak,      L::lnSpanish,     L::lnSwedish,   L::lnKorean,   L::lnTurkish};

std::string NameOf(L language) { return std::to_string(static_cast<int>(language)); }

// The text as a reader sees it: without the access-key marks, in lower case (ASCII).
std::wstring Plain(const std::wstring& text) {
  std::wstring plain;
  for (size_t i = 0; i < text.size(); ++i) {
    wchar_t c = text[i];
    if (c == L'&' && i + 1 < text.size() && text[i + 1] != L'&') continue;
    plain += (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
  }
  return plain;
}

}  // namespace

TEST(FileListLanguage, ChosenFromTheLanguageIdentifier) {
  struct Case {
    uint16_t langId;
    L language;
  } cases[] = {
      {0x0804, L::lnChinese_Sim},  // People's Republic of China
      {0x0404, L::lnChinese_Tra},  // Taiwan
      {0x1004, L::lnChinese_Tra},  // sub-language 4: only sub-language 2 counts as simplified
      {0x0C04, L::lnChinese_Tra},  // Hong Kong
      {0x0407, L::lnGerman},       {0x0807, L::lnGerman},     {0x0C07, L::lnGerman},
      {0x0424, L::lnSlovenian},    {0x041B, L::lnSlovak},     {0x0415, L::lnPolish},
      {0x040A, L::lnSpanish},      {0x0C0A, L::lnSpanish},    {0x080A, L::lnSpanish},
      {0x040C, L::lnFrench},       {0x080C, L::lnFrench},     {0x0410, L::lnItalian},
      {0x0411, L::lnJapanese},     {0x0412, L::lnKorean},     {0x0413, L::lnDutch},
      {0x0813, L::lnDutch},        {0x0416, L::lnPortuguese}, {0x0816, L::lnPortuguese},
      {0x041D, L::lnSwedish},      {0x081D, L::lnSwedish},    {0x041F, L::lnTurkish},
      {0x0409, L::lnEnglish},      {0x0809, L::lnEnglish},
      // Outside the set: English.
      {0x0408, L::lnEnglish},  // Greek
      {0x0405, L::lnEnglish},  // Czech, next to Slovak
      {0x041A, L::lnEnglish},  // Croatian, next to Slovenian
      {0x0419, L::lnEnglish},  // Russian
      {0x0000, L::lnEnglish},  // neutral
      {0xFFFF, L::lnEnglish},
  };
  for (const auto& c : cases)
    EXPECT_EQ(static_cast<int>(LanguageOfLangId(c.langId)), static_cast<int>(c.language)) << std::hex << c.langId;
}

TEST(FileListLanguage, EnglishAndGermanTextsAreTheListsOwn) {
  struct Case {
    const char* key;
    const wchar_t* english;
    const wchar_t* german;
  } cases[] = {
      {"ColName", L"Name", L"Dateiname"},
      {"ColSize", L"Size", L"Gr\u00f6\u00dfe"},
      {"ColType", L"Type", L"Typ"},
      {"ColModified", L"Modified", L"Ge\u00e4ndert am"},
      {"ColAttr", L"Attr", L"Attribute"},
      {"ColDiskSize", L"Disk Size", L"Gesamtgr\u00f6\u00dfe"},
      {"ColFreeSpace", L"Free Space", L"Freier Speicher"},
      {"DrvUnknown", L"Unknown", L"Unbekannt"},
      {"DrvNoRoot", L"Not exist", L"Nicht existent"},
      {"DrvRemovable", L"Removable Disk", L"Disketten-Laufwerk"},
      {"DrvFixed", L"Fixed Disk", L"Lokales Laufwerk"},
      {"DrvRemote", L"Network Disk", L"Netz-Laufwerk"},
      {"DrvCdRom", L"CD-ROM Disk", L"CD-ROM-Laufwerk"},
      {"DrvRamDisk", L"RAM Disk", L"RAM-Laufwerk"},
      {"MnuOpen", L"&Open", L"\u00d6&ffnen"},
      {"MnuView", L"&View", L"An&zeigen"},
      {"MnuSendTo", L"Se&nd To", L"Se&nden an"},
      {"MnuCut", L"Cu&t", L"&Ausschneiden"},
      {"MnuCopy", L"&Copy", L"&Kopieren"},
      {"MnuPaste", L"&Paste", L"&Einf\u00fcgen"},
      {"MnuRename", L"&Rename", L"&Umbenennen"},
      {"MnuDelete", L"&Delete", L"&L\u00f6schen"},
      {"MnuProperties", L"&Properties", L"Eigen&schaften"},
      {"MnuNewFolder", L"&New Folder...", L"Neuer &Ordner"},
      {"MnuAnyFolder", L"Any Folder ...", L"Ordne&r..."},
      {"MnuClipContents", L"Clipboard as Contents", L"&Datei(en) an Zwischenablage"},
      {"MnuClipNames", L"Clipboard as FileName", L"Dateiname(n) an Z&wischenablage"},
      {"MnuDesktopLink", L"DeskTop as ShortCut", L"&Verkn\u00fcpfung auf den Desktop"},
      {"MsgErrorPrefix", L"ERROR - ", L"Fehler - "},
      {"MsgFileInfix", L" file ", L"\" ist fehlgeschlagen mit Datei "},
      {"MsgCancel", L"Cancel", L"&Abbrechen"},
      {"MsgBrowse", L"Browse", L"Ordner &w\u00e4hlen"},
      {"MsgCantPrefix", L"ERROR - Can't ", L"Fehler - Dateioperation \""},
      {"MsgSpecifyDir", L"Please specify a directory", L"Bitte w\u00e4hlen Sie ein Verzeichnis:"},
      {"MsgBadDrive", L"Not a valid Drive ID", L"Keine g\u00fcltige Laufwerksbezeichnung!"},
      {"MsgDriveNotReady", L"There is no disk in Drive or Drive is not ready",
       L"Kein Datentr\u00e4ger im Laufwerk oder Laufwerk nicht bereit!"},
      {"MsgAlreadyExists", L"already exists !", L" existiert bereits!"},
      {"MsgNewFolder", L"New Folder", L"Neuer Ordner"},
      {"MsgReadOnly", L"It's ReadOnly", L"Die Datei ist schreibgesch\u00fctzt!"},
      {"MsgNoFiles", L"No file(s) selected", L"Keine Datei(en) markiert!"},
      {"MsgSendToCaption", L"Send to any folder", L"An Ordner senden..."},
      {"MsgSendToPrompt", L"Please enter the send_to path", L"Bitte geben Sie den Zielpfad ein:"},
      {"MsgLinkSaveFailed", L"Error - PersistFile.Save failed", L"Verkn\u00fcpfung konnte nicht erstellt werden!"},
      {"MsgInvalidName", L"is not a valid file name !", L"ist kein g\u00fcltiger Dateiname!"},
      {"MsgIntoItself", L"cannot be copied or moved into itself !",
       L"kann nicht in sich selbst kopiert oder verschoben werden!"},
  };
  ASSERT_EQ(std::size(cases), std::size(kKeys));
  for (size_t i = 0; i < std::size(cases); ++i) {
    ASSERT_STREQ(cases[i].key, kKeys[i].name);
    EXPECT_EQ(kKeys[i].Of(TextsOf(L::lnEnglish)), cases[i].english) << cases[i].key;
    EXPECT_EQ(kKeys[i].Of(TextsOf(L::lnGerman)), cases[i].german) << cases[i].key;
  }
  // lnSysDefault is resolved before texts are asked for; should it reach here it reads English.
  EXPECT_EQ(TextsOf(L::lnSysDefault).MnuSendTo, L"Se&nd To");
}

TEST(FileListLanguage, EveryLanguageHasItsOwnTextForEveryKey) {
  // A text that is rightly the same word as the English one.
  struct Same {
    L language;
    const char* key;
  } sameAsEnglish[] = {
      {L::lnFrench, "ColType"},        // "Type"
      {L::lnDutch, "ColType"},         // "Type"
      {L::lnSpanish, "MsgErrorPrefix"},  // "ERROR - "
  };
  for (L language : kTranslated) {
    const FileListTexts& texts = TextsOf(language);
    for (const Key& key : kKeys) {
      const std::wstring& text = key.Of(texts);
      EXPECT_FALSE(text.empty()) << NameOf(language) << " " << key.name;
      bool allowed = false;
      for (const Same& s : sameAsEnglish) allowed |= s.language == language && std::string(s.key) == key.name;
      if (!allowed) {
        EXPECT_NE(Plain(text), Plain(key.Of(TextsOf(L::lnEnglish)))) << NameOf(language) << " " << key.name;
      }
    }
  }
}

TEST(FileListLanguage, ChineseJapaneseAndKoreanTextsAreInTheirOwnScripts) {
  auto isHan = [](wchar_t c) { return c >= 0x4E00 && c <= 0x9FFF; };
  auto isKana = [](wchar_t c) { return c >= 0x3040 && c <= 0x30FF; };
  auto isHangul = [](wchar_t c) { return c >= 0xAC00 && c <= 0xD7A3; };
  struct Case {
    L language;
    bool (*script)(wchar_t);
  } cases[] = {
      {L::lnChinese_Tra, +isHan},
      {L::lnChinese_Sim, +isHan},
      {L::lnJapanese, +[](wchar_t c) { return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3040 && c <= 0x30FF); }},
      {L::lnKorean, +isHangul},
  };
  for (const auto& c : cases)
    for (const Key& key : kKeys) {
      const std::wstring& text = key.Of(TextsOf(c.language));
      bool found = false;
      for (wchar_t ch : text) found |= c.script(ch);
      EXPECT_TRUE(found) << NameOf(c.language) << " " << key.name;
    }
  // Korean is written in Hangul, not in Chinese characters; a Japanese sentence has kana.
  for (const Key& key : kKeys)
    for (wchar_t ch : key.Of(TextsOf(L::lnKorean))) EXPECT_FALSE(isHan(ch)) << key.name;
  for (auto member : {&FileListTexts::MsgDriveNotReady, &FileListTexts::MsgNoFiles, &FileListTexts::MsgReadOnly,
                      &FileListTexts::MsgSpecifyDir, &FileListTexts::MsgAlreadyExists}) {
    const std::wstring& text = TextsOf(L::lnJapanese).*member;
    bool kana = false;
    for (wchar_t ch : text) kana |= isKana(ch);
    EXPECT_TRUE(kana);
  }
}

TEST(FileListLanguage, TraditionalAndSimplifiedChineseKeepTheirOwnCharacters) {
  // Characters of the texts whose forms differ between the two ways of writing: the simplified
  // form has no place in a traditional text and the other way round.
  const std::wstring simplifiedOnly = L"称类属总间动盘络驱开发贴复删误览请择个无没绪经选该为读创档资夹键设储";
  const std::wstring traditionalOnly = L"稱類屬總間動盤絡驅開發貼複刪誤覽請擇個無沒緒經選該為讀創檔資夾鍵設儲";
  ASSERT_EQ(simplifiedOnly.size(), traditionalOnly.size());
  for (const Key& key : kKeys) {
    const std::wstring& traditional = key.Of(TextsOf(L::lnChinese_Tra));
    const std::wstring& simplified = key.Of(TextsOf(L::lnChinese_Sim));
    EXPECT_EQ(traditional.find_first_of(simplifiedOnly), std::wstring::npos) << key.name << " (traditional)";
    EXPECT_EQ(simplified.find_first_of(traditionalOnly), std::wstring::npos) << key.name << " (simplified)";
  }
}

TEST(FileListLanguage, MenuCaptionsMarkAtMostOneAccessKey) {
  for (int i = 1; i <= 16; ++i) {
    const FileListTexts& texts = TextsOf(static_cast<L>(i));
    for (const Key& key : kKeys) {
      if (std::string(key.name).rfind("Mnu", 0) != 0) continue;
      const std::wstring& text = key.Of(texts);
      size_t marks = 0;
      for (size_t p = 0; p + 1 < text.size(); ++p)
        if (text[p] == L'&') marks += text[p + 1] != L' ';
      EXPECT_LE(marks, 1u) << i << " " << key.name;
      EXPECT_NE(text.back(), L'&') << i << " " << key.name;
    }
  }
}
