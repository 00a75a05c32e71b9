// See sSkinableMenus.h.
#include "frame/sSkinableMenus.h"

#include <algorithm>
#include <string>

#include "frame/FrameRegion.h"
#include "framework/Application.h"
#include "framework/Strings.h"
#include "paint/DisabledLook.h"
#include "paint/ImageItems.h"
#include "paint/PieceCopy.h"
#include "paint/SectionBackground.h"
#include "paint/SkinPainters.h"
#include "paint/SkinTextWriter.h"
#include "pixel/BitmapBlend.h"
#include "skin/SkinCommands.h"
#include "skin/sSkinManager.h"

using namespace menu_metrics;

namespace {

// The application-window message that asks for the window of a menu whose item was painted
// before its window could be found (wParam: the item's serial number).
constexpr UINT kFindMenuWindow = 48307;
constexpr wchar_t kExtraLineDefaultText[] = L"Use OnGetExtraLineData event";
constexpr wchar_t kSkinChoiceName[] = L"SkinSelectItem";
constexpr TColor kSeparatorShadow = 8421504;
constexpr TColor kSeparatorLight = 0xFFFFFF;

bool IsMenuWindow(HWND window) {
  if (!window) return false;
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return std::wstring(name) == L"#32768";
}

// The item's position among the visible items of its parent; true when an item up to it starts a
// new column.
bool BreakUpTo(const TMenuItem& item) {
  const TMenuItem* parent = item.Parent();
  if (!parent) return false;
  for (int i = 0; i < parent->Count(); ++i) {
    const TMenuItem* sibling = parent->Items(i);
    if (sibling->Visible() && sibling->Break() && sibling != parent->FirstVisible()) return true;
    if (sibling == &item) break;
  }
  return false;
}

bool Disabled(UINT state) { return (state & (ODS_GRAYED | ODS_DISABLED)) != 0; }

}  // namespace

TsSkinableMenus& TsSkinableMenus::Instance() {
  static TsSkinableMenus menus;
  return menus;
}

TsSkinableMenus::TsSkinableMenus() {
  TsSkinManagerServices& services = SkinManagerServices();
  services.skinChangedForMenus = [this](TsSkinManager&) {
    skinBorderWidth_ = -1;
    SetMenusActive(true);
  };
  services.menuNotification = [this](UINT msg, WPARAM wParam, LPARAM) {
    if (msg == kFindMenuWindow) OnMenuNotification(wParam);
  };
}

TsSkinManager* TsSkinableMenus::Manager() const { return TsSkinManager::DefaultManager(); }

bool TsSkinableMenus::SkinInForce() const {
  TsSkinManager* manager = Manager();
  return manager && manager->Active() && manager->Skin().Data.Active;
}

int TsSkinableMenus::SkinBorderWidth() {
  if (skinBorderWidth_ >= 0) return skinBorderWidth_;
  TsSkinManager* manager = Manager();
  if (!manager) return 0;
  const LoadedSkin& skin = manager->Skin();
  int mask = skin.ImageItemIndexExact("MAINMENU", "BORDERSMASK");
  bool exists = skin.IsValidItem(mask);
  skinBorderWidth_ = menu_metrics::SkinBorderWidth(exists, exists ? skin.Items[static_cast<size_t>(mask)].BorderWidth : 0);
  return skinBorderWidth_;
}

// ---------------------------------------------------------------------------------------------
// Connecting menus

void TsSkinableMenus::SetMenusActive(bool active) {
  active_ = active;
  if (!Application) return;
  std::vector<TComponent*> pending{Application};
  while (!pending.empty()) {
    TComponent* component = pending.back();
    pending.pop_back();
    if (auto* bar = dynamic_cast<TMainMenu*>(component)) SkinMainMenu(*bar, active);
    else if (auto* menu = dynamic_cast<TPopupMenu*>(component)) SkinPopupMenu(*menu, active);
    for (int i = 0; i < component->ComponentCount(); ++i) pending.push_back(component->Components(i));
  }
}

void TsSkinableMenus::SkinPopupMenu(TPopupMenu& menu, bool active) {
  TsSkinManager* manager = Manager();
  const bool on = active && manager && manager->SkinnedPopups();
  menu.SetOwnerDraw(on);
  ConnectItems(*menu.Items(), on);
}

