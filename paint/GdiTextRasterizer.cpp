// See GdiTextRasterizer.h.
#include "paint/GdiTextRasterizer.h"

#include <algorithm>

#include "framework/Handles.h"
#include "paint/DibSection.h"

void GdiTextRasterizer::DrawText(Bitmap& mask, const std::wstring& text, const Rect& rect, uint32_t format) {
  if (mask.Format() != PixelFormat::pf8bit || mask.Empty()) return;
  DibSection ink = DibSection::CreateBitmap24(mask.Width(), mask.Height());
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!ink || !dc) return;
  SelectedObject bitmap(dc.get(), ink.Handle());
  SelectedObject font(dc.get(), font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
  RECT all{0, 0, mask.Width(), mask.Height()};
  FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), RGB(0, 0, 0));
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r, format);
  GdiFlush();
  // Ink only darkens: the mask keeps the darker of its value and the new text's.
  const Bitmap& drawn = ink.Pixels();
  for (int y = 0; y < mask.Height(); ++y) {
    uint8_t* m = mask.Row(y);
    const uint8_t* p = drawn.Row(y);
    for (int x = 0; x < mask.Width(); ++x, p += 3) m[x] = std::min({m[x], p[0], p[1], p[2]});
  }
}
