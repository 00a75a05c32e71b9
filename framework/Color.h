// Colour values as the skin files and the controls store them: 32 bits, 0x00BBGGRR (red in the
// lowest byte). A value with the top bit set names a system colour (0x80000000 + its number);
// -1 means no colour where a field allows it. Plain C++.
#pragma once

#include <cstdint>

using TColor = int32_t;

constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clFuchsia = 0xFF00FF;  // the key colour of skin pictures
constexpr TColor clTeal = 0x808000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clInfoBk = clSystemColor | 24;

constexpr uint8_t RedOf(TColor c) { return static_cast<uint8_t>(c & 0xFF); }
constexpr uint8_t GreenOf(TColor c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
constexpr uint8_t BlueOf(TColor c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }
constexpr TColor MakeColor(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<TColor>(red | (green << 8) | (blue << 16));
}
constexpr bool IsSystemColor(TColor c) { return c < 0 && c != -1; }

// Turns a system colour into RGB. The platform installs its colour table at start-up; without
// one (the native build) system colours map to a fixed light palette.
using SystemColorLookup = uint32_t (*)(int index);
void SetSystemColorLookup(SystemColorLookup lookup);
TColor PlainColor(TColor c);
