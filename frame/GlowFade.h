// The fade of a title button's glow: in over a number of equal alpha steps up to opaque, and out
// from whatever alpha it had reached (a fade-out that interrupts a fade-in never flashes up to
// full first). Plain C++; the provider's timer calls Tick.
#pragma once

namespace frame_fade {

class GlowFade {
 public:
  // `steps`: how many ticks a full fade takes (at least 1).
  explicit GlowFade(int steps = 10);

  // Starts fading in or out from the current alpha; the first step shows at once.
  void Start(bool in);
  // Shows the glow at full strength at once (a pressed button).
  void ShowFull();
  // Advances one step; false once the fade has ended (nothing to tick).
  bool Tick();

  int Alpha() const { return alpha_; }
  bool Running() const { return running_; }
  bool Rising() const { return rising_; }
  // The glow has faded out completely: its window may go.
  bool Gone() const { return !rising_ && alpha_ == 0; }

 private:
  int steps_;
  int stepSize_;
  int alpha_ = 0;
  bool rising_ = false;
  bool running_ = false;
};

}  // namespace frame_fade
