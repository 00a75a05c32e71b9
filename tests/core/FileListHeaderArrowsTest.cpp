// The sort arrow of the column headers: the format word and picture of each header item.
#include <gtest/gtest.h>

#include "filelist/HeaderArrows.h"

using namespace filelist;
using namespace filelist::header_format;

TEST(FileListHeaderArrows, FormatAndPictureOfEachCase) {
  constexpr uint32_t kRight = 0x1;        // right-aligned caption: a low-byte flag that stays
  constexpr uint32_t kOtherHigh = 0x8000;  // a flag above the low byte
  struct Case {
    const char* what;
    uint32_t format;
    bool arrowColumn, visualStyles, descending;
    uint32_t expectedFormat;
    HeaderBitmap bitmap;
    bool selectColumn;
  } cases[] = {
      {"themed, sorted descending", kString | kRight, true, true, true, kString | kSortDown | kRight, HeaderBitmap::kNone, true},
      {"themed, sorted ascending", kString, true, true, false, kString | kSortUp, HeaderBitmap::kNone, true},
      {"themed, direction turns", kString | kSortDown, true, true, false, kString | kSortUp, HeaderBitmap::kNone, true},
      {"themed, arrow moved away", kString | kSortUp | kRight, false, true, true, kString | kRight, HeaderBitmap::kNone, false},
      {"themed, high flags dropped", kOtherHigh | kBitmap | kBitmapOnRight | kRight, false, true, false, kString | kRight,
       HeaderBitmap::kNone, false},
      {"themed, caption flag set", 0, false, true, false, kString, HeaderBitmap::kNone, false},
      {"bitmap, sorted descending", kString | kRight, true, false, true, kString | kBitmap | kBitmapOnRight | kRight,
       HeaderBitmap::kDown, false},
      {"bitmap, sorted ascending", kString, true, false, false, kString | kBitmap | kBitmapOnRight, HeaderBitmap::kUp, false},
      {"bitmap, themed arrow replaced", kString | kSortDown, true, false, false, kString | kBitmap | kBitmapOnRight,
       HeaderBitmap::kUp, false},
      {"bitmap, arrow moved away", kString | kBitmap | kBitmapOnRight | kRight, false, false, true, kString | kRight,
       HeaderBitmap::kNone, false},
      {"bitmap, other flags kept", kOtherHigh | kString, false, false, false, kOtherHigh | kString, HeaderBitmap::kNone, false},
  };
  for (const Case& c : cases) {
    HeaderArrow arrow = HeaderArrowFor(c.format, c.arrowColumn, c.visualStyles, c.descending);
    EXPECT_EQ(arrow.format, c.expectedFormat) << c.what;
    EXPECT_EQ(arrow.bitmap, c.bitmap) << c.what;
    EXPECT_EQ(arrow.selectColumn, c.selectColumn) << c.what;
  }
}
