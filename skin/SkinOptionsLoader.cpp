// See SkinOptionsLoader.h.
#include "skin/SkinOptionsLoader.h"

#include <algorithm>
#include <unordered_map>

#include "framework/Exception.h"
#include "framework/Strings.h"
#include "pixel/BitmapBlend.h"
#include "pixel/ImageDecoder.h"
#include "skin/ColorShift.h"
#include "skin/ParentChainMemo.h"
#include "skin/SkinArchive.h"
#include "skin/SkinFileSystem.h"
#include "skin/StoredSkins.h"

namespace {

constexpr std::string_view kGlobalInfo = "GLOBALINFO";
constexpr std::string_view kMasterBitmap = "MASTERBITMAP";
// Pictures at least this large stay JPEG patterns; smaller ones become texture items.
constexpr int64_t kPatternMinPixels = 90000;

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

int16_t ToInt16(int value) { return static_cast<int16_t>(std::clamp(value, -32768, 32767)); }
int16_t NonNegative16(int value) { return static_cast<int16_t>(std::clamp(value, 0, 32767)); }

ImageFileKind KindOfName(std::string_view name) {
  std::string upper = bv::UpperCaseAscii(name);
  if (Contains(upper, ".BMP")) return ImageFileKind::ifBmp;
  if (Contains(upper, ".JPG") || Contains(upper, ".JPEG")) return ImageFileKind::ifJpeg;
  if (Contains(upper, ".PNG")) return ImageFileKind::ifPng;
  return ImageFileKind::ifBmp;
}

// The pieces between separators, empty ones included ("a;;b" gives three).
std::vector<std::string_view> SplitFields(std::string_view text, char separator) {
  std::vector<std::string_view> fields;
  for (size_t pos = 0;;) {
    size_t next = text.find(separator, pos);
    fields.push_back(text.substr(pos, next == std::string_view::npos ? std::string_view::npos : next - pos));
    if (next == std::string_view::npos) return fields;
    pos = next + 1;
  }
}

bool NamesJpeg(std::string_view value) {
  std::string upper = bv::UpperCaseAscii(value);
  return Contains(upper, ".JPG") || Contains(upper, ".JPEG");
}

// The number in columns `from` to `to` (counted from 1) of a fixed-column value.
int Column(std::string_view value, size_t from, size_t to) {
  std::optional<int32_t> v;
  if (value.size() >= to) v = ParseSkinInteger(value.substr(from - 1, to - from + 1));
  if (!v) throw EConvertError(L"'" + bv::AnsiToWide(value) + L"' is not a valid skin image value");
  return *v;
}

int Field(std::string_view field, std::string_view value) {
  std::optional<int32_t> v = ParseSkinInteger(field);
  if (!v) throw EConvertError(L"'" + bv::AnsiToWide(value) + L"' is not a valid skin image value");
  return *v;
}

Rect FixedRect(std::string_view value) {
  return {Column(value, 2, 5), Column(value, 7, 10), Column(value, 12, 15), Column(value, 17, 20)};
}

// Legacy values: a name with "#", then four numbers (the rectangle) and two or three more (image
// count, mask type, stretch mode), separated by blanks, commas or parentheses. Anything else
// makes no item.
std::optional<ImageItemValue> ParseLegacy(std::string_view value) {
  std::vector<int> numbers;
  std::string token;
  bool first = true;
  auto flush = [&]() -> bool {
    if (token.empty()) return true;
    if (first) {
      first = false;
    } else {
      std::optional<int32_t> v = ParseSkinInteger(token);
      if (!v) return false;
      numbers.push_back(*v);
    }
    token.clear();
    return true;
  };
  for (char c : value) {
    if (c == ' ' || c == '(' || c == ')' || c == ',' || c == '\t') {
      if (!flush()) return std::nullopt;
    } else {
      token += c;
    }
  }
  if (!flush() || numbers.size() < 6 || numbers.size() > 7) return std::nullopt;
  ImageItemValue item;
  item.syntax = ImageItemSyntax::isLegacy;
  item.R = {numbers[0], numbers[1], numbers[2], numbers[3]};
  item.ImageCount = numbers[4];
  item.MaskType = numbers[5];
  item.StretchMode = numbers.size() == 7 ? numbers[6] : 1;
  return item;
}

// Keeps an item's numbers within what its picture can hold, so that painting arithmetic on
// them cannot overflow: coordinates within the largest decodable picture, at most one state
// per pixel, margins within one state picture.
Rect WithinPicture(const Rect& r) {
  auto coordinate = [](int v) { return std::clamp(v, 0, static_cast<int>(kMaxDecodedSide)); };
  return {coordinate(r.left), coordinate(r.top), coordinate(r.right), coordinate(r.bottom)};
}

void ClampItem(TsMaskData& item) {
  item.R = WithinPicture(item.R);
  const int width = std::max(item.R.Width(), 0), height = std::max(item.R.Height(), 0);
  item.ImageCount = static_cast<int16_t>(std::clamp<int>(item.ImageCount, 0, std::clamp(width, 1, 32767)));
  item.MaskType = static_cast<int16_t>(std::clamp<int>(item.MaskType, 0, std::clamp(height - 1, 0, 32767)));
  const int across = StateWidth(item), down = StateHeight(item);
  auto within = [](int16_t v, int limit) { return static_cast<int16_t>(std::clamp<int>(v, 0, limit)); };
  item.WL = within(item.WL, across), item.WR = within(item.WR, across);
  item.WT = within(item.WT, down), item.WB = within(item.WB, down);
  item.BorderWidth = within(item.BorderWidth, std::max(across, down));
}

// Percentages of a section from 0 to 100: painting multiplies and adds them.
void ClampPercentages(TsSectionLook& s) {
  for (int32_t TsSectionLook::*field : {&TsSectionLook::Transparency, &TsSectionLook::GradientPercent,
                                        &TsSectionLook::ImagePercent, &TsSectionLook::HotTransparency,
                                        &TsSectionLook::HotGradientPercent, &TsSectionLook::HotImagePercent})
    s.*field = std::clamp(s.*field, 0, 100);
}

// Margins of an item whose skin gives none: a third of one state picture on every side.
void ComputeMargins(TsMaskData& item) {
  int across = item.ImageCount * 3;
  int down = (item.MaskType + 1) * 3;
  item.WL = item.WR = ToInt16(across > 0 ? item.R.Width() / across : 0);
  item.WT = item.WB = ToInt16(down > 0 ? item.R.Height() / down : 0);
}

std::optional<Bitmap> DecodeNamed(const SkinLoadContext& context, std::string_view name, bool filesOnly) {
  std::optional<std::vector<uint8_t>> bytes = context.images.Load(name, filesOnly);
  if (!bytes || !context.decoder) return std::nullopt;
  std::optional<Bitmap> picture = context.decoder->Decode(KindOfName(name), *bytes);
  if (!picture || picture->Width() == 0 || picture->Height() == 0) return std::nullopt;
  return picture;
}

// Appends the item that `value` describes for key `key` of `section`, unless its picture is missing.
void AddImageItem(LoadedSkin& skin, const SkinLoadContext& context, const std::string& section, const std::string& key,
                  const ImageItemValue& value, bool filesOnly) {
  TsMaskData item;
  item.SectionName = section;
  item.PropertyName = key;
  item.Manager = context.manager;
  item.ImageCount = NonNegative16(value.ImageCount);
  item.MaskType = NonNegative16(value.MaskType);
  item.StretchMode = ToInt16(value.StretchMode);
  item.BorderWidth = ToInt16(value.BorderWidth);
  switch (value.syntax) {
    case ImageItemSyntax::isBorder:
    case ImageItemSyntax::isLegacy:
      item.ImgType = TvlImgType::itisaBorder;
      item.R = WithinPicture(value.R);
      item.WL = ToInt16(value.WL), item.WT = ToInt16(value.WT), item.WR = ToInt16(value.WR), item.WB = ToInt16(value.WB);
      if (item.WL == 0 && item.WT == 0 && item.WR == 0 && item.WB == 0) {
        if (item.BorderWidth == 0) ComputeMargins(item);
        else item.WL = item.WT = item.WR = item.WB = item.BorderWidth;
      }
      break;
    case ImageItemSyntax::isGlyph:
      item.ImgType = TvlImgType::itisaGlyph;
      item.R = WithinPicture(value.R);
      break;
    case ImageItemSyntax::isTexture:
      item.ImgType = TvlImgType::itisaTexture;
      item.R = WithinPicture(value.R);
      break;
    case ImageItemSyntax::isOwnPicture: {
      std::optional<Bitmap> picture = DecodeNamed(context, value.fileName, filesOnly);
      if (!picture) return;
      item.ImgType = static_cast<TvlImgType>(std::clamp(value.ImgType, 0, 4));
      if (KindOfName(value.fileName) == ImageFileKind::ifBmp) {
        if (item.ImgType != TvlImgType::itisaTexture) *picture = picture->Converted(PixelFormat::pf24bit);
      } else if (picture->Format() == PixelFormat::pf32bit) {
        ClearTransparentWhite(*picture);
      }
      item.R = picture->Bounds();
      item.StretchMode = 4;
      item.Image = std::make_shared<Bitmap>(std::move(*picture));
      if (value.hasMargins) {
        item.WL = ToInt16(value.WL), item.WT = ToInt16(value.WT), item.WR = ToInt16(value.WR), item.WB = ToInt16(value.WB);
      } else {
        ComputeMargins(item);
      }
      break;
    }
    case ImageItemSyntax::isPlainBitmap: {
      std::optional<Bitmap> picture = DecodeNamed(context, value.fileName, filesOnly);
      if (!picture) return;
      item.SectionName = bv::UpperCaseAscii(section);
      item.PropertyName = bv::UpperCaseAscii(key);
      item.ImgType = TvlImgType::itisaBorder;
      item.ImageCount = 3;
      item.MaskType = 1;
      item.R = picture->Bounds();
      item.Image = std::make_shared<Bitmap>(picture->Converted(PixelFormat::pf24bit));
      ComputeMargins(item);
      break;
    }
  }
  ClampItem(item);
  skin.Items.push_back(std::move(item));
}

// Scans every key of the given sections for image item values.
void ScanImageItems(LoadedSkin& skin, const SkinLoadContext& context, const SkinIni& ini, bool commonOnly) {
  for (const SkinIni::Section& section : ini.Sections()) {
    bool global = SameSkinName(section.name, kGlobalInfo);
    if (commonOnly && global) continue;
    for (const auto& [key, value] : section.keys) {
      if (global && SameSkinName(key, kMasterBitmap)) continue;
      std::optional<ImageItemValue> parsed;
      try {
        parsed = ParseImageItemValue(value);
      } catch (const EConvertError& e) {
        throw EConvertError(L"Skin option [" + bv::AnsiToWide(section.name) + L"] " + bv::AnsiToWide(key) + L": " +
                            e.Message());
      }
      if (!parsed) continue;
      // Common sections only bring pictures from files and legacy items.
      if (commonOnly && parsed->syntax != ImageItemSyntax::isPlainBitmap && parsed->syntax != ImageItemSyntax::isLegacy)
        continue;
      AddImageItem(skin, context, section.name, key, *parsed, commonOnly);
    }
  }
}

void ScanPatterns(LoadedSkin& skin, const SkinLoadContext& context, const SkinIni& ini, bool filesOnly) {
  for (const SkinIni::Section& section : ini.Sections()) {
    for (const auto& [key, value] : section.keys) {
      if (!NamesJpeg(value)) continue;
      std::optional<Bitmap> picture = DecodeNamed(context, value, filesOnly);
      if (!picture) continue;
      std::string sectionName = bv::UpperCaseAscii(section.name), keyName = bv::UpperCaseAscii(key);
      if (static_cast<int64_t>(picture->Width()) * picture->Height() >= kPatternMinPixels) {
        skin.Patterns.push_back({std::make_shared<Bitmap>(std::move(*picture)), sectionName, keyName});
        continue;
      }
      TsMaskData item;
      item.Image = std::make_shared<Bitmap>(picture->Converted(PixelFormat::pf24bit));
      item.SectionName = sectionName;
      item.PropertyName = keyName;
      item.ImgType = TvlImgType::itisaTexture;
      item.ImageCount = 1;
      item.Manager = context.manager;
      ClampItem(item);
      skin.Items.push_back(std::move(item));
    }
  }
}

std::array<TColor, 5> ReadFontColors(const SkinIni& ini, std::string_view section, std::string_view prefix) {
  static constexpr std::string_view sides[4] = {"TCLEFT", "TCTOP", "TCRIGHT", "TCBOTTOM"};
  std::array<TColor, 5> colors{};
  colors[0] = ReadIniIntInherited(ini, section, std::string(prefix) + "FONTCOLOR", 0);
  for (int i = 0; i < 4; ++i) colors[i + 1] = ReadIniIntInherited(ini, section, std::string(prefix) + std::string(sides[i]), -1);
  return colors;
}

bool ReadBoolInherited(const SkinIni& ini, std::string_view section, std::string_view key) {
  return SameSkinName(ReadIniStrInherited(ini, section, key, "FALSE"), "TRUE");
}

TsGeneralData ReadSection(const SkinIni& ini, const std::string& name) {
  auto integer = [&](std::string_view key, int32_t fallback) { return ReadIniIntInherited(ini, name, key, fallback); };
  TsGeneralData s;
  s.ParentClass = ini.ReadString(name, "PARENTCLASS", "");
  s.ClassName = name;
  s.Color = PlainColor(integer("COLOR", 16777215));
  s.FontColor = ReadFontColors(ini, name, "");
  s.HotFontColor = ReadFontColors(ini, name, "HOT");
  s.GiveOwnFont = ReadBoolInherited(ini, name, "GIVEOWNFONT");
  s.GlowCount = integer("GLOW", 0);
  s.GlowMargin = integer("GLOWMARGIN", 0);
  s.ReservedBoolean = ReadBoolInherited(ini, name, "RESERVEDBOOLEAN");
  s.Transparency = integer("TRANSPARENCY", 0);
  s.GradientPercent = integer("GRADIENTPERCENT", 0);
  s.GradientData = ReadIniStrInherited(ini, name, "GRADIENTDATA", " ");
  s.ImagePercent = integer("IMAGEPERCENT", 0);
  s.ShowFocus = ReadBoolInherited(ini, name, "SHOWFOCUS");
  s.FadingEnabled = ReadBoolInherited(ini, name, "FADINGENABLED");
  s.FadingIterations = integer("FADINGITERATIONS", 5);
  s.HotColor = integer("HOTCOLOR", 16777215);
  s.HotTransparency = integer("HOTTRANSPARENCY", 0);
  s.HotGradientPercent = integer("HOTGRADIENTPERCENT", 0);
  s.HotGradientData = ReadIniStrInherited(ini, name, "HOTGRADIENTDATA", "");
  s.HotImagePercent = integer("HOTIMAGEPERCENT", 0);
  s.HotGlowColor = PlainColor(integer("HGCOL", 16777215));
  s.GlowColor = PlainColor(integer("GCOL", 16777215));
  s.HotGlowSize = static_cast<uint8_t>(integer("HGSIZE", 0));
  s.GlowSize = static_cast<uint8_t>(integer("GSIZE", 0));
  if (s.GradientData != " ") s.GradientArray = ParseGradient(s.GradientData);
  if (s.HotGradientData != " ") s.HotGradientArray = ParseGradient(s.HotGradientData);
  ClampPercentages(s);
  return s;
}

void ReadSkinData(TsSkinData& data, const SkinIni& ini) {
  static constexpr struct {
    const char* key;
    int16_t TsSkinData::*field;
    int16_t fallback;
  } smallValues[] = {
      {"SHADOW1OFFSET", &TsSkinData::Shadow1Offset, 0},   {"SHADOW1BLUR", &TsSkinData::Shadow1Blur, -1},
      {"SHADOW1TRANSPARENCY", &TsSkinData::Shadow1Transparency, 0},
      {"BORDERWIDTH", &TsSkinData::BorderWidth, 4},       {"TITLEHEIGHT", &TsSkinData::TitleHeight, 30},
      {"MAXHEIGHT", &TsSkinData::MaxHeight, 0},           {"FORMOFFSET", &TsSkinData::FormOffset, 8},
      {"CENTEROFFSET", &TsSkinData::CenterOffset, 0},     {"BORDERMODE", &TsSkinData::BorderMode, 0},
      {"BISPACE", &TsSkinData::BISpace, 0},               {"BIVALIGN", &TsSkinData::BIVAlign, 0},
      {"BIRIGHT", &TsSkinData::BIRight, 0},               {"BILEFT", &TsSkinData::BILeft, 0},
      {"BIKEEPHUE", &TsSkinData::BIKeepHue, 0},           {"BICONCLOSEGLOW", &TsSkinData::BICloseGlow, 0},
      {"BICONCLOSEGLOWMARGIN", &TsSkinData::BICloseGlowMargin, 0},
      {"BICONMAXGLOW", &TsSkinData::BIMaxGlow, 0},        {"BICONMAXGLOWMARGIN", &TsSkinData::BIMaxGlowMargin, 0},
      {"BICONMINGLOW", &TsSkinData::BIMinGlow, 0},        {"BICONMINGLOWMARGIN", &TsSkinData::BIMinGlowMargin, 0},
  };
  // 16-bit fields keep the low 16 bits of the number, as a 16-bit store does.
  for (const auto& v : smallValues) data.*v.field = static_cast<int16_t>(ini.ReadInteger(kGlobalInfo, v.key, v.fallback));
  data.Version = ini.ReadFloat(kGlobalInfo, "VERSION", 0);
  data.Author = ini.ReadString(kGlobalInfo, "AUTHOR", "");
  data.Description = ini.ReadString(kGlobalInfo, "DESCRIPTION", "");
  data.Shadow1Color = ini.ReadInteger(kGlobalInfo, "SHADOW1COLOR", 0);
  data.BorderColor = ini.ReadInteger(kGlobalInfo, "BORDERCOLOR", 0);
}

void CheckVersion(const TsSkinData& data, const SkinLoadContext& context) {
  if (data.Version > kNewestSupportedSkinVersion && context.showMessage) context.showMessage(kSkinVersionMessage);
}

void ApplyColorShifts(LoadedSkin& skin, const SkinLoadContext& context) {
  ApplyHueOffset(skin, context.hueOffset);
  ApplySaturation(skin, context.saturation);
}

std::string NarrowText(std::wstring_view text) {
  std::string out;
  for (wchar_t c : text) out += c < 0x100 ? static_cast<char>(c) : '?';
  return out;
}

// "c0 c1 c2 c3 c4": the five colours, or 0 and four times -1 unless there are exactly five numbers.
std::array<TColor, 5> ParseFontColorList(std::string_view text) {
  std::array<TColor, 5> colors{0, -1, -1, -1, -1};
  std::vector<int32_t> numbers;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t start = text.find_first_not_of(' ', pos);
    if (start == std::string_view::npos) break;
    size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    std::optional<int32_t> v = ParseSkinInteger(text.substr(start, end - start));
    if (!v) return colors;
    numbers.push_back(*v);
    pos = end;
  }
  if (numbers.size() == 5) std::copy(numbers.begin(), numbers.end(), colors.begin());
  return colors;
}

}  // namespace

