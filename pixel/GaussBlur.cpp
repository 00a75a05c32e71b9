// See GaussBlur.h.
#include "pixel/GaussBlur.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

GaussKernel MakeGaussKernel(double sigma) {
  constexpr int kReach = 100;
  std::vector<float> w(2 * kReach + 1);
  if (sigma <= 0) {
    w[kReach] = 1;  // the limit of ever narrower kernels
  } else {
    double sum = 0;
    for (int i = -kReach; i <= kReach; ++i) {
      double x = i / sigma;
      sum += w[static_cast<size_t>(i + kReach)] = static_cast<float>(std::exp(-x * x / 2));
    }
    for (float& v : w) v = static_cast<float>(v / sum);
  }
  int r = kReach;
  double tails = 0;
  while (tails < 1.0 / 510 && r > 1) {
    tails += 2.0 * w[static_cast<size_t>(r + kReach)];
    --r;
  }
  GaussKernel kernel;
  kernel.radius = r;
  double sum = 0;
  for (int i = -r; i <= r; ++i) sum += w[static_cast<size_t>(i + kReach)];
  for (int i = -r; i <= r; ++i) kernel.weights.push_back(static_cast<float>(w[static_cast<size_t>(i + kReach)] / sum));
  return kernel;
}

namespace {

// Fixed-point weights that add up to exactly 1 << kShift, so a uniform line stays exactly as it
// is after truncation (float weights that sum to 0.99999994 would turn 255 into 254).
constexpr int kShift = 20;

std::vector<int32_t> FixedWeights(const GaussKernel& kernel) {
  std::vector<int32_t> fixed;
  int64_t total = 0;
  for (float w : kernel.weights) {
    fixed.push_back(static_cast<int32_t>(std::floor(static_cast<double>(w) * (1 << kShift))));
    total += fixed.back();
  }
  // The rounding remainder goes to the centre weight.
  fixed[static_cast<size_t>(kernel.radius)] += static_cast<int32_t>((int64_t{1} << kShift) - total);
  return fixed;
}

// out(i) = sum of w(k) * in(clamp(i - k)) for k = -r..r, over one line of n bytes `step` apart.
void BlurLine(uint8_t* line, ptrdiff_t step, int n, const std::vector<int32_t>& weights, int radius,
              std::vector<uint8_t>& input) {
  input.resize(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) input[static_cast<size_t>(i)] = line[i * step];
  for (int i = 0; i < n; ++i) {
    int64_t sum = 0;
    for (int k = -radius; k <= radius; ++k) {
      int at = std::clamp(i - k, 0, n - 1);
      sum += int64_t{weights[static_cast<size_t>(k + radius)]} * input[static_cast<size_t>(at)];
    }
    line[i * step] = static_cast<uint8_t>(std::clamp<int64_t>(sum >> kShift, 0, 255));
  }
}

}  // namespace

void BlurMask(Bitmap& mask, double radius) {
  if (mask.Format() != PixelFormat::pf8bit || mask.Empty()) return;
  GaussKernel kernel = MakeGaussKernel(radius);
  std::vector<int32_t> weights = FixedWeights(kernel);
  std::vector<uint8_t> scratch;
  for (int y = 0; y < mask.Height(); ++y) BlurLine(mask.Row(y), 1, mask.Width(), weights, kernel.radius, scratch);
  for (int x = 0; x < mask.Width(); ++x) BlurLine(mask.PixelAt(x, 0), mask.Stride(), mask.Height(), weights, kernel.radius, scratch);
}
