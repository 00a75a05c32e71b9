// See HintSchedule.h.
#include "framework/HintSchedule.h"

#include <algorithm>

namespace hints {

Point PlaceHint(Point cursor, int width, int height, Point offset, const Rect& area) {
  Point at{cursor.x + offset.x, cursor.y + offset.y};
  if (at.y + height > area.bottom && offset.y > 0) at.y = cursor.y - height;  // above the cursor
  at.x = std::max(area.left, std::min(at.x, area.right - width));
  at.y = std::max(area.top, std::min(at.y, area.bottom - height));
  return at;
}

std::wstring HintDisplayText(const std::wstring& hint) {
  std::wstring text;
  text.reserve(hint.size() + 8);
  for (size_t i = 0; i < hint.size(); ++i) {
    wchar_t c = hint[i];
    if (c == L'\r') {
      text += L"\r\n";
      if (i + 1 < hint.size() && hint[i + 1] == L'\n') ++i;
    } else if (c == L'\n') {
      text += L"\r\n";
    } else {
      text += c;
    }
  }
  return text;
}

HintSchedule::Action HintSchedule::Enter(bool hasHint, int64_t now) {
  Action action = state_ == State::Shown ? Action::Hide : Action::None;
  bool movingOn = state_ == State::Shown || (shownLeftAt_ >= 0 && now - shownLeftAt_ <= pauses_.pause);
  if (state_ == State::Shown) shownLeftAt_ = now;
  if (!hasHint) {
    state_ = State::Idle;
    return action;
  }
  state_ = State::Waiting;
  dueAt_ = now + std::max(0, movingOn ? pauses_.shortPause : pauses_.pause);
  return action;
}

HintSchedule::Action HintSchedule::Leave(int64_t now) {
  Action action = Action::None;
  if (state_ == State::Shown) {
    shownLeftAt_ = now;
    action = Action::Hide;
  }
  state_ = State::Idle;
  return action;
}

HintSchedule::Action HintSchedule::Dismiss() {
  Action action = state_ == State::Shown ? Action::Hide : Action::None;
  if (state_ != State::Idle) state_ = State::Dismissed;
  shownLeftAt_ = -1;
  return action;
}

HintSchedule::Action HintSchedule::Tick(int64_t now) {
  if (state_ == State::Waiting && now >= dueAt_) {
    state_ = State::Shown;
    dueAt_ = pauses_.hidePause > 0 ? now + pauses_.hidePause : -1;
    return Action::Show;
  }
  if (state_ == State::Shown && dueAt_ >= 0 && now >= dueAt_) {
    state_ = State::Dismissed;
    shownLeftAt_ = -1;
    return Action::Hide;
  }
  return Action::None;
}

int64_t HintSchedule::NextDue(int64_t now) const {
  if (state_ == State::Waiting || (state_ == State::Shown && dueAt_ >= 0)) return std::max<int64_t>(0, dueAt_ - now);
  return -1;
}

}  // namespace hints
