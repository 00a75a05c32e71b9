// See Color.h.
#include "framework/Color.h"

namespace {

uint32_t FixedPalette(int index) {
  switch (index) {
    case 5: return 0xFFFFFF;   // window
    case 8: return 0x000000;   // window text
    case 13: return 0xD77800;  // highlight
    case 15: return 0xF0F0F0;  // button face
    case 16: return 0xA0A0A0;  // button shadow
    case 17: return 0x6D6D6D;  // grey text
    case 18: return 0x000000;  // button text
    case 20: return 0xFFFFFF;  // button highlight
    default: return 0xC0C0C0;
  }
}

SystemColorLookup lookup = FixedPalette;

}  // namespace

void SetSystemColorLookup(SystemColorLookup newLookup) { lookup = newLookup ? newLookup : FixedPalette; }

TColor PlainColor(TColor c) {
  if (!IsSystemColor(c)) return c;
  return static_cast<TColor>(lookup(c & 0xFF) & 0xFFFFFF);
}
