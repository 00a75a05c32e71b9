// The main window's show and skin-change animations with the frames driven by the test: the
// constant alpha of each frame, the temporary window's styles and place, growing from the
// centre, and that no temporary window outlives its animation or its form.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "adapters/dialogs/vlProvider.h"
#include "frame/OutputWindow.h"
#include "frame/WindowAnimation.h"
#include "frame/sSkinProvider.h"
#include "frame/vlBorderForm.h"
#include "framework/HandleCounts.h"
#include "skin/WindowAnimationSteps.h"
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
    current = &frame;
    if (onFrame) onFrame(index);
    current = nullptr;
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
  const Bitmap* current = nullptr;  // the frame picture, while onFrame runs
  AnimationTicks* previous = nullptr;
};

// An animation's settings and the constant alphas of its frames.
struct AlphaCase {
  uint16_t time;
  TvlAnimType mode;
  std::vector<int> alphas;
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
  const AlphaCase cases[] = {
      {0, TvlAnimType::atAero, {255}},
      {100, TvlAnimType::atFading, {21, 42, 64, 85, 106, 128, 149, 170, 191, 212, 234, 255, 255}},
      {24, TvlAnimType::atAero, {85, 170, 255, 255}},
  };
  for (const AlphaCase& c : cases) {
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
    // No time: the window just shows.
    effects->FormShow()->SetTime(0);
    DrivenTicks ticks;
    ShowWindow(window, SW_HIDE);
    Pump(20);
    ShowWindow(window, SW_SHOW);
    EXPECT_TRUE(ticks.seen.empty());
    EXPECT_TRUE(IsWindowVisible(window));
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

TEST_P(WindowAnimationTest, SkinnedWindowsLeaveTheScreenAloneUnderARunningAnimation) {
  // Marks a few pixels of a window's surface (its frame with `whole`) and tells whether they
  // still carry the mark.
  constexpr COLORREF kMark = RGB(255, 0, 255);
  struct Spot {
    HWND window;
    bool whole;
    POINT at;
  };
  auto mark = [&](const Spot& s) {
    HDC dc = GetDCEx(s.window, nullptr, DCX_CACHE | (s.whole ? DCX_WINDOW : 0));
    for (int dy = 0; dy < 3; ++dy)
      for (int dx = 0; dx < 3; ++dx) SetPixel(dc, s.at.x + dx, s.at.y + dy, kMark);
    ReleaseDC(s.window, dc);
  };
  auto marked = [&](const Spot& s) {
    HDC dc = GetDCEx(s.window, nullptr, DCX_CACHE | (s.whole ? DCX_WINDOW : 0));
    const COLORREF c = GetPixel(dc, s.at.x + 1, s.at.y + 1);
    ReleaseDC(s.window, dc);
    return c == kMark;
  };
  RECT formRect;
  GetWindowRect(window, &formRect);
  // A skinned panel and a skinned button; in standard mode the frame's title band as well (in
  // extended mode the frame lies in the border window, which the animation hides).
  // An adapted list's one-pixel border as well: its left edge (the spot's middle column).
  std::vector<Spot> spots{{form->sPanelTop->Handle(), false, {1, 1}},
                          {form->FolderBtn->Handle(), false, {30, 12}},
                          {form->ListOn->Handle(), true, {-1, 40}}};
  if (!GetParam()) spots.push_back({window, true, {(formRect.right - formRect.left) / 2, 4}});
  DrivenTicks ticks;
  std::vector<bool> keptUnder;
  ticks.onFrame = [&](int index) {
    if (index != 1) return;
    for (const Spot& s : spots) mark(s);
    // Everything is asked to paint at once, frame and children included.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (const Spot& s : spots) keptUnder.push_back(marked(s));
  };
  AnimateWindowShow(Provider(), 32, 255, TvlAnimType::atFading);
  ASSERT_EQ(keptUnder.size(), spots.size());
  for (size_t i = 0; i < spots.size(); ++i) EXPECT_TRUE(keptUnder[i]) << "spot " << i << " was painted over";
  // The redraw at the end paints every one of them.
  for (size_t i = 0; i < spots.size(); ++i) EXPECT_FALSE(marked(spots[i])) << "spot " << i << " not redrawn";
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

// The path without layered windows: an output window over the control cross-fades from the
// screen capture to the new look.
namespace {

constexpr wchar_t kColourClass[] = L"AnimationTestColour";
constexpr COLORREF kOld = RGB(220, 30, 10);
constexpr COLORREF kNew = RGB(20, 90, 240);

// A window that fills itself with the colour in its user data.
LRESULT CALLBACK ColourProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_ERASEBKGND) return 1;
  if (msg == WM_PAINT || msg == WM_PRINTCLIENT) {
    PAINTSTRUCT ps{};
    HDC dc = msg == WM_PAINT ? BeginPaint(window, &ps) : reinterpret_cast<HDC>(wParam);
    RECT r;
    GetClientRect(window, &r);
    UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(window, GWLP_USERDATA))));
    FillRect(dc, &r, brush.get());
    if (msg == WM_PAINT) EndPaint(window, &ps);
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

uint32_t Mixed(COLORREF oldColour, COLORREF newColour, int weight) {
  auto mix = [&](int shift) {
    return static_cast<uint32_t>(MixChannel((oldColour >> shift) & 0xFF, (newColour >> shift) & 0xFF, weight)) << shift;
  };
  return mix(0) | mix(8) | mix(16);
}

std::vector<HWND> OutputWindowsOf(HWND parent) {
  std::vector<HWND> found;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[64]{};
    GetClassNameW(child, name, 64);
    if (std::wstring(name) == TOutputWindow::kClassName) found.push_back(child);
  }
  return found;
}
int TopLevelOutputWindows() {
  int n = 0;
  for (const std::wstring& c : TopLevelClasses()) n += c == TOutputWindow::kClassName;
  return n;
}

