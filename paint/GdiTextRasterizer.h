// The text rasteriser of the glow painter on the platform: the text is drawn with the platform's
// formatted text output, black on white in a memory section, and its ink is added to the mask.
#pragma once

#include <windows.h>

#include "paint/TextGlow.h"

class GdiTextRasterizer : public TextRasterizer {
 public:
  explicit GdiTextRasterizer(HFONT font) : font_(font) {}
  // `format` takes DT_* flags.
  void DrawText(Bitmap& mask, const std::wstring& text, const Rect& rect, uint32_t format) override;

 private:
  HFONT font_;  // borrowed
};
