// A form's main menu under the skin: the frame shows it in a band below the title, the items
// are measured and painted by the skinned menus (and get the pop-up painters below them), and a
// real click on an item drops its sub-items down below it.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "frame/sSkinProvider.h"
#include "frame/sSkinableMenus.h"
#include "framework/Application.h"
#include "framework/Menus.h"
#include "skin/sSkinManager.h"
#include "tests/win/MainWindowFixture.h"

using namespace wintest;

namespace {

std::unique_ptr<TMenuItem> Item(const std::wstring& caption) {
  auto item = std::make_unique<TMenuItem>();
  item->SetCaption(caption);
  return item;
}

// The width of a caption without "&" in the platform's menu font.
int MenuTextWidth(const std::wstring& text) {
  NONCLIENTMETRICSW metrics{sizeof(metrics)};
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  UniqueFont font(CreateFontIndirectW(&metrics.lfMenuFont));
  WindowDc screen(nullptr);
  SelectedObject selected(screen.get(), font.get());
  SIZE size{};
  GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

class MainMenuBarTest : public MainWindowFixture {
 protected:
  // The frame in the form's own non-client area, or (extended) in the border window behind it.
  virtual bool ExtendedMode() const { return false; }
  void SetUp() override {
    OpenMainWindow();
    form->sSkinManager1->SetExtendedBorders(ExtendedMode());
    Pump(50);
    window = form->Handle();
    // Owned by the application, where the skinned menus look for menus.
    menu.reset(new TMainMenu(Application));
    for (const wchar_t* caption : {L"&File", L"&Edit", L"&Help"}) {
      TMenuItem* top = menu->Items()->Add(Item(caption));
      for (const wchar_t* sub : {L"First", L"Second"}) {
        TMenuItem* item = top->Add(Item(std::wstring(caption + 1) + L" " + sub));
        item->OnClick = [this](TMenuItem& i) { clicked.push_back(i.Caption()); };
      }
    }
    TsSkinableMenus::Instance().SetMenusActive(true);
    form->SetMenu(menu.get());
    Pump(50);
    ASSERT_TRUE(form->sSkinProvider1->FrameSkinned());
    ASSERT_EQ(form->sSkinProvider1->Extended(), ExtendedMode());
  }
  void TearDown() override {
    form->SetMenu(nullptr);
    menu.reset();
    MainWindowFixture::TearDown();
  }
  TsSkinProvider& Provider() { return *form->sSkinProvider1; }
  RECT WindowRect() const {
    RECT r;
    GetWindowRect(window, &r);
    return r;
  }

  // A real click on bar entry `index`, then Down and Enter (the first sub-item is chosen).
  // Returns where the drop-down showed (empty when it did not) and the entry on the screen.
  std::pair<RECT, Rect> ClickEntryAndChooseFirst(size_t index) {
    SetForegroundWindow(window);
    Pump(50);
    const TsMenuBar::Layout bar = Provider().MenuBarLayout();
    if (bar.items.size() <= index) return {};
    const Point origin = Provider().FrameOrigin();
    const Rect item = bar.items[index].Offset(origin.x, origin.y);
    RECT dropped{};
    WhilePumping([&] {
      SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
      Sleep(100);
      SendMouse(MOUSEEVENTF_LEFTDOWN);
      SendMouse(MOUSEEVENTF_LEFTUP);
      // The drop-down shows within a moment (longer on a loaded machine).
      HWND popup = nullptr;
      for (int i = 0; i < 60 && !(popup && IsWindowVisible(popup)); ++i) {
        Sleep(50);
        popup = FindWindowW(L"#32768", nullptr);
      }
      Sleep(100);
      if (popup && IsWindowVisible(popup)) GetWindowRect(popup, &dropped);
      HoldForScreenshot("main menu band with an entry dropped down");
      // Down to the first entry, then Enter (WhilePumping closes whatever is left open).
      for (WORD key : {WORD(VK_DOWN), WORD(VK_RETURN)}) {
        INPUT keys[2]{};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = key;
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof(INPUT));
        Sleep(150);
      }
    });
    return {dropped, item};
  }

  HWND window = nullptr;
  ComponentPtr<TMainMenu> menu;
  std::vector<std::wstring> clicked;
};

}  // namespace

