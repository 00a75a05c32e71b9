// Texts of file-list rows: captions, sizes, attribute letters, drive sizes and date/time texts.
#include <gtest/gtest.h>

#include "filelist/FileListFormats.h"

using namespace filelist;

TEST(FileListFormats, CaptionDropsOnlyTheLastExtension) {
  struct Case {
    const wchar_t* name;
    const wchar_t* caption;
  } cases[] = {{L"Blur.8bf", L"Blur"}, {L"a.b.c", L"a.b"}, {L"noext", L"noext"}, {L".hidden", L""}, {L"Blur.8BF", L"Blur"}};
  for (const auto& c : cases) EXPECT_EQ(CaptionWithoutExtension(c.name), c.caption) << c.name;
  EXPECT_EQ(ExtensionOf(L"a.b.8bf"), L".8bf");
  EXPECT_EQ(ExtensionOf(L"noext"), L"");
}

TEST(FileListFormats, KilobyteTextRoundsSmallFilesUp) {
  struct Case {
    int64_t size;
    const wchar_t* text;
  } cases[] = {{0, L"0 KB"},       {1, L"1 KB"},          {1023, L"1 KB"}, {1024, L"1 KB"},
               {2047, L"1 KB"},    {2048, L"2 KB"},       {1048576, L"1024 KB"},
               {4294967296LL, L"4194304 KB"}};
  for (const auto& c : cases) EXPECT_EQ(KilobyteText(c.size), c.text) << c.size;
}

TEST(FileListFormats, AttributeLettersInFixedOrder) {
  EXPECT_EQ(AttributeLetters(0x21), L"AR");
  EXPECT_EQ(AttributeLetters(0x27), L"ARHS");
  EXPECT_EQ(AttributeLetters(0x06), L"HS");
  EXPECT_EQ(AttributeLetters(0x10), L"");
}

TEST(FileListFormats, DriveSizesRoundToMegabytesWithGrouping) {
  LocaleData locale;
  EXPECT_EQ(DriveSizeText(1536, locale), L"2 Mb");
  EXPECT_EQ(DriveSizeText(1535, locale), L"1 Mb");
  EXPECT_EQ(DriveSizeText(0, locale), L"0 Mb");
  EXPECT_EQ(DriveSizeText(1024LL * 1234567, locale), L"1,234,567 Mb");
  locale.thousandSeparator = L".";
  EXPECT_EQ(DriveSizeText(1024LL * 1234, locale), L"1.234 Mb");
}

TEST(FileListFormats, DateTimeTokens) {
  LocaleData locale;
  CalendarTime t{2026, 3, 7, 15, 4, 9, 6};
  struct Case {
    const wchar_t* format;
    const wchar_t* text;
  } cases[] = {
      {L"M/d/yyyy", L"3/7/2026"},
      {L"MM/dd/yy", L"03/07/26"},
      {L"dd.MM.yy", L"07.03.26"},
      {L"yyyy-MM-dd", L"2026-03-07"},
      {L"h:mm AMPM", L"3:04 PM"},
      {L"hh:mm:ss", L"15:04:09"},
      {L"HH:mm", L"15:04"},
      {L"h:mm:ss  AM/PM", L"3:04:09  PM"},
      {L"dddd, MMMM d", L"Saturday, March 7"},
      {L"ddd MMM", L"Sat Mar"},
      {L"m", L"3"},  // minutes only directly after an hour token
      {L"'Uhr' HH", L"Uhr 15"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.format, t, locale), c.text) << c.format;
  locale.dateSeparator = L'.';
  locale.timeSeparator = L'-';
  EXPECT_EQ(FormatDateTime(L"d/M h:mm", t, locale), L"7.3 15-04");
  CalendarTime midnight{2026, 1, 1, 0, 5, 0, 4};
  EXPECT_EQ(FormatDateTime(L"h:mm AM/PM", midnight, LocaleData{}), L"12:05 AM");
}

TEST(FileListFormats, PlatformTimeFormats) {
  EXPECT_EQ(ConvertPlatformTimeFormat(L"h:mm:ss tt"), L"h:mm:ss AMPM");
  EXPECT_EQ(ConvertPlatformTimeFormat(L"HH:mm"), L"HH:mm");
  EXPECT_EQ(CustomTimeFormat(L"h:mm:ss tt"), L"h:mm:ss  AM/PM");
  EXPECT_EQ(CustomTimeFormat(L"HH:mm:ss"), L"HH:mm:ss AM/PM");
}

TEST(FileListFormats, CalendarFromFileTime) {
  // 2001-09-09 01:46:40 UTC, a Sunday.
  CalendarTime c = CalendarFromFileTime((1000000000ULL + 11644473600ULL) * 10000000ULL);
  EXPECT_EQ(c.year, 2001);
  EXPECT_EQ(c.month, 9);
  EXPECT_EQ(c.day, 9);
  EXPECT_EQ(c.hour, 1);
  EXPECT_EQ(c.minute, 46);
  EXPECT_EQ(c.second, 40);
  EXPECT_EQ(c.dayOfWeek, 0);
  CalendarTime leap = CalendarFromFileTime((951782400ULL + 11644473600ULL) * 10000000ULL);  // 2000-02-29
  EXPECT_EQ(leap.month, 2);
  EXPECT_EQ(leap.day, 29);
}

TEST(FileListFormats, TwelveHourClockAroundMidnightAndNoon) {
  // "AM/PM" always writes AM or PM; "AMPM" writes the locale's own strings.
  LocaleData locale;
  locale.am = L"vm";
  locale.pm = L"nm";
  const struct {
    int hour, minute;
    const wchar_t* fixed;   // "h:mm AM/PM"
    const wchar_t* own;     // "hh:mm AMPM"
    const wchar_t* clock;   // "H:mm" without a 12-hour token
  } cases[] = {
      {0, 0, L"12:00 AM", L"12:00 vm", L"0:00"},   {0, 5, L"12:05 AM", L"12:05 vm", L"0:05"},
      {1, 0, L"1:00 AM", L"01:00 vm", L"1:00"},    {11, 59, L"11:59 AM", L"11:59 vm", L"11:59"},
      {12, 0, L"12:00 PM", L"12:00 nm", L"12:00"}, {12, 59, L"12:59 PM", L"12:59 nm", L"12:59"},
      {13, 0, L"1:00 PM", L"01:00 nm", L"13:00"},  {23, 59, L"11:59 PM", L"11:59 nm", L"23:59"},
  };
  for (const auto& c : cases) {
    CalendarTime t{2026, 3, 7, c.hour, c.minute, 0, 6};
    EXPECT_EQ(FormatDateTime(L"h:mm AM/PM", t, locale), c.fixed) << c.hour << ":" << c.minute;
    EXPECT_EQ(FormatDateTime(L"hh:mm AMPM", t, locale), c.own) << c.hour << ":" << c.minute;
    EXPECT_EQ(FormatDateTime(L"H:mm", t, locale), c.clock) << c.hour << ":" << c.minute;
  }
}
