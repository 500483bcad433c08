// peer: another process for Morvi's tests, one that holds what a foreign program would hold.
//
// Usage:
//   peer.exe clipboard-hold READY RELEASE MS
//       Opens the clipboard, signals the named event READY, keeps the clipboard open until the
//       named event RELEASE is signalled or MS milliseconds have passed, then closes it and
//       ends. Both events are made by the caller.
//   peer.exe window TITLE READY
//       Shows a top-level window of class "MorviPeer" titled TITLE, holding an Edit box (dialog
//       id 100, text "peer") and a push button (id 101, "OK"). The button has the focus whenever
//       the window is active. Signals READY once the window is shown, then runs until the window
//       is closed (WM_CLOSE). The message WM_APP + 1 takes the focus away from both controls:
//       the window stays active with no focused window.
//
// Exit code: 0 done, 1 it could not be done (no clipboard, no window, no event), 64 wrong usage.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

constexpr UINT kDropFocus = WM_APP + 1;

HWND button = nullptr;
bool focusOnButton = true;

int Usage() {
  const char text[] = "usage: peer clipboard-hold READY RELEASE MS | peer window TITLE READY\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, sizeof text - 1, &written, nullptr);
  return 64;
}

bool Signal(const wchar_t* name) {
  HANDLE h = OpenEventW(EVENT_MODIFY_STATE, FALSE, name);
  if (!h) {
    return false;
  }
  const bool ok = SetEvent(h) != FALSE;
  CloseHandle(h);
  return ok;
}

int HoldClipboard(const wchar_t* ready, const wchar_t* release, DWORD ms) {
  HANDLE releaseEvent = OpenEventW(SYNCHRONIZE, FALSE, release);
  if (!releaseEvent) {
    return 1;
  }
  // Someone else may hold it for a moment: keep trying for a few seconds.
  const DWORD start = GetTickCount();
  while (!OpenClipboard(nullptr)) {
    if (GetTickCount() - start > 5000) {
      CloseHandle(releaseEvent);
      return 1;
    }
    Sleep(5);
  }
  const bool signalled = Signal(ready);
  if (signalled) {
    WaitForSingleObject(releaseEvent, ms);
  }
  CloseClipboard();
  CloseHandle(releaseEvent);
  return signalled ? 0 : 1;
}

LRESULT CALLBACK PeerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
  case WM_SETFOCUS:
    if (focusOnButton && button) {
      SetFocus(button);
    }
    return 0;
  case kDropFocus:
    focusOnButton = false;
    SetFocus(nullptr);
    return 0;
  case WM_DESTROY:
    PostQuitMessage(0);
    return 0;
  default:
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

int ShowWindowAndRun(const wchar_t* title, const wchar_t* ready) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = PeerProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"MorviPeer";
  if (!RegisterClassExW(&wc)) {
    return 1;
  }
  HWND window = CreateWindowExW(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW, 200, 200, 400, 160,
                                nullptr, nullptr, instance, nullptr);
  if (!window) {
    return 1;
  }
  CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"peer", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10,
                  360, 24, window, reinterpret_cast<HMENU>(100), instance, nullptr);
  button = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 50, 100, 30,
                           window, reinterpret_cast<HMENU>(101), instance, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  if (!Signal(ready)) {
    DestroyWindow(window);
    return 1;
  }
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 5 && std::wstring(argv[1]) == L"clipboard-hold") {
    wchar_t* end = nullptr;
    const unsigned long ms = std::wcstoul(argv[4], &end, 10);
    if (!end || *end != L'\0') {
      return Usage();
    }
    return HoldClipboard(argv[2], argv[3], static_cast<DWORD>(ms));
  }
  if (argc == 4 && std::wstring(argv[1]) == L"window") {
    return ShowWindowAndRun(argv[2], argv[3]);
  }
  return Usage();
}
