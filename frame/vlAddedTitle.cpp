// See vlAddedTitle.h.
#include "frame/vlAddedTitle.h"

const ClassInfo& TvlAddedTitle::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(ClassBuilder<TvlAddedTitle>(L"TvlAddedTitle", &TPersistent::StaticClass())
                                                       .String(L"Text", &TvlAddedTitle::Text, &TvlAddedTitle::SetText)
                                                       .Build());
  return info;
}

TvlAddedTitle::TvlAddedTitle(std::function<void()> changed) : changed_(std::move(changed)) {
  font_.SetColor(clNone);
  font_.OnChange = [this](TObject*) { Changed(); };
}

void TvlAddedTitle::SetText(const std::wstring& value) {
  if (value == text_) return;
  text_ = value;
  Changed();
}

void TvlAddedTitle::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TvlAddedTitle*>(&source)) {
    text_ = other->text_;
    font_.Assign(other->font_);
    Changed();
    return;
  }
  TPersistent::Assign(source);
}
