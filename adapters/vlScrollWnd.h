// TvlScrollWnd and TvlScrollBar: skinned scroll bars in a window's non-client area. The platform
// keeps the scroll state (range, page, position); the adapter keeps the native bars from taking
// room or being drawn, reserves their space itself, draws them from the skin's scroll sections,
// hit-tests them, repeats arrow and page clicks while the button is held (300 ms, then every
// 55 ms), drags the thumb, lights up the part under the mouse, and talks to the window through
// its ordinary WM_HSCROLL / WM_VSCROLL messages. The arithmetic is ScrollBarGeometry's.
#pragma once

#include <windows.h>

#include <array>

#include "adapters/ScrollBarGeometry.h"
#include "adapters/vlMainWnd.h"
#include "framework/Geometry.h"
#include "pixel/Bitmap.h"

class TvlScrollWnd;

class TvlScrollBar {
 public:
  static constexpr int kHorizontal = 0;
  static constexpr int kVertical = 1;
  // Flags bits.
  static constexpr unsigned kFirstArrowDisabled = 1;
  static constexpr unsigned kSecondArrowDisabled = 2;
  static constexpr unsigned kNeedsUsableRange = 4;
  static constexpr unsigned kStyleAsks = 8;

  TvlScrollBar(TvlScrollWnd& owner, int kind) : owner_(owner), kind_(kind) {}

  int Kind() const { return kind_; }
  const SCROLLINFO& Info() const { return info_; }
  scroll_geometry::ScrollValues Values() const;
  // Re-reads the platform's scroll state; true when it changed.
  bool Refresh();
  unsigned Flags = 0;
  bool Shown = false;     // the bar has room and is drawn
  int ArrowLength = -1;   // -1: the platform's size
  int Thickness = -1;     // -1: the platform's size
  int MinThumbSize = scroll_geometry::kDefaultMinThumbSize;

 private:
  TvlScrollWnd& owner_;  // borrowed: the adapter that owns the bar
  int kind_;
  SCROLLINFO info_{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
};

class TvlScrollWnd : public TvlMainWnd {
 public:
  static constexpr UINT_PTR kHotTimer = 0xFFF2;
  static constexpr UINT_PTR kRepeatDelayTimer = 0xFFFD;
  static constexpr UINT_PTR kRepeatTimer = 0xFFFE;
  static constexpr UINT kHotInterval = 20;
  static constexpr UINT kRepeatDelay = 300;
  static constexpr UINT kRepeatInterval = 55;

  TvlScrollWnd(HWND window, TsCommonData* skinState, const std::string& section, const char* defaultSection);
  ~TvlScrollWnd() override;

  const TvlScrollBar& HorzBar() const { return bars_[TvlScrollBar::kHorizontal]; }
  const TvlScrollBar& VertBar() const { return bars_[TvlScrollBar::kVertical]; }
  TvlScrollBar& Bar(int kind) { return bars_[static_cast<size_t>(kind)]; }
  const TvlScrollBar& Bar(int kind) const { return bars_[static_cast<size_t>(kind)]; }

  // `which` 1: thickness, 0: arrow length.
  int BarMetric(int kind, int which) const;
  // The bars and the corner between them in window coordinates (empty when not shown).
  Rect BarRect(int kind) const;
  Rect CornerRect() const;
  // The same in screen coordinates.
  RECT HorzBarRect() const { return ToScreen(BarRect(TvlScrollBar::kHorizontal)); }
  RECT VertBarRect() const { return ToScreen(BarRect(TvlScrollBar::kVertical)); }
  scroll_geometry::BarLayout Layout(int kind) const;
  // Whether the bar takes clicks (the platform does not mark it unavailable, the range is usable).
  bool BarEnabled(int kind) const;
  // The corner between both bars is a size grip for the top-level window.
  bool CornerIsGrip() const;

  // Re-reads both bars and, when asked, repaints them.
  void RefreshScrollInfo(bool repaint);
  // Draws both bars and the corner into the window's device context (or `dc`, window coordinates).
  void PaintScrollBars(HDC dc = nullptr);

  int EdgeWidth() const { return edges_.left; }
  int RightEdge() const { return edges_.right; }
  int TopEdge() const { return edges_.top; }
  int BottomEdge() const { return edges_.bottom; }
  bool BarsOnLeft() const { return barsOnLeft_; }
  bool DraggingThumb() const { return draggingThumb_; }
  // The pressed part and its bar (-1 none), the hot part and its bar.
  int PressedPart() const { return pressedPart_; }
  int PressedBar() const { return pressedBar_; }
  int HotPart() const { return hotPart_; }
  int HotBar() const { return hotBar_; }
  bool RepeatTimerRunning() const { return repeatTimer_ != 0; }
  UINT_PTR RepeatTimerId() const { return repeatTimer_; }
  bool HotTimerRunning() const { return hotTimer_; }
  int BarPaints() const { return barPaints_; }

 protected:
  bool WndProc(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // The window's own border, under the bars; edit adapters paint theirs.
  virtual void PaintBorder(HDC) {}
  // What lies under the window, window-sized (the parent's picture or colour).
  Bitmap BackgroundUnderWindow() const;
  // Sends the scroll request `code` with position `position` to the window (with the painting
  // suspended around it when the window asks for that).
  void SendScrollRequest(int kind, int code, int position);
  // A window that scrolls itself when told the thumb's position in its scroll message's
  // second parameter answers 1 to "suspend painting"; others get the position stored first.
  virtual bool TakesThumbPositionInMessage() const { return false; }
  // A scroll message now comes from the adapter itself.
  bool InScroll() const { return inScroll_; }

 private:
  RECT ToScreen(const Rect& rect) const;
  Rect WindowRectangle() const;  // 0, 0, width, height
  int PartAtScreenPoint(int kind, POINT screen) const;
  int BarAtScreenPoint(POINT screen) const;
  void OnNcCalcSize(WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool OnNcHitTest(LPARAM lParam, LRESULT& result);
  bool OnNcButtonDown(WPARAM hit, LPARAM lParam);
  void OnNcMouseMove(WPARAM hit);
  void OnMouseMoveWhilePressed();
  void OnButtonUp();
  void EndPress(bool released);
  void OnTimer(UINT_PTR id);
  void StartRepeat();
  void StopRepeat();
  void StopHotTracking();
  void PaintBar(HDC dc, int kind, const Bitmap& under);
  void PaintCorner(HDC dc, const Bitmap& under);
  int PartState(int kind, int part) const;

  std::array<TvlScrollBar, 2> bars_;
  Rect edges_;  // left, top, right, bottom widths of the window's own border
  bool barsOnLeft_ = false;
  bool inCalcSize_ = false;  // the style is changed for the platform's frame computation
  bool inScroll_ = false;    // the adapter itself is sending a scroll message
  // The press: part and bar (-1 none), whether the mouse is over it now, the thumb drag.
  int pressedPart_ = -1;
  int pressedBar_ = -1;
  bool pressedShown_ = false;
  bool draggingThumb_ = false;
  int grabOffset_ = 0;     // mouse minus thumb start, along the bar
  int dragThumbStart_ = 0; // the dragged thumb's start from the bar's start
  int dragPosition_ = 0;   // the position last sent while dragging
  scroll_geometry::BarLayout dragLayout_;
  UINT_PTR repeatTimer_ = 0;
  // Hot tracking.
  int hotBar_ = -1;
  int hotPart_ = -1;
  bool hotTimer_ = false;
  int barPaints_ = 0;
};
