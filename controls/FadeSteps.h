// The arithmetic of a cross-fade between two looks of a control: how many frames it has, where
// it starts when a fade is already running, and the weight of the old picture in each frame.
// Plain C++; TsFadeTimer drives it with the platform's timer.
#pragma once

struct FadeSteps {
  int Steps = 0;      // frames of the current fade
  int Step = 0;       // the next frame, from 1
  int Direction = 0;  // 0 stops painting; the controls start fades with 1
};

// Sets up a fade of `iterations` frames, halved for presses. `restarting`: `fade` belongs to a
// fade that is still running (its direction decides the new length); otherwise it is new.
void PrepareFade(FadeSteps& fade, bool restarting, int iterations, bool halve, int direction);

// Weight of the old picture in frame `step` of `steps`: 255 - step * 256 / steps, in 0..255.
int FadeWeight(int step, int steps);

// The fade has shown its last frame (or was set to a step before the first).
inline bool FadeFinished(const FadeSteps& fade) { return fade.Step > fade.Steps || fade.Step < 0; }
