// Points and rectangles (right and bottom exclusive) for the platform-free code, and the child
// alignment rule of windowed controls (top, bottom, left, right, client).
#pragma once

#include <algorithm>
#include <vector>

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  Rect Inflate(int dx, int dy) const { return {left - dx, top - dy, right + dx, bottom + dy}; }
  Rect Intersect(const Rect& o) const {
    return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
  }
  static Rect FromSize(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }
  bool operator==(const Rect&) const = default;
};

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

struct AlignedChild {
  TAlign align = TAlign::alNone;
  Rect bounds;  // in: the current bounds; out: the aligned bounds
};

// Places the aligned children inside `client`: top-aligned children stack downward from the top
// (in the order of their current tops), bottom-aligned upward from the bottom, then left and
// right ones in what remains, and client-aligned ones fill the rest. Children with alNone keep
// their bounds. Equal positions keep the list order.
void ArrangeAligned(Rect client, std::vector<AlignedChild>& children);
