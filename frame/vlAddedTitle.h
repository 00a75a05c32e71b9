// The added title of a skinned form: a second text drawn 4 pixels after the caption, in a font
// of its own. The font colour clNone (or clWindowText) stands for the title band's text colour.
#pragma once

#include <functional>
#include <string>

#include "framework/Graphics.h"

class TvlAddedTitle : public TPersistent {
 public:
  // `changed`: the text or the font changed (the frame is drawn again).
  explicit TvlAddedTitle(std::function<void()> changed = {});
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  const std::wstring& Text() const { return text_; }
  void SetText(const std::wstring& value);
  TFont* Font() { return &font_; }
  void Assign(const TPersistent& source) override;

 private:
  void Changed() {
    if (changed_) changed_();
  }
  std::wstring text_;
  TFont font_;
  std::function<void()> changed_;
};
