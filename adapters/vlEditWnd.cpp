// See vlEditWnd.h.
#include "adapters/vlEditWnd.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "framework/Control.h"
#include "framework/Handles.h"
#include "paint/AnimationFlag.h"
#include "paint/ImageItems.h"
#include "paint/SkinPainters.h"
#include "paint/sCommonData.h"
#include "pixel/BitmapBlend.h"
#include "skin/SkinCommands.h"
#include "skin/sSkinManager.h"

namespace {

constexpr uint16_t kRebuildFrameCommand = 23;

// Copies the four edge strips of a window-sized picture into the window's device context.
void CopyEdges(HDC dc, const DibSection& picture, int left, int top, int right, int bottom) {
  const Bitmap& p = picture.Pixels();
  int w = p.Width(), h = p.Height();
  if (top > 0) CopyBitmapToDc(dc, 0, 0, picture.Handle(), {0, 0, w, top});
  if (bottom > 0) CopyBitmapToDc(dc, 0, h - bottom, picture.Handle(), {0, h - bottom, w, h});
  if (left > 0) CopyBitmapToDc(dc, 0, top, picture.Handle(), {0, top, left, h - bottom});
  if (right > 0) CopyBitmapToDc(dc, w - right, top, picture.Handle(), {w - right, top, w, h - bottom});
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TvlBaseWnd

void TvlBaseWnd::RebuildFrame() {
  RECT r{};
  GetWindowRect(window_, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0 || !SkinActive()) return;
  Bitmap under = BackgroundUnderWindow();
  frame_ = DibSection::CreateBitmap24(w, h);
  if (!frame_) return;
  Bitmap& pixels = frame_.Pixels();
  TsCommonData& state = SkinState();
  PaintSection(*SkinManager(), state.SectionIndex, state.SkinSection(), BackgroundFromBitmap(under, 0, 0), pixels, {0, 0},
               pixels.Bounds(), state.Focused || state.MouseAbove ? 1 : 0, true);
  state.CacheDirty = false;
  ++frameRebuilds_;
}

void TvlBaseWnd::PaintBorder(HDC dc) {
  if (!frame_) return;
  CopyEdges(dc, frame_, EdgeWidth(), TopEdge(), RightEdge(), BottomEdge());
}

bool TvlBaseWnd::WndProc(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case SM_LACQUERCMD:
      if (SkinCommandOf(wParam) == kRebuildFrameCommand) {
        RebuildFrame();
        result = 0;
        return true;
      }
      break;
    case WM_ENABLE:
      result = CallOld(msg, wParam, lParam);
      RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return true;
    default:
      break;
  }
  return TvlScrollWnd::WndProc(msg, wParam, lParam, result);
}

// ---------------------------------------------------------------------------------------------
// TvlEditWnd

TvlEditWnd::TvlEditWnd(HWND window, TsCommonData* skinState, const std::string& section)
    : TvlBaseWnd(window, skinState, section, "EDIT") {}

TvlEditWnd::~TvlEditWnd() { Detach(); }

const TsGeneralData* TvlEditWnd::SectionData() const { return SkinState().Section(); }

void TvlEditWnd::SaveOriginalLook() {
  if (TControl* control = Control()) {
    color_ = control->Color();
    fontColor_ = control->Font()->Color();
    lookSaved_ = true;
  }
}

void TvlEditWnd::RestoreOriginalLook() {
  FrameChanged();
  TControl* control = Control();
  if (control && lookSaved_ && !control->IsDestroying()) {
    blockStyleChange_ = true;
    control->SetColor(color_);
    control->Font()->SetColor(fontColor_);
    blockStyleChange_ = false;
  }
  lookApplied_ = false;
}

void TvlEditWnd::ApplySkinLook() {
  blockStyleChange_ = true;
  lookApplied_ = true;
  const TsGeneralData* section = SectionData();
  TControl* control = Control();
  if (control && section) {
    if (!SkinState().CustomColor() && control->Color() != section->Color) control->SetColor(section->Color);
    if (!SkinState().CustomFont() && control->Font()->Color() != section->HotFontColor[0])
      control->Font()->SetColor(section->HotFontColor[0]);
  }
  SkinState().CacheDirty = true;
  blockStyleChange_ = false;
}

void TvlEditWnd::PaintNonClient(HDC dc) {
  if (!IsWindowVisible(window_) || !SkinActive()) return;
  if (!dc && window_animation::Animating()) return;  // the screen lies under an animation
  if (SkinState().CacheDirty) {
    if (!lookApplied_) ApplySkinLook();
    RebuildFrame();
  }
  std::unique_ptr<WindowDc> own;
  if (!dc) {
    own = std::make_unique<WindowDc>(window_, true);
    dc = own->get();
  }
  if (!dc) return;
  PaintBorder(dc);
  PaintScrollBars(dc);
}

bool TvlEditWnd::WndProc(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (!SkinActive() && msg != WM_NCCALCSIZE && msg != WM_NCDESTROY && msg != SM_LACQUERCMD)
    return TvlBaseWnd::WndProc(msg, wParam, lParam, result);
  switch (msg) {
    case WM_NCPAINT:
      PaintNonClient(nullptr);
      result = 0;
      return true;
    case WM_PAINT:
    case WM_ERASEBKGND:
      if (!lookApplied_) ApplySkinLook();
      break;
    case WM_SIZE:
      SkinState().CacheDirty = true;
      result = CallOld(msg, wParam, lParam);
      RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
      return true;
    case WM_PRINT: {
      // A window capture gets the skinned border and bars, then the client.
      HDC dc = reinterpret_cast<HDC>(wParam);
      PaintNonClient(dc);
      SavedDcState saved(dc);
      SetViewportOrgEx(dc, EdgeWidth(), TopEdge(), nullptr);
      RECT client{};
      GetClientRect(window_, &client);
      IntersectClipRect(dc, 0, 0, client.right, client.bottom);
      CallOld(WM_PRINTCLIENT, wParam, PRF_CLIENT | PRF_ERASEBKGND | (lParam & PRF_CHILDREN));
      result = 0;
      return true;
    }
    case SM_LACQUERCMD:
      if (SkinCommandOf(wParam) == scRefresh) {
        bool handled = TvlBaseWnd::WndProc(msg, wParam, lParam, result);
        if (IsWindowVisible(window_)) SendMessageW(window_, WM_NCPAINT, 1, 0);
        return handled;
      }
      break;
    default:
      break;
  }
  return TvlBaseWnd::WndProc(msg, wParam, lParam, result);
}

// ---------------------------------------------------------------------------------------------
// TvlListViewWnd

TvlListViewWnd::TvlListViewWnd(HWND window, TsCommonData* skinState, const std::string& section)
    : TvlEditWnd(window, skinState, section) {}

TvlListViewWnd::~TvlListViewWnd() {
  headerLink_.Remove();
  Detach();
}

bool TvlListViewWnd::IsListView(HWND window) {
  if (!window) return false;
  wchar_t name[64]{};
  GetClassNameW(window, name, 64);
  if (std::wstring(name) == WC_LISTVIEWW) return true;
  // A window of another class built on the list view answers the list view's messages. Its
  // header cannot tell: a list view outside the report view may have none yet. The icon spacing
  // is never zero in a list view, and other windows answer the message with zero.
  return SendMessageW(window, LVM_GETITEMSPACING, FALSE, 0) != 0;
}

void TvlListViewWnd::SaveOriginalLook() {
  TvlEditWnd::SaveOriginalLook();
  background_ = ListView_GetBkColor(window_);
  textColor_ = ListView_GetTextColor(window_);
  textBackground_ = ListView_GetTextBkColor(window_);
  colorsSaved_ = true;
  FollowView();
}

void TvlListViewWnd::RestoreOriginalLook() {
  headerLink_.Remove();
  TvlEditWnd::RestoreOriginalLook();
  if (colorsSaved_ && IsWindow(window_)) {
    ListView_SetBkColor(window_, background_);
    ListView_SetTextBkColor(window_, textBackground_);
    ListView_SetTextColor(window_, textColor_);
    InvalidateRect(window_, nullptr, TRUE);
  }
}

void TvlListViewWnd::ApplySkinLook() {
  TvlEditWnd::ApplySkinLook();
  if (const TsGeneralData* section = SectionData()) {
    COLORREF back = ColorToRGB(section->Color);
    if (ListView_GetBkColor(window_) != back) ListView_SetBkColor(window_, back);
    if (ListView_GetTextBkColor(window_) != back) ListView_SetTextBkColor(window_, back);
    COLORREF text = ColorToRGB(section->FontColor[0]);
    if (ListView_GetTextColor(window_) != text) ListView_SetTextColor(window_, text);
  }
  FollowView();
}

void TvlListViewWnd::FollowView() {
  // Only the report view shows the header. In the other views it is left to itself: every
  // message to a window costs each link of its chain a look-up, and a list view lays its header
  // out with a dozen messages whenever it changes its size or columns.
  if (ReportView()) {
    if (!headerLink_.Installed()) HookHeader(ListView_GetHeader(window_));
  } else if (headerLink_.Installed()) {
    headerLink_.Remove();
    hoverColumn_ = pushedColumn_ = -1;
  }
}

void TvlListViewWnd::HookHeader(HWND header) {
  if (!header || headerLink_.Window() == header) return;
  headerLink_.Install(header, [this](HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return HeaderProc(window, msg, wParam, lParam, result);
  });
}

bool TvlListViewWnd::ReportView() const {
  return (GetWindowLongPtrW(window_, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT;
}

void TvlListViewWnd::TrackThumb(int kind, int position) {
  bool vertical = kind == TvlScrollBar::kVertical;
  int current = Bar(kind).Info().nPos;
  int delta = position - current;
  if (delta == 0) return;
  LONG_PTR view = GetWindowLongPtrW(window_, GWL_STYLE) & LVS_TYPEMASK;
  int unit = 1;  // icon views scroll in pixels
  RECT item{};
  if (ListView_GetItemCount(window_) > 0 && ListView_GetItemRect(window_, 0, &item, LVIR_BOUNDS)) {
    if (view == LVS_REPORT && vertical) unit = item.bottom - item.top;
    if (view == LVS_LIST && !vertical) unit = item.right - item.left;
  }
  SendMessageW(window_, LVM_SCROLL, vertical ? 0 : delta * unit, vertical ? delta * unit : 0);
}

bool TvlListViewWnd::WndProc(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case SM_LACQUERCMD:
      if (SkinCommandOf(wParam) == scSuspendPainting) {
        result = 1;
        return true;
      }
      if (SkinCommandOf(wParam) == scResumePainting) {
        result = 0;
        return true;
      }
      break;
    case WM_VSCROLL:
    case WM_HSCROLL: {
      int kind = msg == WM_VSCROLL ? TvlScrollBar::kVertical : TvlScrollBar::kHorizontal;
      int code = LOWORD(wParam);
      if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
        // Our own requests carry the whole position; the platform's the high word only.
        int position = InScroll() ? static_cast<int>(lParam) : HIWORD(wParam);
        if (InScroll() || lParam == 0) {
          TrackThumb(kind, position);
          RefreshScrollInfo(true);
          result = 0;
          return true;
        }
      }
      result = CallOld(msg, wParam, InScroll() ? 0 : lParam);
      RefreshScrollInfo(true);
      return true;
    }
    case WM_PARENTNOTIFY:
      if (LOWORD(wParam) == WM_CREATE && ReportView()) {
        wchar_t name[64]{};
        GetClassNameW(reinterpret_cast<HWND>(lParam), name, 64);
        if (std::wstring(name) == WC_HEADERW) HookHeader(reinterpret_cast<HWND>(lParam));
      }
      break;
    case WM_STYLECHANGED:
      // The window holds its new style already.
      if (wParam == static_cast<WPARAM>(GWL_STYLE)) FollowView();
      break;
    case WM_NCHITTEST:
      if (hoverColumn_ >= 0 || pushedColumn_ >= 0) {
        hoverColumn_ = -1;
        if (HWND header = Header()) InvalidateRect(header, nullptr, FALSE);
      }
      break;
    default:
      break;
  }
  return TvlEditWnd::WndProc(msg, wParam, lParam, result);
}

int TvlListViewWnd::ColumnAt(HWND header, POINT client) const {
  int count = Header_GetItemCount(header);
  for (int i = 0; i < count; ++i) {
    RECT r{};
    if (Header_GetItemRect(header, i, &r) && PtInRect(&r, client)) return i;
  }
  return -1;
}

bool TvlListViewWnd::HeaderProc(HWND header, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (!ReportView() || !SkinActive() || Unhooked()) return false;
  switch (msg) {
    case WM_PAINT: {
      PaintDc paint(header);
      if (!window_animation::Animating()) PaintHeader(paint.get());
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      PaintHeader(reinterpret_cast<HDC>(wParam));
      result = 0;
      return true;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_WINDOWPOSCHANGED:
      result = headerLink_.CallNext(msg, wParam, lParam);
      SendMessageW(window_, WM_NCPAINT, 1, 0);
      return true;
    case WM_MOUSEMOVE: {
      POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      int column = ColumnAt(header, p);
      if (column != hoverColumn_) {
        hoverColumn_ = column;
        InvalidateRect(header, nullptr, FALSE);
      }
      return false;
    }
    case WM_LBUTTONDOWN: {
      HDHITTESTINFO hit{};
      hit.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      SendMessageW(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      pushedColumn_ = (hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) ? -1 : hit.iItem;
      InvalidateRect(header, nullptr, FALSE);
      return false;
    }
    case WM_LBUTTONUP:
      pushedColumn_ = -1;
      InvalidateRect(header, nullptr, FALSE);
      return false;
    default:
      return false;
  }
}

void TvlListViewWnd::PaintHeader(HDC dc) {
  HWND header = Header();
  RECT client{};
  GetClientRect(header, &client);
  int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0) return;
  TsSkinManager& manager = *SkinManager();
  const char* name = "COLHEADER";
  int section = manager.SectionIndexOf(name);
  if (!manager.IsValidSection(section)) {
    name = "BUTTON";
    section = manager.SectionIndexOf(name);
  }
  DibSection surface = DibSection::CreateBitmap24(w, h);
  if (!surface) return;
  Bitmap& pixels = surface.Pixels();
  Bitmap under(w, h, PixelFormat::pf24bit);
  const TsGeneralData* own = SectionData();
  FillRectColor(under, under.Bounds(), own ? own->Color : static_cast<TColor>(GetSysColor(COLOR_WINDOW)));
  FillRectColor(pixels, pixels.Bounds(), own ? own->Color : static_cast<TColor>(GetSysColor(COLOR_WINDOW)));
  int count = Header_GetItemCount(header);
  int right = 0;
  struct Column {
    RECT rect;
    int state;
    HDITEMW item;
    wchar_t text[260];
  };
  std::vector<Column> columns(static_cast<size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) {
    Column& c = columns[static_cast<size_t>(i)];
    Header_GetItemRect(header, i, &c.rect);
    c.state = i == pushedColumn_ ? 2 : (i == hoverColumn_ ? 1 : 0);
    c.item.mask = HDI_TEXT | HDI_FORMAT | HDI_BITMAP;
    c.item.pszText = c.text;
    c.item.cchTextMax = 260;
    c.text[0] = 0;
    Header_GetItem(header, i, &c.item);
    right = std::max(right, static_cast<int>(c.rect.right));
    Rect r{c.rect.left, c.rect.top, c.rect.right, c.rect.bottom};
    if (manager.IsValidSection(section))
      PaintSection(manager, section, name, BackgroundFromBitmap(under, 0, 0), pixels, {0, 0}, r, c.state, true);
  }
  if (right < w && manager.IsValidSection(section))
    PaintSection(manager, section, name, BackgroundFromBitmap(under, 0, 0), pixels, {0, 0}, {right, 0, w + 2, h}, 0, true);
  // Sort arrows from the skin's arrow glyphs.
  for (const Column& c : columns) {
    const char* glyphSection = (c.item.fmt & HDF_SORTDOWN) ? "SCROLLBTNBOTTOM" : (c.item.fmt & HDF_SORTUP) ? "SCROLLBTNTOP" : nullptr;
    if (!glyphSection) continue;
    int gs = manager.SectionIndexOf(glyphSection);
    int glyph = manager.ImageItemIndexOf(gs, glyphSection, "GLYPHMASK");
    if (!manager.IsValidItem(glyph)) continue;
    Point size = manager.Skin().ItemSize(glyph);
    PaintGlyphItem(&manager.Skin(), pixels, {static_cast<int>(c.rect.right) - size.x - 4, (h - size.y) / 2}, c.state,
                   EmptyBackground(), manager.Skin().Items[static_cast<size_t>(glyph)], 1);
  }
  const TsGeneralData* look = manager.IsValidSection(section) ? &manager.Skin().Sections[static_cast<size_t>(section)] : nullptr;
  UniqueMemoryDc memory(CreateCompatibleDC(dc));
  {
    SelectedObject selected(memory.get(), surface.Handle());
    auto font = reinterpret_cast<HFONT>(SendMessageW(header, WM_GETFONT, 0, 0));
    SelectedObject selectedFont(memory.get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(memory.get(), TRANSPARENT);
    for (const Column& c : columns) {
      TColor colour = look ? (c.state ? look->HotFontColor[0] : look->FontColor[0]) : clWindowText;
      SetTextColor(memory.get(), ColorToRGB(colour));
      RECT text = c.rect;
      InflateRect(&text, -6, 0);
      if (c.state == 2) OffsetRect(&text, 1, 1);
      if ((c.item.fmt & HDF_BITMAP) && c.item.hbm) {
        // The list's own arrow picture, its corner colour left out.
        BITMAP info{};
        GetObjectW(c.item.hbm, sizeof(info), &info);
        UniqueMemoryDc source(CreateCompatibleDC(dc));
        SelectedObject picture(source.get(), c.item.hbm);
        COLORREF key = GetPixel(source.get(), 0, 0);
        int x = text.right - info.bmWidth;
        TransparentBlt(memory.get(), x, (h - info.bmHeight) / 2, info.bmWidth, info.bmHeight, source.get(), 0, 0,
                       info.bmWidth, info.bmHeight, key);
        text.right = x - 2;
      }
      UINT align = (c.item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT ? DT_RIGHT : (c.item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER : DT_LEFT;
      DrawTextW(memory.get(), c.text, -1, &text, align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
  }
  CopyBitmapToDc(dc, 0, 0, surface.Handle(), pixels.Bounds());
  ++headerPaints_;
}
