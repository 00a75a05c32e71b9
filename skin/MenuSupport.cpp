// See MenuSupport.h.
#include "skin/MenuSupport.h"

const ClassInfo& TvlMenuSupport::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TvlMenuSupport>(L"TvlMenuSupport", &TPersistent::StaticClass())
          .String(L"IcoLineSkin", &TvlMenuSupport::IcoLineSkin, &TvlMenuSupport::SetIcoLineSkin)
          .Boolean(L"UseExtraLine", &TvlMenuSupport::UseExtraLine, &TvlMenuSupport::SetUseExtraLine)
          .Integer(L"ExtraLineWidth", &TvlMenuSupport::ExtraLineWidth, &TvlMenuSupport::SetExtraLineWidth)
          .Object(L"ExtraLineFont", TFont::StaticClass(), &TvlMenuSupport::ExtraLineFont, nullptr)
          .Build());
  return info;
}

void TvlMenuSupport::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TvlMenuSupport*>(&source)) {
    icoLineSkin_ = other->icoLineSkin_;
    useExtraLine_ = other->useExtraLine_;
    extraLineWidth_ = other->extraLineWidth_;
    extraLineFont_.Assign(other->extraLineFont_);
    return;
  }
  TPersistent::Assign(source);
}