void TsSkinableMenus::SkinMainMenu(TMainMenu& menu, bool active) {
  TsSkinManager* manager = Manager();
  const bool on = active && manager && manager->SkinnedPopups();
  menu.SetOwnerDraw(on);
  TMenuItem& bar = *menu.Items();
  for (int i = 0; i < bar.Count(); ++i) {
    ConnectItem(*bar.Items(i), on, true);
    ConnectItems(*bar.Items(i), on);
  }
}

void TsSkinableMenus::ConnectItems(TMenuItem& parent, bool on) {
  std::vector<TMenuItem*> pending;
  for (int i = 0; i < parent.Count(); ++i) pending.push_back(parent.Items(i));
  while (!pending.empty()) {
    TMenuItem* item = pending.back();
    pending.pop_back();
    for (int i = 0; i < item->Count(); ++i) pending.push_back(item->Items(i));
    ConnectItem(*item, on, false);
  }
}

void TsSkinableMenus::ConnectItem(TMenuItem& item, bool on, bool barItem) {
  if (on) {
    if ((item.OnMeasureItem || item.OnAdvancedDrawItem) && item.HandlersOwner != this) return;  // the application's own
    if (barItem) {
      item.OnMeasureItem = [this](TMenuItem& i, HDC dc, int& w, int& h) { MeasureMenuBarItem(i, dc, w, h); };
      item.OnAdvancedDrawItem = [this](TMenuItem& i, HDC dc, const RECT& r, UINT state, HMENU) {
        DrawMenuBarItem(i, dc, r, state);
      };
    } else {
      item.OnMeasureItem = [this](TMenuItem& i, HDC dc, int& w, int& h) { MeasureMenuItem(i, dc, w, h); };
      item.OnAdvancedDrawItem = [this](TMenuItem& i, HDC dc, const RECT& r, UINT state, HMENU shown) {
        DrawMenuItem(i, dc, r, state, shown);
      };
    }
    item.HandlersOwner = this;
  } else if (item.HandlersOwner == this) {
    item.OnMeasureItem = nullptr;
    item.OnAdvancedDrawItem = nullptr;
    item.HandlersOwner = nullptr;
  }
}

// ---------------------------------------------------------------------------------------------
// The main menu's bar

void TsSkinableMenus::MeasureMenuBarItem(TMenuItem& item, HDC dc, int& width, int& height) {
  SelectedObject font(dc, MenuFont(item.Default()));
  const std::wstring caption = WithoutAmpersands(item.Caption());
  SIZE size{};
  if (!caption.empty()) GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
  const ItemSize measured = MeasureBarItem(size.cx, GetSystemMetrics(SM_CYMENU), 0);
  width = measured.width;
  height = measured.height;
}

