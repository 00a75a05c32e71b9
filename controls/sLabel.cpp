// See sLabel.h.
#include "controls/sLabel.h"

#include <shellapi.h>

#include "framework/Application.h"
#include "framework/Strings.h"
#include "paint/BackgroundExchange.h"
#include "paint/DibSection.h"
#include "paint/SkinPainters.h"
#include "pixel/ColorMath.h"
#include "skin/SkinCommands.h"
#include "skin/sSkinManager.h"

namespace {

TsSkinManager* ActiveManager() {
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  return manager && manager->Active() && manager->Skin().Sections.size() > 0 ? manager : nullptr;
}

const TsGeneralData* NamedSection(TsSkinManager* manager, const std::wstring& name, int* index = nullptr) {
  if (!manager || name.empty()) return nullptr;
  int i = manager->SectionIndexOf(bv::WideToUtf8(bv::UpperCase(name)));
  if (index) *index = i;
  return manager->IsValidSection(i) ? &manager->Skin().Sections[static_cast<size_t>(i)] : nullptr;
}

UrlLauncher& Launcher() {
  static UrlLauncher launcher;
  return launcher;
}

void OpenWithPlatform(const std::wstring& url, int showCommand) {
  HWND owner = Application ? Application->Handle() : nullptr;
  // A failure (no program for the address) is left to the platform, which says so itself.
  ShellExecuteW(owner, L"open", url.c_str(), nullptr, nullptr, showCommand);
}

}  // namespace

const ClassInfo& TsLabel::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TsLabel>(L"TsLabel", &TGraphicControl::StaticClass())
          .Boolean(L"AutoSize", &TsLabel::AutoSize, &TsLabel::SetAutoSize)
          .String(L"SkinSection", &TsLabel::SkinSection, &TsLabel::SetSkinSection)
          .Boolean(L"UseSkinColor", &TsLabel::UseSkinColor, &TsLabel::SetUseSkinColor)
          .Build());
  return info;
}

TsLabel::TsLabel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 17); }

void TsLabel::SetAutoSize(bool value) {
  autoSize_ = value;
  AdjustBounds();
}

void TsLabel::SetSkinSection(const std::wstring& value) {
  skinSection_ = value;
  Invalidate();
}

void TsLabel::SetUseSkinColor(bool value) {
  useSkinColor_ = value;
  Invalidate();
}

