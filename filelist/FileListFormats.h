// Texts of file-list rows: captions without extension, kilobyte sizes, attribute letters, drive
// sizes and date/time texts built from format tokens and the locale's separators and names.
// Plain functions over plain data; the platform supplies the locale data.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace filelist {

// The name without its last extension (from the last "." on). A name whose only "." is its
// first character gives an empty caption; a name without "." is unchanged.
std::wstring CaptionWithoutExtension(std::wstring_view name);
// The extension including its dot, or empty.
std::wstring ExtensionOf(std::wstring_view name);

// 0 bytes "0 KB"; 1 to 1023 bytes count as 1024; else size / 1024 truncated, plain digits.
std::wstring KilobyteText(int64_t size);
// "A" archive, "R" read-only, "H" hidden, "S" system, in that order.
std::wstring AttributeLetters(uint32_t attributes);

struct LocaleData {
  wchar_t dateSeparator = L'/';
  wchar_t timeSeparator = L':';
  std::wstring thousandSeparator = L",";
  std::wstring am = L"AM";
  std::wstring pm = L"PM";
  std::array<std::wstring, 12> shortMonthNames{L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                               L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
  std::array<std::wstring, 12> longMonthNames{L"January", L"February", L"March", L"April", L"May", L"June",
                                              L"July", L"August", L"September", L"October", L"November", L"December"};
  std::array<std::wstring, 7> shortDayNames{L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
  std::array<std::wstring, 7> longDayNames{L"Sunday", L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday"};
};

// "#,##0 Mb" of kilobytes / 1024: rounded to a whole number (halves away from zero), thousands
// grouped with the locale's separator.
std::wstring DriveSizeText(int64_t kilobytes, const LocaleData& locale);

struct CalendarTime {
  int year = 0, month = 1, day = 1;  // month 1..12
  int hour = 0, minute = 0, second = 0;
  int dayOfWeek = 0;                 // 0 = Sunday
};

// Formats with the tokens yyyy yy MMMM MMM MM M dddd ddd dd d hh h HH H, mm m (minutes directly
// after an hour token, else month), ss s, "AM/PM" (12-hour clock, AM or PM), "AMPM" (12-hour
// clock, the locale's designators); "/" becomes the date separator, ":" the time separator;
// text in single or double quotes is copied; other characters are copied. Letter case of the
// tokens does not matter.
std::wstring FormatDateTime(std::wstring_view format, const CalendarTime& time, const LocaleData& locale);

// A time format of the platform (h, hh, H, HH, m, mm, s, ss, t, tt, quoted text) turned into the
// tokens above ("tt" and "t" become "AMPM").
std::wstring ConvertPlatformTimeFormat(std::wstring_view platformFormat);
// The custom time format: the platform's time format cut before its first lower-case "t",
// followed by " AM/PM".
std::wstring CustomTimeFormat(std::wstring_view platformTimeFormat);

// Calendar time of a file time (100-ns ticks since 1601-01-01), no time-zone conversion.
CalendarTime CalendarFromFileTime(uint64_t fileTime);

}  // namespace filelist
