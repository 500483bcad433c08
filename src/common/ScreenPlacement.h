// Where windows stand on the screen: keeping one on top, reading its bounds, the taskbar's edge,
// the placement modes on the primary screen, and bringing back a window that lies off every
// monitor. They report failure only through their results.
#pragma once

#include <windows.h>

namespace morvi {

// HWND_TOPMOST or HWND_NOTOPMOST, keeping place and size; shows a hidden window.
bool SetTopMost(HWND window, bool on);

// The window's rectangle; false for a vanished or minimised window.
bool GetVisibleWindowRect(HWND window, RECT& rect);
// The window's left, top, width and height; false (outputs untouched) as GetVisibleWindowRect.
bool GetWindowBounds(HWND window, int& left, int& top, int& width, int& height);

// The taskbar's rectangle and edge code: 0 top, 1 bottom, 2 left, 3 right, -1 none.
int GetTaskbarEdge(RECT& rect);

// Moves the window by placement mode 0 to 14 on the primary screen, taskbar included.
void PlaceWindow(HWND window, int mode);

// True when none of the window's corners nor its centre lies on a monitor.
bool IsOffScreen(int left, int top, int width, int height);

// Centres a window that lies wholly off every monitor; maximised windows stay.
void EnsureOnScreen(HWND window);

} // namespace morvi
