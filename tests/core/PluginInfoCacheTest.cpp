// The plug-in details cache (reads once per path, size and time) and the tip text and markers made
// from the details.
#include <gtest/gtest.h>

#include <map>

#include "framework/Strings.h"
#include "plugininfo/PluginInfoCache.h"
#include "plugininfo/PluginTip.h"

using plugininfo::PluginDetails;
using plugininfo::PluginMarker;

namespace {

TEST(PluginInfoCache, ReadsOncePerPathSizeAndTime) {
  std::map<std::wstring, int> reads;
  plugininfo::PluginInfoCache cache([&](const std::wstring& path) {
    ++reads[path];
    PluginDetails d;
    d.name = bv::WideToUtf8(path) + std::to_string(reads[path]);
    return d;
  });
  EXPECT_EQ(cache.Get(L"a.8bf", 10, 100).name, "a.8bf1");
  EXPECT_EQ(cache.Get(L"a.8bf", 10, 100).name, "a.8bf1");  // a rebuild or a switch back
  EXPECT_EQ(cache.Get(L"b.8bf", 10, 100).name, "b.8bf1");
  EXPECT_TRUE(cache.Has(L"a.8bf", 10, 100));
  // A changed file is read again: other size, other time.
  EXPECT_FALSE(cache.Has(L"a.8bf", 11, 100));
  EXPECT_EQ(cache.Get(L"a.8bf", 11, 100).name, "a.8bf2");
  EXPECT_EQ(cache.Get(L"a.8bf", 11, 101).name, "a.8bf3");
  EXPECT_EQ(cache.Get(L"a.8bf", 11, 101).name, "a.8bf3");
  EXPECT_EQ(reads[L"a.8bf"], 3);
  EXPECT_EQ(reads[L"b.8bf"], 1);
  EXPECT_EQ(cache.Count(), 2u);
}

TEST(PluginInfoCache, MissingFileIsNotValid) {
  plugininfo::PluginInfoCache cache;
  const PluginDetails& d = cache.Get(L"/nonexistent/folder/none.8bf", 0, 0);
  EXPECT_FALSE(d.valid);
  EXPECT_FALSE(d.problem.empty());
}

PluginDetails Details(bool valid, bool loads32, bool loads64) {
  PluginDetails d;
  d.valid = valid;
  d.loads32 = loads32;
  d.loads64 = loads64;
  if (!valid) d.problem = L"no executable header";
  return d;
}

TEST(PluginTip, MarkersAndPlatforms) {
  struct Case {
    PluginDetails details;
    PluginMarker marker;
    const wchar_t* platform;
  } cases[] = {
      {Details(true, false, true), PluginMarker::kNone, L"64-bit"},
      {Details(true, true, false), PluginMarker::kNot64Bit, L"32-bit"},
      {Details(true, true, true), PluginMarker::kNone, L"32-bit and 64-bit"},
      {Details(false, false, false), PluginMarker::kInvalid, L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.details.loads32 << c.details.loads64 << c.details.valid);
    EXPECT_EQ(plugininfo::MarkerFor(c.details), c.marker);
    EXPECT_EQ(plugininfo::PlatformText(c.details), c.platform);
  }
}

TEST(PluginTip, TextLines) {
  auto latin = [](std::string_view text) { return bv::AnsiToWide(text); };
  PluginDetails d = Details(true, false, true);
  d.hasPropertyList = true;
  d.name = "Caf\xe9";
  d.category = "Stylize";
  d.fileVersion = L"2.1";
  d.company = L"Maker";
  d.description = L"not shown when the property list names the filter";
  EXPECT_EQ(plugininfo::PluginTipText(d, latin, L"5 KB"),
            L"Name: Caf\u00e9\r\nCategory: Stylize\r\nPlatform: 64-bit\r\nVersion: 2.1\r\nMaker: Maker\r\nSize: 5 KB");

  PluginDetails old = Details(true, true, false);
  old.description = L"Old filter";
  EXPECT_EQ(plugininfo::PluginTipText(old, latin, L"1 KB"), L"Description: Old filter\r\nPlatform: 32-bit\r\nSize: 1 KB");

  EXPECT_EQ(plugininfo::PluginTipText(Details(false, false, false), latin, L"1 KB"),
            L"Not a valid plug-in (no executable header)\r\nSize: 1 KB");
}

}  // namespace
