// TsSkinProvider: the component a form owns to get a skinned window frame. It takes over the
// form window's non-client messages through the platform's subclass chain: the frame gets the
// skin's border width and title height (WM_NCCALCSIZE), answers the hit codes of its parts
// (WM_NCHITTEST, so the platform itself moves and sizes the window), and shows one composed
// picture of the form section, the title band with icon and caption, and the close, maximise
// (restore) and minimise buttons. The buttons follow the mouse like platform buttons (hot,
// pressed, a command on release over the button) with a fading glow window from the skin; the
// system menu opens from the icon, a right click on the title band and Alt+Space. The geometry
// and the command rules are plain C++ (FrameGeometry, WindowCommands, GlowFade).
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "adapters/vlCtrlAdapter.h"
#include "frame/ExtendedFrameGeometry.h"
#include "frame/FrameGeometry.h"
#include "frame/GlowFade.h"
#include "frame/MenuBar.h"
#include "frame/ScreenSnap.h"
#include "frame/SystemMenuModel.h"
#include "frame/WindowCommands.h"
#include "frame/sTitleButtons.h"
#include "frame/vlAddedTitle.h"
#include "framework/Component.h"
#include "framework/Handles.h"
#include "framework/WindowSubclass.h"
#include "paint/DibSection.h"
#include "skin/sSkinManager.h"

class TForm;
class TsSystemMenu;
class TvlBorderForm;

// Where the caption text lies in the title band.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
// gmRightBottom: a size grip in the client area's lower right corner answers as that corner.
enum class TsGripMode { gmNone, gmRightBottom };
// Asked first for the frame's hit code at a screen point; a result other than 0 is the answer.
using TvlNCHitTest = Event<TObject*, Point, int&>;

class TsSkinProvider : public TComponent, public TsSkinnedForm {
 public:
  // `owner` must be a form ("TsSkinProvider component may be used with forms only!").
  explicit TsSkinProvider(TComponent* owner);
  ~TsSkinProvider() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // Published properties.
  const std::wstring& SkinSection() const { return skinSection_; }
  void SetSkinSection(const std::wstring& value);
  bool ShowAppIcon() const { return showAppIcon_; }
  void SetShowAppIcon(bool value);
  // While the user moves the window, its edges snap to the work area's edges within
  // SnapBuffer pixels.
  bool ScreenSnap() const { return screenSnap_; }
  void SetScreenSnap(bool value) { screenSnap_ = value; }
  int SnapBuffer() const { return snapBuffer_; }
  void SetSnapBuffer(int value) { snapBuffer_ = value < 0 ? 0 : value; }
  // The skinned system menu carries a sub-menu of the available skins.
  bool MakeSkinMenu() const { return makeSkinMenu_; }
  void SetMakeSkinMenu(bool value) { makeSkinMenu_ = value; }
  // With the skin manager's ExtendedBorders, the frame and its shadow lie in a border window
  // around the form (extended mode).
  bool AllowExtBorders() const { return allowExtBorders_; }
  void SetAllowExtBorders(bool value);
  // The application's own title buttons, left of the system buttons.
  TsTitleButtons* TitleButtons() { return &titleButtons_; }
  TAlignment CaptionAlignment() const { return captionAlignment_; }
  void SetCaptionAlignment(TAlignment value);
  // A second text drawn after the caption.
  TvlAddedTitle* AddedTitle() { return &addedTitle_; }
  TsGripMode GripMode() const { return gripMode_; }
  void SetGripMode(TsGripMode value);
  TvlNCHitTest OnExtHitTest;

  // TsSkinnedForm.
  TForm* Form() const override { return form_; }
  TsSkinManager* Manager() const override { return nullptr; }
  void FreezeForSkinChange() override {}
  void UnfreezeAfterSkinChange(bool repaint) override;

