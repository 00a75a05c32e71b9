// See Graphics.h.
#include "framework/Graphics.h"

COLORREF ColorToRGB(TColor color) {
  if (IsSystemColor(color)) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color);
}

BITMAPINFO TopDownBitmapInfo(int width, int height, WORD bitCount) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = bitCount;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

UniqueBitmap CreateTopDown32Section(int width, int height, uint32_t** pixels) {
  BITMAPINFO info = TopDownBitmapInfo(width, height, 32);
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  *pixels = bitmap ? static_cast<uint32_t*>(bits) : nullptr;
  return bitmap;
}

namespace {
uint32_t PlatformSystemColor(int index) { return GetSysColor(index); }
// The platform's colour table serves the platform-free colour code from start-up on.
const bool systemColorsInstalled = (SetSystemColorLookup(PlatformSystemColor), true);
}  // namespace

static const TypeInfo& FontStyleType() {
  static const TypeInfo t = MakeEnumType(L"TFontStyle", {L"fsBold", L"fsItalic", L"fsUnderline", L"fsStrikeOut"});
  return t;
}

const TypeInfo& FontStylesType() {
  static const TypeInfo t = MakeSetType(L"TFontStyles", FontStyleType());
  return t;
}

const ClassInfo& TFont::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TFont>(L"TFont", &TPersistent::StaticClass())
          .Ordinal(L"Color", TypeInfo::Integer(), &TFont::Color, &TFont::SetColor)
          .Integer(L"Height", &TFont::Height, &TFont::SetHeight)
          .String(L"Name", &TFont::Name, &TFont::SetName)
          .Ordinal(L"Style", FontStylesType(), &TFont::Style, &TFont::SetStyle)
          .Build());
  return info;
}

TFont::TFont() = default;

void TFont::SetName(const std::wstring& name) {
  if (name == name_) return;
  name_ = name;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == height_) return;
  height_ = height;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  OnChange(this);  // the platform font does not depend on the colour
}

void TFont::SetStyle(TFontStyles style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

HFONT TFont::Handle() const {
  if (!handle_) {
    LOGFONTW lf{};
    lf.lfHeight = height_;
    lf.lfWeight = style_.Has(TFontStyle::fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = style_.Has(TFontStyle::fsItalic);
    lf.lfUnderline = style_.Has(TFontStyle::fsUnderline);
    lf.lfStrikeOut = style_.Has(TFontStyle::fsStrikeOut);
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
    handle_.reset(CreateFontIndirectW(&lf));
  }
  return handle_.get();
}

void TFont::Changed() {
  handle_.reset();
  OnChange(this);
}

void TFont::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TFont*>(&source)) {
    name_ = other->name_;
    height_ = other->height_;
    color_ = other->color_;
    style_ = other->style_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}