TEST_F(MainMenuBarTest, TheFrameShowsTheBandAndTheItemsAsMeasured) {
  const int rowHeight = GetSystemMetrics(SM_CYMENU) - 1;
  EXPECT_EQ(Provider().MenuLineHeight(), rowHeight);
  EXPECT_EQ(Provider().MenuLineRows(), 1);
  const TsMenuBar::Layout bar = Provider().MenuBarLayout();
  const frame_geometry::FrameLayout frame = Provider().CurrentLayout();
  // The band lies below the title across the window; the client area starts below it.
  const RECT r = WindowRect();
  EXPECT_EQ(bar.band, (Rect{0, frame.top, r.right - r.left, frame.top + rowHeight}));
  POINT client{0, 0};
  ClientToScreen(window, &client);
  EXPECT_EQ(client.y - r.top, frame.top + rowHeight);
  // Items side by side from the left border, each as wide as its caption without "&".
  ASSERT_EQ(bar.items.size(), 3u);
  int x = frame.left;
  const wchar_t* captions[] = {L"File", L"Edit", L"Help"};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(bar.items[i], (Rect{x, frame.top, x + MenuTextWidth(captions[i]), frame.top + rowHeight})) << i;
    x = bar.items[i].right;
  }
  // What the window shows of the band is the frame picture's band.
  const Bitmap* image = Provider().FrameImage();
  ASSERT_NE(image, nullptr);
  WindowDc dc(window, true);
  for (Point p : {Point{bar.items[2].right + 5, frame.top + rowHeight / 2}, Point{bar.items[0].left + 2, frame.top + 1}})
    EXPECT_EQ(GetPixel(dc.get(), p.x, p.y), image->GetPixel(p.x, p.y) & 0xFFFFFF) << p.x << "," << p.y;
  // Items that do not fit the window's width go to a second row, and the client area moves down
  // with it (a change of the menu lays the frame out anew).
  menu->Items()->Add(Item(std::wstring(static_cast<size_t>((r.right - r.left) / 4), L'W')));
  form->SetMenu(nullptr);
  form->SetMenu(menu.get());
  Pump(50);
  EXPECT_EQ(Provider().MenuLineRows(), 2);
  client = {0, 0};
  ClientToScreen(window, &client);
  EXPECT_EQ(client.y - WindowRect().top, frame.top + 2 * rowHeight);
}

TEST_F(MainMenuBarTest, TopItemsGetTheBarPaintersAndTheirSubItemsThePopUpOnes) {
  TsSkinableMenus& menus = TsSkinableMenus::Instance();
  WindowDc screen(nullptr);
  auto height = [&](TMenuItem& item) {
    int w = 0, h = 0;
    if (item.OnMeasureItem) item.OnMeasureItem(item, screen.get(), w, h);
    return h;
  };
  TMenuItem& top = *menu->Items()->Items(1);
  TMenuItem& sub = *top.Items(0);
  EXPECT_EQ(top.HandlersOwner, &menus);
  EXPECT_EQ(sub.HandlersOwner, &menus);
  EXPECT_EQ(height(top), GetSystemMetrics(SM_CYMENU) - 1);
  int w = 0, h = 0;
  menus.MeasureMenuItem(sub, screen.get(), w, h);
  EXPECT_EQ(height(sub), h);
  EXPECT_TRUE(menu->OwnerDraw());
  // A handler of the application's own stays; switched off, ours go.
  TMenuItem& own = *menu->Items()->Items(2);
  own.OnMeasureItem = [](TMenuItem&, HDC, int& ownWidth, int& ownHeight) { ownWidth = 77, ownHeight = 11; };
  own.OnAdvancedDrawItem = [](TMenuItem&, HDC, const RECT&, UINT, HMENU) {};
  own.HandlersOwner = nullptr;
  menus.SetMenusActive(true);
  EXPECT_EQ(height(own), 11);
  menus.SetMenusActive(false);
  EXPECT_FALSE(top.OnMeasureItem);
  EXPECT_FALSE(sub.OnMeasureItem);
  EXPECT_EQ(height(own), 11);
  EXPECT_FALSE(menu->OwnerDraw());
  menus.SetMenusActive(true);
  EXPECT_EQ(top.HandlersOwner, &menus);
}

