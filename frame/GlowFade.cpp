// See GlowFade.h.
#include "frame/GlowFade.h"

#include <algorithm>

namespace frame_fade {

GlowFade::GlowFade(int steps) : steps_(std::max(1, steps)), stepSize_(std::max(1, 255 / steps_)) {}

void GlowFade::Start(bool in) {
  rising_ = in;
  running_ = true;
  Tick();
}

void GlowFade::ShowFull() {
  rising_ = true;
  running_ = false;
  alpha_ = 255;
}

bool GlowFade::Tick() {
  if (!running_) return false;
  if (rising_) {
    int next = alpha_ + stepSize_;
    // The last step goes to full strength (255 is no multiple of the step).
    if (next >= stepSize_ * steps_ || next >= 255) {
      alpha_ = 255;
      running_ = false;
    } else {
      alpha_ = next;
    }
  } else {
    alpha_ = std::max(0, alpha_ - stepSize_);
    if (alpha_ == 0) running_ = false;
  }
  return running_;
}

}  // namespace frame_fade
