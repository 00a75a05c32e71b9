// See LocaleServices.h.
#include "filelist/LocaleServices.h"

#include <windows.h>

namespace {

std::wstring LocaleString(LCTYPE type, const wchar_t* fallback) {
  wchar_t buffer[128];
  int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 128);
  if (n <= 1) return fallback;
  return std::wstring(buffer, static_cast<size_t>(n - 1));
}

int Sign(int compareResult) {
  if (compareResult == CSTR_LESS_THAN) return -1;
  if (compareResult == CSTR_GREATER_THAN) return 1;
  return 0;
}

}  // namespace

int LocaleTextComparer::CompareIgnoringCase(std::wstring_view a, std::wstring_view b) const {
  return Sign(CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                             static_cast<int>(b.size())));
}

int LocaleTextComparer::CompareCaseSensitive(std::wstring_view a, std::wstring_view b) const {
  return Sign(CompareStringW(LOCALE_USER_DEFAULT, 0, a.data(), static_cast<int>(a.size()), b.data(),
                             static_cast<int>(b.size())));
}

namespace {

std::string SortKey(std::wstring_view text, DWORD flags) {
  if (text.empty()) return {};
  int size = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::string key(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | flags, text.data(), static_cast<int>(text.size()),
                 reinterpret_cast<LPWSTR>(key.data()), size);
  // The key ends with a zero byte, which orders a prefix first as well.
  return key;
}

}  // namespace

std::string LocaleTextComparer::SortKeyIgnoringCase(std::wstring_view text) const { return SortKey(text, NORM_IGNORECASE); }
std::string LocaleTextComparer::SortKeyCaseSensitive(std::wstring_view text) const { return SortKey(text, 0); }

namespace locale_services {

const filelist::LocaleData& UserLocaleData() {
  static const filelist::LocaleData data = [] {
    filelist::LocaleData d;
    std::wstring date = LocaleString(LOCALE_SDATE, L"/");
    std::wstring time = LocaleString(LOCALE_STIME, L":");
    d.dateSeparator = date.empty() ? L'/' : date[0];
    d.timeSeparator = time.empty() ? L':' : time[0];
    d.thousandSeparator = LocaleString(LOCALE_STHOUSAND, L",");
    d.am = LocaleString(LOCALE_S1159, L"AM");
    d.pm = LocaleString(LOCALE_S2359, L"PM");
    for (int i = 0; i < 12; ++i) {
      d.shortMonthNames[static_cast<size_t>(i)] = LocaleString(LOCALE_SABBREVMONTHNAME1 + static_cast<LCTYPE>(i), L"");
      d.longMonthNames[static_cast<size_t>(i)] = LocaleString(LOCALE_SMONTHNAME1 + static_cast<LCTYPE>(i), L"");
    }
    // The platform counts days from Monday (LOCALE_SDAYNAME1); the formats count from Sunday.
    for (int i = 0; i < 7; ++i) {
      size_t slot = static_cast<size_t>((i + 1) % 7);
      d.shortDayNames[slot] = LocaleString(LOCALE_SABBREVDAYNAME1 + static_cast<LCTYPE>(i), L"");
      d.longDayNames[slot] = LocaleString(LOCALE_SDAYNAME1 + static_cast<LCTYPE>(i), L"");
    }
    return d;
  }();
  return data;
}

std::wstring ShortDateFormat() { return LocaleString(LOCALE_SSHORTDATE, L"M/d/yyyy"); }
std::wstring LongTimeFormat() { return LocaleString(LOCALE_STIMEFORMAT, L"h:mm:ss tt"); }
std::wstring ShortTimeFormat() {
#ifndef LOCALE_SSHORTTIME
#define LOCALE_SSHORTTIME 0x00000079
#endif
  std::wstring s = LocaleString(LOCALE_SSHORTTIME, L"");
  if (!s.empty()) return s;
  // Older systems: the long format without its seconds.
  std::wstring longFormat = LongTimeFormat();
  size_t sec = longFormat.find(L's');
  if (sec != std::wstring::npos && sec > 0) {
    size_t start = sec;
    while (start > 0 && longFormat[start - 1] != L'm' && longFormat[start - 1] != L'M') --start;
    size_t end = sec;
    while (end < longFormat.size() && longFormat[end] == L's') ++end;
    longFormat.erase(start, end - start);
  }
  return longFormat;
}

int64_t CurrentLocalOffset() {
  FILETIME now, local;
  GetSystemTimeAsFileTime(&now);
  if (!FileTimeToLocalFileTime(&now, &local)) return 0;
  auto ticks = [](const FILETIME& f) { return static_cast<int64_t>((static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime); };
  return ticks(local) - ticks(now);
}

}  // namespace locale_services
