// The user locale as the file list needs it: locale-aware text comparison, separators and names
// for date texts, the short date and the time formats, and the conversion of a file time (UTC)
// to a local calendar time.
#pragma once

#include <string>

#include "filelist/FileListFormats.h"
#include "filelist/FileListModel.h"

class LocaleTextComparer : public TextComparer {
 public:
  int CompareIgnoringCase(std::wstring_view a, std::wstring_view b) const override;
  int CompareCaseSensitive(std::wstring_view a, std::wstring_view b) const override;
  std::string SortKeyIgnoringCase(std::wstring_view text) const override;
  std::string SortKeyCaseSensitive(std::wstring_view text) const override;
};

namespace locale_services {
// Separators, designators and names of the user locale (read once).
const filelist::LocaleData& UserLocaleData();
// The platform's short date format (LOCALE_SSHORTDATE).
std::wstring ShortDateFormat();
// The platform's time formats: long (LOCALE_STIMEFORMAT), short (LOCALE_SSHORTTIME).
std::wstring LongTimeFormat();
std::wstring ShortTimeFormat();
// What the platform adds to a UTC file time to make it local, right now (it converts every file
// time with the current offset). Read once per rebuild instead of once per file.
int64_t CurrentLocalOffset();
}  // namespace locale_services
