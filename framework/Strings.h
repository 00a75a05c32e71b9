// Text helpers shared by every layer: trimming, case, number conversion and UTF-8/UTF-16
// conversion. Plain C++, no platform calls, so the parsers and the property storage can use
// them in the native build too.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bv {

// Removes spaces and control characters (everything up to U+0020) at both ends.
std::wstring Trim(std::wstring_view text);
// Removes only the space character U+0020 at both ends.
std::wstring TrimSpaces(std::wstring_view text);
std::string TrimAscii(std::string_view text);

std::wstring UpperCase(std::wstring_view text);
std::wstring LowerCase(std::wstring_view text);
std::string UpperCaseAscii(std::string_view text);
// Case-insensitive equality (simple case folding; the locale-aware variant lives with the
// platform services).
bool SameText(std::wstring_view a, std::wstring_view b);
int CompareTextSimple(std::wstring_view a, std::wstring_view b);

bool StartsWith(std::wstring_view text, std::wstring_view prefix);
bool EndsWith(std::wstring_view text, std::wstring_view suffix);
std::wstring IncludeTrailingBackslash(std::wstring_view path);
std::wstring ExcludeTrailingBackslash(std::wstring_view path);

// Decimal integers with an optional sign; "0x"/"0X"/"$" mark hexadecimal. Leading and trailing
// blanks are not accepted, like the string-to-integer routines the settings files were written for.
std::optional<int64_t> ParseInteger(std::wstring_view text);
std::optional<int64_t> ParseInteger(std::string_view text);
int64_t StrToInt64Def(std::wstring_view text, int64_t fallback);
int StrToIntDef(std::wstring_view text, int fallback);
std::wstring IntToStr(int64_t value);

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
// Bytes in the Western European 8-bit code page (1252) to UTF-16 and back, for skin files whose
// texts are 8-bit.
std::wstring AnsiToWide(std::string_view text);

// Splits at every separator, keeping empty pieces ("a;;b" gives "a", "", "b").
std::vector<std::wstring> Split(std::wstring_view text, wchar_t separator);

}  // namespace bv
