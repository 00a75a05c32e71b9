// The option flags and tree roots of the folder chooser, and their mapping to the platform's
// flag word and special-folder numbers. Plain C++.
#pragma once

#include <cstdint>

#include "framework/TypeInfo.h"

enum class TBrowseFlag {
  bf_BrowseForComputer, bf_BrowseForPrinter, bf_DontGoBelowDomain, bf_statustext, bf_ReturnFSanceStors,
  bf_ReturnOnlyFSDIRS, bf_EditBox
};
using TBrowseFlags = TSet<TBrowseFlag>;

enum class TBrowseLocation {
  bl_STANDART, bl_CUSTOM, bl_DESKTOP, bl_PROGRAMS, bl_CONTROLS, bl_PRINTERS, bl_PERSONAL, bl_FAVORITES,
  bl_STARTUP, bl_RECENT, bl_SENDTO, bl_BITBUCKET, bl_STARTMENU, bl_DESKTOPDIRECTORY, bl_DRIVES, bl_NETWORK,
  bl_NETHOOD, bl_FONTS, bl_TEMPLATES, bl_COMMON_STARTMENU, bl_COMMON_PROGRAMS, bl_COMMON_STARTUP,
  bl_COMMON_DESKTOPDIRECTORY, bl_APPDATA, bl_PRINTHOOD
};

const TypeInfo& BrowseFlagType();
const TypeInfo& BrowseFlagsType();
const TypeInfo& BrowseLocationType();

namespace browse_flags {
constexpr uint32_t kValidate = 0x0020;
// The flag word with exactly the seven option bits replaced by `flags`; other bits kept.
uint32_t ApplyFlags(uint32_t flagWord, TBrowseFlags flags);
// The members whose bits are set in the flag word.
TBrowseFlags FlagsOf(uint32_t flagWord);
// The special-folder number of a root, or -1 for bl_STANDART and bl_CUSTOM.
int SpecialFolderOf(TBrowseLocation root);
}  // namespace browse_flags
