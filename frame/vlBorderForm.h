// TvlBorderForm: the border window of a form in extended mode. A borderless, layered window
// that never takes activation lies directly behind the form, a little larger than it, and shows
// the composed frame picture: the skin's wide borders, the title band with icon, caption and
// buttons, and the soft shadow around them. Inside the frame every mouse message arrives as a
// non-client message and goes on to the form (first parameter -1: the form finds the hit code
// itself, at the message's screen point); over the shadow the mouse passes through to the
// window below, by a one-pixel hole at the mouse point in the window's region.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/Geometry.h"
#include "framework/Handles.h"
#include "paint/DibSection.h"
#include "pixel/Bitmap.h"

class TvlBorderForm {
 public:
  // What the border window asks of the form it serves.
  struct Served {
    HWND form = nullptr;
    // The hit code at a screen point (frame_geometry::kHitShadow over the shadow).
    std::function<int(Point screen)> hitTest;
    // The mouse is over the shadow: no title button stays hot.
    std::function<void()> overShadow;
  };

  explicit TvlBorderForm(Served served);
  ~TvlBorderForm();
  TvlBorderForm(const TvlBorderForm&) = delete;
  TvlBorderForm& operator=(const TvlBorderForm&) = delete;

  HWND Window() const { return window_.get(); }
  // Gives the window `picture` (32-bit, straight alpha; premultiplied here) with its top-left
  // corner at `screen`, clipped to `region` (window coordinates; empty: the whole window), and
  // shows it directly behind the form.
  void Show(const Bitmap& picture, Point screen, const Rect& region, uint8_t alpha);
  // Moves the window with the picture it has, directly behind the form.
  void Place(Point screen);
  // Puts the window directly behind the form again (the form's place in the z-order changed);
  // later: once the message being handled is done (the platform may still be placing windows).
  void FollowForm();
  void FollowFormLater();
  void Hide();
  bool Shown() const;
  Point Position() const { return position_; }
  // How often a picture was handed to the window (moves hand nothing over).
  int HandOvers() const { return handOvers_; }
  bool PassingThrough() const { return passingThrough_; }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  void PassThrough(UINT msg, WPARAM wParam, LPARAM lParam);
  // The base region, with a one-pixel hole at `hole` when there is one.
  void ApplyRegion(const Point* hole);
  UINT PositionFlags() const;
  // Whether the window lies right behind the form in the z-order.
  bool RightBehindForm() const;

  Served served_;
  UniqueWindow window_;
  DibSection picture_;  // premultiplied, as handed over
  Point position_;
  Rect baseRegion_;     // empty: the whole window
  bool holeApplied_ = false;
  bool passingThrough_ = false;
  bool trackingLeave_ = false;
  int handOvers_ = 0;
};
