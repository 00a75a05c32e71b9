// The application hint's timing, placement and line breaks.
#include <gtest/gtest.h>

#include "framework/HintSchedule.h"

using hints::HintSchedule;
using Action = HintSchedule::Action;
using State = HintSchedule::State;

namespace {

HintSchedule MakeSchedule() {
  HintSchedule s;
  s.SetPauses({500, 25, 10000});
  return s;
}

}  // namespace

TEST(HintSchedule, ShowsAfterThePauseAndHidesAfterTheHidePause) {
  HintSchedule s = MakeSchedule();
  EXPECT_EQ(s.Enter(true, 1000), Action::None);
  EXPECT_EQ(s.NextDue(1000), 500);
  EXPECT_EQ(s.Tick(1499), Action::None);
  EXPECT_EQ(s.NextDue(1499), 1);
  EXPECT_EQ(s.Tick(1500), Action::Show);
  EXPECT_EQ(s.Current(), State::Shown);
  EXPECT_EQ(s.NextDue(1500), 10000);
  EXPECT_EQ(s.Tick(11499), Action::None);
  EXPECT_EQ(s.Tick(11500), Action::Hide);
  // Hidden for good while the mouse stays on the control.
  EXPECT_EQ(s.NextDue(11500), -1);
  EXPECT_EQ(s.Tick(20000), Action::None);
}

TEST(HintSchedule, HidePauseZeroKeepsTheHint) {
  HintSchedule s;
  s.SetPauses({100, 10, 0});
  s.Enter(true, 0);
  EXPECT_EQ(s.Tick(100), Action::Show);
  EXPECT_EQ(s.NextDue(100), -1);
  EXPECT_EQ(s.Tick(1000000), Action::None);
  EXPECT_EQ(s.Current(), State::Shown);
}

TEST(HintSchedule, ControlWithoutHintWaitsForNothing) {
  HintSchedule s = MakeSchedule();
  EXPECT_EQ(s.Enter(false, 0), Action::None);
  EXPECT_EQ(s.NextDue(0), -1);
  EXPECT_EQ(s.Tick(5000), Action::None);
}

TEST(HintSchedule, LeavingBeforeThePauseShowsNothing) {
  HintSchedule s = MakeSchedule();
  s.Enter(true, 0);
  EXPECT_EQ(s.Leave(300), Action::None);
  EXPECT_EQ(s.Tick(600), Action::None);
  EXPECT_EQ(s.NextDue(600), -1);
}

TEST(HintSchedule, LeaveClickAndKeyHideAShownHint) {
  struct Case {
    const char* name;
    bool byLeave;
  } cases[] = {{"leave", true}, {"click or key", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HintSchedule s = MakeSchedule();
    s.Enter(true, 0);
    ASSERT_EQ(s.Tick(500), Action::Show);
    EXPECT_EQ(c.byLeave ? s.Leave(600) : s.Dismiss(), Action::Hide);
    EXPECT_EQ(s.Tick(20000), Action::None);
  }
}

TEST(HintSchedule, DismissedHintStaysHiddenUntilAnotherControl) {
  HintSchedule s = MakeSchedule();
  s.Enter(true, 0);
  EXPECT_EQ(s.Dismiss(), Action::None);  // a click while waiting: nothing shown, nothing to hide
  EXPECT_EQ(s.Current(), State::Dismissed);
  EXPECT_EQ(s.Tick(600), Action::None);
  // The next control starts over with the full pause.
  s.Enter(true, 1000);
  EXPECT_EQ(s.NextDue(1000), 500);
  EXPECT_EQ(s.Tick(1500), Action::Show);
}

TEST(HintSchedule, MovingOnFromAShownHintTakesTheShortPause) {
  struct Case {
    const char* name;
    int64_t enterAt;  // the leave was at 1000, with the hint shown
    int64_t expectedDue;
  } cases[] = {
      {"straight from one control to the next", 1000, 25},
      {"across a gap within the pause", 1500, 25},
      {"after more than the pause", 1501, 500},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HintSchedule s = MakeSchedule();
    s.Enter(true, 0);
    ASSERT_EQ(s.Tick(500), Action::Show);
    ASSERT_EQ(s.Leave(1000), Action::Hide);
    s.Enter(true, c.enterAt);
    EXPECT_EQ(s.NextDue(c.enterAt), c.expectedDue);
  }
}

TEST(HintSchedule, EnteringWhileShownHidesFirst) {
  HintSchedule s = MakeSchedule();
  s.Enter(true, 0);
  ASSERT_EQ(s.Tick(500), Action::Show);
  EXPECT_EQ(s.Enter(true, 700), Action::Hide);
  EXPECT_EQ(s.NextDue(700), 25);
  EXPECT_EQ(s.Tick(725), Action::Show);
}

TEST(HintSchedule, HintNotMovedOnAfterTheHidePause) {
  // A hint that went away by itself is not a hint the user is moving through.
  HintSchedule s = MakeSchedule();
  s.Enter(true, 0);
  ASSERT_EQ(s.Tick(500), Action::Show);
  ASSERT_EQ(s.Tick(10500), Action::Hide);
  s.Leave(10600);
  s.Enter(true, 10600);
  EXPECT_EQ(s.NextDue(10600), 500);
}

TEST(HintPlacement, OffsetFromTheCursorAndKeptInTheArea) {
  const Rect area{0, 0, 1280, 1000};
  struct Case {
    const char* name;
    Point cursor;
    Point expected;
  } cases[] = {
      {"free space", {100, 100}, {100, 120}},
      {"right edge", {1250, 100}, {1280 - 200, 120}},
      {"bottom edge goes above the cursor", {100, 990}, {100, 990 - 40}},
      {"left of the area", {-50, 100}, {0, 120}},
      {"above the area", {100, -30}, {100, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(hints::PlaceHint(c.cursor, 200, 40, {0, 20}, area), c.expected);
  }
}

TEST(HintPlacement, LargerThanTheAreaKeepsItsTopLeftInside) {
  EXPECT_EQ(hints::PlaceHint({500, 500}, 2000, 1500, {8, 16}, {10, 20, 1290, 1020}), (Point{10, 20}));
}

TEST(HintDisplayText, CarriageReturnsBreakLines) {
  struct Case {
    const wchar_t* hint;
    const wchar_t* expected;
  } cases[] = {
      {L"one line", L"one line"},
      {L"SelectedPath =\rC:\\Data\\", L"SelectedPath =\r\nC:\\Data\\"},
      {L"a\r\nb", L"a\r\nb"},
      {L"a\nb", L"a\r\nb"},
      {L"a\r\rb\r", L"a\r\n\r\nb\r\n"},
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(hints::HintDisplayText(c.hint), c.expected) << "hint: " << testing::PrintToString(std::wstring(c.hint));
}
