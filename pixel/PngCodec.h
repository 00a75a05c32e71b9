// Reading PNG files without the platform, through zlib: non-interlaced files of every colour
// type and bit depth. The program decodes skin pictures this way as well as the native tests and
// the fuzzers do; the platform's codecs serve the files this refuses. Plain C++.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "pixel/Bitmap.h"

// The PNG file as a 32-bit bitmap with straight alpha when it has an alpha channel or a
// transparency chunk, otherwise 24-bit; nullopt for damaged, interlaced or implausibly large files.
std::optional<Bitmap> DecodePng(std::span<const uint8_t> bytes);
