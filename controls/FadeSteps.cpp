// See FadeSteps.h.
#include "controls/FadeSteps.h"

#include <algorithm>

void PrepareFade(FadeSteps& fade, bool restarting, int iterations, bool halve, int direction) {
  int previousDirection = restarting ? fade.Direction : 0;
  fade.Step = restarting ? iterations : 1;
  fade.Steps = iterations;
  if (previousDirection == 1) fade.Steps = fade.Step;
  else if (previousDirection == 2) fade.Steps = fade.Steps - fade.Step;
  if (halve) fade.Steps /= 2;
  if (fade.Step >= fade.Steps || fade.Step <= 0) fade.Step = 1;
  fade.Direction = direction;
}

int FadeWeight(int step, int steps) {
  if (steps <= 0) return 0;
  return std::clamp(255 - step * 256 / steps, 0, 255);
}
