// Draws the program's own pictures into app/res/: the application icon (16 to 256 pixels), the
// parent-folder pictures of the file list ("Parent_L282" 32 x 32, "Parent_S282" 16 x 16, keyed
// on magenta) and the header sort arrows ("Bmp_Up28", "Bmp_Down28", in the grey tones that the
// loader maps to the system's 3-D colours) and the file list's icon markers, drawn over an
// entry's icon at its lower left ("Mark_Not64_L"/"_S": an amber bar sign for a filter a 64-bit
// editor cannot load; "Mark_Invalid_L"/"_S": a red cross for a file that is not a valid
// plug-in; 32 x 32 and 16 x 16, keyed on magenta) and the glyphs of the file list's context menu
// ("Open28" ... "DeskTop28", 16 x 16, keyed on magenta, in the colours of the pictures above)
// and those of the directory tree's context menu ("EditFolder28" ... "NetDisConnect28", alike).
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

// The context menu's glyphs, 16 x 16: the folder yellow and arrow green of the parent-folder
// picture, white sheets with a blue-grey outline, the skin's blue-green for tools.
const Rgba kOutline = FromHex(0x4F6470);
const Rgba kSheet = FromHex(0xFFFFFF);
const Rgba kTeal = FromHex(0x2D7C94);

void Sheet(Canvas& c, double left, double top, double right, double bottom) {
  c.Fill(RoundedRect(left, top, right, bottom, 0.8), Solid(kOutline));
  c.Fill(RoundedRect(left + 1, top + 1, right - 1, bottom - 1, 0.4), Solid(kSheet));
}

void Lines(Canvas& c, double left, double top, double right, int count) {
  for (int i = 0; i < count; ++i) c.FillRect(static_cast<int>(left), static_cast<int>(top) + 2 * i, static_cast<int>(right),
                                             static_cast<int>(top) + 2 * i + 1, FromHex(0x9AB0BC));
}

void Folder(Canvas& c, double dx, double dy, double scale) {
  auto r = [&](double l, double t, double rr, double b, double radius) {
    return RoundedRect(dx + l * scale, dy + t * scale, dx + rr * scale, dy + b * scale, radius);
  };
  c.Fill(r(1, 3, 7, 6, 0.6), Solid(FromHex(0xD9A93A)));
  c.Fill(r(1, 4, 15, 14, 0.8), Solid(FromHex(0xD9A93A)));
  c.Fill(r(1, 6, 15, 14, 0.8), Linear({0, dy + 6 * scale}, FromHex(0xFBE39B), {0, dy + 14 * scale}, FromHex(0xEDC15A)));
}

void Arrow(Canvas& c, double x, double y, double size) {
  Polygon arrow{{x, y - size * 0.25}, {x + size * 0.5, y - size * 0.25}, {x + size * 0.5, y - size * 0.6},
                {x + size, y},        {x + size * 0.5, y + size * 0.6},  {x + size * 0.5, y + size * 0.25},
                {x, y + size * 0.25}};
  c.Fill(arrow, Linear({0, y - size * 0.6}, FromHex(0x7ED36B), {0, y + size * 0.6}, FromHex(0x2E8B3A)));
}

void Clipboard(Canvas& c) {
  c.Fill(RoundedRect(2, 2, 14, 15.5, 1.2), Solid(FromHex(0x8A5A2B)));
  c.Fill(RoundedRect(3.5, 4, 12.5, 14, 0.4), Solid(kSheet));
  c.Fill(RoundedRect(5, 1, 11, 4.5, 0.8), Solid(FromHex(0x9AA7AE)));
}

// A red cross over the lower right quarter (delete, disconnect).
void SmallCross(Canvas& c, double cx, double cy, double arm) {
  Rgba top = FromHex(0xF2665A), bottom = FromHex(0xB3261E);
  c.FillUnion(Stroke({{cx - arm, cy - arm}, {cx + arm, cy + arm}}, 2.4), Linear({0, cy - arm}, top, {0, cy + arm}, bottom));
  c.FillUnion(Stroke({{cx - arm, cy + arm}, {cx + arm, cy - arm}}, 2.4), Linear({0, cy - arm}, top, {0, cy + arm}, bottom));
}

