// Skins stored inside the program: the skin manager's InternalSkins collection of TsStoredSkin
// items. An item normally holds a packed skin archive in Data; an item with empty Data describes
// its skin through three collections instead (sections, image items, patterns) and a master
// bitmap. Plain C++.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "framework/Collection.h"
#include "framework/Color.h"
#include "pixel/Bitmap.h"
#include "skin/SkinTables.h"

// One section of a stored skin without archive. FontColor and HotFontColor are five numbers
// separated by blanks (text colour and the four contour colours).
struct TsSkinGeneralValues : TsSectionLook {
  std::string SectionName;
  std::string FontColor = "0 -1 -1 -1 -1";
  std::string HotFontColor = "0 -1 -1 -1 -1";
};

// One image item of a stored skin without archive: a rectangle of the master bitmap, or a
// picture of its own.
struct TsSkinImageValues {
  std::string SectionName;
  std::string PropertyName;
  Bitmap Image;  // empty when the item is cut from the master bitmap
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  int16_t ImageCount = 0;
  int16_t MaskType = 0;
  int16_t BorderWidth = 0;
  int16_t StretchMode = 0;
  uint8_t ImgType = 0;
  int16_t WL = 0, WT = 0, WR = 0, WB = 0;
};

// One large texture of a stored skin without archive; an empty Image reuses the picture of an
// earlier pattern with the same Name.
struct TsSkinPatternValues {
  std::string SectionName;
  std::string PropertyName;
  std::string Name;
  Bitmap Image;
};

// A collection item made of one of the value records above; assigning copies the values.
template <class Values>
class TsStoredSkinPart : public TCollectionItem, public Values {
 public:
  using TCollectionItem::TCollectionItem;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  void Assign(const TPersistent& source) override {
    if (auto* other = dynamic_cast<const TsStoredSkinPart*>(&source)) {
      static_cast<Values&>(*this) = static_cast<const Values&>(*other);
      return;
    }
    TCollectionItem::Assign(source);
  }
};
using TsSkinGeneral = TsStoredSkinPart<TsSkinGeneralValues>;
using TsSkinImage = TsStoredSkinPart<TsSkinImageValues>;
using TsSkinPattern = TsStoredSkinPart<TsSkinPatternValues>;
template <> const ClassInfo& TsSkinGeneral::StaticClass();
template <> const ClassInfo& TsSkinImage::StaticClass();
template <> const ClassInfo& TsSkinPattern::StaticClass();

template <class Item>
class TsStoredSkinList : public TCollection {
 public:
  TsStoredSkinList() : TCollection(Item::StaticClass(), [](TCollection* c) { return std::make_unique<Item>(c); }) {}
  Item* Add() { return static_cast<Item*>(TCollection::Add()); }
  Item* Items(int index) const { return static_cast<Item*>(TCollection::Items(index)); }
};
using TsSkinGenerals = TsStoredSkinList<TsSkinGeneral>;
using TsSkinImages = TsStoredSkinList<TsSkinImage>;
using TsSkinPatterns = TsStoredSkinList<TsSkinPattern>;

class TsStoredSkin : public TCollectionItem {
 public:
  explicit TsStoredSkin(TCollection* collection);
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  std::wstring DisplayName() const override { return Name(); }
  void Assign(const TPersistent& source) override;

  const std::wstring& Name() const { return name_; }
  void SetName(const std::wstring& value) { name_ = value; }
  TsSkinGenerals* GeneralData() const { return generalData_.get(); }
  TsSkinImages* Images() const { return images_.get(); }
  TsSkinPatterns* Patterns() const { return patterns_.get(); }
  Bitmap& MasterBitmap() { return masterBitmap_; }
  const Bitmap& MasterBitmap() const { return masterBitmap_; }
  TColor Shadow1Color() const { return shadow1Color_; }
  void SetShadow1Color(TColor value) { shadow1Color_ = value; }
  int Shadow1Offset() const { return shadow1Offset_; }
  void SetShadow1Offset(int value) { shadow1Offset_ = value; }
  int Shadow1Blur() const { return shadow1Blur_; }
  void SetShadow1Blur(int value) { shadow1Blur_ = value; }
  int Shadow1Transparency() const { return shadow1Transparency_; }
  void SetShadow1Transparency(int value) { shadow1Transparency_ = value; }
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor value) { borderColor_ = value; }
  double Version() const { return version_; }
  void SetVersion(double value) { version_ = value; }
  const std::wstring& Author() const { return author_; }
  void SetAuthor(const std::wstring& value) { author_ = value; }
  const std::wstring& Description() const { return description_; }
  void SetDescription(const std::wstring& value) { description_ = value; }

  // The packed skin archive; empty for a skin described by the collections.
  const std::vector<uint8_t>& Data() const { return data_; }
  void SetData(std::span<const uint8_t> bytes) { data_.assign(bytes.begin(), bytes.end()); }
  // The stored form of Data: its length (32 bits, little-endian) followed by its bytes.
  std::vector<uint8_t> WriteData() const;
  // Restores Data from its stored form; raises EConvertError when the length does not fit.
  void ReadData(std::span<const uint8_t> stored);

 private:
  std::wstring name_;
  std::unique_ptr<TsSkinGenerals> generalData_;
  std::unique_ptr<TsSkinImages> images_;
  std::unique_ptr<TsSkinPatterns> patterns_;
  Bitmap masterBitmap_;
  TColor shadow1Color_ = 0;
  int shadow1Offset_ = 0;
  int shadow1Blur_ = -1;
  int shadow1Transparency_ = 0;
  TColor borderColor_ = 16711935;
  double version_ = 0;
  std::wstring author_;
  std::wstring description_;
  std::vector<uint8_t> data_;
};

class TsStoredSkins : public TsStoredSkinList<TsStoredSkin> {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  // The item whose Name equals `name` exactly, or nullptr.
  TsStoredSkin* Find(const std::wstring& name) const;
};
