#include "common/Clipboard.h"

#include "common/Handles.h"

#include <cstring>

namespace morvi {

namespace {

// Puts the text into clipboard memory: its units, then a terminating NUL.
bool PlaceUnicodeText(const std::u16string& text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
  GlobalMemoryHandle mem(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!mem) {
    return false;
  }
  void* p = GlobalLock(mem.Get());
  if (!p) {
    return false;
  }
  std::memcpy(p, text.c_str(), bytes);
  GlobalUnlock(mem.Get());
  if (!SetClipboardData(CF_UNICODETEXT, mem.Get())) {
    return false;
  }
  mem.Release(); // the clipboard owns it now
  return true;
}

} // namespace

bool SetClipboardText(HWND owner, const std::u16string& text) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (OpenClipboard(owner)) {
      // Only a clipboard that will not open is tried again; a refusal after it opened is final.
      const bool placed = EmptyClipboard() && PlaceUnicodeText(text);
      CloseClipboard();
      return placed;
    }
    CloseClipboard();
    Sleep(100);
  }
  return false;
}

} // namespace morvi
