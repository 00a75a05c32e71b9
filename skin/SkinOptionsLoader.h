// The loading steps that turn a skin's options text and pictures into the tables of a LoadedSkin:
// image items (LoadImageItems), large JPEG textures (LoadPatterns), sections with the skin-wide
// record (LoadSections, which ends with ResolveSectionCorners and the colour shifts), and the
// same tables from a stored skin that has no archive. Plain C++.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/LoadedSkin.h"
#include "skin/SkinIni.h"

class ImageDecoder;
class SkinFileSystem;
struct TvlSkinConvertor;
class TsStoredSkin;

constexpr const wchar_t* kSkinVersionMessage =
    L"This version of the skin have not complete support by used Lacquer package release.\r\n"
    L"Components must be updated up to latest version for using this skin.";
// Skins above this options version get the message (and are loaded all the same).
constexpr double kNewestSupportedSkinVersion = 6.99;

// Where the pictures that the options text names come from during one load.
struct SkinImageSource {
  const TvlSkinConvertor* archive = nullptr;  // borrowed: the packed or stored skin's members
  const SkinFileSystem* files = nullptr;      // borrowed: a skin folder's files
  std::wstring skinPath;                      // the skin folder, with a trailing separator

  // The bytes of the member of that name, or of the file SkinPath + name (a name with ":" is a
  // full path); `filesOnly` ignores the archive.
  std::optional<std::vector<uint8_t>> Load(std::string_view name, bool filesOnly = false) const;
};

// Everything one load needs besides the tables it fills.
struct SkinLoadContext {
  const SkinIni* options = nullptr;         // borrowed: the options text
  const SkinIni* commonSections = nullptr;  // borrowed: merged over every skin; may be empty
  SkinImageSource images;
  const ImageDecoder* decoder = nullptr;    // borrowed
  TsSkinManager* manager = nullptr;         // borrowed: the owner written into every item
  int hueOffset = 0;
  int saturation = 0;
  std::function<void(const std::wstring&)> showMessage;  // the skin version message
};

// How a value of the options text describes an image item.
enum class ImageItemSyntax { isBorder, isGlyph, isTexture, isOwnPicture, isPlainBitmap, isLegacy };

struct ImageItemValue {
  ImageItemSyntax syntax = ImageItemSyntax::isBorder;
  std::string fileName;  // own pictures and plain bitmaps
  Rect R;
  int ImageCount = 0;
  int MaskType = 0;
  int StretchMode = 0;
  int BorderWidth = 0;
  int ImgType = 0;
  bool hasMargins = false;  // WL..WB were given
  int WL = 0, WT = 0, WR = 0, WB = 0;
};

// The item a value describes, or nullopt for values that make no item ("100", "TRUE", "N/A").
// Raises EConvertError for an incomplete value: fixed columns without numbers, or a "!" value of
// fewer than four or of five to seven fields.
std::optional<ImageItemValue> ParseImageItemValue(std::string_view value);

// Steps of a gradient text: groups of five ";"-separated numbers, the fifth of each skipped.
TsGradArray ParseGradient(std::string_view text);

void LoadImageItems(LoadedSkin& skin, const SkinLoadContext& context);
void LoadPatterns(LoadedSkin& skin, const SkinLoadContext& context);
void LoadSections(LoadedSkin& skin, const SkinLoadContext& context);
// BorderIndex and the four corner items of every section but "GLOBALINFO", following PARENTCLASS.
void ResolveSectionCorners(LoadedSkin& skin);
// The tables of a stored skin without archive, from its collections and properties.
void LoadStoredSkinTables(LoadedSkin& skin, const TsStoredSkin& stored, const SkinLoadContext& context);
