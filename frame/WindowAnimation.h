// The show and skin-change animations of skinned forms, and the show animation of the
// platform dialogs that the dialog adapter skins. The finished look of the whole window
// (the provider's frame picture with the form and every visible child printed into it) is
// composed off screen and shown in a temporary layered window above the form that fades in, or
// fades in while growing from the centre; then the real window is redrawn underneath and the
// temporary window goes. The frame arithmetic is plain C++ (skin/WindowAnimationSteps).
//
// Where a layered window cannot be used (layered windows switched off, or a control that is not
// a top-level form) the animation cross-fades from what the screen showed under the control to
// its new look, in an output window (TOutputWindow) that covers the control for the time.
//
// The temporary window is owned by the form, so the platform removes it with the form; an
// animation also stops at the next frame when its form is gone, and a new animation ends a
// running one first, so no temporary window outlives the animation that made it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "framework/Geometry.h"
#include "paint/AnimationFlag.h"
#include "pixel/Bitmap.h"
#include "skin/AnimEffects.h"

class TsSkinProvider;

namespace window_animation {

// The pace of an animation: called after each frame is handed to the temporary window. The
// default sleeps the frame interval; tests install their own to drive and watch the frames.
class AnimationTicks {
 public:
  virtual ~AnimationTicks() = default;
  // Frame `index` (picture `frame`) is on the screen in `window`. `alpha` is the frame's
  // constant alpha in a layered window, the screen capture's weight in an output window.
  virtual void FrameShown(HWND window, int index, uint8_t alpha, const Bitmap& frame) = 0;
  virtual void Wait(int milliseconds) = 0;
};
// Installs `ticks` (borrowed; nullptr: the default) and answers the one it replaced.
AnimationTicks* SetAnimationTicks(AnimationTicks* ticks);

// Animating() (paint/AnimationFlag.h) is true while an animation runs (its window is on the
// screen).
// Whether animations may use a layered window (true unless switched off: for a platform
// without them, or to run the other path).
bool LayeredWindowsAllowed();
void SetLayeredWindowsAllowed(bool allowed);
// The running animation's temporary window, or nullptr.
HWND AnimationWindow();
// Ends a running animation of `form` at once (nullptr: of any form), its window removed.
void CancelWindowAnimation(HWND form);

// Renders `control` and all its visible windowed children into `dc` (a memory DC holding a
// section) with the control's top-left window corner at `offset`: each window prints itself
// (WM_PRINT) clipped to its own and its parents' rectangles. Invisible windows are skipped.
void PaintControlTree(HDC dc, HWND control, Point offset);

// Shows the provider's form through the animation (`time` ms, final constant alpha `alpha`,
// `mode`), then redraws it completely. Without layered windows the output window's cross-fade
// is used (`alpha` and `mode` do not apply there). In extended mode the border window's picture (shadow
// included) is animated and the border window shown again afterwards. False when nothing could
// be animated (no composed picture, no window); the form is redrawn either way.
bool AnimateWindowShow(TsSkinProvider& provider, uint16_t time, uint8_t alpha, TvlAnimType mode);

// Shows a dialog whose frame one of our adapters paints: `compose` composes and answers its
// frame picture (the whole window, client background included, before the first frame); the
// client area and children are printed over it. The dialog is redrawn completely at the end.
// The same paths and safety as the form's show; false when nothing could be animated.
bool AnimateDialogShow(HWND dialog, uint16_t time, TvlAnimType mode, const std::function<const Bitmap*()>& compose);

// Shows `control` (visible, its redrawing switched off by the caller) through a cross-fade in an
// output window from the screen under it to its new look (`time` ms), then switches its
// redrawing on, redraws it completely and removes the output window. False when nothing could
// be animated; the control is redrawn either way.
bool AnimateControlShow(HWND control, uint16_t time);

// The provider's callers: a form was just shown, or the skin changed; each runs the animation
// when the default manager's settings ask for one, and answers whether it ran (the form was
// redrawn completely then).
bool AnimateFormShown(TsSkinProvider& provider);
bool AnimateSkinChange(TsSkinProvider& provider);
// The dialog adapter's caller: a dialog was just shown; runs AnimateDialogShow when the default
// manager's dialog-show settings are active with a time other than 0.
bool AnimateDialogShown(HWND dialog, const std::function<const Bitmap*()>& compose);

}  // namespace window_animation