  // The frame is drawn from the skin (a skin is in force and the window is taken over).
  bool FrameSkinned() const { return skinned_; }
  bool ActiveLook() const { return activeLook_; }
  // The frame's geometry in frame coordinates: (0, 0) is the frame's top-left corner on the
  // screen (FrameOrigin), the window's own in standard mode, the border window's inside its
  // shadow margins in extended mode.
  frame_geometry::FrameInput CurrentFrameInput() const;
  frame_geometry::FrameLayout CurrentLayout() const;
  Point FrameOrigin() const;
  frame_commands::WindowCommands CurrentCommands() const;
  // The form's border style and state as the system menu's rules read them.
  system_menu::MenuInput CurrentMenuInput() const;
  // The skinned system menu (made when the skin is first applied), or nullptr.
  TsSystemMenu* SystemMenu() const { return systemMenu_; }
  // Where the caption and the added title were drawn at the last composition (frame coordinates).
  const frame_geometry::CaptionPlacement& CaptionPlacement() const { return captionPlacement_; }
  // The hit code of the hot and of the pressed title button (0: none).
  int HotButton() const { return hot_; }
  int PressedButton() const { return pressed_; }
  // The glow window of a title button (by hit code), or nullptr.
  HWND ButtonGlowWindow(int hitCode) const;
  // The composed picture of the whole window (null before the first composition).
  const Bitmap* FrameImage() const { return image_ ? &image_.Pixels() : nullptr; }
  int Compositions() const { return compositions_; }

  // Extended mode: the border window behind the form (null in standard mode), its geometry, and
  // the hit code of a screen point over it (frame_geometry::kHitShadow over the shadow).
  bool Extended() const { return border_ != nullptr; }
  const TvlBorderForm* BorderForm() const { return border_.get(); }
  HWND BorderWindow() const;
  frame_geometry::ExtendedFrameGeometry ExtendedGeometry() const;
  int BorderHitTest(Point screen) const;

  // The main menu's band below the title (in extended mode shown by the border window): the height
  // of one row, the rows, and where the band and its visible items lie in frame coordinates.
  int MenuLineHeight() const;
  int MenuLineRows() const;
  TsMenuBar::Layout MenuBarLayout() const;

  // Composes the frame picture again now, and shows it.
  void ComposeFrameImage();
  void RepaintFrame();
  // The adapters of the form's controls that know no skin (nullptr while no skin is applied).
  TvlCtrlAdapter* Adapter() const { return adapter_.get(); }

  // Opens the window's system menu at a screen point, entries enabled by the window's state:
  // the skinned menu while the manager skins pop-up menus, else the platform's window menu; the
  // chosen command goes to the window.
  void ShowSystemMenu(int screenX, int screenY);

 protected:
  void Loaded() override;
  void BeforeDestruction() override;

 private:
  // A title button: its hit code, its image items and its glow.
  struct TitleButton {
    int hitCode = 0;
    int image = -1;         // image item of the normal look
    int restoreImage = -1;  // the maximise button of a maximised window
    int glow = -1;          // glow pictures ("GLOW0" items) of both
    int restoreGlow = -1;
    int glowMargin = 0;
    bool glowAllowed = false;
    int glowId = -1;        // the shown glow window, or -1
    frame_fade::GlowFade fade;
  };

