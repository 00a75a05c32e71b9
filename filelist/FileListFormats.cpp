// See FileListFormats.h.
#include "filelist/FileListFormats.h"

#include <cmath>

namespace filelist {

std::wstring CaptionWithoutExtension(std::wstring_view name) {
  size_t dot = name.rfind(L'.');
  if (dot == std::wstring_view::npos) return std::wstring(name);
  return std::wstring(name.substr(0, dot));
}

std::wstring ExtensionOf(std::wstring_view name) {
  size_t dot = name.rfind(L'.');
  if (dot == std::wstring_view::npos) return {};
  return std::wstring(name.substr(dot));
}

std::wstring KilobyteText(int64_t size) {
  if (size >= 1 && size <= 1023) size = 1024;
  return std::to_wstring(size / 1024) + L" KB";
}

std::wstring AttributeLetters(uint32_t attributes) {
  std::wstring text;
  if (attributes & 0x20) text += L'A';
  if (attributes & 0x1) text += L'R';
  if (attributes & 0x2) text += L'H';
  if (attributes & 0x4) text += L'S';
  return text;
}

std::wstring DriveSizeText(int64_t kilobytes, const LocaleData& locale) {
  double megabytes = static_cast<double>(kilobytes) / 1024.0;
  double rounded = std::floor(std::fabs(megabytes) + 0.5);
  std::wstring digits = std::to_wstring(static_cast<long long>(rounded));
  std::wstring grouped;
  int count = 0;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (count && count % 3 == 0) grouped.insert(0, locale.thousandSeparator);
    grouped.insert(grouped.begin(), *it);
    ++count;
  }
  if (megabytes < 0 && rounded != 0) grouped.insert(grouped.begin(), L'-');
  return grouped + L" Mb";
}

