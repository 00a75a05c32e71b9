// The window adapters on the real main window: the file lists get skinned borders and scroll
// bars, give everything back when the skin goes, and their bars scroll the list under real
// mouse input (arrows, held arrows with driven timers, the track, the thumb, the wheel).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "adapters/ScrollBarGeometry.h"
#include "adapters/vlEditWnd.h"
#include "frame/sSkinProvider.h"
#include "framework/Handles.h"
#include "paint/DibSection.h"
#include "tests/win/MainWindowFixture.h"

using namespace wintest;

namespace {

class WindowAdaptersTest : public MainWindowFixture {
 protected:
  void OpenWithFilters(int count) {
    for (int i = 0; i < count; ++i) {
      wchar_t name[32];
      swprintf(name, 32, L"Filter%03d.8bf", i);
      folder.Create(name);
    }
    OpenMainWindow();
  }
  HWND List() const { return form->ListOn->Handle(); }
  TvlListViewWnd* Adapter() const { return dynamic_cast<TvlListViewWnd*>(TvlMainWnd::FromWindow(List())); }
  static int Position(HWND list) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL};
    GetScrollInfo(list, SB_VERT, &info);
    return info.nPos;
  }
  // The first row's top in client coordinates: it moves up by what the list scrolled.
  static int FirstRowTop(HWND list) {
    RECT r{};
    ListView_GetItemRect(list, 0, &r, LVIR_BOUNDS);
    return r.top;
  }
  // Puts the list back to its first position.
  static void ScrollHome(HWND list) {
    SendMessageW(list, LVM_SCROLL, 0, -Position(list));
    Pump(20);
  }
  // How far one scroll request moves the list from its first position.
  static int StepOf(HWND list, int code) {
    ScrollHome(list);
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(code, 0), 0);
    int step = Position(list);
    ScrollHome(list);
    return step;
  }
  // A point of the vertical bar in screen coordinates, `along` pixels from its top.
  POINT BarPoint(int along) const {
    RECT bar = Adapter()->VertBarRect();
    return {(bar.left + bar.right) / 2, bar.top + along};
  }
  static void MoveTo(POINT p) {
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, p.x, p.y);
    Pump(30);
  }
  static void ClickScreen(POINT p) {
    MoveTo(p);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Pump(20);
    SendMouse(MOUSEEVENTF_LEFTUP);
    Pump(40);
  }
  // Handles input until `done` holds (or a second has passed).
  template <class Condition>
  static bool PumpUntil(Condition done) {
    for (int i = 0; i < 100 && !done(); ++i) Pump(5);
    return done();
  }
  void ShowSmallIcons() {
    form->ListOn->SetViewStyle(TViewStyle::vsSmallIcon);
    Pump(60);
    ScrollHome(List());
  }
  // The installed list over 200 filters in small icons, at its first position.
  HWND OpenScrollingList() {
    OpenWithFilters(200);
    ShowSmallIcons();
    return List();
  }
};

// The width of the border the list's styles give it: a sunken edge or a plain line.
int OwnEdge(HWND window) {
  if (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) return GetSystemMetrics(SM_CXEDGE);
  return (GetWindowLongPtrW(window, GWL_STYLE) & WS_BORDER) ? GetSystemMetrics(SM_CXBORDER) : 0;
}

// What the platform holds about a window that the adapter changes and must give back.
struct WindowLook {
  std::vector<std::wstring> properties;
  COLORREF background;
  COLORREF textColor;
  TColor color;
  int clientWidth;
  int clientHeight;
  bool operator==(const WindowLook&) const = default;
};

BOOL CALLBACK CollectProperty(HWND, LPWSTR name, HANDLE, ULONG_PTR data) {
  auto* names = reinterpret_cast<std::vector<std::wstring>*>(data);
  if (reinterpret_cast<ULONG_PTR>(name) > 0xFFFF) names->push_back(name);
  else names->push_back(L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name)));
  return TRUE;
}

WindowLook LookOf(TOvFilelistView28* list) {
  WindowLook look{};
  HWND window = list->Handle();
  EnumPropsExW(window, &CollectProperty, reinterpret_cast<LPARAM>(&look.properties));
  std::sort(look.properties.begin(), look.properties.end());
  look.background = ListView_GetBkColor(window);
  look.textColor = ListView_GetTextColor(window);
  look.color = list->Color();
  RECT client{};
  GetClientRect(window, &client);
  look.clientWidth = client.right;
  look.clientHeight = client.bottom;
  return look;
}

