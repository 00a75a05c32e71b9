// The drive letters a network folder can be mapped to, and the checks of what the user typed
// into the mapping dialog: plain rules over a bit set of present drives (bit 0 = A: ... bit 25
// = Z:), so that they are tested without a machine of that shape.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace filelist {

struct FreeDriveLetters {
  std::vector<std::wstring> offered;  // "E:", "F:", ... in alphabetical order
  std::wstring proposed;              // one of `offered`, or empty when no letter is free
};

// The letters after the highest present drive, proposing the first of them. When no letter
// follows the highest drive (Z: is in use, as under Wine), every free letter is offered and the
// highest of them is proposed: local drives are given letters from C: upward, so the top of
// the alphabet stays clear of drives added later. No free letter gives an empty choice.
FreeDriveLetters ChooseFreeDriveLetters(uint32_t presentDrives);

enum class MappingProblem {
  none,
  noDriveLetter,     // the drive box is empty
  badDriveLetter,    // not a single letter A..Z followed by a colon
  driveInUse,        // the letter belongs to a present drive
  noNetworkPath,     // the path box is empty
  badNetworkPath,    // not of the form \\computer\share...
};

struct MappingRequest {
  std::wstring drive;  // "X:" in upper case
  std::wstring path;   // without trailing backslashes
  MappingProblem problem = MappingProblem::none;
};

// Normalises and checks the texts of the dialog's drive box and path box.
MappingRequest CheckMappingRequest(const std::wstring& driveText, const std::wstring& pathText,
                                   uint32_t presentDrives);

// The message shown for a problem (empty for none).
std::wstring MappingProblemText(MappingProblem problem);

}  // namespace filelist
