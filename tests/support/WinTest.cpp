#include "WinTest.h"

#include "common/Wide.h"
#include "ui/Application.h"

#include <cstring>
#include <vector>

namespace morvi::test {

namespace {

// A key nobody uses marks the end of a batch of input: once its release has been retrieved,
// everything sent before it has been handled.
constexpr WORD kSentinel = VK_F24;
bool sentinelSeen = false;
// Left-button releases that this thread's windows have retrieved.
unsigned buttonUps = 0;

LRESULT CALLBACK GetMessageHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && wp == PM_REMOVE) {
    const MSG* m = reinterpret_cast<const MSG*>(lp);
    if (m->message == WM_KEYUP && m->wParam == kSentinel) {
      sentinelSeen = true;
    } else if (m->message == WM_LBUTTONUP) {
      ++buttonUps;
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

void InstallHook() {
  static HHOOK hook =
      SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
  (void)hook;
}

INPUT Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  if (vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN || vk == VK_HOME ||
      vk == VK_END || vk == VK_DELETE || vk == VK_INSERT || vk == VK_PRIOR || vk == VK_NEXT) {
    in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  }
  return in;
}

void Send(std::vector<INPUT> inputs) {
  inputs.push_back(Key(kSentinel, false));
  inputs.push_back(Key(kSentinel, true));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

} // namespace

bool PumpUntil(const std::function<bool()>& pred, int timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    ui::Application::Instance().ProcessMessages();
    if (pred()) {
      return true;
    }
    if (static_cast<int>(GetTickCount() - start) > timeoutMs) {
      return false;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

bool WaitFor(const std::function<bool()>& pred) {
  return PumpUntil(pred, 10000);
}

bool CombinationFree(UINT vk) {
  HWND probe =
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  const bool took = RegisterHotKey(probe, 0x7000, MOD_CONTROL | MOD_SHIFT, vk) != FALSE;
  if (took) {
    UnregisterHotKey(probe, 0x7000);
  }
  DestroyWindow(probe);
  return took;
}

void SettleInput() {
  InstallHook();
  sentinelSeen = false;
  Send({});
  PumpUntil([] { return sentinelSeen; });
  ui::Application::Instance().ProcessMessages();
}

void SendKey(WORD vk, std::initializer_list<WORD> modifiers) {
  std::vector<INPUT> in;
  for (WORD m : modifiers) {
    in.push_back(Key(m, false));
  }
  in.push_back(Key(vk, false));
  in.push_back(Key(vk, true));
  for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) {
    in.push_back(Key(*it, true));
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void SendText(std::u16string_view text) {
  std::vector<INPUT> in;
  for (char16_t c : text) {
    for (bool up : {false, true}) {
      INPUT i{};
      i.type = INPUT_KEYBOARD;
      i.ki.wScan = c;
      i.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      in.push_back(i);
    }
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void SendClick(POINT p, int count) {
  std::vector<INPUT> in(1 + 2 * static_cast<std::size_t>(count));
  for (INPUT& i : in) {
    i.type = INPUT_MOUSE;
    i.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    i.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    i.mi.dwFlags = MOUSEEVENTF_ABSOLUTE;
  }
  in[0].mi.dwFlags |= MOUSEEVENTF_MOVE;
  for (std::size_t k = 1; k < in.size(); ++k) {
    in[k].mi.dwFlags |= (k % 2) ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void ClickAndSettle(POINT screen, int count) {
  InstallHook();
  const unsigned before = buttonUps;
  SendClick(screen, count);
  PumpUntil([&] { return buttonUps >= before + static_cast<unsigned>(count); });
  ui::Application::Instance().ProcessMessages();
}

void PressKey(WORD vk, std::initializer_list<WORD> modifiers) {
  SendKey(vk, modifiers);
  SettleInput();
}

void TypeText(std::u16string_view text) {
  SendText(text);
  SettleInput();
}

bool BringToForeground(HWND hwnd) {
  // Asked again while waiting: a window of another process that is just appearing (a dialog
  // being opened) may take the foreground after the first request.
  return PumpUntil([hwnd] {
    if (GetForegroundWindow() != hwnd) {
      SetForegroundWindow(hwnd);
    }
    return GetForegroundWindow() == hwnd;
  });
}

std::u16string WindowText(HWND hwnd) {
  // WM_GETTEXT, unlike GetWindowTextW, also reads the text of another process's controls.
  wchar_t buf[1024] = {};
  DWORD_PTR n = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000,
                      &n);
  return U16(buf, static_cast<std::size_t>(n));
}

std::u16string ClassName(HWND hwnd) {
  wchar_t buf[260] = {};
  const int n = GetClassNameW(hwnd, buf, 260);
  return U16(buf, static_cast<std::size_t>(n > 0 ? n : 0));
}

std::u16string ClipboardText() {
  std::u16string text;
  if (OpenClipboard(nullptr)) {
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
      if (const auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
        text = U16(p);
        GlobalUnlock(h);
      }
    }
    CloseClipboard();
  }
  return text;
}

bool PutOnClipboard(const std::u16string& text) {
  if (!OpenClipboard(nullptr)) {
    return false;
  }
  EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool placed = false;
  if (g) {
    memcpy(GlobalLock(g), text.c_str(), bytes);
    GlobalUnlock(g);
    placed = SetClipboardData(CF_UNICODETEXT, g) != nullptr;
    if (!placed) {
      GlobalFree(g);
    }
  }
  CloseClipboard();
  return placed;
}

HWND FindThreadWindow(const wchar_t* className) {
  struct Search {
    const wchar_t* cls;
    HWND found;
  } s{className, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        wchar_t buf[260] = {};
        GetClassNameW(w, buf, 260);
        if (lstrcmpiW(buf, s->cls) == 0) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

} // namespace morvi::test
