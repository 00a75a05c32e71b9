// TsPanel: a panel that holds other controls, with optional raised or lowered bevels and a
// centred caption. With a skin it paints its section (background, border mask, caption) into
// its skin state's cache, copies that to the screen and answers its children's background
// requests from it, so transparent children show the panel's picture behind them.
#pragma once

#include "controls/SkinnedControl.h"
#include "framework/Control.h"

enum class TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
const TypeInfo& PanelBevelType();

class TsPanel : public TsSkinnedControl<TCustomControl> {
 public:
  explicit TsPanel(TComponent* owner);
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel value);
  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);
  Rect ClientRect() const override;

  // Rebuilds the cache: background over the parent's, border, caption.
  void PrepareCachedImage();
  // How many times the cache was rebuilt (tests: a resize rebuilds once).
  int CacheBuilds() const { return cacheBuilds_; }

 protected:
  // For descendants of another element kind.
  TsPanel(TComponent* owner, int kind);
  void Paint(HDC dc) override;
  void TextChanged() override;
  bool SkinMessage(TMessage& message) override;

 private:
  int BorderSize() const;
  // Without an active skin: the framework's panel with its bevels.
  void PaintPlain(HDC dc);
  // With a skin, when the section's picture is needed (or the skin is changing).
  bool UsesCache() const;
  // The cache, rebuilt when stale, onto the screen or into the framework's buffer.
  void PaintCached(HDC dc);
  // With a skin over a plain background, or with CustomColor: a colour (or the parent's
  // picture) inside the section's border, no cache kept.
  void PaintSkinnedPlain(HDC dc);
  // Skin command 6 to every showing child window: the panel has painted.
  void NotifyChildrenPainted();
  // WM_PRINT: the panel (and with PRF_CHILDREN its child windows) into `dc`.
  void PrintTo(HDC dc, LPARAM flags);
  void PaintCaption(HDC dc, const Rect& area);
  TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
  TPanelBevel bevelInner_ = TPanelBevel::bvNone;
  int bevelWidth_ = 1;
  int cacheBuilds_ = 0;
};
