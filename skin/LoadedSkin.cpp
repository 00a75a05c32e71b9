// See LoadedSkin.h.
#include "skin/LoadedSkin.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Walks the inheritance chain of a section: the section itself, then its PARENTCLASS, and so on,
// stopping at a missing parent or a section already visited.
template <class Match>
int SearchChain(const LoadedSkin& skin, int sectionIndex, std::string_view sectionName, Match match) {
  std::vector<int> visited;
  while (sectionIndex >= 0 && !sectionName.empty()) {
    int found = match(sectionName);
    if (found >= 0) return found;
    if (!skin.IsValidSection(sectionIndex)) return -1;
    for (int v : visited)
      if (v == sectionIndex) return -1;
    visited.push_back(sectionIndex);
    const std::string& parent = skin.Sections[static_cast<size_t>(sectionIndex)].ParentClass;
    if (parent.empty() || parent == sectionName) return -1;
    sectionIndex = skin.SectionIndexOf(parent);
    sectionName = parent;
  }
  return -1;
}

}  // namespace

int LoadedSkin::SectionIndexOf(std::string_view name) const {
  for (size_t i = 0; i < Sections.size(); ++i)
    if (Sections[i].ClassName == name) return static_cast<int>(i);
  return -1;
}

int LoadedSkin::ImageItemIndexExact(std::string_view sectionName, std::string_view key) const {
  for (size_t i = 0; i < Items.size(); ++i)
    if (Items[i].SectionName == sectionName && Items[i].PropertyName == key) return static_cast<int>(i);
  return -1;
}

int LoadedSkin::ImageItemIndexOf(int sectionIndex, std::string_view sectionName, std::string_view key) const {
  return SearchChain(*this, sectionIndex, sectionName,
                     [&](std::string_view name) { return ImageItemIndexExact(name, key); });
}

int LoadedSkin::TextureItemIndexOf(int sectionIndex, std::string_view sectionName, std::string_view key) const {
  return SearchChain(*this, sectionIndex, sectionName, [&](std::string_view name) {
    for (size_t i = 0; i < Items.size(); ++i)
      if (Items[i].ImgType == TvlImgType::itisaTexture && Items[i].SectionName == name && Items[i].PropertyName == key)
        return static_cast<int>(i);
    return -1;
  });
}

int LoadedSkin::JpegPatternIndexOf(int sectionIndex, std::string_view sectionName, std::string_view key) const {
  return SearchChain(*this, sectionIndex, sectionName, [&](std::string_view name) {
    for (size_t i = 0; i < Patterns.size(); ++i)
      if (Patterns[i].SectionName == name && Patterns[i].PropertyName == key) return static_cast<int>(i);
    return -1;
  });
}

namespace {

// One margin: the item's own, else its BorderWidth, else the size of a state picture (an item
// without states counts as one).
int Margin(const LoadedSkin& skin, int index, int16_t TsMaskData::*side, bool across) {
  if (!skin.IsValidItem(index)) return 0;
  const TsMaskData& item = skin.Items[static_cast<size_t>(index)];
  if (item.*side > 0) return item.*side;
  if (item.BorderWidth > 0) return item.BorderWidth;
  if (across) return item.R.Width() / std::max<int>(1, item.ImageCount);
  return StateHeight(item);
}

}  // namespace

int LoadedSkin::ItemMarginLeft(int index) const { return Margin(*this, index, &TsMaskData::WL, true); }
int LoadedSkin::ItemMarginTop(int index) const { return Margin(*this, index, &TsMaskData::WT, false); }
int LoadedSkin::ItemMarginRight(int index) const { return Margin(*this, index, &TsMaskData::WR, true); }
int LoadedSkin::ItemMarginBottom(int index) const { return Margin(*this, index, &TsMaskData::WB, false); }

Point LoadedSkin::ItemSize(int index) const {
  if (!IsValidItem(index)) return {};
  const TsMaskData& item = Items[static_cast<size_t>(index)];
  if (item.Image) return {item.Image->Width() / 3, item.Image->Height() / 2};
  return {StateWidth(item), StateHeight(item)};
}
