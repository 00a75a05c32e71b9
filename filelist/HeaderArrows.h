// The sort arrow of the file list's column headers: how one header item's format changes after
// a sort, and which picture it shows. With visual styles the header draws its own arrow from the
// sort flags; without them the list puts one of its two arrow bitmaps right of the caption.
// Plain arithmetic on the header format word, so the rule is tested without windows.
#pragma once

#include <cstdint>

namespace filelist {

// The header format flags this rule touches (the platform's HDF_ values).
namespace header_format {
constexpr uint32_t kSortDown = 0x0200;
constexpr uint32_t kSortUp = 0x0400;
constexpr uint32_t kBitmapOnRight = 0x1000;
constexpr uint32_t kBitmap = 0x2000;
constexpr uint32_t kString = 0x4000;
}  // namespace header_format

enum class HeaderBitmap { kNone, kUp, kDown };

struct HeaderArrow {
  uint32_t format = 0;
  HeaderBitmap bitmap = HeaderBitmap::kNone;  // the picture the item shows
  bool selectColumn = false;                  // the list marks this column as its sorted one
};

// The new state of a header item whose format was `format`. `arrowColumn`: the item is the
// column sorted last; `visualStyles`: the header is themed; `descending`: the sort direction.
HeaderArrow HeaderArrowFor(uint32_t format, bool arrowColumn, bool visualStyles, bool descending);

}  // namespace filelist
