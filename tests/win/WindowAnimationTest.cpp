// The main window's show and skin-change animations with the frames driven by the test: the
// constant alpha of each frame, the temporary window's styles and place, growing from the
// centre, and that no temporary window outlives its animation or its form.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "frame/WindowAnimation.h"
#include "frame/sSkinProvider.h"
#include "frame/vlBorderForm.h"
#include "framework/HandleCounts.h"
#include "skin/sSkinManager.h"
#include "tests/win/MainWindowFixture.h"

using namespace wintest;
using namespace window_animation;

namespace {

// Stands in for the frame clock: records what each frame showed, waits for nothing.
struct DrivenTicks : AnimationTicks {
  struct Seen {
    int index;
    int alpha;
    bool layered, noActivate, visible, topMost;
    HWND owner;
    RECT rect;
    uint32_t corner, centre;  // pixels of the frame picture
  };
  DrivenTicks() { previous = SetAnimationTicks(this); }
  ~DrivenTicks() override { SetAnimationTicks(previous); }
  void FrameShown(HWND window, int index, uint8_t alpha, const Bitmap& frame) override {
    const LONG ex = GetWindowLongW(window, GWL_EXSTYLE);
    Seen s{index, alpha, (ex & WS_EX_LAYERED) != 0, (ex & WS_EX_NOACTIVATE) != 0, IsWindowVisible(window) != FALSE,
           (ex & WS_EX_TOPMOST) != 0, GetWindow(window, GW_OWNER), {}, frame.GetPixel(0, 0),
           frame.GetPixel(frame.Width() / 2, frame.Height() / 2)};
    GetWindowRect(window, &s.rect);
    seen.push_back(s);
    if (onFrame) onFrame(index);
  }
  void Wait(int milliseconds) override { waits.push_back(milliseconds); }
  std::vector<int> Alphas() const {
    std::vector<int> v;
    for (const Seen& s : seen) v.push_back(s.alpha);
    return v;
  }

  std::vector<Seen> seen;
  std::vector<int> waits;
  std::function<void(int index)> onFrame;
  AnimationTicks* previous = nullptr;
};

// The class names of this process's top-level windows.
std::vector<std::wstring> TopLevelClasses() {
  std::vector<std::wstring> classes;
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) {
          wchar_t name[128]{};
          GetClassNameW(window, name, 128);
          reinterpret_cast<std::vector<std::wstring>*>(data)->push_back(name);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&classes));
  return classes;
}
int AnimationWindows() {
  int n = 0;
  for (const std::wstring& c : TopLevelClasses()) n += c == L"TvlAnimationWindow";
  return n;
}

class WindowAnimationTest : public MainWindowFixture, public testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    OpenMainWindow();
    window = form->Handle();
    if (!GetParam()) {
      form->sSkinManager1->SetExtendedBorders(false);
      Pump(50);
    }
    ASSERT_TRUE(form->sSkinProvider1->FrameSkinned());
    ASSERT_EQ(form->sSkinProvider1->Extended(), GetParam());
  }
  TsSkinProvider& Provider() { return *form->sSkinProvider1; }
  // Where the whole look lies on the screen: the border window's place in extended mode.
  RECT LookRect() {
    RECT r;
    GetWindowRect(window, &r);
    if (!Provider().Extended()) return r;
    const Point at = Provider().BorderForm()->Position();
    const Bitmap* image = Provider().FrameImage();
    return {at.x, at.y, at.x + image->Width(), at.y + image->Height()};
  }

  HWND window = nullptr;
};

INSTANTIATE_TEST_SUITE_P(Modes, WindowAnimationTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& mode) { return mode.param ? "Extended" : "Standard"; });

}  // namespace

TEST_P(WindowAnimationTest, FramesFollowTheAlphaStepsWhenTheTicksAreDriven) {
  struct Case {
    uint16_t time;
    TvlAnimType mode;
    std::vector<int> alphas;
  } cases[] = {
      {0, TvlAnimType::atAero, {255}},
      {100, TvlAnimType::atFading, {21, 42, 64, 85, 106, 128, 149, 170, 191, 212, 234, 255, 255}},
      {24, TvlAnimType::atAero, {85, 170, 255, 255}},
  };
  for (const Case& c : cases) {
    DrivenTicks ticks;
    ASSERT_TRUE(AnimateWindowShow(Provider(), c.time, 255, c.mode)) << c.time;
    EXPECT_EQ(ticks.Alphas(), c.alphas) << c.time;
    EXPECT_EQ(ticks.waits, std::vector<int>(c.alphas.size() > 1 ? c.alphas.size() : 0, 8)) << c.time;
    const RECT look = LookRect();
    for (const DrivenTicks::Seen& s : ticks.seen) {
      EXPECT_TRUE(s.layered && s.noActivate && s.visible) << c.time << " frame " << s.index;
      EXPECT_EQ(s.owner, window);
      EXPECT_FALSE(s.topMost);
      EXPECT_TRUE(EqualRect(&s.rect, &look)) << c.time << " frame " << s.index;
    }
    // Growing: the first frame leaves the corners empty and shows the centre; the last is whole.
    if (c.mode == TvlAnimType::atAero && c.time >= 8) {
      EXPECT_EQ(ticks.seen.front().corner >> 24, 0u);
      EXPECT_EQ(ticks.seen.front().centre >> 24, 255u);
    }
    EXPECT_EQ(ticks.seen.back().centre >> 24, 255u);
    EXPECT_FALSE(Animating());
    EXPECT_EQ(AnimationWindows(), 0);
  }
}