class OutputWindowAnimationTest : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ColourProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kColourClass;
    RegisterClassW(&wc);
    host.reset(CreateWindowExW(0, kColourClass, L"", WS_POPUP | WS_CLIPCHILDREN | WS_VISIBLE, 120, 140, 240, 180,
                               nullptr, nullptr, nullptr, nullptr));
    SetWindowLongPtrW(host.get(), GWLP_USERDATA, RGB(250, 250, 250));
    control = CreateWindowExW(0, kColourClass, L"", WS_CHILD | WS_VISIBLE, 30, 40, 90, 70, host.get(), nullptr,
                              nullptr, nullptr);
    SetWindowLongPtrW(control, GWLP_USERDATA, kOld);
    RedrawWindow(host.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(50);
  }
  // The control's new look, its redrawing off, as a caller starts the animation.
  void NewLook() {
    SendMessageW(control, WM_SETREDRAW, FALSE, 0);
    SetWindowLongPtrW(control, GWLP_USERDATA, kNew);
  }
  static COLORREF PixelOf(HWND window, int x, int y) {
    WindowDc dc(window);
    return GetPixel(dc.get(), x, y);
  }

  UniqueWindow host;
  HWND control = nullptr;  // destroyed with the host
};

}  // namespace

TEST_F(OutputWindowAnimationTest, FramesMixTheScreenCaptureIntoTheNewLookWithFallingWeights) {
  DrivenTicks ticks;
  std::vector<std::wstring> classes;
  std::vector<HWND> parents;
  std::vector<COLORREF> screen;
  ticks.onFrame = [&](int) {
    HWND output = AnimationWindow();
    wchar_t name[64]{};
    GetClassNameW(output, name, 64);
    classes.push_back(name);
    parents.push_back(GetParent(output));
    screen.push_back(PixelOf(output, 45, 35));
  };
  NewLook();
  ASSERT_TRUE(AnimateControlShow(control, 40));
  // 40 ms: five frames, the capture's weight falling by 51 each.
  EXPECT_EQ(ticks.Alphas(), (std::vector<int>{204, 153, 102, 51, 0}));
  EXPECT_EQ(ticks.waits, std::vector<int>(5, 8));
  RECT controlRect;
  GetWindowRect(control, &controlRect);
  for (size_t i = 0; i < ticks.seen.size(); ++i) {
    const DrivenTicks::Seen& s = ticks.seen[i];
    EXPECT_EQ(classes[i], L"vlOutputWindow");
    EXPECT_EQ(parents[i], host.get());
    EXPECT_TRUE(EqualRect(&s.rect, &controlRect)) << "frame " << i;
    EXPECT_FALSE(s.layered);
    // What the window shows and the frame picture both hold the mix of old and new.
    const uint32_t expected = Mixed(kOld, kNew, s.alpha);
    EXPECT_EQ(screen[i], expected) << "frame " << i;
    EXPECT_EQ(s.centre & 0xFFFFFF, expected) << "frame " << i;
  }
  // Afterwards the control itself shows its new look, and the cover is gone.
  EXPECT_FALSE(Animating());
  EXPECT_TRUE(OutputWindowsOf(host.get()).empty());
  EXPECT_TRUE(IsWindowVisible(control));
  EXPECT_EQ(PixelOf(control, 45, 35), kNew);
}

