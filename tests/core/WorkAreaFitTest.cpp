// A restored window's title band stays on a work area.
#include <gtest/gtest.h>

#include "settings/WorkAreaFit.h"

using work_area_fit::FitTitleBand;
using work_area_fit::Rect;

namespace work_area_fit {

// Failures print the rectangles.
void PrintTo(const Rect& r, std::ostream* out) { *out << r.left << "," << r.top << "," << r.right << "," << r.bottom; }

}  // namespace work_area_fit

TEST(WorkAreaFit, OneWorkArea) {
  const std::vector<Rect> screen{{0, 0, 1280, 994}};  // a task bar of 30 rows below
  struct Case {
    const char* what;
    Rect window, expected;
  } cases[] = {
      {"inside", {386, 254, 1001, 803}, {386, 254, 1001, 803}},
      {"lower part below the work area", {386, 700, 1001, 1249}, {386, 700, 1001, 1249}},
      {"overlapping the right edge", {1000, 254, 1615, 803}, {665, 254, 1280, 803}},
      {"overlapping the left edge", {-300, 254, 315, 803}, {0, 254, 615, 803}},
      {"title above the top", {386, -100, 1001, 449}, {386, 0, 1001, 549}},
      {"title below the bottom", {386, 980, 1001, 1529}, {386, 969, 1001, 1518}},
      {"beyond the right", {5000, 254, 5615, 803}, {665, 254, 1280, 803}},
      {"beyond the left and the top", {-5000, -5000, -4385, -4451}, {0, 0, 615, 549}},
      {"beyond the bottom", {386, 3000, 1001, 3549}, {386, 969, 1001, 1518}},
      {"wider than the work area", {-100, 100, 1500, 600}, {0, 100, 1280, 600}},
      {"larger than the work area", {-50, -50, 3000, 2000}, {0, 0, 1280, 994}},
      {"larger and far away", {4000, 4000, 7000, 6000}, {0, 0, 1280, 994}},
  };
  for (const auto& c : cases) EXPECT_EQ(FitTitleBand(c.window, screen, 25), c.expected) << c.what;
}

TEST(WorkAreaFit, SeveralMonitorsAndDegenerateInput) {
  // A second monitor to the right, higher up, with its own task bar on the left.
  const std::vector<Rect> areas{{0, 0, 1280, 994}, {1340, -200, 3200, 880}};
  struct Case {
    const char* what;
    Rect window, expected;
  } cases[] = {
      {"on the second monitor", {2000, -100, 2615, 449}, {2000, -100, 2615, 449}},
      {"mostly on the second, title in the gap", {1300, 100, 1915, 649}, {1340, 100, 1955, 649}},
      {"above the second monitor", {2000, -900, 2615, -351}, {2000, -200, 2615, 349}},
      {"in no monitor, nearest the first", {100, 1500, 715, 2049}, {100, 969, 715, 1518}},
  };
  for (const auto& c : cases) EXPECT_EQ(FitTitleBand(c.window, areas, 25), c.expected) << c.what;
  Rect odd{500, 500, 400, 400};
  EXPECT_EQ(FitTitleBand(odd, areas, 25), odd);
  Rect anywhere{-9000, -9000, -8000, -8000};
  EXPECT_EQ(FitTitleBand(anywhere, {}, 25), anywhere);
}
