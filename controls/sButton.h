// TsButton: a push button. It reports its click through the reflected BN_CLICKED notification.
// With a skin it is owner-drawn: its look (normal, hot, pressed; dimmed when disabled) is built
// in its skin state's cache from the "BUTTON" section, its window is cut to the border mask,
// looks cross-fade through TsFadeTimer and the section's glow shows around it on hover.
#pragma once

#include <memory>

#include "controls/SkinnedControl.h"
#include "controls/sFadeTimer.h"
#include "framework/Control.h"

enum class TsDisabledKind { dkBlended, dkGrayed };
using TsDisabledKinds = TSet<TsDisabledKind>;

class TsButton : public TsSkinnedControl<TWinControl> {
 public:
  explicit TsButton(TComponent* owner);
  ~TsButton() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // Presses the button from code, as a click would.
  void Click() override;

  bool ShowFocus() const { return showFocus_; }
  void SetShowFocus(bool value);
  bool Down() const { return down_; }
  void SetDown(bool value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  int FocusMargin() const { return focusMargin_; }
  void SetFocusMargin(int value) { focusMargin_ = value; }
  TsDisabledKinds DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKinds value);
  // Bits of TvlAnimatEvent; aeGlobalDef by default.
  unsigned AnimatEvents() const { return animatEvents_; }
  void SetAnimatEvents(unsigned value) { animatEvents_ = value; }

  // 0 normal, 1 hot, 2 pressed.
  int CurrentLook() const;
  // The rectangle the caption is drawn in, for `look`.
  Rect CaptionRect(int look) const;
  // Rebuilds the cache for the current look and the pending window region.
  void PrepareImage();
  // The running fade, or nullptr (tests drive its ticks).
  TsFadeTimer* FadeTimer() const { return fadeTimer_.get(); }

 protected:
  void CreateParams(CreateParamsRecord& params) override;
  bool ClicksOnMouseUp() const override { return false; }
  bool SkinMessage(TMessage& message) override;
  void EnabledChanged() override;
  void TextChanged() override;

 private:
  bool Skinned() const;
  void PaintButton(HDC dc);
  void MouseDownSkinned();
  void MouseUpSkinned();
  void SetOwnerDraw(bool on);
  UniqueRegion BuildRegion(int look) const;
  void Repaint();

  bool showFocus_ = true;
  bool down_ = false;
  bool wordWrap_ = true;
  int focusMargin_ = 1;
  TsDisabledKinds disabledKind_{TsDisabledKind::dkBlended};
  unsigned animatEvents_ = 1u << static_cast<unsigned>(TvlAnimatEvent::aeGlobalDef);
  std::unique_ptr<TsFadeTimer> fadeTimer_;
  UniqueRegion pendingRegion_;  // built by the last rebuild, not yet handed to the window
  Rect regionBounds_;           // the bounds when the region was last set
  bool regionSet_ = false;
  bool pressStarted_ = false;
};
