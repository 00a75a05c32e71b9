// See sTitleButtons.h.
#include "frame/sTitleButtons.h"

#include <algorithm>

#include "framework/WindowClass.h"

namespace {

constexpr wchar_t kHintClass[] = L"BrenvaleTitleHint";
constexpr int kHintWidthLimit = 800;
constexpr UINT kHintFormat = DT_LEFT | DT_NOPREFIX | DT_WORDBREAK;

// The hint window paints its text on the info colour, in the font kept in its extra bytes.
LRESULT CALLBACK HintProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT r;
      GetClientRect(window, &r);
      FillRect(dc, &r, GetSysColorBrush(COLOR_INFOBK));
      FrameRect(dc, &r, GetSysColorBrush(COLOR_INFOTEXT));
      int length = GetWindowTextLengthW(window);
      std::wstring text(static_cast<size_t>(length) + 1, L'\0');
      text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
      auto font = reinterpret_cast<HFONT>(GetWindowLongPtrW(window, 0));
      HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
      InflateRect(&r, -3, -2);
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, kHintFormat);
      if (old) SelectObject(dc, old);
      EndPaint(window, &ps);
      return 0;
    }
    default: return DefWindowProcW(window, msg, wParam, lParam);
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TsTitleButton

const ClassInfo& TsTitleButton::StaticClass() {
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<TsTitleButton>(L"TsTitleButton", &TCollectionItem::StaticClass())
          .String(L"Name", &TsTitleButton::Name, &TsTitleButton::SetName)
          .String(L"Hint", &TsTitleButton::Hint, &TsTitleButton::SetHint)
          .Boolean(L"Enabled", &TsTitleButton::Enabled, &TsTitleButton::SetEnabled)
          .Boolean(L"Visible", &TsTitleButton::Visible, &TsTitleButton::SetVisible)
          .Boolean(L"UseSkinData", &TsTitleButton::UseSkinData, &TsTitleButton::SetUseSkinData)
          .Build());
  return info;
}

TsTitleButton::TsTitleButton(TCollection* collection) : TCollectionItem(collection) {}
TsTitleButton::~TsTitleButton() = default;

void TsTitleButton::Changed() {
  if (auto* buttons = dynamic_cast<TsTitleButtons*>(Collection())) buttons->ItemChanged();
}

void TsTitleButton::SetGlyph(const Bitmap& value) {
  glyph_ = value;  // a copy of its own: the caller may change or free its picture
  Changed();
}

void TsTitleButton::SetHint(const std::wstring& value) {
  hint_ = value;
  if (hint_.empty()) HideHint();
}

void TsTitleButton::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  if (!enabled_) HideHint();
  Changed();
}

void TsTitleButton::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  if (!visible_) HideHint();
  Changed();
}

void TsTitleButton::SetUseSkinData(bool value) {
  if (value == useSkinData_) return;
  useSkinData_ = value;
  Changed();
}

void TsTitleButton::PaintGlyph(Bitmap& target, Point at) const {
  if (glyph_.Empty() || target.Empty()) return;
  const int gb = glyph_.BytesPerPixel(), tb = target.BytesPerPixel();
  if (gb < 3 || tb < 3) return;
  const bool alpha = glyph_.Format() == PixelFormat::pf32bit;
  const uint8_t* keyPixel = glyph_.PixelAt(0, glyph_.Height() - 1);
  for (int y = 0; y < glyph_.Height(); ++y) {
    const int ty = at.y + y;
    if (ty < 0 || ty >= target.Height()) continue;
    for (int x = 0; x < glyph_.Width(); ++x) {
      const int tx = at.x + x;
      if (tx < 0 || tx >= target.Width()) continue;
      const uint8_t* s = glyph_.PixelAt(x, y);
      uint8_t* d = target.PixelAt(tx, ty);
      if (alpha) {
        const int a = s[3];
        for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>((s[c] * a + d[c] * (255 - a) + 127) / 255);
      } else if (s[0] != keyPixel[0] || s[1] != keyPixel[1] || s[2] != keyPixel[2]) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
      }
    }
  }
}

void TsTitleButton::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TsTitleButton*>(&source)) {
    if (other == this) return;
    enabled_ = other->enabled_;
    glyph_ = other->glyph_;
    hint_ = other->hint_;
    name_ = other->name_;
    useSkinData_ = other->useSkinData_;
    OnMouseDown = other->OnMouseDown;
    OnMouseUp = other->OnMouseUp;
    Changed();
    return;
  }
  TCollectionItem::Assign(source);
}

void TsTitleButton::ShowHint(POINT cursor, const RECT& bounds) {
  if (hint_.empty()) return;
  if (!hintFont_) {
    NONCLIENTMETRICSW metrics{sizeof(metrics)};
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    hintFont_.reset(CreateFontIndirectW(&metrics.lfStatusFont));
  }
  // The text's size within the width limit, with room for the border; 4 pixels taller.
  RECT text{0, 0, kHintWidthLimit, 0};
  {
    WindowDc screen(nullptr);
    SelectedObject font(screen.get(), hintFont_.get());
    DrawTextW(screen.get(), hint_.c_str(), static_cast<int>(hint_.size()), &text, kHintFormat | DT_CALCRECT);
  }
  const int width = text.right + 6, height = text.bottom + 4 + 4;
  int x = cursor.x + 8, y = cursor.y + 16;
  x = std::max<int>(bounds.left, std::min<int>(x, bounds.right - width));
  y = std::max<int>(bounds.top, std::min<int>(y, bounds.bottom - height));
  if (!hintWindow_) {
    RegisterWindowClassOnce(kHintClass, HintProc, CS_SAVEBITS, sizeof(LONG_PTR));
    hintWindow_.reset(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kHintClass, L"", WS_POPUP, x,
                                      y, width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!hintWindow_) return;
  }
  HWND window = hintWindow_.get();
  SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(hintFont_.get()));
  SetWindowTextW(window, hint_.c_str());
  SetWindowPos(window, HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE);
  if (IsWindowVisible(window)) {
    InvalidateRect(window, nullptr, TRUE);
    return;
  }
  BOOL animation = FALSE, fade = FALSE;
  SystemParametersInfoW(SPI_GETTOOLTIPANIMATION, 0, &animation, 0);
  SystemParametersInfoW(SPI_GETTOOLTIPFADE, 0, &fade, 0);
  if (hint_.size() < 100 && animation && fade && AnimateWindow(window, 200, AW_BLEND)) return;
  ShowWindow(window, SW_SHOWNOACTIVATE);
}

void TsTitleButton::HideHint() { hintWindow_.reset(); }

// ---------------------------------------------------------------------------------------------
// TsTitleButtons

const ClassInfo& TsTitleButtons::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TsTitleButtons>(L"TsTitleButtons", &TCollection::StaticClass()).Build());
  return info;
}

TsTitleButtons::TsTitleButtons(std::function<void()> changed)
    : TCollection(TsTitleButton::StaticClass(), [](TCollection* c) { return std::make_unique<TsTitleButton>(c); }),
      changed_(std::move(changed)) {}

void TsTitleButtons::HideHints() {
  for (int i = 0; i < Count(); ++i) Items(i)->HideHint();
}
