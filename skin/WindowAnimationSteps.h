// The arithmetic of the window show and skin-change animations: how many frames, the constant
// alpha of each, the rectangle a growing window fills in each frame, and the per-pixel mix of
// the path that blends a screen capture into the new picture. Plain C++; the windows that show
// the frames live in the frame layer.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/Geometry.h"
#include "pixel/Bitmap.h"
#include "skin/AnimEffects.h"

namespace window_animation {

inline constexpr int kFrameInterval = 8;  // milliseconds between two frames

// Steps of an animation lasting `time` milliseconds: time / 8; 0 shows one frame at once.
int StepCount(uint16_t time);

// One frame of a layered animation: the constant alpha it is shown with and, for the growing
// mode, where the composed picture lies in the frame picture.
struct LayeredFrame {
  uint8_t alpha = 0;
  Rect target;  // the whole picture for fading and for the last growing frame
};

// The frames of a layered animation of a `width` x `height` picture: with n steps, frames
// 0 to n whose alpha rises by alpha / n (rounded, halves to even, never above `alpha`); with
// no steps, one frame at `alpha`. Growing starts at half size centred and ends at full size.
std::vector<LayeredFrame> LayeredFrames(int width, int height, uint16_t time, uint8_t alpha, TvlAnimType mode);

// Renders frame `index` of `frames` into `frame` (32-bit, the composed picture's size): fading
// copies the picture in the first frame and leaves it afterwards; growing stretches the whole
// picture into the frame's target (nearest pixel) each frame.
void RenderLayeredFrame(Bitmap& frame, const Bitmap& composed, const std::vector<LayeredFrame>& frames, int index,
                        TvlAnimType mode);

// The weights of the path without layered windows: 255 falling by 255 / n (at least 1) for each of the n
// frames, never below 0 (the new picture is copied whole after the last frame).
std::vector<int> BlendWeights(uint16_t time);

// One channel of that path: ((old - new) * weight + new * 256) >> 8.
inline int MixChannel(int oldValue, int newValue, int weight) {
  return ((oldValue - newValue) * weight + newValue * 256) >> 8;
}

// Mixes the screen capture `old` and the new picture `fresh` (24- or 32-bit, same size) into
// `frame` (32-bit, opaque) with `weight`; the overlapping area only.
void BlendFrame(Bitmap& frame, const Bitmap& old, const Bitmap& fresh, int weight);

}  // namespace window_animation
