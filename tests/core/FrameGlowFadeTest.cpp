// The title-button glow's fade steps.
#include <gtest/gtest.h>

#include <vector>

#include "frame/GlowFade.h"

using frame_fade::GlowFade;

namespace {

// The alphas shown from Start until the fade ends.
std::vector<int> FadeAlphas(GlowFade& fade, bool in, int maxTicks = 100) {
  fade.Start(in);
  std::vector<int> shown{fade.Alpha()};
  while (fade.Running() && maxTicks-- > 0) {
    fade.Tick();
    shown.push_back(fade.Alpha());
  }
  return shown;
}

}  // namespace

TEST(GlowFade, FadesInToFullAndOutToNothing) {
  GlowFade fade(10);
  EXPECT_EQ(FadeAlphas(fade, true), (std::vector<int>{25, 50, 75, 100, 125, 150, 175, 200, 225, 255}));
  EXPECT_FALSE(fade.Gone());
  EXPECT_EQ(FadeAlphas(fade, false), (std::vector<int>{230, 205, 180, 155, 130, 105, 80, 55, 30, 5, 0}));
  EXPECT_TRUE(fade.Gone());
  EXPECT_FALSE(fade.Tick());
}

TEST(GlowFade, FadeOutStartsWhereTheFadeInStopped) {
  struct Case {
    int ticksIn;
    int firstOut;
  } cases[] = {{0, 0}, {2, 50}, {5, 125}};
  for (const auto& c : cases) {
    GlowFade fade(10);
    fade.Start(true);
    for (int i = 0; i < c.ticksIn; ++i) fade.Tick();
    fade.Start(false);
    EXPECT_EQ(fade.Alpha(), c.firstOut) << c.ticksIn;  // never above what was shown
  }
}

TEST(GlowFade, PressShowsFullAndSingleStepFadesAtOnce) {
  GlowFade fade(10);
  fade.ShowFull();
  EXPECT_EQ(fade.Alpha(), 255);
  EXPECT_FALSE(fade.Running());
  GlowFade quick(1);
  EXPECT_EQ(FadeAlphas(quick, true), std::vector<int>{255});
  EXPECT_EQ(FadeAlphas(quick, false), std::vector<int>{0});
}
