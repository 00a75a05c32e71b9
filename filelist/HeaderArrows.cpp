// See HeaderArrows.h.
#include "filelist/HeaderArrows.h"

namespace filelist {

HeaderArrow HeaderArrowFor(uint32_t format, bool arrowColumn, bool visualStyles, bool descending) {
  using namespace header_format;
  HeaderArrow result;
  if (visualStyles) {
    // The low byte holds the alignment and reading order; everything above is rebuilt.
    result.format = (format & 0xFF) | kString;
    if (arrowColumn) {
      result.format |= descending ? kSortDown : kSortUp;
      result.selectColumn = true;
    }
    return result;
  }
  // Without visual styles the bitmap is the only arrow: sort flags left from a themed header
  // would draw a second one.
  result.format = format & ~(kBitmap | kBitmapOnRight | kSortUp | kSortDown);
  if (arrowColumn) {
    result.format |= kString | kBitmap | kBitmapOnRight;
    result.bitmap = descending ? HeaderBitmap::kDown : HeaderBitmap::kUp;
  }
  return result;
}

}  // namespace filelist
