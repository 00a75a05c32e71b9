// The Gaussian blur behind glowing text: a kernel cut where its tails fall below 1/510, and a
// separable blur of an 8-bit mask. Plain C++.
#pragma once

#include <vector>

#include "pixel/Bitmap.h"

struct GaussKernel {
  int radius = 0;
  std::vector<float> weights;  // 2 * radius + 1 weights, from -radius to radius, summing to 1
};

// The kernel for `sigma`. A sigma of 0 or less gives the kernel that changes nothing.
GaussKernel MakeGaussKernel(double sigma);

// Blurs an 8-bit mask in place with the kernel of `radius` (as sigma): rows first, then
// columns, edges repeating the border pixel, sums truncated to 0..255. A uniform mask stays as
// it is.
void BlurMask(Bitmap& mask, double radius);
