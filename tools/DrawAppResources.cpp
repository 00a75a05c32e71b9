// Draws the program's own pictures into app/res/: the application icon (16 to 256 pixels), the
// parent-folder pictures of the file list ("Parent_L282" 32 x 32, "Parent_S282" 16 x 16, keyed
// on magenta) and the header sort arrows ("Bmp_Up28", "Bmp_Down28", in the grey tones that the
// loader maps to the system's 3-D colours) and the file list's icon markers, drawn over an
// entry's icon at its lower left ("Mark_Not64_L"/"_S": an amber bar sign for a filter a 64-bit
// editor cannot load; "Mark_Invalid_L"/"_S": a red cross for a file that is not a valid
// plug-in; 32 x 32 and 16 x 16, keyed on magenta) and the built-in window shadows that a skin
// without an extended border of its own casts ("vlSHDA" active, "vlSHDI" inactive: PNG with
// alpha, 64 x 64, the window rectangle 11, 7, 11 and 11 pixels inside the picture and left
// transparent, the shadow a little lower than the window).
// Usage: draw_app_resources OUTPUT_FOLDER
#include <cstdio>
#include <string>

#include "tools/raster/Raster.h"

using namespace raster;

namespace {

Canvas AppIcon(int size) {
  double s = size;
  Canvas c(size, size);
  // Base: a rounded square in the deep blue-green of the skin's shadow, lighter at the top.
  double inset = s >= 32 ? s * 0.04 : 0.5;
  c.Fill(RoundedRect(inset, inset, s - inset, s - inset, s * 0.22),
         Linear({0, 0}, FromHex(0x4A8FA6), {0, s}, FromHex(0x185366)));
  // A soft highlight across the upper half.
  c.Fill(RoundedRect(inset + s * 0.06, inset + s * 0.05, s - inset - s * 0.06, s * 0.48, s * 0.16),
         Linear({0, 0}, FromHex(0xFFFFFF, 0.28), {0, s * 0.48}, FromHex(0xFFFFFF, 0.0)));
  // The filter funnel.
  Polygon funnel{{s * 0.20, s * 0.24}, {s * 0.80, s * 0.24}, {s * 0.57, s * 0.52}, {s * 0.57, s * 0.74},
                 {s * 0.43, s * 0.82}, {s * 0.43, s * 0.52}};
  c.Fill(Translate(funnel, 0, s * 0.025), Solid(FromHex(0x0B2E3A, 0.35)));
  c.Fill(funnel, Linear({0, s * 0.24}, FromHex(0xFFFFFF), {0, s * 0.82}, FromHex(0xDCE9EE)));
  // The switch: a green light at the lower right.
  double r = s * 0.13;
  c.Fill(Ellipse(s * 0.74, s * 0.72, r + s * 0.035, r + s * 0.035), Solid(FromHex(0xFFFFFF)));
  c.Fill(Ellipse(s * 0.74, s * 0.72, r, r), Linear({0, s * 0.6}, FromHex(0x8FE39A), {0, s * 0.85}, FromHex(0x3FA653)));
  return c;
}

Canvas ParentFolder(int size) {
  double s = size;
  Canvas c(size, size);
  // Folder: tab, back and front, pale yellow.
  c.Fill(RoundedRect(s * 0.06, s * 0.22, s * 0.46, s * 0.40, s * 0.05), Solid(FromHex(0xD9A93A)));
  c.Fill(RoundedRect(s * 0.06, s * 0.30, s * 0.94, s * 0.86, s * 0.06), Solid(FromHex(0xD9A93A)));
  c.Fill(RoundedRect(s * 0.06, s * 0.38, s * 0.94, s * 0.86, s * 0.06),
         Linear({0, s * 0.38}, FromHex(0xFBE39B), {0, s * 0.86}, FromHex(0xEDC15A)));
  // An arrow pointing up, green.
  Polygon arrow{{s * 0.50, s * 0.06}, {s * 0.80, s * 0.38}, {s * 0.61, s * 0.38}, {s * 0.61, s * 0.70},
                {s * 0.39, s * 0.70}, {s * 0.39, s * 0.38}, {s * 0.20, s * 0.38}};
  c.Fill(Translate(arrow, s * 0.02, s * 0.03), Solid(FromHex(0x1E4D22, 0.35)));
  c.Fill(arrow, Linear({0, s * 0.06}, FromHex(0x7ED36B), {0, s * 0.70}, FromHex(0x2E8B3A)));
  return c;
}

Canvas SortArrow(bool up) {
  // 3-D grey background (192) and shadow grey (128) arrow, 7 x 4 pixels like the header's own
  // arrow, drawn without blending so that only those two colours occur.
  Canvas c(7, 4, FromHex(0xC0C0C0));
  for (int row = 0; row < 4; ++row) {
    int y = up ? row : 3 - row;
    for (int x = 3 - row; x <= 3 + row; ++x) c.At(x, y) = FromHex(0x808080);
  }
  return c;
}

enum class MarkerSymbol { kBar, kCross };

Canvas Marker(int size, MarkerSymbol symbol) {
  double s = size;
  Canvas c(size, size);
  // A round badge in the lower left quarter: soft shadow, white ring, glossy colour, white symbol.
  double r = s >= 32 ? s * 0.25 : s * 0.30;
  double cx = r + (s >= 32 ? 1.0 : 0.5), cy = s - r - (s >= 32 ? 1.0 : 0.5);
  bool cross = symbol == MarkerSymbol::kCross;
  Rgba top = FromHex(cross ? 0xF2665A : 0xFFC94D), bottom = FromHex(cross ? 0xB3261E : 0xD98A0B);
  if (s >= 32) c.Fill(Ellipse(cx + s * 0.02, cy + s * 0.03, r, r), Solid(FromHex(0x0B2E3A, 0.35)));
  c.Fill(Ellipse(cx, cy, r, r), Solid(FromHex(0xFFFFFF)));
  double inner = r - (s >= 32 ? 1.6 : 1.0);
  c.Fill(Ellipse(cx, cy, inner, inner), Linear({0, cy - inner}, top, {0, cy + inner}, bottom));
  double arm = inner * 0.48, width = s >= 32 ? 2.4 : 1.6;
  if (cross) {
    c.FillUnion(Stroke({{cx - arm, cy - arm}, {cx + arm, cy + arm}}, width), Solid(FromHex(0xFFFFFF)));
    c.FillUnion(Stroke({{cx - arm, cy + arm}, {cx + arm, cy - arm}}, width), Solid(FromHex(0xFFFFFF)));
  } else {
    c.FillUnion(Stroke({{cx - arm * 1.2, cy}, {cx + arm * 1.2, cy}}, width), Solid(FromHex(0xFFFFFF)));
  }
  return c;
}

}  // namespace

