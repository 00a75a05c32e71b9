// See sFadeTimer.h.
#include "controls/sFadeTimer.h"

#include <algorithm>
#include <vector>

#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "paint/sCommonData.h"
#include "pixel/BitmapBlend.h"
#include "skin/AnimEffects.h"
#include "skin/SkinCommands.h"
#include "skin/sSkinManager.h"

namespace {

std::vector<std::unique_ptr<TsFadeTimer>>& Retired() {
  static std::vector<std::unique_ptr<TsFadeTimer>> retired;
  return retired;
}

bool Alive(const TsCommonData& data) {
  TControl* control = data.Control();
  return control && !control->IsDestroying();
}

}  // namespace

TsFadeTimer::TsFadeTimer(TsCommonData& owner, HWND window) : owner_(owner), window_(window) {}

TsFadeTimer::~TsFadeTimer() { SetEnabled(false); }

void TsFadeTimer::SetEnabled(bool enabled) {
  if (enabled == timerSet_ || !window_) return;
  if (enabled) SetTimer(window_, kTimerId, kInterval, nullptr);
  else KillTimer(window_, kTimerId);
  timerSet_ = enabled;
}

void TsFadeTimer::Prepare(bool restarting, int iterations, bool halve, int direction) {
  if (owner_.CacheDirty && (!owner_.Cache || owner_.Cache.Pixels().Empty())) owner_.SendToSelf(scPrepareImage);
  FadeFrom = owner_.Cache ? owner_.Cache.Pixels() : Bitmap{};
  PrepareFade(Fade, restarting, iterations, halve, direction);
  owner_.SendToSelf(scPrepareImage);  // the cache now holds the new look: the fade's target
  SetEnabled(Fade.Direction != 0);
}

void TsFadeTimer::Tick() {
  ++inTick_;
  if (!Alive(owner_)) {
    Fade.Direction = 0;
  } else if (FadeFinished(Fade)) {
    owner_.SendToSelf(scFadeOver);
  } else if (Fade.Direction == 1 || Fade.Direction == 2) {
    PaintFadeStep();
  }
  --inTick_;
}

void TsFadeTimer::PaintFadeStep() {
  TControl* control = owner_.Control();
  if (!Alive(owner_) || Fade.Steps == 0) return;
  if (!control->Enabled()) {
    SetEnabled(false);
    Fade.Steps = 0;
    owner_.InvalidateCache();
    return;
  }
  Bitmap frame = FadeFrom.Format() == PixelFormat::pf24bit ? FadeFrom : FadeFrom.Converted(PixelFormat::pf24bit);
  int weight = FadeWeight(Fade.Step, Fade.Steps);
  if (owner_.Cache) {
    const Bitmap& target = owner_.Cache.Pixels();
    if (target.Width() == frame.Width() && target.Height() == frame.Height() && frame.Width() >= 2 && frame.Height() >= 2)
      BlendBitmaps(frame, target, static_cast<uint8_t>(weight));
  }
  if (owner_.SendToSelf(scFadeFrame, 0, reinterpret_cast<LPARAM>(&frame)) == 0 && window_ && !frame.Empty()) {
    // The control did not paint the frame itself: it goes to the window as it is.
    WindowDc windowDc(window_);
    HDC dc = windowDc.get();
    {
      SavedDcState saved(dc);
      BITMAPINFO info = TopDownBitmapInfo(frame.Width(), frame.Height(), 24);
      // Rows of a device-independent bitmap are padded to 4 bytes; a Bitmap's own rows may not be.
      std::vector<uint8_t> rows(static_cast<size_t>((frame.Width() * 3 + 3) / 4 * 4) * static_cast<size_t>(frame.Height()));
      size_t stride = static_cast<size_t>((frame.Width() * 3 + 3) / 4 * 4);
      for (int y = 0; y < frame.Height(); ++y)
        std::copy_n(frame.Row(y), frame.Width() * 3, rows.begin() + static_cast<ptrdiff_t>(stride * static_cast<size_t>(y)));
      SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(frame.Width()), static_cast<DWORD>(frame.Height()), 0, 0, 0,
                        static_cast<UINT>(frame.Height()), rows.data(), &info, DIB_RGB_COLORS);
    }
  }
  ++Fade.Step;
}

bool ShouldAnimate(TvlAnimatEvent event, unsigned animatEvents) {
  if (animatEvents & (1u << static_cast<unsigned>(event))) return true;
  if (!(animatEvents & (1u << static_cast<unsigned>(TvlAnimatEvent::aeGlobalDef)))) return false;
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  if (!manager || !manager->AnimEffects()) return false;
  TvlBtnEffects* buttons = manager->AnimEffects()->Buttons();
  return buttons && buttons->Events().Has(static_cast<TvlBtnEvent>(event));
}

void StartFade(std::unique_ptr<TsFadeTimer>& timer, TsCommonData& data, bool halve, int direction) {
  const TsGeneralData* s = data.Section();
  if (!s || !s->FadingEnabled) return;
  bool restarting = static_cast<bool>(timer);
  if (!timer) timer = std::make_unique<TsFadeTimer>(data, data.Window());
  timer->Prepare(restarting, s->FadingIterations, halve, direction);
}

void StopFade(std::unique_ptr<TsFadeTimer>& timer) {
  if (!timer) return;
  timer->SetEnabled(false);
  timer->Fade.Direction = 0;
  if (timer->InTick()) Retired().push_back(std::move(timer));
  timer.reset();
}

void FreeRetiredFadeTimers() {
  auto& retired = Retired();
  retired.erase(std::remove_if(retired.begin(), retired.end(), [](const auto& t) { return !t->InTick(); }), retired.end());
}

void ShowStateChange(std::unique_ptr<TsFadeTimer>& timer, TsCommonData& data, bool halve, int direction, bool animate) {
  if (!data.IsSkinned()) return;
  const TsGeneralData* s = data.Section();
  bool fade = animate && !TsSkinManager::SkinLoading() && s && s->FadingEnabled && data.Cache && !data.CacheDirty;
  data.CacheDirty = true;
  if (fade) {
    StartFade(timer, data, halve, direction);
  } else {
    StopFade(timer);
    if (TControl* control = data.Control()) {
      control->Invalidate();
      if (auto* windowed = dynamic_cast<TWinControl*>(control); windowed && windowed->HandleAllocated())
        UpdateWindow(windowed->Handle());
    }
  }
  data.ShowGlow(halve);
}
