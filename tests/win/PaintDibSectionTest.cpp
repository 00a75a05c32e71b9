// The platform side of the pixel engine: device-independent sections seen as Bitmap views, and
// text drawn into glow masks with the platform's text output.
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/Handles.h"
#include "paint/DibSection.h"
#include "paint/GdiTextRasterizer.h"
#include "pixel/PixelAccess.h"

TEST(PaintDibSection, ViewsShowTheSectionsRowsTopDown) {
  for (bool alpha : {false, true}) {
    DibSection dib = alpha ? DibSection::CreateBitmap32(5, 3) : DibSection::CreateBitmap24(5, 3);
    ASSERT_TRUE(dib);
    Bitmap& view = dib.Pixels();
    EXPECT_EQ(view.Format(), alpha ? PixelFormat::pf32bit : PixelFormat::pf24bit);
    EXPECT_LT(view.Stride(), 0);  // bottom-up section
    EXPECT_EQ(view.GetPixel(4, 2), 0u);
    view.SetPixel(4, 0, 0x00332211u);  // top right through the view ...
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    SelectedObject selected(dc.get(), dib.Handle());
    EXPECT_EQ(GetPixel(dc.get(), 4, 0), RGB(0x11, 0x22, 0x33));  // ... is the platform's top right
    SetPixel(dc.get(), 0, 2, RGB(1, 2, 3));
    GdiFlush();
    EXPECT_EQ(view.GetPixel(0, 2) & 0xFFFFFFu, 0x030201u);
  }
  EXPECT_FALSE(DibSection::CreateBitmap24(0, 4));
}

TEST(PaintDibSection, TextRasterizerAddsInkInsideTheTextRectangle) {
  Bitmap mask(60, 30, PixelFormat::pf8bit);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) mask.SetPixel(x, y, 255);
  mask.SetPixel(59, 29, 7);  // ink already there stays
  GdiTextRasterizer text(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  text.DrawText(mask, L"HHH", {10, 5, 50, 25}, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  int inked = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) {
      if (mask.GetPixel(x, y) == 255) continue;
      if (x == 59 && y == 29) continue;
      ++inked;
      EXPECT_TRUE((Rect{10, 5, 50, 25}).Contains({x, y})) << x << "," << y;
    }
  EXPECT_GT(inked, 10);
  EXPECT_EQ(mask.GetPixel(59, 29), 7u);
}
