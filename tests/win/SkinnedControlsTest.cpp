// The main window's skinned panels, labels and buttons under the stored skin: background
// requests through transparent panels, caches, the button's shape, fades driven tick by tick,
// hover glows with real mouse input, the web label's launcher, and skin removal.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "app/Form1.h"
#include "framework/Application.h"
#include "paint/BackgroundExchange.h"
#include "paint/GlowLayout.h"
#include "paint/GlowWindows.h"
#include "settings/SettingsFile.h"
#include "tests/win/MainWindowFixture.h"
#include "tests/win/SkinnedClientCycles.h"
#include "tests/win/WinTestSupport.h"

using namespace wintest;

namespace {

HWND VisibleGlowWindow() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        wchar_t name[64];
        GetClassNameW(window, name, 64);
        if (wcscmp(name, L"TvlGlowEffect") == 0 && IsWindowVisible(window)) {
          *reinterpret_cast<HWND*>(data) = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

class SkinnedControlsTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    folder.Create(L"Sharpen.8bf");
    OpenMainWindow();
  }
  void TearDown() override {
    TsWebLabel::SetLauncher(nullptr);
    MainWindowFixture::TearDown();
  }

  TColor FormColour() const {
    const TsSkinManager& manager = *form->sSkinManager1;
    return PlainColor(manager.Skin().Sections[static_cast<size_t>(manager.SectionIndexOf("FORM"))].Color);
  }
  static uint32_t CachePixel(TsButton* button, int x, int y) { return button->SkinData()->Cache.Pixels().GetPixel(x, y); }
  // Starts a hover fade on the button without real input; its timer is not left to run.
  TsFadeTimer* StartHoverFade(TsButton* button) {
    button->Perform(CM_MOUSEENTER);
    TsFadeTimer* timer = button->FadeTimer();
    if (timer) timer->SetEnabled(false);
    return timer;
  }

};

TEST_F(SkinnedControlsTest, BackgroundRequestsPassThroughTransparentPanelsToTheForm) {
  // The button's parent and its parent are "LACQUEREDIT" panels, fully transparent.
  TsBackgroundRequest request;
  RequestParentBackground(request, form->sPanelOnTop, false);
  EXPECT_EQ(request.Kind, 1);
  EXPECT_EQ(request.Color, FormColour());
  EXPECT_EQ(request.OffsetX, form->sPanelOnTop->Left() + form->sPanelOn->Left());

  // The nested transparent panel's picture is exactly the form's colour inside its border.
  TsPanel* panel = form->sPanelOnTop;
  EXPECT_EQ(panel->SkinData()->Cache.Pixels().GetPixel(panel->Width() / 2, panel->Height() / 2),
            static_cast<uint32_t>(FormColour()));

  TsButton* button = form->FolderBtn;
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(button->Handle(), region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 0, 0)) << "the mask's corner is cut off the window";
  EXPECT_TRUE(PtInRegion(region, button->Width() / 2, button->Height() / 2));
  DeleteObject(region);
}

TEST_F(SkinnedControlsTest, TheCutCornersOfEachButtonShowTheFormBehindIt) {
  // The window's shape comes with its first paint; on screen the cut corners show the colour of
  // the transparent panels, the form's, however the shape came.
  WindowDc screen(nullptr);
  const COLORREF behind = static_cast<COLORREF>(FormColour());
  for (TsButton* button : {form->FolderBtn, form->IconBtn, form->ListBtn, form->sButtonOff, form->sButtonOn}) {
    SCOPED_TRACE(bv::WideToUtf8(button->Caption()));
    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(button->Handle(), region.get()), ERROR);
    ASSERT_FALSE(PtInRegion(region.get(), 0, 0));
    POINT corner{0, 0};
    ClientToScreen(button->Handle(), &corner);
    EXPECT_EQ(GetPixel(screen.get(), corner.x, corner.y), behind);
  }
}

TEST_F(SkinnedControlsTest, ResizingRebuildsEveryPanelCacheOnce) {
  std::vector<TsPanel*> panels{form->sPanelTop, form->sPanelOn, form->sPanelOnTop, form->sPanelOff, form->sPanelOffTop};
  std::vector<int> before;
  for (TsPanel* p : panels) before.push_back(p->CacheBuilds());
  SetWindowPos(form->Handle(), nullptr, 0, 0, 700, 600, SWP_NOMOVE | SWP_NOZORDER);
  Pump(100);
  for (size_t i = 0; i < panels.size(); ++i)
    EXPECT_EQ(panels[i]->CacheBuilds(), before[i] + 1) << bv::WideToUtf8(panels[i]->Name());
}

