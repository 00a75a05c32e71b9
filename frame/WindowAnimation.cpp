// See WindowAnimation.h.
#include "frame/WindowAnimation.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "frame/OutputWindow.h"
#include "frame/sSkinProvider.h"
#include "frame/vlBorderForm.h"
#include "framework/Form.h"
#include "framework/Handles.h"
#include "framework/WindowClass.h"
#include "paint/DibSection.h"
#include "paint/LayeredHandOver.h"
#include "pixel/BitmapBlend.h"
#include "skin/WindowAnimationSteps.h"
#include "skin/sSkinManager.h"

namespace window_animation {

namespace {

constexpr wchar_t kAnimationClass[] = L"TvlAnimationWindow";

class SleepTicks : public AnimationTicks {
 public:
  void FrameShown(HWND, int, uint8_t, const Bitmap&) override {}
  void Wait(int milliseconds) override { Sleep(static_cast<DWORD>(milliseconds)); }
};

SleepTicks defaultTicks;
AnimationTicks* ticks = &defaultTicks;

// The running animation (one at a time, on the user-interface thread).
struct Running {
  HWND form = nullptr;         // borrowed
  UniqueWindow window;         // the temporary layered window, owned by the form
  std::unique_ptr<TOutputWindow> output;  // or the output window over the control
  bool cancelled = false;
};
Running* running = nullptr;
bool layeredAllowed = true;

void SetRunning(Running* run) {
  running = run;
  SetAnimating(run != nullptr);
}

void RegisterAnimationClass() { RegisterWindowClassOnce(kAnimationClass, DefWindowProcW); }

// The temporary window's end: destroyed by us, or already gone with its owner (the form).
void RemoveWindow(Running& run) {
  run.output.reset();
  if (!run.window) return;
  if (IsWindow(run.window.get())) run.window.reset();
  else run.window.release();
}

// Makes `run` the running animation for the life of the scope; its window goes at the end.
class RunningScope {
 public:
  explicit RunningScope(Running& run) : run_(run) { SetRunning(&run); }
  ~RunningScope() {
    RemoveWindow(run_);
    if (running == &run_) SetRunning(nullptr);
  }
  RunningScope(const RunningScope&) = delete;
  RunningScope& operator=(const RunningScope&) = delete;

 private:
  Running& run_;
};

Rect WindowRectOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left, r.top, r.right, r.bottom};
}

void PrintChildren(HDC dc, HWND parent, Point offset, const Rect& clip);

// `control` with its top-left window corner at `offset`, then its children, within `clip`. An
// animated control itself is printed also while its redrawing is switched off (which takes its
// visible style away).
void PrintTree(HDC dc, HWND control, Point offset, const Rect& clip, bool evenHidden = false) {
  if (!evenHidden && !IsWindowVisible(control)) return;
  const Rect bounds = WindowRectOf(control);
  const Rect own{offset.x, offset.y, offset.x + bounds.Width(), offset.y + bounds.Height()};
  const Rect visible{std::max(own.left, clip.left), std::max(own.top, clip.top), std::min(own.right, clip.right),
                     std::min(own.bottom, clip.bottom)};
  if (visible.left >= visible.right || visible.top >= visible.bottom) return;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, visible.left, visible.top, visible.right, visible.bottom);
  SetViewportOrgEx(dc, offset.x, offset.y, nullptr);
  SendMessageW(control, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  RestoreDC(dc, saved);
  PrintChildren(dc, control, offset, visible);
}

void PrintChildren(HDC dc, HWND parent, Point offset, const Rect& clip) {
  const Rect bounds = WindowRectOf(parent);
  // Children bottom of the z-order first, so the top ones end up over them.
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) children.push_back(child);
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    const Rect childBounds = WindowRectOf(*it);
    PrintTree(dc, *it, {offset.x + childBounds.left - bounds.left, offset.y + childBounds.top - bounds.top}, clip);
  }
}

