// See LoadedSkin.h.
#include "skin/LoadedSkin.h"

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
