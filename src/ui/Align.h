// The arithmetic of control alignment: where the children of a container go, given their
// alignment and designed sizes and the container's client area. Windowless, so testable natively.
#pragma once

#include "common/Geometry.h"

#include <vector>

namespace morvi::ui {

enum class Align { None, Top, Bottom, Left, Right, Client };

using morvi::Box;

struct AlignItem {
  Align align = Align::None;
  Box designed; // already scaled to the container's resolution
};

// The box of each item, in the items' order. Top items stack downwards from the top (in the
// order of their designed tops), bottom items upwards from the bottom, then left items go
// rightwards and right items leftwards in what is left (in the order of their designed edges),
// and a client item fills the rest. Aligned items keep their designed size across the
// alignment, so where there is too little room they overlap, as designed. Items without
// alignment keep their designed box.
std::vector<Box> Arrange(const Box& client, const std::vector<AlignItem>& items);

// A length designed at designDpi, at dpi (rounded to the nearest pixel).
int ScaleLength(int value, int dpi, int designDpi);
Box ScaleBox(const Box& box, int dpi, int designDpi);

} // namespace morvi::ui