std::optional<std::vector<uint8_t>> SkinImageSource::Load(std::string_view name, bool filesOnly) const {
  if (!filesOnly && archive) {
    const TvlImageItem* member = FindMember(*archive, name);
    if (!member) return std::nullopt;
    return member->Data;
  }
  if (!files) return std::nullopt;
  std::wstring wide = bv::AnsiToWide(name);
  std::wstring path = wide.find(L':') != std::wstring::npos ? wide : skinPath + wide;
  if (!files->FileExists(path)) return std::nullopt;
  return files->ReadFile(path);
}

std::optional<ImageItemValue> ParseImageItemValue(std::string_view value) {
  if (value.empty()) return std::nullopt;
  ImageItemValue item;
  switch (value[0]) {
    case '^':
      item.syntax = ImageItemSyntax::isBorder;
      item.R = FixedRect(value);
      item.WL = Column(value, 22, 25), item.WT = Column(value, 27, 30);
      item.WR = Column(value, 32, 35), item.WB = Column(value, 37, 40);
      item.hasMargins = true;
      item.ImageCount = Column(value, 42, 42);
      item.MaskType = Column(value, 44, 44);
      item.StretchMode = Column(value, 46, 46);
      item.BorderWidth = Column(value, 48, 48);
      return item;
    case '@':
      item.syntax = ImageItemSyntax::isGlyph;
      item.R = FixedRect(value);
      item.ImageCount = Column(value, 22, 22);
      item.MaskType = Column(value, 24, 24);
      return item;
    case '~':
      item.syntax = ImageItemSyntax::isTexture;
      item.R = FixedRect(value);
      item.ImageCount = 1;
      item.StretchMode = Column(value, 22, 23);
      item.MaskType = value.size() >= 25 ? Column(value, 25, 25) : 0;
      return item;
    case '!': {
      std::vector<std::string_view> fields = SplitFields(value.substr(1), '!');
      item.syntax = ImageItemSyntax::isOwnPicture;
      item.fileName = std::string(fields[0]);
      if (!Contains(item.fileName, ".BMP") && !Contains(item.fileName, ".PNG")) return std::nullopt;
      if (fields.size() < 4 || (fields.size() > 4 && fields.size() < 8))
        throw EConvertError(L"'" + bv::AnsiToWide(value) + L"' is not a valid skin image value");
      item.ImageCount = Field(fields[1], value);
      item.MaskType = Field(fields[2], value);
      item.ImgType = std::min(Field(fields[3], value), 4);
      if (fields.size() >= 8) {
        item.hasMargins = true;
        item.WL = Field(fields[4], value), item.WT = Field(fields[5], value);
        item.WR = Field(fields[6], value), item.WB = Field(fields[7], value);
      }
      return item;
    }
    default:
      if (Contains(value, "#")) return value == "#" ? std::nullopt : ParseLegacy(value);
      if (Contains(value, ".BMP")) {
        item.syntax = ImageItemSyntax::isPlainBitmap;
        item.fileName = std::string(value);
        return item;
      }
      return std::nullopt;
  }
}

