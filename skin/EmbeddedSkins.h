// The skin stored inside the program: the packed archive of "PearlMist", linked in as a byte
// array generated at build time from skins/PearlMist.vlz. Plain C++.
#pragma once

#include <cstdint>
#include <span>

// The name under which the main window's manager keeps the stored skin.
constexpr const wchar_t* kPearlMistSkinName = L"PearlMist (internal)";

// The bytes of the packed archive.
std::span<const uint8_t> PearlMistArchive();