TEST_F(WindowAdaptersTest, BothFileListsGetTheSkinnedBorderColoursAndBars) {
  OpenWithFilters(200);
  TsSkinManager* manager = form->sSkinManager1;
  const TsGeneralData& edit = manager->Skin().Sections[static_cast<size_t>(manager->SectionIndexOf("EDIT"))];
  for (TOvFilelistView28* list : {form->ListOn, form->ListOff}) {
    auto* adapter = dynamic_cast<TvlEditWnd*>(TvlMainWnd::FromWindow(list->Handle()));
    ASSERT_NE(adapter, nullptr) << "no adapter on " << std::string(list->Name().begin(), list->Name().end());
    EXPECT_EQ(adapter->SkinState().SkinSection(), "EDIT");
    EXPECT_TRUE(adapter->ThemeSwitchedOff());
    EXPECT_EQ(SendMessageW(list->Handle(), SM_LACQUERCMD, SkinCommandParam(scIsSkinAware), 0), 1);
    EXPECT_EQ(ListView_GetBkColor(list->Handle()), ColorToRGB(edit.Color));
    EXPECT_EQ(list->Color(), edit.Color);
    // The border comes from the cached frame, painted with the section's border mask.
    ASSERT_NE(adapter->FramePicture(), nullptr);
    EXPECT_GT(adapter->FrameRebuilds(), 0);
  }
  EXPECT_EQ(form->sSkinProvider1->Adapter()->ItemCount(), 2);
}

// The screen shows the adapter's border and bars, also after the list moved its scroll state
// (the platform then draws its own bar, which the adapter must cover again).
TEST_F(WindowAdaptersTest, ScreenShowsTheSkinnedBorderAndBars) {
  HWND list = OpenScrollingList();
  TvlListViewWnd* adapter = Adapter();
  auto check = [&](const char* when) {
    SCOPED_TRACE(when);
    Pump(60);
    RECT w{};
    GetWindowRect(list, &w);
    int width = w.right - w.left, height = w.bottom - w.top;
    DibSection expected = DibSection::CreateBitmap24(width, height);
    UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
    SelectedObject selected(memory.get(), expected.Handle());
    adapter->PaintScrollBars(memory.get());
    ASSERT_NE(adapter->FramePicture(), nullptr);
    WindowDc screen(list, true);
    // Both hold 0x00BBGGRR.
    auto screenPixel = [&](int x, int y) { return static_cast<uint32_t>(GetPixel(screen.get(), x, y)); };
    auto bgr = [](uint32_t c) { return c & 0xFFFFFF; };
    int mismatches = 0;
    std::string first;
    // The border strips.
    for (int x = 0; x < width; x += 7) {
      for (int y : {0, adapter->TopEdge() - 1, height - 1}) {
        if (y < 0) continue;
        if (screenPixel(x, y) != bgr(adapter->FramePicture()->GetPixel(x, y)) && mismatches++ == 0)
          first = "border at " + std::to_string(x) + "," + std::to_string(y);
      }
    }
    // The vertical bar, every few pixels.
    RECT bar = adapter->VertBarRect();
    for (int y = bar.top - w.top; y < bar.bottom - w.top; y += 3) {
      for (int x = bar.left - w.left + 1; x < bar.right - w.left - 1; x += 4) {
        if (screenPixel(x, y) != bgr(expected.Pixels().GetPixel(x, y)) && mismatches++ == 0)
          first = "bar at " + std::to_string(x) + "," + std::to_string(y);
      }
    }
    EXPECT_EQ(mismatches, 0) << "first: " << first;
  };
  check("at the first position");
  SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
  check("after the list scrolled");
  SendMessageW(list, LVM_SCROLL, 0, 37);
  check("after the list was scrolled from outside");
}

