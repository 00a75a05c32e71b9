// The main window's skinned frame under real mouse and keyboard input: the frame's size around
// the client area, the hit codes of its parts, moving and sizing by the platform's own handling
// of those codes, the title buttons, their glow, and the system menu.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

#include "adapters/dialogs/vlMnuWnd.h"
#include "frame/sSkinableMenus.h"
#include "frame/sSystemMenu.h"
#include "frame/sTitleButtons.h"
#include "frame/vlBorderForm.h"
#include "framework/Application.h"
#include "framework/HandleCounts.h"
#include "framework/Menus.h"
#include "framework/Strings.h"
#include "framework/WindowSubclass.h"
#include "paint/BackgroundRef.h"
#include "paint/SkinPainters.h"
#include "skin/SkinCommands.h"
#include "skin/sSkinManager.h"
#include "tests/win/MainWindowFixture.h"

using namespace wintest;

namespace {

RECT WindowRect(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return r;
}

// A left-button drag from one screen point to another in small steps.
void Drag(POINT from, POINT to) {
  WhilePumping([=] {
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, from.x, from.y);
    Sleep(80);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Sleep(80);
    const int steps = 8;
    for (int i = 1; i <= steps; ++i) {
      SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, from.x + (to.x - from.x) * i / steps,
                from.y + (to.y - from.y) * i / steps);
      Sleep(40);
    }
    Sleep(80);
    SendMouse(MOUSEEVENTF_LEFTUP);
    Sleep(80);
  });
}

// A right click at a screen point, sent from the input thread.
void RightClick(POINT p) {
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, p.x, p.y);
  Sleep(60);
  SendMouse(MOUSEEVENTF_RIGHTDOWN);
  Sleep(30);
  SendMouse(MOUSEEVENTF_RIGHTUP);
}

void SendKeys(const std::vector<std::pair<WORD, bool>>& keys) {
  for (auto [key, up] : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
    Sleep(30);
  }
}

// The next visible top-level window below `window` in the z-order.
HWND NextVisibleBelow(HWND window) {
  HWND next = GetWindow(window, GW_HWNDNEXT);
  while (next && !IsWindowVisible(next)) next = GetWindow(next, GW_HWNDNEXT);
  return next;
}

// The platform's pop-up menu window, when one is open.
bool MenuOpen() { return FindWindowW(L"#32768", nullptr) && IsWindowVisible(FindWindowW(L"#32768", nullptr)); }
// The menu that the open pop-up menu window shows, or nullptr.
HMENU OpenMenu() {
  HWND menuWindow = FindWindowW(L"#32768", nullptr);
  if (!menuWindow || !IsWindowVisible(menuWindow)) return nullptr;
  return reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
}

// The main window as it is: its skin manager has extended borders, so the frame and the shadow
// lie in a border window behind the form.
class SkinnedFrameTest : public MainWindowFixture {
 protected:
  virtual bool ExtendedMode() const { return true; }
  void SetUp() override {
    OpenMainWindow();
    window = form->Handle();
    if (!ExtendedMode()) {
      form->sSkinManager1->SetExtendedBorders(false);
      Pump(50);
    }
    SetForegroundWindow(window);
    Pump(50);
    ASSERT_TRUE(form->sSkinProvider1->FrameSkinned());
    ASSERT_EQ(form->sSkinProvider1->Extended(), ExtendedMode());
  }
  void TearDown() override {
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 5, GetSystemMetrics(SM_CYSCREEN) - 5);
    Pump(50);
    MainWindowFixture::TearDown();
  }

  // A point of the frame (frame coordinates) on the screen.
  POINT Screen(Point p) const {
    Point origin = form->sSkinProvider1->FrameOrigin();
    return {origin.x + p.x, origin.y + p.y};
  }
  // The frame on the screen: the window's rectangle, or in extended mode the frame around it.
  RECT FrameRect() const {
    frame_geometry::FrameInput input = form->sSkinProvider1->CurrentFrameInput();
    POINT origin = Screen({0, 0});
    return {origin.x, origin.y, origin.x + input.width, origin.y + input.height};
  }
  // The hit code the frame answers at a screen point.
  LRESULT HitAt(POINT p) const {
    if (ExtendedMode()) return form->sSkinProvider1->BorderHitTest({p.x, p.y});
    return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
  }
  POINT Centre(const Rect& rect) const { return Screen({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}); }
  frame_geometry::FrameLayout Layout() const { return form->sSkinProvider1->CurrentLayout(); }
  void MoveMouse(POINT p) {
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, p.x, p.y);
    Pump(60);
  }
  // Clicks from a thread of its own: a press on the title band starts the platform's move loop.
  void Click(POINT p, bool twice = false) {
    WhilePumping([=] {
      SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, p.x, p.y);
      Sleep(60);
      for (int i = 0; i < (twice ? 2 : 1); ++i) {
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        Sleep(20);
        SendMouse(MOUSEEVENTF_LEFTUP);
        Sleep(20);
      }
      Sleep(100);
    });
  }
  // The window at its designed size, its client area inset by `side` at the left and right,
  // `top` above and `bottom` below.
  void ExpectDesignedSizeWithClientInset(int side, int top, int bottom) {
    RECT r = WindowRect(window), client;
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    EXPECT_EQ(r.right - r.left, 615);
    EXPECT_EQ(r.bottom - r.top, 549);
    EXPECT_EQ(origin.x - r.left, side);
    EXPECT_EQ(origin.y - r.top, top);
    EXPECT_EQ(client.right, 615 - 2 * side);
    EXPECT_EQ(client.bottom, 549 - top - bottom);
  }
  // The designed window made larger, so that sizing has room to shrink.
  void Enlarge() {
    SetWindowPos(window, nullptr, 100, 80, 800, 700, SWP_NOZORDER | SWP_NOACTIVATE);
    Pump(100);
  }

  HWND window = nullptr;
};

// The frame drawn in the window's own non-client area (no extended borders).
class StandardFrameTest : public SkinnedFrameTest {
 protected:
  bool ExtendedMode() const override { return false; }
};

// What holds in both modes; the parameter: extended borders.
class EitherFrameTest : public SkinnedFrameTest, public testing::WithParamInterface<bool> {
 protected:
  bool ExtendedMode() const override { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(Modes, EitherFrameTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& mode) { return mode.param ? "Extended" : "Standard"; });

}  // namespace

TEST_F(StandardFrameTest, FrameHasTheSkinsBorderAndTitleAroundTheClientArea) {
  const TsSkinData& skin = form->sSkinManager1->Skin().Data;
  ExpectDesignedSizeWithClientInset(skin.BorderWidth, skin.TitleHeight, skin.BorderWidth);
  RECT client;
  GetClientRect(window, &client);
  // The children fill the smaller client area.
  EXPECT_EQ(form->sPanelTop->Top(), client.bottom - 41);
  EXPECT_EQ(form->sPanelOn->Width() + form->sPanelOff->Width(), client.right);
}

TEST_P(EitherFrameTest, HitCodesOfTheFrameParts) {
  frame_geometry::FrameLayout layout = Layout();
  RECT r = FrameRect();
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int zone = GetSystemMetrics(SM_CXSIZEFRAME);
  struct Case {
    const char* name;
    Point point;
    LRESULT code;
  } cases[] = {
      {"title band", {w / 2, layout.top / 2}, HTCAPTION},
      {"icon", {layout.icon.left + 2, layout.icon.top + 2}, HTSYSMENU},
      {"close", {layout.close.left + 2, layout.close.top + 2}, HTCLOSE},
      {"maximise", {layout.maximize.left + 2, layout.maximize.top + 2}, HTMAXBUTTON},
      {"minimise", {layout.minimize.left + 2, layout.minimize.top + 2}, HTMINBUTTON},
      {"top edge", {w / 2, 0}, HTTOP},
      {"left edge", {0, h / 2}, HTLEFT},
      {"right edge", {w - 1, h / 2}, HTRIGHT},
      {"bottom edge", {w / 2, h - 1}, HTBOTTOM},
      {"top left", {0, 0}, HTTOPLEFT},
      {"top right", {w - 1, 0}, HTTOPRIGHT},
      {"bottom left", {0, h - 1}, HTBOTTOMLEFT},
      {"bottom right", {w - 1, h - 1}, HTBOTTOMRIGHT},
      {"border inside the sizing zone", {zone, h / 2}, HTBORDER},
      {"client", {w / 2, h / 2}, HTCLIENT},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HitAt(Screen(c.point)), c.code) << c.name;
  }
}

