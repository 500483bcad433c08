// menukey: opens a popup menu of a window through an access key and picks one of its items by
// the item's access key, with real key presses, the way a user does (Alt+E, then N). Used by the
// screenshots command to bring up windows that only a menu opens.
//
//   menukey CLASS TITLE ACCESS ITEM [TIMEOUT_MS]
//     CLASS, TITLE  the top-level window that owns the button (it is made the foreground window)
//     ACCESS        the button's access letter, pressed with Alt
//     ITEM          the menu item's access letter, pressed once the menu is open
//
// Exit code 0 when the menu opened and closed again after the item's key, 1 when the window, its
// foreground or the menu did not come in time, 2 on wrong usage.
#include <windows.h>

#include <cstdio>
#include <cwctype>
#include <functional>

namespace {

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) {
      return true;
    }
    if (GetTickCount() - start > timeoutMs) {
      return false;
    }
    Sleep(10);
  }
}

HWND VisibleMenu() {
  HWND m = FindWindowW(L"#32768", nullptr);
  return m && IsWindowVisible(m) ? m : nullptr;
}

INPUT Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

// A letter's virtual-key code: the capital letter itself.
bool LetterKey(const wchar_t* arg, WORD& vk) {
  if (!arg[0] || arg[1] || !std::iswalpha(arg[0])) {
    return false;
  }
  vk = static_cast<WORD>(std::towupper(arg[0]));
  return vk >= L'A' && vk <= L'Z';
}

int Fail(const wchar_t* what) {
  fwprintf(stderr, L"menukey: %ls\n", what);
  return 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  WORD access = 0, item = 0;
  if (argc < 5 || !LetterKey(argv[3], access) || !LetterKey(argv[4], item)) {
    fwprintf(stderr, L"usage: menukey CLASS TITLE ACCESS ITEM [TIMEOUT_MS]\n");
    return 2;
  }
  const DWORD timeout = argc > 5 ? static_cast<DWORD>(_wtoi(argv[5])) : 10000;

  HWND w = nullptr;
  if (!WaitFor(
          [&] {
            w = FindWindowW(argv[1], argv[2]);
            return w && IsWindowVisible(w);
          },
          timeout)) {
    return Fail(L"the window is not there or not visible");
  }
  if (!WaitFor(
          [&] {
            SetForegroundWindow(w);
            return GetForegroundWindow() == w;
          },
          timeout)) {
    return Fail(L"the window did not become the foreground window");
  }

  INPUT open[] = {Key(VK_MENU, false), Key(access, false), Key(access, true), Key(VK_MENU, true)};
  SendInput(4, open, sizeof(INPUT));
  if (!WaitFor([] { return VisibleMenu() != nullptr; }, timeout)) {
    return Fail(L"no menu opened after the access key");
  }
  INPUT pick[] = {Key(item, false), Key(item, true)};
  SendInput(2, pick, sizeof(INPUT));
  if (!WaitFor([] { return VisibleMenu() == nullptr; }, timeout)) {
    return Fail(L"the menu stayed open after the item's key");
  }
  return 0;
}