TsGradArray ParseGradient(std::string_view text) {
  TsGradArray steps;
  if (text.empty()) return steps;
  std::vector<std::string_view> fields = SplitFields(text, ';');
  // A field that is not a number counts as 0.
  auto number = [&](size_t i) { return ParseSkinInteger(bv::TrimAscii(fields[i])).value_or(0); };
  for (size_t g = 0; g < fields.size() / 5; ++g) {
    TsGradItem step;
    step.Color1 = std::max(number(5 * g), 0);
    step.Color2 = std::max(number(5 * g + 1), 0);
    step.Percent = static_cast<uint8_t>(std::clamp(number(5 * g + 2), 0, 100));
    step.Mode = number(5 * g + 3);
    steps.push_back(step);
  }
  return steps;
}

void LoadImageItems(LoadedSkin& skin, const SkinLoadContext& context) {
  skin.Items.clear();
  skin.MasterBitmap = Bitmap();
  if (!context.options) return;
  std::string masterName = context.options->ReadString(kGlobalInfo, kMasterBitmap, "");
  if (!masterName.empty()) {
    std::optional<Bitmap> master = DecodeNamed(context, masterName, false);
    if (master) skin.MasterBitmap = master->Converted(PixelFormat::pf24bit);
  }
  ScanImageItems(skin, context, *context.options, false);
  if (context.commonSections && !context.commonSections->Empty())
    ScanImageItems(skin, context, *context.commonSections, true);
}

