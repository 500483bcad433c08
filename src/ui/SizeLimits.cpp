#include "ui/SizeLimits.h"

#include <algorithm>
#include <cstdint>

namespace morvi::ui {

namespace {

int Fit(int wanted, int least, int most) {
  if (most > 0) {
    wanted = std::min(wanted, most);
  }
  return least > 0 ? std::max(wanted, least) : wanted;
}

int Scale(int v, int dpi, int oldDpi) {
  if (v == 0 || oldDpi <= 0) {
    return v;
  }
  const std::int64_t scaled = (static_cast<std::int64_t>(v) * dpi + oldDpi / 2) / oldDpi;
  return static_cast<int>(std::clamp<std::int64_t>(scaled, 1, INT32_MAX));
}

} // namespace

Size FitSize(Size wanted, const SizeLimits& l) {
  return {Fit(wanted.width, l.minWidth, l.maxWidth), Fit(wanted.height, l.minHeight, l.maxHeight)};
}

SizeLimits ScaleLimits(const SizeLimits& l, int dpi, int oldDpi) {
  return {Scale(l.minWidth, dpi, oldDpi), Scale(l.minHeight, dpi, oldDpi),
          Scale(l.maxWidth, dpi, oldDpi), Scale(l.maxHeight, dpi, oldDpi)};
}

} // namespace morvi::ui
