// See StoredSkins.h.
#include "skin/StoredSkins.h"

#include <algorithm>

#include "framework/Exception.h"

template <>
const ClassInfo& TsSkinGeneral::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TsSkinGeneral>(L"TsSkinGeneral", &TCollectionItem::StaticClass()).Build());
  return info;
}

template <>
const ClassInfo& TsSkinImage::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TsSkinImage>(L"TsSkinImage", &TCollectionItem::StaticClass()).Build());
  return info;
}

template <>
const ClassInfo& TsSkinPattern::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TsSkinPattern>(L"TsSkinPattern", &TCollectionItem::StaticClass()).Build());
  return info;
}

const ClassInfo& TsStoredSkin::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TsStoredSkin>(L"TsStoredSkin", &TCollectionItem::StaticClass())
          .String(L"Name", &TsStoredSkin::Name, &TsStoredSkin::SetName)
          .Object(L"GeneralData", TCollection::StaticClass(), &TsStoredSkin::GeneralData, nullptr)
          .Object(L"Images", TCollection::StaticClass(), &TsStoredSkin::Images, nullptr)
          .Object(L"Patterns", TCollection::StaticClass(), &TsStoredSkin::Patterns, nullptr)
          .Integer(L"Shadow1Color", &TsStoredSkin::Shadow1Color, &TsStoredSkin::SetShadow1Color)
          .Integer(L"Shadow1Offset", &TsStoredSkin::Shadow1Offset, &TsStoredSkin::SetShadow1Offset)
          .Integer(L"Shadow1Blur", &TsStoredSkin::Shadow1Blur, &TsStoredSkin::SetShadow1Blur)
          .Integer(L"Shadow1Transparency", &TsStoredSkin::Shadow1Transparency, &TsStoredSkin::SetShadow1Transparency)
          .Integer(L"BorderColor", &TsStoredSkin::BorderColor, &TsStoredSkin::SetBorderColor)
          .Float(L"Version", FloatType::Extended, &TsStoredSkin::Version, &TsStoredSkin::SetVersion)
          .String(L"Author", &TsStoredSkin::Author, &TsStoredSkin::SetAuthor)
          .String(L"Description", &TsStoredSkin::Description, &TsStoredSkin::SetDescription)
          .Build());
  return info;
}

TsStoredSkin::TsStoredSkin(TCollection* collection)
    : TCollectionItem(collection),
      generalData_(std::make_unique<TsSkinGenerals>()),
      images_(std::make_unique<TsSkinImages>()),
      patterns_(std::make_unique<TsSkinPatterns>()) {}

void TsStoredSkin::Assign(const TPersistent& source) {
  auto* other = dynamic_cast<const TsStoredSkin*>(&source);
  if (!other) {
    TCollectionItem::Assign(source);
    return;
  }
  name_ = other->name_;
  generalData_->Assign(*other->generalData_);
  images_->Assign(*other->images_);
  patterns_->Assign(*other->patterns_);
  masterBitmap_ = other->masterBitmap_;
  shadow1Color_ = other->shadow1Color_;
  shadow1Offset_ = other->shadow1Offset_;
  shadow1Blur_ = other->shadow1Blur_;
  shadow1Transparency_ = other->shadow1Transparency_;
  borderColor_ = other->borderColor_;
  version_ = other->version_;
  author_ = other->author_;
  description_ = other->description_;
  data_ = other->data_;
}

std::vector<uint8_t> TsStoredSkin::WriteData() const {
  std::vector<uint8_t> stored(4 + data_.size());
  uint32_t length = static_cast<uint32_t>(data_.size());
  for (size_t i = 0; i < 4; ++i) stored[i] = static_cast<uint8_t>(length >> (8 * i));
  std::copy(data_.begin(), data_.end(), stored.begin() + 4);
  return stored;
}

void TsStoredSkin::ReadData(std::span<const uint8_t> stored) {
  if (stored.size() < 4) throw EConvertError(L"Stored skin data is cut short");
  uint32_t length = static_cast<uint32_t>(stored[0]) | (static_cast<uint32_t>(stored[1]) << 8) |
                    (static_cast<uint32_t>(stored[2]) << 16) | (static_cast<uint32_t>(stored[3]) << 24);
  if (length != stored.size() - 4) throw EConvertError(L"Stored skin data does not match its length");
  data_.assign(stored.begin() + 4, stored.end());
}

const ClassInfo& TsStoredSkins::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TsStoredSkins>(L"TsStoredSkins", &TCollection::StaticClass()).Build());
  return info;
}

TsStoredSkin* TsStoredSkins::Find(const std::wstring& name) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Name() == name) return Items(i);
  return nullptr;
}