TEST_F(SkinnedControlsTest, SkinRemovalGivesThePlainButtonBackAndANewSkinShapesItAgain) {
  TsButton* button = form->ListBtn;
  auto ownerDrawn = [&] { return (GetWindowLongW(button->Handle(), GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW; };
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_TRUE(ownerDrawn());
  EXPECT_NE(GetWindowRgn(button->Handle(), region), ERROR);

  form->sSkinManager1->SetActive(false);
  Pump();
  EXPECT_FALSE(ownerDrawn());
  EXPECT_EQ(GetWindowRgn(button->Handle(), region), ERROR) << "no window region without a skin";
  EXPECT_FALSE(button->SkinData()->IsSkinned());

  form->sSkinManager1->SetActive(true);
  Pump();
  EXPECT_TRUE(ownerDrawn());
  EXPECT_NE(GetWindowRgn(button->Handle(), region), ERROR);
  DeleteObject(region);
}

TEST_F(SkinnedControlsTest, FadeFramesFollowTheWeights) {
  TsButton* button = form->ListBtn;
  std::vector<uint32_t> frames;
  int hook = button->AddMessageHook([&](TMessage& m, const TControl::NextHandler& next) {
    if (m.Msg == SM_LACQUERCMD && SkinCommandOf(m.WParam) == scFadeFrame) {
      const auto* frame = reinterpret_cast<const Bitmap*>(m.LParam);
      frames.push_back(frame->GetPixel(frame->Width() / 2, frame->Height() - 3));
    }
    next(m);
  });
  TsFadeTimer* timer = StartHoverFade(button);
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->Fade.Steps, 20);
  int x = button->Width() / 2, y = button->Height() - 3;
  uint32_t from = timer->FadeFrom.GetPixel(x, y), to = CachePixel(button, x, y);
  ASSERT_NE(from, to) << "the hot look differs from the normal one there";
  for (int i = 0; i < 20; ++i) timer->Tick();
  ASSERT_EQ(frames.size(), 20u);
  for (int step = 1; step <= 20; ++step) {
    int w = FadeWeight(step, 20);
    uint32_t expected = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      int a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
      expected |= static_cast<uint32_t>((a * w + b * (255 - w) + 127) >> 8) << shift;
    }
    EXPECT_EQ(frames[static_cast<size_t>(step - 1)], expected) << "step " << step;
  }
  timer->Tick();  // the fade is over: the button frees the timer once the tick has returned
  FreeRetiredFadeTimers();
  EXPECT_EQ(button->FadeTimer(), nullptr);
  button->RemoveMessageHook(hook);
}

TEST_F(SkinnedControlsTest, SkinChangeOrDisablingDuringAFadeEndsIt) {
  TsButton* button = form->ListBtn;
  ASSERT_NE(StartHoverFade(button), nullptr);
  button->Perform(SM_LACQUERCMD, SkinCommandParam(scRefresh), reinterpret_cast<LPARAM>(form->sSkinManager1));
  EXPECT_EQ(button->FadeTimer(), nullptr);

  button->Perform(CM_MOUSELEAVE);
  Pump();
  int x = button->Width() / 2, y = button->Height() / 2;
  uint32_t enabled = CachePixel(button, x, y);
  ASSERT_NE(StartHoverFade(button), nullptr);
  button->SetEnabled(false);
  EXPECT_EQ(button->FadeTimer(), nullptr);
  Pump();
  EXPECT_NE(CachePixel(button, x, y), enabled) << "the dimmed look is shown";
}

TEST_F(SkinnedControlsTest, ADoubleClickCountsAsTwoClicks) {
  int clicks = 0;
  form->ListBtn->OnClick = [&](TObject*) { ++clicks; };
  ClickAt(form->ListBtn->Handle(), form->ListBtn->Width() / 2, form->ListBtn->Height() / 2, true);
  Pump();
  EXPECT_EQ(clicks, 2);
}

