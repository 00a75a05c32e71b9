// The main window's layout rule.
#include <gtest/gtest.h>

#include "app/MainLayout.h"

TEST(MainLayout, LeftPanelTakesHalfTheClientWidthLessTwo) {
  struct Case {
    int clientWidth, panelHeight, panelOn, list, listHeight;
  } cases[] = {{599, 467, 298, 274, 403}, {600, 467, 299, 275, 403}, {601, 500, 299, 275, 436}, {1920, 1000, 959, 935, 936}};
  for (const auto& c : cases) {
    MainLayout layout = ComputeMainLayout(c.clientWidth, c.panelHeight);
    EXPECT_EQ(layout.panelOnWidth, c.panelOn) << c.clientWidth;
    EXPECT_EQ(layout.listWidth, c.list) << c.clientWidth;
    EXPECT_EQ(layout.listHeight, c.listHeight) << c.clientWidth;
  }
}
