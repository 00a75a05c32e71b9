// The option values that the main window's elements take from the stored skin "PearlMist", and
// a check that reads every one of them back from a loaded skin's tables. Used by the core tests
// and, through the skin manager, by the window tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/LoadedSkin.h"

namespace skintest {

struct OptionValue {
  const char* section;
  const char* key;
  const char* value;
};

inline const std::vector<OptionValue>& PearlMistValues() {
  static const char* const titleGradient = "16777215;15856113;97;0;0;15856113;15856113;0;0;0";
  static const char* const verticalGradient = "16777215;15856113;97;1;0;15856113;15856113;0;1;0";
  static const std::vector<OptionValue> values = [] {
    std::vector<OptionValue> v = {
        {"GLOBALINFO", "SHADOW1OFFSET", "1"}, {"GLOBALINFO", "SHADOW1BLUR", "2"}, {"GLOBALINFO", "VERSION", "6.5"},
        {"GLOBALINFO", "BISPACE", "2"}, {"GLOBALINFO", "BIRIGHT", "0"}, {"GLOBALINFO", "BILEFT", "2"},
        {"GLOBALINFO", "BIVALIGN", "0"}, {"GLOBALINFO", "COLOR", "15461355"}, {"GLOBALINFO", "HOTCOLOR", "16119285"},
        {"GLOBALINFO", "BORDERCOLOR", "15592941"}, {"GLOBALINFO", "TCLEFT", "16777215"},
        {"GLOBALINFO", "SHADOW1COLOR", "6705944"}, {"GLOBALINFO", "FONTCOLOR", "2171169"},
        {"GLOBALINFO", "FORMOFFSET", "16"}, {"GLOBALINFO", "BORDERWIDTH", "26"}, {"GLOBALINFO", "CAPTIONHEIGHT", "30"},
        {"GLOBALINFO", "BORDERMODE", "1"}, {"GLOBALINFO", "TITLEHEIGHT", "51"}, {"GLOBALINFO", "TCBOTTOM", "2171169"},
        {"GLOBALINFO", "TCTOP", "255"}, {"GLOBALINFO", "CENTEROFFSET", "5"}, {"GLOBALINFO", "BIKEEPHUE", "2"},
        {"GLOBALINFO", "BICONCLOSEGLOWMARGIN", "20"}, {"GLOBALINFO", "BICONMINGLOWMARGIN", "20"},
        {"GLOBALINFO", "BICONMAXGLOWMARGIN", "20"}, {"GLOBALINFO", "BICONCLOSEGLOW", "1"},
        {"GLOBALINFO", "BICONMINGLOW", "1"}, {"GLOBALINFO", "BICONMAXGLOW", "1"}, {"GLOBALINFO", "BICONNORMGLOW", "1"},
        {"GLOBALINFO", "BICONNORMGLOWMARGIN", "20"}, {"GLOBALINFO", "MAXHEIGHT", "34"},
        {"FORM", "COLOR", "15856113"}, {"FORM", "HOTCOLOR", "15856112"}, {"FORM", "FONTCOLOR", "2171169"},
        {"FORM", "GRADIENTPERCENT", "0"}, {"FORM", "HOTGRADIENTPERCENT", "0"}, {"FORM", "TRANSPARENCY", "0"},
        {"FORMTITLE", "HOTTRANSPARENCY", "0"}, {"FORMTITLE", "TRANSPARENCY", "100"}, {"FORMTITLE", "GRADIENTPERCENT", "100"},
        {"FORMTITLE", "HOTGRADIENTPERCENT", "100"},
        {"FORMTITLE", "HOTGRADIENTDATA", "12632256;15856113;97;0;0;15856113;15856113;0;0;0"},
        {"FORMTITLE", "GRADIENTDATA", titleGradient}, {"FORMTITLE", "IMAGEPERCENT", "0"},
        {"FORMTITLE", "HOTIMAGEPERCENT", "0"}, {"FORMTITLE", "FONTCOLOR", "8418916"},
        {"BUTTON", "TRANSPARENCY", "0"}, {"BUTTON", "HOTTRANSPARENCY", "0"}, {"BUTTON", "FADINGENABLED", "TRUE"},
        {"BUTTON", "FADINGITERATIONS", "20"}, {"BUTTON", "GRADIENTPERCENT", "85"},
        {"BUTTON", "GRADIENTDATA",
         "16777215;15198183;50;0;0;15198183;15198183;2;0;0;15198183;15856113;45;0;0;15856113;15856113;0;0;0"},
        {"BUTTON", "HOTGRADIENTPERCENT", "81"},
        {"BUTTON", "HOTGRADIENTDATA",
         "16777215;14869218;50;0;0;14869218;14342874;2;0;0;14342874;15132390;45;0;0;15132390;15132390;0;0;0"},
        {"BUTTON", "HOTIMAGEPERCENT", "19"}, {"BUTTON", "IMAGEPERCENT", "15"}, {"BUTTON", "COLOR", "15856113"},
        {"BUTTON", "FONTCOLOR", "3484708"}, {"BUTTON", "GLOWMARGIN", "9"}, {"BUTTON", "GLOW", "1"},
        {"LACQUEREDIT", "TRANSPARENCY", "100"}, {"LACQUEREDIT", "HOTGRADIENTPERCENT", "100"},
        {"LACQUEREDIT", "HOTTRANSPARENCY", "70"}, {"LACQUEREDIT", "FADINGENABLED", "TRUE"},
        {"LACQUEREDIT", "FADINGITERATIONS", "20"}, {"LACQUEREDIT", "FONTCOLOR", "2171169"},
        {"LACQUEREDIT", "HOTGRADIENTDATA", "16777215;12632256;52;0;0;12632256;14869218;45;0;0;14869218;14869218;0;0;0"},
        {"LACQUEREDIT", "COLOR", "16777215"}, {"LACQUEREDIT", "GLOW", "1"}, {"LACQUEREDIT", "GLOWMARGIN", "10"},
        {"WEBBUTTON", "TRANSPARENCY", "100"}, {"WEBBUTTON", "HOTTRANSPARENCY", "100"},
        {"WEBBUTTON", "FADINGENABLED", "TRUE"}, {"WEBBUTTON", "FADINGITERATIONS", "20"},
        {"WEBBUTTON", "HOTFONTCOLOR", "16742400"}, {"WEBBUTTON", "COLOR", "15856113"}, {"WEBBUTTON", "FONTCOLOR", "2171169"},
        {"EDIT", "COLOR", "16777215"}, {"EDIT", "HOTCOLOR", "16777215"},
        {"MENUITEM", "TRANSPARENCY", "100"}, {"MENUITEM", "HOTTRANSPARENCY", "50"}, {"MENUITEM", "HOTGRADIENTPERCENT", "100"},
        {"MENUITEM", "HOTCOLOR", "12632256"}, {"MENUITEM", "HOTFONTCOLOR", "0"},
        {"MENUITEM", "HOTGRADIENTDATA",
         "16777215;15132389;24;2;0;15132389;15856112;24;2;0;15856112;15856113;24;2;0;15856113;15856112;24;2;0;15856112;15856112;0;2;0"},
        {"MENUITEM", "FONTCOLOR", "5656386"}, {"MENUITEM", "HOTIMAGEPERCENT", "0"},
    };
    for (const char* s : {"SCROLLBAR1H", "SCROLLBAR2H"})
      v.insert(v.end(), {{s, "GRADIENTPERCENT", "100"}, {s, "GRADIENTDATA", titleGradient},
                         {s, "HOTGRADIENTDATA", titleGradient}, {s, "HOTGRADIENTPERCENT", "100"}});
    for (const char* s : {"SCROLLBAR1V", "SCROLLBAR2V"})
      v.insert(v.end(), {{s, "GRADIENTPERCENT", "100"}, {s, "GRADIENTDATA", verticalGradient},
                         {s, "HOTGRADIENTDATA", verticalGradient}, {s, "HOTGRADIENTPERCENT", "100"}});
    for (const char* s : {"SCROLLSLIDERH", "SCROLLSLIDERV"})
      v.insert(v.end(), {{s, "GRADIENTPERCENT", "0"}, {s, "HOTGRADIENTPERCENT", "0"}, {s, "TRANSPARENCY", "100"},
                         {s, "HOTTRANSPARENCY", "100"}});
    for (const char* s : {"SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT"})
      v.insert(v.end(), {{s, "TRANSPARENCY", "100"}, {s, "HOTTRANSPARENCY", "100"}});
    return v;
  }();
  return values;
}

// The image items the main window's elements look up.
inline const std::vector<std::pair<const char*, const char*>>& PearlMistItems() {
  static const std::vector<std::pair<const char*, const char*>> items = [] {
    std::vector<std::pair<const char*, const char*>> v;
    for (const char* key : {"BICONCLOSE", "BICONMAX", "BICONNORM", "RADIOUNCHECKED", "BOXUNCHECKED", "RADIOCHECKED",
                            "BOXCHECKED", "BOXGRAYED", "GRIPIMAGE", "SMALLCHECKED", "SMALLUNCHECKED", "SMALLGRAYED",
                            "BICONMIN", "EXBORDER", "CHECK", "BICONHELP", "BICONCLOSEGLOW0", "BICONMINGLOW0",
                            "BICONMAXGLOW0", "BICONNORMGLOW0"})
      v.push_back({"GLOBALINFO", key});
    for (const char* s : {"FORM", "FORMTITLE", "BUTTON", "LACQUEREDIT", "EDIT", "SCROLLBAR1H", "SCROLLBAR2H", "SCROLLBAR1V",
                          "SCROLLBAR2V", "SCROLLSLIDERH", "SCROLLSLIDERV", "MENUITEM"})
      v.push_back({s, "BORDERSMASK"});
    v.insert(v.end(), {{"FORMTITLE", "HOTPATTERN"}, {"MENUITEM", "HOTPATTERN"}, {"BUTTON", "GLOW0"}, {"LACQUEREDIT", "GLOW0"}});
    for (const char* s : {"SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT"}) v.push_back({s, "GLYPHMASK"});
    return v;
  }();
  return items;
}

// The value of `key` of a section as the tables hold it, written as the options text writes it;
// "" for keys no loading step reads.
inline std::string TableValue(const LoadedSkin& skin, const TsGeneralData& s, const std::string& key) {
  auto n = [](int64_t v) { return std::to_string(v); };
  auto b = [](bool v) { return std::string(v ? "TRUE" : "FALSE"); };
  if (s.ClassName == "GLOBALINFO") {
    const TsSkinData& d = skin.Data;
    const std::pair<const char*, int64_t> data[] = {
        {"SHADOW1OFFSET", d.Shadow1Offset}, {"SHADOW1BLUR", d.Shadow1Blur}, {"BISPACE", d.BISpace}, {"BIRIGHT", d.BIRight},
        {"BILEFT", d.BILeft}, {"BIVALIGN", d.BIVAlign}, {"BORDERCOLOR", d.BorderColor}, {"SHADOW1COLOR", d.Shadow1Color},
        {"FORMOFFSET", d.FormOffset}, {"BORDERWIDTH", d.BorderWidth}, {"BORDERMODE", d.BorderMode},
        {"TITLEHEIGHT", d.TitleHeight}, {"CENTEROFFSET", d.CenterOffset}, {"BIKEEPHUE", d.BIKeepHue},
        {"BICONCLOSEGLOWMARGIN", d.BICloseGlowMargin}, {"BICONMINGLOWMARGIN", d.BIMinGlowMargin},
        {"BICONMAXGLOWMARGIN", d.BIMaxGlowMargin}, {"BICONCLOSEGLOW", d.BICloseGlow}, {"BICONMINGLOW", d.BIMinGlow},
        {"BICONMAXGLOW", d.BIMaxGlow}, {"MAXHEIGHT", d.MaxHeight}};
    for (const auto& [name, value] : data)
      if (key == name) return n(value);
    if (key == "VERSION") return d.Version == 6.5 ? "6.5" : n(static_cast<int64_t>(d.Version * 100));
  }
  const std::pair<const char*, std::string> fields[] = {
      {"COLOR", n(s.Color)}, {"HOTCOLOR", n(s.HotColor)}, {"FONTCOLOR", n(s.FontColor[0])}, {"TCLEFT", n(s.FontColor[1])},
      {"TCTOP", n(s.FontColor[2])}, {"TCBOTTOM", n(s.FontColor[4])}, {"HOTFONTCOLOR", n(s.HotFontColor[0])},
      {"TRANSPARENCY", n(s.Transparency)}, {"HOTTRANSPARENCY", n(s.HotTransparency)},
      {"GRADIENTPERCENT", n(s.GradientPercent)}, {"HOTGRADIENTPERCENT", n(s.HotGradientPercent)},
      {"GRADIENTDATA", s.GradientData}, {"HOTGRADIENTDATA", s.HotGradientData}, {"IMAGEPERCENT", n(s.ImagePercent)},
      {"HOTIMAGEPERCENT", n(s.HotImagePercent)}, {"FADINGENABLED", b(s.FadingEnabled)},
      {"FADINGITERATIONS", n(s.FadingIterations)}, {"GLOW", n(s.GlowCount)}, {"GLOWMARGIN", n(s.GlowMargin)}};
  for (const auto& [name, value] : fields)
    if (key == name) return value;
  return "";
}

// Every value of the table and every needed image item, read back from the loaded tables. Keys
// that no loading step reads (CAPTIONHEIGHT, BICONNORMGLOW...) are checked in the options text.
inline void ExpectPearlMistTables(const LoadedSkin& skin, const std::string& optionsText) {
  for (const OptionValue& v : PearlMistValues()) {
    int index = skin.SectionIndexOf(v.section);
    ASSERT_GE(index, 0) << v.section;
    std::string actual = TableValue(skin, skin.Sections[static_cast<size_t>(index)], v.key);
    if (actual.empty())
      EXPECT_NE(optionsText.find(std::string(v.key) + "=" + v.value + "\r\n"), std::string::npos) << v.section << "/" << v.key;
    else
      EXPECT_EQ(actual, v.value) << v.section << "/" << v.key;
  }
  for (const auto& [section, key] : PearlMistItems()) {
    int index = skin.ImageItemIndexExact(section, key);
    ASSERT_GE(index, 0) << section << "/" << key;
    const TsMaskData& item = skin.Items[static_cast<size_t>(index)];
    const Bitmap& picture = item.Image ? *item.Image : skin.MasterBitmap;
    EXPECT_FALSE(item.R.Empty()) << section << "/" << key;
    EXPECT_TRUE(item.R.left >= 0 && item.R.top >= 0 && item.R.right <= picture.Width() && item.R.bottom <= picture.Height())
        << section << "/" << key << " lies outside its picture";
  }
}

}  // namespace skintest
