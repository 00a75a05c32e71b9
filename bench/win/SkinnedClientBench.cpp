// Times the main window's skinned client area: a full repaint from dirty caches and from clean
// ones (copies only), split into the skinned panels' and buttons' own paint handlers, the two
// native file lists and the form, and the skin's composition alone (every cache rebuilt in memory); one
// fade step of a button, and showing a hover glow, at 615 x 549 and at 1920 x 1080; then runs 1,000 hover, press and fade cycles with 100 skin changes and prints the
// program's GDI and USER object counts (kept by the handle wrappers) and the glow registry's
// size before and after.
// Usage: SkinnedClientBench [DATA_FOLDER]   (the folder is not used)
#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/Form1.h"
#include "bench/win/BenchMainWindow.h"
#include "bench/win/BenchSupport.h"
#include "framework/Application.h"
#include "paint/GlowWindows.h"
#include "tests/win/SkinnedClientCycles.h"

namespace {

using Clock = std::chrono::steady_clock;
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

void Print(const char* when, const skinned_cycles::ObjectCounts& c) {
  std::printf("%-7s GDI objects %ld, USER objects %ld, glow registry slots %zu (platform's own counts: GDI %lu, USER %lu; "
              "Wine answers 0)\n",
              when, c.gdi, c.user, c.glowSlots, GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
              GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
}

// Time spent inside the paint handlers of three groups of windows, each handler's own time
// only (a handler that makes a child paint at once does not count the child's time).
class PaintTimes {
 public:
  enum Group { kPanels, kButtons, kLists, kForm, kGroups };
  PaintTimes() = default;
  PaintTimes(const PaintTimes&) = delete;
  PaintTimes& operator=(const PaintTimes&) = delete;
  ~PaintTimes() {
    for (auto [control, hook] : hooks_) control->RemoveMessageHook(hook);
  }
  void Watch(TControl* control, Group group) {
    hooks_.emplace_back(control, control->AddMessageHook([this, group](TMessage& m, const TControl::NextHandler& next) {
      if (m.Msg != WM_PAINT) {
        next(m);
        return;
      }
      Enter(group);
      next(m);
      Leave();
    }));
  }
  void Reset() { total_ = {}; }
  double Of(Group group) const { return total_[group]; }

 private:
  void Enter(Group group) {
    Clock::time_point now = Clock::now();
    if (!stack_.empty()) total_[stack_.back()] += std::chrono::duration<double, std::milli>(now - mark_).count();
    stack_.push_back(group);
    mark_ = now;
  }
  void Leave() {
    Clock::time_point now = Clock::now();
    total_[stack_.back()] += std::chrono::duration<double, std::milli>(now - mark_).count();
    stack_.pop_back();
    mark_ = now;
  }
  std::vector<std::pair<TControl*, int>> hooks_;  // borrowed controls of the form
  std::array<double, kGroups> total_{};
  std::vector<Group> stack_;
  Clock::time_point mark_;
};

void WatchSkinned(PaintTimes& times, TWinControl* parent) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(parent->Controls(i));
    if (!child) continue;
    if (dynamic_cast<TsButton*>(child)) times.Watch(child, PaintTimes::kButtons);
    else if (SkinDataOf(child)) times.Watch(child, PaintTimes::kPanels);
    WatchSkinned(times, child);
  }
}

// Rebuilds every skinned window's cache in memory, as a repaint from dirty caches would.
void ComposeAll(TWinControl* parent) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* child = parent->Controls(i);
    if (auto* panel = dynamic_cast<TsPanel*>(child)) panel->PrepareCachedImage();
    else if (auto* button = dynamic_cast<TsButton*>(child)) button->PrepareImage();
    if (auto* windowed = dynamic_cast<TWinControl*>(child)) ComposeAll(windowed);
  }
}

void Measure(TForm1& form, const char* label) {
  Pump();
  RepaintNow(form);
  // Medians of the whole repaint and of each group's share, over 20 runs each way.
  struct Split {
    double total, panels, buttons, lists, form;
  };
  PaintTimes times;
  auto measure = [&](bool dirty) {
    std::vector<double> total, panels, buttons, lists, own;
    for (int i = 0; i < 20; ++i) {
      if (dirty) MarkAllDirty(&form);
      times.Reset();
      auto start = Clock::now();
      RepaintNow(form);
      total.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
      panels.push_back(times.Of(PaintTimes::kPanels));
      buttons.push_back(times.Of(PaintTimes::kButtons));
      lists.push_back(times.Of(PaintTimes::kLists));
      own.push_back(times.Of(PaintTimes::kForm));
    }
    auto median = [](std::vector<double> v) {
      std::sort(v.begin(), v.end());
      return v[v.size() / 2];
    };
    return Split{median(total), median(panels), median(buttons), median(lists), median(own)};
  };
  WatchSkinned(times, &form);
  times.Watch(form.ListOn, PaintTimes::kLists);
  times.Watch(form.ListOff, PaintTimes::kLists);
  times.Watch(&form, PaintTimes::kForm);
  Split dirty = measure(true);
  Split clean = measure(false);
  double compose = Median(20, [&] { ComposeAll(&form); });
  Pump();
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
  std::printf("%-22s client %4d x %4d:\n", label, form.ClientWidth(), form.ClientHeight());
  for (auto [name, split] : {std::pair{"dirty caches", dirty}, std::pair{"clean caches", clean}})
    std::printf("  repaint from %s %6.2f ms: skinned panels (their labels included) %6.2f ms, skinned buttons %6.2f ms, "
                "file lists %6.2f ms, form %5.2f ms\n",
                name, split.total, split.panels, split.buttons, split.lists, split.form);
  std::printf("  composition of every cache in memory %6.2f ms, fade step %6.3f ms, glow %6.3f ms\n", compose, fade, glow);
}

}  // namespace

int wmain() {
  bench::ShownMainWindow main;
  ComponentPtr<TForm1>& form = main.form;
  Measure(*form, "615 x 549");
  SetWindowPos(form->Handle(), nullptr, 0, 0, 1920, 1080, SWP_NOZORDER);
  Pump();
  Measure(*form, "1920 x 1080 window");
  SetWindowPos(form->Handle(), nullptr, 386, 254, 615, 549, SWP_NOZORDER);
  Pump();

  TsButton* button = form->ListBtn;
  button->OnClick = [](TObject*) {};  // the presses only change looks
  skinned_cycles::RunCycle(*form, *button, 1);  // caches and the glow slot exist from here on
  skinned_cycles::ObjectCounts before = skinned_cycles::Take(*form);
  for (int i = 0; i < 1000; ++i) skinned_cycles::RunCycle(*form, *button, i);  // 100 skin changes
  skinned_cycles::ObjectCounts after = skinned_cycles::Take(*form);
  std::printf("1,000 hover, press, fade cycles with 100 skin changes:\n");
  Print("before", before);
  Print("after", after);
  return 0;
}
