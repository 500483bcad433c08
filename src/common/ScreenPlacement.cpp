#include "common/ScreenPlacement.h"

#include "common/WindowRules.h"

#include <shellapi.h>

namespace morvi {

namespace {

ScreenRect ToScreenRect(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

} // namespace

bool SetTopMost(HWND window, bool on) {
  return SetWindowPos(window, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                      SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE) != FALSE;
}

bool GetVisibleWindowRect(HWND window, RECT& rect) {
  RECT r{};
  if (!GetWindowRect(window, &r)) {
    return false;
  }
  // Windows parks minimised windows at -32000, -32000; other arrangements (and Wine) keep them
  // at an icon position, so a minimised window is also recognised as such.
  if ((r.left == -32000 && r.top == -32000) || IsIconic(window)) {
    return false;
  }
  rect = r;
  return true;
}

bool GetWindowBounds(HWND window, int& left, int& top, int& width, int& height) {
  RECT r{};
  if (!GetVisibleWindowRect(window, r)) {
    return false;
  }
  left = r.left;
  top = r.top;
  width = r.right - r.left;
  height = r.bottom - r.top;
  return true;
}

int GetTaskbarEdge(RECT& rect) {
  APPBARDATA data{};
  static_assert(sizeof data == 48, "APPBARDATA as on 64-bit Windows");
  data.cbSize = sizeof data;
  if (!SHAppBarMessage(ABM_GETTASKBARPOS, &data)) {
    return -1;
  }
  rect = data.rc;
  return TaskbarEdgeCode(data.uEdge);
}

void PlaceWindow(HWND window, int mode) {
  RECT work{};
  // Without the work area there is nothing to place against; a window is not moved to 0, 0.
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
    return;
  }
  RECT bar{};
  const int edge = GetTaskbarEdge(bar);
  const ScreenRect area = GrowOverTaskbar(ToScreenRect(work), ToScreenRect(bar), edge);
  Box b;
  if (!GetWindowBounds(window, b.left, b.top, b.width, b.height)) {
    return;
  }
  const Box placed = PlacedBounds(b, area, mode);
  MoveWindow(window, placed.left, placed.top, placed.width, placed.height, TRUE);
}

bool IsOffScreen(int left, int top, int width, int height) {
  return IsOffScreenWith({left, top, width, height}, [](ScreenPoint p) {
    return MonitorFromPoint(POINT{p.x, p.y}, MONITOR_DEFAULTTONULL) != nullptr;
  });
}

void EnsureOnScreen(HWND window) {
  if (IsZoomed(window)) {
    return;
  }
  int left = 0, top = 0, width = 0, height = 0;
  if (!GetWindowBounds(window, left, top, width, height) || IsOffScreen(left, top, width, height)) {
    PlaceWindow(window, 10);
  }
}

} // namespace morvi
