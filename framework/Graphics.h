// Colours and fonts of controls. TColor is 0x00BBGGRR; a value with the top bit set names a
// system colour (0x80000000 + the COLOR_ number). TFont is a persistent font description that
// creates its platform font on demand.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/Color.h"
#include "framework/Component.h"
#include "framework/Event.h"
#include "framework/Handles.h"

// A system colour's current RGB value; other colours unchanged.
COLORREF ColorToRGB(TColor color);

// The description of top-down device-independent pixels of the given size and depth.
BITMAPINFO TopDownBitmapInfo(int width, int height, WORD bitCount);
// A top-down 32-bit section of the given size and its pixels (nullptr when the platform refuses).
UniqueBitmap CreateTopDown32Section(int width, int height, uint32_t** pixels);

enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

class TFont : public TPersistent {
 public:
  TFont();
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  const std::wstring& Name() const { return name_; }
  void SetName(const std::wstring& name);
  // Negative: character height in pixels; positive: cell height.
  int Height() const { return height_; }
  void SetHeight(int height);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);

  // The platform font, created when first asked for; owned by this object.
  HFONT Handle() const;
  void Assign(const TPersistent& source) override;

  TNotifyEvent OnChange;

 private:
  void Changed();
  std::wstring name_ = L"MS Sans Serif";
  int height_ = -11;
  TColor color_ = clWindowText;
  TFontStyles style_;
  mutable UniqueFont handle_;
};

const TypeInfo& FontStylesType();
