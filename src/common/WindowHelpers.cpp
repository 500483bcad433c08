#include "common/WindowHelpers.h"

#include "common/Handles.h"
#include "common/Wide.h"
#include "common/WindowRules.h"
#include "ui/Application.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

namespace morvi {

namespace {

// The class name of a window, read as far as 260 units allow and ending at the first NUL; empty
// when it cannot be read.
std::u16string ClassNameOf(HWND window) {
  wchar_t buf[260] = {};
  if (window) {
    GetClassNameW(window, buf, 260);
  }
  return U16(buf);
}

ScreenRect ToScreenRect(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

void BringToFront(HWND window) {
  BringWindowToTop(window);
  SetForegroundWindow(window);
}

// Without the lock time-out another process may not take the foreground. The user's value is
// put back afterwards; when it cannot be read it is not touched at all.
void BringToFrontUnlocked(HWND window) {
  DWORD saved = 0;
  if (!SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &saved, 0)) {
    BringToFront(window);
    return;
  }
  SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_SENDCHANGE);
  BringToFront(window);
  SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                        reinterpret_cast<PVOID>(static_cast<UINT_PTR>(saved)), SPIF_SENDCHANGE);
}

bool SystemQualifiesForAttach() {
  OSVERSIONINFOW v{};
  v.dwOSVersionInfoSize = sizeof v;
  return GetVersionExW(&v) &&
         QualifiesForAttach(v.dwPlatformId, v.dwMajorVersion, v.dwMinorVersion);
}

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

// What FindChildByClass and its callback share; one search at a time.
std::u16string soughtClass;
HWND foundChild = nullptr;

BOOL CALLBACK FindChildByClassProc(HWND window, LPARAM) {
  if (ClassNameOf(window) == soughtClass) {
    foundChild = window;
    return FALSE;
  }
  return TRUE;
}

} // namespace

std::uint16_t CaretCharIndex(const ui::Edit& edit) {
  return edit.CaretIndex();
}

void InsertAtCaret(ui::Edit& edit, const std::u16string& text) {
  const std::u16string old = edit.Text();
  const std::size_t at = std::min<std::size_t>(CaretCharIndex(edit), old.size());
  edit.SetText(old.substr(0, at) + text + old.substr(at));
}

bool SetClipboardText(const std::u16string& text) {
  const HWND owner = ui::Application::Instance().Handle();
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

bool SetTopMost(HWND window, bool on) {
  return SetWindowPos(window, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                      SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE) != FALSE;
}

long WidestListBoxItem(HWND listBox) {
  LONG widest = 0;
  const LRESULT count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
  if (count <= 0) {
    return 0;
  }
  HDC dc = GetDC(listBox);
  if (!dc) {
    return 0;
  }
  const auto font = reinterpret_cast<HFONT>(SendMessageW(listBox, WM_GETFONT, 0, 0));
  const HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  std::u16string item;
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT len = SendMessageW(listBox, LB_GETTEXTLEN, i, 0);
    if (len <= 0) {
      continue;
    }
    if (item.size() < static_cast<std::size_t>(len) + 1) {
      item.resize(static_cast<std::size_t>(len) + 1);
    }
    const LRESULT got =
        SendMessageW(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(W(item.data())));
    SIZE size{};
    if (got > 0 && GetTextExtentPoint32W(dc, W(item.data()), static_cast<int>(got), &size)) {
      widest = std::max(widest, size.cx);
    }
  }
  if (oldFont) {
    SelectObject(dc, oldFont);
  }
  ReleaseDC(listBox, dc);
  return widest;
}

void FitListBoxExtent(HWND listBox) {
  SendMessageW(listBox, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(2 * WidestListBoxItem(listBox)),
               0);
}

bool ForceForegroundWindow(HWND window) {
  // Nothing to bring up: a vanished window must not count as "already in front" when no window
  // is in the foreground.
  if (!IsWindow(window)) {
    return false;
  }
  if (GetForegroundWindow() == window) {
    return true;
  }
  if (SystemQualifiesForAttach()) {
    const DWORD front = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const DWORD target = GetWindowThreadProcessId(window, nullptr);
    bool worked = false;
    // The target window's thread joins the foreground thread's input, which lets it take the
    // foreground.
    if (AttachThreadInput(target, front, TRUE)) {
      BringToFront(window);
      AttachThreadInput(target, front, FALSE);
      worked = GetForegroundWindow() == window;
    }
    if (!worked) {
      BringToFrontUnlocked(window);
    }
  } else {
    BringToFront(window);
  }
  return GetForegroundWindow() == window;
}

void FocusForeignControl(HWND control) {
  const DWORD front = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  const DWORD self = GetCurrentThreadId();
  // Attaching fails when the foreground window is our own thread's; SetFocus alone does then.
  if (AttachThreadInput(self, front, TRUE)) {
    SetFocus(control);
    // Always detach again, also when nothing had the focus before: staying joined to another
    // program's input would tie our keyboard state to its thread.
    AttachThreadInput(self, front, FALSE);
  } else {
    SetFocus(control);
  }
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

HWND FindChildByClass(HWND parent, const std::u16string& className) {
  soughtClass = className;
  foundChild = nullptr;
  EnumChildWindows(parent, FindChildByClassProc, 0);
  return foundChild;
}

bool IsFileDialog(HWND window) {
  if (ClassNameOf(window) != u"#32770") {
    return false;
  }
  if (!FindWindowExW(window, nullptr, L"SHELLDLL_DefView", nullptr) &&
      !FindWindowExW(window, nullptr, L"DUIViewWndClassName", nullptr)) {
    return false;
  }
  return GetDlgItem(window, IDOK) && GetDlgItem(window, IDCANCEL);
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