TEST_F(MainMenuBarTest, ARealClickDropsTheItemDownAndAChoiceRunsIt) {
  const auto [dropped, item] = ClickEntryAndChooseFirst(1);
  EXPECT_FALSE(IsRectEmpty(&dropped));
  // Below the item, from its left edge.
  EXPECT_EQ(dropped.left, item.left);
  EXPECT_EQ(dropped.top, item.bottom);
  EXPECT_EQ(clicked, (std::vector<std::wstring>{L"Edit First"}));
  EXPECT_EQ(menu->DroppedIndex(), -1);
}

namespace {

// The main window as it is: the frame and the band are in the border window behind the form.
class ExtendedMainMenuBarTest : public MainMenuBarTest {
 protected:
  bool ExtendedMode() const override { return true; }
};

}  // namespace

TEST_F(ExtendedMainMenuBarTest, TheBorderWindowShowsTheBandBetweenTitleAndClientArea) {
  const int rowHeight = GetSystemMetrics(SM_CYMENU) - 1;
  const TsMenuBar::Layout bar = Provider().MenuBarLayout();
  const frame_geometry::FrameLayout frame = Provider().CurrentLayout();
  const frame_geometry::ExtendedFrameGeometry g = Provider().ExtendedGeometry();
  const Point origin = Provider().FrameOrigin();
  // Across the frame below the title; the form's client area, and its region, start below it.
  EXPECT_EQ(bar.band, (Rect{0, frame.top, g.frame.Width(), frame.top + rowHeight}));
  ASSERT_EQ(bar.items.size(), 3u);
  POINT client{0, 0};
  ClientToScreen(window, &client);
  EXPECT_EQ(client.y, origin.y + frame.top + rowHeight);
  RECT region{};
  ASSERT_NE(GetWindowRgnBox(window, &region), ERROR);
  EXPECT_EQ(region.top, client.y - WindowRect().top);
  // The band answers HTMENU over its items and beside them; the client area is the form's.
  for (Point p : {Point{(bar.items[1].left + bar.items[1].right) / 2, frame.top + rowHeight / 2},
                  Point{bar.items[2].right + 5, frame.top + 1}})
    EXPECT_EQ(Provider().BorderHitTest({origin.x + p.x, origin.y + p.y}), HTMENU) << p.x << "," << p.y;
  const HWND atClient = WindowFromPoint({client.x + 5, client.y + 5});
  EXPECT_TRUE(atClient == window || IsChild(window, atClient));
  // What the screen shows of the band is the frame picture's band (the picture holds the
  // shadow's margins around the frame).
  const Bitmap* image = Provider().FrameImage();
  ASSERT_NE(image, nullptr);
  WindowDc screen(nullptr);
  for (Point p : {Point{bar.items[2].right + 5, frame.top + rowHeight / 2}, Point{bar.items[0].left + 2, frame.top + 1},
                  Point{(bar.items[0].left + bar.items[0].right) / 2, frame.top + rowHeight / 2}})
    EXPECT_EQ(GetPixel(screen.get(), origin.x + p.x, origin.y + p.y),
              image->GetPixel(g.frameInImage.left + p.x, g.frameInImage.top + p.y) & 0xFFFFFF)
        << p.x << "," << p.y;
}

TEST_F(ExtendedMainMenuBarTest, ARealClickOnTheBandDropsTheItemDownAndAChoiceRunsIt) {
  const auto [dropped, item] = ClickEntryAndChooseFirst(2);
  EXPECT_FALSE(IsRectEmpty(&dropped));
  EXPECT_EQ(dropped.left, item.left);
  EXPECT_EQ(dropped.top, item.bottom);
  EXPECT_EQ(clicked, (std::vector<std::wstring>{L"Help First"}));
  EXPECT_EQ(menu->DroppedIndex(), -1);
}