// The shadow around a window whose rectangle lies 11 (left, right, bottom) and 7 (top) pixels
// inside the picture; the rectangle itself stays transparent.
Canvas WindowShadow(bool active) {
  const int size = 64;
  const double l = 11, t = 7, r = size - 11, b = size - 11;
  Canvas c(size, size);
  Polygon whole{{0, 0}, {double(size), 0}, {double(size), double(size)}, {0, double(size)}};
  c.Fill(whole, Halo(FromHex(0x10202A), active ? 0.38 : 0.22, active ? 4.0 : 3.2, l, t + 2, r, b + 1, 4, false));
  // The window covers its rectangle: nothing of the shadow lies there.
  for (int y = int(t); y < int(b); ++y)
    for (int x = int(l); x < int(r); ++x) c.At(x, y) = {0, 0, 0, 0};
  return c;
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: draw_app_resources OUTPUT_FOLDER\n");
    return 2;
  }
  std::string out = argv[1];
  WriteIco(out + "/Brenvale.ico", {AppIcon(16), AppIcon(24), AppIcon(32), AppIcon(48), AppIcon(256)});
  WriteBmp24(out + "/Parent_L282.bmp", ParentFolder(32), true);
  WriteBmp24(out + "/Parent_S282.bmp", ParentFolder(16), true);
  WriteBmp24(out + "/Bmp_Up28.bmp", SortArrow(true), false);
  WriteBmp24(out + "/Bmp_Down28.bmp", SortArrow(false), false);
  WriteBmp24(out + "/Mark_Not64_L.bmp", Marker(32, MarkerSymbol::kBar), true);
  WriteBmp24(out + "/Mark_Not64_S.bmp", Marker(16, MarkerSymbol::kBar), true);
  WriteBmp24(out + "/Mark_Invalid_L.bmp", Marker(32, MarkerSymbol::kCross), true);
  WriteBmp24(out + "/Mark_Invalid_S.bmp", Marker(16, MarkerSymbol::kCross), true);
  WritePng(out + "/vlSHDA.png", WindowShadow(true));
  WritePng(out + "/vlSHDI.png", WindowShadow(false));
  return 0;
}