TEST_P(WindowAnimationTest, ATopMostFormGetsATopMostAnimationWindow) {
  // Under Wine without a window manager the form takes the top-most place only once some other
  // window of the process holds one.
  UniqueWindow other(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 4, 4,
                                     nullptr, nullptr, nullptr, nullptr));
  for (int i = 0; i < 2; ++i) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Pump(20);
  }
  other.reset();
  ASSERT_NE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  DrivenTicks ticks;
  AnimateWindowShow(Provider(), 16, 255, TvlAnimType::atFading);
  ASSERT_FALSE(ticks.seen.empty());
  for (const DrivenTicks::Seen& s : ticks.seen) EXPECT_TRUE(s.topMost);
}

TEST_P(WindowAnimationTest, ShowingTheFormAndChangingTheSkinAnimateAsTheSettingsSay) {
  TvlAnimEffects* effects = form->sSkinManager1->AnimEffects();
  effects->FormShow()->SetTime(24);
  effects->FormShow()->SetMode(TvlAnimType::atFading);
  {
    DrivenTicks ticks;
    ShowWindow(window, SW_HIDE);
    Pump(20);
    ShowWindow(window, SW_SHOW);
    EXPECT_EQ(ticks.Alphas(), (std::vector<int>{85, 170, 255, 255}));
  }
  {
    effects->FormShow()->SetActive(false);
    DrivenTicks ticks;
    ShowWindow(window, SW_HIDE);
    Pump(20);
    ShowWindow(window, SW_SHOW);
    EXPECT_TRUE(ticks.seen.empty());
  }
  {
    // The skin-change default: 100 ms, 13 frames.
    DrivenTicks ticks;
    form->sSkinManager1->SetHueOffset(40);
    Pump(20);
    EXPECT_EQ(ticks.seen.size(), 13u);
  }
  {
    effects->SkinChanging()->SetActive(false);
    DrivenTicks ticks;
    form->sSkinManager1->SetHueOffset(0);
    Pump(20);
    EXPECT_TRUE(ticks.seen.empty());
  }
  EXPECT_EQ(AnimationWindows(), 0);
}

TEST_P(WindowAnimationTest, AFormClosedDuringItsAnimationLeavesNoWindowBehind) {
  DrivenTicks ticks;
  ticks.onFrame = [&](int index) {
    if (index == 3) form.reset();
  };
  AnimateWindowShow(Provider(), 100, 255, TvlAnimType::atAero);
  EXPECT_EQ(ticks.seen.size(), 4u);  // no frame after the form went
  EXPECT_FALSE(Animating());
  EXPECT_EQ(AnimationWindows(), 0);
  for (const std::wstring& c : TopLevelClasses()) EXPECT_NE(c, L"TvlBorderForm");
}

TEST_P(WindowAnimationTest, ANewAnimationEndsTheRunningOneAndItsWindow) {
  DrivenTicks ticks;
  std::vector<int> windowsSeen;
  bool again = true;
  ticks.onFrame = [&](int index) {
    windowsSeen.push_back(AnimationWindows());
    // The skin changes again in the middle of the animation.
    if (index == 2 && again) {
      again = false;
      AnimateWindowShow(Provider(), 16, 255, TvlAnimType::atFading);
    }
  };
  AnimateWindowShow(Provider(), 100, 255, TvlAnimType::atFading);
  // Three frames of the first, three of the second, none of the first afterwards.
  EXPECT_EQ(ticks.Alphas(), (std::vector<int>{21, 42, 64, 128, 255, 255}));
  for (int n : windowsSeen) EXPECT_EQ(n, 1);
  EXPECT_EQ(AnimationWindows(), 0);
}

TEST_P(WindowAnimationTest, RepeatedAnimationsLeaveNoObjectsBehind) {
  ASSERT_TRUE(handle_counts::kEnabled);
  DrivenTicks ticks;
  AnimateWindowShow(Provider(), 16, 255, TvlAnimType::atAero);
  Pump(5);
  const long gdi = handle_counts::Gdi(), user = handle_counts::User();
  for (int i = 0; i < 20; ++i) {
    AnimateWindowShow(Provider(), 16, 255, i % 2 ? TvlAnimType::atAero : TvlAnimType::atFading);
    Pump(2);
  }
  EXPECT_EQ(handle_counts::Gdi(), gdi);
  EXPECT_EQ(handle_counts::User(), user);
}
