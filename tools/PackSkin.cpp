// Packs a skin folder (the options file and its pictures) into a skin archive, every member at
// zlib's default compression, so that the same folder always gives the same bytes.
// Usage: pack_skin SKIN_FOLDER ARCHIVE.vlz
#include <cstdio>
#include <fstream>

#include "framework/Strings.h"
#include "skin/SkinArchive.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: pack_skin SKIN_FOLDER ARCHIVE.vlz\n");
    return 2;
  }
  try {
    std::vector<SkinArchiveMember> members = ReadSkinFolder(argv[1]);
    std::vector<uint8_t> archive = PackSkinArchive(members);
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
    if (!out) throw ESkinArchiveError(L"cannot write the archive");
    std::printf("%s: %zu members, %zu bytes\n", argv[2], members.size(), archive.size());
  } catch (const Exception& e) {
    std::fprintf(stderr, "pack_skin: %s\n", bv::WideToUtf8(e.Message()).c_str());
    return 1;
  }
  return 0;
}
