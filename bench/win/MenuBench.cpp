// Times the skinned system menu of the main window without showing it: measuring its entries,
// and painting all of them into a menu-sized picture, once with the menu's background made
// anew (the first paint of a menu) and once with it kept (a highlight moving over the entries).
// Usage: MenuBench [DATA_FOLDER]   (the folder is not used)
#include <windows.h>

#include <cstdio>

#include "app/Form1.h"
#include "bench/win/BenchMainWindow.h"
#include "bench/win/BenchSupport.h"
#include "frame/sSkinableMenus.h"
#include "frame/sSystemMenu.h"
#include "framework/Application.h"
#include "framework/Handles.h"

namespace {

using bench::Median;
using bench::Pump;

}  // namespace

int wmain() {
  bench::ShownMainWindow main;
  ComponentPtr<TForm1>& form = main.form;
  TsSystemMenu& menu = *form->sSkinProvider1->SystemMenu();
  TsSkinableMenus& menus = TsSkinableMenus::Instance();
  menu.UpdateItems(false);
  menus.SkinPopupMenu(menu, true);
  TMenuItem& root = *menu.Items();

  WindowDc screen(nullptr);
  std::vector<RECT> rows;
  int width = 0, height = 0;
  double measure = Median(50, [&] {
    rows.clear();
    width = height = 0;
    for (int i = 0; i < root.Count(); ++i) {
      TMenuItem& item = *root.Items(i);
      if (!item.Visible()) continue;
      int w = 0, h = 0;
      menus.MeasureMenuItem(item, screen.get(), w, h);
      rows.push_back(RECT{0, height, 0, height + h});
      width = std::max(width, w);
      height += h;
    }
  });
  for (RECT& row : rows) row.right = width;

  UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  UniqueBitmap target(CreateCompatibleBitmap(screen.get(), width, height));
  SelectedObject selected(memory.get(), target.get());
  UniqueMenu key(CreatePopupMenu());
  auto paintAll = [&](int selectedRow) {
    int row = 0;
    for (int i = 0; i < root.Count(); ++i) {
      TMenuItem& item = *root.Items(i);
      if (!item.Visible()) continue;
      UINT state = (row == selectedRow ? ODS_SELECTED : 0) | (item.Enabled() ? 0 : ODS_GRAYED);
      menus.DrawMenuItem(item, memory.get(), rows[static_cast<size_t>(row)], state, key.get());
      ++row;
    }
  };
  double fresh = Median(50, [&] {
    menus.MenusClosed();
    paintAll(-1);
  });
  int step = 0;
  double kept = Median(50, [&] { paintAll(step++ % static_cast<int>(rows.size())); });
  menus.MenusClosed();
  Pump();
  std::printf("system menu, %zu entries, %d x %d: measure all %6.3f ms, paint all with a new background %6.3f ms, "
              "paint all over the kept background %6.3f ms\n",
              rows.size(), width, height, measure, fresh, kept);
  return 0;
}
