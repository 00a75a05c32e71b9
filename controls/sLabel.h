// TsLabel: a caption drawn by its parent (no window of its own), transparent over the parent's
// background, sized to its text when AutoSize is on. TsWebLabel: a label that opens its URL
// when clicked and shows a hand cursor and its hover colour while the mouse is over it.
#pragma once

#include "framework/Control.h"

class TsLabel : public TGraphicControl {
 public:
  explicit TsLabel(TComponent* owner);
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  const std::wstring& SkinSection() const { return skinSection_; }
  void SetSkinSection(const std::wstring& value) { skinSection_ = value; }
  // Fits the bounds to the caption (AutoSize).
  void AdjustBounds();

 protected:
  void Paint(HDC dc) override;
  void Loaded() override;
  void TextChanged() override;
  void FontChanged() override;
  // The colour the caption is drawn in.
  virtual TColor TextColor() const;

 private:
  bool autoSize_ = true;
  std::wstring skinSection_;
};

class TsWebLabel : public TsLabel {
 public:
  explicit TsWebLabel(TComponent* owner);
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  const std::wstring& URL() const { return url_; }
  void SetURL(const std::wstring& value) { url_ = value; }
  TFont* HoverFont() { return &hoverFont_; }
  void Click() override;

 protected:
  TColor TextColor() const override;
  void MouseEnter() override;
  void MouseLeave() override;
  void Paint(HDC dc) override;

 private:
  std::wstring url_;
  TFont hoverFont_;
};
