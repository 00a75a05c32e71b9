// TsSkinableMenus: the skin's look for pop-up menus. Connected to a menu, it makes the items
// owner-drawn and measures and paints each of them from the skin: the menu's background from
// "MAINMENU" with its border mask, the icon column, the optional extra line, the highlight from
// "MENUITEM", separators from "DIVIDERV", titles from "TOOLBAR", check marks and, in the window
// menu, the window-command glyphs. The pop-up menu window itself is taken over through the
// subclass chain while it shows: its border is painted from the menu's background and its
// corners are cut out as the border mask says. The arithmetic is in MenuMetrics.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "frame/MenuMetrics.h"
#include "framework/Geometry.h"
#include "framework/Handles.h"
#include "framework/Menus.h"
#include "framework/WindowSubclass.h"
#include "paint/BackgroundRef.h"
#include "paint/DibSection.h"

class TsSkinManager;

enum class TMenuAlignment { taLeftJustify, taRightJustify, taCenter };

class TsSkinableMenus {
 public:
  // The one object of the process; the first use connects it to the skin manager's notices.
  static TsSkinableMenus& Instance();
  TsSkinableMenus(const TsSkinableMenus&) = delete;
  TsSkinableMenus& operator=(const TsSkinableMenus&) = delete;

  // Properties.
  TMenuAlignment Alignment() const { return alignment_; }
  void SetAlignment(TMenuAlignment value) { alignment_ = value; }
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value) { bevelWidth_ = value; }
  int BorderWidth() const { return spacing_.borderWidth; }
  void SetBorderWidth(int value) { spacing_.borderWidth = value; }
  int Margin() const { return spacing_.margin; }
  void SetMargin(int value) { spacing_.margin = value; }
  int Spacing() const { return spacing_.spacing; }
  void SetSpacing(int value) { spacing_.spacing = value; }
  // The "MAINMENU" border mask's width (cached until the next skin change).
  int SkinBorderWidth();
  // Raised after an item is painted: (item, device context, kind, ODS_* flags, rectangle).
  std::function<void(TMenuItem&, HDC, menu_metrics::ItemKind, UINT, const Rect&)> OnDrawItem;

  bool MenusActive() const { return active_; }
  // Connects (or disconnects) every menu owned, at any depth, by the application.
  void SetMenusActive(bool active);
  // Connects one menu: owner-drawn with our handlers while `active` and the manager skins pop-up
  // menus; handlers the application set itself are left alone.
  void SkinPopupMenu(TPopupMenu& menu, bool active);

  // Connects a form's main menu: bar painters on its top items, pop-up painters below them.
  void SkinMainMenu(TMainMenu& menu, bool active);

  void MeasureMenuItem(TMenuItem& item, HDC dc, int& width, int& height);
  // A main-menu bar item: measured in the menu font, painted over what `dc` holds under it
  // ("MENUITEM" in the hot look when selected or hot, the caption in "MENULINE"'s colours).
  void MeasureMenuBarItem(TMenuItem& item, HDC dc, int& width, int& height);
  void DrawMenuBarItem(TMenuItem& item, HDC dc, const RECT& rect, UINT state);
  void DrawMenuItem(TMenuItem& item, HDC dc, const RECT& rect, UINT state, HMENU menu);

  // Forgets every menu background (the menus closed).
  void MenusClosed();
  // A skinned menu is showing: set when an item is measured, cleared when a menu window goes.
  bool SkinnedMenuShowing() const { return skinnedMenuShowing_; }
  void SetSkinnedMenuShowing(bool value) { skinnedMenuShowing_ = value; }
  // The picture of the menu shown in `window`, or nullptr when none was made for it.
  const DibSection* MenuPictureOf(HWND window) const;
  // Cuts the corners that the "MAINMENU" border mask leaves out of a menu window of its present
  // size; false when nothing was cut.
  static bool ShapeMenuWindow(HWND window, TsSkinManager* manager);
  // Skin questions to a menu window: has it its shape (answer non-zero), it is being shaped.
  static constexpr uint16_t kIsShaped = 8;
  static constexpr uint16_t kShaping = 14;
  // Menu backgrounds held now, and how many menu windows have been taken over (tests).
  int BackgroundCount() const { return static_cast<int>(backgrounds_.size()); }
  int ShapedWindows() const { return shapedWindows_; }
  int ItemsMeasured() const { return itemsMeasured_; }
  int ItemsDrawn() const { return itemsDrawn_; }

 private:
  // The background of one open menu.
  struct Background {
    HMENU menu = nullptr;    // borrowed: the platform menu
    HWND window = nullptr;   // borrowed: its window, once known
    DibSection pixels;       // the whole window's picture
    Point clientOrigin;      // the client area's origin inside the picture
    int extraLine = 0;       // effective extra-line width
    int iconColumn = 0;
    bool posted = false;     // a request to find the window is under way
    bool gone = false;       // the window was destroyed
    WindowSubclass link;     // on the window
  };

  TsSkinableMenus();
  TsSkinManager* Manager() const;
  // Our measure and draw handlers on an item (bar or pop-up ones), or off again; handlers of
  // the application's own stay. ConnectItems: the pop-up ones on every item below `parent`.
  void ConnectItem(TMenuItem& item, bool on, bool barItem);
  void ConnectItems(TMenuItem& parent, bool on);
  bool SkinInForce() const;
  Background* FindBackground(HMENU menu);
  Background& PrepareBackground(TMenuItem& first, HMENU menu, HWND window, int width, int height);
  void SkinMenuWindow(Background& background, HWND window);
  bool HandleMenuWindow(Background& background, HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void PaintWindowBorder(Background& background, HWND window);
  void OnMenuNotification(WPARAM wParam);
  HMENU MenuOf(const TMenuItem& item) const;
  bool ShowsExtraLine(TMenuItem& first, std::wstring* text);
  HFONT MenuFont(bool bold);
  // The font that draws a window-command glyph.
  HFONT GlyphFont(HDC dc, wchar_t glyph);
  menu_metrics::ItemSize MenuSizeOf(TMenuItem& parent, HDC dc);
  void DrawPlain(TMenuItem& item, HDC dc, const RECT& rect, UINT state);
  void PaintSeparator(Bitmap& pixels, const Background& background);
  void PaintTitle(TMenuItem& item, HDC memory, Bitmap& pixels, const TsBackgroundRef& under);
  void PaintOrdinary(TMenuItem& item, HDC memory, Bitmap& pixels, UINT state, const TsBackgroundRef& under);

  TMenuAlignment alignment_ = TMenuAlignment::taLeftJustify;
  int bevelWidth_ = 0;
  menu_metrics::MenuSpacing spacing_;
  int skinBorderWidth_ = -1;  // -1: not known yet
  bool active_ = false;
  bool skinnedMenuShowing_ = false;
  int shapedWindows_ = 0;
  int itemsMeasured_ = 0;
  int itemsDrawn_ = 0;
  std::vector<std::unique_ptr<Background>> backgrounds_;
  UniqueFont menuFont_;
  UniqueFont boldMenuFont_;
  UniqueFont glyphFont_;
  UniqueFont fallbackGlyphFont_;
};