TEST_P(EitherFrameTest, CursorOverBordersAndCornersIsTheSizingCursor) {
  RECT r = FrameRect();
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int zone = GetSystemMetrics(SM_CXSIZEFRAME);
  struct Case {
    const char* name;
    Point point;
    LPCWSTR cursor;
  } cases[] = {
      {"left edge", {zone / 2, h / 2}, IDC_SIZEWE},
      {"right edge", {w - 1 - zone / 2, h / 2}, IDC_SIZEWE},
      {"top edge", {w / 2, zone / 2}, IDC_SIZENS},
      {"bottom edge", {w / 2, h - 1 - zone / 2}, IDC_SIZENS},
      // Inside the corners that the window's shape cuts off.
      {"top left", {zone - 1, zone - 1}, IDC_SIZENWSE},
      {"bottom right", {w - zone, h - zone}, IDC_SIZENWSE},
      {"top right", {w - zone, zone - 1}, IDC_SIZENESW},
      {"bottom left", {zone - 1, h - zone}, IDC_SIZENESW},
      {"title band", {w / 2, Layout().top / 2}, IDC_ARROW},
  };
  for (const auto& c : cases) {
    MoveMouse(Screen(c.point));
    Pump(30);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, c.cursor)) << c.name;
  }
}

TEST_P(EitherFrameTest, TheApplicationsHitTestIsAskedFirst) {
  const POINT client = Screen({300, 200}), title = Screen({300, Layout().top / 2});
  form->sSkinProvider1->OnExtHitTest = [&](TObject*, Point screen, int& result) {
    if (screen.x == client.x && screen.y == client.y) result = HTCAPTION;
  };
  EXPECT_EQ(HitAt(client), HTCAPTION);
  EXPECT_EQ(HitAt(title), HTCAPTION);  // no answer: the frame's own
  EXPECT_EQ(HitAt(Screen({301, 200})), HTCLIENT);
  form->sSkinProvider1->OnExtHitTest = nullptr;
  EXPECT_EQ(HitAt(client), HTCLIENT);
}

TEST_P(EitherFrameTest, DraggingTheTitleBandMovesTheWindow) {
  RECT before = WindowRect(window);
  POINT from = Screen({300, Layout().top / 2});
  Drag(from, {from.x + 60, from.y + 40});
  RECT after = WindowRect(window);
  EXPECT_EQ(after.left - before.left, 60);
  EXPECT_EQ(after.top - before.top, 40);
  EXPECT_EQ(after.right - after.left, 615);
  EXPECT_EQ(after.bottom - after.top, 549);
}

TEST_P(EitherFrameTest, DraggingBordersSizesTheWindowDownToTheDesignedSize) {
  struct Case {
    const char* name;
    bool right, bottom;
    int width, height;
  } cases[] = {
      {"right border", true, false, 615, 700},
      {"bottom border", false, true, 800, 549},
      {"lower right corner", true, true, 615, 549},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Enlarge();
    RECT before = WindowRect(window);
    RECT r = FrameRect();
    POINT from{c.right ? r.right - 1 : (r.left + r.right) / 2, c.bottom ? r.bottom - 1 : (r.top + r.bottom) / 2};
    Drag(from, {c.right ? from.x - 400 : from.x, c.bottom ? from.y - 400 : from.y});
    RECT after = WindowRect(window);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right - after.left, c.width);
    EXPECT_EQ(after.bottom - after.top, c.height);
  }
  // Outwards the window grows.
  RECT r = FrameRect();
  Drag({r.right - 1, r.bottom - 1}, {r.right + 50, r.bottom + 30});
  RECT after = WindowRect(window);
  EXPECT_EQ(after.right - after.left, 615 + 51);
  EXPECT_EQ(after.bottom - after.top, 549 + 31);
}

TEST_P(EitherFrameTest, DoubleClickOnTheTitleMaximisesAndRestores) {
  RECT before = WindowRect(window);
  Click(Screen({300, Layout().top / 2}), true);
  ASSERT_TRUE(IsZoomed(window));
  MONITORINFO monitor{sizeof(monitor)};
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT work = monitor.rcWork;
  if (!ExtendedMode()) {
    RECT max = WindowRect(window);
    EXPECT_EQ(max.left, work.left);
    EXPECT_EQ(max.top, work.top);
    EXPECT_EQ(max.right, work.right);
    EXPECT_EQ(max.bottom, work.bottom);
  }
  // Maximised, the frame keeps only the lower title band: the client area fills the rest of
  // the work area.
  const TsSkinData& skin = form->sSkinManager1->Skin().Data;
  RECT client;
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  EXPECT_EQ(origin.x, work.left);
  EXPECT_EQ(origin.y - work.top, skin.MaxHeight > 0 ? skin.MaxHeight : skin.TitleHeight);
  EXPECT_EQ(origin.x + client.right, work.right);
  EXPECT_EQ(origin.y + client.bottom, work.bottom);

  Click(Screen({300, Layout().top / 2}), true);
  EXPECT_FALSE(IsZoomed(window));
  RECT after = WindowRect(window);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.right, before.right);
  EXPECT_EQ(after.bottom, before.bottom);
}

TEST_P(EitherFrameTest, TitleButtonsDoWhatTheyShow) {
  RECT before = WindowRect(window);
  Click(Centre(Layout().maximize));
  EXPECT_TRUE(IsZoomed(window));
  Click(Centre(Layout().maximize));  // now the restore button
  EXPECT_FALSE(IsZoomed(window));
  EXPECT_EQ(WindowRect(window).left, before.left);

  Click(Centre(Layout().minimize));
  EXPECT_TRUE(IsIconic(window));
  ShowWindow(window, SW_RESTORE);
  Pump(100);
  EXPECT_FALSE(IsIconic(window));
  EXPECT_TRUE(form->sSkinProvider1->FrameSkinned());
  EXPECT_EQ(WindowRect(window).right - WindowRect(window).left, 615);

  Click(Centre(Layout().close));
  EXPECT_FALSE(IsWindowVisible(window));
}

TEST_P(EitherFrameTest, AButtonReleasedOutsideItDoesNothing) {
  Rect close = Layout().close;
  WhilePumping([&] {
    POINT p = Centre(close);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, p.x, p.y);
    Sleep(60);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Sleep(100);
  });
  EXPECT_EQ(form->sSkinProvider1->PressedButton(), HTCLOSE);
  POINT away = Screen({300, 200});
  WhilePumping([&] {
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, away.x, away.y);
    Sleep(60);
    SendMouse(MOUSEEVENTF_LEFTUP);
    Sleep(60);
  });
  Pump(200);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(form->sSkinProvider1->PressedButton(), 0);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_P(EitherFrameTest, APressEndsWhenTheMouseCaptureIsLost) {
  Rect close = Layout().close;
  POINT p = Centre(close);
  WhilePumping([&] {
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, p.x, p.y);
    Sleep(60);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Sleep(100);
  });
  ASSERT_EQ(form->sSkinProvider1->PressedButton(), HTCLOSE);
  ReleaseCapture();  // as when another window takes the mouse
  Pump(50);
  EXPECT_EQ(form->sSkinProvider1->PressedButton(), 0);
  WhilePumping([&] {
    SendMouse(MOUSEEVENTF_LEFTUP);
    Sleep(60);
  });
  EXPECT_TRUE(IsWindowVisible(window));  // the release over the button no longer closes
}

