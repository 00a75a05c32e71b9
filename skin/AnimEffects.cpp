// See AnimEffects.h.
#include "skin/AnimEffects.h"

const TypeInfo& BtnEventType() {
  static const TypeInfo t =
      MakeEnumType(L"TvlBtnEvent", {L"beMouseEnter", L"beMouseLeave", L"beMouseDown", L"beMouseUp"});
  return t;
}

const TypeInfo& BtnEventsType() {
  static const TypeInfo t = MakeSetType(L"TvlBtnEvents", BtnEventType());
  return t;
}

const TypeInfo& AnimTypeType() {
  static const TypeInfo t = MakeEnumType(L"TvlAnimType", {L"atFading", L"atAero"});
  return t;
}

const ClassInfo& TvlBtnEffects::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TvlBtnEffects>(L"TvlBtnEffects", &TPersistent::StaticClass())
          .Ordinal(L"Events", BtnEventsType(), &TvlBtnEffects::Events, &TvlBtnEffects::SetEvents)
          .Build());
  return info;
}

void TvlBtnEffects::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TvlBtnEffects*>(&source)) {
    events_ = other->events_;
    return;
  }
  TPersistent::Assign(source);
}

const ClassInfo& TvlFormAnimation::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TvlFormAnimation>(L"TvlFormAnimation", &TPersistent::StaticClass())
          .Boolean(L"Active", &TvlFormAnimation::Active, &TvlFormAnimation::SetActive)
          .Integer(L"Time", &TvlFormAnimation::Time, &TvlFormAnimation::SetTime)
          .Build());
  return info;
}

void TvlFormAnimation::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TvlFormAnimation*>(&source)) {
    active_ = other->active_;
    time_ = other->time_;
    mode_ = other->mode_;
    return;
  }
  TPersistent::Assign(source);
}

const ClassInfo& TvlPageChange::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TvlPageChange>(L"TvlPageChange", &TvlFormAnimation::StaticClass()).Build());
  return info;
}

const ClassInfo& TvlModeAnimation::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TvlModeAnimation>(L"TvlModeAnimation", &TvlFormAnimation::StaticClass())
          .Ordinal(L"Mode", AnimTypeType(), &TvlModeAnimation::Mode, &TvlModeAnimation::SetMode)
          .Build());
  return info;
}

const ClassInfo& TvlFormShow::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TvlFormShow>(L"TvlFormShow", &TvlModeAnimation::StaticClass()).Build());
  return info;
}

const ClassInfo& TvlDialogShow::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TvlDialogShow>(L"TvlDialogShow", &TvlModeAnimation::StaticClass()).Build());
  return info;
}

const ClassInfo& TvlSkinChanging::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TvlSkinChanging>(L"TvlSkinChanging", &TvlModeAnimation::StaticClass()).Build());
  return info;
}

const ClassInfo& TvlAnimEffects::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TvlAnimEffects>(L"TvlAnimEffects", &TPersistent::StaticClass())
          .Object(L"Buttons", TvlBtnEffects::StaticClass(), &TvlAnimEffects::Buttons, nullptr)
          .Object(L"DialogShow", TvlDialogShow::StaticClass(), &TvlAnimEffects::DialogShow, nullptr)
          .Object(L"FormShow", TvlFormShow::StaticClass(), &TvlAnimEffects::FormShow, nullptr)
          .Object(L"PageChange", TvlPageChange::StaticClass(), &TvlAnimEffects::PageChange, nullptr)
          .Object(L"SkinChanging", TvlSkinChanging::StaticClass(), &TvlAnimEffects::SkinChanging, nullptr)
          .Build());
  return info;
}

TvlAnimEffects::TvlAnimEffects()
    : buttons_(std::make_unique<TvlBtnEffects>()),
      dialogShow_(std::make_unique<TvlDialogShow>()),
      formShow_(std::make_unique<TvlFormShow>()),
      pageChange_(std::make_unique<TvlPageChange>()),
      skinChanging_(std::make_unique<TvlSkinChanging>()) {}

void TvlAnimEffects::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TvlAnimEffects*>(&source)) {
    buttons_->Assign(*other->buttons_);
    dialogShow_->Assign(*other->dialogShow_);
    formShow_->Assign(*other->formShow_);
    pageChange_->Assign(*other->pageChange_);
    skinChanging_->Assign(*other->skinChanging_);
    return;
  }
  TPersistent::Assign(source);
}
