// See WindowAnimationSteps.h.
#include "skin/WindowAnimationSteps.h"

#include <algorithm>
#include <cstring>

#include "pixel/ColorMath.h"

namespace window_animation {

int StepCount(uint16_t time) { return time / kFrameInterval; }

std::vector<LayeredFrame> LayeredFrames(int width, int height, uint16_t time, uint8_t alpha, TvlAnimType mode) {
  const Rect whole{0, 0, std::max(width, 0), std::max(height, 0)};
  const int steps = StepCount(time);
  if (steps == 0) return {LayeredFrame{alpha, whole}};
  std::vector<LayeredFrame> frames;
  frames.reserve(static_cast<size_t>(steps) + 1);
  const double alphaStep = static_cast<double>(alpha) / steps;
  const double growX = static_cast<double>(whole.right) / (4.0 * steps);
  const double growY = static_cast<double>(whole.bottom) / (4.0 * steps);
  double a = 0;
  double left = whole.right / 4.0, top = whole.bottom / 4.0;
  double right = 3.0 * whole.right / 4.0, bottom = 3.0 * whole.bottom / 4.0;
  for (int i = 0; i <= steps; ++i) {
    a = std::min(static_cast<double>(alpha), a + alphaStep);
    LayeredFrame frame;
    frame.alpha = static_cast<uint8_t>(RoundToNearestEven(a));
    frame.target = whole;
    const Rect grown{RoundToNearestEven(left), RoundToNearestEven(top), RoundToNearestEven(right),
                     RoundToNearestEven(bottom)};
    // Once the growing rectangle passes the edge (accumulated real steps may end a hair past it),
    // the whole picture is shown.
    if (mode == TvlAnimType::atAero && left >= 0 && top >= 0) frame.target = grown;
    frames.push_back(frame);
    left -= growX;
    right += growX;
    top -= growY;
    bottom += growY;
  }
  return frames;
}

namespace {

void CopyWhole(Bitmap& frame, const Bitmap& composed) {
  const int w = std::min(frame.Width(), composed.Width());
  const int h = std::min(frame.Height(), composed.Height());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) frame.SetPixel(x, y, composed.GetPixel(x, y) | (composed.Format() == PixelFormat::pf32bit ? 0 : 0xFF000000u));
}

void StretchInto(Bitmap& frame, const Bitmap& composed, const Rect& target) {
  const int tw = target.right - target.left, th = target.bottom - target.top;
  if (tw <= 0 || th <= 0 || composed.Empty()) return;
  const uint32_t opaque = composed.Format() == PixelFormat::pf32bit ? 0 : 0xFF000000u;
  for (int y = std::max(target.top, 0); y < std::min(target.bottom, frame.Height()); ++y) {
    const int sy = static_cast<int>(static_cast<int64_t>(y - target.top) * composed.Height() / th);
    for (int x = std::max(target.left, 0); x < std::min(target.right, frame.Width()); ++x) {
      const int sx = static_cast<int>(static_cast<int64_t>(x - target.left) * composed.Width() / tw);
      frame.SetPixel(x, y, composed.GetPixel(sx, sy) | opaque);
    }
  }
}

}  // namespace

void RenderLayeredFrame(Bitmap& frame, const Bitmap& composed, const std::vector<LayeredFrame>& frames, int index,
                        TvlAnimType mode) {
  if (index < 0 || index >= static_cast<int>(frames.size())) return;
  if (mode == TvlAnimType::atAero) {
    const Rect& target = frames[static_cast<size_t>(index)].target;
    if (target == frame.Bounds()) CopyWhole(frame, composed);
    else StretchInto(frame, composed, target);
  } else if (index == 0) {
    CopyWhole(frame, composed);
  }
}

std::vector<int> BlendWeights(uint16_t time) {
  const int steps = StepCount(time);
  std::vector<int> weights;
  if (steps == 0) return weights;
  // More than 255 steps would fall by 0 and show only the old picture until the end.
  const int fall = std::max(1, 255 / steps);
  int weight = 255;
  for (int i = 0; i < steps; ++i) {
    weight = std::max(0, weight - fall);
    weights.push_back(weight);
  }
  return weights;
}

void BlendFrame(Bitmap& frame, const Bitmap& old, const Bitmap& fresh, int weight) {
  const int w = std::min({frame.Width(), old.Width(), fresh.Width()});
  const int h = std::min({frame.Height(), old.Height(), fresh.Height()});
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint8_t* o = old.PixelAt(x, y);
      const uint8_t* n = fresh.PixelAt(x, y);
      uint8_t* out = frame.PixelAt(x, y);
      for (int c = 0; c < 3; ++c) out[c] = static_cast<uint8_t>(MixChannel(o[c], n[c], weight));
      if (frame.Format() == PixelFormat::pf32bit) out[3] = 255;
    }
  }
}

}  // namespace window_animation
