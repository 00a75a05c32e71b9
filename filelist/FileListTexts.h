// The texts the file list shows: column captions, drive-type names, menu captions and message
// texts, per language, and the choice of a language from the user's language identifier.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "framework/TypeInfo.h"

enum class TLanguage {
  lnSysDefault, lnEnglish, lnChinese_Tra, lnChinese_Sim, lnDutch, lnFrench, lnGerman, lnItalian, lnJapanese,
  lnPolish, lnPortuguese, lnSlovenian, lnSlovak, lnSpanish, lnSwedish, lnKorean, lnTurkish
};
const TypeInfo& LanguageType();

// One language's texts. Message texts are used exactly as they stand, leading and trailing
// spaces included: several of them are pieces of a longer text.
struct FileListTexts {
  // Columns.
  std::wstring ColName, ColSize, ColType, ColModified, ColAttr, ColDiskSize, ColFreeSpace;
  // Drive types 0..6: unknown, no root, removable, fixed, remote, CD-ROM, RAM disk.
  std::array<std::wstring, 7> DriveTypes;
  // Menu ("&" marks the access key).
  std::wstring MnuOpen, MnuView, MnuSendTo, MnuCut, MnuCopy, MnuPaste, MnuRename, MnuDelete, MnuProperties,
      MnuNewFolder, MnuAnyFolder, MnuClipContents, MnuClipNames, MnuDesktopLink;
  // Messages. A failed start reads MsgCantPrefix + verb + MsgFileInfix + file, where the verb
  // stays English; a rename refusal reads the quoted name, a space and MsgAlreadyExists (or
  // MsgInvalidName).
  std::wstring MsgErrorPrefix, MsgFileInfix, MsgCancel, MsgBrowse, MsgCantPrefix, MsgSpecifyDir, MsgBadDrive,
      MsgDriveNotReady, MsgAlreadyExists, MsgNewFolder, MsgReadOnly, MsgNoFiles, MsgSendToCaption, MsgSendToPrompt,
      MsgLinkSaveFailed;
  // Our own: an in-place rename to a name the platform refuses or that would leave the folder.
  std::wstring MsgInvalidName;
  // Our own: a folder copied or moved into itself or one of its own subfolders.
  std::wstring MsgIntoItself;
};

// The texts of a language; lnSysDefault, which is never kept, answers the English ones.
const FileListTexts& TextsOf(TLanguage language);

// The language for a platform language identifier (primary language in the low 10 bits,
// sub-language in the high 6): one of the sixteen, English for any other language.
TLanguage LanguageOfLangId(uint16_t langId);

// The texts every file list of the process shares: the messages, the drive-type names and the
// menu captions follow the language given last to any file list (English until then), while
// each list's column captions follow its own language. User-interface thread only.
TLanguage SharedLanguage();
void SetSharedLanguage(TLanguage language);
const FileListTexts& SharedTexts();
