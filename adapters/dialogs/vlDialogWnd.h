// TvlDialogWnd: the skinned frame of a platform dialog that the program did not make itself
// (message boxes, the folder picker). The dialog keeps the platform's frame sizes; the adapter
// paints the skin's dialog section, the title band with caption and icon and the title buttons
// into that frame, shapes the window by the skin's corner masks, paints the client background
// from the same picture, answers the buttons' hit codes and carries out their commands, and
// gives the dialog's static texts and buttons one brush per colour. Layout and hit codes come
// from the frame's geometry (frame/FrameGeometry); the kind of frame from DialogRules.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "adapters/vlMainWnd.h"
#include "frame/FrameGeometry.h"
#include "framework/Handles.h"
#include "paint/DibSection.h"

class TvlProvider;

class TvlDialogWnd : public TvlMainWnd {
 public:
  TvlDialogWnd(HWND dialog, TvlProvider* provider);
  ~TvlDialogWnd() override;

  // Reads the style, chooses the frame kind and the button images, and takes the system menu
  // style away (the platform then draws no buttons of its own).
  void Initialize();

  TvlProvider* Provider() const { return provider_; }
  int FrameKind() const { return frameKind_; }
  bool SmallButtons() const { return smallButtons_; }
  DWORD OriginalStyle() const { return style_; }
  const std::wstring& Caption() const { return caption_; }
  int HotButton() const { return hot_; }
  bool ValidateOnly() const { return validateOnly_; }
  void ClearValidateOnly() { validateOnly_ = false; }
  int Compositions() const { return compositions_; }
  // The brushes made for WM_CTLCOLOR* answers so far (one per colour).
  size_t BrushCount() const { return brushes_.size(); }
  // The frame's layout and hit input for the present window (window coordinates).
  frame_geometry::FrameInput CurrentFrameInput() const;
  frame_geometry::FrameLayout CurrentLayout() const;
  // The composed picture of the whole window (null before the first paint).
  const Bitmap* FrameImage() const { return image_ ? &image_.Pixels() : nullptr; }
  // The dialog section the frame is painted from ("DIALOG", or "FORM" for a skin without one).
  int SectionIndex() const { return section_; }

 protected:
  bool WndProc(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  struct TitleButton {
    int hitCode = 0;
    int image = -1;
    int restoreImage = -1;
  };

  void LookUpSkin();
  bool Skinned() const;
  Point ClientOrigin() const;  // the client area's top-left in window coordinates
  void ReadCaption();
  HICON WindowIcon() const;
  void Compose();
  void PaintNonClient();
  void PaintBackground(HDC dc);
  void UpdateRegion();
  int HitTest(LPARAM lParam, LRESULT platformAnswer);
  void SetHot(int code);
  void Press(int code);
  void TrackPress();
  void Release();
  void Execute(int code);
  void ShowSystemMenu(int x, int y);
  HBRUSH BrushFor(COLORREF color);
  LRESULT OnControlColor(HDC dc, HWND control);
  bool ButtonActs(int code) const;

  TvlProvider* provider_;  // borrowed: the provider owns this adapter
  DWORD style_ = 0;
  DWORD exStyle_ = 0;
  int frameKind_ = 3;
  bool smallButtons_ = false;
  bool initialized_ = false;
  std::wstring caption_;
  UniqueFont captionFont_;
  int section_ = -1;
  int titleSection_ = -1;
  int captionSection_ = -1;
  TitleButton buttons_[3];  // close, maximise, minimise
  int hot_ = 0;
  int pressed_ = 0;
  bool pressedInside_ = false;
  bool trackingLeave_ = false;
  bool activeLook_ = true;
  bool dirty_ = true;
  bool regionDirty_ = true;
  bool validateOnly_ = false;
  bool childrenAdapted_ = false;
  bool showPending_ = false;  // shown; the show animation waits for the position change
  int regionWidth_ = 0;
  int regionHeight_ = 0;
  int compositions_ = 0;
  DibSection image_;
  std::vector<std::pair<COLORREF, UniqueBrush>> brushes_;
};
