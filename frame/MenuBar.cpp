// See MenuBar.h.
#include "frame/MenuBar.h"

#include "frame/MenuMetrics.h"
#include "frame/sSkinableMenus.h"
#include "framework/Form.h"
#include "framework/Handles.h"
#include "framework/Menus.h"
#include "paint/BackgroundRef.h"
#include "paint/SkinPainters.h"
#include "skin/sSkinManager.h"

TMainMenu* TsMenuBar::Menu() const { return form_.Menu(); }

int TsMenuBar::LineHeight() const {
  TMainMenu* menu = Menu();
  if (!menu || !menu->Items()->FirstVisible()) return 0;
  if (form_.BorderStyle() == TFormBorderStyle::bsDialog || form_.FormStyle() == TFormStyle::fsMDIChild) return 0;
  return GetSystemMetrics(SM_CYMENU) - 1;
}

TsMenuBar::Layout TsMenuBar::Compute(int width, int top, int left, int right) const {
  Layout layout;
  const int rowHeight = LineHeight();
  if (rowHeight <= 0) return layout;
  TMenuItem& bar = *Menu()->Items();
  std::vector<int> widths;
  WindowDc screen(nullptr);
  for (int i = 0; i < bar.Count(); ++i) {
    TMenuItem* item = bar.Items(i);
    if (!item->Visible()) continue;
    int w = 0, h = rowHeight;
    if (item->OnMeasureItem) item->OnMeasureItem(*item, screen.get(), w, h);
    else TsSkinableMenus::Instance().MeasureMenuBarItem(*item, screen.get(), w, h);
    layout.entries.push_back(item);
    widths.push_back(w);
  }
  const menu_metrics::BarLayout rows = menu_metrics::LayoutBar(widths, left, width - left - right, rowHeight);
  layout.rows = rows.rows;
  layout.band = {0, top, width, top + rowHeight * rows.rows};
  for (const Rect& r : rows.items) layout.items.push_back(r.Offset(0, top));
  return layout;
}

void TsMenuBar::Paint(HDC dc, Bitmap& pixels, const Layout& layout, bool active) const {
  if (layout.band.Empty()) return;
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  if (manager) {
    const int section = manager->SectionIndexOf("MENULINE");
    if (manager->IsValidSection(section))
      PaintSection(*manager, section, "MENULINE", EmptyBackground(), pixels, {0, 0}, layout.band, active ? 1 : 0, true);
  }
  GdiFlush();
  TMainMenu* menu = Menu();
  for (size_t i = 0; i < layout.entries.size(); ++i) {
    TMenuItem& item = *layout.entries[i];
    const Rect& r = layout.items[i];
    const RECT rect{r.left, r.top, r.right, r.bottom};
    UINT state = item.Enabled() ? 0 : ODS_DISABLED;
    if (menu && menu->DroppedIndex() >= 0 && menu->Items()->Items(menu->DroppedIndex()) == &item) state |= ODS_SELECTED;
    if (item.OnAdvancedDrawItem) item.OnAdvancedDrawItem(item, dc, rect, state, nullptr);
    else TsSkinableMenus::Instance().DrawMenuBarItem(item, dc, rect, state);
  }
  GdiFlush();
}

int TsMenuBar::ItemAt(const Layout& layout, Point point) {
  for (size_t i = 0; i < layout.items.size(); ++i)
    if (layout.items[i].Contains(point)) return static_cast<int>(i);
  return -1;
}

bool TsMenuBar::DropDown(const Layout& layout, int index, HWND owner, Point frameOrigin) const {
  TMainMenu* menu = Menu();
  if (!menu || index < 0 || index >= static_cast<int>(layout.entries.size())) return false;
  const int top = menu->Items()->IndexOf(layout.entries[static_cast<size_t>(index)]);
  const Rect& r = layout.items[static_cast<size_t>(index)];
  return menu->DropDown(top, owner, frameOrigin.x + r.left, frameOrigin.y + r.bottom);
}