TEST_F(WindowAdaptersTest, ClientIsTheWindowLessItsEdgesAndTheBar) {
  OpenScrollingList();
  TvlListViewWnd* adapter = Adapter();
  ASSERT_NE(adapter, nullptr);
  RECT window{}, client{};
  GetWindowRect(List(), &window);
  GetClientRect(List(), &client);
  ASSERT_TRUE(adapter->VertBar().Shown);
  int thickness = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_EQ(adapter->BarMetric(TvlScrollBar::kVertical, 1), thickness);
  int edges = adapter->EdgeWidth() + adapter->RightEdge();
  EXPECT_EQ(edges, 2 * OwnEdge(List()));
  EXPECT_EQ(client.right, window.right - window.left - edges - thickness);
  // The bar lies between the client and the right edge, as long as the client is high.
  RECT bar = adapter->VertBarRect();
  EXPECT_EQ(bar.right, window.right - adapter->RightEdge());
  EXPECT_EQ(bar.bottom - bar.top, client.bottom);
  // The platform is asked for its hit code there and answers ours.
  POINT mid = BarPoint((bar.bottom - bar.top) / 2);
  EXPECT_EQ(SendMessageW(List(), WM_NCHITTEST, 0, MAKELPARAM(mid.x, mid.y)), HTVSCROLL);
}

TEST_F(WindowAdaptersTest, RemovingTheSkinGivesTheListsBackTheirOwnLook) {
  OpenWithFilters(200);
  ShowSmallIcons();
  TsSkinManager* manager = form->sSkinManager1;
  manager->SetActive(false);
  Pump(50);
  ASSERT_EQ(TvlMainWnd::FromWindow(List()), nullptr);
  WindowLook own = LookOf(form->ListOn);
  // The platform's own bar takes its room again.
  RECT window{};
  GetWindowRect(List(), &window);
  EXPECT_EQ(own.clientWidth, window.right - window.left - 2 * OwnEdge(List()) - GetSystemMetrics(SM_CXVSCROLL));

  manager->SetActive(true);
  Pump(50);
  ASSERT_NE(Adapter(), nullptr);
  EXPECT_NE(LookOf(form->ListOn), own);
  // Someone joins the chain after the adapter and must stay in it when the adapter leaves.
  int heard = 0;
  WindowSubclass later;
  later.Install(List(), [&heard](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_APP + 7) ++heard;
    return false;
  });
  manager->SetActive(false);
  Pump(50);
  EXPECT_EQ(TvlMainWnd::FromWindow(List()), nullptr);
  EXPECT_EQ(LookOf(form->ListOn), own);
  SendMessageW(List(), WM_APP + 7, 0, 0);
  EXPECT_EQ(heard, 1);
  // With the adapter gone the skin commands are the list's own business again.
  EXPECT_EQ(SendMessageW(List(), SM_LACQUERCMD, SkinCommandParam(scIsSkinAware), 0), 0);
  later.Remove();
  manager->SetActive(true);
  Pump(50);
  EXPECT_NE(Adapter(), nullptr);
}

