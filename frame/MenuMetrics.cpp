// See MenuMetrics.h.
#include "frame/MenuMetrics.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace menu_metrics {

ItemKind KindOfCaption(const std::wstring& caption) {
  if (caption == L"-") return ItemKind::Separator;
  if (caption.size() >= 2 && caption.front() == L'-' && caption.back() == L'-') return ItemKind::Title;
  return ItemKind::Ordinary;
}

std::wstring TitleText(const std::wstring& caption) {
  if (KindOfCaption(caption) != ItemKind::Title) return caption;
  return caption.substr(1, caption.size() - 2);
}

std::wstring WithoutAmpersands(const std::wstring& text) {
  std::wstring result;
  result.reserve(text.size());
  for (wchar_t c : text)
    if (c != L'&') result += c;
  return result;
}

std::wstring MeasuredText(ItemKind kind, const std::wstring& caption, const std::wstring& shortcut) {
  switch (kind) {
    case ItemKind::Title: return L"-" + caption + L"-";
    case ItemKind::Separator: return {};
    case ItemKind::Ordinary:
    case ItemKind::BarItem: break;
  }
  return shortcut.empty() ? caption : caption + L"\t" + shortcut;
}

int SkinBorderWidth(bool maskExists, int maskBorderWidth) {
  if (!maskExists) return 0;
  return maskBorderWidth > 0 ? maskBorderWidth : 3;
}

ItemSize MeasureItem(const ItemMeasureInput& in, const MenuSpacing& s) {
  ItemSize size;
  size.width = 2 * in.glyphWidth + in.textWidth + 3 * s.margin + s.spacing;
  if (in.extraLineWidth > 0 && in.beforeFirstBreak) size.width += in.extraLineWidth;
  // The text line is a quarter taller than the letter, rounded half to even.
  const int line = static_cast<int>(std::nearbyint(in.letterHeight * 1.25));
  switch (in.kind) {
    case ItemKind::Separator: size.height = 2; break;
    case ItemKind::Title: size.height = line + 2 * s.margin; break;
    case ItemKind::Ordinary:
    case ItemKind::BarItem: size.height = std::max(line, in.glyphHeight) + 2 * s.margin; break;
  }
  return size;
}

int EffectiveExtraLineWidth(bool useExtraLine, bool menuShowsLine, int configuredWidth) {
  return useExtraLine && menuShowsLine ? std::max(configuredWidth, 0) : 0;
}

int IconColumnWidth(int glyphWidth, const MenuSpacing& s) { return s.margin + glyphWidth + s.spacing; }

Span SeparatorSpan(int itemWidth, int extraLineWidth, int iconColumn, const MenuSpacing& s) {
  Span span;
  span.left = std::max(extraLineWidth + s.margin + s.spacing, extraLineWidth + iconColumn + 2);
  span.right = itemWidth - (extraLineWidth + 2 * s.margin + s.spacing);
  if (span.right < span.left) span.right = span.left;
  return span;
}

ItemSize MenuSize(const std::vector<MeasuredItem>& items, const MenuSpacing& s) {
  ItemSize total;
  int columnWidth = 0, columnHeight = 0, tallest = 0, columns = 0;
  auto closeColumn = [&] {
    if (columns > 0) total.width += 4;  // the gap between columns
    total.width += columnWidth + 12;
    tallest = std::max(tallest, columnHeight);
    ++columns;
  };
  bool any = false;
  for (const MeasuredItem& item : items) {
    if (item.breakBefore && any) {
      closeColumn();
      columnWidth = columnHeight = 0;
    }
    columnWidth = std::max(columnWidth, item.size.width);
    columnHeight += item.size.height;
    any = true;
  }
  if (any) closeColumn();
  total.width += 2 * s.borderWidth;
  total.height = tallest + 2 * s.borderWidth;
  return total;
}

int GlyphOffset(int itemHeight, int imageSize) { return (itemHeight - imageSize) / 2; }

int CentredTop(const Rect& item, int textHeight) { return item.top + (item.Height() - textHeight) / 2; }

wchar_t SystemMenuGlyph(int command) {
  switch (command) {
    case 0xF020: return L'0';  // minimise
    case 0xF030: return L'1';  // maximise
    case 0xF060: return L'r';  // close
    case 0xF120: return L'2';  // restore
    default: return 0;
  }
}

bool SkinEntryStartsColumn(int index) { return index > 0 && index % kSkinsPerColumn == 0; }

std::wstring SkinNameOfEntry(const std::wstring& caption) {
  std::wstring name = WithoutAmpersands(caption);
  static const std::wstring kInternal = L"(internal)";
  size_t at = name.find(kInternal);
  if (at != std::wstring::npos) name.resize(at + kInternal.size());
  return name;
}

ItemSize MeasureBarItem(int captionWidth, int menuBarHeight, int imageWidth) {
  return {captionWidth + (imageWidth > 0 ? imageWidth + 6 : 0), menuBarHeight - 1};
}

BarLayout LayoutBar(const std::vector<int>& widths, int left, int width, int rowHeight) {
  BarLayout layout;
  int x = left, row = 0;
  for (int w : widths) {
    w = std::max(w, 0);
    if (x > left && static_cast<int64_t>(x) + w > static_cast<int64_t>(left) + width) {
      ++row;
      x = left;
    }
    layout.items.push_back({x, row * rowHeight, x + w, (row + 1) * rowHeight});
    x += w;
  }
  layout.rows = row + 1;
  return layout;
}

}  // namespace menu_metrics
