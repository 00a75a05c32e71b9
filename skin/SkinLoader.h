// Choosing where a skin comes from and loading it: a packed archive "<name>.vlz" in the skin
// directory, else a skin folder "<name>\Options.dat", else a skin stored in the program (by name,
// else the first one). Also the skin directory's normalisation and the list of available skins.
// The skin manager runs these; they only need a file system, a picture decoder and the stored
// skins. Plain C++.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "skin/LoadedSkin.h"

class ImageDecoder;
class SkinFileSystem;
class SkinIni;
class TStrings;
class TsStoredSkins;

// The skin directory as a folder path with a trailing "\": relative values are taken from the
// program's folder ("..\x" from its parent), absolute ones are kept.
std::wstring NormalizeSkinDirectory(std::wstring_view value, std::wstring_view programFolder);

// Fills `list` with the names of the stored skins, then the skin folders (mode 0 or 2) and the
// archives (mode 1 or 2) found in the skin directory, sorted; answers the first name added.
std::wstring ListSkins(const SkinFileSystem& files, std::wstring_view skinDirectory, const TsStoredSkins* storedSkins,
                       TStrings& list, int mode);

struct SkinLoadRequest {
  std::wstring skinDirectory;                   // as set on the manager
  std::wstring skinName;
  const TsStoredSkins* storedSkins = nullptr;   // borrowed
  const SkinIni* commonSections = nullptr;      // borrowed; may be empty
  int hueOffset = 0;
  int saturation = 0;
  TsSkinManager* manager = nullptr;             // borrowed: written into every image item
  const SkinFileSystem* files = nullptr;        // borrowed
  const ImageDecoder* decoder = nullptr;        // borrowed
  std::function<void(const std::wstring&)> showMessage;
  bool storedOnly = false;                      // skip the skin directory: only the stored skins
};

struct SkinLoadOutcome {
  bool loaded = false;       // false: no skin of that name and no stored skin at all
  std::wstring skinName;     // the name in force (the first stored skin's when it stood in)
  bool isPacked = false;     // the skin came from an archive
};

// Loads the skin into `skin` (image items, patterns, sections with colour shifts, skin-wide
// record and SkinPath). Raises ESkinArchiveError for a damaged archive and EConvertError for an
// incomplete image value; the tables are then left as far as the load got.
SkinLoadOutcome LoadSkin(LoadedSkin& skin, const SkinLoadRequest& request);
// Whether `LoadSkin` would take the skin from an archive file in the skin directory.
bool PackedSkinExists(const SkinFileSystem& files, std::wstring_view skinDirectory, std::wstring_view skinName);
// Whether `LoadSkin` would take the skin from the skin directory (an archive or a skin folder)
// rather than from the stored skins.
bool DirectorySkinExists(const SkinFileSystem& files, std::wstring_view skinDirectory, std::wstring_view skinName);
