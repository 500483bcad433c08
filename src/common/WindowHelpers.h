// Free helpers over window handles and over the edit fields and list boxes of Morvi's own
// windows: recognising a Save As dialog, forcing a window to the foreground, focusing a control
// of another thread, keeping a window on top, placing windows on the screen, the clipboard and
// inserting text at an edit field's caret. They report failure only through their results.
#pragma once

#include "ui/Controls.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace morvi {

// The caret's 0-based character index in the field; for a field that lost the focus, where its
// caret stood last.
std::uint16_t CaretCharIndex(const ui::Edit& edit);

// Puts text into the field at its caret index. The field's text is assigned only when it
// changes; the caret is not moved behind the insertion.
void InsertAtCaret(ui::Edit& edit, const std::u16string& text);

// Places the text on the clipboard as CF_UNICODETEXT, owned by the application window. Up to
// five attempts 100 ms apart while another program holds the clipboard open.
bool SetClipboardText(const std::u16string& text);

// HWND_TOPMOST or HWND_NOTOPMOST, keeping place and size; shows a hidden window.
bool SetTopMost(HWND window, bool on);

// The list box's horizontal scroll range becomes twice its widest item.
void FitListBoxExtent(HWND listBox);
// The width in pixels of the list box's widest item in its font; 0 for an empty list.
long WidestListBoxItem(HWND listBox);

// Makes the window the foreground window, also when another process owns the foreground; true
// when it is the foreground window afterwards.
bool ForceForegroundWindow(HWND window);

// Gives the keyboard focus to a control of the foreground window's thread (possibly another
// process's).
void FocusForeignControl(HWND control);

// The window's rectangle; false for a vanished or minimised window.
bool GetVisibleWindowRect(HWND window, RECT& rect);
// The window's left, top, width and height; false (outputs untouched) as GetVisibleWindowRect.
bool GetWindowBounds(HWND window, int& left, int& top, int& width, int& height);

// The first descendant of parent whose class name is exactly className; 0 for none. Not
// re-entrant.
HWND FindChildByClass(HWND parent, const std::u16string& className);

// A common file dialog: class "#32770" with a shell view child and the OK and Cancel items.
bool IsFileDialog(HWND window);

// The taskbar's rectangle and edge code: 0 top, 1 bottom, 2 left, 3 right, -1 none.
int GetTaskbarEdge(RECT& rect);

// Moves the window by placement mode 0 to 14 on the primary screen, taskbar included.
void PlaceWindow(HWND window, int mode);

// True when none of the window's corners nor its centre lies on a monitor.
bool IsOffScreen(int left, int top, int width, int height);

// Centres a window that lies wholly off every monitor; maximised windows stay.
void EnsureOnScreen(HWND window);

} // namespace morvi
