// The skin manager's animation settings (property AnimEffects): which mouse events animate
// buttons, and the time and kind of the form-show, dialog-show, page-change and skin-change
// animations. Plain data; the animations themselves read them. Plain C++.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/Component.h"

enum class TvlBtnEvent { beMouseEnter, beMouseLeave, beMouseDown, beMouseUp };
using TvlBtnEvents = TSet<TvlBtnEvent>;
enum class TvlAnimType { atFading, atAero };

const TypeInfo& BtnEventType();
const TypeInfo& BtnEventsType();
const TypeInfo& AnimTypeType();

class TvlBtnEffects : public TPersistent {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  void Assign(const TPersistent& source) override;
  TvlBtnEvents Events() const { return events_; }
  void SetEvents(TvlBtnEvents events) { events_ = events; }

 private:
  TvlBtnEvents events_{TvlBtnEvent::beMouseEnter, TvlBtnEvent::beMouseLeave, TvlBtnEvent::beMouseDown,
                       TvlBtnEvent::beMouseUp};
};

class TvlFormAnimation : public TPersistent {
 public:
  explicit TvlFormAnimation(uint16_t time = 0, TvlAnimType mode = TvlAnimType::atAero) : time_(time), mode_(mode) {}
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  void Assign(const TPersistent& source) override;
  bool Active() const { return active_; }
  void SetActive(bool value) { active_ = value; }
  uint16_t Time() const { return time_; }  // milliseconds
  void SetTime(uint16_t value) { time_ = value; }

 protected:
  bool active_ = true;
  uint16_t time_;
  TvlAnimType mode_;
};

// The page-change animation has no mode of its own.
class TvlPageChange : public TvlFormAnimation {
 public:
  TvlPageChange() : TvlFormAnimation(0) {}
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
};

// Animations that also choose between fading and growing from the centre.
class TvlModeAnimation : public TvlFormAnimation {
 public:
  using TvlFormAnimation::TvlFormAnimation;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  TvlAnimType Mode() const { return mode_; }
  void SetMode(TvlAnimType value) { mode_ = value; }
};
class TvlFormShow : public TvlModeAnimation {
 public:
  TvlFormShow() : TvlModeAnimation(0, TvlAnimType::atAero) {}
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
};
class TvlDialogShow : public TvlModeAnimation {
 public:
  TvlDialogShow() : TvlModeAnimation(0, TvlAnimType::atAero) {}
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
};
class TvlSkinChanging : public TvlModeAnimation {
 public:
  TvlSkinChanging() : TvlModeAnimation(100, TvlAnimType::atFading) {}
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
};

class TvlAnimEffects : public TPersistent {
 public:
  TvlAnimEffects();
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  void Assign(const TPersistent& source) override;
  TvlBtnEffects* Buttons() const { return buttons_.get(); }
  TvlDialogShow* DialogShow() const { return dialogShow_.get(); }
  TvlFormShow* FormShow() const { return formShow_.get(); }
  TvlPageChange* PageChange() const { return pageChange_.get(); }
  TvlSkinChanging* SkinChanging() const { return skinChanging_.get(); }

 private:
  std::unique_ptr<TvlBtnEffects> buttons_;
  std::unique_ptr<TvlDialogShow> dialogShow_;
  std::unique_ptr<TvlFormShow> formShow_;
  std::unique_ptr<TvlPageChange> pageChange_;
  std::unique_ptr<TvlSkinChanging> skinChanging_;
};
