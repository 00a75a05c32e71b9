// The tables a loaded skin becomes: the skin-wide record (TsSkinData), one TsGeneralData per
// section of the options file, one TsMaskData per image item (cut from the master bitmap or with
// a picture of its own) and one TsPatternData per large JPEG texture. The skin manager owns
// them; painters only read them. Names are the 8-bit texts of the options file, upper-case for
// sections and keys. Plain C++.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Color.h"
#include "framework/Geometry.h"
#include "pixel/Bitmap.h"

class TsSkinManager;

// One step of a gradient.
struct TsGradItem {
  TColor Color1 = 0;      // colour at the step's start
  TColor Color2 = 0;      // colour at its end
  uint8_t Percent = 0;    // share of the length the step covers, 0..100
  int32_t Mode = 0;       // 0 top to bottom, 1 left to right, 2 four-corner (first step counts)
  int32_t Reserved = 0;   // a fifth slot no step fills
};
using TsGradArray = std::vector<TsGradItem>;

// The values of a section that the options text and a stored skin's section record both carry.
struct TsSectionLook {
  std::string ParentClass;
  TColor Color = 16777215;
  bool GiveOwnFont = false;
  int32_t GlowCount = 0;
  int32_t GlowMargin = 0;
  bool ReservedBoolean = false;
  int32_t Transparency = 0;
  int32_t GradientPercent = 0;
  std::string GradientData = " ";
  int32_t ImagePercent = 0;
  bool ShowFocus = false;
  bool FadingEnabled = false;
  int32_t FadingIterations = 5;
  TColor HotColor = 16777215;
  int32_t HotTransparency = 0;
  int32_t HotGradientPercent = 0;
  std::string HotGradientData;
  int32_t HotImagePercent = 0;
  TColor HotGlowColor = 16777215;
  TColor GlowColor = 16777215;
  uint8_t HotGlowSize = 0;
  uint8_t GlowSize = 0;
};

// One skin section.
struct TsGeneralData : TsSectionLook {
  std::string ClassName;
  std::array<TColor, 5> FontColor{0, -1, -1, -1, -1};     // [0] text, [1..4] contour left, top, right, bottom
  std::array<TColor, 5> HotFontColor{0, -1, -1, -1, -1};
  TsGradArray GradientArray;
  TsGradArray HotGradientArray;
  int32_t BorderIndex = -1;
  int32_t ImgTL = -1, ImgTR = -1, ImgBL = -1, ImgBR = -1;
};
using TsGeneralDataArray = std::vector<TsGeneralData>;

enum class TvlImgType : uint8_t { itisaBorder = 0, itisaTexture = 1, itisaGlyph = 2, itisaGlow = 3, itisaPngGlyph = 4 };

// One image item.
struct TsMaskData {
  std::shared_ptr<Bitmap> Image;  // the item's own picture; null when cut from the master bitmap
  std::string SectionName;
  std::string PropertyName;
  Rect R;                         // area in the master bitmap, or 0, 0, width, height of Image
  int16_t ImageCount = 0;         // state pictures side by side across R
  int16_t MaskType = 0;           // 0 key colour; 1 lower half of R holds the mask
  int16_t BorderWidth = 0;
  int16_t StretchMode = 0;
  TvlImgType ImgType = TvlImgType::itisaBorder;
  TsSkinManager* Manager = nullptr;  // borrowed: the owner
  int16_t WL = 0, WT = 0, WR = 0, WB = 0;
};
using TsMaskArray = std::vector<TsMaskData>;

// A large JPEG texture.
struct TsPatternData {
  std::shared_ptr<Bitmap> Img;
  std::string SectionName;
  std::string PropertyName;
};
using TsPatternArray = std::vector<TsPatternData>;

// The skin-wide values from "GLOBALINFO".
struct TsSkinData {
  std::wstring SkinPath;
  bool Active = false;
  double Version = 0;
  std::string Author;
  std::string Description;
  TColor Shadow1Color = 0;
  int16_t Shadow1Offset = 0;
  int16_t Shadow1Blur = -1;
  int16_t Shadow1Transparency = 0;
  int16_t BorderWidth = 4;
  int16_t TitleHeight = 30;
  int16_t MaxHeight = 0;
  int16_t FormOffset = 8;
  int16_t CenterOffset = 0;
  int16_t BorderMode = 0;
  TColor BorderColor = 0;
  int16_t BISpace = 0;
  int16_t BIVAlign = 0;
  int16_t BIRight = 0;
  int16_t BILeft = 0;
  int16_t BIKeepHue = 0;
  int16_t BICloseGlow = 0;
  int16_t BICloseGlowMargin = 0;
  int16_t BIMaxGlow = 0;
  int16_t BIMaxGlowMargin = 0;
  int16_t BIMinGlow = 0;
  int16_t BIMinGlowMargin = 0;
};

// Width of one state picture of an item (0 without states).
inline int StateWidth(const TsMaskData& item) {
  return item.ImageCount == 0 ? 0 : item.R.Width() / item.ImageCount;
}
// Height of one state picture (half of R for masked items).
inline int StateHeight(const TsMaskData& item) {
  return item.MaskType == -1 ? 0 : item.R.Height() / (item.MaskType + 1);
}
