// Text onto the clipboard.
#pragma once

#include <windows.h>

#include <string>

namespace morvi {

// Places the text on the clipboard as CF_UNICODETEXT, with owner as the clipboard's owner (Morvi's
// hidden application window). Up to five attempts 100 ms apart while another program holds the
// clipboard open; true when the text was placed.
bool SetClipboardText(HWND owner, const std::u16string& text);

} // namespace morvi
