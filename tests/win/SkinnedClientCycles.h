// The cycle of hover, fade step, press, release and leave on one of the main window's buttons,
// with a skin change every tenth cycle: shared by the leak test and the benchmark, which
// compare the platform objects the program holds before and after many of them.
#pragma once

#include "app/Form1.h"
#include "controls/sButton.h"
#include "framework/HandleCounts.h"
#include "paint/GlowWindows.h"

namespace skinned_cycles {

struct ObjectCounts {
  long gdi = 0;
  long user = 0;
  size_t glowSlots = 0;
  bool operator==(const ObjectCounts&) const = default;
};

inline void PumpWaiting() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// The counts once every pending paint has run and nothing changes them any more: a rebuilt
// button holds its new window region until its next paint hands it to the window, and a fade or
// animation holds its frames until its last step, whose timer runs late on a busy machine. The
// counts are taken when they have stayed the same over several rounds of paints and messages
// (objects left behind stay, so a leak still shows).
inline ObjectCounts Take(TForm1& form) {
  ObjectCounts last{-1, -1, 0};
  int unchanged = 0;
  for (int round = 0; round < 150 && unchanged < 5; ++round) {
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpWaiting();
    ObjectCounts now{handle_counts::Gdi(), handle_counts::User(), GlowRegistrySlots()};
    unchanged = now == last ? unchanged + 1 : 0;
    last = now;
    Sleep(20);
  }
  return last;
}

// Cycle `index` of a run on `button` of `form`.
inline void RunCycle(TForm1& form, TsButton& button, int index) {
  button.Perform(CM_MOUSEENTER);
  if (TsFadeTimer* timer = button.FadeTimer()) {
    timer->SetEnabled(false);
    timer->PaintFadeStep();
  }
  button.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  button.Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  button.Perform(CM_MOUSELEAVE);
  if (index % 10 == 0) {
    form.sSkinManager1->SetActive(false);
    form.sSkinManager1->SetActive(true);
  }
  PumpWaiting();
}

}  // namespace skinned_cycles
