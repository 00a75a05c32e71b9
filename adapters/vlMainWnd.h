// TvlMainWnd: the base of every window adapter. An adapter takes over a control that knows no
// skin through one link of the platform's subclass chain, marks the window with the property
// "VLSBSC" (pointing to the adapter), switches the window's visual style off, and gives all of
// it back on detach: its link leaves the chain without cutting out anyone who joined later, the
// property goes, the saved look and the visual style come back and the frame is recomputed.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/WindowSubclass.h"

class TControl;
class TsCommonData;
class TsSkinManager;

class TvlMainWnd {
 public:
  static constexpr const wchar_t* kPropertyName = L"VLSBSC";

  // `skinState` is borrowed (an adapter item's); nullptr makes the adapter keep one of its own.
  // An empty section keeps the skin state's section (or `defaultSection` when it has none).
  TvlMainWnd(HWND window, TsCommonData* skinState, const std::string& section, const char* defaultSection);
  TvlMainWnd(const TvlMainWnd&) = delete;
  TvlMainWnd& operator=(const TvlMainWnd&) = delete;
  virtual ~TvlMainWnd();

  // Takes the window over; false when the platform refused. Called once, after construction,
  // so that the descendants' look and message handling are in place.
  bool Attach();
  // Gives the window back (also on its destruction); safe to call more than once.
  void Detach();

  HWND WindowHandle() const { return window_; }
  bool Unhooked() const { return unhooked_; }
  bool LookApplied() const { return lookApplied_; }
  bool ThemeSwitchedOff() const { return themeOff_; }
  TsCommonData& SkinState() const { return *skinState_; }
  TsSkinManager* SkinManager() const;
  // A skin is in force and the adapter's section exists in it.
  bool SkinActive() const;

  // Called when the adapted window is destroyed (the adapter is then unhooked).
  std::function<void()> OnWindowGone;

  // The adapter of an adapted window (its "VLSBSC" property), or nullptr.
  static TvlMainWnd* FromWindow(HWND window);

 protected:
  virtual void SaveOriginalLook() {}
  virtual void RestoreOriginalLook() {}
  virtual void ApplySkinLook() { lookApplied_ = true; }
  // Answers true when it handled the message (answer in `result`); false passes it on.
  virtual bool WndProc(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // The rest of the chain: the control's own procedure and whoever joined before us.
  LRESULT CallOld(UINT msg, WPARAM wParam, LPARAM lParam) const { return subclass_.CallNext(msg, wParam, lParam); }
  // The framework control behind the window, or nullptr for a bare window.
  TControl* Control() const;
  bool Detaching() const { return detaching_; }
  // Makes the platform recompute and repaint the frame.
  void FrameChanged() const;

  HWND window_ = nullptr;  // borrowed: the adapted window
  bool lookApplied_ = false;
  std::wstring text_;  // the window text as last seen

 private:
  bool HandleSkinCommand(WPARAM wParam, LPARAM lParam, LRESULT& result);

  WindowSubclass subclass_;
  TsCommonData* skinState_ = nullptr;  // borrowed, or owned through ownSkinState_
  std::unique_ptr<TsCommonData> ownSkinState_;
  bool themeOff_ = false;
  bool unhooked_ = false;
  bool attached_ = false;
  bool detaching_ = false;
};