TEST_F(SkinnedControlsTest, HoveringShowsAGlowAroundTheButtonThatNeverTakesActivation) {
  TsButton* button = form->FolderBtn;
  POINT centre{button->Width() / 2, button->Height() / 2};
  ClientToScreen(button->Handle(), &centre);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, centre.x, centre.y);
  Pump(150);
  HWND glow = VisibleGlowWindow();
  ASSERT_NE(glow, nullptr);
  const TsSkinManager& manager = *form->sSkinManager1;
  int item = manager.ImageItemIndexOf(manager.SectionIndexOf("BUTTON"), "BUTTON", "GLOW0");
  const LoadedSkin& skin = manager.Skin();
  RECT b;
  GetWindowRect(button->Handle(), &b);
  int margin = skin.Sections[static_cast<size_t>(manager.SectionIndexOf("BUTTON"))].GlowMargin;
  GlowPlacement expected = PlaceGlow({b.left, b.top, b.right, b.bottom}, {0, 0, b.right - b.left, b.bottom - b.top},
                                     {skin.ItemMarginLeft(item), skin.ItemMarginTop(item), skin.ItemMarginRight(item),
                                      skin.ItemMarginBottom(item)},
                                     margin);
  RECT g;
  GetWindowRect(glow, &g);
  EXPECT_EQ((Rect{g.left, g.top, g.right, g.bottom}), expected.Window);
  EXPECT_TRUE(GetWindowLongW(glow, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_EQ(GetForegroundWindow(), form->Handle());

  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, centre.x, centre.y - 200);
  Pump(150);
  EXPECT_EQ(VisibleGlowWindow(), nullptr);
}

TEST_F(SkinnedControlsTest, RepeatedHoversReuseOneGlowSlot) {
  // Other glows (the title buttons') may have taken slots before; the hovers add one at most.
  size_t before = GlowRegistrySlots();
  for (int i = 0; i < 50; ++i) {
    form->FolderBtn->Perform(CM_MOUSEENTER);
    form->FolderBtn->Perform(CM_MOUSELEAVE);
  }
  EXPECT_LE(GlowRegistrySlots(), before + 1);
}

// Which of the left-hand controls heard which skin commands.
class CommandLog {
 public:
  explicit CommandLog(std::vector<TControl*> controls) : controls_(std::move(controls)) {
    for (TControl* c : controls_)
      hooks_.push_back(c->AddMessageHook([this, c](TMessage& m, const TControl::NextHandler& next) {
        if (m.Msg == SM_LACQUERCMD) heard_.emplace_back(c, SkinCommandOf(m.WParam));
        next(m);
      }));
  }
  ~CommandLog() {
    for (size_t i = 0; i < controls_.size(); ++i) controls_[i]->RemoveMessageHook(hooks_[i]);
  }
  bool Heard(TControl* control, uint16_t command) const {
    return std::find(heard_.begin(), heard_.end(), std::make_pair(control, command)) != heard_.end();
  }

 private:
  std::vector<TControl*> controls_;
  std::vector<int> hooks_;
  std::vector<std::pair<TControl*, uint16_t>> heard_;
};