TEST_P(EitherFrameTest, HoveredCloseButtonGlowsUntilTheMouseLeaves) {
  MoveMouse(Centre(Layout().close));
  Pump(250);
  EXPECT_EQ(form->sSkinProvider1->HotButton(), HTCLOSE);
  HWND glow = form->sSkinProvider1->ButtonGlowWindow(HTCLOSE);
  ASSERT_NE(glow, nullptr);
  EXPECT_TRUE(IsWindowVisible(glow));
  EXPECT_TRUE(GetWindowLongW(glow, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_EQ(GetForegroundWindow(), window);  // the glow never takes activation
  // The glow picture is centred on the button.
  RECT g = WindowRect(glow);
  POINT centre = Centre(Layout().close);
  EXPECT_LE(std::abs((g.left + g.right) / 2 - centre.x), 1);
  EXPECT_LE(std::abs((g.top + g.bottom) / 2 - centre.y), 1);

  MoveMouse(Screen({300, 200}));
  Pump(400);
  EXPECT_EQ(form->sSkinProvider1->HotButton(), 0);
  EXPECT_EQ(form->sSkinProvider1->ButtonGlowWindow(HTCLOSE), nullptr);
  EXPECT_FALSE(IsWindow(glow));
}

TEST_P(EitherFrameTest, HoverRepaintsButtonsWithoutComposingTheFrame) {
  Pump(100);
  int before = form->sSkinProvider1->Compositions();
  for (int i = 0; i < 3; ++i) {
    MoveMouse(Centre(Layout().close));
    MoveMouse(Centre(Layout().minimize));
    MoveMouse(Screen({300, 200}));
  }
  EXPECT_EQ(form->sSkinProvider1->Compositions(), before);
}

namespace {

// The application's own title buttons on the main window: two of them with glyphs, hints and
// counted mouse events.
class UserTitleButtonsTest : public SkinnedFrameTest, public testing::WithParamInterface<bool> {
 protected:
  bool ExtendedMode() const override { return GetParam(); }
  void SetUp() override {
    SkinnedFrameTest::SetUp();
    if (HasFatalFailure()) return;
    TsTitleButtons* buttons = form->sSkinProvider1->TitleButtons();
    for (int i = 0; i < 2; ++i) {
      TsTitleButton* b = buttons->Add();
      b->SetName(i == 0 ? L"Zoom" : L"Pin");
      // A 12 x 12 glyph of one colour; its bottom-left pixel (the transparent colour) green.
      Bitmap glyph(12, 12, PixelFormat::pf24bit);
      for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
          uint8_t* px = glyph.PixelAt(x, y);
          px[0] = i == 0 ? 255 : 0;  // blue, then red
          px[1] = 0;
          px[2] = i == 0 ? 0 : 255;
        }
      glyph.PixelAt(0, 11)[1] = 255;
      glyph.PixelAt(0, 11)[0] = glyph.PixelAt(0, 11)[2] = 0;
      b->SetGlyph(glyph);
      b->OnMouseDown = [this, i](TObject*, TMouseButton, TShiftState, int, int) { ++downs[i]; };
      b->OnMouseUp = [this, i](TObject*, TMouseButton, TShiftState, int, int) { ++ups[i]; };
    }
    Pump(50);
  }
  TsTitleButton* Button(int i) { return form->sSkinProvider1->TitleButtons()->Items(i); }
  Rect UserRect(int i) const { return Layout().user.at(static_cast<size_t>(i)); }
  // The composed frame's pixel (blue, green, red) at a point of the frame.
  std::array<int, 3> FramePixel(Point p) const {
    const Bitmap* image = form->sSkinProvider1->FrameImage();
    Point at = p;
    if (ExtendedMode()) {
      Rect frame = form->sSkinProvider1->ExtendedGeometry().frameInImage;
      at = {p.x + frame.left, p.y + frame.top};
    }
    const uint8_t* px = image->PixelAt(at.x, at.y);
    return {px[0], px[1], px[2]};
  }
  int downs[2]{};
  int ups[2]{};
};

INSTANTIATE_TEST_SUITE_P(Modes, UserTitleButtonsTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& mode) { return mode.param ? "Extended" : "Standard"; });

}  // namespace

TEST_P(UserTitleButtonsTest, TheFrameShowsThemLeftOfTheSystemButtons) {
  Rect zoom = UserRect(0), pin = UserRect(1);
  ASSERT_FALSE(zoom.Empty());
  ASSERT_FALSE(pin.Empty());
  EXPECT_LT(zoom.right, Layout().minimize.left);
  EXPECT_EQ(pin.right + form->sSkinManager1->Skin().Data.BISpace, zoom.left);
  EXPECT_LE(Layout().caption.right, pin.left - 12);
  // The glyphs are drawn centred on their buttons; the transparent pixel is not.
  Point zoomCentre{(zoom.left + zoom.right) / 2, (zoom.top + zoom.bottom) / 2};
  Point pinCentre{(pin.left + pin.right) / 2, (pin.top + pin.bottom) / 2};
  EXPECT_EQ(FramePixel(zoomCentre), (std::array<int, 3>{255, 0, 0}));
  EXPECT_EQ(FramePixel(pinCentre), (std::array<int, 3>{0, 0, 255}));
  Point key{zoom.left + (zoom.Width() - 12) / 2, zoom.top + (zoom.Height() - 12) / 2 + 11};
  EXPECT_NE(FramePixel(key), (std::array<int, 3>{0, 255, 0}));
  EXPECT_EQ(HitAt(Centre(zoom)), frame_geometry::kHitUserButton);
  EXPECT_EQ(HitAt(Centre(pin)), frame_geometry::kHitUserButton + 1);
}

TEST_P(UserTitleButtonsTest, APressAndReleaseRaisesEachEventOnce) {
  Click(Centre(UserRect(0)));
  EXPECT_EQ(downs[0], 1);
  EXPECT_EQ(ups[0], 1);
  EXPECT_EQ(downs[1] + ups[1], 0);
  Click(Centre(UserRect(1)));
  EXPECT_EQ(downs[1], 1);
  EXPECT_EQ(ups[1], 1);
  EXPECT_EQ(downs[0], 1);
  EXPECT_TRUE(IsWindowVisible(window));

  // Pressed, then released away from the button: the press is told, the release not.
  POINT p = Centre(UserRect(0)), away = Screen({300, 200});
  WhilePumping([&] {
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, p.x, p.y);
    Sleep(60);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Sleep(60);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, away.x, away.y);
    Sleep(60);
    SendMouse(MOUSEEVENTF_LEFTUP);
    Sleep(60);
  });
  EXPECT_EQ(downs[0], 2);
  EXPECT_EQ(ups[0], 1);
  EXPECT_EQ(form->sSkinProvider1->PressedButton(), 0);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_P(UserTitleButtonsTest, DisabledAndInvisibleButtonsDoNothing) {
  Rect pin = UserRect(1);
  Button(1)->SetEnabled(false);
  Pump(50);
  EXPECT_EQ(HitAt(Centre(pin)), HTCAPTION);
  RECT before = WindowRect(window);
  Click(Centre(pin));
  EXPECT_EQ(downs[1] + ups[1], 0);
  EXPECT_EQ(WindowRect(window).left, before.left);

  // Hidden, the first one leaves the band (composed anew) and the disabled one takes its place.
  Rect zoom = UserRect(0);
  int compositions = form->sSkinProvider1->Compositions();
  Button(0)->SetVisible(false);
  Pump(50);
  EXPECT_GT(form->sSkinProvider1->Compositions(), compositions);
  EXPECT_TRUE(UserRect(0).Empty());
  EXPECT_EQ(UserRect(1), zoom);
  Click(Centre(zoom));
  Click(Centre(pin));
  EXPECT_EQ(downs[0] + ups[0] + downs[1] + ups[1], 0);

  Button(0)->SetVisible(true);
  Button(1)->SetEnabled(true);
  Pump(50);
  Click(Centre(UserRect(1)));
  EXPECT_EQ(downs[1], 1);
  EXPECT_EQ(ups[1], 1);
}

TEST_P(UserTitleButtonsTest, HotButtonShowsItsHintUntilTheMouseLeaves) {
  Button(0)->SetHint(L"Zoom the list");
  MoveMouse(Centre(UserRect(0)));
  Pump(300);
  EXPECT_EQ(form->sSkinProvider1->HotButton(), frame_geometry::kHitUserButton);
  HWND hint = Button(0)->HintWindow();
  ASSERT_NE(hint, nullptr);
  EXPECT_TRUE(IsWindowVisible(hint));
  EXPECT_TRUE(GetWindowLongW(hint, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetForegroundWindow(), window);
  // Near the cursor, inside the frame.
  RECT h = WindowRect(hint), f = FrameRect();
  POINT c = Centre(UserRect(0));
  EXPECT_LE(h.left, c.x + 8);
  EXPECT_GE(h.left, f.left);
  EXPECT_LE(h.right, f.right);
  // The button without a hint shows none.
  MoveMouse(Centre(UserRect(1)));
  Pump(100);
  EXPECT_FALSE(IsWindow(hint));
  EXPECT_EQ(Button(1)->HintWindow(), nullptr);
  MoveMouse(Screen({300, 200}));
  Pump(100);
  EXPECT_EQ(form->sSkinProvider1->HotButton(), 0);
  EXPECT_EQ(Button(0)->HintWindow(), nullptr);
}

// In the window's own frame: a hover repaint there is a plain copy, so that 500 cycles stay
// short (in a border window each one hands the whole picture over).
TEST_F(StandardFrameTest, HoverAndPressCyclesOnTheTitleButtonsLeaveNoObjectsBehind) {
  ASSERT_TRUE(handle_counts::kEnabled);
  TsTitleButton* user = form->sSkinProvider1->TitleButtons()->Add();
  int presses = 0;
  user->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++presses; };
  Pump(50);
  frame_geometry::FrameLayout layout = Layout();
  const POINT close = Centre(layout.close), own = Centre(layout.user.at(0)), away = Screen({300, 200});
  // Hover the close button (its glow) and the user button, press the user button and let it go
  // away from it.
  auto cycle = [&] {
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, close.x, close.y);
    Pump(1);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, own.x, own.y);
    Pump(1);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Pump(1);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, away.x, away.y);
    Pump(1);
    SendMouse(MOUSEEVENTF_LEFTUP);
    Pump(1);
  };
  // Once with the hint: its font is made then and kept with the button.
  user->SetHint(L"A hint");
  cycle();
  Pump(300);
  user->SetHint(L"");
  const long gdi = handle_counts::Gdi(), userObjects = handle_counts::User();
  for (int i = 0; i < 500; ++i) cycle();
  // A few with the hint window (it blends in for a while each time).
  user->SetHint(L"A hint");
  for (int i = 0; i < 10; ++i) cycle();
  Pump(300);  // the last fade ends
  EXPECT_EQ(handle_counts::Gdi(), gdi);
  EXPECT_EQ(handle_counts::User(), userObjects);
  EXPECT_EQ(presses, 511);
  EXPECT_EQ(form->sSkinProvider1->PressedButton(), 0);
  EXPECT_EQ(user->HintWindow(), nullptr);
}

