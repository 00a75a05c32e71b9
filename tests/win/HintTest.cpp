// The application's hint window over framework controls, driven by real mouse and key input:
// it shows after the pause, moves on to the next control after the short pause, and hides on
// leave, on a click, on a key and after the hide pause; controls and the application can switch
// hints off; showing and hiding leaves no objects behind.
#include <gtest/gtest.h>

#include <chrono>

#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/HandleCounts.h"
#include "tests/win/WinTestSupport.h"

using namespace wintest;

namespace {

std::wstring WindowText(HWND window) {
  wchar_t buffer[512] = {};
  GetWindowTextW(window, buffer, 512);
  return buffer;
}

class HintTest : public testing::Test {
 protected:
  void SetUp() override {
    saved = {Application->HintColor(), Application->HintPause(), Application->HintShortPause(),
             Application->HintHidePause(), Application->ShowHint()};
    Application->SetHintPause(150);
    Application->SetHintShortPause(20);
    Application->SetHintHidePause(0);
    Application->SetShowHint(true);
    Application->SetHintColor(clInfoBk);
    RecordedErrors().clear();
    form.reset(new TForm(nullptr));
    form->SetBounds(60, 60, 500, 300);
    first = AddControl(20, 20, L"First line\rSecond line");
    second = AddControl(200, 20, L"Second control");
    plain = AddControl(20, 150, L"");
    form->Show();
    MoveTo(form.get(), 440, 200);  // on the form, away from the controls
    Pump(50);
  }
  void TearDown() override {
    form.reset();
    Application->SetHintColor(saved.color);
    Application->SetHintPause(saved.pause);
    Application->SetHintShortPause(saved.shortPause);
    Application->SetHintHidePause(saved.hidePause);
    Application->SetShowHint(saved.show);
    EXPECT_EQ(RecordedErrors(), std::vector<std::wstring>{});
  }
  TCustomControl* AddControl(int left, int top, const std::wstring& hint) {
    auto* control = new TCustomControl(form.get());
    control->SetParent(form.get());
    control->SetBounds(left, top, 150, 100);
    control->SetHint(hint);
    control->SetShowHint(true);
    return control;
  }
  // Real mouse input: the cursor to a point of the control's client area.
  void MoveTo(TWinControl* control, int x, int y) {
    POINT p{x, y};
    ClientToScreen(control->Handle(), &p);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, p.x, p.y);
    Pump(20);
  }
  HWND HintWindow() const { return Application->HintWindow().Handle(); }
  bool HintShowing() const { return HintWindow() && IsWindowVisible(HintWindow()); }
  // Handles messages until the hint shows (true) or `milliseconds` have passed.
  bool WaitForHint(int milliseconds = 3000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!HintShowing() && std::chrono::steady_clock::now() < end) Pump(10);
    return HintShowing();
  }

  struct Settings {
    TColor color;
    int pause, shortPause, hidePause;
    bool show;
  } saved{};
  ComponentPtr<TForm> form;
  TCustomControl* first = nullptr;   // owned by the form
  TCustomControl* second = nullptr;  // owned by the form
  TCustomControl* plain = nullptr;   // owned by the form; no hint
};

}  // namespace