namespace {

bool Matches(std::wstring_view format, size_t pos, std::wstring_view token) {
  if (format.size() - pos < token.size()) return false;
  for (size_t i = 0; i < token.size(); ++i) {
    wchar_t a = format[pos + i], b = token[i];
    if (a >= L'a' && a <= L'z') a = static_cast<wchar_t>(a - 32);
    if (b >= L'a' && b <= L'z') b = static_cast<wchar_t>(b - 32);
    if (a != b) return false;
  }
  return true;
}

size_t RunLength(std::wstring_view format, size_t pos) {
  wchar_t c = format[pos];
  wchar_t lower = (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
  size_t n = 0;
  while (pos + n < format.size()) {
    wchar_t d = format[pos + n];
    wchar_t dl = (d >= L'A' && d <= L'Z') ? static_cast<wchar_t>(d + 32) : d;
    if (dl != lower) break;
    ++n;
  }
  return n;
}

std::wstring TwoDigits(int value) {
  std::wstring s = std::to_wstring(value);
  return s.size() < 2 ? L"0" + s : s;
}

}  // namespace

std::wstring FormatDateTime(std::wstring_view format, const CalendarTime& t, const LocaleData& locale) {
  // The clock is 12-hour when an AM/PM token appears anywhere in the format.
  bool twelveHour = false;
  for (size_t i = 0; i < format.size(); ++i)
    if (Matches(format, i, L"AM/PM") || Matches(format, i, L"AMPM")) twelveHour = true;

  std::wstring out;
  bool afterHour = false;
  size_t i = 0;
  while (i < format.size()) {
    wchar_t c = format[i];
    wchar_t lower = (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
    if (c == L'\'' || c == L'"') {
      size_t end = format.find(c, i + 1);
      if (end == std::wstring_view::npos) end = format.size();
      out.append(format.substr(i + 1, end - i - 1));
      i = end + 1;
      continue;
    }
    if (Matches(format, i, L"AM/PM")) {
      out += t.hour < 12 ? L"AM" : L"PM";
      i += 5;
      continue;
    }
    if (Matches(format, i, L"AMPM")) {
      out += t.hour < 12 ? locale.am : locale.pm;
      i += 4;
      continue;
    }
    size_t n;
    switch (lower) {
      case L'y':
        n = RunLength(format, i);
        if (n >= 3) {
          std::wstring y = std::to_wstring(t.year);
          while (y.size() < 4) y.insert(y.begin(), L'0');
          out += y;
        } else {
          out += TwoDigits(t.year % 100);
        }
        i += n;
        afterHour = false;
        break;
      case L'd':
        n = RunLength(format, i);
        if (n >= 4) out += locale.longDayNames[static_cast<size_t>(t.dayOfWeek % 7)];
        else if (n == 3) out += locale.shortDayNames[static_cast<size_t>(t.dayOfWeek % 7)];
        else if (n == 2) out += TwoDigits(t.day);
        else out += std::to_wstring(t.day);
        i += n;
        afterHour = false;
        break;
      case L'm':
        n = RunLength(format, i);
        if (afterHour && n <= 2) {
          out += n == 2 ? TwoDigits(t.minute) : std::to_wstring(t.minute);
        } else if (n >= 4) {
          out += locale.longMonthNames[static_cast<size_t>((t.month + 11) % 12)];
        } else if (n == 3) {
          out += locale.shortMonthNames[static_cast<size_t>((t.month + 11) % 12)];
        } else {
          out += n == 2 ? TwoDigits(t.month) : std::to_wstring(t.month);
        }
        i += n;
        afterHour = false;
        break;
      case L'h': {
        n = RunLength(format, i);
        int hour = t.hour;
        if (twelveHour) {
          hour %= 12;
          if (hour == 0) hour = 12;
        }
        out += n >= 2 ? TwoDigits(hour) : std::to_wstring(hour);
        i += n;
        afterHour = true;
        break;
      }
      case L's':
        n = RunLength(format, i);
        out += n >= 2 ? TwoDigits(t.second) : std::to_wstring(t.second);
        i += n;
        afterHour = false;
        break;
      case L'/':
        out += locale.dateSeparator;
        ++i;
        break;
      case L':':
        out += locale.timeSeparator;
        ++i;
        break;
      default:
        out += c;
        ++i;
        break;
    }
  }
  return out;
}

std::wstring ConvertPlatformTimeFormat(std::wstring_view platform) {
  std::wstring out;
  size_t i = 0;
  while (i < platform.size()) {
    wchar_t c = platform[i];
    if (c == L'\'') {
      size_t end = platform.find(L'\'', i + 1);
      if (end == std::wstring_view::npos) end = platform.size();
      out.append(platform.substr(i, end - i + 1));
      i = end + 1;
      continue;
    }
    if (c == L't') {
      size_t n = 0;
      while (i + n < platform.size() && platform[i + n] == L't') ++n;
      out += L"AMPM";
      i += n;
      continue;
    }
    out += c;
    ++i;
  }
  return out;
}

std::wstring CustomTimeFormat(std::wstring_view platformTimeFormat) {
  size_t t = platformTimeFormat.find(L't');
  std::wstring head(platformTimeFormat.substr(0, t));
  return head + L" AM/PM";
}

CalendarTime CalendarFromFileTime(uint64_t fileTime) {
  CalendarTime c;
  uint64_t seconds = fileTime / 10000000ULL;
  int64_t days = static_cast<int64_t>(seconds / 86400ULL);
  uint64_t rest = seconds % 86400ULL;
  c.hour = static_cast<int>(rest / 3600);
  c.minute = static_cast<int>(rest % 3600 / 60);
  c.second = static_cast<int>(rest % 60);
  c.dayOfWeek = static_cast<int>((days + 1) % 7);  // 1601-01-01 was a Monday
  // Days since 1601-01-01 to a civil date (proleptic Gregorian), via days since 0000-03-01.
  int64_t z = days + 584694;  // 1601-01-01 is day 584694 counted from 0000-03-01
  int64_t era = z / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  c.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  c.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  c.year = static_cast<int>(yoe + era * 400 + (c.month <= 2 ? 1 : 0));
  return c;
}

}  // namespace filelist
