// See MainLayout.h.
#include "app/MainLayout.h"

MainLayout ComputeMainLayout(int clientWidth, int panelHeight) {
  MainLayout layout;
  layout.panelOnWidth = (clientWidth - 2) / 2;
  layout.listWidth = layout.panelOnWidth - 24;
  layout.listHeight = panelHeight - 64;
  return layout;
}