void TsLabel::AdjustBounds() {
  if (!autoSize_ || IsLoading()) return;
  TColor unused = 0;
  const TFont& font = CurrentFont(unused);
  WindowDc screen(nullptr);
  RECT r{0, 0, 0, 0};
  {
    SelectedObject selected(screen.get(), font.Handle());
    std::wstring text = Caption().empty() ? L" " : Caption();
    DrawTextW(screen.get(), text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  }
  SetBounds(Left(), Top(), r.right, r.bottom);
}

void TsLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TsLabel::TextChanged() {
  AdjustBounds();
  Invalidate();
}

void TsLabel::FontChanged() {
  AdjustBounds();
  Invalidate();
}

TColor TsLabel::SkinTextColor() const {
  TsSkinManager* manager = ActiveManager();
  if (!manager) return clFuchsia;
  // The parent that governs the colour: one that gives its own font, looking through parents
  // that are more than half transparent.
  for (TWinControl* parent = Parent(); parent;) {
    LRESULT answer = parent->HandleAllocated()
                         ? SendMessageW(parent->Handle(), SM_LACQUERCMD, SkinCommandParam(scGetSectionIndex), 0)
                         : parent->Perform(SM_LACQUERCMD, SkinCommandParam(scGetSectionIndex), 0);
    int index = static_cast<int>(answer) - 1;
    if (!manager->IsValidSection(index)) break;
    const TsGeneralData& s = manager->Skin().Sections[static_cast<size_t>(index)];
    if (s.Transparency > 50 && parent->Parent()) {
      parent = parent->Parent();
      continue;
    }
    if (s.GiveOwnFont) return s.FontColor[0];
    break;
  }
  return manager->GlobalFontColor();
}

const TFont& TsLabel::CurrentFont(TColor& color) {
  color = Font()->Color();
  if (useSkinColor_) {
    TColor skin = SkinTextColor();
    if (skin != clFuchsia) color = skin;
  }
  return *Font();
}

TColor TsLabel::CurrentTextColor() {
  TColor color = clBlack;
  CurrentFont(color);
  if (const TsGeneralData* s = NamedSection(ActiveManager(), skinSection_)) color = s->FontColor[0];
  return color;
}

void TsLabel::PaintSectionBackground(HDC dc) {
  TsSkinManager* manager = ActiveManager();
  int index = -1;
  if (!NamedSection(manager, skinSection_, &index) || index <= 0 || Width() <= 0 || Height() <= 0) return;
  TsBackgroundRequest request;
  TsBackgroundRef background = ParentBackgroundOf(this, request);
  DibSection picture = DibSection::CreateBitmap24(Width(), Height());
  if (!picture) return;
  PaintSection(*manager, index, bv::WideToUtf8(bv::UpperCase(skinSection_)), background, picture.Pixels(), {Left(), Top()},
               {0, 0, Width(), Height()}, 0, true);
  CopyBitmapToDc(dc, 0, 0, picture.Handle(), {0, 0, Width(), Height()});
}

void TsLabel::Paint(HDC dc) {
  TColor color = clBlack;
  const TFont& font = CurrentFont(color);
  TsSkinManager* manager = ActiveManager();
  if (const TsGeneralData* s = NamedSection(manager, skinSection_)) color = s->FontColor[0];
  PaintSectionBackground(dc);
  if (!Enabled()) {
    // Disabled: 0.4 of the text colour and 0.6 of what lies behind.
    TColor behind = manager ? ParentBackgroundColor(this) : PlainColor(clBtnFace);
    color = manager ? MixColors(PlainColor(color), behind, 0.4) : clGrayText;
  }
  RECT r{0, 0, Width(), Height()};
  SelectedObject selected(dc, font.Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(color));
  DrawTextW(dc, Caption().c_str(), -1, &r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
}

void TsLabel::WndProc(TMessage& m) {
  if (m.Msg == SM_LACQUERCMD && SkinCommandOf(m.WParam) == scSkinRemoved) Invalidate();
  TGraphicControl::WndProc(m);
}

const ClassInfo& TsWebLabel::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TsWebLabel>(L"TsWebLabel", &TsLabel::StaticClass())
          .String(L"URL", &TsWebLabel::URL, &TsWebLabel::SetURL)
          .Object(L"HoverFont", TFont::StaticClass(), &TsWebLabel::HoverFont, nullptr)
          .Integer(L"ShowMode", &TsWebLabel::ShowMode, &TsWebLabel::SetShowMode)
          .Build());
  return info;
}

TsWebLabel::TsWebLabel(TComponent* owner) : TsLabel(owner) {
  SetCursor(TCursor::crHandPoint);
  hoverFont_.SetColor(clWindowText);
  hoverFont_.SetStyle({TFontStyle::fsUnderline});
}

void TsWebLabel::SetLauncher(UrlLauncher launcher) { Launcher() = std::move(launcher); }

const TFont& TsWebLabel::CurrentFont(TColor& color) {
  TsSkinManager* manager = ActiveManager();
  const TsGeneralData* global = UseSkinColor() ? NamedSection(manager, L"GLOBALINFO") : nullptr;
  if (!hot_) {
    color = global ? global->FontColor[4] : Font()->Color();
    if (color == -1) color = 16711680;
    return *Font();
  }
  color = global ? global->FontColor[2] : hoverFont_.Color();
  if (color == -1) color = 255;
  // The hover font keeps the label's face and size; its style and colour apply.
  hover_.Assign(*Font());
  hover_.SetStyle(hoverFont_.Style());
  return hover_;
}

void TsWebLabel::HotChanged() {
  if (AutoSize()) AdjustBounds();
  Invalidate();
}

void TsWebLabel::MouseEnter() {
  TsLabel::MouseEnter();
  hot_ = true;
  HotChanged();
}

void TsWebLabel::MouseLeave() {
  hot_ = false;
  HotChanged();
  TsLabel::MouseLeave();
}

void TsWebLabel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TsLabel::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft || url_.empty()) return;
  if (Launcher()) Launcher()(url_, showMode_);
  else OpenWithPlatform(url_, showMode_);
}
