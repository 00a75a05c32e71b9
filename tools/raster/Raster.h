// A small anti-aliased rasteriser for the picture generators in tools/: a canvas of straight
// RGBA pixels, filled polygons (rounded rectangles, ellipses, arbitrary outlines) composited
// with supersampling, linear gradients, and writers for BMP (24-bit, 32-bit), PNG (RGBA) and
// ICO files. Runs natively at development time, never in the program.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace raster {

struct Rgba {
  double r = 0, g = 0, b = 0, a = 1;  // 0..1, straight alpha
};
Rgba FromHex(uint32_t rgb, double alpha = 1.0);  // 0xRRGGBB
Rgba Mix(const Rgba& a, const Rgba& b, double t);
Rgba WithAlpha(Rgba c, double a);

struct Vec {
  double x = 0, y = 0;
};
using Polygon = std::vector<Vec>;

// Paint as a function of the pixel centre.
using Paint = std::function<Rgba(double x, double y)>;
Paint Solid(Rgba c);
// Linear gradient from c0 at p0 to c1 at p1 (clamped beyond).
Paint Linear(Vec p0, Rgba c0, Vec p1, Rgba c1);

Polygon RoundedRect(double left, double top, double right, double bottom, double radius);
// Distance from a point to a rounded rectangle (negative inside).
double RoundRectDistance(double x, double y, double l, double t, double r, double b, double radius);
// A soft halo around a rounded rectangle: alpha falls off like a bell curve outside it (and is
// `peak` inside with `inside`, else 0).
Paint Halo(Rgba color, double peak, double sigma, double l, double t, double r, double b, double radius, bool inside);
Polygon Ellipse(double cx, double cy, double rx, double ry);
// An outline of a polygon ring: the area between `outer` and `inner` (even-odd filling).
Polygon Translate(const Polygon& p, double dx, double dy);
// The pieces of a stroke along the points, `width` wide with round joins and ends; fill them
// with Canvas::FillUnion.
std::vector<Polygon> Stroke(const std::vector<Vec>& points, double width);

class Canvas {
 public:
  Canvas(int width, int height, Rgba background = {0, 0, 0, 0});
  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgba& At(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  const Rgba& At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

  // Fills the polygons (even-odd rule across all of them) with the paint, anti-aliased.
  void Fill(const std::vector<Polygon>& shape, const Paint& paint, double opacity = 1.0);
  void Fill(const Polygon& shape, const Paint& paint, double opacity = 1.0) { Fill(std::vector<Polygon>{shape}, paint, opacity); }
  // Fills the area covered by any of the pieces (each piece even-odd on its own), anti-aliased.
  void FillUnion(const std::vector<Polygon>& pieces, const Paint& paint, double opacity = 1.0);
  // Fills an axis-aligned rectangle of whole pixels without anti-aliasing.
  void FillRect(int left, int top, int right, int bottom, Rgba c);
  // Composites `other` at (x, y).
  void Draw(const Canvas& other, int x, int y);

  // Pixels as bytes: blue, green, red (alpha) rows top-down; alpha below `keyBelow` becomes the
  // key colour in 24-bit output (magenta, for keyed pictures).
  std::vector<uint8_t> Bgr(bool withAlpha, bool keyTransparent) const;

 private:
  void FillWith(const std::vector<Polygon>& shape, const Paint& paint, double opacity, bool unionOfPieces);
  int width_, height_;
  std::vector<Rgba> pixels_;
};

void WriteBmp24(const std::string& path, const Canvas& canvas, bool keyTransparent);
void WriteBmp32(const std::string& path, const Canvas& canvas);
void WritePng(const std::string& path, const Canvas& canvas);
std::vector<uint8_t> EncodePng(const Canvas& canvas);
// Icon file with one entry per canvas; entries of 256 pixels are stored as PNG.
void WriteIco(const std::string& path, const std::vector<Canvas>& sizes);

}  // namespace raster
