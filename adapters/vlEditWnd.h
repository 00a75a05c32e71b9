// The edit family of adapters: TvlBaseWnd (a scroll adapter whose border is painted from a
// cached frame picture), TvlEditWnd (the skin section's border mask instead of the control's
// sunken edge, the section's background and text colours) and TvlListViewWnd (list-view
// colours, a column header painted from "COLHEADER" with the sort arrow, and thumb tracking that
// scrolls the list by exactly the rows, columns or pixels the thumb moved).
#pragma once

#include <windows.h>

#include "adapters/vlScrollWnd.h"
#include "framework/Color.h"
#include "framework/WindowSubclass.h"
#include "paint/DibSection.h"

struct TsGeneralData;

class TvlBaseWnd : public TvlScrollWnd {
 public:
  using TvlScrollWnd::TvlScrollWnd;
  // The cached picture of the whole window the border is copied from (empty before the first).
  const Bitmap* FramePicture() const { return frame_ ? &frame_.Pixels() : nullptr; }
  int FrameRebuilds() const { return frameRebuilds_; }

 protected:
  bool WndProc(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // Paints the section with its border mask over what lies under the window.
  void RebuildFrame();
  void PaintBorder(HDC dc) override;

 private:
  DibSection frame_;
  int frameRebuilds_ = 0;
};

class TvlEditWnd : public TvlBaseWnd {
 public:
  TvlEditWnd(HWND window, TsCommonData* skinState, const std::string& section);
  // Detaches while the edit's own look can still be given back.
  ~TvlEditWnd() override;

 protected:
  void SaveOriginalLook() override;
  void RestoreOriginalLook() override;
  void ApplySkinLook() override;
  bool WndProc(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // Paints border and bars into the window's device context (or `dc`).
  void PaintNonClient(HDC dc);
  const TsGeneralData* SectionData() const;

 private:
  bool blockStyleChange_ = false;  // our own colour change is no reason to repaint the frame
  bool lookSaved_ = false;
  TColor color_ = clWindow;        // the control's own colours, given back on detach
  TColor fontColor_ = clWindowText;
};

class TvlListViewWnd : public TvlEditWnd {
 public:
  TvlListViewWnd(HWND window, TsCommonData* skinState, const std::string& section);
  ~TvlListViewWnd() override;

  HWND Header() const { return headerLink_.Window(); }
  int HoverColumn() const { return hoverColumn_; }
  int PushedColumn() const { return pushedColumn_; }
  int HeaderPaints() const { return headerPaints_; }

  // Whether `window` is a list view (it has a column header child of the platform's class).
  static bool IsListView(HWND window);

 protected:
  void SaveOriginalLook() override;
  void RestoreOriginalLook() override;
  void ApplySkinLook() override;
  bool WndProc(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool TakesThumbPositionInMessage() const override { return true; }

 private:
  // Takes the header over in the report view and leaves it in the others.
  void FollowView();
  void HookHeader(HWND header);
  bool HeaderProc(HWND header, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool ReportView() const;
  void PaintHeader(HDC dc);
  int ColumnAt(HWND header, POINT client) const;
  // The thumb moved to `position`: scrolls by the difference in the list's own units.
  void TrackThumb(int kind, int position);

  WindowSubclass headerLink_;
  int hoverColumn_ = -1;
  int pushedColumn_ = -1;
  int headerPaints_ = 0;
  bool colorsSaved_ = false;
  COLORREF background_ = CLR_NONE;
  COLORREF textColor_ = 0;
  COLORREF textBackground_ = CLR_NONE;
};
