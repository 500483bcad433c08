// A box on the screen or in a window: left, top, width and height in pixels.
#pragma once

namespace morvi {

struct Box {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  bool operator==(const Box&) const = default;
};

} // namespace morvi
