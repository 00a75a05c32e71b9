// The skinned panel's printing and plain paths, the paint-finished notice to its children, and
// the drag bar, on the real main window under the stored skin.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "app/Form1.h"
#include "controls/sDragBar.h"
#include "framework/Application.h"
#include "paint/DibSection.h"
#include "pixel/BitmapBlend.h"
#include "tests/win/MainWindowFixture.h"
#include "tests/win/WinTestSupport.h"

using namespace wintest;

namespace {

class SkinnedPanelTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    folder.Create(L"Sharpen.8bf");
    OpenMainWindow();
  }

  TColor FormColour() const {
    const TsSkinManager& manager = *form->sSkinManager1;
    return PlainColor(manager.Skin().Sections[static_cast<size_t>(manager.SectionIndexOf("FORM"))].Color);
  }

  // The control as WM_PRINT draws it, with `flags`.
  static DibSection Print(TWinControl* control, LPARAM flags) {
    DibSection picture = DibSection::CreateBitmap24(control->Width(), control->Height());
    FillRectColor(picture.Pixels(), picture.Pixels().Bounds(), 0x123456);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    SelectedObject selected(dc.get(), picture.Handle());
    SendMessageW(control->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(dc.get()), flags);
    GdiFlush();
    return picture;
  }
};

TEST_F(SkinnedPanelTest, PrintingGivesThePanelsPictureAndWithChildrenTheirsOnTop) {
  TsPanel* panel = form->sPanelOnTop;
  TsButton* button = form->sButtonOff;
  Point free{panel->Width() - 20, panel->Height() / 2};  // no child there
  Point onButton{button->Left() + button->Width() / 2, button->Top() + button->Height() - 3};
  uint32_t buttonPixel = button->SkinData()->Cache.Pixels().GetPixel(button->Width() / 2, button->Height() - 3);
  ASSERT_NE(buttonPixel, static_cast<uint32_t>(FormColour()));
  struct Case {
    const char* what;
    LPARAM flags;
    uint32_t expectedOnButton;
  } cases[] = {
      {"client only", PRF_CLIENT, static_cast<uint32_t>(FormColour())},
      {"with children", PRF_CLIENT | PRF_CHILDREN, buttonPixel},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DibSection picture = Print(panel, c.flags);
    EXPECT_EQ(picture.Pixels().GetPixel(free.x, free.y), static_cast<uint32_t>(FormColour()));
    EXPECT_EQ(picture.Pixels().GetPixel(onButton.x, onButton.y), c.expectedOnButton);
  }
}

TEST_F(SkinnedPanelTest, PlainPathsFillWithTheRightColour) {
  TsPanel* panel = form->sPanelOffTop;
  panel->SetColor(clRed);
  struct Case {
    const char* what;
    std::function<void(TForm1&)> setUp;
    TColor centre;
    std::optional<bool> borderPainted;  // the section's border shows near the top edge
    bool keepsNoCache;                  // painted without building the section's picture
  } cases[] = {
      {"skinned", [](TForm1&) {}, FormColour(), true, false},
      {"skinned with its own colour", [](TForm1& f) { f.sPanelOffTop->SkinData()->SetCustomColor(true); }, clRed, true,
       true},
      {"a section with a plain background",
       [](TForm1& f) {
         f.sPanelOffTop->SkinData()->SetCustomColor(false);
         f.sPanelOffTop->SetSkinSection(L"FORM");
       },
       FormColour(), std::nullopt, true},
      {"skin removed", [](TForm1& f) { f.sSkinManager1->SetActive(false); }, clRed, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.setUp(*form);
    Pump();
    panel->SkinData()->CacheDirty = true;
    int builds = panel->CacheBuilds();
    DibSection picture = Print(panel, PRF_CLIENT);
    const Bitmap& pixels = picture.Pixels();
    // Between the heading's right end and the panel's right edge: no child there.
    const int free = (form->sLabel2->Left() + form->sLabel2->Width() + pixels.Width()) / 2;
    ASSERT_LT(form->sLabel2->Left() + form->sLabel2->Width(), free);
    EXPECT_EQ(pixels.GetPixel(free, pixels.Height() / 2), static_cast<uint32_t>(c.centre));
    // The border mask's edge differs from the fill; the framework's panel has no bevel here.
    if (c.borderPainted) {
      EXPECT_EQ(pixels.GetPixel(free, 2) != static_cast<uint32_t>(c.centre), *c.borderPainted);
    }
    if (c.keepsNoCache) {
      EXPECT_EQ(panel->CacheBuilds(), builds);
    }
  }
}

TEST_F(SkinnedPanelTest, TheCornersCutOffAButtonShowThePanelOnScreen) {
  TsPanel* panel = form->sPanelTop;
  TsButton* button = form->ListBtn;
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(button->Handle(), region), ERROR);
  ASSERT_FALSE(PtInRegion(region, 0, 0)) << "the top-left corner is cut off";
  DeleteObject(region);
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const Bitmap& cache = panel->SkinData()->Cache.Pixels();
  WindowDc screen(panel->Handle());
  for (Point p : {Point{button->Left(), button->Top()}, Point{button->Left() + button->Width() - 1, button->Top()}}) {
    COLORREF shown = GetPixel(screen.get(), p.x, p.y);
    uint32_t expected = cache.GetPixel(p.x, p.y);
    EXPECT_EQ(shown, expected) << p.x << ", " << p.y;  // both 0x00BBGGRR
  }
}

