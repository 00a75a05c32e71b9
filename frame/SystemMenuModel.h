// The skinned system menu's entries and their states, as plain data: which entries the menu is
// built from (the standard window commands, then the window's own extra entries from the
// platform's window menu, then Close) and which of them show and are enabled in the window's
// present state. The provider reads the platform's menu and the form's style and state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/WindowCommands.h"

namespace system_menu {

// Window commands (the platform's WM_SYSCOMMAND codes).
constexpr int kSize = 0xF000;
constexpr int kMove = 0xF010;
constexpr int kMinimize = 0xF020;
constexpr int kMaximize = 0xF030;
constexpr int kClose = 0xF060;
constexpr int kRestore = 0xF120;

// One entry of the platform's window menu: its identifier and its text ("" for separators).
struct PlatformEntry {
  int32_t id = 0;
  std::wstring text;
};

enum class EntryKind { Command, Custom, Separator };

struct Entry {
  EntryKind kind = EntryKind::Separator;
  int command = 0;        // the WM_SYSCOMMAND code (the tag)
  std::wstring name;      // component name of the standard entries
  std::wstring caption;
  std::wstring shortcut;  // the text after a tab, for Close and the custom entries
  bool operator==(const Entry&) const = default;
};

// Fallback captions for standard commands the platform's menu does not carry.
std::wstring FallbackCaption(int command);
// The caption is the text before the first tab; the shortcut the text after it.
void SplitMenuText(const std::wstring& text, std::wstring& caption, std::wstring& shortcut);

// The entries in order: Restore, Move, Size, Minimize, Maximize, a separator, the platform
// menu's own entries (identifier below 0xF000 read as signed, with a text) followed by a
// separator when there are any, and Close.
std::vector<Entry> BuildEntries(const std::vector<PlatformEntry>& platform);

// The shape and state of the form the menu serves.
struct MenuInput {
  frame_commands::WindowCommandInput window;
  bool mdiChild = false;
  bool borderNone = false;  // bsNone
  bool borderDialog = false;  // bsDialog
  bool borderToolWindow = false;  // bsToolWindow
  bool borderSingle = false;  // bsSingle
};

struct EntryState {
  bool visible = false;
  bool enabled = false;
  bool operator==(const EntryState&) const = default;
};

struct MenuStates {
  EntryState restore, move, size, minimize, maximize, close;
};

// Visibility and enabled state of the standard entries in the skinned menu.
MenuStates ComputeMenuStates(const MenuInput& input);

}  // namespace system_menu
