// The arithmetic of skinned pop-up menus: what kind an item is by its caption, the text an item
// measures, item and menu sizes, the icon column, the separator's span, the extra line's width,
// the system menu's glyph characters and the names of the skin-choice entries. Plain C++: the
// menu painter measures text on the platform and passes the figures in.
#pragma once

#include <string>
#include <vector>

#include "framework/Geometry.h"

namespace menu_metrics {

// Item kinds as the draw event reports them.
enum class ItemKind { Title = 0, Separator = 1, Ordinary = 2, BarItem = 3 };

// "-" is a separator, "-Text-" a title, anything else an ordinary item.
ItemKind KindOfCaption(const std::wstring& caption);
// A title's caption without its leading and trailing "-".
std::wstring TitleText(const std::wstring& caption);
// The caption without any "&".
std::wstring WithoutAmpersands(const std::wstring& text);
// The text an item measures: "-caption-" for a title, nothing for a separator, the caption and
// a tab and the shortcut text for an ordinary item with a shortcut.
std::wstring MeasuredText(ItemKind kind, const std::wstring& caption, const std::wstring& shortcut);

// The menu object's spacing values.
struct MenuSpacing {
  int margin = 2;       // inner margin of items
  int spacing = 6;      // between the icon column and the text
  int borderWidth = 3;  // the menu window's border, for menus whose window is not known
};

// The border width of the "MAINMENU" border mask: its own width, 3 when that is not positive,
// 0 without the item.
int SkinBorderWidth(bool maskExists, int maskBorderWidth);

// Glyph size of an item without a picture of its own.
constexpr int kDefaultGlyphSize = 16;

struct ItemMeasureInput {
  ItemKind kind = ItemKind::Ordinary;
  int textWidth = 0;          // the measured text, single line, tabs expanded
  int letterHeight = 0;       // the height of "W" in the item's font
  int glyphWidth = kDefaultGlyphSize;
  int glyphHeight = kDefaultGlyphSize;
  int extraLineWidth = 0;     // effective width of the extra line (0: none shown)
  bool beforeFirstBreak = true;  // no item up to this one starts a new column
};

struct ItemSize {
  int width = 0;
  int height = 0;
  bool operator==(const ItemSize&) const = default;
};

ItemSize MeasureItem(const ItemMeasureInput& input, const MenuSpacing& spacing);

// The extra line's width in a menu: the configured width when the line is used and the menu
// shows it, else 0.
int EffectiveExtraLineWidth(bool useExtraLine, bool menuShowsLine, int configuredWidth);

// Width of the icon column: margin + glyph width + spacing.
int IconColumnWidth(int glyphWidth, const MenuSpacing& spacing);

// The horizontal span of a separator's divider inside an item of `itemWidth`.
struct Span {
  int left = 0;
  int right = 0;
  bool operator==(const Span&) const = default;
};
Span SeparatorSpan(int itemWidth, int extraLineWidth, int iconColumn, const MenuSpacing& spacing);

// The size of a menu from its items' sizes (an item with `breakBefore` starts a new column),
// for menus whose window cannot be found.
struct MeasuredItem {
  ItemSize size;
  bool breakBefore = false;
};
ItemSize MenuSize(const std::vector<MeasuredItem>& items, const MenuSpacing& spacing);

// The top-left corner of a glyph of `imageSize` centred in an item of `itemHeight`.
int GlyphOffset(int itemHeight, int imageSize);
// The line of `textHeight` (its top) centred in the item rectangle.
int CentredTop(const Rect& item, int textHeight);

// A main-menu bar item: as high as the platform's menu bar less 1; as wide as its caption
// (without "&") in the menu font, plus the image and 6 pixels when it shows an image (width > 0).
ItemSize MeasureBarItem(int captionWidth, int menuBarHeight, int imageWidth);

// The menu bar's items laid out in rows of `rowHeight`: from x = `left`, within `width` pixels
// from there; a new row starts when the next item would not fit (an item wider than a whole row
// stands alone in its row). Rectangles relative to the bar's top; at least one row.
struct BarLayout {
  std::vector<Rect> items;
  int rows = 1;
};
BarLayout LayoutBar(const std::vector<int>& widths, int left, int width, int rowHeight);

// The character of the window-command glyph font for a system menu entry's command (0: none).
wchar_t SystemMenuGlyph(int command);

// Entries of the skin-choice sub-menu: every twentieth entry after the first starts a column.
constexpr int kSkinsPerColumn = 20;
bool SkinEntryStartsColumn(int index);
// The skin name an entry of the skin-choice sub-menu stands for: its caption without "&", cut
// after the first "(internal)".
std::wstring SkinNameOfEntry(const std::wstring& caption);

}  // namespace menu_metrics
