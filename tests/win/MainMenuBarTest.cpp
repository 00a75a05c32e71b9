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
  void SetUp() override {
    OpenMainWindow();
    form->sSkinManager1->SetExtendedBorders(false);
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
    ASSERT_FALSE(form->sSkinProvider1->Extended());
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
  SetForegroundWindow(window);
  Pump(50);
  const TsMenuBar::Layout bar = Provider().MenuBarLayout();
  ASSERT_EQ(bar.items.size(), 3u);
  const RECT r = WindowRect();
  const Rect item = bar.items[1].Offset(r.left, r.top);
  RECT dropped{};
  bool shown = false;
  WhilePumping([&] {
    INPUT input{};
    input.type = INPUT_MOUSE;
    const int sx = GetSystemMetrics(SM_CXSCREEN) - 1, sy = GetSystemMetrics(SM_CYSCREEN) - 1;
    input.mi.dx = ((item.left + item.right) / 2 * 65535) / sx;
    input.mi.dy = ((item.top + item.bottom) / 2 * 65535) / sy;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
    Sleep(100);
    input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &input, sizeof(input));
    input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof(input));
    Sleep(400);
    HWND popup = FindWindowW(L"#32768", nullptr);
    shown = popup && IsWindowVisible(popup);
    if (popup) GetWindowRect(popup, &dropped);
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
  EXPECT_TRUE(shown);
  // Below the item, from its left edge.
  EXPECT_EQ(dropped.left, item.left);
  EXPECT_EQ(dropped.top, item.bottom);
  EXPECT_EQ(clicked, (std::vector<std::wstring>{L"Edit First"}));
  EXPECT_EQ(menu->DroppedIndex(), -1);
}