void TsSkinableMenus::DrawMenuBarItem(TMenuItem& item, HDC dc, const RECT& rect, UINT state) {
  TsSkinManager* manager = Manager();
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (!manager || width <= 0 || height <= 0) return;
  // The item over what the canvas holds there (the frame picture's menu band).
  DibSection piece = DibSection::CreateBitmap24(width, height);
  if (!piece) return;
  UniqueMemoryDc memory(CreateCompatibleDC(dc));
  SelectedObject selected(memory.get(), piece.Handle());
  BitBlt(memory.get(), 0, 0, width, height, dc, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  Bitmap& pixels = piece.Pixels();
  const Bitmap under = pixels.Converted(pixels.Format());
  const bool enabled = item.Enabled();
  const bool hot = enabled && (state & (ODS_SELECTED | ODS_HOTLIGHT)) != 0;
  const int section = manager->SectionIndexOf("MENUITEM");
  if (hot && manager->IsValidSection(section))
    PaintSection(*manager, section, "MENUITEM", BackgroundFromBitmap(under, 0, 0), pixels, {0, 0}, pixels.Bounds(), 1,
                 true);
  GdiFlush();
  int textSection = manager->SectionIndexOf("MENULINE");
  if (!manager->IsValidSection(textSection)) textSection = section;
  SelectedObject font(memory.get(), MenuFont(item.Default()));
  uint32_t format = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
  if (state & ODS_NOACCEL) format |= DT_HIDEPREFIX;
  WriteSectionText(memory.get(), item.Caption(), enabled, manager, hot, textSection, format, pixels.Bounds());
  GdiFlush();
  if (OnDrawItem) OnDrawItem(item, memory.get(), ItemKind::BarItem, state, Rect{0, 0, width, height});
  BitBlt(dc, rect.left, rect.top, width, height, memory.get(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------------------------
// Measuring

HFONT TsSkinableMenus::MenuFont(bool bold) {
  UniqueFont& font = bold ? boldMenuFont_ : menuFont_;
  if (!font) {
    NONCLIENTMETRICSW metrics{sizeof(metrics)};
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    LOGFONTW log = metrics.lfMenuFont;
    if (bold) log.lfWeight = FW_BOLD;
    font.reset(CreateFontIndirectW(&log));
  }
  return font.get();
}

HFONT TsSkinableMenus::GlyphFont(HDC dc, wchar_t glyph) {
  auto make = [](UniqueFont& font, const wchar_t* face) {
    if (font) return;
    LOGFONTW log{};
    WindowDc screen(nullptr);
    log.lfHeight = -MulDiv(10, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
    log.lfCharSet = SYMBOL_CHARSET;
    wcscpy_s(log.lfFaceName, face);
    font.reset(CreateFontIndirectW(&log));
  };
  make(glyphFont_, L"Webdings");
  // Some installations carry a glyph font without every window-command glyph; the font of the
  // platform's caption buttons has them at the same characters.
  WORD index = 0;
  {
    SelectedObject selected(dc, glyphFont_.get());
    if (GetGlyphIndicesW(dc, &glyph, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) == 1 && index != 0xFFFF)
      return glyphFont_.get();
  }
  make(fallbackGlyphFont_, L"Marlett");
  return fallbackGlyphFont_.get();
}

bool TsSkinableMenus::ShowsExtraLine(TMenuItem& first, std::wstring* text) {
  TsSkinManager* manager = Manager();
  if (!manager || first.Name() == kSkinChoiceName) return false;
  std::wstring caption = kExtraLineDefaultText;
  bool show = true;
  if (manager->OnGetMenuExtraLineData) manager->OnGetMenuExtraLineData(manager, caption, show);
  if (text) *text = WithoutAmpersands(caption);
  return show;
}

void TsSkinableMenus::MeasureMenuItem(TMenuItem& item, HDC dc, int& width, int& height) {
  ++itemsMeasured_;
  skinnedMenuShowing_ = true;
  ItemMeasureInput in;
  in.kind = KindOfCaption(item.Caption());
  {
    SelectedObject font(dc, MenuFont(item.Default()));
    std::wstring text = MeasuredText(in.kind, item.Caption(), item.ShortCutText());
    RECT calc{0, 0, 0, 0};
    if (!text.empty()) DrawTextW(dc, text.c_str(), -1, &calc, DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP | DT_CALCRECT);
    in.textWidth = calc.right - calc.left;
    SIZE letter{};
    GetTextExtentPoint32W(dc, L"W", 1, &letter);
    in.letterHeight = letter.cy;
  }
  TsSkinManager* manager = Manager();
  TMenuItem* first = item.Parent() ? item.Parent()->FirstVisible() : nullptr;
  if (manager && first) {
    const TvlMenuSupport& support = *manager->MenuSupport();
    in.extraLineWidth = EffectiveExtraLineWidth(support.UseExtraLine(), ShowsExtraLine(*first, nullptr),
                                                support.ExtraLineWidth());
  }
  in.beforeFirstBreak = !BreakUpTo(item);
  ItemSize size = MeasureItem(in, spacing_);
  width = size.width;
  height = size.height;
}

ItemSize TsSkinableMenus::MenuSizeOf(TMenuItem& parent, HDC dc) {
  std::vector<MeasuredItem> items;
  for (int i = 0; i < parent.Count(); ++i) {
    TMenuItem* item = parent.Items(i);
    if (!item->Visible()) continue;
    MeasuredItem measured;
    MeasureMenuItem(*item, dc, measured.size.width, measured.size.height);
    measured.breakBefore = item->Break();
    items.push_back(measured);
  }
  return MenuSize(items, spacing_);
}

// ---------------------------------------------------------------------------------------------
// Menu backgrounds and menu windows

TsSkinableMenus::Background* TsSkinableMenus::FindBackground(HMENU menu) {
  for (auto& background : backgrounds_)
    if (background->menu == menu && !background->gone) return background.get();
  return nullptr;
}

bool TsSkinableMenus::ShapeMenuWindow(HWND window, TsSkinManager* manager) {
  RECT r;
  if (!manager || !GetWindowRect(window, &r)) return false;
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return false;
  const LoadedSkin& skin = manager->Skin();
  int mask = skin.ImageItemIndexExact("MAINMENU", "BORDERSMASK");
  std::vector<Rect> cuts;
  if (skin.IsValidItem(mask)) {
    const TsMaskData& item = skin.Items[static_cast<size_t>(mask)];
    frame_region::AddCornerCuts(skin.ItemBitmap(item), item, width, height, true, cuts);
  }
  if (cuts.empty()) return false;
  UniqueRegion shape(CreateRectRgn(0, 0, width, height));
  for (const Rect& cut : cuts) {
    UniqueRegion piece(CreateRectRgn(cut.left, cut.top, cut.right, cut.bottom));
    CombineRgn(shape.get(), shape.get(), piece.get(), RGN_DIFF);
  }
  if (!SetWindowRgn(window, shape.get(), TRUE)) return false;
  shape.release();  // the window owns it now
  return true;
}

const DibSection* TsSkinableMenus::MenuPictureOf(HWND window) const {
  for (const auto& background : backgrounds_)
    if (window && background->window == window && !background->gone && background->pixels)
      return &background->pixels;
  return nullptr;
}

void TsSkinableMenus::MenusClosed() {
  // A link whose window is still there leaves its chain as the record goes.
  backgrounds_.clear();
}

TsSkinableMenus::Background& TsSkinableMenus::PrepareBackground(TMenuItem& first, HMENU menu, HWND window, int width,
                                                                 int height) {
  auto background = std::make_unique<Background>();
  background->menu = menu;
  background->pixels = DibSection::CreateBitmap24(std::max(width, 1), std::max(height, 1));
  TsSkinManager* manager = Manager();
  Bitmap& pixels = background->pixels.Pixels();
  const int border = SkinBorderWidth();
  background->iconColumn = IconColumnWidth(kDefaultGlyphSize, spacing_);
  std::wstring extraText;
  if (manager) {
    const TvlMenuSupport& support = *manager->MenuSupport();
    background->extraLine = EffectiveExtraLineWidth(support.UseExtraLine(), ShowsExtraLine(first, &extraText),
                                                    support.ExtraLineWidth());
  }
  const LoadedSkin* skin = manager ? &manager->Skin() : nullptr;
  const int mainMenu = manager ? manager->SectionIndexOf("MAINMENU") : -1;
  if (manager && manager->IsValidSection(mainMenu)) {
    PaintSectionBackground(*skin, mainMenu, "MAINMENU", EmptyBackground(), clFuchsia, -1, -1, pixels, {0, 0},
                           pixels.Bounds(), 0);
    const int bandHeight = pixels.Height() - 2 * border;
    const int iconLine = manager->SectionIndexOf(bv::WideToUtf8(manager->MenuSupport()->IcoLineSkin()));
    if (manager->IsValidSection(iconLine) && bandHeight > 0) {
      Bitmap band(background->iconColumn, bandHeight, pixels.Format());
      const int x = background->extraLine + border;
      PaintSectionBackground(*skin, iconLine, bv::WideToUtf8(manager->MenuSupport()->IcoLineSkin()),
                             BackgroundFromBitmap(pixels, x, border), clFuchsia, -1, -1, band, {0, 0}, band.Bounds(), 0);
      CopyPiece(pixels, x, border, band, band.Bounds());
    }
    const int mask = skin->Sections[static_cast<size_t>(mainMenu)].BorderIndex;
    if (skin->IsValidItem(mask))
      PaintBorderItem(skin, pixels, pixels.Bounds(), false, false, 0, skin->Items[static_cast<size_t>(mask)],
                      EmptyBackground());
    const int extraSection = manager->SectionIndexOf("EXTRALINE");
    if (background->extraLine > 0 && manager->IsValidSection(extraSection) && bandHeight > 0) {
      Bitmap band(background->extraLine, bandHeight, pixels.Format());
      PaintSectionBackground(*skin, extraSection, "EXTRALINE", BackgroundFromBitmap(pixels, border, border), clFuchsia,
                             -1, -1, band, {0, 0}, band.Bounds(), 0);
      CopyPiece(pixels, border, border, band, band.Bounds());
      // The text reads upwards, from 12 pixels above the band's bottom.
      const TvlMenuSupport& support = *manager->MenuSupport();
      LOGFONTW log{};
      wcsncpy_s(log.lfFaceName, support.ExtraLineFont()->Name().c_str(), _TRUNCATE);
      log.lfHeight = support.ExtraLineFont()->Height();
      const TFontStyles style = support.ExtraLineFont()->Style();
      log.lfItalic = style.Has(TFontStyle::fsItalic);
      log.lfUnderline = style.Has(TFontStyle::fsUnderline);
      log.lfStrikeOut = style.Has(TFontStyle::fsStrikeOut);
      log.lfEscapement = log.lfOrientation = -2700;
      log.lfWeight = FW_NORMAL;
      UniqueFont font(CreateFontIndirectW(&log));
      UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
      SelectedObject selected(memory.get(), background->pixels.Handle());
      SelectedObject selectedFont(memory.get(), font.get());
      SetBkMode(memory.get(), TRANSPARENT);
      ::SetTextColor(memory.get(), static_cast<COLORREF>(skin->Sections[static_cast<size_t>(extraSection)].FontColor[0]));
      TEXTMETRICW metrics{};
      GetTextMetricsW(memory.get(), &metrics);
      const int x = border + (background->extraLine - metrics.tmHeight) / 2;
      const int y = border + bandHeight - 12;
      TextOutW(memory.get(), x + metrics.tmHeight, y, extraText.c_str(), static_cast<int>(extraText.size()));
      GdiFlush();
    }
  } else {
    FillRectColor(pixels, pixels.Bounds(), static_cast<TColor>(GetSysColor(COLOR_MENU)));
  }
  backgrounds_.push_back(std::move(background));
  Background& made = *backgrounds_.back();
  if (window) SkinMenuWindow(made, window);
  return made;
}

void TsSkinableMenus::SkinMenuWindow(Background& background, HWND window) {
  if (background.window == window || !IsWindow(window)) return;
  background.window = window;
  RECT r;
  GetWindowRect(window, &r);
  POINT client{0, 0};
  ClientToScreen(window, &client);
  background.clientOrigin = {client.x - r.left, client.y - r.top};
  background.link.Install(window, [this, &background](HWND w, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return HandleMenuWindow(background, w, msg, wParam, lParam, result);
  });
  ++shapedWindows_;
  // A window that has its shape already (its adapter says so) keeps it.
  if (SendMessageW(window, SM_LACQUERCMD, SkinCommandParam(kIsShaped), 0) == 0) {
    SendMessageW(window, SM_LACQUERCMD, SkinCommandParam(kShaping), 0);
    ShapeMenuWindow(window, Manager());
  }
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

bool TsSkinableMenus::HandleMenuWindow(Background& background, HWND window, UINT msg, WPARAM wParam, LPARAM,
                                       LRESULT& result) {
  switch (msg) {
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_PAINT:
      result = background.link.CallNext(msg, wParam, 0);
      PaintWindowBorder(background, window);
      return true;
    case WM_NCPAINT:
      PaintWindowBorder(background, window);
      result = 0;
      return true;
    case WM_NCDESTROY:
      // The record stays until the menus close; its link leaves the chain now.
      background.gone = true;
      background.window = nullptr;
      return false;
    default:
      if (msg == SM_LACQUERCMD && HIWORD(wParam) == scIsSkinAware) {
        result = 1;
        return true;
      }
      return false;
  }
}

void TsSkinableMenus::PaintWindowBorder(Background& background, HWND window) {
  if (!background.pixels) return;
  RECT r;
  GetWindowRect(window, &r);
  WindowDc dc(window, true);
  // Everything but the items: they paint themselves.
  const int count = GetMenuItemCount(background.menu);
  for (int i = 0; i < count; ++i) {
    RECT item;
    if (!GetMenuItemRect(nullptr, background.menu, static_cast<UINT>(i), &item)) continue;
    ExcludeClipRect(dc.get(), item.left - r.left, item.top - r.top, item.right - r.left, item.bottom - r.top);
  }
  UniqueMemoryDc memory(CreateCompatibleDC(dc.get()));
  SelectedObject selected(memory.get(), background.pixels.Handle());
  const Bitmap& pixels = background.pixels.Pixels();
  BitBlt(dc.get(), 0, 0, pixels.Width(), pixels.Height(), memory.get(), 0, 0, SRCCOPY);
}

HMENU TsSkinableMenus::MenuOf(const TMenuItem& item) const {
  TPopupMenu* menu = item.Menu();
  if (!menu || !menu->Handle() || !item.Parent()) return nullptr;
  // The platform menu that shows the item's siblings: the root's, or a sub-menu's by path.
  std::vector<const TMenuItem*> path;
  // The walk ends at the item whose sub-items the shown menu holds (a main menu's drop-down
  // holds one top item's).
  const TMenuItem* root = menu->ShownRoot();
  for (const TMenuItem* p = item.Parent(); p && p != root && p->Parent(); p = p->Parent()) path.push_back(p);
  HMENU shown = menu->Handle();
  for (auto it = path.rbegin(); it != path.rend() && shown; ++it) {
    const TMenuItem* parent = (*it)->Parent();
    int position = 0;
    for (int i = 0; i < parent->Count() && parent->Items(i) != *it; ++i)
      if (parent->Items(i)->Visible()) ++position;
    shown = GetSubMenu(shown, position);
  }
  return shown;
}

void TsSkinableMenus::OnMenuNotification(WPARAM wParam) {
  // The item may be gone by the time the message arrives.
  TMenuItem* item = TMenuItem::FromSerial(static_cast<uint32_t>(wParam));
  if (!item) return;
  HMENU menu = MenuOf(*item);
  Background* background = menu ? FindBackground(menu) : nullptr;
  if (!background) return;
  background->posted = false;
  if (background->window) return;
  struct Search {
    HMENU menu;
    HWND found;
  } search{menu, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), [](HWND window, LPARAM data) -> BOOL {
    auto* s = reinterpret_cast<Search*>(data);
    if (IsMenuWindow(window) && IsWindowVisible(window) &&
        reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0)) == s->menu) {
      s->found = window;
      return FALSE;
    }
    return TRUE;
  }, reinterpret_cast<LPARAM>(&search));
  if (!search.found) return;
  // The picture was made for a guessed size: make it again for the window.
  background->gone = true;
  background->link.Remove();
  TMenuItem* first = item->Parent()->FirstVisible();
  RECT r;
  GetWindowRect(search.found, &r);
  if (first) PrepareBackground(*first, menu, search.found, r.right - r.left, r.bottom - r.top);
}

// ---------------------------------------------------------------------------------------------
// Painting

void TsSkinableMenus::DrawPlain(TMenuItem& item, HDC dc, const RECT& rect, UINT state) {
  const bool selected = (state & ODS_SELECTED) != 0;
  FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (item.IsSeparator()) {
    RECT line{rect.left + 2, (rect.top + rect.bottom) / 2 - 1, rect.right - 2, (rect.top + rect.bottom) / 2 + 1};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  SelectedObject font(dc, MenuFont(item.Default()));
  SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, GetSysColor(Disabled(state) ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  RECT text = rect;
  text.left += IconColumnWidth(kDefaultGlyphSize, spacing_) + spacing_.margin;
  DrawTextW(dc, item.Caption().c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (!item.ShortCutText().empty()) {
    text.right -= 8;
    DrawTextW(dc, item.ShortCutText().c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  }
}

void TsSkinableMenus::DrawMenuItem(TMenuItem& item, HDC dc, const RECT& rect, UINT state, HMENU menu) {
  ++itemsDrawn_;
  if (!SkinInForce() || !item.Parent()) {
    DrawPlain(item, dc, rect, state);
    return;
  }
  HWND window = WindowFromDC(dc);
  if (!IsMenuWindow(window)) window = nullptr;
  Background* background = FindBackground(menu);
  if (!background) {
    TMenuItem* first = item.Parent()->FirstVisible();
    int width, height;
    if (window) {
      RECT r;
      GetWindowRect(window, &r);
      width = r.right - r.left;
      height = r.bottom - r.top;
    } else {
      ItemSize size = MenuSizeOf(*item.Parent(), dc);
      width = size.width;
      height = size.height;
    }
    background = &PrepareBackground(first ? *first : item, menu, window, width, height);
    if (!window) background->clientOrigin = {spacing_.borderWidth, spacing_.borderWidth};
  } else if (window && !background->window) {
    SkinMenuWindow(*background, window);
  }
  if (!background->window && !background->posted && Application) {
    // The application window's watch finds the menu window once the menu shows.
    background->posted = PostMessageW(Application->Handle(), kFindMenuWindow, item.Serial(), 0) != FALSE;
  }

  const int extra = background->extraLine;
  const int width = rect.right - rect.left - extra, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  DibSection picture = DibSection::CreateBitmap24(width, height);
  if (!picture) return;
  Bitmap& pixels = picture.Pixels();
  const Bitmap& behind = background->pixels.Pixels();
  const Point at{rect.left + extra + background->clientOrigin.x, rect.top + background->clientOrigin.y};
  CopyPiece(pixels, 0, 0, behind, Rect::FromSize(at.x, at.y, width, height));
  const TsBackgroundRef under = BackgroundFromBitmap(behind, at.x, at.y);
  const ItemKind kind = KindOfCaption(item.Caption());

  UniqueMemoryDc memory(CreateCompatibleDC(dc));
  {
    SelectedObject selected(memory.get(), picture.Handle());
    SetBkMode(memory.get(), TRANSPARENT);
    switch (kind) {
      case ItemKind::Separator: PaintSeparator(pixels, *background); break;
      case ItemKind::Title: PaintTitle(item, memory.get(), pixels, under); break;
      case ItemKind::Ordinary:
      case ItemKind::BarItem: PaintOrdinary(item, memory.get(), pixels, state, under); break;
    }
    GdiFlush();
    if (OnDrawItem) OnDrawItem(item, memory.get(), kind, state, Rect{0, 0, width, height});
    GdiFlush();
    if (kind == ItemKind::Ordinary && Disabled(state)) ApplyDisabledLook(pixels, dlBlended, clFuchsia, {0, 0}, under);
    BitBlt(dc, rect.left + extra, rect.top, width, height, memory.get(), 0, 0, SRCCOPY);
  }
  if (extra > 0) {
    // The extra line's rows beside the item.
    SelectedObject selected(memory.get(), background->pixels.Handle());
    BitBlt(dc, rect.left, rect.top, extra, height, memory.get(), rect.left + background->clientOrigin.x,
           at.y, SRCCOPY);
  }
}

void TsSkinableMenus::PaintSeparator(Bitmap& pixels, const Background& background) {
  TsSkinManager* manager = Manager();
  const Span span = SeparatorSpan(pixels.Width() + background.extraLine, background.extraLine, background.iconColumn,
                                  spacing_);
  const int left = span.left - background.extraLine, right = span.right - background.extraLine;
  if (right <= left) return;
  const LoadedSkin& skin = manager->Skin();
  const int divider = skin.ImageItemIndexExact("DIVIDERV", "BORDERSMASK");
  if (skin.IsValidItem(divider)) {
    PaintBorderItem(&skin, pixels, Rect{left, 0, right, pixels.Height()}, true, true, 0,
                    skin.Items[static_cast<size_t>(divider)], BackgroundFromBitmap(pixels, 0, 0));
    return;
  }
  const int y = pixels.Height() / 2 - 1;
  FillRectColor(pixels, Rect{left, y, right, y + 1}, kSeparatorShadow);
  FillRectColor(pixels, Rect{left, y + 1, right, y + 2}, kSeparatorLight);
}

void TsSkinableMenus::PaintTitle(TMenuItem& item, HDC memory, Bitmap& pixels, const TsBackgroundRef& under) {
  TsSkinManager* manager = Manager();
  const int toolbar = manager->SectionIndexOf("TOOLBAR");
  if (manager->IsValidSection(toolbar))
    PaintSection(*manager, toolbar, "TOOLBAR", under, pixels, {0, 0}, pixels.Bounds(), 0, true);
  GdiFlush();
  SelectedObject font(memory, MenuFont(true));
  int textSection = manager->IsValidSection(toolbar) ? toolbar : manager->SectionIndexOf("MAINMENU");
  WriteSectionText(memory, TitleText(item.Caption()), true, manager, false, textSection,
                   DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_HIDEPREFIX, pixels.Bounds());
}

void TsSkinableMenus::PaintOrdinary(TMenuItem& item, HDC memory, Bitmap& pixels, UINT state, const TsBackgroundRef& under) {
  TsSkinManager* manager = Manager();
  const LoadedSkin& skin = manager->Skin();
  const bool enabled = !Disabled(state);
  const bool selected = (state & ODS_SELECTED) != 0;
  const bool hot = enabled && (selected || (state & ODS_HOTLIGHT));
  const int section = manager->SectionIndexOf("MENUITEM");
  if (manager->IsValidSection(section))
    PaintSection(*manager, section, "MENUITEM", under, pixels, {0, 0}, pixels.Bounds(), hot ? 1 : 0, true);
  const int textSection = manager->IsValidSection(section) ? section : manager->SectionIndexOf("MAINMENU");

  // A check mark in the icon column.
  if (item.Checked()) {
    int mark = skin.ImageItemIndexExact("GLOBALINFO", item.RadioItem() ? "RADIOCHECKED" : "CHECK");
    if (!skin.IsValidItem(mark) && !item.RadioItem()) mark = skin.ImageItemIndexExact("GLOBALINFO", "BOXCHECKED");
    if (skin.IsValidItem(mark)) {
      Point size = skin.ItemSize(mark);
      PaintGlyphItem(&skin, pixels, {spacing_.margin, GlyphOffset(pixels.Height(), size.y)}, selected ? 1 : 0,
                     BackgroundFromBitmap(pixels, 0, 0), skin.Items[static_cast<size_t>(mark)], 1);
    }
  }
  GdiFlush();
  // The window menu's command glyphs.
  TPopupMenu* menu = item.Menu();
  const wchar_t glyph = menu && menu->Name() == L"SysMenu" ? SystemMenuGlyph(item.Tag()) : 0;
  if (glyph) {
    SelectedObject font(memory, GlyphFont(memory, glyph));
    WriteSectionText(memory, std::wstring(1, glyph), enabled, manager, hot, textSection,
                     DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX, Rect{4, 0, pixels.Width(), pixels.Height()});
  }
  SelectedObject font(memory, MenuFont(item.Default()));
  Rect text{kDefaultGlyphSize + 2 * spacing_.margin + spacing_.spacing, 0, pixels.Width(), pixels.Height()};
  std::wstring caption = item.Caption();
  uint32_t format = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOCLIP;
  if (state & ODS_NOACCEL) format |= DT_HIDEPREFIX;
  if (!caption.empty() && caption[0] == L'\b') {
    caption = caption.substr(1) + L"      ";
    format |= DT_RIGHT;
  } else {
    format |= alignment_ == TMenuAlignment::taRightJustify ? DT_RIGHT
              : alignment_ == TMenuAlignment::taCenter     ? DT_CENTER
                                                           : DT_LEFT;
  }
  WriteSectionText(memory, caption, enabled, manager, hot, textSection, format, text);
  if (!item.ShortCutText().empty()) {
    Rect shortcut{text.left, 0, pixels.Width() - 8, pixels.Height()};
    WriteSectionText(memory, item.ShortCutText(), enabled, manager, hot, textSection,
                     DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX, shortcut);
  }
  GdiFlush();
}