TEST_F(WindowAdaptersTest, AdapterStaysThroughViewStyleColumnsAndLanguage) {
  OpenWithFilters(30);
  TvlMainWnd* adapter = Adapter();
  ASSERT_NE(adapter, nullptr);
  HWND window = List();
  form->ListOn->SetViewStyle(TViewStyle::vsReport);
  form->ListOn->SetLanguage(TLanguage::lnGerman);
  form->ListOn->SetDirectory(folder.Path());
  form->ListOn->SetViewStyle(TViewStyle::vsList);
  Pump(20);
  // The header is the skin's business in the report view only; in the others it is left alone.
  EXPECT_EQ(Adapter()->Header(), nullptr);
  form->ListOn->SetViewStyle(TViewStyle::vsReport);
  form->ListOn->SetShowColumnHeaders(true);
  Pump(80);
  EXPECT_EQ(form->ListOn->Handle(), window);
  EXPECT_EQ(TvlMainWnd::FromWindow(window), adapter);
  EXPECT_FALSE(adapter->Unhooked());
  // The report view's header is painted from the skin.
  auto* list = Adapter();
  ASSERT_NE(list->Header(), nullptr);
  RedrawWindow(list->Header(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_GT(list->HeaderPaints(), 0);
}

TEST_F(WindowAdaptersTest, AListWhoseWindowIsMadeAgainIsAdaptedAgain) {
  OpenWithFilters(30);
  HWND before = List();
  ASSERT_NE(TvlMainWnd::FromWindow(before), nullptr);
  form->ListOn->SetCtl3D(!form->ListOn->Ctl3D());
  HWND after = form->ListOn->Handle();
  ASSERT_NE(after, before);
  EXPECT_TRUE(PumpUntil([&] { return TvlMainWnd::FromWindow(after) != nullptr; }));
  EXPECT_EQ(form->sSkinProvider1->Adapter()->ItemCount(), 2);
}

TEST_F(WindowAdaptersTest, DownArrowClickScrollsOneLine) {
  HWND list = OpenScrollingList();
  int line = StepOf(list, SB_LINEDOWN);
  ASSERT_GT(line, 0);
  int top = FirstRowTop(list);
  RECT bar = Adapter()->VertBarRect();
  ClickScreen(BarPoint(bar.bottom - bar.top - 3));
  EXPECT_EQ(Position(list), line);
  EXPECT_EQ(top - FirstRowTop(list), line);
  EXPECT_EQ(Adapter()->VertBar().Info().nPos, line);
  EXPECT_EQ(Adapter()->PressedPart(), -1);
  EXPECT_FALSE(Adapter()->RepeatTimerRunning());
}

TEST_F(WindowAdaptersTest, HeldArrowRepeatsOnTheTimersWhileTheMouseStaysOnIt) {
  HWND list = OpenScrollingList();
  int line = StepOf(list, SB_LINEDOWN);
  ASSERT_GT(line, 0);
  TvlListViewWnd* adapter = Adapter();
  RECT bar = adapter->VertBarRect();
  POINT arrow = BarPoint(bar.bottom - bar.top - 3);
  MoveTo(arrow);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return adapter->PressedPart() == scroll_geometry::spSecondArrow; }));
  // The test drives the timers itself.
  KillTimer(list, TvlScrollWnd::kRepeatDelayTimer);
  EXPECT_EQ(adapter->RepeatTimerId(), TvlScrollWnd::kRepeatDelayTimer);
  EXPECT_EQ(Position(list), line);  // once at once

  SendMessageW(list, WM_TIMER, TvlScrollWnd::kRepeatDelayTimer, 0);
  KillTimer(list, TvlScrollWnd::kRepeatTimer);
  EXPECT_EQ(adapter->RepeatTimerId(), TvlScrollWnd::kRepeatTimer);
  EXPECT_EQ(Position(list), 2 * line);
  for (int i = 0; i < 3; ++i) SendMessageW(list, WM_TIMER, TvlScrollWnd::kRepeatTimer, 0);
  EXPECT_EQ(Position(list), 5 * line);

  // Off the arrow the ticks scroll nothing; back on it they do again.
  MoveTo(BarPoint(bar.bottom - bar.top - 40));
  KillTimer(list, TvlScrollWnd::kRepeatTimer);
  SendMessageW(list, WM_TIMER, TvlScrollWnd::kRepeatTimer, 0);
  EXPECT_EQ(Position(list), 5 * line);
  MoveTo(arrow);
  KillTimer(list, TvlScrollWnd::kRepeatTimer);
  SendMessageW(list, WM_TIMER, TvlScrollWnd::kRepeatTimer, 0);
  EXPECT_EQ(Position(list), 6 * line);

  SendMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return adapter->PressedPart() == -1; }));
  EXPECT_FALSE(adapter->RepeatTimerRunning());
  EXPECT_EQ(Position(list), 6 * line);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowAdaptersTest, ClickInTheTrackPages) {
  HWND list = OpenScrollingList();
  int page = StepOf(list, SB_PAGEDOWN);
  ASSERT_GT(page, 0);
  scroll_geometry::BarLayout layout = Adapter()->Layout(TvlScrollBar::kVertical);
  ASSERT_TRUE(layout.HasThumb());
  int top = FirstRowTop(list);
  ClickScreen(BarPoint((layout.ThumbEnd() + layout.TrackEnd()) / 2));
  EXPECT_EQ(Position(list), page);
  EXPECT_EQ(top - FirstRowTop(list), page);
}

