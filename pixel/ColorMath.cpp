// See ColorMath.h.
#include "pixel/ColorMath.h"

int64_t DivideRounded(int64_t numerator, int64_t denominator) {
  int64_t quotient = numerator / denominator;
  int64_t remainder = numerator % denominator;
  if (remainder < 0) {  // floor, so the remainder below is the distance from the lower neighbour
    --quotient;
    remainder += denominator;
  }
  if (remainder * 2 > denominator) return quotient + 1;
  if (remainder * 2 == denominator) return quotient + (quotient & 1);
  return quotient;
}

TColor MixColors(TColor a, TColor b, double x) {
  a = PlainColor(a);
  b = PlainColor(b);
  auto mix = [x](int ca, int cb) { return ClampByte(RoundToNearestEven(x * ca + (1 - x) * cb)); };
  uint32_t top = static_cast<uint32_t>(a) & 0xFF000000u;
  return static_cast<TColor>(top | static_cast<uint32_t>(MakeColor(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)),
                                                                      mix(BlueOf(a), BlueOf(b)))));
}
