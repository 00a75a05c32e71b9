// TsFadeTimer: the cross-fade of a skinned control between two looks. It keeps a copy of the
// control's picture from before the change, lets the control build its new picture (skin
// command 23), and every 10 ms shows a blend of the two (command 24 hands the control each
// frame; command 16 says the fade is over). A timer that is stopped from inside its own tick is
// retired and freed only after that tick has returned.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "controls/FadeSteps.h"
#include "pixel/Bitmap.h"

class TsCommonData;

// Skin commands between a fade and its control.
constexpr uint16_t scFadeOver = 16;      // the fade has shown its last frame
constexpr uint16_t scPrepareImage = 23;  // build the picture of the new look now
constexpr uint16_t scFadeFrame = 24;     // a frame: the Bitmap at the second parameter

enum class TvlAnimatEvent { aeMouseEnter, aeMouseLeave, aeMouseDown, aeMouseUp, aeGlobalDef };

class TsFadeTimer {
 public:
  static constexpr UINT_PTR kTimerId = 0x5FAD;
  static constexpr UINT kInterval = 10;

  TsFadeTimer(TsCommonData& owner, HWND window);
  TsFadeTimer(const TsFadeTimer&) = delete;
  TsFadeTimer& operator=(const TsFadeTimer&) = delete;
  ~TsFadeTimer();

  FadeSteps Fade;
  Bitmap FadeFrom;  // the old look

  // Copies the old look and builds the new one (StartFade steps 3 to 7).
  void Prepare(bool restarting, int iterations, bool halve, int direction);
  // One tick: the fade-is-over check, then the next frame.
  void Tick();
  void PaintFadeStep();
  void SetEnabled(bool enabled);
  bool InTick() const { return inTick_ > 0; }

 private:
  TsCommonData& owner_;  // borrowed: the control's skin state
  HWND window_;          // borrowed: the control's window
  bool timerSet_ = false;
  int inTick_ = 0;
};

// Whether `event` fades, from the control's events or, with aeGlobalDef, the default manager's.
bool ShouldAnimate(TvlAnimatEvent event, unsigned animatEvents);
// After a state change: fade when the section fades and `animate` allows it, else repaint at
// once; then show or remove the hover glow.
void ShowStateChange(std::unique_ptr<TsFadeTimer>& timer, TsCommonData& data, bool halve, int direction, bool animate);
void StartFade(std::unique_ptr<TsFadeTimer>& timer, TsCommonData& data, bool halve, int direction);
// Stops and frees a running fade (retired until its tick returns when called from inside it).
void StopFade(std::unique_ptr<TsFadeTimer>& timer);
// Frees the timers retired during ticks that have ended.
void FreeRetiredFadeTimers();
