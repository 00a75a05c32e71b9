// See BrowseFlags.h.
#include "folderpicker/BrowseFlags.h"

namespace {
// Platform flag of each member, in member order.
constexpr uint32_t kFlagBits[] = {0x1000, 0x2000, 0x0002, 0x0004, 0x0008, 0x0001, 0x0010};
}  // namespace

const TypeInfo& BrowseFlagType() {
  static const TypeInfo t = MakeEnumType(
      L"TBrowseFlag", {L"bf_BrowseForComputer", L"bf_BrowseForPrinter", L"bf_DontGoBelowDomain", L"bf_statustext",
                       L"bf_ReturnFSanceStors", L"bf_ReturnOnlyFSDIRS", L"bf_EditBox"});
  return t;
}

const TypeInfo& BrowseFlagsType() {
  static const TypeInfo t = MakeSetType(L"TBrowseFlags", BrowseFlagType());
  return t;
}

const TypeInfo& BrowseLocationType() {
  static const TypeInfo t = MakeEnumType(
      L"TBrowseLocation",
      {L"bl_STANDART", L"bl_CUSTOM", L"bl_DESKTOP", L"bl_PROGRAMS", L"bl_CONTROLS", L"bl_PRINTERS", L"bl_PERSONAL",
       L"bl_FAVORITES", L"bl_STARTUP", L"bl_RECENT", L"bl_SENDTO", L"bl_BITBUCKET", L"bl_STARTMENU",
       L"bl_DESKTOPDIRECTORY", L"bl_DRIVES", L"bl_NETWORK", L"bl_NETHOOD", L"bl_FONTS", L"bl_TEMPLATES",
       L"bl_COMMON_STARTMENU", L"bl_COMMON_PROGRAMS", L"bl_COMMON_STARTUP", L"bl_COMMON_DESKTOPDIRECTORY",
       L"bl_APPDATA", L"bl_PRINTHOOD"});
  return t;
}

namespace browse_flags {

uint32_t ApplyFlags(uint32_t flagWord, TBrowseFlags flags) {
  for (int i = 0; i < 7; ++i) {
    if (flags.Has(static_cast<TBrowseFlag>(i))) flagWord |= kFlagBits[i];
    else flagWord &= ~kFlagBits[i];
  }
  return flagWord;
}

TBrowseFlags FlagsOf(uint32_t flagWord) {
  TBrowseFlags flags;
  for (int i = 0; i < 7; ++i)
    if (flagWord & kFlagBits[i]) flags.Include(static_cast<TBrowseFlag>(i));
  return flags;
}

int SpecialFolderOf(TBrowseLocation root) {
  switch (root) {
    case TBrowseLocation::bl_STANDART:
    case TBrowseLocation::bl_CUSTOM: return -1;
    case TBrowseLocation::bl_DESKTOP: return 0;
    case TBrowseLocation::bl_PROGRAMS: return 2;
    case TBrowseLocation::bl_CONTROLS: return 3;
    case TBrowseLocation::bl_PRINTERS: return 4;
    case TBrowseLocation::bl_PERSONAL: return 5;
    case TBrowseLocation::bl_FAVORITES: return 6;
    case TBrowseLocation::bl_STARTUP: return 7;
    case TBrowseLocation::bl_RECENT: return 8;
    case TBrowseLocation::bl_SENDTO: return 9;
    case TBrowseLocation::bl_BITBUCKET: return 10;
    case TBrowseLocation::bl_STARTMENU: return 11;
    case TBrowseLocation::bl_DESKTOPDIRECTORY: return 16;
    case TBrowseLocation::bl_DRIVES: return 17;
    case TBrowseLocation::bl_NETWORK: return 18;
    case TBrowseLocation::bl_NETHOOD: return 19;
    case TBrowseLocation::bl_FONTS: return 20;
    case TBrowseLocation::bl_TEMPLATES: return 21;
    case TBrowseLocation::bl_COMMON_STARTMENU: return 22;
    case TBrowseLocation::bl_COMMON_PROGRAMS: return 23;
    case TBrowseLocation::bl_COMMON_STARTUP: return 24;
    case TBrowseLocation::bl_COMMON_DESKTOPDIRECTORY: return 25;
    case TBrowseLocation::bl_APPDATA: return 26;
    case TBrowseLocation::bl_PRINTHOOD: return 27;
  }
  return -1;
}

}  // namespace browse_flags
