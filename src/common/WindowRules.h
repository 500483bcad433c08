// The arithmetic of the window helpers, apart from any window: the taskbar's edge codes, the
// placement modes, the points that decide whether a window is off screen, and which systems
// take the thread-attach path to the foreground. Coordinates are signed 32-bit screen pixels.
#pragma once

#include "common/Geometry.h"

#include <array>
#include <functional>

namespace morvi {

struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const ScreenRect&) const = default;
};

struct ScreenPoint {
  int x = 0;
  int y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

// Morvi's edge code for the platform's ABE_* value: 0 top, 1 bottom, 2 left, 3 right, -1 none.
int TaskbarEdgeCode(unsigned platformEdge);

// The work area grown back over the taskbar that lies along the given edge code.
ScreenRect GrowOverTaskbar(ScreenRect workArea, const ScreenRect& taskbar, int edge);

// Where placement mode 0 to 14 puts a window with the given bounds on the area; any other mode
// leaves them. Halves truncate toward zero; the centre and the halves use the area's right and
// bottom alone, as if it began at 0, 0.
Box PlacedBounds(const Box& current, const ScreenRect& area, int mode);

// The points tested for a window, in order: top-left, bottom-right, top-right, bottom-left and
// the centre. Sums beyond the 32-bit range stop at its ends.
std::array<ScreenPoint, 5> OffScreenProbes(const Box& b);

// True when onScreen holds for none of the probes; asks no further once one is on screen.
bool IsOffScreenWith(const Box& b, const std::function<bool(ScreenPoint)>& onScreen);

// Where a window that lies on the monitor `own` goes when it is to appear on the monitor
// `target`: at the same offset from the target's top-left corner, pushed back left and up where
// it would stick out on the right or at the bottom; the size stays. Monitor rectangles are whole
// monitors. Sums beyond the 32-bit range stop at its ends.
Box FollowToMonitor(const Box& window, const ScreenRect& own, const ScreenRect& target);

// Whether the reported system version takes the thread-attach path of ForceForegroundWindow:
// the NT family from 5.0 on, and the Windows family above 4.0.
bool QualifiesForAttach(unsigned long platformId, unsigned long major, unsigned long minor);

} // namespace morvi
