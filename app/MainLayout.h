// The main window's layout rule as plain arithmetic: the left panel takes half of the client
// width less two pixels (truncated); both lists take their size from the left panel.
#pragma once

struct MainLayout {
  int panelOnWidth = 0;
  int listWidth = 0;
  int listHeight = 0;
};

// `clientWidth` of the window, `panelHeight` of the left panel (the client height less the
// bottom panel).
MainLayout ComputeMainLayout(int clientWidth, int panelHeight);