TEST_F(SkinnedControlsTest, BackgroundCommandsReachTheChildrenThatNeedThem) {
  // The left column's outer panel gets a section with a gradient: what lies behind its
  // transparent child panel now changes with its size.
  form->sPanelOn->SetSkinSection(L"BUTTON");
  Pump();
  TsPanel* inner = form->sPanelOnTop;
  struct Case {
    const char* what;
    uint16_t command;
    std::function<void(TForm1&)> act;
    std::vector<TControl*> reached;
    std::vector<TControl*> notReached;
    std::function<bool()> effect;  // true when the command did its work
  } cases[] = {
      {"the outer panel rebuilds its picture", scParentBackgroundChanged,
       [](TForm1& f) { f.sPanelOn->PrepareCachedImage(); }, {inner}, {form->sButtonOff, form->sPanelOffTop},
       [&] { return inner->SkinData()->CacheDirty; }},
      {"the outer panel is resized", scMovedOrResized,
       [](TForm1& f) {
         RECT r;
         GetWindowRect(f.Handle(), &r);
         SetWindowPos(f.Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top + 20, SWP_NOMOVE | SWP_NOZORDER);
       },
       {inner, form->sButtonOff, form->sLabel1}, {form->sPanelOffTop},
       [&] { return inner->SkinData()->CacheDirty; }},
      {"the outer panel recomputes its flags with its children", scTransparencyFlags,
       [](TForm1& f) { f.sPanelOn->Perform(SM_LACQUERCMD, SkinCommandParam(scTransparencyFlags, 1)); },
       {inner, form->sButtonOff, form->sLabel1}, {form->sPanelOffTop},
       [&] { return (inner->SkinData()->Flags & 1) == 0; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Pump();
    inner->SkinData()->CacheDirty = false;
    inner->SkinData()->Flags |= 1;  // claims a plain background: the recomputation must clear it
    CommandLog log({inner, form->sButtonOff, form->sLabel1, form->sPanelOffTop});
    c.act(*form);
    for (TControl* control : c.reached) EXPECT_TRUE(log.Heard(control, c.command)) << bv::WideToUtf8(control->Name());
    for (TControl* control : c.notReached) EXPECT_FALSE(log.Heard(control, c.command)) << bv::WideToUtf8(control->Name());
    EXPECT_TRUE(c.effect());
  }
}

TEST_F(SkinnedControlsTest, HoverFadesOnlyWhenTheSectionFades) {
  TsButton* button = form->ListBtn;
  // The loaded table is edited as a skin without fading would have it.
  const TsSkinManager& manager = *form->sSkinManager1;
  auto& section = const_cast<TsGeneralData&>(manager.Skin().Sections[static_cast<size_t>(manager.SectionIndexOf("BUTTON"))]);
  for (bool fading : {true, false}) {
    SCOPED_TRACE(fading ? "FADINGENABLED true" : "FADINGENABLED false");
    section.FadingEnabled = fading;
    button->Perform(CM_MOUSELEAVE);
    Pump();
    int x = button->Width() / 2, y = button->Height() - 3;
    uint32_t normal = CachePixel(button, x, y);
    button->Perform(CM_MOUSEENTER);
    TsFadeTimer* timer = button->FadeTimer();
    EXPECT_EQ(timer != nullptr, fading);
    if (timer) {
      timer->SetEnabled(false);
      continue;
    }
    EXPECT_NE(CachePixel(button, x, y), normal) << "the hot look is shown at once";
  }
  section.FadingEnabled = true;
}

TEST_F(SkinnedControlsTest, AQuickClickStillShowsThePressedLook) {
  TsButton* button = form->ListBtn;
  button->OnClick = [](TObject*) {};
  int x = button->Width() / 2, y = button->Height() - 3;
  button->SetDown(true);
  Pump();
  uint32_t pressed = CachePixel(button, x, y);
  button->SetDown(false);
  Pump();
  ASSERT_NE(CachePixel(button, x, y), pressed) << "the pressed look differs from the normal one there";

  std::vector<uint32_t> painted;
  int hook = button->AddMessageHook([&](TMessage& m, const TControl::NextHandler& next) {
    next(m);
    if (m.Msg == WM_PAINT && button->SkinData()->Cache) painted.push_back(CachePixel(button, x, y));
  });
  // Hover, then press and release before the press fade has shown a single frame.
  StartHoverFade(button);
  button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  if (TsFadeTimer* timer = button->FadeTimer()) timer->SetEnabled(false);
  button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  button->RemoveMessageHook(hook);
  if (TsFadeTimer* timer = button->FadeTimer()) timer->SetEnabled(false);
  EXPECT_NE(std::find(painted.begin(), painted.end(), pressed), painted.end()) << "the pressed look was painted";
}

TEST_F(SkinnedControlsTest, HoverPressFadeAndSkinChangeCyclesLeaveNoObjectsBehind) {
  ASSERT_TRUE(handle_counts::kEnabled);
  TsButton* button = form->ListBtn;
  button->OnClick = [](TObject*) {};
  skinned_cycles::RunCycle(*form, *button, 1);
  skinned_cycles::ObjectCounts before = skinned_cycles::Take(*form);
  EXPECT_GT(before.gdi, 0) << "the caches are counted";
  EXPECT_GT(before.user, 0) << "the windows are counted";
  for (int i = 0; i < 50; ++i) skinned_cycles::RunCycle(*form, *button, i);
  skinned_cycles::ObjectCounts after = skinned_cycles::Take(*form);
  EXPECT_EQ(after.gdi, before.gdi);
  EXPECT_EQ(after.user, before.user);
  EXPECT_EQ(after.glowSlots, before.glowSlots);
}

TEST_F(SkinnedControlsTest, PressingTheWebLabelOpensItsAddress) {
  std::vector<std::pair<std::wstring, int>> opened;
  TsWebLabel::SetLauncher([&](const std::wstring& url, int show) { opened.emplace_back(url, show); });
  TsWebLabel* label = form->sWebLabel;
  ClickAt(form->sPanelTop->Handle(), label->Left() + 5, label->Top() + label->Height() / 2);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].first, TForm1::kWebSite);
  EXPECT_EQ(opened[0].second, SW_SHOWDEFAULT);
}

}  // namespace
