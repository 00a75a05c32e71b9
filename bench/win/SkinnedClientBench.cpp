// Times the main window's skinned client area: a full repaint from dirty caches and from clean
// ones (copies only), one fade step of a button, and showing a hover glow, at 615 x 549 and at
// 1920 x 1080; then runs 1,000 hover, press and fade cycles with 100 skin changes and prints the
// platform's object counts and the glow registry's size before and after.
// Usage: SkinnedClientBench [DATA_FOLDER]   (the folder is not used)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/Form1.h"
#include "bench/win/BenchSupport.h"
#include "framework/Application.h"
#include "paint/GlowWindows.h"

namespace {

using bench::Median;
using bench::Pump;

void MarkAllDirty(TWinControl* parent) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* child = parent->Controls(i);
    if (TsCommonData* data = SkinDataOf(child)) data->CacheDirty = true;
    if (auto* windowed = dynamic_cast<TWinControl*>(child)) MarkAllDirty(windowed);
  }
}

void RepaintNow(TForm1& form) {
  RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

struct Counts {
  DWORD gdi, user;
  size_t glowSlots;
};

Counts Take() {
  return {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS),
          GlowRegistrySlots()};
}

void Print(const char* when, const Counts& c) {
  std::printf("%-7s platform GDI objects %lu, USER objects %lu (Wine answers 0), glow registry slots %zu\n", when, c.gdi,
              c.user, c.glowSlots);
}

void Measure(TForm1& form, const char* label) {
  Pump();
  RepaintNow(form);
  double dirty = Median(20, [&] {
    MarkAllDirty(&form);
    RepaintNow(form);
  });
  double clean = Median(20, [&] { RepaintNow(form); });
  TsButton* button = form.ListBtn;
  TsCommonData* data = button->SkinData();
  button->Perform(CM_MOUSEENTER);
  TsFadeTimer* timer = button->FadeTimer();
  double fade = -1;
  if (timer) {
    timer->SetEnabled(false);
    fade = Median(50, [&] {
      timer->Fade.Step = 5;
      timer->PaintFadeStep();
    });
  }
  button->Perform(CM_MOUSELEAVE);
  Pump();
  data->MouseAbove = true;
  double glow = Median(50, [&] {
    data->ShowGlow(false);
    HideGlowWindow(data->GlowId);
    data->GlowId = -1;
  });
  data->MouseAbove = false;
  std::printf("%-22s client %4d x %4d: repaint dirty %6.2f ms, clean %6.2f ms, fade step %6.3f ms, glow %6.3f ms\n",
              label, form.ClientWidth(), form.ClientHeight(), dirty, clean, fade, glow);
}

}  // namespace

int wmain() {
  TApplication application;
  application.Initialize();
  ComponentPtr<TForm1> form(new TForm1(nullptr));
  form->DoCreate();
  form->Show();
  Pump();
  Measure(*form, "615 x 549");
  SetWindowPos(form->Handle(), nullptr, 0, 0, 1920, 1080, SWP_NOZORDER);
  Pump();
  Measure(*form, "1920 x 1080 window");
  SetWindowPos(form->Handle(), nullptr, 386, 254, 615, 549, SWP_NOZORDER);
  Pump();

  Counts before = Take();
  TsButton* button = form->ListBtn;
  button->OnClick = [](TObject*) {};  // the presses only change looks
  for (int i = 0; i < 1000; ++i) {
    button->Perform(CM_MOUSEENTER);
    if (TsFadeTimer* timer = button->FadeTimer()) {
      timer->SetEnabled(false);
      timer->PaintFadeStep();
    }
    button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    button->Perform(CM_MOUSELEAVE);
    if (i % 10 == 0) {  // a skin change every tenth cycle: 100 in all
      form->sSkinManager1->SetActive(false);
      form->sSkinManager1->SetActive(true);
    }
    Pump();
  }
  RepaintNow(*form);
  Pump();
  Counts after = Take();
  std::printf("1,000 hover, press, fade cycles with 100 skin changes:\n");
  Print("before", before);
  Print("after", after);
  return 0;
}
