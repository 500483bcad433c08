// The size rule of a window: the smallest and largest outer size it may have. Windowless, so
// testable natively.
#pragma once

namespace morvi::ui {

// Limits of a window's outer size in pixels; 0 means no limit.
struct SizeLimits {
  int minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;
  bool operator==(const SizeLimits&) const = default;
};

struct Size {
  int width = 0, height = 0;
  bool operator==(const Size&) const = default;
};

// The size within the limits: lowered to a maximum, then raised to a minimum, so that a minimum
// above the maximum wins. Dragged borders, sizes set by the program and the track sizes the
// system asks for all go through this one rule.
Size FitSize(Size wanted, const SizeLimits& limits);

// The limits on a monitor of the resolution dpi, for limits set at oldDpi.
SizeLimits ScaleLimits(const SizeLimits& limits, int dpi, int oldDpi);

} // namespace morvi::ui
