// The file list's context menu as plain data: the items of the menu and of its "Send To"
// submenu (tag, name, caption, glyph), which of them the selection enables, and which command
// a clicked tag stands for. The menu class builds its platform menu from these tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "filelist/FileListTexts.h"

namespace filelist {

struct MenuItemSpec {
  int tag = 0;                                      // 0 for a separator
  const wchar_t* name = L"";                        // the item's component name
  std::wstring FileListTexts::*caption = nullptr;  // nullptr for a separator
  const wchar_t* glyph = nullptr;                   // bitmap resource, nullptr for none
  bool submenu = false;                             // the "Send To" submenu hangs here
};

// The menu's items in order, separators included.
const std::vector<MenuItemSpec>& TopLevelMenuItems();
// The four fixed items at the top of the "Send To" submenu; the SendTo shortcuts follow them.
const std::vector<MenuItemSpec>& SendToFixedItems();

// The tag of the n-th SendTo shortcut (0-based) is kFirstShortcutTag + n, for any n.
constexpr int kFirstShortcutTag = 34;

enum class MenuCommand {
  kNone,
  kOpen,
  kView,
  kMarkForMove,
  kMarkForCopy,
  kPaste,
  kRename,
  kRecycle,
  kProperties,
  kNewFolder,
  kSendToAnyFolder,
  kCopyContents,
  kCopyNames,
  kDesktopShortcut,
  kSendToShortcut,
};

struct MenuChoice {
  MenuCommand command = MenuCommand::kNone;
  size_t shortcut = 0;  // for kSendToShortcut: the index into the SendTo paths
};

// What a click on the item with this tag does.
MenuChoice ChoiceOfTag(int tag);

// What the menu is shown for.
struct MenuState {
  int selectedCount = 0;
  std::wstring selectedExtension;  // of the first selected entry, dot included; empty for none
  bool filesToPaste = false;       // files marked here, or a file list on the clipboard
  bool driveView = false;          // the list shows the drives
};

// Whether the item with this tag is enabled (separators and unknown tags: true).
bool MenuItemEnabled(int tag, const MenuState& state);

// The text shown when the shell's properties sheet cannot be opened, by platform error code;
// empty for codes that show nothing.
std::wstring PropertiesErrorText(unsigned long code);

}  // namespace filelist

namespace filelist {

// Menu pictures are 32-bit pixels 0xAARRGGBB with premultiplied alpha.
// A keyed picture: the key colour (0xRRGGBB) becomes transparent, every other pixel opaque.
void KeyedToPremultiplied(uint32_t* pixels, size_t count, uint32_t key);
// A picture drawn once on black and once on white: the difference tells each pixel's coverage,
// the black drawing its premultiplied colour. Written to `out` (may be `onBlack`).
void AlphaFromTwoBackgrounds(const uint32_t* onBlack, const uint32_t* onWhite, uint32_t* out, size_t count);

}  // namespace filelist
