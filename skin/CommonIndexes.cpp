// See CommonIndexes.h.
#include "skin/CommonIndexes.h"

#include "skin/SkinOptionsLoader.h"

namespace {

// A section with its border mask, glyph (only when the section exists) and textures.
TsSectionIndexes SectionWithItems(const LoadedSkin& skin, std::string_view name) {
  TsSectionIndexes s;
  s.Section = skin.SectionIndexOf(name);
  s.BorderMask = skin.ImageItemIndexOf(s.Section, name, "BORDERSMASK");
  if (s.Section >= 0) s.GlyphMask = skin.ImageItemIndexOf(s.Section, name, "GLYPHMASK");
  s.Texture = skin.TextureItemIndexOf(s.Section, name, "PATTERN");
  s.HotTexture = skin.TextureItemIndexOf(s.Section, name, "HOTPATTERN");
  return s;
}

}  // namespace

TsCommonIndexes PrepareCommonIndexes(LoadedSkin& skin) {
  TsCommonIndexes c;
  constexpr std::string_view global = "GLOBALINFO";
  c.GlobalInfo = skin.SectionIndexOf(global);
  auto globalItem = [&](std::string_view key) { return skin.ImageItemIndexOf(c.GlobalInfo, global, key); };
  c.CheckBoxChecked = globalItem("BOXCHECKED");
  c.CheckBoxUnchecked = globalItem("BOXUNCHECKED");
  c.CheckBoxGrayed = globalItem("BOXGRAYED");
  c.RadioButtonChecked = globalItem("RADIOCHECKED");
  c.RadioButtonUnchecked = globalItem("RADIOUNCHECKED");
  c.RadioButtonGrayed = globalItem("RADIOGRAYED");
  c.SmallBoxChecked = globalItem("SMALLCHECKED");
  c.SmallBoxUnchecked = globalItem("SMALLUNCHECKED");
  c.SmallBoxGrayed = globalItem("SMALLGRAYED");
  c.ExBorder = globalItem("EXBORDER");

  c.ComboButton.Section = skin.SectionIndexOf("COMBOBTN");
  c.ComboButton.BorderMask = skin.ImageItemIndexExact("COMBOBTN", "BORDERSMASK");
  c.ComboButton.Texture = skin.TextureItemIndexOf(c.ComboButton.Section, "COMBOBTN", "PATTERN");
  c.ComboButton.HotTexture = skin.TextureItemIndexOf(c.ComboButton.Section, "COMBOBTN", "HOTPATTERN");
  c.ComboBoxGlyph = skin.ImageItemIndexExact("COMBOBOX", "GLYPHMASK");

  // The tab sections' masks are searched from TABTOP's place in the inheritance chain.
  const int tabTop = skin.SectionIndexOf("TABTOP");
  auto tab = [&](std::string_view name) {
    TsSectionIndexes s;
    s.Section = skin.SectionIndexOf(name);
    s.BorderMask = skin.ImageItemIndexOf(tabTop, name, "BORDERSMASK");
    return s;
  };
  c.TabTop = tab("TABTOP");
  c.TabBottom = tab("TABBOTTOM");
  c.TabLeft = tab("TABLEFT");
  c.TabRight = tab("TABRIGHT");

  c.ScrollButtonTop = SectionWithItems(skin, "SCROLLBTNTOP");
  c.ScrollButtonBottom = SectionWithItems(skin, "SCROLLBTNBOTTOM");
  c.ScrollButtonLeft = SectionWithItems(skin, "SCROLLBTNLEFT");
  c.ScrollButtonRight = SectionWithItems(skin, "SCROLLBTNRIGHT");
  c.ScrollSliderV = SectionWithItems(skin, "SCROLLSLIDERV");
  c.ScrollSliderH = SectionWithItems(skin, "SCROLLSLIDERH");
  for (auto [name, target] : {std::pair{"SCROLLBAR1H", &c.ScrollBar1H}, std::pair{"SCROLLBAR1V", &c.ScrollBar1V},
                              std::pair{"SCROLLBAR2H", &c.ScrollBar2H}, std::pair{"SCROLLBAR2V", &c.ScrollBar2V}}) {
    *target = SectionWithItems(skin, name);
    target->GlyphMask = -1;  // the tracks have no glyph
  }
  ResolveSectionCorners(skin);
  return c;
}
