// The bodies of the skin fuzz targets, shared by the libFuzzer programs and the core test that
// replays the corpus: an archive read (with every member decoded as a picture), and an options
// text loaded against the pictures of the stored skin with colour shifts. Any outcome is fine
// except a crash, a leak or a sanitizer report; errors of bad input are exceptions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "framework/Exception.h"
#include "framework/Strings.h"
#include "skin/CommonIndexes.h"
#include "skin/EmbeddedSkins.h"
#include "skin/ExtendedBorderImages.h"
#include "skin/GlobalColors.h"
#include "skin/PortableImageDecoder.h"
#include "skin/SkinArchive.h"
#include "skin/SkinOptionsLoader.h"

namespace skinfuzz {

inline void FuzzArchive(const uint8_t* data, size_t size) {
  TvlSkinConvertor reader;
  reader.Source = SkinByteStream::Borrow(std::span<const uint8_t>(data, size));
  try {
    ReadSkinArchive(reader);
  } catch (const Exception&) {
    return;
  }
  PortableImageDecoder decoder;
  for (const TvlImageItem& item : reader.ImageData) {
    std::string upper = bv::UpperCaseAscii(item.MemberName);
    (void)FindMember(reader, upper);
    (void)decoder.Decode(item.IsBitmap ? ImageFileKind::ifBmp : ImageFileKind::ifPng, item.Data);
  }
}

// The first two bytes choose the hue offset and the saturation; the rest is the options text.
inline void FuzzOptions(const uint8_t* data, size_t size) {
  static TvlSkinConvertor* pictures = [] {
    auto* reader = new TvlSkinConvertor;
    reader->Source = SkinByteStream::Borrow(PearlMistArchive());
    ReadSkinArchive(*reader);
    reader->Source.reset();
    return reader;
  }();
  if (size < 2) return;
  PortableImageDecoder decoder;
  SkinIni options;
  try {
    options = SkinIni::Parse(std::string_view(reinterpret_cast<const char*>(data + 2), size - 2));
  } catch (const Exception&) {
    return;
  }
  SkinIni common;
  SkinLoadContext context;
  context.options = &options;
  context.commonSections = &common;
  context.images.archive = pictures;
  context.decoder = &decoder;
  context.hueOffset = static_cast<int8_t>(data[0]) * 3;
  context.saturation = static_cast<int8_t>(data[1]);
  context.showMessage = [](const std::wstring&) {};
  LoadedSkin skin;
  try {
    LoadImageItems(skin, context);
    LoadPatterns(skin, context);
    LoadSections(skin, context);
  } catch (const Exception&) {
    return;
  }
  TsCommonIndexes indexes = PrepareCommonIndexes(skin);
  TsExtendedBorderRequest request;
  request.active = request.extendedBorders = true;
  (void)PrepareExtendedBorders(skin, indexes.ExBorder, request);
  (void)GlobalColor(skin);
  (void)MenuHighlightTextColor(skin);
  for (size_t i = 0; i < skin.Sections.size(); ++i)
    (void)skin.ImageItemIndexOf(static_cast<int>(i), skin.Sections[i].ClassName, "BORDERSMASK");
}

}  // namespace skinfuzz