// The form's client area and children printed over the frame picture (the frame's own part
// comes from the picture: the skinned non-client area is not printed).
void PrintForm(HDC dc, HWND form, Point offset) {
  const Rect bounds = WindowRectOf(form);
  POINT client{0, 0};
  ClientToScreen(form, &client);
  RECT clientRect{};
  GetClientRect(form, &clientRect);
  const Point at{offset.x + client.x - bounds.left, offset.y + client.y - bounds.top};
  const Rect clip{at.x, at.y, at.x + clientRect.right, at.y + clientRect.bottom};
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
  SetViewportOrgEx(dc, at.x, at.y, nullptr);
  SendMessageW(form, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  RestoreDC(dc, saved);
  PrintChildren(dc, form, offset, clip);
}

void RedrawCompletely(TsSkinProvider& provider, HWND form) {
  if (!IsWindow(form)) return;
  RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  provider.RepaintFrame();
}

// The animation's own checks after every frame: still wanted, the form still there.
bool GoOn(const Running& run) {
  if (run.cancelled || !IsWindow(run.form)) return false;
  if (run.output) return run.output->Alive();
  return run.window && IsWindow(run.window.get());
}

// Copies the overlapping part of `from` into `to` (any of the 24- and 32-bit formats).
void CopyInto(Bitmap& to, const Bitmap& from) {
  const int w = std::min(to.Width(), from.Width()), h = std::min(to.Height(), from.Height());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) to.SetPixel(x, y, from.GetPixel(x, y));
}

// The path without a layered window: the output window over `control` shows the screen capture
// mixed into the new look with falling weights, then the new look; `render` prints the new look
// into a memory DC holding a section of the control's size, `redraw` brings the real control
// back.
bool RunOutputAnimation(HWND control, uint16_t time, const std::function<bool(HDC, Bitmap&)>& render,
                        const std::function<void()>& redraw) {
  CancelWindowAnimation(nullptr);
  Running run;
  run.form = control;
  // 1. The screen under the control, and the cover over it.
  run.output = std::make_unique<TOutputWindow>(control);
  if (!*run.output) {
    run.output.reset();
    redraw();
    return false;
  }
  RunningScope scope(run);

  // 2. The new look, off screen.
  const Bitmap& capture = run.output->Capture();
  DibSection fresh = DibSection::CreateBitmap24(capture.Width(), capture.Height());
  DibSection frame = DibSection::CreateBitmap32(capture.Width(), capture.Height());
  bool rendered = false;
  if (fresh && frame) {
    WindowDc screen(nullptr);
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    SelectedObject selected(memory.get(), fresh.Handle());
    rendered = render(memory.get(), fresh.Pixels());
    GdiFlush();
  }
  // 3. The frames, 4. the new look, then the real control.
  if (rendered) {
    const std::vector<int> weights = BlendWeights(time);
    for (int i = 0; i < static_cast<int>(weights.size()) && GoOn(run); ++i) {
      const int weight = weights[static_cast<size_t>(i)];
      BlendFrame(frame.Pixels(), capture, fresh.Pixels(), weight);
      run.output->Show(frame.Pixels());
      ticks->FrameShown(run.output->Handle(), i, static_cast<uint8_t>(weight), frame.Pixels());
      ticks->Wait(kFrameInterval);
    }
    if (GoOn(run)) run.output->Show(fresh.Pixels());
  }
  const bool completed = rendered && !run.cancelled && IsWindow(control);
  SetRunning(nullptr);
  redraw();
  if (run.output) run.output->Hide();
  return completed;
}

}  // namespace

AnimationTicks* SetAnimationTicks(AnimationTicks* replacement) {
  AnimationTicks* old = ticks == &defaultTicks ? nullptr : ticks;
  ticks = replacement ? replacement : &defaultTicks;
  return old;
}

bool LayeredWindowsAllowed() { return layeredAllowed; }
void SetLayeredWindowsAllowed(bool allowed) { layeredAllowed = allowed; }

HWND AnimationWindow() {
  if (!running) return nullptr;
  if (running->output) return running->output->Handle();
  return running->window ? running->window.get() : nullptr;
}

void CancelWindowAnimation(HWND form) {
  if (!running || (form && running->form != form)) return;
  running->cancelled = true;
  RemoveWindow(*running);
}

void PaintControlTree(HDC dc, HWND control, Point offset) {
  if (!dc || !control) return;
  PrintTree(dc, control, offset, {-0x7FFFFFF, -0x7FFFFFF, 0x7FFFFFF, 0x7FFFFFF});
}

