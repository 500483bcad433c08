// What the Windows tests share: waiting for a condition while pumping messages, real key
// presses through SendInput, and reading windows.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

namespace morvi::test {

// Pumps this thread's messages (through the application's key handling) until pred holds or
// timeoutMs has passed; true when it held.
bool PumpUntil(const std::function<bool()>& pred, int timeoutMs = 5000);

// PumpUntil with the deadline that waiting for other processes needs (10 s).
bool WaitFor(const std::function<bool()>& pred);

// Whether a window of this process could register Ctrl+Shift+vk as a hot key: false while
// another window, of any program, holds that combination.
bool CombinationFree(UINT vk);

// Handles every message waiting now, and every input event sent before this call.
void SettleInput();

// Sends a key press (with the modifier keys held) or a text to whatever window has the
// keyboard, possibly another process's, without waiting for it to be handled.
void SendKey(WORD vk, std::initializer_list<WORD> modifiers = {});
void SendText(std::u16string_view text);

// Moves the mouse to the screen point and clicks the left button there, count times in a row
// (2: a double click), without waiting for it to be handled.
void SendClick(POINT screen, int count = 1);
// The same, then waits until a window of this thread has handled the clicks.
void ClickAndSettle(POINT screen, int count = 1);

// Presses and releases a key with the given modifier keys held (VK_SHIFT, VK_CONTROL, VK_MENU),
// then waits until the input has been handled.
void PressKey(WORD vk, std::initializer_list<WORD> modifiers = {});
// Types the text character by character, then waits until it has been handled.
void TypeText(std::u16string_view text);

// Makes the window the foreground window and waits until it is.
bool BringToForeground(HWND hwnd);

// The text of a window or control, of this process or another.
std::u16string WindowText(HWND hwnd);
std::u16string ClassName(HWND hwnd);

// The clipboard's text (CF_UNICODETEXT) up to its first NUL; empty when there is none.
std::u16string ClipboardText();
// Puts the text on the clipboard as another program would; true when it was placed.
bool PutOnClipboard(const std::u16string& text);

// The top-level window of this process with the given class, 0 when there is none.
HWND FindThreadWindow(const wchar_t* className);

} // namespace morvi::test