TEST_F(OutputWindowAnimationTest, TheCoverLiesJustAboveTheControlAndHoldsTheScreenUnderIt) {
  HWND sibling = CreateWindowExW(0, kColourClass, L"", WS_CHILD | WS_VISIBLE, 150, 10, 40, 40, host.get(), nullptr,
                                 nullptr, nullptr);
  SetWindowPos(sibling, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Pump(20);
  DrivenTicks ticks;
  HWND output = nullptr, below = nullptr;
  ticks.onFrame = [&](int index) {
    if (index != 0) return;
    output = AnimationWindow();
    below = GetWindow(output, GW_HWNDNEXT);
  };
  NewLook();
  AnimateControlShow(control, 16);
  ASSERT_NE(output, nullptr);
  EXPECT_EQ(below, control);
  // Frame 0 at weight 128 of the capture: the capture held the old look.
  ASSERT_FALSE(ticks.seen.empty());
  EXPECT_EQ(ticks.seen[0].alpha, 128);
  EXPECT_EQ(ticks.seen[0].corner & 0xFFFFFF, Mixed(kOld, kNew, 128));
}

TEST_F(OutputWindowAnimationTest, NoStepsShowsTheNewLookAtOnce) {
  DrivenTicks ticks;
  NewLook();
  ASSERT_TRUE(AnimateControlShow(control, 7));
  EXPECT_TRUE(ticks.seen.empty());
  EXPECT_TRUE(ticks.waits.empty());
  EXPECT_EQ(PixelOf(control, 10, 10), kNew);
  EXPECT_TRUE(OutputWindowsOf(host.get()).empty());
}

TEST_F(OutputWindowAnimationTest, AParentClosedMidwayLeavesNoWindowAndNoObjectsBehind) {
  ASSERT_TRUE(handle_counts::kEnabled);
  {
    DrivenTicks ticks;
    NewLook();
    AnimateControlShow(control, 16);
  }
  Pump(5);
  const long gdi = handle_counts::Gdi(), user = handle_counts::User();
  for (int i = 0; i < 10; ++i) {
    DrivenTicks ticks;
    NewLook();
    AnimateControlShow(control, 24);
  }
  Pump(5);
  EXPECT_EQ(handle_counts::Gdi(), gdi);
  EXPECT_EQ(handle_counts::User(), user);

  DrivenTicks ticks;
  ticks.onFrame = [&](int index) {
    if (index == 1) host.reset();
  };
  NewLook();
  EXPECT_FALSE(AnimateControlShow(control, 100));
  EXPECT_EQ(ticks.seen.size(), 2u);
  EXPECT_FALSE(Animating());
  EXPECT_EQ(TopLevelOutputWindows(), 0);
  Pump(5);
  EXPECT_EQ(handle_counts::User(), user - 1);  // the host went
}

// The main window without layered windows: its animation runs in a pop-up output window.
class FormOutputAnimationTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    OpenMainWindow();
    form->sSkinManager1->SetExtendedBorders(false);
    Pump(50);
    window = form->Handle();
    SetLayeredWindowsAllowed(false);
  }
  void TearDown() override {
    SetLayeredWindowsAllowed(true);
    MainWindowFixture::TearDown();
  }
  HWND window = nullptr;
};

