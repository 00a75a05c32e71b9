// The window commands a skinned form offers by its style and state.
#include <gtest/gtest.h>

#include "frame/WindowCommands.h"

using namespace frame_commands;

TEST(WindowCommands, ButtonsAndMenuEntriesByState) {
  WindowCommandInput normal;  // sizeable, all border icons
  WindowCommandInput maximized = normal;
  maximized.maximized = true;
  WindowCommandInput minimized = normal;
  minimized.minimized = true;
  WindowCommandInput noSystemMenu = normal;
  noSystemMenu.systemMenu = false;
  WindowCommandInput singleNoMaximize = normal;
  singleNoMaximize.sizeable = false;
  singleNoMaximize.maximizeIcon = false;
  struct Case {
    const char* name;
    const WindowCommandInput& input;
    bool closeVisible, maximizeVisible, minimizeVisible, maximizeActs, minimizeActs;
    bool restore, move, size, minimize, maximize, close;
  } cases[] = {
      {"normal", normal, true, true, true, true, true, false, true, true, true, true, true},
      {"maximised", maximized, true, true, true, true, true, true, false, false, true, false, true},
      {"minimised", minimized, true, true, true, true, true, true, false, false, false, true, true},
      {"no system menu", noSystemMenu, false, false, false, true, true, false, true, true, false, false, false},
      {"single border without maximise", singleNoMaximize, true, false, true, false, true, false, true, false, true,
       false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WindowCommands w = ComputeWindowCommands(c.input);
    EXPECT_EQ(w.closeVisible, c.closeVisible);
    EXPECT_EQ(w.maximizeVisible, c.maximizeVisible);
    EXPECT_EQ(w.minimizeVisible, c.minimizeVisible);
    EXPECT_EQ(w.MaximizeButtonActs(), c.maximizeActs);
    EXPECT_EQ(w.MinimizeButtonActs(), c.minimizeActs);
    EXPECT_EQ(w.menuRestore, c.restore);
    EXPECT_EQ(w.menuMove, c.move);
    EXPECT_EQ(w.menuSize, c.size);
    EXPECT_EQ(w.menuMinimize, c.minimize);
    EXPECT_EQ(w.menuMaximize, c.maximize);
    EXPECT_EQ(w.menuClose, c.close);
  }
}
