// See SmoothStretch.h.
#include "paint/SmoothStretch.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "pixel/ColorMath.h"
#include "paint/PieceCopy.h"
#include "pixel/PixelAccess.h"

namespace {

// How target positions 0..targetLength-1 cover source positions 0..sourceLength-1: target
// position t spans [t * s, (t + 1) * s) in units of 1 / targetLength of a source pixel, so the
// weights of one target position add up to sourceLength.
struct Coverage {
  std::vector<int> first;    // first source position of each target position
  std::vector<int> offset;   // where its weights start in `weights`
  std::vector<int> weights;  // one per covered source position
};

Coverage Cover(int sourceLength, int targetLength, int targetFrom, int targetTo) {
  Coverage c;
  for (int t = targetFrom; t < targetTo; ++t) {
    int64_t start = int64_t{t} * sourceLength;
    int64_t end = start + sourceLength;
    int first = static_cast<int>(start / targetLength);
    c.first.push_back(first);
    c.offset.push_back(static_cast<int>(c.weights.size()));
    for (int s = first; int64_t{s} * targetLength < end; ++s) {
      int64_t from = std::max<int64_t>(start, int64_t{s} * targetLength);
      int64_t to = std::min<int64_t>(end, int64_t{s + 1} * targetLength);
      c.weights.push_back(static_cast<int>(to - from));
    }
  }
  c.offset.push_back(static_cast<int>(c.weights.size()));
  return c;
}

}  // namespace

void StretchSmooth(Bitmap& target, const Rect& targetRect, const Bitmap& sourceBitmap, const Rect& sourceRect) {
  if (target.Format() == PixelFormat::pf8bit || sourceBitmap.Format() == PixelFormat::pf8bit) return;
  Rect src = sourceRect.Intersect(sourceBitmap.Bounds());
  if (src.Empty() || targetRect.Empty()) return;
  int sw = src.Width(), sh = src.Height();
  int tw = targetRect.Width(), th = targetRect.Height();
  if (sw == tw && sh == th) {
    CopyPiece(target, targetRect.left, targetRect.top, sourceBitmap, src);
    return;
  }
  Rect visible = targetRect.Intersect(target.Bounds());
  if (visible.Empty()) return;
  int vx = visible.left - targetRect.left, vy = visible.top - targetRect.top;
  Coverage columns = Cover(sw, tw, vx, vx + visible.Width());
  Coverage rows = Cover(sh, th, vy, vy + visible.Height());

  // Horizontal pass over the source rows the visible part needs: sums scaled by sw.
  int firstRow = rows.first.front();
  int lastRow = rows.first.back() + (rows.offset.back() - rows.offset[rows.offset.size() - 2]);
  int rowCount = std::min(lastRow, sh) - firstRow;
  int vw = visible.Width();
  // Reused between calls: a fresh buffer of this size costs more than the stretching.
  thread_local std::vector<uint32_t> across;
  across.resize(static_cast<size_t>(rowCount) * static_cast<size_t>(vw) * 4);
  PixelFormat sf = sourceBitmap.Format();
  int step = sourceBitmap.BytesPerPixel();
  for (int r = 0; r < rowCount; ++r) {
    const uint8_t* row = sourceBitmap.PixelAt(src.left, src.top + firstRow + r);
    uint32_t* out = &across[static_cast<size_t>(r) * static_cast<size_t>(vw) * 4];
    for (int x = 0; x < vw; ++x) {
      uint32_t sum[4] = {0, 0, 0, 0};
      int first = columns.first[static_cast<size_t>(x)];
      for (int k = columns.offset[static_cast<size_t>(x)]; k < columns.offset[static_cast<size_t>(x) + 1]; ++k) {
        Bgra p = ReadPixel(row + static_cast<ptrdiff_t>(first + k - columns.offset[static_cast<size_t>(x)]) * step, sf);
        uint32_t w = static_cast<uint32_t>(columns.weights[static_cast<size_t>(k)]);
        sum[0] += p.b * w;
        sum[1] += p.g * w;
        sum[2] += p.r * w;
        sum[3] += p.a * w;
      }
      for (int c = 0; c < 4; ++c) out[x * 4 + c] = sum[c];
    }
  }

  // Vertical pass: sums scaled by sw * sh, then rounded.
  PixelFormat tf = target.Format();
  int targetStep = target.BytesPerPixel();
  RoundedDivider average(int64_t{sw} * sh);
  auto sameCoverage = [&rows](size_t a, size_t b) {
    return rows.first[a] == rows.first[b] && rows.offset[a + 1] - rows.offset[a] == rows.offset[b + 1] - rows.offset[b] &&
           std::equal(rows.weights.begin() + rows.offset[a], rows.weights.begin() + rows.offset[a + 1],
                      rows.weights.begin() + rows.offset[b]);
  };
  size_t rowBytes = static_cast<size_t>(vw) * static_cast<size_t>(targetStep);
  for (int y = 0; y < visible.Height(); ++y) {
    uint8_t* out = target.PixelAt(visible.left, visible.top + y);
    // Enlarged pictures repeat rows: a row covering the same source rows as the one above is
    // that row again.
    if (y > 0 && sameCoverage(static_cast<size_t>(y), static_cast<size_t>(y - 1))) {
      std::memcpy(out, target.PixelAt(visible.left, visible.top + y - 1), rowBytes);
      continue;
    }
    int first = rows.first[static_cast<size_t>(y)] - firstRow;
    int from = rows.offset[static_cast<size_t>(y)], to = rows.offset[static_cast<size_t>(y) + 1];
    for (int x = 0; x < vw; ++x) {
      uint64_t sum[4] = {0, 0, 0, 0};
      for (int k = from; k < to; ++k) {
        const uint32_t* in = &across[(static_cast<size_t>(first + k - from) * static_cast<size_t>(vw) + static_cast<size_t>(x)) * 4];
        uint64_t w = static_cast<uint64_t>(rows.weights[static_cast<size_t>(k)]);
        for (int c = 0; c < 4; ++c) sum[c] += in[c] * w;
      }
      Bgra p;
      p.b = ClampByte(static_cast<int>(average(static_cast<int64_t>(sum[0]))));
      p.g = ClampByte(static_cast<int>(average(static_cast<int64_t>(sum[1]))));
      p.r = ClampByte(static_cast<int>(average(static_cast<int64_t>(sum[2]))));
      p.a = ClampByte(static_cast<int>(average(static_cast<int64_t>(sum[3]))));
      WritePixel(out + x * targetStep, tf, p);
    }
  }
}
