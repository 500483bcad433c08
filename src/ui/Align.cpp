#include "ui/Align.h"

#include <algorithm>

namespace morvi::ui {

namespace {

std::vector<std::size_t> IndexesWith(const std::vector<AlignItem>& items, Align a) {
  std::vector<std::size_t> idx;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].align == a) {
      idx.push_back(i);
    }
  }
  return idx;
}

template <class Key>
std::vector<std::size_t> SortedBy(const std::vector<AlignItem>& items, Align a, Key key) {
  std::vector<std::size_t> idx = IndexesWith(items, a);
  std::stable_sort(idx.begin(), idx.end(), [&](std::size_t x, std::size_t y) {
    return key(items[x].designed) < key(items[y].designed);
  });
  return idx;
}

} // namespace

std::vector<Box> Arrange(const Box& client, const std::vector<AlignItem>& items) {
  std::vector<Box> out(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    out[i] = items[i].designed;
  }
  // The room left, by its edges; where items overlap, right may fall below left.
  int left = client.left, top = client.top, right = client.Right(), bottom = client.Bottom();
  for (std::size_t i : SortedBy(items, Align::Top, [](const Box& b) { return b.top; })) {
    const int h = items[i].designed.height;
    out[i] = {left, top, std::max(0, right - left), h};
    top += h;
  }
  for (std::size_t i : SortedBy(items, Align::Bottom, [](const Box& b) { return -b.Bottom(); })) {
    const int h = items[i].designed.height;
    bottom -= h;
    out[i] = {left, bottom, std::max(0, right - left), h};
  }
  for (std::size_t i : SortedBy(items, Align::Left, [](const Box& b) { return b.left; })) {
    const int w = items[i].designed.width;
    out[i] = {left, top, w, std::max(0, bottom - top)};
    left += w;
  }
  for (std::size_t i : SortedBy(items, Align::Right, [](const Box& b) { return -b.Right(); })) {
    const int w = items[i].designed.width;
    right -= w;
    out[i] = {right, top, w, std::max(0, bottom - top)};
  }
  for (std::size_t i : IndexesWith(items, Align::Client)) {
    out[i] = {left, top, std::max(0, right - left), std::max(0, bottom - top)};
  }
  return out;
}

int ScaleLength(int value, int dpi, int designDpi) {
  if (dpi == designDpi || designDpi <= 0) {
    return value;
  }
  const long long v = static_cast<long long>(value) * dpi;
  const long long half = designDpi / 2;
  return static_cast<int>(v >= 0 ? (v + half) / designDpi : -((-v + half) / designDpi));
}

Box ScaleBox(const Box& box, int dpi, int designDpi) {
  // Scale the edges, not the sizes, so that boxes that touch as designed still touch.
  const int left = ScaleLength(box.left, dpi, designDpi);
  const int top = ScaleLength(box.top, dpi, designDpi);
  return {left, top, ScaleLength(box.Right(), dpi, designDpi) - left,
          ScaleLength(box.Bottom(), dpi, designDpi) - top};
}

} // namespace morvi::ui