TEST_F(FormOutputAnimationTest, TheFormFadesInAPopUpOverItAndNothingStaysBehind) {
  DrivenTicks ticks;
  std::vector<HWND> owners;
  ticks.onFrame = [&](int) { owners.push_back(GetWindow(AnimationWindow(), GW_OWNER)); };
  ASSERT_TRUE(AnimateWindowShow(*form->sSkinProvider1, 24, 255, TvlAnimType::atAero));
  EXPECT_EQ(ticks.Alphas(), (std::vector<int>{170, 85, 0}));
  RECT formRect;
  GetWindowRect(window, &formRect);
  for (const DrivenTicks::Seen& s : ticks.seen) {
    EXPECT_TRUE(EqualRect(&s.rect, &formRect));
    EXPECT_TRUE(s.noActivate && s.visible && !s.layered);
  }
  for (HWND owner : owners) EXPECT_EQ(owner, window);
  // The last frame is the new look itself: the frame picture's title band.
  const Bitmap* image = form->sSkinProvider1->FrameImage();
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(ticks.seen.back().corner & 0xFFFFFF, image->GetPixel(0, 0) & 0xFFFFFF);
  EXPECT_EQ(TopLevelOutputWindows(), 0);

  // Closed in the middle: no frame after, no window left.
  DrivenTicks closing;
  closing.onFrame = [&](int index) {
    if (index == 2) form.reset();
  };
  AnimateWindowShow(*form->sSkinProvider1, 100, 255, TvlAnimType::atFading);
  EXPECT_EQ(closing.seen.size(), 3u);
  EXPECT_FALSE(Animating());
  EXPECT_EQ(TopLevelOutputWindows(), 0);
}

// A message box's show through the dialog adapter: the same animation with the dialog-show
// settings, run once the box is on the screen.
namespace {

// Closes the box titled `caption` (IDOK) from a timer of the thread once the box is visible and
// no animation runs: the fallback for a box that did not animate, and the usual end.
struct BoxCloser {
  static inline const wchar_t* caption = nullptr;
  static inline std::function<void(HWND)> beforeClose;  // sees the box once, as it is closed
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindWindowW(L"#32770", caption);
    if (!box || !IsWindowVisible(box) || Animating()) return;
    if (beforeClose) std::exchange(beforeClose, nullptr)(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
};

// Shows an unowned message box titled `caption` and answers what it answered; `beforeClose`
// sees the box once it is on the screen and no animation runs.
int ShowBox(const wchar_t* caption, std::function<void(HWND)> beforeClose = nullptr) {
  BoxCloser::caption = caption;
  BoxCloser::beforeClose = std::move(beforeClose);
  UINT_PTR timer = SetTimer(nullptr, 0, 20, &BoxCloser::Tick);
  const int answer = MessageBoxW(nullptr, L"An animated box", caption, MB_OK);
  KillTimer(nullptr, timer);
  BoxCloser::beforeClose = nullptr;
  return answer;
}

class DialogShowAnimationTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    OpenMainWindow();
    Settings()->SetActive(true);
  }
  void TearDown() override {
    SetLayeredWindowsAllowed(true);
    MainWindowFixture::TearDown();
  }
  TvlDialogShow* Settings() { return form->sSkinManager1->AnimEffects()->DialogShow(); }
  void Animate(uint16_t time, TvlAnimType mode) {
    Settings()->SetTime(time);
    Settings()->SetMode(mode);
  }
};

}  // namespace

