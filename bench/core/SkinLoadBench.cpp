// How long loading the stored skin takes (unpack the archive, decode every picture, build the
// tables) compared with merely inflating its members, and how long a hostile options text of
// 100,000 sections with a parent chain 10,000 deep takes to parse and load. Prints figures;
// asserts nothing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "skin/EmbeddedSkins.h"
#include "skin/PortableImageDecoder.h"
#include "skin/SkinArchive.h"
#include "skin/SkinFileSystem.h"
#include "skin/SkinLoader.h"
#include "skin/SkinOptionsLoader.h"
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

// 100,000 sections: S0 .. S9999 form one chain (each the parent of the next), every other
// section names a section of that chain as its parent; each carries a colour, a percentage and
// a border value that its whole chain inherits.
std::string HostileOptions() {
  constexpr int kSections = 100000, kChain = 10000;
  std::string text = "[GLOBALINFO]\r\nVERSION=6.5\r\n";
  text.reserve(static_cast<size_t>(kSections) * 64);
  for (int i = 0; i < kSections; ++i) {
    text += "[S" + std::to_string(i) + "]\r\n";
    if (i > 0) text += "PARENTCLASS=S" + std::to_string(i < kChain ? i - 1 : (i * 7919) % kChain) + "\r\n";
    if (i % 1000 == 0) text += "COLOR=" + std::to_string(i) + "\r\nTRANSPARENCY=" + std::to_string(i % 150) + "\r\n";
    if (i % 5000 == 0) text += "GRADIENTDATA=255;65280;50;0;0;65280;255;50;0;0\r\n";
  }
  return text;
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

  const std::string hostile = HostileOptions();
  std::printf("hostile options text: %zu bytes, 100000 sections, chain 10000 deep\n", hostile.size());
  Measure("hostile text: parse", 3, [&] { (void)SkinIni::Parse(hostile); });
  size_t sections = 0;
  Measure("hostile text: parse and load the tables", 3, [&] {
    SkinIni options = SkinIni::Parse(hostile);
    SkinIni common;
    SkinLoadContext context;
    context.options = &options;
    context.commonSections = &common;
    context.decoder = &decoder;
    LoadedSkin skin;
    LoadImageItems(skin, context);
    LoadPatterns(skin, context);
    LoadSections(skin, context);
    sections = skin.Sections.size();
  });
  std::printf("%-44s %zu sections\n", "hostile tables", sections);
  return 0;
}