void LoadPatterns(LoadedSkin& skin, const SkinLoadContext& context) {
  skin.Patterns.clear();
  if (!context.options) return;
  ScanPatterns(skin, context, *context.options, false);
  if (context.commonSections && !context.commonSections->Empty())
    ScanPatterns(skin, context, *context.commonSections, true);
}

void LoadSections(LoadedSkin& skin, const SkinLoadContext& context) {
  if (!context.options) return;
  ReadSkinData(skin.Data, *context.options);
  CheckVersion(skin.Data, context);
  skin.Sections.clear();
  // Common sections replace the skin's sections of the same name or come after them; the keys
  // they lack are inherited through PARENTCLASS or take the defaults.
  std::optional<SkinIni> merged;
  if (context.commonSections && !context.commonSections->Empty())
    merged = context.options->MergedWith(*context.commonSections);
  const SkinIni& ini = merged ? *merged : *context.options;
  for (const SkinIni::Section& section : ini.Sections()) skin.Sections.push_back(ReadSection(ini, section.name));
  ResolveSectionCorners(skin);
  ApplyColorShifts(skin, context);
}

void ResolveSectionCorners(LoadedSkin& skin) {
  // The same answers as LoadedSkin::ImageItemIndexOf, with sections and items found through
  // indexes and every chain walked once per key, however many sections and however deep.
  const size_t count = skin.Sections.size();
  std::unordered_map<std::string_view, int32_t> sectionByName;
  sectionByName.reserve(count);
  for (size_t i = 0; i < count; ++i) sectionByName.emplace(skin.Sections[i].ClassName, static_cast<int32_t>(i));
  std::vector<int32_t> parents(count, -1);
  for (size_t i = 0; i < count; ++i) {
    const std::string& parent = skin.Sections[i].ParentClass;
    if (parent.empty() || parent == skin.Sections[i].ClassName) continue;
    if (auto found = sectionByName.find(parent); found != sectionByName.end()) parents[i] = found->second;
  }
  auto itemKey = [](std::string_view section, std::string_view key) {
    return std::to_string(section.size()) + ':' + std::string(section) + std::string(key);
  };
  std::unordered_map<std::string, int> items;
  items.reserve(skin.Items.size());
  for (size_t i = 0; i < skin.Items.size(); ++i)
    items.emplace(itemKey(skin.Items[i].SectionName, skin.Items[i].PropertyName), static_cast<int>(i));

  static constexpr std::pair<std::string_view, int TsGeneralData::*> corners[] = {
      {"BORDERSMASK", &TsGeneralData::BorderIndex}, {"IMGTOPLEFT", &TsGeneralData::ImgTL},
      {"IMGTOPRIGHT", &TsGeneralData::ImgTR},       {"IMGBTMLEFT", &TsGeneralData::ImgBL},
      {"IMGBTMRIGHT", &TsGeneralData::ImgBR},
  };
  for (const auto& corner : corners) {
    const std::string_view key = corner.first;
    int TsGeneralData::*field = corner.second;
    ParentChainMemo memo(count);
    auto itemOf = [&](int32_t section) {
      auto found = items.find(itemKey(skin.Sections[static_cast<size_t>(section)].ClassName, key));
      return found == items.end() ? -1 : found->second;
    };
    for (size_t i = 0; i < count; ++i) {
      TsGeneralData& s = skin.Sections[i];
      if (s.ClassName == kGlobalInfo) continue;
      int32_t source = s.ClassName.empty() ? -1
                                           : memo.Find(static_cast<int32_t>(i), [&](int32_t n) { return parents[static_cast<size_t>(n)]; },
                                                       [&](int32_t n) { return itemOf(n) >= 0; });
      s.*field = source < 0 ? -1 : itemOf(source);
    }
  }
}

