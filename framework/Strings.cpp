// Text helpers: see Strings.h.
#include "framework/Strings.h"

#include <cwctype>

namespace bv {

std::wstring Trim(std::wstring_view text) {
  size_t first = 0, last = text.size();
  while (first < last && text[first] <= L' ') ++first;
  while (last > first && text[last - 1] <= L' ') --last;
  return std::wstring(text.substr(first, last - first));
}

std::wstring TrimSpaces(std::wstring_view text) {
  size_t first = 0, last = text.size();
  while (first < last && text[first] == L' ') ++first;
  while (last > first && text[last - 1] == L' ') --last;
  return std::wstring(text.substr(first, last - first));
}

std::string TrimAscii(std::string_view text) {
  size_t first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
  return std::string(text.substr(first, last - first));
}

static wchar_t FoldUpper(wchar_t c) {
  if (c < 128) return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
  return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
}

static wchar_t FoldLower(wchar_t c) {
  if (c < 128) return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
  return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}

std::wstring UpperCase(std::wstring_view text) {
  std::wstring result(text);
  for (auto& c : result) c = FoldUpper(c);
  return result;
}

std::wstring LowerCase(std::wstring_view text) {
  std::wstring result(text);
  for (auto& c : result) c = FoldLower(c);
  return result;
}

std::string UpperCaseAscii(std::string_view text) {
  std::string result(text);
  for (auto& c : result)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return result;
}

bool SameText(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldUpper(a[i]) != FoldUpper(b[i])) return false;
  return true;
}

int CompareTextSimple(std::wstring_view a, std::wstring_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    wchar_t x = FoldUpper(a[i]), y = FoldUpper(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::wstring_view text, std::wstring_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::wstring IncludeTrailingBackslash(std::wstring_view path) {
  std::wstring result(path);
  if (result.empty() || result.back() != L'\\') result += L'\\';
  return result;
}

std::wstring ExcludeTrailingBackslash(std::wstring_view path) {
  std::wstring result(path);
  if (!result.empty() && result.back() == L'\\') result.pop_back();
  return result;
}

template <class Char>
static std::optional<int64_t> ParseIntegerImpl(std::basic_string_view<Char> text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return std::nullopt;
  uint64_t value = 0;
  for (; i < text.size(); ++i) {
    Char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return std::nullopt;
    uint64_t next = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (next / static_cast<uint64_t>(base) != value && base == 10) return std::nullopt;  // overflow
    if (base == 10 && next > static_cast<uint64_t>(INT64_MAX) + (negative ? 1u : 0u)) return std::nullopt;
    if (base == 16 && value > (UINT64_MAX >> 4)) return std::nullopt;
    value = next;
  }
  if (negative) return static_cast<int64_t>(0 - value);
  return static_cast<int64_t>(value);
}

std::optional<int64_t> ParseInteger(std::wstring_view text) { return ParseIntegerImpl<wchar_t>(text); }
std::optional<int64_t> ParseInteger(std::string_view text) { return ParseIntegerImpl<char>(text); }

int64_t StrToInt64Def(std::wstring_view text, int64_t fallback) {
  auto v = ParseInteger(text);
  return v ? *v : fallback;
}

int StrToIntDef(std::wstring_view text, int fallback) {
  auto v = ParseInteger(text);
  if (!v || *v < INT32_MIN || *v > UINT32_MAX) return fallback;
  return static_cast<int>(static_cast<int64_t>(*v > INT32_MAX ? *v - 4294967296LL : *v));
}

std::wstring IntToStr(int64_t value) { return std::to_wstring(value); }

std::wstring Utf8ToWide(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    uint32_t cp;
    size_t extra;
    if (c < 0x80) { cp = c; extra = 0; }
    else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; extra = 1; }
    else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; extra = 2; }
    else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; extra = 3; }
    else { cp = 0xFFFD; extra = 0; }
    ++i;
    for (size_t k = 0; k < extra; ++k, ++i) {
      if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) { cp = 0xFFFD; break; }
      cp = (cp << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    }
    if (sizeof(wchar_t) == 2 && cp >= 0x10000 && cp <= 0x10FFFF) {
      cp -= 0x10000;
      out += static_cast<wchar_t>(0xD800 + (cp >> 10));
      out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<wchar_t>(cp);
    }
  }
  return out;
}

std::string WideToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t cp = static_cast<uint32_t>(text[i]);
    if (sizeof(wchar_t) == 2 && cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size()) {
      uint32_t low = static_cast<uint32_t>(text[i + 1]);
      if (low >= 0xDC00 && low < 0xE000) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (cp < 0x80) out += static_cast<char>(cp);
    else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

std::wstring AnsiToWide(std::string_view text) {
  // Code page 1252: 0x80..0x9F differ from Latin-1.
  static const wchar_t high[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                   0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  std::wstring out;
  out.reserve(text.size());
  for (char ch : text) {
    unsigned char c = static_cast<unsigned char>(ch);
    out += (c >= 0x80 && c < 0xA0) ? high[c - 0x80] : static_cast<wchar_t>(c);
  }
  return out;
}

std::vector<std::wstring> Split(std::wstring_view text, wchar_t separator) {
  std::vector<std::wstring> pieces;
  size_t start = 0;
  for (;;) {
    size_t pos = text.find(separator, start);
    if (pos == std::wstring_view::npos) {
      pieces.emplace_back(text.substr(start));
      return pieces;
    }
    pieces.emplace_back(text.substr(start, pos - start));
    start = pos + 1;
  }
}

}  // namespace bv
