// The adapters of a platform dialog's controls. Every adapted control is marked as skinned (it
// answers the skin-aware question, so nothing is attached twice) and lies on the dialog's
// skinned background, whose colour the dialog answers for statics and buttons; a push button
// is painted from its skin section (normal, hot and pressed looks, the dialog's picture behind
// its corners, its caption in the section's font colour, the focus rectangle).
#pragma once

#include <windows.h>

#include <memory>

#include "adapters/dialogs/DialogRules.h"
#include "adapters/vlMainWnd.h"
#include "paint/DibSection.h"

class TvlDialogWnd;

// A control of a dialog that keeps its own painting.
class TvlDlgChildWnd : public TvlMainWnd {
 public:
  TvlDlgChildWnd(HWND window, dialog_rules::ChildChoice choice, TvlDialogWnd* dialog);
  ~TvlDlgChildWnd() override;
  dialog_rules::ChildAdapter Kind() const { return choice_.adapter; }
  bool DialogMode() const { return choice_.dialogMode; }

 protected:
  TvlDialogWnd* Dialog() const { return dialog_; }

 private:
  dialog_rules::ChildChoice choice_;
  TvlDialogWnd* dialog_;  // borrowed: the provider frees the children before the dialog adapter
};

// A push button painted from its skin section.
class TvlBtnWnd : public TvlDlgChildWnd {
 public:
  TvlBtnWnd(HWND window, dialog_rules::ChildChoice choice, TvlDialogWnd* dialog);
  ~TvlBtnWnd() override;
  int Paints() const { return paints_; }
  bool Hot() const { return hot_; }

 protected:
  bool WndProc(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Paint(HDC dc);
  void Repaint();

  bool hot_ = false;
  int paints_ = 0;
};

// The adapter a dialog's child gets for `choice` (nullptr for none).
std::unique_ptr<TvlMainWnd> MakeDialogChildAdapter(HWND window, const dialog_rules::ChildChoice& choice,
                                                   TvlDialogWnd* dialog);
