// How the tests print a box when an expectation fails.
#pragma once

#include "common/Geometry.h"

#include <ostream>

namespace morvi {

inline void PrintTo(const Box& b, std::ostream* os) {
  *os << "{" << b.left << ", " << b.top << ", " << b.width << ", " << b.height << "}";
}

} // namespace morvi
