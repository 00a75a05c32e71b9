// See AnimationFlag.h.
#include "paint/AnimationFlag.h"

namespace window_animation {

namespace {
bool animating = false;
}

bool Animating() { return animating; }
void SetAnimating(bool value) { animating = value; }

}  // namespace window_animation
