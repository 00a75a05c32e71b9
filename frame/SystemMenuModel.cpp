// See SystemMenuModel.h.
#include "frame/SystemMenuModel.h"

namespace system_menu {

namespace {

struct Standard {
  int command;
  const wchar_t* name;
  const wchar_t* caption;
};
constexpr Standard kStandard[] = {
    {kRestore, L"vlIR", L"Restore"},    {kMove, L"vlIM", L"Move"},         {kSize, L"vlIS", L"Size"},
    {kMinimize, L"vlIN", L"Minimize"}, {kMaximize, L"vlIX", L"Maximize"}, {kClose, L"vlIC", L"Close"},
};

const PlatformEntry* FindEntry(const std::vector<PlatformEntry>& platform, int command) {
  for (const PlatformEntry& e : platform)
    if (e.id == command) return &e;
  return nullptr;
}

Entry Separator() { return Entry{}; }

}  // namespace

std::wstring FallbackCaption(int command) {
  for (const Standard& s : kStandard)
    if (s.command == command) return s.caption;
  return {};
}

void SplitMenuText(const std::wstring& text, std::wstring& caption, std::wstring& shortcut) {
  size_t tab = text.find(L'\t');
  caption = text.substr(0, tab);
  shortcut = tab == std::wstring::npos ? std::wstring() : text.substr(tab + 1);
}

std::vector<Entry> BuildEntries(const std::vector<PlatformEntry>& platform) {
  std::vector<Entry> entries;
  auto standard = [&](const Standard& s, bool withShortcut) {
    Entry e;
    e.kind = EntryKind::Command;
    e.command = s.command;
    e.name = s.name;
    const PlatformEntry* found = FindEntry(platform, s.command);
    if (found && !found->text.empty()) {
      std::wstring shortcut;
      SplitMenuText(found->text, e.caption, shortcut);
      if (withShortcut) e.shortcut = shortcut;
    } else {
      e.caption = s.caption;
    }
    entries.push_back(e);
  };
  for (int i = 0; i < 5; ++i) standard(kStandard[i], false);
  entries.push_back(Separator());
  int custom = 0;
  for (const PlatformEntry& p : platform) {
    if (p.id >= kSize || p.text.empty()) continue;
    Entry e;
    e.kind = EntryKind::Custom;
    e.command = p.id;
    SplitMenuText(p.text, e.caption, e.shortcut);
    entries.push_back(e);
    ++custom;
  }
  if (custom > 0) entries.push_back(Separator());
  standard(kStandard[5], true);
  return entries;
}

MenuStates ComputeMenuStates(const MenuInput& in) {
  const frame_commands::WindowCommands c = frame_commands::ComputeWindowCommands(in.window);
  const bool captionButtons = in.mdiChild || in.window.captionButtons;
  MenuStates s;
  s.restore = {c.closeVisible && captionButtons, c.restoreEnabled};
  s.move = {true, !in.window.maximized};
  // A maximised or minimised window cannot be sized: the entry is greyed then, as in the
  // platform's own menu (sending the command would do nothing).
  s.size = {in.mdiChild || !(in.borderNone || in.borderDialog || in.borderToolWindow),
            !in.borderSingle && !in.window.minimized && !in.window.maximized};
  s.minimize = {c.minimizeVisible, c.minimizeEnabled};
  s.maximize = {c.maximizeVisible, c.maximizeEnabled};
  s.close = {c.closeVisible, true};
  return s;
}

}  // namespace system_menu
