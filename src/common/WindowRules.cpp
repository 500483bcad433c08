#include "common/WindowRules.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace morvi {

namespace {

// Sums of screen coordinates are formed in 64 bits and stop at the ends of the 32-bit range: a
// stored position from a damaged settings file must not overflow.
int Clamp32(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

std::int64_t Wide(int v) {
  return v;
}

} // namespace

int TaskbarEdgeCode(unsigned platformEdge) {
  switch (platformEdge) {
  case 0: // ABE_LEFT
    return 2;
  case 1: // ABE_TOP
    return 0;
  case 2: // ABE_RIGHT
    return 3;
  case 3: // ABE_BOTTOM
    return 1;
  default:
    return -1;
  }
}

ScreenRect GrowOverTaskbar(ScreenRect a, const ScreenRect& b, int edge) {
  switch (edge) {
  case 0:
    a.top = Clamp32(Wide(a.top) - b.bottom);
    break;
  case 1:
    a.bottom = Clamp32(Wide(a.bottom) + (Wide(b.bottom) - b.top));
    break;
  case 2:
    a.left = Clamp32(Wide(a.left) - b.right);
    break;
  case 3:
    a.right = Clamp32(Wide(a.right) + (Wide(b.right) - b.left));
    break;
  default:
    break;
  }
  return a;
}

Box PlacedBounds(const Box& current, const ScreenRect& a, int mode) {
  const std::int64_t w = current.width;
  const std::int64_t h = current.height;
  const std::int64_t fullWidth = Wide(a.right) - a.left;
  const std::int64_t fullHeight = Wide(a.bottom) - a.top;
  const std::int64_t atRight = Wide(a.right) - w;
  const std::int64_t atBottom = Wide(a.bottom) - h;
  // C++ division truncates toward zero, as the halves must.
  const std::int64_t halfRight = Wide(a.right) / 2;
  const std::int64_t halfBottom = Wide(a.bottom) / 2;

  std::int64_t x = current.left;
  std::int64_t y = current.top;
  std::int64_t cx = w;
  std::int64_t cy = h;
  switch (mode) {
  case 0: // full height
    y = a.top;
    cy = fullHeight;
    break;
  case 1: // full width
    x = a.left;
    cx = fullWidth;
    break;
  case 2: // against the top edge
    y = a.top;
    break;
  case 3: // against the bottom edge
    y = atBottom;
    break;
  case 4: // against the left edge
    x = a.left;
    break;
  case 5: // against the right edge
    x = atRight;
    break;
  case 6: // top-left corner
    x = a.left;
    y = a.top;
    break;
  case 7: // top-right corner
    x = atRight;
    y = a.top;
    break;
  case 8: // bottom-left corner
    x = a.left;
    y = atBottom;
    break;
  case 9: // bottom-right corner
    x = atRight;
    y = atBottom;
    break;
  case 10: // centred
    x = atRight / 2;
    y = atBottom / 2;
    break;
  case 11: // top half
    x = a.left;
    y = a.top;
    cx = a.right;
    cy = halfBottom;
    break;
  case 12: // bottom half
    x = a.left;
    y = halfBottom;
    cx = a.right;
    cy = halfBottom;
    break;
  case 13: // left half
    x = a.left;
    y = a.top;
    cx = halfRight;
    cy = fullHeight;
    break;
  case 14: // right half
    x = halfRight;
    y = a.top;
    cx = halfRight;
    cy = fullHeight;
    break;
  default:
    break;
  }
  return {Clamp32(x), Clamp32(y), Clamp32(cx), Clamp32(cy)};
}

std::array<ScreenPoint, 5> OffScreenProbes(const Box& b) {
  const int right = Clamp32(Wide(b.left) + b.width);
  const int bottom = Clamp32(Wide(b.top) + b.height);
  const ScreenPoint centre{Clamp32(Wide(b.left) + b.width / 2),
                           Clamp32(Wide(b.top) + b.height / 2)};
  return {{{b.left, b.top}, {right, bottom}, {right, b.top}, {b.left, bottom}, centre}};
}

bool IsOffScreenWith(const Box& b, const std::function<bool(ScreenPoint)>& onScreen) {
  for (const ScreenPoint& p : OffScreenProbes(b)) {
    if (onScreen(p)) {
      return false;
    }
  }
  return true;
}

Box FollowToMonitor(const Box& window, const ScreenRect& own, const ScreenRect& target) {
  if (own == target) {
    return window;
  }
  std::int64_t left = Wide(target.left) + (Wide(window.left) - own.left);
  std::int64_t top = Wide(target.top) + (Wide(window.top) - own.top);
  if (left + window.width > target.right) {
    left = Wide(target.right) - window.width;
  }
  if (top + window.height > target.bottom) {
    top = Wide(target.bottom) - window.height;
  }
  return {Clamp32(left), Clamp32(top), window.width, window.height};
}

bool QualifiesForAttach(unsigned long platformId, unsigned long major, unsigned long minor) {
  constexpr unsigned long kWindows = 1; // VER_PLATFORM_WIN32_WINDOWS
  constexpr unsigned long kNt = 2;      // VER_PLATFORM_WIN32_NT
  if (platformId == kNt) {
    return major > 4;
  }
  if (platformId == kWindows) {
    return major > 4 || (major == 4 && minor > 0);
  }
  return false;
}

} // namespace morvi