TEST_F(SkinnedPanelTest, AWiderWindowShowsEachPanelsNewPictureWhole) {
  // The row just inside the top edge crosses no child: on screen it must be the panel's picture
  // for its new size, including where its old right border was.
  TsPanel* panel = form->sPanelOffTop;
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const int oldWidth = panel->Width();
  form->SetBounds(form->Left(), form->Top(), form->Width() + 200, form->Height());
  Pump(100);
  ASSERT_GT(panel->Width(), oldWidth + 50);
  const Bitmap& cache = panel->SkinData()->Cache.Pixels();
  ASSERT_EQ(cache.Width(), panel->Width());
  WindowDc screen(panel->Handle());
  std::vector<int> stale;
  for (int x = 0; x < panel->Width(); ++x)
    if (GetPixel(screen.get(), x, 2) != cache.GetPixel(x, 2)) stale.push_back(x);
  EXPECT_TRUE(stale.empty()) << stale.size() << " columns differ, the first at x = " << stale.front()
                             << " (the old width was " << oldWidth << ")";
}

TEST_F(SkinnedPanelTest, AChildWaitingForItsParentPaintsWhenTheParentHasPainted) {
  TsPanel* panel = form->sPanelOnTop;
  TsButton* button = form->sButtonOff;
  button->SkinData()->PaintLocked = true;
  button->SkinData()->CacheDirty = true;
  RedrawWindow(panel->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);  // the panel only
  EXPECT_FALSE(button->SkinData()->PaintLocked);
  EXPECT_FALSE(button->SkinData()->CacheDirty) << "the button has painted its picture";
}

class DragBarTest : public SkinnedPanelTest {
 protected:
  void SetUp() override {
    SkinnedPanelTest::SetUp();
    bar = new TsDragBar(form.get());
    bar->SetParent(form->sPanelOff);
    Pump();
    sysCommands.clear();
  }
  // Records (and swallows: the platform's move loop would wait for the mouse) WM_SYSCOMMAND.
  int Watch(TWinControl* control) {
    return control->AddMessageHook([this, control](TMessage& m, const TControl::NextHandler& next) {
      if (m.Msg == WM_SYSCOMMAND) {
        sysCommands.emplace_back(control, m.WParam);
        return;
      }
      next(m);
    });
  }
  TsDragBar* bar = nullptr;  // owned by the form
  std::vector<std::pair<TWinControl*, WPARAM>> sysCommands;
};

TEST_F(DragBarTest, ANewBarLooksLikeATitleBar) {
  EXPECT_EQ(bar->Caption(), L" ");
  EXPECT_EQ(bar->Align(), TAlign::alTop);
  EXPECT_EQ(bar->Height(), 20);
  EXPECT_TRUE(bar->Font()->Style().Has(TFontStyle::fsBold));
  EXPECT_EQ(bar->Cursor(), TCursor::crHandPoint);
  EXPECT_EQ(bar->SkinData()->SkinSection(), "DRAGBAR");
  EXPECT_EQ(bar->Width(), form->sPanelOff->Width());
}

TEST_F(DragBarTest, PressingTheBarMovesItsTarget) {
  struct Case {
    const char* what;
    TWinControl* dragged;
    TWinControl* expected;
  } cases[] = {
      {"no control to drag: the form", nullptr, form.get()},
      {"a control of its own", form->sPanelOn, form->sPanelOn},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    bar->SetDraggedControl(c.dragged);
    int hook = Watch(c.expected);
    sysCommands.clear();
    ClickAt(bar->Handle(), bar->Width() / 2, bar->Height() / 2);
    c.expected->RemoveMessageHook(hook);
    ASSERT_EQ(sysCommands.size(), 1u);
    EXPECT_EQ(sysCommands[0].first, c.expected);
    EXPECT_EQ(sysCommands[0].second, static_cast<WPARAM>(0xF012));
    EXPECT_EQ(GetCapture(), nullptr);
  }
}

TEST_F(DragBarTest, AFreedTargetIsForgotten) {
  auto* target = new TsPanel(form.get());
  target->SetParent(form->sPanelOff);
  bar->SetDraggedControl(target);
  delete target;
  EXPECT_EQ(bar->DraggedControl(), nullptr);
  EXPECT_EQ(bar->DragTarget(), form.get());
}

TEST_F(DragBarTest, TheCaptionFollowsTheApplicationsActivation) {
  struct Case {
    WPARAM active;
    TColor colour;
  } cases[] = {{FALSE, clInactiveCaptionText}, {TRUE, clCaptionText}};
  for (const Case& c : cases) {
    SendMessageW(Application->Handle(), WM_ACTIVATEAPP, c.active, 0);
    EXPECT_EQ(bar->Font()->Color(), c.colour) << "active " << c.active;
  }
  SendMessageW(Application->Handle(), WM_ACTIVATEAPP, FALSE, 0);
  form->sSkinManager1->SetActive(false);
  EXPECT_EQ(bar->Font()->Color(), clCaptionText) << "removing the skin gives the active caption colour back";
}

}  // namespace