// A network drive: a grey box with a green light, its cable down to a teal network line.
void NetworkDrive(Canvas& c, bool cableWhole) {
  c.Fill(RoundedRect(1, 1.5, 15, 8.5, 1), Solid(kOutline));
  c.Fill(RoundedRect(2, 2.5, 14, 7.5, 0.5), Linear({0, 2.5}, FromHex(0xE4EAED), {0, 7.5}, FromHex(0xA9B6BD)));
  c.Fill(Ellipse(11.5, 5, 1.2, 1.2), Solid(FromHex(0x3FA653)));
  c.FillRect(4, 4, 8, 6, FromHex(0x6F828C));
  c.FillRect(7, 8, 9, cableWhole ? 13 : 10, kTeal);
  c.FillRect(1, 13, 15, 15, kTeal);
}

Canvas Glyph(const std::string& name) {
  Canvas c(16, 16);
  if (name == "Open28") {
    Folder(c, 0, 0, 1);
    c.Fill(Polygon{{3, 14}, {5.5, 8}, {16, 8}, {13.5, 14}}, Linear({0, 8}, FromHex(0xFFF1C4), {0, 14}, FromHex(0xF2CC6A)));
  } else if (name == "View28") {
    Sheet(c, 1, 1, 11, 15);
    Lines(c, 3, 4, 9, 4);
    c.Fill(Ellipse(10, 9, 4, 4), Solid(kTeal));
    c.Fill(Ellipse(10, 9, 2.6, 2.6), Solid(FromHex(0xD8EEF5)));
    c.FillUnion(Stroke({{12.6, 11.6}, {15.2, 14.4}}, 2.2), Solid(kTeal));
  } else if (name == "SendTo28") {
    Sheet(c, 1, 1, 10, 14);
    Lines(c, 3, 4, 8, 4);
    Arrow(c, 6, 10, 9.5);
  } else if (name == "Cut28") {
    c.FillUnion(Stroke({{4.5, 1.5}, {10.5, 11}}, 1.6), Solid(FromHex(0x8D9BA3)));
    c.FillUnion(Stroke({{11.5, 1.5}, {5.5, 11}}, 1.6), Solid(FromHex(0x8D9BA3)));
    for (double x : {4.5, 11.5}) {
      c.Fill(std::vector<Polygon>{Ellipse(x, 12.5, 2.8, 2.8), Ellipse(x, 12.5, 1.4, 1.4)}, Solid(kTeal));
    }
  } else if (name == "Copy28") {
    Sheet(c, 1, 1, 10, 12);
    Lines(c, 3, 4, 8, 3);
    Sheet(c, 6, 4, 15, 15);
    Lines(c, 8, 7, 13, 4);
  } else if (name == "Paste28") {
    Clipboard(c);
    Sheet(c, 7, 7, 15.5, 16);
    Lines(c, 9, 10, 14, 3);
  } else if (name == "ReName28") {
    c.Fill(RoundedRect(0.5, 4, 15.5, 12, 1), Solid(kOutline));
    c.Fill(RoundedRect(1.5, 5, 14.5, 11, 0.5), Solid(kSheet));
    c.FillRect(3, 7, 9, 9, FromHex(0x4A8FA6));
    c.FillRect(11, 2, 12, 14, FromHex(0x1B1B1B));
    c.FillRect(9, 2, 14, 3, FromHex(0x1B1B1B));
    c.FillRect(9, 13, 14, 14, FromHex(0x1B1B1B));
  } else if (name == "Delete28") {
    Rgba top = FromHex(0xF2665A), bottom = FromHex(0xB3261E);
    c.FillUnion(Stroke({{3, 3}, {13, 13}}, 3.2), Linear({0, 2}, top, {0, 14}, bottom));
    c.FillUnion(Stroke({{13, 3}, {3, 13}}, 3.2), Linear({0, 2}, top, {0, 14}, bottom));
  } else if (name == "Attributes28") {
    Sheet(c, 2, 1, 13, 15);
    Lines(c, 4, 4, 11, 2);
    c.Fill(Ellipse(11, 11, 4.5, 4.5), Solid(FromHex(0xFFFFFF)));
    c.Fill(Ellipse(11, 11, 3.7, 3.7), Linear({0, 7}, FromHex(0x4A8FA6), {0, 15}, FromHex(0x185366)));
    c.FillRect(10, 10, 12, 14, FromHex(0xFFFFFF));
    c.FillRect(10, 8, 12, 9, FromHex(0xFFFFFF));
  } else if (name == "NewFolder28") {
    Folder(c, 0, 2, 0.9);
    Polygon star{{12.5, 0.5}, {13.5, 3.5}, {16, 4.5}, {13.5, 5.5}, {12.5, 8.5}, {11.5, 5.5}, {9, 4.5}, {11.5, 3.5}};
    c.Fill(star, Solid(FromHex(0xFFC94D)));
  } else if (name == "AnyFolder28") {
    Folder(c, 0, 0, 1);
    Arrow(c, 4, 10, 8);
  } else if (name == "ClipBoard28") {
    Clipboard(c);
    Lines(c, 5, 7, 11, 3);
  } else if (name == "EditFolder28") {
    Folder(c, 0, 2, 0.9);
    // A pencil lying from the upper right towards the folder's middle.
    c.FillUnion(Stroke({{14.6, 1.4}, {8.4, 7.6}}, 3.0), Solid(FromHex(0x8A5A2B)));
    c.FillUnion(Stroke({{14.2, 1.8}, {8.8, 7.2}}, 1.6), Solid(FromHex(0xFFC94D)));
    c.Fill(Polygon{{8.4, 6.2}, {9.8, 7.6}, {6.8, 9.2}}, Solid(FromHex(0x1B1B1B)));
  } else if (name == "DelFolder28") {
    Folder(c, 0, 0, 0.9);
    SmallCross(c, 12, 12, 3);
  } else if (name == "TreeSize28") {
    Folder(c, 0, 0, 0.9);
    // Three bars of rising height: how much the folder holds.
    c.FillRect(8, 11, 10, 16, kTeal);
    c.FillRect(11, 8, 13, 16, kTeal);
    c.FillRect(14, 5, 16, 16, kTeal);
  } else if (name == "DirContents28") {
    Folder(c, 0, 0, 0.9);
    Sheet(c, 7, 5, 15, 16);
    Lines(c, 9, 8, 13, 4);
  } else if (name == "NetConnect28") {
    NetworkDrive(c, true);
  } else if (name == "NetDisConnect28") {
    NetworkDrive(c, false);
    SmallCross(c, 12, 11, 2.6);
  } else if (name == "DeskTop28") {
    c.Fill(RoundedRect(0.5, 1.5, 15.5, 12, 1), Solid(kOutline));
    c.Fill(RoundedRect(1.8, 2.8, 14.2, 10.7, 0.3), Linear({0, 3}, FromHex(0x7FC3DA), {0, 11}, FromHex(0x2D7C94)));
    c.FillRect(6, 12, 10, 14, kOutline);
    c.FillRect(4, 14, 12, 15, kOutline);
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
  for (const char* glyph : {"Open28", "View28", "SendTo28", "Cut28", "Copy28", "Paste28", "ReName28", "Delete28",
                            "Attributes28", "NewFolder28", "AnyFolder28", "ClipBoard28", "DeskTop28", "EditFolder28",
                            "DelFolder28", "TreeSize28", "DirContents28", "NetConnect28", "NetDisConnect28"})
    WriteBmp24(out + "/" + glyph + ".bmp", Glyph(glyph), true);
  WritePng(out + "/vlSHDA.png", WindowShadow(true));
  WritePng(out + "/vlSHDI.png", WindowShadow(false));
  return 0;
}
