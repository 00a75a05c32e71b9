// The skinned panel's printing and plain paths and the paint-finished notice to its children,
// on the real main window under the stored skin.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "app/Form1.h"
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
    EXPECT_EQ(pixels.GetPixel(pixels.Width() - 30, pixels.Height() / 2), static_cast<uint32_t>(c.centre));
    // The border mask's edge differs from the fill; the framework's panel has no bevel here.
    if (c.borderPainted) EXPECT_EQ(pixels.GetPixel(pixels.Width() - 30, 2) != static_cast<uint32_t>(c.centre), *c.borderPainted);
    if (c.keepsNoCache) EXPECT_EQ(panel->CacheBuilds(), builds);
  }
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

}  // namespace
