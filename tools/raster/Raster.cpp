// See Raster.h.
#include "tools/raster/Raster.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace raster {

Rgba FromHex(uint32_t rgb, double alpha) {
  return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha};
}

Rgba Mix(const Rgba& a, const Rgba& b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Rgba WithAlpha(Rgba c, double a) {
  c.a = a;
  return c;
}

double RoundRectDistance(double x, double y, double l, double t, double r, double b, double radius) {
  double cx = (l + r) / 2, cy = (t + b) / 2;
  double hx = (r - l) / 2 - radius, hy = (b - t) / 2 - radius;
  double qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
  double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
  return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

Paint Halo(Rgba color, double peak, double sigma, double l, double t, double r, double b, double radius, bool inside) {
  return [=](double x, double y) {
    double d = RoundRectDistance(x, y, l, t, r, b, radius);
    double a = d <= 0 ? (inside ? peak : 0.0) : peak * std::exp(-(d * d) / (2 * sigma * sigma));
    return WithAlpha(color, a);
  };
}

Paint Solid(Rgba c) {
  return [c](double, double) { return c; };
}

Paint Linear(Vec p0, Rgba c0, Vec p1, Rgba c1) {
  double dx = p1.x - p0.x, dy = p1.y - p0.y;
  double len2 = dx * dx + dy * dy;
  return [=](double x, double y) {
    double t = len2 > 0 ? ((x - p0.x) * dx + (y - p0.y) * dy) / len2 : 0;
    return Mix(c0, c1, std::clamp(t, 0.0, 1.0));
  };
}

Polygon RoundedRect(double l, double t, double r, double b, double radius) {
  Polygon p;
  radius = std::min({radius, (r - l) / 2, (b - t) / 2});
  const int steps = 12;
  auto arc = [&](double cx, double cy, double a0) {
    for (int i = 0; i <= steps; ++i) {
      double a = a0 + (M_PI / 2) * i / steps;
      p.push_back({cx + radius * std::cos(a), cy + radius * std::sin(a)});
    }
  };
  arc(r - radius, t + radius, -M_PI / 2);
  arc(r - radius, b - radius, 0);
  arc(l + radius, b - radius, M_PI / 2);
  arc(l + radius, t + radius, M_PI);
  return p;
}

Polygon Ellipse(double cx, double cy, double rx, double ry) {
  Polygon p;
  const int steps = 64;
  for (int i = 0; i < steps; ++i) {
    double a = 2 * M_PI * i / steps;
    p.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
  }
  return p;
}

Polygon Translate(const Polygon& p, double dx, double dy) {
  Polygon out = p;
  for (auto& v : out) {
    v.x += dx;
    v.y += dy;
  }
  return out;
}

Canvas::Canvas(int width, int height, Rgba background)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, background) {}

namespace {

bool InsidePolygon(const Polygon& p, double x, double y) {
  bool in = false;
  size_t n = p.size();
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    const Vec& a = p[i];
    const Vec& b = p[j];
    if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
  }
  return in;
}

bool Inside(const std::vector<Polygon>& shape, double x, double y) {
  bool in = false;
  for (const Polygon& p : shape) in ^= InsidePolygon(p, x, y);
  return in;
}

bool InsideAny(const std::vector<Polygon>& pieces, double x, double y) {
  for (const Polygon& p : pieces)
    if (InsidePolygon(p, x, y)) return true;
  return false;
}

void Over(Rgba& dst, const Rgba& src, double coverage) {
  double a = src.a * coverage;
  double out = a + dst.a * (1 - a);
  if (out <= 0) {
    dst = {0, 0, 0, 0};
    return;
  }
  dst.r = (src.r * a + dst.r * dst.a * (1 - a)) / out;
  dst.g = (src.g * a + dst.g * dst.a * (1 - a)) / out;
  dst.b = (src.b * a + dst.b * dst.a * (1 - a)) / out;
  dst.a = out;
}

}  // namespace

std::vector<Polygon> Stroke(const std::vector<Vec>& points, double width) {
  std::vector<Polygon> pieces;
  double r = width / 2;
  for (size_t i = 0; i < points.size(); ++i) {
    pieces.push_back(Ellipse(points[i].x, points[i].y, r, r));
    if (i == 0) continue;
    Vec a = points[i - 1], b = points[i];
    double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
    if (len <= 0) continue;
    double nx = -dy / len * r, ny = dx / len * r;
    pieces.push_back({{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}});
  }
  return pieces;
}

