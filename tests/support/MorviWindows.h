// Morvi.exe's windows as another process sees them, for the end-to-end tests.
#pragma once

#include "ChildProcess.h"

#include <windows.h>

#include <vector>

namespace morvi::test {

// The running editor window (class "TMainForm", title "Morvi"); 0 when there is none.
HWND MorviWindow();

// Starts Morvi.exe resident, waits for its hidden window, then starts it again, which shows that
// window; waits until it is shown in front. The window, or 0 with the failure reported.
HWND StartMorviShown(ChildProcess& resident);

// The edit fields of Morvi's editor window in their order on screen: path, base name, extension.
std::vector<HWND> EditFieldsOf(HWND morvi);

// A popup menu that is open on the screen, of any process; 0 when none is.
HWND VisiblePopupMenu();
// How many popup menus are open on the screen: 2 while a submenu is open.
int VisiblePopupMenus();

// The window that has the keyboard focus in the thread of the given window.
HWND FocusOfThreadOf(HWND window);

} // namespace morvi::test
