// Window rectangles and placement on the real screen: the virtual display is one 1920 x 1080
// monitor whose work area is the whole screen.
#include "GeometryPrint.h"
#include "TestWindows.h"
#include "common/ScreenPlacement.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using namespace morvi;
using namespace morvi::test;

namespace {

Box RectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

template <class Param>
std::string CaseName(const testing::TestParamInfo<Param>& info) {
  return info.param.name;
}

class ScreenTest : public testing::Test {
protected:
  void SetUp() override {
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920) << "the virtual display is 1920 x 1080";
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);
    ASSERT_EQ(work.left, 0);
    ASSERT_EQ(work.top, 0);
    ASSERT_EQ(work.right, 1920);
    ASSERT_EQ(work.bottom, 1080);
  }
};

// ---- GetWindowBounds and GetVisibleWindowRect ----

enum class State { Normal, Minimised, ParkedAtMinus32000, Destroyed };

struct BoundsCase {
  const char* name;
  State state;
  bool known;
};

void PrintTo(const BoundsCase& c, std::ostream* os) {
  *os << c.name;
}

class WindowBoundsTest : public ScreenTest, public testing::WithParamInterface<BoundsCase> {};

TEST_P(WindowBoundsTest, KnownOnlyForAWindowShownInPlace) {
  WindowHandle w = MakeTopWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 123, 45, 300, 200);
  HWND h = w.Get();
  switch (GetParam().state) {
  case State::Normal:
    break;
  case State::Minimised:
    ShowWindow(h, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(h));
    break;
  case State::ParkedAtMinus32000: // where Windows keeps minimised windows
    SetWindowPos(h, nullptr, -32000, -32000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(RectOf(h).left, -32000);
    break;
  case State::Destroyed:
    w.Reset();
    break;
  }
  int left = 7, top = 7, width = 7, height = 7;
  RECT rect{7, 7, 7, 7};
  const bool known = GetParam().known;
  EXPECT_EQ(GetWindowBounds(h, left, top, width, height), known);
  EXPECT_EQ(GetVisibleWindowRect(h, rect), known);
  if (known) {
    EXPECT_EQ((Box{left, top, width, height}), (Box{123, 45, 300, 200}));
    const RECT expected{123, 45, 423, 245};
    EXPECT_TRUE(EqualRect(&rect, &expected));
  } else {
    EXPECT_EQ((Box{left, top, width, height}), (Box{7, 7, 7, 7})) << "outputs untouched";
  }
}

INSTANTIATE_TEST_SUITE_P(States, WindowBoundsTest,
                         testing::Values(BoundsCase{"Normal", State::Normal, true},
                                         BoundsCase{"Minimised", State::Minimised, false},
                                         BoundsCase{"ParkedAtMinus32000", State::ParkedAtMinus32000,
                                                    false},
                                         BoundsCase{"Destroyed", State::Destroyed, false}),
                         CaseName<BoundsCase>);

// ---- EnsureOnScreen ----

enum class Start { FarOff, OneCornerOn, MaximisedFarOff, Minimised };

struct EnsureCase {
  const char* name;
  Start start;
  bool moves;
};

void PrintTo(const EnsureCase& c, std::ostream* os) {
  *os << c.name;
}

class EnsureOnScreenTest : public ScreenTest, public testing::WithParamInterface<EnsureCase> {};

TEST_P(EnsureOnScreenTest, CentresOnlyAWindowOffEveryMonitor) {
  const EnsureCase& c = GetParam();
  WindowHandle w = MakeTopWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300);
  HWND h = w.Get();
  const auto moveTo = [h](int x, int y) {
    SetWindowPos(h, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  switch (c.start) {
  case Start::FarOff:
    moveTo(5000, 5000);
    break;
  case Start::OneCornerOn: // only the bottom-right corner, at 10, 10
    moveTo(-390, -290);
    break;
  case Start::MaximisedFarOff:
    ShowWindow(h, SW_MAXIMIZE);
    moveTo(5000, 5000);
    ASSERT_TRUE(IsZoomed(h));
    break;
  case Start::Minimised:
    ShowWindow(h, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(h));
    break;
  }
  const Box before = RectOf(h);
  EnsureOnScreen(h);
  if (c.moves) {
    EXPECT_EQ(RectOf(h), (Box{760, 390, 400, 300}));
  } else {
    EXPECT_EQ(RectOf(h), before);
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, EnsureOnScreenTest,
                         testing::Values(EnsureCase{"FarOffIsCentred", Start::FarOff, true},
                                         EnsureCase{"OneCornerOnStays", Start::OneCornerOn, false},
                                         EnsureCase{"MaximisedStaysEvenFarOff",
                                                    Start::MaximisedFarOff, false},
                                         EnsureCase{"MinimisedStays", Start::Minimised, false}),
                         CaseName<EnsureCase>);

// ---- PlaceWindow ----

struct PlaceCase {
  const char* name;
  int mode;
  Box placed;
};

void PrintTo(const PlaceCase& c, std::ostream* os) {
  *os << c.name;
}

class PlaceWindowTest : public ScreenTest, public testing::WithParamInterface<PlaceCase> {};

TEST_P(PlaceWindowTest, MovesTheWindowByTheMode) {
  WindowHandle w = MakeTopWindow(WS_POPUP | WS_VISIBLE, 5000, 5000, 400, 300);
  PlaceWindow(w.Get(), GetParam().mode);
  EXPECT_EQ(RectOf(w.Get()), GetParam().placed);
}

INSTANTIATE_TEST_SUITE_P(Modes, PlaceWindowTest,
                         testing::Values(PlaceCase{"AgainstTheRight", 5, {1520, 5000, 400, 300}},
                                         PlaceCase{"TopLeft", 6, {0, 0, 400, 300}},
                                         PlaceCase{"Centred", 10, {760, 390, 400, 300}},
                                         PlaceCase{"TopHalf", 11, {0, 0, 1920, 540}},
                                         PlaceCase{
                                             "UnknownModeKeepsIt", 99, {5000, 5000, 400, 300}}),
                         CaseName<PlaceCase>);

TEST_F(ScreenTest, PlaceWindowLeavesAMinimisedWindow) {
  WindowHandle w = MakeTopWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300);
  ShowWindow(w.Get(), SW_MINIMIZE);
  const Box before = RectOf(w.Get());
  PlaceWindow(w.Get(), 11);
  EXPECT_EQ(RectOf(w.Get()), before);
}

// ---- IsOffScreen and the taskbar ----

TEST_F(ScreenTest, IsOffScreenAsksTheMonitors) {
  EXPECT_TRUE(IsOffScreen(5000, 5000, 400, 300));
  EXPECT_TRUE(IsOffScreen(1920, 0, 400, 300)) << "the screen's right edge lies outside";
  EXPECT_FALSE(IsOffScreen(-390, -290, 400, 300)) << "one corner on";
  EXPECT_FALSE(IsOffScreen(-3000, -3000, 6000, 6000)) << "only the centre on";
  EXPECT_FALSE(IsOffScreen(100, 100, 400, 300));
}

// Wine's desktop reports a taskbar along the bottom of the screen.
TEST_F(ScreenTest, GetTaskbarEdgeReportsTheBottomTaskbar) {
  RECT bar{};
  EXPECT_EQ(GetTaskbarEdge(bar), 1);
  EXPECT_EQ(bar.left, 0);
  EXPECT_EQ(bar.right, 1920);
  EXPECT_EQ(bar.bottom, 1080);
  EXPECT_LT(bar.top, bar.bottom);
}

} // namespace
