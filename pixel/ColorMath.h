// Rounding and clamping rules shared by every colour formula of the painters, and MixColors.
// Real-number results round to nearest with halves going to the even neighbour; integer
// divisions truncate toward zero. Plain C++.
#pragma once

#include <cmath>
#include <cstdint>

#include "framework/Color.h"

// Rounds with the default rounding mode (halves to even).
inline int RoundToNearestEven(double value) { return static_cast<int>(std::nearbyint(value)); }

// numerator / denominator rounded to nearest, halves to even, without floating point, so that
// formulas with whole-number percentages round their exact halves the same on every platform.
// `denominator` must be above 0.
int64_t DivideRounded(int64_t numerator, int64_t denominator);

// DivideRounded by one denominator for many numerators of 0 and above, as when averaging
// thousands of pixels over the same area: a floating-point estimate corrected to the exact
// quotient, without an integer division per call.
class RoundedDivider {
 public:
  explicit RoundedDivider(int64_t denominator) : denominator_(denominator), inverse_(1.0 / static_cast<double>(denominator)) {}
  int64_t operator()(int64_t numerator) const {
    int64_t quotient = static_cast<int64_t>(static_cast<double>(numerator) * inverse_);
    int64_t remainder = numerator - quotient * denominator_;
    for (; remainder < 0; remainder += denominator_) --quotient;
    for (; remainder >= denominator_; remainder -= denominator_) ++quotient;
    if (remainder * 2 > denominator_ || (remainder * 2 == denominator_ && (quotient & 1))) ++quotient;
    return quotient;
  }

 private:
  int64_t denominator_;
  double inverse_;
};

inline uint8_t ClampByte(int value) {
  return static_cast<uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

// Per channel round(x * a + (1 - x) * b); the top byte of the result is that of `a`. System
// colours are turned into RGB first.
TColor MixColors(TColor a, TColor b, double x);
