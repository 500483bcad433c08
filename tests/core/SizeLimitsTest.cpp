// The size rule of a window: one function for dragged borders, sizes set by the program and the
// track sizes the system asks for.
#include "ui/SizeLimits.h"

#include <gtest/gtest.h>

#include <climits>

using namespace morvi::ui;

TEST(SizeLimits, FitsASizeBetweenItsLimits) {
  struct Case {
    const char* what;
    Size wanted;
    SizeLimits limits;
    Size fitted;
  };
  const Case cases[] = {
      {"no limits", {300, 40}, {}, {300, 40}},
      {"raised to the minimum", {700, 100}, {750, 150, 0, 0}, {750, 150}},
      {"lowered to the maximum", {900, 500}, {0, 0, 800, 400}, {800, 400}},
      {"a fixed height", {1000, 300}, {0, 139, 0, 139}, {1000, 139}},
      {"within both", {760, 200}, {750, 150, 1000, 600}, {760, 200}},
      {"a minimum above the maximum wins", {500, 500}, {750, 150, 700, 100}, {750, 150}},
      {"zero asked", {0, 0}, {750, 150, 0, 0}, {750, 150}},
      {"negative asked", {-20, -5}, {0, 139, 0, 139}, {-20, 139}},
      {"the largest size", {INT_MAX, INT_MAX}, {0, 0, 4000, 0}, {4000, INT_MAX}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FitSize(c.wanted, c.limits), c.fitted) << c.what;
  }
}

TEST(SizeLimits, ScaleWithTheResolutionAndKeepNoLimitAsNone) {
  EXPECT_EQ(ScaleLimits({750, 150, 0, 0}, 144, 96), (SizeLimits{1125, 225, 0, 0}));
  EXPECT_EQ(ScaleLimits({0, 139, 0, 139}, 120, 96), (SizeLimits{0, 174, 0, 174}));
  EXPECT_EQ(ScaleLimits({1125, 225, 0, 0}, 96, 144), (SizeLimits{750, 150, 0, 0}));
  EXPECT_EQ(ScaleLimits({1, 1, 1, 1}, 96, 192), (SizeLimits{1, 1, 1, 1})) << "never 0: no limit";
  EXPECT_EQ(ScaleLimits({INT_MAX, 0, 0, 0}, 192, 96).minWidth, INT_MAX);
}