void Canvas::FillUnion(const std::vector<Polygon>& pieces, const Paint& paint, double opacity) {
  FillWith(pieces, paint, opacity, true);
}

void Canvas::Fill(const std::vector<Polygon>& shape, const Paint& paint, double opacity) {
  FillWith(shape, paint, opacity, false);
}

void Canvas::FillWith(const std::vector<Polygon>& shape, const Paint& paint, double opacity, bool unionOfPieces) {
  double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
  for (const auto& p : shape)
    for (const auto& v : p) {
      minX = std::min(minX, v.x);
      minY = std::min(minY, v.y);
      maxX = std::max(maxX, v.x);
      maxY = std::max(maxY, v.y);
    }
  int x0 = std::max(0, static_cast<int>(std::floor(minX))), x1 = std::min(width_, static_cast<int>(std::ceil(maxX)) + 1);
  int y0 = std::max(0, static_cast<int>(std::floor(minY))), y1 = std::min(height_, static_cast<int>(std::ceil(maxY)) + 1);
  const int n = 4;  // 4 x 4 samples per pixel
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      int hits = 0;
      for (int sy = 0; sy < n; ++sy)
        for (int sx = 0; sx < n; ++sx)
          if (unionOfPieces ? InsideAny(shape, x + (sx + 0.5) / n, y + (sy + 0.5) / n)
                            : Inside(shape, x + (sx + 0.5) / n, y + (sy + 0.5) / n))
            ++hits;
      if (hits) Over(At(x, y), paint(x + 0.5, y + 0.5), opacity * hits / double(n * n));
    }
}

void Canvas::FillRect(int left, int top, int right, int bottom, Rgba c) {
  for (int y = std::max(0, top); y < std::min(height_, bottom); ++y)
    for (int x = std::max(0, left); x < std::min(width_, right); ++x) At(x, y) = c;
}

void Canvas::Draw(const Canvas& other, int dx, int dy) {
  for (int y = 0; y < other.height_; ++y)
    for (int x = 0; x < other.width_; ++x) {
      int tx = x + dx, ty = y + dy;
      if (tx < 0 || ty < 0 || tx >= width_ || ty >= height_) continue;
      Over(At(tx, ty), other.At(x, y), 1.0);
    }
}

std::vector<uint8_t> Canvas::Bgr(bool withAlpha, bool keyTransparent) const {
  std::vector<uint8_t> out;
  auto byte = [](double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); };
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      const Rgba& c = At(x, y);
      if (!withAlpha && keyTransparent && c.a < 0.5) {
        out.insert(out.end(), {255, 0, 255});
        continue;
      }
      if (withAlpha) {
        out.insert(out.end(), {byte(c.b), byte(c.g), byte(c.r), byte(c.a)});
      } else {
        // Opaque output: the colour over white where it is not fully opaque.
        Rgba w{1, 1, 1, 1};
        Over(w, c, 1.0);
        if (keyTransparent) w = {c.r, c.g, c.b, 1};
        out.insert(out.end(), {byte(w.b), byte(w.g), byte(w.r)});
      }
    }
  return out;
}

namespace {

void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}
void PutBe32(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x >> 24));
  v.push_back(static_cast<uint8_t>(x >> 16));
  v.push_back(static_cast<uint8_t>(x >> 8));
  v.push_back(static_cast<uint8_t>(x));
}

void Save(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary);
  if (!f) throw std::runtime_error("cannot write " + path);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The DIB part (header and bottom-up rows) of a bitmap; `heightFactor` 2 for icon entries.