TEST_F(HintTest, ShowsAfterThePauseBelowTheCursorAndHidesOnLeave) {
  Application->SetHintPause(1500);
  MoveTo(first, 40, 30);
  Pump(200);
  EXPECT_FALSE(HintShowing()) << "shown before the pause";
  Application->SetHintPause(150);
  MoveTo(first, 45, 35);  // a move within the control does not start the wait again
  MoveTo(form.get(), 440, 200);
  MoveTo(first, 40, 30);
  ASSERT_TRUE(WaitForHint());
  EXPECT_EQ(Application->HintControl(), first);
  EXPECT_EQ(WindowText(HintWindow()), L"First line\rSecond line");
  // Top-most, never active, below the cursor and two lines high.
  EXPECT_TRUE(GetWindowLongW(HintWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_NE(GetForegroundWindow(), HintWindow());
  POINT cursor;
  GetCursorPos(&cursor);
  RECT r{};
  GetWindowRect(HintWindow(), &r);
  EXPECT_EQ(r.left, cursor.x);
  EXPECT_GT(r.top, cursor.y);
  TEXTMETRICW metrics{};
  {
    NONCLIENTMETRICSW nc{sizeof(nc)};
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(nc), &nc, 0);
    UniqueFont font(CreateFontIndirectW(&nc.lfStatusFont));
    WindowDc screen(nullptr);
    SelectedObject selected(screen.get(), font.get());
    GetTextMetricsW(screen.get(), &metrics);
  }
  EXPECT_GE(r.bottom - r.top, 2 * metrics.tmHeight) << "the \"\\r\" starts a second line";
  MoveTo(form.get(), 440, 200);
  EXPECT_FALSE(HintShowing());
  EXPECT_EQ(HintWindow(), nullptr);
}

TEST_F(HintTest, HidesOnAClickOrAKeyAndStaysHiddenOnThatControl) {
  struct Case {
    const char* name;
    bool click;
  } cases[] = {{"click", true}, {"key", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MoveTo(form.get(), 440, 200);
    MoveTo(first, 40, 30);
    ASSERT_TRUE(WaitForHint());
    if (c.click) {
      SendMouse(MOUSEEVENTF_LEFTDOWN);
      SendMouse(MOUSEEVENTF_LEFTUP);
      Pump(30);
    } else {
      first->SetFocus();
      PressKey(VK_SHIFT);
    }
    EXPECT_FALSE(HintShowing());
    MoveTo(first, 60, 40);
    Pump(400);
    EXPECT_FALSE(HintShowing()) << "came back on the same control";
  }
}

TEST_F(HintTest, MovesOnToTheNextControlAfterTheShortPause) {
  MoveTo(first, 40, 30);
  ASSERT_TRUE(WaitForHint());
  // With a long pause, only the short pause lets the next hint show soon.
  Application->SetHintPause(5000);
  MoveTo(second, 40, 30);
  ASSERT_TRUE(WaitForHint(2000));
  EXPECT_EQ(WindowText(HintWindow()), L"Second control");
  // Onto a control without a hint: nothing.
  MoveTo(plain, 40, 30);
  EXPECT_FALSE(HintShowing());
}

TEST_F(HintTest, HidesAfterTheHidePause) {
  Application->SetHintHidePause(200);
  MoveTo(first, 40, 30);
  ASSERT_TRUE(WaitForHint());
  Pump(600);
  EXPECT_FALSE(HintShowing());
}

TEST_F(HintTest, SwitchedOffHintsNeverShow) {
  struct Case {
    const char* name;
    bool application;  // switched off for the application, else for the control
  } cases[] = {{"application", true}, {"control", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.application) Application->SetShowHint(false);
    else first->SetShowHint(false);
    MoveTo(form.get(), 440, 200);
    MoveTo(first, 40, 30);
    Pump(500);
    EXPECT_FALSE(HintShowing());
    Application->SetShowHint(true);
    first->SetShowHint(true);
  }
}

TEST_F(HintTest, ChangingTheHintWhileItShowsRedrawsItAndFreeingTheControlHidesIt) {
  MoveTo(first, 40, 30);
  ASSERT_TRUE(WaitForHint());
  first->SetHint(L"Changed");
  EXPECT_TRUE(HintShowing());
  EXPECT_EQ(WindowText(HintWindow()), L"Changed");
  delete first;
  first = nullptr;
  Pump(20);
  EXPECT_FALSE(HintShowing());
  EXPECT_EQ(Application->HintControl(), nullptr);
}

TEST_F(HintTest, ShowAndHideCyclesLeaveNoObjectsBehind) {
  ASSERT_TRUE(handle_counts::kEnabled);
  Application->SetHintPause(0);
  Application->SetHintShortPause(0);
  const long gdi = handle_counts::Gdi(), user = handle_counts::User();
  for (int i = 0; i < 30; ++i) {
    MoveTo(i % 2 ? second : first, 40, 30);
    ASSERT_TRUE(WaitForHint()) << "cycle " << i;
    MoveTo(form.get(), 440, 200);
  }
  Pump(50);
  EXPECT_FALSE(HintShowing());
  EXPECT_EQ(handle_counts::Gdi(), gdi);
  EXPECT_EQ(handle_counts::User(), user);
}