TEST_P(EitherFrameTest, InactiveWindowLooksDifferent) {
  SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
  Bitmap active = *form->sSkinProvider1->FrameImage();
  SendMessageW(window, WM_NCACTIVATE, FALSE, 0);
  EXPECT_FALSE(form->sSkinProvider1->ActiveLook());
  Bitmap inactive = *form->sSkinProvider1->FrameImage();
  EXPECT_FALSE(active == inactive);
  SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
  EXPECT_TRUE(*form->sSkinProvider1->FrameImage() == active);
}

TEST_P(EitherFrameTest, SystemMenuOpensFromTheTitleAndAltSpaceAndClosesTheWindow) {
  // A right click on the title band opens it; Escape closes it without a command.
  POINT title = Screen({300, Layout().top / 2});
  std::atomic<bool> sawMenu{false};
  WhilePumping([&] {
    RightClick(title);
    Sleep(300);
    sawMenu = MenuOpen();
    SendKeys({{VK_ESCAPE, false}, {VK_ESCAPE, true}});
    Sleep(100);
  }, window);
  EXPECT_TRUE(sawMenu);
  EXPECT_TRUE(IsWindowVisible(window));

  // Alt+Space opens it too; Close (by its access key) closes the window.
  SetForegroundWindow(window);
  Pump(50);
  sawMenu = false;
  WhilePumping([&] {
    SendKeys({{VK_MENU, false}, {VK_SPACE, false}, {VK_SPACE, true}, {VK_MENU, true}});
    Sleep(300);
    sawMenu = MenuOpen();
    SendKeys({{'C', false}, {'C', true}});
    Sleep(100);
  }, window);
  Pump(200);
  EXPECT_TRUE(sawMenu);
  EXPECT_FALSE(IsWindowVisible(window));
}

TEST_P(EitherFrameTest, SystemMenuEntriesFollowTheWindowState) {
  // The menu's entries are set when it opens; look at them in the menu that is open, the skinned
  // one and the platform's (pop-up menus not skinned). An entry that is not there is hidden.
  struct Case {
    const char* name;
    bool skinnedPopups;
    bool maximize;
    bool restore, move, size, maximizeEntry, minimizeEntry;
  } cases[] = {
      {"skinned, normal", true, false, false, true, true, true, true},
      {"skinned, maximised", true, true, true, false, false, false, true},
      {"platform, normal", false, false, false, true, true, true, true},
      {"platform, maximised", false, true, true, false, false, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    form->sSkinManager1->SetSkinnedPopups(c.skinnedPopups);
    ShowWindow(window, c.maximize ? SW_MAXIMIZE : SW_RESTORE);
    SetForegroundWindow(window);
    Pump(100);
    UINT restore = 0, move = 0, size = 0, maximize = 0, minimize = 0;
    bool ownerDrawn = false;
    WhilePumping([&] {
      PostMessageW(window, 0x0313, 0, 0);
      Sleep(300);
      HMENU menu = OpenMenu();
      restore = GetMenuState(menu, SC_RESTORE, MF_BYCOMMAND);
      move = GetMenuState(menu, SC_MOVE, MF_BYCOMMAND);
      size = GetMenuState(menu, SC_SIZE, MF_BYCOMMAND);
      maximize = GetMenuState(menu, SC_MAXIMIZE, MF_BYCOMMAND);
      minimize = GetMenuState(menu, SC_MINIMIZE, MF_BYCOMMAND);
      ownerDrawn = menu && (GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & MF_OWNERDRAW) != 0;
      SendKeys({{VK_ESCAPE, false}, {VK_ESCAPE, true}});
      Sleep(100);
    }, window);
    auto enabled = [](UINT state) { return state != static_cast<UINT>(-1) && (state & MF_GRAYED) == 0; };
    EXPECT_EQ(enabled(restore), c.restore);
    EXPECT_EQ(enabled(move), c.move);
    EXPECT_EQ(enabled(size), c.size);
    EXPECT_EQ(enabled(maximize), c.maximizeEntry);
    EXPECT_EQ(enabled(minimize), c.minimizeEntry);
    EXPECT_EQ(ownerDrawn, c.skinnedPopups);
  }
  form->sSkinManager1->SetSkinnedPopups(true);
  ShowWindow(window, SW_RESTORE);
  Pump(50);
}

TEST_P(EitherFrameTest, RemovingTheSkinGivesThePlatformFrameBack) {
  RECT client;
  GetClientRect(window, &client);
  const int skinnedWidth = client.right;
  for (int i = 0; i < 3; ++i) {
    form->sSkinManager1->SetActive(false);
    Pump(50);
    EXPECT_FALSE(form->sSkinProvider1->FrameSkinned());
    GetClientRect(window, &client);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, GetWindowLongW(window, GWL_STYLE), FALSE, GetWindowLongW(window, GWL_EXSTYLE));
    EXPECT_EQ(client.right, 615 - (frame.right - frame.left));
    form->sSkinManager1->SetActive(true);
    Pump(50);
    EXPECT_TRUE(form->sSkinProvider1->FrameSkinned());
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, skinnedWidth);
  }
}

