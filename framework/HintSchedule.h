// The plain rules of the application's hint: when it shows, moves to another control and hides
// (HintSchedule), where it goes on the screen (PlaceHint) and how its text breaks into lines
// (HintDisplayText). The window that shows it is THintWindow; TApplication drives both.
#pragma once

#include <cstdint>
#include <string>

#include "framework/Geometry.h"

namespace hints {

// The hint's top-left corner: `offset` from the cursor, moved back inside `area` (right and
// bottom first, then left and top, so a hint larger than the area keeps its left top corner in
// it). A hint that would cover the cursor's row from below goes above the cursor instead.
Point PlaceHint(Point cursor, int width, int height, Point offset, const Rect& area);

// The text as it is drawn: a lone "\r" (the separator hints are written with) or a lone "\n"
// becomes a line break of its own; "\r\n" stays one break.
std::wstring HintDisplayText(const std::wstring& hint);

struct HintPauses {
  int pause = 500;        // resting on a control before its hint shows
  int shortPause = 50;    // moving on from a control whose hint was showing
  int hidePause = 2500;   // a shown hint goes away after this (0: never)
};

// When the hint shows and hides, in milliseconds of a steady clock the caller passes in.
// The mouse rests on a control with a hint: the hint shows after the pause. Moving on to another
// control with a hint while one shows (or within the pause of leaving it) shows the next one after
// the short pause. A shown hint hides after the hide pause, when the mouse leaves its control, or
// on a click or key; after a click, key or the hide pause it stays hidden until the mouse comes
// onto another control.
class HintSchedule {
 public:
  enum class State { Idle, Waiting, Shown, Dismissed };
  enum class Action { None, Show, Hide };

  void SetPauses(const HintPauses& pauses) { pauses_ = pauses; }
  const HintPauses& Pauses() const { return pauses_; }
  State Current() const { return state_; }

  // The mouse came onto a control; `hasHint` tells whether there is a hint to show for it.
  // Answers Hide when a shown hint must go first.
  Action Enter(bool hasHint, int64_t now);
  // The mouse left the control (onto one without a framework window, or off the program).
  Action Leave(int64_t now);
  // A mouse button or a key was pressed.
  Action Dismiss();
  // What is due at `now`: Show once the waiting time is up, Hide once the hide pause is up.
  Action Tick(int64_t now);
  // Milliseconds from `now` to the next Tick that does something, or -1 when nothing is due.
  int64_t NextDue(int64_t now) const;

 private:
  HintPauses pauses_;
  State state_ = State::Idle;
  int64_t dueAt_ = 0;            // Waiting: when it shows; Shown: when it hides
  int64_t shownLeftAt_ = -1;     // when the mouse last left a shown hint's control, or -1
};

}  // namespace hints