TEST_F(DialogShowAnimationTest, AMessageBoxFadesInAsTheSettingsSay) {
  const AlphaCase cases[] = {
      {24, TvlAnimType::atFading, {85, 170, 255, 255}},
      {32, TvlAnimType::atAero, {64, 128, 191, 255, 255}},
      {7, TvlAnimType::atFading, {255}},  // no steps: the finished look once
  };
  for (const AlphaCase& c : cases) {
    Animate(c.time, c.mode);
    DrivenTicks ticks;
    HWND box = nullptr;
    RECT boxRect{};
    std::vector<uint32_t> titlePixels, expectedTitle;
    ticks.onFrame = [&](int) {
      box = GetWindow(AnimationWindow(), GW_OWNER);
      GetWindowRect(box, &boxRect);
      TvlProvider* provider = dialog_hook::ProviderOf(box);
      ASSERT_NE(provider, nullptr);
      const Bitmap* look = provider->DialogAdapter()->FrameImage();
      ASSERT_NE(look, nullptr);
      // A point of the title band, away from the close button.
      const int x = 12, y = provider->DialogAdapter()->CurrentLayout().top / 2;
      expectedTitle.push_back(look->GetPixel(x, y) & 0xFFFFFF);
      titlePixels.push_back(ticks.current->GetPixel(x, y) & 0xFFFFFF);
    };
    EXPECT_EQ(ShowBox(L"Animated box"), IDOK) << c.time;
    EXPECT_EQ(ticks.Alphas(), c.alphas) << c.time;
    ASSERT_NE(box, nullptr);
    for (const DrivenTicks::Seen& s : ticks.seen) {
      EXPECT_TRUE(s.layered && s.noActivate && s.visible) << c.time << " frame " << s.index;
      EXPECT_TRUE(EqualRect(&s.rect, &boxRect)) << c.time << " frame " << s.index;
    }
    // The last frame is the skinned look: the adapter's title band.
    EXPECT_EQ(titlePixels.back(), expectedTitle.back()) << c.time;
    if (c.mode == TvlAnimType::atAero) {
      EXPECT_EQ(ticks.seen.front().corner >> 24, 0u);
      EXPECT_EQ(ticks.seen.front().centre >> 24, 255u);
    }
    EXPECT_FALSE(Animating());
    EXPECT_EQ(AnimationWindows(), 0);
  }
}

TEST_F(DialogShowAnimationTest, WithoutLayeredWindowsTheBoxCrossFadesInAnOutputWindow) {
  SetLayeredWindowsAllowed(false);
  Animate(40, TvlAnimType::atAero);
  DrivenTicks ticks;
  std::vector<COLORREF> screen, handed;
  std::vector<std::wstring> classes;
  std::vector<uint32_t> look;
  ticks.onFrame = [&](int) {
    HWND output = AnimationWindow();
    wchar_t name[64]{};
    GetClassNameW(output, name, 64);
    classes.push_back(name);
    HWND box = GetWindow(output, GW_OWNER);
    TvlProvider* provider = dialog_hook::ProviderOf(box);
    ASSERT_NE(provider, nullptr);
    ASSERT_NE(provider->DialogAdapter()->FrameImage(), nullptr);
    // A point of the title band.
    const POINT at{12, provider->DialogAdapter()->CurrentLayout().top / 2};
    look.push_back(provider->DialogAdapter()->FrameImage()->GetPixel(at.x, at.y) & 0xFFFFFF);
    WindowDc dc(output);
    screen.push_back(GetPixel(dc.get(), at.x, at.y));
    handed.push_back(ticks.current->GetPixel(at.x, at.y) & 0xFFFFFF);
  };
  EXPECT_EQ(ShowBox(L"Cross-faded box"), IDOK);
  // 40 ms: five frames, the capture's weight falling by 51 each; the last is the new look.
  ASSERT_EQ(ticks.Alphas(), (std::vector<int>{204, 153, 102, 51, 0}));
  for (size_t i = 0; i < screen.size(); ++i) {
    EXPECT_EQ(classes[i], TOutputWindow::kClassName);
    EXPECT_FALSE(ticks.seen[i].layered);
    // What the output window shows is the frame it was given.
    EXPECT_EQ(screen[i], handed[i]) << "frame " << i;
  }
  EXPECT_EQ(screen.back(), look.back());
  EXPECT_EQ(TopLevelOutputWindows(), 0);
  EXPECT_FALSE(Animating());
}

TEST_F(DialogShowAnimationTest, NoTimeOrSwitchedOffShowsTheBoxWithoutAnimation) {
  struct Case {
    bool active;
    uint16_t time;
  } cases[] = {{true, 0}, {false, 40}};
  for (const Case& c : cases) {
    Settings()->SetActive(c.active);
    Animate(c.time, TvlAnimType::atFading);
    DrivenTicks ticks;
    bool skinned = false;
    EXPECT_EQ(ShowBox(L"Plain box", [&](HWND box) { skinned = dialog_hook::ProviderOf(box) != nullptr; }), IDOK);
    EXPECT_TRUE(skinned) << c.active << " " << c.time;
    EXPECT_TRUE(ticks.seen.empty()) << c.active << " " << c.time;
  }
}

