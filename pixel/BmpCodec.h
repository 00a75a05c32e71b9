// Reading and writing BMP files without the platform: skin pictures decode the same way in the
// program, the native tests and the fuzzers. Reads uncompressed files of 1, 4, 8, 16, 24 and 32
// bits per pixel (palettes and bit-field masks, top-down or bottom-up rows); writes 24-bit and
// 32-bit files. Plain C++.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "pixel/Bitmap.h"

// A 32-bit bitmap for 32-bit files (alpha 255 where the file carries no alpha at all), 24-bit
// for everything else; nullopt for damaged, compressed or implausibly large files.
std::optional<Bitmap> DecodeBmp(std::span<const uint8_t> bytes);
// A bottom-up BMP file of the bitmap's pixels: 32 bits per pixel for 32-bit bitmaps, else 24.
std::vector<uint8_t> EncodeBmp(const Bitmap& bitmap);