TEST_P(EitherFrameTest, DraggingTheTitleBandNearTheWorkAreaEdgeSnapsOntoIt) {
  MONITORINFO monitor{sizeof(monitor)};
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT work = monitor.rcWork;
  struct Case {
    const char* name;
    int gap;       // how far from the work area's left and top edges the drag ends
    int expected;  // where the window's left and top edges end, from the work area's
  } cases[] = {
      {"within the snap distance", 6, 0},
      {"beyond the snap distance", 14, 14},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetWindowPos(window, nullptr, work.left + 200, work.top + 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump(50);
    RECT r = WindowRect(window);
    POINT from = Screen({300, Layout().top / 2});
    Drag(from, {from.x - (r.left - work.left - c.gap), from.y - (r.top - work.top - c.gap)});
    RECT after = WindowRect(window);
    EXPECT_EQ(after.left - work.left, c.expected);
    EXPECT_EQ(after.top - work.top, c.expected);
    EXPECT_EQ(after.right - after.left, 615);
    EXPECT_EQ(after.bottom - after.top, 549);
  }
  // A placement the program sets is kept as it is.
  SetWindowPos(window, nullptr, work.left + 5, work.top + 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Pump(50);
  EXPECT_EQ(WindowRect(window).left, work.left + 5);
  EXPECT_EQ(WindowRect(window).top, work.top + 5);
}

TEST_F(StandardFrameTest, TheWindowRegionLeavesOutTheBorderMasksKeyColourCorners) {
  // Whether a window point lies in the window's region; no region at all: nullopt.
  auto inRegion = [this](Point p) -> std::optional<bool> {
    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(window, region.get()) == ERROR) return std::nullopt;
    return PtInRegion(region.get(), p.x, p.y) != FALSE;
  };
  auto expectShape = [&](const char* when) {
    SCOPED_TRACE(when);
    RECT r = WindowRect(window);
    const int w = r.right - r.left, h = r.bottom - r.top;
    EXPECT_EQ(inRegion({0, 0}), std::optional<bool>(false)) << "top left corner";
    EXPECT_EQ(inRegion({w - 1, 0}), std::optional<bool>(false)) << "top right corner";
    // The stored skin's lower corners are square.
    EXPECT_EQ(inRegion({0, h - 1}), std::optional<bool>(true)) << "bottom left corner";
    EXPECT_EQ(inRegion({w - 1, h - 1}), std::optional<bool>(true)) << "bottom right corner";
    EXPECT_EQ(inRegion({w / 2, h / 2}), std::optional<bool>(true)) << "centre";
    EXPECT_EQ(inRegion({w / 2, 0}), std::optional<bool>(true)) << "top edge";
    EXPECT_EQ(inRegion({w - 1, h / 2}), std::optional<bool>(true)) << "right edge";
  };
  expectShape("designed size");
  SetWindowPos(window, nullptr, 0, 0, 800, 700, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Pump(50);
  expectShape("larger");

  ShowWindow(window, SW_MAXIMIZE);
  Pump(50);
  EXPECT_EQ(inRegion({0, 0}), std::nullopt) << "maximised";
  ShowWindow(window, SW_RESTORE);
  Pump(50);
  expectShape("restored");

  form->sSkinManager1->SetActive(false);
  Pump(50);
  EXPECT_EQ(inRegion({0, 0}), std::nullopt) << "skin removed";
  form->sSkinManager1->SetActive(true);
  Pump(50);
  expectShape("skin applied again");
}

TEST_F(SkinnedFrameTest, BorderWindowLiesAroundTheFormAndTheClientGetsItsWidthBack) {
  // Expectations from the platform's metrics and the skin's values.
  const TsSkinData& skin = form->sSkinManager1->Skin().Data;
  const Rect margins = form->sSkinManager1->ShadowMargins();
  ASSERT_EQ(margins, (Rect{skin.FormOffset, skin.FormOffset, skin.FormOffset, skin.FormOffset}));
  const int side = GetSystemMetrics(SM_CXFRAME), caption = GetSystemMetrics(SM_CYCAPTION);
  ExpectDesignedSizeWithClientInset(side, side + caption, side);
  RECT client;
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);

  HWND border = form->sSkinProvider1->BorderWindow();
  ASSERT_NE(border, nullptr);
  EXPECT_TRUE(IsWindowVisible(border));
  RECT b = WindowRect(border);
  // The skin's frame reaches BORDERWIDTH beyond the client area and TITLEHEIGHT above it; the
  // shadow's margins lie around that.
  EXPECT_EQ(b.left, origin.x - skin.BorderWidth - margins.left);
  EXPECT_EQ(b.top, origin.y - skin.TitleHeight - margins.top);
  EXPECT_EQ(b.right, origin.x + client.right + skin.BorderWidth + margins.right);
  EXPECT_EQ(b.bottom, origin.y + client.bottom + skin.BorderWidth + margins.bottom);
  const LONG ex = GetWindowLongW(border, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_LAYERED);
  EXPECT_TRUE(ex & WS_EX_NOACTIVATE);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetWindow(border, GW_OWNER), nullptr);
  EXPECT_EQ(GetWindowLongPtrW(border, GWLP_USERDATA), -98);
  // The mouse finds the border window over the frame.
  EXPECT_EQ(WindowFromPoint({origin.x + client.right / 2, origin.y - skin.TitleHeight / 2}), border);

  // The form shows only its client area.
  UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(window, region.get()), ERROR);
  RECT box;
  GetRgnBox(region.get(), &box);
  EXPECT_EQ(box.left, side);
  EXPECT_EQ(box.top, side + caption);
  EXPECT_EQ(box.right, 615 - side);
  EXPECT_EQ(box.bottom, 549 - side);

  // The layout has its room: the children fill the client area and the web label's whole text
  // fits inside it.
  EXPECT_EQ(form->sPanelOn->Width() + form->sPanelOff->Width(), client.right);
  TsWebLabel* label = form->sWebLabel;
  POINT labelAt{label->Left(), label->Top()};
  ClientToScreen(form->sPanelTop->Handle(), &labelAt);
  EXPECT_LE(labelAt.x + label->Width(), origin.x + client.right);
  {
    WindowDc dc(window);
    UniqueFont font(CreateFontW(label->Font()->Height(), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                                label->Font()->Name().c_str()));
    SelectedObject selected(dc.get(), font.get());
    SIZE text{};
    GetTextExtentPoint32W(dc.get(), label->Caption().c_str(), static_cast<int>(label->Caption().size()), &text);
    EXPECT_LE(labelAt.x + text.cx, origin.x + client.right) << "the text ends inside the client area";
  }

  // The composed picture: opaque frame, transparent far corner, soft shadow below the frame.
  const Bitmap* image = form->sSkinProvider1->FrameImage();
  ASSERT_NE(image, nullptr);
  ASSERT_EQ(image->Format(), PixelFormat::pf32bit);
  EXPECT_EQ(image->Width(), b.right - b.left);
  EXPECT_EQ(image->Height(), b.bottom - b.top);
  EXPECT_EQ(image->GetPixel(0, 0) >> 24, 0u);
  EXPECT_EQ(image->GetPixel(image->Width() / 2, margins.top + skin.TitleHeight / 2) >> 24, 255u) << "title band";
  EXPECT_EQ(image->GetPixel(margins.left + 2, image->Height() / 2) >> 24, 255u) << "left border";
  uint32_t below = image->GetPixel(image->Width() / 2, image->Height() - margins.bottom + 2) >> 24;
  EXPECT_GT(below, 0u) << "shadow below the frame";
  EXPECT_LT(below, 255u);
}

