// Scroll-bar arithmetic of the window adapters (thumb, parts, dragging) and the choice of an
// adapter from the class-name lists.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>
#include <vector>

#include "adapters/AdapterClassChoice.h"
#include "adapters/ScrollBarGeometry.h"
#include "skin/ThirdPartyList.h"

using namespace scroll_geometry;

namespace {

struct ThumbCase {
  const char* name;
  int length;
  int arrow;
  ScrollValues values;
  int thumbSize;    // 0: no thumb
  int thumbStart;   // from the bar's start (checked with a thumb)
  int arrowExtent;
};

TEST(ScrollBarGeometry, ThumbSizeAndPosition) {
  const ThumbCase cases[] = {
      {"page 0 gives an arrow-long thumb", 200, 17, {0, 99, 0, 0}, 17, 17, 17},
      {"range 0..99, page 13, position 50", 200, 17, {0, 99, 13, 50}, 22, 17 + 82, 17},
      {"range 0..9999, page 1: the minimum thumb", 200, 17, {0, 9999, 1, 0}, 10, 17, 17},
      {"last position puts the thumb at the track end", 200, 17, {0, 99, 13, 87}, 22, 17 + 142, 17},
      {"position beyond the range is pinned", 200, 17, {0, 99, 13, 5000}, 22, 17 + 144, 17},
      {"a non-zero minimum counts from nMin", 200, 17, {100, 199, 13, 150}, 22, 17 + 82, 17},
      {"a page covering the range: no thumb", 200, 17, {0, 99, 100, 0}, 0, 0, 17},
      {"a 30-pixel bar: two half arrows, no thumb", 30, 17, {0, 99, 13, 50}, 0, 0, 15},
      {"a bar exactly two arrows long: no track", 34, 17, {0, 99, 13, 50}, 0, 0, 17},
      {"inverted range: no thumb", 200, 17, {99, 0, 13, 50}, 0, 0, 17},
      {"zero range with a page: no thumb", 200, 17, {0, 0, 1, 0}, 0, 0, 17},
      {"the widest range does not overflow", 200, 17, {INT_MIN, INT_MAX, 1, 0}, 0, 0, 17},
      {"widest usable range", 200, 17, {0, 2147483646, 1000, 1073741823}, 10, 17 + 78, 17},
  };
  for (const ThumbCase& c : cases) {
    SCOPED_TRACE(c.name);
    BarLayout layout = LayoutBar(c.length, c.arrow, c.values, kDefaultMinThumbSize);
    EXPECT_EQ(layout.thumbSize, c.thumbSize);
    EXPECT_EQ(layout.arrow, c.arrowExtent);
    if (c.thumbSize > 0) {
      EXPECT_EQ(layout.thumbStart, c.thumbStart);
    }
    EXPECT_EQ(layout.pageParts, c.thumbSize > 0);
  }
}

struct PartCase {
  const char* name;
  int length;
  ScrollValues values;
  int along;
  ScrollPart part;
};

TEST(ScrollBarGeometry, PartUnderThePoint) {
  // Bar 200, arrows 17; range 0..99 page 13 at 50: thumb 99..120.
  const ScrollValues mid{0, 99, 13, 50};
  const PartCase cases[] = {
      {"before the bar", 200, mid, -1, spNone},
      {"first arrow start", 200, mid, 0, spFirstArrow},
      {"first arrow end", 200, mid, 16, spFirstArrow},
      {"track start", 200, mid, 17, spTrackBefore},
      {"just before the thumb", 200, mid, 98, spTrackBefore},
      {"thumb start", 200, mid, 99, spThumb},
      {"thumb end", 200, mid, 120, spThumb},
      {"just after the thumb", 200, mid, 121, spTrackAfter},
      {"track end", 200, mid, 182, spTrackAfter},
      {"second arrow", 200, mid, 183, spSecondArrow},
      {"last pixel", 200, mid, 199, spSecondArrow},
      {"past the bar", 200, mid, 200, spNone},
      {"half arrows: upper half", 30, mid, 14, spFirstArrow},
      {"half arrows: lower half", 30, mid, 15, spSecondArrow},
      {"no thumb: the track pages nothing", 200, {0, 99, 100, 0}, 100, spNone},
      {"empty range: the track pages nothing", 200, {5, 4, 1, 0}, 100, spNone},
  };
  for (const PartCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PartAt(LayoutBar(c.length, 17, c.values, kDefaultMinThumbSize), c.along), c.part);
  }
}

struct DragCase {
  const char* name;
  ScrollValues values;
  int start;  // wanted thumb start from the bar's start
  int clamped;
  int position;
};

