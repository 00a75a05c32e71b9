// See Gradient.h.
#include "paint/Gradient.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "pixel/ColorMath.h"
#include "pixel/PixelAccess.h"

namespace {

// Colour channels in stored order as reals, stepped by a per-channel increment.
struct Ramp {
  double value[3];
  double increment[3];

  Ramp(TColor from, TColor to, int steps) {
    from = PlainColor(from);
    to = PlainColor(to);
    const int a[3] = {BlueOf(from), GreenOf(from), RedOf(from)};
    const int b[3] = {BlueOf(to), GreenOf(to), RedOf(to)};
    for (int c = 0; c < 3; ++c) {
      value[c] = a[c];
      increment[c] = static_cast<double>(b[c] - a[c]) / steps;
    }
  }
  Bgra Pixel() const {
    return {ClampByte(RoundToNearestEven(value[0])), ClampByte(RoundToNearestEven(value[1])), ClampByte(RoundToNearestEven(value[2])), 255};
  }
  void Advance() {
    for (int c = 0; c < 3; ++c) value[c] += increment[c];
  }
};

void FillRow(Bitmap& target, int y, int left, int right, Bgra pixel) {
  int step = target.BytesPerPixel();
  uint8_t* p = target.PixelAt(left, y);
  for (int x = left; x < right; ++x, p += step) WritePixel(p, target.Format(), pixel);
}

void TopToBottom(Bitmap& target, const Rect& r, const TsGradArray& steps) {
  int last = r.bottom - 1;
  int y = r.top;
  for (size_t i = 0; i < steps.size(); ++i) {
    int y0 = y;
    y = y0 + steps[i].Percent * r.Height() / 100;
    y = i + 1 == steps.size() ? last : std::min(y, last);
    if (y <= y0) continue;
    Ramp ramp(steps[i].Color1, steps[i].Color2, y - y0);
    for (int row = y0; row <= y; ++row, ramp.Advance()) FillRow(target, row, r.left, r.right, ramp.Pixel());
  }
  // A single row gets no step of its own: it takes the first colour.
  if (r.Height() == 1) FillRow(target, r.top, r.left, r.right, Ramp(steps[0].Color1, 0, 1).Pixel());
}

void LeftToRight(Bitmap& target, const Rect& r, const TsGradArray& steps) {
  int last = r.right - 1;
  double hundredth = r.Width() / 100.0;
  int step = target.BytesPerPixel();
  // Every row gets the same values: paint the first, copy it to the others.
  int x = r.left;
  for (size_t i = 0; i < steps.size(); ++i) {
    int x0 = x;
    x = RoundToNearestEven(steps[i].Percent * hundredth + x0);
    x = i + 1 == steps.size() ? last : std::min(x, last);
    if (x <= x0) continue;
    Ramp ramp(steps[i].Color1, steps[i].Color2, x - x0);
    uint8_t* p = target.PixelAt(x0, r.top);
    for (int column = x0; column <= x; ++column, p += step, ramp.Advance()) WritePixel(p, target.Format(), ramp.Pixel());
  }
  // A single column gets no step of its own: it takes the first colour.
  if (r.Width() == 1) WritePixel(target.PixelAt(r.left, r.top), target.Format(), Ramp(steps[0].Color1, 0, 1).Pixel());
  size_t bytes = static_cast<size_t>(r.Width()) * static_cast<size_t>(step);
  for (int row = r.top + 1; row < r.bottom; ++row) std::memcpy(target.PixelAt(r.left, row), target.PixelAt(r.left, r.top), bytes);
}

// Gouraud shading of one triangle. Pixel (x, y) is sampled at its centre; coordinates are
// doubled so that centres and vertices are whole numbers and every test is exact. A pixel on a
// shared edge belongs to the triangle for which that edge is a top or left edge, so triangles
// that meet neither overlap nor leave gaps.
struct Vertex {
  int x, y;      // doubled
  int rgb[3];    // blue, green, red
};

int64_t FloorDivide(int64_t a, int64_t b) {  // b > 0
  int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

int64_t EdgeFunction(const Vertex& a, const Vertex& b, int64_t px, int64_t py) {
  return (int64_t{b.x} - a.x) * (py - a.y) - (int64_t{b.y} - a.y) * (px - a.x);
}

// True when the edge a->b of a triangle wound with positive area (clockwise on screen, y down)
// is a top or left edge.
bool TopLeft(const Vertex& a, const Vertex& b) { return (a.y == b.y && b.x > a.x) || b.y < a.y; }

// A value numerator / denominator that moves by a fixed step, kept as quotient and remainder so
// that walking along a row needs no division; rounds halves to even like DivideRounded.
class ExactStepper {
 public:
  ExactStepper(int64_t numerator, int64_t step, int64_t denominator) : denominator_(denominator) {
    Split(numerator, quotient_, remainder_);
    Split(step, stepQuotient_, stepRemainder_);
  }
  int Rounded() const {
    int64_t twice = 2 * remainder_;
    return static_cast<int>(twice > denominator_ || (twice == denominator_ && (quotient_ & 1)) ? quotient_ + 1 : quotient_);
  }
  void Advance() {
    quotient_ += stepQuotient_;
    remainder_ += stepRemainder_;
    if (remainder_ >= denominator_) {
      remainder_ -= denominator_;
      ++quotient_;
    }
  }

 private:
  void Split(int64_t value, int64_t& quotient, int64_t& remainder) const {  // floor division
    quotient = value / denominator_;
    remainder = value % denominator_;
    if (remainder < 0) {
      --quotient;
      remainder += denominator_;
    }
  }
  int64_t denominator_, quotient_ = 0, remainder_ = 0, stepQuotient_ = 0, stepRemainder_ = 0;
};

void ShadeTriangle(Bitmap& target, const Rect& clip, Vertex v0, Vertex v1, Vertex v2) {
  int64_t area = EdgeFunction(v0, v1, v2.x, v2.y);
  if (area == 0) return;
  if (area < 0) {
    std::swap(v1, v2);
    area = -area;
  }
  int minX = std::max(clip.left, std::min({v0.x, v1.x, v2.x}) / 2 - 1);
  int maxX = std::min(clip.right - 1, std::max({v0.x, v1.x, v2.x}) / 2);
  int minY = std::max(clip.top, std::min({v0.y, v1.y, v2.y}) / 2 - 1);
  int maxY = std::min(clip.bottom - 1, std::max({v0.y, v1.y, v2.y}) / 2);
  if (minX > maxX) return;
  const Vertex* v[3] = {&v0, &v1, &v2};
  // Edge k lies opposite vertex k; its function grows by stepX per pixel to the right, and so
  // does each colour's numerator by the weighted sum of those steps.
  int64_t stepX[3];
  bool topLeft[3];
  for (int k = 0; k < 3; ++k) {
    const Vertex& a = *v[(k + 1) % 3];
    const Vertex& b = *v[(k + 2) % 3];
    stepX[k] = -2 * (int64_t{b.y} - a.y);
    topLeft[k] = TopLeft(a, b);
  }
  int step = target.BytesPerPixel();
  PixelFormat format = target.Format();
  for (int y = minY; y <= maxY; ++y) {
    // The row's span inside all three edges: w + stepX * i must reach 0 (top-left edges) or 1.
    int64_t py = 2 * int64_t{y} + 1;
    int64_t first = 0, last = maxX - minX;
    for (int k = 0; k < 3 && first <= last; ++k) {
      int64_t w = EdgeFunction(*v[(k + 1) % 3], *v[(k + 2) % 3], 2 * int64_t{minX} + 1, py);
      int64_t need = topLeft[k] ? 0 : 1;
      if (stepX[k] > 0)
        first = std::max(first, FloorDivide(need - w + stepX[k] - 1, stepX[k]));
      else if (stepX[k] < 0)
        last = std::min(last, FloorDivide(w - need, -stepX[k]));
      else if (w < need)
        last = -1;
    }
    if (first > last) continue;
    int x0 = minX + static_cast<int>(first);
    int64_t px = 2 * int64_t{x0} + 1;
    int64_t w[3];
    for (int k = 0; k < 3; ++k) w[k] = EdgeFunction(*v[(k + 1) % 3], *v[(k + 2) % 3], px, py);
    ExactStepper colour[3] = {
        {w[0] * v0.rgb[0] + w[1] * v1.rgb[0] + w[2] * v2.rgb[0], stepX[0] * v0.rgb[0] + stepX[1] * v1.rgb[0] + stepX[2] * v2.rgb[0], area},
        {w[0] * v0.rgb[1] + w[1] * v1.rgb[1] + w[2] * v2.rgb[1], stepX[0] * v0.rgb[1] + stepX[1] * v1.rgb[1] + stepX[2] * v2.rgb[1], area},
        {w[0] * v0.rgb[2] + w[1] * v1.rgb[2] + w[2] * v2.rgb[2], stepX[0] * v0.rgb[2] + stepX[1] * v1.rgb[2] + stepX[2] * v2.rgb[2], area}};
    uint8_t* p = target.PixelAt(x0, y);
    for (int x = x0; x <= minX + last; ++x, p += step) {
      WritePixel(p, format, {ClampByte(colour[0].Rounded()), ClampByte(colour[1].Rounded()), ClampByte(colour[2].Rounded()), 255});
      for (auto& c : colour) c.Advance();
    }
  }
}

void FourCorner(Bitmap& target, const Rect& r, const TsGradArray& steps) {
  // Vertex colours from the steps' first colours; a missing step repeats the one before.
  std::array<TColor, 5> colour{};
  for (size_t i = 0; i < colour.size(); ++i)
    colour[i] = PlainColor(i < steps.size() ? steps[i].Color1 : colour[i - 1]);
  auto vertex = [&](int x, int y, size_t i) {
    return Vertex{2 * x, 2 * y, {BlueOf(colour[i]), GreenOf(colour[i]), RedOf(colour[i])}};
  };
  Vertex topLeft = vertex(r.left, r.top, 0);
  Vertex centre = vertex((r.left + r.right) / 2, (r.top + r.bottom) / 2, 1);
  Vertex topRight = vertex(r.right, r.top, 2);
  Vertex bottomRight = vertex(r.right, r.bottom, 3);
  Vertex bottomLeft = vertex(r.left, r.bottom, 4);
  ShadeTriangle(target, r, topLeft, centre, topRight);
  ShadeTriangle(target, r, centre, topRight, bottomRight);
  ShadeTriangle(target, r, topLeft, centre, bottomLeft);
  ShadeTriangle(target, r, bottomLeft, centre, bottomRight);
}

}  // namespace

void PaintGradient(Bitmap& target, const Rect& rect, const TsGradArray& steps) {
  if (target.Format() == PixelFormat::pf8bit) return;
  Rect r = rect.Intersect(target.Bounds());
  if (r.Empty() || steps.empty()) return;
  switch (steps.front().Mode) {
    case 1: LeftToRight(target, r, steps); break;
    case 2: FourCorner(target, r, steps); break;
    default: TopToBottom(target, r, steps); break;
  }
}
