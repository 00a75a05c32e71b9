// Snapping a moved window to the work area's edges.
#include <gtest/gtest.h>

#include "frame/ScreenSnap.h"

using frame_snap::SnapToWorkArea;

TEST(ScreenSnap, EdgesWithinTheDistanceLieOnTheWorkArea) {
  // A work area away from the screen origin (a task bar on the left and top).
  const Rect work{100, 50, 1380, 1050};
  const int w = 615, h = 549;
  struct Case {
    const char* name;
    Point proposed;
    int distance;
    Point expected;
  } cases[] = {
      {"left, 9 inside", {109, 300}, 10, {100, 300}},
      {"left, 10 inside", {110, 300}, 10, {110, 300}},
      {"left, 9 outside", {91, 300}, 10, {100, 300}},
      {"left, 10 outside", {90, 300}, 10, {90, 300}},
      {"top, 9 inside", {400, 59}, 10, {400, 50}},
      {"top, 9 outside", {400, 41}, 10, {400, 50}},
      {"top, 10 inside", {400, 60}, 10, {400, 60}},
      {"right, 9 inside", {1380 - w - 9, 300}, 10, {1380 - w, 300}},
      {"right, 5 outside", {1380 - w + 5, 300}, 10, {1380 - w, 300}},
      {"right, 10 inside", {1380 - w - 10, 300}, 10, {1380 - w - 10, 300}},
      {"bottom, 9 inside", {400, 1050 - h - 9}, 10, {400, 1050 - h}},
      {"bottom, 9 outside", {400, 1050 - h + 9}, 10, {400, 1050 - h}},
      {"bottom, 10 outside", {400, 1050 - h + 10}, 10, {400, 1050 - h + 10}},
      {"top left corner", {103, 56}, 10, {100, 50}},
      {"bottom right corner", {1380 - w + 2, 1050 - h - 7}, 10, {1380 - w, 1050 - h}},
      {"top right corner", {1380 - w - 1, 49}, 10, {1380 - w, 50}},
      {"exactly on the edges stays", {100, 50}, 10, {100, 50}},
      {"far from every edge", {400, 300}, 10, {400, 300}},
      {"a wider distance", {124, 300}, 25, {100, 300}},
      {"distance 0 never snaps", {100, 50}, 0, {100, 50}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Rect window = Rect::FromSize(c.proposed.x, c.proposed.y, w, h);
    EXPECT_EQ(SnapToWorkArea(window, work, c.distance), c.expected);
  }
}

TEST(ScreenSnap, AWindowLargerThanTheWorkAreaKeepsItsLeftAndTopEdgesOnIt) {
  const Rect work{0, 0, 1280, 994};
  struct Case {
    const char* name;
    Rect window;
    Point expected;
  } cases[] = {
      // Both side edges are near: the left one wins.
      {"wider by a few pixels", Rect::FromSize(4, 300, 1285, 549), {0, 300}},
      {"higher by a few pixels", Rect::FromSize(300, -3, 615, 1000), {300, 0}},
      // Only the right edge is near: it snaps although the left edge leaves the work area.
      {"wider, right edge near", Rect::FromSize(-30, 300, 1305, 549), {-25, 300}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SnapToWorkArea(c.window, work, 10), c.expected);
  }
}