TEST(ScrollBarGeometry, DraggedThumbGivesPositionsIncludingTheMinimum) {
  // Bar 200, arrows 17: track 17..183, thumb 22 for page 13 (free track 144).
  const DragCase cases[] = {
      {"at the track start", {0, 99, 13, 0}, 17, 17, 0},
      {"past the first end: pinned, first position", {0, 99, 13, 0}, -40, 17, 0},
      {"at the track end: the last position", {0, 99, 13, 0}, 161, 161, 87},
      {"past the second end: pinned, last position", {0, 99, 13, 0}, 400, 161, 87},
      {"the middle", {0, 99, 13, 0}, 17 + 82, 17 + 82, 50},
      {"a range from 100 starts at 100", {100, 199, 13, 100}, 17, 17, 100},
      {"a range from 100 ends at its last position", {100, 199, 13, 100}, 161, 161, 187},
      {"negative range", {-50, 49, 13, 0}, 17 + 82, 17 + 82, 0},
  };
  for (const DragCase& c : cases) {
    SCOPED_TRACE(c.name);
    BarLayout layout = LayoutBar(200, 17, c.values, kDefaultMinThumbSize);
    ASSERT_TRUE(layout.HasThumb());
    int start = ClampThumbStart(layout, c.start);
    EXPECT_EQ(start, c.clamped);
    EXPECT_EQ(DragPosition(layout, c.values, start), c.position);
  }
}

TEST(ScrollBarGeometry, DragPositionAndThumbOffsetAgree) {
  // Every position a drag can give puts the thumb back where the drag left it, within a pixel.
  const ScrollValues values{10, 309, 40, 10};
  BarLayout layout = LayoutBar(300, 17, values, kDefaultMinThumbSize);
  ASSERT_TRUE(layout.HasThumb());
  for (int start = layout.trackStart; start <= layout.TrackEnd() - layout.thumbSize; ++start) {
    int pos = DragPosition(layout, values, start);
    BarLayout shown = LayoutBar(300, 17, values, kDefaultMinThumbSize, pos);
    EXPECT_NEAR(shown.thumbStart, start, 1) << "start " << start << " position " << pos;
  }
}

TEST(ScrollBarGeometry, NothingDividesByZero) {
  const ScrollValues cases[] = {{0, 0, 0, 0}, {0, 0, 1, 0}, {3, 3, 0, 3}, {0, 10, 11, 0}, {INT_MAX, INT_MIN, 0, 0}};
  for (const ScrollValues& v : cases) {
    for (int length : {0, 1, 34, 35, 200}) {
      BarLayout layout = LayoutBar(length, 17, v, kDefaultMinThumbSize);
      EXPECT_GE(DragPosition(layout, v, layout.trackStart + 5), v.min <= v.max ? v.min : INT_MIN);
      EXPECT_LE(layout.thumbStart + layout.thumbSize, std::max(length, 0));
    }
  }
  EXPECT_EQ(MulDivRounded(5, 7, 0), 0);
  EXPECT_EQ(MulDivRounded(13, 166, 100), 22);
  EXPECT_EQ(MulDivRounded(-13, 166, 100), -22);
}

// The main window's configuration: every list begins with one blank line.
std::vector<std::vector<std::wstring>> MainWindowLists() {
  std::vector<std::vector<std::wstring>> lists(tpCount, std::vector<std::wstring>{L" "});
  for (const wchar_t* name : {L"TEdit", L"TMemo", L"TListBox", L"TOvFilelistView28", L"TShared"})
    lists[tpEdits].push_back(name);
  lists[tpButtons].push_back(L"TButton");
  for (const wchar_t* name : {L"TListView", L"TShared"}) lists[tpListViews].push_back(name);
  lists[tpTreeViews].push_back(L"TTreeView");
  return lists;
}

TEST(AdapterClassChoice, FirstListHoldingTheExactNameDecides) {
  auto lists = MainWindowLists();
  auto listed = [&](int index, std::wstring_view name) {
    for (const std::wstring& entry : lists[static_cast<size_t>(index)])
      if (entry == name) return true;
    return false;
  };
  struct Case {
    const wchar_t* className;
    int list;
    AdapterKind kind;
  } const cases[] = {
      {L"TOvFilelistView28", tpEdits, AdapterKind::Edit},
      {L"TShared", tpEdits, AdapterKind::Edit},  // listed twice: the lower index wins
      {L"TListView", tpListViews, AdapterKind::ListView},
      {L"TButton", tpButtons, AdapterKind::None},
      {L"TTreeView", tpTreeViews, AdapterKind::None},
      {L"TOvFilelistView28Derived", -1, AdapterKind::None},  // names are compared exactly
      {L"tovfilelistview28", -1, AdapterKind::None},
      {L"", -1, AdapterKind::None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "class " << std::string(c.className, c.className + wcslen(c.className)));
    int list = ChooseAdapterList(c.className, tpCount, listed);
    EXPECT_EQ(list, c.list);
    EXPECT_EQ(list < 0 ? AdapterKind::None : AdapterKindOfList(list), c.kind);
  }
}

}  // namespace
