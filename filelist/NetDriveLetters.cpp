// See NetDriveLetters.h.
#include "filelist/NetDriveLetters.h"

namespace filelist {

namespace {

constexpr int kLetters = 26;

std::wstring DriveName(int index) { return {static_cast<wchar_t>(L'A' + index), L':'}; }

bool Present(uint32_t drives, int index) { return (drives >> index) & 1u; }

std::wstring Trim(const std::wstring& text) {
  size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return {};
  size_t last = text.find_last_not_of(L" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

FreeDriveLetters ChooseFreeDriveLetters(uint32_t presentDrives) {
  int highest = -1;
  for (int i = 0; i < kLetters; ++i)
    if (Present(presentDrives, i)) highest = i;
  FreeDriveLetters result;
  if (highest < kLetters - 1) {
    for (int i = highest + 1; i < kLetters; ++i) result.offered.push_back(DriveName(i));
    result.proposed = result.offered.front();
    return result;
  }
  for (int i = 0; i < kLetters; ++i)
    if (!Present(presentDrives, i)) result.offered.push_back(DriveName(i));
  if (!result.offered.empty()) result.proposed = result.offered.back();
  return result;
}

MappingRequest CheckMappingRequest(const std::wstring& driveText, const std::wstring& pathText,
                                   uint32_t presentDrives) {
  MappingRequest request;
  std::wstring drive = Trim(driveText);
  std::wstring path = Trim(pathText);
  while (path.size() > 2 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  request.path = path;
  if (drive.size() == 1) drive += L':';
  if (drive.size() == 2 && drive[0] >= L'a' && drive[0] <= L'z') drive[0] = static_cast<wchar_t>(drive[0] - L'a' + L'A');
  request.drive = drive;
  if (drive.empty()) {
    request.problem = MappingProblem::noDriveLetter;
  } else if (drive.size() != 2 || drive[1] != L':' || drive[0] < L'A' || drive[0] > L'Z') {
    request.problem = MappingProblem::badDriveLetter;
  } else if (Present(presentDrives, drive[0] - L'A')) {
    request.problem = MappingProblem::driveInUse;
  } else if (path.empty()) {
    request.problem = MappingProblem::noNetworkPath;
  } else {
    // \\computer\share: two leading backslashes, a computer name, and a share name after it.
    bool unc = path.size() > 2 && path[0] == L'\\' && path[1] == L'\\';
    size_t shareStart = unc ? path.find(L'\\', 2) : std::wstring::npos;
    bool hasComputer = unc && shareStart != std::wstring::npos && shareStart > 2;
    bool hasShare = hasComputer && shareStart + 1 < path.size() && path[shareStart + 1] != L'\\';
    if (!hasShare) request.problem = MappingProblem::badNetworkPath;
  }
  return request;
}

std::wstring MappingProblemText(MappingProblem problem) {
  switch (problem) {
    case MappingProblem::none:
      return {};
    case MappingProblem::noDriveLetter:
      return L"Please specify a free drive letter.";
    case MappingProblem::badDriveLetter:
      return L"Please specify a drive letter from A: to Z:.";
    case MappingProblem::driveInUse:
      return L"This drive letter is already in use.";
    case MappingProblem::noNetworkPath:
      return L"Please specify the path to the network folder.";
    case MappingProblem::badNetworkPath:
      return L"The network path must have the form \\\\computer\\share.";
  }
  return {};
}

}  // namespace filelist
