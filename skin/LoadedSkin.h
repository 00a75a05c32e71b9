// A loaded skin as painters see it: the skin-wide record, the section table, the image items,
// the JPEG patterns and the master bitmap, with the lookups by name that painting uses. The
// skin manager owns one; painters get it by const reference. Plain C++.
#pragma once

#include <string_view>

#include "skin/SkinTables.h"

struct LoadedSkin {
  TsSkinData Data;
  TsGeneralDataArray Sections;
  TsMaskArray Items;
  TsPatternArray Patterns;
  Bitmap MasterBitmap;  // 24-bit; pixels of the key colour 0xFF00FF are transparent

  bool IsValidSection(int index) const { return index >= 0 && index < static_cast<int>(Sections.size()); }
  bool IsValidItem(int index) const { return index >= 0 && index < static_cast<int>(Items.size()); }
  // The picture an item's pixels come from: its own image, or the master bitmap.
  const Bitmap& ItemBitmap(const TsMaskData& item) const { return item.Image ? *item.Image : MasterBitmap; }

  // The first section whose ClassName equals `name` exactly (case counts), or -1.
  int SectionIndexOf(std::string_view name) const;
  // The first image item with that section and key (exact), or -1.
  int ImageItemIndexExact(std::string_view sectionName, std::string_view key) const;
  // The exact item, or else the same lookup in the section's PARENTCLASS chain; -1 when the
  // index is negative, the name empty or nothing matches. Loops in the chain end.
  int ImageItemIndexOf(int sectionIndex, std::string_view sectionName, std::string_view key) const;
  // As ImageItemIndexOf, counting only texture items.
  int TextureItemIndexOf(int sectionIndex, std::string_view sectionName, std::string_view key) const;
  // The same rule on the pattern table.
  int JpegPatternIndexOf(int sectionIndex, std::string_view sectionName, std::string_view key) const;

  // The margins of an item's nine parts: its own margin when above 0, else its BorderWidth when
  // above 0, else one state picture's width (left, right) or height (top, bottom); 0 for an
  // index outside the table.
  int ItemMarginLeft(int index) const;
  int ItemMarginTop(int index) const;
  int ItemMarginRight(int index) const;
  int ItemMarginBottom(int index) const;
  // A third of the width and half the height of an item's own picture, else one state picture.
  Point ItemSize(int index) const;
};
