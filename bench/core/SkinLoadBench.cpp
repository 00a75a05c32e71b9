// How long loading the stored skin takes (unpack the archive, decode every picture, build the
// tables) compared with merely inflating its members. Prints figures; asserts nothing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "skin/EmbeddedSkins.h"
#include "skin/PortableImageDecoder.h"
#include "skin/SkinArchive.h"
#include "skin/SkinFileSystem.h"
#include "skin/SkinLoader.h"
#include "skin/StoredSkins.h"

namespace {

// No skin directory: the loader goes straight to the stored skin.
class NoFiles : public SkinFileSystem {
 public:
  bool FileExists(const std::wstring&) const override { return false; }
  bool FolderExists(const std::wstring&) const override { return false; }
  std::optional<std::vector<uint8_t>> ReadFile(const std::wstring&) const override { return std::nullopt; }
  std::vector<SkinFolderEntry> ListFolder(const std::wstring&) const override { return {}; }
  std::wstring ProgramFolder() const override { return L"C:\\"; }
};

// Median and best of `runs` timings of `work`, in milliseconds.
void Measure(const char* what, int runs, const std::function<void()>& work) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    auto start = std::chrono::steady_clock::now();
    work();
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  std::printf("%-44s median %8.3f ms   best %8.3f ms   (%d runs)\n", what, ms[ms.size() / 2], ms.front(), runs);
}

}  // namespace

int main() {
  std::span<const uint8_t> archive = PearlMistArchive();
  std::printf("stored skin \"PearlMist (internal)\": %zu bytes packed\n", archive.size());

  size_t inflated = 0;
  Measure("inflate every member", 100, [&] {
    TvlSkinConvertor reader;
    reader.Source = SkinByteStream::Borrow(archive);
    ReadSkinArchive(reader);
    inflated = reader.Options->size();
    for (const TvlImageItem& item : reader.ImageData) inflated += item.Data.size();
  });
  std::printf("%-44s %zu bytes\n", "inflated", inflated);

  TsStoredSkins stored;
  stored.Add()->SetName(kPearlMistSkinName);
  stored.Items(0)->SetData(archive);
  NoFiles files;
  PortableImageDecoder decoder;
  SkinLoadRequest request;
  request.skinName = kPearlMistSkinName;
  request.storedSkins = &stored;
  request.files = &files;
  request.decoder = &decoder;
  size_t items = 0;
  Measure("load: unpack, decode, build tables", 100, [&] {
    LoadedSkin skin;
    LoadSkin(skin, request);
    items = skin.Items.size();
  });
  request.hueOffset = 40;
  request.saturation = 20;
  Measure("load with hue 40 and saturation 20", 30, [&] {
    LoadedSkin skin;
    LoadSkin(skin, request);
  });
  std::printf("%-44s %zu image items\n", "tables", items);
  return 0;
}
