// The drive letters offered for a network connection and the checks of the dialog's entries.
#include <gtest/gtest.h>

#include "filelist/NetDriveLetters.h"

using filelist::ChooseFreeDriveLetters;
using filelist::CheckMappingRequest;
using filelist::MappingProblem;

namespace {

uint32_t Drives(const std::wstring& letters) {
  uint32_t bits = 0;
  for (wchar_t letter : letters) bits |= 1u << (letter - L'A');
  return bits;
}

std::wstring Joined(const std::vector<std::wstring>& drives) {
  std::wstring text;
  for (const auto& drive : drives) text += drive[0];
  return text;
}

}  // namespace

TEST(NetDriveLetters, FreeLettersFollowTheHighestDriveOrFillTheGaps) {
  struct Case {
    std::wstring present;
    std::wstring offered;   // letters only
    std::wstring proposed;
  } cases[] = {
      {L"ACD", L"EFGHIJKLMNOPQRSTUVWXYZ", L"E:"},  // a free B: is not offered
      {L"", L"ABCDEFGHIJKLMNOPQRSTUVWXYZ", L"A:"},
      {L"CY", L"Z", L"Z:"},
      // Z: in use (Wine's root drive): every free letter, the highest proposed.
      {L"CZ", L"ABDEFGHIJKLMNOPQRSTUVWXY", L"Y:"},
      {L"CDEZ", L"ABFGHIJKLMNOPQRSTUVWXY", L"Y:"},
      {L"ABCDEFGHIJKLMNOPQRSTUVWYZ", L"X", L"X:"},
      {L"ABCDEFGHIJKLMNOPQRSTUVWXYZ", L"", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "present " << std::string(c.present.begin(), c.present.end()));
    auto free = ChooseFreeDriveLetters(Drives(c.present));
    EXPECT_EQ(Joined(free.offered), c.offered);
    EXPECT_EQ(free.proposed, c.proposed);
    for (const auto& drive : free.offered) {
      ASSERT_EQ(drive.size(), 2u);
      EXPECT_EQ(drive[1], L':');
      EXPECT_EQ(c.present.find(drive[0]), std::wstring::npos) << "a present drive is offered";
    }
  }
}

TEST(NetDriveLetters, EntriesAreNormalisedAndChecked) {
  const uint32_t present = Drives(L"ACDZ");
  struct Case {
    std::wstring drive, path;
    MappingProblem problem;
    std::wstring normalisedDrive, normalisedPath;
  } cases[] = {
      {L"E:", L"\\\\server\\share", MappingProblem::none, L"E:", L"\\\\server\\share"},
      {L" g: ", L"\\\\server\\share\\sub\\", MappingProblem::none, L"G:", L"\\\\server\\share\\sub"},
      {L"h", L"\\\\server\\share\\\\", MappingProblem::none, L"H:", L"\\\\server\\share"},
      {L"B:", L"\\\\srv\\s", MappingProblem::none, L"B:", L"\\\\srv\\s"},
      {L"", L"\\\\server\\share", MappingProblem::noDriveLetter, L"", L"\\\\server\\share"},
      {L"EE:", L"\\\\server\\share", MappingProblem::badDriveLetter, L"EE:", L"\\\\server\\share"},
      {L"1:", L"\\\\server\\share", MappingProblem::badDriveLetter, L"1:", L"\\\\server\\share"},
      {L"E\\", L"\\\\server\\share", MappingProblem::badDriveLetter, L"E\\", L"\\\\server\\share"},
      {L"c:", L"\\\\server\\share", MappingProblem::driveInUse, L"C:", L"\\\\server\\share"},
      {L"Z:", L"\\\\server\\share", MappingProblem::driveInUse, L"Z:", L"\\\\server\\share"},
      {L"E:", L"", MappingProblem::noNetworkPath, L"E:", L""},
      {L"E:", L"   ", MappingProblem::noNetworkPath, L"E:", L""},
      {L"E:", L"C:\\folder", MappingProblem::badNetworkPath, L"E:", L"C:\\folder"},
      {L"E:", L"\\\\server", MappingProblem::badNetworkPath, L"E:", L"\\\\server"},
      {L"E:", L"\\\\server\\", MappingProblem::badNetworkPath, L"E:", L"\\\\server"},
      {L"E:", L"\\\\\\share", MappingProblem::badNetworkPath, L"E:", L"\\\\\\share"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "drive '" << std::string(c.drive.begin(), c.drive.end()) << "' path '"
                                    << std::string(c.path.begin(), c.path.end()) << "'");
    auto request = CheckMappingRequest(c.drive, c.path, present);
    EXPECT_EQ(request.problem, c.problem);
    EXPECT_EQ(request.drive, c.normalisedDrive);
    EXPECT_EQ(request.path, c.normalisedPath);
    EXPECT_EQ(filelist::MappingProblemText(request.problem).empty(), c.problem == MappingProblem::none);
  }
}