void LoadStoredSkinTables(LoadedSkin& skin, const TsStoredSkin& stored, const SkinLoadContext& context) {
  skin.Items.clear();
  skin.Patterns.clear();
  skin.Sections.clear();
  skin.MasterBitmap = stored.MasterBitmap().Empty() ? Bitmap() : stored.MasterBitmap().Converted(PixelFormat::pf24bit);

  const TsSkinImages& images = *stored.Images();
  for (int i = 0; i < images.Count(); ++i) {
    const TsSkinImage& source = *images.Items(i);
    TsMaskData item;
    item.SectionName = bv::UpperCaseAscii(source.SectionName);
    item.PropertyName = bv::UpperCaseAscii(source.PropertyName);
    item.Manager = context.manager;
    if (!source.Image.Empty()) {
      item.Image = std::make_shared<Bitmap>(source.Image);
      item.R = source.Image.Bounds();
    } else {
      item.R = WithinPicture({source.Left, source.Top, source.Right, source.Bottom});
    }
    item.ImageCount = source.ImageCount;
    item.MaskType = source.MaskType;
    if (item.ImageCount == 0) item.ImageCount = 3, item.MaskType = 1;
    item.BorderWidth = source.BorderWidth;
    item.StretchMode = source.StretchMode;
    item.ImgType = static_cast<TvlImgType>(std::min<int>(source.ImgType, 4));
    item.WL = source.WL, item.WT = source.WT, item.WR = source.WR, item.WB = source.WB;
    if (item.WL + item.WT + item.WR + item.WB == 0) {
      if (item.BorderWidth == 0) ComputeMargins(item);
      else item.WL = item.WT = item.WR = item.WB = item.BorderWidth;
    }
    ClampItem(item);
    skin.Items.push_back(std::move(item));
  }

  const TsSkinPatterns& patterns = *stored.Patterns();
  for (int i = 0; i < patterns.Count(); ++i) {
    const TsSkinPattern& source = *patterns.Items(i);
    std::shared_ptr<Bitmap> picture;
    if (!source.Image.Empty()) {
      picture = std::make_shared<Bitmap>(source.Image);
    } else {
      for (int j = 0; j < i && !picture; ++j)
        if (patterns.Items(j)->Name == source.Name && !patterns.Items(j)->Image.Empty())
          picture = std::make_shared<Bitmap>(patterns.Items(j)->Image);
    }
    if (picture) skin.Patterns.push_back({picture, bv::UpperCaseAscii(source.SectionName), bv::UpperCaseAscii(source.PropertyName)});
  }

  TsSkinData& data = skin.Data;
  data.Version = stored.Version();
  data.Author = NarrowText(stored.Author());
  data.Description = NarrowText(stored.Description());
  data.Shadow1Color = stored.Shadow1Color();
  data.Shadow1Offset = ToInt16(stored.Shadow1Offset());
  data.Shadow1Blur = ToInt16(stored.Shadow1Blur());
  data.Shadow1Transparency = ToInt16(stored.Shadow1Transparency());
  data.BorderColor = stored.BorderColor();
  CheckVersion(data, context);

  const TsSkinGenerals& generals = *stored.GeneralData();
  for (int i = 0; i < generals.Count(); ++i) {
    const TsSkinGeneral& source = *generals.Items(i);
    TsGeneralData s;
    static_cast<TsSectionLook&>(s) = source;
    s.ClassName = source.SectionName;
    s.Color = PlainColor(s.Color);
    s.HotGlowColor = PlainColor(s.HotGlowColor);
    s.GlowColor = PlainColor(s.GlowColor);
    s.GradientArray = ParseGradient(s.GradientData);
    s.HotGradientArray = ParseGradient(s.HotGradientData);
    s.FontColor = ParseFontColorList(source.FontColor);
    s.HotFontColor = ParseFontColorList(source.HotFontColor);
    ClampPercentages(s);
    skin.Sections.push_back(std::move(s));
  }
  ResolveSectionCorners(skin);
  ApplyColorShifts(skin, context);
}
