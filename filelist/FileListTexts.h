// The texts the file list shows: column captions, drive-type names, menu captions and message
// texts, per language.
#pragma once

#include <array>
#include <string>

#include "framework/TypeInfo.h"

enum class TLanguage {
  lnSysDefault, lnEnglish, lnChinese_Tra, lnChinese_Sim, lnDutch, lnFrench, lnGerman, lnItalian, lnJapanese,
  lnPolish, lnPortuguese, lnSlovenian, lnSlovak, lnSpanish, lnSwedish, lnKorean, lnTurkish
};
const TypeInfo& LanguageType();

struct FileListTexts {
  // Columns.
  std::wstring ColName, ColSize, ColType, ColModified, ColAttr, ColDiskSize, ColFreeSpace;
  // Drive types 0..6: unknown, no root, removable, fixed, remote, CD-ROM, RAM disk.
  std::array<std::wstring, 7> DriveTypes;
  // Menu.
  std::wstring MnuOpen, MnuView, MnuSendTo, MnuCut, MnuCopy, MnuPaste, MnuRename, MnuDelete, MnuProperties,
      MnuNewFolder, MnuAnyFolder, MnuClipContents, MnuClipNames, MnuDesktopLink;
  // Messages.
  std::wstring MsgErrorPrefix, MsgFileInfix, MsgCancel, MsgBrowse, MsgCantPrefix, MsgSpecifyDir, MsgBadDrive,
      MsgDriveNotReady, MsgAlreadyExists, MsgNewFolder, MsgReadOnly, MsgNoFiles, MsgSendToCaption, MsgSendToPrompt,
      MsgLinkSaveFailed;
  // Our own: an in-place rename to a name the platform refuses or that would leave the folder.
  std::wstring MsgInvalidName;
  // Our own: a folder copied or moved into itself or one of its own subfolders.
  std::wstring MsgIntoItself;
};

// The texts of a language; languages without a table of their own use the English one.
const FileListTexts& TextsOf(TLanguage language);
