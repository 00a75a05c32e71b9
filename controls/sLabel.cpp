// See sLabel.h.
#include "controls/sLabel.h"

#include <shellapi.h>

#include "framework/Application.h"

const ClassInfo& TsLabel::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TsLabel>(L"TsLabel", &TGraphicControl::StaticClass())
          .Boolean(L"AutoSize", &TsLabel::AutoSize, &TsLabel::SetAutoSize)
          .String(L"SkinSection", &TsLabel::SkinSection, &TsLabel::SetSkinSection)
          .Build());
  return info;
}

TsLabel::TsLabel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 17); }

void TsLabel::SetAutoSize(bool value) {
  autoSize_ = value;
  AdjustBounds();
}

void TsLabel::AdjustBounds() {
  if (!autoSize_ || IsLoading()) return;
  HDC screen = GetDC(nullptr);
  RECT r{0, 0, 0, 0};
  {
    SelectedObject font(screen, Font()->Handle());
    std::wstring text = Caption().empty() ? L" " : Caption();
    DrawTextW(screen, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  }
  ReleaseDC(nullptr, screen);
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

TColor TsLabel::TextColor() const { return Enabled() ? Font()->Color() : clGrayText; }

void TsLabel::Paint(HDC dc) {
  RECT r{0, 0, Width(), Height()};
  SelectedObject font(dc, Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(TextColor()));
  DrawTextW(dc, Caption().c_str(), -1, &r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
}

const ClassInfo& TsWebLabel::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TsWebLabel>(L"TsWebLabel", &TsLabel::StaticClass())
          .String(L"URL", &TsWebLabel::URL, &TsWebLabel::SetURL)
          .Object(L"HoverFont", TFont::StaticClass(), &TsWebLabel::HoverFont, nullptr)
          .Build());
  return info;
}

TsWebLabel::TsWebLabel(TComponent* owner) : TsLabel(owner) {
  SetCursor(TCursor::crHandPoint);
  hoverFont_.SetColor(clWindowText);
}

TColor TsWebLabel::TextColor() const {
  if (!Enabled()) return clGrayText;
  return MouseInControl() ? hoverFont_.Color() : Font()->Color();
}

void TsWebLabel::MouseEnter() {
  TsLabel::MouseEnter();
  Invalidate();
}

void TsWebLabel::MouseLeave() {
  TsLabel::MouseLeave();
  Invalidate();
}

void TsWebLabel::Paint(HDC dc) {
  RECT r{0, 0, Width(), Height()};
  const TFont& font = MouseInControl() ? hoverFont_ : *Font();
  // The hover font keeps the label's face and size; only its colour and style apply.
  TFont drawn;
  drawn.Assign(*Font());
  drawn.SetStyle(font.Style());
  SelectedObject selected(dc, drawn.Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(TextColor()));
  DrawTextW(dc, Caption().c_str(), -1, &r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
}

void TsWebLabel::Click() {
  TsLabel::Click();
  if (url_.empty()) return;
  auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", url_.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result <= 32 && Application)
    Application->MessageDlg(L"Cannot open " + url_ + L": no program for web addresses is set up.", Application->Title(),
                            MB_OK | MB_ICONWARNING);
}
