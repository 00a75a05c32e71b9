// What the main window shows about plug-in files: the tip of a hovered entry, reached with real
// mouse input, and the icon markers of a 32-bit-only filter and of a damaged file in both view
// styles. The files are the test plug-ins the build makes.
#include <gtest/gtest.h>


#include "app/Form1.h"
#include "app/PluginDetailsPresenter.h"
#include "framework/Application.h"
#include "settings/SettingsFile.h"
#include "tests/win/MainWindowFixture.h"
#include "tests/win/WinTestSupport.h"

using namespace wintest;

namespace {

// The test plug-ins, reached through the drive that Wine maps to the build machine's root.
std::wstring FixturePath(const char* name) {
  std::string unix = std::string(BRENVALE_PLUGIN_FIXTURES) + "/" + name;
  std::wstring path = L"Z:";
  for (char c : unix) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
  return path;
}

class PluginDetailsTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    struct Copy {
      const char* fixture;
      const wchar_t* name;
    } copies[] = {{"x64.8bf", L"Glow.8bf"},       {"x86.8bf", L"Grain.8bf"},     {"notes.8bf", L"Notes.8bf"},
                  {"both64.8bf", L"Twin.off"},    {"x86.8bf", L"Old.off"},       {"outside.8bf", L"Damaged.off"}};
    for (const Copy& c : copies)
      ASSERT_TRUE(CopyFileW(FixturePath(c.fixture).c_str(), folder.File(c.name).c_str(), FALSE)) << c.fixture;
    OpenMainWindow();
  }

  // Moves the mouse onto the row showing `caption` and waits for the list's tip; answers the
  // text the list asked its owner for, empty when no tip showed.
  std::wstring Hover(TOvFilelistView28* list, const std::wstring& caption) {
    int index = FindListItem(list->Handle(), caption);
    EXPECT_GE(index, 0) << caption;
    if (index < 0) return L"";
    std::wstring asked;
    TInfoTipEvent original = list->OnInfoTip;
    list->OnInfoTip = [&](TObject* sender, int item, std::wstring& text) {
      original(sender, item, text);
      if (item == index) asked = text;
    };
    // Away first, so that the hover starts afresh on the row.
    POINT outside{2, 2};
    ClientToScreen(form->Handle(), &outside);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, outside.x, outside.y);
    Pump(100);
    POINT centre = ListItemCentre(list->Handle(), index);
    ClientToScreen(list->Handle(), &centre);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, centre.x, centre.y);
    bool shown = false;
    for (int i = 0; i < 60 && !shown; ++i) {
      Pump(50);
      // The list makes its tooltip when the mouse first comes over it.
      HWND tip = list->InfoTipHandle();
      shown = !asked.empty() && tip && IsWindowVisible(tip);
    }
    list->OnInfoTip = original;
    return shown ? asked : L"";
  }

  // The marker picture the list draws over the row's icon, checked on the screen too: the
  // row's icon shows the marker's colour (red for a file that is no plug-in, amber for a
  // 32-bit-only filter) and an unmarked row shows neither.
  int Marker(TOvFilelistView28* list, const std::wstring& caption) {
    int index = FindListItem(list->Handle(), caption);
    EXPECT_GE(index, 0) << caption;
    int image = -1;
    list->OnOverlayIndex(list, index, image);
    ListItemCentre(list->Handle(), index);  // shown and painted
    RECT icon{};
    icon.left = LVIR_ICON;
    SendMessageW(list->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&icon));
    HDC dc = GetDC(list->Handle());
    int red = 0, amber = 0;
    for (int y = icon.top; y < icon.bottom; ++y) {
      for (int x = icon.left; x < icon.right; ++x) {
        COLORREF c = GetPixel(dc, x, y);
        int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
        if (r > 170 && g < 110 && b < 110) ++red;
        if (r > 200 && g > 130 && g < 215 && b < 90) ++amber;
      }
    }
    ReleaseDC(list->Handle(), dc);
    using plugininfo::PluginMarker;
    if (image == PluginDetailsPresenter::ImageOf(PluginMarker::kInvalid)) EXPECT_GT(red, 4) << caption;
    else if (image == PluginDetailsPresenter::ImageOf(PluginMarker::kNot64Bit)) EXPECT_GT(amber, 4) << caption;
    else EXPECT_EQ(red + amber, 0) << caption;
    return image;
  }

};

}  // namespace

TEST_F(PluginDetailsTest, HoveringShowsNameCategoryAndPlatformInBothLists) {
  std::wstring on = Hover(form->ListOn, L"Glow");
  EXPECT_NE(on.find(L"Name: Soft Glow"), std::wstring::npos) << on;
  EXPECT_NE(on.find(L"Category: Brenvale Test"), std::wstring::npos) << on;
  EXPECT_NE(on.find(L"Platform: 64-bit"), std::wstring::npos) << on;
  EXPECT_NE(on.find(L"Version: 2.1.0.7"), std::wstring::npos) << on;
  EXPECT_NE(on.find(L"Maker: Brenvale Fixtures"), std::wstring::npos) << on;
  EXPECT_NE(on.find(L"Size: 5 KB"), std::wstring::npos) << on;

  std::wstring off = Hover(form->ListOff, L"Old");
  EXPECT_NE(off.find(L"Name: Old Grain"), std::wstring::npos) << off;
  EXPECT_NE(off.find(L"Platform: 32-bit"), std::wstring::npos) << off;

  std::wstring damaged = Hover(form->ListOff, L"Damaged");
  EXPECT_EQ(damaged.rfind(L"Not a valid plug-in", 0), 0u) << damaged;
}

TEST_F(PluginDetailsTest, MarkersInBothViewStyles) {
  using plugininfo::PluginMarker;
  for (bool listView : {false, true}) {
    SCOPED_TRACE(listView ? "list view" : "icon view");
    if (listView) ClickAt(form->ListBtn->Handle(), form->ListBtn->Width() / 2, form->ListBtn->Height() / 2);
    EXPECT_EQ(Marker(form->ListOn, L"Glow"), -1);
    EXPECT_EQ(Marker(form->ListOn, L"Grain"), PluginDetailsPresenter::ImageOf(PluginMarker::kNot64Bit));
    EXPECT_EQ(Marker(form->ListOn, L"Notes"), PluginDetailsPresenter::ImageOf(PluginMarker::kInvalid));
    EXPECT_EQ(Marker(form->ListOff, L"Twin"), -1);
    EXPECT_EQ(Marker(form->ListOff, L"Old"), PluginDetailsPresenter::ImageOf(PluginMarker::kNot64Bit));
    EXPECT_EQ(Marker(form->ListOff, L"Damaged"), PluginDetailsPresenter::ImageOf(PluginMarker::kInvalid));
  }
  EXPECT_GE(PluginDetailsPresenter::ImageOf(PluginMarker::kNot64Bit), 0);
  EXPECT_NE(PluginDetailsPresenter::ImageOf(PluginMarker::kNot64Bit), PluginDetailsPresenter::ImageOf(PluginMarker::kInvalid));
}
