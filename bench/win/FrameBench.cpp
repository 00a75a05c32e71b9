// Times the main window's skinned frame: composing the frame picture, composing and showing it
// (in extended mode: handing the premultiplied picture to the layered border window), and a
// title button's hover (repaint of the button and its glow window) and one step of its glow fade at 615 x 549, at 1920 x 1080
// and maximised; and counts the compositions and hand-overs that 50 moves and 50 size changes
// cause. Maximised at 1920 x 1080 needs a screen of that size (an Xvfb screen of 1920 x 1200).
// Usage: FrameBench [DATA_FOLDER]   (the folder is not used)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/Form1.h"
#include "bench/win/BenchMainWindow.h"
#include "bench/win/BenchSupport.h"
#include "frame/vlBorderForm.h"
#include "framework/Application.h"
#include "paint/GlowWindows.h"

namespace {

using bench::Median;
using bench::Pump;

void Measure(TForm1& form, const char* label) {
  Pump();
  TsSkinProvider& provider = *form.sSkinProvider1;
  HWND window = form.Handle();
  double compose = Median(20, [&] { provider.ComposeFrameImage(); });
  double deliver = Median(20, [&] { provider.RepaintFrame(); });
  double hover = Median(20, [&] {
    SendMessageW(window, WM_NCMOUSEMOVE, HTCLOSE, 0);
    SendMessageW(window, WM_NCMOUSEMOVE, HTCAPTION, 0);
  });
  // One step of a glow fade: the close button's glow window gets a new constant alpha.
  SendMessageW(window, WM_NCMOUSEMOVE, HTCLOSE, 0);
  Pump();
  double glowStep = -1;
  if (HWND glow = provider.ButtonGlowWindow(HTCLOSE)) {
    int id = -1;
    for (size_t i = 0; i < GlowRegistrySlots(); ++i)
      if (GlowWindowOf(static_cast<int>(i)) == glow) id = static_cast<int>(i);
    int step = 0;
    if (id >= 0) glowStep = Median(20, [&] { SetGlowAlpha(id, static_cast<uint8_t>(25 * (1 + step++ % 10))); });
  }
  SendMessageW(window, WM_NCMOUSEMOVE, HTCAPTION, 0);
  Pump();
  RECT r;
  GetWindowRect(window, &r);
  const Bitmap* image = provider.FrameImage();
  std::printf("%-20s window %4ld x %4ld, picture %4d x %4d (%s): compose %6.2f ms, compose and hand over %6.2f ms, "
              "hover in and out %6.2f ms, glow step %6.3f ms\n",
              label, r.right - r.left, r.bottom - r.top, image ? image->Width() : 0, image ? image->Height() : 0,
              provider.Extended() ? "border window" : "own frame", compose, deliver, hover, glowStep);
}

}  // namespace

int wmain() {
  bench::ShownMainWindow main;
  ComponentPtr<TForm1>& form = main.form;
  HWND window = form->Handle();
  SetWindowPos(window, nullptr, 386, 254, 615, 549, SWP_NOZORDER);  // whatever the settings restored
  Measure(*form, "615 x 549");
  SetWindowPos(window, nullptr, 0, 0, 1920, 1080, SWP_NOZORDER);  // the platform may cap it at the screen
  Measure(*form, "1920 x 1080 asked");
  SetWindowPos(window, nullptr, 386, 254, 615, 549, SWP_NOZORDER);
  ShowWindow(window, SW_MAXIMIZE);
  Measure(*form, "maximised");
  ShowWindow(window, SW_RESTORE);
  Pump();

  auto handOvers = [&] { return form->sSkinProvider1->BorderForm() ? form->sSkinProvider1->BorderForm()->HandOvers() : 0; };
  int before = form->sSkinProvider1->Compositions();
  int handOversBefore = handOvers();
  for (int i = 0; i < 50; ++i) {
    SetWindowPos(window, nullptr, 300 + i, 200 + i, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
    Pump();
  }
  int afterMoves = form->sSkinProvider1->Compositions();
  int handOversAfterMoves = handOvers();
  for (int i = 0; i < 50; ++i) {
    SetWindowPos(window, nullptr, 0, 0, 700 + i, 600 + i, SWP_NOZORDER | SWP_NOMOVE);
    Pump();
  }
  int afterSizes = form->sSkinProvider1->Compositions();
  std::printf("compositions: 50 moves %d, 50 size changes %d; hand-overs: 50 moves %d, 50 size changes %d\n",
              afterMoves - before, afterSizes - afterMoves, handOversAfterMoves - handOversBefore,
              handOvers() - handOversAfterMoves);
  return 0;
}
