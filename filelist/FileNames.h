// Names and paths of file-list entries: splitting a path, which names the platform keeps as
// typed, what an in-place rename turns the edited text into, the name of a new folder and the
// files the View operation opens. Plain functions; the caller asks the file system.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "filelist/FileListModel.h"

namespace filelist {

// The folder part of a path, up to and including its last backslash (empty without one).
std::wstring FolderOf(std::wstring_view path);
// The part after the last backslash.
std::wstring NameOf(std::wstring_view path);

// A name that stays in its folder and that the platform stores as written: not empty, not "."
// or "..", no separator, wildcard or other character the platform refuses, no trailing dot or
// space (the platform would drop them) and no device name (CON, NUL, COM1 ...).
bool IsValidFileName(std::wstring_view name);

enum class RenameOutcome {
  kCancel,       // nothing typed: the edit is a cancel
  kInvalidName,  // the name would leave the folder or is refused by the platform
  kUnchanged,    // the same name, perhaps in other letter case
  kRename,
};

struct RenamePlan {
  RenameOutcome outcome = RenameOutcome::kCancel;
  std::wstring name;    // the new name (for kInvalidName the rejected one)
  std::wstring target;  // the folder of the source + name
};

// What committing `typed` as the new name of the entry at `source` does. When the caption hid
// the extension, the entry keeps it: editing "Blur" of Blur.8bf to "Blur2" gives Blur2.8bf.
RenamePlan PlanRename(std::wstring_view source, std::wstring_view typed, bool captionHidExtension,
                      const TextComparer& comparer);

// `base` when nothing of that name exists, else the first of base(2), base(3) ... that does not;
// empty when every candidate exists.
std::wstring UniqueNewName(const std::wstring& base, const std::function<bool(const std::wstring&)>& exists);

// Whether the View operation opens a file with this extension (dot included, any case): text,
// documents, pictures and web pages.
bool IsViewableExtension(std::wstring_view extension);
// Whether the contents of a file with this extension can be put on the clipboard: the viewable
// ones except web pages.
bool IsContentsExtension(std::wstring_view extension);

// The shortcut file for `name` in `folder` (with its trailing backslash) that replaces nothing:
// "Name.lnk", else "Name (2).lnk", "Name (3).lnk" ...; empty when every candidate exists.
std::wstring UniqueLinkPath(const std::wstring& folder, const std::wstring& name,
                            const std::function<bool(const std::wstring&)>& exists);

// Whether `target` is the folder `folder` or lies below it (letter case ignored; either may end
// in a backslash): copying or moving `folder` there would put the folder into itself.
bool IsSameOrInside(std::wstring_view folder, std::wstring_view target);

// A path as one command-line argument: in double quotes, so that spaces do not split it.
std::wstring QuotedArgument(std::wstring_view path);

// The paths as clipboard text: one a line, lines ended by CR LF except the last.
std::wstring PathLines(const std::vector<std::wstring>& paths);

// Whether files with this extension (dot included, any case) show a picture of their own rather
// than their type's: programs, icons, cursors, shortcuts, screen savers.
bool HasOwnIconExtension(std::wstring_view extension);

}  // namespace filelist