bool AnimateControlShow(HWND control, uint16_t time) {
  if (!control || !IsWindow(control)) return false;
  auto redraw = [control] {
    if (!IsWindow(control)) return;
    SendMessageW(control, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  };
  return RunOutputAnimation(
      control, time,
      [control](HDC dc, Bitmap&) {
        PrintTree(dc, control, {0, 0}, {-0x7FFFFFF, -0x7FFFFFF, 0x7FFFFFF, 0x7FFFFFF}, true);
        return true;
      },
      redraw);
}

namespace {

// A window whose frame one of ours paints, as the animation sees it.
struct FramedLook {
  const Bitmap* frame = nullptr;  // the whole look without the client: the frame picture
  Point origin;                   // where the picture lies on the screen
  bool extended = false;          // the picture is a border window's, shadow included
  HWND borderWindow = nullptr;    // hidden for the animation in extended mode
};

// The show animation of `form`: `compose` makes its frame picture (called once, before the
// first frame), `redraw` brings the real window back at the end (called in every case). The
// client area and the children are printed over the frame picture.
bool AnimateFramedShow(HWND form, uint16_t time, uint8_t alpha, TvlAnimType mode, bool extended,
                       const std::function<FramedLook()>& compose, const std::function<void()>& redraw) {
  if (!layeredAllowed && !extended) {
    // The frame picture with the form's client area and children printed over it.
    return RunOutputAnimation(
        form, time,
        [&compose, form](HDC dc, Bitmap& pixels) {
          const Bitmap* frameImage = compose().frame;
          if (!frameImage || frameImage->Empty()) return false;
          CopyInto(pixels, *frameImage);
          PrintForm(dc, form, {0, 0});
          return true;
        },
        redraw);
  }
  // One animation at a time: a newer one (the skin changed again) ends the running one.
  CancelWindowAnimation(nullptr);

  const FramedLook look = compose();
  const Bitmap* frameImage = look.frame;
  if (!frameImage || frameImage->Empty()) {
    redraw();
    return false;
  }
  const Rect formBounds = WindowRectOf(form);
  const Point origin = look.origin;
  const Point formOffset{formBounds.left - origin.x, formBounds.top - origin.y};

  // 1. The finished look, off screen.
  DibSection composed = DibSection::CreateBitmap32(frameImage->Width(), frameImage->Height());
  if (!composed) {
    redraw();
    return false;
  }
  const Bitmap source = frameImage->Format() == PixelFormat::pf32bit ? *frameImage
                                                                       : frameImage->Converted(PixelFormat::pf32bit);
  {
    Bitmap& pixels = composed.Pixels();
    CopyInto(pixels, source);
    WindowDc screen(nullptr);
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    {
      SelectedObject selected(memory.get(), composed.Handle());
      PrintForm(memory.get(), form, formOffset);
      GdiFlush();
    }
    // Printing leaves alpha 0 behind: the window itself is opaque, only a shadow around it is not.
    if (look.extended)
      SetRectAlpha(pixels, {formOffset.x, formOffset.y, formOffset.x + formBounds.Width(), formOffset.y + formBounds.Height()},
                   255);
    else
      SetRectAlpha(pixels, pixels.Bounds(), 255);
  }
  const Bitmap& picture = composed.Pixels();

  // 2. The temporary window, directly above the form (top-most with a top-most form).
  RegisterAnimationClass();
  Running run;
  run.form = form;
  const bool topMost = (GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  run.window.reset(CreateWindowExW(WS_EX_LAYERED | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | (topMost ? WS_EX_TOPMOST : 0),
                                   kAnimationClass, L"", WS_POPUP, origin.x, origin.y, picture.Width(),
                                   picture.Height(), form, nullptr, GetModuleHandleW(nullptr), nullptr));
  if (!run.window) {
    redraw();
    return false;
  }
  SetWindowLongPtrW(run.window.get(), GWLP_USERDATA, -98);  // the skin library's own window
  RunningScope scope(run);

  const std::vector<LayeredFrame> frames = LayeredFrames(picture.Width(), picture.Height(), time, alpha, mode);
  DibSection frameSection = DibSection::CreateBitmap32(picture.Width(), picture.Height());
  if (frameSection) {
    if (look.extended && look.borderWindow) ShowWindow(look.borderWindow, SW_HIDE);
    SetWindowPos(run.window.get(), topMost ? HWND_TOPMOST : nullptr, origin.x, origin.y, picture.Width(),
                 picture.Height(),
                 SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS | SWP_SHOWWINDOW | (topMost ? 0 : SWP_NOZORDER));
    // 3, 4. The frames.
    for (int i = 0; i < static_cast<int>(frames.size()) && GoOn(run); ++i) {
      RenderLayeredFrame(frameSection.Pixels(), picture, frames, i, mode);
      DibSection premultiplied = PremultipliedSection(frameSection.Pixels());
      HandOverLayered(run.window.get(), premultiplied, origin, frames[static_cast<size_t>(i)].alpha);
      ticks->FrameShown(run.window.get(), i, frames[static_cast<size_t>(i)].alpha, frameSection.Pixels());
      if (frames.size() > 1) ticks->Wait(kFrameInterval);
    }
  }
  // 5, 6. The real window underneath, then the temporary window goes.
  SetRunning(nullptr);
  redraw();
  return frameSection && !run.cancelled;
}

}  // namespace

bool AnimateWindowShow(TsSkinProvider& provider, uint16_t time, uint8_t alpha, TvlAnimType mode) {
  TForm* owner = provider.Form();
  HWND form = owner && owner->HandleAllocated() ? owner->Handle() : nullptr;
  if (!form || !provider.FrameSkinned()) return false;
  const bool extended = provider.Extended();
  return AnimateFramedShow(
      form, time, alpha, mode, extended,
      [&provider, form, extended] {
        provider.ComposeFrameImage();
        const Rect bounds = WindowRectOf(form);
        return FramedLook{provider.FrameImage(),
                          extended ? provider.BorderForm()->Position() : Point{bounds.left, bounds.top}, extended,
                          provider.BorderWindow()};
      },
      [&provider, form] { RedrawCompletely(provider, form); });
}

bool AnimateDialogShow(HWND dialog, uint16_t time, TvlAnimType mode, const std::function<const Bitmap*()>& compose) {
  if (!dialog || !IsWindow(dialog)) return false;
  return AnimateFramedShow(
      dialog, time, 255, mode, false,
      [dialog, &compose] {
        const Rect bounds = WindowRectOf(dialog);
        return FramedLook{compose(), {bounds.left, bounds.top}};
      },
      [dialog] {
        if (IsWindow(dialog))
          RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
      });
}

namespace {
// A window on the screen as a whole, not a child and not minimised.
bool Showable(HWND window) {
  return IsWindowVisible(window) && !IsIconic(window) && !(GetWindowLongW(window, GWL_STYLE) & WS_CHILD);
}
bool Animatable(TsSkinProvider& provider, const TvlFormAnimation* settings) {
  TForm* form = provider.Form();
  if (!settings || !settings->Active() || !provider.FrameSkinned() || !form || !form->HandleAllocated()) return false;
  return Showable(form->Handle());
}
}  // namespace

bool AnimateFormShown(TsSkinProvider& provider) {
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  // A form shown while another animation runs (from its redraw) simply appears.
  if (!manager || !manager->AnimEffects() || Animating()) return false;
  const TvlFormShow* settings = manager->AnimEffects()->FormShow();
  // A show that takes no time has no frames between hidden and shown: the window just shows,
  // without a picture of it composed first.
  if (!Animatable(provider, settings) || settings->Time() == 0) return false;
  AnimateWindowShow(provider, settings->Time(), 255, settings->Mode());
  return true;
}

bool AnimateDialogShown(HWND dialog, const std::function<const Bitmap*()>& compose) {
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  if (!manager || !manager->AnimEffects() || Animating() || !dialog) return false;
  const TvlDialogShow* settings = manager->AnimEffects()->DialogShow();
  // A dialog's animation is asked for with a time: the default of 0 leaves dialogs to appear.
  if (!settings || !settings->Active() || settings->Time() == 0 || !Showable(dialog)) return false;
  AnimateDialogShow(dialog, settings->Time(), settings->Mode(), compose);
  return true;
}

bool AnimateSkinChange(TsSkinProvider& provider) {
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  if (!manager || !manager->AnimEffects()) return false;
  const TvlSkinChanging* settings = manager->AnimEffects()->SkinChanging();
  if (!Animatable(provider, settings)) return false;
  AnimateWindowShow(provider, settings->Time(), 255, settings->Mode());
  return true;
}

}  // namespace window_animation