  TsSkinManager* SkinManager() const;
  // The colour the client area shows (the same answer the form gave before it was skinned).
  TColor ClientColor() const;
  void Attach();
  void ApplySkin();
  void RemoveSkin();
  void LookUpSkin();
  void SetFrameChanged();
  bool HandleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool OnNcHitTest(LPARAM lParam, LRESULT& result);
  void OnNcMouseMove(int code);
  bool OnNcLeftButtonDown(int code, LPARAM lParam);
  bool OnNcLeftButtonDoubleClick(int code, LPARAM lParam);
  // The menu band for a window `width` wide with the frame `layout`.
  TsMenuBar::Layout MenuBarLayout(int width, const frame_geometry::FrameLayout& layout) const;
  // The menu band of the frame in extended mode for a frame `frameWidth` wide.
  Rect ExtendedMenuBand(int frameWidth) const;
  // The hit code at a point of the frame (frame coordinates): the menu band, else the frame's.
  int CodeAt(const frame_geometry::FrameInput& input, const frame_geometry::FrameLayout& layout, Point point) const;
  void DropMenuDown(LPARAM screenPoint);
  void OnButtonMouseMove(LPARAM lParam);
  void OnButtonRelease(LPARAM lParam);
  void CancelPress();
  void OnGetMinMaxInfo(MINMAXINFO* info);
  void OnWindowPosChanging(WINDOWPOS* pos);
  // Gives the window the shape of the skin's border masks (their key-colour corners left out);
  // no shape while maximised or unskinned.
  void UpdateWindowRegion();
  void ClearWindowRegion();
  void PaintFrame(HDC dc);
  void DeliverFrame();
  void EnsureComposed();
  void PaintButtons(Bitmap& pixels, const frame_geometry::FrameLayout& layout);
  void PaintButton(Bitmap& pixels, const TitleButton& button, const Rect& rect);
  void PaintUserButton(Bitmap& pixels, int hitCode, const Rect& rect);
  // The user button a hit code names, when it shows and acts; else nullptr.
  TsTitleButton* UserButtonOf(int hitCode) const;
  bool IsButtonCode(int code) const;
  void DrawCaption(HDC dc, Bitmap& pixels, const frame_geometry::FrameLayout& layout);
  // The hit code the application gives for a screen point (0: none).
  int ExtHitTest(Point screen) const;
  void RepaintButton(int hitCode);
  int ButtonState(int hitCode) const;
  TitleButton* ButtonOf(int hitCode);
  const TitleButton* ButtonOf(int hitCode) const;
  Rect ButtonRect(const frame_geometry::FrameLayout& layout, int hitCode) const;
  void SetHot(int hitCode);
  void StartGlow(int hitCode, bool in);
  void TickGlows();
  void RemoveGlows();
  Point ScreenToWindow(LPARAM lParam) const;
  Point WindowOrigin() const;
  void ExecuteButton(int hitCode, Point screen);
  void ShowMenuBelowIcon();
  // The form's controls that know no skin get their adapters, or lose them.
  void AttachAdapters();
  void DetachAdapters();
  void WatchChildWindows(UINT msg, WPARAM wParam);
  static UINT RescanMessage();
  // Extended mode.
  bool ExtendedAllowed() const;
  void EnterExtendedMode(bool on);
  void UpdateBorderWindow(bool redraw);
  void OnBorderWindowPosChanged(const WINDOWPOS& pos);
  // The frame's part of the composed picture (all of it in standard mode).
  Bitmap FrameView();
  Rect ImageBounds() const;  // what the composed picture must cover for the present window
  void ComposeShadow(Bitmap& whole, const Rect& frame, int titleBand);

  TForm* form_ = nullptr;  // borrowed: the owner
  WindowSubclass subclass_;
  std::wstring skinSection_ = L"FORM";
  bool showAppIcon_ = true;
  bool screenSnap_ = false;
  bool allowExtBorders_ = true;
  std::unique_ptr<TvlBorderForm> border_;
  bool updatingBorder_ = false;
  Bitmap header_;      // extended mode: the header band of the picture before the title was painted
  int snapBuffer_ = frame_snap::kDefaultSnapDistance;
  bool userMoving_ = false;  // inside the platform's move or size loop
  // The window size the region was made for (0 x 0: the window has none of ours).
  int regionWidth_ = 0;
  int regionHeight_ = 0;
  int regionBand_ = 0;  // the menu band the region was made for (extended mode)
  bool skinned_ = false;
  bool activeLook_ = true;
  bool dirty_ = true;
  bool trackingLeave_ = false;
  int compositions_ = 0;
  // Skin indexes, looked up on every skin application.
  int formSection_ = -1;
  int titleSection_ = -1;
  frame_geometry::FrameSkinValues skinValues_;
  std::array<TitleButton, 3> buttons_;  // close, maximise, minimise
  int hot_ = 0;
  int pressed_ = 0;
  bool pressedInside_ = false;
  DibSection image_;   // the composed frame picture, window-sized
  Bitmap base_;        // its title band before the buttons were drawn (buttons repaint over it)
  UniqueFont captionFont_;
  bool makeSkinMenu_ = false;
  TsSystemMenu* systemMenu_ = nullptr;  // owned through the component list
  std::unique_ptr<TvlCtrlAdapter> adapter_;
  TsTitleButtons titleButtons_{[this] { OnTitleButtonsChanged(); }};
  int titleButtonImage_ = -1;  // the skin's TITLEBUTTON picture behind user buttons
  int gripImage_ = -1;         // the skin's GRIPIMAGE
  TAlignment captionAlignment_ = TAlignment::taLeftJustify;
  TvlAddedTitle addedTitle_{[this] { OnTitleButtonsChanged(); }};
  TsGripMode gripMode_ = TsGripMode::gmNone;
  frame_geometry::CaptionPlacement captionPlacement_;
  void OnTitleButtonsChanged();
};