TEST_F(DialogShowAnimationTest, ABoxClosedDuringItsAnimationLeavesNoWindowBehind) {
  Animate(100, TvlAnimType::atAero);
  const std::function<void(HWND)> interruptions[] = {
      [](HWND box) { EndDialog(box, IDCANCEL); },
      [](HWND box) { DestroyWindow(box); },
  };
  int which = 0;
  for (const auto& interrupt : interruptions) {
    DrivenTicks ticks;
    bool done = false;
    ticks.onFrame = [&](int index) {
      if (index != 2 || done) return;
      done = true;
      interrupt(GetWindow(AnimationWindow(), GW_OWNER));
    };
    ShowBox(L"Interrupted box");
    EXPECT_EQ(ticks.seen.size(), 3u) << "interruption " << which;  // no frame after it
    EXPECT_FALSE(Animating());
    EXPECT_EQ(AnimationWindows(), 0) << "interruption " << which;
    Pump(20);
    EXPECT_EQ(FindWindowW(L"#32770", L"Interrupted box"), nullptr) << "interruption " << which;
    ++which;
  }
}

TEST_F(DialogShowAnimationTest, TenAnimatedBoxesLeaveNoObjectsBehind) {
  ASSERT_TRUE(handle_counts::kEnabled);
  Animate(24, TvlAnimType::atAero);
  DrivenTicks ticks;
  ShowBox(L"Counted box");
  Pump(20);
  const long gdi = handle_counts::Gdi(), user = handle_counts::User();
  for (int i = 0; i < 10; ++i) {
    Animate(24, i % 2 ? TvlAnimType::atAero : TvlAnimType::atFading);
    ShowBox(L"Counted box");
  }
  Pump(20);
  EXPECT_EQ(ticks.seen.size(), 11u * 4u);
  EXPECT_EQ(handle_counts::Gdi(), gdi);
  EXPECT_EQ(handle_counts::User(), user);
  EXPECT_EQ(AnimationWindows(), 0);
}

TEST_F(DialogShowAnimationTest, TheBoxLeavesTheScreenAloneUnderItsAnimation) {
  constexpr COLORREF kMark = RGB(255, 0, 255);
  // The title band (the frame) and the skinned OK button.
  auto spots = [](HWND box) {
    struct Spot {
      HWND window;
      bool whole;
      POINT at;
    };
    RECT r;
    GetWindowRect(box, &r);
    return std::vector<Spot>{{box, true, {(r.right - r.left) / 3, 3}}, {GetDlgItem(box, IDOK), false, {6, 6}}};
  };
  auto paint = [&](HWND box, bool markIt) {
    std::vector<bool> kept;
    for (const auto& s : spots(box)) {
      HDC dc = GetDCEx(s.window, nullptr, DCX_CACHE | (s.whole ? DCX_WINDOW : 0));
      if (markIt) {
        for (int dy = 0; dy < 3; ++dy)
          for (int dx = 0; dx < 3; ++dx) SetPixel(dc, s.at.x + dx, s.at.y + dy, kMark);
      }
      kept.push_back(GetPixel(dc, s.at.x + 1, s.at.y + 1) == kMark);
      ReleaseDC(s.window, dc);
    }
    return kept;
  };
  Animate(32, TvlAnimType::atFading);
  DrivenTicks ticks;
  std::vector<bool> keptUnder, keptAfter;
  ticks.onFrame = [&](int index) {
    if (index != 1) return;
    HWND box = GetWindow(AnimationWindow(), GW_OWNER);
    paint(box, true);
    // Everything is asked to paint at once, frame and children included, and the button
    // takes the focus (it repaints itself then).
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    SendMessageW(GetDlgItem(box, IDOK), WM_SETFOCUS, 0, 0);
    keptUnder = paint(box, false);
  };
  EXPECT_EQ(ShowBox(L"Marked box", [&](HWND box) { keptAfter = paint(box, false); }), IDOK);
  ASSERT_EQ(keptUnder.size(), 2u);
  EXPECT_TRUE(keptUnder[0]) << "the frame was painted over";
  EXPECT_TRUE(keptUnder[1]) << "the button was painted over";
  // The redraw at the end paints both.
  ASSERT_EQ(keptAfter.size(), 2u);
  EXPECT_FALSE(keptAfter[0]);
  EXPECT_FALSE(keptAfter[1]);
}

