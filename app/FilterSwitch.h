// What switching a filter means as plain text work: the name a filter gets on the other side
// ("Sharpen.8bf" <-> "Sharpen.off", the new extension in lower case, in the same folder), and
// the message that tells why a switch did not happen. The rename itself is the main window's.
#pragma once

#include <string>
#include <string_view>

namespace filter_switch {

constexpr std::wstring_view kOnExtension = L".8bf";
constexpr std::wstring_view kOffExtension = L".off";

// Why a switch did not rename the file.
enum class Failure {
  kNone,
  kNotAFilter,    // the name does not end in the extension of its side
  kIsFolder,      // a folder carries the name
  kGone,          // the file (or its folder) is no longer there
  kTargetExists,  // something of the other name exists
  kInUse,         // another program has the file open
  kAccessDenied,
  kInvalidName,   // the platform refuses the name or the path
  kOther,         // any other reason; the platform's own text says which
};

// The path `source` gets when its extension `from` (any letter case, it must be the whole
// last extension) becomes `to`: its folder, its name without `from`, then `to`. Empty when the
// name does not end in `from` or nothing is left of it.
std::wstring TargetPath(std::wstring_view source, std::wstring_view from, std::wstring_view to);

// The message of a failed switch: names the file and says why. `switchingOff` chooses the
// verb, `target` is the other name (for kTargetExists), `platformText` the platform's
// description (for kOther).
std::wstring FailureText(std::wstring_view fileName, bool switchingOff, Failure failure, std::wstring_view target,
                         std::wstring_view platformText);

}  // namespace filter_switch