TEST_F(WindowAdaptersTest, DraggingTheThumbScrollsToThePositionItStandsFor) {
  HWND list = OpenScrollingList();
  TvlListViewWnd* adapter = Adapter();
  scroll_geometry::BarLayout layout = adapter->Layout(TvlScrollBar::kVertical);
  ASSERT_TRUE(layout.HasThumb());
  scroll_geometry::ScrollValues values = adapter->VertBar().Values();
  int top = FirstRowTop(list);
  int grab = layout.thumbStart + layout.thumbSize / 2;
  MoveTo(BarPoint(grab));
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return adapter->DraggingThumb(); }));
  const int moves[] = {10, 25, 40};
  for (int dy : moves) {
    MoveTo(BarPoint(grab + dy));
    int expected = scroll_geometry::DragPosition(layout, values, layout.thumbStart + dy);
    PumpUntil([&] { return Position(list) == expected; });
    EXPECT_EQ(Position(list), expected) << "moved " << dy;
    EXPECT_EQ(top - FirstRowTop(list), expected) << "moved " << dy;
  }
  // Past the end of the track: pinned to the last position.
  MoveTo(BarPoint(grab + 2000));
  PumpUntil([&] { return Position(list) == scroll_geometry::LastPosition(values); });
  EXPECT_EQ(Position(list), scroll_geometry::LastPosition(values));
  MoveTo(BarPoint(grab + 40));
  SendMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !adapter->DraggingThumb(); }));
  int expected = scroll_geometry::DragPosition(layout, values, layout.thumbStart + 40);
  EXPECT_EQ(Position(list), expected);
  EXPECT_EQ(top - FirstRowTop(list), expected);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowAdaptersTest, LosingTheCaptureEndsDragAndRepeat) {
  HWND list = OpenScrollingList();
  TvlListViewWnd* adapter = Adapter();
  scroll_geometry::BarLayout layout = adapter->Layout(TvlScrollBar::kVertical);
  MoveTo(BarPoint(layout.thumbStart + 2));
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return adapter->DraggingThumb(); }));
  SetCapture(form->Handle());
  EXPECT_FALSE(adapter->DraggingThumb());
  EXPECT_EQ(adapter->PressedPart(), -1);
  SendMouse(MOUSEEVENTF_LEFTUP);
  Pump(30);
  ReleaseCapture();

  RECT bar = adapter->VertBarRect();
  MoveTo(BarPoint(bar.bottom - bar.top - 3));
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return adapter->RepeatTimerRunning(); }));
  SetCapture(form->Handle());
  EXPECT_FALSE(adapter->RepeatTimerRunning());
  EXPECT_EQ(adapter->PressedPart(), -1);
  int position = Position(list);
  Pump(400);  // no repeat comes any more
  EXPECT_EQ(Position(list), position);
  SendMouse(MOUSEEVENTF_LEFTUP);
  Pump(30);
  ReleaseCapture();
}

TEST_F(WindowAdaptersTest, PartUnderTheMouseLightsUpAndGoesOutWhenItLeaves) {
  OpenScrollingList();
  TvlListViewWnd* adapter = Adapter();
  RECT bar = adapter->VertBarRect();
  MoveTo(BarPoint(2));
  ASSERT_TRUE(PumpUntil([&] { return adapter->HotPart() == scroll_geometry::spFirstArrow; }));
  EXPECT_EQ(adapter->HotBar(), TvlScrollBar::kVertical);
  MoveTo(BarPoint(bar.bottom - bar.top - 2));
  EXPECT_TRUE(PumpUntil([&] { return adapter->HotPart() == scroll_geometry::spSecondArrow; }));
  MoveTo({bar.left - 60, bar.top + 20});
  EXPECT_TRUE(PumpUntil([&] { return adapter->HotBar() == -1; }));
  EXPECT_FALSE(adapter->HotTimerRunning());
}

TEST_F(WindowAdaptersTest, WheelScrollsTheListAndTheBarFollows) {
  HWND list = OpenScrollingList();
  RECT r{};
  GetWindowRect(list, &r);
  MoveTo({(r.left + r.right) / 2 - 20, (r.top + r.bottom) / 2});
  int top = FirstRowTop(list);
  INPUT wheel{};
  wheel.type = INPUT_MOUSE;
  wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
  wheel.mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);
  SendInput(1, &wheel, sizeof(wheel));
  ASSERT_TRUE(PumpUntil([&] { return Position(list) > 0; }));
  Pump(20);
  EXPECT_EQ(top - FirstRowTop(list), Position(list));
  EXPECT_EQ(Adapter()->VertBar().Info().nPos, Position(list));
}

}  // namespace