TEST_F(SkinnedFrameTest, MovingPlacesTheBorderWindowAndSizingComposesOncePerSize) {
  HWND border = form->sSkinProvider1->BorderWindow();
  ASSERT_NE(border, nullptr);
  const TvlBorderForm* borderForm = form->sSkinProvider1->BorderForm();
  Pump(50);
  const RECT formBefore = WindowRect(window), before = WindowRect(border);
  const int compositions = form->sSkinProvider1->Compositions();
  const int handOvers = borderForm->HandOvers();
  for (int i = 1; i <= 5; ++i) {
    SCOPED_TRACE(i);
    SetWindowPos(window, nullptr, formBefore.left + 7 * i, formBefore.top + 3 * i, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump(20);
    RECT now = WindowRect(border);
    EXPECT_EQ(now.left - before.left, 7 * i);
    EXPECT_EQ(now.top - before.top, 3 * i);
    EXPECT_EQ(now.right - now.left, before.right - before.left);
    EXPECT_EQ(now.bottom - now.top, before.bottom - before.top);
  }
  EXPECT_EQ(form->sSkinProvider1->Compositions(), compositions) << "a move composes nothing";
  EXPECT_EQ(borderForm->HandOvers(), handOvers) << "a move hands no picture over";

  struct Step {
    int width, height;
    int newCompositions;
  } steps[] = {{700, 600, 1}, {720, 610, 1}, {720, 610, 0}, {615, 549, 1}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.width);
    int count = form->sSkinProvider1->Compositions();
    SetWindowPos(window, nullptr, 0, 0, step.width, step.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump(20);
    EXPECT_EQ(form->sSkinProvider1->Compositions() - count, step.newCompositions);
    RECT f = WindowRect(window), b = WindowRect(border);
    EXPECT_EQ((b.right - b.left) - (f.right - f.left), (before.right - before.left) - 615);
    EXPECT_EQ((b.bottom - b.top) - (f.bottom - f.top), (before.bottom - before.top) - 549);
  }
}

TEST_F(SkinnedFrameTest, BorderWindowFollowsMinimiseMaximiseHideAndTheZOrder) {
  HWND border = form->sSkinProvider1->BorderWindow();
  ASSERT_NE(border, nullptr);
  auto hasRegion = [&] {
    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    return GetWindowRgn(border, region.get()) != ERROR;
  };
  EXPECT_FALSE(hasRegion()) << "normally the whole picture shows";

  ShowWindow(window, SW_MINIMIZE);
  Pump(100);
  EXPECT_FALSE(IsWindowVisible(border));
  ShowWindow(window, SW_RESTORE);
  Pump(100);
  EXPECT_TRUE(IsWindowVisible(border));

  ShowWindow(window, SW_MAXIMIZE);
  Pump(100);
  ASSERT_TRUE(IsZoomed(window));
  EXPECT_TRUE(IsWindowVisible(border));
  // Maximised: no shadow. The region keeps the frame's width over the client area, and the
  // picture ends at the bottom of the client area.
  const TsSkinData& skin = form->sSkinManager1->Skin().Data;
  const Rect margins = form->sSkinManager1->ShadowMargins();
  RECT b = WindowRect(border), client;
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  EXPECT_EQ(b.bottom, origin.y + client.bottom);
  UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(border, region.get()), ERROR);
  RECT box;
  GetRgnBox(region.get(), &box);
  EXPECT_EQ(b.left + box.left, origin.x);
  EXPECT_EQ(b.left + box.right, origin.x + client.right);
  EXPECT_EQ(box.top, margins.top + 4);
  EXPECT_EQ(box.bottom, b.bottom - b.top);
  EXPECT_EQ(b.top + box.bottom, origin.y + client.bottom);
  EXPECT_LT(b.top + margins.top + skin.TitleHeight, origin.y + 1);
  ShowWindow(window, SW_RESTORE);
  Pump(100);
  EXPECT_FALSE(hasRegion());

  ShowWindow(window, SW_HIDE);
  Pump(50);
  EXPECT_FALSE(IsWindowVisible(border));
  const int handOvers = form->sSkinProvider1->BorderForm()->HandOvers();
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  Pump(100);
  EXPECT_TRUE(IsWindowVisible(border));
  EXPECT_EQ(form->sSkinProvider1->BorderForm()->HandOvers() - handOvers, 1) << "showing hands the picture over once";

  // Another window in front, then the form in front again: the border window comes along.
  HWND other = CreateWindowExW(0, L"STATIC", L"in front", WS_POPUP | WS_VISIBLE, 50, 50, 300, 300, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Pump(50);
  // Without following, the other window would now lie between the form and its border window.
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Pump(50);
  EXPECT_EQ(NextVisibleBelow(window), border);
  DestroyWindow(other);
}

TEST_F(SkinnedFrameTest, ClicksOnTheShadowReachTheWindowBelowThroughASingleHole) {
  HWND border = form->sSkinProvider1->BorderWindow();
  ASSERT_NE(border, nullptr);
  const Rect margins = form->sSkinManager1->ShadowMargins();
  RECT b = WindowRect(border);
  // A window of this thread below the shadow's lower band counts the presses it gets.
  static int presses = 0;
  presses = 0;
  WNDCLASSW wc{};
  wc.lpfnWndProc = [](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    if (msg == WM_LBUTTONDOWN) ++presses;
    if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return DefWindowProcW(w, msg, wp, lp);
  };
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"BelowTheShadow";
  RegisterClassW(&wc);
  HWND below = CreateWindowExW(WS_EX_NOACTIVATE, L"BelowTheShadow", L"", WS_POPUP | WS_VISIBLE, b.left - 40,
                               b.bottom - margins.bottom, (b.right - b.left) + 80, margins.bottom + 40, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(below, nullptr);
  SetWindowPos(below, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetForegroundWindow(window);
  Pump(100);

  // Clicks at points of the shadow's lower band (border window coordinates).
  std::vector<POINT> points;
  for (int i = 0; i < 5; ++i) points.push_back({40 + 30 * i, (b.bottom - b.top) - margins.bottom / 2});
  for (POINT p : points) {
    POINT screen{b.left + p.x, b.top + p.y};
    ASSERT_EQ(form->sSkinProvider1->BorderHitTest({screen.x, screen.y}), frame_geometry::kHitShadow);
    Click(screen);
  }
  EXPECT_EQ(presses, static_cast<int>(points.size())) << "every press reached the window below";
  EXPECT_TRUE(IsWindowVisible(window));
  // The region is the whole window less one pixel: the last point's. Earlier holes are closed.
  UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(border, region.get()), ERROR);
  EXPECT_FALSE(PtInRegion(region.get(), points.back().x, points.back().y));
  for (size_t i = 0; i + 1 < points.size(); ++i) EXPECT_TRUE(PtInRegion(region.get(), points[i].x, points[i].y)) << i;
  RECT box;
  GetRgnBox(region.get(), &box);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, b.right - b.left);
  EXPECT_EQ(box.bottom, b.bottom - b.top);
  DestroyWindow(below);
}

TEST_F(SkinnedFrameTest, MaximiseRestoreAndSkinChangeCyclesLeaveNoObjectsBehind) {
  ASSERT_TRUE(handle_counts::kEnabled);
  auto cycle = [&](int i) {
    ShowWindow(window, SW_MAXIMIZE);
    Pump(5);
    ShowWindow(window, SW_RESTORE);
    Pump(5);
    if (i % 2 == 0) {
      form->sSkinManager1->SetActive(false);
      Pump(5);
      form->sSkinManager1->SetActive(true);
      Pump(5);
    }
  };
  cycle(0);
  const long gdi = handle_counts::Gdi(), user = handle_counts::User();
  for (int i = 0; i < 100; ++i) cycle(i);
  EXPECT_EQ(handle_counts::Gdi(), gdi);
  EXPECT_EQ(handle_counts::User(), user);
  EXPECT_TRUE(form->sSkinProvider1->Extended());
  EXPECT_TRUE(IsWindowVisible(form->sSkinProvider1->BorderWindow()));
}

TEST_F(SkinnedFrameTest, NoBorderWindowOutlivesTheFormOrTheSkin) {
  HWND border = form->sSkinProvider1->BorderWindow();
  ASSERT_NE(border, nullptr);
  form->sSkinManager1->SetActive(false);
  Pump(20);
  EXPECT_FALSE(form->sSkinProvider1->Extended());
  EXPECT_FALSE(IsWindow(border));

  form->sSkinManager1->SetActive(true);
  Pump(20);
  border = form->sSkinProvider1->BorderWindow();
  ASSERT_NE(border, nullptr);
  const long user = handle_counts::User();
  form.reset();
  Pump(20);
  EXPECT_FALSE(IsWindow(border));
  EXPECT_LT(handle_counts::User(), user);
}

namespace {
// A plain hidden top-level window of a class of its own, for the subclass chain tests.
HWND PlainWindow(const wchar_t* className) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = className;
  RegisterClassW(&wc);
  return CreateWindowW(className, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
}
}  // namespace

TEST(WindowSubclassTest, LinksLeaveTheChainInAnyOrder) {
  // Three links on one window: each sees the messages in newest-first order, and removing the
  // middle one keeps the others.
  HWND window = PlainWindow(L"SubclassChainTest");
  ASSERT_NE(window, nullptr);
  std::vector<int> seen;
  constexpr UINT kProbe = WM_APP + 7;
  auto link = [&](int id) {
    return [&seen, id](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
      if (msg == kProbe) seen.push_back(id);
      return false;
    };
  };
  WindowSubclass a, b, c;
  ASSERT_TRUE(a.Install(window, link(1)));
  ASSERT_TRUE(b.Install(window, link(2)));
  ASSERT_TRUE(c.Install(window, link(3)));
  SendMessageW(window, kProbe, 0, 0);
  EXPECT_EQ(seen, (std::vector<int>{3, 2, 1}));
  seen.clear();
  b.Remove();
  SendMessageW(window, kProbe, 0, 0);
  EXPECT_EQ(seen, (std::vector<int>{3, 1}));
  seen.clear();
  // A link that answers keeps the message from the older ones.
  ASSERT_TRUE(b.Install(window, [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg != kProbe) return false;
    seen.push_back(4);
    result = 42;
    return true;
  }));
  EXPECT_EQ(SendMessageW(window, kProbe, 0, 0), 42);
  EXPECT_EQ(seen, (std::vector<int>{4}));
  DestroyWindow(window);
  EXPECT_FALSE(a.Installed());
  EXPECT_FALSE(b.Installed());
  EXPECT_FALSE(c.Installed());
}

namespace {
WNDPROC subclassTestBelow = nullptr;
int subclassTestTopSaw = 0;
LRESULT CALLBACK SubclassTestTopProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_APP + 8) ++subclassTestTopSaw;
  return CallWindowProcW(subclassTestBelow, window, msg, wParam, lParam);
}
}  // namespace

TEST(WindowSubclassTest, ALinkLeavingKeepsAProcedureSetOnTopOfTheChain) {
  // Some platforms put the window's first procedure back when the chain's last link goes, and
  // cut out a procedure set on top of the chain meanwhile: a link leaving a living window must
  // not let the chain become empty.
  HWND window = PlainWindow(L"SubclassTopTest");
  ASSERT_NE(window, nullptr);
  int linkSaw = 0;
  WindowSubclass link;
  ASSERT_TRUE(link.Install(window, [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_APP + 8) ++linkSaw;
    return false;
  }));
  subclassTestTopSaw = 0;
  subclassTestBelow = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassTestTopProc)));
  SendMessageW(window, WM_APP + 8, 0, 0);
  EXPECT_EQ(subclassTestTopSaw, 1);
  EXPECT_EQ(linkSaw, 1);
  link.Remove();
  SendMessageW(window, WM_APP + 8, 0, 0);
  EXPECT_EQ(subclassTestTopSaw, 2) << "the procedure on top was cut out";
  EXPECT_EQ(linkSaw, 1);
  DestroyWindow(window);
}

