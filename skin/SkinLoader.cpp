// See SkinLoader.h.
#include "skin/SkinLoader.h"

#include "framework/StringList.h"
#include "skin/SkinArchive.h"
#include "skin/SkinFileSystem.h"
#include "skin/SkinIni.h"
#include "skin/SkinOptionsLoader.h"
#include "skin/StoredSkins.h"

namespace {

constexpr const wchar_t* kOptionsFile = L"Options.dat";

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

std::wstring ArchivePath(const SkinFileSystem& files, std::wstring_view skinDirectory, std::wstring_view skinName) {
  return NormalizeSkinDirectory(skinDirectory, files.ProgramFolder()) + std::wstring(skinName) + L".vlz";
}

SkinIni OptionsOf(const TvlSkinConvertor& reader) {
  if (!reader.Options) return SkinIni();
  return SkinIni::Parse(std::string_view(reinterpret_cast<const char*>(reader.Options->data()), reader.Options->size()));
}

SkinLoadContext ContextFor(const SkinLoadRequest& request, const SkinIni& options) {
  SkinLoadContext context;
  context.options = &options;
  context.commonSections = request.commonSections;
  context.decoder = request.decoder;
  context.manager = request.manager;
  context.hueOffset = request.hueOffset;
  context.saturation = request.saturation;
  context.showMessage = request.showMessage;
  return context;
}

void RunLoadingSteps(LoadedSkin& skin, const SkinLoadContext& context) {
  LoadImageItems(skin, context);
  LoadPatterns(skin, context);
  LoadSections(skin, context);
}

}  // namespace

std::wstring NormalizeSkinDirectory(std::wstring_view value, std::wstring_view programFolder) {
  std::wstring result;
  if (value.substr(0, 2) == L"..") {
    std::wstring parent(programFolder);
    if (!parent.empty()) parent.pop_back();
    while (!parent.empty() && !IsSeparator(parent.back())) parent.pop_back();
    result = parent + std::wstring(value.size() > 3 ? value.substr(3) : std::wstring_view());
  } else if (value.substr(0, 2) == L".\\" || value.substr(0, 2) == L"./") {
    result = std::wstring(programFolder) + std::wstring(value.substr(2));
  } else if (value.find(L':') == std::wstring_view::npos && value.find(L"\\\\") == std::wstring_view::npos) {
    result = std::wstring(programFolder) + std::wstring(value);
  } else {
    result = std::wstring(value);
  }
  if (result.empty() || result.back() == L'\\') return result;
  if (result.back() == L'/') result.back() = L'\\';
  else if (result.size() == 1) result += L":\\";
  else result += L'\\';
  return result;
}

std::wstring ListSkins(const SkinFileSystem& files, std::wstring_view skinDirectory, const TsStoredSkins* storedSkins,
                       TStrings& list, int mode) {
  std::wstring first;
  auto add = [&](const std::wstring& name) {
    if (first.empty()) first = name;
    list.Add(name);
  };
  if (storedSkins)
    for (int i = 0; i < storedSkins->Count(); ++i) add(storedSkins->Items(i)->Name());

  std::wstring folder = NormalizeSkinDirectory(skinDirectory, files.ProgramFolder());
  if (mode >= 0 && mode <= 2 && files.FolderExists(folder)) {
    for (const SkinFolderEntry& entry : files.ListFolder(folder)) {
      if (entry.name.empty() || entry.name[0] == L'.') continue;
      if (entry.isFolder) {
        if (mode != 1 && files.FileExists(folder + entry.name + L"\\" + kOptionsFile)) add(entry.name);
      } else if (mode != 0) {
        size_t lastDot = entry.name.rfind(L'.');
        if (lastDot != std::wstring::npos && entry.name.substr(lastDot) == L".vlz")
          add(entry.name.substr(0, entry.name.find(L'.')));
      }
    }
  }
  if (auto* sorted = dynamic_cast<TStringList*>(&list)) sorted->Sort();
  return first;
}

bool PackedSkinExists(const SkinFileSystem& files, std::wstring_view skinDirectory, std::wstring_view skinName) {
  return files.FileExists(ArchivePath(files, skinDirectory, skinName));
}

bool DirectorySkinExists(const SkinFileSystem& files, std::wstring_view skinDirectory, std::wstring_view skinName) {
  return PackedSkinExists(files, skinDirectory, skinName) ||
         files.FileExists(NormalizeSkinDirectory(skinDirectory, files.ProgramFolder()) + std::wstring(skinName) + L"\\" +
                          kOptionsFile);
}

SkinLoadOutcome LoadSkin(LoadedSkin& skin, const SkinLoadRequest& request) {
  SkinLoadOutcome outcome;
  outcome.skinName = request.skinName;
  const SkinFileSystem& files = *request.files;
  const std::wstring directory = NormalizeSkinDirectory(request.skinDirectory, files.ProgramFolder());

  // A packed archive in the skin directory.
  const std::wstring archive = directory + request.skinName + L".vlz";
  if (!request.storedOnly && files.FileExists(archive)) {
    std::unique_ptr<TvlSkinConvertor> reader;
    LoadArchiveFile(files, archive, reader, true);
    SkinIni options = reader ? OptionsOf(*reader) : SkinIni();
    SkinLoadContext context = ContextFor(request, options);
    context.images.archive = reader.get();
    skin.Data.SkinPath = directory;
    RunLoadingSteps(skin, context);
    outcome.loaded = outcome.isPacked = true;
    return outcome;
  }

  // A skin folder with its options file and loose pictures.
  const std::wstring folder = directory + request.skinName + L"\\";
  if (!request.storedOnly && files.FileExists(folder + kOptionsFile)) {
    std::optional<std::vector<uint8_t>> text = files.ReadFile(folder + kOptionsFile);
    SkinIni options = text ? SkinIni::Parse(std::string_view(reinterpret_cast<const char*>(text->data()), text->size()))
                           : SkinIni();
    SkinLoadContext context = ContextFor(request, options);
    context.images.files = &files;
    context.images.skinPath = folder;
    skin.Data.SkinPath = folder;
    RunLoadingSteps(skin, context);
    outcome.loaded = true;
    return outcome;
  }

  // A skin stored in the program: by name, else the first one.
  skin.Data.SkinPath.clear();
  const TsStoredSkin* stored = request.storedSkins ? request.storedSkins->Find(request.skinName) : nullptr;
  if (!stored) {
    if (!request.storedSkins || request.storedSkins->Count() == 0) return outcome;
    stored = request.storedSkins->Items(0);
    outcome.skinName = stored->Name();
  }
  if (stored->Data().empty()) {
    SkinIni none;
    LoadStoredSkinTables(skin, *stored, ContextFor(request, none));
    outcome.loaded = true;
    return outcome;
  }
  TvlSkinConvertor reader;
  reader.Source = SkinByteStream::Borrow(stored->Data());
  ReadSkinArchive(reader);
  reader.Source.reset();  // the bytes stay the stored skin's
  SkinIni options = OptionsOf(reader);
  SkinLoadContext context = ContextFor(request, options);
  context.images.archive = &reader;
  RunLoadingSteps(skin, context);
  outcome.loaded = outcome.isPacked = true;
  return outcome;
}
