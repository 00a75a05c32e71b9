// Which window commands a skinned form offers in its present state: the title buttons that
// show and act, and the entries of its system menu that are enabled. Plain C++; the provider
// reads the form's style and state into WindowCommandInput.
#pragma once

namespace frame_commands {

struct WindowCommandInput {
  bool systemMenu = true;    // the form has a system menu (no system menu: no title buttons)
  bool minimizeIcon = true;  // the border icons include minimise
  bool maximizeIcon = true;  // ... and maximise
  bool captionButtons = true;  // single or sizeable border style (the styles with those buttons)
  bool sizeable = true;      // the border can be dragged
  bool minimized = false;
  bool maximized = false;
};

struct WindowCommands {
  bool closeVisible = false;
  bool maximizeVisible = false;  // maximise, or restore when maximised
  bool minimizeVisible = false;
  bool maximizeEnabled = false;
  bool minimizeEnabled = false;
  bool restoreEnabled = false;
  // System menu entries.
  bool menuRestore = false;
  bool menuMove = false;
  bool menuSize = false;
  bool menuMinimize = false;
  bool menuMaximize = false;
  bool menuClose = false;
  bool minimized = false;
  // The maximise button acts (as maximise, or as restore of a maximised window); a button that
  // does not act is part of the caption.
  bool MaximizeButtonActs() const { return maximizeEnabled || (restoreEnabled && !minimized); }
  // The minimise button acts (as restore of a minimised window, too).
  bool MinimizeButtonActs() const { return minimized || minimizeEnabled; }
};

WindowCommands ComputeWindowCommands(const WindowCommandInput& input);

}  // namespace frame_commands
