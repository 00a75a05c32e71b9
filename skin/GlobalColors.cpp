// See GlobalColors.h.
#include "skin/GlobalColors.h"

#include "skin/LoadedSkin.h"

namespace {

constexpr TColor clHighlightText = clSystemColor | 14;

const TsGeneralData* Section(const LoadedSkin& skin, std::string_view name) {
  int index = skin.SectionIndexOf(name);
  return index >= 0 ? &skin.Sections[static_cast<size_t>(index)] : nullptr;
}

bool UsableMenuColor(TColor c) { return c != -1 && c != clFuchsia && c != clWhite; }

// A colour of the named section as plain RGB, or the fallback (made plain) without the section.
template <class Pick>
TColor SectionColor(const LoadedSkin& skin, std::string_view name, Pick pick, TColor fallback) {
  const TsGeneralData* s = Section(skin, name);
  return PlainColor(s ? pick(*s) : fallback);
}

}  // namespace

TColor GlobalColor(const LoadedSkin& skin) {
  return SectionColor(skin, "GLOBALINFO", [](const TsGeneralData& s) { return s.Color; }, clBtnFace);
}

TColor GlobalFontColor(const LoadedSkin& skin) {
  return SectionColor(skin, "GLOBALINFO", [](const TsGeneralData& s) { return s.FontColor[0]; }, clFuchsia);
}

TColor GlobalHotColor(const LoadedSkin& skin) {
  return SectionColor(skin, "GLOBALINFO", [](const TsGeneralData& s) { return s.HotColor; }, clWindow);
}

TColor EditHotFontColor(const LoadedSkin& skin) {
  return SectionColor(skin, "EDIT", [](const TsGeneralData& s) { return s.HotFontColor[0]; }, clFuchsia);
}

TColor MenuHighlightColor(const LoadedSkin& skin) {
  const TsGeneralData* s = Section(skin, "MENUITEM");
  return s && UsableMenuColor(s->HotColor) ? s->HotColor : PlainColor(clHighlight);
}

TColor MenuHighlightTextColor(const LoadedSkin& skin) {
  const TsGeneralData* s = Section(skin, "MENUITEM");
  if (s && UsableMenuColor(s->HotFontColor[0]) && s->HotFontColor[0] != 0 && UsableMenuColor(s->HotColor))
    return s->HotFontColor[0];
  return PlainColor(clHighlightText);
}
