// TsLabel: a caption drawn by its parent (no window of its own), transparent over the parent's
// background, sized to its text when AutoSize is on. Under a skin it takes its text colour from
// the section of the parent that gives its own font (or the skin's global font colour), paints
// its own SkinSection behind the text when it names one, and mixes a disabled caption with the
// parent's colour. TsWebLabel: a label that opens its URL when pressed, with a hand cursor and
// its hover font and colour while the mouse is over it.
#pragma once

#include <functional>

#include "framework/Control.h"

class TsLabel : public TGraphicControl {
 public:
  explicit TsLabel(TComponent* owner);
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  const std::wstring& SkinSection() const { return skinSection_; }
  void SetSkinSection(const std::wstring& value);
  bool UseSkinColor() const { return useSkinColor_; }
  void SetUseSkinColor(bool value);
  // Fits the bounds to the caption (AutoSize).
  void AdjustBounds();
  // The colour the caption is drawn in now (skin rules applied).
  TColor CurrentTextColor();

 protected:
  void Paint(HDC dc) override;
  void Loaded() override;
  void TextChanged() override;
  void FontChanged() override;
  void WndProc(TMessage& message) override;
  // The font to paint with and its colour before the SkinSection's own colour.
  virtual const TFont& CurrentFont(TColor& color);
  // The colour the skin gives labels over this parent, or clFuchsia.
  TColor SkinTextColor() const;

 private:
  void PaintSectionBackground(HDC dc);
  bool autoSize_ = true;
  bool useSkinColor_ = true;
  std::wstring skinSection_;
};

// Opens an address with the platform's open action (the web label's; tests replace it).
using UrlLauncher = std::function<void(const std::wstring& url, int showCommand)>;

class TsWebLabel : public TsLabel {
 public:
  explicit TsWebLabel(TComponent* owner);
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  const std::wstring& URL() const { return url_; }
  void SetURL(const std::wstring& value) { url_ = value; }
  TFont* HoverFont() { return &hoverFont_; }
  // The platform's show command passed with the address (SW_SHOWDEFAULT by default).
  int ShowMode() const { return showMode_; }
  void SetShowMode(int value) { showMode_ = value; }
  bool Hot() const { return hot_; }

  // Replaces the launcher of every web label; an empty one restores the platform's.
  static void SetLauncher(UrlLauncher launcher);

 protected:
  const TFont& CurrentFont(TColor& color) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  void HotChanged();
  std::wstring url_;
  TFont hoverFont_;
  TFont hover_;  // the font painted with while hot: the label's face with the hover style
  int showMode_ = 10;
  bool hot_ = false;
};
