// Text helpers: trimming, case folding and number parsing as the settings and skin files use them.
#include <gtest/gtest.h>

#include "framework/Strings.h"

using namespace bv;

TEST(Strings, TrimRemovesSpacesAndControlCharacters) {
  EXPECT_EQ(Trim(L" \t a b \r\n"), L"a b");
  EXPECT_EQ(TrimSpaces(L"\t a "), L"\t a");
  EXPECT_EQ(Trim(L""), L"");
}

TEST(Strings, ParseIntegerAcceptsDecimalAndHexadecimal) {
  struct Case {
    const wchar_t* text;
    std::optional<int64_t> value;
  } cases[] = {
      {L"0", 0},          {L"-12", -12},  {L"+7", 7},          {L"0x1F", 31}, {L"$ff", 255},
      {L"", std::nullopt}, {L" 1", std::nullopt}, {L"1a", std::nullopt}, {L"0x", std::nullopt},
      {L"9223372036854775807", INT64_MAX}, {L"9223372036854775808", std::nullopt},
      {L"-9223372036854775808", INT64_MIN},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseInteger(std::wstring_view(c.text)), c.value) << c.text;
}

TEST(Strings, Utf8RoundTripKeepsCharactersOutsideTheBasicPlane) {
  std::wstring text = L"\u00dcn\u00efcode\u6ee4\u955c";
  text += Utf8ToWide("\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
}

TEST(Strings, SplitKeepsEmptyPieces) {
  EXPECT_EQ(Split(L"a;;b", L';'), (std::vector<std::wstring>{L"a", L"", L"b"}));
  EXPECT_EQ(Split(L"", L';'), (std::vector<std::wstring>{L""}));
}
