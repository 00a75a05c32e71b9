// The other name of a switched filter and the message of a failed switch.
#include <gtest/gtest.h>

#include <set>

#include "app/FilterSwitch.h"

using namespace filter_switch;

TEST(FilterSwitch, TargetKeepsFolderAndInnerDotsAndLowersTheNewExtension) {
  struct Case {
    const wchar_t* source;
    std::wstring_view from, to;
    const wchar_t* target;
  } cases[] = {
      {L"C:\\Plug\\Sharpen.8bf", kOnExtension, kOffExtension, L"C:\\Plug\\Sharpen.off"},
      {L"C:\\Plug\\Blur.8BF", kOnExtension, kOffExtension, L"C:\\Plug\\Blur.off"},
      {L"C:\\Plug\\a.b.OFF", kOffExtension, kOnExtension, L"C:\\Plug\\a.b.8bf"},
      {L"C:\\Plug.8bf\\x.off", kOffExtension, kOnExtension, L"C:\\Plug.8bf\\x.8bf"},
      {L"Sharpen.8bf", kOnExtension, kOffExtension, L"Sharpen.off"},
      // Anything that is not exactly a filter of that side is refused.
      {L"C:\\Plug\\Foo.8bf_old", kOnExtension, kOffExtension, L""},
      {L"C:\\Plug\\Foo.8bfx", kOnExtension, kOffExtension, L""},
      {L"C:\\Plug\\x.office", kOffExtension, kOnExtension, L""},
      {L"C:\\Plug\\Sharpen.off", kOnExtension, kOffExtension, L""},
      {L"C:\\Plug\\.8bf", kOnExtension, kOffExtension, L""},
      {L"C:\\Plug\\", kOnExtension, kOffExtension, L""},
      {L"C:\\x.8bf\\", kOnExtension, kOffExtension, L""},
  };
  for (const auto& c : cases) EXPECT_EQ(TargetPath(c.source, c.from, c.to), c.target) << c.source;
}

TEST(FilterSwitch, EveryFailureNamesTheFileAndGivesItsOwnReason) {
  std::set<std::wstring> texts;
  for (Failure f : {Failure::kNotAFilter, Failure::kIsFolder, Failure::kGone, Failure::kTargetExists, Failure::kInUse,
                    Failure::kAccessDenied, Failure::kInvalidName, Failure::kOther}) {
    std::wstring text = FailureText(L"Sharpen.8bf", true, f, L"Sharpen.off", L"Disk on fire.\r\n");
    EXPECT_EQ(text.rfind(L"Unable to switch off \"Sharpen.8bf\": ", 0), 0u) << text;
    texts.insert(text);
  }
  EXPECT_EQ(texts.size(), 8u);
  EXPECT_EQ(FailureText(L"a.off", false, Failure::kTargetExists, L"a.8bf", L""),
            L"Unable to switch on \"a.off\": \"a.8bf\" already exists.");
  EXPECT_EQ(FailureText(L"a.off", false, Failure::kOther, L"", L"Disk on fire.\r\n"), L"Unable to switch on \"a.off\": Disk on fire.");
  EXPECT_EQ(FailureText(L"a.off", false, Failure::kNone, L"", L""), L"");
}