std::vector<uint8_t> Dib(const Canvas& c, int bits, bool keyTransparent, int heightFactor) {
  std::vector<uint8_t> pixels = c.Bgr(bits == 32, keyTransparent);
  int bpp = bits / 8;
  int stride = (c.Width() * bpp + 3) & ~3;
  std::vector<uint8_t> dib;
  Put32(dib, 40);
  Put32(dib, static_cast<uint32_t>(c.Width()));
  Put32(dib, static_cast<uint32_t>(c.Height() * heightFactor));
  Put16(dib, 1);
  Put16(dib, static_cast<uint32_t>(bits));
  Put32(dib, 0);
  Put32(dib, static_cast<uint32_t>(stride * c.Height()));
  Put32(dib, 2835);
  Put32(dib, 2835);
  Put32(dib, 0);
  Put32(dib, 0);
  for (int y = c.Height() - 1; y >= 0; --y) {
    const uint8_t* row = pixels.data() + static_cast<size_t>(y) * c.Width() * bpp;
    dib.insert(dib.end(), row, row + c.Width() * bpp);
    dib.insert(dib.end(), static_cast<size_t>(stride - c.Width() * bpp), 0);
  }
  return dib;
}

std::vector<uint8_t> BmpFile(const Canvas& c, int bits, bool keyTransparent) {
  std::vector<uint8_t> dib = Dib(c, bits, keyTransparent, 1);
  std::vector<uint8_t> file{'B', 'M'};
  Put32(file, static_cast<uint32_t>(14 + dib.size()));
  Put32(file, 0);
  Put32(file, 14 + 40);
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

void Chunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
  PutBe32(png, static_cast<uint32_t>(data.size()));
  size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  uLong crc = crc32(0, png.data() + start, static_cast<uInt>(png.size() - start));
  PutBe32(png, static_cast<uint32_t>(crc));
}

}  // namespace

void WriteBmp24(const std::string& path, const Canvas& canvas, bool keyTransparent) {
  Save(path, BmpFile(canvas, 24, keyTransparent));
}

void WriteBmp32(const std::string& path, const Canvas& canvas) { Save(path, BmpFile(canvas, 32, false)); }

std::vector<uint8_t> EncodePng(const Canvas& c) {
  std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutBe32(header, static_cast<uint32_t>(c.Width()));
  PutBe32(header, static_cast<uint32_t>(c.Height()));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA
  Chunk(png, "IHDR", header);
  std::vector<uint8_t> bgra = c.Bgr(true, false);
  std::vector<uint8_t> raw;
  for (int y = 0; y < c.Height(); ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < c.Width(); ++x) {
      const uint8_t* p = bgra.data() + (static_cast<size_t>(y) * c.Width() + x) * 4;
      raw.insert(raw.end(), {p[2], p[1], p[0], p[3]});
    }
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(size);
  if (compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK)
    throw std::runtime_error("png compression failed");
  packed.resize(size);
  Chunk(png, "IDAT", packed);
  Chunk(png, "IEND", {});
  return png;
}

void WritePng(const std::string& path, const Canvas& canvas) { Save(path, EncodePng(canvas)); }

void WriteIco(const std::string& path, const std::vector<Canvas>& sizes) {
  std::vector<std::vector<uint8_t>> images;
  for (const Canvas& c : sizes) {
    if (c.Width() >= 256) {
      images.push_back(EncodePng(c));
      continue;
    }
    std::vector<uint8_t> dib = Dib(c, 32, false, 2);
    int maskStride = ((c.Width() + 31) / 32) * 4;
    for (int y = c.Height() - 1; y >= 0; --y)
      for (int b = 0; b < maskStride; ++b) {
        uint8_t bits = 0;
        for (int k = 0; k < 8; ++k) {
          int x = b * 8 + k;
          if (x < c.Width() && c.At(x, y).a < 0.5) bits |= static_cast<uint8_t>(0x80 >> k);
        }
        dib.push_back(bits);
      }
    images.push_back(dib);
  }
  std::vector<uint8_t> file;
  Put16(file, 0);
  Put16(file, 1);
  Put16(file, static_cast<uint32_t>(sizes.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(sizes.size());
  for (size_t i = 0; i < sizes.size(); ++i) {
    file.push_back(static_cast<uint8_t>(sizes[i].Width() >= 256 ? 0 : sizes[i].Width()));
    file.push_back(static_cast<uint8_t>(sizes[i].Height() >= 256 ? 0 : sizes[i].Height()));
    file.push_back(0);
    file.push_back(0);
    Put16(file, 1);
    Put16(file, 32);
    Put32(file, static_cast<uint32_t>(images[i].size()));
    Put32(file, offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());
  Save(path, file);
}

}  // namespace raster
