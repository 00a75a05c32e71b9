// Captions in a skin section's colours: the main colour of the normal or hot look, a one-pixel
// contour on the sides whose colour is not -1, the blurred glow behind the text, the disabled
// colour mixed at 0.4 with a background colour, and shortening a text with "..." to a width.
// The drawing surface is a small interface, so the rules stay plain C++ and tests record what
// is drawn; GdiTextSurface supplies the platform's formatted text output.
#pragma once

#include <cstdint>
#include <string>

#include "framework/Color.h"
#include "framework/Geometry.h"
#include "pixel/Bitmap.h"
#include "skin/SkinTables.h"

class TextRasterizer;

// The platform's formatted-text flags that the writers add or test themselves.
constexpr uint32_t kTextNoClip = 0x100;    // DT_NOCLIP
constexpr uint32_t kTextCalcRect = 0x400;  // DT_CALCRECT

// Where text goes: a font colour and formatted text output, with the surface's current font.
class TextSurface {
 public:
  virtual ~TextSurface() = default;
  virtual void SetTextColor(TColor color) = 0;
  virtual void DrawText(const std::wstring& text, const Rect& rect, uint32_t format) = 0;
  // Width of `text` on one line in the current font.
  virtual int TextWidth(const std::wstring& text) = 0;
};

// How a caption is to look.
struct SkinTextLook {
  const TsGeneralData* Section = nullptr;  // borrowed; none: the text is drawn once as it is
  bool Enabled = true;
  bool Hot = false;
  bool UseOwnColor = false;       // the element keeps its own font colour (CustomFont)
  TColor OwnColor = clBlack;      // that colour
  TColor DisabledMix = clWhite;   // disabled text: 0.4 of the font colour, 0.6 of this
  bool NoClipMainText = true;     // the main (last) draw of enabled text gets kTextNoClip
};

// Draws the contour copies and then the text in `rect` as `look` says.
void DrawSkinText(TextSurface& surface, const std::wstring& text, const Rect& rect, uint32_t format,
                  const SkinTextLook& look);

// Paints the glow of the look's section behind the text into `target` when the look's glow size
// is not 0 (all four contour sides, a fresh mask).
void PaintSkinTextGlow(Bitmap& target, TextRasterizer& rasterizer, const std::wstring& text, const Rect& rect,
                       uint32_t format, const TsGeneralData& section, bool hot);

// `text` when it fits `width`; otherwise its longest leading part that fits together with "...",
// followed by "..."; the empty text when not even "..." after one character fits or width <= 0.
std::wstring CutText(TextSurface& surface, const std::wstring& text, int width);
