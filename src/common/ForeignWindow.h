// Windows of other programs, which may be hung, slow, hostile or gone: every message goes with a
// bounded wait, texts are read into a fixed buffer, and Morvi's own window keeps answering while
// it waits; a window comes to the foreground and a control of another thread takes the focus;
// the Save As dialog is recognised and its controls found. They report failure only through
// their results.
#pragma once

#include "common/ForeignReply.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace morvi {

// How long Morvi waits for another program's window to handle one message.
constexpr UINT kForeignReplyBoundMs = 1000;

// Sends the message with SendMessageTimeoutW, SMTO_ABORTIFHUNG and the bound. While it waits,
// messages that other threads send to this one are still handled.
Reply SendBounded(HWND window, UINT message, WPARAM wp, LPARAM lp);

// Whether the window's thread answers now: a window the system already judges hung is not
// asked at all, any other gets a WM_NULL with the bound.
Reply ProbeWindowThread(HWND window);

// The window's text through WM_GETTEXT with room for 260 units: at most 259 units, ending at the
// first NUL. The text is only written when the window answered.
Reply ReadTextBounded(HWND window, std::u16string& text);

// The window's class name (up to 260 units, ending at the first NUL); empty when it cannot be
// read. No message is sent.
std::u16string WindowClassName(HWND window);

// The id of the process that owns the window; 0 for none.
DWORD WindowProcessId(HWND window);

// The mandatory integrity level of the process (its RID, such as 0x2000 for medium and 0x3000
// for high), when its token can be read.
std::optional<std::uint32_t> ProcessIntegrityLevel(DWORD processId);

// Makes the window the foreground window, also when another process owns the foreground; true
// when it is the foreground window afterwards.
bool ForceForegroundWindow(HWND window);

// Gives the keyboard focus to a control of the foreground window's thread (possibly another
// process's).
void FocusForeignControl(HWND control);

// The first descendant of parent whose class name is exactly className; 0 for none.
HWND FindChildByClass(HWND parent, const std::u16string& className);

// A common file dialog: class "#32770" with a shell view child and the OK and Cancel items.
bool IsFileDialog(HWND window);

// Waits ms milliseconds while handling this thread's sent, posted and paint messages, so that
// Morvi's windows keep answering. Input stays queued for afterwards: no key or click acts in
// the middle of a write.
void WaitAnswering(DWORD ms);

} // namespace morvi
