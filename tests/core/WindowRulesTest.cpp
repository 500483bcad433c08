// The window helpers' arithmetic: taskbar edge codes, growing the work area over the taskbar, the
// fifteen placement modes, the off-screen probes and the systems that take the attach path.
#include "common/WindowRules.h"
#include "GeometryPrint.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>
#include <vector>

using namespace morvi;

namespace morvi {
void PrintTo(const ScreenRect& r, std::ostream* os) {
  *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
void PrintTo(const ScreenPoint& p, std::ostream* os) {
  *os << "(" << p.x << ", " << p.y << ")";
}
} // namespace morvi

namespace {

template <class Param>
std::string CaseName(const testing::TestParamInfo<Param>& info) {
  return info.param.name;
}

// ---- Taskbar edges ----

TEST(TaskbarEdgeCode, MapsThePlatformEdgesAndNothingElse) {
  struct Case {
    unsigned platform;
    int code;
  };
  const Case cases[] = {
      {0, 2}, {1, 0}, {2, 3}, {3, 1}, {4, -1}, {0xFFFFFFFFu, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TaskbarEdgeCode(c.platform), c.code) << "ABE value " << c.platform;
  }
}

struct GrowCase {
  std::string name;
  ScreenRect work;
  ScreenRect bar;
  int edge;
  ScreenRect grown;
};

class GrowOverTaskbarTest : public testing::TestWithParam<GrowCase> {};

TEST_P(GrowOverTaskbarTest, GivesBackTheTaskbarsSide) {
  const GrowCase& c = GetParam();
  EXPECT_EQ(GrowOverTaskbar(c.work, c.bar, c.edge), c.grown);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, GrowOverTaskbarTest,
    testing::Values(
        GrowCase{"Top", {0, 40, 1920, 1080}, {0, 0, 1920, 40}, 0, {0, 0, 1920, 1080}},
        GrowCase{"Bottom48", {0, 0, 1920, 1032}, {0, 1032, 1920, 1080}, 1, {0, 0, 1920, 1080}},
        GrowCase{"Left", {60, 0, 1920, 1080}, {0, 0, 60, 1080}, 2, {0, 0, 1920, 1080}},
        GrowCase{"Right", {0, 0, 1860, 1080}, {1860, 0, 1920, 1080}, 3, {0, 0, 1920, 1080}},
        GrowCase{"None", {0, 0, 1860, 1080}, {1860, 0, 1920, 1080}, -1, {0, 0, 1860, 1080}},
        // The top and left edges subtract the bar's far side, not its thickness: an auto-hidden
        // bar that sticks out 2 pixels takes 2 pixels off.
        GrowCase{
            "TopUsesTheBarsBottom", {0, 0, 1920, 1080}, {0, -38, 1920, 2}, 0, {0, -2, 1920, 1080}},
        GrowCase{
            "LeftUsesTheBarsRight", {0, 0, 1920, 1080}, {-58, 0, 2, 1080}, 2, {-2, 0, 1920, 1080}},
        GrowCase{"HugeBarStopsAtTheRange",
                 {0, 0, 1920, 1080},
                 {0, INT_MIN, 1920, INT_MAX},
                 1,
                 {0, 0, 1920, INT_MAX}}),
    CaseName<GrowCase>);

// ---- Placement modes ----

struct PlaceCase {
  std::string name;
  ScreenRect area;
  Box current;
  int mode;
  Box placed;
};

class PlacedBoundsTest : public testing::TestWithParam<PlaceCase> {};

TEST_P(PlacedBoundsTest, MovesAndSizesByTheMode) {
  const PlaceCase& c = GetParam();
  EXPECT_EQ(PlacedBounds(c.current, c.area, c.mode), c.placed) << "mode " << c.mode;
}

// A single 1920 x 1080 screen whose 48-pixel bottom taskbar has been given back: the whole
// screen. A 400 x 300 window far off screen at 5000, 5000.
constexpr ScreenRect kScreen{0, 0, 1920, 1080};
constexpr Box kFarOff{5000, 5000, 400, 300};

INSTANTIATE_TEST_SUITE_P(
    FullScreen, PlacedBoundsTest,
    testing::Values(PlaceCase{"FullHeight", kScreen, kFarOff, 0, {5000, 0, 400, 1080}},
                    PlaceCase{"FullWidth", kScreen, kFarOff, 1, {0, 5000, 1920, 300}},
                    PlaceCase{"Top", kScreen, kFarOff, 2, {5000, 0, 400, 300}},
                    PlaceCase{"Bottom", kScreen, kFarOff, 3, {5000, 780, 400, 300}},
                    PlaceCase{"Left", kScreen, kFarOff, 4, {0, 5000, 400, 300}},
                    PlaceCase{"Right", kScreen, kFarOff, 5, {1520, 5000, 400, 300}},
                    PlaceCase{"TopLeft", kScreen, kFarOff, 6, {0, 0, 400, 300}},
                    PlaceCase{"TopRight", kScreen, kFarOff, 7, {1520, 0, 400, 300}},
                    PlaceCase{"BottomLeft", kScreen, kFarOff, 8, {0, 780, 400, 300}},
                    PlaceCase{"BottomRight", kScreen, kFarOff, 9, {1520, 780, 400, 300}},
                    PlaceCase{"Centre", kScreen, kFarOff, 10, {760, 390, 400, 300}},
                    PlaceCase{"TopHalf", kScreen, kFarOff, 11, {0, 0, 1920, 540}},
                    PlaceCase{"BottomHalf", kScreen, kFarOff, 12, {0, 540, 1920, 540}},
                    PlaceCase{"LeftHalf", kScreen, kFarOff, 13, {0, 0, 960, 1080}},
                    PlaceCase{"RightHalf", kScreen, kFarOff, 14, {960, 0, 960, 1080}},
                    PlaceCase{"Mode15Unchanged", kScreen, kFarOff, 15, kFarOff},
                    PlaceCase{"NegativeModeUnchanged", kScreen, kFarOff, -1, kFarOff}),
    CaseName<PlaceCase>);

// An area that does not begin at 0, 0: the edges use it, while the centre and the halves take
// its right and bottom alone.
constexpr ScreenRect kInset{100, 50, 1100, 850};
constexpr Box kSmall{10, 20, 300, 200};

INSTANTIATE_TEST_SUITE_P(
    InsetArea, PlacedBoundsTest,
    testing::Values(PlaceCase{"FullHeight", kInset, kSmall, 0, {10, 50, 300, 800}},
                    PlaceCase{"FullWidth", kInset, kSmall, 1, {100, 20, 1000, 200}},
                    PlaceCase{"Top", kInset, kSmall, 2, {10, 50, 300, 200}},
                    PlaceCase{"Bottom", kInset, kSmall, 3, {10, 650, 300, 200}},
                    PlaceCase{"Left", kInset, kSmall, 4, {100, 20, 300, 200}},
                    PlaceCase{"Right", kInset, kSmall, 5, {800, 20, 300, 200}},
                    PlaceCase{"TopLeft", kInset, kSmall, 6, {100, 50, 300, 200}},
                    PlaceCase{"TopRight", kInset, kSmall, 7, {800, 50, 300, 200}},
                    PlaceCase{"BottomLeft", kInset, kSmall, 8, {100, 650, 300, 200}},
                    PlaceCase{"BottomRight", kInset, kSmall, 9, {800, 650, 300, 200}},
                    PlaceCase{"Centre", kInset, kSmall, 10, {400, 325, 300, 200}},
                    PlaceCase{"TopHalf", kInset, kSmall, 11, {100, 50, 1100, 425}},
                    PlaceCase{"BottomHalf", kInset, kSmall, 12, {100, 425, 1100, 425}},
                    PlaceCase{"LeftHalf", kInset, kSmall, 13, {100, 50, 550, 800}},
                    PlaceCase{"RightHalf", kInset, kSmall, 14, {550, 50, 550, 800}}),
    CaseName<PlaceCase>);

// Halves of odd and negative numbers truncate toward zero.
INSTANTIATE_TEST_SUITE_P(
    Truncation, PlacedBoundsTest,
    testing::Values(
        PlaceCase{"OddCentre", {0, 0, 1921, 1081}, {0, 0, 400, 300}, 10, {760, 390, 400, 300}},
        PlaceCase{"OddTopHalf", {0, 0, 1921, 1081}, {0, 0, 400, 300}, 11, {0, 0, 1921, 540}},
        PlaceCase{"OddRightHalf", {0, 0, 1921, 1081}, {0, 0, 400, 300}, 14, {960, 0, 960, 1081}},
        PlaceCase{"NegativeCentre", {0, 0, 101, 101}, {0, 0, 200, 300}, 10, {-49, -99, 200, 300}},
        PlaceCase{"NegativeHalves", {-301, -201, -1, -1}, {0, 0, 10, 10}, 14, {0, -201, 0, 200}},
        PlaceCase{"FarRightStopsAtTheRange",
                  {INT_MIN, 0, INT_MAX, 1080},
                  {0, 0, 10, 10},
                  1,
                  {INT_MIN, 0, INT_MAX, 10}}),
    CaseName<PlaceCase>);

// ---- Off-screen probes ----

TEST(OffScreenProbes, CornersInTheirOrderThenTheCentre) {
  const std::array<ScreenPoint, 5> expected{
      {{10, 20}, {311, 221}, {311, 20}, {10, 221}, {160, 120}}};
  EXPECT_EQ(OffScreenProbes({10, 20, 301, 201}), expected);
  // A negative size halves toward zero as well.
  EXPECT_EQ(OffScreenProbes({0, 0, -301, -201})[4], (ScreenPoint{-150, -100}));
  // Corners past the 32-bit range stop at its end instead of wrapping round to the screen.
  const std::array<ScreenPoint, 5> far = OffScreenProbes({INT_MAX - 10, INT_MIN + 10, 400, -300});
  EXPECT_EQ(far[1], (ScreenPoint{INT_MAX, INT_MIN}));
  EXPECT_EQ(far[4], (ScreenPoint{INT_MAX, INT_MIN}));
}

TEST(IsOffScreenWith, StopsAtTheFirstPointOnScreen) {
  for (std::size_t onScreenAt = 0; onScreenAt < 5; ++onScreenAt) {
    const std::array<ScreenPoint, 5> probes = OffScreenProbes({10, 20, 300, 200});
    std::vector<ScreenPoint> asked;
    const bool off = IsOffScreenWith({10, 20, 300, 200}, [&](ScreenPoint p) {
      asked.push_back(p);
      return p == probes[onScreenAt];
    });
    EXPECT_FALSE(off) << "point " << onScreenAt << " is on screen";
    EXPECT_EQ(asked.size(), onScreenAt + 1) << "asked no further after point " << onScreenAt;
  }
}

struct OffScreenCase {
  std::string name;
  Box bounds;
  bool off;
};

class IsOffScreenOnOneMonitor : public testing::TestWithParam<OffScreenCase> {};

// One 1920 x 1080 monitor; like a monitor rectangle, its right and bottom lie outside.
TEST_P(IsOffScreenOnOneMonitor, NeedsOnePointOnTheMonitor) {
  const auto onMonitor = [](ScreenPoint p) {
    return p.x >= 0 && p.x < 1920 && p.y >= 0 && p.y < 1080;
  };
  EXPECT_EQ(IsOffScreenWith(GetParam().bounds, onMonitor), GetParam().off);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IsOffScreenOnOneMonitor,
    testing::Values(OffScreenCase{"FarOff", {5000, 5000, 400, 300}, true},
                    OffScreenCase{"Inside", {100, 100, 400, 300}, false},
                    OffScreenCase{"OnlyBottomRightCornerOn", {-390, -290, 400, 300}, false},
                    OffScreenCase{"OnlyTopRightCornerOn", {-390, 1000, 400, 300}, false},
                    OffScreenCase{"OnlyBottomLeftCornerOn", {1900, -290, 400, 300}, false},
                    OffScreenCase{"OnlyCentreOn", {-3000, -3000, 6000, 6000}, false},
                    OffScreenCase{"JustRightOfTheMonitor", {1920, 0, 400, 300}, true},
                    OffScreenCase{"BottomEdgeTouchesTheMonitor", {0, -300, 400, 300}, false},
                    OffScreenCase{"CornersPastTheRange", {INT_MAX - 100, 0, 400, 300}, true}),
    CaseName<OffScreenCase>);

// ---- Following the editor window to its monitor ----

struct FollowCase {
  std::string name;
  Box window;
  ScreenRect own;    // the monitor the window lies on
  ScreenRect target; // the editor window's monitor
  Box placed;
};

class FollowToMonitorLayouts : public testing::TestWithParam<FollowCase> {};

TEST_P(FollowToMonitorLayouts, KeepsTheOffsetFromTheCornerAndStaysInside) {
  const FollowCase& c = GetParam();
  EXPECT_EQ(FollowToMonitor(c.window, c.own, c.target), c.placed);
}

const ScreenRect kPrimary{0, 0, 1920, 1080};

INSTANTIATE_TEST_SUITE_P(
    Cases, FollowToMonitorLayouts,
    testing::Values(
        FollowCase{
            "SameMonitorStays", {100, 200, 750, 300}, kPrimary, kPrimary, {100, 200, 750, 300}},
        FollowCase{"SideBySideToTheRight",
                   {100, 200, 750, 300},
                   kPrimary,
                   {1920, 0, 3840, 1080},
                   {2020, 200, 750, 300}},
        FollowCase{"SideBySideBackToTheLeft",
                   {2020, 200, 750, 300},
                   {1920, 0, 3840, 1080},
                   kPrimary,
                   {100, 200, 750, 300}},
        FollowCase{"StackedBelow",
                   {100, 200, 750, 300},
                   kPrimary,
                   {0, 1080, 1920, 2160},
                   {100, 1280, 750, 300}},
        FollowCase{"NegativeCoordinatesLeftAndAbove",
                   {100, 200, 750, 300},
                   kPrimary,
                   {-1280, -1024, 0, 0},
                   {-1180, -824, 750, 300}},
        FollowCase{"FromNegativeCoordinates",
                   {-1180, -824, 750, 300},
                   {-1280, -1024, 0, 0},
                   kPrimary,
                   {100, 200, 750, 300}},
        // A smaller monitor: what would stick out on the right or at the bottom is pushed back.
        FollowCase{"PushedBackLeft",
                   {1500, 100, 750, 300},
                   kPrimary,
                   {1920, 0, 3200, 1024},
                   {2450, 100, 750, 300}},
        FollowCase{"PushedBackUp",
                   {100, 900, 750, 300},
                   kPrimary,
                   {1920, 0, 3200, 1024},
                   {2020, 724, 750, 300}},
        FollowCase{"PushedBackLeftAndUp",
                   {1500, 900, 750, 300},
                   kPrimary,
                   {-1280, -1024, 0, 0},
                   {-750, -300, 750, 300}},
        // Sticking out on the left or at the top of its own monitor stays so on the other.
        FollowCase{"OffsetBeforeTheCornerIsKept",
                   {-50, -20, 750, 300},
                   kPrimary,
                   {1920, 0, 3840, 1080},
                   {1870, -20, 750, 300}},
        FollowCase{"SumsStopAtTheRange",
                   {INT_MAX - 10, 0, 750, 300},
                   kPrimary,
                   {INT_MAX - 100, 0, INT_MAX, 1080},
                   {INT_MAX - 750, 0, 750, 300}}),
    CaseName<FollowCase>);

// ---- Attach path ----

TEST(QualifiesForAttach, NtFrom5AndWindowsAbove40) {
  struct Case {
    unsigned long platform, major, minor;
    bool qualifies;
  };
  const Case cases[] = {
      {2, 4, 0, false},  // NT 4.0
      {2, 4, 99, false}, // NT 4.x
      {2, 5, 0, true},   // 2000
      {2, 6, 1, true},   // 7
      {2, 10, 0, true},  // 10
      {1, 4, 0, false},  // 95
      {1, 4, 10, true},  // 98
      {1, 4, 90, true},  // Me
      {1, 5, 0, true},   //
      {0, 10, 0, false}, // Win32s
      {3, 10, 0, false}, // CE
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QualifiesForAttach(c.platform, c.major, c.minor), c.qualifies)
        << "platform " << c.platform << " version " << c.major << "." << c.minor;
  }
}

} // namespace
