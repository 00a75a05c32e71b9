// See WindowCommands.h.
#include "frame/WindowCommands.h"

namespace frame_commands {

WindowCommands ComputeWindowCommands(const WindowCommandInput& in) {
  WindowCommands c;
  c.closeVisible = in.systemMenu;
  c.maximizeVisible = c.closeVisible && (in.minimized || (in.captionButtons && in.maximizeIcon));
  c.minimizeVisible = c.closeVisible && (in.minimized || (in.captionButtons && in.minimizeIcon));
  c.maximizeEnabled = !in.maximized && in.captionButtons && in.maximizeIcon;
  c.minimizeEnabled = in.minimizeIcon && !in.minimized;
  c.restoreEnabled = in.minimized || (in.maximizeIcon && in.maximized);
  c.minimized = in.minimized;

  const bool normal = !in.minimized && !in.maximized;
  c.menuRestore = c.closeVisible && in.captionButtons && c.restoreEnabled;
  c.menuMove = !in.maximized && !in.minimized;
  c.menuSize = in.sizeable && normal;
  c.menuMinimize = c.minimizeVisible && c.minimizeEnabled;
  c.menuMaximize = c.maximizeVisible && c.maximizeEnabled;
  c.menuClose = c.closeVisible;
  return c;
}

}  // namespace frame_commands