// What a menu window shows on the screen, and the adapter's answers, read while it is open.
struct MenuWindowSight {
  HWND window = nullptr;
  RECT rect{};
  LRESULT application = 0;  // only an adapter answers this question
  LRESULT skinAware = 0;
  int entries = 0;
  int ownerDrawn = 0;
  std::vector<std::pair<Point, COLORREF>> border;  // window coordinates, screen colour
};

// Looks at the open menu window from the input thread (messages go to the window's thread).
MenuWindowSight LookAtOpenMenu() {
  MenuWindowSight sight;
  sight.window = FindWindowW(L"#32768", nullptr);
  if (!sight.window || !IsWindowVisible(sight.window)) return sight;
  GetWindowRect(sight.window, &sight.rect);
  sight.application = SendMessageW(sight.window, SM_LACQUERCMD, SkinCommandParam(scGetApplication), 0);
  sight.skinAware = SendMessageW(sight.window, SM_LACQUERCMD, SkinCommandParam(scIsSkinAware), 0);
  HMENU menu = reinterpret_cast<HMENU>(SendMessageW(sight.window, MN_GETHMENU, 0, 0));
  sight.entries = menu ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < sight.entries; ++i) {
    MENUITEMINFOW info{sizeof(info)};
    info.fMask = MIIM_FTYPE;
    if (GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) && (info.fType & MFT_OWNERDRAW)) ++sight.ownerDrawn;
  }
  // The middle of each side, one pixel inside the window: the border, away from cut corners.
  const int w = sight.rect.right - sight.rect.left, h = sight.rect.bottom - sight.rect.top;
  HDC screen = GetDC(nullptr);
  for (Point p : {Point{w / 2, 1}, Point{1, h / 2}, Point{w - 2, h / 2}, Point{w / 2, h - 2}})
    sight.border.push_back({p, GetPixel(screen, sight.rect.left + p.x, sight.rect.top + p.y)});
  ReleaseDC(nullptr, screen);
  return sight;
}

TEST_F(SkinnedFrameTest, SkinnedSystemMenuIsDrawnByTheProgramAndCloseIsChosenWithTheKeyboard) {
  // A real right click on the title band. While the menu shows, every entry is owner-drawn and
  // the program has measured and painted them and taken the menu window over: its window got an
  // adapter as it was created, and its border on the screen is the "MAINMENU" border. Up (to the
  // last entry) and Enter choose Close; the closed menu leaves no adapter behind.
  TsSkinableMenus& menus = TsSkinableMenus::Instance();
  const int shapedBefore = menus.ShapedWindows();
  const int measuredBefore = menus.ItemsMeasured();
  const int drawnBefore = menus.ItemsDrawn();
  const int adaptersBefore = menu_windows::AdaptersMade();
  POINT title = Screen({300, Layout().top / 2});
  MenuWindowSight sight;
  WhilePumping([&] {
    RightClick(title);
    Sleep(400);
    sight = LookAtOpenMenu();
    HoldForScreenshot("system menu");
    SendKeys({{VK_UP, false}, {VK_UP, true}});
    Sleep(100);
    SendKeys({{VK_RETURN, false}, {VK_RETURN, true}});
    Sleep(100);
  }, window);
  Pump(200);
  // Restore, Move, Size, Minimize, Maximize, a separator and Close (the normal window shows all).
  EXPECT_EQ(sight.entries, 7);
  EXPECT_EQ(sight.ownerDrawn, sight.entries);
  EXPECT_GE(menus.ItemsMeasured() - measuredBefore, sight.entries);
  EXPECT_GE(menus.ItemsDrawn() - drawnBefore, sight.entries);
  EXPECT_EQ(menus.ShapedWindows(), shapedBefore + 1);
  EXPECT_EQ(sight.skinAware, 1);
  EXPECT_EQ(menus.BackgroundCount(), 0);  // forgotten when the menu closed
  EXPECT_FALSE(IsWindowVisible(window));
  // The adapter: made for the window, answering while it showed, gone with it.
  ASSERT_NE(sight.window, nullptr);
  EXPECT_EQ(menu_windows::AdaptersMade(), adaptersBefore + 1);
  EXPECT_EQ(sight.application, reinterpret_cast<LRESULT>(Application));
  EXPECT_FALSE(IsWindow(sight.window));
  EXPECT_EQ(menu_windows::AdapterOf(sight.window), nullptr);
  EXPECT_TRUE(menu_windows::Adapters().empty());
  // The border on the screen: the section painted at the window's size.
  TsSkinManager& manager = *form->sSkinManager1;
  const int w = sight.rect.right - sight.rect.left, h = sight.rect.bottom - sight.rect.top;
  Bitmap expected(w, h, PixelFormat::pf24bit);
  PaintSection(manager, manager.SectionIndexOf("MAINMENU"), "MAINMENU", EmptyBackground(), expected, {0, 0},
               expected.Bounds(), 0, true);
  ASSERT_EQ(sight.border.size(), 4u);
  for (const auto& [p, shown] : sight.border)
    EXPECT_EQ(shown, expected.GetPixel(p.x, p.y) & 0xFFFFFF) << p.x << "," << p.y;
}

