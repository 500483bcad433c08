// DPI queries that work from Vista to Windows 10: the newer per-monitor calls are looked up at
// run time, with the system DPI as the fallback.
#pragma once

#include <windows.h>

namespace morvi::ui {

int SystemDpi();
int DpiOfWindow(HWND hwnd);
// The outer size of a window whose client area is width x height at dpi.
SIZE OuterSizeForClient(int width, int height, DWORD style, DWORD exStyle, int dpi);
// The system's menu font as it is at dpi.
LOGFONTW MenuFontAt(int dpi);

} // namespace morvi::ui
