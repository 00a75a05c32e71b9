// The texts of the directory trees in the sixteen languages of the file list: the context menu's
// captions and the messages of the folder operations. The texts the trees share with the file
// list (drive checks, "ERROR - Can't " ...) come from the file list's tables (TextsOf).
#pragma once

#include <string>
#include <vector>

#include "filelist/FileListTexts.h"

struct DirTreeTexts {
  // Menu ("&" marks the access key).
  std::wstring MnuNewFolder, MnuRenameFolder, MnuDeleteFolder, MnuCut, MnuCopy, MnuPaste, MnuTreeSize,
      MnuFolderContents, MnuMapNetworkDrive, MnuDisconnectNetworkDrive, MnuProperty;
  // Messages, used exactly as they stand (several are pieces of a longer text).
  std::wstring MsgDrive, MsgFolderQuote, MsgErrorPrefix, MsgFrom, MsgTo, MsgInvalidDirectoryName, MsgRenameQuestion,
      MsgCantAddDrives, MsgNewFolder, MsgInvalidFolderName, MsgNotFound, MsgOperationFailed, MsgTreeSize,
      MsgAllSubFolders;
};

// The tree texts of a language; lnSysDefault answers the English ones.
const DirTreeTexts& DirTreeTextsOf(TLanguage language);

namespace dirtree {

// One item of the tree's context menu; a separator has tag 0.
struct TreeMenuItem {
  int tag = 0;
  const wchar_t* name = L"";
  std::wstring DirTreeTexts::*caption = nullptr;
  const wchar_t* glyph = nullptr;  // bitmap resource name
};
// The menu's items in order, separators included (tags 1 to 11).
const std::vector<TreeMenuItem>& TreeMenuItems();
// Whether the item with this tag is enabled, for the selected node's level (-1: no node
// selected) and whether a folder is marked for a paste.
bool TreeMenuItemEnabled(int tag, int selectedLevel, bool folderMarked);

}  // namespace dirtree