TEST_F(SkinnedFrameTest, OpeningTheSystemMenuManyTimesLeavesNoObjectsBehind) {
  ASSERT_TRUE(handle_counts::kEnabled);
  auto openAndClose = [&] {
    WhilePumping([&] {
      PostMessageW(window, 0x0313, 0, 0);
      Sleep(150);
      SendKeys({{VK_DOWN, false}, {VK_DOWN, true}, {VK_ESCAPE, false}, {VK_ESCAPE, true}});
      Sleep(50);
    }, window);
  };
  openAndClose();  // the menu fonts are made on first use and kept
  const long gdi = handle_counts::Gdi(), user = handle_counts::User();
  const int adaptersMade = menu_windows::AdaptersMade();
  for (int i = 0; i < 20; ++i) openAndClose();
  EXPECT_EQ(handle_counts::Gdi(), gdi);
  EXPECT_EQ(handle_counts::User(), user);
  EXPECT_EQ(TsSkinableMenus::Instance().BackgroundCount(), 0);
  // Each menu window had an adapter, and none is left.
  EXPECT_EQ(menu_windows::AdaptersMade(), adaptersMade + 20);
  EXPECT_TRUE(menu_windows::Adapters().empty());
  EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(SkinnedFrameTest, MenuWindowsGetAnAdapterOnlyWhilePopUpMenusAreSkinned) {
  struct Case {
    bool skinnedPopups;
    int adaptersMade;
  };
  for (const Case& c : {Case{true, 1}, Case{false, 0}}) {
    form->sSkinManager1->SetSkinnedPopups(c.skinnedPopups);
    const int before = menu_windows::AdaptersMade();
    LRESULT application = 0;
    WhilePumping([&] {
      PostMessageW(window, 0x0313, 0, 0);
      Sleep(250);
      if (HWND menuWindow = FindWindowW(L"#32768", nullptr))
        application = SendMessageW(menuWindow, SM_LACQUERCMD, SkinCommandParam(scGetApplication), 0);
      SendKeys({{VK_ESCAPE, false}, {VK_ESCAPE, true}});
      Sleep(50);
    }, window);
    EXPECT_EQ(menu_windows::AdaptersMade() - before, c.adaptersMade) << c.skinnedPopups;
    EXPECT_EQ(application != 0, c.adaptersMade != 0) << c.skinnedPopups;
    EXPECT_TRUE(menu_windows::Adapters().empty());
  }
  form->sSkinManager1->SetSkinnedPopups(true);
}

TEST_F(SkinnedFrameTest, SkinChoiceSubMenuListsTheAvailableSkinsOnceAndAppliesTheChosenOne) {
  TsSkinManager& manager = *form->sSkinManager1;
  form->sSkinProvider1->SetMakeSkinMenu(true);
  HMENU shownChoice = nullptr;
  for (int i = 0; i < 2; ++i) {
    WhilePumping([&] {
      PostMessageW(window, 0x0313, 0, 0);
      Sleep(250);
      if (HMENU menu = OpenMenu()) shownChoice = GetSubMenu(menu, 0);
      SendKeys({{VK_ESCAPE, false}, {VK_ESCAPE, true}, {VK_ESCAPE, false}, {VK_ESCAPE, true}});
      Sleep(50);
    }, window);
  }
  EXPECT_NE(shownChoice, nullptr);
  TMenuItem* root = form->sSkinProvider1->SystemMenu()->Items();
  int choices = 0, separators = 0;
  for (int i = 0; i < root->Count(); ++i) {
    if (root->Items(i)->Name() == L"SkinSelectItem") ++choices;
    if (root->Items(i)->IsSeparator() && root->Items(i)->Visible()) ++separators;
  }
  EXPECT_EQ(choices, 1);
  EXPECT_EQ(separators, 2);  // after the choice, and before Close
  ASSERT_GT(root->Count(), 1);
  TMenuItem* choice = root->Items(0);
  EXPECT_EQ(choice->Caption(), L"Available skins");
  EXPECT_TRUE(root->Items(1)->IsSeparator());
  TMenuItem* current = nullptr;
  for (int i = 0; i < choice->Count(); ++i) {
    TMenuItem* entry = choice->Items(i);
    EXPECT_EQ(entry->Name(), L"SkinSelectItem" + std::to_wstring(i));
    EXPECT_TRUE(entry->RadioItem());
    EXPECT_EQ(entry->Checked(), entry->Caption() == manager.SkinName()) << bv::WideToUtf8(entry->Caption());
    if (entry->Checked()) current = entry;
  }
  ASSERT_NE(current, nullptr);

  // Choosing an entry loads that skin again and announces it.
  int changes = 0;
  manager.OnAfterChange = [&](TObject*) { ++changes; };
  current->Click();
  Pump(100);
  manager.OnAfterChange = nullptr;
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(manager.SkinName(), L"PearlMist (internal)");
  EXPECT_TRUE(form->sSkinProvider1->FrameSkinned());
  form->sSkinProvider1->SetMakeSkinMenu(false);
}

TEST_F(SkinnedFrameTest, AMenuNoticeAboutAnItemThatIsGoneIsIgnored) {
  // The notice carries the item's serial number, which is looked up before use.
  uint32_t serial = 0;
  {
    TMenuItem item;
    serial = item.Serial();
    EXPECT_EQ(TMenuItem::FromSerial(serial), &item);
  }
  EXPECT_EQ(TMenuItem::FromSerial(serial), nullptr);
  PostMessageW(Application->Handle(), 48307, serial, 0);
  Pump(50);
  EXPECT_TRUE(IsWindowVisible(window));
}

namespace {

// A pop-up menu of the form's own: a title, two entries around a separator.
struct OwnMenu {
  explicit OwnMenu(TComponent* owner, const std::wstring& firstName) : menu(new TPopupMenu(owner)) {
    for (const wchar_t* caption : {L"-Options-", L"&First", L"-", L"&Second"}) {
      auto item = std::make_unique<TMenuItem>();
      item->SetCaption(caption);
      item->OnClick = [this](TMenuItem& chosen) { clicked = chosen.Caption(); };
      menu->Items()->Add(std::move(item));
    }
    menu->Items()->Items(0)->SetName(firstName);
    TsSkinableMenus::Instance().SkinPopupMenu(*menu, true);
  }
  ~OwnMenu() { TComponent::Free(menu); }
  TPopupMenu* menu;  // owned here
  std::wstring clicked;
};

}  // namespace

TEST_F(SkinnedFrameTest, ExtraLineWidensTheMenuUnlessItsFirstItemIsTheSkinChoice) {
  TvlMenuSupport& support = *form->sSkinManager1->MenuSupport();
  std::wstring asked;
  form->sSkinManager1->OnGetMenuExtraLineData = [&](TObject*, std::wstring& text, bool&) { asked = text; };
  struct Case {
    const char* name;
    bool useExtraLine;
    const wchar_t* firstName;
    int wider;  // than the menu without the line
  } cases[] = {
      {"no extra line", false, L"", 0},
      {"extra line", true, L"", 32},
      {"first item is the skin choice", true, L"SkinSelectItem", 0},
  };
  int plainWidth = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    support.SetUseExtraLine(c.useExtraLine);
    OwnMenu own(form.get(), c.firstName);
    RECT shown{};
    std::thread reader([&] {
      Sleep(300);
      if (HWND menuWindow = FindWindowW(L"#32768", nullptr)) GetWindowRect(menuWindow, &shown);
      SendKeys({{VK_ESCAPE, false}, {VK_ESCAPE, true}});
    });
    own.menu->Popup(window, 200, 200);
    reader.join();
    Pump(50);
    if (!c.useExtraLine) plainWidth = shown.right - shown.left;
    EXPECT_GT(shown.right - shown.left, 0);
    EXPECT_EQ(shown.right - shown.left - plainWidth, c.wider);
    EXPECT_TRUE(own.clicked.empty());
  }
  EXPECT_EQ(asked, L"Use OnGetExtraLineData event");
  support.SetUseExtraLine(false);
  form->sSkinManager1->OnGetMenuExtraLineData = nullptr;
}

TEST_F(SkinnedFrameTest, AMenuWhoseWindowGoesAsTheMenuClosesRunsNothing) {
  // An entry is chosen with the keyboard, and the menu's owner destroys itself while the menu
  // loop ends: the chosen entry's action does not run on a window that is gone.
  UniqueWindow owner(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr));
  ASSERT_TRUE(owner);
  HWND ownerWindow = owner.get();
  WindowSubclass closer;
  closer.Install(ownerWindow, [](HWND w, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_EXITMENULOOP) DestroyWindow(w);
    return false;
  });
  OwnMenu own(form.get(), L"");
  std::thread input([&] {
    Sleep(300);
    SendKeys({{VK_DOWN, false}, {VK_DOWN, true}, {VK_DOWN, false}, {VK_DOWN, true}});
    SendKeys({{VK_RETURN, false}, {VK_RETURN, true}});
    Sleep(100);
    for (int i = 0; i < 3 && MenuOpen(); ++i) {
      SendKeys({{VK_ESCAPE, false}, {VK_ESCAPE, true}});
      Sleep(100);
    }
  });
  SetForegroundWindow(ownerWindow);
  bool ran = own.menu->Popup(ownerWindow, 20, 20);
  input.join();
  Pump(50);
  if (!IsWindow(ownerWindow)) owner.release();
  EXPECT_FALSE(IsWindow(ownerWindow));
  EXPECT_FALSE(ran);
  EXPECT_TRUE(own.clicked.empty()) << bv::WideToUtf8(own.clicked);
}

TEST_F(SkinnedFrameTest, MenuEntriesArePaintedFromTheSkinInEachState) {
  // Entries painted into a picture of their own (no menu window): the separator is the grey and
  // white line of a skin whose divider has no border picture; the highlighted entry, a disabled
  // entry and a checked entry each look different from the plain one.
  TsSkinableMenus& menus = TsSkinableMenus::Instance();
  OwnMenu own(form.get(), L"");
  TMenuItem& root = *own.menu->Items();
  TMenuItem& first = *root.Items(1);
  TMenuItem& separator = *root.Items(2);
  WindowDc screen(nullptr);
  int width = 0, height = 0;
  menus.MeasureMenuItem(first, screen.get(), width, height);
  UniqueMenu key(CreatePopupMenu());
  DibSection picture = DibSection::CreateBitmap24(width, height);
  UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  SelectedObject selected(memory.get(), picture.Handle());
  auto paint = [&](TMenuItem& item, UINT state) {
    menus.DrawMenuItem(item, memory.get(), RECT{0, 0, width, height}, state, key.get());
    GdiFlush();
    return Bitmap(picture.Pixels());
  };
  const Bitmap plain = paint(first, 0);
  struct Case {
    const char* name;
    UINT state;
    bool checked;
  } cases[] = {{"highlighted", ODS_SELECTED, false}, {"disabled", ODS_GRAYED, false}, {"checked", 0, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    first.SetChecked(c.checked);
    EXPECT_FALSE(paint(first, c.state) == plain);
    first.SetChecked(false);
  }
  EXPECT_TRUE(paint(first, 0) == plain);

  const Bitmap line = paint(separator, 0);
  const int y = height / 2 - 1, x = width / 2;
  EXPECT_EQ(line.GetPixel(x, y) & 0xFFFFFF, 0x808080u);
  EXPECT_EQ(line.GetPixel(x, y + 1) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_NE(line.GetPixel(x, y - 2) & 0xFFFFFF, 0x808080u);
  menus.MenusClosed();
  Pump(50);
}
